#include "menus/back_sub_arg_window.h"

namespace ziro {

TBackSubArg::TBackSubArg(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TBackSubArg"), QRect(31, 196, 577, 88))
{
    setWindowTitle(QString::fromUtf8(""));
}

}  // namespace ziro
