#include "platform/media/sound_player.h"

#include "platform/media/audio_outputs.h"

#include <QFile>
#include <QFileInfo>

#include <mpv/client.h>

#include <clocale>

namespace ziro {

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer()
{
    if (m_mpv)
        mpv_terminate_destroy(m_mpv);
}

bool SoundPlayer::ensurePlayer()
{
    if (m_mpv)
        return true;
    if (m_playerFailed)
        return false;
    // libmpv refuses to start unless numbers are formatted the C way, and Qt
    // applies the user's locale at start.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (m_mpv) {
        mpv_set_option_string(m_mpv, "config", "no");
        mpv_set_option_string(m_mpv, "terminal", "no");
        mpv_set_option_string(m_mpv, "vo", "null");
        mpv_set_option_string(m_mpv, "video", "no");
        mpv_set_option_string(m_mpv, "audio-display", "no");
        mpv_set_option_string(m_mpv, "idle", "yes");
        if (kAudioOutputs[0] != '\0')
            mpv_set_option_string(m_mpv, "ao", kAudioOutputs);
        if (mpv_initialize(m_mpv) < 0) {
            mpv_terminate_destroy(m_mpv);
            m_mpv = nullptr;
        }
    }
    m_playerFailed = m_mpv == nullptr;
    return m_mpv != nullptr;
}

void SoundPlayer::drainEvents()
{
    // Nobody listens to the player's events; emptying the queue now and then
    // keeps it from filling up over a long session.
    while (mpv_wait_event(m_mpv, 0)->event_id != MPV_EVENT_NONE) {
    }
}

bool SoundPlayer::play(const QString& path, bool loop)
{
    if (!QFileInfo(path).isFile())
        return false;
    if (!ensurePlayer())
        return false;
    drainEvents();
    // Absolute, so that mpv never takes a relative name for a URL or option.
    const QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    // Set for every sound, so that one looped sound never makes the next
    // one loop.
    mpv_set_property_string(m_mpv, "loop-file", loop ? "inf" : "no");
    const char* command[] = {"loadfile", file.constData(), "replace", nullptr};
    return mpv_command(m_mpv, command) >= 0;
}

void SoundPlayer::stop()
{
    if (!m_mpv)
        return;
    drainEvents();
    const char* command[] = {"stop", nullptr};
    mpv_command(m_mpv, command);
}

}  // namespace ziro
