#pragma once
// The grapher's window: one diagram template drawn with the data of the
// last run, the sample name of a point as its tooltip, Reload, and Export
// to PNG, SVG and PDF.

#include <QMainWindow>
#include <QWidget>
#include <filesystem>

#include "diagrams/diagram_document.h"
#include "scene_painter.h"
#include "ui/platform.h"

class QAction;
class QLabel;

namespace qarv::grapher {

// Draws a document's scene at the widget's size.
class PlotWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PlotWidget(QWidget* parent = nullptr);
    void setDocument(const DiagramDocument* document);
    void setSampleNames(bool on);
    // The scene as last painted (built for the widget's current size).
    const PlotScene& scene();
    // The marker nearest to a point within a few units, if any.
    const SceneMarker* markerAt(const QPointF& at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

  private:
    const DiagramDocument* document_ = nullptr;
    bool sampleNames_ = false;
    bool stale_ = true;
    PlotScene scene_;
};

class GrapherWindow : public QMainWindow {
    Q_OBJECT
  public:
    GrapherWindow(std::filesystem::path templatePath, std::filesystem::path workingFolder,
                  ui::Platform platform, QWidget* parent = nullptr);

    const DiagramDocument& document() const { return document_; }
    PlotWidget* plot() const { return plot_; }
    QAction* reloadAction() const { return reload_; }
    QAction* sampleNamesAction() const { return names_; }

    // Reads the template and its data file again.
    void reload();
    // Asks for a file name and writes the diagram in that format; the
    // picture has the size of the export, not of the window.
    void exportAs(ExportFormat format);

  private:
    void updateStatus();

    std::filesystem::path templatePath_;
    std::filesystem::path workingFolder_;
    ui::Platform platform_;
    DiagramDocument document_;
    PlotWidget* plot_ = nullptr;
    QLabel* status_ = nullptr;
    QAction* reload_ = nullptr;
    QAction* names_ = nullptr;
};

}  // namespace qarv::grapher
