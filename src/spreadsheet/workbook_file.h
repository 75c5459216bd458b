#pragma once
// Workbook files: .xlsx and .xls (BIFF8) read and written. Failures carry
// the run-time error number the windows report (53 missing file, 76 missing
// folder, 75 no access, 321 a file that is not a readable workbook).

#include <cstdint>
#include <filesystem>
#include <string>

#include "spreadsheet/workbook.h"

namespace qarv {

// Bounds on what a workbook file can make the reader hold.
struct WorkbookReadLimits {
    // One part of an .xlsx package (a sheet, the shared strings, the
    // workbook) may unpack to at most this many bytes; a larger one makes
    // the file unreadable.
    // An .xls file may be at most this large.
    std::uint64_t maxPartBytes = 256ull * 1024 * 1024;
    // All parts of an .xlsx package together may unpack to at most this many
    // bytes, however often the workbook names the same part.
    std::uint64_t maxTotalBytes = 1024ull * 1024 * 1024;
    // One XML part may hold at most this many elements (its parsed form
    // takes some tens of bytes per element).
    std::size_t maxXmlElements = 8u * 1024 * 1024;
    // A package may hold at most this many files, a workbook this many
    // sheets.
    std::size_t maxPackageEntries = 65536;
    std::size_t maxSheets = 4096;
    // Cells kept over all sheets; further cells are ignored. Also the most
    // shared strings and cell styles kept.
    std::size_t maxCells = 16u * 1024 * 1024;
    // The .xls reader allocates a table of every cell a sheet's size record
    // claims (16 bytes a cell); a file whose sheets claim more in all is
    // refused. Two sheets of the largest size (65536 rows, 256 columns).
    std::uint64_t maxXlsDeclaredCells = 2ull * 65536 * 256;
};

struct WorkbookReadResult {
    Workbook book;
    int error = 0;        // a run-time error number; 0 on success
    std::string message;  // what went wrong, for diagnostics
    bool ok() const { return error == 0; }
};

enum class WorkbookFileKind { Xlsx, Xls, Unknown };

// What the file's first bytes say it is: a zip package (.xlsx) or an OLE2
// compound file (.xls). The extension is not looked at.
WorkbookFileKind workbookFileKind(const std::filesystem::path& path);

// Reads a workbook of either kind, chosen by content.
WorkbookReadResult readWorkbookFile(const std::filesystem::path& path,
                                    const WorkbookReadLimits& limits = {});
WorkbookReadResult readXlsxFile(const std::filesystem::path& path,
                                const WorkbookReadLimits& limits = {});
// The active sheet of an .xls file is the current tab its workbook globals
// record (the first sheet when they record none).
WorkbookReadResult readXlsFile(const std::filesystem::path& path,
                               const WorkbookReadLimits& limits = {});

// Writes the workbook as .xlsx under a temporary name in the target folder
// and renames it onto the target when complete; the target is untouched on
// failure. Text cells are written as text, number cells as numbers in their
// number format; numbers keep 16 significant digits, so a double that needs
// all 17 reads back as its 16-digit neighbour. A workbook without sheets is written with one empty sheet
// "Sheet1". Returns 0 or a run-time error number; message says why.
int writeXlsxFile(const Workbook& book, const std::filesystem::path& path,
                  std::string* message = nullptr);

// Writes the workbook as a BIFF8 .xls in the same way: under a temporary
// name beside the target, renamed onto it when complete, the target
// untouched on failure. Text cells are written as shared strings (cut at
// 32767 UTF-16 units), number cells as doubles in their number format, the
// active sheet as the current tab. A workbook without sheets gets one empty
// sheet "Sheet1"; a bad or repeated sheet name, or a cell beyond 65536 rows
// or 256 columns, is refused. Returns 0 or a run-time error number; message
// says why.
int writeXlsFile(const Workbook& book, const std::filesystem::path& path,
                 std::string* message = nullptr);

}  // namespace qarv
