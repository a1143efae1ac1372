#pragma once

// Drawing pieces shared by the program's own artwork (the lesson screen's
// and the menus'): small path builders, a soft drop shadow, and the strict
// two-colour mask of a picture button.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <initializer_list>

class QPainter;

namespace ziro {

QPainterPath roundRect(qreal x, qreal y, qreal w, qreal h, qreal r);
QPainterPath circle(QPointF c, qreal r);
QPainterPath polygon(std::initializer_list<QPointF> points);

// A shadow of `rings` widening rounded rectangles around `r`, moved down by
// `dy`, each fainter than the last, in `shade` at up to `alpha`.
void paintSoftShadow(QPainter& p, const QRectF& r, qreal radius, qreal dy, int rings, int alpha,
                     const QColor& shade);

// The mask of a button of `size` window pixels whose face is `shape`, at the
// art scale: drawn antialiased and cut at half coverage, so it holds only
// white (the button) and black (see-through).
QImage twoColourMask(QSize size, const QPainterPath& shape);

}  // namespace ziro
