#include "base/attesa.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace ziro {

void Attesa(double seconds, bool handleEvents)
{
    if (!(seconds > 0))
        return;
    const int ms = static_cast<int>(std::lround(seconds * 1000.0));
    if (!handleEvents) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace ziro
