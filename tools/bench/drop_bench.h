#pragma once

// ziro-bench --drop: a drop in the lesson editor, which writes the whole
// lesson at once, against the atomic save of that lesson alone.

namespace ziro::bench {

inline constexpr int kDefaultDropSteps = 200;

// Appends `steps` steps to a new lesson, each with a block of statements
// and photographs dropped onto it (every drop saved), and prints
// "drop_ms" (median per drop, save included) and "save_ms" (median of the
// same lesson saved alone, interleaved). Returns the process exit code.
int runDrop(int steps);

}  // namespace ziro::bench
