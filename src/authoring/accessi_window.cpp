#include "authoring/accessi_window.h"

namespace ziro {

TAccessi::TAccessi(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TAccessi"), QRect(145, 90, 350, 300))
{
    setWindowTitle(QString::fromUtf8("Accesso personalizzato a più insegnanti"));
}

}  // namespace ziro
