#include "scene_painter.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>

namespace qarv::grapher {
namespace {

QPointF toQt(const ScenePoint& p) {
    return {p.x, p.y};
}

QPen penFor(StrokeRole role) {
    switch (role) {
        case StrokeRole::Frame:
            return QPen(QColor(0, 0, 0), 1.3, Qt::SolidLine, Qt::SquareCap);
        case StrokeRole::Grid:
            return QPen(QColor(200, 200, 200), 0.7);
        case StrokeRole::Tick:
            return QPen(QColor(0, 0, 0), 1.0);
        case StrokeRole::Field:
            return QPen(QColor(31, 78, 156), 1.4);
    }
    return QPen(Qt::black);
}

QFont fontFor(const SceneText& t) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(t.size + 0.5)));
    if (t.role == TextRole::Title || t.role == TextRole::ApexLabel ||
        t.role == TextRole::PanelTitle)
        font.setBold(true);
    if (t.role == TextRole::Source) font.setItalic(true);
    return font;
}

QColor textColour(TextRole role) {
    switch (role) {
        case TextRole::FieldLabel:
            return QColor(31, 78, 156);
        case TextRole::Message:
            return QColor(139, 0, 0);
        case TextRole::SampleName:
            return QColor(51, 51, 51);
        default:
            return QColor(0, 0, 0);
    }
}

}  // namespace

void paintScene(QPainter& painter, const PlotScene& scene) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, 0, scene.width, scene.height), Qt::white);
    for (StrokeRole role : {StrokeRole::Grid, StrokeRole::Tick, StrokeRole::Frame}) {
        painter.setPen(penFor(role));
        for (const SceneLine& l : scene.lines)
            if (l.role == role) painter.drawLine(toQt(l.from), toQt(l.to));
    }
    for (const ScenePolyline& p : scene.polylines) {
        painter.setPen(penFor(p.role));
        QPolygonF poly;
        for (const ScenePoint& pt : p.points) poly << toQt(pt);
        painter.drawPolyline(poly);
    }
    for (const SceneText& t : scene.texts) {
        const QFont font = fontFor(t);
        const QFontMetricsF metrics(font);
        const QString text = QString::fromStdString(t.text);
        const double width = metrics.horizontalAdvance(text);
        double dx = 0;
        if (t.anchor == TextAnchor::Middle) dx = -width / 2;
        if (t.anchor == TextAnchor::End) dx = -width;
        const double baseline = (metrics.ascent() - metrics.descent()) / 2;
        painter.save();
        painter.setFont(font);
        painter.setPen(textColour(t.role));
        painter.translate(t.at.x, t.at.y);
        if (t.angle != 0) painter.rotate(t.angle);
        painter.drawText(QPointF(dx, baseline), text);
        painter.restore();
    }
    for (const SceneMarker& m : scene.markers) {
        if (m.offScale) {
            painter.setPen(QPen(QColor(192, 57, 43), 1.5));
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setPen(QPen(Qt::black, 0.8));
            painter.setBrush(QColor(192, 57, 43));
        }
        painter.drawEllipse(toQt(m.at), 4.5, 4.5);
    }
    painter.restore();
}

ExportFormat exportFormatOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png")) return ExportFormat::Png;
    if (suffix == QLatin1String("svg")) return ExportFormat::Svg;
    if (suffix == QLatin1String("pdf")) return ExportFormat::Pdf;
    return ExportFormat::Unknown;
}

bool exportScene(const PlotScene& scene, const QString& fileName, QString* error) {
    auto failed = [&](const QString& why) {
        if (error != nullptr) *error = why;
        return false;
    };
    const ExportFormat format = exportFormatOf(fileName);
    if (format == ExportFormat::Unknown)
        return failed(
            QStringLiteral("'%1': the file name must end in .png, .svg or .pdf").arg(fileName));

    // Written under a temporary name and put in place when complete.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return failed(QStringLiteral("cannot write '%1': %2").arg(fileName, file.errorString()));
    if (format == ExportFormat::Svg) {
        const std::string svg = writeSvg(scene);
        file.write(svg.data(), static_cast<qint64>(svg.size()));
    } else if (format == ExportFormat::Png) {
        constexpr double kScale = 2;
        QImage image(static_cast<int>(scene.width * kScale + 0.5),
                     static_cast<int>(scene.height * kScale + 0.5), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.scale(kScale, kScale);
            paintScene(painter, scene);
        }
        if (!image.save(&file, "PNG"))
            return failed(QStringLiteral("cannot write '%1' as PNG").arg(fileName));
    } else {
        QPdfWriter pdf(&file);
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(scene.width, scene.height), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        pdf.setCreator(QStringLiteral("qarvelion-grapher"));
        QPainter painter;
        if (!painter.begin(&pdf))
            return failed(QStringLiteral("cannot write '%1' as PDF").arg(fileName));
        paintScene(painter, scene);
        painter.end();
    }
    if (!file.commit())
        return failed(QStringLiteral("cannot write '%1': %2").arg(fileName, file.errorString()));
    return true;
}

PlotOptions exportOptions(const DiagramTemplate* diagram, bool sampleNames) {
    PlotOptions options;
    if (diagram != nullptr && diagram->kind == PlotKind::TernaryPair) {
        options.width = 1240;
        options.height = 640;
    } else if (diagram != nullptr && diagram->kind == PlotKind::Ternary) {
        options.width = 760;
        options.height = 680;
    }
    options.sampleNames = sampleNames;
    return options;
}

}  // namespace qarv::grapher
