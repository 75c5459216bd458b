// Workbook files made to hurt the reader: bombs, absurd size claims, texts
// the .xls library misreads, and paths that are no files at all. Each ends
// with the documented fallback, error 321 (or the file error) and nothing
// read, quickly and within bounded memory.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "common/run_errors.h"
#include "package_fixtures.h"
#include "sheet/analysis_file.h"
#include "spreadsheet/workbook_file.h"
#include "spreadsheet/xls_format.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A package whose workbook lists `sheetCount` sheets, every one of them the
// same part.
test::PackageParts sameSheetManyTimes(int sheetCount, const std::string& sheetXml) {
    std::string workbook = std::string("<?xml version=\"1.0\"?><workbook xmlns=\"") +
                           test::kMainNs + "\" xmlns:r=\"" + kRel + "\"><sheets>";
    for (int i = 1; i <= sheetCount; ++i) {
        workbook += "<sheet name=\"S" + std::to_string(i) + "\" sheetId=\"" + std::to_string(i) +
                    "\" r:id=\"rId1\"/>";
    }
    workbook += "</sheets></workbook>";
    test::PackageParts parts = test::workbookPackage({{"S", sheetXml}});
    for (auto& [name, content] : parts) {
        if (name == "xl/workbook.xml") content = workbook;
    }
    return parts;
}

// Bytes of an .xls written by the program's own writer, for patching.
std::string xlsBytes(const Workbook& book, const fs::path& path) {
    std::string message;
    EXPECT_EQ(writeXlsFile(book, path, &message), 0) << message;
    return test::readFile(path);
}

// Overwrites the u32 at `offset` into the body of the first record of
// `type` with `length`.
void patchRecord(std::string& bytes, unsigned type, unsigned length, std::size_t offset,
                 std::uint32_t value) {
    const char head[4] = {static_cast<char>(type & 0xFF), static_cast<char>(type >> 8),
                          static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)};
    const std::size_t at = bytes.find(std::string(head, 4));
    ASSERT_NE(at, std::string::npos);
    for (int i = 0; i < 4; ++i)
        bytes[at + 4 + offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void expectRefused(const WorkbookReadResult& read, const std::string& why) {
    EXPECT_EQ(read.error, err::kInvalidFileFormat) << read.message;
    EXPECT_TRUE(read.book.sheets.empty()) << read.message;
    EXPECT_NE(read.message.find(why), std::string::npos) << read.message;
}

TEST(HostileXlsx, ManySheetsOfOneBigPartStopAtTheWholePackagesBudget) {
    test::TempDir dir;
    const auto path = dir.path() / "bomb.xlsx";
    // 1 MB of rows that deflate to almost nothing, named by 64 sheets.
    std::string rows;
    while (rows.size() < (1u << 20)) rows += "<row/>";
    ASSERT_TRUE(test::writeZip(path, sameSheetManyTimes(64, test::worksheetXml(rows))));
    EXPECT_LT(fs::file_size(path), 64u * 1024);
    WorkbookReadLimits limits;
    limits.maxTotalBytes = 16u << 20;
    const WorkbookReadResult read = readXlsxFile(path, limits);
    EXPECT_EQ(read.error, err::kInvalidFileFormat);
    EXPECT_NE(read.message.find("larger than the reader accepts"), std::string::npos)
        << read.message;
}

TEST(HostileXlsx, MoreSheetsThanTheReaderAcceptsAreRefusedUnread) {
    test::TempDir dir;
    const auto path = dir.path() / "sheets.xlsx";
    ASSERT_TRUE(test::writeZip(path, sameSheetManyTimes(5000, test::worksheetXml(""))));
    const WorkbookReadResult read = readXlsxFile(path);
    EXPECT_EQ(read.error, err::kInvalidFileFormat);
    EXPECT_NE(read.message.find("more sheets"), std::string::npos) << read.message;
}

TEST(HostileXlsx, APartWithMoreElementsThanAllowedIsRefused) {
    test::TempDir dir;
    const auto path = dir.path() / "elements.xlsx";
    std::string rows;
    for (int i = 0; i < 5000; ++i) rows += "<row/>";
    ASSERT_TRUE(test::writeZip(path, test::workbookPackage({{"S", test::worksheetXml(rows)}})));
    WorkbookReadLimits limits;
    limits.maxXmlElements = 1000;
    const WorkbookReadResult read = readXlsxFile(path, limits);
    EXPECT_EQ(read.error, err::kInvalidFileFormat);
    EXPECT_NE(read.message.find("more elements"), std::string::npos) << read.message;
}

TEST(HostileXlsx, DeepNestingAndAbsurdRowNumbersReadNothingAndDoNotCrash) {
    test::TempDir dir;
    const auto path = dir.path() / "deep.xlsx";
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<x>";
    for (int i = 0; i < 200000; ++i) deep += "</x>";
    const std::string rows =
        "<row r=\"1000000000\"><c r=\"A1000000000\"><v>1</v></c></row>"
        "<row r=\"-5\"><c><v>2</v></c></row>"
        "<row r=\"2\"><c r=\"XFE2\"><v>3</v></c><c r=\"ZZZZZZZZZZ2\"><v>4</v></c>" +
        deep + "</row><row r=\"3\"><c r=\"B3\"><v>5</v></c></row>";
    ASSERT_TRUE(test::writeZip(path, test::workbookPackage({{"S", test::worksheetXml(rows)}})));
    const WorkbookReadResult read = readXlsxFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(read.book.sheets[0].cells.size(), 1u);
    EXPECT_EQ(cellText(read.book.sheets[0], 3, 2), "5");
}

TEST(HostileXlsx, AHugeSharedStringTableKeepsNoMoreThanTheCellLimit) {
    test::TempDir dir;
    const auto path = dir.path() / "strings.xlsx";
    std::string items;
    for (int i = 0; i < 20000; ++i) items += "<si><t>s" + std::to_string(i) + "</t></si>";
    const std::string rows =
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>5</v></c>"
        "<c r=\"B1\" t=\"s\"><v>15000</v></c><c r=\"C1\" "
        "t=\"s\"><v>99999999999999999999</v></c></row>";
    ASSERT_TRUE(test::writeZip(path, test::workbookPackage({{"S", test::worksheetXml(rows)}}, 0,
                                                           test::sharedStringsXml(items))));
    WorkbookReadLimits limits;
    limits.maxCells = 1000;
    const WorkbookReadResult read = readXlsxFile(path, limits);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(cellText(read.book.sheets[0], 1, 1), "s5");
    EXPECT_EQ(cellText(read.book.sheets[0], 1, 2), "");  // beyond the strings kept
    EXPECT_EQ(cellText(read.book.sheets[0], 1, 3), "");
}

// FreeXL 1.0.6 reads past its buffer on a text spread over more than two
// records (found by the sanitizer build); such a file is refused before
// FreeXL sees it.
TEST(HostileXls, ATextOverMoreThanTwoRecordsIsRefusedBeforeFreeXlReadsIt) {
    const fs::path fixture =
        fs::path(QARVELION_TEST_DATA_DIR) / "hostile" / "text-over-three-records.xls";
    expectRefused(readXlsFile(fixture), "spread over 3 records");
    expectRefused(readWorkbookFile(fixture), "save the workbook as .xlsx");

    // Texts that fill two records are read whole.
    Workbook book;
    setCellText(book.addSheet("S"), 1, 1, std::string(8000, 'x'));
    test::TempDir dir;
    xlsBytes(book, dir.path() / "two.xls");
    const WorkbookReadResult read = readXlsFile(dir.path() / "two.xls");
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(cellText(read.book.sheets[0], 1, 1), std::string(8000, 'x'));
}

// Found by the fuzzer, each a damaged copy of a real workbook: records of
// 65535 bytes, longer than BIFF allows, made FreeXL copy past its buffer; a
// workbook stream whose globals lack their EOF record made FreeXL leak and
// fail later; sheets without their DIMENSION record made it leak their cell
// tables; a second string table inside a sheet made it read through a wild
// pointer; a number format claiming 65535 characters in a 12-byte record
// made it copy 128 KB from past its buffer. All are refused before FreeXL
// sees them.
TEST(HostileXls, DamagedRecordStructureIsRefused) {
    for (const char* name : {"freexl-overlong-record.xls", "freexl-missing-eof.xls",
                             "freexl-sheet-without-dimension.xls", "freexl-second-sst.xls",
                             "freexl-format-text-overrun.xls"}) {
        SCOPED_TRACE(name);
        expectRefused(readXlsFile(fs::path(QARVELION_TEST_DATA_DIR) / "hostile" / name),
                      "a damaged record");
    }
}

TEST(HostileXls, AbsurdSizeRecordsAreRefusedBeforeFreeXlAllocates) {
    test::TempDir dir;
    Workbook one;
    setCellText(one.addSheet("S"), 2, 2, "x");
    const std::string good = xlsBytes(one, dir.path() / "good.xls");
    ASSERT_TRUE(readXlsFile(dir.path() / "good.xls").ok());

    struct Case {
        const char* what;
        unsigned type, length;
        std::size_t offset;
        std::uint32_t value;
        const char* why;
    };
    const Case cases[] = {
        {"a billion rows", detail::kBiffDimension, 14, 4, 1000000000u, "claims 1000000000 rows"},
        {"all rows there are", detail::kBiffDimension, 14, 4, 0xFFFFFFFFu, "rows or"},
        {"two billion strings", detail::kBiffSst, 8 + 3 + 2, 4, 0x7FFFFFFFu, "a damaged record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        patchRecord(bytes, c.type, c.length, c.offset, c.value);
        const fs::path path = dir.path() / "patched.xls";
        test::writeFile(path, bytes);
        expectRefused(readXlsFile(path), c.why);
    }

    // Three sheets of the largest size: each is allowed, all three would
    // make FreeXL allocate some 800 MB.
    Workbook three;
    for (const char* name : {"A", "B", "C"}) setCellText(three.addSheet(name), 65536, 256, "x");
    xlsBytes(three, dir.path() / "three.xls");
    expectRefused(readXlsFile(dir.path() / "three.xls"), "more cells");
}

TEST(HostileXls, ADamagedCompoundFileIsRefused) {
    test::TempDir dir;
    Workbook one;
    setCellText(one.addSheet("S"), 1, 1, "x");
    std::string bytes = xlsBytes(one, dir.path() / "good.xls");
    // The FAT's first sector number points far beyond the file.
    for (int i = 0; i < 4; ++i) bytes[76 + i] = '\x7F';
    test::writeFile(dir.path() / "bad.xls", bytes);
    const WorkbookReadResult read = readXlsFile(dir.path() / "bad.xls");
    EXPECT_EQ(read.error, err::kInvalidFileFormat);
    EXPECT_TRUE(read.book.sheets.empty());
}

// Paths that name no regular file: a folder, a pipe nobody writes to (which
// would block a reader for ever), devices that never end or hold nothing.
TEST(HostileFiles, NoReaderOpensWhatIsNotARegularFile) {
    test::TempDir dir;
    const fs::path fifo = dir.path() / "pipe.xlsx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path folder = dir.path() / "folder.xls";
    fs::create_directory(folder);
    for (const fs::path& path : {fifo, folder, fs::path("/dev/zero"), fs::path("/dev/null")}) {
        SCOPED_TRACE(path.string());
        EXPECT_EQ(workbookFileKind(path), WorkbookFileKind::Unknown);
        for (const WorkbookReadResult& read :
             {readWorkbookFile(path), readXlsxFile(path), readXlsFile(path)}) {
            EXPECT_NE(read.error, 0);
            EXPECT_TRUE(read.book.sheets.empty());
        }
        const AnalysisFileText dor = readAnalysisFile(path);
        EXPECT_FALSE(dor.ok);
        EXPECT_FALSE(dor.error.empty());
    }
}

// Files far larger than any workbook or analysis file the program makes are
// refused by their size, before a byte is read into memory.
TEST(HostileFiles, OversizedFilesAreRefusedUnread) {
    test::TempDir dir;
    const fs::path dor = dir.path() / "huge.dor";
    test::writeFile(dor, "\"a\tb\"\r\n");
    fs::resize_file(dor, kMaxAnalysisFileBytes + 1);  // sparse: costs no disk
    const AnalysisFileText text = readAnalysisFile(dor);
    EXPECT_FALSE(text.ok);
    EXPECT_NE(text.error.find("larger"), std::string::npos) << text.error;

    Workbook one;
    setCellText(one.addSheet("S"), 1, 1, "x");
    const fs::path xls = dir.path() / "huge.xls";
    xlsBytes(one, xls);
    WorkbookReadLimits limits;
    limits.maxPartBytes = fs::file_size(xls) - 1;
    expectRefused(readXlsFile(xls, limits), "larger than the reader accepts");
}

}  // namespace
}  // namespace qarv
