// The command line when its output cannot be written (a full disk, no
// rights, a failing rename): it exits with status 2 and a message naming the
// file, and the output folder keeps the previous run's files byte for byte,
// with nothing half-written or temporary left beside them.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "file_write_faults.h"
#include "sheet/analysis_file.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = test::readFile(entry.path());
    }
    return files;
}

struct WriteFailure {
    const char* name;
    FileWriteStep step;
    std::errc code;
    const char* fileName;  // the file whose write fails
    // Whether the output folder must keep its old files: everything is made
    // complete before anything is put in place, so only a failure of the
    // workbook's own last step comes after the folder's files were replaced.
    bool folderKept;
};

void PrintTo(const WriteFailure& c, std::ostream* os) {
    *os << c.name;
}

class CliWriteFailure : public ::testing::TestWithParam<WriteFailure> {};

TEST_P(CliWriteFailure, ExitsWithAMessageAndKeepsThePreviousOutput) {
    test::TempDir root;
    const fs::path dor = root.path() / "in.dor";
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(1, 1, "Chr 1");
    sheet.setText(1, 5, "15");
    sheet.setText(1, 7, "55");
    sheet.setText(1, 13, "30");
    ASSERT_TRUE(writeAnalysisFile(dor, sheet));
    const fs::path out = root.path() / "out";
    const fs::path xlsx = root.path() / "results.xlsx";
    const std::vector<std::string> args = {"calc",       dor.string(), "--out",
                                           out.string(), "--xlsx",     xlsx.string()};
    std::ostringstream ok, okErr;
    ASSERT_EQ(runCli(args, ok, okErr, NumberFormatSettings{}), kExitOk) << okErr.str();
    const auto before = filesIn(out);
    const std::string xlsxBefore = test::readFile(xlsx);
    ASSERT_GT(before.size(), 50u);

    // The second run has another sample, so every file would change.
    sheet.setText(1, 1, "Chr 2");
    ASSERT_TRUE(writeAnalysisFile(dor, sheet));
    std::ostringstream stdOut, stdErr;
    int status = 0;
    {
        test::InjectedWriteFault fault(GetParam().step, GetParam().code, GetParam().fileName);
        status = runCli(args, stdOut, stdErr, NumberFormatSettings{});
        EXPECT_GE(fault.hits(), 1);
    }
    EXPECT_EQ(status, kExitFailure);
    EXPECT_NE(stdErr.str().find("qarvelion-cli: "), std::string::npos) << stdErr.str();
    EXPECT_NE(stdErr.str().find(GetParam().fileName), std::string::npos) << stdErr.str();
    if (GetParam().folderKept) {
        EXPECT_TRUE(filesIn(out) == before) << "the output folder changed";
    }
    EXPECT_EQ(test::readFile(xlsx), xlsxBefore);
    EXPECT_EQ(filesIn(root.path()).size(), 3u) << "only in.dor, out and results.xlsx";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CliWriteFailure,
    ::testing::Values(WriteFailure{"ResultsDiskFull", FileWriteStep::Write,
                                   std::errc::no_space_on_device, "results.tsv", true},
                      WriteFailure{"DataFileDiskFull", FileWriteStep::Finish,
                                   std::errc::no_space_on_device, "MgFeCrAl100.dat", true},
                      WriteFailure{"DataFileNoRights", FileWriteStep::Create,
                                   std::errc::permission_denied, "CuCoNiss.dat", true},
                      WriteFailure{"WorkbookNoRights", FileWriteStep::Create,
                                   std::errc::permission_denied, "results.xlsx", true},
                      WriteFailure{"WorkbookDiskFull", FileWriteStep::Finish,
                                   std::errc::no_space_on_device, "results.xlsx", false},
                      WriteFailure{"WorkbookRenameFails", FileWriteStep::Replace,
                                   std::errc::io_error, "results.xlsx", false}),
    [](const ::testing::TestParamInfo<WriteFailure>& info) { return info.param.name; });

}  // namespace
}  // namespace qarv
