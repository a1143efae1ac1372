#include "config/config_window.h"

namespace ziro {

TConfig::TConfig(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TConfig"), QRect(0, 0, 640, 480))
{
    setWindowTitle(QString::fromUtf8("Configurazione"));
}

}  // namespace ziro
