#pragma once

namespace ziro {

// The audio outputs libmpv may try, best first. Left to itself libmpv falls
// through every output it was built with once the sound servers and ALSA
// have failed (a machine without a sound card), down to SDL's, which can
// crash the whole program when two players start it at once. A classroom PC
// plays through one of these or has no sound at all.
#if defined(__linux__)
inline constexpr char kAudioOutputs[] = "pipewire,pulse,alsa";
#else
inline constexpr char kAudioOutputs[] = "";  // libmpv's own choice
#endif

}  // namespace ziro
