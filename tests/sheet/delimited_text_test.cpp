// The streaming reader of CSV, TSV and analysis-file text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheet/delimited_text.h"

namespace qarv {
namespace {

using Records = std::vector<std::vector<std::string>>;

struct Read {
    Records records;
    std::vector<std::size_t> lines;
    std::string error;
};

Read readAll(std::string_view bytes, DelimitedFormat format, DelimitedLimits limits = {}) {
    Read out;
    DelimitedReader reader;
    if (reader.openBytes(bytes, format, limits)) {
        while (reader.next()) {
            std::vector<std::string> fields;
            for (std::size_t i = 0; i < reader.fieldCount(); ++i) {
                fields.push_back(reader.fieldText(i));
            }
            out.records.push_back(fields);
            out.lines.push_back(reader.line());
        }
    }
    out.error = reader.error();
    return out;
}

struct Case {
    const char* name;
    std::string bytes;
    DelimitedFormat format;
    Records want;
    std::vector<std::size_t> lines;
};

TEST(DelimitedReader, ReadsRecordsAsWritten) {
    const auto csv = DelimitedFormat::Csv;
    const auto tsv = DelimitedFormat::Tsv;
    const auto dor = DelimitedFormat::AnalysisFile;
    const std::vector<Case> cases = {
        {"LF line ends", "a,b\n1,2\n", csv, {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"CR LF and no final line end", "a,b\r\n1,2", csv, {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"lone CR", "a\r1\r", csv, {{"a"}, {"1"}}, {1, 2}},
        {"BOM dropped", "\xEF\xBB\xBFSiO2,FeO\n", csv, {{"SiO2", "FeO"}}, {1}},
        {"quoted separator, quote and line breaks",
         "name,x\n\"a, \"\"b\"\"\r\nc\",1\nnext,2\n",
         csv,
         {{"name", "x"}, {"a, \"b\"\r\nc", "1"}, {"next", "2"}},
         {1, 2, 4}},
        {"empty fields and empty line",
         ",\n\n,,x\n",
         csv,
         {{"", ""}, {""}, {"", "", "x"}},
         {1, 2, 3}},
        {"quote inside an unquoted field is text", "a\"b,c\n", csv, {{"a\"b", "c"}}, {1}},
        {"text after a closing quote is kept", "\"ab\"c,d\n", csv, {{"abc", "d"}}, {1}},
        {"semicolons when the header has no comma",
         "a;b\n1,5;2\n",
         csv,
         {{"a", "b"}, {"1,5", "2"}},
         {1, 2}},
        {"tabs in TSV", "a\tb\n\"x\ty\"\t2\n", tsv, {{"a", "b"}, {"x\ty", "2"}}, {1, 2}},
        {"Windows-1252 where not UTF-8",
         "n\xE9,caf\xC3\xA9\n",
         csv,
         {{"n\xC3\xA9", "caf\xC3\xA9"}},
         {1}},
        {"analysis file",
         "\"a\t1\r\n\"\"q\"\"\t2\r\t\"\r\nignored",
         dor,
         {{"a", "1"}, {"\"q\"", "2"}, {"", ""}},
         {1, 2, 3}},
        {"analysis file bytes are Windows-1252",
         "\"Tr\xFCstedtite\"",
         dor,
         {{"Tr\xC3\xBCstedtite"}},
         {1}},
        {"empty input", "", csv, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read got = readAll(c.bytes, c.format);
        EXPECT_EQ(got.error, "");
        EXPECT_EQ(got.records, c.want);
        EXPECT_EQ(got.lines, c.lines);
    }
}

TEST(DelimitedReader, RecordsLongerThanTheBufferCrossItsEdgesIntact) {
    // A small record limit makes the buffer small, so records, quotes and
    // line ends fall across its edges.
    std::string bytes;
    Records want;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "s" + std::to_string(i) + std::string(i % 40, 'x');
        bytes += "\"" + name + ",\"\"\n\"," + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
        want.push_back({name + ",\"\n", std::to_string(i)});
    }
    DelimitedLimits limits;
    limits.maxRecordBytes = 100;
    const Read got = readAll(bytes, DelimitedFormat::Csv, limits);
    EXPECT_EQ(got.error, "");
    EXPECT_EQ(got.records, want);
    ASSERT_EQ(got.lines.size(), 300u);
    EXPECT_EQ(got.lines.back(), 599u);  // two lines per record
}

TEST(DelimitedReader, BadInputIsAnErrorWithItsLine) {
    struct Bad {
        const char* name;
        std::string bytes;
        DelimitedFormat format;
        std::string error;
    };
    const std::vector<Bad> cases = {
        {"unclosed quote", "a\nb\n\"c,d\n", DelimitedFormat::Csv, "line 3: a quoted field"},
        {"UTF-16",
         "\xFF\xFE"
         "a\0,\0",
         DelimitedFormat::Csv, "UTF-16"},
        {"no opening quote", "a\tb", DelimitedFormat::AnalysisFile, "does not start with"},
        {"no closing quote", "\"a\tb\r", DelimitedFormat::AnalysisFile, "closing double quote"},
        {"empty analysis file", "", DelimitedFormat::AnalysisFile, "empty"},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        const Read got = readAll(c.bytes, c.format);
        EXPECT_NE(got.error.find(c.error), std::string::npos) << got.error;
    }

    DelimitedLimits limits;
    limits.maxRecordBytes = 64;
    limits.maxFields = 3;
    EXPECT_NE(readAll("a,b,c,d\n", DelimitedFormat::Csv, limits).error.find("more than 3 fields"),
              std::string::npos);
    const Read tooLong =
        readAll("ok\n" + std::string(200, 'x') + "\n", DelimitedFormat::Csv, limits);
    EXPECT_EQ(tooLong.records, (Records{{"ok"}}));
    EXPECT_NE(tooLong.error.find("line 2: a record longer than"), std::string::npos)
        << tooLong.error;
}

}  // namespace
}  // namespace qarv
