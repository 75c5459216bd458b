#pragma once
// Bringing a workbook laid out like the analysis sheet into the sheet: the
// block A1:BH201 of a worksheet, cell for cell.

#include "sheet/analysis_sheet.h"
#include "spreadsheet/workbook.h"

namespace qarv {

inline constexpr int kImportRows = 201;    // sheet rows 1 to 201: the grid's rows 0 to 200
inline constexpr int kImportColumns = 60;  // sheet columns A to BH: the grid's columns 0 to 59

// Sets the grid to 60 columns and 201 rows and copies sheet cell (r + 1,
// c + 1) into grid cell (r, c). A tab, carriage return or line feed in a
// cell's text becomes a blank, so the cell cannot split into several at the
// next save or copy.
void importWorksheetBlock(const Worksheet& worksheet, AnalysisSheet& sheet);

}  // namespace qarv
