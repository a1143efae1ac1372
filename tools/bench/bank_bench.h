#pragma once

// ziro-bench --bank: loading a question bank against pugixml's own parse of
// the same file, and opening a block on banks of two sizes.

#include <QString>

namespace ziro::bench {

inline constexpr int kDefaultBankRuns = 15;

// With a file: loads it as a question bank and prints "bank_ms",
// "pugixml_ms" (medians of `runs` interleaved runs), "blocks" and
// "statements". Without one: the same for a generated bank of 7,000
// statements in blocks of 10, then "open_ms" (median of loading a
// 10-statement block) and "open_ms_10x" (the same on a 70,000-statement
// bank). Returns the process exit code.
int runBank(const QString& file, int runs);

// Median of `loads` openings (LeggiNewQuiz) of 10-statement blocks of the A-B
// bank in `folder`, spread over the bank; the reference the exam's draw is
// measured against too.
double openBlockMs(const QString& folder, int loads);

}  // namespace ziro::bench
