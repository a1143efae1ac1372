#include "menus/menu_img_window.h"

namespace ziro {

TMenuImg::TMenuImg(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TMenuImg"), QRect(0, 0, 640, 480))
{
    setWindowTitle(QString::fromUtf8("Menu icone"));
}

}  // namespace ziro
