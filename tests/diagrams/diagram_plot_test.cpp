// The drawable scene of a diagram: points where their values say on binary
// and ternary diagrams, apexes in the caption's order, axes that widen for
// outlying points, and the SVG written from the scene.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "diagrams/diagram_catalogue.h"
#include "diagrams/diagram_data_files.h"
#include "diagrams/diagram_plot.h"
#include "diagrams/diagram_template.h"
#include "results/number_format.h"

namespace qarv {
namespace {

const DiagramEntry& entryFor(std::string_view templateFile) {
    for (const DiagramEntry& e : diagramCatalogue())
        if (e.templateFile == templateFile) return e;
    throw std::runtime_error("no catalogue entry " + std::string(templateFile));
}

DiagramData dataOf(const std::vector<std::vector<double>>& rows, std::size_t columns) {
    DiagramData d;
    for (std::size_t c = 0; c < columns; ++c) d.titles.push_back("c" + std::to_string(c + 1));
    int line = 2;
    for (const auto& r : rows) d.points.push_back({"S" + std::to_string(line - 1), r, line++});
    return d;
}

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

const SceneText* textWithRole(const PlotScene& s, TextRole role, const std::string& text) {
    for (const SceneText& t : s.texts)
        if (t.role == role && t.text == text) return &t;
    return nullptr;
}

TEST(BinaryPlot, ACommaDecimalFileWithBlankNamesPlotsItsPointsWhereTheirValuesSay) {
    // MgFeCrAl100.dat as a run with "," as decimal character writes it.
    const NumberFormatSettings s{".", ","};
    std::string file = printZoneLine({{"SampleNo"}, {"Mg/(Mg+Fe2)"}, {"Cr/(Cr+Al)"}});
    auto plain = [&](double v) {
        return PrintItem{formatNumber(v, NumberForm::Plain, s), true, v < 0};
    };
    file += printZoneLine({{"CHR 01 core"}, plain(42.5268501675065), plain(77.6549055801147)});
    file += printZoneLine({{"rim of CHR 01"}, plain(0), plain(100)});
    file += printZoneLine({{"half way"}, plain(50), plain(25)});
    const DataReadResult read = parseDiagramData(file);
    ASSERT_TRUE(read.ok()) << read.error;

    const DiagramTemplate t = templateForEntry(entryFor("MgFeCrAl100_1.grf"));
    const PlotScene scene = buildPlotScene(t, read.data, {800, 640, true});
    ASSERT_EQ(scene.panels.size(), 1u);
    const PanelGeometry& g = scene.panels[0];
    EXPECT_EQ(g.xMin, 0);
    EXPECT_EQ(g.xMax, 100);
    EXPECT_EQ(g.yMin, 0);
    EXPECT_EQ(g.yMax, 100);
    ASSERT_EQ(scene.markers.size(), 3u);
    EXPECT_EQ(scene.markers[0].name, "CHR 01 core");
    EXPECT_NEAR(scene.markers[0].at.x, g.left + 0.425268501675065 * g.width, 1e-9);
    EXPECT_NEAR(scene.markers[0].at.y, g.top + (1 - 0.776549055801147) * g.height, 1e-9);
    // (0, 100) is the top-left corner, (50, 25) half way across, a quarter up.
    EXPECT_NEAR(scene.markers[1].at.x, g.left, 1e-9);
    EXPECT_NEAR(scene.markers[1].at.y, g.top, 1e-9);
    EXPECT_NEAR(scene.markers[2].at.x, g.left + g.width / 2, 1e-9);
    EXPECT_NEAR(scene.markers[2].at.y, g.top + 0.75 * g.height, 1e-9);
    for (const SceneMarker& m : scene.markers) EXPECT_FALSE(m.offScale);
    // Names are written beside their markers when asked for.
    EXPECT_NE(textWithRole(scene, TextRole::SampleName, "rim of CHR 01"), nullptr);
    EXPECT_NE(scene.markers[0].tip.find("Cr/(Cr+Al) = 77.65"), std::string::npos)
        << scene.markers[0].tip;
}

TEST(BinaryPlot, AxesWidenForOutlyingPointsAndLogAxesMarkWhatTheyCannotShow) {
    const DiagramTemplate t = templateForEntry(entryFor("Al2O3TiO2_1.grf"));  // y log 0.01..10
    const PlotScene scene =
        buildPlotScene(t, dataOf({{10, 0.18}, {85, 0.5}, {20, 0}, {30, 45}, {5, 0.002}}, 2), {});
    const PanelGeometry& g = scene.panels[0];
    EXPECT_EQ(g.xMin, 0);
    EXPECT_EQ(g.xMax, 100);  // 85 wt% Al2O3: widened to a whole tick step
    EXPECT_DOUBLE_EQ(g.yMin, 0.001);
    EXPECT_DOUBLE_EQ(g.yMax, 100);
    ASSERT_EQ(scene.markers.size(), 5u);
    // TiO2 = 0 has no place on a log axis: drawn on the axis, marked.
    EXPECT_TRUE(scene.markers[2].offScale);
    EXPECT_NEAR(scene.markers[2].at.y, g.top + g.height, 1e-9);
    EXPECT_FALSE(scene.markers[0].offScale);
    // 0.18 lies log10(0.18 / 0.001) / 5 of the way up.
    EXPECT_NEAR(scene.markers[0].at.y, g.top + g.height * (1 - std::log10(180.0) / 5), 1e-9);
    EXPECT_NE(textWithRole(scene, TextRole::TickLabel, "0.01"), nullptr);
    EXPECT_NE(textWithRole(scene, TextRole::TickLabel, "10"), nullptr);
}

TEST(TicksOfLinearAxes, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
    struct Case {
        double range, step;
    };
    for (const Case c :
         {Case{1, 0.2}, Case{100, 20}, Case{70, 10}, Case{40, 10}, Case{35, 5}, Case{6, 1},
          Case{2, 0.5}, Case{20, 5}, Case{0.05, 0.01}, Case{0, 1}, Case{-3, 1}}) {
        EXPECT_DOUBLE_EQ(niceTickStep(c.range), c.step) << c.range;
    }
}

TEST(TernaryPlot, PureEndMembersLieOnTheirApexesInTheCaptionsOrder) {
    // Fe3+ - Cr - Al: Fe3+ at the top, Cr lower left, Al lower right.
    const DiagramTemplate t = templateForEntry(entryFor("Fe3CrAl_3.grf"));
    const PlotScene scene = buildPlotScene(
        t, dataOf({{2, 0, 0}, {0, 1.5, 0}, {0, 0, 0.3}, {1, 1, 1}, {0.5, 0.5, 0}}, 3), {});
    ASSERT_EQ(scene.panels.size(), 1u);
    const PanelGeometry& g = scene.panels[0];
    ASSERT_TRUE(g.ternary);
    // The top apex is above the base, left of right, the triangle equilateral.
    EXPECT_LT(g.apex[0].y, g.apex[1].y);
    EXPECT_DOUBLE_EQ(g.apex[1].y, g.apex[2].y);
    EXPECT_LT(g.apex[1].x, g.apex[2].x);
    EXPECT_NEAR(g.apex[0].x, (g.apex[1].x + g.apex[2].x) / 2, 1e-9);
    const double side = g.apex[2].x - g.apex[1].x;
    EXPECT_NEAR(g.apex[1].y - g.apex[0].y, side * std::sqrt(3.0) / 2, 1e-9);

    ASSERT_EQ(scene.markers.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(scene.markers[i].at.x, g.apex[i].x, 1e-9) << i;
        EXPECT_NEAR(scene.markers[i].at.y, g.apex[i].y, 1e-9) << i;
    }
    // Equal shares: the centre; half Fe3+ and half Cr: the middle of that edge.
    EXPECT_NEAR(scene.markers[3].at.x, (g.apex[0].x + g.apex[1].x + g.apex[2].x) / 3, 1e-9);
    EXPECT_NEAR(scene.markers[3].at.y, (g.apex[0].y + g.apex[1].y + g.apex[2].y) / 3, 1e-9);
    EXPECT_NEAR(scene.markers[4].at.x, (g.apex[0].x + g.apex[1].x) / 2, 1e-9);
    EXPECT_NEAR(scene.markers[4].at.y, (g.apex[0].y + g.apex[1].y) / 2, 1e-9);

    // The labels sit by their apexes: above the top one, below the others.
    const SceneText* top = textWithRole(scene, TextRole::ApexLabel, "Fe³⁺");
    const SceneText* left = textWithRole(scene, TextRole::ApexLabel, "Cr");
    const SceneText* right = textWithRole(scene, TextRole::ApexLabel, "Al");
    ASSERT_TRUE(top && left && right);
    EXPECT_NEAR(top->at.x, g.apex[0].x, 1e-9);
    EXPECT_LT(top->at.y, g.apex[0].y);
    EXPECT_NEAR(left->at.x, g.apex[1].x, 1e-9);
    EXPECT_GT(left->at.y, g.apex[1].y);
    EXPECT_NEAR(right->at.x, g.apex[2].x, 1e-9);

    // Grid lines every 10 % for each of the three components.
    int grid = 0;
    for (const SceneLine& l : scene.lines) grid += l.role == StrokeRole::Grid;
    EXPECT_EQ(grid, 27);
    EXPECT_NE(textWithRole(scene, TextRole::TickLabel, "50"), nullptr);
}

TEST(TernaryPlot, ThePairPlotsEachLineOnceInEachTriangle) {
    // Cu - Ni - Co and Fe - Co - Ni over the columns Cu, Ni, Co, Fe.
    const DiagramTemplate t = templateForEntry(entryFor("CuNiCoFets.grf"));
    const PlotScene scene = buildPlotScene(t, dataOf({{0, 0, 0, 3}, {1, 0, 2, 0}}, 4), {1240, 640});
    ASSERT_EQ(scene.panels.size(), 2u);
    ASSERT_EQ(scene.markers.size(), 4u);
    const PanelGeometry& first = scene.panels[0];
    const PanelGeometry& second = scene.panels[1];
    EXPECT_LT(first.apex[2].x, second.apex[1].x);  // side by side
    // The first triangle's markers, then the second's. Pure Fe has no place
    // in Cu - Ni - Co (marked, at the centre) and lies on Fe's apex of the
    // second triangle.
    EXPECT_TRUE(scene.markers[0].offScale);
    EXPECT_EQ(scene.markers[0].panel, 0);
    EXPECT_FALSE(scene.markers[2].offScale);
    EXPECT_EQ(scene.markers[2].panel, 1);
    EXPECT_NEAR(scene.markers[2].at.x, second.apex[0].x, 1e-9);
    EXPECT_NEAR(scene.markers[2].at.y, second.apex[0].y, 1e-9);
    // Cu 1, Co 2: a third of the way from Co (right) to Cu (top); Co alone
    // is the left apex of the second triangle.
    EXPECT_NEAR(scene.markers[1].at.x, (first.apex[0].x + 2 * first.apex[2].x) / 3, 1e-9);
    EXPECT_NEAR(scene.markers[1].at.y, (first.apex[0].y + 2 * first.apex[2].y) / 3, 1e-9);
    EXPECT_NEAR(scene.markers[3].at.x, second.apex[1].x, 1e-9);
    EXPECT_NEAR(scene.markers[3].at.y, second.apex[1].y, 1e-9);
    EXPECT_NE(textWithRole(scene, TextRole::PanelTitle, "Fe - Co - Ni"), nullptr);
}

TEST(Fields, BoundariesAndLabelsArePlacedInDataCoordinates) {
    DiagramTemplate t = templateForEntry(entryFor("Fe3CrAl_3.grf"));
    t.fieldSource = "test";
    t.panels[0].fields.push_back({"F", {1, 1, 1}, {{1, 0, 0}, {0, 1, 1}}});
    const PlotScene scene = buildPlotScene(t, dataOf({}, 3), {});
    ASSERT_EQ(scene.polylines.size(), 1u);
    const PanelGeometry& g = scene.panels[0];
    EXPECT_NEAR(scene.polylines[0].points[0].x, g.apex[0].x, 1e-9);
    EXPECT_NEAR(scene.polylines[0].points[1].x, g.apex[0].x, 1e-9);
    EXPECT_NEAR(scene.polylines[0].points[1].y, g.apex[1].y, 1e-9);
    EXPECT_NE(textWithRole(scene, TextRole::FieldLabel, "F"), nullptr);
}

TEST(Svg, EveryMarkerIsAGroupWithItsNameAndTextIsEscaped) {
    const DiagramTemplate t = templateForEntry(entryFor("MgMgFeCrCrAl_1.grf"));
    DiagramData data = dataOf({{0.5, 0.5}, {0.2, 0.9}, {0.7, 0.1}}, 2);
    data.points[1].name = "A&B <rim> \"x\"";
    const std::string svg = writeSvg(buildPlotScene(t, data, {}, "no <data>"));
    EXPECT_EQ(countOf(svg, "class=\"marker\""), 3);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<title>A&amp;B &lt;rim&gt; &quot;x&quot;"), std::string::npos);
    EXPECT_NE(svg.find(">no &lt;data&gt;</text>"), std::string::npos);
    EXPECT_EQ(svg.find("<rim>"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST(Messages, AMessageSceneHoldsOnlyItsLines) {
    const PlotScene s = messageScene("first\nsecond", {});
    ASSERT_EQ(s.texts.size(), 2u);
    EXPECT_EQ(s.texts[0].text, "first");
    EXPECT_LT(s.texts[0].at.y, s.texts[1].at.y);
    EXPECT_TRUE(s.markers.empty());
    EXPECT_TRUE(s.lines.empty());
}

}  // namespace
}  // namespace qarv
