#include "annotate/tools_window.h"

namespace ziro {

TTools::TTools(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTools"), QRect(89, 395, 462, 85))
{
    setWindowTitle(QString::fromUtf8("Strumenti"));
}

}  // namespace ziro
