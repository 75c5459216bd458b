#pragma once
// Run-time error numbers and the messages both main windows show for them.
// Most commands go on past a failing step and leave its number pending; after
// the command the window shows the message for that number, if it has one.

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace qarv {

// Caption of every run-time error message box.
inline constexpr std::string_view kRunErrorTitle = "Qarvelion";

// The numbers the program's failures are mapped onto.
namespace err {
inline constexpr int kNone = 0;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kOutOfStringSpace = 14;
inline constexpr int kExpressionTooComplex = 16;
inline constexpr int kCantPerformOperation = 17;
inline constexpr int kUserInterrupt = 18;
inline constexpr int kOutOfStackSpace = 28;
inline constexpr int kDllLoadError = 48;
inline constexpr int kInternalError = 51;
inline constexpr int kBadFileNameOrNumber = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kFileAlreadyOpen = 55;
inline constexpr int kDeviceIoError = 57;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kBadRecordLength = 59;
inline constexpr int kDiskFull = 61;
inline constexpr int kObjectVariableNotSet = 91;  // has no message
inline constexpr int kInputPastEndOfFile = 62;    // has no message
inline constexpr int kBadRecordNumber = 63;
inline constexpr int kTooManyFiles = 67;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kDiskNotReady = 71;
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidFileFormat = 321;
inline constexpr int kInvalidResourceFormat = 325;
inline constexpr int kDataValueNotFound = 327;
inline constexpr int kComponentNotFound = 337;
inline constexpr int kObjectRequired = 424;
inline constexpr int kInvalidObjectUse = 425;
inline constexpr int kPropertyOrMethodNotSupported = 438;
inline constexpr int kActionNotSupported = 445;
inline constexpr int kCantOpenClipboard = 521;
inline constexpr int kCantSaveToTemp = 735;
inline constexpr int kControlOutOfMemory = 31001;
}  // namespace err

// The two windows that show run-time errors; their message tables differ in
// three numbers (6, 13 and 424).
enum class RunErrorWindow { DataEntry, Results };

// The window's message for the number, or nothing when it has none (0 and
// every unlisted number included).
std::optional<std::string_view> runErrorMessage(int number, RunErrorWindow window);

// The error a command leaves behind: 0 while none is pending. A command
// clears it when it starts; each failing step stores its number, so after
// the command it holds the last failure. Showing the message leaves it as is.
struct PendingError {
    int number = err::kNone;

    void clear() { number = err::kNone; }
    void set(int errorNumber) { number = errorNumber; }
    bool isPending() const { return number != err::kNone; }
};

// The number for a failed file operation: a missing file 53, a missing
// folder 76, no access or held by another program 75, a full disk 61, too
// many open files 67, an existing file 58, a name too long 52, anything
// else 57; no error is 0.
int runErrorNumber(const std::error_code& ec);
// As above; for "no such file or directory" the path tells the two apart: a
// path whose folder does not exist gives 76, otherwise 53.
int runErrorNumber(const std::error_code& ec, const std::filesystem::path& path);

}  // namespace qarv
