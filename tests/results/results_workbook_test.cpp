// The results table as a workbook sheet: every cell in place, numbers as
// numbers in the format that shows the table's text, all else as text.

#include <gtest/gtest.h>

#include "results/results_workbook.h"

namespace qarv {
namespace {

const Cell* cellAt(const Worksheet& sheet, int row, int column) { return findCell(sheet, row, column); }

TEST(ResultsWorkbook, PutsEveryCellOneRowAndOneColumnFurtherOn) {
    ResultsTable table;
    SampleRow row;
    row[rc::kOxySample] = "007";                   // a sample name that looks like a number
    row[rc::kOxides + Al2O3] = "1,234.500";        // F3 with grouping
    row[rc::kCations + Ge] = "0.125";              // F3g
    row[rc::kRatios] = "abc";                      // typed over by the user
    row[rc::kThioWt] = "23.8322";                  // plain form
    row[rc::kOxySpecies] = "Chromite";
    table.appendSampleRow(row);

    const Workbook book = resultsWorkbook(table, NumberFormatSettings{});
    ASSERT_EQ(book.sheets.size(), 1u);
    const Worksheet& sheet = book.sheets[0];

    // Heading rows are text, the column numbers included.
    EXPECT_EQ(cellText(sheet, 1, 1), "Qarvelion");
    ASSERT_NE(cellAt(sheet, 1, 2), nullptr);
    EXPECT_EQ(cellAt(sheet, 1, 2)->kind, Cell::Kind::Text);
    EXPECT_EQ(cellText(sheet, 1, 2), "1");
    EXPECT_EQ(cellText(sheet, 2, 1), "Sample No");

    const Cell* name = cellAt(sheet, 3, 1);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->kind, Cell::Kind::Text);
    EXPECT_EQ(name->text, "007");

    const Cell* al2o3 = cellAt(sheet, 3, rc::kOxides + Al2O3 + 1);
    ASSERT_NE(al2o3, nullptr);
    EXPECT_EQ(al2o3->kind, Cell::Kind::Number);
    EXPECT_EQ(al2o3->number, 1234.5);
    EXPECT_EQ(al2o3->numberFormat, "#,##0.000");

    const Cell* ge = cellAt(sheet, 3, rc::kCations + Ge + 1);
    ASSERT_NE(ge, nullptr);
    EXPECT_EQ(ge->kind, Cell::Kind::Number);
    EXPECT_EQ(ge->numberFormat, "#,###0.000");

    const Cell* plain = cellAt(sheet, 3, rc::kThioWt + 1);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->kind, Cell::Kind::Number);
    EXPECT_EQ(plain->number, 23.8322);
    EXPECT_EQ(plain->numberFormat, "");

    const Cell* typed = cellAt(sheet, 3, rc::kRatios + 1);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->kind, Cell::Kind::Text);
    EXPECT_EQ(typed->text, "abc");

    EXPECT_EQ(cellText(sheet, 3, rc::kOxySpecies + 1), "Chromite");
    EXPECT_EQ(cellAt(sheet, 3, rc::kOxides + 1), nullptr);  // empty cells stay empty
}

TEST(ResultsWorkbook, ATextThatIsNotInTheColumnsFormStaysText) {
    // "1.5" in an F3 column is not how the table writes a number there, so
    // it is a text the user typed and travels as text.
    ResultsTable table;
    SampleRow row;
    row[rc::kOxides] = "1.5";
    row[rc::kOxides + 1] = "1,5";
    table.appendSampleRow(row);
    const Worksheet sheet = resultsWorkbook(table, NumberFormatSettings{}).sheets[0];
    EXPECT_EQ(cellAt(sheet, 3, 2)->kind, Cell::Kind::Text);
    EXPECT_EQ(cellAt(sheet, 3, 3)->kind, Cell::Kind::Text);
}

TEST(ResultsWorkbook, ReadsNumbersWithTheRegionalCharacters) {
    const NumberFormatSettings german{".", ","};
    ResultsTable table;
    SampleRow row;
    row[rc::kOxides] = "1.234,500";
    table.appendSampleRow(row);
    const Workbook book = resultsWorkbook(table, german);  // the cell points into it
    const Cell* cell = cellAt(book.sheets[0], 3, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->kind, Cell::Kind::Number);
    EXPECT_EQ(cell->number, 1234.5);
}

}  // namespace
}  // namespace qarv
