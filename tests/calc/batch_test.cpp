// The batch run: header detection, the row rule, and rows that come out
// exactly as the desktop run gives them.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "calc/batch_input.h"
#include "calc/batch_run.h"
#include "calc/calculation_run.h"
#include "diagrams/diagram_data_files.h"
#include "results/results_table.h"
#include "results/sample_row.h"
#include "sheet/analysis_file.h"
#include "spreadsheet/workbook_file.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

const fs::path kData = QARVELION_TEST_DATA_DIR;

std::vector<std::string> splitLines(const std::string& text, char end = '\n') {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t next = text.find(end, pos);
        lines.push_back(text.substr(pos, next - pos));
        if (next == std::string::npos) break;
        pos = next + 1;
    }
    return lines;
}

std::string tsvLine(const SampleRow& row) {
    std::string line;
    for (int c = 0; c < kResultColumnCount; ++c) {
        if (c > 0) line.push_back('\t');
        if (c < kFormattedCellCount) line += row[c];
    }
    return line;
}

struct BatchOutput {
    BatchReport report;
    std::string log;
};

BatchOutput batch(std::vector<fs::path> inputs, const fs::path& out, const fs::path& results = {}) {
    BatchOptions options;
    options.inputs = std::move(inputs);
    options.outDir = out;
    options.resultsFile = results;
    std::ostringstream log;
    BatchOutput o;
    o.report = runBatch(options, log);
    o.log = log.str();
    return o;
}

bool rowIsEmpty(const AnalysisSheet& sheet, int r) {
    for (int c = 1; c <= kLastDataColumn; ++c) {
        if (sheet.text(r, c).find_first_not_of(' ') != std::string::npos) return false;
    }
    return true;
}

// Each golden sheet in one batch: every non-empty row of the sheet gives, in
// order, the row the desktop run gives (the golden table, which holds the
// run's rows; rows below the run's last row as the run would calculate
// them), and the diagram files are the golden files byte for byte.
TEST(BatchRun, GoldenSheetsGiveTheDesktopRowsAndDataFiles) {
    for (const char* name : {"sheet-101", "sheet-103", "sheet-105"}) {
        SCOPED_TRACE(name);
        const fs::path dir = kData / "golden" / name;
        test::TempDir out;
        const BatchOutput o = batch({dir / "input.dor"}, out.path());
        ASSERT_TRUE(o.report.ok) << o.report.error;

        AnalysisSheet sheet;
        ASSERT_TRUE(openAnalysisFile(sheet, dir / "input.dor").ok);
        const std::vector<std::string> golden =
            splitLines(test::readFile(dir / "expected" / "results.tsv"));
        const std::vector<std::string> got = splitLines(test::readFile(out.path() / "results.tsv"));
        ASSERT_GE(got.size(), 2u);
        EXPECT_EQ(got[0], golden[0]);
        EXPECT_EQ(got[1], golden[1]);
        std::size_t next = 2;
        for (int r = 1; r <= kLastDataRow; ++r) {
            if (rowIsEmpty(sheet, r)) continue;
            ASSERT_LT(next, got.size()) << "row " << r;
            const std::size_t goldenLine = kResultsHeadingRows + r - 1;
            const std::string want =
                goldenLine < golden.size()
                    ? golden[goldenLine]
                    : tsvLine(formatSampleRow(calculateRow(readRowInput(sheet, r)), {}));
            EXPECT_EQ(got[next], want) << "sheet row " << r;
            ++next;
        }
        EXPECT_EQ(next, got.size());
        EXPECT_EQ(o.report.rows, got.size() - 2);
        for (const auto& entry : fs::directory_iterator(dir / "expected")) {
            if (entry.path().extension() != ".dat") continue;
            EXPECT_EQ(test::readFile(out.path() / entry.path().filename()),
                      test::readFile(entry.path()))
                << entry.path().filename();
        }
    }
}

// The three sheets in one call: the rows follow one another, numbered on,
// and every data file holds the three runs' lines in input order under one
// header line.
TEST(BatchRun, SeveralInputsContinueOneAnother) {
    const std::vector<std::string> names = {"sheet-101", "sheet-103", "sheet-105"};
    std::vector<fs::path> inputs;
    std::vector<std::size_t> counts;
    for (const std::string& n : names) {
        inputs.push_back(kData / "golden" / n / "input.dor");
        test::TempDir single;
        counts.push_back(batch({inputs.back()}, single.path()).report.rows);
    }
    test::TempDir out;
    const BatchOutput o = batch(inputs, out.path());
    ASSERT_TRUE(o.report.ok) << o.report.error;
    EXPECT_EQ(o.report.rows, counts[0] + counts[1] + counts[2]);
    const std::string second =
        "rows " + std::to_string(counts[0] + 1) + " to " + std::to_string(counts[0] + counts[1]);
    EXPECT_NE(o.log.find(second), std::string::npos) << o.log;
    for (const DiagramDataFile& file : diagramDataFiles()) {
        SCOPED_TRACE(std::string(file.fileName));
        std::string want;
        for (const std::string& n : names) {
            const std::string one =
                test::readFile(kData / "golden" / n / "expected" / std::string(file.fileName));
            want += want.empty() ? one : one.substr(one.find("\r\n") + 2);
        }
        EXPECT_EQ(test::readFile(out.path() / std::string(file.fileName)), want);
    }
}

struct TitleCase {
    std::string title;
    ColumnTarget::Kind kind;
    int index;
};

TEST(BatchInput, HeaderTitlesNameTheirColumns) {
    using K = ColumnTarget::Kind;
    const std::vector<TitleCase> cases = {
        {"SiO2", K::Oxide, SiO2},
        {"SIO2(WT%)", K::Oxide, SiO2},
        {" sio2 (wt%) ", K::Oxide, SiO2},
        {"Al2O3 [wt.%]", K::Oxide, Al2O3},
        {"Cr2O3 wt%", K::Oxide, Cr2O3},
        {"FeO", K::Oxide, FeO},
        {"FEOT", K::FeOTotal, FeO},
        {"FeO*", K::FeOTotal, FeO},
        {"FeOt", K::FeOTotal, FeO},
        {"FeO(t)", K::FeOTotal, FeO},
        {"FeO tot", K::FeOTotal, FeO},
        {"Sb2O5", K::Oxide, Sb2O5},
        {"Cu", K::Element, tCu},
        {"SE", K::Element, tSe},
        {"S (wt%)", K::Element, tS},
        {"Sample", K::SampleName, 0},
        {"Block", K::Block, 0},
        {"P2O5", K::Ignored, 0},
        {"Cr (ppm)", K::Ignored, 0},
        {"ROCK", K::Ignored, 0},
        {"", K::Ignored, 0},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.title);
        std::string error;
        const BatchLayout layout = detectLayout({"MgO", c.title}, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(layout.kind, BatchLayoutKind::HeaderNamed);
        ASSERT_EQ(layout.columns.size(), 2u);
        EXPECT_EQ(layout.columns[1].kind, c.kind);
        if (c.kind != K::Ignored) {
            EXPECT_EQ(layout.columns[1].index, c.index);
        }
    }
}

TEST(BatchInput, HeaderChoosesLayoutSampleColumnAndReportsWhatItIgnores) {
    std::string error;
    // The sheet's own header, with or without its row-number column.
    EXPECT_EQ(detectLayout({"Row No", "Sample No [Oxyspinel]", "SiO2"}, error).kind,
              BatchLayoutKind::SheetWithRowNumbers);
    EXPECT_EQ(detectLayout({"Sample No [Oxyspinel]", "SiO2"}, error).kind,
              BatchLayoutKind::SheetColumns);
    const BatchLayout renamed = detectLayout({"Row No", "Sample No [Oxyspinel]", "Si"}, error);
    ASSERT_EQ(renamed.warnings.size(), 1u);
    EXPECT_NE(renamed.warnings[0].find("read as \"SiO2\""), std::string::npos);

    // "Sample" is preferred over "Comment" wherever it stands; a second
    // SiO2 and the other columns are ignored with the reason.
    const BatchLayout named =
        detectLayout({"Comment", "SiO2", "id", "Sample", "SiO2", "MINERAL"}, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(named.columns[3].kind, ColumnTarget::Kind::SampleName);
    EXPECT_EQ(named.columns[0].kind, ColumnTarget::Kind::Ignored);
    EXPECT_EQ(named.columns[4].kind, ColumnTarget::Kind::Ignored);
    const std::string ignored = [&] {
        std::string s;
        for (const std::string& i : named.ignored) s += i + ";";
        return s;
    }();
    EXPECT_EQ(ignored,
              "\"Comment\" (the sample name is taken from \"Sample\");\"id\";\"SiO2\" (a second "
              "SiO2);\"MINERAL\";");

    const BatchLayout none = detectLayout({"id", "Label", "Rock"}, error);
    EXPECT_NE(error.find("no column is titled by an oxide"), std::string::npos);
}

TEST(BatchInput, EachHeaderNamedRowIsOneBlock) {
    struct Case {
        bool anyOxide;
        double s, se;
        RowBlock named, want;
    };
    const auto N = RowBlock::None, O = RowBlock::Oxyspinel, T = RowBlock::Thiospinel,
               S = RowBlock::Selenospinel;
    const std::vector<Case> cases = {
        {true, 0, 0, N, O},  {true, 30, 0, N, O}, {false, 30, 5, N, T}, {false, 0, 40, N, S},
        {false, 0, 0, N, N}, {true, 30, 0, T, T}, {false, 30, 0, S, S},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(blockOfRow(c.anyOxide, c.s, c.se, c.named), c.want);
    }
    EXPECT_EQ(blockNamed("Thiospinel"), T);
    EXPECT_EQ(blockNamed("selenide"), S);
    EXPECT_EQ(blockNamed("spinel"), N);
}

// The GEOROC slice, named by its own titles, gives the rows that the sheet
// gives for the same analyses laid out in its columns (FEOT as FeO).
TEST(BatchRun, GeorocColumnsGiveTheSheetsRows) {
    test::TempDir out;
    const BatchOutput o = batch({kData / "batch" / "georoc_slice.csv"}, out.path());
    ASSERT_TRUE(o.report.ok) << o.report.error;
    EXPECT_NE(o.log.find("\"FEOT\" as FeO"), std::string::npos) << o.log;
    EXPECT_NE(o.log.find("columns ignored: column 1 (untitled), \"id\", \"GROUP\", \"MINERAL\", "
                         "\"ROCK\", \"P2O5\""),
              std::string::npos)
        << o.log;
    AnalysisSheet sheet;
    ASSERT_TRUE(openAnalysisFile(sheet, kData / "batch" / "georoc_1.dor").ok);
    const std::vector<std::string> got = splitLines(test::readFile(out.path() / "results.tsv"));
    const std::vector<int> sheetRows = {1, 2, 3, 61, 62, 63, 151, 152, 153};
    ASSERT_EQ(got.size(), 2 + sheetRows.size());
    for (std::size_t i = 0; i < sheetRows.size(); ++i) {
        EXPECT_EQ(got[2 + i],
                  tsvLine(formatSampleRow(calculateRow(readRowInput(sheet, sheetRows[i])), {})))
            << "sheet row " << sheetRows[i];
    }
}

// Odd inputs: ragged rows, quoted names with separators and line breaks,
// cells that are no number, sulfide and selenide rows, a block column.
TEST(BatchRun, OddCsvRowsAreReadAndReported) {
    test::TempDir dir;
    const fs::path csv = dir.path() / "odd.csv";
    test::writeFile(csv,
                    "Sample,SiO2,Al2O3,Cr2O3,FeO*,MgO,Cu,Fe,Co,Ni,S,Se,Block,Rock\r\n"
                    "\"chr, \"\"A\"\"\r\nline 2\",0.1,10,55,25,9.9,,,,,,,,gabbro\r\n"
                    "short,0.1,10\r\n"
                    "bad,n.d.,10,55,25,12,5,,,,,,,\r\n"
                    ",,,,,,,,,,,,,\r\n"
                    "carrollite,,,,,,20.5,,38,,42,,,\r\n"
                    "tyrrellite,,,,,,9,,10,12,,61,,\r\n"
                    "forced,,,,,,20.5,,38,,42,3,Selenospinel,\r\n");
    const fs::path out = dir.path() / "out";
    const BatchOutput o = batch({csv}, out);
    ASSERT_TRUE(o.report.ok) << o.report.error;
    EXPECT_EQ(o.report.rows, 6u);  // the empty row is skipped
    EXPECT_NE(o.log.find("odd.csv:5: row 3, column 2 \"SiO2\": \"n.d.\" is no number; read as 0"),
              std::string::npos)
        << o.log;
    EXPECT_NE(o.log.find("odd.csv:5: row 3, column 7 \"Cu\": value left out"), std::string::npos)
        << o.log;
    EXPECT_NE(o.log.find("columns ignored: \"Rock\""), std::string::npos) << o.log;

    const std::vector<std::string> lines = splitLines(test::readFile(out / "results.tsv"));
    ASSERT_EQ(lines.size(), 8u);
    const auto cell = [&](int row, int column) {
        std::vector<std::string> cells;
        std::size_t pos = 0;
        const std::string& l = lines[1 + row];
        for (int c = 0; c <= column; ++c) {
            const std::size_t tab = l.find('\t', pos);
            cells.push_back(l.substr(pos, tab - pos));
            pos = tab + 1;
        }
        return cells.back();
    };
    EXPECT_EQ(cell(1, rc::kOxySample), "chr, \"A\"  line 2");
    EXPECT_EQ(cell(1, rc::kOxySpecies), "Chromite");
    EXPECT_EQ(cell(1, rc::kOxides + FeO), "25.000");
    EXPECT_EQ(cell(2, rc::kOxySample), "short");
    EXPECT_EQ(cell(2, rc::kOxides + Al2O3), "");  // total below 80: blanked
    EXPECT_EQ(cell(4, rc::kThioSample), "carrollite");
    EXPECT_EQ(cell(4, rc::kOxySample), "");
    EXPECT_EQ(cell(4, rc::kThioSpecies), "Carrollite");
    EXPECT_EQ(cell(5, rc::kSelenoSample), "tyrrellite");
    EXPECT_EQ(cell(5, rc::kThioWt + tS), "");
    EXPECT_NE(cell(5, rc::kSelenoWt + sSe), "");
    EXPECT_EQ(cell(6, rc::kSelenoSample), "forced");
    EXPECT_EQ(cell(6, rc::kThioSpecies), "");
}

TEST(BatchRun, EmptyAndHeaderOnlyInputsGiveNoRows) {
    test::TempDir dir;
    test::writeFile(dir.path() / "empty.csv", "");
    test::writeFile(dir.path() / "header.tsv", "SiO2\tAl2O3\n");
    test::writeFile(dir.path() / "unnamed.csv", "SiO2,Al2O3\n0.1,60\n");
    const BatchOutput o =
        batch({dir.path() / "empty.csv", dir.path() / "header.tsv", dir.path() / "unnamed.csv"},
              dir.path() / "out");
    ASSERT_TRUE(o.report.ok) << o.report.error;
    EXPECT_EQ(o.report.rows, 1u);
    EXPECT_NE(o.log.find("empty.csv: CSV, separated by commas; empty"), std::string::npos) << o.log;
    EXPECT_NE(o.log.find("header.tsv: no rows with analyses"), std::string::npos) << o.log;
    EXPECT_NE(o.log.find("each row is named by its row number"), std::string::npos) << o.log;
    const std::vector<std::string> lines =
        splitLines(test::readFile(dir.path() / "out" / "results.tsv"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].substr(0, 2), "1\t");
}

// A bad input anywhere means nothing is replaced.
TEST(BatchRun, AFailureReplacesNothing) {
    test::TempDir dir;
    const fs::path out = dir.path() / "out";
    fs::create_directories(out);
    test::writeFile(out / "results.tsv", "old");
    test::writeFile(dir.path() / "good.csv", "SiO2,Al2O3\n0.1,60\n");
    test::writeFile(dir.path() / "open.csv", "SiO2,Al2O3\n\"0.1,60\n");
    test::writeFile(dir.path() / "names.csv", "id,Rock\n1,gabbro\n");
    for (const char* bad : {"open.csv", "names.csv", "missing.csv"}) {
        SCOPED_TRACE(bad);
        const BatchOutput o = batch({dir.path() / "good.csv", dir.path() / bad}, out);
        EXPECT_FALSE(o.report.ok);
        EXPECT_NE(o.report.error.find(bad), std::string::npos) << o.report.error;
        EXPECT_EQ(test::readFile(out / "results.tsv"), "old");
        EXPECT_FALSE(fs::exists(out / "MgFeCrAl100.dat"));
        EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator{}), 1);
    }
}

// The results in each form hold the same cells.
TEST(BatchRun, ResultsAsCsvAndXlsxHoldTheTableCells) {
    test::TempDir dir;
    const fs::path input = kData / "batch" / "georoc_slice.csv";
    ASSERT_TRUE(batch({input}, dir.path() / "tsv").report.ok);
    const std::vector<std::string> tsv =
        splitLines(test::readFile(dir.path() / "tsv" / "results.tsv"));

    const BatchOutput csv = batch({input}, dir.path() / "csv", dir.path() / "r.csv");
    ASSERT_TRUE(csv.report.ok) << csv.report.error;
    std::vector<std::string> csvLines = splitLines(test::readFile(dir.path() / "r.csv"), '\n');
    ASSERT_EQ(csvLines.size(), tsv.size());
    // Group separators make number cells quoted; no cell here holds a tab.
    for (std::size_t i = 0; i < tsv.size(); ++i) {
        std::string cells;
        bool quoted = false;
        const std::string& l = csvLines[i];
        for (std::size_t k = 0; k + 1 < l.size(); ++k) {  // the CR stays out
            if (l[k] == '"') {
                if (quoted && k + 1 < l.size() && l[k + 1] == '"') {
                    cells.push_back('"');
                    ++k;
                } else {
                    quoted = !quoted;
                }
            } else {
                cells.push_back(!quoted && l[k] == ',' ? '\t' : l[k]);
            }
        }
        EXPECT_EQ(cells, tsv[i]) << "line " << i;
    }

    const BatchOutput xlsx = batch({input}, dir.path() / "x", dir.path() / "r.xlsx");
    ASSERT_TRUE(xlsx.report.ok) << xlsx.report.error;
    const WorkbookReadResult book = readXlsxFile(dir.path() / "r.xlsx");
    ASSERT_TRUE(book.ok()) << book.message;
    ASSERT_EQ(book.book.sheets.size(), 1u);
    const Worksheet& sheet = book.book.sheets[0];
    for (std::size_t r = 0; r < tsv.size(); ++r) {
        std::string line;
        for (int c = 0; c < kResultColumnCount; ++c) {
            if (c > 0) line.push_back('\t');
            const Cell* cell = findCell(sheet, static_cast<int>(r) + 1, c + 1);
            if (cell == nullptr) continue;
            line += cell->kind == Cell::Kind::Number
                        ? formatNumber(cell->number, resultColumns()[c].form, {})
                        : cell->text;
        }
        EXPECT_EQ(line, tsv[r]) << "row " << r;
    }
}

}  // namespace
}  // namespace qarv
