#include "viewers/tv_video_window.h"

namespace ziro {

TTVvideo::TTVvideo(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVvideo"), QRect(99, 30, 440, 350))
{
    setWindowTitle(QString::fromUtf8("Video"));
}

}  // namespace ziro
