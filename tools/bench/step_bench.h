#pragma once

// ziro-bench --step: the forward step of the walk against decoding the sign
// picture it shows, measured in the same run.

namespace ziro::bench {

// Forward steps measured on each table when no count is given.
inline constexpr int kDefaultStepCount = 400;

// Generates content tables of 3,000 and 30,000 records, walks both with
// forward steps that each show a sign, and prints "step_ms", "step_ms_30k"
// and "decode_ms" (medians). `steps` measured steps per table. Returns the
// process exit code.
int runStep(int steps);

}  // namespace ziro::bench
