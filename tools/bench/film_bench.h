#pragma once

// ziro-bench --film: a generated 640 x 480, 25 fps film played in a film
// surface filling the 640 x 480 window presented on a 1920 x 1080 screen,
// against libmpv alone decoding the same film and drawing it into a buffer
// of the same size as fast as it can, measured in the same run.

namespace ziro::bench {

// Makes its own QApplication on the offscreen platform with one 1920 x 1080
// screen (none may exist yet; `argv0` names the program), plays a film of
// `seconds` with no sound device and prints "late_frames", "dropped_frames",
// "frames_shown", "cpu_ms_per_frame", "render_ms_per_frame" and
// "cpu_ratio". Returns the process exit code.
int runFilm(const char* argv0, int seconds);

inline constexpr int kDefaultFilmSeconds = 10;

}  // namespace ziro::bench
