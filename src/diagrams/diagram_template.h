#pragma once
// The plot templates (".grf") that the Graph menu opens: one plain-text file
// per catalogue entry, read by the grapher. A template names the diagram, its
// source, the data file it plots and which data column goes to which axis or
// apex; it may carry field boundaries, each with the source of its
// coordinates.
//
// The file is a list of lines "keyword argument ...": texts in double quotes
// (\" and \\ inside), numbers with the period as decimal character, "#"
// starts a comment line. The last line is "end", so a truncated file is
// recognised.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "diagrams/diagram_catalogue.h"

namespace qarv {

inline constexpr int kTemplateFormatVersion = 1;
inline constexpr std::string_view kTemplateMagic = "qarvelion-diagram";

// A template larger than this is refused unread.
inline constexpr std::size_t kMaxTemplateBytes = 1 << 20;
inline constexpr std::size_t kMaxTemplateLineBytes = 8192;
inline constexpr std::size_t kMaxFieldsPerPanel = 100;
inline constexpr std::size_t kMaxPointsPerField = 1000;

enum class PlotKind {
    Binary,       // one X-Y diagram
    Ternary,      // one triangle
    TernaryPair,  // two triangles side by side over one data file
};
enum class AxisScale { Linear, Log };

std::string_view plotKindName(PlotKind kind);
std::string_view axisScaleName(AxisScale scale);

// An axis of a binary diagram. The range is the diagram's own; the plot
// widens it where a point lies outside.
struct TemplateAxis {
    int column = 0;  // 1-based data column, counted after "SampleNo"
    std::string title;
    AxisScale scale = AxisScale::Linear;
    double min = 0;
    double max = 1;
    bool operator==(const TemplateAxis&) const = default;
};

// An apex of a triangle: the data column whose share puts a point there.
struct TemplateApex {
    int column = 0;
    std::string label;
    bool operator==(const TemplateApex&) const = default;
};

// A point of a field boundary: x and y on a binary diagram; the shares of
// the top, left and right apexes on a triangle (any scale; they are
// normalised).
struct FieldPoint {
    double a = 0;
    double b = 0;
    double c = 0;
    bool operator==(const FieldPoint&) const = default;
};

struct FieldBoundary {
    std::string label;
    FieldPoint labelAt;
    std::vector<FieldPoint> points;  // a polyline, at least two points
    bool operator==(const FieldBoundary&) const = default;
};

enum class ApexPosition { Top = 0, Left = 1, Right = 2 };

struct TemplatePanel {
    std::string title;
    bool ternary = false;
    TemplateAxis x;                      // binary only
    TemplateAxis y;                      // binary only
    std::array<TemplateApex, 3> apexes;  // ternary only: top, left, right
    std::vector<FieldBoundary> fields;
    bool operator==(const TemplatePanel&) const = default;
};

struct DiagramTemplate {
    std::string templateFile;  // e.g. "MgFeCrAl100_1.grf"
    std::string caption;       // the menu caption, blanks included
    std::string title;         // the caption without number and source
    std::string source;        // the literature the caption cites, or empty
    PlotKind kind = PlotKind::Binary;
    std::string dataFile;                  // bare name, e.g. "MgFeCrAl100.dat"
    std::vector<std::string> dataColumns;  // the data file's titles after "SampleNo"
    std::vector<std::string> notes;        // remarks on the data file, shown in the window
    std::string fieldSource;  // where the field boundaries come from; required with fields
    std::vector<TemplatePanel> panels;  // Binary and Ternary: one, TernaryPair: two
    bool operator==(const DiagramTemplate&) const = default;
};

// A caption split into its parts: "[9]  100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al)
// [Irvine and Findlay (1972)]" gives number "[9]", title
// "100Mg/(Mg+Fe2+) - 100Cr/(Cr+Al)" and source "Irvine and Findlay (1972)".
// The source is the bracketed part that holds a year in parentheses; runs of
// blanks in the title become one.
struct CaptionParts {
    std::string number;
    std::string title;
    std::string source;
};
CaptionParts splitCaption(std::string_view caption);

// The template of a catalogue entry, made from the catalogue, the data files'
// table and the plotting facts kept for each template name.
DiagramTemplate templateForEntry(const DiagramEntry& entry);
// Template names of the catalogue that have no plotting facts, and plotting
// facts whose template name is not in the catalogue (both empty when the two
// tables agree).
std::vector<std::string> plotFactsMismatches();

std::string writeTemplate(const DiagramTemplate& t);

struct TemplateParseResult {
    DiagramTemplate diagram;
    std::string error;  // empty on success; "line N: ..." otherwise
    bool ok() const { return error.empty(); }
};
TemplateParseResult parseTemplate(std::string_view text);
// Reads and parses a file; a missing, unreadable or oversized file is an
// error naming the file.
TemplateParseResult readTemplateFile(const std::filesystem::path& path);

}  // namespace qarv
