#pragma once

// The film player on libmpv. Pictures are drawn by libmpv's software
// renderer into an image on a thread of the player's own, so that no native
// child window is needed and the picture can be painted by a plain widget
// inside the scaled presentation.
//
// Threads: every public call and every notice is on the window thread.
// libmpv calls back on its own threads; those callbacks only set a flag and
// post a call to the window thread (events) or wake the render thread (new
// pictures). Masked films are read by libmpv's demuxer thread through a
// MaskedStream, which reads positionally.

#include "platform/media/film_backend.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;

namespace ziro {

struct MpvFilmOptions {
    // No sound device is opened (tests, the bench); hasAudioOutput() is
    // then false.
    bool nullAudio = false;
    // Longest wait in open() for libmpv to load a film or give up on it.
    int openTimeoutMs = 10000;
};

class MpvFilmBackend final : public QObject, public FilmBackend {
    Q_OBJECT
public:
    explicit MpvFilmBackend(MpvFilmOptions options = {}, QObject* parent = nullptr);
    // Safe at any time, playing or seeking: the render thread is stopped and
    // the render context freed before the player is destroyed.
    ~MpvFilmBackend() override;

    bool open(const QString& path, QString* error) override;
    void close() override;
    bool isOpen() const override { return m_open; }

    bool play() override;
    bool pause() override;
    bool isPlaying() const override { return m_open && !m_paused; }

    bool seek(qint64 units) override;
    bool step(bool forward) override;
    bool showFrame(int frame) override;
    qint64 position() const override { return m_position; }
    qint64 duration() const override { return m_duration; }

    void setVolume(int volume) override;
    int volume() const override { return m_volume; }
    void setMuted(bool muted) override;
    bool isMuted() const override { return m_muted; }

    bool hasVideo() const override { return m_hasVideo; }
    bool hasAudioOutput() const override;

    // The picture is rendered at exactly this size, the film fitted inside
    // it with its own aspect kept and black bars on the sides left over.
    void setRenderSize(QSize devicePixels) override;
    QImage frame() const override;

    // 100 ns units of a time in seconds as libmpv gives it, rounded to the
    // unit so that 1.64 s is frame 41 (16,400,000), not 40.
    static qint64 unitsFromSeconds(double seconds);

private:
    bool ensurePlayer(QString* error);
    bool setPaused(bool paused);
    void destroyPlayer();
    void drainEvents();
    // Handles one event; false when the backend was destroyed by a notice.
    bool handleEvent(const mpv_event& event);
    void resetState();
    void renderLoop();
    void clearPicture();
    void postFrameNotice();
    void postFrameShown(int frame, quint64 generation);

    MpvFilmOptions m_options;
    mpv_handle* m_mpv = nullptr;
    mpv_render_context* m_render = nullptr;
    bool m_playerFailed = false;

    // Window-thread state, mirrored from libmpv's property notices.
    bool m_open = false;
    bool m_paused = true;
    bool m_eof = false;
    bool m_hasVideo = false;
    qint64 m_position = 0;
    qint64 m_duration = 0;
    int m_volume = 100;
    bool m_muted = false;
    QString m_audioOutput;
    // The playlist entry of the film open() loads; events of earlier ones
    // are stale. -1 when none, kAwaitingEntry until libmpv names it.
    static constexpr qint64 kAwaitingEntry = -2;
    qint64 m_entry = -1;
    bool m_opening = false;
    bool m_loaded = false;
    QString m_loadError;
    QString m_lastLog;  // libmpv's last error message, the most telling reason
    // Set while a notice runs, so that a backend deleted by it is noticed.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);

    // Exact frames asked for with showFrame and the seeks libmpv has taken
    // in: a restart after the last of them shows the last frame asked for.
    quint64 m_framesAsked = 0;
    quint64 m_framesTaken = 0;
    bool m_frameWanted = false;

    std::atomic<bool> m_eventsPosted{false};
    std::atomic<bool> m_framePosted{false};

    // Render thread state, under m_renderMutex.
    std::thread m_renderThread;
    mutable std::mutex m_renderMutex;
    std::condition_variable m_renderWake;
    bool m_renderQuit = false;
    bool m_renderUpdate = false;   // libmpv has something new
    bool m_renderRedraw = false;   // the size changed: draw the picture again
    bool m_showing = false;        // the open film's pictures have begun: publish them
    quint64 m_generation = 0;      // counts closes, so a late picture is dropped
    int m_redrawFrame = -1;        // the frame the next redraw shows, to be told

    QSize m_renderSize;
    QImage m_front;  // the picture shown; copied out by frame()
    QImage m_back;   // the picture being drawn (render thread only)
};

}  // namespace ziro
