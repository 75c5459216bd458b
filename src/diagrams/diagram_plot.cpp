#include "diagrams/diagram_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qarv {
namespace {

constexpr double kSqrt3 = 1.7320508075688772;

// Picture layout, in picture units.
constexpr double kTitleY = 26;
constexpr double kSourceY = 48;
constexpr double kPlotTop = 82;
constexpr double kBinaryLeft = 92;
constexpr double kBinaryRight = 36;
constexpr double kBinaryBottom = 78;
constexpr double kFooterInset = 10;

constexpr double kTitleSize = 17;
constexpr double kSourceSize = 13;
constexpr double kAxisTitleSize = 15;
constexpr double kTickLabelSize = 12;
constexpr double kApexLabelSize = 16;
constexpr double kSampleNameSize = 10;
constexpr double kMessageSize = 14;
constexpr double kTickLength = 6;

std::string formatValue(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", std::max(0, decimals), v);
    std::string s = buf;
    if (s == "-0" || s.rfind("-0.", 0) == 0) {
        bool zero = true;
        for (char c : s)
            if (c >= '1' && c <= '9') zero = false;
        if (zero) s.erase(0, 1);
    }
    return s;
}

std::string shortValue(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4g", v);
    return buf;
}

// Decimals needed to show multiples of the step exactly.
int decimalsFor(double step) {
    int d = 0;
    double scaled = step;
    while (d < 10 && std::fabs(scaled - std::round(scaled)) > 1e-9 * std::max(1.0, scaled)) {
        scaled *= 10;
        ++d;
    }
    return d;
}

void addText(PlotScene& s, double x, double y, std::string text, TextRole role, TextAnchor anchor,
             double size, double angle = 0) {
    s.texts.push_back({{x, y}, std::move(text), role, anchor, size, angle});
}

void addLine(PlotScene& s, ScenePoint a, ScenePoint b, StrokeRole role) {
    s.lines.push_back({a, b, role});
}

// The final range of a binary axis: the diagram's own, widened to hold every
// point that can be shown on it.
struct AxisRange {
    AxisScale scale;
    double min;
    double max;
};

AxisRange fitAxis(const TemplateAxis& axis, const std::vector<double>& values) {
    AxisRange r{axis.scale, axis.min, axis.max};
    if (axis.scale == AxisScale::Linear) {
        double lo = r.min, hi = r.max;
        for (double v : values) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (lo < r.min || hi > r.max) {
            const double step = niceTickStep(hi - lo);
            if (lo < r.min) lo = std::floor(lo / step) * step;
            if (hi > r.max) hi = std::ceil(hi / step) * step;
        }
        r.min = lo;
        r.max = hi;
    } else {
        double lo = r.min, hi = r.max;
        for (double v : values) {
            if (!(v > 0)) continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (lo < r.min) lo = std::pow(10.0, std::floor(std::log10(lo)));
        if (hi > r.max) hi = std::pow(10.0, std::ceil(std::log10(hi)));
        r.min = lo;
        r.max = hi;
    }
    if (!(r.max > r.min)) r.max = r.min + 1;
    return r;
}

double fraction(AxisScale scale, double min, double max, double v) {
    if (scale == AxisScale::Log) {
        if (!(v > 0)) return 0;
        return (std::log10(v) - std::log10(min)) / (std::log10(max) - std::log10(min));
    }
    return (v - min) / (max - min);
}

void addTitles(PlotScene& s, const DiagramTemplate& t, const DiagramData& data) {
    addText(s, s.width / 2, kTitleY, t.title, TextRole::Title, TextAnchor::Middle, kTitleSize);
    if (!t.source.empty())
        addText(s, s.width / 2, kSourceY, t.source, TextRole::Source, TextAnchor::Middle,
                kSourceSize);
    std::string footer = t.dataFile + ", " + std::to_string(data.points.size()) +
                         (data.points.size() == 1 ? " sample" : " samples");
    addText(s, s.width - kFooterInset, s.height - kFooterInset - 2, footer, TextRole::Source,
            TextAnchor::End, kSampleNameSize);
}

std::string tipFor(const DiagramTemplate& t, const DiagramData& data, const DataPoint& p,
                   const std::vector<int>& columns) {
    std::string tip = p.name.empty() ? "(no sample name)" : p.name;
    for (int c : columns) {
        const std::size_t i = static_cast<std::size_t>(c - 1);
        std::string title = i < t.dataColumns.size() ? t.dataColumns[i]
                            : i < data.titles.size() ? data.titles[i]
                                                     : "column " + std::to_string(c);
        if (i < p.values.size()) tip += "\n" + title + " = " + shortValue(p.values[i]);
    }
    return tip;
}

double valueOf(const DataPoint& p, int column) {
    const std::size_t i = static_cast<std::size_t>(column - 1);
    return i < p.values.size() ? p.values[i] : 0.0;
}

void addMarker(PlotScene& s, const DiagramTemplate& t, const DiagramData& data, const DataPoint& p,
               int panel, ScenePoint at, bool offScale, const std::vector<int>& columns,
               const PlotOptions& options) {
    SceneMarker m;
    m.at = at;
    m.name = p.name;
    m.tip = tipFor(t, data, p, columns);
    if (offScale) m.tip += "\n(cannot be shown where its values lie)";
    m.panel = panel;
    m.line = p.line;
    m.offScale = offScale;
    s.markers.push_back(std::move(m));
    if (options.sampleNames && !p.name.empty())
        addText(s, at.x + 7, at.y, p.name, TextRole::SampleName, TextAnchor::Start,
                kSampleNameSize);
}

void addFieldLabel(PlotScene& s, ScenePoint at, const std::string& label) {
    if (!label.empty())
        addText(s, at.x, at.y, label, TextRole::FieldLabel, TextAnchor::Middle, kTickLabelSize);
}

void buildBinary(PlotScene& s, const DiagramTemplate& t, const TemplatePanel& p,
                 const DiagramData& data, const PlotOptions& options, int panelIndex) {
    std::vector<double> xs, ys;
    for (const DataPoint& point : data.points) {
        xs.push_back(valueOf(point, p.x.column));
        ys.push_back(valueOf(point, p.y.column));
    }
    const AxisRange xr = fitAxis(p.x, xs);
    const AxisRange yr = fitAxis(p.y, ys);
    PanelGeometry g;
    g.left = kBinaryLeft;
    g.top = kPlotTop;
    g.width = std::max(10.0, s.width - kBinaryLeft - kBinaryRight);
    g.height = std::max(10.0, s.height - kPlotTop - kBinaryBottom);
    g.xScale = xr.scale;
    g.yScale = yr.scale;
    g.xMin = xr.min;
    g.xMax = xr.max;
    g.yMin = yr.min;
    g.yMax = yr.max;
    s.panels.push_back(g);

    const double right = g.left + g.width;
    const double bottom = g.top + g.height;

    // Ticks, labels and light grid lines at the labelled values.
    auto ticks = [](const AxisRange& r, std::vector<double>& major, std::vector<double>& minor) {
        if (r.scale == AxisScale::Linear) {
            const double step = niceTickStep(r.max - r.min);
            const double first = std::ceil(r.min / step - 1e-9);
            for (double k = first; k * step <= r.max + step * 1e-9 && major.size() < 50; ++k)
                major.push_back(k * step);
            return step;
        }
        const int e0 = static_cast<int>(std::floor(std::log10(r.min) + 1e-9));
        const int e1 = static_cast<int>(std::ceil(std::log10(r.max) - 1e-9));
        for (int e = e0; e <= e1 && e - e0 < 40; ++e) {
            const double decade = std::pow(10.0, e);
            if (decade >= r.min * (1 - 1e-9) && decade <= r.max * (1 + 1e-9))
                major.push_back(decade);
            for (int m = 2; m <= 9; ++m) {
                const double v = m * decade;
                if (v > r.min && v < r.max) minor.push_back(v);
            }
        }
        return 0.0;
    };
    auto label = [](const AxisRange& r, double step, double v) {
        if (r.scale == AxisScale::Linear) return formatValue(v, decimalsFor(step));
        const int e = static_cast<int>(std::lround(std::log10(v)));
        return formatValue(v, e < 0 ? -e : 0);
    };

    std::vector<double> xMajor, xMinor, yMajor, yMinor;
    const double xStep = ticks(xr, xMajor, xMinor);
    const double yStep = ticks(yr, yMajor, yMinor);
    for (double v : xMajor) {
        const double x = placeBinary(g, v, g.yMin).x;
        addLine(s, {x, g.top}, {x, bottom}, StrokeRole::Grid);
        addLine(s, {x, bottom}, {x, bottom + kTickLength}, StrokeRole::Tick);
        addText(s, x, bottom + kTickLength + 10, label(xr, xStep, v), TextRole::TickLabel,
                TextAnchor::Middle, kTickLabelSize);
    }
    for (double v : xMinor) {
        const double x = placeBinary(g, v, g.yMin).x;
        addLine(s, {x, bottom}, {x, bottom + kTickLength / 2}, StrokeRole::Tick);
    }
    for (double v : yMajor) {
        const double y = placeBinary(g, g.xMin, v).y;
        addLine(s, {g.left, y}, {right, y}, StrokeRole::Grid);
        addLine(s, {g.left - kTickLength, y}, {g.left, y}, StrokeRole::Tick);
        addText(s, g.left - kTickLength - 4, y, label(yr, yStep, v), TextRole::TickLabel,
                TextAnchor::End, kTickLabelSize);
    }
    for (double v : yMinor) {
        const double y = placeBinary(g, g.xMin, v).y;
        addLine(s, {g.left - kTickLength / 2, y}, {g.left, y}, StrokeRole::Tick);
    }
    // The frame.
    addLine(s, {g.left, g.top}, {right, g.top}, StrokeRole::Frame);
    addLine(s, {right, g.top}, {right, bottom}, StrokeRole::Frame);
    addLine(s, {right, bottom}, {g.left, bottom}, StrokeRole::Frame);
    addLine(s, {g.left, bottom}, {g.left, g.top}, StrokeRole::Frame);
    addText(s, g.left + g.width / 2, bottom + 46, p.x.title, TextRole::AxisTitle,
            TextAnchor::Middle, kAxisTitleSize);
    addText(s, g.left - 66, g.top + g.height / 2, p.y.title, TextRole::AxisTitle,
            TextAnchor::Middle, kAxisTitleSize, -90);

    for (const FieldBoundary& f : p.fields) {
        ScenePolyline line;
        for (const FieldPoint& fp : f.points) line.points.push_back(placeBinary(g, fp.a, fp.b));
        s.polylines.push_back(std::move(line));
        addFieldLabel(s, placeBinary(g, f.labelAt.a, f.labelAt.b), f.label);
    }

    for (const DataPoint& point : data.points) {
        double x = valueOf(point, p.x.column);
        double y = valueOf(point, p.y.column);
        bool offScale = false;
        if (xr.scale == AxisScale::Log && !(x > 0)) {
            x = xr.min;
            offScale = true;
        }
        if (yr.scale == AxisScale::Log && !(y > 0)) {
            y = yr.min;
            offScale = true;
        }
        addMarker(s, t, data, point, panelIndex, placeBinary(g, x, y), offScale,
                  {p.x.column, p.y.column}, options);
    }
}

void buildTernary(PlotScene& s, const DiagramTemplate& t, const TemplatePanel& p,
                  const DiagramData& data, const PlotOptions& options, int panelIndex,
                  double regionLeft, double regionWidth) {
    const bool pair = t.panels.size() > 1;
    const double top = kPlotTop + (pair ? 22 : 0);
    const double bottom = s.height - 30;
    const double labelAbove = 30, labelBelow = 44;
    const double heightAvail = std::max(10.0, bottom - top - labelAbove - labelBelow);
    const double side = std::max(10.0, std::min(regionWidth - 110, heightAvail * 2 / kSqrt3));
    const double triHeight = side * kSqrt3 / 2;
    const double cx = regionLeft + regionWidth / 2;
    const double apexY = top + labelAbove + (heightAvail - triHeight) / 2;
    PanelGeometry g;
    g.ternary = true;
    g.apex = {ScenePoint{cx, apexY}, ScenePoint{cx - side / 2, apexY + triHeight},
              ScenePoint{cx + side / 2, apexY + triHeight}};
    g.left = cx - side / 2;
    g.top = apexY;
    g.width = side;
    g.height = triHeight;
    s.panels.push_back(g);

    if (pair && !p.title.empty())
        addText(s, cx, kPlotTop, p.title, TextRole::PanelTitle, TextAnchor::Middle, kAxisTitleSize);

    // Grid lines every 10 %, each labelled where it meets one edge: the top
    // component's on the left edge, the left component's on the base, the
    // right component's on the right edge.
    for (int k = 1; k <= 9; ++k) {
        const double f = k / 10.0;
        const std::string pct = std::to_string(k * 10);
        const ScenePoint aLeft = placeTernary(g, f, 1 - f, 0),
                         aRight = placeTernary(g, f, 0, 1 - f);
        const ScenePoint bLeft = placeTernary(g, 1 - f, f, 0), bBase = placeTernary(g, 0, f, 1 - f);
        const ScenePoint cRight = placeTernary(g, 1 - f, 0, f),
                         cBase = placeTernary(g, 0, 1 - f, f);
        addLine(s, aLeft, aRight, StrokeRole::Grid);
        addLine(s, bLeft, bBase, StrokeRole::Grid);
        addLine(s, cRight, cBase, StrokeRole::Grid);
        addText(s, aLeft.x - 7, aLeft.y, pct, TextRole::TickLabel, TextAnchor::End,
                kSampleNameSize);
        addText(s, bBase.x, bBase.y + 12, pct, TextRole::TickLabel, TextAnchor::Middle,
                kSampleNameSize);
        addText(s, cRight.x + 7, cRight.y, pct, TextRole::TickLabel, TextAnchor::Start,
                kSampleNameSize);
    }
    addLine(s, g.apex[0], g.apex[1], StrokeRole::Frame);
    addLine(s, g.apex[1], g.apex[2], StrokeRole::Frame);
    addLine(s, g.apex[2], g.apex[0], StrokeRole::Frame);
    addText(s, g.apex[0].x, g.apex[0].y - 16, p.apexes[0].label, TextRole::ApexLabel,
            TextAnchor::Middle, kApexLabelSize);
    addText(s, g.apex[1].x, g.apex[1].y + 32, p.apexes[1].label, TextRole::ApexLabel,
            TextAnchor::Middle, kApexLabelSize);
    addText(s, g.apex[2].x, g.apex[2].y + 32, p.apexes[2].label, TextRole::ApexLabel,
            TextAnchor::Middle, kApexLabelSize);

    for (const FieldBoundary& f : p.fields) {
        ScenePolyline line;
        for (const FieldPoint& fp : f.points)
            line.points.push_back(placeTernary(g, fp.a, fp.b, fp.c));
        s.polylines.push_back(std::move(line));
        addFieldLabel(s, placeTernary(g, f.labelAt.a, f.labelAt.b, f.labelAt.c), f.label);
    }

    const std::vector<int> columns = {p.apexes[0].column, p.apexes[1].column, p.apexes[2].column};
    for (const DataPoint& point : data.points) {
        double v[3];
        bool offScale = false;
        for (int i = 0; i < 3; ++i) {
            v[i] = valueOf(point, columns[static_cast<std::size_t>(i)]);
            if (v[i] < 0) {
                v[i] = 0;
                offScale = true;
            }
        }
        if (!(v[0] + v[1] + v[2] > 0)) {
            v[0] = v[1] = v[2] = 1;  // nothing to share out: the centre, marked
            offScale = true;
        }
        addMarker(s, t, data, point, panelIndex, placeTernary(g, v[0], v[1], v[2]), offScale,
                  columns, options);
    }
}

void addMessage(PlotScene& s, std::string_view message) {
    if (message.empty()) return;
    // One text per line of the message, centred on the picture.
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find('\n', start);
        if (end == std::string_view::npos) end = message.size();
        lines.emplace_back(message.substr(start, end - start));
        start = end + 1;
    }
    const double lineHeight = kMessageSize * 1.5;
    double y = s.height / 2 - lineHeight * static_cast<double>(lines.size() - 1) / 2;
    for (std::string& line : lines) {
        addText(s, s.width / 2, y, std::move(line), TextRole::Message, TextAnchor::Middle,
                kMessageSize);
        y += lineHeight;
    }
}

std::string xmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') {
                    out += ' ';
                } else {
                    out.push_back(c);
                }
        }
    }
    return out;
}

std::string coord(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

const char* strokeStyle(StrokeRole role) {
    switch (role) {
        case StrokeRole::Frame:
            return "stroke=\"#000000\" stroke-width=\"1.3\"";
        case StrokeRole::Grid:
            return "stroke=\"#c8c8c8\" stroke-width=\"0.7\"";
        case StrokeRole::Tick:
            return "stroke=\"#000000\" stroke-width=\"1\"";
        case StrokeRole::Field:
            return "stroke=\"#1f4e9c\" stroke-width=\"1.4\"";
    }
    return "stroke=\"#000000\"";
}

std::string textStyle(TextRole role) {
    switch (role) {
        case TextRole::Title:
        case TextRole::ApexLabel:
        case TextRole::PanelTitle:
            return " font-weight=\"bold\"";
        case TextRole::Source:
            return " font-style=\"italic\"";
        case TextRole::FieldLabel:
            return " fill=\"#1f4e9c\"";
        case TextRole::Message:
            return " fill=\"#8b0000\"";
        case TextRole::SampleName:
            return " fill=\"#333333\"";
        default:
            return "";
    }
}

const char* anchorName(TextAnchor a) {
    switch (a) {
        case TextAnchor::Start:
            return "start";
        case TextAnchor::End:
            return "end";
        default:
            return "middle";
    }
}

}  // namespace

double niceTickStep(double range) {
    if (!(range > 0) || !std::isfinite(range)) return 1;
    const double raw = range / 7;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (m * power >= raw * (1 - 1e-9)) return m * power;
    }
    return 10 * power;
}

ScenePoint placeBinary(const PanelGeometry& g, double x, double y) {
    return {g.left + fraction(g.xScale, g.xMin, g.xMax, x) * g.width,
            g.top + g.height - fraction(g.yScale, g.yMin, g.yMax, y) * g.height};
}

ScenePoint placeTernary(const PanelGeometry& g, double top, double left, double right) {
    const double sum = top + left + right;
    if (!(sum > 0))
        return {(g.apex[0].x + g.apex[1].x + g.apex[2].x) / 3,
                (g.apex[0].y + g.apex[1].y + g.apex[2].y) / 3};
    return {(top * g.apex[0].x + left * g.apex[1].x + right * g.apex[2].x) / sum,
            (top * g.apex[0].y + left * g.apex[1].y + right * g.apex[2].y) / sum};
}

PlotScene buildPlotScene(const DiagramTemplate& t, const DiagramData& data,
                         const PlotOptions& options, std::string_view message) {
    PlotScene s;
    s.width = std::max(100.0, options.width);
    s.height = std::max(100.0, options.height);
    addTitles(s, t, data);
    const double regionWidth =
        s.width / static_cast<double>(std::max<std::size_t>(1, t.panels.size()));
    for (std::size_t i = 0; i < t.panels.size(); ++i) {
        const TemplatePanel& p = t.panels[i];
        const int index = static_cast<int>(i);
        if (p.ternary) {
            buildTernary(s, t, p, data, options, index, regionWidth * static_cast<double>(i),
                         regionWidth);
        } else {
            buildBinary(s, t, p, data, options, index);
        }
    }
    addMessage(s, message);
    return s;
}

PlotScene messageScene(std::string_view message, const PlotOptions& options) {
    PlotScene s;
    s.width = std::max(100.0, options.width);
    s.height = std::max(100.0, options.height);
    addMessage(s, message);
    return s;
}

std::string noPointsMessage(const DiagramTemplate& t) {
    return "No samples in " + t.dataFile +
           ":\nthe last run wrote no analysis that this diagram takes.";
}

std::string writeSvg(const PlotScene& s) {
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + coord(s.width) + "\" height=\"" +
           coord(s.height) + "\" viewBox=\"0 0 " + coord(s.width) + " " + coord(s.height) +
           "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\">\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + coord(s.width) + "\" height=\"" + coord(s.height) +
           "\" fill=\"#ffffff\"/>\n";
    // Grid first, so frames, ticks and fields lie over it.
    for (StrokeRole role : {StrokeRole::Grid, StrokeRole::Tick, StrokeRole::Frame}) {
        bool any = false;
        for (const SceneLine& l : s.lines) {
            if (l.role != role) continue;
            if (!any)
                out += std::string("<g ") + strokeStyle(role) + " stroke-linecap=\"square\">\n";
            any = true;
            out += "<line x1=\"" + coord(l.from.x) + "\" y1=\"" + coord(l.from.y) + "\" x2=\"" +
                   coord(l.to.x) + "\" y2=\"" + coord(l.to.y) + "\"/>\n";
        }
        if (any) out += "</g>\n";
    }
    for (const ScenePolyline& p : s.polylines) {
        out += std::string("<polyline class=\"field\" fill=\"none\" ") + strokeStyle(p.role) +
               " points=\"";
        for (std::size_t i = 0; i < p.points.size(); ++i) {
            if (i > 0) out += ' ';
            out += coord(p.points[i].x) + "," + coord(p.points[i].y);
        }
        out += "\"/>\n";
    }
    for (const SceneText& t : s.texts) {
        out += "<text x=\"" + coord(t.at.x) + "\" y=\"" + coord(t.at.y) + "\" font-size=\"" +
               coord(t.size) + "\" text-anchor=\"" + anchorName(t.anchor) +
               "\" dominant-baseline=\"central\"" + textStyle(t.role);
        if (t.angle != 0)
            out += " transform=\"rotate(" + coord(t.angle) + " " + coord(t.at.x) + " " +
                   coord(t.at.y) + ")\"";
        out += ">" + xmlEscaped(t.text) + "</text>\n";
    }
    for (const SceneMarker& m : s.markers) {
        out += "<g class=\"marker\" data-line=\"" + std::to_string(m.line) + "\"";
        if (m.offScale) out += " data-off-scale=\"true\"";
        out += "><title>" + xmlEscaped(m.tip) + "</title><circle cx=\"" + coord(m.at.x) +
               "\" cy=\"" + coord(m.at.y) + "\" r=\"4.5\" ";
        out += m.offScale ? "fill=\"none\" stroke=\"#c0392b\" stroke-width=\"1.5\""
                          : "fill=\"#c0392b\" stroke=\"#000000\" stroke-width=\"0.8\"";
        out += "/></g>\n";
    }
    out += "</svg>\n";
    return out;
}

}  // namespace qarv
