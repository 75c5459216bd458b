#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <string>
#include <utility>
#include <vector>

#include "common/run_errors.h"
#include "spreadsheet/package_fixtures.h"
#include "spreadsheet/spreadsheet_app.h"
#include "spreadsheet/workbook_file.h"
#include "test_support.h"

namespace qarv {
namespace {

using Expected = std::vector<std::pair<std::string, std::string>>;  // reference, text

struct SheetXmlCase {
    const char* name;
    std::string rows;           // the sheetData content
    std::string sharedStrings;  // the <si> items, none when empty
    Expected cells;             // "" expects an empty cell
};

void PrintTo(const SheetXmlCase& c, std::ostream* os) { *os << c.name; }

class XlsxSheetXml : public ::testing::TestWithParam<SheetXmlCase> {};

TEST_P(XlsxSheetXml, CellsReadAsTheirText) {
    const auto& c = GetParam();
    test::TempDir dir;
    const auto path = dir.path() / "book.xlsx";
    ASSERT_TRUE(test::writeZip(
        path, test::workbookPackage({{"Data", test::worksheetXml(c.rows)}}, 0,
                                    c.sharedStrings.empty() ? "" : test::sharedStringsXml(c.sharedStrings))));
    const WorkbookReadResult read = readXlsxFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets.size(), 1u);
    for (const auto& [reference, text] : c.cells) {
        const auto at = parseCellReference(reference);
        ASSERT_TRUE(at.has_value()) << reference;
        EXPECT_EQ(cellText(read.book.sheets[0], at->first, at->second), text) << reference;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, XlsxSheetXml,
    ::testing::Values(
        SheetXmlCase{"SharedStrings",
                     R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>)"
                     R"(<c r="C1" t="s"><v>2</v></c><c r="D1" t="s"><v>9</v></c></row>)",
                     R"(<si><t>MgO</t></si><si><r><rPr><b/></rPr><t>Fe</t></r><r><t xml:space="preserve">2+ </t></r>)"
                     R"(<rPh><t>ignored</t></rPh></si><si><t xml:space="preserve">  </t></si>)",
                     {{"A1", "MgO"}, {"B1", "Fe2+ "}, {"C1", "  "}, {"D1", ""}}},
        SheetXmlCase{"InlineStrings",
                     R"(<row r="2"><c r="A2" t="inlineStr"><is><t>Cr2O3</t></is></c>)"
                     R"(<c r="B2" t="inlineStr"><is><r><t>Al</t></r><r><t>2O3</t></r></is></c>)"
                     R"(<c r="C2" t="inlineStr"><is><t>a_x000D_b</t></is></c></row>)",
                     "",
                     {{"A2", "Cr2O3"}, {"B2", "Al2O3"}, {"C2", "a\rb"}}},
        SheetXmlCase{"NumbersBooleansAndOtherTypes",
                     R"(<row r="1"><c r="A1"><v>12.5</v></c><c r="B1" t="n"><v>100</v></c>)"
                     R"(<c r="C1"><v>1.0E+2</v></c><c r="D1"><v>0.30000000000000004</v></c>)"
                     R"(<c r="E1"><v>-0</v></c><c r="F1" t="b"><v>1</v></c><c r="G1" t="b"><v>0</v></c>)"
                     R"(<c r="H1" t="e"><v>#DIV/0!</v></c><c r="I1" t="str"><f>A1&amp;"x"</f><v>12.5x</v></c>)"
                     R"(<c r="J1" s="3"/><c r="K1"><v>abc</v></c></row>)",
                     "",
                     {{"A1", "12.5"}, {"B1", "100"}, {"C1", "100"}, {"D1", "0.30000000000000004"},
                      {"E1", "0"}, {"F1", "TRUE"}, {"G1", "FALSE"}, {"H1", "#DIV/0!"}, {"I1", "12.5x"},
                      {"J1", ""}, {"K1", "abc"}}},
        SheetXmlCase{"MissingReferencesFollowPosition",
                     R"(<row r="3"><c><v>1</v></c><c><v>2</v></c><c r="E3"><v>5</v></c><c><v>6</v></c></row>)"
                     R"(<row><c><v>7</v></c></row><row r="10"><c r="B10"><v>8</v></c></row>)",
                     "",
                     {{"A3", "1"}, {"B3", "2"}, {"C3", "" }, {"E3", "5"}, {"F3", "6"}, {"A4", "7"},
                      {"B10", "8"}}},
        SheetXmlCase{"CornersOfTheCopiedBlockAndBeyond",
                     R"(<row r="1"><c r="A1"><v>1</v></c><c r="BH1"><v>2</v></c><c r="BI1"><v>3</v></c></row>)"
                     R"(<row r="201"><c r="BH201"><v>4</v></c></row><row r="202"><c r="A202"><v>5</v></c></row>)",
                     "",
                     {{"A1", "1"}, {"BH1", "2"}, {"BI1", "3"}, {"BH201", "4"}, {"A202", "5"}}},
        SheetXmlCase{"PositionsOutsideTheSheetAreIgnored",
                     R"(<row r="1"><c r="XFE1"><v>1</v></c><c r="A1"><v>2</v></c><c r="Q"><v>3</v></c></row>)"
                     R"(<row r="1048577"><c><v>4</v></c></row><row r="0"><c><v>5</v></c></row>)"
                     R"(<row r="1048576"><c r="XFD1048576"><v>6</v></c></row>)",
                     "",
                     {{"A1", "2"}, {"B1", ""}, {"XFD1048576", "6"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XlsxPackage, PrefixedElementsAndAbsoluteTargetsAreRead) {
    test::TempDir dir;
    const auto path = dir.path() / "prefixed.xlsx";
    auto parts = test::workbookPackage({{"S", ""}});
    parts[1].second =
        std::string("<x:worksheet xmlns:x=\"") + test::kMainNs +
        "\"><x:sheetData><x:row r=\"2\"><x:c r=\"B2\" t=\"inlineStr\"><x:is><x:t>ok</x:t></x:is></x:c>"
        "</x:row></x:sheetData></x:worksheet>";
    ASSERT_TRUE(test::writeZip(path, parts));
    const WorkbookReadResult read = readXlsxFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(cellText(read.book.sheets[0], 2, 2), "ok");
}

// A workbook written by libxlsxwriter itself, not by the module's writer:
// two sheets, the second active, values at the corners of the block the
// import copies and just outside it.
TEST(XlsxFromLibxlsxwriter, SecondActiveSheetIsReadThroughTheInterface) {
    test::TempDir dir;
    const auto path = dir.path() / "two-sheets.xlsx";
    for (const bool constantMemory : {false, true}) {  // shared strings, then inline strings
        lxw_workbook_options options{};
        options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
        lxw_workbook* wb = workbook_new_opt(path.c_str(), &options);
        ASSERT_NE(wb, nullptr);
        lxw_worksheet* first = workbook_add_worksheet(wb, "Intro");
        lxw_worksheet* second = workbook_add_worksheet(wb, "Analyses");
        worksheet_write_string(first, 0, 0, "not this sheet", nullptr);
        worksheet_write_string(second, 0, 0, "Sample", nullptr);
        worksheet_write_number(second, 0, 1, 12.5, nullptr);
        worksheet_write_number(second, 0, 60, 7.0, nullptr);     // BI1
        worksheet_write_number(second, 200, 59, 0.1, nullptr);   // BH201
        worksheet_write_string(second, 201, 0, "below", nullptr);  // A202
        worksheet_activate(second);
        ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);

        const AppHandle app = createExcel();
        const auto book = openWorkbook(app, path);
        ASSERT_TRUE(book.ok()) << book.error;
        EXPECT_EQ(book.value->book.sheets[0].name, "Intro");
        EXPECT_EQ(book.value->book.sheets[1].name, "Analyses");
        const auto active = activeSheet(book.value);
        ASSERT_TRUE(active.ok());
        EXPECT_EQ(active.value.index, 1u);
        const std::vector<std::pair<std::pair<int, int>, std::string>> want = {
            {{1, 1}, "Sample"}, {{1, 2}, "12.5"}, {{1, 61}, "7"}, {{201, 60}, "0.1"},
            {{202, 1}, "below"}, {{2, 1}, ""}};
        for (const auto& [at, text] : want) {
            const auto cell = readCell(active.value, at.first, at.second);
            ASSERT_TRUE(cell.ok());
            EXPECT_EQ(cell.value, text) << at.first << "," << at.second << " constant memory " << constantMemory;
        }
        const auto first_ = firstSheet(book.value);
        ASSERT_TRUE(first_.ok());
        EXPECT_EQ(readCell(first_.value, 1, 1).value, "not this sheet");
    }
}

TEST(XlsxActiveTab, OutOfRangeFallsBackToTheFirstSheet) {
    test::TempDir dir;
    const auto path = dir.path() / "tab.xlsx";
    ASSERT_TRUE(test::writeZip(path, test::workbookPackage({{"A", test::worksheetXml("")}}, 5)));
    const WorkbookReadResult read = readXlsxFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(read.book.activeSheet, 0u);
}

TEST(XlsxLimits, OversizedPartIsRefusedAndExtraCellsIgnored) {
    test::TempDir dir;
    const auto path = dir.path() / "big.xlsx";
    std::string rows = "<row r=\"1\">";
    for (int c = 1; c <= 50; ++c) rows += "<c r=\"" + columnLetters(c) + "1\"><v>" + std::to_string(c) + "</v></c>";
    rows += "</row>";
    const std::string sheet = test::worksheetXml(rows);
    ASSERT_TRUE(test::writeZip(path, test::workbookPackage({{"A", sheet}})));

    WorkbookReadLimits small;
    small.maxPartBytes = sheet.size() - 1;
    const WorkbookReadResult refused = readXlsxFile(path, small);
    EXPECT_EQ(refused.error, err::kInvalidFileFormat);
    EXPECT_TRUE(refused.book.sheets.empty() || refused.book.sheets[0].cells.empty());

    WorkbookReadLimits fewCells;
    fewCells.maxCells = 10;
    const WorkbookReadResult capped = readXlsxFile(path, fewCells);
    ASSERT_TRUE(capped.ok()) << capped.message;
    EXPECT_EQ(capped.book.sheets[0].cells.size(), 10u);
    EXPECT_EQ(cellText(capped.book.sheets[0], 1, 10), "10");
    EXPECT_EQ(cellText(capped.book.sheets[0], 1, 11), "");
}

// Files that are not readable workbooks: each gives its error number.
struct BadFileCase {
    const char* name;
    int error;
    // Makes the file (or not) at the path inside a fresh folder.
    void (*make)(const std::filesystem::path& path);
};

void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

std::string validPackageBytes(const std::filesystem::path& scratch) {
    std::string rows;
    for (int r = 1; r <= 40; ++r)
        rows += "<row r=\"" + std::to_string(r) + "\"><c t=\"inlineStr\"><is><t>row " + std::to_string(r * 7919) +
                "</t></is></c><c><v>" + std::to_string(r * 1.37) + "</v></c></row>";
    test::writeZip(scratch, test::workbookPackage({{"S", test::worksheetXml(rows)}}));
    return test::readFile(scratch);
}

const BadFileCase kBadFiles[] = {
    {"Missing", err::kFileNotFound, [](const std::filesystem::path&) {}},
    {"MissingFolder", err::kPathNotFound, nullptr},  // path is redirected below
    {"Folder", err::kPathFileAccessError,
     [](const std::filesystem::path& p) { std::filesystem::create_directory(p); }},
    {"Empty", err::kInvalidFileFormat, [](const std::filesystem::path& p) { test::writeFile(p, ""); }},
    {"TextRenamed", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) { test::writeFile(p, "Sample\tSiO2\n1\t0.12\n"); }},
    {"Truncated", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) {
         const std::string bytes = validPackageBytes(p.string() + ".src");
         test::writeFile(p, bytes.substr(0, bytes.size() / 2));
     }},
    {"CorruptData", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) {
         std::string bytes = validPackageBytes(p.string() + ".src");
         // Damage the compressed data of the first part, after its header.
         for (std::size_t i = 60; i < 90 && i < bytes.size(); ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
         test::writeFile(p, bytes);
     }},
    {"ZipWithoutWorkbook", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) { test::writeZip(p, {{"readme.txt", "hello"}}); }},
    {"WorkbookNotXml", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) {
         auto parts = test::workbookPackage({{"S", test::worksheetXml("")}});
         for (auto& [name, content] : parts)
             if (name == "xl/workbook.xml") content = "<workbook><sheets><sheet";
         test::writeZip(p, parts);
     }},
    {"SheetPartMissing", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) {
         auto parts = test::workbookPackage({{"S", test::worksheetXml("")}});
         std::erase_if(parts, [](const auto& part) { return part.first == "xl/worksheets/sheet1.xml"; });
         test::writeZip(p, parts);
     }},
    {"SheetNotXml", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) {
         test::writeZip(p, test::workbookPackage({{"S", "<worksheet><sheetData><row><c><v>1</v>"}}));
     }},
    {"OleHeaderOnly", err::kInvalidFileFormat,
     [](const std::filesystem::path& p) {
         test::writeFile(p, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'));
     }},
};

class UnreadableWorkbook : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(UnreadableWorkbook, OpenFailsWithItsNumber) {
    const auto& c = GetParam();
    test::TempDir dir;
    auto path = dir.path() / "input.xlsx";
    if (c.make) c.make(path);
    else path = dir.path() / "no-such-folder" / "input.xlsx";

    const WorkbookReadResult read = readWorkbookFile(path);
    EXPECT_EQ(read.error, c.error) << read.message;

    const AppHandle app = createExcel();
    const auto book = openWorkbook(app, path);
    EXPECT_EQ(book.error, c.error);
    EXPECT_EQ(book.value, nullptr);
    EXPECT_TRUE(app->workbooks.empty());
    // Everything done with the missing workbook fails in the same way.
    const auto sheet = firstSheet(book.value);
    EXPECT_EQ(sheet.error, err::kObjectRequired);
    EXPECT_EQ(readCell(sheet.value, 1, 1).error, err::kObjectRequired);
    EXPECT_EQ(writeCell(sheet.value, 1, 1, "x"), err::kObjectRequired);
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadableWorkbook, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WorkbookKind, ChosenByContentNotByName) {
    test::TempDir dir;
    const auto disguised = dir.path() / "analyses.xls";  // an .xlsx package under an .xls name
    ASSERT_TRUE(test::writeZip(disguised, test::workbookPackage(
        {{"S", test::worksheetXml(R"(<row r="1"><c r="A1"><v>3.5</v></c></row>)")}})));
    EXPECT_EQ(workbookFileKind(disguised), WorkbookFileKind::Xlsx);
    const WorkbookReadResult read = readWorkbookFile(disguised);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(cellText(read.book.sheets[0], 1, 1), "3.5");
}

}  // namespace
}  // namespace qarv
