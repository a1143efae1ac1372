#include "authoring/select_window.h"

namespace ziro {

TSelect::TSelect(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TSelect"), QRect(120, 60, 400, 360))
{
    setWindowTitle(QString::fromUtf8("Lezioni personalizzate"));
}

}  // namespace ziro
