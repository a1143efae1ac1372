#include "viewers/tv_foto_window.h"

namespace ziro {

TTVFoto::TTVFoto(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVFoto"), QRect(16, 20, 608, 376))
{
    setWindowTitle(QString::fromUtf8("Foto"));
}

}  // namespace ziro
