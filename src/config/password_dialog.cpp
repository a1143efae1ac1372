#include "config/password_dialog.h"

namespace ziro {

TPasswordDlg::TPasswordDlg(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TPasswordDlg"), QRect(170, 180, 300, 120))
{
    setWindowTitle(QString::fromUtf8("Pagina riservata"));
}

}  // namespace ziro
