// The results workbook read back by another spreadsheet program: LibreOffice
// converts it to CSV with each cell as it shows it, and every cell must
// equal the results table's text. Skipped where LibreOffice is not installed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "results/results_layout.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

using Rows = std::vector<std::vector<std::string>>;

// RFC 4180 fields: commas, double quotes doubled inside quoted fields.
Rows csvRows(const std::string& text) {
    Rows rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field.push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else {
            field.push_back(c);
        }
    }
    if (!field.empty() || !rows.back().empty()) rows.back().push_back(field);
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

Rows tsvRows(const std::string& text) {
    Rows rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
            cells.push_back(line.substr(start, tab - start));
        }
        cells.push_back(line.substr(start));
        rows.push_back(cells);
    }
    return rows;
}

// Golden sheet 101 calculated by the command line into folder, its results
// also sent to the workbook xlsx.
void calculateGoldenSheetInto(const fs::path& folder, const fs::path& xlsx) {
    const fs::path input = fs::path(QARVELION_TEST_DATA_DIR) / "golden" / "sheet-101" / "input.dor";
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"calc", input.string(), "--out", folder.string(), "--xlsx", xlsx.string()},
                     out, err, NumberFormatSettings{}),
              kExitOk)
        << err.str();
}

TEST(ResultsWorkbookInOffice, ShowsTheTablesTextsCellForCell) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    test::TempDir dir;
    const fs::path xlsx = dir.path() / "results.xlsx";
    ASSERT_NO_FATAL_FAILURE(calculateGoldenSheetInto(dir.path(), xlsx));
    // CSV options: comma, double quote, UTF-8, from line 1, cells as shown;
    // the neutral locale, whose digit-group character is ",".
    const std::string command = "cd '" + dir.path().string() +
                                "' && LC_ALL=C.UTF-8 timeout 300 soffice -env:UserInstallation=file://" +
                                (dir.path() / "profile").string() +
                                " --headless --convert-to 'csv:Text - txt - csv (StarCalc):"
                                "44,34,76,1,,0,false,true,true' --outdir '" +
                                dir.path().string() + "' '" + xlsx.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const Rows table = tsvRows(test::readFile(dir.path() / "results.tsv"));
    Rows shown = csvRows(test::readFile(dir.path() / "results.csv"));
    ASSERT_EQ(shown.size(), table.size());
    for (std::size_t r = 0; r < table.size(); ++r) {
        shown[r].resize(table[r].size());  // trailing empty cells may be left out
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            EXPECT_EQ(shown[r][c], table[r][c]) << "row " << r << ", column " << c;
        }
    }
}

TEST(ResultsWorkbookInOffice, AnotherReaderFindsNumbersWhereTheTableShowsNumbers) {
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Python's openpyxl (python3-openpyxl) is not installed";
    }
    test::TempDir dir;
    const fs::path xlsx = dir.path() / "results.xlsx";
    ASSERT_NO_FATAL_FAILURE(calculateGoldenSheetInto(dir.path(), xlsx));
    // One line per cell: row, column, "n" for a number or "s" for a text.
    const fs::path script = dir.path() / "kinds.py";
    test::writeFile(script,
                    "import sys, openpyxl\n"
                    "ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
                    "for row in ws.iter_rows():\n"
                    "    for c in row:\n"
                    "        if c.value is not None:\n"
                    "            k = 'n' if isinstance(c.value, (int, float)) else 's'\n"
                    "            print(c.row, c.column, k)\n");
    const fs::path kinds = dir.path() / "kinds.txt";
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + xlsx.string() +
                                "' > '" + kinds.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const Rows table = tsvRows(test::readFile(dir.path() / "results.tsv"));
    std::istringstream lines(test::readFile(kinds));
    int numbers = 0;
    int row = 0, column = 0;
    std::string kind;
    std::size_t cells = 0;
    while (lines >> row >> column >> kind) {
        ++cells;
        const std::string& text = table.at(row - 1).at(column - 1);
        const bool numberColumn = resultColumns()[column - 1].kind == ResultKind::Number;
        // Data cells of number columns are numbers; headings, sample names and
        // labels are texts, so a sample named "007" stays "007".
        const std::string want = (row > 2 && numberColumn) ? "n" : "s";
        EXPECT_EQ(kind, want) << "row " << row << ", column " << column << ": " << text;
        if (kind == "n") ++numbers;
    }
    std::size_t filled = 0;
    for (const auto& r : table) {
        for (const auto& c : r) filled += c.empty() ? 0 : 1;
    }
    EXPECT_EQ(cells, filled);  // every filled cell, and no other, is in the workbook
    EXPECT_GT(numbers, 0);
}

}  // namespace
}  // namespace qarv
