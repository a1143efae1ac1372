#pragma once

#include <QString>

struct mpv_handle;

namespace ziro {

// Plays short sounds (the splash tune, wave files) without waiting for them.
// One audio-only libmpv player is made on first use and kept; starting a
// sound replaces the one playing. A player that fails to start is not tried
// again, and every later sound is refused.
class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Starts `path` and returns at once. False, and nothing played, when the
    // file is missing or no player can be made; a file the player cannot
    // decode is skipped silently later. A looped sound starts again at its
    // end until stopped or replaced.
    bool play(const QString& path, bool loop = false);
    void stop();

private:
    bool ensurePlayer();
    void drainEvents();

    mpv_handle* m_mpv = nullptr;
    bool m_playerFailed = false;
};

}  // namespace ziro
