// Draws the desktop icons of the installed program: the application icons of
// Qarvelion and of its diagram viewer, and the icons of the two file types
// (analysis files .dor, diagram templates .grf). The Qarvelion icon is the
// spinel crystal of the program's own windows. Writes an icon-theme tree:
//   OUT/hicolor/<n>x<n>/apps/qarvelion.png, .../apps/qarvelion-grapher.png,
//   OUT/hicolor/<n>x<n>/mimetypes/application-x-qarvelion-{dor,grf}.png
// and touches OUT/icons.stamp when every file is written.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cstdio>
#include <functional>

#include "ui/artwork.h"

namespace {

const int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

const QColor kInk(60, 60, 72);
const QColor kPaper(252, 252, 248);
const QColor kSpinel(176, 28, 72);

// A sheet of paper with a folded corner, filling most of the square.
QRectF paintPage(QPainter& p, int n) {
    const double m = n * 0.12;
    const QRectF page(m, n * 0.04, n - 2 * m, n * 0.92);
    const double fold = page.width() * 0.28;
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    p.setPen(QPen(kInk, std::max(1.0, n / 40.0)));
    p.setBrush(kPaper);
    p.drawPath(outline);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    p.setBrush(QColor(220, 220, 214));
    p.drawPath(corner);
    return page.adjusted(page.width() * 0.12, fold + page.height() * 0.04, -page.width() * 0.12,
                         -page.height() * 0.08);
}

// The ternary triangle with a few analyses plotted in it.
void paintTernary(QPainter& p, const QRectF& box, double line) {
    const double side = std::min(box.width(), box.height() / 0.866);
    const QPointF left(box.center().x() - side / 2, box.bottom());
    const QPointF right(box.center().x() + side / 2, box.bottom());
    const QPointF top(box.center().x(), box.bottom() - side * 0.866);
    p.setPen(QPen(kInk, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(236, 244, 255));
    p.drawPolygon(QPolygonF{left, right, top});
    // Field boundaries from the middle of the sides.
    p.setPen(QPen(QColor(90, 120, 170), line * 0.7));
    const QPointF centre = (left + right + top) / 3.0;
    p.drawLine(centre, (left + right) / 2.0);
    p.drawLine(centre, (left + top) / 2.0);
    p.drawLine(centre, (right + top) / 2.0);
    // The analyses: a small cluster in one field.
    p.setPen(Qt::NoPen);
    p.setBrush(kSpinel);
    const double r = std::max(1.0, side * 0.045);
    const double at[][2] = {{0.30, 0.22}, {0.38, 0.30}, {0.34, 0.38}, {0.44, 0.24}, {0.28, 0.52}};
    for (const auto& a : at) {
        // Barycentric: a[0] towards `right`, a[1] towards `top`.
        const QPointF q = left + (right - left) * a[0] + (top - left) * a[1];
        p.drawEllipse(q, r, r);
    }
}

QImage blank(int n) {
    QImage image(n, n, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage applicationIcon(int n) {
    return qarv::ui::spinelPicture(n, 1.0).toImage();
}

// The diagram viewer: the ternary diagram on a rounded card, with the crystal
// in the corner when there is room for it.
QImage grapherIcon(int n) {
    QImage image = blank(n);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(n * 0.04, n * 0.04, n * 0.92, n * 0.92);
    p.setPen(QPen(kInk, std::max(1.0, n / 48.0)));
    p.setBrush(kPaper);
    p.drawRoundedRect(card, n * 0.12, n * 0.12);
    paintTernary(p, card.adjusted(n * 0.10, n * 0.12, -n * 0.10, -n * 0.12),
                 std::max(1.0, n / 32.0));
    if (n >= 32) {
        const int s = n * 3 / 8;
        p.drawPixmap(QPointF(n - s - n * 0.02, n * 0.0), qarv::ui::spinelPicture(s, 1.0));
    }
    return image;
}

// An analysis file: a page with table rows.
QImage analysisFileIcon(int n) {
    QImage image = blank(n);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF inside = paintPage(p, n);
    const double line = std::max(1.0, n / 64.0);
    p.setPen(QPen(QColor(150, 150, 160), line));
    const int rows = n >= 32 ? 6 : 3;
    for (int i = 0; i <= rows; ++i) {
        const double y = inside.top() + inside.height() * i / rows;
        p.drawLine(QPointF(inside.left(), y), QPointF(inside.right(), y));
    }
    p.drawLine(QPointF(inside.left() + inside.width() * 0.35, inside.top()),
               QPointF(inside.left() + inside.width() * 0.35, inside.bottom()));
    if (n >= 24) {
        const int s = n / 2;
        p.drawPixmap(QPointF(n * 0.0, n - s), qarv::ui::spinelPicture(s, 1.0));
    }
    return image;
}

// A diagram template: a page with the ternary diagram.
QImage templateFileIcon(int n) {
    QImage image = blank(n);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF inside = paintPage(p, n);
    paintTernary(p, inside, std::max(1.0, n / 40.0));
    return image;
}

struct Icon {
    const char* context;
    const char* name;
    std::function<QImage(int)> draw;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qarvelion-make-icons OUTPUT_FOLDER\n");
        return 2;
    }
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const Icon icons[] = {
        {"apps", "qarvelion", applicationIcon},
        {"apps", "qarvelion-grapher", grapherIcon},
        {"mimetypes", "application-x-qarvelion-dor", analysisFileIcon},
        {"mimetypes", "application-x-qarvelion-grf", templateFileIcon},
    };
    for (int n : kSizes) {
        for (const Icon& icon : icons) {
            const QString folder =
                QStringLiteral("%1/hicolor/%2x%2/%3").arg(out).arg(n).arg(icon.context);
            const QString path = folder + QLatin1Char('/') + icon.name + QStringLiteral(".png");
            if (!QDir().mkpath(folder) || !icon.draw(n).save(path, "PNG")) {
                std::fprintf(stderr, "qarvelion-make-icons: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    QFile stamp(out + QStringLiteral("/icons.stamp"));
    if (!stamp.open(QIODevice::WriteOnly)) return 1;
    return 0;
}
