#pragma once
// A diagram as a drawable scene: lines, texts and one marker per sample, in
// picture coordinates (units of the picture, x to the right, y downwards).
// The grapher's window paints a scene; writeSvg turns one into an SVG
// document.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "diagrams/diagram_data_reader.h"
#include "diagrams/diagram_template.h"

namespace qarv {

struct ScenePoint {
    double x = 0;
    double y = 0;
};

enum class StrokeRole { Frame, Grid, Tick, Field };

struct SceneLine {
    ScenePoint from;
    ScenePoint to;
    StrokeRole role = StrokeRole::Frame;
};

struct ScenePolyline {
    std::vector<ScenePoint> points;
    StrokeRole role = StrokeRole::Field;
};

enum class TextRole {
    Title,
    Source,
    PanelTitle,
    AxisTitle,
    TickLabel,
    ApexLabel,
    FieldLabel,
    SampleName,
    Message
};
enum class TextAnchor { Start, Middle, End };

// A line of text whose vertical middle lies at `at`; `angle` turns it
// clockwise about that point, in degrees.
struct SceneText {
    ScenePoint at;
    std::string text;  // UTF-8
    TextRole role = TextRole::Title;
    TextAnchor anchor = TextAnchor::Middle;
    double size = 12;  // font size in picture units
    double angle = 0;
};

struct SceneMarker {
    ScenePoint at;
    std::string name;  // the sample name
    std::string tip;   // name and values, for a tooltip
    int panel = 0;
    int line = 0;           // the data file's line
    bool offScale = false;  // the point could not be placed where its values say
};

// Where a panel lies in the picture, so points can be placed on it.
struct PanelGeometry {
    bool ternary = false;
    // Binary: the plot rectangle and the axes' final ranges.
    double left = 0, top = 0, width = 0, height = 0;
    AxisScale xScale = AxisScale::Linear, yScale = AxisScale::Linear;
    double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
    // Ternary: the apexes, top, lower left, lower right.
    std::array<ScenePoint, 3> apex{};
};

struct PlotScene {
    double width = 0;
    double height = 0;
    std::vector<SceneLine> lines;
    std::vector<ScenePolyline> polylines;
    std::vector<SceneText> texts;
    std::vector<SceneMarker> markers;
    std::vector<PanelGeometry> panels;
};

struct PlotOptions {
    double width = 800;        // the picture's size; a pair of triangles takes this
    double height = 640;       // width for both
    bool sampleNames = false;  // write each sample's name beside its marker
};

// The diagram with the data's points. A data file whose titles differ from
// the template's columns still plots (by column number); `message`, when not
// empty, is written across the diagram (a missing data file, no points).
PlotScene buildPlotScene(const DiagramTemplate& diagram, const DiagramData& data,
                         const PlotOptions& options, std::string_view message = {});
// A picture holding only a message (no template to draw).
PlotScene messageScene(std::string_view message, const PlotOptions& options);

// Points placed on a panel: binary by value (no clamping), ternary by the
// shares of the top, left and right components (normalised by their sum).
ScenePoint placeBinary(const PanelGeometry& panel, double x, double y);
ScenePoint placeTernary(const PanelGeometry& panel, double top, double left, double right);

// Tick values of a linear axis: multiples of 1, 2, 2.5 or 5 times a power
// of ten, five to eight of them over the range.
double niceTickStep(double range);

// The SVG document of a scene; every marker is a <g class="marker"> with
// the sample name as its <title>.
std::string writeSvg(const PlotScene& scene);

// What the window shows when a diagram cannot be drawn with data: the
// reason the data file gave, or that it holds no samples.
std::string noPointsMessage(const DiagramTemplate& diagram);

}  // namespace qarv
