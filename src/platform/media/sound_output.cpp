#include "platform/media/sound_output.h"

#include "platform/media/audio_outputs.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QtEndian>

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <algorithm>
#include <clocale>
#include <cstring>

namespace ziro {

namespace {

// A tenth of a second of silence: 8 kHz, mono, 16-bit PCM in a WAVE file.
QByteArray silence()
{
    const quint32 rate = 8000, samples = rate / 10, dataBytes = samples * 2;
    QByteArray wav;
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + dataBytes);
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(dataBytes);
    wav.append(QByteArray(int(dataBytes), '\0'));
    return wav;
}

struct Reader {
    QByteArray data;
    qint64 position = 0;
};

int openSilence(void*, char*, mpv_stream_cb_info* info)
{
    auto* reader = new Reader{silence()};
    info->cookie = reader;
    info->read_fn = [](void* cookie, char* buffer, uint64_t n) -> int64_t {
        auto* r = static_cast<Reader*>(cookie);
        const qint64 count = std::min<qint64>(qint64(std::min<uint64_t>(n, 1u << 20)), r->data.size() - r->position);
        std::memcpy(buffer, r->data.constData() + r->position, size_t(count));
        r->position += count;
        return count;
    };
    info->seek_fn = [](void* cookie, int64_t offset) -> int64_t {
        auto* r = static_cast<Reader*>(cookie);
        if (offset < 0 || offset > r->data.size())
            return MPV_ERROR_GENERIC;
        r->position = offset;
        return offset;
    };
    info->size_fn = [](void* cookie) -> int64_t { return static_cast<Reader*>(cookie)->data.size(); };
    info->close_fn = [](void* cookie) { delete static_cast<Reader*>(cookie); };
    return 0;
}

}  // namespace

bool probeSoundOutput(int timeoutMs, const char* output)
{
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return false;
    const char* const options[][2] = {{"config", "no"}, {"terminal", "no"}, {"load-scripts", "no"},
                                      {"vo", "null"},    {"video", "no"},    {"idle", "yes"},
                                      {"pause", "yes"},  {"keep-open", "yes"}};
    for (const auto& option : options)
        mpv_set_option_string(mpv, option[0], option[1]);
    if (!output)
        output = kAudioOutputs;
    if (output[0] != '\0')
        mpv_set_option_string(mpv, "ao", output);
    bool opened = false;
    if (mpv_initialize(mpv) >= 0 && mpv_stream_cb_add_ro(mpv, "zirosilence", nullptr, openSilence) >= 0) {
        mpv_observe_property(mpv, 1, "current-ao", MPV_FORMAT_STRING);
        const char* load[] = {"loadfile", "zirosilence://", nullptr};
        bool ended = mpv_command(mpv, load) < 0;
        // The output opens before playback can begin, paused as it is; a
        // machine without one begins (or ends) with none named.
        const QDeadlineTimer deadline(timeoutMs);
        while (!opened && !ended && !deadline.hasExpired()) {
            const mpv_event* event = mpv_wait_event(mpv, double(deadline.remainingTime()) / 1000.0);
            switch (event->event_id) {
            case MPV_EVENT_PROPERTY_CHANGE: {
                const auto* p = static_cast<const mpv_event_property*>(event->data);
                opened = p->format == MPV_FORMAT_STRING && p->data && **static_cast<char**>(p->data) != '\0';
                break;
            }
            case MPV_EVENT_PLAYBACK_RESTART:
            case MPV_EVENT_END_FILE:
            case MPV_EVENT_SHUTDOWN:
                ended = true;
                break;
            default:
                break;
            }
        }
        if (!opened && ended) {
            char* name = mpv_get_property_string(mpv, "current-ao");
            opened = name && *name != '\0';
            mpv_free(name);
        }
    }
    mpv_terminate_destroy(mpv);
    return opened;
}

}  // namespace ziro
