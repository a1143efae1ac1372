#pragma once

namespace ziro {

// Whether sound can be played: a short silence is loaded into libmpv and
// the audio output that opened for it is asked for. No output (no sound
// card, no sound server, or libmpv missing) is false. Takes a few tens of
// milliseconds; `timeoutMs` bounds it on a machine whose sound system hangs.
// `output` names libmpv's audio output to try instead of its own choice
// ("null" opens without a device).
bool probeSoundOutput(int timeoutMs = 2000, const char* output = nullptr);

}  // namespace ziro
