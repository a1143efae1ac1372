#include "menus/menu_art.h"

#include "controls/art_paint.h"
#include "controls/art_scale.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QStringList>
#include <QTransform>

#include <array>
#include <functional>

namespace ziro {

namespace {

// The colour of the soft shadows under the card and the buttons.
const QColor kShadow(0x02, 0x0a, 0x10);

// --- palette -------------------------------------------------------------

const QColor kBackTop(0x17, 0x3d, 0x52);
const QColor kBackBottom(0x0b, 0x20, 0x2e);
const QColor kBackGlow(0x2a, 0x7f, 0x93);
const QColor kCard(0xe4, 0xeb, 0xf1);
const QColor kCardEdge(0x8c, 0xa3, 0xb5);
const QColor kLabel(0x8f, 0xc9, 0xda);
const QColor kAccent(0x3c, 0xc0, 0xd3);
const QColor kRule(0x2b, 0x55, 0x6c);
const QColor kInkShadow(0x06, 0x10, 0x18, 120);

const QColor kSteel(0x3a, 0x6c, 0x96);
const QColor kGo(0x2c, 0x9a, 0x4e);
const QColor kStop(0xc4, 0x3b, 0x35);
const QColor kHighlightRing(0xff, 0xe0, 0x70);

constexpr qreal kButtonRadius = 8.0;

// How a button is drawn in each of its looks.
enum class Look { Up, Down, Alt, Locked };

struct Skin {
    QColor top, bottom, outline, innerLine, ink;
    QColor ring;        // the highlight ring; invalid for none
    bool inkShadow;
    bool sheen;
    bool pressed;       // shade on the top inner edge
    qreal drop;         // pixels the face sinks when pressed
    bool grey = false;  // the locked look: even coloured parts lose their colour
};

Skin skinFor(const QColor& base, Look look)
{
    switch (look) {
    case Look::Down:
        return {base.darker(165), base.darker(120), base.darker(330), QColor(0, 0, 0, 90),
                QColor(0xe6, 0xed, 0xf4), QColor(), true, false, true, 1.0};
    case Look::Alt:
        return {base.lighter(150), base.lighter(108), base.darker(260), QColor(255, 255, 255, 90),
                Qt::white, kHighlightRing, true, true, false, 0.0};
    case Look::Locked:
        return {QColor(0x8e, 0x97, 0xa0), QColor(0x6b, 0x74, 0x7d), QColor(0x2c, 0x33, 0x3a),
                QColor(255, 255, 255, 40), QColor(0xd0, 0xd5, 0xda), QColor(), false, false,
                false, 0.0, true};
    case Look::Up:
        break;
    }
    return {base.lighter(122), base.darker(122), base.darker(300), QColor(255, 255, 255, 60),
            Qt::white, QColor(), true, true, false, 0.0};
}

// The current edition stays pressed: amber with dark ink, readable from far.
Skin selectedEditionSkin()
{
    return {QColor(0xf0, 0xa4, 0x18), QColor(0xff, 0xd2, 0x5e), QColor(0x5c, 0x3e, 0x00),
            QColor(0x7a, 0x4c, 0x00, 110), QColor(0x16, 0x22, 0x2e), QColor(), false, false, true,
            1.0};
}

QPainterPath roundedShape(QSizeF size, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0.5, 0.5), size - QSizeF(1, 1)), radius, radius);
    return path;
}

// --- fonts and captions -------------------------------------------------------

QFont captionFont(qreal pixelSize, bool condensed = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(true);
    if (condensed)
        font.setStretch(QFont::Condensed);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

qreal textWidth(const QFont& font, const QString& text)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

// The biggest size from maxPx down to minPx at which the text fits.
QFont fittedFont(const QString& text, qreal width, int maxPx, int minPx, bool condensed = true)
{
    for (int px = maxPx; px > minPx; --px) {
        const QFont font = captionFont(px, condensed);
        if (textWidth(font, text) <= width)
            return font;
    }
    return captionFont(minPx, condensed);
}

struct Wrapped {
    QFont font;
    QStringList lines;
    bool complete;  // false when the text had to be cut
};

QStringList greedyLines(const QStringList& words, const QFont& font, qreal width)
{
    QStringList lines;
    QString current;
    for (const QString& word : words) {
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (current.isEmpty() || textWidth(font, candidate) <= width) {
            current = candidate;
        } else {
            lines << current;
            current = word;
        }
    }
    if (!current.isEmpty())
        lines << current;
    return lines;
}

// Wraps the text into at most maxLines lines of the given width, shrinking the
// font down to minPx first; what still does not fit is cut with an ellipsis.
Wrapped wrapText(const QString& text, qreal width, int maxLines, int maxPx, int minPx)
{
    const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int px = maxPx; px >= minPx; --px) {
        const QFont font = captionFont(px);
        const QStringList lines = greedyLines(words, font, width);
        bool fits = lines.size() <= maxLines;
        for (const QString& line : lines)
            fits = fits && textWidth(font, line) <= width;
        if (fits)
            return {font, lines, true};
    }
    const QFont font = captionFont(minPx);
    QStringList lines = greedyLines(words, font, width);
    if (lines.size() > maxLines) {
        const QString rest = lines.mid(maxLines - 1).join(QLatin1Char(' '));
        lines = lines.mid(0, maxLines - 1);
        lines << rest;
    }
    const QFontMetricsF metrics(font);
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, width);
    return {font, lines, false};
}

void drawCaption(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                 const Skin& s, int align = Qt::AlignCenter)
{
    p.setFont(font);
    if (s.inkShadow) {
        p.setPen(kInkShadow);
        p.drawText(r.translated(0, 1), align, text);
    }
    p.setPen(s.ink);
    p.drawText(r, align, text);
}

// Lines of text stacked and centred vertically in r.
void drawLines(QPainter& p, const QRectF& r, const QStringList& lines, const QFont& font,
               const Skin& s, int hAlign, qreal lineGap = 0)
{
    const QFontMetricsF metrics(font);
    const qreal lineHeight = metrics.height() + lineGap;
    qreal y = r.top() + (r.height() - lineHeight * lines.size() + lineGap) / 2.0;
    for (const QString& line : lines) {
        drawCaption(p, QRectF(r.left(), y, r.width(), metrics.height()), line, font, s,
                    hAlign | Qt::AlignVCenter);
        y += lineHeight;
    }
}

// --- pictograms -------------------------------------------------------------
// Drawn as filled paths in a 24 x 24 design box, then scaled into place.

QPainterPath stroked(const QPainterPath& line, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

QPainterPath placed(const QPainterPath& design, const QRectF& box)
{
    QTransform t;
    t.translate(box.left(), box.top());
    t.scale(box.width() / 24.0, box.height() / 24.0);
    return t.map(design);
}

QPainterPath gearPictogram()
{
    QPainterPath gear = circle({12, 12}, 7.6);
    for (int i = 0; i < 8; ++i) {
        QTransform t;
        t.translate(12, 12);
        t.rotate(i * 45.0);
        t.translate(-12, -12);
        gear = gear.united(t.map(roundRect(10.2, 1.2, 3.6, 5.5, 1.0)));
    }
    return gear.subtracted(circle({12, 12}, 3.3)).simplified();
}

QPainterPath printerPictogram()
{
    QPainterPath printer = roundRect(1.5, 8.0, 21, 10.5, 2.5);
    printer = printer.united(roundRect(6.0, 2.0, 12, 7.5, 1.0));
    printer = printer.subtracted(roundRect(4.8, 13.0, 14.4, 10, 1.0));
    printer = printer.subtracted(circle({18.8, 10.8}, 1.1));
    QPainterPath sheet = roundRect(6.3, 14.3, 11.4, 8.2, 0.8);
    for (const qreal y : {16.8, 19.4})
        sheet = sheet.subtracted(roundRect(8.2, y, 7.6, 1.1, 0.5));
    return printer.united(sheet);
}

// A stopwatch: the exam runs against the clock.
QPainterPath stopwatchPictogram()
{
    QPainterPath watch = circle({12, 13.5}, 9.0).subtracted(circle({12, 13.5}, 6.8));
    watch = watch.united(roundRect(9.5, 1.5, 5, 2.6, 0.8));
    watch = watch.united(roundRect(11.0, 3.5, 2, 2.5, 0.4));
    QPainterPath hand;
    hand.moveTo(12, 13.5);
    hand.lineTo(12, 8.5);
    hand.moveTo(12, 13.5);
    hand.lineTo(15.2, 15.4);
    return watch.united(stroked(hand, 1.8)).simplified();
}

QPainterPath checkPictogram()
{
    QPainterPath tick;
    tick.moveTo(3.5, 12.5);
    tick.lineTo(9.5, 18.5);
    tick.lineTo(20.5, 6.0);
    return stroked(tick, 4.2);
}

QPainterPath exitPictogram()
{
    QPainterPath frame;
    frame.moveTo(13.0, 6.5);
    frame.lineTo(13.0, 3.0);
    frame.lineTo(3.0, 3.0);
    frame.lineTo(3.0, 21.0);
    frame.lineTo(13.0, 21.0);
    frame.lineTo(13.0, 17.5);
    QPainterPath door = stroked(frame, 2.4);
    const QPainterPath arrow
        = polygon({{8.5, 10.4}, {15.0, 10.4}, {15.0, 6.8}, {21.8, 12.0}, {15.0, 17.2},
                   {15.0, 13.6}, {8.5, 13.6}});
    return door.united(stroked(arrow, 1.0));
}

QPainterPath questionBubblePictogram()
{
    QPainterPath bubble = roundRect(1.5, 2.5, 21, 15.5, 4);
    bubble = bubble.united(stroked(polygon({{5.5, 16}, {11, 16}, {5.5, 21.5}}), 1));
    QPainterPath mark;
    mark.addText(0, 0, captionFont(100, false), QStringLiteral("?"));
    const QRectF b = mark.boundingRect();
    const qreal scale = 12.0 / b.height();
    QTransform t;
    t.translate(12, 10.25);
    t.scale(scale, scale);
    t.translate(-b.center().x(), -b.center().y());
    return bubble.subtracted(t.map(mark));
}

QPainterPath returnPictogram()
{
    QPainterPath tail;
    tail.moveTo(19.0, 19.5);
    tail.lineTo(19.0, 12.5);
    tail.cubicTo(19.0, 9.0, 16.5, 7.0, 13.0, 7.0);
    tail.lineTo(9.0, 7.0);
    QPainterPath arrow = stroked(tail, 3.4);
    return arrow.united(stroked(polygon({{3.0, 7.0}, {9.5, 1.8}, {9.5, 12.2}}), 1.6));
}

QPainterPath filmPictogram()
{
    QPainterPath strip = roundRect(0.5, 1.5, 23, 21, 3);
    for (const qreal x : {3.0, 8.0, 13.0, 18.0}) {
        strip = strip.subtracted(roundRect(x, 3.6, 3, 2.6, 0.6));
        strip = strip.subtracted(roundRect(x, 17.8, 3, 2.6, 0.6));
    }
    return strip;
}

// A warning sign: white triangle with a red border, as on the road.
void paintWarningSign(QPainter& p, const QRectF& box, qreal opacity, bool grey)
{
    p.save();
    p.setOpacity(opacity);
    const QPainterPath outer = placed(stroked(polygon({{12, 2.5}, {22.5, 21}, {1.5, 21}}), 2.6), box);
    const QPainterPath inner = placed(polygon({{12, 2.5}, {22.5, 21}, {1.5, 21}}), box);
    p.fillPath(outer.united(inner), grey ? QColor(0x5a, 0x62, 0x6a) : QColor(0xd3, 0x22, 0x22));
    p.fillPath(placed(polygon({{12, 8.0}, {18.3, 18.6}, {5.7, 18.6}}), box),
               grey ? QColor(0xc8, 0xcd, 0xd2) : QColor(Qt::white));
    // A small exclamation mark in the middle.
    p.fillPath(placed(roundRect(11.2, 10.5, 1.6, 4.8, 0.8).united(circle({12, 17.0}, 0.9)), box),
               QColor(0x20, 0x20, 0x20));
    p.restore();
}

// --- button painting ----------------------------------------------------------

void paintBody(QPainter& p, QSizeF size, const Skin& s, qreal radius)
{
    const QPainterPath shape = roundedShape(size, radius);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, s.top);
    g.setColorAt(1, s.bottom);
    p.fillPath(shape, g);

    if (s.sheen) {
        QLinearGradient sheen(0, 0, 0, size.height() * 0.55);
        sheen.setColorAt(0, QColor(255, 255, 255, 44));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillPath(shape, sheen);
    }

    QPainterPath inner;
    inner.addRoundedRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3), radius - 1,
                         radius - 1);
    p.setBrush(Qt::NoBrush);
    if (s.pressed) {
        p.save();
        p.setClipRect(QRectF(0, 0, size.width(), 7));
        p.setPen(QPen(s.innerLine, 2.5));
        p.drawPath(inner);
        p.restore();
    } else {
        p.setPen(QPen(s.innerLine, 1));
        p.drawPath(inner);
    }
    if (s.ring.isValid()) {
        QPainterPath ring;
        ring.addRoundedRect(QRectF(2, 2, size.width() - 4, size.height() - 4), radius - 1.5,
                            radius - 1.5);
        p.setPen(QPen(s.ring, 2.2));
        p.drawPath(ring);
    }
    p.setPen(QPen(s.outline, 1));
    p.drawPath(shape);
}

void fillPictogram(QPainter& p, const QPainterPath& icon, const Skin& s)
{
    if (s.inkShadow)
        p.fillPath(icon.translated(0, 1), kInkShadow);
    p.fillPath(icon, s.ink);
}

using Face = std::function<void(QPainter&, QSizeF, const Skin&)>;

QImage paintedButton(const QImage& background, const QRect& where, const Skin& s, qreal radius,
                     const Face& face)
{
    QImage img = artCopy(background, where);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBody(p, where.size(), s, radius);
    face(p, where.size(), s);
    p.end();
    return img;
}

QImage shapeMask(QSize size, qreal radius)
{
    return twoColourMask(size, roundedShape(size, radius));
}

ButtonArt buttonArt(const QImage& background, const QRect& where, const QColor& base,
                    const Face& face, qreal radius = kButtonRadius,
                    const Skin* downSkin = nullptr)
{
    ButtonArt art;
    art.up = paintedButton(background, where, skinFor(base, Look::Up), radius, face);
    art.down = paintedButton(background, where, downSkin ? *downSkin : skinFor(base, Look::Down),
                             radius, face);
    art.alt = paintedButton(background, where, skinFor(base, Look::Alt), radius, face);
    art.mask = shapeMask(where.size(), radius);
    art.locking = art.down;
    art.locked = paintedButton(background, where, skinFor(base, Look::Locked), radius, face);
    art.spare = art.up;
    return art;
}

// --- faces of the menu buttons --------------------------------------------------

// Edition buttons: a round indicator (filled when the edition is the current
// one) and the edition's name, big.
Face editionFace(const QString& name)
{
    return [name](QPainter& p, QSizeF size, const Skin& s) {
        const qreal cy = size.height() / 2.0 + s.drop;
        const QPointF dot(17, cy);
        p.setBrush(Qt::NoBrush);
        if (s.pressed) {
            p.setPen(QPen(s.ink, 2));
            p.setBrush(s.ink);
            p.drawEllipse(dot, 5.5, 5.5);
        } else {
            p.setPen(QPen(QColor(s.ink.red(), s.ink.green(), s.ink.blue(), 190), 2));
            p.drawEllipse(dot, 5.5, 5.5);
        }
        const QRectF textRect(28, s.drop, size.width() - 34, size.height());
        drawCaption(p, textRect, name, fittedFont(name, textRect.width(), 24, 14, false), s);
    };
}

Face customFace()
{
    return [](QPainter& p, QSizeF size, const Skin& s) {
        const qreal width = size.width() - 14;
        const QString top = QStringLiteral("LEZIONI");
        const QString bottom = QStringLiteral("PERSONALIZZATE");
        const QFont bottomFont = fittedFont(bottom, width, 14, 9);
        const QFont topFont = captionFont(15);
        const qreal h1 = QFontMetricsF(topFont).height();
        const qreal h2 = QFontMetricsF(bottomFont).height();
        const qreal y = (size.height() - h1 - h2) / 2.0 + s.drop;
        drawCaption(p, QRectF(0, y, size.width(), h1), top, topFont, s);
        drawCaption(p, QRectF(0, y + h1, size.width(), h2), bottom, bottomFont, s);
    };
}

// Pictogram over a caption, for the bottom row.
Face stackedFace(QPainterPath (*pictogram)(), const QString& caption)
{
    return [pictogram, caption](QPainter& p, QSizeF size, const Skin& s) {
        const qreal box = 24.0;
        const QFont font = fittedFont(caption, size.width() - 10, 14, 9);
        const qreal textHeight = QFontMetricsF(font).height();
        const qreal top = (size.height() - box - 2 - textHeight) / 2.0 + s.drop;
        fillPictogram(p, placed(pictogram(), QRectF((size.width() - box) / 2.0, top, box, box)),
                      s);
        drawCaption(p, QRectF(0, top + box + 2, size.width(), textHeight), caption, font, s);
    };
}

Face okFace()
{
    return [](QPainter& p, QSizeF size, const Skin& s) {
        const QString text = QStringLiteral("OK");
        const QFont font = captionFont(26, false);
        const qreal box = 28.0;
        const qreal gap = 8.0;
        const qreal total = box + gap + textWidth(font, text);
        const qreal left = (size.width() - total) / 2.0;
        const qreal top = (size.height() - box) / 2.0 + s.drop;
        fillPictogram(p, placed(checkPictogram(), QRectF(left, top, box, box)), s);
        drawCaption(p, QRectF(left + box + gap, s.drop, size.width(), size.height()), text, font,
                    s, Qt::AlignLeft | Qt::AlignVCenter);
    };
}

// The view-mode button: the two kinds of item on the left (the one not shown
// is dimmed), the mode's name on the right.
Face viewModeFace(ViewMode mode)
{
    return [mode](QPainter& p, QSizeF size, const Skin& s) {
        const bool signs = mode != ViewMode::QuestionsOnly;
        const bool questions = mode != ViewMode::SignsOnly;
        const qreal dim = 0.28;
        const qreal x = 7;
        const qreal signTop = size.height() / 2.0 - 27 + s.drop;
        paintWarningSign(p, QRectF(x, signTop, 26, 26), signs ? 1.0 : dim, s.grey);
        p.save();
        p.setOpacity(questions ? 1.0 : dim);
        fillPictogram(p, placed(questionBubblePictogram(), QRectF(x + 1, signTop + 28, 24, 24)),
                      s);
        p.restore();

        QStringList lines;
        switch (mode) {
        case ViewMode::QuestionsOnly:
            lines = {QStringLiteral("SOLO"), QStringLiteral("DOMANDE")};
            break;
        case ViewMode::SignsOnly:
            lines = {QStringLiteral("SOLO"), QStringLiteral("SEGNALI")};
            break;
        case ViewMode::Both:
            lines = {QStringLiteral("SEGNALI E"), QStringLiteral("DOMANDE")};
            break;
        }
        const QRectF textRect(37, s.drop, size.width() - 41, size.height());
        // One size for every mode, so the three pictures look alike.
        const QFont font = fittedFont(QStringLiteral("SEGNALI E"), textRect.width(), 16, 10);
        drawLines(p, textRect, lines, font, s, Qt::AlignHCenter, 1);
    };
}

// --- group pictures ---------------------------------------------------------------

void paintLetterBadge(QPainter& p, const QRectF& r, const QString& letter, const QColor& colour,
                      const Skin& s)
{
    const QColor paper = s.grey ? QColor(0xc4, 0xca, 0xd0)
                                : (s.pressed ? QColor(0xe3, 0xe9, 0xef) : QColor(Qt::white));
    const QColor ink = s.grey ? QColor(0x6b, 0x74, 0x7d) : colour.darker(115);
    if (s.inkShadow)
        p.fillPath(roundRect(r.left(), r.top() + 1, r.width(), r.height(), 7), kInkShadow);
    p.fillPath(roundRect(r.left(), r.top(), r.width(), r.height(), 7), paper);
    const QFont font = fittedFont(letter, r.width() - 6, qRound(r.height() * 0.78), 10, false);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(r, Qt::AlignCenter, letter);
}

Face groupFace(const QColor& colour, const QString& letter, const QString& title)
{
    return [=](QPainter& p, QSizeF size, const Skin& s) {
        const qreal badge = size.height() - 18;
        const QRectF badgeRect(9, 9 + s.drop, badge, badge);
        paintLetterBadge(p, badgeRect, letter, colour, s);
        const QRectF textRect(badgeRect.right() + 9, 3 + s.drop, size.width() - badge - 26,
                              size.height() - 6);
        // Two lines at a good size first; a third line before a size too small
        // to read from the back of the room.
        Wrapped w = wrapText(title, textRect.width(), 2, 16, 14);
        if (!w.complete)
            w = wrapText(title, textRect.width(), 3, 14, 12);
        drawLines(p, textRect, w.lines, w.font, s, Qt::AlignLeft, -1);
    };
}

// --- background -------------------------------------------------------------

void paintLabel(QPainter& p, const QRect& buttonBelow, const QString& text)
{
    QFont font = captionFont(12);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(font);
    p.setPen(kLabel);
    const QRectF r(buttonBelow.left() + 2, buttonBelow.top() - 20, buttonBelow.width(), 16);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
    // A hairline from the end of the label to the column's edge.
    const qreal end = r.left() + textWidth(font, text) + 8;
    p.fillRect(QRectF(end, r.center().y(), buttonBelow.right() + 1 - end, 1),
               QColor(kLabel.red(), kLabel.green(), kLabel.blue(), 90));
}

void paintTitle(QPainter& p)
{
    // Two lines, so that the row keeps room for the exam button.
    const QRect first = menuButtonRect(MenuButton::Esame);
    const QRectF area(30, first.top(), first.left() - 30 - 8, first.height());
    const QString title = QStringLiteral("Menu\ngenerale");
    const QFont font = fittedFont(QStringLiteral("generale"), area.width() - 14, 22, 12);
    p.fillPath(roundRect(area.left(), area.top() + 9, 5, area.height() - 18, 2.5), kAccent);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(area.adjusted(14, 1, 0, 1), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(Qt::white);
    p.drawText(area.adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
}

}  // namespace

QImage drawMenuBackground()
{
    QImage img = artCanvas(kMenuWindowRect.size(), QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient g(0, 0, 0, img.height());
    g.setColorAt(0, kBackTop);
    g.setColorAt(1, kBackBottom);
    p.fillRect(img.rect(), g);
    // A soft light behind the group card keeps the eye on it.
    QRadialGradient glow(QPointF(250, 190), 330);
    glow.setColorAt(0, QColor(kBackGlow.red(), kBackGlow.green(), kBackGlow.blue(), 90));
    glow.setColorAt(1, QColor(kBackGlow.red(), kBackGlow.green(), kBackGlow.blue(), 0));
    p.fillRect(img.rect(), glow);

    // The group card.
    const QRectF card = QRectF(groupPanelRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    paintSoftShadow(p, card, 10, 2, 6, 150, kShadow);
    p.setPen(QPen(kCardEdge, 1));
    p.setBrush(kCard);
    p.drawRoundedRect(card, 10, 10);

    // Right column labels and the rule over the bottom row.
    paintLabel(p, menuButtonRect(MenuButton::LNormal), QStringLiteral("EDIZIONE"));
    paintLabel(p, menuButtonRect(MenuButton::SDom), QStringLiteral("MODALITÀ"));
    const int ruleY = menuButtonRect(MenuButton::OK).top() - 9;
    p.fillRect(QRect(30, ruleY, 580, 1), kRule);
    p.fillRect(QRect(30, ruleY + 1, 580, 1), QColor(0x05, 0x12, 0x1b));
    paintTitle(p);

    for (int i = 0; i < kMenuButtonCount; ++i) {
        const QRectF r = QRectF(menuButtonRect(static_cast<MenuButton>(i)));
        paintSoftShadow(p, r.adjusted(0.5, 0.5, -0.5, -0.5), kButtonRadius, 1.5, 3, 170, kShadow);
    }
    p.end();
    return img;
}

namespace {

// Drawn once per art scale: the window and every picture share it.
const QImage& cachedBackground()
{
    static QImage background;
    if (background.isNull() || background.devicePixelRatio() != artScale())
        background = drawMenuBackground();
    return background;
}

}  // namespace

// --- public ---------------------------------------------------------------------

QImage menuBackground()
{
    return cachedBackground();
}

ButtonArt menuButtonArt(MenuButton b)
{
    // Drawn once: every button is cut from the same background.
    const QImage& background = cachedBackground();
    const QRect r = menuButtonRect(b);
    const Skin selected = selectedEditionSkin();
    switch (b) {
    case MenuButton::LNormal:
        return buttonArt(background, r, kSteel, editionFace(QStringLiteral("A-B")), kButtonRadius,
                         &selected);
    case MenuButton::LCiclo:
        return buttonArt(background, r, kSteel, editionFace(QStringLiteral("AM")), kButtonRadius,
                         &selected);
    case MenuButton::LSuperiori:
        return buttonArt(background, r, kSteel, editionFace(QStringLiteral("C-D-E")),
                         kButtonRadius, &selected);
    case MenuButton::LCqc:
        return buttonArt(background, r, kSteel, editionFace(QStringLiteral("CQC")), kButtonRadius,
                         &selected);
    case MenuButton::LCustom:
        return buttonArt(background, r, kSteel, customFace(), kButtonRadius, &selected);
    case MenuButton::SDom: return viewModeArt(ViewMode::Both);
    case MenuButton::Esame:
        return buttonArt(background, r, kSteel,
                         stackedFace(stopwatchPictogram, QStringLiteral("ESAME")));
    case MenuButton::Configura:
        return buttonArt(background, r, kSteel,
                         stackedFace(gearPictogram, QStringLiteral("CONFIGURA")));
    case MenuButton::Stampa:
        return buttonArt(background, r, kSteel,
                         stackedFace(printerPictogram, QStringLiteral("STAMPA")));
    case MenuButton::ESCI:
        return buttonArt(background, r, kStop, stackedFace(exitPictogram, QStringLiteral("ESCI")));
    case MenuButton::OK: return buttonArt(background, r, kGo, okFace());
    }
    return {};
}

ButtonArt viewModeArt(ViewMode mode)
{
    const QImage& background = cachedBackground();
    return buttonArt(background, menuButtonRect(MenuButton::SDom), kSteel, viewModeFace(mode));
}

QColor groupColour(int tag)
{
    // Ten clearly different hues, all dark enough for white captions.
    static const std::array<QColor, kGroupCount> kColours{
        QColor(0xc6, 0x28, 0x28),  // red
        QColor(0xc2, 0x51, 0x0e),  // orange
        QColor(0x8a, 0x6d, 0x00),  // ochre
        QColor(0x2e, 0x7d, 0x32),  // green
        QColor(0x00, 0x79, 0x6b),  // teal
        QColor(0x15, 0x65, 0xc0),  // blue
        QColor(0x39, 0x49, 0xab),  // indigo
        QColor(0x6a, 0x1b, 0x9a),  // purple
        QColor(0xad, 0x14, 0x57),  // magenta
        QColor(0x5d, 0x40, 0x37),  // brown
    };
    if (tag < 1 || tag > kGroupCount)
        return QColor(0x60, 0x6a, 0x74);
    return kColours[static_cast<size_t>(tag - 1)];
}

ButtonArt groupButtonArt(int tag, const QString& letter, const QString& title)
{
    const QImage& background = cachedBackground();
    const QRect r = groupButtonRect(tag);
    if (r.isEmpty())
        return {};
    const QRect where = r.translated(groupPanelRect().topLeft());
    const QColor colour = groupColour(tag);
    return buttonArt(background, where, colour, groupFace(colour, letter, title));
}

QImage groupHeadPicture(int tag, const QString& letter, const QString& title)
{
    const QImage& background = cachedBackground();
    if (tag < 1 || tag > kGroupCount)
        return {};
    const QColor colour = groupColour(tag);
    const Face face = [&](QPainter& p, QSizeF size, const Skin& s) {
        const qreal badge = size.height() - 12;
        const QRectF badgeRect(6, 6, badge, badge);
        paintLetterBadge(p, badgeRect, letter, colour, s);

        // The return mark on the right: going back to the group buttons.
        const qreal mark = size.height() - 16;
        const QRectF markRect(size.width() - mark - 10, 8, mark, mark);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 46));
        p.drawEllipse(markRect.adjusted(-2, -2, 2, 2));
        fillPictogram(p, placed(returnPictogram(), markRect.adjusted(6, 6, -6, -6)), s);

        const QRectF textRect(badgeRect.right() + 12, 0, markRect.left() - badgeRect.right() - 22,
                              size.height());
        Wrapped w = wrapText(title, textRect.width(), 1, 21, 16);
        if (!w.complete)
            w = wrapText(title, textRect.width(), 2, 17, 13);
        drawLines(p, textRect, w.lines, w.font, s, Qt::AlignLeft);
    };
    return paintedButton(background, groupHeadRect(), skinFor(colour, Look::Up), 9.0, face);
}

QImage filmIcon()
{
    const QImage& background = cachedBackground();
    QImage img = artCopy(background, filmIconRect(0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, kListIconSize, kListIconSize);
    p.fillPath(placed(filmPictogram(), box), QColor(0x26, 0x32, 0x38));
    const QPainterPath play = polygon({{9.0, 7.6}, {9.0, 16.4}, {16.6, 12.0}});
    p.fillPath(placed(play.united(stroked(play, 1.2)), box), QColor(0xff, 0xc4, 0x3d));
    p.end();
    return img;
}

QImage htmlIcon()
{
    const QImage& background = cachedBackground();
    QImage img = artCopy(background, htmlIconRect(0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF box(0, 0, kListIconSize, kListIconSize);
    const QColor blue(0x15, 0x65, 0xc0);
    // A sheet with a folded corner.
    const QPainterPath sheet = placed(polygon({{3, 0.8}, {16, 0.8}, {21.2, 6}, {21.2, 23.2},
                                               {3, 23.2}}),
                                      box);
    p.setPen(QPen(blue.darker(140), 1.1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.fillPath(placed(polygon({{16, 0.8}, {21.2, 6}, {16, 6}}), box), QColor(0xbb, 0xd3, 0xef));
    // A blue band across it with "www", hinted so it stays crisp this small.
    p.fillRect(QRectF(0.5, 8, kListIconSize - 1, 9), blue);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setBold(true);
    font.setStretch(QFont::Condensed);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 8, kListIconSize, 8), Qt::AlignCenter, QStringLiteral("www"));
    // A couple of text lines under it.
    for (const qreal y : {18.5, 20.8})
        p.fillRect(QRectF(5.5, y, 12, 1.1), QColor(0x90, 0xa4, 0xb8));
    p.end();
    return img;
}

}  // namespace ziro
