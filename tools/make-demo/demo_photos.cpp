// The demo's photographs: road scenes a driving class looks at, drawn here
// with QPainter as clean illustrations, written as the data folders keep
// them (masked ".KXB" bitmaps in the photo folder, one plain ".BMP" of the
// school's own in the user photo folder), the records that show them with
// their stored captions and arrows, and the sound of the record whose first
// photograph has one.
//
// Every scene is drawn on a 640 x 480 canvas scaled to its picture's size,
// so a scene looks the same at 800 x 600 or 320 x 240. The street scenes are
// seen from the driver's seat through a simple pinhole camera over a flat
// ground (metres in, canvas pixels out); the roundabout and the blind spot
// are seen from above.

#include "demo_content.h"

#include "config/colour_text.h"
#include "controls/kxb.h"
#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"
#include "sign_art.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace ziro::demo {

namespace {

// ---------------------------------------------------------------------------
// Light and colour

enum class Light { Day, Morning, Dusk, Night };

// The colour of a lit surface at a time of day: surfaces are drawn in their
// daylight colours and toned here; lamps, lit windows and headlights are
// drawn in their own colours, untoned.
struct Look {
    Light light = Light::Day;

    QColor operator()(const QColor& c) const
    {
        auto mul = [&](int r, int g, int b) {
            return QColor(c.red() * r / 255, c.green() * g / 255, c.blue() * b / 255, c.alpha());
        };
        switch (light) {
        case Light::Day: return c;
        case Light::Morning: return mul(255, 238, 214);
        case Light::Dusk: return mul(196, 150, 150);
        case Light::Night: return mul(58, 66, 108);
        }
        return c;
    }
    bool dark() const { return light == Light::Night; }
};

// A small deterministic generator, so that every run draws the same scene.
struct Dice {
    quint32 state;
    explicit Dice(quint32 seed) : state(seed * 2654435761u + 1) {}
    quint32 next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    qreal unit() { return (next() % 10000) / 10000.0; }
    bool chance(int percent) { return int(next() % 100) < percent; }
};

void fillPoly(QPainter& p, const QPolygonF& poly, const QBrush& brush)
{
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPolygon(poly);
}

void fillPath(QPainter& p, const QPainterPath& path, const QBrush& brush)
{
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPath(path);
}

void strokeLine(QPainter& p, QPointF a, QPointF b, const QColor& c, qreal width,
                Qt::PenCapStyle cap = Qt::RoundCap)
{
    p.setPen(QPen(c, width, Qt::SolidLine, cap, Qt::RoundJoin));
    p.drawLine(a, b);
}

// A soft round glow: a lamp, a lit window's halo, a headlight.
void glow(QPainter& p, QPointF centre, qreal radius, const QColor& colour, int alpha = 200)
{
    QRadialGradient g(centre, radius);
    QColor inner = colour;
    inner.setAlpha(alpha);
    QColor mid = colour;
    mid.setAlpha(alpha / 3);
    QColor outer = colour;
    outer.setAlpha(0);
    g.setColorAt(0, inner);
    g.setColorAt(0.35, mid);
    g.setColorAt(1, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

QFont sansFont(qreal pixels, bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, qRound(pixels)));
    f.setBold(bold);
    return f;
}

void drawCentredText(QPainter& p, const QRectF& box, const QString& text, const QColor& colour,
                     qreal pixels, bool bold = true)
{
    p.setFont(sansFont(pixels, bold));
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// ---------------------------------------------------------------------------
// The sky

void paintSky(QPainter& p, Light light, qreal horizon, quint32 seed)
{
    QLinearGradient g(0, 0, 0, horizon);
    switch (light) {
    case Light::Day:
        g.setColorAt(0, QColor(84, 142, 214));
        g.setColorAt(1, QColor(198, 224, 246));
        break;
    case Light::Morning:
        g.setColorAt(0, QColor(112, 160, 220));
        g.setColorAt(0.7, QColor(214, 218, 222));
        g.setColorAt(1, QColor(252, 222, 182));
        break;
    case Light::Dusk:
        g.setColorAt(0, QColor(52, 62, 128));
        g.setColorAt(0.55, QColor(182, 104, 128));
        g.setColorAt(1, QColor(252, 172, 92));
        break;
    case Light::Night:
        g.setColorAt(0, QColor(6, 10, 30));
        g.setColorAt(1, QColor(34, 44, 84));
        break;
    }
    p.fillRect(QRectF(0, 0, 640, horizon + 1), g);

    Dice dice(seed);
    if (light == Light::Night) {
        for (int i = 0; i < 70; ++i) {
            const QPointF at(dice.unit() * 640, dice.unit() * horizon * 0.8);
            const qreal r = 0.5 + dice.unit() * 0.9;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 240, 110 + int(dice.unit() * 140)));
            p.drawEllipse(at, r, r);
        }
        return;
    }
    // A few soft clouds, tinted by the light.
    const QColor cloud = light == Light::Dusk ? QColor(250, 190, 170, 150) : QColor(255, 255, 255, 170);
    for (int i = 0; i < 4; ++i) {
        const QPointF c(40 + dice.unit() * 560, 22 + dice.unit() * horizon * 0.45);
        const qreal w = 50 + dice.unit() * 60;
        p.setPen(Qt::NoPen);
        p.setBrush(cloud);
        for (int k = 0; k < 5; ++k) {
            const qreal dx = (k - 2) * w * 0.28;
            const qreal r = w * (0.22 + 0.1 * (2 - std::abs(k - 2)) / 2.0);
            p.drawEllipse(QPointF(c.x() + dx, c.y() - r * 0.3), r, r * 0.62);
        }
    }
}

// Distant hills along the horizon.
void paintHills(QPainter& p, const Look& look, qreal horizon, quint32 seed, const QColor& base)
{
    Dice dice(seed);
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath path;
        path.moveTo(0, horizon + 1);
        const qreal amp = layer == 0 ? 26 : 14;
        qreal phase = dice.unit() * 6;
        for (int x = 0; x <= 640; x += 16) {
            const qreal y = horizon - amp * (0.55 + 0.45 * std::sin(x / 70.0 + phase)) *
                                          (0.6 + 0.4 * std::sin(x / 23.0 + phase * 2));
            path.lineTo(x, y);
        }
        path.lineTo(640, horizon + 1);
        path.closeSubpath();
        QColor c = layer == 0 ? base.lighter(125) : base;
        fillPath(p, path, look(c));
    }
}

// ---------------------------------------------------------------------------
// The driver's view: a pinhole camera over flat ground. x is metres to the
// right of the camera, y metres above the ground, z metres ahead.

struct Camera {
    qreal cx = 320;
    qreal horizon = 205;
    qreal focal = 520;
    qreal height = 1.3;

    QPointF ground(qreal x, qreal z) const { return {cx + focal * x / z, horizon + focal * height / z}; }
    QPointF at(qreal x, qreal y, qreal z) const
    {
        return {cx + focal * x / z, horizon + focal * (height - y) / z};
    }
    qreal scale(qreal z) const { return focal / z; }
};

// A rectangle of ground between x1..x2 and z1..z2.
QPolygonF groundRect(const Camera& cam, qreal x1, qreal x2, qreal z1, qreal z2)
{
    return QPolygonF({cam.ground(x1, z1), cam.ground(x2, z1), cam.ground(x2, z2), cam.ground(x1, z2)});
}

// A wall in the plane x = const, along the road, from z1 to z2.
QPolygonF wallAlong(const Camera& cam, qreal x, qreal z1, qreal z2, qreal y1, qreal y2)
{
    return QPolygonF({cam.at(x, y1, z1), cam.at(x, y2, z1), cam.at(x, y2, z2), cam.at(x, y1, z2)});
}

// A wall facing the camera in the plane z = const.
QPolygonF wallFacing(const Camera& cam, qreal z, qreal x1, qreal x2, qreal y1, qreal y2)
{
    return QPolygonF({cam.at(x1, y1, z), cam.at(x2, y1, z), cam.at(x2, y2, z), cam.at(x1, y2, z)});
}

// Runs `draw` with the painter at the ground point (x, z), one unit a metre,
// y pointing down (heights are negative).
void sprite(QPainter& p, const Camera& cam, qreal x, qreal z, const std::function<void()>& draw)
{
    p.save();
    p.translate(cam.ground(x, z));
    const qreal s = cam.scale(z);
    p.scale(s, s);
    draw();
    p.restore();
}

// Dashed paint along the road (a lane line) from z1 to z2.
void dashesAlong(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal width, qreal z1,
                 qreal z2, qreal dash, qreal gap)
{
    for (qreal z = z1; z < z2; z += dash + gap)
        fillPoly(p, groundRect(cam, x - width / 2, x + width / 2, z, std::min(z + dash, z2)),
                 look(QColor(236, 236, 230)));
}

// Dashed paint across the road (a give-way line) at depth z.
void dashesAcross(QPainter& p, const Camera& cam, const Look& look, qreal x1, qreal x2, qreal z,
                  qreal depth, qreal dash, qreal gap)
{
    for (qreal x = x1; x < x2; x += dash + gap)
        fillPoly(p, groundRect(cam, x, std::min(x + dash, x2), z, z + depth), look(QColor(236, 236, 230)));
}

struct Building {
    qreal x;        // the facade's plane; the building lies away from the road
    qreal z1, z2;   // its length along the road
    qreal height;
    QColor wall;
    bool shops = false;
    QColor awning = QColor(160, 40, 40);
    qreal depth = 12;  // how far it reaches away from the road (its front face)
};

// Windows of a facade. `face(y1, y2, a, b)` gives the polygon of the part of
// the facade between heights y1..y2 and positions a..b along it.
void paintWindows(QPainter& p, const Look& look, qreal length, qreal height, bool shops,
                  const QColor& awning, quint32 seed,
                  const std::function<QPolygonF(qreal, qreal, qreal, qreal)>& face)
{
    Dice dice(seed);
    const QColor frame = look(QColor(236, 232, 222));
    const QColor glass = look(QColor(122, 152, 182));
    const QColor lit(255, 214, 128);
    const int bays = std::max(1, int(length / 3.4));
    const qreal bay = length / bays;
    // Upper floors.
    for (qreal y = shops ? 4.4 : 1.0; y + 1.7 < height - 0.4; y += 3.1) {
        for (int b = 0; b < bays; ++b) {
            const qreal a = b * bay + bay * 0.28;
            const qreal e = b * bay + bay * 0.72;
            fillPoly(p, face(y - 0.08, y + 1.68, a - 0.08, e + 0.08), frame);
            const bool on = look.dark() && dice.chance(45);
            fillPoly(p, face(y, y + 1.6, a, e), on ? QBrush(lit) : QBrush(glass));
            // Shutters, green as they are in Italian towns.
            if (!look.dark() && dice.chance(50)) {
                const qreal w = (e - a) * 0.45;
                fillPoly(p, face(y, y + 1.6, a - w, a - 0.05), look(QColor(62, 110, 74)));
                fillPoly(p, face(y, y + 1.6, e + 0.05, e + w), look(QColor(62, 110, 74)));
            }
        }
    }
    if (!shops)
        return;
    // Shop windows and awnings on the ground floor.
    fillPoly(p, face(0, 0.5, 0, length), look(QColor(120, 116, 110)));
    for (int b = 0; b < bays; ++b) {
        const qreal a = b * bay + 0.35;
        const qreal e = (b + 1) * bay - 0.35;
        const bool on = look.dark() && dice.chance(70);
        fillPoly(p, face(0.5, 2.7, a, e), on ? QBrush(QColor(255, 226, 160)) : QBrush(look(QColor(70, 92, 112))));
        fillPoly(p, face(2.7, 3.3, a - 0.15, e + 0.15), look(dice.chance(50) ? awning : awning.lighter(140)));
    }
}

void paintBuilding(QPainter& p, const Camera& cam, const Look& look, const Building& b, quint32 seed)
{
    const bool right = b.x > 0;
    // The front face, seen when the building starts beyond the camera.
    const qreal outer = right ? b.x + b.depth : b.x - b.depth;
    const QColor frontWall = look(b.wall.darker(112));
    fillPoly(p, wallFacing(cam, b.z1, std::min(b.x, outer), std::max(b.x, outer), 0, b.height), frontWall);
    paintWindows(p, look, b.depth, b.height, b.shops, b.awning, seed + 7,
                 [&](qreal y1, qreal y2, qreal a, qreal e) {
                     const qreal xa = right ? b.x + a : b.x - a;
                     const qreal xe = right ? b.x + e : b.x - e;
                     return wallFacing(cam, b.z1, std::min(xa, xe), std::max(xa, xe), y1, y2);
                 });
    // The facade along the road.
    fillPoly(p, wallAlong(cam, b.x, b.z1, b.z2, 0, b.height), look(b.wall));
    paintWindows(p, look, b.z2 - b.z1, b.height, b.shops, b.awning, seed,
                 [&](qreal y1, qreal y2, qreal a, qreal e) {
                     return wallAlong(cam, b.x, b.z1 + a, b.z1 + e, y1, y2);
                 });
    // Cornice and roof edge.
    fillPoly(p, wallAlong(cam, b.x, b.z1, b.z2, b.height - 0.45, b.height), look(b.wall.darker(125)));
    fillPoly(p, wallFacing(cam, b.z1, std::min(b.x, outer), std::max(b.x, outer), b.height - 0.45, b.height),
             look(b.wall.darker(135)));
}

void paintTree(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, qreal height = 6,
               const QColor& leaves = QColor(72, 128, 62))
{
    sprite(p, cam, x, z, [&] {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawEllipse(QPointF(0, 0), height * 0.3, height * 0.05);
        p.setBrush(look(QColor(96, 72, 52)));
        p.drawRect(QRectF(-0.13, -height * 0.5, 0.26, height * 0.5));
        const QColor dark = look(leaves.darker(125));
        const QColor light = look(leaves.lighter(115));
        const qreal r = height * 0.26;
        p.setBrush(dark);
        p.drawEllipse(QPointF(-r * 0.45, -height * 0.62), r * 0.8, r * 0.8);
        p.drawEllipse(QPointF(r * 0.5, -height * 0.6), r * 0.78, r * 0.78);
        p.setBrush(look(leaves));
        p.drawEllipse(QPointF(0, -height * 0.74), r, r);
        p.setBrush(light);
        p.drawEllipse(QPointF(-r * 0.3, -height * 0.82), r * 0.45, r * 0.4);
    });
}

// A slender poplar of the country roads.
void paintPoplar(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, qreal height = 12)
{
    sprite(p, cam, x, z, [&] {
        p.setPen(Qt::NoPen);
        p.setBrush(look(QColor(96, 76, 56)));
        p.drawRect(QRectF(-0.12, -height * 0.2, 0.24, height * 0.2));
        p.setBrush(look(QColor(70, 118, 58)));
        p.drawEllipse(QRectF(-height * 0.09, -height, height * 0.18, height * 0.86));
        p.setBrush(look(QColor(92, 140, 70)));
        p.drawEllipse(QRectF(-height * 0.05, -height * 0.95, height * 0.07, height * 0.6));
    });
}

void paintStreetLamp(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, bool armToLeft)
{
    const qreal h = 7.5;
    const qreal arm = armToLeft ? -1.6 : 1.6;
    const QColor pole = look(QColor(70, 76, 82));
    const QPointF foot = cam.ground(x, z);
    const QPointF top = cam.at(x, h, z);
    const QPointF lamp = cam.at(x + arm, h - 0.1, z);
    const qreal s = cam.scale(z);
    strokeLine(p, foot, top, pole, std::max(0.8, 0.16 * s), Qt::FlatCap);
    strokeLine(p, top, lamp, pole, std::max(0.6, 0.1 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(look.dark() ? QColor(255, 236, 190) : pole);
    p.drawEllipse(lamp, 0.35 * s, 0.14 * s);
    if (look.dark()) {
        glow(p, lamp, 2.6 * s, QColor(255, 214, 140), 170);
        // The pool of light on the road under it.
        const QPointF pool = cam.ground(x + arm, z);
        p.save();
        p.translate(pool);
        p.scale(1, 0.28);
        glow(p, QPointF(0, 0), 4.5 * s, QColor(255, 200, 120), 90);
        p.restore();
    }
}

// A sign on its post; `size` metres across, its centre `height` metres up.
void paintSignPost(QPainter& p, const Camera& cam, const Look& look, const SignSpec& sign, qreal x,
                   qreal z, qreal size = 0.9, qreal height = 2.4)
{
    const qreal s = cam.scale(z);
    strokeLine(p, cam.ground(x, z), cam.at(x, height, z), look(QColor(120, 124, 128)),
               std::max(0.8, 0.08 * s), Qt::FlatCap);
    const QPointF c = cam.at(x, height, z);
    const qreal side = size * s;
    paintSignInto(p, sign, QRectF(c.x() - side / 2, c.y() - side / 2, side, side));
    if (look.light != Light::Day) {
        // Signs lose their brightness with the light like everything else.
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.setPen(Qt::NoPen);
        p.setBrush(look(QColor(255, 255, 255)));
        p.drawRect(QRectF(c.x() - side / 2, c.y() - side / 2, side, side * (sign.plate.isEmpty() ? 1.0 : 1.3)));
        p.restore();
    }
}

// A person seen from the front or walking across, `shirt` and `trousers`
// their clothes; `stride` -1..1 sets the legs apart, `mirror` turns them.
void paintPerson(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z,
                 const QColor& shirt, const QColor& trousers, qreal stride = 0, qreal height = 1.72,
                 const QColor& hair = QColor(60, 42, 30))
{
    sprite(p, cam, x, z, [&] {
        const qreal k = height / 1.72;
        p.scale(k, k);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 50));
        p.drawEllipse(QPointF(0, 0), 0.35, 0.06);
        const QColor legs = look(trousers);
        const qreal spread = 0.18 * stride;
        QPen leg(legs, 0.15, Qt::SolidLine, Qt::RoundCap);
        p.setPen(leg);
        p.drawLine(QPointF(-0.07, -0.86), QPointF(-0.07 - spread, -0.05));
        p.drawLine(QPointF(0.07, -0.86), QPointF(0.07 + spread, -0.05));
        p.setPen(QPen(look(QColor(40, 40, 40)), 0.13, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-0.1 - spread, -0.04), QPointF(-0.02 - spread, -0.04));
        p.drawLine(QPointF(0.04 + spread, -0.04), QPointF(0.12 + spread, -0.04));
        // Arms, then the body over them.
        p.setPen(QPen(look(shirt.darker(115)), 0.11, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-0.2, -1.38), QPointF(-0.26 + spread * 0.5, -0.88));
        p.drawLine(QPointF(0.2, -1.38), QPointF(0.26 - spread * 0.5, -0.88));
        p.setPen(Qt::NoPen);
        p.setBrush(look(shirt));
        p.drawRoundedRect(QRectF(-0.2, -1.45, 0.4, 0.66), 0.1, 0.1);
        p.setBrush(look(QColor(232, 190, 160)));
        p.drawEllipse(QPointF(0, -1.6), 0.12, 0.14);
        p.setBrush(look(hair));
        p.drawChord(QRectF(-0.125, -1.75, 0.25, 0.24), 0, 180 * 16);
    });
}

// Cars in the driver's view. Local metres: y up is negative, x across.
struct CarLook {
    QColor body;
    bool lightsOn = false;   // headlights or tail lights glowing
    bool braking = false;
    bool hazard = false;     // both indicators lit
};

void wheelsAndShadow(QPainter& p, qreal halfWidth)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QPointF(0, 0), halfWidth * 1.15, 0.12);
    p.setBrush(QColor(24, 24, 26));
    p.drawRoundedRect(QRectF(-halfWidth + 0.05, -0.5, 0.32, 0.5), 0.06, 0.06);
    p.drawRoundedRect(QRectF(halfWidth - 0.37, -0.5, 0.32, 0.5), 0.06, 0.06);
}

// Seen from behind (a car ahead) or from the front (an oncoming car).
void paintCarEnd(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, const CarLook& car,
                 bool front)
{
    sprite(p, cam, x, z, [&] {
        const qreal w = 0.9;
        wheelsAndShadow(p, w);
        const QColor body = look(car.body);
        // Cabin with its window.
        QPainterPath cabin;
        cabin.moveTo(-w * 0.82, -0.98);
        cabin.lineTo(-w * 0.62, -1.44);
        cabin.lineTo(w * 0.62, -1.44);
        cabin.lineTo(w * 0.82, -0.98);
        cabin.closeSubpath();
        fillPath(p, cabin, body.darker(108));
        QPainterPath glass;
        glass.moveTo(-w * 0.72, -1.0);
        glass.lineTo(-w * 0.56, -1.38);
        glass.lineTo(w * 0.56, -1.38);
        glass.lineTo(w * 0.72, -1.0);
        glass.closeSubpath();
        QLinearGradient gg(0, -1.38, 0, -1.0);
        gg.setColorAt(0, look(front ? QColor(120, 150, 176) : QColor(52, 62, 74)));
        gg.setColorAt(1, look(front ? QColor(70, 90, 110) : QColor(30, 36, 44)));
        fillPath(p, glass, gg);
        // Body.
        QPainterPath shell;
        shell.addRoundedRect(QRectF(-w, -1.0, 2 * w, 0.76), 0.14, 0.14);
        QLinearGradient bg(0, -1.0, 0, -0.24);
        bg.setColorAt(0, body.lighter(112));
        bg.setColorAt(1, body.darker(118));
        fillPath(p, shell, bg);
        p.setBrush(look(QColor(40, 40, 44)));
        p.drawRect(QRectF(-w, -0.36, 2 * w, 0.14));
        // Number plate.
        p.setBrush(look(QColor(236, 236, 236)));
        p.drawRect(QRectF(-0.26, -0.58, 0.52, 0.12));
        p.setBrush(look(QColor(30, 60, 150)));
        p.drawRect(QRectF(-0.26, -0.58, 0.05, 0.12));
        if (front) {
            p.setBrush(look(QColor(36, 36, 40)));
            p.drawRoundedRect(QRectF(-0.36, -0.8, 0.72, 0.16), 0.05, 0.05);
            const QColor lamp = car.lightsOn ? QColor(255, 252, 230) : look(QColor(220, 224, 228));
            p.setBrush(lamp);
            p.drawRoundedRect(QRectF(-w + 0.08, -0.86, 0.36, 0.15), 0.05, 0.05);
            p.drawRoundedRect(QRectF(w - 0.44, -0.86, 0.36, 0.15), 0.05, 0.05);
            if (car.lightsOn) {
                glow(p, QPointF(-w + 0.26, -0.78), 1.2, QColor(255, 250, 220), 230);
                glow(p, QPointF(w - 0.26, -0.78), 1.2, QColor(255, 250, 220), 230);
            }
        } else {
            const bool on = car.lightsOn || car.braking;
            const QColor red = on ? QColor(255, 40, 30) : look(QColor(170, 24, 24));
            p.setBrush(red);
            p.drawRoundedRect(QRectF(-w + 0.06, -0.9, 0.34, 0.17), 0.05, 0.05);
            p.drawRoundedRect(QRectF(w - 0.4, -0.9, 0.34, 0.17), 0.05, 0.05);
            if (on) {
                glow(p, QPointF(-w + 0.23, -0.82), 0.7, QColor(255, 40, 20), 200);
                glow(p, QPointF(w - 0.23, -0.82), 0.7, QColor(255, 40, 20), 200);
            }
            if (car.braking) {
                p.setBrush(QColor(255, 50, 40));
                p.drawRect(QRectF(-0.3, -1.47, 0.6, 0.05));
            }
        }
        if (car.hazard) {
            for (const qreal side : {-1.0, 1.0}) {
                const QPointF c(side * (w - 0.05), -0.74);
                p.setBrush(QColor(255, 170, 20));
                p.drawEllipse(c, 0.08, 0.06);
                glow(p, c, 0.6, QColor(255, 160, 20), 220);
            }
        }
    });
}

// Seen from the side, driving across the view at depth z (cross traffic).
void paintCarSide(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, const CarLook& car,
                  bool headingLeft)
{
    sprite(p, cam, x, z, [&] {
        if (!headingLeft)
            p.scale(-1, 1);
        const QColor body = look(car.body);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawEllipse(QPointF(0, 0), 2.3, 0.12);
        QPainterPath shell;  // nose to the left
        shell.moveTo(-2.15, -0.36);
        shell.lineTo(-2.15, -0.72);
        shell.quadTo(-2.1, -0.86, -1.7, -0.9);
        shell.lineTo(-0.95, -0.98);
        shell.lineTo(-0.45, -1.42);
        shell.lineTo(0.95, -1.44);
        shell.lineTo(1.6, -1.0);
        shell.quadTo(2.12, -0.96, 2.12, -0.74);
        shell.lineTo(2.12, -0.36);
        shell.closeSubpath();
        QLinearGradient bg(0, -1.44, 0, -0.36);
        bg.setColorAt(0, body.lighter(115));
        bg.setColorAt(1, body.darker(120));
        fillPath(p, shell, bg);
        QPainterPath glass;
        glass.moveTo(-0.82, -1.0);
        glass.lineTo(-0.4, -1.35);
        glass.lineTo(0.9, -1.37);
        glass.lineTo(1.42, -1.0);
        glass.closeSubpath();
        fillPath(p, glass, look(QColor(64, 80, 98)));
        p.setBrush(body);
        p.drawRect(QRectF(0.2, -1.38, 0.1, 0.4));
        p.setBrush(look(QColor(40, 40, 44)));
        p.drawRect(QRectF(-2.15, -0.46, 4.27, 0.1));
        for (const qreal wx : {-1.35, 1.35}) {
            p.setBrush(QColor(22, 22, 24));
            p.drawEllipse(QPointF(wx, -0.33), 0.33, 0.33);
            p.setBrush(look(QColor(170, 174, 180)));
            p.drawEllipse(QPointF(wx, -0.33), 0.16, 0.16);
        }
        const QColor lamp = car.lightsOn ? QColor(255, 250, 220) : look(QColor(230, 230, 220));
        p.setBrush(lamp);
        p.drawRoundedRect(QRectF(-2.16, -0.8, 0.2, 0.12), 0.04, 0.04);
        p.setBrush(car.lightsOn ? QColor(255, 40, 30) : look(QColor(170, 30, 30)));
        p.drawRect(QRectF(2.02, -0.86, 0.1, 0.14));
        if (car.lightsOn) {
            glow(p, QPointF(-2.2, -0.74), 1.6, QColor(255, 250, 220), 220);
            glow(p, QPointF(2.1, -0.8), 0.6, QColor(255, 40, 20), 180);
        }
        if (car.hazard) {
            for (const qreal hx : {-2.0, 1.98}) {
                p.setBrush(QColor(255, 170, 20));
                p.drawEllipse(QPointF(hx, -0.66), 0.08, 0.06);
                glow(p, QPointF(hx, -0.66), 0.6, QColor(255, 160, 20), 220);
            }
        }
    });
}

// A lorry seen from behind.
void paintTruckRear(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, const QColor& box)
{
    sprite(p, cam, x, z, [&] {
        const qreal w = 1.25;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawEllipse(QPointF(0, 0), w * 1.1, 0.14);
        p.setBrush(QColor(24, 24, 26));
        p.drawRect(QRectF(-w + 0.05, -0.6, 0.55, 0.6));
        p.drawRect(QRectF(w - 0.6, -0.6, 0.55, 0.6));
        QLinearGradient bg(0, -3.9, 0, -0.9);
        bg.setColorAt(0, look(box.lighter(110)));
        bg.setColorAt(1, look(box.darker(115)));
        p.setBrush(bg);
        p.drawRect(QRectF(-w, -3.9, 2 * w, 3.0));
        p.setPen(QPen(look(box.darker(140)), 0.05));
        p.drawLine(QPointF(0, -3.85), QPointF(0, -0.95));
        p.drawLine(QPointF(-0.5, -2.4), QPointF(-0.2, -2.4));
        p.drawLine(QPointF(0.2, -2.4), QPointF(0.5, -2.4));
        p.setPen(Qt::NoPen);
        p.setBrush(look(QColor(52, 54, 58)));
        p.drawRect(QRectF(-w, -0.92, 2 * w, 0.3));
        // The red-and-yellow rear marking plates of heavy vehicles.
        for (const qreal side : {-1.0, 1.0}) {
            const QRectF plate(side < 0 ? -w + 0.1 : w - 0.7, -0.88, 0.6, 0.22);
            p.setBrush(look(QColor(250, 200, 0)));
            p.drawRect(plate);
            p.setBrush(look(QColor(200, 20, 20)));
            p.drawRect(plate.adjusted(0.04, 0.04, -0.04, -0.04));
        }
        p.setBrush(look(QColor(180, 20, 20)));
        p.drawRect(QRectF(-w + 0.1, -1.2, 0.3, 0.16));
        p.drawRect(QRectF(w - 0.4, -1.2, 0.3, 0.16));
        p.setBrush(look(QColor(236, 236, 236)));
        p.drawRect(QRectF(-0.3, -0.62, 0.6, 0.14));
    });
}

// A bus seen from the front (oncoming), `label` on its destination display.
void paintBusFront(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, const QColor& body,
                   const QString& label)
{
    sprite(p, cam, x, z, [&] {
        const qreal w = 1.25;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawEllipse(QPointF(0, 0), w * 1.15, 0.14);
        p.setBrush(QColor(24, 24, 26));
        p.drawRect(QRectF(-w + 0.1, -0.6, 0.4, 0.6));
        p.drawRect(QRectF(w - 0.5, -0.6, 0.4, 0.6));
        QLinearGradient bg(0, -3.1, 0, -0.3);
        bg.setColorAt(0, look(body.lighter(108)));
        bg.setColorAt(1, look(body.darker(112)));
        p.setBrush(bg);
        p.drawRoundedRect(QRectF(-w, -3.1, 2 * w, 2.8), 0.22, 0.22);
        // Destination display, windscreen, wipers.
        p.setBrush(QColor(24, 24, 26));
        p.drawRect(QRectF(-w + 0.15, -3.0, 2 * w - 0.3, 0.32));
        p.setFont(sansFont(0.24));
        p.setPen(QColor(255, 170, 40));
        p.drawText(QRectF(-w + 0.15, -3.0, 2 * w - 0.3, 0.32), Qt::AlignCenter, label);
        p.setPen(Qt::NoPen);
        QLinearGradient gg(0, -2.6, 0, -1.3);
        gg.setColorAt(0, look(QColor(120, 150, 176)));
        gg.setColorAt(1, look(QColor(64, 84, 104)));
        p.setBrush(gg);
        p.drawRoundedRect(QRectF(-w + 0.1, -2.6, 2 * w - 0.2, 1.3), 0.1, 0.1);
        p.setPen(QPen(QColor(30, 30, 30), 0.04));
        p.drawLine(QPointF(-0.6, -1.35), QPointF(-0.1, -1.9));
        p.drawLine(QPointF(0.5, -1.35), QPointF(1.0, -1.9));
        p.setPen(Qt::NoPen);
        p.setBrush(look(QColor(40, 40, 44)));
        p.drawRect(QRectF(-w, -0.62, 2 * w, 0.3));
        p.setBrush(look(QColor(236, 236, 236)));
        p.drawRect(QRectF(-0.28, -0.6, 0.56, 0.13));
        p.setBrush(look(QColor(250, 250, 236)));
        p.drawRoundedRect(QRectF(-w + 0.12, -0.95, 0.42, 0.2), 0.06, 0.06);
        p.drawRoundedRect(QRectF(w - 0.54, -0.95, 0.42, 0.2), 0.06, 0.06);
        // Hazard lights on: the bus is letting the children off.
        for (const qreal side : {-1.0, 1.0}) {
            const QPointF c(side * (w - 0.2), -1.1);
            p.setBrush(QColor(255, 170, 20));
            p.drawEllipse(c, 0.1, 0.07);
            glow(p, c, 0.7, QColor(255, 160, 20), 230);
        }
    });
}

// ---------------------------------------------------------------------------
// Scenes. Each draws on the 640 x 480 canvas and leaves, in `marks`, the
// canvas points a caption's arrows may point at.

using Marks = QHash<QString, QPointF>;

enum class Junction { GiveWay, TrafficLight };

void paintTrafficLight(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z, Marks& marks)
{
    const qreal s = cam.scale(z);
    strokeLine(p, cam.ground(x, z), cam.at(x, 3.0, z), look(QColor(60, 64, 68)), 0.12 * s, Qt::FlatCap);
    const QPointF top = cam.at(x, 4.0, z);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 30, 32));
    p.drawRoundedRect(QRectF(top.x() - 0.2 * s, top.y(), 0.4 * s, 1.05 * s), 0.06 * s, 0.06 * s);
    const QColor lampColours[] = {QColor(255, 40, 30), QColor(70, 56, 20), QColor(20, 60, 40)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lampColours[i]);
        p.drawEllipse(QPointF(top.x(), top.y() + (0.18 + i * 0.34) * s), 0.13 * s, 0.13 * s);
    }
    glow(p, QPointF(top.x(), top.y() + 0.18 * s), 1.6 * s, QColor(255, 40, 30), 210);
    marks[QStringLiteral("sign")] = QPointF(top.x(), top.y() + 0.5 * s);
}

// A crossroads in town, seen from the driver's seat before the give-way
// line (by day) or the stop line of a red light (at night): the cross road,
// the corner blocks, a car coming from the right.
void paintCrossroads(QPainter& p, Marks& marks, Light light, Junction control)
{
    const Look look{light};
    Camera cam;
    cam.focal = 440;
    const bool night = look.dark();
    paintSky(p, light, cam.horizon, 11);

    // Pavement everywhere, the carriageways over it (one polygon each way,
    // so no seam shows where they meet).
    fillPoly(p, QPolygonF({{0, cam.horizon}, {640, cam.horizon}, {640, 480}, {0, 480}}),
             look(QColor(178, 172, 162)));
    const QColor asphalt = look(QColor(92, 96, 102));
    QPolygonF roads = groundRect(cam, -5.25, 1.75, 1.0, 400).united(groundRect(cam, -300, 300, 12, 19));
    fillPoly(p, roads, asphalt);
    const QColor kerb = look(QColor(210, 208, 202));
    for (const qreal kx : {1.75, -5.25}) {
        fillPoly(p, groundRect(cam, kx - 0.12, kx + 0.12, 1.0, 12), kerb);
        fillPoly(p, groundRect(cam, kx - 0.12, kx + 0.12, 19, 400), kerb);
    }
    fillPoly(p, groundRect(cam, 1.75, 300, 11.88, 12.0), kerb);
    fillPoly(p, groundRect(cam, -300, -5.25, 11.88, 12.0), kerb);
    fillPoly(p, groundRect(cam, 1.75, 300, 19.0, 19.12), kerb);
    fillPoly(p, groundRect(cam, -300, -5.25, 19.0, 19.12), kerb);
    const QColor white = look(QColor(236, 236, 230));
    dashesAlong(p, cam, look, -1.75, 0.14, 1.5, 10.5, 3, 3);
    dashesAlong(p, cam, look, -1.75, 0.14, 26, 400, 3, 3);
    for (qreal x = -300; x < 300; x += 6) {
        if (x > -6 && x < 2.5)
            continue;
        fillPoly(p, groundRect(cam, x, x + 3, 15.43, 15.57), white);
    }
    if (control == Junction::GiveWay) {
        // The give-way line and its painted triangles.
        dashesAcross(p, cam, look, -1.6, 1.6, 11.2, 0.4, 0.5, 0.3);
        // Their bases along the line, their points towards the driver.
        for (qreal x = -1.0; x < 1.5; x += 1.15)
            fillPoly(p, QPolygonF({cam.ground(x - 0.45, 10.8), cam.ground(x + 0.45, 10.8), cam.ground(x, 9.1)}),
                     white);
    } else {
        fillPoly(p, groundRect(cam, -1.7, 1.7, 11.0, 11.5), white);
        // Its arrows: straight on and right.
        fillPoly(p, QPolygonF({cam.ground(-0.12, 6.5), cam.ground(0.12, 6.5), cam.ground(0.12, 8.6),
                               cam.ground(0.35, 8.6), cam.ground(0, 9.8), cam.ground(-0.35, 8.6),
                               cam.ground(-0.12, 8.6)}),
                 white);
    }
    marks[QStringLiteral("line")] = cam.ground(0, 11.3);
    // The zebra across our road beyond the junction.
    for (qreal x = -5.0; x < 1.6; x += 1.0)
        fillPoly(p, groundRect(cam, x, x + 0.5, 20.0, 23.0), look(QColor(232, 232, 226)));

    // Buildings along the road beyond the junction, far ones first, then
    // the corner blocks whose fronts line the cross road.
    const QColor walls[] = {QColor(222, 186, 140), QColor(210, 160, 130), QColor(236, 214, 170),
                            QColor(196, 170, 150), QColor(226, 200, 160)};
    int wi = 0;
    for (qreal z = 200; z > 45; z -= 24) {
        const qreal z1 = std::max(45.0, z - 22);
        paintBuilding(p, cam, look, {-7.75, z1, z, 14, walls[wi % 5], true, QColor(40, 90, 150)}, quint32(z * 3));
        paintBuilding(p, cam, look, {4.25, z1, z, 16, walls[(wi + 2) % 5], true}, quint32(z * 5));
        ++wi;
    }
    paintBuilding(p, cam, look, {4.25, 21.5, 45, 16, walls[3], true, QColor(30, 120, 80), 60}, 91);
    paintBuilding(p, cam, look, {-7.75, 21.5, 45, 14, walls[1], true, QColor(40, 90, 150), 60}, 93);
    paintTree(p, cam, look, -6.6, 30, 6);
    paintStreetLamp(p, cam, look, 3.0, 27, true);
    paintStreetLamp(p, cam, look, -6.4, 40, false);

    // Traffic: an oncoming car waiting at its line beyond the junction, a
    // car crossing from the right in the far lane of the cross road.
    paintCarEnd(p, cam, look, -3.5, 24.5, {QColor(230, 230, 232), night}, true);
    paintPerson(p, cam, look, -6.9, 20.4, QColor(40, 110, 170), QColor(50, 50, 70), 0.6);
    paintPerson(p, cam, look, 3.4, 20.8, QColor(200, 150, 40), QColor(60, 60, 60), -0.3, 1.62);
    paintCarSide(p, cam, look, 5.4, 17.3, {QColor(196, 30, 36), night}, true);
    marks[QStringLiteral("car")] = cam.at(5.4, 1.0, 17.3);
    marks[QStringLiteral("oncoming")] = cam.at(-3.5, 1.0, 24.5);

    // The near blocks up to the corners.
    paintBuilding(p, cam, look, {-7.75, 0.5, 9.5, 14, walls[2], true, QColor(150, 40, 40), 30}, 95);
    paintBuilding(p, cam, look, {4.25, 0.5, 9.5, 17, walls[0], true, QColor(30, 120, 80), 30}, 97);

    if (control == Junction::GiveWay) {
        if (const auto giveWay = findDemoSign(QStringLiteral("40")))
            paintSignPost(p, cam, look, *giveWay, 2.5, 10.4, 0.9, 2.3);
        marks[QStringLiteral("sign")] = cam.at(2.5, 2.3, 10.4);
    } else {
        paintTrafficLight(p, cam, look, 2.5, 10.6, marks);
        // Its repeater on the far corner.
        Marks unused;
        paintTrafficLight(p, cam, look, -6.2, 19.6, unused);
    }
}

// Cars and trees seen from above, for the roundabout and the street.
void paintCarTop(QPainter& p, QPointF centre, qreal angle, const QColor& body, qreal scale,
                 bool indicatorLeft = false)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);  // 0: heading right
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(QRectF(-2.0, -0.74, 4.4, 1.84), 0.5, 0.5);
    QLinearGradient g(0, -0.9, 0, 0.9);
    g.setColorAt(0, body.lighter(118));
    g.setColorAt(0.5, body);
    g.setColorAt(1, body.darker(118));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(-2.2, -0.9, 4.4, 1.8), 0.55, 0.55);
    p.setBrush(QColor(56, 70, 86));
    QPainterPath screen;
    screen.moveTo(0.95, -0.72);
    screen.quadTo(1.35, 0, 0.95, 0.72);
    screen.lineTo(0.45, 0.62);
    screen.quadTo(0.6, 0, 0.45, -0.62);
    screen.closeSubpath();
    p.drawPath(screen);
    QPainterPath rear;
    rear.moveTo(-1.5, -0.66);
    rear.quadTo(-1.8, 0, -1.5, 0.66);
    rear.lineTo(-1.15, 0.58);
    rear.quadTo(-1.28, 0, -1.15, -0.58);
    rear.closeSubpath();
    p.drawPath(rear);
    p.setBrush(body.lighter(106));
    p.drawRoundedRect(QRectF(-1.1, -0.66, 1.5, 1.32), 0.25, 0.25);
    p.setBrush(body.darker(130));
    p.drawEllipse(QPointF(0.55, -0.98), 0.16, 0.1);
    p.drawEllipse(QPointF(0.55, 0.98), 0.16, 0.1);
    p.setBrush(QColor(250, 250, 230));
    p.drawRoundedRect(QRectF(2.02, -0.78, 0.16, 0.36), 0.06, 0.06);
    p.drawRoundedRect(QRectF(2.02, 0.42, 0.16, 0.36), 0.06, 0.06);
    p.setBrush(QColor(200, 30, 30));
    p.drawRect(QRectF(-2.2, -0.76, 0.12, 0.3));
    p.drawRect(QRectF(-2.2, 0.46, 0.12, 0.3));
    if (indicatorLeft) {
        for (const QPointF c : {QPointF(2.05, -0.86), QPointF(-2.1, -0.84)}) {
            p.setBrush(QColor(255, 170, 20));
            p.drawEllipse(c, 0.14, 0.14);
            glow(p, c, 0.8, QColor(255, 160, 20), 230);
        }
    }
    p.restore();
}

void paintTreeTop(QPainter& p, QPointF c, qreal r, quint32 seed)
{
    Dice dice(seed);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawEllipse(c + QPointF(r * 0.25, r * 0.25), r, r);
    p.setBrush(QColor(62, 116, 56));
    p.drawEllipse(c, r, r);
    for (int i = 0; i < 5; ++i) {
        const qreal a = dice.unit() * 6.283;
        const qreal d = r * 0.45 * dice.unit();
        p.setBrush(QColor(86, 142, 70));
        p.drawEllipse(c + QPointF(std::cos(a) * d, std::sin(a) * d), r * 0.35, r * 0.35);
    }
}

// A hipped roof seen from above: four slopes meeting at a ridge.
void paintRoofTop(QPainter& p, const QRectF& r, const QColor& tiles)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRect(r.translated(5, 5));
    const qreal inset = std::min(r.width(), r.height()) / 2;
    const bool wide = r.width() >= r.height();
    const QPointF a = wide ? QPointF(r.left() + inset, r.center().y()) : QPointF(r.center().x(), r.top() + inset);
    const QPointF b = wide ? QPointF(r.right() - inset, r.center().y()) : QPointF(r.center().x(), r.bottom() - inset);
    fillPoly(p, QPolygonF({r.topLeft(), r.topRight(), b, a}), tiles.lighter(110));
    fillPoly(p, QPolygonF({r.bottomLeft(), r.bottomRight(), b, a}), tiles.darker(108));
    fillPoly(p, QPolygonF({r.topLeft(), a, r.bottomLeft()}), tiles);
    fillPoly(p, QPolygonF({r.topRight(), b, r.bottomRight()}), tiles.darker(118));
    p.setPen(QPen(tiles.darker(140), 1.2));
    p.drawLine(a, b);
    for (const QPointF& corner : {r.topLeft(), r.bottomLeft()})
        p.drawLine(corner, a);
    for (const QPointF& corner : {r.topRight(), r.bottomRight()})
        p.drawLine(corner, b);
}

// A roundabout seen from above: four arms, traffic going round
// anticlockwise, a car waiting at a give-way line.
void paintRoundabout(QPainter& p, Marks& marks)
{
    const QPointF c(320, 240);
    const qreal m = 6.8;  // pixels a metre
    p.fillRect(QRectF(0, 0, 640, 480), QColor(132, 168, 96));
    Dice dice(5);
    for (int i = 0; i < 40; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(148, 184, 108, 120));
        p.drawEllipse(QPointF(dice.unit() * 640, dice.unit() * 480), 10 + dice.unit() * 30, 6 + dice.unit() * 18);
    }
    const QColor asphalt(92, 96, 102);
    const QColor paint(240, 240, 234);
    const QColor pavement(200, 196, 188);
    const qreal roadHalf = 4.6 * m;   // each arm: a lane each way and the splitter island
    const qreal outer = 17 * m;       // the ring's outer edge
    const qreal apron = 9.5 * m;      // the central island's overrun apron
    const qreal inner = 8 * m;        // the island itself
    // Corner houses and gardens.
    const QColor roofs[] = {QColor(178, 88, 62), QColor(160, 100, 76), QColor(190, 110, 70), QColor(150, 82, 64)};
    const QRectF blocks[] = {{-10, -10, 170, 110}, {490, 6, 160, 96}, {10, 380, 140, 110}, {496, 370, 150, 120}};
    for (int i = 0; i < 4; ++i)
        paintRoofTop(p, blocks[i], roofs[i]);
    // Pavements, then the arms and the ring as one shape.
    QPainterPath road;
    QPainterPath walk;
    for (int arm = 0; arm < 4; ++arm) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(arm * 90);
        QPainterPath a;
        a.addRect(QRectF(0, -roadHalf, 420, 2 * roadHalf));
        road = road.united(t.map(a));
        QPainterPath w;
        w.addRect(QRectF(0, -roadHalf - 2.2 * m, 420, 2 * roadHalf + 4.4 * m));
        walk = walk.united(t.map(w));
    }
    QPainterPath ring;
    ring.addEllipse(c, outer, outer);
    road = road.united(ring);
    QPainterPath ringWalk;
    ringWalk.addEllipse(c, outer + 2.2 * m, outer + 2.2 * m);
    walk = walk.united(ringWalk);
    fillPath(p, walk, pavement);
    fillPath(p, road, asphalt);
    // Central island: the apron, the kerb, grass, flowers and trees.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(184, 150, 124));
    p.drawEllipse(c, apron, apron);
    p.setBrush(QColor(110, 160, 84));
    p.setPen(QPen(QColor(226, 224, 218), 3));
    p.drawEllipse(c, inner, inner);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 28; ++i) {
        const qreal a = i * 6.283 / 28;
        p.setBrush(i % 2 ? QColor(240, 206, 40) : QColor(222, 70, 84));
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * (inner - 7), 3.2, 3.2);
    }
    paintTreeTop(p, c + QPointF(-6, -4), 24, 3);
    // The ring's edge line.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(paint, 2));
    p.drawEllipse(c, outer - 0.5 * m, outer - 0.5 * m);
    p.setPen(QPen(paint, 2, Qt::DashLine));
    p.drawEllipse(c, apron + 0.4 * m, apron + 0.4 * m);
    // Each arm: splitter island, centre line, give-way line and triangles on
    // the entry lane, zebra. In the arm's own frame (x away from the centre)
    // a car coming in drives on its right, which is y < 0.
    for (int arm = 0; arm < 4; ++arm) {
        p.save();
        p.translate(c);
        p.rotate(arm * 90);
        QPainterPath island;
        island.moveTo(outer + 1.5 * m, 0);
        island.quadTo(outer + 5 * m, -1.1 * m, outer + 13 * m, -0.6 * m);
        island.quadTo(outer + 14 * m, 0, outer + 13 * m, 0.6 * m);
        island.quadTo(outer + 5 * m, 1.1 * m, outer + 1.5 * m, 0);
        p.setPen(QPen(QColor(226, 224, 218), 2));
        p.setBrush(QColor(120, 168, 92));
        p.drawPath(island);
        p.setPen(QPen(paint, 2, Qt::CustomDashLine));
        QPen dashes(paint, 2);
        dashes.setDashPattern({6, 6});
        p.setPen(dashes);
        p.drawLine(QPointF(outer + 14 * m, 0), QPointF(420, 0));
        p.setPen(Qt::NoPen);
        const qreal gx = outer + 0.3 * m;
        for (qreal y = -roadHalf + 0.45 * m; y < -1.0 * m; y += 1.0 * m)
            p.fillRect(QRectF(gx, y, 0.35 * m, 0.55 * m), paint);
        // The triangles: bases along the line, points towards the cars coming.
        for (qreal y = -roadHalf + 0.9 * m; y < -1.3 * m; y += 1.25 * m)
            fillPoly(p, QPolygonF({QPointF(gx + 0.8 * m, y - 0.45 * m), QPointF(gx + 0.8 * m, y + 0.45 * m),
                                   QPointF(gx + 2.4 * m, y)}),
                     paint);
        for (qreal y = -roadHalf + 0.4 * m; y < roadHalf - 0.4 * m; y += 1.0 * m)
            p.fillRect(QRectF(outer + 15.5 * m, y, 2.8 * m, 0.5 * m), paint);
        p.restore();
    }
    // Cars going round anticlockwise: on the screen (y down) that is the
    // angle falling, so a car at angle a heads at a - 90.
    const qreal laneR = (outer + apron + 0.4 * m) / 2;
    struct Round { qreal deg; QColor colour; };
    const Round round[] = {{-135, QColor(40, 90, 170)}, {-28, QColor(230, 230, 232)}, {112, QColor(200, 40, 40)}};
    for (const Round& r : round) {
        const qreal a = r.deg * M_PI / 180;
        paintCarTop(p, c + QPointF(std::cos(a), std::sin(a)) * laneR, r.deg - 90, r.colour, m);
    }
    auto onRing = [&](qreal deg, qreal r) {
        const qreal a = deg * M_PI / 180;
        return c + QPointF(std::cos(a), std::sin(a)) * r;
    };
    marks[QStringLiteral("ring")] = onRing(-28, laneR);
    marks[QStringLiteral("ring2")] = onRing(-160, laneR);
    // Waiting at the give-way line of the south arm (heading up, on the
    // right-hand side of its arm: x > 0), another leaving by the east arm.
    const qreal lane = 2.85 * m;  // a lane's middle, off the arm's centre line
    const QPointF waiting = c + QPointF(lane, outer + 4.4 * m);
    paintCarTop(p, waiting, -90, QColor(240, 190, 30), m);
    marks[QStringLiteral("waiting")] = waiting;
    marks[QStringLiteral("entry")] = c + QPointF(lane, outer + 0.6 * m);
    const QPointF leaving = c + QPointF(outer + 8 * m, lane);
    paintCarTop(p, leaving, 0, QColor(70, 70, 74), m, false);
    marks[QStringLiteral("exit")] = leaving;
    paintCarTop(p, c + QPointF(-(outer + 24 * m), lane), 0, QColor(100, 160, 90), m);
    int seed = 10;
    for (const QPointF t : {QPointF(200, 120), QPointF(446, 124), QPointF(196, 364), QPointF(446, 360),
                            QPointF(120, 150), QPointF(540, 336), QPointF(590, 140)})
        paintTreeTop(p, t, 15, quint32(++seed));
}

// A town street at a pedestrian crossing: zebra stripes across the road, the
// crossing's signs, a pedestrian on the stripes, cars parked in their lane
// on the right. The small variant is a morning near a school: the
// children's danger sign, a school bus stopped on the other side.
void paintPedestrianCrossing(QPainter& p, Marks& marks, bool schoolMorning)
{
    const Look look{schoolMorning ? Light::Morning : Light::Day};
    Camera cam;
    cam.focal = 470;
    paintSky(p, look.light, cam.horizon, schoolMorning ? 23 : 21);
    fillPoly(p, QPolygonF({{0, cam.horizon}, {640, cam.horizon}, {640, 480}, {0, 480}}),
             look(QColor(180, 174, 164)));
    const QColor asphalt = look(QColor(94, 98, 104));
    const qreal kerbRight = 4.0;
    fillPoly(p, groundRect(cam, -5.25, kerbRight, 1.0, 400), asphalt);
    for (const qreal kx : {kerbRight, -5.25})
        fillPoly(p, groundRect(cam, kx - 0.12, kx + 0.12, 1.0, 400), look(QColor(208, 206, 200)));
    const QColor white = look(QColor(238, 238, 232));
    dashesAlong(p, cam, look, -1.75, 0.14, 2, 11.5, 3, 3);
    dashesAlong(p, cam, look, -1.75, 0.14, 16.5, 400, 3, 3);
    // The parking lane's edge line, broken at the crossing.
    fillPoly(p, groundRect(cam, 1.75, 1.87, 1.0, 11.0), white);
    fillPoly(p, groundRect(cam, 1.75, 1.87, 17.0, 400), white);
    // The zebra: stripes 0.5 m wide, parallel to the road.
    for (qreal x = -5.0; x < kerbRight - 0.2; x += 1.0)
        fillPoly(p, groundRect(cam, x, x + 0.5, 12.0, 16.0), white);
    marks[QStringLiteral("zebra")] = cam.ground(0.2, 12.2);
    const qreal facade = kerbRight + 2.5;
    const QColor walls[] = {QColor(236, 206, 160), QColor(214, 170, 140), QColor(226, 196, 176),
                            QColor(200, 178, 150)};
    int wi = 0;
    for (qreal z = 160; z > 4; z -= 18) {
        const qreal z1 = std::max(1.0, z - 17);
        paintBuilding(p, cam, look, {-7.75, z1, z, 13.0 + (wi % 3) * 2.5, walls[wi % 4], true, QColor(40, 110, 160)},
                      quint32(wi * 13 + 1));
        paintBuilding(p, cam, look, {facade, z1, z, 15.0 - (wi % 2) * 3, walls[(wi + 1) % 4], true},
                      quint32(wi * 17 + 2));
        ++wi;
    }
    paintTree(p, cam, look, -6.4, 40, 6);
    paintTree(p, cam, look, facade - 1.2, 34, 6);
    paintStreetLamp(p, cam, look, facade - 1.3, 26, true);
    paintStreetLamp(p, cam, look, -6.3, 22, false);
    // Parked cars beyond the crossing and well before it.
    paintCarEnd(p, cam, look, 2.9, 24, {QColor(90, 130, 90)}, false);
    paintCarEnd(p, cam, look, 2.9, 30, {QColor(200, 200, 204)}, false);
    if (schoolMorning) {
        paintBusFront(p, cam, look, -3.5, 21, QColor(246, 190, 20), QStringLiteral("SCUOLABUS"));
        marks[QStringLiteral("bus")] = cam.at(-3.5, 2.0, 21);
        paintPerson(p, cam, look, -1.3, 14.4, QColor(220, 60, 60), QColor(40, 60, 120), 0.7, 1.25,
                    QColor(200, 150, 60));
        paintPerson(p, cam, look, -0.4, 13.8, QColor(60, 150, 220), QColor(50, 50, 60), -0.5, 1.18);
        paintPerson(p, cam, look, 0.3, 14.6, QColor(250, 200, 40), QColor(60, 60, 90), 0.4, 1.3);
        paintPerson(p, cam, look, kerbRight + 0.8, 14.5, QColor(120, 80, 160), QColor(60, 60, 70), 0, 1.7);
        marks[QStringLiteral("person")] = cam.at(-0.4, 1.3, 14.0);
        if (const auto children = findDemoSign(QStringLiteral("6")))
            paintSignPost(p, cam, look, *children, kerbRight + 0.6, 8.5, 0.95, 2.3);
        marks[QStringLiteral("sign")] = cam.at(kerbRight + 0.6, 2.3, 8.5);
    } else {
        paintCarEnd(p, cam, look, -3.6, 22, {QColor(50, 80, 140)}, true);
        paintPerson(p, cam, look, -1.2, 14.0, QColor(180, 40, 80), QColor(40, 40, 60), 0.8, 1.68,
                    QColor(90, 50, 30));
        marks[QStringLiteral("person")] = cam.at(-1.2, 1.1, 14.0);
        paintPerson(p, cam, look, kerbRight + 0.7, 14.6, QColor(60, 120, 70), QColor(70, 60, 50), 0, 1.78);
        paintPerson(p, cam, look, -6.2, 15.2, QColor(230, 200, 80), QColor(50, 60, 90), 0.2, 1.7);
        if (const auto crossing = findDemoSign(QStringLiteral("168"))) {
            paintSignPost(p, cam, look, *crossing, kerbRight + 0.5, 11.6, 0.9, 2.5);
            paintSignPost(p, cam, look, *crossing, -5.9, 16.6, 0.9, 2.5);
        }
        marks[QStringLiteral("sign")] = cam.at(kerbRight + 0.5, 2.5, 11.6);
    }
    paintCarEnd(p, cam, look, 2.9, 5.2, {QColor(140, 40, 40)}, false);
    marks[QStringLiteral("parked")] = cam.at(2.9, 1.0, 5.2);
}

// A motorway entry from the acceleration lane: the two lanes of the
// carriageway on the left, a lorry ahead, the overhead direction signs.
void paintMotorwayEntry(QPainter& p, Marks& marks)
{
    const Look look{Light::Day};
    Camera cam;
    cam.height = 1.25;
    paintSky(p, look.light, cam.horizon, 31);
    paintHills(p, look, cam.horizon, 7, QColor(118, 146, 150));
    fillPoly(p, QPolygonF({{0, cam.horizon}, {640, cam.horizon}, {640, 480}, {0, 480}}),
             look(QColor(128, 164, 86)));
    for (int i = 0; i < 8; ++i) {
        const qreal z1 = 20 + i * 30;
        fillPoly(p, groundRect(cam, 8, 400, z1, z1 + 18),
                 look(i % 2 ? QColor(150, 176, 92) : QColor(176, 160, 110)));
    }
    const QColor asphalt = look(QColor(88, 92, 98));
    // Opposite carriageway, the central reserve, then our carriageway with
    // the acceleration lane narrowing into it between 90 and 140 m.
    fillPoly(p, groundRect(cam, -20, -11.2, 1, 600), asphalt);
    fillPoly(p, groundRect(cam, -11.2, -9.6, 1, 600), look(QColor(150, 156, 150)));
    fillPoly(p, QPolygonF({cam.ground(-9.6, 1), cam.ground(3.5, 1), cam.ground(3.5, 90), cam.ground(-1.75, 140),
                           cam.ground(-1.75, 600), cam.ground(-9.6, 600)}),
             asphalt);
    const QColor white = look(QColor(240, 240, 234));
    fillPoly(p, groundRect(cam, -9.4, -9.25, 1, 600), white);
    dashesAlong(p, cam, look, -5.6, 0.15, 1, 600, 4.5, 7.5);
    // The wide, short dashes between the acceleration lane and the carriageway.
    for (qreal z = 1; z < 140; z += 5)
        fillPoly(p, groundRect(cam, -1.95, -1.55, z, std::min(z + 2.5, 140.0)), white);
    fillPoly(p, QPolygonF({cam.ground(3.2, 1), cam.ground(3.35, 1), cam.ground(3.35, 90), cam.ground(3.2, 90)}), white);
    fillPoly(p, QPolygonF({cam.ground(3.2, 90), cam.ground(3.35, 90), cam.ground(-1.6, 140), cam.ground(-1.75, 140)}),
             white);
    fillPoly(p, groundRect(cam, -1.85, -1.7, 140, 600), white);
    // The central barrier, poplars along the fields.
    fillPoly(p, wallAlong(cam, -9.6, 1.5, 600, 0, 0.9), look(QColor(204, 204, 198)));
    for (qreal z = 52; z < 260; z += 22)
        paintPoplar(p, cam, look, 14 + std::fmod(z, 3.0), z, 13);
    // Traffic beyond the gantry: a car in the fast lane far off, a lorry in
    // the right-hand lane.
    paintCarEnd(p, cam, look, -7.6, 70, {QColor(40, 40, 44)}, false);
    paintTruckRear(p, cam, look, -3.7, 34, QColor(236, 236, 240));
    marks[QStringLiteral("truck")] = cam.at(-3.7, 2.2, 34);
    // The overhead gantry with the green direction panels.
    const qreal gz = 26;
    const qreal s = cam.scale(gz);
    const QColor steel = look(QColor(150, 156, 160));
    strokeLine(p, cam.ground(-10.4, gz), cam.at(-10.4, 7.4, gz), steel, 0.3 * s, Qt::FlatCap);
    strokeLine(p, cam.ground(5.0, gz), cam.at(5.0, 7.4, gz), steel, 0.3 * s, Qt::FlatCap);
    fillPoly(p, wallFacing(cam, gz, -10.4, 5.0, 7.0, 7.5), steel);
    struct Panel { qreal x1, x2; const char* top; const char* bottom; };
    const Panel panels[] = {{-9.4, -2.4, "A1", "MILANO"}, {-1.6, 4.4, "A1", "BOLOGNA"}};
    for (const Panel& pn : panels) {
        const QRectF box = wallFacing(cam, gz, pn.x1, pn.x2, 5.0, 7.2).boundingRect();
        p.setPen(QPen(look(QColor(250, 250, 250)), std::max(1.0, 0.08 * s)));
        p.setBrush(look(QColor(0, 122, 72)));
        p.drawRoundedRect(box, 2, 2);
        drawCentredText(p, QRectF(box.left(), box.top() + box.height() * 0.06, box.width(), box.height() * 0.45),
                        QString::fromLatin1(pn.top), look(QColor(255, 255, 255)), box.height() * 0.32);
        drawCentredText(p, QRectF(box.left(), box.top() + box.height() * 0.5, box.width(), box.height() * 0.42),
                        QString::fromLatin1(pn.bottom), look(QColor(255, 255, 255)), box.height() * 0.26);
    }
    marks[QStringLiteral("gantry")] = cam.at(-5.9, 5.0, gz);
    // A car overtaking the lorry.
    paintCarEnd(p, cam, look, -7.4, 17, {QColor(36, 96, 170)}, false);
    marks[QStringLiteral("overtaking")] = cam.at(-7.4, 1.0, 17);
    marks[QStringLiteral("lane")] = cam.ground(0.9, 12);
    marks[QStringLiteral("dashes")] = cam.ground(-1.75, 9);
    // Guard rail on the right, the motorway sign at the start of the lane.
    const QColor rail = look(QColor(186, 190, 196));
    fillPoly(p, wallAlong(cam, 4.6, 2, 120, 0.55, 0.85), rail);
    for (qreal z = 2; z < 120; z += 4)
        strokeLine(p, cam.ground(4.6, z), cam.at(4.6, 0.85, z), look(QColor(120, 124, 130)),
                   std::max(0.5, 0.12 * cam.scale(z)), Qt::FlatCap);
    if (const auto motorway = findDemoSign(QStringLiteral("171")))
        paintSignPost(p, cam, look, *motorway, 5.4, 10, 1.2, 2.3);
    marks[QStringLiteral("sign")] = cam.at(5.4, 2.3, 10);
}

// The danger sign for a level crossing with barriers (a fence in a red
// triangle), drawn here because the sign set has none.
void paintLevelCrossingSign(QPainter& p, const Camera& cam, const Look& look, qreal x, qreal z)
{
    const qreal s = cam.scale(z);
    const qreal h = 2.3;
    strokeLine(p, cam.ground(x, z), cam.at(x, h, z), look(QColor(120, 124, 128)), 0.08 * s, Qt::FlatCap);
    const QPointF c = cam.at(x, h, z);
    const qreal side = 0.95 * s;
    QPolygonF tri({c + QPointF(0, -side * 0.55), c + QPointF(side * 0.5, side * 0.32), c + QPointF(-side * 0.5, side * 0.32)});
    p.setPen(QPen(look(QColor(204, 18, 36)), side * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(look(QColor(255, 255, 255)));
    p.drawPolygon(tri);
    const QColor ink = look(QColor(22, 22, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const qreal u = side / 10;
    p.drawRect(QRectF(c.x() - 2.6 * u, c.y() - 0.6 * u, 0.7 * u, 3.0 * u));
    p.drawRect(QRectF(c.x() + 1.9 * u, c.y() - 0.6 * u, 0.7 * u, 3.0 * u));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(c.x() - 3.2 * u, c.y() - 0.2 * u + i * 0.9 * u, 6.4 * u, 0.45 * u));
}

// A level crossing on a country road: the barriers down, the red lights,
// a regional train going across.
void paintLevelCrossing(QPainter& p, Marks& marks)
{
    const Look look{Light::Day};
    Camera cam;
    cam.focal = 470;
    paintSky(p, look.light, cam.horizon, 41);
    paintHills(p, look, cam.horizon, 13, QColor(110, 140, 120));
    fillPoly(p, QPolygonF({{0, cam.horizon}, {640, cam.horizon}, {640, 480}, {0, 480}}),
             look(QColor(132, 166, 88)));
    for (int i = 0; i < 6; ++i) {
        const qreal z1 = 30 + i * 40;
        fillPoly(p, groundRect(cam, -400, -9, z1, z1 + 22), look(i % 2 ? QColor(190, 170, 100) : QColor(146, 176, 90)));
    }
    // Everything beyond the railway first: the farmhouse, trees, poplars.
    paintBuilding(p, cam, look, {-18, 55, 66, 7, QColor(226, 196, 150), false, {}, 10}, 5);
    paintTree(p, cam, look, 8.5, 48, 8, QColor(70, 120, 56));
    for (qreal z = 70; z < 300; z += 35)
        paintPoplar(p, cam, look, 10 + std::fmod(z, 4.0), z, 12);
    const QColor asphalt = look(QColor(96, 98, 102));
    fillPoly(p, groundRect(cam, -5.25, 1.75, 1, 500), asphalt);
    const QColor white = look(QColor(238, 238, 232));
    fillPoly(p, groundRect(cam, 1.5, 1.62, 1, 500), white);
    fillPoly(p, groundRect(cam, -5.0, -4.88, 1, 500), white);
    dashesAlong(p, cam, look, -1.75, 0.14, 1, 9, 3, 4.5);
    dashesAlong(p, cam, look, -1.75, 0.14, 22, 500, 3, 4.5);
    fillPoly(p, groundRect(cam, -1.75, 1.5, 9.5, 9.9), white);  // the stop line
    // Ballast, sleepers and rails across the road.
    fillPoly(p, groundRect(cam, -400, 400, 12.0, 20.0), look(QColor(150, 140, 128)));
    fillPoly(p, groundRect(cam, -5.25, 1.75, 12.0, 20.0), look(QColor(104, 104, 106)));
    for (const qreal tz : {13.0, 17.0}) {
        for (qreal x = -60; x < 60; x += 0.9)
            fillPoly(p, groundRect(cam, x, x + 0.3, tz - 0.3, tz + 1.75), look(QColor(120, 100, 84)));
        for (const qreal rz : {tz, tz + 1.45})
            fillPoly(p, groundRect(cam, -400, 400, rz, rz + 0.1), look(QColor(206, 210, 216)));
    }
    // Barriers: a post with its housing, the red-and-white boom across the
    // lane, and (towards us) two red lights, one lit as they flash in turn.
    auto barrier = [&](qreal postX, qreal tipX, qreal z, bool lightsFacing) {
        const qreal s = cam.scale(z);
        fillPoly(p, wallFacing(cam, z, postX - 0.3, postX + 0.3, 0, 1.3), look(QColor(232, 232, 232)));
        fillPoly(p, wallFacing(cam, z, postX - 0.3, postX + 0.3, 0, 0.25), look(QColor(200, 30, 30)));
        strokeLine(p, cam.ground(postX, z), cam.at(postX, 3.0, z), look(QColor(226, 226, 226)), 0.14 * s, Qt::FlatCap);
        const int bands = 9;
        fillPoly(p, wallFacing(cam, z, std::min(postX, tipX) - 0.04, std::max(postX, tipX) + 0.04, 0.83, 1.17),
                 look(QColor(40, 40, 44)));
        for (int i = 0; i < bands; ++i) {
            const qreal a = postX + (tipX - postX) * i / bands;
            const qreal b = postX + (tipX - postX) * (i + 1) / bands;
            fillPoly(p, wallFacing(cam, z, std::min(a, b), std::max(a, b), 0.86, 1.14),
                     look(i % 2 ? QColor(245, 245, 245) : QColor(210, 20, 30)));
        }
        if (lightsFacing) {
            const QPointF l1 = cam.at(postX - 0.3, 2.55, z);
            const QPointF l2 = cam.at(postX + 0.3, 2.55, z);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(24, 24, 26));
            p.drawRoundedRect(QRectF(l1.x() - 0.28 * s, l1.y() - 0.26 * s, (l2.x() - l1.x()) + 0.56 * s, 0.52 * s),
                              0.1 * s, 0.1 * s);
            p.setBrush(QColor(255, 40, 30));
            p.drawEllipse(l1, 0.18 * s, 0.18 * s);
            p.setBrush(QColor(90, 20, 20));
            p.drawEllipse(l2, 0.18 * s, 0.18 * s);
            glow(p, l1, 1.4 * s, QColor(255, 40, 30), 220);
            marks[QStringLiteral("light")] = l1;
        }
    };
    barrier(-7.2, -1.8, 21.0, false);
    // The overhead line's poles behind the tracks.
    const QColor pole = look(QColor(130, 134, 130));
    for (qreal x = -52; x <= 60; x += 30) {
        strokeLine(p, cam.ground(x, 21), cam.at(x, 6.5, 21), pole, 0.25 * cam.scale(21), Qt::FlatCap);
        strokeLine(p, cam.at(x, 6.3, 21), cam.at(x, 6.3, 12.5), pole, 0.12 * cam.scale(21));
    }
    // The train on the far track, heading right.
    const qreal trainZ = 17.7;
    const qreal ts = cam.scale(trainZ);
    const qreal nose = 9;  // metres right of the camera
    const QColor coach = look(QColor(236, 236, 238));
    const QColor band = look(QColor(0, 110, 80));
    for (int car = 0; car < 3; ++car) {
        const qreal x2 = nose - car * 25.5;
        const qreal x1 = x2 - 25;
        const QRectF body(cam.at(x1, 4.1, trainZ), cam.at(x2, 0.7, trainZ));
        p.setPen(Qt::NoPen);
        p.setBrush(coach);
        if (car == 0) {
            QPainterPath cab;
            cab.moveTo(body.left(), body.top());
            cab.lineTo(body.right() - 2.2 * ts, body.top());
            cab.quadTo(body.right(), body.top() + 0.5 * ts, body.right(), body.center().y());
            cab.lineTo(body.right(), body.bottom());
            cab.lineTo(body.left(), body.bottom());
            cab.closeSubpath();
            p.drawPath(cab);
            p.setBrush(look(QColor(40, 50, 60)));
            p.drawRect(QRectF(body.right() - 2.0 * ts, body.top() + 0.6 * ts, 1.3 * ts, 1.0 * ts));
        } else {
            p.drawRoundedRect(body, 0.4 * ts, 0.4 * ts);
        }
        p.setBrush(band);
        p.drawRect(QRectF(body.left(), body.bottom() - 1.0 * ts, body.width() - (car == 0 ? 0.2 * ts : 0), 0.55 * ts));
        p.setBrush(look(QColor(200, 40, 40)));
        p.drawRect(QRectF(body.left(), body.bottom() - 0.45 * ts, body.width(), 0.15 * ts));
        p.setBrush(look(QColor(56, 70, 86)));
        for (qreal wx = x1 + 1.8; wx < x2 - (car == 0 ? 3.5 : 1.5); wx += 2.3)
            p.drawRoundedRect(QRectF(cam.at(wx, 3.2, trainZ), cam.at(wx + 1.5, 2.0, trainZ)), 0.15 * ts, 0.15 * ts);
        // Doors.
        p.setBrush(look(QColor(0, 110, 80)));
        for (const qreal dx : {x1 + 5.0, x2 - 6.2})
            p.drawRect(QRectF(cam.at(dx, 3.4, trainZ), cam.at(dx + 1.2, 0.8, trainZ)));
        p.setBrush(look(QColor(40, 40, 44)));
        p.drawRect(QRectF(cam.at(x1 + 0.5, 0.7, trainZ), cam.at(x2 - 0.5, 0.25, trainZ)));
        for (const qreal bx : {x1 + 3.0, x2 - 3.0})
            p.drawEllipse(cam.at(bx, 0.4, trainZ), 0.5 * ts, 0.35 * ts);
    }
    glow(p, cam.at(nose - 0.3, 1.3, trainZ), 0.8 * ts, QColor(255, 250, 220), 220);  // its headlight
    marks[QStringLiteral("train")] = cam.at(nose - 8, 3.0, trainZ);
    // The pantograph and the contact wires.
    strokeLine(p, cam.at(nose - 10, 4.1, trainZ), cam.at(nose - 9, 5.55, trainZ), look(QColor(50, 50, 50)), 1.4);
    strokeLine(p, cam.at(nose - 8, 4.1, trainZ), cam.at(nose - 9, 5.55, trainZ), look(QColor(50, 50, 50)), 1.4);
    for (const qreal wz : {13.7, 17.7})
        strokeLine(p, cam.at(-300, 5.6, wz), cam.at(300, 5.6, wz), look(QColor(60, 60, 60)), 1.1);
    barrier(2.7, -1.6, 11.0, true);
    marks[QStringLiteral("barrier")] = cam.at(0.2, 1.0, 11.0);
    paintLevelCrossingSign(p, cam, look, 2.9, 5.5);
    marks[QStringLiteral("sign")] = cam.at(2.9, 2.3, 5.5);
}

// A street from above: a row of cars parked along the right-hand kerb, one
// pulling out with its indicator on, what its left mirror shows, and the
// blind spot between the mirror and the driver's side view, where a
// cyclist is coming up.
void paintBlindSpot(QPainter& p, Marks& marks)
{
    const qreal m = 15;  // pixels a metre
    p.fillRect(QRectF(0, 0, 640, 480), QColor(206, 200, 190));
    const QColor roofs[] = {QColor(178, 92, 64), QColor(164, 104, 80), QColor(190, 114, 74)};
    for (int i = 0; i < 5; ++i)
        paintRoofTop(p, QRectF(i * 132 - 10, -34, 124, 78), roofs[i % 3]);
    // A strip of garden along the bottom.
    p.fillRect(QRectF(0, 410, 640, 70), QColor(120, 160, 90));
    for (int i = 0; i < 5; ++i)
        paintTreeTop(p, QPointF(70 + i * 130, 448), 22, quint32(50 + i));
    const qreal roadTop = 150;
    const qreal roadBottom = roadTop + 10 * m;
    p.fillRect(QRectF(0, roadTop, 640, roadBottom - roadTop), QColor(94, 98, 104));
    p.fillRect(QRectF(0, roadTop - 3, 640, 3), QColor(226, 224, 218));
    p.fillRect(QRectF(0, roadBottom, 640, 3), QColor(226, 224, 218));
    const qreal centre = roadTop + 3.6 * m;
    for (qreal x = -20; x < 640; x += 6 * m)
        p.fillRect(QRectF(x, centre - 1.5, 3 * m, 3), QColor(240, 240, 234));
    const qreal bays = roadBottom - 2.4 * m;
    p.fillRect(QRectF(0, bays - 1, 640, 2), QColor(240, 240, 234));
    for (qreal x = 14; x < 640; x += 5.6 * m)
        p.fillRect(QRectF(x, bays, 2, 2.4 * m), QColor(240, 240, 234));
    for (int i = 0; i < 5; ++i)
        paintTreeTop(p, QPointF(60 + i * 140, 96), 20, quint32(30 + i));
    for (int i = 0; i < 4; ++i)
        paintTreeTop(p, QPointF(130 + i * 150, roadBottom + 40), 17, quint32(40 + i));

    // The car pulling out, heading right and turning out of its bay.
    const qreal bayY = bays + 1.2 * m;
    const QPointF ego(14 + 5.6 * m * 3.5, bayY - 0.6 * m);
    const qreal egoAngle = -12;
    auto rotated = [&](QPointF local) {
        const qreal a = egoAngle * M_PI / 180;
        return ego + QPointF(local.x() * std::cos(a) - local.y() * std::sin(a),
                             local.x() * std::sin(a) + local.y() * std::cos(a)) * m;
    };
    const QPointF mirror = rotated({0.55, -1.0});
    // Qt's arcs count degrees anticlockwise from three o'clock: behind the
    // car is about 180, its left side 90.
    auto sector = [&](QPointF apex, qreal fromDeg, qreal toDeg, qreal reach, const QColor& colour) {
        QPainterPath path;
        path.moveTo(apex);
        path.arcTo(QRectF(apex.x() - reach, apex.y() - reach, 2 * reach, 2 * reach), fromDeg, toDeg - fromDeg);
        path.closeSubpath();
        fillPath(p, path, colour);
    };
    const qreal turn = -egoAngle;  // the picture's angles turn with the car
    sector(mirror, 158 + turn, 180 + turn, 18 * m, QColor(60, 200, 90, 95));  // seen in the mirror
    sector(mirror, 110 + turn, 158 + turn, 8 * m, QColor(230, 40, 40, 110));  // seen by nobody
    // Parked cars, then the car pulling out.
    const QColor parked[] = {QColor(60, 60, 66), QColor(200, 200, 204), QColor(150, 40, 40), QColor(40, 80, 140),
                             QColor(110, 120, 90)};
    int pi = 0;
    for (qreal x = 14 + 2.8 * m; x < 700; x += 5.6 * m, ++pi) {
        if (std::abs(x - ego.x()) < 2 * m)
            continue;
        paintCarTop(p, QPointF(x, bayY), 0, parked[pi % 5], m);
    }
    paintCarTop(p, ego, egoAngle, QColor(240, 200, 40), m, true);
    marks[QStringLiteral("car")] = ego;
    marks[QStringLiteral("mirror")] = mirror;
    // The cyclist in the blind spot, about 4 m behind the mirror.
    const qreal spotA = (134 + turn) * M_PI / 180;
    const QPointF bike = mirror + QPointF(std::cos(spotA), -std::sin(spotA)) * 4.6 * m;
    p.save();
    p.translate(bike);
    p.scale(m, m);
    p.setPen(QPen(QColor(30, 30, 30), 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-0.9, 0), QPointF(0.9, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(QRectF(-0.95, -0.06, 0.45, 0.12), 0.05, 0.05);
    p.drawRoundedRect(QRectF(0.5, -0.06, 0.45, 0.12), 0.05, 0.05);
    p.setBrush(QColor(230, 90, 30));
    p.drawEllipse(QPointF(-0.05, 0), 0.32, 0.26);
    p.setPen(QPen(QColor(230, 90, 30), 0.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.05, -0.22), QPointF(0.55, -0.25));
    p.drawLine(QPointF(0.05, 0.22), QPointF(0.55, 0.25));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 220, 60));
    p.drawEllipse(QPointF(0.05, 0), 0.17, 0.17);
    p.restore();
    marks[QStringLiteral("cyclist")] = bike;
    // A car further back, seen in the mirror; one coming the other way.
    const qreal seenA = (170 + turn) * M_PI / 180;
    const QPointF seen = mirror + QPointF(std::cos(seenA), -std::sin(seenA)) * 14 * m;
    paintCarTop(p, QPointF(seen.x(), centre + 1.8 * m), 0, QColor(80, 140, 200), m);
    marks[QStringLiteral("seen")] = QPointF(seen.x(), centre + 1.8 * m);
    paintCarTop(p, QPointF(560, roadTop + 1.8 * m), 180, QColor(220, 220, 224), m);
    // Pedestrians on the pavement.
    for (const QPointF at : {QPointF(250, roadBottom + 16), QPointF(420, roadBottom + 62), QPointF(520, 120)}) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 70, 120));
        p.drawEllipse(at, 7, 5);
        p.setBrush(QColor(90, 60, 40));
        p.drawEllipse(at, 3.5, 3.5);
    }
}

// The school's own photograph: its car for the driving lessons in front of
// the school at dusk, the "SCUOLA GUIDA" plate on its roof.
void paintSchoolCar(QPainter& p, Marks& marks)
{
    const Look look{Light::Dusk};
    const qreal groundY = 372;
    paintSky(p, Light::Dusk, groundY, 51);
    p.fillRect(QRectF(0, 64, 640, groundY - 64), look(QColor(236, 212, 170)));
    p.fillRect(QRectF(0, 54, 640, 14), look(QColor(196, 166, 126)));
    Dice dice(61);
    for (int i = 0; i < 6; ++i) {
        const QRectF w(30 + i * 104, 88, 54, 70);
        p.fillRect(w.adjusted(-4, -4, 4, 4), look(QColor(244, 236, 222)));
        const bool on = dice.chance(60);
        p.fillRect(w, on ? QColor(255, 210, 130) : look(QColor(110, 130, 150)));
        if (on)
            glow(p, w.center(), 50, QColor(255, 200, 120), 70);
        p.fillRect(QRectF(w.left() - 20, w.top(), 16, w.height()), look(QColor(70, 110, 76)));
        p.fillRect(QRectF(w.right() + 4, w.top(), 16, w.height()), look(QColor(70, 110, 76)));
    }
    const QRectF board(96, 176, 448, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 60, 140));
    p.drawRoundedRect(board, 6, 6);
    drawCentredText(p, board, QStringLiteral("AUTOSCUOLA DEMO"), QColor(255, 255, 255), 32);
    p.fillRect(QRectF(70, 236, 500, groundY - 236), look(QColor(90, 80, 70)));
    p.fillRect(QRectF(84, 246, 200, groundY - 246), QColor(255, 228, 170));
    p.fillRect(QRectF(356, 246, 200, groundY - 246), QColor(255, 228, 170));
    p.fillRect(QRectF(296, 250, 48, groundY - 250), look(QColor(60, 50, 44)));
    drawCentredText(p, QRectF(84, 252, 200, 36), QStringLiteral("PATENTI"), QColor(180, 30, 30), 22);
    drawCentredText(p, QRectF(84, 284, 200, 30), QStringLiteral("A  B  C  D  E"), QColor(40, 40, 40), 18);
    drawCentredText(p, QRectF(356, 252, 200, 60), QStringLiteral("CORSI\nDI TEORIA"), QColor(24, 60, 140), 18);
    // Pavement, kerb and road.
    p.fillRect(QRectF(0, groundY, 640, 26), look(QColor(196, 190, 182)));
    p.fillRect(QRectF(0, groundY + 26, 640, 6), look(QColor(220, 218, 212)));
    p.fillRect(QRectF(0, groundY + 32, 640, 480 - groundY - 32), look(QColor(86, 90, 96)));
    for (const qreal x : {28.0, 612.0}) {
        p.fillRect(QRectF(x - 3, 140, 6, groundY + 12 - 140), look(QColor(50, 54, 58)));
        p.setBrush(QColor(255, 236, 190));
        p.drawEllipse(QPointF(x, 140), 12, 6);
        glow(p, QPointF(x, 144), 90, QColor(255, 210, 140), 160);
    }
    // The car, from the side, nose to the right; drawn nose-left and turned.
    const QPointF base(320, groundY + 70);
    const qreal k = 92;  // pixels a metre
    p.save();
    p.translate(base);
    p.scale(-k, k);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(QPointF(0, 0), 2.3, 0.08);
    QPainterPath shell;
    shell.moveTo(-2.15, -0.36);
    shell.lineTo(-2.15, -0.72);
    shell.quadTo(-2.1, -0.86, -1.7, -0.9);
    shell.lineTo(-0.95, -0.98);
    shell.lineTo(-0.45, -1.42);
    shell.lineTo(0.95, -1.44);
    shell.lineTo(1.6, -1.0);
    shell.quadTo(2.12, -0.96, 2.12, -0.74);
    shell.lineTo(2.12, -0.36);
    shell.closeSubpath();
    QLinearGradient bg(0, -1.44, 0, -0.36);
    bg.setColorAt(0, QColor(246, 242, 240));
    bg.setColorAt(1, QColor(176, 174, 182));
    fillPath(p, shell, bg);
    QPainterPath glass;
    glass.moveTo(-0.82, -1.0);
    glass.lineTo(-0.4, -1.35);
    glass.lineTo(0.9, -1.37);
    glass.lineTo(1.42, -1.0);
    glass.closeSubpath();
    fillPath(p, glass, QColor(70, 80, 100));
    p.setBrush(QColor(226, 224, 228));
    p.drawRect(QRectF(0.2, -1.38, 0.1, 0.4));
    p.setPen(QPen(QColor(150, 150, 156), 0.015));
    p.drawLine(QPointF(0.25, -0.98), QPointF(0.25, -0.4));
    p.drawLine(QPointF(-1.0, -0.98), QPointF(-1.0, -0.45));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 60, 140));
    p.drawRect(QRectF(-2.15, -0.66, 4.27, 0.07));
    for (const qreal wx : {-1.35, 1.35}) {
        p.setBrush(QColor(22, 22, 24));
        p.drawEllipse(QPointF(wx, -0.33), 0.33, 0.33);
        p.setBrush(QColor(170, 174, 180));
        p.drawEllipse(QPointF(wx, -0.33), 0.16, 0.16);
    }
    p.setBrush(QColor(255, 250, 220));
    p.drawRoundedRect(QRectF(-2.16, -0.8, 0.2, 0.12), 0.04, 0.04);
    glow(p, QPointF(-2.2, -0.74), 0.7, QColor(255, 250, 220), 200);
    p.setBrush(QColor(255, 40, 30));
    p.drawRect(QRectF(2.04, -0.86, 0.08, 0.14));
    // The plate on the roof, a blue box on two feet.
    p.setBrush(QColor(40, 40, 44));
    p.drawRect(QRectF(-0.45, -1.52, 0.06, 0.1));
    p.drawRect(QRectF(0.45, -1.52, 0.06, 0.1));
    p.setBrush(QColor(24, 60, 140));
    p.drawRoundedRect(QRectF(-0.75, -1.8, 1.5, 0.3), 0.05, 0.05);
    p.restore();
    // Its writing, the right way round.
    const QRectF plate(base.x() - 0.75 * k, base.y() - 1.8 * k, 1.5 * k, 0.3 * k);
    drawCentredText(p, plate, QStringLiteral("SCUOLA GUIDA"), QColor(255, 255, 255), 0.15 * k);
    drawCentredText(p, QRectF(base.x() - 1.0 * k, base.y() - 0.58 * k, 1.35 * k, 0.18 * k),
                    QStringLiteral("Autoscuola Demo"), QColor(24, 60, 140), 0.13 * k, false);
    marks[QStringLiteral("plate")] = plate.center();
    marks[QStringLiteral("car")] = base + QPointF(0, -0.7 * k);
    marks[QStringLiteral("board")] = board.center();
}

// ---------------------------------------------------------------------------
// The photographs

using ScenePainter = std::function<void(QPainter&, Marks&)>;

struct Photo {
    int number;
    QSize size;
    ScenePainter paint;
};

const std::vector<Photo>& photos()
{
    static const std::vector<Photo> all = {
        {2001, {800, 600}, [](QPainter& p, Marks& m) { paintCrossroads(p, m, Light::Day, Junction::GiveWay); }},
        {2002, {640, 480}, [](QPainter& p, Marks& m) { paintCrossroads(p, m, Light::Night, Junction::TrafficLight); }},
        {2003, {640, 480}, paintRoundabout},
        {2004, {640, 480}, [](QPainter& p, Marks& m) { paintPedestrianCrossing(p, m, false); }},
        {2005, {320, 240}, [](QPainter& p, Marks& m) { paintPedestrianCrossing(p, m, true); }},
        {2006, {640, 480}, paintMotorwayEntry},
        {2007, {640, 480}, paintLevelCrossing},
        {2008, {640, 480}, paintBlindSpot},
        // The school's own photograph, in the user photo folder.
        {9000, {640, 480}, paintSchoolCar},
    };
    return all;
}

// The first photo number that lives in the user photo folder.
constexpr int kFirstUserPhoto = 9000;

QImage drawPhoto(const Photo& photo, Marks* marks)
{
    QImage img(photo.size, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(photo.size.width() / 640.0, photo.size.height() / 480.0);
    Marks local;
    photo.paint(p, local);
    if (marks)
        *marks = local;
    return img;
}

// A 24-bit BMP (what Qt writes for an RGB888 picture), masked with "KX"
// for the photo folder or left plain for the user photo folder.
QByteArray photoBytes(const QImage& image, bool masked)
{
    return masked ? encodeKxb(image) : encodeKxb(image, "BM");
}

QString photoPath(const QString& ziroDir, int number)
{
    return number < kFirstUserPhoto ? ziroDir + QStringLiteral("Foto/%1.KXB").arg(number)
                                    : ziroDir + QStringLiteral("Utente/Foto/%1.BMP").arg(number);
}

// The sound of the level crossing: its bell, two strokes a second for two
// seconds, as 16-bit mono PCM in a RIFF wave file.
QByteArray makeBell()
{
    const int rate = 22050;
    const int samples = rate * 2;
    QByteArray pcm;
    pcm.reserve(samples * 2);
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const double sinceStroke = std::fmod(t, 0.5);
        const double env = std::exp(-7.0 * sinceStroke) * std::min(1.0, sinceStroke * 400);
        const double tone = std::sin(2 * M_PI * 1180 * t) + 0.5 * std::sin(2 * M_PI * 2950 * t) +
                            0.25 * std::sin(2 * M_PI * 4720 * t);
        const auto s = static_cast<qint16>(std::clamp(7000.0 * env * tone, -32000.0, 32000.0));
        char le[2];
        qToLittleEndian(s, le);
        pcm.append(le, 2);
    }
    return monoWave(pcm, rate);
}

// The record sound's name (field "Audio") and its file in the A-B book folder.
const char kBellSound[] = "001";

bool failWith(QString* error, const QString& what)
{
    if (error)
        *error = what;
    return false;
}


// ---------------------------------------------------------------------------
// Captions and arrows, as the photo viewer stores them
//
// The viewer shows a photograph in a 480 x 360 picture placed at (4, 4) of
// its 490 x 370 frame. A caption's box is in frame pixels and kept in the
// usable area (the picture inset by 20 and 15); an arrow's points are pixels
// of the 480 x 360 picture, where the teacher draws them. Every scene is
// 4:3, so a canvas point maps to the picture by a factor of 0.75.

constexpr QSize kFrame{490, 370};
constexpr QSize kPicture{480, 360};
constexpr QRect kSafeArea{24, 19, 440, 330};
constexpr qreal kCanvasToPicture = 480.0 / 640.0;

enum class Lines { Single = 1, Multiple = 2 };
enum class Align { Left = 1, Centre = 2, Right = 3 };
enum class FontStyle { Plain = 0, Italic = 1, Bold = 2, BoldItalic = 3 };
enum class Effect { None = 0, Raised = 1, Shadow = 2 };
enum class Place { TopLeft, Top, TopRight, BottomLeft, Bottom, BottomRight };

// An arrow from a canvas point to a named mark of the scene, its tip moved
// by `shift` (canvas pixels) so that it stops just short of the thing.
struct Arrow {
    QPointF tail;
    const char* mark;
    QPointF shift;
};

struct Caption {
    QString text;  // lines separated by carriage returns
    Lines lines = Lines::Single;
    Align align = Align::Centre;  // of the text; a single line is always centred
    Place place = Place::Top;     // of the box in the usable area
    QString font = QStringLiteral("Arial");
    QColor colour = Qt::black;
    int size = 24;  // points
    FontStyle style = FontStyle::Bold;
    bool box = false;
    QColor boxColour = QColor(0xC6, 0xCD, 0xD9);  // the viewer's own, "$00D9CDC6"
    Effect effect = Effect::Shadow;
    QColor shadow = QColor(128, 128, 128);
    std::optional<Arrow> arrow1;
    std::optional<Arrow> arrow2;
    QColor arrowColour = QColor(128, 0, 128);  // the viewer's purple
};

// The box a caption takes in the frame: a single line is as high as the
// viewer makes it (1.65 times the size, less the handle's 2 + 2), several
// lines as high as they are; both as wide as their text.
// The width the caption's text needs, in frame pixels (a point is taken
// as 4/3 of a pixel, as on a screen of 96 dots an inch).
int captionTextWidth(const Caption& c)
{
    QFont f(c.font);
    f.setPixelSize(qRound(c.size * 4.0 / 3.0));
    f.setBold(c.style == FontStyle::Bold || c.style == FontStyle::BoldItalic);
    f.setItalic(c.style == FontStyle::Italic || c.style == FontStyle::BoldItalic);
    const QFontMetricsF fm(f);
    qreal width = 0;
    for (const QString& line : c.text.split(QLatin1Char('\r')))
        width = std::max(width, fm.horizontalAdvance(line));
    return int(std::ceil(width)) + 16;
}

QRect captionBox(const Caption& c)
{
    QFont f(c.font);
    f.setPixelSize(qRound(c.size * 4.0 / 3.0));
    const QFontMetricsF fm(f);
    const int lineCount = int(c.text.count(QLatin1Char('\r'))) + 1;
    // A caption without text keeps the size a new caption starts with.
    const bool blank = c.text.trimmed().isEmpty();
    const int w = blank ? 240 : std::min(kSafeArea.width(), captionTextWidth(c));
    const int h = c.lines == Lines::Single ? int(std::lround(c.size * 1.65)) - 4
                                           : int(std::ceil(lineCount * fm.lineSpacing())) + 6;
    int x = kSafeArea.left() + (kSafeArea.width() - w) / 2;
    if (c.place == Place::TopLeft || c.place == Place::BottomLeft)
        x = kSafeArea.left() + 4;
    if (c.place == Place::TopRight || c.place == Place::BottomRight)
        x = kSafeArea.right() + 1 - 4 - w;
    const bool top = c.place == Place::TopLeft || c.place == Place::Top || c.place == Place::TopRight;
    const int y = top ? kSafeArea.top() + 4 : kSafeArea.bottom() + 1 - 4 - h;
    return {x, y, w, h};
}

std::optional<QLine> arrowLine(const Arrow& a, const Marks& marks)
{
    const auto mark = marks.constFind(QLatin1String(a.mark));
    if (mark == marks.constEnd())
        return std::nullopt;
    const QPointF tip = (*mark + a.shift) * kCanvasToPicture;
    const QPointF tail = a.tail * kCanvasToPicture;
    return QLine(tail.toPoint(), tip.toPoint());
}

// The caption record: 24 fields, each followed by "*", the whole ended by
// "#". Empty when an arrow names a mark the scene does not have.
QString captionRecord(const Caption& c, const Marks& marks)
{
    const QRect box = captionBox(c);
    QStringList f;
    f << c.text << QString::number(box.left())
      << QString::number(box.top() + 2)  // the viewer places the caption 2 above what it reads
      << QString::number(box.width()) << QString::number(box.height() + 4)
      << QString::number(int(c.lines)) << c.font << colourToText(c.colour) << QString::number(c.size)
      << QString::number(c.lines == Lines::Single ? int(Align::Centre) : int(c.align))
      << QString::number(int(c.style)) << (c.box ? QStringLiteral("0") : QStringLiteral("1"))
      << colourToText(c.boxColour) << QString::number(int(c.effect)) << colourToText(c.shadow);
    auto arrowFields = [&](const std::optional<Arrow>& a) {
        if (!a) {
            f << QStringLiteral("-1") << QStringLiteral("-1") << QStringLiteral("-1") << QStringLiteral("-1");
            return true;
        }
        const auto line = arrowLine(*a, marks);
        if (!line)
            return false;
        f << QString::number(line->x1()) << QString::number(line->y1()) << QString::number(line->x2())
          << QString::number(line->y2());
        return true;
    };
    if (!arrowFields(c.arrow1))
        return {};
    f << colourToText(c.arrowColour);
    if (!arrowFields(c.arrow2))
        return {};
    return f.join(QLatin1Char('*')) + QStringLiteral("*#");
}

// ---------------------------------------------------------------------------
// The records

QColor bgr(quint32 value)  // a colour as the records write it, 0x00BBGGRR
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

struct Slot {
    int photo = 0;  // 0: the field stays empty
    std::optional<Caption> caption;
};

// A record that shows photographs: a sign record of a topic (found by its
// topic and sign) or, without a sign, a new photo-only record of the topic.
struct PhotoRecord {
    const char* argomento;
    const char* sign;
    std::vector<Slot> photos;  // Foto1, Foto2, ...; a photo of 0 leaves its field empty
    const char* audio = "";
};

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

std::vector<PhotoRecord> photoRecords()
{
    using L = Lines;
    using A = Align;
    using P = Place;
    using S = FontStyle;
    using E = Effect;
    const auto u = [](const char* text) { return QString::fromUtf8(text); };

    // Captions shared by the records below.
    Caption giveWay;  // a single line, shadowed, two arrows
    giveWay.text = u("Dare precedenza a tutti");
    giveWay.size = 26;
    giveWay.colour = kWhite;
    giveWay.shadow = kBlack;
    giveWay.arrow1 = Arrow{{560, 120}, "sign", {12, 0}};
    giveWay.arrow2 = Arrow{{600, 330}, "car", {40, 16}};
    giveWay.arrowColour = kYellow;

    Caption redLight;  // several lines, left-aligned, plain, in a box, one arrow
    redLight.text = u("Semaforo rosso:\rfermarsi prima\rdella linea di arresto");
    redLight.lines = L::Multiple;
    redLight.align = A::Left;
    redLight.place = P::TopLeft;
    redLight.font = u("Times New Roman");
    redLight.colour = kYellow;
    redLight.size = 18;
    redLight.style = S::Plain;
    redLight.box = true;
    redLight.boxColour = bgr(0x00402010);
    redLight.effect = E::None;
    redLight.arrow1 = Arrow{{300, 96}, "sign", {-16, 0}};
    redLight.arrowColour = QColor(0, 255, 255);

    Caption accelerationLane;  // a single line at the bottom, one arrow
    accelerationLane.text = u("Corsia di accelerazione");
    accelerationLane.place = P::Bottom;
    accelerationLane.colour = kWhite;
    accelerationLane.size = 26;
    accelerationLane.shadow = bgr(0x00404040);
    accelerationLane.arrow1 = Arrow{{470, 370}, "lane", {6, 18}};
    accelerationLane.arrowColour = kYellow;

    Caption mergeInto;  // several lines, right-aligned, bold italic, raised, two arrows
    mergeInto.text = u("Immettersi senza\rcostringere chi arriva\ra rallentare");
    mergeInto.lines = L::Multiple;
    mergeInto.align = A::Right;
    mergeInto.place = P::BottomRight;
    mergeInto.font = u("Verdana");
    mergeInto.colour = QColor(0, 0, 128);
    mergeInto.size = 16;
    mergeInto.style = S::BoldItalic;
    mergeInto.box = true;
    mergeInto.boxColour = kWhite;
    mergeInto.effect = E::Raised;
    mergeInto.shadow = QColor(192, 192, 192);
    mergeInto.arrow1 = Arrow{{400, 330}, "truck", {22, 12}};
    mergeInto.arrow2 = Arrow{{380, 380}, "overtaking", {30, 18}};
    mergeInto.arrowColour = bgr(0x000080FF);

    Caption pedestrian;  // several lines, centred, in a white box, one arrow
    pedestrian.text = u("Il pedone sulle strisce\rha la precedenza");
    pedestrian.lines = L::Multiple;
    pedestrian.colour = QColor(128, 0, 0);
    pedestrian.size = 20;
    pedestrian.box = true;
    pedestrian.boxColour = kWhite;
    pedestrian.effect = E::None;
    pedestrian.arrow1 = Arrow{{200, 132}, "person", {-12, -14}};
    pedestrian.arrowColour = kRed;

    Caption schoolBus;  // a small single line, italic, raised, in gold, no arrow
    schoolBus.text = u("Scuolabus fermo: attenzione ai bambini");
    schoolBus.place = P::Bottom;
    schoolBus.colour = bgr(0x0000D7FF);
    schoolBus.size = 17;
    schoolBus.style = S::Italic;
    schoolBus.effect = E::Raised;
    schoolBus.shadow = kBlack;

    Caption arrowsOnly;  // no text at all, only the two arrows
    arrowsOnly.text = QString();
    arrowsOnly.place = P::TopLeft;
    arrowsOnly.size = 50;
    arrowsOnly.style = S::Plain;
    arrowsOnly.effect = E::None;
    arrowsOnly.arrow1 = Arrow{{180, 380}, "zebra", {-40, 10}};
    arrowsOnly.arrow2 = Arrow{{420, 60}, "sign", {-20, -10}};
    arrowsOnly.arrowColour = QColor(255, 0, 255);

    Caption children;  // a single line in a light yellow box, one arrow
    children.text = u("Rallentare: bambini sulle strisce");
    children.place = P::Top;
    children.size = 19;
    children.box = true;
    children.boxColour = bgr(0x0080FFFF);
    children.effect = E::None;
    children.arrow1 = Arrow{{200, 110}, "person", {-4, -6}};
    children.arrowColour = kRed;

    Caption barriers;  // several lines, right-aligned, in a yellow box, two arrows
    barriers.text = u("Barriere abbassate:\rattendere il passaggio\rdel treno");
    barriers.lines = L::Multiple;
    barriers.align = A::Right;
    barriers.place = P::BottomLeft;
    barriers.font = u("Courier New");
    barriers.size = 16;
    barriers.box = true;
    barriers.boxColour = kYellow;
    barriers.effect = E::None;
    barriers.arrow1 = Arrow{{250, 360}, "barrier", {-10, 16}};
    barriers.arrow2 = Arrow{{390, 340}, "light", {2, 24}};
    barriers.arrowColour = kRed;

    Caption dipped;  // a single italic line, shadowed in navy, only arrow 2
    dipped.text = u("Di notte: luci anabbaglianti");
    dipped.place = P::Bottom;
    dipped.font = u("Times New Roman");
    dipped.colour = kWhite;
    dipped.size = 26;
    dipped.style = S::Italic;
    dipped.shadow = QColor(0, 0, 128);
    dipped.arrow2 = Arrow{{160, 330}, "oncoming", {-16, 10}};
    dipped.arrowColour = QColor(0, 255, 0);

    Caption roundabout;  // a single bold italic line in a dark box, two arrows
    roundabout.text = u("In rotatoria: senso antiorario");
    roundabout.size = 20;
    roundabout.colour = kWhite;
    roundabout.style = S::BoldItalic;
    roundabout.box = true;
    roundabout.boxColour = bgr(0x00603000);
    roundabout.shadow = kBlack;
    roundabout.arrow1 = Arrow{{352, 372}, "ring", {24, 130}};
    roundabout.arrow2 = Arrow{{444, 290}, "exit", {-12, 0}};
    roundabout.arrowColour = kYellow;

    Caption blindSpot;  // a large single line in a white box, two arrows
    blindSpot.text = u("Angolo cieco!");
    blindSpot.place = P::TopLeft;
    blindSpot.colour = kRed;
    blindSpot.size = 34;
    blindSpot.box = true;
    blindSpot.boxColour = kWhite;
    blindSpot.arrow1 = Arrow{{170, 100}, "cyclist", {-6, -12}};
    blindSpot.arrow2 = Arrow{{470, 380}, "mirror", {6, 6}};
    blindSpot.arrowColour = kYellow;

    Caption pedestriansFirst;  // a single raised line with a white shade
    pedestriansFirst.text = u("Precedenza ai pedoni");
    pedestriansFirst.size = 26;
    pedestriansFirst.effect = E::Raised;
    pedestriansFirst.shadow = kWhite;
    pedestriansFirst.arrow1 = Arrow{{420, 120}, "person", {12, -12}};

    Caption schoolCar;  // the school's photograph: bold italic, shadowed
    schoolCar.text = u("La nostra auto per le guide");
    schoolCar.place = P::Bottom;
    schoolCar.font = u("Times New Roman");
    schoolCar.colour = bgr(0x00B4ECFF);
    schoolCar.size = 26;
    schoolCar.style = S::BoldItalic;
    schoolCar.shadow = kBlack;
    schoolCar.arrow1 = Arrow{{140, 200}, "plate", {-74, -2}};

    Caption whoGoesFirst;
    whoGoesFirst.text = u("Incrocio:\rchi passa per primo?");
    whoGoesFirst.lines = L::Multiple;
    whoGoesFirst.colour = kWhite;
    whoGoesFirst.size = 22;
    whoGoesFirst.box = true;
    whoGoesFirst.boxColour = QColor(128, 128, 128);
    whoGoesFirst.shadow = kBlack;
    whoGoesFirst.arrow1 = Arrow{{560, 340}, "car", {40, 16}};

    Caption roundaboutTitle;
    roundaboutTitle.text = u("Rotatoria");
    roundaboutTitle.place = P::TopRight;
    roundaboutTitle.colour = kWhite;
    roundaboutTitle.size = 40;
    roundaboutTitle.effect = E::Raised;
    roundaboutTitle.shadow = QColor(128, 128, 128);

    Caption motorway;
    motorway.text = u("Autostrada");
    motorway.place = P::Bottom;
    motorway.colour = QColor(0, 128, 0);
    motorway.size = 32;
    motorway.box = true;
    motorway.boxColour = kWhite;
    motorway.effect = E::None;
    motorway.arrow1 = Arrow{{560, 300}, "sign", {0, 40}};
    motorway.arrowColour = QColor(0, 128, 0);

    Caption levelCrossing;
    levelCrossing.text = u("Passaggio a livello");
    levelCrossing.place = P::BottomLeft;
    levelCrossing.colour = kRed;
    levelCrossing.size = 28;
    levelCrossing.style = S::Italic;
    levelCrossing.box = true;
    levelCrossing.boxColour = kWhite;
    levelCrossing.effect = E::None;

    Caption indicator;
    indicator.text = u("Prima di immettersi: freccia a sinistra");
    indicator.place = P::Bottom;
    indicator.colour = kYellow;
    indicator.size = 17;
    indicator.shadow = kBlack;

    Caption breakdown;  // the photo-only stretch of H01
    breakdown.text = u("Veicolo in panne in autostrada:\rluci di emergenza, giubbotto,\rtriangolo a 100 metri");
    breakdown.lines = L::Multiple;
    breakdown.place = P::BottomLeft;
    breakdown.align = A::Left;
    breakdown.colour = kWhite;
    breakdown.size = 15;
    breakdown.box = true;
    breakdown.boxColour = bgr(0x00202080);
    breakdown.effect = E::None;

    Caption onTheRails;
    onTheRails.text = u("Auto ferma sui binari: far scendere tutti");
    onTheRails.place = P::Bottom;
    onTheRails.colour = kWhite;
    onTheRails.size = 16;
    onTheRails.shadow = kBlack;

    Caption nightAccident;
    nightAccident.text = u("Incidente di notte: chiamare il 112");
    nightAccident.place = P::Bottom;
    nightAccident.colour = kYellow;
    nightAccident.size = 19;
    nightAccident.shadow = kBlack;

    Caption lookBack;
    lookBack.text = u("Aprendo la portiera: guardare indietro");
    lookBack.place = P::Top;
    lookBack.size = 15;
    lookBack.box = true;
    lookBack.boxColour = kWhite;
    lookBack.effect = E::None;
    lookBack.arrow1 = Arrow{{150, 110}, "cyclist", {-6, -12}};

    return {
        // Group B: the road.
        {"B03", "4", {{2001, giveWay}, {2002, redLight}}},
        {"B03", "11", {{2001, {}}}},
        {"B03", "169", {{2003, {}}, {2001, {}}, {2002, {}}}},
        {"B04", "171", {{2006, accelerationLane}}},
        {"B04", "172", {{2006, mergeInto}, {2003, {}}}},
        {"B06", "5", {{2004, pedestrian}, {2005, schoolBus}}},
        {"B06", "503", {{2004, arrowsOnly}}},
        // A gap: photos 1 and 3, field 2 empty.
        {"B06", "168", {{2005, children}, {0, {}}, {2004, {}}}},
        // The level crossing, with the sound of its bell on photo 1.
        {"C01", "12", {{2007, barriers}}, kBellSound},
        {"D02", "154", {{2002, dipped}}},
        // Group E: behaviour.
        {"E05", "97", {{2003, roundabout}, {2001, {}}}},
        {"E07", "61", {{2008, blindSpot}}},
        // Photos 1, 2 and 4: the previews show an empty slot.
        {"E12", "5", {{2008, {}}, {2004, pedestriansFirst}, {0, {}}, {2005, {}}}},
        {"E11", "171", {{2006, indicator}, {9000, {}}}},
        // The school's own photograph, from the user photo folder.
        {"F01", "67", {{9000, schoolCar}}},
        // Eight photographs: the previews' grid of two rows.
        {"I02", "12",
         {{2001, whoGoesFirst}, {2002, {}}, {2003, roundaboutTitle}, {2004, {}}, {2005, {}}, {2006, motorway},
          {2007, levelCrossing}, {2008, {}}}},
        // H01: a photo-only stretch.
        {"H01", "", {{2006, breakdown}}},
        {"H01", "", {{2007, onTheRails}, {2002, nightAccident}}},
        {"H01", "", {{2008, lookBack}}},
    };
}

// The marks of every scene, drawn once.
const QHash<int, Marks>& sceneMarks()
{
    static const QHash<int, Marks> all = [] {
        QHash<int, Marks> m;
        for (const Photo& photo : photos()) {
            Marks marks;
            drawPhoto(photo, &marks);
            m.insert(photo.number, marks);
        }
        return m;
    }();
    return all;
}

bool isPhoto(int number)
{
    for (const Photo& p : photos())
        if (p.number == number)
            return true;
    return false;
}

bool setPhotoFields(DataTable& t, const PhotoRecord& r, QString* error)
{
    const QString where = QStringLiteral("photo record %1/%2").arg(QLatin1String(r.argomento), QLatin1String(r.sign));
    if (r.photos.empty() || r.photos.size() > 30 || r.photos.front().photo == 0)
        return failWith(error, where + QStringLiteral(": photo 1 must be set"));
    for (std::size_t i = 0; i < r.photos.size(); ++i) {
        const Slot& slot = r.photos[i];
        const int n = int(i) + 1;
        if (slot.photo == 0)
            continue;
        if (!isPhoto(slot.photo))
            return failWith(error, where + QStringLiteral(": no photograph %1").arg(slot.photo));
        if (!t.setField(QStringLiteral("Foto%1").arg(n), QString::number(slot.photo), error))
            return false;
        if (!slot.caption)
            continue;
        if (captionTextWidth(*slot.caption) > kSafeArea.width())
            return failWith(error, where + QStringLiteral(": the caption of photo %1 is %2 pixels wide, more than the %3 it may take")
                                               .arg(n)
                                               .arg(captionTextWidth(*slot.caption))
                                               .arg(kSafeArea.width()));
        const QString record = captionRecord(*slot.caption, sceneMarks().value(slot.photo));
        if (record.isEmpty())
            return failWith(error, where + QStringLiteral(": an arrow of photo %1 points at nothing").arg(n));
        if (!t.setField(QStringLiteral("TxtF%1").arg(n), record, error))
            return false;
    }
    if (*r.audio && !t.setField(QStringLiteral("Audio"), QLatin1String(r.audio), error))
        return false;
    return true;
}

// Reads a caption record back as the viewer will and checks it against the
// format: 24 fields ended by "#", numbers and colours where they belong, the
// box inside the frame, the arrows inside the picture.
bool checkCaptionRecord(const QString& record, QString* why)
{
    auto bad = [&](const QString& what) { return failWith(why, what); };
    if (!record.endsWith(QStringLiteral("*#")))
        return bad(QStringLiteral("does not end with \"*#\""));
    const QStringList f = record.chopped(2).split(QLatin1Char('*'));
    if (f.size() != 24)
        return bad(QStringLiteral("has %1 fields, not 24").arg(f.size()));
    if (f[0].contains(QLatin1Char('#')))
        return bad(QStringLiteral("its text holds \"#\""));
    std::array<int, 24> n{};
    for (const int i : {1, 2, 3, 4, 5, 8, 9, 10, 11, 13, 15, 16, 17, 18, 20, 21, 22, 23}) {
        bool ok = false;
        n[i] = f[i].toInt(&ok);
        if (!ok)
            return bad(QStringLiteral("field %1 (\"%2\") is not a number").arg(i).arg(f[i]));
    }
    for (const int i : {7, 12, 14, 19})
        if (!colourFromText(f[i]))
            return bad(QStringLiteral("field %1 (\"%2\") is not a colour").arg(i).arg(f[i]));
    const QRect box(n[1], n[2] - 2, n[3], n[4] - 4);
    if (!QRect(QPoint(0, 0), kFrame).contains(box))
        return bad(QStringLiteral("its box leaves the frame"));
    if (n[5] != 1 && n[5] != 2)
        return bad(QStringLiteral("lines is neither 1 nor 2"));
    if (n[5] == 1 && (f[0].contains(QLatin1Char('\r')) || f[0].size() > 51))
        return bad(QStringLiteral("a single line holds a line break or more than 51 characters"));
    if (n[8] < 15 || n[8] > 160)
        return bad(QStringLiteral("font size outside 15..160"));
    if (n[9] < 1 || n[9] > 3 || n[10] < 0 || n[10] > 3 || n[11] < 0 || n[11] > 1 || n[13] < 0 || n[13] > 2)
        return bad(QStringLiteral("alignment, style, box or effect out of range"));
    bool anyArrow = false;
    for (const int first : {15, 20}) {
        const bool absent = n[first] == -1 && n[first + 1] == -1 && n[first + 2] == -1 && n[first + 3] == -1;
        if (absent)
            continue;
        anyArrow = true;
        const QRect picture(QPoint(0, 0), kPicture);
        if (!picture.contains(n[first], n[first + 1]) || !picture.contains(n[first + 2], n[first + 3]) ||
            n[first] <= 0 || n[first + 3] <= 0)
            return bad(QStringLiteral("an arrow leaves the picture"));
    }
    if (f[0].trimmed().isEmpty() && !anyArrow)
        return bad(QStringLiteral("neither text nor arrows (an empty field is written instead)"));
    return true;
}

bool failWithRecord(QString* error, const QString& table, int numRec, const QString& what)
{
    return failWith(error, QStringLiteral("%1, record %2: %3").arg(table).arg(numRec).arg(what));
}

}  // namespace

bool writePhotos(const QString& ziroDir, QString* error)
{
    for (const Photo& photo : photos()) {
        const QString path = photoPath(ziroDir, photo.number);
        const QByteArray bytes = photoBytes(drawPhoto(photo, nullptr), photo.number < kFirstUserPhoto);
        if (bytes.isEmpty())
            return failWith(error, QStringLiteral("cannot encode ") + path);
        if (!saveFileAtomically(path, bytes, error))
            return false;
    }
    // The teacher's two caption styles under the tool bar's A and B: a
    // yellow title on a dark box, and a white raised note.
    const QByteArray styles =
        "[Preset2]\r\nFontName=Arial\r\nFontColor=clYellow\r\nFontSize=36\r\nAlignment=2\r\nStyle=2\r\n"
        "Transparent=0\r\nColor=$00402000\r\nEffect3d=2\r\nShadeColor=clBlack\r\n\r\n"
        "[Preset3]\r\nFontName=Arial\r\nFontColor=clWhite\r\nFontSize=30\r\nAlignment=1\r\nStyle=3\r\n"
        "Transparent=1\r\nColor=$00D9CDC6\r\nEffect3d=1\r\nShadeColor=clGray\r\n";
    if (!saveFileAtomically(ziroDir + QStringLiteral("Utente/TextStyles.ini"), styles, error))
        return false;
    return saveFileAtomically(ziroDir + QStringLiteral("Book/Snd%1.WAV").arg(QLatin1String(kBellSound)),
                              makeBell(), error);
}

bool addPhotoRecords(DataTable& t, QString* error)
{
    int next = 0;
    for (t.first(); !t.eof(); t.next())
        next = std::max(next, t.fieldInt(QStringLiteral("NumRec")));
    for (const PhotoRecord& r : photoRecords()) {
        const QString argomento = QLatin1String(r.argomento);
        const QString sign = QLatin1String(r.sign);
        if (sign.isEmpty()) {
            // A photo-only record of its own.
            if (!(t.append() && t.setField(QStringLiteral("NumRec"), ++next, error) &&
                  t.setField(QStringLiteral("Argomento"), argomento, error) &&
                  t.setField(QStringLiteral("Spare"), QStringLiteral("5"), error)))
                return false;
        } else {
            if (!t.locate({QStringLiteral("Argomento"), QStringLiteral("Nome segnale")}, {argomento, sign}))
                return failWith(error, QStringLiteral("no record of sign %1 in topic %2").arg(sign, argomento));
            if (!t.edit())
                return failWith(error, QStringLiteral("cannot edit the record of sign %1 in topic %2").arg(sign, argomento));
        }
        if (!setPhotoFields(t, r, error) || !t.post(error))
            return false;
    }
    return true;
}

bool verifyPhotos(const QString& ziroDir, const QString& programDir, QString* error)
{
    // The files: each one decodes to its size, as a 24-bit bitmap.
    for (const Photo& photo : photos()) {
        const QString path = photoPath(ziroDir, photo.number);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return failWith(error, QStringLiteral("cannot read ") + path);
        const QByteArray bytes = file.readAll();
        const bool user = photo.number >= kFirstUserPhoto;
        if (bytes.size() < 30 || bytes.startsWith("BM") == !user)
            return failWith(error, path + (user ? QStringLiteral(": not a plain bitmap") : QStringLiteral(": not masked")));
        if (quint8(bytes[28]) != 24 || quint8(bytes[29]) != 0)
            return failWith(error, path + QStringLiteral(": not 24 bits a pixel"));
        const auto image = loadKxbFile(path);
        if (!image || image->size() != photo.size)
            return failWith(error, path + QStringLiteral(": does not decode to %1 x %2")
                                              .arg(photo.size.width())
                                              .arg(photo.size.height()));
    }
    const QString sound = ziroDir + QStringLiteral("Book/Snd%1.WAV").arg(QLatin1String(kBellSound));
    if (!QFileInfo(sound).isFile())
        return failWith(error, QStringLiteral("no record sound ") + sound);

    // The table: every photograph field names a file that is there, every
    // caption reads back, and every record the list above names got them.
    const QString table = QStringLiteral("AAB2016.XML");
    DataTable t;
    if (!t.loadFromFile(programDir + table, error))
        return false;
    int withPhotos = 0;
    for (t.first(); !t.eof(); t.next()) {
        const int numRec = t.fieldInt(QStringLiteral("NumRec"));
        bool any = false;
        for (int n = 1; n <= 30; ++n) {
            const QString value = t.fieldText(QStringLiteral("Foto%1").arg(n));
            const QString caption = t.fieldText(QStringLiteral("TxtF%1").arg(n));
            if (value.isEmpty()) {
                if (!caption.isEmpty())
                    return failWithRecord(error, table, numRec, QStringLiteral("a caption without photo %1").arg(n));
                continue;
            }
            any = true;
            bool ok = false;
            const int number = value.toInt(&ok);
            if (!ok)
                return failWithRecord(error, table, numRec, QStringLiteral("photo %1 is not a number: ").arg(n) + value);
            if (!QFileInfo(photoPath(ziroDir, number)).isFile())
                return failWithRecord(error, table, numRec, QStringLiteral("no file for photo %1: ").arg(n) +
                                                                photoPath(ziroDir, number));
            QString why;
            if (!caption.isEmpty() && !checkCaptionRecord(caption, &why))
                return failWithRecord(error, table, numRec, QStringLiteral("caption of photo %1 ").arg(n) + why);
        }
        if (any)
            ++withPhotos;
        const QString audio = t.fieldText(QStringLiteral("Audio"));
        if (!audio.isEmpty() && !QFileInfo(ziroDir + QStringLiteral("Book/Snd") + audio + QStringLiteral(".WAV")).isFile())
            return failWithRecord(error, table, numRec, QStringLiteral("no sound file for ") + audio);
    }
    if (withPhotos != int(photoRecords().size()))
        return failWith(error, QStringLiteral("%1: %2 records with photographs, %3 expected")
                                   .arg(table)
                                   .arg(withPhotos)
                                   .arg(photoRecords().size()));
    return true;
}

}  // namespace ziro::demo
