#include "crossroads/tv_cross_window.h"

namespace ziro {

TTVcross::TTVcross(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVcross"), QRect(99, 30, 440, 350))
{
    setWindowTitle(QString::fromUtf8("Incroci"));
}

}  // namespace ziro
