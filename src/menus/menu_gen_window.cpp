#include "menus/menu_gen_window.h"

namespace ziro {

TMenuGen::TMenuGen(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TMenuGen"), QRect(0, 0, 640, 480))
{
    setWindowTitle(QString::fromUtf8("Menu generale"));
}

}  // namespace ziro
