#include "ui/artwork.h"

#include <QGuiApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace qarv::ui {
namespace {

constexpr double kPi = 3.14159265358979323846;
double radians(double degrees) {
    return degrees * kPi / 180.0;
}

// ---------------------------------------------------------------------------
// The octahedron, shared by the picture and the "calculate" icon.

struct Vec3 {
    double x, y, z;
};

double dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 normalized(const Vec3& v) {
    const double n = std::sqrt(dot(v, v));
    return {v.x / n, v.y / n, v.z / n};
}

// How the crystal is turned towards the viewer: first about the vertical
// axis, then the top tipped towards the viewer, then a roll in the picture
// plane. View space has x to the right, y up and z towards the viewer.
struct Pose {
    double yaw, pitch, roll;  // degrees
};

Vec3 turned(const Vec3& v, const Pose& pose) {
    const double a = radians(pose.yaw), b = radians(pose.pitch), c = radians(pose.roll);
    const Vec3 r1{v.x * std::cos(a) + v.z * std::sin(a), v.y,
                  -v.x * std::sin(a) + v.z * std::cos(a)};
    const Vec3 r2{r1.x, r1.y * std::cos(b) - r1.z * std::sin(b),
                  r1.y * std::sin(b) + r1.z * std::cos(b)};
    return {r2.x * std::cos(c) - r2.y * std::sin(c), r2.x * std::sin(c) + r2.y * std::cos(c), r2.z};
}

// One face, projected orthographically (screen y points down).
struct Facet {
    QPolygonF corners;
    Vec3 normal;  // unit outward normal in view space
    bool front() const { return normal.z > 1e-9; }
};

// The eight faces of the regular octahedron with vertices at unit distance.
std::vector<Facet> octahedron(const Pose& pose) {
    std::vector<Facet> faces;
    for (int sx : {-1, 1}) {
        for (int sy : {-1, 1}) {
            for (int sz : {-1, 1}) {
                const std::array<Vec3, 3> tips{Vec3{double(sx), 0, 0}, Vec3{0, double(sy), 0},
                                               Vec3{0, 0, double(sz)}};
                Facet f;
                for (const Vec3& t : tips) {
                    const Vec3 v = turned(t, pose);
                    f.corners << QPointF(v.x, -v.y);
                }
                f.normal = normalized(turned(Vec3{double(sx), double(sy), double(sz)}, pose));
                faces.push_back(f);
            }
        }
    }
    return faces;
}

// Maps the faces' unit coordinates onto `target`, keeping proportions.
QTransform fitting(const std::vector<Facet>& faces, const QRectF& target) {
    QRectF bounds;
    for (const Facet& f : faces) bounds = bounds.united(f.corners.boundingRect());
    const double scale =
        std::min(target.width() / bounds.width(), target.height() / bounds.height());
    QTransform t;
    t.translate(target.center().x(), target.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    return t;
}

// Light from the upper left, a little in front of the crystal.
const Vec3 kLight = normalized(Vec3{-0.50, 0.62, 0.70});

// Diffuse light reaching a face, 0 (in shadow) to 1 (facing the light).
double brightness(const Vec3& normal) {
    return std::clamp(dot(normal, kLight), 0.0, 1.0);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor withAlpha(QColor c, double alpha) {
    c.setAlphaF(float(alpha));
    return c;
}

// ---------------------------------------------------------------------------
// The spinel picture.

// A red spinel's body colour from its darkest shadow to its brightest face.
QColor spinelShade(double t) {
    static const std::array<QColor, 5> ramp{QColor(0x3a, 0x02, 0x16), QColor(0x76, 0x07, 0x2b),
                                            QColor(0xb1, 0x12, 0x45), QColor(0xdc, 0x3a, 0x6c),
                                            QColor(0xf2, 0x7a, 0x9f)};
    t = std::clamp(t, 0.0, 1.0) * double(ramp.size() - 1);
    const int i = std::min(int(t), int(ramp.size()) - 2);
    return mix(ramp[size_t(i)], ramp[size_t(i) + 1], t - i);
}

const QColor kSpinelEdge(0x2e, 0x01, 0x10);

QPainterPath polygonPath(const QPolygonF& polygon) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

// A soft shadow on the ground below the crystal's lowest point.
void paintGroundShadow(QPainter& p, const QPointF& centre, double width) {
    QRadialGradient g(centre, width / 2);
    g.setColorAt(0.0, QColor(0x20, 0x08, 0x10, 80));
    g.setColorAt(0.6, QColor(0x20, 0x08, 0x10, 30));
    g.setColorAt(1.0, QColor(0x20, 0x08, 0x10, 0));
    p.save();
    p.translate(centre);
    p.scale(1.0, 0.16);
    p.translate(-centre);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, width / 2, width / 2);
    p.restore();
}

// A four-pointed glint, as light catches a sharp corner.
void paintGlint(QPainter& p, const QPointF& c, double r) {
    QPainterPath star;
    const double w = r * 0.16;
    star.moveTo(c.x(), c.y() - r);
    star.quadTo(c.x() + w, c.y() - w, c.x() + r, c.y());
    star.quadTo(c.x() + w, c.y() + w, c.x(), c.y() + r);
    star.quadTo(c.x() - w, c.y() + w, c.x() - r, c.y());
    star.quadTo(c.x() - w, c.y() - w, c.x(), c.y() - r);
    QRadialGradient halo(c, r * 0.9);
    halo.setColorAt(0.0, QColor(255, 255, 255, 150));
    halo.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, r * 0.9, r * 0.9);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawPath(star);
}

void paintSpinel(QPainter& p, const QRectF& area) {
    const Pose pose{21.0, 17.0, -2.5};
    const std::vector<Facet> unit = octahedron(pose);
    const double side = std::min(area.width(), area.height());
    const QRectF crystalBox(area.left() + side * 0.08, area.top() + side * 0.04, side * 0.84,
                            side * 0.86);
    const QTransform toArea = fitting(unit, crystalBox);

    std::vector<Facet> faces = unit;
    for (Facet& f : faces) f.corners = toArea.map(f.corners);

    QPointF lowest(0, -1e9);
    for (const Facet& f : faces)
        for (const QPointF& c : f.corners)
            if (c.y() > lowest.y()) lowest = c;
    paintGroundShadow(p, QPointF(crystalBox.center().x(), lowest.y() + side * 0.035),
                      crystalBox.width() * 0.85);

    const double edge = std::max(1.0, side / 110.0);

    // The far side, glimpsed through the stone.
    QPainterPath outline;
    for (const Facet& f : faces) outline = outline.united(polygonPath(f.corners));
    outline = outline.simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(spinelShade(0.10));
    p.drawPath(outline);
    const double glimpse = side < 96 ? 0.25 : 0.45;  // faint lines turn to noise when small
    p.setPen(QPen(withAlpha(spinelShade(0.75), glimpse), edge * 0.8, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (const Facet& f : faces)
        if (!f.front()) p.drawPolygon(f.corners);

    // The near faces, slightly translucent, each shaded by its turn to the light.
    const Facet* brightest = nullptr;
    for (const Facet& f : faces) {
        if (!f.front()) continue;
        // Key light from the upper left, weaker fills from the viewer's side and
        // from the sky.
        const double t = 0.20 + 0.50 * brightness(f.normal) + 0.22 * f.normal.z + 0.16 * f.normal.y;
        const QRectF box = f.corners.boundingRect();
        QLinearGradient g(box.topLeft(), box.bottomRight());
        g.setColorAt(0.0, withAlpha(spinelShade(t + 0.10), 0.93));
        g.setColorAt(1.0, withAlpha(spinelShade(t - 0.10), 0.93));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPolygon(f.corners);
        if (!brightest || brightness(f.normal) > brightness(brightest->normal)) brightest = &f;
    }

    // A soft sheen on the face towards the light, brightest near its upper corner.
    if (brightest) {
        const QPolygonF& c = brightest->corners;
        const QPointF centroid = (c[0] + c[1] + c[2]) / 3.0;
        QPointF top = c[0];
        for (const QPointF& q : c)
            if (q.y() + q.x() * 0.3 < top.y() + top.x() * 0.3) top = q;
        const QPointF spot = centroid + (top - centroid) * 0.35;
        const double reach = QLineF(centroid, top).length() * 0.95;
        QRadialGradient sheen(spot, reach);
        sheen.setColorAt(0.0, QColor(255, 255, 255, 150));
        sheen.setColorAt(0.45, QColor(255, 255, 255, 45));
        sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.save();
        p.setClipPath(polygonPath(c));
        p.setPen(Qt::NoPen);
        p.setBrush(sheen);
        p.drawEllipse(spot, reach, reach);
        p.restore();
    }

    // Light refracted through the stone glows in the lower faces.
    for (const Facet& f : faces) {
        if (!f.front() || f.normal.y > 0) continue;
        const QPolygonF& c = f.corners;
        const QPointF centroid = (c[0] + c[1] + c[2]) / 3.0;
        const double reach = f.corners.boundingRect().width() * 0.45;
        QRadialGradient glow(centroid, reach);
        glow.setColorAt(0.0, withAlpha(spinelShade(0.8), 0.30 * f.normal.z + 0.08));
        glow.setColorAt(1.0, withAlpha(spinelShade(0.8), 0.0));
        p.save();
        p.setClipPath(polygonPath(c));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(centroid, reach, reach);
        p.restore();
    }

    // Crisp edges: the ridges between near faces, then the outline.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kSpinelEdge, 0.85), edge, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Facet& f : faces)
        if (f.front()) p.drawPolygon(f.corners);
    p.setPen(QPen(kSpinelEdge, edge * 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(outline);

    // Light catching the ridges next to the bright face.
    if (brightest) {
        p.setPen(QPen(QColor(255, 225, 235, 120), edge * 0.7, Qt::SolidLine, Qt::RoundCap));
        const QPolygonF& c = brightest->corners;
        for (int i = 0; i < 3; ++i) {
            const QPointF a = c[i], b = c[(i + 1) % 3];
            const QPointF inward = ((c[0] + c[1] + c[2]) / 3.0 - (a + b) / 2.0);
            const double len = std::hypot(inward.x(), inward.y());
            const QPointF shift = inward * (edge * 1.1 / len);
            p.drawLine(a + shift + (b - a) * 0.08, a + shift + (b - a) * 0.92);
        }
    }

    if (side >= 40) {
        QPointF top = faces.front().corners[0];
        for (const Facet& f : faces)
            for (const QPointF& c : f.corners)
                if (c.y() < top.y()) top = c;
        paintGlint(p, top + QPointF(-side * 0.005, side * 0.045), side * 0.07);
    }
}

// ---------------------------------------------------------------------------
// Toolbar icons. Each is drawn on a 24-unit grid scaled to the pixmap's pixel
// size, with outlines snapped so their outer edges fall on pixel boundaries.

const QColor kInk(0x2f, 0x3b, 0x46);     // outlines: dark slate
const QColor kPaper(0xff, 0xff, 0xff);   // pages and cells
const QColor kRule(0x9a, 0xa7, 0xb2);    // text lines and grid rules
const QColor kPencil(0xf4, 0xb1, 0x2e);  // pencil body
const QColor kWood(0xf6, 0xdc, 0xb0);    // sharpened pencil wood

// One accent per command family.
struct Family {
    QColor deep;    // shadowed faces
    QColor strong;  // filled shapes, arrows, badges
    QColor mid;     // secondary fills
    QColor light;   // lit faces
    QColor soft;    // tints behind other shapes
};
const Family kFiles{QColor(0x14, 0x4a, 0x90), QColor(0x1f, 0x6f, 0xd6), QColor(0x6c, 0xa6, 0xee),
                    QColor(0x9f, 0xc6, 0xf5), QColor(0xd4, 0xe5, 0xfb)};
const Family kClipboard{QColor(0x4a, 0x55, 0x5f), QColor(0x6b, 0x7a, 0x87),
                        QColor(0xa9, 0xb5, 0xbf), QColor(0xc9, 0xd2, 0xd9),
                        QColor(0xe1, 0xe6, 0xea)};
const Family kSheet{QColor(0x14, 0x5e, 0x33), QColor(0x1e, 0x8a, 0x4c), QColor(0x5c, 0xb8, 0x7f),
                    QColor(0x9a, 0xd6, 0xb0), QColor(0xd3, 0xee, 0xdc)};
const Family kCalc{QColor(0x6e, 0x08, 0x2e), QColor(0xb3, 0x14, 0x47), QColor(0xdb, 0x2e, 0x6a),
                   QColor(0xf4, 0x8f, 0xb1), QColor(0xf8, 0xd0, 0xdc)};
const QColor kDanger(0xd3, 0x3a, 0x3a);

class Sketch {
  public:
    Sketch(QPainter& painter, int pixels)
        : p(painter),
          pixels_(pixels),
          scale_(pixels / 24.0),
          line_(std::max(1.0, std::round(pixels / 8.0) / 2.0)),
          hair_(std::max(1.0, std::floor(pixels / 24.0))) {}

    QPainter& p;

    bool small() const { return pixels_ < 20; }
    int pixels() const { return pixels_; }
    double line() const { return line_; }  // outline width in pixels
    double hair() const { return hair_; }  // rule width in pixels

    // Grid units to pixels, exact and snapped to a pixel boundary.
    double u(double v) const { return v * scale_; }
    double snap(double v) const { return std::round(v * scale_); }
    QPointF at(double x, double y) const { return {u(x), u(y)}; }

    // The stroke-centre rectangle of an outlined shape whose outer edge is the
    // grid rectangle (x0, y0)-(x1, y1).
    QRectF frame(double x0, double y0, double x1, double y1) const {
        const double h = line_ / 2.0;
        return QRectF(QPointF(snap(x0) + h, snap(y0) + h), QPointF(snap(x1) - h, snap(y1) - h));
    }

    // The centre of a crisp rule near grid position v, or near pixel position px.
    double rule(double v) const { return rulePx(v * scale_); }
    double rulePx(double px) const { return std::round(px - hair_ / 2.0) + hair_ / 2.0; }

    QPen ink(const QColor& c = kInk) const {
        return QPen(c, line_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    }
    QPen roundInk(const QColor& c, double width) const {
        return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }

    // Fills a shape and draws its outline.
    void shape(const QPainterPath& path, const QBrush& fill, const QColor& outline = kInk) const {
        p.setPen(ink(outline));
        p.setBrush(fill);
        p.drawPath(path);
    }
    void shape(const QRectF& rect, const QBrush& fill, const QColor& outline = kInk) const {
        QPainterPath path;
        path.addRect(rect);
        shape(path, fill, outline);
    }

    void rule(const QPointF& a, const QPointF& b, const QColor& c = kRule) const {
        p.setPen(QPen(c, hair_, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(a, b);
    }

    // Clears a transparent gap around a shape about to be drawn over others.
    void knockout(const QPainterPath& path, double gapUnits = 1.0) const {
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.setPen(QPen(Qt::black, line_ + 2.0 * std::max(1.0, u(gapUnits)), Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::black);
        p.drawPath(path);
        p.restore();
    }

  private:
    int pixels_;
    double scale_;
    double line_;
    double hair_;
};

// --- primitives ------------------------------------------------------------

// A sheet of paper with its top right corner folded down.
void page(const Sketch& s, double x0, double y0, double x1, double y1, const Family& f,
          bool lines = false) {
    const QRectF r = s.frame(x0, y0, x1, y1);
    const double fold = s.snap(s.small() ? 4.5 : 5.0);
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    s.shape(sheet, kPaper);
    QPainterPath flap;
    flap.moveTo(r.right() - fold, r.top());
    flap.lineTo(r.right() - fold, r.top() + fold);
    flap.lineTo(r.right(), r.top() + fold);
    flap.closeSubpath();
    s.shape(flap, f.soft);
    if (!lines) return;
    const double left = r.left() + s.u(2.5), right = r.right() - s.u(2.5);
    const double step = s.small() ? 4.0 : 3.0;
    for (double y = y0 + 8.5; y < y1 - 2.0; y += step)
        s.rule(QPointF(left, s.rule(y)), QPointF(right, s.rule(y)));
}

// An open folder: the back with its tab, and the front leaning forward.
void folder(const Sketch& s, double x0, double y0, double x1, double y1, const Family& f) {
    const QRectF back = s.frame(x0, y0, x1 - 2, y1);
    const double tabEnd = back.left() + s.snap(6), tab = s.snap(2);
    QPainterPath rear;
    rear.moveTo(back.left(), back.top());
    rear.lineTo(tabEnd, back.top());
    rear.lineTo(tabEnd + tab, back.top() + tab);
    rear.lineTo(back.right(), back.top() + tab);
    rear.lineTo(back.bottomRight());
    rear.lineTo(back.bottomLeft());
    rear.closeSubpath();
    s.shape(rear, f.strong);
    const double lip = back.top() + s.snap(6);
    const double h = s.line() / 2.0;
    QPainterPath front;
    front.moveTo(back.left() + s.snap(3.5), lip);
    front.lineTo(s.snap(x1) - h, lip);
    front.lineTo(back.right(), back.bottom());
    front.lineTo(back.bottomLeft());
    front.closeSubpath();
    s.shape(front, f.mid);
}

// A table of cells under a tinted header band, optionally with a tinted
// row-number column. Small icons get fewer, larger cells.
void grid(const Sketch& s, double x0, double y0, double x1, double y1, const QColor& band,
          const QColor& rules, bool numbered) {
    const QRectF r = s.frame(x0, y0, x1, y1);
    s.shape(r, kPaper);
    const double h = s.line() / 2.0;
    const double cell = s.small() ? 6.0 : 4.5;
    const double head = s.small() ? 3.0 : 3.5;
    const double headBottom = s.rule(y0 + head);
    const double sideRight = s.rule(x0 + head);
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(band);
    s.p.drawRect(QRectF(QPointF(r.left() + h, r.top() + h), QPointF(r.right() - h, headBottom)));
    if (numbered)
        s.p.drawRect(
            QRectF(QPointF(r.left() + h, r.top() + h), QPointF(sideRight, r.bottom() - h)));
    // Evenly spaced rules between the first and last positions.
    auto spread = [&](double from, double to, const std::function<void(double)>& put) {
        const int n = std::max(1, int(std::lround((to - from) / cell)));
        for (int i = 0; i < n; ++i) put(s.rule(from + (to - from) * i / n));
    };
    spread(y0 + head, y1,
           [&](double y) { s.rule(QPointF(r.left(), y), QPointF(r.right(), y), rules); });
    spread(numbered ? x0 + head : x0, x1, [&](double x) {
        if (x > r.left() + h) s.rule(QPointF(x, r.top()), QPointF(x, r.bottom()), rules);
    });
    s.p.setPen(s.ink());
    s.p.setBrush(Qt::NoBrush);
    s.p.drawRect(r);
}

// A spreadsheet: green header band and row-number column.
void spreadsheet(const Sketch& s, double x0, double y0, double x1, double y1) {
    grid(s, x0, y0, x1, y1, kSheet.mid, kSheet.mid, true);
}

// One of the program's own result tables: a blue header band.
void table(const Sketch& s, double x0, double y0, double x1, double y1) {
    grid(s, x0, y0, x1, y1, kFiles.soft, kRule, false);
}

// Plain cells, for the clipboard commands that act on a selection.
void cells(const Sketch& s, double x0, double y0, double x1, double y1) {
    grid(s, x0, y0, x1, y1, kClipboard.soft, kClipboard.mid, false);
}

// A bold arrow from `from` to `to` (grid units), head included.
QPainterPath arrowPath(const Sketch& s, QPointF from, QPointF to) {
    const QLineF axis(s.at(from.x(), from.y()), s.at(to.x(), to.y()));
    const double len = axis.length();
    const double shaft = s.u(1.75), head = s.u(4.5), wing = s.u(4.5);
    QPainterPath path;
    path.moveTo(0, -shaft);
    path.lineTo(len - head, -shaft);
    path.lineTo(len - head, -wing);
    path.lineTo(len, 0);
    path.lineTo(len - head, wing);
    path.lineTo(len - head, shaft);
    path.lineTo(0, shaft);
    path.closeSubpath();
    QTransform t;
    t.translate(axis.p1().x(), axis.p1().y());
    t.rotate(-axis.angle());
    return t.map(path);
}

void arrow(const Sketch& s, QPointF from, QPointF to, const QColor& fill) {
    const QPainterPath path = arrowPath(s, from, to);
    s.knockout(path);
    s.shape(path, fill, fill.darker(150));
}

// A pencil writing at `tip`, its body rising up and to the right.
void pencil(const Sketch& s, QPointF tip, double length) {
    const double w = 2.4;  // half the body's width, in grid units
    const double point = 4.0, cap = 2.0;
    // Pencil-local coordinates: `along` the body from the tip, `across` it.
    auto local = [&](double along, double across) {
        const double c = std::sqrt(0.5);
        return s.at(tip.x() + (along + across) * c, tip.y() + (-along + across) * c);
    };
    auto section = [&](double from, double to) {
        QPainterPath q;
        q.moveTo(local(from, -w));
        q.lineTo(local(to, -w));
        q.lineTo(local(to, w));
        q.lineTo(local(from, w));
        q.closeSubpath();
        return q;
    };
    auto cone = [&](double to, double halfWidth) {
        QPainterPath q;
        q.moveTo(local(0, 0));
        q.lineTo(local(to, -halfWidth));
        q.lineTo(local(to, halfWidth));
        q.closeSubpath();
        return q;
    };
    const QPainterPath body = section(point, length - cap), end = section(length - cap, length);
    const QPainterPath wood = cone(point, w);
    s.knockout(body.united(end).united(wood));
    s.shape(wood, kWood);
    s.shape(body, kPencil);
    s.shape(end, kCalc.mid);
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(kInk);
    s.p.drawPath(cone(point * 0.4, w * 0.4));
}

// Tiny bitmap letters for file-type badges, 3 by 5 cells ('l' is one cell
// wide); each string is one row, '#' marks a filled cell.
const QHash<QChar, std::array<const char*, 5>>& badgeFont() {
    static const QHash<QChar, std::array<const char*, 5>> font{
        {QChar('x'), {"...", "...", "#.#", ".#.", "#.#"}},
        {QChar('l'), {"#", "#", "#", "#", "#"}},
        {QChar('s'), {"...", ".##", "#..", "..#", "##."}},
    };
    return font;
}

// A file-type tag in the bottom right corner, in crisp bitmap letters.
void badge(const Sketch& s, const QString& text, const QColor& fill) {
    const double cell = std::max(1.0, std::floor(s.pixels() / 20.0));
    const auto& font = badgeFont();
    int columns = -1;
    for (QChar ch : text) columns += int(std::strlen(font.value(ch)[0])) + 1;
    const double pad = cell, w = columns * cell + 2 * pad, h = 5 * cell + 2 * pad;
    const QRectF box(s.pixels() - w, s.pixels() - h, w, h);
    QPainterPath tag;
    tag.addRoundedRect(box, cell, cell);
    s.knockout(tag, 0.5);
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(fill);
    s.p.drawPath(tag);
    s.p.setBrush(kPaper);
    double x = box.left() + pad;
    for (QChar ch : text) {
        const auto& rows = font.value(ch);
        const int width = int(std::strlen(rows[0]));
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < width; ++c)
                if (rows[size_t(r)][c] == '#')
                    s.p.drawRect(QRectF(x + c * cell, box.top() + pad + r * cell, cell, cell));
        x += (width + 1) * cell;
    }
}

// A bold red cross, for closing and deleting, set off from what lies
// beneath by a clear gap.
void crossMark(const Sketch& s, QPointF centre, double reach) {
    const double width = std::max(2.0, std::round(s.u(2.2)));
    const double odd = std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
    const QPointF c(std::round(s.u(centre.x())) + odd, std::round(s.u(centre.y())) + odd);
    const double a = std::max(2.0, std::round(s.u(reach)));
    QPainterPath cross;
    cross.moveTo(c + QPointF(-a, -a));
    cross.lineTo(c + QPointF(a, a));
    cross.moveTo(c + QPointF(-a, a));
    cross.lineTo(c + QPointF(a, -a));
    s.p.save();
    s.p.setCompositionMode(QPainter::CompositionMode_Clear);
    s.p.strokePath(cross, QPen(Qt::black, width + 2.0 * std::max(1.0, s.u(1.0)), Qt::SolidLine,
                               Qt::SquareCap));
    s.p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (width > 2.0) {
        s.p.strokePath(cross, QPen(kDanger, width, Qt::SolidLine, Qt::SquareCap));
    } else {
        // Thin diagonals read best as clean pixel staircases.
        for (double i = -a; i <= a; i += 1.0) {
            s.p.fillRect(QRectF(c.x() + i - width / 2, c.y() + i - width / 2, width, width),
                         kDanger);
            s.p.fillRect(QRectF(c.x() + i - width / 2, c.y() - i - width / 2, width, width),
                         kDanger);
        }
    }
    s.p.restore();
}

// A blue disc with a white glyph drawn as strokes.
void infoDisc(const Sketch& s, const std::function<void(const QPointF&, double)>& glyph) {
    const QRectF r = s.frame(2, 2, 22, 22);
    QPainterPath disc;
    disc.addEllipse(r);
    s.shape(disc, kFiles.strong, kFiles.deep);
    glyph(r.center(), r.width() / 2.0);
}

// A dashed selection frame, dashes spaced evenly from corner to corner.
void dashedFrame(const Sketch& s, double x0, double y0, double x1, double y1) {
    const double t = s.line();
    const QRectF outer(QPointF(s.snap(x0), s.snap(y0)), QPointF(s.snap(x1), s.snap(y1)));
    const double dash = s.snap(3), gap = std::max(1.0, s.snap(2));
    auto side = [&](double length, const std::function<void(double, double)>& put) {
        const int n = std::max(2, int(std::lround((length + gap) / (dash + gap))));
        const double space = (length - n * dash) / (n - 1);
        for (int i = 0; i < n; ++i) put(std::round(i * (dash + space)), dash);
    };
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(kInk);
    side(outer.width(), [&](double a, double len) {
        s.p.drawRect(QRectF(outer.left() + a, outer.top(), len, t));
        s.p.drawRect(QRectF(outer.left() + a, outer.bottom() - t, len, t));
    });
    side(outer.height(), [&](double a, double len) {
        s.p.drawRect(QRectF(outer.left(), outer.top() + a, t, len));
        s.p.drawRect(QRectF(outer.right() - t, outer.top() + a, t, len));
    });
}

// A flat octahedron: its four near faces in the accent's tones, brightest
// towards the light, with fine ridges inside a slate outline.
void octahedronMark(const Sketch& s, double x0, double y0, double x1, double y1, const Family& f) {
    const std::vector<Facet> unit = octahedron(Pose{18.0, 12.0, 0.0});
    const QTransform t = fitting(unit, QRectF(s.at(x0, y0), s.at(x1, y1)));
    std::vector<const Facet*> near;
    for (const Facet& face : unit)
        if (face.front()) near.push_back(&face);
    std::sort(near.begin(), near.end(), [](const Facet* a, const Facet* b) {
        return brightness(a->normal) > brightness(b->normal);
    });
    const std::array<QColor, 4> tones{f.light, f.mid, f.strong, f.deep};
    QPainterPath outline;
    s.p.setPen(Qt::NoPen);
    for (size_t i = 0; i < near.size() && i < tones.size(); ++i) {
        const QPolygonF c = t.map(near[i]->corners);
        s.p.setBrush(tones[i]);
        s.p.drawPolygon(c);
        outline = outline.united(polygonPath(c));
    }
    if (!s.small()) {
        s.p.setPen(s.roundInk(withAlpha(f.deep, 0.7), s.hair()));
        s.p.setBrush(Qt::NoBrush);
        for (const Facet* face : near) s.p.drawPolygon(t.map(face->corners));
    }
    s.p.setPen(s.roundInk(kInk, s.line()));
    s.p.setBrush(Qt::NoBrush);
    s.p.drawPath(outline.simplified());
}

// --- the icons -------------------------------------------------------------

void drawNew(Sketch& s) {
    page(s, 4, 2, 20, 22, kFiles);
}

void drawOpen(Sketch& s) {
    folder(s, 1, 4, 23, 20, kFiles);
}

void drawSave(Sketch& s) {
    const QRectF r = s.frame(3, 3, 21, 21);
    const double cut = s.snap(3);
    QPainterPath body;
    body.moveTo(r.topLeft());
    body.lineTo(r.right() - cut, r.top());
    body.lineTo(r.right(), r.top() + cut);
    body.lineTo(r.bottomRight());
    body.lineTo(r.bottomLeft());
    body.closeSubpath();
    s.shape(body, kFiles.strong);
    s.shape(s.frame(7, 3, 16, 9), kFiles.soft);
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(kInk);
    s.p.drawRect(QRectF(QPointF(s.snap(12.5), s.snap(4.5)), QPointF(s.snap(14.5), s.snap(7.5))));
    s.shape(s.frame(6, 12, 18, 21), kPaper);
    if (!s.small()) {
        const QRectF label = s.frame(6, 12, 18, 21);
        for (double y : {15.0, 18.0})
            s.rule(QPointF(label.left() + s.u(2), s.rule(y)),
                   QPointF(label.right() - s.u(2), s.rule(y)));
    }
}

void drawClose(Sketch& s) {
    page(s, 3, 2, 18, 21, kFiles, true);
    crossMark(s, QPointF(17.5, 17.5), 3.5);
}

void drawExit(Sketch& s) {
    const QRectF door = s.frame(3, 2, 14, 22);
    s.shape(door, kFiles.soft);
    const double h = s.line() / 2;
    QPainterPath leaf;
    leaf.moveTo(door.topLeft());
    leaf.lineTo(s.snap(10) - h, door.top() + s.u(3));
    leaf.lineTo(s.snap(10) - h, door.bottom() - s.u(1.5));
    leaf.lineTo(door.bottomLeft());
    leaf.closeSubpath();
    s.shape(leaf, kFiles.strong);
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(kPaper);
    s.p.drawEllipse(s.at(8.2, 12.5), s.u(0.9), s.u(0.9));
    arrow(s, QPointF(11.5, 12), QPointF(23, 12), kFiles.strong);
}

void drawCut(Sketch& s) {
    const double ring = s.u(3.4);
    const QPointF left = s.at(6.5, 18), right = s.at(17.5, 18);
    const double blade = std::max(1.5, s.u(2.0));
    s.p.setPen(s.roundInk(kInk, blade));
    s.p.drawLine(s.at(8.6, 15.2), s.at(16.0, 2.5));
    s.p.drawLine(s.at(15.4, 15.2), s.at(8.0, 2.5));
    s.p.setPen(QPen(kClipboard.strong, std::max(1.5, s.u(2.0))));
    s.p.setBrush(kPaper);
    s.p.drawEllipse(left, ring - s.u(1), ring - s.u(1));
    s.p.drawEllipse(right, ring - s.u(1), ring - s.u(1));
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(kPaper);
    s.p.drawEllipse(s.at(12, 10.1), s.u(0.8), s.u(0.8));
}

void drawCopy(Sketch& s) {
    s.shape(s.frame(3, 2, 15, 17), kClipboard.soft);
    page(s, 8, 7, 21, 22, kClipboard, true);
}

void drawPaste(Sketch& s) {
    QPainterPath board;
    board.addRoundedRect(s.frame(3, 4, 18, 22), s.u(1.5), s.u(1.5));
    s.shape(board, kClipboard.mid);
    QPainterPath clip;
    clip.addRoundedRect(s.frame(6.5, 2, 14.5, 7), s.u(1), s.u(1));
    s.shape(clip, kClipboard.strong);
    QPainterPath sheetArea;
    sheetArea.addRect(s.frame(10, 9, 22, 23));
    s.knockout(sheetArea, 0.5);
    page(s, 10, 9, 22, 23, kClipboard, true);
}

void drawDelete(Sketch& s) {
    cells(s, 2, 3, 20, 19);
    crossMark(s, QPointF(17.5, 17.5), 3.5);
}

void drawSelectAll(Sketch& s) {
    cells(s, 6, 6, 18, 18);
    dashedFrame(s, 2, 2, 22, 22);
}

void drawCalculate(Sketch& s) {
    octahedronMark(s, 1.5, 2, 15.5, 22, kCalc);
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(kCalc.strong);
    const double bar = std::max(1.0, s.snap(2));
    for (double y : {10.5, 14.5})
        s.p.drawRect(QRectF(QPointF(s.snap(16), s.snap(y)), QPointF(s.snap(23), s.snap(y) + bar)));
}

void drawLoad(Sketch& s, const QString& kind, const QColor& tag) {
    spreadsheet(s, 7, 2, 22, 17);
    arrow(s, QPointF(1, 9.5), QPointF(14, 9.5), kSheet.strong);
    badge(s, kind, tag);
}

void drawEdit(Sketch& s, const QString& kind, const QColor& tag) {
    spreadsheet(s, 2, 2, 17, 17);
    pencil(s, QPointF(10.5, 13.5), 14);
    badge(s, kind, tag);
}

void drawAbout(Sketch& s) {
    infoDisc(s, [&](const QPointF& c, double r) {
        s.p.setPen(Qt::NoPen);
        s.p.setBrush(kPaper);
        s.p.drawEllipse(c + QPointF(0, -r * 0.46), r * 0.15, r * 0.15);
        const double w = std::max(1.5, r * 0.24);
        s.p.drawRoundedRect(QRectF(c.x() - w / 2, c.y() - r * 0.18, w, r * 0.75), w * 0.3, w * 0.3);
    });
}

void drawHelp(Sketch& s) {
    infoDisc(s, [&](const QPointF& c, double r) {
        QPainterPath hook;
        const double a = r * 0.34;
        hook.moveTo(c + QPointF(-a, -r * 0.24));
        hook.cubicTo(c + QPointF(-a, -r * 0.62), c + QPointF(a, -r * 0.62),
                     c + QPointF(a, -r * 0.28));
        hook.cubicTo(c + QPointF(a, -r * 0.05), c + QPointF(0, -r * 0.05), c + QPointF(0, r * 0.2));
        s.p.setPen(s.roundInk(kPaper, std::max(1.5, r * 0.22)));
        s.p.setBrush(Qt::NoBrush);
        s.p.drawPath(hook);
        s.p.setPen(Qt::NoPen);
        s.p.setBrush(kPaper);
        s.p.drawEllipse(c + QPointF(0, r * 0.52), r * 0.14, r * 0.14);
    });
}

void drawNext(Sketch& s) {
    table(s, 9, 3, 22, 21);
    arrow(s, QPointF(1, 12), QPointF(14, 12), kFiles.strong);
}

void drawPrevious(Sketch& s) {
    table(s, 2, 3, 15, 21);
    arrow(s, QPointF(23, 12), QPointF(10, 12), kFiles.strong);
}

void drawSendExcel(Sketch& s) {
    spreadsheet(s, 10, 8, 22, 22);
    table(s, 2, 2, 12, 10);
    arrow(s, QPointF(3, 16), QPointF(15, 16), kSheet.strong);
}

void drawOpenExcel(Sketch& s) {
    spreadsheet(s, 2, 2, 19, 20);
    pencil(s, QPointF(11.5, 16.5), 14);
}

void drawGraph(Sketch& s) {
    const double h = s.line() / 2;
    const QPointF top(s.u(12), s.snap(2.5) + h);
    const QPointF left(s.snap(1.5) + h, s.snap(20.5) - h),
        right(s.snap(22.5) - h, s.snap(20.5) - h);
    QPainterPath tri;
    tri.moveTo(top);
    tri.lineTo(right);
    tri.lineTo(left);
    tri.closeSubpath();
    s.p.setPen(QPen(kInk, s.line(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    s.p.setBrush(kPaper);
    s.p.drawPath(tri);
    if (!s.small()) {
        // The half-way lines of the three components.
        const QPointF a = (top + left) / 2, b = (top + right) / 2, c = (left + right) / 2;
        s.p.setPen(QPen(kRule, s.hair(), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        s.p.setBrush(Qt::NoBrush);
        s.p.drawPolygon(
            QPolygonF{QPointF(a.x(), s.rulePx(a.y())), QPointF(b.x(), s.rulePx(b.y())), c});
    }
    // Data points, each a whole number of pixels across on the pixel grid.
    const double d = std::max(3.0, std::round(s.u(4.0)));
    s.p.setPen(Qt::NoPen);
    s.p.setBrush(kCalc.strong);
    for (const QPointF& c : {QPointF(12, 9.5), QPointF(9.5, 15.5), QPointF(15, 14.5)}) {
        const QPointF corner(std::round(s.u(c.x()) - d / 2), std::round(s.u(c.y()) - d / 2));
        s.p.drawEllipse(QRectF(corner, QSizeF(d, d)));
    }
}

void drawUnknown(Sketch& s) {
    QPainterPath square;
    square.addRoundedRect(s.frame(4, 4, 20, 20), s.u(3), s.u(3));
    s.shape(square, kClipboard.soft, kClipboard.strong);
}

using Drawing = std::function<void(Sketch&)>;

struct Entry {
    const char* name;
    Drawing draw;
};

const std::vector<Entry>& catalogue() {
    static const QColor oldTag = kSheet.deep;
    static const std::vector<Entry> entries{
        {"new", drawNew},
        {"open", drawOpen},
        {"save", drawSave},
        {"close", drawClose},
        {"exit", drawExit},
        {"cut", drawCut},
        {"copy", drawCopy},
        {"paste", drawPaste},
        {"delete", drawDelete},
        {"selectAll", drawSelectAll},
        {"calculate", drawCalculate},
        {"loadXls", [](Sketch& s) { drawLoad(s, "xls", oldTag); }},
        {"loadXlsx", [](Sketch& s) { drawLoad(s, "xlsx", kSheet.strong); }},
        {"editXls", [](Sketch& s) { drawEdit(s, "xls", oldTag); }},
        {"editXlsx", [](Sketch& s) { drawEdit(s, "xlsx", kSheet.strong); }},
        {"about", drawAbout},
        {"help", drawHelp},
        {"next", drawNext},
        {"previous", drawPrevious},
        {"sendExcel", drawSendExcel},
        {"openExcel", drawOpenExcel},
        {"graph", drawGraph},
    };
    return entries;
}

qreal screenRatio() {
    return qGuiApp ? std::max<qreal>(1.0, qGuiApp->devicePixelRatio()) : 1.0;
}

}  // namespace

QPixmap spinelPicture(int size) {
    return spinelPicture(size, screenRatio());
}

QPixmap spinelPicture(int size, qreal dpr) {
    size = std::max(size, 1);
    dpr = dpr > 0 ? dpr : 1.0;
    const int pixels = std::max(1, qRound(size * dpr));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        paintSpinel(p, QRectF(0, 0, pixels, pixels));
    }
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QPixmap toolbarPixmap(const QString& name, int size, qreal dpr) {
    size = std::max(size, 1);
    dpr = dpr > 0 ? dpr : 1.0;
    const int pixels = std::max(1, qRound(size * dpr));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        Sketch s(p, pixels);
        const auto& entries = catalogue();
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const Entry& e) { return name == QLatin1String(e.name); });
        if (it != entries.end())
            it->draw(s);
        else
            drawUnknown(s);
    }
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QIcon toolbarIcon(const QString& name) {
    QIcon icon;
    for (qreal dpr : {1.0, 2.0})
        for (int size : {16, 24, 32}) icon.addPixmap(toolbarPixmap(name, size, dpr));
    return icon;
}

QStringList toolbarIconNames() {
    QStringList names;
    for (const Entry& e : catalogue()) names << QString::fromLatin1(e.name);
    return names;
}

}  // namespace qarv::ui
