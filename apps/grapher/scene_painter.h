#pragma once
// Paints a diagram scene with QPainter, and writes it to PNG, SVG or PDF.

#include <QString>

#include "diagrams/diagram_plot.h"

class QPainter;

namespace qarv::grapher {

// Paints the scene in its own units; the caller sets up any scaling.
void paintScene(QPainter& painter, const PlotScene& scene);

enum class ExportFormat { Png, Svg, Pdf, Unknown };
// From the file name's extension, case-insensitively.
ExportFormat exportFormatOf(const QString& fileName);

// Writes the scene; false with a reason on failure. PNG is drawn at twice
// the scene's size, PDF on a page of the scene's size in points.
bool exportScene(const PlotScene& scene, const QString& fileName, QString* error);

// The picture size of an export: wider for a pair of triangles.
PlotOptions exportOptions(const DiagramTemplate* diagram, bool sampleNames);

}  // namespace qarv::grapher
