#include "viewers/tv_libro_window.h"

namespace ziro {

TTVlibro::TTVlibro(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVlibro"), QRect(18, 20, 603, 374))
{
    setWindowTitle(QString::fromUtf8("Libro"));
}

}  // namespace ziro
