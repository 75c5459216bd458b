#pragma once
// A one-sheet .xlsx written row by row in flat memory (libxlsxwriter's
// constant-memory mode): cells must come in row order, and within a row in
// column order. The file is made under a temporary name beside the target
// and renamed onto it by commit().

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace qarv {

class XlsxStreamWriter {
  public:
    XlsxStreamWriter() = default;
    XlsxStreamWriter(const XlsxStreamWriter&) = delete;
    XlsxStreamWriter& operator=(const XlsxStreamWriter&) = delete;
    // Drops the temporary file unless commit() succeeded.
    ~XlsxStreamWriter();

    bool open(const std::filesystem::path& target, const std::string& sheetName);
    // Row and column from 0. A text cell that is empty is not written.
    void text(int row, int column, std::string_view text);
    void number(int row, int column, double value, const std::string& numberFormat);
    bool commit();
    void discard();

    // The most rows a sheet holds.
    static constexpr int kMaxRows = 1048576;
    const std::string& error() const { return error_; }

  private:
    void fail(std::string message);
    lxw_format* formatFor(const std::string& numberFormat);

    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::map<std::string, lxw_format*> formats_;
    std::string cellBuffer_;
    std::string error_;
};

}  // namespace qarv
