#include "ui/grid_commands.h"

#include "sheet/grid_editing.h"
#include "ui/grid_view.h"

namespace qarv::ui {

namespace {

bool putSelectionOnClipboard(GridView& view, AppContext& context) {
    Clipboard& clipboard = *context.platform.clipboard;
    const QString text = QString::fromStdString(selectionText(view.grid()));
    if (clipboard.clear() && clipboard.setText(text)) return true;
    context.pending.set(err::kCantOpenClipboard);
    return false;
}

}  // namespace

void copySelection(GridView& view, AppContext& context) {
    putSelectionOnClipboard(view, context);
}

void cutSelection(GridView& view, AppContext& context) {
    // Cells are emptied only once their text is safe on the clipboard.
    if (putSelectionOnClipboard(view, context)) deleteSelection(view);
}

void deleteSelection(GridView& view) {
    emptySelection(view.grid());
    view.gridModel()->regionChanged(view.grid().selection());
}

void pasteClipboard(GridView& view, AppContext& context) {
    const std::optional<QString> text = context.platform.clipboard->text();
    if (!text) {
        context.pending.set(err::kCantOpenClipboard);
        return;
    }
    if (text->isEmpty()) return;
    pasteText(view.grid(), text->toStdString());
    view.gridModel()->regionChanged(view.grid().selection());
}

void selectAllFrom(GridView& view, int firstRow, int firstColumn) {
    selectAll(view.grid(), firstRow, firstColumn);
    view.showGridSelection();
}

}  // namespace qarv::ui
