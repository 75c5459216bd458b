// Analysis files (.dor): any bytes are parsed; what parses is laid over a
// sheet, and saving the sheet and reading it back gives the same block text.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sheet/analysis_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qarv;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const AnalysisFileText file = parseAnalysisFile(bytes);
    if (!file.ok) return 0;

    // The text came from Windows-1252, so writing it back loses nothing.
    const AnalysisFileText again = parseAnalysisFile(analysisFileBytes(file.blockText));
    if (!again.ok || again.blockText != file.blockText) std::abort();

    AnalysisSheet sheet;
    newSheet(sheet);
    layBlockText(sheet, file.blockText);
    if (sheet.rowCount() != 201 || sheet.columnCount() != 61) std::abort();
    // A saved sheet reads back cell for cell.
    sheet.selectDataArea();
    const std::string saved = sheet.getClip(sheet.selection());
    const AnalysisFileText reread = parseAnalysisFile(analysisFileBytes(saved));
    if (!reread.ok || reread.blockText != saved) std::abort();
    return 0;
}
