#include "menus/in_text_dialog.h"

namespace ziro {

TInText::TInText(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TInText"), QRect(75, 200, 490, 80))
{
    setWindowTitle(QString::fromUtf8("Ziro"));
}

}  // namespace ziro
