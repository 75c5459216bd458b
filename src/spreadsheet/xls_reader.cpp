// .xls (BIFF) reading through FreeXL.

#include <freexl.h>

#include <string>

#include "common/run_errors.h"
#include "spreadsheet/file_checks.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/xls_format.h"

namespace qarv {
namespace {

// The workbook globals come first in the stream and WINDOW1 early in them.
constexpr std::size_t kSheetTabsReadLimit = 1024 * 1024;

class XlsHandle {
public:
    XlsHandle() = default;
    ~XlsHandle() {
        if (handle_) freexl_close(handle_);
    }
    XlsHandle(const XlsHandle&) = delete;
    XlsHandle& operator=(const XlsHandle&) = delete;
    const void** out() { return &handle_; }
    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

}  // namespace

WorkbookReadResult readXlsFile(const std::filesystem::path& path, const WorkbookReadLimits& limits) {
    WorkbookReadResult result;
    result.error = detail::checkReadableFile(path, result.message);
    if (!result.ok()) return result;
    const auto fail = [&](const std::string& why, int code) {
        result.book = Workbook{};
        result.error = err::kInvalidFileFormat;
        result.message = path.string() + ": " + why + " (FreeXL code " + std::to_string(code) + ")";
        return result;
    };

    XlsHandle xls;
    int rc = freexl_open(path.c_str(), xls.out());
    if (rc != FREEXL_OK) return fail("not a readable .xls workbook", rc);

    unsigned int sheetCount = 0;
    rc = freexl_get_info(xls.get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    if (rc != FREEXL_OK) return fail("cannot count its sheets", rc);
    if (sheetCount == 0) return fail("the workbook has no sheets", rc);

    std::size_t cellCount = 0;
    for (unsigned int s = 0; s < sheetCount; ++s) {
        const char* name = nullptr;
        rc = freexl_get_worksheet_name(xls.get(), static_cast<unsigned short>(s), &name);
        if (rc != FREEXL_OK) return fail("cannot read a sheet name", rc);
        Worksheet& sheet = result.book.addSheet(name ? name : "");
        rc = freexl_select_active_worksheet(xls.get(), static_cast<unsigned short>(s));
        if (rc != FREEXL_OK) return fail("cannot select sheet " + sheet.name, rc);
        unsigned int rows = 0;
        unsigned short columns = 0;
        rc = freexl_worksheet_dimensions(xls.get(), &rows, &columns);
        if (rc != FREEXL_OK) return fail("cannot read the size of sheet " + sheet.name, rc);
        for (unsigned int r = 0; r < rows && r < static_cast<unsigned>(kMaxSheetRows); ++r) {
            for (unsigned int c = 0; c < columns && c < static_cast<unsigned>(kMaxSheetColumns); ++c) {
                if (cellCount >= limits.maxCells) break;
                FreeXL_CellValue value{};
                rc = freexl_get_cell_value(xls.get(), r, static_cast<unsigned short>(c), &value);
                if (rc != FREEXL_OK) return fail("cannot read a cell of sheet " + sheet.name, rc);
                const int row = static_cast<int>(r) + 1;
                const int column = static_cast<int>(c) + 1;
                bool stored = false;
                switch (value.type) {
                    case FREEXL_CELL_INT:
                        stored = setCellNumber(sheet, row, column, value.value.int_value);
                        break;
                    case FREEXL_CELL_DOUBLE:
                        stored = setCellNumber(sheet, row, column, value.value.double_value);
                        break;
                    case FREEXL_CELL_TEXT:
                    case FREEXL_CELL_SST_TEXT:
                    case FREEXL_CELL_DATE:
                    case FREEXL_CELL_DATETIME:
                    case FREEXL_CELL_TIME:
                        if (value.value.text_value && *value.value.text_value)
                            stored = setCellText(sheet, row, column, value.value.text_value);
                        break;
                    default:
                        break;
                }
                if (stored) ++cellCount;
            }
        }
    }
    // The current tab is taken only when the globals list the same sheets
    // FreeXL does; otherwise the first sheet stands.
    result.book.activeSheet = 0;
    if (const auto tabs = detail::readXlsSheetTabs(path, kSheetTabsReadLimit);
        tabs && tabs->sheets == sheetCount && tabs->current < sheetCount)
        result.book.activeSheet = tabs->current;
    return result;
}

}  // namespace qarv
