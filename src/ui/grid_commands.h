#pragma once
// The clipboard and selection commands as both windows run them on their
// grid: the cells change in the grid model, the view is told, and a
// clipboard that cannot be opened leaves its run-time error pending.

#include "ui/app_context.h"

namespace qarv::ui {

class GridView;

void copySelection(GridView& view, AppContext& context);
void cutSelection(GridView& view, AppContext& context);
void deleteSelection(GridView& view);
void pasteClipboard(GridView& view, AppContext& context);
// Select All from (firstRow, firstColumn) to the grid's last cell.
void selectAllFrom(GridView& view, int firstRow, int firstColumn);

}  // namespace qarv::ui
