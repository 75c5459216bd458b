// .xlsx workbooks: any bytes as a workbook file, read with limits small
// enough that a bomb shows as a refusal within the run's memory, then the
// import block copied into a sheet as Load does.

#include <cstdint>

#include "fuzz_input_file.h"
#include "fuzz_workbook_read.h"
#include "spreadsheet/workbook_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qarv;
    const auto& path = fuzz::writeInput(data, size, ".xlsx");
    WorkbookReadLimits limits;
    limits.maxPartBytes = 8u << 20;
    limits.maxCells = 1u << 16;
    limits.maxTotalBytes = 32u << 20;
    limits.maxXmlElements = 1u << 20;
    const WorkbookReadResult result = readXlsxFile(path, limits);
    fuzz::checkWorkbookRead(result, limits);
    return 0;
}
