// Run-time error messages: every number's text in both windows (the two
// tables differ for 6, 13 and 424), numbers without a message, the pending
// error of a command, and how failed file operations map onto the numbers.

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "common/run_errors.h"
#include "test_support.h"

namespace qarv {
namespace {

struct MessageCase {
    int number;
    const char* dataEntry;  // nullptr: no message in that window
    const char* results;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
    *os << c.number;
}

std::optional<std::string> text(const char* s) {
    return s ? std::optional<std::string>(s) : std::nullopt;
}

std::optional<std::string> shown(int number, RunErrorWindow window) {
    const auto m = runErrorMessage(number, window);
    return m ? std::optional<std::string>(std::string(*m)) : std::nullopt;
}

class RunErrorMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(RunErrorMessage, EachWindowShowsItsOwnText) {
    EXPECT_EQ(shown(GetParam().number, RunErrorWindow::DataEntry), text(GetParam().dataEntry));
    EXPECT_EQ(shown(GetParam().number, RunErrorWindow::Results), text(GetParam().results));
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunErrorMessage,
    testing::Values(
        MessageCase{6, nullptr, "Overflow"}, MessageCase{7, "Out of memory", "Out of memory"},
        MessageCase{9, "Subscript out of range", "Subscript out of range"},
        MessageCase{13, "Type mismatch", nullptr},
        MessageCase{14, "Out of string space", "Out of string space"},
        MessageCase{16, "Expression too complex", "Expression too complex"},
        MessageCase{17, "Can't perform requested operation", "Can't perform requested operation"},
        MessageCase{18, "User interrupt occured", "User interrupt occured"},
        MessageCase{28, "Out of stack space", "Out of stack space"},
        MessageCase{48, "Error in loading DLL", "Error in loading DLL"},
        MessageCase{51, "Internal error", "Internal error"},
        MessageCase{52, "Bad file name or number", "Bad file name or number"},
        MessageCase{53, "File not found", "File not found"},
        MessageCase{54, "Bad file mode", "Bad file mode"},
        MessageCase{55, "File already open", "File already open"},
        MessageCase{57, "Device I/O error", "Device I/O error"},
        MessageCase{58, "File already exists", "File already exists"},
        MessageCase{59, "Bad record length", "Bad record length"},
        MessageCase{61, "Disk full", "Disk full"},
        MessageCase{63, "Bad record number", "Bad record number"},
        MessageCase{67, "Too many files", "Too many files"},
        MessageCase{68, "Device unavailable", "Device unavailable"},
        MessageCase{71, "Disk not ready", "Disk not ready"},
        MessageCase{75, "Path/File access error", "Path/File access error"},
        MessageCase{76, "Path not found", "Path not found"},
        MessageCase{321, "Invalid file format", "Invalid file format"},
        MessageCase{325, "Invalid format in resource file", "Invalid format in resource file"},
        MessageCase{327, "Data value named not found", "Data value named not found"},
        MessageCase{337, "Component not found", "Component not found"},
        MessageCase{424, "Object required. Possibly [Output.Xls]",
                    "Object required. Possibly [Output.Xlsx]"},
        MessageCase{425, "Invalid object use", "Invalid object use"},
        MessageCase{438, "Object doesn't support this property or method",
                    "Object doesn't support this property or method"},
        MessageCase{445, "Object doesn't support this action",
                    "Object doesn't support this action"},
        MessageCase{521, "Can't open clipboard", "Can't open clipboard"},
        MessageCase{735, "Can't save file to TEMP directory", "Can't save file to TEMP directory"},
        MessageCase{31001, "Out of memory", "Out of memory"},
        // Numbers without an entry, 0 (no error) among them.
        MessageCase{0, nullptr, nullptr}, MessageCase{5, nullptr, nullptr},
        MessageCase{62, nullptr, nullptr}, MessageCase{-53, nullptr, nullptr},
        MessageCase{1004, nullptr, nullptr}, MessageCase{31000, nullptr, nullptr}),
    [](const testing::TestParamInfo<MessageCase>& info) {
        const int n = info.param.number;
        return n < 0 ? "Minus" + std::to_string(-n) : "Number" + std::to_string(n);
    });

// The numbers the program maps its failures onto carry the texts their names
// promise.
TEST(RunErrorNumbers, NamedNumbersShowTheirText) {
    struct Named {
        int number;
        const char* text;
    };
    for (const Named& n :
         {Named{err::kFileNotFound, "File not found"}, Named{err::kPathNotFound, "Path not found"},
          Named{err::kPathFileAccessError, "Path/File access error"},
          Named{err::kDiskFull, "Disk full"},
          Named{err::kCantOpenClipboard, "Can't open clipboard"},
          Named{err::kPropertyOrMethodNotSupported,
                "Object doesn't support this property or method"},
          Named{err::kBadFileNameOrNumber, "Bad file name or number"},
          Named{err::kDeviceIoError, "Device I/O error"},
          Named{err::kInvalidFileFormat, "Invalid file format"},
          Named{err::kControlOutOfMemory, "Out of memory"}}) {
        SCOPED_TRACE(n.number);
        EXPECT_EQ(shown(n.number, RunErrorWindow::Results), text(n.text));
    }
    EXPECT_EQ(shown(err::kObjectRequired, RunErrorWindow::DataEntry),
              text("Object required. Possibly [Output.Xls]"));
    EXPECT_EQ(shown(err::kInputPastEndOfFile, RunErrorWindow::DataEntry), std::nullopt);
    EXPECT_EQ(shown(err::kNone, RunErrorWindow::Results), std::nullopt);
    EXPECT_EQ(kRunErrorTitle, "Qarvelion");
}

TEST(PendingError, ACommandStartsClearAndKeepsItsLastFailure) {
    PendingError pending;
    EXPECT_FALSE(pending.isPending());
    pending.set(err::kFileNotFound);
    pending.set(err::kCantOpenClipboard);
    EXPECT_TRUE(pending.isPending());
    EXPECT_EQ(pending.number, err::kCantOpenClipboard);
    pending.clear();
    EXPECT_FALSE(pending.isPending());
    EXPECT_EQ(pending.number, 0);
}

// ---------------------------------------------------------------------------
// File operation failures

struct CodeCase {
    const char* name;
    std::errc condition;
    int want;
};

void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << c.name;
}

class FileErrorNumber : public testing::TestWithParam<CodeCase> {};

TEST_P(FileErrorNumber, MapsTheConditionOntoItsNumber) {
    EXPECT_EQ(runErrorNumber(std::make_error_code(GetParam().condition)), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, FileErrorNumber,
    testing::Values(CodeCase{"NoSuchFile", std::errc::no_such_file_or_directory, 53},
                    CodeCase{"NotADirectory", std::errc::not_a_directory, 76},
                    CodeCase{"PermissionDenied", std::errc::permission_denied, 75},
                    CodeCase{"NotPermitted", std::errc::operation_not_permitted, 75},
                    CodeCase{"ReadOnlyFileSystem", std::errc::read_only_file_system, 75},
                    CodeCase{"IsADirectory", std::errc::is_a_directory, 75},
                    CodeCase{"Busy", std::errc::device_or_resource_busy, 75},
                    CodeCase{"TextFileBusy", std::errc::text_file_busy, 75},
                    CodeCase{"NoSpace", std::errc::no_space_on_device, 61},
                    CodeCase{"TooManyOpen", std::errc::too_many_files_open, 67},
                    CodeCase{"FileExists", std::errc::file_exists, 58},
                    CodeCase{"NameTooLong", std::errc::filename_too_long, 52},
                    CodeCase{"IoError", std::errc::io_error, 57},
                    CodeCase{"InvalidArgument", std::errc::invalid_argument, 57},
                    CodeCase{"NotSupported", std::errc::not_supported, 57}),
    [](const testing::TestParamInfo<CodeCase>& info) { return std::string(info.param.name); });

TEST(FileErrorNumber, NoErrorIsZero) {
    EXPECT_EQ(runErrorNumber(std::error_code{}), 0);
    EXPECT_EQ(runErrorNumber(std::error_code{}, "missing/folder/x.dor"), 0);
}

#ifndef _WIN32
// Codes as the operating system reports them, not only the portable ones.
TEST(FileErrorNumber, SystemCodesMapLikeTheirConditions) {
    EXPECT_EQ(runErrorNumber(std::error_code(ENOENT, std::system_category())), 53);
    EXPECT_EQ(runErrorNumber(std::error_code(EACCES, std::system_category())), 75);
    EXPECT_EQ(runErrorNumber(std::error_code(ENOSPC, std::system_category())), 61);
    EXPECT_EQ(runErrorNumber(std::error_code(EIO, std::system_category())), 57);
}
#endif

// The same "no such file or directory" is a missing file when its folder
// exists and a missing path when it does not; found with real file calls.
TEST(FileErrorNumber, AMissingFolderIsPathNotFound) {
    test::TempDir dir;
    const auto missingFile = dir.path() / "absent.dor";
    const auto missingFolder = dir.path() / "absent" / "sample.dor";

    std::error_code ec;
    (void)std::filesystem::file_size(missingFile, ec);
    ASSERT_TRUE(ec);
    EXPECT_EQ(runErrorNumber(ec, missingFile), err::kFileNotFound);

    ec.clear();
    (void)std::filesystem::file_size(missingFolder, ec);
    ASSERT_TRUE(ec);
    EXPECT_EQ(runErrorNumber(ec, missingFolder), err::kPathNotFound);

    // A bare name is looked up in the working folder, which exists.
    EXPECT_EQ(
        runErrorNumber(std::make_error_code(std::errc::no_such_file_or_directory), "absent.dor"),
        err::kFileNotFound);
    // Other failures keep their number whatever the path.
    EXPECT_EQ(runErrorNumber(std::make_error_code(std::errc::permission_denied), missingFolder),
              err::kPathFileAccessError);
}

TEST(FileErrorNumber, AFileUsedAsAFolderIsPathNotFound) {
    test::TempDir dir;
    const auto file = dir.path() / "plain.txt";
    std::ofstream(file) << "x";
    const auto below = file / "inner.dor";
    std::error_code ec;
    (void)std::filesystem::file_size(below, ec);
    ASSERT_TRUE(ec);
    EXPECT_EQ(runErrorNumber(ec, below), err::kPathNotFound);
}

}  // namespace
}  // namespace qarv
