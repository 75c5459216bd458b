// Whole runs of the command line over generated sheets whose expected output
// was computed independently of this program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

class GoldenSheet : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenSheet, CommandLineWritesExactlyTheExpectedFiles) {
    const fs::path sheet = fs::path(QARVELION_TEST_DATA_DIR) / "golden" / GetParam();
    const fs::path expected = sheet / "expected";
    test::TempDir out;
    std::ostringstream stdoutText, stderrText;
    const int status = runCli({"calc", (sheet / "input.dor").string(), "--out", out.path().string()},
                              stdoutText, stderrText, NumberFormatSettings{});
    ASSERT_EQ(status, kExitOk) << stderrText.str();

    int compared = 0;
    for (const auto& entry : fs::directory_iterator(expected)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(out.path() / name));
        const std::string want = test::readFile(entry.path());
        const std::string got = test::readFile(out.path() / name);
        if (want != got) {
            ADD_FAILURE() << test::firstDifference(want, got);
        }
        ++compared;
    }
    // results.tsv and the 57 diagram data files, and nothing else.
    EXPECT_EQ(compared, 58);
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator{}), 58);
}

INSTANTIATE_TEST_SUITE_P(Sheets, GoldenSheet,
                         ::testing::Values("sheet-101", "sheet-103", "sheet-105"));

}  // namespace
}  // namespace qarv
