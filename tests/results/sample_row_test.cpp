// The results table: its 171 columns (checked against the column table the
// results workbook and the users' spreadsheets depend on), the two heading
// rows, the text form of every quantity of an analysed row and the rules
// that blank a block which holds no analysis.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "results/results_layout.h"
#include "results/results_table.h"
#include "results/sample_row.h"

namespace qarv {
namespace {

constexpr Rgb kOxy{242, 255, 229};
constexpr Rgb kThio{255, 230, 230};
constexpr Rgb kSeleno{220, 230, 255};

const NumberFormatSettings kUs{",", "."};
const NumberFormatSettings kGerman{".", ","};

const std::set<int> kSeparators = {25,  32,  57,  66,  71,  74,  78, 105,
                                   131, 134, 138, 148, 157, 160, 164};

struct ExpectedColumn {
    std::string title;
    std::optional<int> width;
    CellAlignment alignment;       // data cells
    CellAlignment titleAlignment;  // row 1
    std::optional<Rgb> colour;     // row-0 number cell
    ResultKind kind;
    NumberForm form;  // meaningful for numbers only
};

// The column table written out by hand, run by run.
std::vector<ExpectedColumn> expectedColumns() {
    const auto C = CellAlignment::Centre;
    const auto L = CellAlignment::Left;
    const auto G = CellAlignment::General;
    std::vector<ExpectedColumn> cols(
        171, {"", std::nullopt, G, G, std::nullopt, ResultKind::Unused, NumberForm::Plain});
    int c = 0;
    auto sample = [&](int at, std::optional<Rgb> colour) {
        cols[at] = {"Sample No", 1550, L, L, colour, ResultKind::Text, NumberForm::Plain};
    };
    auto numbers = [&](int first, std::vector<std::string> titles, std::vector<int> widths,
                       NumberForm form, Rgb colour) {
        c = first;
        for (std::size_t i = 0; i < titles.size(); ++i) {
            const int w = widths.size() == 1 ? widths[0] : widths[i];
            cols[c++] = {titles[i], w, C, C, colour, ResultKind::Number, form};
        }
    };
    auto texts = [&](int first, std::vector<std::string> titles, std::vector<int> widths,
                     CellAlignment a, Rgb colour) {
        c = first;
        for (std::size_t i = 0; i < titles.size(); ++i) {
            const int w = widths.size() == 1 ? widths[0] : widths[i];
            cols[c++] = {titles[i], w, a, a, colour, ResultKind::Text, NumberForm::Plain};
        }
    };
    sample(0, std::nullopt);
    numbers(1, {"[SiO2", "TiO2",  "GeO2", "Al2O3", "Ti2O3", "Cr2O3", "V2O3", "Fe2O3",
                "Mn2O3", "Co2O3", "VO",   "FeO",   "MgO",   "CaO",   "MnO",  "CuO",
                "ZnO",   "CoO",   "NiO",  "Na2O",  "K2O",   "Li2O",  "Sb2O5"},
            {940}, NumberForm::F3, kOxy);
    numbers(24, {"Total (%)]"}, {1200}, NumberForm::F3, kOxy);
    numbers(26,
            {"[FeO(calc.)", "Fe2O3(calc.) (%)]", "[MnO(calc.)", "Mn2O3(calc.) (%)]", "[CoO(calc.)",
             "Co2O3(calc.) (%)]"},
            {1400, 1800, 1400, 1800, 1400, 1800}, NumberForm::F2, kOxy);
    numbers(33,
            {"[Si", "Ti", "Ge", "Al", "Ti3+", "Cr",   "V3+", "Fe3+", "Mn3+", "Co3+", "V2+", "Fe2+",
             "Mg",  "Ca", "Mn", "Cu", "Zn",   "Co2+", "Ni",  "Na",   "K",    "Li",   "Sb5+"},
            {940}, NumberForm::F4, kOxy);
    cols[35].form = NumberForm::F3g;
    numbers(56, {"Total (apfu)]"}, {1300}, NumberForm::F3, kOxy);
    numbers(58,
            {"Fe3+ / Fe2+", "Fe3+ / (Fe3+ + Fe2+)", "Cr / (Cr + Al)", "Fe2+ / (Fe2+ + Mg)",
             "Cr / (Cr + Al + Fe3+)", "Fe3+ / (Fe3+ + Al + Cr)", "Al / (Al + Fe3+ + Cr)",
             "Ti / (Ti + Cr + Al)"},
            {1300, 1900, 1500, 1800, 1900, 2000, 1900, 1600}, NumberForm::F2, kOxy);
    numbers(67, {"Total R2+", "Total R3+", "Total R4+", "Total R5+"}, {1200}, NumberForm::F2, kOxy);
    texts(72, {"[Dominant A Cation", "Dominant B Cation]"}, {2100, 1700}, C, kOxy);
    texts(75, {"[Spinel Group", "Spinel Subgroup", "Spinel Species]"}, {1500, 1900, 1800}, L, kOxy);

    const std::vector<std::string> thio = {"[Cu", "Ag", "Cd", "Fe", "Mn", "Zn", "Ge", "Co",
                                           "Ni",  "Pb", "Bi", "Cr", "V",  "In", "Sb", "As",
                                           "Sn",  "Ir", "Pd", "Pt", "Rh", "Se", "Te", "S"};
    sample(79, kThio);
    numbers(80, thio, {940}, NumberForm::Plain, kThio);
    numbers(104, {"Total (%)]"}, {940}, NumberForm::F2, kThio);
    numbers(106, thio, {940}, NumberForm::F3, kThio);
    numbers(130, {"Total]"}, {940}, NumberForm::F2, kThio);
    texts(132, {"[Dominant A Cation", "Dominant B Cation]"}, {1700}, C, kThio);
    texts(135, {"[Spinel Group", "Spinel Subgroup", "Spinel Species]"}, {1700, 2200, 1800}, L,
          kThio);

    const std::vector<std::string> seleno = {"[Cu", "Fe", "Co", "Ni", "Pb", "S", "Se"};
    sample(139, kSeleno);
    numbers(140, seleno, {940}, NumberForm::Plain, kSeleno);
    numbers(147, {"Total (%)]"}, {940}, NumberForm::Plain, kSeleno);
    numbers(149, seleno, {940}, NumberForm::F3, kSeleno);
    numbers(156, {"Total]"}, {940}, NumberForm::F2, kSeleno);
    texts(158, {"[Dominant A Cation", "Dominant B Cation]"}, {1700}, C, kSeleno);
    texts(161, {"[Spinel Group", "Spinel Subgroup", "Spinel Species]"}, {1700, 2200, 1800}, L,
          kSeleno);

    for (int s : kSeparators) cols[s].width = 400;
    return cols;
}

TEST(ResultsLayout, EveryColumnMatchesTheColumnTable) {
    const std::vector<ExpectedColumn> want = expectedColumns();
    const auto& got = resultColumns();
    ASSERT_EQ(got.size(), 171u);
    for (int c = 0; c < 171; ++c) {
        SCOPED_TRACE("column " + std::to_string(c));
        const ExpectedColumn& e = want[c];
        EXPECT_EQ(got[c].title, e.title);
        EXPECT_EQ(got[c].width, e.width);
        EXPECT_EQ(got[c].alignment, e.alignment);
        EXPECT_EQ(got[c].titleAlignment, e.titleAlignment);
        EXPECT_EQ(got[c].numberColour, e.colour);
        EXPECT_EQ(got[c].kind, e.kind);
        if (e.kind == ResultKind::Number) {
            EXPECT_EQ(got[c].form, e.form);
        }
    }
}

TEST(ResultsTable, StartsWithTheTwoHeadingRows) {
    ResultsTable table;
    ASSERT_EQ(table.rowCount(), 2);
    ASSERT_EQ(table.columnCount(), 171);
    EXPECT_EQ(table.text(0, 0), "Qarvelion");
    for (int c = 1; c < 171; ++c) EXPECT_EQ(table.text(0, c), std::to_string(c));
    const std::vector<ExpectedColumn> want = expectedColumns();
    for (int c = 0; c < 171; ++c) EXPECT_EQ(table.text(1, c), want[c].title) << c;
    EXPECT_EQ(table.text(1, 0), "Sample No");
    EXPECT_EQ(table.text(1, 163), "Spinel Species]");
    EXPECT_EQ(table.text(1, 165), "");
}

// One analysed row with all three blocks present and values chosen so that
// every text form, rounding direction and grouping shows.
RowResults filledRow() {
    RowResults r;
    r.oxySampleName = "Chr 1, rim";
    OxyspinelFormula& o = r.oxy;
    o.oxides[SiO2] = 0.0625;
    o.oxides[TiO2] = 0.2;
    o.oxides[Al2O3] = 12.3456;
    o.oxides[Cr2O3] = 1234.5;
    o.oxides[FeO] = 18.0004;
    o.oxides[Sb2O5] = -0.0004;
    o.oxideTotal = 99.9996;
    o.feOCalc = 10.125;
    o.fe2O3Calc = 8.75;
    o.coOCalc = 1.005;
    o.co2O3Calc = 1234.567;
    o.apfu[Si] = 0.98765;
    o.apfu[Ti4] = 0.0625;
    o.apfu[Ge] = 0.98765;
    o.apfu[Al] = 1.23456;
    o.apfu[Cr] = 0.03125;
    o.apfu[Fe2] = 1;
    o.apfu[Sb] = 0.5;
    o.cationTotal = 3;
    o.fe3OverFe2 = 0.125;
    o.fe3OverFe3Fe2 = 0.5;
    o.crOverCrAl = 2.0 / 3.0;
    o.fe2OverFe2Mg = 0.995;
    o.crOverCrAlFe3 = 0.1;
    o.fe3OverFe3AlCr = 0.2;
    o.alOverAlFe3Cr = 0.3;
    o.tiOverTiCrAl = 0.4;
    o.totalR2 = 1;
    o.totalR3 = 2;
    o.totalR4 = 0;
    o.totalR5 = 0.005;
    r.oxyName = {"Oxyspinel group", "Spinel subgroup (2-3)", "Fe2+", "Cr3+", "Chromite"};

    r.thioInput.sampleName = "Carr 1";
    r.thioInput.wt[tCu] = 20.52;
    r.thioInput.wt[tCo] = 38.06;
    r.thioInput.wt[tFe] = 1234.5;
    r.thioInput.wt[tSe] = 1e-5;
    r.thioInput.wt[tS] = 41.42;
    ThiospinelFormula t;
    t.wtTotal = 100;
    t.apfu[tCu] = 0.99994;
    t.apfu[tCo] = 1.99981;
    t.apfu[tS] = 4;
    t.apfuTotal = 7;
    r.thio = t;
    r.thioName = {"Thiospinel group", "Carrollite subgroup (1-3.5)", "Cu", "Co", "Carrollite"};

    r.selenoInput.sampleName = "Tyr 1";
    r.selenoInput.wt[sCu] = 12.79;
    r.selenoInput.wt[sCo] = 11.86;
    r.selenoInput.wt[sNi] = 11.81;
    r.selenoInput.wt[sSe] = 63.55;
    SelenospinelFormula s;
    s.wtTotal = 100;
    s.apfu[sCu] = 1.0003;
    s.apfu[sSe] = 4;
    s.apfuTotal = 7.0005;
    r.seleno = s;
    r.selenoName = {"Selenospinel group", "Tyrrellite subgroup (1-3.5)", "Cu", "Co,Ni",
                    "Tyrrellite"};
    return r;
}

struct CellText {
    int column;
    const char* text;
};

TEST(FormatSampleRow, WritesEachQuantityInItsColumnsTextForm) {
    const SampleRow row = formatSampleRow(filledRow(), kUs);
    const std::vector<CellText> want = {
        {0, "Chr 1, rim"},
        // Oxides as entered, F3.
        {1, "0.063"},
        {2, "0.200"},
        {3, "0.000"},
        {4, "12.346"},
        {6, "1,234.500"},
        {12, "18.000"},
        {23, "0.000"},
        {24, "100.000"},
        // Recalculated oxides, F2.
        {26, "10.13"},
        {27, "8.75"},
        {28, "0.00"},
        {29, "0.00"},
        {30, "1.00"},
        {31, "1,234.57"},
        // Cations F4, but Ge in F3g with three decimals.
        {33, "0.9877"},
        {34, "0.0625"},
        {35, "0.988"},
        {36, "1.2346"},
        {38, "0.0313"},
        {44, "1.0000"},
        {37, "0.0000"},
        {55, "0.5000"},
        {56, "3.000"},
        // Ratios and charge sums, F2.
        {58, "0.13"},
        {59, "0.50"},
        {60, "0.67"},
        {61, "0.99"},
        {62, "0.10"},
        {63, "0.20"},
        {64, "0.30"},
        {65, "0.40"},
        {67, "1.00"},
        {68, "2.00"},
        {69, "0.00"},
        {70, "0.01"},
        {72, "Fe2+"},
        {73, "Cr3+"},
        {75, "Oxyspinel group"},
        {76, "Spinel subgroup (2-3)"},
        {77, "Chromite"},
        // Thiospinel: wt% plain (no grouping, no trailing zeros), total F2,
        // apfu F3, apfu total F2.
        {79, "Carr 1"},
        {80, "20.52"},
        {81, "0"},
        {83, "1234.5"},
        {87, "38.06"},
        {101, "0.00001"},
        {103, "41.42"},
        {104, "100.00"},
        {106, "1.000"},
        {107, "0.000"},
        {113, "2.000"},
        {129, "4.000"},
        {130, "7.00"},
        {132, "Cu"},
        {133, "Co"},
        {135, "Thiospinel group"},
        {136, "Carrollite subgroup (1-3.5)"},
        {137, "Carrollite"},
        // Selenospinel: wt% and wt% total plain, apfu F3, apfu total F2.
        {139, "Tyr 1"},
        {140, "12.79"},
        {141, "0"},
        {142, "11.86"},
        {143, "11.81"},
        {146, "63.55"},
        {147, "100"},
        {149, "1.000"},
        {150, "0.000"},
        {155, "4.000"},
        {156, "7.00"},
        {158, "Cu"},
        {159, "Co,Ni"},
        {161, "Selenospinel group"},
        {162, "Tyrrellite subgroup (1-3.5)"},
        {163, "Tyrrellite"}};
    for (const CellText& c : want) EXPECT_EQ(row[c.column], c.text) << "column " << c.column;
    // Separators are empty; every other cell of a full row holds a text.
    for (int c = 0; c < 164; ++c) {
        if (kSeparators.count(c)) {
            EXPECT_EQ(row[c], "") << c;
        } else {
            EXPECT_NE(row[c], "") << c;
        }
    }
}

TEST(FormatSampleRow, UsesTheRegionalCharacters) {
    const SampleRow row = formatSampleRow(filledRow(), kGerman);
    EXPECT_EQ(row[6], "1.234,500");
    EXPECT_EQ(row[24], "100,000");
    EXPECT_EQ(row[31], "1.234,57");
    EXPECT_EQ(row[35], "0,988");
    EXPECT_EQ(row[83], "1234,5");  // plain: decimal comma, still no grouping
    EXPECT_EQ(row[80], "20,52");
    EXPECT_EQ(row[147], "100");
}

TEST(FormatSampleRow, ThiospinelTotalShowsTwoDecimalsWhileTheSelenospinelTotalIsPlain) {
    RowResults r = filledRow();
    r.seleno->wtTotal = 100.01;
    r.thio->wtTotal = 99.996;
    const SampleRow row = formatSampleRow(r, kUs);
    EXPECT_EQ(row[104], "100.00");
    EXPECT_EQ(row[147], "100.01");
}

// Blanking: which blocks of a row end up empty.
struct BlankCase {
    const char* name;
    std::function<void(RowResults&)> change;
    NumberFormatSettings settings;
    bool oxyBlank;
    bool cationTotalBlank;
    bool thioBlank;
    bool selenoBlank;
};

void PrintTo(const BlankCase& c, std::ostream* os) {
    *os << c.name;
}

class Blanking : public ::testing::TestWithParam<BlankCase> {};

TEST_P(Blanking, EmptiesExactlyTheBlocksWithoutAnAnalysis) {
    const BlankCase& c = GetParam();
    RowResults r = filledRow();
    c.change(r);
    const SampleRow row = formatSampleRow(r, c.settings);

    auto expectRange = [&](int first, int last, bool blank, const char* what) {
        for (int col = first; col <= last; ++col) {
            if (kSeparators.count(col)) continue;
            if (blank) {
                EXPECT_EQ(row[col], "") << what << " column " << col;
            } else {
                EXPECT_NE(row[col], "") << what << " column " << col;
            }
        }
    };
    expectRange(1, 55, c.oxyBlank, "oxyspinel");
    expectRange(56, 56, c.oxyBlank || c.cationTotalBlank, "cation total");
    expectRange(57, 77, c.oxyBlank, "oxyspinel");
    expectRange(80, 137, c.thioBlank, "thiospinel");
    expectRange(140, 163, c.selenoBlank, "selenospinel");
    // Sample names are never blanked.
    EXPECT_EQ(row[0], "Chr 1, rim");
    EXPECT_EQ(row[79], "Carr 1");
    EXPECT_EQ(row[139], "Tyr 1");
}

auto setTotal(double total) {
    return [total](RowResults& r) { r.oxy.oxideTotal = total; };
}
auto setCationTotal(double total) {
    return [total](RowResults& r) { r.oxy.cationTotal = total; };
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Blanking,
    ::testing::Values(
        BlankCase{"FullRow", [](RowResults&) {}, kUs, false, false, false, false},
        BlankCase{"TotalShownAs80IsKept", setTotal(79.9996), kUs, false, false, false, false},
        BlankCase{"TotalShownAs79_999IsBlanked", setTotal(79.9994), kUs, true, false, false, false},
        BlankCase{"TotalExactly80IsKept", setTotal(80), kUs, false, false, false, false},
        BlankCase{"TotalZeroIsBlanked", setTotal(0), kUs, true, false, false, false},
        BlankCase{"TotalShownAsZeroIsBlanked", setTotal(0.0004), kUs, true, false, false, false},
        BlankCase{"NegativeTotalIsBlanked", setTotal(-85), kUs, true, false, false, false},
        BlankCase{"GroupedTotalIsReadAsOneThousand", setTotal(1000), kUs, false, false, false,
                  false},
        BlankCase{"GroupedTotalWithDecimalComma", setTotal(1000), kGerman, false, false, false,
                  false},
        BlankCase{"TotalShownAs80WithDecimalComma", setTotal(79.9996), kGerman, false, false, false,
                  false},
        BlankCase{"TotalShownAs79_999WithDecimalComma", setTotal(79.9994), kGerman, true, false,
                  false, false},
        BlankCase{"CationTotalZero", setCationTotal(0), kUs, false, true, false, false},
        BlankCase{"CationTotalShownAsZero", setCationTotal(0.0004), kUs, false, true, false, false},
        BlankCase{"CationTotalNegativeShownAsZero", setCationTotal(-0.0004), kUs, false, true,
                  false, false},
        BlankCase{"CationTotalShownAs0_001IsKept", setCationTotal(0.0005), kUs, false, false, false,
                  false},
        BlankCase{"NoSulfur",
                  [](RowResults& r) {
                      r.thioInput.wt[tS] = 0;
                      r.thio.reset();
                      r.thioName = {};
                  },
                  kUs, false, false, true, false},
        BlankCase{"NoSelenium",
                  [](RowResults& r) {
                      r.selenoInput.wt[sSe] = 0;
                      r.seleno.reset();
                      r.selenoName = {};
                  },
                  kUs, false, false, false, true},
        BlankCase{"SeleniumInTheThiospinelBlockDoesNotCount",
                  [](RowResults& r) {
                      r.selenoInput.wt[sSe] = 0;
                      r.seleno.reset();
                      r.thioInput.wt[tSe] = 63.55;
                  },
                  kUs, false, false, false, true},
        BlankCase{"NoAnalysisAtAll",
                  [](RowResults& r) {
                      const RowResults full = r;
                      r = RowResults{};
                      r.oxySampleName = full.oxySampleName;
                      r.thioInput.sampleName = full.thioInput.sampleName;
                      r.selenoInput.sampleName = full.selenoInput.sampleName;
                  },
                  kUs, true, true, true, true}),
    [](const ::testing::TestParamInfo<BlankCase>& info) { return info.param.name; });

TEST(FormatSampleRow, OxideOnlyRowShowsTheOtherBlocksNamesButNoValues) {
    RowResults r = filledRow();
    r.thioInput = {};
    r.thio.reset();
    r.thioName = {};
    r.selenoInput = {};
    r.seleno.reset();
    r.selenoName = {};
    r.selenoInput.sampleName = "typed name only";
    const SampleRow row = formatSampleRow(r, kUs);
    EXPECT_EQ(row[79], "");
    EXPECT_EQ(row[139], "typed name only");
    for (int c = 80; c <= 137; ++c) EXPECT_EQ(row[c], "") << c;
    for (int c = 140; c <= 163; ++c) EXPECT_EQ(row[c], "") << c;
    EXPECT_EQ(row[77], "Chromite");
}

TEST(ResultsTable, AppendSampleRowFillsColumns0To163AndLeavesTheRestEmpty) {
    ResultsTable table;
    SampleRow first;
    for (int c = 0; c < 164; ++c) first[c] = "c" + std::to_string(c);
    SampleRow second = formatSampleRow(filledRow(), kUs);
    table.appendSampleRow(first);
    table.appendSampleRow(second);
    ASSERT_EQ(table.rowCount(), 4);
    for (int c = 0; c < 164; ++c) {
        EXPECT_EQ(table.text(2, c), first[c]);
        EXPECT_EQ(table.text(3, c), second[c]);
    }
    for (int c = 164; c < 171; ++c) {
        EXPECT_EQ(table.text(2, c), "");
        EXPECT_EQ(table.text(3, c), "");
    }
    EXPECT_EQ(table.text(0, 0), "Qarvelion");  // heading rows untouched

    // A fresh layout drops the data rows.
    table.buildLayout();
    EXPECT_EQ(table.rowCount(), 2);
}

TEST(ResultsTable, ToTsvWritesEveryRowWith171CellsAndALineFeed) {
    ResultsTable table;
    SampleRow row;
    for (int c = 0; c < 164; ++c) row[c] = std::to_string(c * 2);
    row[0] = "Müller 1";
    table.appendSampleRow(row);
    const std::string tsv = table.toTsv();

    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = tsv.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(tsv.substr(start, end - start));
    }
    ASSERT_EQ(start, tsv.size());  // the text ends with a line feed
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 170);
        EXPECT_EQ(line.find('\r'), std::string::npos);
    }
    std::string numbers = "Qarvelion";
    for (int c = 1; c < 171; ++c) numbers += "\t" + std::to_string(c);
    EXPECT_EQ(lines[0], numbers);
    EXPECT_EQ(lines[1].substr(0, 16), "Sample No\t[SiO2\t");
    std::string data = "Müller 1";
    for (int c = 1; c < 164; ++c) data += "\t" + std::to_string(c * 2);
    data += std::string(7, '\t');
    EXPECT_EQ(lines[2], data);
}

}  // namespace
}  // namespace qarv
