#include "quiz/quiz_color_window.h"

namespace ziro {

TQuizColor::TQuizColor(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TQuizColor"), QRect(170, 130, 300, 220))
{
    setWindowTitle(QString::fromUtf8("Impostazione colori"));
}

}  // namespace ziro
