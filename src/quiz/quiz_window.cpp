#include "quiz/quiz_window.h"

namespace ziro {

TQuiz::TQuiz(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TQuiz"), QRect(17, 54, 605, 372))
{
    setWindowTitle(QString::fromUtf8("Quiz"));
}

}  // namespace ziro
