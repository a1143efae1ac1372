#pragma once

#include <QByteArray>
#include <QString>

struct mpv_handle;

namespace ziro {

// Plays short sounds (the splash tune, wave files) without waiting for them.
// One audio-only libmpv player is made on first use and kept; starting a
// sound replaces the one playing. A player that fails to start is not tried
// again, and every later sound is refused.
class SoundPlayer {
public:
    // `audioOutput` names libmpv's audio output to use instead of the usual
    // ones ("null" plays without a device, for tests).
    explicit SoundPlayer(const char* audioOutput = nullptr);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Starts `path` and returns at once. False, and nothing played, when the
    // file is missing or no player can be made; a file the player cannot
    // decode is skipped silently later. A looped sound starts again at its
    // end until stopped or replaced.
    bool play(const QString& path, bool loop = false);
    void stop();

    // Whether the media library is the major version this program was
    // built for; another one may not keep the calls made here.
    static bool libraryCurrent();
    // Makes the player now rather than at the first sound; false when it
    // cannot be made.
    bool start();
    // Like play, but a masked file (".KXS") is read restored in memory; the
    // file itself is never written. False when the file is missing, is
    // refused as masked, or no player can be made.
    bool playMasked(const QString& path);
    // Whether the last sound started has not ended or been stopped yet.
    bool playing();
    // The player's own output volume for every sound from now on, 0 to
    // 65535 (the system mixer is left alone). False without a player.
    bool setVolume(int level);

private:
    bool ensurePlayer();
    void drainEvents();
    bool load(const QByteArray& target, bool loop);

    QByteArray m_output;
    mpv_handle* m_mpv = nullptr;
    bool m_playerFailed = false;
    // The playlist entry of the sound started last (-1 until it starts), so
    // that the end of a sound it replaced is not taken for its own.
    qint64 m_entry = -1;
    bool m_playing = false;
};

}  // namespace ziro
