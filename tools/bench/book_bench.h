#pragma once

// ziro-bench --book: turning a course-book page as the book viewer does
// against decoding that page alone, measured in the same run.

namespace ziro::bench {

// Interleaved runs of each when no count is given.
inline constexpr int kDefaultBookRuns = 60;

// Makes its own QApplication (none may exist yet; `argv0` names the
// program), writes a folder of 1,000 generated masked pages (580 x 1,600,
// numbered with gaps) for the A-B edition (highest page 236) and for C-D-E
// (highest page 9,999,999), and prints "turn_ms", "decode_ms",
// "turn_ms_9999999" (medians of `runs` interleaved runs), the ratio, and
// "end_ms_9999999" (forward from the last page of an edition whose highest
// page is 9,999,999: nothing is found, the report is made).
// Returns the process exit code.
int runBook(const char* argv0, int runs);

}  // namespace ziro::bench
