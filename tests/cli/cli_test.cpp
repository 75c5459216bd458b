// The command-line program: its usage and argument errors, the failures it
// must report without leaving or replacing any output, and what a good run
// writes and prints. (Whole-sheet output is compared byte for byte by the
// golden tests.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "sheet/analysis_file.h"
#include "spreadsheet/workbook_file.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err, NumberFormatSettings{});
    return {status, out.str(), err.str()};
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Row 1 a chromite, row 2 a carrollite, row 3 a tyrrellite.
void writeThreeAnalyses(const fs::path& path) {
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(1, 1, "Chr 1");
    sheet.setText(1, 5, "15");
    sheet.setText(1, 7, "55");
    sheet.setText(1, 13, "30");
    sheet.setText(2, 26, "Carr 2");
    sheet.setText(2, 27, "20.52");
    sheet.setText(2, 34, "38.06");
    sheet.setText(2, 50, "41.42");
    sheet.setText(3, 52, "Tyr 3");
    sheet.setText(3, 53, "12.79");
    sheet.setText(3, 55, "11.86");
    sheet.setText(3, 56, "11.81");
    sheet.setText(3, 59, "63.55");
    ASSERT_TRUE(writeAnalysisFile(path, sheet));
}

TEST(CliUsage, HelpPrintsTheUsageAndSucceeds) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"calc", "--help"}}) {
        const CliResult r = run(args);
        EXPECT_EQ(r.status, kExitOk) << args.front();
        EXPECT_NE(r.out.find("Usage: qarvelion-cli calc FILE [--out DIR] [--xlsx RESULTS.xlsx]"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
}

struct BadArguments {
    const char* name;
    std::vector<std::string> args;
    std::string mentioned;  // what the message must name
};

void PrintTo(const BadArguments& c, std::ostream* os) {
    *os << c.name;
}

class CliArgumentErrors : public ::testing::TestWithParam<BadArguments> {};

TEST_P(CliArgumentErrors, ExitWithStatus2AndAMessageOnStderr) {
    test::TempDir dir;
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path());
    const CliResult r = run(GetParam().args);
    fs::current_path(cwd);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(GetParam().mentioned), std::string::npos) << r.err;
    EXPECT_TRUE(namesIn(dir.path()).empty());  // nothing written in the working folder
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliArgumentErrors,
    ::testing::Values(BadArguments{"NoArguments", {}, "Usage:"},
                      BadArguments{"UnknownCommand", {"frobnicate", "a.dor"}, "'frobnicate'"},
                      BadArguments{"UnknownOption", {"calc", "a.dor", "--fast"}, "'--fast'"},
                      BadArguments{"OutWithoutAFolder", {"calc", "a.dor", "--out"}, "--out"},
                      BadArguments{"NoInputFile", {"calc"}, "analysis file"},
                      BadArguments{"TwoInputFiles", {"calc", "a.dor", "b.dor"}, "one"}),
    [](const ::testing::TestParamInfo<BadArguments>& info) { return info.param.name; });

// Runs that must fail: the message names the file and the reason, and the
// output folder keeps exactly what it held (an earlier results.tsv and data
// file unchanged, nothing added).
struct FailingRun {
    const char* name;
    // Makes the input and returns {input, output folder, text the message must hold}.
    std::function<std::vector<std::string>(const fs::path& root, const fs::path& out)> make;
};

void PrintTo(const FailingRun& c, std::ostream* os) {
    *os << c.name;
}

class CliFailingRun : public ::testing::TestWithParam<FailingRun> {};

TEST_P(CliFailingRun, ReportsTheFileAndTheReasonAndLeavesTheOutputAlone) {
    test::TempDir root;
    const fs::path out = root.path() / "out";
    fs::create_directory(out);
    test::writeFile(out / "results.tsv", "earlier results\n");
    test::writeFile(out / "MgFeCrAl100.dat", "earlier data\r\n");
    const std::vector<std::string> made = GetParam().make(root.path(), out);
    const std::string& input = made[0];
    const std::string& outDir = made[1];
    const std::set<std::string> before = namesIn(out);

    const CliResult r = run({"calc", input, "--out", outDir});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    for (std::size_t i = 2; i < made.size(); ++i) {
        EXPECT_NE(r.err.find(made[i]), std::string::npos) << "'" << made[i] << "' in " << r.err;
    }
    EXPECT_EQ(namesIn(out), before);
    EXPECT_EQ(test::readFile(out / "results.tsv"), "earlier results\n");
    EXPECT_EQ(test::readFile(out / "MgFeCrAl100.dat"), "earlier data\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliFailingRun,
    ::testing::Values(
        FailingRun{"MissingInput",
                   [](const fs::path& root, const fs::path& out) {
                       const std::string in = (root / "missing.dor").string();
                       return std::vector<std::string>{in, out.string(), in, "no such file"};
                   }},
        FailingRun{"InputWithoutTheLeadingQuote",
                   [](const fs::path& root, const fs::path& out) {
                       const std::string in = (root / "table.dor").string();
                       test::writeFile(in, "Chr 1\t0.1\t0.2\r\n");
                       return std::vector<std::string>{in, out.string(), in, "double quote"};
                   }},
        FailingRun{"EmptyInput",
                   [](const fs::path& root, const fs::path& out) {
                       const std::string in = (root / "empty.dor").string();
                       test::writeFile(in, "");
                       return std::vector<std::string>{in, out.string(), in, "empty"};
                   }},
        FailingRun{"InputWithoutTheClosingQuote",
                   [](const fs::path& root, const fs::path& out) {
                       const std::string in = (root / "cut.dor").string();
                       test::writeFile(in, "\"Chr 1\t15\t55");
                       return std::vector<std::string>{in, out.string(), in, "closing"};
                   }},
        FailingRun{"InputIsAFolder",
                   [](const fs::path& root, const fs::path& out) {
                       const std::string in = (root / "folder.dor").string();
                       fs::create_directory(in);
                       return std::vector<std::string>{in, out.string(), in, "folder"};
                   }},
        FailingRun{"OutputFolderCannotBeMade",
                   [](const fs::path& root, const fs::path&) {
                       const std::string in = (root / "good.dor").string();
                       writeThreeAnalyses(in);
                       test::writeFile(root / "plain-file", "x");
                       const std::string outDir = (root / "plain-file" / "sub").string();
                       return std::vector<std::string>{in, outDir, outDir};
                   }},
        FailingRun{"OutputIsAFile",
                   [](const fs::path& root, const fs::path&) {
                       const std::string in = (root / "good.dor").string();
                       writeThreeAnalyses(in);
                       const std::string outDir = (root / "plain-file").string();
                       test::writeFile(outDir, "x");
                       return std::vector<std::string>{in, outDir, outDir, "not a folder"};
                   }},
        // A folder in the place of the last data file: the move into place
        // fails there, and must not have replaced the files before it.
        FailingRun{"OneDataFileNameTakenByAFolder",
                   [](const fs::path& root, const fs::path& out) {
                       const std::string in = (root / "good.dor").string();
                       writeThreeAnalyses(in);
                       fs::create_directory(out / "CuCoNiss.dat");
                       return std::vector<std::string>{in, out.string(), "CuCoNiss.dat"};
                   }}),
    [](const ::testing::TestParamInfo<FailingRun>& info) { return info.param.name; });

TEST(CliRun, WritesTheResultsAndThe57DataFilesAndPrintsOneLinePerRow) {
    test::TempDir root;
    const fs::path input = root.path() / "three.dor";
    writeThreeAnalyses(input);
    const fs::path out = root.path() / "out";
    fs::create_directory(out);
    test::writeFile(out / "results.tsv", "earlier results\n");

    const CliResult r = run({"calc", input.string(), "--out", out.string()});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    // Row number, then the oxyspinel, thiospinel and selenospinel species.
    EXPECT_EQ(r.out, "1\tChromite\t\t\n2\t\tCarrollite\t\n3\t\t\tTyrrellite\n");

    const std::set<std::string> names = namesIn(out);
    EXPECT_EQ(names.size(), 58u);
    EXPECT_EQ(names.count("results.tsv"), 1u);
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n.ends_with(".dat"); }),
              57);

    const std::string tsv = test::readFile(out / "results.tsv");
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 5);  // two heading rows, three rows
    EXPECT_EQ(tsv.rfind("Qarvelion\t1\t2\t", 0), 0u);
    EXPECT_NE(tsv.find("\nChr 1\t"), std::string::npos);
    EXPECT_NE(test::readFile(out / "MgFeCrAl100.dat").find("\r\nChr 1 "), std::string::npos);
    EXPECT_NE(test::readFile(out / "CuNiCoFets.dat").find("\r\nCarr 2 "), std::string::npos);
}

TEST(CliRun, MakesAMissingOutputFolder) {
    test::TempDir root;
    const fs::path input = root.path() / "three.dor";
    writeThreeAnalyses(input);
    const fs::path out = root.path() / "new" / "folder";
    const CliResult r = run({"calc", input.string(), "--out", out.string()});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(namesIn(out).size(), 58u);
}

TEST(CliRun, WritesIntoTheWorkingFolderWithoutOut) {
    test::TempDir root;
    const fs::path input = root.path() / "three.dor";
    writeThreeAnalyses(input);
    const fs::path out = root.path() / "here";
    fs::create_directory(out);
    const fs::path cwd = fs::current_path();
    fs::current_path(out);
    const CliResult r = run({"calc", input.string()});
    fs::current_path(cwd);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(namesIn(out).size(), 58u);
}

TEST(CliRun, ASecondRunReplacesTheFirstRunsFiles) {
    test::TempDir root;
    const fs::path out = root.path() / "out";
    fs::create_directory(out);
    const fs::path first = root.path() / "first.dor";
    writeThreeAnalyses(first);
    ASSERT_EQ(run({"calc", first.string(), "--out", out.string()}).status, kExitOk);

    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(1, 1, "Spl only");
    sheet.setText(1, 5, "72");
    sheet.setText(1, 14, "28");
    const fs::path second = root.path() / "second.dor";
    ASSERT_TRUE(writeAnalysisFile(second, sheet));
    const CliResult r = run({"calc", second.string(), "--out", out.string()});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "1\tSpinel\t\t\n");

    EXPECT_EQ(namesIn(out).size(), 58u);
    const std::string tsv = test::readFile(out / "results.tsv");
    EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 3);
    EXPECT_EQ(tsv.find("Chr 1"), std::string::npos);
    const std::string chromites = test::readFile(out / "MgFeCrAl100.dat");
    EXPECT_EQ(chromites.find("\r\n"), chromites.size() - 2);  // header only
}

TEST(CliSettings, ALocaleWithoutDigitGroupingGivesCommaAndPeriod) {
    const char* previous = std::getenv("LC_ALL");
    const std::string saved = previous != nullptr ? previous : "";
    for (const char* locale : {"C", "POSIX", "C.UTF-8"}) {
        ::setenv("LC_ALL", locale, 1);
        const NumberFormatSettings s = numberSettingsFromEnvironment();
        EXPECT_EQ(s.groupSeparator, ",") << locale;
        EXPECT_EQ(s.decimalSeparator, ".") << locale;
    }
    if (previous != nullptr) {
        ::setenv("LC_ALL", saved.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

}  // namespace
}  // namespace qarv

namespace qarv {
namespace {

// A workbook laid out like the analysis sheet: row 1 the titles, column A
// the row numbers, as a saved sheet is exported.
Workbook workbookOfSheet(const AnalysisSheet& sheet) {
    Workbook book;
    book.addSheet("Notes");  // the analyses are on the active, second sheet
    Worksheet& data = book.addSheet("Analyses");
    book.activeSheet = 1;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        for (int c = 0; c < 60; ++c) setCellText(data, r + 1, c + 1, sheet.text(r, c));
    }
    setCellText(data, 1, 62, "beyond the block");  // column BJ is not read
    return book;
}

TEST(CliWorkbooks, AWorkbookLaidOutLikeTheSheetCalculatesAsTheAnalysisFileDoes) {
    test::TempDir root;
    const fs::path dor = root.path() / "three.dor";
    writeThreeAnalyses(dor);
    AnalysisSheet sheet;
    ASSERT_TRUE(openAnalysisFile(sheet, dor).ok);
    const fs::path xlsx = root.path() / "three.xlsx";
    ASSERT_EQ(writeXlsxFile(workbookOfSheet(sheet), xlsx), 0);

    const fs::path fromDor = root.path() / "dor", fromXlsx = root.path() / "xlsx";
    ASSERT_EQ(run({"calc", dor.string(), "--out", fromDor.string()}).status, kExitOk);
    const CliResult r = run({"calc", xlsx.string(), "--out", fromXlsx.string()});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "1\tChromite\t\t\n2\t\tCarrollite\t\n3\t\t\tTyrrellite\n");
    EXPECT_EQ(test::readFile(fromXlsx / "results.tsv"), test::readFile(fromDor / "results.tsv"));
    EXPECT_EQ(test::readFile(fromXlsx / "CuCoNiss.dat"), test::readFile(fromDor / "CuCoNiss.dat"));
}

TEST(CliWorkbooks, XlsxOutputHoldsTheTableWithNumbersAsNumbers) {
    test::TempDir root;
    const fs::path dor = root.path() / "three.dor";
    writeThreeAnalyses(dor);
    const fs::path out = root.path() / "out";
    const fs::path xlsx = root.path() / "Output.xlsx";
    const CliResult r = run({"calc", dor.string(), "--out", out.string(), "--xlsx", xlsx.string()});
    ASSERT_EQ(r.status, kExitOk) << r.err;

    const WorkbookReadResult book = readWorkbookFile(xlsx);
    ASSERT_TRUE(book.ok()) << book.message;
    const Worksheet& sheet = book.book.sheets.at(0);
    EXPECT_EQ(cellText(sheet, 1, 1), "Qarvelion");
    EXPECT_EQ(cellText(sheet, 2, 1), "Sample No");
    EXPECT_EQ(cellText(sheet, 3, 1), "Chr 1");
    const Cell* al2o3 = findCell(sheet, 3, 5);  // table column 4
    ASSERT_NE(al2o3, nullptr);
    EXPECT_EQ(al2o3->kind, Cell::Kind::Number);
    EXPECT_EQ(al2o3->number, 15);
    EXPECT_EQ(cellText(sheet, 3, 78), "Chromite");  // table column 77

    const CliResult bad = run({"calc", dor.string(), "--out", out.string(), "--xlsx",
                               (root.path() / "no such folder" / "x.xlsx").string()});
    EXPECT_EQ(bad.status, kExitFailure);
    EXPECT_NE(bad.err.find("x.xlsx"), std::string::npos);
}

TEST(CliWorkbooks, AFileThatOnlyLooksLikeAWorkbookIsRefused) {
    test::TempDir root;
    const fs::path fake = root.path() / "fake.xlsx";
    test::writeFile(fake, std::string("PK\x03\x04", 4) + "not really a zip");
    const CliResult r = run({"calc", fake.string(), "--out", (root.path() / "out").string()});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_NE(r.err.find("fake.xlsx"), std::string::npos);
    EXPECT_FALSE(fs::exists(root.path() / "out" / "results.tsv"));
}

}  // namespace
}  // namespace qarv
