#pragma once

// ziro-bench --photo: enlarging a photograph as the photo viewer does
// against Qt's own smooth scaling of the same picture, measured in the same
// run.

namespace ziro::bench {

// Interleaved runs of each when no count is given.
inline constexpr int kDefaultPhotoRuns = 60;

// Makes its own QGuiApplication (none may exist yet; `argv0` names the
// program), writes a generated 1024 x 768 masked photograph into a temporary
// folder and prints "enlarge_ms", "qt_smooth_ms" and "ratio" (medians of
// `runs` interleaved runs), then the parts of the enlargement. Returns the
// process exit code.
int runPhoto(const char* argv0, int runs);

}  // namespace ziro::bench
