#include "platform/media/mpv_film_backend.h"

#include "platform/media/audio_outputs.h"

#include "platform/files/masked_stream.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <mpv/client.h>

#ifdef __linux__
#include <pthread.h>
#endif
#include <mpv/render.h>
#include <mpv/stream_cb.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace ziro {

namespace {

// Every film is read through this protocol, masked or not, so that libmpv
// never takes a file name for an option, a playlist path or a URL of its own.
constexpr char kProtocol[] = "zirofilm";
constexpr char kUriPrefix[] = "zirofilm://";

enum Observed : quint64 { kTimePos = 1, kDuration, kPause, kEofReached, kCurrentAo };

// The reply that marks a seek of showFrame as taken in.
constexpr quint64 kFrameSeek = 100;

struct StreamCookie {
    MaskedStream stream;
    qint64 position = 0;
};

int64_t readStream(void* cookie, char* buffer, uint64_t n)
{
    auto* c = static_cast<StreamCookie*>(cookie);
    const qint64 got = c->stream.read(c->position, buffer, qint64(std::min<uint64_t>(n, 1u << 30)));
    if (got > 0)
        c->position += got;
    return got;
}

int64_t seekStream(void* cookie, int64_t offset)
{
    auto* c = static_cast<StreamCookie*>(cookie);
    if (offset < 0 || offset > c->stream.size())
        return MPV_ERROR_GENERIC;
    c->position = offset;
    return offset;
}

int64_t sizeStream(void* cookie)
{
    return static_cast<StreamCookie*>(cookie)->stream.size();
}

void closeStream(void* cookie)
{
    delete static_cast<StreamCookie*>(cookie);
}

// Runs on libmpv's demuxer thread for each film it opens.
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
    info->read_fn = readStream;
    info->seek_fn = seekStream;
    info->size_fn = sizeStream;
    info->close_fn = closeStream;
    return 0;
}

QByteArray filmUri(const QString& path)
{
    return QByteArray(kUriPrefix) + QFile::encodeName(QFileInfo(path).absoluteFilePath()).toPercentEncoding("/");
}

// A picture libmpv draws into fast: rows and the first pixel on 64-byte
// boundaries, as its software renderer asks for its quick paths.
QImage alignedImage(QSize size)
{
    const qsizetype stride = (qsizetype(size.width()) * 4 + 63) / 64 * 64;
    void* pixels = std::aligned_alloc(64, size_t(stride) * size_t(size.height()));
    if (!pixels)
        return {};
    return QImage(static_cast<uchar*>(pixels), size.width(), size.height(), stride, QImage::Format_RGB32,
                  [](void* p) { std::free(p); }, pixels);
}

QString mpvError(int code)
{
    return QString::fromUtf8(mpv_error_string(code));
}

}  // namespace

MpvFilmBackend::MpvFilmBackend(MpvFilmOptions options, QObject* parent)
    : QObject(parent), m_options(options)
{
}

MpvFilmBackend::~MpvFilmBackend()
{
    destroyPlayer();
}

qint64 MpvFilmBackend::unitsFromSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        return 0;
    return std::llround(seconds * 1e7);
}

bool MpvFilmBackend::ensurePlayer(QString* error)
{
    if (m_mpv)
        return true;
    if (m_playerFailed) {
        if (error)
            *error = QStringLiteral("the media engine (libmpv) could not be started");
        return false;
    }
    // libmpv refuses to start unless numbers are formatted the C way, and Qt
    // applies the user's locale at start.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    QString failure;
    if (!m_mpv) {
        failure = QStringLiteral("the media engine (libmpv) could not be created");
    } else {
        const char* const options[][2] = {
            {"config", "no"},
            {"terminal", "no"},
            {"load-scripts", "no"},
            {"ytdl", "no"},
            {"input-default-bindings", "no"},
            {"input-vo-keyboard", "no"},
            {"vo", "libmpv"},
            {"idle", "yes"},
            {"keep-open", "always"},
            {"pause", "yes"},
            {"osd-level", "0"},
            // Exact seeks: without the demuxer offset, exact seeks in MPEG-1
            // program streams land on the next key frame and stepping back
            // fails.
            {"hr-seek", "yes"},
            {"hr-seek-demuxer-offset", "1.5"},
            {"audio-display", "no"},
            {"sub-auto", "no"},
            {"audio-file-auto", "no"},
            {"ao", m_options.nullAudio ? "null" : kAudioOutputs},
        };
        for (const auto& option : options) {
            if (option[1][0] != '\0')
                mpv_set_option_string(m_mpv, option[0], option[1]);
        }
        int rc = mpv_initialize(m_mpv);
        if (rc >= 0)
            rc = mpv_stream_cb_add_ro(m_mpv, kProtocol, nullptr, openStream);
        if (rc >= 0) {
            const char* api = MPV_RENDER_API_TYPE_SW;
            mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(api)},
                                         {MPV_RENDER_PARAM_INVALID, nullptr}};
            rc = mpv_render_context_create(&m_render, m_mpv, params);
            if (rc < 0)
                m_render = nullptr;
        }
        if (rc < 0)
            failure = QStringLiteral("the media engine (libmpv) could not be started: %1").arg(mpvError(rc));
    }
    if (!failure.isEmpty()) {
        destroyPlayer();
        m_playerFailed = true;
        if (error)
            *error = failure;
        return false;
    }

    mpv_request_log_messages(m_mpv, "error");
    mpv_observe_property(m_mpv, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kPause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kEofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kCurrentAo, "current-ao", MPV_FORMAT_STRING);

    // Both callbacks run on libmpv's threads: they only signal.
    mpv_set_wakeup_callback(
        m_mpv,
        [](void* self) {
            auto* me = static_cast<MpvFilmBackend*>(self);
            if (!me->m_eventsPosted.exchange(true))
                QMetaObject::invokeMethod(
                    me,
                    [me] {
                        me->m_eventsPosted = false;
                        me->drainEvents();
                    },
                    Qt::QueuedConnection);
        },
        this);
    mpv_render_context_set_update_callback(
        m_render,
        [](void* self) {
            auto* me = static_cast<MpvFilmBackend*>(self);
            {
                std::lock_guard lock(me->m_renderMutex);
                me->m_renderUpdate = true;
            }
            me->m_renderWake.notify_one();
        },
        this);
    setVolume(m_volume);
    setMuted(m_muted);
    m_renderQuit = false;
    m_renderThread = std::thread([this] { renderLoop(); });
    return true;
}

void MpvFilmBackend::destroyPlayer()
{
    if (m_mpv)
        mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    if (m_renderThread.joinable()) {
        {
            std::lock_guard lock(m_renderMutex);
            m_renderQuit = true;
        }
        m_renderWake.notify_one();
        m_renderThread.join();
    }
    // The render context goes before the player: libmpv's rule.
    if (m_render) {
        mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
        mpv_render_context_free(m_render);
        m_render = nullptr;
    }
    if (m_mpv) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
    }
    m_open = false;
}

void MpvFilmBackend::renderLoop()
{
#ifdef __linux__
    // Named, so that a profile tells the film's drawing from the window's.
    pthread_setname_np(pthread_self(), "ziro-film");
#endif
    std::unique_lock lock(m_renderMutex);
    for (;;) {
        m_renderWake.wait(lock, [this] { return m_renderQuit || m_renderUpdate || m_renderRedraw; });
        if (m_renderQuit)
            return;
        const bool redraw = m_renderRedraw;
        const int toldFrame = redraw ? m_redrawFrame : -1;
        if (redraw)
            m_redrawFrame = -1;
        m_renderUpdate = m_renderRedraw = false;
        const QSize size = m_renderSize;
        const quint64 generation = m_generation;
        lock.unlock();

        const bool draw = (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) || redraw;
        bool drawn = false;
        if (draw && !size.isEmpty()) {
            // A picture the window thread still holds is left to it.
            if (m_back.size() != size || !m_back.isDetached())
                m_back = alignedImage(size);
            if (!m_back.isNull()) {
                int sw[2] = {size.width(), size.height()};
                size_t stride = size_t(m_back.bytesPerLine());
                const char* format = "bgr0";
                mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, sw},
                                             {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(format)},
                                             {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                             {MPV_RENDER_PARAM_SW_POINTER, m_back.bits()},
                                             {MPV_RENDER_PARAM_INVALID, nullptr}};
                drawn = mpv_render_context_render(m_render, params) >= 0;
            }
        } else if (draw) {
            // Nobody shows pictures yet: let the frame pass, or playback
            // would wait for it to be drawn.
            int skip = 1;
            mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                         {MPV_RENDER_PARAM_INVALID, nullptr}};
            mpv_render_context_render(m_render, params);
        }

        lock.lock();
        // A picture drawn across a close belongs to the film that was closed.
        if (drawn && m_showing && generation == m_generation) {
            std::swap(m_front, m_back);
            postFrameNotice();
            if (toldFrame >= 0)
                postFrameShown(toldFrame, generation);
        } else if (toldFrame >= 0 && generation == m_generation && m_redrawFrame < 0) {
            // Not drawn (no size yet): the next redraw tells it.
            m_redrawFrame = toldFrame;
        }
    }
}

void MpvFilmBackend::postFrameNotice()
{
    if (m_framePosted.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_framePosted = false;
            if (onFrame)
                onFrame();
        },
        Qt::QueuedConnection);
}

void MpvFilmBackend::postFrameShown(int frame, quint64 generation)
{
    QMetaObject::invokeMethod(
        this,
        [this, frame, generation] {
            {
                std::lock_guard lock(m_renderMutex);
                if (generation != m_generation)
                    return;
            }
            if (onFrameShown)
                onFrameShown(frame);
        },
        Qt::QueuedConnection);
}

void MpvFilmBackend::clearPicture()
{
    {
        std::lock_guard lock(m_renderMutex);
        ++m_generation;
        m_showing = false;
        m_redrawFrame = -1;
        m_front = QImage();
    }
    if (onFrame)
        onFrame();
}

void MpvFilmBackend::drainEvents()
{
    const std::weak_ptr<int> alive = m_alive;
    while (m_mpv) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        if (!handleEvent(*event) || alive.expired())
            return;
    }
}

bool MpvFilmBackend::handleEvent(const mpv_event& event)
{
    const std::weak_ptr<int> alive = m_alive;
    switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* log = static_cast<const mpv_event_log_message*>(event.data);
        m_lastLog = QString::fromUtf8(log->text).trimmed();
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* p = static_cast<const mpv_event_property*>(event.data);
        const bool has = p->format != MPV_FORMAT_NONE && p->data;
        switch (event.reply_userdata) {
        case kTimePos:
            // At its end the film stands on its last frame, which starts one
            // frame before the duration: the end is the duration, or a cut
            // that ends with the film would never be seen to end.
            if (has && m_open)
                m_position = m_eof ? m_duration
                                   : std::clamp(unitsFromSeconds(*static_cast<double*>(p->data)),
                                                qint64(0), std::max<qint64>(m_duration, 0));
            break;
        case kDuration:
            if (has)
                m_duration = std::max<qint64>(0, unitsFromSeconds(*static_cast<double*>(p->data)));
            break;
        case kPause:
            if (has)
                m_paused = *static_cast<int*>(p->data) != 0;
            break;
        case kCurrentAo:
            m_audioOutput = has ? QString::fromUtf8(*static_cast<char**>(p->data)) : QString();
            break;
        case kEofReached: {
            const bool eof = has && *static_cast<int*>(p->data) != 0;
            // Kept open at its end, the film is paused there; the pause
            // notice may come after this one.
            if (eof)
                m_paused = true;
            const bool reached = eof && !m_eof && m_open && !m_opening;
            m_eof = eof;
            if (reached)
                m_position = m_duration;
            if (reached && onEnd) {
                onEnd();
                if (alive.expired())
                    return false;
            }
            break;
        }
        default:
            break;
        }
        break;
    }
    case MPV_EVENT_START_FILE: {
        const auto* start = static_cast<const mpv_event_start_file*>(event.data);
        if (m_entry == kAwaitingEntry)
            m_entry = start->playlist_entry_id;
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        if (m_entry >= 0)
            m_loaded = true;
        break;
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == kFrameSeek)
            ++m_framesTaken;
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        // The picture libmpv holds after the restart that follows the last
        // exact seek asked for is that frame: draw it again and say which
        // it is, from the position libmpv reached.
        if (m_entry >= 0 && m_frameWanted && m_framesTaken == m_framesAsked) {
            m_frameWanted = false;
            double seconds = 0;
            if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &seconds) >= 0) {
                const int frame = int(unitsFromSeconds(seconds) / 400'000.0 + 0.5);
                {
                    std::lock_guard lock(m_renderMutex);
                    m_showing = true;
                    m_renderRedraw = true;
                    m_redrawFrame = frame;
                }
                m_renderWake.notify_one();
                break;
            }
        }
        // Pictures are shown from here on. Until the new film's first
        // picture is ready, libmpv may still draw the last picture of the
        // film closed before it; the one it holds now is drawn again.
        if (m_entry >= 0) {
            {
                std::lock_guard lock(m_renderMutex);
                if (m_showing)
                    break;
                m_showing = true;
                m_renderRedraw = true;
            }
            m_renderWake.notify_one();
        }
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (m_entry < 0 || end->playlist_entry_id != m_entry)
            break;
        if (m_opening) {
            // Anything that ends the film before it loaded is a failure to
            // open it: an error, or a text taken for a playlist.
            m_loadError = end->reason == MPV_END_FILE_REASON_ERROR
                              ? (m_lastLog.isEmpty() ? mpvError(end->error) : m_lastLog)
                              : QStringLiteral("no film found in the file");
            break;
        }
        if (end->reason == MPV_END_FILE_REASON_ERROR || end->reason == MPV_END_FILE_REASON_EOF) {
            const bool failed = end->reason == MPV_END_FILE_REASON_ERROR;
            const QString text = m_lastLog.isEmpty() ? mpvError(end->error) : m_lastLog;
            const bool wasOpen = m_open;
            resetState();
            clearPicture();
            if (alive.expired())
                return false;
            if (wasOpen) {
                if (failed && onError)
                    onError(text);
                else if (!failed && onEnd)
                    onEnd();
                if (alive.expired())
                    return false;
            }
        }
        break;
    }
    default:
        break;
    }
    return true;
}

void MpvFilmBackend::resetState()
{
    m_frameWanted = false;
    m_open = false;
    m_entry = -1;
    m_loaded = false;
    m_paused = true;
    m_eof = false;
    m_hasVideo = false;
    m_position = 0;
    m_duration = 0;
}

bool MpvFilmBackend::open(const QString& path, QString* error)
{
    close();
    QString failure;
    if (!ensurePlayer(&failure)) {
        if (error)
            *error = failure;
        return false;
    }
    {
        // A missing or wrongly masked file is told apart here, where the
        // reason can still be given; libmpv would only say it failed.
        MaskedStream probe;
        if (!probe.open(path, &failure)) {
            if (error)
                *error = failure;
            return false;
        }
    }

    // Every film opens paused on its first picture; the pause switch is
    // the player's, and would keep a film closed while playing playing.
    int yes = 1;
    mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &yes);
    m_entry = kAwaitingEntry;
    m_loaded = false;
    m_loadError.clear();
    m_lastLog.clear();
    m_opening = true;
    const QByteArray uri = filmUri(path);
    const char* load[] = {"loadfile", uri.constData(), "replace", nullptr};
    int rc = mpv_command(m_mpv, load);
    if (rc < 0)
        m_loadError = mpvError(rc);

    const QDeadlineTimer deadline(m_options.openTimeoutMs);
    while (m_mpv && !m_loaded && m_loadError.isEmpty() && !deadline.hasExpired()) {
        const mpv_event* event = mpv_wait_event(m_mpv, double(deadline.remainingTime()) / 1000.0);
        if (event->event_id != MPV_EVENT_NONE)
            handleEvent(*event);
    }
    m_opening = false;

    if (m_loaded) {
        int64_t id = 0;
        m_hasVideo = mpv_get_property(m_mpv, "current-tracks/video/id", MPV_FORMAT_INT64, &id) >= 0;
        const bool hasAudio = mpv_get_property(m_mpv, "current-tracks/audio/id", MPV_FORMAT_INT64, &id) >= 0;
        if (!m_hasVideo && !hasAudio)
            m_loadError = QStringLiteral("no picture or sound found in the file");
    } else if (m_loadError.isEmpty()) {
        m_loadError = QStringLiteral("the film did not load within %1 ms").arg(m_options.openTimeoutMs);
    }

    if (!m_loadError.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), m_loadError);
        close();
        return false;
    }

    double seconds = 0;
    if (mpv_get_property(m_mpv, "duration", MPV_FORMAT_DOUBLE, &seconds) >= 0)
        m_duration = std::max<qint64>(0, unitsFromSeconds(seconds));
    m_position = 0;
    m_paused = true;
    m_eof = false;
    m_open = true;
    return true;
}

void MpvFilmBackend::close()
{
    if (!m_mpv)
        return;
    if (m_open || m_entry != -1) {
        // Waited for: an asynchronous stop can overtake the next film's
        // loadfile and unload it before it starts. Stopping only marks the
        // film to be ended, so this does not wait for a decode.
        const char* stop[] = {"stop", nullptr};
        mpv_command(m_mpv, stop);
    }
    const bool wasShowing = m_open || m_entry != -1;
    resetState();
    if (wasShowing)
        clearPicture();
}

bool MpvFilmBackend::setPaused(bool paused)
{
    if (!m_open)
        return false;
    int flag = paused ? 1 : 0;
    if (mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &flag) < 0)
        return false;
    m_paused = paused;
    return true;
}

bool MpvFilmBackend::play()
{
    return setPaused(false);
}

bool MpvFilmBackend::pause()
{
    return setPaused(true);
}

bool MpvFilmBackend::seek(qint64 units)
{
    if (!m_open)
        return false;
    units = std::clamp(units, qint64(0), m_duration);
    const QByteArray seconds = QByteArray::number(double(units) / 1e7, 'f', 7);
    const char* command[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
    if (mpv_command_async(m_mpv, 0, command) < 0)
        return false;
    m_position = units;
    m_eof = m_eof && units >= m_duration;
    return true;
}

bool MpvFilmBackend::showFrame(int frame)
{
    if (!m_open || !setPaused(true))
        return false;
    const qint64 units = std::clamp(qint64(frame) * 400'000, qint64(0), m_duration);
    const QByteArray seconds = QByteArray::number(double(units) / 1e7, 'f', 7);
    const char* command[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
    if (mpv_command_async(m_mpv, kFrameSeek, command) < 0)
        return false;
    ++m_framesAsked;
    m_frameWanted = true;
    m_position = units;
    m_eof = false;
    return true;
}

bool MpvFilmBackend::step(bool forward)
{
    if (!m_open)
        return false;
    if (!forward) {
        // Back by an exact seek to the frame before the one on show: the
        // engine's own back step decodes from the key frame before and,
        // on a busy machine, could take seconds.
        if (!pause())
            return false;
        constexpr qint64 kFrame = 400'000;
        const qint64 shown = (m_eof ? std::max<qint64>(0, m_duration - 1) : m_position) / kFrame;
        m_eof = false;
        return seek(std::max<qint64>(0, shown - 1) * kFrame);
    }
    const char* command[] = {"frame-step", nullptr};
    if (mpv_command_async(m_mpv, 0, command) < 0)
        return false;
    m_paused = true;
    return true;
}

void MpvFilmBackend::setVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 100);
    if (!m_mpv)
        return;
    double value = m_volume;
    mpv_set_property_async(m_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &value);
}

void MpvFilmBackend::setMuted(bool muted)
{
    m_muted = muted;
    if (!m_mpv)
        return;
    int value = muted ? 1 : 0;
    mpv_set_property_async(m_mpv, 0, "mute", MPV_FORMAT_FLAG, &value);
}

bool MpvFilmBackend::hasAudioOutput() const
{
    return !m_audioOutput.isEmpty() && m_audioOutput != QLatin1String("null");
}

void MpvFilmBackend::setRenderSize(QSize devicePixels)
{
    {
        std::lock_guard lock(m_renderMutex);
        if (devicePixels == m_renderSize)
            return;
        m_renderSize = devicePixels;
        m_renderRedraw = true;
    }
    m_renderWake.notify_one();
}

QImage MpvFilmBackend::frame() const
{
    std::lock_guard lock(m_renderMutex);
    return m_front;
}

}  // namespace ziro
