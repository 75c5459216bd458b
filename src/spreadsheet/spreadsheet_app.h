#pragma once
// The program's spreadsheet application: the operations the windows use to
// open workbooks, read and write their cells and save them, over workbook
// files on disk. Every handle may be empty when the step that should have
// produced it failed; an operation on an empty handle fails with 424
// (object required), so callers can skip it and report the number.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "spreadsheet/workbook.h"

namespace qarv {

// A workbook opened in an application: its cells and the file it came from.
struct OpenWorkbook {
    Workbook book;
    std::filesystem::path path;
};

// An application instance: the workbooks it has open.
struct SpreadsheetApp {
    std::vector<std::shared_ptr<OpenWorkbook>> workbooks;
};

using AppHandle = std::shared_ptr<SpreadsheetApp>;
using WorkbookHandle = std::shared_ptr<OpenWorkbook>;

// A sheet of an open workbook, by position; empty without a workbook.
struct SheetHandle {
    WorkbookHandle workbook;
    std::size_t index = 0;
    explicit operator bool() const { return workbook && index < workbook->book.sheets.size(); }
};

// A value together with the run-time error number of its operation (0 when
// it succeeded; the value is then meaningful).
template <typename T>
struct SpreadsheetResult {
    T value{};
    int error = 0;
    bool ok() const { return error == 0; }
};

// A new application instance; the last one created is the running one.
AppHandle createExcel();
// The running instance (the last one created and still held), or empty.
AppHandle attachExcel();

// Opens the workbook file in the application; its kind (.xlsx or .xls) is
// taken from its content. 424 without an application; 53, 76, 75 or 321
// for a file that is missing, in a missing folder, not accessible or not a
// readable workbook.
SpreadsheetResult<WorkbookHandle> openWorkbook(const AppHandle& app,
                                               const std::filesystem::path& path);

// The workbook's first sheet (index 1 to the caller), or its active sheet;
// 424 without a workbook.
SpreadsheetResult<SheetHandle> firstSheet(const WorkbookHandle& workbook);
SpreadsheetResult<SheetHandle> activeSheet(const WorkbookHandle& workbook);

// The cell's value as text, empty for an empty cell; rows and columns from
// 1. 424 without a sheet, 9 for a position outside the largest sheet.
SpreadsheetResult<std::string> readCell(const SheetHandle& sheet, int row, int column);
// The cell then holds the text (an empty text empties it). Errors as above.
int writeCell(const SheetHandle& sheet, int row, int column, const std::string& text);

// The cell then holds the number, shown in the number format ("#,##0.000";
// empty for the general format). Errors as above.
int writeNumberCell(const SheetHandle& sheet, int row, int column, double value,
                    const std::string& numberFormat);

// Writes the workbook to the path as .xlsx and makes that its file. 424
// without a workbook; 438 for a name ending in .xls, a format this layer
// does not write; 76, 75, ... when the file cannot be written there.
int saveWorkbookAs(const WorkbookHandle& workbook, const std::filesystem::path& path);

}  // namespace qarv
