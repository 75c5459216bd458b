// After a run of the bundled example, every Graph menu diagram opens its
// template and data file and draws one marker per data line of the file,
// with "." and with "," as decimal character.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "diagrams/diagram_catalogue.h"
#include "diagrams/diagram_data_files.h"
#include "diagrams/diagram_document.h"
#include "diagrams/diagram_plot.h"
#include "diagrams/diagram_template.h"
#include "test_config.h"
#include "test_support.h"

namespace qarv {
namespace {

namespace fs = std::filesystem;

// The example calculated into a folder with the run's settings, and the 76
// templates written beside the data files, as a work folder holds them.
struct ExampleRun {
    test::TempDir dir;
    explicit ExampleRun(const NumberFormatSettings& settings) {
        std::ostringstream out, err;
        const int status =
            runCli({"calc", QARVELION_EXAMPLES_DIR "/example.dor", "--out", dir.path().string()},
                   out, err, settings);
        EXPECT_EQ(status, kExitOk) << err.str();
        for (const DiagramEntry& e : diagramCatalogue())
            test::writeFile(dir.path() / e.templateFile, writeTemplate(templateForEntry(e)));
    }
};

// The runs are shared by all cases of a suite.
ExampleRun& periodRun() {
    static ExampleRun run(NumberFormatSettings{",", "."});
    return run;
}
ExampleRun& commaRun() {
    static ExampleRun run(NumberFormatSettings{".", ","});
    return run;
}

// Lines after the header that are not blank.
int dataLinesOf(const fs::path& file) {
    const std::string text = test::readFile(file);
    int lines = 0;
    bool header = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.find_first_not_of(" \r") == std::string::npos) continue;
        if (header) {
            header = false;
            continue;
        }
        ++lines;
    }
    return lines;
}

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class EveryDiagram : public ::testing::TestWithParam<DiagramEntry> {};

TEST_P(EveryDiagram, DrawsOneMarkerPerDataLinePerTriangle) {
    const DiagramEntry& e = GetParam();
    for (ExampleRun* run : {&periodRun(), &commaRun()}) {
        const fs::path folder = run->dir.path();
        // From the template's folder, with the working folder elsewhere.
        const DiagramDocument doc = loadDiagramDocument(folder / e.templateFile, "/nonexistent");
        ASSERT_TRUE(doc.templateOk) << doc.message;
        ASSERT_TRUE(doc.dataOk) << doc.message;
        EXPECT_EQ(doc.dataPath, folder / e.dataFile);
        EXPECT_TRUE(doc.remarks.empty()) << doc.remarks.front();
        const int lines = dataLinesOf(folder / e.dataFile);
        EXPECT_EQ(static_cast<int>(doc.data.points.size()), lines);

        const std::string svg = writeSvg(documentScene(doc, {}));
        const int triangles = doc.diagram.kind == PlotKind::TernaryPair ? 2 : 1;
        EXPECT_EQ(countOf(svg, "class=\"marker\""), lines * triangles);
        if (lines == 0) {
            EXPECT_NE(svg.find("No samples in"), std::string::npos);
        }
    }
}

TEST_P(EveryDiagram, BothDecimalCharactersGiveTheSamePoints) {
    const DiagramEntry& e = GetParam();
    const DataReadResult period = readDiagramDataFile(periodRun().dir.path() / e.dataFile);
    const DataReadResult comma = readDiagramDataFile(commaRun().dir.path() / e.dataFile);
    ASSERT_TRUE(period.ok()) << period.error;
    ASSERT_TRUE(comma.ok()) << comma.error;
    ASSERT_EQ(period.data.points.size(), comma.data.points.size());
    for (std::size_t i = 0; i < period.data.points.size(); ++i) {
        EXPECT_EQ(period.data.points[i].name, comma.data.points[i].name);
        EXPECT_EQ(period.data.points[i].values, comma.data.points[i].values) << i;
    }
}

std::string testName(const ::testing::TestParamInfo<DiagramEntry>& info) {
    std::string name;
    for (char c : info.param.templateFile) {
        if (c == '.') break;
        name.push_back((std::isalnum(static_cast<unsigned char>(c)) != 0) ? c : '_');
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryDiagram, ::testing::ValuesIn(diagramCatalogue()),
                         testName);

TEST(ExampleDiagrams, TheExampleReachesBinaryAndTernaryDiagrams) {
    // Guards the test above against an example that reaches no diagram.
    const fs::path folder = periodRun().dir.path();
    EXPECT_GT(dataLinesOf(folder / "MgFeCrAl100.dat"), 0);
    EXPECT_GT(dataLinesOf(folder / "Fe3CrAl.dat"), 0);
    EXPECT_GT(dataLinesOf(folder / "CuNiCoFets.dat"), 0);
}

TEST(Documents, TheWorkingFolderComesFirstAndMissingFilesAreExplained) {
    test::TempDir work;
    const fs::path templates = periodRun().dir.path();
    const fs::path grf = templates / "MgFeCrAl100_1.grf";

    // Nothing in the working folder: the data beside the template.
    DiagramDocument doc = loadDiagramDocument(grf, work.path());
    ASSERT_TRUE(doc.dataOk);
    EXPECT_EQ(doc.dataPath, templates / "MgFeCrAl100.dat");

    // A newer run in the working folder wins.
    test::writeFile(work.path() / "MgFeCrAl100.dat",
                    "SampleNo      Mg/(Mg+Fe2)   Cr/(Cr+Al)\r\nonly one      50            50\r\n");
    doc = loadDiagramDocument(grf, work.path());
    ASSERT_TRUE(doc.dataOk);
    EXPECT_EQ(doc.dataPath, work.path() / "MgFeCrAl100.dat");
    EXPECT_EQ(doc.data.points.size(), 1u);

    // A header-only file: the diagram and the reason there are no points.
    test::writeFile(work.path() / "MgFeCrAl100.dat", "SampleNo      Mg/(Mg+Fe2)   Cr/(Cr+Al)\r\n");
    doc = loadDiagramDocument(grf, work.path());
    ASSERT_TRUE(doc.dataOk);
    EXPECT_NE(doc.message.find("No samples in MgFeCrAl100.dat"), std::string::npos);

    // A file of other columns is plotted by position, with a remark; too few
    // columns cannot be plotted.
    test::writeFile(work.path() / "MgFeCrAl100.dat", "SampleNo A B\r\nx 1 2\r\n");
    doc = loadDiagramDocument(grf, work.path());
    ASSERT_TRUE(doc.dataOk);
    ASSERT_EQ(doc.remarks.size(), 1u);
    EXPECT_NE(doc.remarks[0].find("differ"), std::string::npos);
    test::writeFile(work.path() / "MgFeCrAl100.dat", "SampleNo A\r\nx 1\r\n");
    doc = loadDiagramDocument(grf, work.path());
    EXPECT_FALSE(doc.dataOk);
    EXPECT_NE(doc.message.find("needs 2"), std::string::npos) << doc.message;

    // No data file anywhere; no template.
    test::writeFile(work.path() / "Only.grf", test::readFile(grf));
    fs::remove(work.path() / "MgFeCrAl100.dat");
    doc = loadDiagramDocument(work.path() / "Only.grf", work.path());
    EXPECT_TRUE(doc.templateOk);
    EXPECT_FALSE(doc.dataOk);
    EXPECT_NE(doc.message.find("MgFeCrAl100.dat is neither in the working folder"),
              std::string::npos);
    EXPECT_NE(writeSvg(documentScene(doc, {})).find("neither in the working folder"),
              std::string::npos);
    doc = loadDiagramDocument(work.path() / "Missing.grf", work.path());
    EXPECT_FALSE(doc.templateOk);
    EXPECT_NE(doc.message.find("'Missing.grf' not found"), std::string::npos);
}

}  // namespace
}  // namespace qarv
