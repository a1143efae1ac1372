#include "shell/artwork.h"

#include "controls/art_paint.h"
#include "controls/art_scale.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>

#include <array>

namespace ziro {

namespace {

// The colour of the soft shadows under cards and buttons.
const QColor kShadow(0x14, 0x24, 0x3a);

// --- palette -------------------------------------------------------------

const QColor kSurfaceTop(0xf6, 0xf8, 0xfb);
const QColor kSurfaceBottom(0xe3, 0xe8, 0xef);
const QColor kCardEdge(0xb4, 0xc0, 0xcf);
const QColor kPanelEdge(0x9d, 0xac, 0xbf);
const QColor kStripTop(0x3b, 0x4c, 0x62);
const QColor kStripBottom(0x1d, 0x27, 0x33);
const QColor kStripEdgeLight(0x5d, 0x71, 0x8a);
const QColor kGrooveDark(0x15, 0x1d, 0x27);
const QColor kGrooveLight(0x48, 0x5a, 0x70);

// How a button is drawn in each of its looks.
enum class Look { Up, Down, Alt, Locked };

struct LookColours {
    QColor top, bottom, outline, innerLine, pictogram;
    bool pictogramShadow;
    qreal pictogramDrop;  // pixels the pictogram sinks when pressed
};

LookColours lookColours(Look look)
{
    switch (look) {
    case Look::Down:
        return {QColor(0x26, 0x3f, 0x5c), QColor(0x36, 0x57, 0x7d), QColor(0x10, 0x1a, 0x26),
                QColor(0, 0, 0, 70), QColor(0xe4, 0xec, 0xf6), true, 1.0};
    case Look::Alt:
        return {QColor(0x7b, 0xa8, 0xdc), QColor(0x46, 0x73, 0xa8), QColor(0xb4, 0xdb, 0xff),
                QColor(255, 255, 255, 90), Qt::white, true, 0.0};
    case Look::Locked:
        return {QColor(0x5c, 0x65, 0x71), QColor(0x47, 0x4f, 0x5a), QColor(0x24, 0x2b, 0x33),
                QColor(255, 255, 255, 25), QColor(0xa3, 0xab, 0xb5), false, 0.0};
    case Look::Up:
        break;
    }
    return {QColor(0x5a, 0x80, 0xae), QColor(0x32, 0x53, 0x7a), QColor(0x15, 0x22, 0x32),
            QColor(255, 255, 255, 55), Qt::white, true, 0.0};
}

constexpr qreal kButtonRadius = 6.0;

QPainterPath buttonShape(QSizeF size)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0.5, 0.5), size - QSizeF(1, 1)), kButtonRadius,
                        kButtonRadius);
    return path;
}

// --- background pieces ----------------------------------------------------

// A soft shadow under a rounded rectangle: a few widening, fading rings.
void paintSurface(QPainter& p)
{
    QLinearGradient g(0, 0, 0, kBottomStripRect.top());
    g.setColorAt(0, kSurfaceTop);
    g.setColorAt(1, kSurfaceBottom);
    p.fillRect(QRect(0, 0, 640, kBottomStripRect.top()), g);
}

void paintSignCard(QPainter& p)
{
    const QRectF card = QRectF(kSignBorderRect).adjusted(0.5, 0.5, -0.5, -0.5);
    paintSoftShadow(p, card, 4, 1.5, 4, 60, kShadow);
    p.setPen(QPen(kCardEdge, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 4, 4);
}

void paintPanelWell(QPainter& p, const QRect& panel)
{
    // The frame sits just outside the panel so it stays visible around an icon.
    const QRectF frame = QRectF(panel).adjusted(-1.5, -1.5, 1.5, 1.5);
    paintSoftShadow(p, frame, 3, 1.5, 3, 70, kShadow);
    p.setPen(QPen(kPanelEdge, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(frame, 3, 3);
    // A faint inner shade gives the empty well some depth.
    QLinearGradient g(0, panel.top(), 0, panel.bottom() + 1);
    g.setColorAt(0, QColor(0xee, 0xf2, 0xf7));
    g.setColorAt(0.35, Qt::white);
    p.fillRect(panel, g);
}

void paintStrip(QPainter& p)
{
    const QRect s = kBottomStripRect;
    QLinearGradient g(0, s.top(), 0, s.bottom() + 1);
    g.setColorAt(0, kStripTop);
    g.setColorAt(1, kStripBottom);
    p.fillRect(s, g);
    p.fillRect(QRect(s.left(), s.top() - 1, s.width(), 1), QColor(0xa9, 0xb5, 0xc3));
    p.fillRect(QRect(s.left(), s.top(), s.width(), 1), kStripEdgeLight);

    // Etched grooves between the three button groups.
    const QRect menus = mainButtonRect(MainButton::MNU);
    const QRect nav = mainButtonRect(MainButton::L);
    const QRect navEnd = mainButtonRect(MainButton::R);
    const QRect media = mainButtonRect(MainButton::FOTO);
    for (const int x : {(menus.right() + nav.left()) / 2, (navEnd.right() + media.left()) / 2}) {
        p.fillRect(QRect(x, s.top() + 14, 1, 44), kGrooveDark);
        p.fillRect(QRect(x + 1, s.top() + 14, 1, 44), kGrooveLight);
    }

    // Shadows the buttons cast on the strip.
    for (int i = 0; i < kMainButtonCount; ++i) {
        const QRectF r = QRectF(mainButtonRect(static_cast<MainButton>(i)));
        paintSoftShadow(p, r.adjusted(0.5, 0.5, -0.5, -0.5), kButtonRadius, 1.5, 3, 150, kShadow);
    }
}

// --- pictograms -------------------------------------------------------------
// Drawn as filled paths in a 24 x 24 design box, then scaled to the button.

QPainterPath roundedCorners(const QPainterPath& path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    return path.united(stroker.createStroke(path)).simplified();
}

QFont captionFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainterPath listPictogram()
{
    QPainterPath path;
    for (const qreal y : {4.0, 10.5, 17.0}) {
        path.addPath(roundRect(2.5, y, 4, 3.5, 1));
        path.addPath(roundRect(8.5, y, 13, 3.5, 1));
    }
    return path;
}

QPainterPath gridPictogram()
{
    QPainterPath path;
    for (const qreal y : {2.5, 9.5, 16.5})
        for (const qreal x : {2.5, 9.5, 16.5})
            path.addPath(roundRect(x, y, 5, 5, 1.2));
    return path;
}

QPainterPath arrowPictogram(bool left)
{
    QPainterPath arrow = roundedCorners(
        polygon({{3.5, 12}, {11.5, 4}, {11.5, 9}, {20.5, 9}, {20.5, 15}, {11.5, 15}, {11.5, 20}}),
        2.0);
    if (!left)
        arrow = QTransform(-1, 0, 0, 1, 24, 0).map(arrow);
    return arrow;
}

QPainterPath pausePictogram()
{
    QPainterPath path;
    path.addPath(roundRect(6, 4, 4.5, 16, 1.5));
    path.addPath(roundRect(13.5, 4, 4.5, 16, 1.5));
    return path;
}

QPainterPath cameraPictogram()
{
    QPainterPath body = roundRect(1.5, 7, 21, 14, 2.5);
    body = body.united(roundedCorners(polygon({{7.5, 7.5}, {9, 4.5}, {15, 4.5}, {16.5, 7.5}}), 1));
    body = body.subtracted(circle({12, 14}, 4.8));
    body = body.subtracted(circle({19, 10}, 1.1));
    return body.united(circle({12, 14}, 3.0));
}

QPainterPath filmPictogram()
{
    QPainterPath strip = roundRect(1.5, 3.5, 21, 17, 2);
    for (const qreal x : {3.5, 8.0, 12.5, 17.0}) {
        strip = strip.subtracted(roundRect(x + 0.25, 5.0, 2.5, 2, 0.5));
        strip = strip.subtracted(roundRect(x + 0.25, 17.0, 2.5, 2, 0.5));
    }
    return strip.subtracted(roundedCorners(polygon({{9.5, 8.5}, {9.5, 15.5}, {15.5, 12}}), 1));
}

QPainterPath bookPictogram()
{
    QPainterPath left;
    left.moveTo(11.3, 6.5);
    left.cubicTo(8.5, 4.5, 5.0, 4.2, 1.5, 5.0);
    left.lineTo(1.5, 19.0);
    left.cubicTo(5.0, 18.2, 8.5, 18.6, 11.3, 20.5);
    left.closeSubpath();
    for (const qreal y : {8.5, 11.5, 14.5}) {
        QPainterPath line;
        line.moveTo(4, y);
        line.cubicTo(6, y - 0.5, 7.8, y - 0.2, 9.3, y + 0.6);
        QPainterPathStroker stroker;
        stroker.setWidth(1.1);
        stroker.setCapStyle(Qt::RoundCap);
        left = left.subtracted(stroker.createStroke(line));
    }
    const QPainterPath right = QTransform(-1, 0, 0, 1, 24, 0).map(left);
    QPainterPath book = left.united(right);
    // The cover showing under the pages.
    QPainterPath cover;
    cover.moveTo(0.5, 7.0);
    cover.lineTo(0.5, 21.0);
    cover.cubicTo(5, 20, 9, 20.5, 12, 22.2);
    cover.cubicTo(15, 20.5, 19, 20, 23.5, 21.0);
    cover.lineTo(23.5, 7.0);
    QPainterPathStroker stroker;
    stroker.setWidth(1.2);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return book.united(stroker.createStroke(cover));
}

QPainterPath quizPictogram()
{
    QPainterPath bubble = roundRect(1.5, 2.5, 21, 15.5, 4);
    bubble = bubble.united(roundedCorners(polygon({{5.5, 16}, {11, 16}, {5.5, 21.5}}), 1));
    QPainterPath mark;
    mark.addText(0, 0, captionFont(100, true), QStringLiteral("?"));
    const QRectF b = mark.boundingRect();
    const qreal scale = 12.0 / b.height();
    QTransform t;
    t.translate(12, 10.25);
    t.scale(scale, scale);
    t.translate(-b.center().x(), -b.center().y());
    return bubble.subtracted(t.map(mark));
}

QPainterPath pictogram(MainButton b)
{
    switch (b) {
    case MainButton::MNG: return listPictogram();
    case MainButton::MNU: return gridPictogram();
    case MainButton::L: return arrowPictogram(true);
    case MainButton::C: return pausePictogram();
    case MainButton::R: return arrowPictogram(false);
    case MainButton::FOTO: return cameraPictogram();
    case MainButton::VIDEO: return filmPictogram();
    case MainButton::LIBRO: return bookPictogram();
    case MainButton::QUIZ: return quizPictogram();
    }
    return {};
}

QString caption(MainButton b)
{
    switch (b) {
    case MainButton::FOTO: return QStringLiteral("FOTO");
    case MainButton::VIDEO: return QStringLiteral("VIDEO");
    case MainButton::LIBRO: return QStringLiteral("LIBRO");
    case MainButton::QUIZ: return QStringLiteral("QUIZ");
    default: return {};
    }
}

// --- buttons ----------------------------------------------------------------

void paintButtonBody(QPainter& p, QSizeF size, Look look)
{
    const LookColours c = lookColours(look);
    const QPainterPath shape = buttonShape(size);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, c.top);
    g.setColorAt(1, c.bottom);
    p.fillPath(shape, g);

    if (look != Look::Down) {
        // A soft sheen over the upper half.
        QLinearGradient sheen(0, 0, 0, size.height() * 0.5);
        sheen.setColorAt(0, QColor(255, 255, 255, look == Look::Locked ? 14 : 34));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillPath(shape, sheen);
    }

    QPainterPath inner;
    inner.addRoundedRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3), kButtonRadius - 1,
                         kButtonRadius - 1);
    p.setBrush(Qt::NoBrush);
    if (look == Look::Down) {
        // Pressed in: the shade falls on the top inner edge.
        p.save();
        p.setClipRect(QRectF(0, 0, size.width(), 6));
        p.setPen(QPen(c.innerLine, 2));
        p.drawPath(inner);
        p.restore();
    } else {
        p.setPen(QPen(c.innerLine, 1));
        p.drawPath(inner);
    }
    p.setPen(QPen(c.outline, 1));
    p.drawPath(shape);
}

void paintButtonFace(QPainter& p, MainButton b, QSizeF size, Look look)
{
    const LookColours c = lookColours(look);
    const QString text = caption(b);

    // Media buttons are taller and carry a caption under the pictogram; the
    // narrow pause button gets a smaller pictogram, the menu pair a slightly
    // smaller one so the arrows read first.
    qreal box = 28.0;
    if (b == MainButton::C)
        box = 20.0;
    else if (b == MainButton::MNG || b == MainButton::MNU)
        box = 26.0;
    const qreal captionHeight = text.isEmpty() ? 0.0 : 11.0;
    const qreal top = (size.height() - box - captionHeight - (text.isEmpty() ? 0 : 1)) / 2.0;
    QTransform t;
    t.translate((size.width() - box) / 2.0, top + c.pictogramDrop);
    t.scale(box / 24.0, box / 24.0);
    const QPainterPath icon = t.map(pictogram(b));

    if (c.pictogramShadow)
        p.fillPath(icon.translated(0, 1), QColor(0x0b, 0x14, 0x20, 110));
    p.fillPath(icon, c.pictogram);

    if (!text.isEmpty()) {
        const QRectF textRect(0, top + box + 1 + c.pictogramDrop, size.width(), captionHeight);
        p.setFont(captionFont(9, true));
        if (c.pictogramShadow) {
            p.setPen(QColor(0x0b, 0x14, 0x20, 110));
            p.drawText(textRect.translated(0, 1), Qt::AlignHCenter | Qt::AlignVCenter, text);
        }
        p.setPen(c.pictogram);
        p.drawText(textRect, Qt::AlignHCenter | Qt::AlignVCenter, text);
    }
}

QImage buttonPicture(const QImage& background, MainButton b, Look look)
{
    const QRect r = mainButtonRect(b);
    QImage img = artCopy(background, r);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintButtonBody(p, r.size(), look);
    paintButtonFace(p, b, r.size(), look);
    p.end();
    return img;
}

QImage buttonMask(QSize size)
{
    return twoColourMask(size, buttonShape(size));
}

// --- cursors ----------------------------------------------------------------

QPainterPath capsule(QPointF from, QPointF to, qreal width)
{
    QPainterPath line;
    line.moveTo(from);
    line.lineTo(to);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line);
}

struct HandShape {
    QPainterPath outline;
    QList<QPair<QPointF, QPointF>> creases;  // lines between the fingers
    QPainterPath front;  // a part lying over the rest (the folded thumb), may be empty
};

// Fingers sit on a 4-pixel pitch so the creases between them fall on whole
// pixel columns and stay crisp at cursor size.
HandShape openHand()
{
    QPainterPath hand = roundRect(9, 13, 17, 15.5, 5.5);
    hand = hand.united(capsule({11.5, 6.0}, {11.5, 16}, 3.9));
    hand = hand.united(capsule({15.5, 4.0}, {15.5, 16}, 3.9));
    hand = hand.united(capsule({19.5, 5.0}, {19.5, 16}, 3.9));
    hand = hand.united(capsule({23.4, 8.5}, {23.4, 17}, 3.6));
    hand = hand.united(capsule({5.0, 14.0}, {10.5, 22}, 4.2));
    return {hand.simplified(),
            {{{13.5, 8.5}, {13.5, 15.5}}, {{17.5, 7.5}, {17.5, 15.5}}, {{21.5, 9.5}, {21.5, 15.5}}},
            {}};
}

HandShape fist()
{
    QPainterPath hand = roundRect(9, 12.5, 17, 15.5, 5.5);
    hand = hand.united(capsule({11.5, 11.0}, {11.5, 15}, 3.9));
    hand = hand.united(capsule({15.5, 10.0}, {15.5, 15}, 3.9));
    hand = hand.united(capsule({19.5, 10.5}, {19.5, 15}, 3.9));
    hand = hand.united(capsule({23.4, 12.0}, {23.4, 16}, 3.6));
    hand = hand.united(capsule({8.0, 17.0}, {9.5, 21}, 4.0));
    // The thumb folds across the front of the fingers.
    return {hand.simplified(),
            {{{13.5, 10.5}, {13.5, 14.5}}, {{17.5, 10}, {17.5, 14.5}}, {{21.5, 11}, {21.5, 15}}},
            capsule({9.5, 18.5}, {15.5, 17.5}, 3.6)};
}

HandShape pointingHand()
{
    QPainterPath hand = roundRect(10.5, 14.5, 16.5, 15, 5.5);
    hand = hand.united(capsule({12.5, 2.5}, {12.5, 17}, 3.9));
    hand = hand.united(capsule({16.5, 12.5}, {16.5, 18}, 3.9));
    hand = hand.united(capsule({20.5, 13.5}, {20.5, 18}, 3.9));
    hand = hand.united(capsule({24.4, 15.0}, {24.4, 19}, 3.6));
    hand = hand.united(capsule({6.5, 16.5}, {11.5, 23.5}, 4.2));
    return {hand.simplified(),
            {{{14.5, 15}, {14.5, 17.5}}, {{18.5, 15}, {18.5, 18}}, {{22.5, 16}, {22.5, 18.5}}},
            {}};
}

QImage drawCursor(const HandShape& hand)
{
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(hand.outline.translated(1.2, 1.2), QColor(0, 0, 0, 70));
    p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand.outline);
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const auto& [a, b] : hand.creases)
        p.drawLine(a, b);
    if (!hand.front.isEmpty()) {
        p.setPen(QPen(Qt::black, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(hand.front);
    }
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

QImage drawMainBackground()
{
    QImage img = artCanvas(kMainWindowRect.size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintSurface(p);
    paintSignCard(p);
    for (int n = 1; n <= 10; ++n)
        paintPanelWell(p, iconPanelRect(n));
    paintStrip(p);
    p.end();
    return img;
}

QImage mainBackground()
{
    // Drawn once per art scale; the window and every button share it.
    static QImage background;
    if (background.isNull() || background.devicePixelRatio() != artScale())
        background = drawMainBackground();
    return background;
}

ButtonArt mainButtonArt(MainButton b)
{
    // Every button is cut from the same background.
    const QImage background = mainBackground();
    ButtonArt art;
    art.up = buttonPicture(background, b, Look::Up);
    art.down = buttonPicture(background, b, Look::Down);
    art.alt = buttonPicture(background, b, Look::Alt);
    art.mask = buttonMask(mainButtonRect(b).size());
    art.locking = art.down;
    art.locked = buttonPicture(background, b, Look::Locked);
    art.spare = art.up;
    return art;
}

CursorArt cursorArt(int id)
{
    switch (id) {
    case kCursorGrab: return {drawCursor(openHand()), QPoint(16, 15)};
    case kCursorFist: return {drawCursor(fist()), QPoint(16, 17)};
    case kCursorPointer: return {drawCursor(pointingHand()), QPoint(12, 1)};
    default: return {};
    }
}

}  // namespace ziro
