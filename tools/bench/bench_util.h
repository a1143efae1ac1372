#pragma once

// Timing and reporting pieces shared by the modes of ziro-bench.

#include "platform/files/atomic_save.h"

#include <QByteArray>
#include <QFile>
#include <QSize>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ziro::bench {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

[[noreturn]] inline void fail(const QString& message)
{
    std::fprintf(stderr, "ziro-bench: %s\n", qPrintable(message));
    std::exit(2);
}

// The offscreen platform's only screen is 800 x 800 unless it is given one:
// a screen of `size`, described in `folder` and read by the platform as the
// application starts (it wins over any platform set in the environment).
inline void useOffscreenScreen(const QString& folder, QSize size)
{
    const QString path = folder + QStringLiteral("/screen.json");
    const QByteArray json = QStringLiteral(R"({"screens":[{"name":"large","x":0,"y":0,"width":%1,"height":%2,)"
                                           R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                                .arg(size.width())
                                .arg(size.height())
                                .toUtf8();
    QString error;
    if (!saveFileAtomically(path, json, &error))
        fail(error);
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen:configfile=") + QFile::encodeName(path));
}

}  // namespace ziro::bench
