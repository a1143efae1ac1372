#include "viewers/photo_render.h"

#include "controls/photo_filters.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <climits>
#include <cmath>

namespace ziro {

namespace {

constexpr double kRadToDeg = 57.295779513082320877;
constexpr double kDegToRad = 0.017453292519943295769;
// A single-line caption's font search stops here whatever its box says.
constexpr int kLargestFit = 1000;

int clampToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

QPoint offsetFrom(QPoint base, double dx, double dy)
{
    return QPoint(clampToInt(qint64(base.x()) + qint64(std::trunc(dx))),
                  clampToInt(qint64(base.y()) + qint64(std::trunc(dy))));
}

// The label breaks lines at CR, CR LF and LF alike.
QString shownText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(u'\r', u'\n');
    return t.isEmpty() ? QStringLiteral(" ") : t;
}

QFont captionFont(const PhotoCaption& c, int points)
{
    QFont font(c.fontName);
    // Points at 96 dots per inch, as the captions were laid out.
    font.setPixelSize(std::max(1, int(mulDivRounded(std::max(points, 1), 96, 72))));
    font.setBold(c.bold);
    font.setItalic(c.italic);
    return font;
}

int widestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

Qt::Alignment horizontal(CaptionAlignment a)
{
    switch (a) {
    case CaptionAlignment::Left: return Qt::AlignLeft;
    case CaptionAlignment::Right: return Qt::AlignRight;
    default: return Qt::AlignHCenter;
    }
}

int labelFlags(const PhotoCaption& c)
{
    return int(horizontal(c.alignment) | Qt::AlignTop) | Qt::TextWordWrap | Qt::TextExpandTabs;
}

// The label's area moved onto the photograph; the label draws 2 pixels up
// and left of its client area.
QRect labelArea(const QRect& labelRect)
{
    return QRect(labelRect.left() - 2, labelRect.top() - 2, labelRect.width(), labelRect.height() + 2);
}

}  // namespace

// ---------------------------------------------------------------- arrows

ArrowGeometry PaintPx(QPoint origin, QPoint tip)
{
    ArrowGeometry a;
    a.origin = origin;
    a.tip = tip;
    const qint64 dx = qint64(origin.x()) - tip.x();
    const qint64 dy = qint64(origin.y()) - tip.y();
    if (dx == 0)
        a.angleDegrees = 0;
    else if (dy == 0)
        a.angleDegrees = 90;
    else
        a.angleDegrees = std::atan(double(dx) / double(dy)) * kRadToDeg;

    const double length = std::sqrt(double(dx) * double(dx) + double(dy) * double(dy));
    a.headLength = length < 90 ? 18 : length > 190 ? 38 : 0.2 * length;

    const bool reversed = (origin.x() > tip.x() && origin.y() == tip.y()) != (origin.y() <= tip.y());
    a.wingAngle = reversed ? 198 : 18;
    const double notchDepth = reversed ? -std::trunc(0.7 * a.headLength) : std::trunc(0.7 * a.headLength);

    const double phi = a.angleDegrees;
    const double beta = a.wingAngle;
    const double L = a.headLength;
    a.wing1 = offsetFrom(tip, std::sin((beta + phi) * kDegToRad) * L, std::cos((beta + phi) * kDegToRad) * L);
    a.wing2 = offsetFrom(tip, std::sin((phi - beta) * kDegToRad) * L, std::cos((phi - beta) * kDegToRad) * L);
    a.notch = offsetFrom(tip, std::sin(phi * kDegToRad) * notchDepth, std::cos(phi * kDegToRad) * notchDepth);
    return a;
}

void drawArrow(QPainter& painter, const ArrowGeometry& arrow, const QColor& colour)
{
    painter.save();
    painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawLine(arrow.origin, arrow.notch);
    const QPolygon head({arrow.notch, arrow.wing1, arrow.tip, arrow.wing2, arrow.notch});
    painter.drawPolygon(head);
    painter.restore();
}

// ---------------------------------------------------------------- caption

int captionShownFontSize(const PhotoCaption& c)
{
    if (c.multiLine)
        return std::max(1, c.fontSize);
    const QString text = shownText(c.text);
    int size = 1;
    for (; size < kLargestFit; ++size) {
        const QFontMetrics metrics(captionFont(c, size));
        if (metrics.height() >= c.height || widestLine(metrics, text) >= c.width)
            break;
    }
    return std::max(1, size - 2);
}

QSize captionTextSize(const PhotoCaption& c, int points, int wrapWidth)
{
    const QString text = shownText(c.text);
    const QFontMetrics metrics(captionFont(c, points));
    if (wrapWidth > 0) {
        const QRect r = metrics.boundingRect(QRect(0, 0, wrapWidth, 1 << 20), labelFlags(c), text);
        return QSize(wrapWidth, std::max(1, r.height() + 2));
    }
    const int lines = int(text.count(u'\n')) + 1;
    return QSize(std::max(1, widestLine(metrics, text) + 4), std::max(1, metrics.lineSpacing() * lines + 2));
}

void paintCaptionLabel(QPainter& painter, const PhotoCaption& c, const QRect& labelRect)
{
    const QString text = shownText(c.text);
    painter.save();
    painter.setFont(captionFont(c, captionShownFontSize(c)));
    const QRect area = labelArea(labelRect);
    const int flags = labelFlags(c);
    auto pass = [&](QPoint offset, const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(area.translated(offset), flags, text);
    };
    const QColor highlight(255, 255, 255);
    switch (c.effect) {
    case CaptionEffect::Resit3d:
        pass({1, 1}, highlight);
        pass({-1, -1}, c.shadowColour);
        break;
    case CaptionEffect::Raised3d:
        pass({1, 1}, c.shadowColour);
        pass({-1, -1}, highlight);
        break;
    case CaptionEffect::Shadowed3d:
        pass(kCaptionShadeOffset, c.shadowColour);
        break;
    case CaptionEffect::Normal3d:
        break;
    }
    pass({0, 0}, c.fontColour);
    painter.restore();
}

namespace {

// Where the box and the caption can leave paint: the box, and the label's
// area united with its text (a multi-line caption may run past its box),
// grown by the 3-D and shadow offsets.
QRect captionPaintBounds(const PhotoCaption& c, const QRect& label)
{
    const QRect area = labelArea(label);
    const QFontMetrics metrics(captionFont(c, captionShownFontSize(c)));
    QRect bounds = area.united(metrics.boundingRect(area, labelFlags(c), shownText(c.text))).adjusted(-3, -3, 3, 3);
    if (c.background)
        bounds = bounds.united(captionBackgroundRect(c).translated(kCaptionToPhoto).adjusted(-1, -1, 1, 1));
    return bounds;
}

}  // namespace

void paintCaption(QPainter& painter, const PhotoCaption& caption, const CaptionLabelPainter& labelPainter)
{
    if (caption.background) {
        const QRect box = captionBackgroundRect(caption).translated(kCaptionToPhoto);
        // The corners are quarter ellipses min(w, h) / 4 across.
        const double radius = std::min(box.width(), box.height()) / 4 / 2.0;
        painter.save();
        painter.setPen(QPen(caption.captionColour, 1));
        painter.setBrush(caption.captionColour);
        painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
        painter.restore();
    }
    const QRect label = caption.box().translated(kCaptionToPhoto);
    if (labelPainter)
        labelPainter(painter, caption, label);
    else
        paintCaptionLabel(painter, caption, label);
}

void burnCaption(QImage& picture, const PhotoCaption& caption, const BurnOptions& options)
{
    if (picture.isNull())
        return;
    picture = toPhotoFormat(picture);
    QPainter painter(&picture);
    const QRectF& frame = options.pictureInAlbum;
    const bool scaled = !frame.isEmpty() && (frame.topLeft() != QPointF(0, 0) || frame.size() != QSizeF(picture.size()));
    if (scaled) {
        painter.scale(picture.width() / frame.width(), picture.height() / frame.height());
        painter.translate(-frame.topLeft());
    }
    if (options.arrows) {
        for (const CaptionArrow& arrow : caption.arrows) {
            if (arrow.present())
                drawArrow(painter, PaintPx(arrow.origin, arrow.tip), caption.arrowColour);
        }
    }
    if (!options.caption)
        return;
    if (!scaled) {
        paintCaption(painter, caption, options.labelPainter);
        return;
    }
    // On a picture of another size the caption is laid out on the frame, as
    // it was on screen, and its layer scaled onto the picture: large glyphs
    // drawn through a scaling painter cost several times more.
    const QRect bounds = captionPaintBounds(caption, caption.box().translated(kCaptionToPhoto));
    if (bounds.isEmpty() || qint64(bounds.width()) * bounds.height() > qint64(16) * 1024 * 1024)
        return;
    QImage layer(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return;
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.translate(-bounds.topLeft());
        paintCaption(layerPainter, caption, options.labelPainter);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(bounds), layer);
}

QImage enlargePhoto(const QImage& photo, const PhotoCaption* caption, const BurnOptions& options, QSize target)
{
    if (photo.isNull())
        return {};
    QImage picture = toPhotoFormat(photo);
    if (caption)
        burnCaption(picture, *caption, options);
    QImage enlarged = RidimensionaLiscio(picture, target);
    Nitidezza(enlarged, kNitidezzaEnlarged);
    return enlarged;
}

}  // namespace ziro
