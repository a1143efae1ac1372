#include "viewers/tv_testo_window.h"

namespace ziro {

TTVtesto::TTVtesto(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVtesto"), QRect(71, 128, 498, 223))
{
    setWindowTitle(QString::fromUtf8("Note"));
}

}  // namespace ziro
