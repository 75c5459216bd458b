// Workbooks written by the module, as a spreadsheet program shows them:
// LibreOffice, where installed, converts them to CSV, whose cells hold the
// shown texts.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/run_errors.h"
#include "spreadsheet/workbook_file.h"
#include "test_support.h"

namespace qarv {
namespace {

bool haveSoffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// Rows of a CSV text: fields split at commas outside double quotes, "" inside
// quotes standing for one quote.
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                rows.back().back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                rows.back().back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else if (c != '\r') {
            rows.back().back() += c;
        }
    }
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
}

TEST(OfficeRoundTrip, ShownTextsOfWrittenWorkbooks) {
    if (!haveSoffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed; the check needs it";

    Workbook book;
    Worksheet& results = book.addSheet("Results");
    setCellText(results, 1, 1, "Sample No");
    setCellText(results, 1, 2, "SiO2");
    setCellText(results, 1, 3, "Total");
    setCellText(results, 2, 1, "007");
    setCellNumber(results, 2, 2, 12.5, "#,##0.000");
    setCellNumber(results, 2, 3, 1234567.875, "#,##0.000");
    setCellText(results, 3, 1, "Fe\xC2\xB3\xE2\x81\xBA");
    setCellNumber(results, 3, 2, 0.1234, "#,##0.0000");
    setCellNumber(results, 3, 3, 100);
    const std::vector<std::vector<std::string>> shown = {
        {"Sample No", "SiO2", "Total"},
        {"007", "12.500", "1,234,567.875"},
        {"Fe\xC2\xB3\xE2\x81\xBA", "0.1234", "100"},
    };

    using Writer = int (*)(const Workbook&, const std::filesystem::path&, std::string*);
    const std::pair<const char*, Writer> writers[] = {{"results.xlsx", writeXlsxFile},
                                                      {"results.xls", writeXlsFile}};
    for (const auto& [name, write] : writers) {
        test::TempDir dir;
        const auto path = dir.path() / name;
        std::string message;
        ASSERT_EQ(write(book, path, &message), err::kNone) << name << ": " << message;
        // A profile of its own, so that a running or damaged one does not
        // interfere; the neutral locale, whose thousands separator is ",".
        const std::string command = "cd '" + dir.path().string() + "' && LC_ALL=C.UTF-8 " +
                                    "timeout 180 soffice -env:UserInstallation=file://" +
                                    (dir.path() / "profile").string() +
                                    // CSV options: comma, double quote, UTF-8 (76), from line
                                    // 1, cell contents as shown.
                                    " --headless --convert-to 'csv:Text - txt - csv (StarCalc):"
                                    "44,34,76,1,,0,false,true,true' --outdir '" +
                                    dir.path().string() +
                                    "' '" + path.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const auto csv = dir.path() / "results.csv";
        ASSERT_TRUE(std::filesystem::exists(csv)) << name;
        EXPECT_EQ(csvRows(test::readFile(csv)), shown) << name << ":\n" << test::readFile(csv);
    }
}

}  // namespace
}  // namespace qarv
