#include <gtest/gtest.h>

#include "common/run_errors.h"
#include "spreadsheet/spreadsheet_app.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/xls_fixture.h"
#include "spreadsheet/xls_format.h"
#include "test_support.h"

namespace qarv {
namespace {

using Kind = test::XlsCell::Kind;

std::string twoSheetXls() {
    return detail::compoundFileWithWorkbook(test::biffWorkbookStream({
        {"Intro", {{0, 0, Kind::Text, "first sheet"}}},
        {"Analyses",
         {{0, 0, Kind::Text, "Sample"},
          {0, 1, Kind::Double, "", 12.5},
          {0, 2, Kind::Integer, "", 100},
          {1, 0, Kind::Integer, "", -7},
          {200, 59, Kind::Double, "", 0.1},
          {0, 60, Kind::Text, "BI1"},
          {201, 0, Kind::Double, "", 1e22}}},
    }));
}

TEST(XlsReader, SheetsTextIntegersAndDoubles) {
    test::TempDir dir;
    const auto path = dir.path() / "DuVaruri.xls";
    test::writeFile(path, twoSheetXls());
    ASSERT_EQ(workbookFileKind(path), WorkbookFileKind::Xls);
    const WorkbookReadResult read = readWorkbookFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets.size(), 2u);
    EXPECT_EQ(read.book.sheets[0].name, "Intro");
    EXPECT_EQ(read.book.sheets[1].name, "Analyses");
    EXPECT_EQ(read.book.activeSheet, 0u) << "no WINDOW1 record: the first sheet";
    EXPECT_EQ(cellText(read.book.sheets[0], 1, 1), "first sheet");
    const Worksheet& s = read.book.sheets[1];
    const std::vector<std::pair<std::string, std::string>> want = {
        {"A1", "Sample"}, {"B1", "12.5"}, {"C1", "100"}, {"A2", "-7"}, {"BH201", "0.1"},
        {"BI1", "BI1"}, {"A202", "1e+22"}, {"B2", ""}};
    for (const auto& [ref, text] : want) {
        const auto at = parseCellReference(ref);
        EXPECT_EQ(cellText(s, at->first, at->second), text) << ref;
    }
    ASSERT_NE(findCell(s, 1, 3), nullptr);
    EXPECT_EQ(findCell(s, 1, 3)->kind, Cell::Kind::Number);
    EXPECT_EQ(findCell(s, 1, 3)->number, 100.0);
}

TEST(XlsReader, OpenedThroughTheInterfaceWhateverItsName) {
    test::TempDir dir;
    const auto path = dir.path() / "looks-like.xlsx";
    test::writeFile(path, twoSheetXls());
    const auto book = openWorkbook(createExcel(), path);
    ASSERT_TRUE(book.ok()) << book.error;
    const auto sheet = activeSheet(book.value);
    ASSERT_TRUE(sheet.ok());
    EXPECT_EQ(readCell(sheet.value, 1, 1).value, "first sheet");
}

TEST(XlsReader, DamagedFilesAreUnreadable) {
    test::TempDir dir;
    const std::string good = twoSheetXls();
    const auto path = dir.path() / "bad.xls";
    // Cut in the header, the FAT, the directory and the workbook stream.
    for (const std::size_t keep : {std::size_t{8}, std::size_t{600}, std::size_t{1100}, std::size_t{1536 + 100}}) {
        test::writeFile(path, good.substr(0, keep));
        const WorkbookReadResult read = readWorkbookFile(path);
        EXPECT_EQ(read.error, err::kInvalidFileFormat) << "kept " << keep << ": " << read.message;
    }
    std::string badStart = good;
    // The workbook stream's first sector (in the second directory entry)
    // far beyond the end of the file.
    const char farAway[4] = {0, 0, 0x10, 0};
    std::memcpy(badStart.data() + 1024 + 128 + 116, farAway, 4);
    test::writeFile(path, badStart);
    EXPECT_EQ(readWorkbookFile(path).error, err::kInvalidFileFormat);
}

}  // namespace
}  // namespace qarv
