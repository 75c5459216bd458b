// The calculation run: how far down the sheet it goes, which cells it reads
// for each block, the order in which it talks to the windows, how it loads
// the sheet when no analysis file has been opened, and what it leaves in the
// results table and the diagram data files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/calculation_run.h"
#include "sheet/analysis_file.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

constexpr int kAl2O3 = 5;
constexpr int kS = 50;
constexpr int kSe = 59;

AnalysisSheet laidOutSheet() {
    AnalysisSheet sheet;
    sheet.capCell();
    return sheet;
}

// A chromite, FeO 30, Cr2O3 55, Al2O3 15 (total 100).
void putChromite(AnalysisSheet& s, int row, const std::string& name) {
    s.setText(row, 1, name);
    s.setText(row, 5, "15");
    s.setText(row, 7, "55");
    s.setText(row, 13, "30");
}

// A spinel, MgO 28, Al2O3 72.
void putSpinel(AnalysisSheet& s, int row, const std::string& name) {
    s.setText(row, 1, name);
    s.setText(row, 5, "72");
    s.setText(row, 14, "28");
}

// A carrollite, Cu 20.52, Co 38.06, S 41.42.
void putCarrollite(AnalysisSheet& s, int row, const std::string& name) {
    s.setText(row, 26, name);
    s.setText(row, 27, "20.52");
    s.setText(row, 34, "38.06");
    s.setText(row, 50, "41.42");
}

// A tyrrellite, Cu 12.79, Co 11.86, Ni 11.81, Se 63.55.
void putTyrrellite(AnalysisSheet& s, int row, const std::string& name) {
    s.setText(row, 52, name);
    s.setText(row, 53, "12.79");
    s.setText(row, 55, "11.86");
    s.setText(row, 56, "11.81");
    s.setText(row, 59, "63.55");
}

// ---------------------------------------------------------------------------
// The last row to process

struct LastRowCase {
    const char* name;
    std::function<void(AnalysisSheet&)> fill;
    int want;
};

void PrintTo(const LastRowCase& c, std::ostream* os) {
    *os << c.name;
}

class LastRowToProcess : public ::testing::TestWithParam<LastRowCase> {};

TEST_P(LastRowToProcess, FollowsTheAl2O3RuleAndTheLastSulfideOrSelenideRow) {
    AnalysisSheet sheet = laidOutSheet();
    GetParam().fill(sheet);
    EXPECT_EQ(lastRowToProcess(sheet), GetParam().want);
}

// Puts `text` into `column` of each listed row.
auto cells(int column, std::vector<int> rows, std::string text = "10") {
    return [=](AnalysisSheet& s) {
        for (int r : rows) s.setText(r, column, text);
    };
}
auto both(std::function<void(AnalysisSheet&)> a, std::function<void(AnalysisSheet&)> b) {
    return [=](AnalysisSheet& s) {
        a(s);
        b(s);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, LastRowToProcess,
    ::testing::Values(
        LastRowCase{"EmptySheetProcessesAll200", [](AnalysisSheet&) {}, 200},
        LastRowCase{"OxidesInRows1To5", cells(kAl2O3, {1, 2, 3, 4, 5}), 5},
        LastRowCase{"EmptyRowInsideTheOxides", cells(kAl2O3, {1, 2, 3, 5, 6}), 6},
        LastRowCase{"PositiveAl2O3InRow200", cells(kAl2O3, {1, 200}), 200},
        LastRowCase{"OnlyNegativeAl2O3", cells(kAl2O3, {1, 2, 3}, "-1"), 200},
        LastRowCase{"TextReadAsAPositiveNumber", cells(kAl2O3, {3}, "12,5"), 3},
        // Each row after the last positive one that is not exactly 0 moves
        // the end one row down, wherever that row stands.
        LastRowCase{"NegativeRightAfterTheOxides",
                    both(cells(kAl2O3, {1, 2}), cells(kAl2O3, {3}, "-1")), 3},
        LastRowCase{"NegativeFarBelowCountsNotWhereItStands",
                    both(cells(kAl2O3, {1, 2}), cells(kAl2O3, {150}, "-1")), 3},
        LastRowCase{"TwoNegatives", both(cells(kAl2O3, {1, 2}), cells(kAl2O3, {100, 101}, "-0.5")),
                    4},
        LastRowCase{"NegativeAboveTheLastPositiveDoesNotCount",
                    both(cells(kAl2O3, {1}, "-1"), cells(kAl2O3, {2, 3, 4, 5})), 5},
        LastRowCase{
            "TextAndZeroBelowTheOxidesReadAsZero",
            both(cells(kAl2O3, {1, 2}), both(cells(kAl2O3, {3}, "abc"), cells(kAl2O3, {4}, "0.0"))),
            2},
        // Sulfide and selenide analyses below the oxides are processed too.
        LastRowCase{"SulfidesBelowTheOxides", both(cells(kAl2O3, {1, 2}), cells(kS, {3, 4})), 4},
        LastRowCase{"SelenideBelowTheOxides", both(cells(kAl2O3, {1, 2}), cells(kSe, {7})), 7},
        LastRowCase{"SulfideInRow200", both(cells(kAl2O3, {1, 2}), cells(kS, {200})), 200},
        LastRowCase{"NegativeSulfurIsNotZero", both(cells(kAl2O3, {1, 2}), cells(kS, {9}, "-1")),
                    9},
        LastRowCase{"SulfurWithALeadingBlank", both(cells(kAl2O3, {1, 2}), cells(kS, {9}, " 5")),
                    9},
        LastRowCase{
            "SulfurReadAsZeroDoesNotExtend",
            both(cells(kAl2O3, {1, 2}), both(cells(kS, {9}, "0.000"), cells(kS, {10}, "abc"))), 2},
        LastRowCase{"SulfidesAboveTheOxides", both(cells(kS, {1}), cells(kAl2O3, {3, 4})), 4},
        LastRowCase{"SulfideAboveTheNegativeOddity",
                    both(both(cells(kAl2O3, {1, 2}), cells(kAl2O3, {3}, "-1")), cells(kS, {2})), 3},
        LastRowCase{"SulfideBelowTheNegativeOddity",
                    both(both(cells(kAl2O3, {1, 2}), cells(kAl2O3, {3}, "-1")), cells(kS, {10})),
                    10},
        LastRowCase{"OnlySulfides", cells(kS, {3, 4}), 200},
        // Only the S of the thiospinel block and the Se of the selenospinel
        // block extend the range; other cells of those blocks do not.
        LastRowCase{"SeleniumOfTheThiospinelBlockDoesNotExtend",
                    both(cells(kAl2O3, {1, 2}), cells(48, {9})), 2},
        LastRowCase{"SulfurOfTheSelenospinelBlockDoesNotExtend",
                    both(cells(kAl2O3, {1, 2}), cells(58, {9})), 2},
        LastRowCase{"MetalsAndNamesDoNotExtend",
                    both(cells(kAl2O3, {1, 2}),
                         both(cells(34, {9}), both(cells(26, {9}, "Lin 1"), cells(53, {9})))),
                    2},
        LastRowCase{"OtherOxidesDoNotExtend", both(cells(kAl2O3, {1, 2}), cells(7, {9})), 2},
        LastRowCase{"SpacerColumnsDoNotExtend",
                    both(cells(kAl2O3, {1, 2}), both(cells(25, {9}), cells(51, {9}))), 2}),
    [](const ::testing::TestParamInfo<LastRowCase>& info) { return info.param.name; });

TEST(ReadRowInput, ReadsEachBlockFromItsOwnColumns) {
    AnalysisSheet sheet = laidOutSheet();
    for (int c = 1; c <= 60; ++c) sheet.setText(7, c, std::to_string(c) + ".5");
    sheet.setText(7, 1, "Oxy name");
    sheet.setText(7, 26, "Thio name");
    sheet.setText(7, 52, "Seleno name");
    sheet.setText(6, 5, "999");  // neighbouring rows are not read
    sheet.setText(8, 5, "999");

    const RowInput in = readRowInput(sheet, 7);
    EXPECT_EQ(in.oxySampleName, "Oxy name");
    EXPECT_EQ(in.thio.sampleName, "Thio name");
    EXPECT_EQ(in.seleno.sampleName, "Seleno name");
    for (int i = 0; i < 23; ++i) EXPECT_EQ(in.oxides[i], 2 + i + 0.5) << "oxide " << i;
    for (int i = 0; i < 24; ++i) EXPECT_EQ(in.thio.wt[i], 27 + i + 0.5) << "thio " << i;
    for (int i = 0; i < 7; ++i) EXPECT_EQ(in.seleno.wt[i], 53 + i + 0.5) << "seleno " << i;
    EXPECT_EQ(in.oxides[Al2O3], 5.5);
    EXPECT_EQ(in.thio.wt[tS], 50.5);
    EXPECT_EQ(in.seleno.wt[sSe], 59.5);
}

TEST(ReadRowInput, TextThatIsNoNumberReadsAsZero) {
    AnalysisSheet sheet = laidOutSheet();
    sheet.setText(1, 2, "12,5");
    sheet.setText(1, 3, "abc");
    sheet.setText(1, 4, " 3.5");
    const RowInput in = readRowInput(sheet, 1);
    EXPECT_EQ(in.oxides[SiO2], 12);
    EXPECT_EQ(in.oxides[TiO2], 0);
    EXPECT_EQ(in.oxides[GeO2], 3.5);
    EXPECT_EQ(in.oxides[Al2O3], 0);
}

// ---------------------------------------------------------------------------
// The run against a recording host

class FakeHost : public RunHost {
  public:
    explicit FakeHost(fs::path folder) : folder_(std::move(folder)) {}

    std::vector<std::string> calls;
    bool fileOpened = true;
    std::string dialogName;      // the dialog's file name before the run
    std::string pickedInDialog;  // what the user picks when the dialog is shown
    NumberFormatSettings settings{",", "."};
    int tablesCreated = 0;
    std::vector<int> rowsWhenSourceShown;  // table rows each time the source file is shown

    void setScreenTitle(std::string_view title) override {
        calls.push_back("title:" + std::string(title));
    }
    ResultsTable& resultsTable() override {
        calls.push_back("table");
        if (!table_) {
            table_.emplace();
            ++tablesCreated;
        }
        return *table_;
    }
    void setRunConstants(std::string_view cations, std::string_view oxygens,
                         std::string_view method) override {
        calls.push_back("constants:" + std::string(cations) + "|" + std::string(oxygens) + "|" +
                        std::string(method));
    }
    bool analysisFileOpened() const override { return fileOpened; }
    void showOpenDialog(std::string_view filter) override {
        calls.push_back("dialog:" + std::string(filter));
        dialogName = pickedInDialog;
    }
    std::string fileDialogName() const override { return dialogName; }
    void setFilePanel(std::string_view text) override {
        calls.push_back("filePanel:" + std::string(text));
    }
    void showResultsWindow() override { calls.push_back("showResults"); }
    void showSourceFile(std::string_view path) override {
        calls.push_back("source:" + std::string(path));
        rowsWhenSourceShown.push_back(table_ ? table_->rowCount() : -1);
    }
    void reportPendingError() override { calls.push_back("reportError"); }
    fs::path diagramFolder() const override { return folder_; }
    NumberFormatSettings numberSettings() const override { return settings; }

    const ResultsTable& table() const { return *table_; }

  private:
    fs::path folder_;
    std::optional<ResultsTable> table_;
};

std::vector<std::string> withSources(std::vector<std::string> head, int rows,
                                     const std::string& source) {
    head.push_back("showResults");
    for (int i = 0; i < rows; ++i) head.push_back("source:" + source);
    head.push_back("title:Data Entry Screen");
    return head;
}

constexpr int kSpeciesOxy = 77;
constexpr int kSpeciesThio = 137;
constexpr int kSpeciesSeleno = 163;

TEST(CalculationRun, WithAFileOpenedCalculatesTheSheetWithoutADialog) {
    test::TempDir dir;
    FakeHost host(dir.path());
    host.dialogName = "/data/earlier.dor";
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "Chr 1");
    putSpinel(sheet, 2, "Spl 2");

    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(report.lastRow, 2);
    EXPECT_EQ(report.rowsAppended, 2);
    EXPECT_TRUE(report.fileErrors.empty());
    EXPECT_EQ(host.calls, withSources({"title:Wait Please", "table", "constants:3|4|Droop (1987)"},
                                      2, "/data/earlier.dor"));

    // The source file is shown just before each row is appended.
    EXPECT_EQ(host.rowsWhenSourceShown, (std::vector<int>{2, 3}));
    const ResultsTable& table = host.table();
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.text(2, 0), "Chr 1");
    EXPECT_EQ(table.text(2, 4), "15.000");
    EXPECT_EQ(table.text(2, 24), "100.000");
    EXPECT_EQ(table.text(2, kSpeciesOxy), "Chromite");
    EXPECT_EQ(table.text(3, 0), "Spl 2");
    EXPECT_EQ(table.text(3, kSpeciesOxy), "Spinel");
    // Neither row holds S or Se: those blocks are empty.
    EXPECT_EQ(table.text(2, kSpeciesThio), "");
    EXPECT_EQ(table.text(2, 80), "");
    EXPECT_EQ(table.text(2, 140), "");

    // The diagram data files are written into the host's folder.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().extension(), ".dat") << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 57);
    const std::string chromites = test::readFile(dir.path() / "MgFeCrAl100.dat");
    EXPECT_NE(chromites.find("\r\nChr 1 "), std::string::npos) << chromites;
    EXPECT_EQ(chromites.find("Spl 2"), std::string::npos);
    EXPECT_NE(test::readFile(dir.path() / "MgCuZn.dat").find("\r\nSpl 2 "), std::string::npos);
}

TEST(CalculationRun, WithoutAFileOpenedLoadsTheFileChosenInTheDialog) {
    test::TempDir dir;
    AnalysisSheet fileSheet = laidOutSheet();
    putChromite(fileSheet, 1, "Chr 1");
    putCarrollite(fileSheet, 2, "Carr 2");
    putTyrrellite(fileSheet, 3, "Tyr 3");
    const fs::path path = dir.path() / "analyses.dor";
    ASSERT_TRUE(writeAnalysisFile(path, fileSheet));
    const fs::path out = dir.path() / "out";
    fs::create_directory(out);

    FakeHost host(out);
    host.fileOpened = false;
    host.dialogName = "/data/earlier.dor";
    host.pickedInDialog = path.string();
    AnalysisSheet sheet = laidOutSheet();
    putSpinel(sheet, 5, "on screen before the run");
    sheet.setText(0, 5, "damaged title");

    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(host.calls, withSources({"title:Wait Please", "table", "constants:3|4|Droop (1987)",
                                       "dialog:Spinel(*.dor) |*.dor", "filePanel:" + path.string()},
                                      3, path.string()));
    // The file replaced the sheet's data area, titles laid out again.
    EXPECT_EQ(sheet.text(0, 5), "Al2O3");
    EXPECT_EQ(sheet.text(1, 1), "Chr 1");
    EXPECT_EQ(sheet.text(3, 59), "63.55");
    EXPECT_EQ(sheet.text(5, 1), "");
    EXPECT_EQ(sheet.text(5, 5), "");
    EXPECT_EQ(sheet.cellAlignment(1, 1), CellAlignment::Centre);
    EXPECT_EQ(sheet.cellAlignment(200, 60), CellAlignment::Centre);

    // The oxide in row 1 and the sulfide and selenide in rows 2 and 3.
    EXPECT_EQ(report.lastRow, 3);
    const ResultsTable& table = host.table();
    ASSERT_EQ(table.rowCount(), 5);
    EXPECT_EQ(table.text(2, kSpeciesOxy), "Chromite");
    EXPECT_EQ(table.text(3, 79), "Carr 2");
    EXPECT_EQ(table.text(3, kSpeciesThio), "Carrollite");
    EXPECT_EQ(table.text(3, kSpeciesOxy), "");
    EXPECT_EQ(table.text(4, 139), "Tyr 3");
    EXPECT_EQ(table.text(4, kSpeciesSeleno), "Tyrrellite");
    EXPECT_NE(test::readFile(out / "CuNiCoFets.dat").find("\r\nCarr 2 "), std::string::npos);
    EXPECT_NE(test::readFile(out / "CuCoNiss.dat").find("\r\nTyr 3 "), std::string::npos);
}

TEST(CalculationRun, ACancelledDialogIsReportedAndTheSheetIsStillCalculated) {
    test::TempDir dir;
    FakeHost host(dir.path());
    host.fileOpened = false;
    host.dialogName = "/data/earlier.dor";
    host.pickedInDialog = "";
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "Chr 1");
    sheet.setText(0, 5, "damaged title");

    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(sheet.text(0, 5), "Al2O3");  // the sheet is laid out before the path is looked at
    ASSERT_GE(host.calls.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(host.calls.begin(), host.calls.begin() + 7),
              (std::vector<std::string>{"title:Wait Please", "table", "constants:3|4|Droop (1987)",
                                        "dialog:Spinel(*.dor) |*.dor", "filePanel:", "reportError",
                                        "showResults"}));
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "reportError"), 1);
    EXPECT_EQ(host.calls.back(), "title:Data Entry Screen");
    EXPECT_GE(report.lastRow, 1);
    EXPECT_EQ(report.rowsAppended, report.lastRow);
    EXPECT_EQ(host.table().rowCount(), 2 + report.rowsAppended);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "source:"), report.rowsAppended);
}

// A dialog naming a file that cannot be loaded leaves the sheet as it was;
// the run goes on without a report.
struct UnloadableFile {
    const char* name;
    std::function<fs::path(const fs::path&)> make;
};

void PrintTo(const UnloadableFile& c, std::ostream* os) {
    *os << c.name;
}

class RunWithUnloadableFile : public ::testing::TestWithParam<UnloadableFile> {};

TEST_P(RunWithUnloadableFile, CalculatesTheSheetAsItStands) {
    test::TempDir dir;
    const fs::path path = GetParam().make(dir.path());
    const fs::path out = dir.path() / "out";
    fs::create_directory(out);
    FakeHost host(out);
    host.fileOpened = false;
    host.pickedInDialog = path.string();
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "Chr 1");
    putSpinel(sheet, 2, "Spl 2");

    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "reportError"), 0);
    EXPECT_EQ(sheet.text(1, 1), "Chr 1");
    EXPECT_EQ(sheet.text(2, 5), "72");
    EXPECT_EQ(report.lastRow, 2);
    EXPECT_EQ(host.table().text(3, 0), "Spl 2");
    EXPECT_EQ(host.calls.back(), "title:Data Entry Screen");
}

INSTANTIATE_TEST_SUITE_P(
    Files, RunWithUnloadableFile,
    ::testing::Values(UnloadableFile{"Missing",
                                     [](const fs::path& d) { return d / "missing.dor"; }},
                      UnloadableFile{"NotAnAnalysisFile",
                                     [](const fs::path& d) {
                                         test::writeFile(d / "plain.txt", "a\tb\tc\r\n");
                                         return d / "plain.txt";
                                     }},
                      UnloadableFile{"Folder",
                                     [](const fs::path& d) {
                                         fs::create_directory(d / "folder.dor");
                                         return d / "folder.dor";
                                     }}),
    [](const ::testing::TestParamInfo<UnloadableFile>& info) { return info.param.name; });

TEST(CalculationRun, OxidesThenSulfideOnlyRowsProcessAllFourRows) {
    test::TempDir dir;
    FakeHost host(dir.path());
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "Chr 1");
    putSpinel(sheet, 2, "Spl 2");
    putCarrollite(sheet, 3, "Carr 3");
    putCarrollite(sheet, 4, "Carr 4");

    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(report.lastRow, 4);
    EXPECT_EQ(report.rowsAppended, 4);
    const ResultsTable& table = host.table();
    ASSERT_EQ(table.rowCount(), 6);
    EXPECT_EQ(table.text(4, kSpeciesThio), "Carrollite");
    EXPECT_EQ(table.text(5, 79), "Carr 4");
    EXPECT_EQ(table.text(5, kSpeciesThio), "Carrollite");
    // Their oxide blocks are empty: an oxide total of 0.
    EXPECT_EQ(table.text(5, 24), "");
    EXPECT_EQ(table.text(5, kSpeciesOxy), "");
}

TEST(CalculationRun, AnEmptyRowInsideTheRangeGivesARowWithEmptyBlocks) {
    test::TempDir dir;
    FakeHost host(dir.path());
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "Chr 1");
    sheet.setText(2, 1, "empty analysis");
    putSpinel(sheet, 3, "Spl 3");

    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(report.lastRow, 3);
    const ResultsTable& table = host.table();
    ASSERT_EQ(table.rowCount(), 5);
    EXPECT_EQ(table.text(3, 0), "empty analysis");
    for (int c = 1; c < 171; ++c) EXPECT_EQ(table.text(3, c), "") << c;
    EXPECT_EQ(table.text(4, kSpeciesOxy), "Spinel");
}

TEST(CalculationRun, ASheetOfSulfidesOnlyIsProcessedOverAll200Rows) {
    test::TempDir dir;
    FakeHost host(dir.path());
    AnalysisSheet sheet = laidOutSheet();
    putCarrollite(sheet, 3, "Carr 3");

    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(report.lastRow, 200);
    EXPECT_EQ(host.table().rowCount(), 202);
    EXPECT_EQ(host.table().text(4, kSpeciesThio), "Carrollite");
    // Only the thiospinel files that admit a carrollite receive its line.
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::string text = test::readFile(entry.path());
        const bool hasData = text.find("\r\n") != text.size() - 2;
        EXPECT_EQ(hasData, entry.path().filename() == "CuNiCoFets.dat") << entry.path();
    }
}

TEST(CalculationRun, TwoRunsAppendToTheSameTableAndRewriteTheDiagramFiles) {
    test::TempDir dir;
    FakeHost host(dir.path());
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "first run");
    runCalculation(sheet, host);
    putChromite(sheet, 1, "second run");
    putChromite(sheet, 2, "second run, row 2");
    runCalculation(sheet, host);

    EXPECT_EQ(host.tablesCreated, 1);
    const ResultsTable& table = host.table();
    ASSERT_EQ(table.rowCount(), 5);
    EXPECT_EQ(table.text(2, 0), "first run");
    EXPECT_EQ(table.text(3, 0), "second run");
    EXPECT_EQ(table.text(4, 0), "second run, row 2");
    EXPECT_EQ(table.text(1, 0), "Sample No");

    const std::string chromites = test::readFile(dir.path() / "MgFeCrAl100.dat");
    EXPECT_EQ(chromites.find("first run"), std::string::npos);
    EXPECT_NE(chromites.find("second run, row 2"), std::string::npos);
    // Each run sets its titles and its constants again.
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "title:Wait Please"), 2);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "constants:3|4|Droop (1987)"), 2);
}

TEST(CalculationRun, AnUnwritableDiagramFolderIsReportedAndTheRunCompletes) {
    test::TempDir dir;
    FakeHost host(dir.path() / "missing");
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "Chr 1");
    const RunReport report = runCalculation(sheet, host);
    EXPECT_EQ(report.fileErrors.size(), 57u);
    EXPECT_EQ(report.rowsAppended, 1);
    EXPECT_EQ(host.table().text(2, kSpeciesOxy), "Chromite");
    EXPECT_EQ(host.calls.back(), "title:Data Entry Screen");
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

TEST(CalculationRun, FormatsWithTheHostsRegionalCharacters) {
    test::TempDir dir;
    FakeHost host(dir.path());
    host.settings = {".", ","};
    AnalysisSheet sheet = laidOutSheet();
    putChromite(sheet, 1, "Chr 1");
    sheet.setText(1, 7, "1055");  // Cr2O3 1,055 wt%: a total in the thousands
    runCalculation(sheet, host);
    EXPECT_EQ(host.table().text(2, 6), "1.055,000");
    EXPECT_EQ(host.table().text(2, 24), "1.100,000");
    // Not blanked: the total reads back as 1100, not 1.1.
    EXPECT_NE(host.table().text(2, kSpeciesOxy), "");
}

}  // namespace
}  // namespace qarv
