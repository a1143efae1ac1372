#include "sign_art.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace ziro::demo {
namespace {

// Colours chosen to stay saturated on a classroom projector.
const QColor kRed(204, 18, 36);
const QColor kBlue(0, 82, 160);
const QColor kGreen(0, 122, 72);
const QColor kYellow(255, 188, 0);
const QColor kInk(22, 22, 22);
const QColor kWhite(255, 255, 255);
const QColor kEdge(160, 160, 160);    // hairline that keeps a white rim visible on the white ground
const QColor kFaded(150, 150, 150);   // the cancelled symbol of an "end" sign
const QColor kAsphalt(84, 88, 94);
const QColor kIconGround(236, 240, 246);

// Every sign body is drawn in units: the body's natural size (100 units
// across for most shapes), centred on the origin.
//
// Pictograms are drawn in their own units: a box whose shorter side is 100,
// centred on the origin. `extent` tells a pictogram how much room it has when
// the box is not square (plates, wide panels).
struct Pic {
    QColor ink;
    QColor paper;
    QString arg;
    QSizeF extent{100, 100};
};

using PictogramFn = void (*)(QPainter&, const Pic&);

constexpr qreal kRedBorder = 8.4;   // width of the red band of triangles and discs

// ---------------------------------------------------------------------------
// Drawing primitives

QPainterPath polygonPath(const QList<QPointF>& points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPointF unitVector(QPointF v)
{
    const qreal len = std::hypot(v.x(), v.y());
    return len > 0 ? v / len : QPointF();
}

// A polygon whose corners are rounded off `radius` units along each edge.
QPainterPath roundedPolygon(const QList<QPointF>& points, qreal radius)
{
    QPainterPath path;
    const qsizetype n = points.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF prev = points[(i + n - 1) % n];
        const QPointF cur = points[i];
        const QPointF next = points[(i + 1) % n];
        const qreal r = std::min({radius, QLineF(prev, cur).length() / 2,
                                  QLineF(cur, next).length() / 2});
        const QPointF a = cur + unitVector(prev - cur) * r;
        const QPointF b = cur + unitVector(next - cur) * r;
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        path.quadTo(cur, b);
    }
    path.closeSubpath();
    return path;
}

QList<QPointF> scaledAbout(const QList<QPointF>& points, QPointF centre, qreal factor)
{
    QList<QPointF> out;
    out.reserve(points.size());
    for (const QPointF& pt : points)
        out << centre + (pt - centre) * factor;
    return out;
}

QList<QPointF> regularPolygon(int corners, qreal circumradius, qreal firstAngleDeg)
{
    QList<QPointF> out;
    for (int i = 0; i < corners; ++i) {
        const qreal a = qDegreesToRadians(firstAngleDeg + 360.0 * i / corners);
        out << QPointF(circumradius * std::cos(a), circumradius * std::sin(a));
    }
    return out;
}

void fill(QPainter& p, const QPainterPath& path, const QColor& color)
{
    p.fillPath(path, color);
}

void fillCircle(QPainter& p, QPointF centre, qreal r, const QColor& color)
{
    QPainterPath path;
    path.addEllipse(centre, r, r);
    p.fillPath(path, color);
}

void stroke(QPainter& p, const QPainterPath& path, const QColor& color, qreal width,
            Qt::PenCapStyle cap = Qt::RoundCap, Qt::PenJoinStyle join = Qt::RoundJoin)
{
    p.strokePath(path, QPen(color, width, Qt::SolidLine, cap, join));
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& color, qreal width,
          Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPainterPath path(a);
    path.lineTo(b);
    stroke(p, path, color, width, cap);
}

void polyline(QPainter& p, const QList<QPointF>& points, const QColor& color, qreal width)
{
    QPainterPath path(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    stroke(p, path, color, width);
}

// A filled arrow from tail to tip.
QPainterPath arrowPath(QPointF tail, QPointF tip, qreal shaft, qreal headWidth, qreal headLength)
{
    const QPointF u = unitVector(tip - tail);
    const QPointF n(-u.y(), u.x());
    const QPointF base = tip - u * headLength;
    return polygonPath({tail + n * shaft / 2, base + n * shaft / 2, base + n * headWidth / 2, tip,
                        base - n * headWidth / 2, base - n * shaft / 2, tail - n * shaft / 2});
}

QFont signFont(bool condensed)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(100);
    font.setBold(true);
    if (condensed)
        font.setStretch(QFont::Condensed);
    return font;
}

// Lines of text centred in `box`, as large as fits. Sizes follow the capital
// height, so "30" and "90" come out equally tall whatever their outlines.
// Glyphs are filled as outlines so that they scale with the shapes around
// them.
void drawLines(QPainter& p, const QStringList& lines, const QRectF& box, const QColor& color,
               bool condensed = true)
{
    const QFont font = signFont(condensed);
    const qreal cap = QFontMetricsF(font).capHeight();
    const qreal gap = 0.55 * cap;
    QList<QPainterPath> paths;
    qreal widest = 1;
    for (const QString& text : lines) {
        QPainterPath path;
        path.addText(0, 0, font, text);
        widest = std::max(widest, path.boundingRect().width());
        paths << path;
    }
    const qsizetype n = lines.size();
    const qreal blockHeight = n * cap + (n - 1) * gap;
    const qreal k = std::min(box.width() / widest, box.height() / blockHeight);
    qreal top = box.center().y() - blockHeight * k / 2;
    for (const QPainterPath& path : paths) {
        QTransform t;
        t.translate(box.center().x() - path.boundingRect().center().x() * k, top + cap * k);
        t.scale(k, k);
        p.fillPath(t.map(path), color);
        top += (cap + gap) * k;
    }
}

void drawText(QPainter& p, const QString& text, const QRectF& box, const QColor& color,
              bool condensed = true)
{
    drawLines(p, text.split(QLatin1Char('|')), box, color, condensed);
}

// ---------------------------------------------------------------------------
// Figures shared by several pictograms. Each is drawn around the origin in
// pictogram units; callers move and scale the painter.

// A walking person, facing right, about 100 units tall.
void walkingPerson(QPainter& p, const QColor& ink)
{
    fillCircle(p, {7, -40}, 10, ink);
    line(p, {3, -24}, {-1, 2}, ink, 17);
    polyline(p, {{-1, 2}, {10, 22}, {16, 44}}, ink, 11);
    polyline(p, {{-1, 2}, {-10, 22}, {-23, 40}}, ink, 11);
    polyline(p, {{4, -21}, {13, -8}, {22, -2}}, ink, 9);
    polyline(p, {{1, -21}, {-9, -9}, {-17, -1}}, ink, 9);
}

// A car seen from the front (or the back), spanning x -46..46, y -32..34.
void carFront(QPainter& p, const QColor& ink, const QColor& paper)
{
    QPainterPath body;
    body.setFillRule(Qt::WindingFill);
    body.addRoundedRect(QRectF(-46, -9, 92, 30), 7, 7);
    body.addPath(roundedPolygon({{-29, -32}, {29, -32}, {38, -6}, {-38, -6}}, 5));
    body.addRoundedRect(QRectF(-42, 14, 17, 20), 4, 4);
    body.addRoundedRect(QRectF(25, 14, 17, 20), 4, 4);
    fill(p, body.simplified(), ink);
    fill(p, roundedPolygon({{-24, -27}, {24, -27}, {31, -10}, {-31, -10}}, 3), paper);
    fillCircle(p, {-33, 5}, 5.5, paper);
    fillCircle(p, {33, 5}, 5.5, paper);
    QPainterPath grille;
    grille.addRoundedRect(QRectF(-17, 3, 34, 5), 2, 2);
    fill(p, grille, paper);
}

void wheel(QPainter& p, QPointF centre, qreal r, const QColor& ink, const QColor& paper)
{
    fillCircle(p, centre, r + 2.2, paper);
    fillCircle(p, centre, r, ink);
    fillCircle(p, centre, r * 0.34, paper);
}

// A car seen from the side, facing right, spanning x -48..48, y -28..22.
void carSide(QPainter& p, const QColor& ink, const QColor& paper)
{
    fill(p,
         roundedPolygon({{-48, 12}, {-48, -3}, {-43, -9}, {-25, -12}, {-13, -27}, {13, -27},
                         {27, -12}, {43, -9}, {48, -2}, {48, 12}},
                        3),
         ink);
    fill(p, roundedPolygon({{-10, -23}, {-2, -23}, {-2, -14}, {-19, -14}}, 1.5), paper);
    fill(p, roundedPolygon({{2, -23}, {11, -23}, {20, -14}, {2, -14}}, 1.5), paper);
    wheel(p, {-27, 11}, 10.5, ink, paper);
    wheel(p, {28, 11}, 10.5, ink, paper);
}

// A lorry seen from the side, facing right, spanning x -48..48, y -32..22.
void truckSide(QPainter& p, const QColor& ink, const QColor& paper)
{
    QPainterPath body;
    body.setFillRule(Qt::WindingFill);
    body.addRoundedRect(QRectF(-48, -32, 66, 36), 2, 2);
    body.addPath(roundedPolygon({{22, -22}, {37, -22}, {45, -8}, {48, -6}, {48, 11}, {22, 11}}, 2));
    body.addRect(QRectF(-48, 2, 96, 9));
    fill(p, body.simplified(), ink);
    fill(p, roundedPolygon({{26, -18}, {36, -18}, {42, -7}, {26, -7}}, 1.5), paper);
    wheel(p, {-33, 12}, 9, ink, paper);
    wheel(p, {-14, 12}, 9, ink, paper);
    wheel(p, {33, 12}, 9, ink, paper);
}

// A bus seen from the side, facing right, spanning x -48..48, y -28..21.
void busSide(QPainter& p, const QColor& ink, const QColor& paper)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(-48, -28, 96, 40), 5, 5);
    fill(p, body, ink);
    for (int i = 0; i < 5; ++i) {
        QPainterPath window;
        window.addRoundedRect(QRectF(-42 + i * 15, -22, 12, 13), 1.5, 1.5);
        fill(p, window, paper);
    }
    fill(p, roundedPolygon({{35, -22}, {44, -22}, {45, -4}, {35, -4}}, 1.5), paper);
    wheel(p, {-28, 12}, 9, ink, paper);
    wheel(p, {29, 12}, 9, ink, paper);
}

// A motorcycle seen from the side, facing right, spanning x -46..46, y -26..26.
void motorcycleSide(QPainter& p, const QColor& ink, const QColor& paper)
{
    Q_UNUSED(paper);
    QPainterPath rim;
    rim.addEllipse(QPointF(-30, 12), 12, 12);
    rim.addEllipse(QPointF(30, 12), 12, 12);
    stroke(p, rim, ink, 5.5);
    fillCircle(p, {-30, 12}, 3.5, ink);
    fillCircle(p, {30, 12}, 3.5, ink);
    line(p, {-30, 12}, {-4, 6}, ink, 5);
    line(p, {30, 12}, {18, -18}, ink, 5);
    line(p, {18, -18}, {11, -24}, ink, 4.5);
    fill(p,
         roundedPolygon({{-27, -5}, {-6, -9}, {4, -16}, {19, -14}, {18, -6}, {9, -2}, {9, 10},
                         {-6, 12}, {-14, 3}},
                        3),
         ink);
    QPainterPath seat;
    seat.addRoundedRect(QRectF(-28, -13, 25, 6.5), 3.2, 3.2);
    fill(p, seat, ink);
}

// A bicycle seen from the side, facing right, spanning x -44..44, y -24..28.
void bicycle(QPainter& p, const QColor& ink)
{
    QPainterPath wheels;
    wheels.addEllipse(QPointF(-27, 12), 15, 15);
    wheels.addEllipse(QPointF(27, 12), 15, 15);
    stroke(p, wheels, ink, 4.5);
    const QPointF rear(-27, 12), crank(-2, 12), seat(-9, -12), head(17, -13), front(27, 12);
    QPainterPath frame(rear);
    frame.lineTo(crank);
    frame.lineTo(seat);
    frame.closeSubpath();
    frame.moveTo(seat);
    frame.lineTo(head);
    frame.lineTo(crank);
    frame.moveTo(head);
    frame.lineTo(front);
    stroke(p, frame, ink, 4.5);
    line(p, {-17, -16}, {-3, -16}, ink, 5);           // saddle
    line(p, {-9, -12}, {-10, -16}, ink, 4);
    polyline(p, {{17, -13}, {15, -21}, {23, -22}}, ink, 4.5);   // handlebar
    fillCircle(p, crank, 4.5, ink);
}

// ---------------------------------------------------------------------------
// Pictograms

void curveRight(QPainter& p, const Pic& c)
{
    QPainterPath path({-9, 48});
    path.lineTo(-9, 6);
    path.cubicTo(-9, -14, 2, -26, 15, -36);
    stroke(p, path, c.ink, 13, Qt::FlatCap);
}

void curveLeft(QPainter& p, const Pic& c)
{
    p.scale(-1, 1);
    curveRight(p, c);
}

void doubleCurve(QPainter& p, const Pic& c)
{
    QPainterPath path({-10, 48});
    path.lineTo(-10, 30);
    path.cubicTo(-10, 14, 13, 12, 13, -4);
    path.cubicTo(13, -18, -4, -24, -4, -44);
    stroke(p, path, c.ink, 12, Qt::FlatCap);
}

void crossroads(QPainter& p, const Pic& c)
{
    line(p, {0, -44}, {0, 48}, c.ink, 13, Qt::FlatCap);
    line(p, {-36, 10}, {36, 10}, c.ink, 13, Qt::FlatCap);
}

void priorityCrossroads(QPainter& p, const Pic& c)
{
    line(p, {0, -44}, {0, 48}, c.ink, 15, Qt::FlatCap);
    line(p, {-36, 12}, {36, 12}, c.ink, 6, Qt::FlatCap);
}

void narrowing(QPainter& p, const Pic& c)
{
    for (qreal side : {-1.0, 1.0})
        polyline(p, {{side * 26, 48}, {side * 26, 18}, {side * 10, -8}, {side * 10, -44}}, c.ink, 7);
}

void zebraStripes(QPainter& p, const QColor& ink, qreal y, qreal height, qreal halfWidth)
{
    const int count = 5;
    const qreal pitch = 2 * halfWidth / (count * 2 - 1);
    for (int i = 0; i < count; ++i) {
        const qreal x = -halfWidth + i * 2 * pitch;
        fill(p, polygonPath({{x + 3, y}, {x + pitch + 3, y}, {x + pitch, y + height}, {x, y + height}}),
             ink);
    }
}

void pedestrianCrossing(QPainter& p, const Pic& c)
{
    zebraStripes(p, c.ink, 36, 12, 44);
    p.save();
    p.translate(2, -8);
    p.scale(0.78, 0.78);
    walkingPerson(p, c.ink);
    p.restore();
}

void children(QPainter& p, const Pic& c)
{
    p.save();
    p.translate(-13, 4);
    p.scale(0.82, 0.82);
    walkingPerson(p, c.ink);
    p.restore();
    p.save();
    p.translate(20, 16);
    p.scale(0.6, 0.6);
    walkingPerson(p, c.ink);
    p.restore();
    line(p, {5, 3}, {9, 6}, c.ink, 5);   // the hands held
}

void slippery(QPainter& p, const Pic& c)
{
    p.save();
    p.translate(0, -16);
    p.scale(0.54, 0.54);
    carFront(p, c.ink, c.paper);
    p.restore();
    // The skid marks of both wheels, swerving the same way.
    for (qreal x : {-12.0, 12.0}) {
        QPainterPath track({x, 8});
        track.cubicTo(x, 20, x + 16, 22, x + 16, 32);
        track.cubicTo(x + 16, 42, x - 2, 42, x - 6, 50);
        stroke(p, track, c.ink, 4.5, Qt::FlatCap);
    }
}

void roadworks(QPainter& p, const Pic& c)
{
    // A worker leaning into a shovel, a heap of earth in front of him.
    fillCircle(p, {14, -32}, 8, c.ink);
    line(p, {10, -20}, {2, 8}, c.ink, 13);
    polyline(p, {{2, 8}, {16, 24}, {19, 46}}, c.ink, 9);
    polyline(p, {{2, 8}, {-6, 26}, {-12, 46}}, c.ink, 9);
    polyline(p, {{9, -16}, {0, -6}, {-9, 4}}, c.ink, 7.5);
    polyline(p, {{9, -16}, {12, -2}, {4, -6}}, c.ink, 7.5);
    line(p, {10, -12}, {-24, 28}, c.ink, 4.5);
    fill(p, roundedPolygon({{-30, 22}, {-20, 30}, {-27, 40}, {-37, 31}}, 2), c.ink);
    QPainterPath heap({-62, 48});
    heap.cubicTo(-58, 30, -50, 26, -44, 32);
    heap.cubicTo(-40, 37, -37, 44, -33, 48);
    heap.closeSubpath();
    fill(p, heap, c.ink);
}

void cattle(QPainter& p, const Pic& c)
{
    p.translate(-3, 4);
    p.scale(0.92, 0.92);
    QPainterPath cow;
    cow.setFillRule(Qt::WindingFill);
    cow.addRoundedRect(QRectF(-38, -10, 62, 30), 10, 10);
    cow.addPath(roundedPolygon({{16, -9}, {30, -14}, {38, -10}, {47, 6}, {44, 12}, {36, 12},
                                {22, 8}},
                               4));
    for (qreal x : {-35.0, -25.0, 8.0, 17.0})
        cow.addRoundedRect(QRectF(x, 12, 7.5, 34), 2, 2);
    cow.addEllipse(QPointF(2, 20), 6, 4);
    fill(p, cow, c.ink);
    QPainterPath horns({28, -13});
    horns.quadTo(24, -20, 29, -25);
    horns.moveTo(33, -13);
    horns.quadTo(38, -19, 35, -24);
    stroke(p, horns, c.ink, 3.5);
    fill(p, roundedPolygon({{24, -11}, {16, -16}, {20, -8}}, 1), c.ink);   // ear
    QPainterPath tail({-37, -5});
    tail.cubicTo(-45, 0, -43, 16, -45, 30);
    stroke(p, tail, c.ink, 3);
    fillCircle(p, {-45, 31}, 3.5, c.ink);
}

void trafficLightFigure(QPainter& p, bool red, bool yellow, bool green)
{
    const QColor dark(70, 70, 70);
    QPainterPath housing;
    housing.addRoundedRect(QRectF(-14, -40, 28, 86), 5, 5);
    fill(p, housing, kInk);
    fillCircle(p, {0, -25}, 9, red ? QColor(235, 30, 30) : dark);
    fillCircle(p, {0, 3}, 9, yellow ? QColor(255, 176, 0) : dark);
    fillCircle(p, {0, 31}, 9, green ? QColor(0, 185, 90) : dark);
}

void trafficLightAhead(QPainter& p, const Pic&)
{
    trafficLightFigure(p, true, true, true);
}

// Right-hand traffic: ours goes up on the right, the oncoming one down on the left.
void twoWay(QPainter& p, const Pic& c)
{
    fill(p, arrowPath({13, 48}, {13, -36}, 9, 24, 20), c.ink);
    fill(p, arrowPath({-13, -36}, {-13, 48}, 9, 24, 20), c.ink);
}

void exclamation(QPainter& p, const Pic& c)
{
    fill(p, roundedPolygon({{-7, -44}, {7, -44}, {3.5, 22}, {-3.5, 22}}, 3), c.ink);
    fillCircle(p, {0, 38}, 7.5, c.ink);
}

void overtaking(QPainter& p, const Pic& c)
{
    const bool cancelled = c.ink == kFaded;
    p.save();
    p.translate(-25, 0);
    p.scale(0.5, 0.5);
    carFront(p, cancelled ? kFaded : kRed, c.paper);
    p.restore();
    p.save();
    p.translate(25, 0);
    p.scale(0.5, 0.5);
    carFront(p, c.ink, c.paper);
    p.restore();
}

void number(QPainter& p, const Pic& c)
{
    const qreal height = 58;
    drawText(p, c.arg, QRectF(-c.extent.width() / 2 + 4, -height / 2, c.extent.width() - 8, height),
             c.ink);
}

void massLimit(QPainter& p, const Pic& c)
{
    drawText(p, c.arg, QRectF(-46, -20, 92, 40), c.ink);
}

void heightLimit(QPainter& p, const Pic& c)
{
    fill(p, polygonPath({{-11, -46}, {11, -46}, {0, -28}}), c.ink);
    fill(p, polygonPath({{-11, 46}, {11, 46}, {0, 28}}), c.ink);
    drawText(p, c.arg, QRectF(-44, -15, 88, 30), c.ink);
}

// Side views are wide and low: on a wide plate they may grow past the
// nominal box.
void fitVehicle(QPainter& p, const Pic& c)
{
    const qreal k = std::min(c.extent.width() / 100, c.extent.height() / 60);
    p.scale(k, k);
}

void truckPictogram(QPainter& p, const Pic& c)
{
    fitVehicle(p, c);
    truckSide(p, c.ink, c.paper);
}

void carPictogram(QPainter& p, const Pic& c)
{
    carFront(p, c.ink, c.paper);
}

void carSidePictogram(QPainter& p, const Pic& c)
{
    fitVehicle(p, c);
    carSide(p, c.ink, c.paper);
}

void busPictogram(QPainter& p, const Pic& c)
{
    fitVehicle(p, c);
    busSide(p, c.ink, c.paper);
}

void motorcyclePictogram(QPainter& p, const Pic& c)
{
    fitVehicle(p, c);
    motorcycleSide(p, c.ink, c.paper);
}

void bicyclePictogram(QPainter& p, const Pic& c)
{
    fitVehicle(p, c);
    bicycle(p, c.ink);
}

// The red arrow is the flow that gives way.
void giveWayOncoming(QPainter& p, const Pic& c)
{
    fill(p, arrowPath({-14, -46}, {-14, 46}, 11, 28, 22), c.ink);
    fill(p, arrowPath({16, 40}, {16, -40}, 7, 20, 17), kRed);
}

void priorityOncoming(QPainter& p, const Pic& c)
{
    fill(p, arrowPath({14, 46}, {14, -46}, 11, 28, 22), c.ink);
    fill(p, arrowPath({-16, -40}, {-16, 40}, 7, 20, 17), kRed);
}

void arrowAhead(QPainter& p, const Pic& c)
{
    fill(p, arrowPath({0, 46}, {0, -46}, 17, 44, 32), c.ink);
}

void arrowRight(QPainter& p, const Pic& c)
{
    fill(p, arrowPath({-46, 0}, {46, 0}, 17, 44, 32), c.ink);
}

void keepRight(QPainter& p, const Pic& c)
{
    fill(p, arrowPath({-30, -30}, {34, 34}, 17, 44, 32), c.ink);
}

void turnRight(QPainter& p, const Pic& c)
{
    QPainterPath path({-14, 48});
    path.lineTo(-14, -2);
    path.quadTo(-14, -16, 0, -16);
    path.lineTo(14, -16);
    stroke(p, path, c.ink, 17, Qt::FlatCap, Qt::MiterJoin);
    fill(p, polygonPath({{12, -39}, {12, 7}, {44, -16}}), c.ink);
}

void roundabout(QPainter& p, const Pic& c)
{
    // Three arrows round the island, anticlockwise as the traffic flows.
    const qreal r = 27;
    const qreal sweep = 68;
    for (int i = 0; i < 3; ++i) {
        const qreal start = 100 + 120 * i;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(-r, -r, 2 * r, 2 * r), start);
        arc.arcTo(QRectF(-r, -r, 2 * r, 2 * r), start, sweep);
        stroke(p, arc, c.ink, 11, Qt::FlatCap);
        const qreal end = qDegreesToRadians(start + sweep);
        const QPointF at(r * std::cos(end), -r * std::sin(end));
        const QPointF along(-std::sin(end), -std::cos(end));
        const QPointF out(std::cos(end), -std::sin(end));
        fill(p, polygonPath({at + out * 14 - along * 1, at + along * 16, at - out * 14 - along * 1}),
             c.ink);
    }
}

void endCycleTrack(QPainter& p, const Pic& c)
{
    bicycle(p, c.ink);
    line(p, {40, -40}, {-40, 40}, kRed, 10, Qt::FlatCap);
}

void letter(QPainter& p, const Pic& c)
{
    drawText(p, c.arg, QRectF(-40, -40, 80, 80), c.ink, false);
}

void crossingSquare(QPainter& p, const Pic&)
{
    fill(p, roundedPolygon({{0, -46}, {48, 40}, {-48, 40}}, 5), kWhite);
    zebraStripes(p, kInk, 24, 8, 26);
    p.save();
    p.translate(0, -1);
    p.scale(0.46, 0.46);
    walkingPerson(p, kInk);
    p.restore();
}

void deadEnd(QPainter& p, const Pic& c)
{
    fill(p, polygonPath({{-8, -18}, {8, -18}, {8, 46}, {-8, 46}}), c.ink);
    fill(p, polygonPath({{-32, -40}, {32, -40}, {32, -18}, {-32, -18}}), kRed);
}

void motorway(QPainter& p, const Pic& c)
{
    // Two carriageways running under a bridge towards the horizon.
    fill(p, polygonPath({{-44, 46}, {-5, 46}, {-2.5, -14}, {-12, -14}}), c.ink);
    fill(p, polygonPath({{44, 46}, {5, 46}, {2.5, -14}, {12, -14}}), c.ink);
    fill(p, polygonPath({{-48, -30}, {48, -30}, {48, -11}, {-48, -11}}), c.paper);
    fill(p, polygonPath({{-46, -28}, {46, -28}, {46, -17}, {-46, -17}}), c.ink);
    fill(p, polygonPath({{-46, -36}, {46, -36}, {46, -33}, {-46, -33}}), c.ink);
    line(p, {-38, -33}, {-38, -28}, c.ink, 2.5, Qt::FlatCap);
    line(p, {38, -33}, {38, -28}, c.ink, 2.5, Qt::FlatCap);
    line(p, {0, -33}, {0, -28}, c.ink, 2.5, Qt::FlatCap);
}

void oneWay(QPainter& p, const Pic& c)
{
    const qreal half = c.extent.width() / 2 - 8;
    fill(p, arrowPath({-half, 0}, {half, 0}, 26, 70, 46), c.ink);
}

void text(QPainter& p, const Pic& c)
{
    const qreal w = c.extent.width();
    const qreal h = c.extent.height();
    const qsizetype lines = c.arg.count(QLatin1Char('|')) + 1;
    const qreal textHeight = lines == 1 ? h * 0.62 : h * 0.86;
    drawText(p, c.arg, QRectF(-w / 2, -textHeight / 2, w, textHeight), c.ink, lines > 1);
}

// "↕ 500 m": the length over which a sign applies.
void extent(QPainter& p, const Pic& c)
{
    const qreal w = c.extent.width();
    const qreal x = -w / 2 + 26;
    fill(p, arrowPath({x, 0}, {x, -40}, 6, 22, 16), c.ink);
    fill(p, arrowPath({x, 0}, {x, 40}, 6, 22, 16), c.ink);
    drawText(p, c.arg, QRectF(x + 24, -31, w / 2 - x - 34, 62), c.ink);
}

void bothWays(QPainter& p, const Pic& c)
{
    const qreal half = std::min(c.extent.width() / 2 - 20, 120.0);
    fill(p, arrowPath({0, 0}, {half, 0}, 12, 40, 30), c.ink);
    fill(p, arrowPath({0, 0}, {-half, 0}, 12, 40, 30), c.ink);
}

const QHash<QString, PictogramFn>& pictograms()
{
    static const QHash<QString, PictogramFn> table = {
        {QStringLiteral("curve-right"), curveRight},
        {QStringLiteral("curve-left"), curveLeft},
        {QStringLiteral("double-curve"), doubleCurve},
        {QStringLiteral("crossroads"), crossroads},
        {QStringLiteral("priority-crossroads"), priorityCrossroads},
        {QStringLiteral("narrowing"), narrowing},
        {QStringLiteral("pedestrian-crossing"), pedestrianCrossing},
        {QStringLiteral("children"), children},
        {QStringLiteral("slippery"), slippery},
        {QStringLiteral("roadworks"), roadworks},
        {QStringLiteral("cattle"), cattle},
        {QStringLiteral("traffic-light"), trafficLightAhead},
        {QStringLiteral("two-way"), twoWay},
        {QStringLiteral("exclamation"), exclamation},
        {QStringLiteral("overtaking"), overtaking},
        {QStringLiteral("limit"), number},
        {QStringLiteral("mass"), massLimit},
        {QStringLiteral("height"), heightLimit},
        {QStringLiteral("truck"), truckPictogram},
        {QStringLiteral("car"), carPictogram},
        {QStringLiteral("car-side"), carSidePictogram},
        {QStringLiteral("bus"), busPictogram},
        {QStringLiteral("motorcycle"), motorcyclePictogram},
        {QStringLiteral("bicycle"), bicyclePictogram},
        {QStringLiteral("give-way-oncoming"), giveWayOncoming},
        {QStringLiteral("priority-oncoming"), priorityOncoming},
        {QStringLiteral("ahead"), arrowAhead},
        {QStringLiteral("right"), arrowRight},
        {QStringLiteral("keep-right"), keepRight},
        {QStringLiteral("turn-right"), turnRight},
        {QStringLiteral("roundabout"), roundabout},
        {QStringLiteral("end-cycle-track"), endCycleTrack},
        {QStringLiteral("letter"), letter},
        {QStringLiteral("crossing-square"), crossingSquare},
        {QStringLiteral("dead-end"), deadEnd},
        {QStringLiteral("motorway"), motorway},
        {QStringLiteral("one-way"), oneWay},
        {QStringLiteral("text"), text},
        {QStringLiteral("extent"), extent},
        {QStringLiteral("both-ways"), bothWays},
    };
    return table;
}

// Draws `symbol` ("name" or "name:argument") into `box`, given in the
// caller's units.
void drawPictogram(QPainter& p, const QString& symbol, const QRectF& box, const QColor& ink,
                   const QColor& paper)
{
    if (symbol.isEmpty())
        return;
    const QString name = symbol.section(QLatin1Char(':'), 0, 0);
    const PictogramFn fn = pictograms().value(name);
    if (!fn)
        return;
    const qreal k = std::min(box.width(), box.height()) / 100.0;
    Pic pic{ink, paper, symbol.section(QLatin1Char(':'), 1), {box.width() / k, box.height() / k}};
    p.save();
    p.translate(box.center());
    p.scale(k, k);
    fn(p, pic);
    p.restore();
}

// ---------------------------------------------------------------------------
// Sign bodies

enum class Body { Triangle, InvertedTriangle, Octagon, Diamond, Disc, Square, Wide, Plate, Town,
                  Lantern, Road, Bare, Label };

QString symbolName(const SignSpec& s)
{
    return s.symbol.section(QLatin1Char(':'), 0, 0);
}

bool isEndSign(const SignSpec& s)
{
    return symbolName(s) == QLatin1String("end");
}

Body bodyOf(const SignSpec& s)
{
    switch (s.kind) {
    case SignKind::Danger: return Body::Triangle;
    case SignKind::GiveWay: return Body::InvertedTriangle;
    case SignKind::Stop: return Body::Octagon;
    case SignKind::Priority: return Body::Diamond;
    case SignKind::Prohibition:
    case SignKind::NoEntry:
    case SignKind::Obligation: return Body::Disc;
    case SignKind::Indication:
        if (symbolName(s) == QLatin1String("one-way"))
            return Body::Wide;
        if (symbolName(s) == QLatin1String("town"))
            return Body::Town;
        return Body::Square;
    case SignKind::Plate: return Body::Plate;
    case SignKind::Light: return Body::Lantern;
    case SignKind::Marking: return Body::Road;
    case SignKind::Vehicle: return Body::Bare;
    case SignKind::Icon: return Body::Label;
    }
    return Body::Bare;
}

const qreal kTriangleHeight = 50 * std::sqrt(3.0);

QSizeF naturalSize(const SignSpec& s)
{
    switch (bodyOf(s)) {
    case Body::Triangle:
    case Body::InvertedTriangle: return {100, kTriangleHeight};
    case Body::Wide: return {100, 50};
    case Body::Town: return {100, 46};
    case Body::Plate: return s.symbol.contains(QLatin1Char('|')) ? QSizeF(100, 50) : QSizeF(100, 40);
    case Body::Lantern: return {36, 100};
    case Body::Road: return {100, 80};
    case Body::Bare: return {100, 70};
    case Body::Label: return {100, 80};
    default: return {100, 100};
    }
}

// A white rim edged by a hairline, as the sign's metal edge shows on a white page.
void rim(QPainter& p, const QPainterPath& outline, const QColor& edge = kEdge, qreal width = 0.6)
{
    fill(p, outline, kWhite);
    stroke(p, outline, edge, width);
}

QPainterPath circlePath(qreal r)
{
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), r, r);
    return path;
}

QPainterPath roundedRectPath(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// Thin black bars across a sign from lower left to upper right: the mark of
// an "end of ..." sign.
void cancelStripes(QPainter& p, const QPainterPath& clip, qreal span)
{
    p.save();
    p.setClipPath(clip, Qt::IntersectClip);
    for (int i = -2; i <= 2; ++i) {
        const qreal off = i * 6.2;
        line(p, {-span + off, span + off}, {span + off, -span + off}, kInk, 2.6, Qt::FlatCap);
    }
    p.restore();
}

void drawTriangle(QPainter& p, const SignSpec& s, bool pointUp)
{
    const qreal h = kTriangleHeight;
    const qreal dir = pointUp ? 1 : -1;
    const QList<QPointF> outer = {{0, -dir * h / 2}, {50, dir * h / 2}, {-50, dir * h / 2}};
    const QPointF centre(0, dir * (h / 2 - h / 3));
    const qreal apothem = h / 3;
    auto inset = [&](qreal d) { return scaledAbout(outer, centre, (apothem - d) / apothem); };
    rim(p, roundedPolygon(outer, 8));
    fill(p, roundedPolygon(inset(1.8), 7), kRed);
    const QColor ground = s.temporary ? kYellow : kWhite;
    fill(p, roundedPolygon(inset(1.8 + kRedBorder), 2.5), ground);
    if (pointUp)
        drawPictogram(p, s.symbol, QRectF(-22.5, -12.5, 45, 45), kInk, ground);
}

void drawOctagon(QPainter& p, const SignSpec&)
{
    const qreal circumradius = 50 / std::cos(qDegreesToRadians(22.5));
    const QList<QPointF> outer = regularPolygon(8, circumradius, 22.5);
    rim(p, roundedPolygon(outer, 3));
    fill(p, roundedPolygon(scaledAbout(outer, {}, 46.8 / 50), 2.5), kRed);
    drawText(p, QStringLiteral("STOP"), QRectF(-37, -15, 74, 30), kWhite, false);
}

void drawDiamond(QPainter& p, const SignSpec& s)
{
    const QList<QPointF> outer = {{0, -50}, {50, 0}, {0, 50}, {-50, 0}};
    const QPainterPath outline = roundedPolygon(outer, 5);
    rim(p, outline, kInk, 0.9);
    fill(p, roundedPolygon(scaledAbout(outer, {}, 0.68), 2), kYellow);
    if (isEndSign(s))
        cancelStripes(p, outline, 50);
}

void drawDisc(QPainter& p, const SignSpec& s)
{
    const QString name = symbolName(s);
    const QPainterPath outline = circlePath(50);
    rim(p, outline);
    const qreal inner = 48.4 - kRedBorder;

    if (s.kind == SignKind::NoEntry) {
        fill(p, circlePath(48.4), kRed);
        fill(p, roundedRectPath(QRectF(-33, -8.5, 66, 17), 1), kWhite);
        return;
    }
    if (s.kind == SignKind::Obligation) {
        fill(p, circlePath(48.4), kBlue);
        drawPictogram(p, s.symbol, QRectF(-34, -34, 68, 68), kWhite, kBlue);
        return;
    }
    if (isEndSign(s)) {
        stroke(p, circlePath(48.6), kInk, 1.4);
        drawPictogram(p, s.symbol.section(QLatin1Char(':'), 1), QRectF(-31, -31, 62, 62), kFaded,
                      kWhite);
        cancelStripes(p, circlePath(47.8), 50);
        return;
    }
    fill(p, circlePath(48.4), kRed);
    const bool blueGround = name == QLatin1String("no-parking") || name == QLatin1String("no-stopping");
    fill(p, circlePath(inner), blueGround ? kBlue : kWhite);
    if (name == QLatin1String("no-parking") || name == QLatin1String("no-stopping")) {
        // The bars run under the ring so their ends stay hidden in it.
        p.save();
        p.setClipPath(circlePath(inner + 1));
        const qreal e = inner * 0.75;
        line(p, {-e, -e}, {e, e}, kRed, kRedBorder, Qt::FlatCap);
        if (name == QLatin1String("no-stopping"))
            line(p, {e, -e}, {-e, e}, kRed, kRedBorder, Qt::FlatCap);
        p.restore();
        return;
    }
    drawPictogram(p, s.symbol, QRectF(-31, -31, 62, 62), kInk, kWhite);
}

void drawPanel(QPainter& p, const SignSpec& s, const QSizeF& size)
{
    const QRectF outer(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    rim(p, roundedRectPath(outer, 6));
    const QColor ground = symbolName(s) == QLatin1String("motorway") ? kGreen : kBlue;
    fill(p, roundedRectPath(outer.adjusted(2.6, 2.6, -2.6, -2.6), 4.2), ground);
    drawPictogram(p, s.symbol, outer.adjusted(10, 10, -10, -10), kWhite, ground);
}

// A white panel with a black border line: plates and the town sign.
void drawWhitePanel(QPainter& p, const SignSpec& s, const QSizeF& size, qreal borderWidth)
{
    const QRectF outer(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    rim(p, roundedRectPath(outer, 4));
    const qreal in = 2.4 + borderWidth / 2;
    stroke(p, roundedRectPath(outer.adjusted(in, in, -in, -in), 2.5), kInk, borderWidth);
    const QRectF content = outer.adjusted(in + 5, in + 4, -in - 5, -in - 4);
    if (s.kind == SignKind::Indication) {
        // The town sign writes the place name in capitals, nothing else.
        drawText(p, s.symbol.section(QLatin1Char(':'), 1), content.adjusted(2, 7, -2, -7), kInk,
                 false);
        return;
    }
    drawPictogram(p, s.symbol, content, kInk, kWhite);
}

void drawLantern(QPainter& p, const SignSpec& s)
{
    const QString lit = s.symbol.section(QLatin1Char(':'), 1);
    const QColor dark(62, 64, 66);
    // Contrast panel with its white edge, then the housing, the three lenses and their visors.
    rim(p, roundedRectPath(QRectF(-18, -50, 36, 100), 5));
    fill(p, roundedRectPath(QRectF(-16.5, -48.5, 33, 97), 4), kInk);
    const struct {
        qreal y;
        QColor on;
        QString name;
    } lamps[] = {{-29, QColor(238, 32, 32), QStringLiteral("red")},
                 {0, QColor(255, 178, 0), QStringLiteral("yellow")},
                 {29, QColor(0, 190, 96), QStringLiteral("green")}};
    for (const auto& lamp : lamps) {
        const bool on = lit.isEmpty() || lit == lamp.name;
        fillCircle(p, {0, lamp.y}, 11.5, QColor(40, 40, 40));
        fillCircle(p, {0, lamp.y}, 10, on ? lamp.on : dark);
        if (on)
            fillCircle(p, {-3, lamp.y - 3.5}, 3, QColor(255, 255, 255, 110));
        QPainterPath visor;
        visor.arcMoveTo(QRectF(-13, lamp.y - 13, 26, 26), 0);
        visor.arcTo(QRectF(-13, lamp.y - 13, 26, 26), 0, 180);
        stroke(p, visor, QColor(95, 95, 95), 2.2, Qt::FlatCap);
    }
}

// Road markings seen from above: a two-lane road running up the picture.
void drawRoad(QPainter& p, const SignSpec& s)
{
    const QRectF road(-50, -40, 100, 80);
    const QPainterPath outline = roundedRectPath(road, 3);
    fill(p, outline, kAsphalt);
    p.save();
    p.setClipPath(outline);
    const QColor paint(245, 245, 245);
    line(p, {-42, -40}, {-42, 40}, paint, 2.2, Qt::FlatCap);
    line(p, {42, -40}, {42, 40}, paint, 2.2, Qt::FlatCap);
    const QString name = symbolName(s);
    auto dashedCentre = [&](qreal from, qreal to) {
        for (qreal y = from; y < to; y += 18)
            line(p, {0, y}, {0, std::min(y + 10, to)}, paint, 2.6, Qt::FlatCap);
    };
    if (name == QLatin1String("solid-line")) {
        line(p, {0, -40}, {0, 40}, paint, 2.6, Qt::FlatCap);
    } else if (name == QLatin1String("dashed-line")) {
        dashedCentre(-38, 40);
    } else if (name == QLatin1String("zebra")) {
        dashedCentre(-38, -20);
        dashedCentre(22, 40);
        for (int i = 0; i < 7; ++i)
            p.fillRect(QRectF(-39 + i * 11.6, -14, 6.4, 28), paint);
    } else if (name == QLatin1String("stop-line")) {
        line(p, {0, -40}, {0, 8}, paint, 2.6, Qt::FlatCap);
        p.fillRect(QRectF(0, 4, 42, 4.2), paint);
        // Writing on the road is stretched along the lane, as painted.
        p.save();
        p.translate(21, 24);
        p.scale(1, 1.9);
        drawText(p, QStringLiteral("STOP"), QRectF(-15, -5, 30, 10), paint);
        p.restore();
        // The road crossing ahead.
        p.fillRect(QRectF(-50, -40, 100, 34), kAsphalt);
        line(p, {-50, -6}, {-42, -6}, paint, 2.2, Qt::FlatCap);
        line(p, {42, -6}, {50, -6}, paint, 2.2, Qt::FlatCap);
        for (qreal x = -50; x < 50; x += 18)
            line(p, {x, -23}, {x + 10, -23}, paint, 2.6, Qt::FlatCap);
    }
    p.restore();
}

void drawLabel(QPainter& p, const SignSpec& s)
{
    const QRectF outer(-50, -40, 100, 80);
    fill(p, roundedRectPath(outer, 8), kIconGround);
    stroke(p, roundedRectPath(outer.adjusted(0.8, 0.8, -0.8, -0.8), 8), QColor(120, 135, 160), 1.6);
    QString label = s.symbol.isEmpty() ? s.code : s.symbol;
    drawText(p, label, outer.adjusted(9, 12, -9, -12), QColor(30, 45, 80), false);
}

// Draws the sign body in its own units, centred on the origin.
void drawBody(QPainter& p, const SignSpec& s)
{
    switch (bodyOf(s)) {
    case Body::Triangle: drawTriangle(p, s, true); break;
    case Body::InvertedTriangle: drawTriangle(p, s, false); break;
    case Body::Octagon: drawOctagon(p, s); break;
    case Body::Diamond: drawDiamond(p, s); break;
    case Body::Disc: drawDisc(p, s); break;
    case Body::Square: drawPanel(p, s, {100, 100}); break;
    case Body::Wide: drawPanel(p, s, {100, 50}); break;
    case Body::Plate: drawWhitePanel(p, s, naturalSize(s), 1.6); break;
    case Body::Town: drawWhitePanel(p, s, naturalSize(s), 3.2); break;
    case Body::Lantern: drawLantern(p, s); break;
    case Body::Road: drawRoad(p, s); break;
    case Body::Bare:
        drawPictogram(p, s.symbol, QRectF(-44, -31, 88, 62), kInk, kWhite);
        break;
    case Body::Label: drawLabel(p, s); break;
    }
}

// Draws the body as large as fits in `area`, centred; returns the rectangle it took.
QRectF paintBody(QPainter& p, const SignSpec& s, const QRectF& area)
{
    const QSizeF natural = naturalSize(s);
    const qreal k = std::min(area.width() / natural.width(), area.height() / natural.height());
    p.save();
    p.translate(area.center());
    p.scale(k, k);
    drawBody(p, s);
    p.restore();
    const QSizeF used = natural * k;
    return {area.center() - QPointF(used.width() / 2, used.height() / 2), used};
}

// The sign and, when it has one, its supplementary plate beneath it.
void paintSign(QPainter& p, const SignSpec& s, const QRectF& area)
{
    if (s.plate.isEmpty()) {
        paintBody(p, s, area);
        return;
    }
    const qreal plateHeight = area.height() * 0.22;
    const qreal gap = area.height() * 0.04;
    SignSpec main = s;
    main.plate.clear();
    const QRectF signArea(area.x(), area.y(), area.width(), area.height() - plateHeight - gap);
    const QRectF took = paintBody(p, main, signArea);
    // The sign's own box may be taller than the sign; the plate hangs under what was drawn.
    const SignSpec plate{s.code, SignKind::Plate, QStringLiteral("text:") + s.plate, s.plate, {}, false};
    const qreal plateWidth = std::min(took.width() * 0.82, area.width());
    paintBody(p, plate,
              QRectF(area.center().x() - plateWidth / 2, took.bottom() + gap, plateWidth,
                     plateHeight));
}

QImage whiteCanvas(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::NoPen);
}

// Splits a caption into at most two lines of similar length.
QStringList captionLines(const QString& caption, int maxSingleLine)
{
    if (caption.size() <= maxSingleLine)
        return {caption};
    const qsizetype middle = caption.size() / 2;
    qsizetype best = -1;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i] == QLatin1Char(' ') && (best < 0 || std::abs(i - middle) < std::abs(best - middle)))
            best = i;
    if (best < 0)
        return {caption};
    return {caption.left(best), caption.mid(best + 1)};
}

// ---------------------------------------------------------------------------
// The demo set

SignSpec sign(const char* code, SignKind kind, const char* symbol, const char* caption,
              const char* plate = "", bool temporary = false)
{
    return {QString::fromUtf8(code), kind, QString::fromUtf8(symbol), QString::fromUtf8(caption),
            QString::fromUtf8(plate), temporary};
}

} // namespace

QList<SignSpec> demoSigns()
{
    using K = SignKind;
    static const QList<SignSpec> signs = {
        // Danger
        sign("1", K::Danger, "curve-right", "Curva pericolosa a destra"),
        sign("2", K::Danger, "curve-left", "Curva pericolosa a sinistra"),
        sign("3", K::Danger, "double-curve", "Doppia curva, la prima a destra"),
        sign("4", K::Danger, "crossroads", "Intersezione con precedenza a destra"),
        sign("5", K::Danger, "pedestrian-crossing", "Attraversamento pedonale"),
        sign("6", K::Danger, "children", "Bambini"),
        sign("7", K::Danger, "slippery", "Strada sdrucciolevole"),
        sign("8", K::Danger, "roadworks", "Lavori in corso"),
        sign("9", K::Danger, "cattle", "Animali domestici vaganti"),
        sign("10", K::Danger, "traffic-light", "Semaforo"),
        sign("11", K::Danger, "two-way", "Doppio senso di circolazione"),
        sign("12", K::Danger, "exclamation", "Altri pericoli"),
        sign("13", K::Danger, "narrowing", "Strettoia simmetrica"),
        // Precedence
        sign("40", K::GiveWay, "", "Dare precedenza"),
        sign("41", K::Stop, "", "Fermarsi e dare precedenza"),
        sign("42", K::Danger, "priority-crossroads", "Intersezione con diritto di precedenza"),
        sign("43", K::Priority, "", "Diritto di precedenza"),
        sign("44", K::Priority, "end", "Fine del diritto di precedenza"),
        sign("45", K::Prohibition, "give-way-oncoming", "Dare precedenza nei sensi unici alternati"),
        sign("46", K::Indication, "priority-oncoming",
             "Diritto di precedenza nei sensi unici alternati"),
        // Prohibition
        sign("54", K::Prohibition, "", "Divieto di transito"),
        sign("55", K::NoEntry, "", "Senso vietato"),
        sign("56", K::Prohibition, "overtaking", "Divieto di sorpasso"),
        sign("57", K::Prohibition, "limit:30", "Limite massimo di velocità 30 km/h"),
        sign("58", K::Prohibition, "limit:50", "Limite massimo di velocità 50 km/h"),
        sign("59", K::Prohibition, "limit:70", "Limite massimo di velocità 70 km/h"),
        sign("60", K::Prohibition, "limit:90", "Limite massimo di velocità 90 km/h"),
        sign("61", K::Prohibition, "no-parking", "Divieto di sosta"),
        sign("62", K::Prohibition, "no-stopping", "Divieto di fermata"),
        sign("63", K::Prohibition, "truck", "Transito vietato agli autocarri"),
        sign("64", K::Prohibition, "mass:6,5 t",
             "Transito vietato ai veicoli di massa superiore a 6,5 t"),
        sign("65", K::Prohibition, "height:3,5 m",
             "Transito vietato ai veicoli di altezza superiore a 3,5 m"),
        sign("66", K::Prohibition, "bicycle", "Transito vietato ai velocipedi"),
        sign("67", K::Prohibition, "motorcycle", "Transito vietato ai motocicli"),
        sign("68", K::Prohibition, "end:limit:50", "Fine del limite massimo di velocità 50 km/h"),
        sign("69", K::Prohibition, "end", "Via libera"),
        // Obligation
        sign("93", K::Obligation, "ahead", "Direzione obbligatoria diritto"),
        sign("94", K::Obligation, "right", "Direzione obbligatoria a destra"),
        sign("95", K::Obligation, "turn-right", "Preavviso di direzione obbligatoria a destra"),
        sign("96", K::Obligation, "keep-right", "Passaggio obbligatorio a destra"),
        sign("97", K::Obligation, "roundabout", "Rotatoria"),
        sign("98", K::Obligation, "bicycle", "Percorso riservato ai velocipedi"),
        sign("99", K::Obligation, "limit:30", "Limite minimo di velocità 30 km/h"),
        sign("100", K::Obligation, "end-cycle-track", "Fine del percorso riservato ai velocipedi"),
        // Supplementary plates
        sign("121", K::Plate, "text:150 m", "Pannello integrativo: distanza 150 m"),
        sign("122", K::Plate, "extent:500 m", "Pannello integrativo: estesa 500 m"),
        sign("123", K::Plate, "text:8,00 - 20,00", "Pannello integrativo: periodo di validità"),
        sign("124", K::Plate, "text:eccetto|autorizzati", "Pannello integrativo: eccetto autorizzati"),
        sign("125", K::Plate, "truck", "Pannello integrativo: autocarri"),
        sign("126", K::Plate, "both-ways", "Pannello integrativo: continuazione"),
        // Traffic lights
        sign("154", K::Light, "lantern", "Lanterna semaforica veicolare normale"),
        sign("155", K::Light, "lantern:red", "Luce rossa: fermarsi"),
        sign("156", K::Light, "lantern:yellow", "Luce gialla: arrestarsi se possibile"),
        sign("157", K::Light, "lantern:green", "Luce verde: via libera"),
        // Indication
        sign("166", K::Indication, "letter:P", "Parcheggio"),
        sign("167", K::Indication, "letter:H", "Ospedale"),
        sign("168", K::Indication, "crossing-square", "Attraversamento pedonale"),
        sign("169", K::Indication, "one-way", "Senso unico parallelo"),
        sign("170", K::Indication, "dead-end", "Strada senza uscita"),
        sign("171", K::Indication, "motorway", "Inizio autostrada"),
        sign("172", K::Indication, "car", "Inizio strada extraurbana principale"),
        sign("173", K::Indication, "town:VALVERDE", "Inizio centro abitato"),
        sign("174", K::Indication, "ahead", "Senso unico frontale"),
        // Temporary
        sign("275", K::Danger, "roadworks", "Lavori (segnale temporaneo)", "", true),
        // Road markings
        sign("501", K::Marking, "solid-line", "Striscia longitudinale continua"),
        sign("502", K::Marking, "dashed-line", "Striscia longitudinale discontinua"),
        sign("503", K::Marking, "zebra", "Attraversamento pedonale (strisce)"),
        sign("504", K::Marking, "stop-line", "Linea di arresto con STOP"),
        // Variants shown as linked signs
        sign("908", K::Stop, "", "Fermarsi e dare precedenza a 150 m", "150 m"),
        sign("909", K::Danger, "roadworks", "Lavori in corso a 150 m", "150 m"),
        sign("911", K::Danger, "two-way", "Doppio senso di circolazione (segnale temporaneo)", "",
             true),
        sign("931", K::Prohibition, "end:overtaking", "Fine del divieto di sorpasso"),
    };
    return signs;
}

QList<SignSpec> demoVehicles()
{
    using K = SignKind;
    static const QList<SignSpec> vehicles = {
        sign("auto", K::Vehicle, "car-side", "Autovettura"),
        sign("autocarro", K::Vehicle, "truck", "Autocarro"),
        sign("moto", K::Vehicle, "motorcycle", "Motociclo"),
        sign("autobus", K::Vehicle, "bus", "Autobus"),
        sign("bicicletta", K::Vehicle, "bicycle", "Velocipede"),
    };
    return vehicles;
}

std::optional<SignSpec> findDemoSign(const QString& code)
{
    for (const QList<SignSpec>& set : {demoSigns(), demoVehicles()})
        for (const SignSpec& s : set)
            if (s.code.compare(code, Qt::CaseInsensitive) == 0)
                return s;
    return std::nullopt;
}

QImage drawSign(const SignSpec& sign, QSize size)
{
    QImage img = whiteCanvas(size);
    QPainter p(&img);
    prepare(p);
    const qreal margin = std::min(size.width(), size.height()) * 0.06;
    paintSign(p, sign, QRectF(QPointF(0, 0), size).adjusted(margin, margin, -margin, -margin));
    return img;
}

QImage drawNamedSign(const SignSpec& sign, QSize size)
{
    QImage img = whiteCanvas(size);
    QPainter p(&img);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    const qreal margin = std::min(size.width(), size.height()) * 0.04;
    const qreal captionHeight = size.height() * 0.2;
    paintSign(p, sign,
              QRectF(margin, margin, all.width() - 2 * margin,
                     all.height() - captionHeight - 2 * margin));
    // One letter size for every caption; only a very long line is made smaller.
    const QStringList lines = captionLines(sign.caption, 24);
    const qreal cap = captionHeight * 0.27;
    const qreal blockHeight = lines.size() == 1 ? cap : cap * 2.55;
    drawLines(p, lines,
              QRectF(margin, all.bottom() - captionHeight + (captionHeight - blockHeight) / 2 - margin / 2,
                     all.width() - 2 * margin, blockHeight),
              QColor(30, 30, 30), false);
    return img;
}

QImage drawIcon(const SignSpec& sign, QSize size)
{
    QImage img = whiteCanvas(size);
    QPainter p(&img);
    prepare(p);
    paintSign(p, sign, QRectF(QPointF(0, 0), size).adjusted(3, 3, -3, -3));
    return img;
}

void paintSignInto(QPainter& p, const SignSpec& sign, const QRectF& area)
{
    p.save();
    prepare(p);
    paintSign(p, sign, area);
    p.restore();
}

QImage drawIcon(const QString& label, QSize size)
{
    if (const std::optional<SignSpec> known = findDemoSign(label))
        return drawIcon(*known, size);
    return drawIcon(SignSpec{label, SignKind::Icon, label, label, {}, false}, size);
}

} // namespace ziro::demo
