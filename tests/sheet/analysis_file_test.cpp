// Analysis files (.dor): the sheet's data area as one quoted block text in
// Windows-1252, then CR LF. Saving and opening must give back every cell as
// typed; files that are not analysis files are refused with a reason and
// leave the sheet exactly as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "sheet/analysis_file.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

// The bytes of a file holding `rows` rows of 60 cells, all empty.
std::string emptyFileBytes(int rows) {
    std::string bytes = "\"";
    for (int r = 0; r < rows; ++r) {
        if (r > 0) bytes += '\r';
        bytes += std::string(59, '\t');
    }
    bytes += "\"\r\n";
    return bytes;
}

AnalysisSheet laidOutSheet() {
    AnalysisSheet sheet;
    sheet.capCell();
    return sheet;
}

// Every cell of the sheet, for checking that a refused file changed nothing.
std::vector<std::string> allTexts(const AnalysisSheet& sheet) {
    std::vector<std::string> texts;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        for (int c = 0; c < sheet.columnCount(); ++c) texts.push_back(sheet.text(r, c));
    }
    return texts;
}

TEST(AnalysisFileSave, EmptySheetIsExactly12003Bytes) {
    test::TempDir dir;
    AnalysisSheet sheet = laidOutSheet();
    const fs::path path = dir.path() / "empty.dor";
    std::string error;
    ASSERT_TRUE(writeAnalysisFile(path, sheet, &error)) << error;
    const std::string bytes = test::readFile(path);
    EXPECT_EQ(bytes.size(), 12003u);
    EXPECT_EQ(bytes, emptyFileBytes(200));
    // Saving leaves the whole data area selected with (1, 1) current.
    EXPECT_EQ(sheet.currentCell(), (CellPos{1, 1}));
    EXPECT_EQ(sheet.selection(), (Region{1, 1, 200, 60}));
}

TEST(AnalysisFileSave, NewSheetEmptiesTheSheetAndTheTemplateHoldsTheEmptyForm) {
    AnalysisSheet sheet = laidOutSheet();
    sheet.setText(3, 3, "0.12");
    sheet.setText(0, 60, "typed into the header");
    sheet.insertRow(4);
    newSheet(sheet);
    EXPECT_EQ(sheet.rowCount(), 201);
    EXPECT_EQ(sheet.text(3, 3), "");
    EXPECT_EQ(sheet.text(0, 60), "");
    EXPECT_EQ(sheet.text(0, 5), "Al2O3");
    EXPECT_EQ(sheet.text(4, 0), "4");

    test::TempDir dir;
    const fs::path path = dir.path() / std::string(kGridTemplateFileName);
    ASSERT_TRUE(writeAnalysisFile(path, sheet));
    EXPECT_EQ(test::readFile(path), emptyFileBytes(200));
}

TEST(AnalysisFileSave, WritesCellsVerbatimInWindows1252) {
    AnalysisSheet sheet = laidOutSheet();
    sheet.setText(1, 1, "Grain 1, core");
    sheet.setText(1, 2, "0.05");
    sheet.setText(2, 60, "end");
    sheet.setText(1, 26, "Müller-€");
    const std::string bytes = analysisFileBytes(sheet.getClip(sheet.dataArea()));
    const std::string row1 = "\"Grain 1, core\t0.05" + std::string(24, '\t') + "M\xFCller-\x80" +
                             std::string(34, '\t') + "\r" + std::string(59, '\t') + "end\r";
    EXPECT_EQ(bytes.substr(0, row1.size()), row1);
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "\"\r\n");
}

TEST(AnalysisFileRoundTrip, SaveThenOpenRestoresEveryDataCell) {
    test::TempDir dir;
    AnalysisSheet saved = laidOutSheet();
    const std::vector<std::string> samples = {
        "  12.5 ", "12,5", "007", "1 234,5", "Sample, rim #2", "Trüstedtite", "µm-scale ±0.2",
        "Ÿ…€",     "",     " ",   "abc",     "-0.000",         "1E+15"};
    int i = 0;
    for (int r = 1; r <= 200; r += 13) {
        for (int c = 1; c <= 60; c += 4) {
            saved.setText(r, c, samples[i++ % samples.size()]);
        }
    }
    saved.setText(200, 60, "last");
    const fs::path path = dir.path() / "round.dor";
    ASSERT_TRUE(writeAnalysisFile(path, saved));

    AnalysisSheet opened = laidOutSheet();
    for (int r = 1; r <= 200; ++r) {
        for (int c = 1; c <= 60; ++c) opened.setText(r, c, "stale");
    }
    const AnalysisFileText file = openAnalysisFile(opened, path);
    ASSERT_TRUE(file.ok) << file.error;
    for (int r = 0; r <= 200; ++r) {
        for (int c = 0; c <= 60; ++c) {
            ASSERT_EQ(opened.text(r, c), saved.text(r, c)) << r << "," << c;
        }
    }
}

TEST(AnalysisFileRoundTrip, CharactersOutsideTheCodePageComeBackAsQuestionMarks) {
    test::TempDir dir;
    AnalysisSheet saved = laidOutSheet();
    saved.setText(1, 1, "Ω-phase → Fe");
    const fs::path path = dir.path() / "greek.dor";
    ASSERT_TRUE(writeAnalysisFile(path, saved));
    AnalysisSheet opened = laidOutSheet();
    ASSERT_TRUE(openAnalysisFile(opened, path).ok);
    EXPECT_EQ(opened.text(1, 1), "?-phase ? Fe");
}

TEST(AnalysisFileRoundTrip, AFileOfAnyBytesIsSavedBackByteForByte) {
    // A file made elsewhere, with every byte except the separators and the
    // quote in one cell (the undefined bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D
    // included), comes out of open and save unchanged.
    std::string cell;
    for (int b = 0; b < 256; ++b) {
        if (b != '\t' && b != '\r' && b != '\n' && b != '"') cell.push_back(static_cast<char>(b));
    }
    std::string bytes = emptyFileBytes(200);
    bytes.insert(1 + 59 + 1 + 4, cell);  // row 2, column 5
    test::TempDir dir;
    const fs::path in = dir.path() / "any.dor";
    const fs::path out = dir.path() / "again.dor";
    test::writeFile(in, bytes);

    AnalysisSheet sheet = laidOutSheet();
    ASSERT_TRUE(openAnalysisFile(sheet, in).ok);
    EXPECT_EQ(sheet.text(2, 5), decodeWindows1252(cell));
    ASSERT_TRUE(writeAnalysisFile(out, sheet));
    EXPECT_EQ(test::readFile(out), bytes);
}

TEST(AnalysisFileOpen, ReadsTheTextBetweenTheQuotesAndIgnoresWhatFollows) {
    const AnalysisFileText file = parseAnalysisFile("\"a\tb\rc\"trailing text\r\n\"more\"\r\n");
    ASSERT_TRUE(file.ok) << file.error;
    EXPECT_EQ(file.blockText, "a\tb\rc");

    const AnalysisFileText decoded = parseAnalysisFile("\"Tr\xFCstedtite\t\x80\"");
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.blockText, "Trüstedtite\t€");

    const AnalysisFileText empty = parseAnalysisFile("\"\"");
    ASSERT_TRUE(empty.ok);
    EXPECT_EQ(empty.blockText, "");
}

TEST(AnalysisFileQuotes, ADoubleQuoteInACellSurvivesSaveAndOpen) {
    // A quote in a cell is stored doubled, so it neither ends the block nor
    // loses the cells after it; sample names such as 5" core are kept.
    test::TempDir dir;
    AnalysisSheet saved = laidOutSheet();
    saved.setText(1, 1, "Sample");
    saved.setText(1, 2, "ab\"cd");
    saved.setText(1, 3, "after");
    saved.setText(2, 1, "\"quoted\"");
    saved.setText(3, 1, "\"\"");
    const fs::path path = dir.path() / "quote.dor";
    ASSERT_TRUE(writeAnalysisFile(path, saved));
    const std::string bytes = test::readFile(path);
    EXPECT_NE(bytes.find("ab\"\"cd"), std::string::npos);
    EXPECT_EQ(bytes.size(), 12003u + 6 + 6 + 5 + 10 + 4);  // each quote written twice

    AnalysisSheet opened = laidOutSheet();
    opened.setText(1, 3, "old 3");
    ASSERT_TRUE(openAnalysisFile(opened, path).ok);
    EXPECT_EQ(opened.text(1, 1), "Sample");
    EXPECT_EQ(opened.text(1, 2), "ab\"cd");
    EXPECT_EQ(opened.text(1, 3), "after");
    EXPECT_EQ(opened.text(2, 1), "\"quoted\"");
    EXPECT_EQ(opened.text(3, 1), "\"\"");
}

TEST(AnalysisFileQuotes, AFileWithoutQuotesInCellsIsReadAsBefore) {
    // The closing quote is followed by CR LF, never by a second quote, so
    // files written before quotes were doubled read exactly as they did.
    const AnalysisFileText file = parseAnalysisFile("\"a\tb\rc\"\r\n");
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(file.blockText, "a\tb\rc");
    const AnalysisFileText doubled = parseAnalysisFile("\"5\"\" core\"\r\n");
    ASSERT_TRUE(doubled.ok);
    EXPECT_EQ(doubled.blockText, "5\" core");
    EXPECT_FALSE(parseAnalysisFile("\"unterminated\"\"").ok);
}

// Files that are not analysis files, and paths that are no file at all.
struct BadFile {
    const char* name;
    bool makeFolder;
    bool create;
    std::string bytes;
};

void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.name;
}

class AnalysisFileRefused : public ::testing::TestWithParam<BadFile> {};

TEST_P(AnalysisFileRefused, GivesAReasonAndLeavesTheSheetUnchanged) {
    const BadFile& bad = GetParam();
    test::TempDir dir;
    const fs::path path = dir.path() / "input.dor";
    if (bad.makeFolder) fs::create_directory(path);
    if (bad.create) test::writeFile(path, bad.bytes);

    AnalysisSheet sheet = laidOutSheet();
    for (int r = 1; r <= 200; r += 11) sheet.setText(r, 5, "Al " + std::to_string(r));
    sheet.setText(200, 60, "kept");
    const std::vector<std::string> before = allTexts(sheet);

    const AnalysisFileText file = openAnalysisFile(sheet, path);
    EXPECT_FALSE(file.ok);
    EXPECT_FALSE(file.error.empty());
    EXPECT_TRUE(allTexts(sheet) == before);

    const AnalysisFileText read = readAnalysisFile(path);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, file.error);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AnalysisFileRefused,
    ::testing::Values(BadFile{"Missing", false, false, ""}, BadFile{"Empty", false, true, ""},
                      BadFile{"NoLeadingQuote", false, true, "a\tb\tc\r\n1\t2\t3\r\n"},
                      BadFile{"LeadingBlankBeforeTheQuote", false, true, " \"a\tb\"\r\n"},
                      BadFile{"MissingClosingQuote", false, true, "\"a\tb\rc\td\r\n"},
                      BadFile{"OnlyAnOpeningQuote", false, true, "\""},
                      BadFile{"Folder", true, false, ""}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return info.param.name; });

TEST(AnalysisFileRefused, EachKindOfFileHasItsOwnReason) {
    // The reason is what the user reads: an empty file, a foreign file, a
    // cut-off file and a folder must not all be told the same thing.
    test::TempDir dir;
    test::writeFile(dir.path() / "empty.dor", "");
    test::writeFile(dir.path() / "foreign.dor", "x");
    test::writeFile(dir.path() / "cut.dor", "\"x");
    fs::create_directory(dir.path() / "folder.dor");
    const std::vector<std::string> reasons = {readAnalysisFile(dir.path() / "missing.dor").error,
                                              readAnalysisFile(dir.path() / "empty.dor").error,
                                              readAnalysisFile(dir.path() / "foreign.dor").error,
                                              readAnalysisFile(dir.path() / "cut.dor").error,
                                              readAnalysisFile(dir.path() / "folder.dor").error};
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        for (std::size_t j = i + 1; j < reasons.size(); ++j) {
            EXPECT_NE(reasons[i], reasons[j]) << i << " and " << j;
        }
    }
}

TEST(AnalysisFileOpen, OpeningLaysOutTheSheetEvenWhenTheFileIsMissing) {
    test::TempDir dir;
    AnalysisSheet sheet = laidOutSheet();
    sheet.setText(0, 5, "overwritten");
    sheet.setText(5, 5, "30.1");
    sheet.insertRow(1);
    EXPECT_FALSE(openAnalysisFile(sheet, dir.path() / "missing.dor").ok);
    EXPECT_EQ(sheet.rowCount(), 201);
    EXPECT_EQ(sheet.text(0, 5), "Al2O3");
    EXPECT_EQ(sheet.text(6, 5), "30.1");
}

TEST(AnalysisFileOpen, AFileWithFewerRowsLeavesTheLastRowsAsTheyWere) {
    test::TempDir dir;
    AnalysisSheet shorter = laidOutSheet();
    shorter.removeRow(1);
    shorter.removeRow(1);  // 198 data rows
    for (int r = 1; r <= 198; ++r) shorter.setText(r, 1, "file " + std::to_string(r));
    const fs::path path = dir.path() / "short.dor";
    ASSERT_TRUE(writeAnalysisFile(path, shorter));
    std::string want = "\"";
    for (int r = 1; r <= 198; ++r) {
        if (r > 1) want += '\r';
        want += "file " + std::to_string(r) + std::string(59, '\t');
    }
    want += "\"\r\n";
    EXPECT_EQ(test::readFile(path), want);

    AnalysisSheet sheet = laidOutSheet();
    for (int r = 1; r <= 200; ++r) {
        sheet.setText(r, 1, "sheet " + std::to_string(r));
        sheet.setText(r, 2, "x");
    }
    ASSERT_TRUE(openAnalysisFile(sheet, path).ok);
    EXPECT_EQ(sheet.text(1, 1), "file 1");
    EXPECT_EQ(sheet.text(198, 1), "file 198");
    EXPECT_EQ(sheet.text(198, 2), "");
    EXPECT_EQ(sheet.text(199, 1), "sheet 199");
    EXPECT_EQ(sheet.text(200, 1), "sheet 200");
    EXPECT_EQ(sheet.text(200, 2), "x");
}

TEST(AnalysisFileOpen, AFileWithMoreRowsLoadsOnlyRowsOneTo200) {
    test::TempDir dir;
    AnalysisSheet longer = laidOutSheet();
    longer.insertRow(1);  // 201 data rows
    for (int r = 1; r <= 201; ++r) longer.setText(r, 1, "r" + std::to_string(r));
    const fs::path path = dir.path() / "long.dor";
    ASSERT_TRUE(writeAnalysisFile(path, longer));
    const std::string bytes = test::readFile(path);
    const std::string tail = "\rr201" + std::string(59, '\t') + "\"\r\n";
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);

    AnalysisSheet sheet = laidOutSheet();
    ASSERT_TRUE(openAnalysisFile(sheet, path).ok);
    EXPECT_EQ(sheet.rowCount(), 201);
    EXPECT_EQ(sheet.text(1, 1), "r1");
    EXPECT_EQ(sheet.text(200, 1), "r200");
}

TEST(AnalysisFileOpen, ALineFeedAfterEachCarriageReturnIsPartOfTheRowBreak) {
    // A file edited by a program that wrote CR LF row breaks loads the same.
    test::TempDir dir;
    const fs::path path = dir.path() / "crlf.dor";
    test::writeFile(path, "\"Chr 1\t0.1\t0.2\r\nChr 2\t0.3\r\n\t\t\t12.5\"\r\n");
    AnalysisSheet sheet = laidOutSheet();
    ASSERT_TRUE(openAnalysisFile(sheet, path).ok);
    EXPECT_EQ(sheet.text(1, 1), "Chr 1");
    EXPECT_EQ(sheet.text(1, 3), "0.2");
    EXPECT_EQ(sheet.text(2, 1), "Chr 2");
    EXPECT_EQ(sheet.text(2, 2), "0.3");
    EXPECT_EQ(sheet.text(3, 4), "12.5");
    EXPECT_EQ(sheet.text(3, 1), "");
}

TEST(AnalysisFileSave, AFailedSaveReportsWhyAndLeavesNoFile) {
    test::TempDir dir;
    AnalysisSheet sheet = laidOutSheet();
    std::string error;
    EXPECT_FALSE(writeAnalysisFile(dir.path() / "missing" / "a.dor", sheet, &error));
    EXPECT_FALSE(error.empty());
    test::writeFile(dir.path() / "file", "x");
    error.clear();
    EXPECT_FALSE(writeAnalysisFile(dir.path() / "file" / "a.dor", sheet, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
}

TEST(AnalysisFileSave, SavingOverAnExistingFileReplacesIt) {
    test::TempDir dir;
    const fs::path path = dir.path() / "a";  // a name typed without extension
    test::writeFile(path, std::string(50000, 'z'));
    AnalysisSheet sheet = laidOutSheet();
    ASSERT_TRUE(writeAnalysisFile(path, sheet));
    EXPECT_EQ(test::readFile(path), emptyFileBytes(200));
}

}  // namespace
}  // namespace qarv
