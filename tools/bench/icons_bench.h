#pragma once

// ziro-bench --icons: opening the sign category menu against decoding its
// picture plus a pugixml parse of the content file, measured in the same run.

namespace ziro::bench {

inline constexpr int kDefaultIconsRuns = 11;

// Makes its own application on an offscreen 1920 x 1080 screen (none may
// exist yet; `argv0` names the process). Prints "open_ms" (the menu's
// picture decoded, the quiz marks read from a generated 30,000-record
// content file, the menu shown and the first frame of the filled
// presentation rendered), "reference_ms" (decoding the same JPEG plus
// pugixml's parse of the same file), their "ratio", "decode_ms" and
// "pugixml_ms" (medians of `runs` interleaved runs). Returns the process
// exit code.
int runIcons(const char* argv0, int runs);

}  // namespace ziro::bench
