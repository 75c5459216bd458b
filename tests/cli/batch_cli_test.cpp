// The batch command's arguments: what it accepts, what it refuses.

#include <gtest/gtest.h>

#include <sstream>

#include "cli.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

struct ArgsCase {
    std::vector<std::string> args;
    int status;
    std::string message;  // expected in stderr
};

TEST(BatchCommand, ArgumentsAreCheckedBeforeAnythingIsWritten) {
    test::TempDir dir;
    const std::string input =
        (fs::path(QARVELION_TEST_DATA_DIR) / "batch" / "georoc_slice.csv").string();
    const std::string out = (dir.path() / "out").string();
    const std::vector<ArgsCase> cases = {
        {{"batch"}, kExitFailure, "batch needs at least one input file"},
        {{"batch", input, "--out"}, kExitFailure, "--out needs a folder"},
        {{"batch", input, "--results"}, kExitFailure, "--results needs a file name"},
        {{"batch", input, "--fast"}, kExitFailure, "unknown option '--fast'"},
        {{"batch", input, "--out", out, "--results", out + "/r.ods"},
         kExitFailure,
         "must end in .tsv, .csv or .xlsx"},
        {{"batch", input, (dir.path() / "none.csv").string(), "--out", out},
         kExitFailure,
         "none.csv': no such file (nothing was replaced)"},
        {{"batch", input, input, "--out", out}, kExitOk, "18 rows calculated"},
    };
    for (const ArgsCase& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::ostringstream stdoutText, stderrText;
        EXPECT_EQ(runCli(c.args, stdoutText, stderrText, NumberFormatSettings{}), c.status);
        EXPECT_NE(stderrText.str().find(c.message), std::string::npos) << stderrText.str();
    }
    // Only the successful call wrote anything: the results and the data files.
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator{}), 58);
}

}  // namespace
}  // namespace qarv
