#pragma once
// How the two grids look: cell colours, alignments, column widths and the
// grid font, all read from the layout tables of the sheet and the results.

#include <QFont>

#include "results/number_format.h"
#include "sheet/analysis_sheet.h"
#include "ui/text_grid_model.h"

namespace qarv::ui {

class GridView;

// Arial Narrow 9.75 pt, or a metric-compatible narrow face where it is absent.
QFont gridFont();

GridStyle analysisSheetStyle();
GridStyle resultsTableStyle();

// Applies the sheet's column widths to its view.
void applyColumnLayout(GridView& view, const AnalysisSheet& sheet);
// Applies the results table's column widths to its view.
void applyResultsColumnLayout(GridView& view);

// The digit-group and decimal characters of the user's regional settings.
NumberFormatSettings regionalNumberSettings();

}  // namespace qarv::ui
