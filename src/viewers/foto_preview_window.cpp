#include "viewers/foto_preview_window.h"

namespace ziro {

TFotoPreview::TFotoPreview(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TFotoPreview"), QRect(28, 54, 584, 372))
{
    setWindowTitle(QString::fromUtf8("Anteprime foto disponibili"));
}

}  // namespace ziro
