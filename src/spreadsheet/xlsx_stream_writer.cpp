#include "spreadsheet/xlsx_stream_writer.h"

#include <xlsxwriter.h>

#include "common/run_errors.h"
#include "spreadsheet/file_checks.h"

namespace qarv {
namespace {

// The longest text a cell holds; longer texts are cut at a character
// boundary.
constexpr std::size_t kMaxCellTextBytes = 32767;

}  // namespace

XlsxStreamWriter::~XlsxStreamWriter() {
    discard();
}

void XlsxStreamWriter::fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
}

bool XlsxStreamWriter::open(const std::filesystem::path& target, const std::string& sheetName) {
    discard();
    error_.clear();
    target_ = target;
    std::string why;
    if (detail::reserveTemporaryBeside(target, temp_, why) != err::kNone) {
        fail(why);
        temp_.clear();
        return false;
    }
    // The row data passes through a temporary file in the target's folder,
    // not through memory.
    const std::string tmpdir = temp_.parent_path().empty() ? "." : temp_.parent_path().string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmpdir.c_str());
    workbook_ = workbook_new_opt(temp_.c_str(), &options);
    if (workbook_ != nullptr) sheet_ = workbook_add_worksheet(workbook_, sheetName.c_str());
    if (sheet_ == nullptr) {
        fail("cannot start the workbook");
        discard();
        return false;
    }
    return true;
}

lxw_format* XlsxStreamWriter::formatFor(const std::string& numberFormat) {
    if (numberFormat.empty()) return nullptr;
    auto it = formats_.find(numberFormat);
    if (it == formats_.end()) {
        lxw_format* format = workbook_add_format(workbook_);
        if (format != nullptr) format_set_num_format(format, numberFormat.c_str());
        it = formats_.emplace(numberFormat, format).first;
    }
    return it->second;
}

void XlsxStreamWriter::text(int row, int column, std::string_view text) {
    if (sheet_ == nullptr || text.empty() || !error_.empty()) return;
    if (row >= kMaxRows) {
        fail("more rows than a worksheet holds (" + std::to_string(kMaxRows) + ")");
        return;
    }
    std::size_t end = std::min(text.size(), kMaxCellTextBytes);
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    cellBuffer_.assign(text.substr(0, end));
    const lxw_error rc =
        worksheet_write_string(sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                               cellBuffer_.c_str(), nullptr);
    if (rc != LXW_NO_ERROR) fail(lxw_strerror(rc));
}

void XlsxStreamWriter::number(int row, int column, double value, const std::string& numberFormat) {
    if (sheet_ == nullptr || !error_.empty()) return;
    if (row >= kMaxRows) {
        fail("more rows than a worksheet holds (" + std::to_string(kMaxRows) + ")");
        return;
    }
    const lxw_error rc =
        worksheet_write_number(sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                               value, formatFor(numberFormat));
    if (rc != LXW_NO_ERROR) fail(lxw_strerror(rc));
}

bool XlsxStreamWriter::commit() {
    if (workbook_ == nullptr) {
        fail("the workbook was not started");
        return false;
    }
    const lxw_error rc = workbook_close(workbook_);
    workbook_ = nullptr;
    sheet_ = nullptr;
    if (rc != LXW_NO_ERROR) fail(lxw_strerror(rc));
    if (!error_.empty()) {
        discard();
        return false;
    }
    std::string why;
    if (detail::putInPlace(temp_, target_, why) != err::kNone) {
        fail(why);
        temp_.clear();
        return false;
    }
    temp_.clear();
    return true;
}

void XlsxStreamWriter::discard() {
    if (workbook_ != nullptr) {
        // Closing is the only way to free the workbook; its file is dropped.
        workbook_close(workbook_);
        workbook_ = nullptr;
        sheet_ = nullptr;
    }
    formats_.clear();
    if (!temp_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temp_, ignored);
        temp_.clear();
    }
}

}  // namespace qarv
