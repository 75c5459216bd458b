#include "spreadsheet/spreadsheet_app.h"

#include <algorithm>
#include <cctype>

#include "common/run_errors.h"
#include "spreadsheet/workbook_file.h"

namespace qarv {
namespace {

std::weak_ptr<SpreadsheetApp>& runningApp() {
    static std::weak_ptr<SpreadsheetApp> running;
    return running;
}

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

AppHandle createExcel() {
    auto app = std::make_shared<SpreadsheetApp>();
    runningApp() = app;
    return app;
}

AppHandle attachExcel() {
    return runningApp().lock();
}

SpreadsheetResult<WorkbookHandle> openWorkbook(const AppHandle& app,
                                               const std::filesystem::path& path) {
    if (!app) return {nullptr, err::kObjectRequired};
    WorkbookReadResult read = readWorkbookFile(path);
    if (!read.ok()) return {nullptr, read.error};
    auto opened = std::make_shared<OpenWorkbook>();
    opened->book = std::move(read.book);
    opened->path = path;
    app->workbooks.push_back(opened);
    return {opened, err::kNone};
}

SpreadsheetResult<SheetHandle> firstSheet(const WorkbookHandle& workbook) {
    if (!workbook) return {{}, err::kObjectRequired};
    if (workbook->book.sheets.empty()) return {{}, err::kSubscriptOutOfRange};
    return {SheetHandle{workbook, 0}, err::kNone};
}

SpreadsheetResult<SheetHandle> activeSheet(const WorkbookHandle& workbook) {
    if (!workbook) return {{}, err::kObjectRequired};
    if (workbook->book.activeSheet >= workbook->book.sheets.size())
        return {{}, err::kSubscriptOutOfRange};
    return {SheetHandle{workbook, workbook->book.activeSheet}, err::kNone};
}

SpreadsheetResult<std::string> readCell(const SheetHandle& sheet, int row, int column) {
    if (!sheet) return {{}, err::kObjectRequired};
    if (!isCellInRange(row, column)) return {{}, err::kSubscriptOutOfRange};
    return {cellText(sheet.workbook->book.sheets[sheet.index], row, column), err::kNone};
}

int writeCell(const SheetHandle& sheet, int row, int column, const std::string& text) {
    if (!sheet) return err::kObjectRequired;
    if (!setCellText(sheet.workbook->book.sheets[sheet.index], row, column, text))
        return err::kSubscriptOutOfRange;
    return err::kNone;
}

int writeNumberCell(const SheetHandle& sheet, int row, int column, double value,
                    const std::string& numberFormat) {
    if (!sheet) return err::kObjectRequired;
    if (!setCellNumber(sheet.workbook->book.sheets[sheet.index], row, column, value, numberFormat))
        return err::kSubscriptOutOfRange;
    return err::kNone;
}

int saveWorkbookAs(const WorkbookHandle& workbook, const std::filesystem::path& path) {
    if (!workbook) return err::kObjectRequired;
    if (lowerExtension(path) == ".xls") return err::kPropertyOrMethodNotSupported;
    const int error = writeXlsxFile(workbook->book, path);
    if (error == err::kNone) workbook->path = path;
    return error;
}

}  // namespace qarv
