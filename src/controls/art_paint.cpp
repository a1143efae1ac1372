#include "controls/art_paint.h"

#include "controls/art_scale.h"

#include <QList>
#include <QPainter>
#include <QPolygonF>

namespace ziro {

QPainterPath roundRect(qreal x, qreal y, qreal w, qreal h, qreal r)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath circle(QPointF c, qreal r)
{
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

void paintSoftShadow(QPainter& p, const QRectF& r, qreal radius, qreal dy, int rings, int alpha,
                     const QColor& shade)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = rings; i >= 1; --i) {
        const qreal grow = i;
        QColor c = shade;
        c.setAlpha(alpha / (i + 1));
        p.setBrush(c);
        p.drawRoundedRect(r.adjusted(-grow, -grow + dy, grow, grow + dy), radius + grow,
                          radius + grow);
    }
    p.restore();
}

QImage twoColourMask(QSize size, const QPainterPath& shape)
{
    QImage cover = artCanvas(size, QImage::Format_Grayscale8);
    cover.fill(0);
    {
        QPainter p(&cover);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(shape, Qt::white);
    }
    QImage mask = artCanvas(size, QImage::Format_RGB32);
    for (int y = 0; y < cover.height(); ++y) {
        const uchar* src = cover.constScanLine(y);
        auto* dst = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < cover.width(); ++x)
            dst[x] = src[x] >= 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return mask;
}

}  // namespace ziro
