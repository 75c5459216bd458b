// Workbooks written by other programs (Python's openpyxl, LibreOffice as
// .xlsx and .xls; made by tests/data/workbooks/make_fixtures.py) and one
// written by libxlsxwriter here all load into the same grid: the block
// A1:BH201 of the active, second sheet, nothing outside it.

#include <gtest/gtest.h>

#include <filesystem>

#include "spreadsheet/workbook_file.h"
#include "spreadsheet/workbook_import.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

// The same content, written with the program's own .xlsx writer.
fs::path writtenHere(const fs::path& folder) {
    Workbook book;
    setCellText(book.addSheet("Notes"), 1, 1, "not the active sheet");
    Worksheet& sheet = book.addSheet("Analyses");
    book.activeSheet = 1;
    setCellText(sheet, 1, 1, "Row No");
    setCellText(sheet, 1, 2, "Sample No [Oxyspinel]");
    setCellText(sheet, 1, 5, "Al2O3");
    setCellNumber(sheet, 2, 1, 1);
    setCellText(sheet, 2, 2, "Chr 1");
    setCellNumber(sheet, 2, 5, 15.25);
    setCellText(sheet, 2, 7, "55.1");
    setCellText(sheet, 3, 2, "007");
    setCellNumber(sheet, 3, 5, 12);
    setCellText(sheet, 201, 60, "last");
    setCellText(sheet, 1, 61, "beyond");
    setCellText(sheet, 202, 1, "below");
    const fs::path path = folder / "libxlsxwriter.xlsx";
    writeXlsxFile(book, path);
    return path;
}

class OtherWriters : public ::testing::TestWithParam<const char*> {};

TEST_P(OtherWriters, LoadTheActiveSheetsBlockIntoTheSameGrid) {
    test::TempDir dir;
    const std::string name = GetParam();
    const fs::path path = name == "libxlsxwriter.xlsx"
                              ? writtenHere(dir.path())
                              : fs::path(QARVELION_TEST_DATA_DIR) / "workbooks" / name;
    const WorkbookReadResult read = readWorkbookFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.activeSheet, 1u);

    AnalysisSheet sheet;
    importWorksheetBlock(read.book.sheets[read.book.activeSheet], sheet);
    EXPECT_EQ(sheet.columnCount(), 60);
    EXPECT_EQ(sheet.rowCount(), 201);
    EXPECT_EQ(sheet.text(0, 0), "Row No");
    EXPECT_EQ(sheet.text(0, 1), "Sample No [Oxyspinel]");
    EXPECT_EQ(sheet.text(1, 0), "1");
    EXPECT_EQ(sheet.text(1, 1), "Chr 1");
    EXPECT_EQ(sheet.text(1, 4), "15.25");
    EXPECT_EQ(sheet.text(1, 6), "55.1");
    EXPECT_EQ(sheet.text(2, 1), "007");
    EXPECT_EQ(sheet.text(2, 4), "12");
    EXPECT_EQ(sheet.text(200, 59), "last");
    // Nothing but the block: every other cell is empty.
    int filled = 0;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        for (int c = 0; c < sheet.columnCount(); ++c) filled += sheet.text(r, c).empty() ? 0 : 1;
    }
    EXPECT_EQ(filled, 10);
}

INSTANTIATE_TEST_SUITE_P(Writers, OtherWriters,
                         ::testing::Values("openpyxl.xlsx", "libreoffice.xlsx", "libreoffice.xls",
                                           "libxlsxwriter.xlsx"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '.') c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace qarv
