// The analysis sheet model: the layout capCell gives it (checked against the
// input-column table that users and the calculation run rely on), what
// capCell keeps and restores, row insertion and removal, and the block text
// by which regions are copied, saved and laid back.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sheet/analysis_sheet.h"

namespace qarv {
namespace {

constexpr Rgb kOxy{242, 255, 229};
constexpr Rgb kThio{255, 230, 230};
constexpr Rgb kSeleno{220, 230, 255};

struct ExpectedColumn {
    std::string header;
    std::optional<int> width;
    CellAlignment headerAlignment;
    std::optional<CellAlignment> dataAlignment;  // empty: general (not set)
    std::optional<Rgb> headerColour;             // empty: the fixed-cell colour
};

// The 61 input columns as the user sees them, written out from the column
// table: sample names, the three runs of value columns and the spacers.
std::vector<ExpectedColumn> expectedColumns() {
    const auto C = CellAlignment::Centre;
    const auto L = CellAlignment::Left;
    std::vector<ExpectedColumn> cols;
    cols.push_back({"Row No", std::nullopt, C, std::nullopt, std::nullopt});
    cols.push_back({"Sample No [Oxyspinel]", 1800, L, std::nullopt, kOxy});
    for (const char* oxide : {"SiO2",  "TiO2",  "GeO2", "Al2O3", "Ti2O3", "Cr2O3", "V2O3", "Fe2O3",
                              "Mn2O3", "Co2O3", "VO",   "FeO",   "MgO",   "CaO",   "MnO",  "CuO",
                              "ZnO",   "CoO",   "NiO",  "Na2O",  "K2O",   "Li2O",  "Sb2O5"}) {
        cols.push_back({oxide, 910, C, C, kOxy});
    }
    cols.push_back({"", 400, C, std::nullopt, std::nullopt});  // 25
    cols.push_back({"Sample No [Thiospinel]", 1800, L, std::nullopt, kThio});
    for (const char* element :
         {"Cu", "Ag", "Cd", "Fe", "Mn", "Zn", "Ge", "Co", "Ni", "Pb", "Bi", "Cr",
          "V",  "In", "Sb", "As", "Sn", "Ir", "Pd", "Pt", "Rh", "Se", "Te", "S"}) {
        cols.push_back({element, 910, C, C, kThio});
    }
    cols.push_back({"", 400, C, std::nullopt, std::nullopt});  // 51
    cols.push_back({"Sample No [Selenospinel]", 2000, L, std::nullopt, kSeleno});
    for (const char* element : {"Cu", "Fe", "Co", "Ni", "Pb", "S", "Se"}) {
        cols.push_back({element, 910, C, C, kSeleno});
    }
    cols.push_back({"", 910, C, std::nullopt, std::nullopt});  // 60
    return cols;
}

TEST(CapCell, LaysOutEveryColumnAsTheInputTableGivesIt) {
    const std::vector<ExpectedColumn> want = expectedColumns();
    ASSERT_EQ(want.size(), 61u);
    // Spot checks that the hand-written table above is aligned with the
    // column numbers the calculation reads.
    ASSERT_EQ(want[5].header, "Al2O3");
    ASSERT_EQ(want[24].header, "Sb2O5");
    ASSERT_EQ(want[50].header, "S");
    ASSERT_EQ(want[59].header, "Se");

    AnalysisSheet sheet;
    sheet.capCell();
    ASSERT_EQ(sheet.rowCount(), 201);
    ASSERT_EQ(sheet.columnCount(), 61);
    for (int c = 0; c < 61; ++c) {
        SCOPED_TRACE("column " + std::to_string(c));
        const ExpectedColumn& e = want[c];
        EXPECT_EQ(sheet.text(0, c), e.header);
        EXPECT_EQ(sheet.columnWidth(c), e.width);
        EXPECT_EQ(sheet.cellAlignment(0, c), e.headerAlignment);
        EXPECT_EQ(sheet.columnAlignment(c), e.dataAlignment);
        EXPECT_EQ(sheet.cellColour(0, c), e.headerColour);
    }
}

TEST(CapCell, NumbersTheRowsAndTouchesNoDataCell) {
    AnalysisSheet sheet;
    sheet.capCell();
    for (int r = 1; r <= 200; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(sheet.text(r, 0), std::to_string(r));
        EXPECT_EQ(sheet.cellAlignment(r, 0), CellAlignment::Centre);
        EXPECT_EQ(sheet.cellColour(r, 0), std::nullopt);
        for (int c = 1; c <= 60; ++c) {
            ASSERT_EQ(sheet.text(r, c), "");
            ASSERT_EQ(sheet.cellAlignment(r, c), std::nullopt);
            ASSERT_EQ(sheet.cellColour(r, c), std::nullopt);
        }
    }
    // Typing after a layout goes into the untitled header cell of column 60.
    EXPECT_EQ(sheet.currentCell(), (CellPos{0, 60}));
}

// Everything capCell can change, for comparing two sheets.
struct Snapshot {
    int rows, columns;
    std::vector<std::string> texts;
    std::vector<std::optional<CellAlignment>> alignments;
    std::vector<std::optional<Rgb>> colours;
    std::vector<std::optional<int>> widths;
    std::vector<std::optional<CellAlignment>> columnAlignments;
    CellPos current;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(const AnalysisSheet& s) {
    Snapshot snap{s.rowCount(), s.columnCount(), {}, {}, {}, {}, {}, s.currentCell()};
    for (int r = 0; r < s.rowCount(); ++r) {
        for (int c = 0; c < s.columnCount(); ++c) {
            snap.texts.push_back(s.text(r, c));
            snap.alignments.push_back(s.cellAlignment(r, c));
            snap.colours.push_back(s.cellColour(r, c));
        }
    }
    for (int c = 0; c < s.columnCount(); ++c) {
        snap.widths.push_back(s.columnWidth(c));
        snap.columnAlignments.push_back(s.columnAlignment(c));
    }
    return snap;
}

TEST(CapCell, RunningItTwiceGivesTheSameSheetAsOnce) {
    AnalysisSheet sheet;
    sheet.setText(3, 5, "12.5");
    sheet.setText(0, 25, "typed into the spacer");
    sheet.capCell();
    const Snapshot once = snapshot(sheet);
    sheet.capCell();
    EXPECT_TRUE(snapshot(sheet) == once);
}

TEST(CapCell, KeepsAnalysesAndRestoresOverwrittenTitlesButNotSpacerTexts) {
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(1, 1, "Chr-1");
    sheet.setText(1, 5, "12.5");
    sheet.setText(200, 60, "last cell");
    sheet.setText(117, 50, "33,1");
    // Titles and row numbers overwritten (by typing into a fixed cell, or by
    // a workbook's first row and column).
    sheet.setText(0, 0, "No");
    sheet.setText(0, 5, "alumina");
    sheet.setText(0, 26, "");
    sheet.setText(7, 0, "seven");
    sheet.setText(200, 0, "");
    // The untitled header cells.
    sheet.setText(0, 25, "x");
    sheet.setText(0, 51, "y");
    sheet.setText(0, 60, "1.5");

    sheet.capCell();
    EXPECT_EQ(sheet.text(1, 1), "Chr-1");
    EXPECT_EQ(sheet.text(1, 5), "12.5");
    EXPECT_EQ(sheet.text(200, 60), "last cell");
    EXPECT_EQ(sheet.text(117, 50), "33,1");
    EXPECT_EQ(sheet.text(0, 0), "Row No");
    EXPECT_EQ(sheet.text(0, 5), "Al2O3");
    EXPECT_EQ(sheet.text(0, 26), "Sample No [Thiospinel]");
    EXPECT_EQ(sheet.text(7, 0), "7");
    EXPECT_EQ(sheet.text(200, 0), "200");
    EXPECT_EQ(sheet.text(0, 25), "x");
    EXPECT_EQ(sheet.text(0, 51), "y");
    EXPECT_EQ(sheet.text(0, 60), "1.5");
}

TEST(CapCell, RestoresTheShapeLeftByAWorkbookLoad) {
    // A workbook load leaves 60 columns; the next layout brings back column
    // 60 (empty) and its width.
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(4, 59, "63.55");
    sheet.setColumnCount(60);
    sheet.capCell();
    EXPECT_EQ(sheet.columnCount(), 61);
    EXPECT_EQ(sheet.text(4, 59), "63.55");
    EXPECT_EQ(sheet.text(4, 60), "");
    EXPECT_EQ(sheet.columnWidth(60), 910);
}

TEST(SheetRows, InsertRowShiftsRowsDownAndCapCellDropsTheOverflow) {
    AnalysisSheet sheet;
    sheet.capCell();
    for (int r = 1; r <= 200; ++r) sheet.setText(r, 1, "s" + std::to_string(r));

    sheet.insertRow(5);
    ASSERT_EQ(sheet.rowCount(), 202);
    for (int c = 0; c <= 60; ++c) EXPECT_EQ(sheet.text(5, c), "") << c;
    EXPECT_EQ(sheet.text(4, 1), "s4");
    EXPECT_EQ(sheet.text(6, 1), "s5");
    EXPECT_EQ(sheet.text(201, 1), "s200");
    // Row numbers below the inserted row are stale until the next layout.
    EXPECT_EQ(sheet.text(6, 0), "5");
    EXPECT_EQ(sheet.text(201, 0), "200");
    EXPECT_EQ(sheet.dataArea(), (Region{1, 1, 201, 60}));

    sheet.capCell();
    ASSERT_EQ(sheet.rowCount(), 201);
    EXPECT_EQ(sheet.text(5, 0), "5");
    EXPECT_EQ(sheet.text(6, 0), "6");
    EXPECT_EQ(sheet.text(6, 1), "s5");
    EXPECT_EQ(sheet.text(200, 1), "s199");
    EXPECT_EQ(sheet.text(201, 1), "");  // outside the sheet now: the former row 200 is gone
}

TEST(SheetRows, RemoveRowShiftsRowsUpAndCapCellAppendsAnEmptyRow) {
    AnalysisSheet sheet;
    sheet.capCell();
    for (int r = 1; r <= 200; ++r) sheet.setText(r, 2, std::to_string(r * 10));

    sheet.removeRow(3);
    ASSERT_EQ(sheet.rowCount(), 200);
    EXPECT_EQ(sheet.text(3, 2), "40");
    EXPECT_EQ(sheet.text(3, 0), "4");  // not renumbered yet
    EXPECT_EQ(sheet.text(199, 2), "2000");

    sheet.capCell();
    ASSERT_EQ(sheet.rowCount(), 201);
    EXPECT_EQ(sheet.text(3, 0), "3");
    EXPECT_EQ(sheet.text(199, 2), "2000");
    EXPECT_EQ(sheet.text(200, 0), "200");
    for (int c = 1; c <= 60; ++c) EXPECT_EQ(sheet.text(200, c), "") << c;
}

TEST(SheetClear, ClearSheetEmptiesEverythingButKeepsTheCounts) {
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(9, 9, "data");
    sheet.insertRow(2);
    sheet.clearSheet();
    EXPECT_EQ(sheet.rowCount(), 202);
    EXPECT_EQ(sheet.columnCount(), 61);
    for (int r = 0; r < sheet.rowCount(); ++r) {
        for (int c = 0; c < sheet.columnCount(); ++c) {
            ASSERT_EQ(sheet.text(r, c), "") << r << "," << c;
            ASSERT_EQ(sheet.cellAlignment(r, c), std::nullopt) << r << "," << c;
            ASSERT_EQ(sheet.cellColour(r, c), std::nullopt) << r << "," << c;
        }
    }
}

TEST(BlockText, EmptyDataAreaIs199CarriageReturnsAnd11800Tabs) {
    AnalysisSheet sheet;
    sheet.capCell();
    const std::string clip = sheet.getClip(sheet.dataArea());
    EXPECT_EQ(clip.size(), 11999u);
    EXPECT_EQ(std::count(clip.begin(), clip.end(), '\r'), 199);
    EXPECT_EQ(std::count(clip.begin(), clip.end(), '\t'), 11800);
    // No separator before the first cell, after a row's last cell or after
    // the last row: every row is 59 tabs.
    EXPECT_EQ(clip.substr(0, 60), std::string(59, '\t') + "\r");
    EXPECT_EQ(clip.substr(clip.size() - 59), std::string(59, '\t'));
}

TEST(BlockText, JoinsCellsByTabsAndRowsByCarriageReturns) {
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(2, 3, "a");
    sheet.setText(2, 4, "b c");
    sheet.setText(3, 3, "");
    sheet.setText(3, 4, "d");
    EXPECT_EQ(sheet.getClip({2, 3, 3, 4}), "a\tb c\r\td");
    // A region given by corners in either order is the same rectangle.
    EXPECT_EQ(Region::spanning({3, 4}, {2, 3}), (Region{2, 3, 3, 4}));
    EXPECT_EQ(Region::spanning({2, 4}, {3, 3}), (Region{2, 3, 3, 4}));
    EXPECT_EQ(sheet.getClip({2, 4, 2, 4}), "b c");
}

// setClip over a 4 x 4 block of cells that all start as "x", the region
// being the top-left part described by each case.
struct ClipCase {
    const char* name;
    int rows, columns;  // the region, from (1, 1)
    std::string text;
    std::vector<std::string> want;  // the 4 x 4 block afterwards, row by row
};

void PrintTo(const ClipCase& c, std::ostream* os) {
    *os << c.name;
}

class SetClip : public ::testing::TestWithParam<ClipCase> {};

TEST_P(SetClip, WritesThePiecesThatFallInsideTheRegion) {
    const ClipCase& c = GetParam();
    AnalysisSheet sheet;
    sheet.capCell();
    for (int r = 1; r <= 5; ++r) {
        for (int col = 1; col <= 5; ++col) sheet.setText(r, col, "x");
    }
    sheet.setClip({1, 1, c.rows, c.columns}, c.text);
    std::vector<std::string> got;
    for (int r = 1; r <= 4; ++r) {
        for (int col = 1; col <= 4; ++col) got.push_back(sheet.text(r, col));
    }
    EXPECT_EQ(got, c.want);
    // Nothing outside the region's rows and columns is ever written.
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(sheet.text(5, i), "x");
        EXPECT_EQ(sheet.text(i, 5), "x");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetClip,
    ::testing::Values(
        ClipCase{"OneTabTwoOverOneByThree",
                 1,
                 3,
                 "1\t2",
                 {"1", "2", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"OneTabTwoOverASingleCell",
                 1,
                 1,
                 "1\t2",
                 {"1", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"EmptyTextEmptiesOnlyTheTopLeftCell",
                 2,
                 2,
                 "",
                 {"", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"ExactFit",
                 2,
                 2,
                 "a\tb\rc\td",
                 {"a", "b", "x", "x", "c", "d", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"PiecesBeyondTheRegionAreDropped",
                 2,
                 2,
                 "a\tb\tc\rd\te\tf\rg\th",
                 {"a", "b", "x", "x", "d", "e", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"ShortRowsKeepTheRestOfTheirRow",
                 3,
                 3,
                 "a\rb\tc\r\t",
                 {"a", "x", "x", "x", "b", "c", "x", "x", "", "", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"EmptyPiecesEmptyTheirCells",
                 1,
                 4,
                 "\t\t",
                 {"", "", "", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"EmptyRowBetweenTwoBreaks",
                 3,
                 1,
                 "a\r\rb",
                 {"a", "x", "x", "x", "", "x", "x", "x", "b", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"TrailingCarriageReturnEmptiesTheNextRowsFirstCell",
                 2,
                 2,
                 "a\tb\r",
                 {"a", "b", "x", "x", "", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"CrLfIsOneRowBreak",
                 3,
                 2,
                 "a\tb\r\nc\td\r\ne",
                 {"a", "b", "x", "x", "c", "d", "x", "x", "e", "x", "x", "x", "x", "x", "x", "x"}},
        ClipCase{"CrLfWithEmptyRows",
                 4,
                 1,
                 "a\r\n\r\nb\r\n",
                 {"a", "x", "x", "x", "", "x", "x", "x", "b", "x", "x", "x", "", "x", "x", "x"}},
        ClipCase{"TextWithoutBreaksOverATallRegion",
                 4,
                 4,
                 "Fo90 rim",
                 {"Fo90 rim", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x",
                  "x"}}),
    [](const ::testing::TestParamInfo<ClipCase>& info) { return info.param.name; });

TEST(BlockText, DataAreaSurvivesCopyAndLayingBack) {
    AnalysisSheet source;
    source.capCell();
    for (int r = 1; r <= 200; r += 7) {
        for (int c = 1; c <= 60; c += 3) {
            source.setText(r, c, std::to_string(r) + "," + std::to_string(c) + " é");
        }
    }
    source.setText(200, 60, "corner");
    const std::string clip = source.getClip(source.dataArea());

    AnalysisSheet target;
    target.capCell();
    for (int r = 1; r <= 200; ++r) {
        for (int c = 1; c <= 60; ++c) target.setText(r, c, "old");
    }
    target.setClip(target.dataArea(), clip);
    for (int r = 0; r <= 200; ++r) {
        for (int c = 0; c <= 60; ++c) {
            ASSERT_EQ(target.text(r, c), source.text(r, c)) << r << "," << c;
        }
    }
}

TEST(BlockText, ACellHoldingATabSplitsWhenLaidBack) {
    // Only a workbook load can put a tab into a cell; copying and laying the
    // region back then spreads it over two cells.
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.setText(1, 1, "a\tb");
    sheet.setText(1, 2, "c");
    const std::string clip = sheet.getClip({1, 1, 1, 3});
    EXPECT_EQ(clip, "a\tb\tc\t");
    sheet.setClip({1, 1, 1, 3}, clip);
    EXPECT_EQ(sheet.text(1, 1), "a");
    EXPECT_EQ(sheet.text(1, 2), "b");
    EXPECT_EQ(sheet.text(1, 3), "c");
}

TEST(SheetSelection, SelectDataAreaSpansRowOneToTheLastRow) {
    AnalysisSheet sheet;
    sheet.capCell();
    sheet.selectDataArea();
    EXPECT_EQ(sheet.currentCell(), (CellPos{1, 1}));
    EXPECT_EQ(sheet.selection(), (Region{1, 1, 200, 60}));
    sheet.removeRow(10);
    sheet.selectDataArea();
    EXPECT_EQ(sheet.selection(), (Region{1, 1, 199, 60}));
}

}  // namespace
}  // namespace qarv
