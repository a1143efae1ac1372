#pragma once

// ziro-bench --present: a frame of the 640 x 480 window presented filling a
// 1920 x 1080 screen against the same window drawn unscaled, and the cost of
// drawing the artwork at art scale 3 against art scale 1, measured in the
// same run.

namespace ziro::bench {

// Runs when no count is given.
inline constexpr int kDefaultPresentRuns = 15;

// Makes its own QApplication on the offscreen platform with one 1920 x 1080
// screen (none may exist yet; `argv0` names the program), and prints
// "frame_scaled_ms", "frame_plain_ms", "frame_ratio", "frame_ratio_per_pixel",
// "art_ms_1", "art_ms_3" (medians of `runs` interleaved runs) and "art_mb_3".
// Returns the process exit code.
int runPresent(const char* argv0, int runs);

}  // namespace ziro::bench
