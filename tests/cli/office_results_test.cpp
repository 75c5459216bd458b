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

TEST(ResultsWorkbookInOffice, ShowsTheTablesTextsCellForCell) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    test::TempDir dir;
    const fs::path input = fs::path(QARVELION_TEST_DATA_DIR) / "golden" / "sheet-101" / "input.dor";
    const fs::path xlsx = dir.path() / "results.xlsx";
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"calc", input.string(), "--out", dir.path().string(), "--xlsx", xlsx.string()},
                     out, err, NumberFormatSettings{}),
              kExitOk)
        << err.str();
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

}  // namespace
}  // namespace qarv
