#include "viewers/tv_html_window.h"

namespace ziro {

TTVhtml::TTVhtml(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVhtml"), QRect(14, 48, 612, 383))
{
    setWindowTitle(QString::fromUtf8(""));
}

}  // namespace ziro
