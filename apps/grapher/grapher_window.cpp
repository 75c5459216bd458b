#include "grapher_window.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolTip>
#include <cmath>

namespace qarv::grapher {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(420, 360);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void PlotWidget::setDocument(const DiagramDocument* document) {
    document_ = document;
    stale_ = true;
    update();
}

void PlotWidget::setSampleNames(bool on) {
    sampleNames_ = on;
    stale_ = true;
    update();
}

const PlotScene& PlotWidget::scene() {
    if (stale_ || scene_.width != width() || scene_.height != height()) {
        PlotOptions options;
        options.width = width();
        options.height = height();
        options.sampleNames = sampleNames_;
        scene_ = document_ != nullptr ? documentScene(*document_, options)
                                      : messageScene("No diagram template.", options);
        stale_ = false;
    }
    return scene_;
}

const SceneMarker* PlotWidget::markerAt(const QPointF& at) {
    const SceneMarker* nearest = nullptr;
    double best = 8 * 8;  // within 8 units of the marker's centre
    for (const SceneMarker& m : scene().markers) {
        const double dx = m.at.x - at.x(), dy = m.at.y - at.y();
        const double d = dx * dx + dy * dy;
        if (d <= best) {
            best = d;
            nearest = &m;
        }
    }
    return nearest;
}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintScene(painter, scene());
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
    stale_ = true;
    QWidget::resizeEvent(event);
}

bool PlotWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const SceneMarker* m = markerAt(help->pos())) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(m->tip), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

GrapherWindow::GrapherWindow(std::filesystem::path templatePath,
                             std::filesystem::path workingFolder, ui::Platform platform,
                             QWidget* parent)
    : QMainWindow(parent),
      templatePath_(std::move(templatePath)),
      workingFolder_(std::move(workingFolder)),
      platform_(platform) {
    plot_ = new PlotWidget(this);
    setCentralWidget(plot_);
    status_ = new QLabel(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(status_, 1);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    reload_ = file->addAction(tr("&Reload"), this, &GrapherWindow::reload);
    reload_->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(tr("Ctrl+R"))});
    reload_->setStatusTip(tr("Read the template and the data of the last run again"));
    file->addSeparator();
    file->addAction(tr("Export as &PNG..."), this, [this] { exportAs(ExportFormat::Png); });
    file->addAction(tr("Export as &SVG..."), this, [this] { exportAs(ExportFormat::Svg); });
    file->addAction(tr("Export as P&DF..."), this, [this] { exportAs(ExportFormat::Pdf); });
    file->addSeparator();
    QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence(tr("Ctrl+Q")));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    names_ = view->addAction(tr("Sample &Names"));
    names_->setCheckable(true);
    connect(names_, &QAction::toggled, plot_, &PlotWidget::setSampleNames);

    resize(900, 760);
    reload();
}

void GrapherWindow::reload() {
    document_ = loadDiagramDocument(templatePath_, workingFolder_);
    plot_->setDocument(&document_);
    const QString name = QString::fromStdString(templatePath_.filename().string());
    const QString title =
        document_.templateOk ? QString::fromStdString(document_.diagram.title) : name;
    setWindowTitle(title + QStringLiteral(" - Qarvelion Grapher"));
    updateStatus();
}

void GrapherWindow::updateStatus() {
    QString text;
    if (document_.dataOk) {
        // A file of the working folder by its name, any other by its path.
        const bool inWorking = document_.dataPath.parent_path() == workingFolder_;
        const QString where = inWorking
                                  ? QString::fromStdString(document_.dataPath.filename().string()) +
                                        QStringLiteral(" in the working folder")
                                  : QString::fromStdString(document_.dataPath.string());
        text = QStringLiteral("Data: %1, %2 samples").arg(where).arg(document_.data.points.size());
    } else if (document_.templateOk) {
        text =
            QStringLiteral("No data: %1").arg(QString::fromStdString(document_.diagram.dataFile));
    } else {
        text = QStringLiteral("No template");
    }
    QString tip;
    std::vector<std::string> lines = document_.remarks;
    if (document_.templateOk)
        lines.insert(lines.end(), document_.diagram.notes.begin(), document_.diagram.notes.end());
    for (const std::string& r : lines) {
        if (!tip.isEmpty()) tip += QLatin1Char('\n');
        tip += QString::fromStdString(r);
    }
    if (!document_.remarks.empty())
        text += QStringLiteral("  (") + QString::fromStdString(document_.remarks.front()) +
                QStringLiteral(")");
    status_->setText(text);
    status_->setToolTip(tip);
}

void GrapherWindow::exportAs(ExportFormat format) {
    QString filter, suffix;
    switch (format) {
        case ExportFormat::Png:
            filter = QStringLiteral("PNG picture |*.png");
            suffix = QStringLiteral(".png");
            break;
        case ExportFormat::Svg:
            filter = QStringLiteral("SVG drawing |*.svg");
            suffix = QStringLiteral(".svg");
            break;
        default:
            filter = QStringLiteral("PDF document |*.pdf");
            suffix = QStringLiteral(".pdf");
            break;
    }
    QString proposed = QString::fromStdString(templatePath_.stem().string()) + suffix;
    QString chosen = platform_.dialogs->saveFile(this, filter, proposed);
    if (chosen.isEmpty()) return;
    if (exportFormatOf(chosen) != format) chosen += suffix;
    const PlotScene scene = documentScene(
        document_,
        exportOptions(document_.templateOk ? &document_.diagram : nullptr, names_->isChecked()));
    QString error;
    if (!exportScene(scene, chosen, &error)) {
        platform_.messages->show(this, QStringLiteral("Qarvelion Grapher"), error);
    } else {
        statusBar()->showMessage(QStringLiteral("Written: %1").arg(chosen), 5000);
    }
}

}  // namespace qarv::grapher
