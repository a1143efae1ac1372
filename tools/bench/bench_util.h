#pragma once

// Timing and reporting pieces shared by the modes of ziro-bench.

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

}  // namespace ziro::bench
