#include "viewers/tv_avc_window.h"

namespace ziro {

TTVavc::TTVavc(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVavc"), QRect(99, 30, 440, 350))
{
    setWindowTitle(QString::fromUtf8("Video"));
}

}  // namespace ziro
