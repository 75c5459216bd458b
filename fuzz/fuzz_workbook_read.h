#pragma once
// What every workbook reader must hold to, whatever bytes it was given: a
// refusal carries an error number and no sheets; a workbook read has a
// sheet, an active sheet among its sheets and no more cells than the limit;
// its import block copies into a sheet as Load does.

#include <cstdlib>

#include "sheet/analysis_sheet.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/workbook_import.h"

namespace qarv::fuzz {

inline void checkWorkbookRead(const WorkbookReadResult& result, const WorkbookReadLimits& limits) {
    if (!result.ok()) {
        if (!result.book.sheets.empty() && result.error == 0) std::abort();
        return;
    }
    if (result.book.sheets.empty() || result.book.activeSheet >= result.book.sheets.size())
        std::abort();
    std::size_t cells = 0;
    for (const Worksheet& sheet : result.book.sheets) cells += sheet.cells.size();
    if (cells > limits.maxCells) std::abort();
    AnalysisSheet sheet;
    importWorksheetBlock(result.book.sheets[result.book.activeSheet], sheet);
}

}  // namespace qarv::fuzz
