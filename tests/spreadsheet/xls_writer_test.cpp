#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/run_errors.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/xls_fixture.h"
#include "spreadsheet/xls_format.h"
#include "test_support.h"

namespace qarv {
namespace {

std::size_t entriesIn(const std::filesystem::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

void expectSameCells(const Worksheet& want, const Worksheet& got) {
    EXPECT_EQ(got.cells.size(), want.cells.size()) << want.name;
    for (const auto& [at, cell] : want.cells) {
        const std::string where = want.name + "!" + columnLetters(at.second) + std::to_string(at.first);
        const Cell* back = findCell(got, at.first, at.second);
        ASSERT_NE(back, nullptr) << where;
        EXPECT_EQ(back->kind, cell.kind) << where;
        EXPECT_EQ(back->text, cell.text) << where;
        if (cell.kind == Cell::Kind::Number) {
            EXPECT_EQ(back->number, cell.number) << where;
        }
    }
}

TEST(XlsWriter, TextNumbersAndSheetsReadBackAsWritten) {
    Workbook book;
    Worksheet& results = book.addSheet("Results");
    setCellText(results, 1, 1, "Sample No");
    setCellText(results, 1, 2, "007");  // digits written as text stay text
    setCellText(results, 2, 1, "Fe\xC2\xB3\xE2\x81\xBA / \xCE\xA3 \xF0\x9D\x9B\xBC");  // beyond the BMP too
    setCellText(results, 3, 1, "  padded  ");
    setCellNumber(results, 2, 2, 12.5, "#,##0.000");
    setCellNumber(results, 2, 3, 100.0, "#,##0.0000");
    setCellNumber(results, 2, 4, 0.1 + 0.2);  // all 17 digits survive a double record
    setCellNumber(results, 2, 5, -1234567.875, "#,##0.000");
    setCellNumber(results, 2, 6, 1e22);
    setCellText(book.addSheet("Notes \xC3\xA9t\xC3\xA9"), 65536, 256, "last cell");
    Worksheet& third = book.addSheet("Same text");
    setCellText(third, 1, 1, "Sample No");  // shared with the first sheet
    setCellNumber(third, 2, 1, 0);
    book.activeSheet = 1;

    test::TempDir dir;
    const auto path = dir.path() / "DuVaruri.xls";
    std::string message;
    ASSERT_EQ(writeXlsFile(book, path, &message), err::kNone) << message;
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left behind";
    ASSERT_EQ(workbookFileKind(path), WorkbookFileKind::Xls);

    const WorkbookReadResult read = readWorkbookFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets.size(), book.sheets.size());
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        EXPECT_EQ(read.book.sheets[i].name, book.sheets[i].name);
        expectSameCells(book.sheets[i], read.book.sheets[i]);
    }
    EXPECT_EQ(read.book.activeSheet, 1u);
    EXPECT_EQ(cellText(read.book.sheets[0], 2, 4), "0.30000000000000004");
}

TEST(XlsWriter, TheActiveSheetIsTheCurrentTab) {
    for (const std::size_t active : {0u, 1u, 2u, 7u}) {
        Workbook book;
        for (const char* name : {"One", "Two", "Three"}) setCellText(book.addSheet(name), 1, 1, name);
        book.activeSheet = active;
        test::TempDir dir;
        const auto path = dir.path() / "tabs.xls";
        ASSERT_EQ(writeXlsFile(book, path), err::kNone);
        const WorkbookReadResult read = readXlsFile(path);
        ASSERT_TRUE(read.ok()) << read.message;
        // An index beyond the sheets is written as the first.
        EXPECT_EQ(read.book.activeSheet, active < 3 ? active : 0u) << "active " << active;
    }
}

TEST(XlsWriter, WorkbookWithoutSheetsGetsOneEmptySheet) {
    test::TempDir dir;
    const auto path = dir.path() / "empty.xls";
    ASSERT_EQ(writeXlsFile(Workbook{}, path), err::kNone);
    const WorkbookReadResult read = readWorkbookFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets.size(), 1u);
    EXPECT_EQ(read.book.sheets[0].name, "Sheet1");
    EXPECT_TRUE(read.book.sheets[0].cells.empty());
}

// Shared strings beyond one record go on in CONTINUE records, texts split
// between them; a large stream needs many FAT sectors and a DIFAT. (FreeXL
// reads no text that spans more than two records, so none here does.)
TEST(XlsWriter, LargeWorkbooksSpanRecordsAndSectorTables) {
    Workbook book;
    Worksheet& texts = book.addSheet("Texts");
    std::string longText;
    // 8400 bytes as UTF-16: more than the first record holds after the counts.
    for (int i = 0; i < 4200; ++i) longText += i % 2 ? "\xCE\xA3" : "x";
    setCellText(texts, 1, 1, longText);
    for (int r = 2; r <= 3000; ++r) setCellText(texts, r, 1, "analysis " + std::to_string(r));
    setCellText(texts, 3001, 2, longText + "!");
    Worksheet& numbers = book.addSheet("Numbers");
    for (int r = 1; r <= 65536; ++r)
        for (int c = 1; c <= 8; ++c) setCellNumber(numbers, r, c, r + c / 8.0);
    book.activeSheet = 1;

    test::TempDir dir;
    const auto path = dir.path() / "large.xls";
    std::string message;
    ASSERT_EQ(writeXlsFile(book, path, &message), err::kNone) << message;
    ASSERT_GT(std::filesystem::file_size(path), 109u * 128 * 512) << "the FAT outgrows the header";
    const WorkbookReadResult read = readXlsFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets.size(), 2u);
    expectSameCells(book.sheets[0], read.book.sheets[0]);
    expectSameCells(book.sheets[1], read.book.sheets[1]);
    EXPECT_EQ(read.book.activeSheet, 1u);
}

TEST(XlsWriter, FailuresLeaveTheTargetAsItWas) {
    struct Case {
        const char* what;
        const char* sheet;
        const char* secondSheet;
        int row, column;
        std::string target;  // relative to the test folder
        int error;
    };
    const Case cases[] = {
        {"bad sheet name", "bad[name]", nullptr, 1, 1, "Output.xls", err::kCantPerformOperation},
        {"sheet name too long", "an analysis sheet name of 32 chr", nullptr, 1, 1, "Output.xls",
         err::kCantPerformOperation},
        {"repeated sheet name", "Data", "DATA", 1, 1, "Output.xls", err::kCantPerformOperation},
        {"column beyond 256", "Data", nullptr, 1, 257, "Output.xls", err::kCantPerformOperation},
        {"row beyond 65536", "Data", nullptr, 65537, 1, "Output.xls", err::kCantPerformOperation},
        {"missing folder", "Data", nullptr, 1, 1, "missing/Output.xls", err::kPathNotFound},
        {"target is a folder", "Data", nullptr, 1, 1, "folder.xls", err::kPathFileAccessError},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const auto target = dir.path() / "Output.xls";
        test::writeFile(target, "previous content");
        std::filesystem::create_directory(dir.path() / "folder.xls");
        Workbook book;
        setCellText(book.addSheet(c.sheet), c.row, c.column, "x");
        if (c.secondSheet) book.addSheet(c.secondSheet);
        std::string message;
        EXPECT_EQ(writeXlsFile(book, dir.path() / c.target, &message), c.error) << c.what;
        EXPECT_FALSE(message.empty()) << c.what;
        EXPECT_EQ(test::readFile(target), "previous content") << c.what;
        EXPECT_EQ(entriesIn(dir.path()), 2u) << c.what << ": only the target and the folder remain";
    }
}

// The current tab is read from the file by hand; damage there must give up
// (the first sheet stands) rather than loop or read out of bounds.
TEST(XlsSheetTabs, DamagedCompoundFilesGiveNoTab) {
    Workbook book;
    book.addSheet("One");
    book.addSheet("Two");
    book.activeSheet = 1;
    test::TempDir dir;
    const auto path = dir.path() / "tabs.xls";
    ASSERT_EQ(writeXlsFile(book, path), err::kNone);
    const std::string good = test::readFile(path);
    const auto tabs = detail::readXlsSheetTabs(path, 1 << 20);
    ASSERT_TRUE(tabs.has_value());
    EXPECT_EQ(tabs->current, 1u);
    EXPECT_EQ(tabs->sheets, 2u);

    // Small files: header, FAT (sector 0), directory (sector 1), stream.
    struct Damage {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
    };
    const Damage damages[] = {
        {"directory chain loops", 512 + 4 * 1, 1},
        {"FAT sector beyond the file", 76, 0x00100000},
        {"FAT count beyond the file", 44, 0x7FFFFFFF},
        {"stream starts beyond the file", 1024 + 128 + 116, 0x00100000},
        {"sector size unknown", 30, 10},
        {"stream renamed", 1024 + 128, 'X'},
        {"no BOF first", 1536, 0x0808},
    };
    for (const Damage& d : damages) {
        std::string bad = good;
        std::memcpy(bad.data() + d.offset, &d.value, sizeof d.value);  // little-endian hosts
        test::writeFile(path, bad);
        EXPECT_FALSE(detail::readXlsSheetTabs(path, 1 << 20).has_value()) << d.what;
    }
    test::writeFile(path, good.substr(0, 1536 + 8));
    EXPECT_FALSE(detail::readXlsSheetTabs(path, 1 << 20).has_value()) << "stream cut short";
}

TEST(XlsSheetTabs, SmallStreamInTheMiniStream) {
    Workbook book;
    setCellText(book.addSheet("One"), 1, 1, "first");
    setCellNumber(book.addSheet("Two"), 2, 2, 12.5);
    book.activeSheet = 1;
    std::string stream, message;
    ASSERT_TRUE(detail::biffWorkbookStream(book, stream, message)) << message;
    ASSERT_LT(stream.size(), 4096u);
    test::TempDir dir;
    const auto path = dir.path() / "small.xls";
    test::writeFile(path, test::compoundFileWithMiniStream(stream));
    const WorkbookReadResult read = readXlsFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(cellText(read.book.sheets[0], 1, 1), "first");
    EXPECT_EQ(cellText(read.book.sheets[1], 2, 2), "12.5");
    EXPECT_EQ(read.book.activeSheet, 1u);
}

}  // namespace
}  // namespace qarv
