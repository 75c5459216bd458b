#include "common/run_errors.h"

#include <array>
#include <cerrno>

namespace qarv {
namespace {

// One row per number; nullptr where that window has no message.
struct MessageRow {
    int number;
    const char* dataEntry;
    const char* results;
};

constexpr std::array<MessageRow, 36> kMessages = {{
    {err::kOverflow, nullptr, "Overflow"},
    {err::kOutOfMemory, "Out of memory", "Out of memory"},
    {err::kSubscriptOutOfRange, "Subscript out of range", "Subscript out of range"},
    {err::kTypeMismatch, "Type mismatch", nullptr},
    {err::kOutOfStringSpace, "Out of string space", "Out of string space"},
    {err::kExpressionTooComplex, "Expression too complex", "Expression too complex"},
    {err::kCantPerformOperation, "Can't perform requested operation",
     "Can't perform requested operation"},
    {err::kUserInterrupt, "User interrupt occured", "User interrupt occured"},
    {err::kOutOfStackSpace, "Out of stack space", "Out of stack space"},
    {err::kDllLoadError, "Error in loading DLL", "Error in loading DLL"},
    {err::kInternalError, "Internal error", "Internal error"},
    {err::kBadFileNameOrNumber, "Bad file name or number", "Bad file name or number"},
    {err::kFileNotFound, "File not found", "File not found"},
    {err::kBadFileMode, "Bad file mode", "Bad file mode"},
    {err::kFileAlreadyOpen, "File already open", "File already open"},
    {err::kDeviceIoError, "Device I/O error", "Device I/O error"},
    {err::kFileAlreadyExists, "File already exists", "File already exists"},
    {err::kBadRecordLength, "Bad record length", "Bad record length"},
    {err::kDiskFull, "Disk full", "Disk full"},
    {err::kBadRecordNumber, "Bad record number", "Bad record number"},
    {err::kTooManyFiles, "Too many files", "Too many files"},
    {err::kDeviceUnavailable, "Device unavailable", "Device unavailable"},
    {err::kDiskNotReady, "Disk not ready", "Disk not ready"},
    {err::kPathFileAccessError, "Path/File access error", "Path/File access error"},
    {err::kPathNotFound, "Path not found", "Path not found"},
    {err::kInvalidFileFormat, "Invalid file format", "Invalid file format"},
    {err::kInvalidResourceFormat, "Invalid format in resource file",
     "Invalid format in resource file"},
    {err::kDataValueNotFound, "Data value named not found", "Data value named not found"},
    {err::kComponentNotFound, "Component not found", "Component not found"},
    // Each window names the workbook format it was written for.
    {err::kObjectRequired, "Object required. Possibly [Output.Xls]",
     "Object required. Possibly [Output.Xlsx]"},
    {err::kInvalidObjectUse, "Invalid object use", "Invalid object use"},
    {err::kPropertyOrMethodNotSupported, "Object doesn't support this property or method",
     "Object doesn't support this property or method"},
    {err::kActionNotSupported, "Object doesn't support this action",
     "Object doesn't support this action"},
    {err::kCantOpenClipboard, "Can't open clipboard", "Can't open clipboard"},
    {err::kCantSaveToTemp, "Can't save file to TEMP directory",
     "Can't save file to TEMP directory"},
    {err::kControlOutOfMemory, "Out of memory", "Out of memory"},
}};

#ifdef _WIN32
// Native codes that the portable conditions do not tell apart.
constexpr int kWinPathNotFound = 3;       // ERROR_PATH_NOT_FOUND
constexpr int kWinSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr int kWinLockViolation = 33;     // ERROR_LOCK_VIOLATION
constexpr int kWinBadPathName = 161;      // ERROR_BAD_PATHNAME
#endif

}  // namespace

std::optional<std::string_view> runErrorMessage(int number, RunErrorWindow window) {
    for (const MessageRow& row : kMessages) {
        if (row.number != number) continue;
        const char* text = window == RunErrorWindow::DataEntry ? row.dataEntry : row.results;
        if (text == nullptr) return std::nullopt;
        return std::string_view(text);
    }
    return std::nullopt;
}

int runErrorNumber(const std::error_code& ec) {
    if (!ec) return err::kNone;
#ifdef _WIN32
    if (ec.category() == std::system_category()) {
        switch (ec.value()) {
            case kWinPathNotFound:
            case kWinBadPathName:
                return err::kPathNotFound;
            case kWinSharingViolation:
            case kWinLockViolation:
                return err::kPathFileAccessError;
            default:
                break;
        }
    }
#endif
    using std::errc;
    if (ec == errc::no_such_file_or_directory) return err::kFileNotFound;
    if (ec == errc::not_a_directory) return err::kPathNotFound;
    if (ec == errc::permission_denied || ec == errc::operation_not_permitted ||
        ec == errc::read_only_file_system || ec == errc::is_a_directory ||
        ec == errc::device_or_resource_busy || ec == errc::text_file_busy)
        return err::kPathFileAccessError;
    // A quota used up or a file grown past the largest size the disk allows
    // is a full disk to the user.
    if (ec == errc::no_space_on_device || ec == errc::file_too_large ||
        (ec.category() == std::generic_category() && ec.value() == EDQUOT))
        return err::kDiskFull;
    if (ec == errc::too_many_files_open || ec == errc::too_many_files_open_in_system)
        return err::kTooManyFiles;
    if (ec == errc::file_exists) return err::kFileAlreadyExists;
    if (ec == errc::filename_too_long) return err::kBadFileNameOrNumber;
    return err::kDeviceIoError;
}

int runErrorNumber(const std::error_code& ec, const std::filesystem::path& path) {
    const int number = runErrorNumber(ec);
    if (number != err::kFileNotFound) return number;
    const std::filesystem::path folder = path.parent_path();
    if (folder.empty()) return number;  // a bare name: the working folder exists
    std::error_code ignored;
    return std::filesystem::is_directory(folder, ignored) ? err::kFileNotFound : err::kPathNotFound;
}

}  // namespace qarv
