#pragma once
// Analysis files (.dor): the sheet's data area as one quoted block text,
// Windows-1252 on disk, followed by CR LF. A double quote inside a cell is
// written doubled ("") and read back as one.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "sheet/analysis_sheet.h"

namespace qarv {

// New File writes this template into the working folder.
inline constexpr std::string_view kGridTemplateFileName = "dor.tem";

// Files larger than this are not analysis files; reading stops there instead
// of filling memory with whatever a wrong file holds.
inline constexpr std::uintmax_t kMaxAnalysisFileBytes = 64u << 20;

struct AnalysisFileText {
    bool ok = false;
    std::string blockText;  // UTF-8, between the quotes
    std::string error;      // why the file could not be read, when !ok
};

// The bytes of an analysis file holding the given block text.
std::string analysisFileBytes(std::string_view blockText);
// The block text inside an analysis file's bytes (a doubled quote read as
// one); fails when the bytes do not start with a double quote or the
// closing quote is missing.
AnalysisFileText parseAnalysisFile(std::string_view bytes);

// Reads a file's block text.
AnalysisFileText readAnalysisFile(const std::filesystem::path& path);
// Writes the sheet's data area (rows 1 to the last row, columns 1 to 60) to
// path; the old file, if any, is replaced only once the new one is complete.
// Selects the data area, as saving does on the grid.
bool writeAnalysisFile(const std::filesystem::path& path, AnalysisSheet& sheet,
                       std::string* error = nullptr, std::error_code* code = nullptr);

// Selects the data area and lays the block text over it; cells the text does
// not reach keep their texts.
void layBlockText(AnalysisSheet& sheet, std::string_view blockText);

// The file side of Open File: lays out the sheet with capCell, then, if the
// file exists and can be read, lays its block text over the data area. A
// missing or unreadable file leaves the data cells as they were.
AnalysisFileText openAnalysisFile(AnalysisSheet& sheet, const std::filesystem::path& path);

// The sheet side of New File: empties the sheet and lays it out twice.
void newSheet(AnalysisSheet& sheet);

}  // namespace qarv
