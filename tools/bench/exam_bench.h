#pragma once

// ziro-bench --exam: drawing a mock exam from a 7,000-statement A-B bank
// against opening a 10-statement block in the quiz.

namespace ziro::bench {

inline constexpr int kDefaultExamRuns = 200;

// Prints "draw_first_ms" (the first draw after the bank opened, which
// indexes its blocks), "draw_ms" (median of `runs` draws, each with its own
// seed), "open_ms" (median of loading a 10-statement block) and "ratio".
int runExam(int runs);

}  // namespace ziro::bench
