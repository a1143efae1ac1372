#include "shell/presentation.h"

#include <algorithm>

namespace ziro {

double fitScale(QSizeF area, QSizeF surface)
{
    if (!(area.width() > 0 && area.height() > 0 && surface.width() > 0 && surface.height() > 0))
        return 1.0;
    return std::min(area.width() / surface.width(), area.height() / surface.height());
}

QRectF fittedRect(QSizeF area, QSizeF surface)
{
    if (area.isEmpty())
        return QRectF(QPointF(0, 0), surface);
    const double s = fitScale(area, surface);
    const QSizeF size = surface * s;
    const QPointF origin((area.width() - size.width()) / 2.0, (area.height() - size.height()) / 2.0);
    return QRectF(origin, size);
}

}  // namespace ziro
