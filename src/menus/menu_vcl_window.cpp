#include "menus/menu_vcl_window.h"

namespace ziro {

TMenuVcl::TMenuVcl(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TMenuVcl"), QRect(0, 0, 640, 480))
{
    setWindowTitle(QString::fromUtf8("Menu icone"));
}

}  // namespace ziro
