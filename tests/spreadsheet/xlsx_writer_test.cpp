#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "common/run_errors.h"
#include "spreadsheet/spreadsheet_app.h"
#include "spreadsheet/package_fixtures.h"
#include "spreadsheet/workbook_file.h"
#include "test_support.h"

namespace qarv {
namespace {

std::size_t entriesIn(const std::filesystem::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

TEST(XlsxRoundTrip, TextAndNumbersReadBackAsWritten) {
    Workbook book;
    book.addSheet("Results");
    book.addSheet("Notes");
    Worksheet& results = book.sheets[0];
    setCellText(results, 1, 1, "Qarvelion");
    setCellText(results, 1, 2, "1");  // a digit written as text stays text
    setCellText(results, 2, 1, "Sample No");
    setCellText(results, 3, 171, "Fe\xC2\xB3\xE2\x81\xBA / \xCE\xA3 < & >");
    setCellText(results, 4, 1, "  padded  ");
    setCellNumber(results, 3, 2, 12.5, "#,##0.000");
    setCellNumber(results, 3, 3, 100.0, "#,##0.0000");
    setCellNumber(results, 3, 4, 0.1 + 0.2);  // needs 17 significant digits; the file keeps 16
    setCellNumber(results, 3, 5, -1234567.875, "#,###0.000");
    setCellText(book.sheets[1], 201, 60, "corner");
    book.activeSheet = 1;

    test::TempDir dir;
    const auto path = dir.path() / "Output.xlsx";
    std::string message;
    ASSERT_EQ(writeXlsxFile(book, path, &message), err::kNone) << message;
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left behind";

    const WorkbookReadResult read = readWorkbookFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets.size(), 2u);
    EXPECT_EQ(read.book.sheets[0].name, "Results");
    EXPECT_EQ(read.book.sheets[1].name, "Notes");
    EXPECT_EQ(read.book.activeSheet, 1u);
    const Worksheet& back = read.book.sheets[0];
    EXPECT_EQ(back.cells.size(), results.cells.size());
    for (const auto& [at, cell] : results.cells) {
        const Cell* got = findCell(back, at.first, at.second);
        ASSERT_NE(got, nullptr) << columnLetters(at.second) << at.first;
        EXPECT_EQ(got->kind, cell.kind) << columnLetters(at.second) << at.first;
        if (at.second != 4) {
            EXPECT_EQ(got->text, cell.text) << columnLetters(at.second) << at.first;
        }
        if (cell.kind == Cell::Kind::Number && at.second != 4) {
            EXPECT_EQ(got->number, cell.number);
        }
    }
    EXPECT_EQ(cellText(back, 3, 4), "0.3");
    EXPECT_EQ(cellText(read.book.sheets[1], 201, 60), "corner");
}

TEST(XlsxRoundTrip, NumberFormatsAreWrittenToTheStyles) {
    Workbook book;
    setCellNumber(book.addSheet("S"), 1, 1, 1.5, "#,##0.000");
    test::TempDir dir;
    const auto path = dir.path() / "fmt.xlsx";
    ASSERT_EQ(writeXlsxFile(book, path), err::kNone);
    // The reader does not take formats back, so look into the package.
    const std::string styles = test::readZipPart(path, "xl/styles.xml");
    EXPECT_NE(styles.find("formatCode=\"#,##0.000\""), std::string::npos) << styles;
}

TEST(XlsxRoundTrip, WorkbookWithoutSheetsGetsOneEmptySheet) {
    test::TempDir dir;
    const auto path = dir.path() / "empty.xlsx";
    ASSERT_EQ(writeXlsxFile(Workbook{}, path), err::kNone);
    const WorkbookReadResult read = readWorkbookFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets.size(), 1u);
    EXPECT_TRUE(read.book.sheets[0].cells.empty());
}

TEST(SaveWorkbookAs, EditsMadeThroughTheInterfaceReachTheFile) {
    test::TempDir dir;
    Workbook seed;
    setCellText(seed.addSheet("Sheet1"), 1, 1, "old");
    ASSERT_EQ(writeXlsxFile(seed, dir.path() / "Output.xlsx"), err::kNone);

    const AppHandle app = createExcel();
    EXPECT_EQ(attachExcel(), app);
    const auto book = openWorkbook(app, dir.path() / "Output.xlsx");
    ASSERT_TRUE(book.ok());
    const auto sheet = firstSheet(book.value);
    ASSERT_TRUE(sheet.ok());
    EXPECT_EQ(writeCell(sheet.value, 1, 1, "Qarvelion"), err::kNone);
    EXPECT_EQ(writeCell(sheet.value, 123, 1, " "), err::kNone);
    EXPECT_EQ(writeCell(sheet.value, 0, 1, "x"), err::kSubscriptOutOfRange);
    EXPECT_EQ(readCell(sheet.value, 1, 0).error, err::kSubscriptOutOfRange);

    const auto copy = dir.path() / "Copy.xlsx";
    ASSERT_EQ(saveWorkbookAs(book.value, copy), err::kNone);
    EXPECT_EQ(book.value->path, copy);
    const auto reopened = openWorkbook(app, copy);
    ASSERT_TRUE(reopened.ok());
    const auto again = firstSheet(reopened.value).value;
    EXPECT_EQ(readCell(again, 1, 1).value, "Qarvelion");
    EXPECT_EQ(readCell(again, 123, 1).value, " ");
    // The file it came from is unchanged.
    EXPECT_EQ(cellText(readWorkbookFile(dir.path() / "Output.xlsx").book.sheets[0], 1, 1), "old");
}

TEST(SaveWorkbookAs, FailuresLeaveTheTargetAsItWas) {
    test::TempDir dir;
    const auto target = dir.path() / "Output.xlsx";
    test::writeFile(target, "previous content");
    const auto book = std::make_shared<OpenWorkbook>();
    setCellText(book->book.addSheet("Sheet1"), 1, 1, "x");

    EXPECT_EQ(saveWorkbookAs(nullptr, target), err::kObjectRequired);
    EXPECT_EQ(saveWorkbookAs(book, dir.path() / "Output.XLS"), err::kPropertyOrMethodNotSupported);
    EXPECT_EQ(saveWorkbookAs(book, dir.path() / "missing" / "Output.xlsx"), err::kPathNotFound);
    std::filesystem::create_directory(dir.path() / "folder.xlsx");
    EXPECT_EQ(saveWorkbookAs(book, dir.path() / "folder.xlsx"), err::kPathFileAccessError);

    // A sheet name no workbook may hold makes the save fail before the
    // target is touched.
    book->book.addSheet("bad[name]");
    std::string message;
    EXPECT_NE(writeXlsxFile(book->book, target, &message), err::kNone);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(test::readFile(target), "previous content");
    EXPECT_EQ(entriesIn(dir.path()), 2u) << "only the target and the folder remain";
}

TEST(SaveWorkbookAs, ReadOnlyFolderGivesNoAccess) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    test::TempDir dir;
    const auto locked = dir.path() / "locked";
    std::filesystem::create_directory(locked);
    ::chmod(locked.c_str(), 0500);
    Workbook book;
    book.addSheet("S");
    EXPECT_EQ(writeXlsxFile(book, locked / "Output.xlsx"), err::kPathFileAccessError);
    ::chmod(locked.c_str(), 0700);
}

TEST(Application, HandlesThatAreAbsentGiveObjectRequired) {
    EXPECT_EQ(openWorkbook(nullptr, "/tmp/whatever.xlsx").error, err::kObjectRequired);
    EXPECT_EQ(firstSheet(nullptr).error, err::kObjectRequired);
    EXPECT_EQ(activeSheet(nullptr).error, err::kObjectRequired);
    EXPECT_EQ(readCell(SheetHandle{}, 1, 1).error, err::kObjectRequired);
    EXPECT_EQ(writeCell(SheetHandle{}, 1, 1, "x"), err::kObjectRequired);
    // A sheet index the workbook does not have is no sheet either.
    const auto book = std::make_shared<OpenWorkbook>();
    EXPECT_EQ(firstSheet(book).error, err::kSubscriptOutOfRange);
    EXPECT_EQ(readCell(SheetHandle{book, 3}, 1, 1).error, err::kObjectRequired);
}

TEST(Application, AttachFindsOnlyAnInstanceStillHeld) {
    { const AppHandle app = createExcel(); }
    EXPECT_EQ(attachExcel(), nullptr);
    const AppHandle held = createExcel();
    EXPECT_EQ(attachExcel(), held);
}

}  // namespace
}  // namespace qarv
