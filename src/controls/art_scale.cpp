#include "controls/art_scale.h"

#include <algorithm>
#include <cmath>

namespace ziro {

namespace {
qreal g_scale = 1.0;
}

qreal artScale()
{
    return g_scale;
}

void setArtScale(qreal scale)
{
    g_scale = std::clamp(scale, 1.0, 4.0);
}

qreal artScaleFor(qreal surfaceScale, qreal devicePixelRatio)
{
    const qreal wanted = std::max(surfaceScale, 1.0) * std::max(devicePixelRatio, 1.0);
    // A whole factor keeps one-pixel lines of the artwork on device pixels.
    return std::clamp(std::ceil(wanted - 1e-6), 1.0, 4.0);
}

QImage artCanvas(QSize size, QImage::Format format)
{
    const qreal s = artScale();
    QImage img(QSize(qRound(size.width() * s), qRound(size.height() * s)), format);
    img.setDevicePixelRatio(s);
    return img;
}

QImage artCopy(const QImage& picture, const QRect& r)
{
    const qreal s = picture.devicePixelRatio();
    QImage part = picture.copy(QRect(qRound(r.x() * s), qRound(r.y() * s), qRound(r.width() * s),
                                     qRound(r.height() * s)));
    part.setDevicePixelRatio(s);
    return part;
}

QSize artSize(const QImage& picture)
{
    return picture.deviceIndependentSize().toSize();
}

}  // namespace ziro
