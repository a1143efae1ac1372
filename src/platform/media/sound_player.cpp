#include "platform/media/sound_player.h"

#include "platform/media/audio_outputs.h"

#include "platform/files/masked_stream.h"

#include <QFile>
#include <QFileInfo>

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <algorithm>

#include <clocale>

namespace ziro {

namespace {

// Masked sounds are read through this protocol: libmpv's threads call the
// reader, which only reads the file at the offsets asked for.
constexpr char kProtocol[] = "zirosound";
constexpr char kUriPrefix[] = "zirosound://";

struct StreamCookie {
    MaskedStream stream;
    qint64 position = 0;
};

int openStream(void*, char* uri, mpv_stream_cb_info* info)
{
    const QByteArray text(uri);
    if (!text.startsWith(kUriPrefix))
        return MPV_ERROR_LOADING_FAILED;
    const QString path = QFile::decodeName(QByteArray::fromPercentEncoding(text.mid(int(sizeof kUriPrefix) - 1)));
    auto* cookie = new StreamCookie;
    if (!cookie->stream.open(path)) {
        delete cookie;
        return MPV_ERROR_LOADING_FAILED;
    }
    info->cookie = cookie;
    info->read_fn = [](void* c, char* buffer, uint64_t n) -> int64_t {
        auto* s = static_cast<StreamCookie*>(c);
        const qint64 got = s->stream.read(s->position, buffer, qint64(std::min<uint64_t>(n, 1u << 30)));
        if (got > 0)
            s->position += got;
        return got;
    };
    info->seek_fn = [](void* c, int64_t offset) -> int64_t {
        auto* s = static_cast<StreamCookie*>(c);
        if (offset < 0 || offset > s->stream.size())
            return MPV_ERROR_GENERIC;
        s->position = offset;
        return offset;
    };
    info->size_fn = [](void* c) -> int64_t { return static_cast<StreamCookie*>(c)->stream.size(); };
    info->close_fn = [](void* c) { delete static_cast<StreamCookie*>(c); };
    return 0;
}

}  // namespace

SoundPlayer::SoundPlayer(const char* audioOutput)
    : m_output(audioOutput ? audioOutput : kAudioOutputs)
{
}

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
        if (!m_output.isEmpty())
            mpv_set_option_string(m_mpv, "ao", m_output.constData());
        // The end of a statement is told about one buffer before it is heard.
        mpv_set_option_string(m_mpv, "audio-buffer", "0.05");
        if (mpv_initialize(m_mpv) < 0 || mpv_stream_cb_add_ro(m_mpv, kProtocol, nullptr, openStream) < 0) {
            mpv_terminate_destroy(m_mpv);
            m_mpv = nullptr;
        }
    }
    m_playerFailed = m_mpv == nullptr;
    return m_mpv != nullptr;
}

void SoundPlayer::drainEvents()
{
    // Read on the window thread only: the player's own threads never touch
    // what is playing, so a sound that ends while another is stopped or
    // started cannot be freed twice. Emptying the queue now and then also
    // keeps it from filling up over a long session.
    for (;;) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        if (event->event_id == MPV_EVENT_START_FILE && event->data) {
            m_entry = static_cast<const mpv_event_start_file*>(event->data)->playlist_entry_id;
        } else if (event->event_id == MPV_EVENT_END_FILE && event->data) {
            if (static_cast<const mpv_event_end_file*>(event->data)->playlist_entry_id == m_entry)
                m_playing = false;
        }
    }
}

bool SoundPlayer::libraryCurrent()
{
    return (mpv_client_api_version() >> 16) == (MPV_CLIENT_API_VERSION >> 16);
}

bool SoundPlayer::start()
{
    return ensurePlayer();
}

bool SoundPlayer::load(const QByteArray& target, bool loop)
{
    drainEvents();
    // Set for every sound, so that one looped sound never makes the next
    // one loop.
    mpv_set_property_string(m_mpv, "loop-file", loop ? "inf" : "no");
    const char* command[] = {"loadfile", target.constData(), "replace", nullptr};
    m_entry = -1;
    m_playing = mpv_command(m_mpv, command) >= 0;
    return m_playing;
}

bool SoundPlayer::playMasked(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    // Refused here rather than on libmpv's thread, where a refusal is silent.
    MaskedStream probe;
    if (!probe.open(path))
        return false;
    probe.close();
    if (!ensurePlayer())
        return false;
    const QByteArray uri = QByteArray(kUriPrefix)
        + QFile::encodeName(QFileInfo(path).absoluteFilePath()).toPercentEncoding("/");
    return load(uri, false);
}

bool SoundPlayer::playing()
{
    if (!m_mpv)
        return false;
    drainEvents();
    return m_playing;
}

bool SoundPlayer::setVolume(int level)
{
    if (!ensurePlayer())
        return false;
    double percent = std::clamp(level, 0, 65535) * 100.0 / 65535.0;
    return mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &percent) >= 0;
}

bool SoundPlayer::play(const QString& path, bool loop)
{
    if (!QFileInfo(path).isFile())
        return false;
    if (!ensurePlayer())
        return false;
    // Absolute, so that mpv never takes a relative name for a URL or option.
    return load(QFile::encodeName(QFileInfo(path).absoluteFilePath()), loop);
}

void SoundPlayer::stop()
{
    if (!m_mpv)
        return;
    drainEvents();
    // Stopping what has already ended is harmless: the player is idle.
    const char* command[] = {"stop", nullptr};
    mpv_command(m_mpv, command);
    m_playing = false;
}

}  // namespace ziro
