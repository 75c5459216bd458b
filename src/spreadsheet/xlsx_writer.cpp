// .xlsx writing through libxlsxwriter, which writes its own file: it is given
// a temporary name beside the target, renamed onto the target when the
// package is complete.

#include <xlsxwriter.h>

#include <map>
#include <string>

#include "common/run_errors.h"
#include "spreadsheet/file_checks.h"
#include "spreadsheet/workbook_file.h"

namespace qarv {
namespace {

// The longest text a cell holds; longer texts are cut at a character
// boundary.
constexpr std::size_t kMaxCellTextBytes = 32767;

std::string cellTextForFile(const std::string& text) {
    if (text.size() <= kMaxCellTextBytes) return text;
    std::size_t end = kMaxCellTextBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

void setMessage(std::string* message, std::string text) {
    if (message) *message = std::move(text);
}

}  // namespace

int writeXlsxFile(const Workbook& book, const std::filesystem::path& path, std::string* message) {
    // Reserve a fresh temporary name; libxlsxwriter then writes over it.
    std::filesystem::path temp;
    std::string why;
    if (const int rc = detail::reserveTemporaryBeside(path, temp, why); rc != err::kNone) {
        setMessage(message, why);
        return rc;
    }
    const auto dropTemp = [&temp] {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
    };

    lxw_workbook* workbook = workbook_new(temp.c_str());
    if (!workbook) {
        dropTemp();
        setMessage(message, "cannot start the workbook");
        return err::kOutOfMemory;
    }
    std::map<std::string, lxw_format*> formats;
    const auto formatFor = [&](const std::string& numberFormat) -> lxw_format* {
        if (numberFormat.empty()) return nullptr;
        auto it = formats.find(numberFormat);
        if (it == formats.end()) {
            lxw_format* format = workbook_add_format(workbook);
            if (format) format_set_num_format(format, numberFormat.c_str());
            it = formats.emplace(numberFormat, format).first;
        }
        return it->second;
    };

    std::string failure;
    const auto sheetCount = book.sheets.size();
    for (std::size_t i = 0; i < sheetCount && failure.empty(); ++i) {
        const Worksheet& sheet = book.sheets[i];
        lxw_worksheet* ws = workbook_add_worksheet(workbook, sheet.name.empty() ? nullptr : sheet.name.c_str());
        if (!ws) {
            failure = "sheet name \"" + sheet.name + "\" is not allowed";
            break;
        }
        if (i == book.activeSheet) worksheet_activate(ws);
        for (const auto& [at, cell] : sheet.cells) {
            if (!isCellInRange(at.first, at.second)) continue;
            const auto row = static_cast<lxw_row_t>(at.first - 1);
            const auto column = static_cast<lxw_col_t>(at.second - 1);
            lxw_error rc = LXW_NO_ERROR;
            if (cell.kind == Cell::Kind::Number)
                rc = worksheet_write_number(ws, row, column, cell.number, formatFor(cell.numberFormat));
            else if (!cell.text.empty())
                rc = worksheet_write_string(ws, row, column, cellTextForFile(cell.text).c_str(), nullptr);
            if (rc != LXW_NO_ERROR) {
                failure = "cell " + columnLetters(at.second) + std::to_string(at.first) + " of sheet " +
                          sheet.name + ": " + lxw_strerror(rc);
                break;
            }
        }
    }
    if (sheetCount == 0 && !workbook_add_worksheet(workbook, nullptr)) failure = "cannot add a sheet";

    const lxw_error closed = workbook_close(workbook);  // frees the workbook in every case
    if (!failure.empty() || closed != LXW_NO_ERROR) {
        dropTemp();
        setMessage(message, failure.empty() ? std::string(lxw_strerror(closed)) : failure);
        if (failure.empty() && closed == LXW_ERROR_CREATING_XLSX_FILE) return err::kPathFileAccessError;
        return failure.empty() ? err::kDeviceIoError : err::kCantPerformOperation;
    }
    if (const int rc = detail::putInPlace(temp, path, why); rc != err::kNone) {
        setMessage(message, why);
        return rc;
    }
    return err::kNone;
}

}  // namespace qarv
