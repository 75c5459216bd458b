#include "spreadsheet/workbook.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>

namespace qarv {
namespace {

struct NumberTextCase {
    double value;
    const char* text;
};

class ShortestNumberText : public ::testing::TestWithParam<NumberTextCase> {};

TEST_P(ShortestNumberText, IsShortestAndReadsBack) {
    const auto& c = GetParam();
    const std::string text = shortestNumberText(c.value);
    EXPECT_EQ(text, c.text);
    if (std::isfinite(c.value)) {
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ShortestNumberText,
    ::testing::Values(NumberTextCase{12.5, "12.5"}, NumberTextCase{100.0, "100"},
                      NumberTextCase{0.1, "0.1"}, NumberTextCase{-3.0, "-3"},
                      NumberTextCase{-0.0, "0"}, NumberTextCase{0.1 + 0.2, "0.30000000000000004"},
                      NumberTextCase{1234567.125, "1234567.125"}, NumberTextCase{1e22, "1e+22"},
                      NumberTextCase{2.5e-7, "2.5e-07"},
                      NumberTextCase{std::numeric_limits<double>::quiet_NaN(), "#NUM!"},
                      NumberTextCase{std::numeric_limits<double>::infinity(), "#NUM!"}));

struct ReferenceCase {
    const char* reference;
    int row;  // 0: not a reference
    int column;
};

class CellReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(CellReference, Parses) {
    const auto& c = GetParam();
    const auto parsed = parseCellReference(c.reference);
    if (c.row == 0) {
        EXPECT_FALSE(parsed.has_value()) << c.reference;
        return;
    }
    ASSERT_TRUE(parsed.has_value()) << c.reference;
    EXPECT_EQ(parsed->first, c.row);
    EXPECT_EQ(parsed->second, c.column);
}

INSTANTIATE_TEST_SUITE_P(
    References, CellReference,
    ::testing::Values(ReferenceCase{"A1", 1, 1}, ReferenceCase{"BH201", 201, 60},
                      ReferenceCase{"BI1", 1, 61}, ReferenceCase{"A202", 202, 1},
                      ReferenceCase{"bh201", 201, 60}, ReferenceCase{"XFD1048576", 1048576, 16384},
                      ReferenceCase{"XFE1", 0, 0}, ReferenceCase{"A1048577", 0, 0},
                      ReferenceCase{"A0", 0, 0}, ReferenceCase{"1A", 0, 0}, ReferenceCase{"A", 0, 0},
                      ReferenceCase{"", 0, 0}, ReferenceCase{"A1 ", 0, 0},
                      ReferenceCase{"$A$1", 0, 0},
                      ReferenceCase{"AAAAAAAAAAAAAAAAAAAAAAAAAAA1", 0, 0},
                      ReferenceCase{"A99999999999999999999", 0, 0}));

TEST(ColumnLetters, InvertsReferenceParsing) {
    for (int column : {1, 26, 27, 52, 60, 61, 702, 703, 16384}) {
        const auto parsed = parseCellReference(columnLetters(column) + "7");
        ASSERT_TRUE(parsed.has_value()) << column;
        EXPECT_EQ(parsed->second, column);
    }
    EXPECT_EQ(columnLetters(60), "BH");
    EXPECT_EQ(columnLetters(16384), "XFD");
}

TEST(WorksheetCells, EmptyTextEmptiesAndOutsidePositionsAreRefused) {
    Worksheet sheet;
    EXPECT_TRUE(setCellNumber(sheet, 2, 3, 1.5, "#,##0.000"));
    EXPECT_EQ(cellText(sheet, 2, 3), "1.5");
    EXPECT_TRUE(setCellText(sheet, 2, 3, "x"));
    ASSERT_NE(findCell(sheet, 2, 3), nullptr);
    EXPECT_EQ(findCell(sheet, 2, 3)->kind, Cell::Kind::Text);
    EXPECT_TRUE(findCell(sheet, 2, 3)->numberFormat.empty());
    EXPECT_TRUE(setCellText(sheet, 2, 3, ""));
    EXPECT_EQ(findCell(sheet, 2, 3), nullptr);

    EXPECT_FALSE(setCellText(sheet, 0, 1, "x"));
    EXPECT_FALSE(setCellText(sheet, 1, kMaxSheetColumns + 1, "x"));
    EXPECT_FALSE(setCellNumber(sheet, kMaxSheetRows + 1, 1, 1.0));
    EXPECT_TRUE(sheet.cells.empty());
    EXPECT_EQ(cellText(sheet, -5, -5), "");
}

}  // namespace
}  // namespace qarv
