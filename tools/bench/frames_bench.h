#pragma once

#include <QString>

// ziro-bench --frames [FILE]: exact frames of a crossroads animation in the
// real player (the film engine behind the crossroads exercise, painted in
// the exercise's panel inside the presentation filling a 1920 x 1080
// screen): random seeks and single steps forward and back, each frame read
// back from the picture made ready to paint, against libmpv alone seeking
// and drawing the same frames at the same size in the same run.

namespace ziro::bench {

// FILE is an animation (".KXA" masked or ".AVI"); without one a generated
// animation is used. Prints "frames_wrong", "seek_ms", "step_ms",
// "render_ms" and "seek_ratio". Returns the process exit code.
int runFrames(const char* argv0, const QString& film, int requests);

inline constexpr int kDefaultFrameRequests = 200;

}  // namespace ziro::bench
