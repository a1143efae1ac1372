#include "viewers/remote_window.h"

namespace ziro {

TRemote::TRemote(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TRemote"), QRect(200, 380, 240, 33))
{
    setWindowTitle(QString::fromUtf8("Controllo filmati"));
}

}  // namespace ziro
