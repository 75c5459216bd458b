// .xls (BIFF) reading through FreeXL.

#include <freexl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "common/run_errors.h"
#include "spreadsheet/file_checks.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/xls_format.h"

namespace qarv {
namespace {

// The workbook globals come first in the stream and WINDOW1 early in them.
constexpr std::size_t kSheetTabsReadLimit = 1024 * 1024;
// The largest sheet BIFF8 can describe.
constexpr int kMaxXlsRows = 65536;
constexpr int kMaxXlsColumns = 256;

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

// An anonymous file in memory, reachable by a path while it lives.
class MemoryFile {
public:
    MemoryFile() = default;
    ~MemoryFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool create(const std::string& bytes) {
        fd_ = ::memfd_create("qarvelion-xls", MFD_CLOEXEC);
        if (fd_ < 0) return false;
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
        return true;
    }
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
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

    const auto refuse = [&](const std::string& why) {
        result.book = Workbook{};
        result.error = err::kInvalidFileFormat;
        result.message = path.string() + ": " + why;
        return result;
    };
    // FreeXL reads the whole file and allocates what its records claim (a
    // cell table per sheet from DIMENSION, a string table from SST), so the
    // claims are read and bounded here first.
    std::error_code ec;
    const std::uint64_t fileBytes = std::filesystem::file_size(path, ec);
    if (ec || fileBytes > limits.maxPartBytes) return refuse("larger than the reader accepts");
    std::string stream;
    const auto claims = detail::readXlsSizeClaims(path, limits.maxPartBytes, &stream);
    if (!claims) return refuse("not a readable .xls workbook (no readable workbook stream)");
    if (claims->badRecord) return refuse("not a readable .xls workbook (a damaged record)");
    if (claims->streamBytes > limits.maxPartBytes)
        return refuse("its workbook stream is larger than the reader accepts");
    if (claims->largestRowCount > static_cast<std::uint32_t>(kMaxXlsRows) ||
        claims->largestColumnCount > static_cast<std::uint32_t>(kMaxXlsColumns))
        return refuse("a sheet claims " + std::to_string(claims->largestRowCount) + " rows or " +
                      std::to_string(claims->largestColumnCount) + " columns");
    if (claims->declaredCells > limits.maxXlsDeclaredCells)
        return refuse("its sheets claim more cells than the reader accepts");
    // FreeXL 1.0.6 misreads a text spread over more than two records (it
    // reads past its buffer, fails, or garbles the text and the cells after
    // it), so such a file is refused whole rather than read wrong.
    if (claims->mostRecordsOfOneString > 2)
        return refuse("a text is spread over " + std::to_string(claims->mostRecordsOfOneString) +
                      " records, more than the .xls reader can read; save the workbook as .xlsx");
    // Every shared string takes at least three bytes of the stream.
    if (claims->sharedStrings > claims->streamBytes / 3)
        return refuse("it claims more shared strings than it holds");

    // FreeXL is given the workbook stream alone, in a compound file of our
    // own making, so that nothing of the original file's sector tables,
    // directory or other streams reaches it.
    MemoryFile clean;
    if (!clean.create(detail::compoundFileWithWorkbook(std::move(stream))))
        return refuse("no memory for reading it");
    XlsHandle xls;
    int rc = freexl_open(clean.path().c_str(), xls.out());
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
