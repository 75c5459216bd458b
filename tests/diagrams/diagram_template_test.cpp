// The plot templates: made from the catalogue without drift, written and
// read back unchanged, and refused with a clear reason when damaged.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "diagrams/diagram_catalogue.h"
#include "diagrams/diagram_data_files.h"
#include "diagrams/diagram_template.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

const DiagramDataFile* dataFileNamed(std::string_view name) {
    for (const DiagramDataFile& f : diagramDataFiles())
        if (f.fileName == name) return &f;
    return nullptr;
}

const DiagramEntry& entryFor(std::string_view templateFile) {
    for (const DiagramEntry& e : diagramCatalogue())
        if (e.templateFile == templateFile) return e;
    throw std::runtime_error("no catalogue entry " + std::string(templateFile));
}

TEST(TemplatesFromTheCatalogue, EveryTemplateNameHasPlottingFactsAndNoOthers) {
    EXPECT_EQ(plotFactsMismatches(), std::vector<std::string>{});
}

TEST(TemplatesFromTheCatalogue, EachTemplateCarriesItsEntryAndItsDataFilesColumns) {
    for (const DiagramEntry& e : diagramCatalogue()) {
        SCOPED_TRACE(std::string(e.templateFile));
        const DiagramTemplate t = templateForEntry(e);
        EXPECT_EQ(t.templateFile, e.templateFile);
        EXPECT_EQ(t.caption, e.caption);
        EXPECT_EQ(t.dataFile, e.dataFile);
        const DiagramDataFile* data = dataFileNamed(e.dataFile);
        ASSERT_NE(data, nullptr);
        ASSERT_EQ(t.dataColumns.size(), data->titles.size());
        for (std::size_t i = 0; i < data->titles.size(); ++i)
            EXPECT_EQ(t.dataColumns[i], data->titles[i]);

        // Axes and apexes use columns of the file, each triangle three
        // different ones, each binary diagram two.
        ASSERT_EQ(t.panels.size(), t.kind == PlotKind::TernaryPair ? 2u : 1u);
        const int columns = static_cast<int>(data->titles.size());
        for (const TemplatePanel& p : t.panels) {
            EXPECT_EQ(p.ternary, t.kind != PlotKind::Binary);
            if (p.ternary) {
                EXPECT_EQ(columns >= 3, true);
                for (const TemplateApex& a : p.apexes) {
                    EXPECT_GE(a.column, 1);
                    EXPECT_LE(a.column, columns);
                    EXPECT_FALSE(a.label.empty());
                }
                EXPECT_NE(p.apexes[0].column, p.apexes[1].column);
                EXPECT_NE(p.apexes[1].column, p.apexes[2].column);
                EXPECT_NE(p.apexes[0].column, p.apexes[2].column);
            } else {
                EXPECT_EQ(p.x.column, 1);
                EXPECT_EQ(p.y.column, 2);
                EXPECT_LT(p.x.min, p.x.max);
                EXPECT_LT(p.y.min, p.y.max);
                EXPECT_FALSE(p.x.title.empty());
                EXPECT_FALSE(p.y.title.empty());
            }
            // No field boundary without a named source; none are shipped.
            EXPECT_TRUE(p.fields.empty());
        }
        EXPECT_TRUE(t.fieldSource.empty());
    }
}

TEST(TemplatesFromTheCatalogue, EveryTemplateReadsBackAsWritten) {
    for (const DiagramEntry& e : diagramCatalogue()) {
        SCOPED_TRACE(std::string(e.templateFile));
        const DiagramTemplate t = templateForEntry(e);
        const TemplateParseResult back = parseTemplate(writeTemplate(t));
        ASSERT_TRUE(back.ok()) << back.error;
        EXPECT_EQ(back.diagram, t);
    }
}

TEST(TemplatesFromTheCatalogue, ApexesFollowTheCaptionsOrderTopLeftRight) {
    const DiagramTemplate stevens = templateForEntry(entryFor("Fe3CrAl_3.grf"));
    ASSERT_EQ(stevens.kind, PlotKind::Ternary);
    EXPECT_EQ(stevens.panels[0].apexes[0], (TemplateApex{1, "Fe³⁺"}));
    EXPECT_EQ(stevens.panels[0].apexes[1], (TemplateApex{2, "Cr"}));
    EXPECT_EQ(stevens.panels[0].apexes[2], (TemplateApex{3, "Al"}));

    // "Cu - Ni - Co and Fe - Co - Ni" over the columns Cu, Ni, Co, Fe.
    const DiagramTemplate pair = templateForEntry(entryFor("CuNiCoFets.grf"));
    ASSERT_EQ(pair.kind, PlotKind::TernaryPair);
    const auto columnsOf = [](const TemplatePanel& p) {
        return std::vector<int>{p.apexes[0].column, p.apexes[1].column, p.apexes[2].column};
    };
    EXPECT_EQ(columnsOf(pair.panels[0]), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(columnsOf(pair.panels[1]), (std::vector<int>{4, 3, 2}));
    EXPECT_EQ(pair.panels[1].apexes[0].label, "Fe");
}

TEST(TemplatesFromTheCatalogue, TheTwinDataFileThatIsNotPlottedIsNamed) {
    struct Case {
        std::string_view templateFile;
        std::string_view twin;  // empty: no note
    };
    const Case cases[] = {
        {"Fe3CrAl_3.grf", "Fe3CrAl3.dat"},
        {"Fe3CrAl_6.grf", "Fe3CrAl3.dat"},
        {"Fe3CrAlTiO2_1.grf", "FeCrAlTiO2.dat"},
        {"ZnFeMn.grf", "ZnFe2Mn.dat"},
        {"MgFeCrAl100_1.grf", ""},
        // Both files of these pairs have templates of their own.
        {"NiFe2Cots1.grf", ""},
        {"Fe2CuMg.grf", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.templateFile));
        const DiagramTemplate t = templateForEntry(entryFor(c.templateFile));
        if (c.twin.empty()) {
            EXPECT_TRUE(t.notes.empty());
        } else {
            ASSERT_EQ(t.notes.size(), 1u);
            EXPECT_NE(t.notes[0].find(std::string(c.twin)), std::string::npos) << t.notes[0];
            EXPECT_NE(t.notes[0].find("plots " + t.dataFile), std::string::npos) << t.notes[0];
        }
    }
}

TEST(TemplatesFromTheCatalogue, LogScalesWhereTheDiagramNeedsThem) {
    const DiagramTemplate k = templateForEntry(entryFor("Al2O3TiO2_1.grf"));
    EXPECT_EQ(k.panels[0].x.scale, AxisScale::Linear);
    EXPECT_EQ(k.panels[0].y.scale, AxisScale::Log);
    EXPECT_EQ(templateForEntry(entryFor("Al2O3Fe2Fe3_1.grf")).panels[0].y.scale, AxisScale::Log);
    EXPECT_EQ(templateForEntry(entryFor("MgFeCrAl100_1.grf")).panels[0].y.max, 100);
}

TEST(CaptionParts, NumberTitleAndSourceAreSeparated) {
    struct Case {
        std::string_view caption, number, title, source;
    };
    const Case cases[] = {
        {"[9]  100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al) [Irvine and Findlay (1972)]", "[9]",
         "100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al)", "Irvine and Findlay (1972)"},
        // Brackets without a year stay in the title; blanks are collapsed.
        {"[1]  Fe2+ - Cu - Mg Diagram   [B3+ = Al]   (Hercynite, Thermaerogenite, Spinel)", "[1]",
         "Fe2+ - Cu - Mg Diagram [B3+ = Al] (Hercynite, Thermaerogenite, Spinel)", ""},
        {"[2]  Zn - Fe2+ - Mn Diagram   [Stalder and Rozendaal (2005)]   (Franklinite, Magnetite, "
         "Jacobsite)",
         "[2]", "Zn - Fe2+ - Mn Diagram (Franklinite, Magnetite, Jacobsite)",
         "Stalder and Rozendaal (2005)"},
        {"[2]  Fe3+ - Cr - Al Diagram [Gawlick et al. (2020; see references therein for "
         "discrimination fields)]",
         "[2]", "Fe3+ - Cr - Al Diagram",
         "Gawlick et al. (2020; see references therein for discrimination fields)"},
        {"[1]  Ni - Fe - Co Diagram  ", "[1]", "Ni - Fe - Co Diagram", ""},
        {"[4]  Mg- Mn - V2+ Diagram    [B3+ = Al]]   (Spinel, Galaxite, Dellagiustaite)", "[4]",
         "Mg- Mn - V2+ Diagram [B3+ = Al]] (Spinel, Galaxite, Dellagiustaite)", ""},
        {"no number at all", "", "no number at all", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.caption));
        const CaptionParts parts = splitCaption(c.caption);
        EXPECT_EQ(parts.number, c.number);
        EXPECT_EQ(parts.title, c.title);
        EXPECT_EQ(parts.source, c.source);
    }
}

// A hand-made template using every feature of the format.
DiagramTemplate fullTemplate() {
    DiagramTemplate t;
    t.templateFile = "Test \"quoted\".grf";
    t.caption = "[1]  A \\ B  ";
    t.title = "A \\ B";
    t.source = "Nobody (2000)";
    t.kind = PlotKind::Binary;
    t.dataFile = "Test.dat";
    t.dataColumns = {"X", "Y(wt%)"};
    t.notes = {"first note", "tab\there"};
    t.fieldSource = "Nobody (2000), Fig. 3";
    TemplatePanel p;
    p.x = {1, "X", AxisScale::Linear, -0.5, 1e-3};
    p.y = {2, "Y (wt%)", AxisScale::Log, 0.001, 1234.5};
    p.fields.push_back({"Field A", {0.1, 0.2, 0}, {{0, 0.01, 0}, {0.3333333333333333, 1, 0}}});
    t.panels.push_back(p);
    return t;
}

TEST(TemplateFormat, AFullTemplateReadsBackAsWritten) {
    const DiagramTemplate t = fullTemplate();
    const TemplateParseResult back = parseTemplate(writeTemplate(t));
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.diagram, t);

    DiagramTemplate tri = templateForEntry(entryFor("CuNiCoFets.grf"));
    tri.fieldSource = "Somebody (1999)";
    tri.panels[1].fields.push_back({"", {1, 1, 1}, {{1, 0, 0}, {0, 0.5, 0.5}, {0.2, 0.3, 0.5}}});
    const TemplateParseResult triBack = parseTemplate(writeTemplate(tri));
    ASSERT_TRUE(triBack.ok()) << triBack.error;
    EXPECT_EQ(triBack.diagram, tri);
}

// Whatever the parser accepts writes back to a text it accepts again as the
// same template. The fixture is a template whose raw tabs inside a text are
// written back as escapes, which would lengthen its line past the limit.
TEST(TemplateFormat, AnAcceptedTemplateAlwaysReadsBackAsWritten) {
    const std::string text =
        test::readFile(std::string(QARVELION_TEST_DATA_DIR) + "/hostile/diagram-template-roundtrip.grf");
    ASSERT_FALSE(text.empty());
    const TemplateParseResult parsed = parseTemplate(text);
    if (!parsed.ok()) {
        EXPECT_NE(parsed.error.find("too long"), std::string::npos) << parsed.error;
        return;
    }
    const TemplateParseResult again = parseTemplate(writeTemplate(parsed.diagram));
    ASSERT_TRUE(again.ok()) << again.error;
    EXPECT_EQ(again.diagram, parsed.diagram);
}

TEST(TemplateFormat, CommentsBlankLinesAndCrLfAreAccepted) {
    std::string text = writeTemplate(fullTemplate());
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += "\r\n\r\n   # a comment\r\n";
        else
            crlf.push_back(c);
    }
    const TemplateParseResult back = parseTemplate("\xEF\xBB\xBF" + crlf);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.diagram, fullTemplate());
}

TEST(TemplateFormat, EveryTruncationIsRefused) {
    const std::string text = writeTemplate(templateForEntry(entryFor("CuNiCoFets.grf")));
    const std::size_t endLine = text.rfind("end\n");
    for (std::size_t n = 0; n < endLine + 3; ++n) {
        const TemplateParseResult r = parseTemplate(text.substr(0, n));
        EXPECT_FALSE(r.ok()) << "accepted the first " << n << " bytes";
    }
    EXPECT_TRUE(parseTemplate(text.substr(0, endLine + 3)).ok());
}

// Replaces the first occurrence of a line's start in a valid template.
std::string withLine(std::string_view keyword, std::string_view replacement) {
    std::string text = writeTemplate(templateForEntry(entryFor("MgFeCrAl100_1.grf")));
    const std::size_t at = text.find("\n" + std::string(keyword));
    if (at == std::string::npos) return text;
    const std::size_t end = text.find('\n', at + 1);
    text.replace(at + 1, end - at - 1, replacement);
    return text;
}

TEST(TemplateFormat, DamagedTemplatesGiveAClearReason) {
    const std::string valid = writeTemplate(templateForEntry(entryFor("MgFeCrAl100_1.grf")));
    struct Case {
        std::string name;
        std::string text;
        std::string reason;  // a part of the error
    };
    const std::vector<Case> cases = {
        {"empty", "", "empty"},
        {"only comments", "# nothing\n\n", "empty"},
        {"another kind of file", "<svg>\n", "not a Qarvelion diagram template"},
        {"newer format", withLine("qarvelion-diagram", "qarvelion-diagram 7"), "newer"},
        {"no end", valid.substr(0, valid.rfind("end")), "truncated"},
        {"text after end", valid + "kind binary\n", "after the \"end\""},
        {"unclosed quote", withLine("caption", "caption \"[1] open"), "not closed"},
        {"unknown escape", withLine("caption", "caption \"a\\qb\""), "unknown escape"},
        {"unknown keyword", withLine("kind", "colour red"), "unknown keyword \"colour\""},
        {"unknown kind", withLine("kind", "kind pie"), "unknown kind"},
        {"given twice", withLine("title", "caption \"again\""), "given twice"},
        {"missing data", withLine("data", "# no data"), "\"data\" line is missing"},
        {"data with a folder", withLine("data", "data \"../x.dat\""), "bare file name"},
        {"column beyond the file", withLine("y 2", "y 3 linear 0 100 \"Y\""), "columns 1 to 2"},
        {"log axis from zero", withLine("y 2", "y 2 log 0 100 \"Y\""), "above 0"},
        {"empty range", withLine("x 1", "x 1 linear 5 5 \"X\""), "smaller to a larger"},
        {"not a number", withLine("x 1", "x 1 linear zero 1 \"X\""), "takes a column number"},
        {"infinite range", withLine("x 1", "x 1 linear 0 inf \"X\""), "takes a column number"},
        {"apex on a binary panel", withLine("x 1", "apex top 1 \"A\""), "not apexes"},
        {"field without source",
         withLine("y 2", "y 2 linear 0 100 \"Y\"\nfield \"F\" at 1 1 points 0 0 10 10"),
         "field-source"},
        {"field with one point",
         withLine("y 2", "y 2 linear 0 100 \"Y\"\nfield \"F\" at 1 1 points 0 0"),
         "at least two points"},
        {"axis before panel", withLine("panel", "x 1 linear 0 1 \"X\""), "before the first"},
        {"too many panels",
         withLine("panel", "panel binary \"\"\npanel binary \"\"\npanel binary \"\""),
         "more than two panels"},
        {"NUL bytes", std::string("qarvelion-diagram 1\n\0\0\0", 23), "NUL"},
        {"huge line", "qarvelion-diagram 1\ncaption \"" + std::string(100000, 'x') + "\"\n",
         "longer than"},
        {"oversized", std::string(kMaxTemplateBytes + 1, '#'), "larger than"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TemplateParseResult r = parseTemplate(c.text);
        ASSERT_FALSE(r.ok());
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
    }
}

TEST(TemplateFormat, RandomBytesNeverCrashTheParser) {
    const std::string valid = writeTemplate(fullTemplate());
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 2000; ++round) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(next() % 8);
        for (int e = 0; e < edits; ++e)
            text[next() % text.size()] = static_cast<char>(next() % 256);
        const TemplateParseResult r = parseTemplate(text);
        if (!r.ok()) {
            EXPECT_FALSE(r.error.empty());
        }
    }
}

TEST(TemplateFiles, MissingAndUnreadableFilesNameTheFile) {
    test::TempDir dir;
    const TemplateParseResult missing = readTemplateFile(dir.path() / "Nope.grf");
    EXPECT_EQ(missing.error, "'Nope.grf' not found");
    const TemplateParseResult folder = readTemplateFile(dir.path());
    EXPECT_NE(folder.error.find("is not a file"), std::string::npos) << folder.error;
    test::writeFile(dir.path() / "Bad.grf", "qarvelion-diagram 1\nkind binary\n");
    const TemplateParseResult bad = readTemplateFile(dir.path() / "Bad.grf");
    EXPECT_NE(bad.error.find("'Bad.grf': truncated"), std::string::npos) << bad.error;
    test::writeFile(dir.path() / "Good.grf", writeTemplate(fullTemplate()));
    EXPECT_TRUE(readTemplateFile(dir.path() / "Good.grf").ok());
}

}  // namespace
}  // namespace qarv
