// .xlsx workbooks: any bytes as a workbook file, read with limits small
// enough that a bomb shows as a refusal within the run's memory, then the
// import block copied into a sheet as Load does.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "fuzz_input_file.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/workbook_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qarv;
    const auto& path = fuzz::writeInput(data, size, ".xlsx");
    WorkbookReadLimits limits;
    limits.maxPartBytes = 8u << 20;
    limits.maxCells = 1u << 16;
    limits.maxTotalBytes = 32u << 20;
    limits.maxXmlElements = 1u << 20;
    const WorkbookReadResult result = readXlsxFile(path, limits);
    if (!result.ok()) {
        if (!result.book.sheets.empty() && result.error == 0) std::abort();
        return 0;
    }
    if (result.book.sheets.empty() || result.book.activeSheet >= result.book.sheets.size())
        std::abort();
    std::size_t cells = 0;
    for (const Worksheet& sheet : result.book.sheets) cells += sheet.cells.size();
    if (cells > limits.maxCells) std::abort();
    AnalysisSheet sheet;
    importWorksheetBlock(result.book.sheets[result.book.activeSheet], sheet);
    return 0;
}
