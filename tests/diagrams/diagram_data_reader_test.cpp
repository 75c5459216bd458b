// Reading the diagram data files back: numbers in every regional form the
// run writes, sample names with blanks, Windows-1252, CR LF, and files that
// are empty, damaged or hostile.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "diagrams/diagram_data_files.h"
#include "diagrams/diagram_data_reader.h"
#include "results/number_format.h"
#include "test_support.h"

namespace qarv {
namespace {

TEST(DataNumbers, EveryFormTheRunWritesReadsBack) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0.1113", 0.1113},
        {"0,1113", 0.1113},
        {"42.5268501675065", 42.5268501675065},
        {"1,234.567", 1234.567},
        {"1.234,567", 1234.567},
        {"1'234.5", 1234.5},
        {"12,345,678.9", 12345678.9},
        {"-0,5", -0.5},
        {"-12", -12},
        {"0", 0},
        {"1,5E+17", 1.5e17},
        {"1.5E+17", 1.5e17},
        {"2E+15", 2e15},
        {"0,000001234", 0.000001234},
        // Windows-1252 no-break space as digit-group character.
        {"1\xA0"
         "234,5",
         1234.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double v = -999;
        ASSERT_TRUE(parseDataNumber(c.text, v));
        EXPECT_DOUBLE_EQ(v, c.value);
    }
}

TEST(DataNumbers, TextsThatAreNoNumberAreRefused) {
    for (const char* text :
         {"", "-", "abc", "1.2.3", "1,,2", ",5", "5,", "1,23,456.7", "1234,567.8", "1.234.567",
          "1e", "1E+", "1E+x", "nan", "inf", "--1", "1-2", "0x10", "1.5.E3"}) {
        SCOPED_TRACE(text);
        double v = 0;
        EXPECT_FALSE(parseDataNumber(text, v));
    }
}

TEST(DataNumbers, ValuesWrittenByTheRunsFormattingReadBackForEverySetting) {
    const NumberFormatSettings settings[] = {{",", "."}, {".", ","}, {"\xC2\xA0", ","}, {"", "."}};
    const double values[] = {0, 0.1113, -0.00042, 1.5, 12.3456, 1234.5678, 98765.4321, 1.5e17};
    for (const NumberFormatSettings& s : settings) {
        for (double v : values) {
            for (NumberForm form :
                 {NumberForm::F2, NumberForm::F3, NumberForm::F4, NumberForm::Plain}) {
                // The file holds Windows-1252 bytes.
                const std::string line = printZoneLine({{formatNumber(v, form, s)}});
                const std::string text = line.substr(0, line.size() - 2);
                SCOPED_TRACE(text);
                double back = 0;
                ASSERT_TRUE(parseDataNumber(text, back));
                EXPECT_DOUBLE_EQ(back, readFormatted(formatNumber(v, form, s), s));
            }
        }
    }
}

// Lines as the run lays them out, with "," as decimal character and "." as
// digit-group character.
std::string commaFile() {
    const NumberFormatSettings s{".", ","};
    std::string file = printZoneLine({{"SampleNo"}, {"Fe3+"}, {"Cr"}, {"Al"}});
    auto line = [&](const std::string& name, double a, double b, double c) {
        return printZoneLine({{name},
                              {formatNumber(a, NumberForm::F4, s)},
                              {formatNumber(b, NumberForm::F4, s)},
                              {formatNumber(c, NumberForm::Plain, s), true, c < 0}});
    };
    file += line("CHR-01 core", 0.1113, 1.4536, 0.41834);
    file += line("Sample with  two blanks and a long name", 1234.5, 0, -0.25);
    file += line("Trüstedtite 3", 0.5, 0.25, 0.25);
    file += line("", 1, 2, 3);
    return file;
}

TEST(DataFiles, CommaDecimalsBlankNamesAndWindows1252ReadAsWritten) {
    const DataReadResult r = parseDiagramData(commaFile());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.data.titles, (std::vector<std::string>{"Fe3+", "Cr", "Al"}));
    EXPECT_TRUE(r.data.warnings.empty());
    ASSERT_EQ(r.data.points.size(), 4u);
    EXPECT_EQ(r.data.points[0].name, "CHR-01 core");
    EXPECT_EQ(r.data.points[0].values, (std::vector<double>{0.1113, 1.4536, 0.41834}));
    EXPECT_EQ(r.data.points[1].name, "Sample with  two blanks and a long name");
    EXPECT_EQ(r.data.points[1].values, (std::vector<double>{1234.5, 0, -0.25}));
    EXPECT_EQ(r.data.points[2].name, "Trüstedtite 3");
    EXPECT_EQ(r.data.points[3].name, "");
    EXPECT_EQ(r.data.points[3].values, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(r.data.points[0].line, 2);
    EXPECT_EQ(r.data.points[3].line, 5);
}

TEST(DataFiles, LfAndLoneCrLineEndsAndAMissingLastLineEnd) {
    const std::string lf = "SampleNo  X  Y\nA 1 2\nB 3 4";
    const std::string cr = "SampleNo  X  Y\rA 1 2\rB 3 4\r";
    for (const std::string& text : {lf, cr}) {
        const DataReadResult r = parseDiagramData(text);
        ASSERT_TRUE(r.ok()) << r.error;
        ASSERT_EQ(r.data.points.size(), 2u);
        EXPECT_EQ(r.data.points[1].name, "B");
        EXPECT_EQ(r.data.points[1].values, (std::vector<double>{3, 4}));
        EXPECT_EQ(r.data.points[1].line, 3);
    }
}

TEST(DataFiles, AHeaderOnlyFileHoldsNoPoints) {
    const DataReadResult r =
        parseDiagramData(printZoneLine({{"SampleNo"}, {"Cu"}, {"Co"}, {"Ni"}}));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.data.titles.size(), 3u);
    EXPECT_TRUE(r.data.points.empty());
}

TEST(DataFiles, DamagedLinesAreSkippedWithTheirLineNumber) {
    std::string text = "SampleNo      X             Y\r\n";
    text += "good          1             2\r\n";
    text += "short         1\r\n";  // "short" would be the first value
    text += "word          1             two\r\n";
    text += std::string(kMaxDataLineBytes + 10, 'z') + " 1 2\r\n";
    text += "\r\n";
    text += "good too      3             4\r\n";
    const DataReadResult r = parseDiagramData(text);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.data.points.size(), 2u);
    EXPECT_EQ(r.data.points[0].name, "good");
    EXPECT_EQ(r.data.points[1].name, "good too");
    EXPECT_EQ(r.data.points[1].line, 7);
    EXPECT_EQ(r.data.skippedLines, 3u);
    ASSERT_EQ(r.data.warnings.size(), 3u);
    EXPECT_EQ(r.data.warnings[0], "line 3: \"short\" is not a number");
    EXPECT_EQ(r.data.warnings[1], "line 4: \"two\" is not a number");
    EXPECT_EQ(r.data.warnings[2], "line 5: longer than 4096 characters");
}

TEST(DataFiles, WarningsAreCappedButEverySkippedLineIsCounted) {
    std::string text = "SampleNo X\n";
    for (int i = 0; i < 5000; ++i) text += "name x\n";
    const DataReadResult r = parseDiagramData(text);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.data.skippedLines, 5000u);
    EXPECT_EQ(r.data.warnings.size(), kMaxDataWarnings);
    EXPECT_TRUE(r.data.points.empty());
}

TEST(DataFiles, SamplesBeyondTheLimitAreSkipped) {
    std::string text = "SampleNo X\n";
    for (std::size_t i = 0; i < kMaxDataPoints + 3; ++i) text += "s 1\n";
    const DataReadResult r = parseDiagramData(text);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.data.points.size(), kMaxDataPoints);
    EXPECT_EQ(r.data.skippedLines, 3u);
    ASSERT_FALSE(r.data.warnings.empty());
    EXPECT_NE(r.data.warnings[0].find("more than 100000 samples"), std::string::npos);
}

TEST(DataFiles, FilesWithoutAHeaderAreRefused) {
    struct Case {
        std::string name;
        std::string bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"zero bytes", "", "empty: no header line"},
        {"blank lines only", "\r\n  \r\n", "empty: no header line"},
        {"data without header", "CHR-01 1 2\r\n", "no header line"},
        {"header without titles", "SampleNo\r\n", "no header line"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11), "not a text file"},
        {"huge first line", std::string(kMaxDataLineBytes + 1, 'S'), "no header line"},
        {"too many columns",
         "SampleNo c1 c2 c3 c4 c5 c6 c7 c8 c9 c10 c11 c12 c13 c14 c15 c16 c17\r\n",
         "more than 16 columns"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DataReadResult r = parseDiagramData(c.bytes);
        ASSERT_FALSE(r.ok());
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
    }
}

TEST(DataFiles, FilesOnDiskAreReadWithinBounds) {
    test::TempDir dir;
    EXPECT_EQ(readDiagramDataFile(dir.path() / "MgFeCrAl100.dat").error,
              "'MgFeCrAl100.dat' not found");
    EXPECT_NE(readDiagramDataFile(dir.path()).error.find("is not a file"), std::string::npos);

    test::writeFile(dir.path() / "ok.dat", commaFile());
    const DataReadResult ok = readDiagramDataFile(dir.path() / "ok.dat");
    ASSERT_TRUE(ok.ok()) << ok.error;
    EXPECT_EQ(ok.data.points.size(), 4u);

    // A sparse file far beyond the limit is refused before it is read.
    const auto huge = dir.path() / "huge.dat";
    test::writeFile(huge, "SampleNo X\r\n");
    std::filesystem::resize_file(huge, std::uintmax_t{4} << 30);
    const DataReadResult big = readDiagramDataFile(huge);
    EXPECT_NE(big.error.find("'huge.dat': larger than 16 MB"), std::string::npos) << big.error;
}

}  // namespace
}  // namespace qarv
