// ziro-bench --film: what showing a film in the presentation costs.
//
// The film: generated, 640 x 480 at 25 fps, MPEG-1 in a program stream (the
// films of the data folders), with a tone. It plays from its first frame to
// its end in a FilmSurfaceWidget filling a 640 x 480 window that a
// PresentationHost presents on a 1920 x 1080 screen, with the artwork at the
// art scale the program picks there. The surface asks for pictures of the
// size it reaches the screen at, 1440 x 1080, and paints them unscaled. No
// sound device is opened.
//
// Each frame the surface paints is identified by the number the generated
// film carries in its picture. A frame counts as late when it is painted
// more than one frame period after its time; the times are set by the
// earliest-painted frame, so the clock starts as well as it can. Frames of
// the film never painted are counted apart as dropped.
//
// cpu_ms_per_frame is the process's CPU time (every thread: decoding,
// libmpv's drawing, Qt's painting) over the playback, per frame painted.
// The reference, render_ms_per_frame, is libmpv alone, in the same process
// afterwards: the same film decoded and drawn with the software renderer
// into a buffer of the size the surface asked for, untimed, as fast as it goes,
// its CPU time per frame drawn. The difference is what the program adds.
// Three rounds of both are taken; late_frames is the worst round, the rest
// are medians.

#include "film_bench.h"

#include "bench_util.h"
#include "film_maker.h"

#include "controls/art_scale.h"
#include "controls/film_surface_widget.h"
#include "controls/key_gate_ui.h"
#include "platform/files/atomic_save.h"
#include "platform/media/mpv_film_backend.h"
#include "shell/presentation.h"
#include "shell/presentation_ui.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <vector>

namespace ziro::bench {

namespace {

constexpr QSize kScreenSize{1920, 1080};
constexpr double kFramePeriodMs = 1000.0 / filmgen::kFilmFps;
constexpr int kFilmRounds = 3;

double cpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

// Records when each frame of the film is painted.
class PaintLog : public QObject {
public:
    PaintLog(FilmBackend& player, QElapsedTimer& clock) : m_player(player), m_clock(clock) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_recording) {
            const double ms = double(m_clock.nsecsElapsed()) / 1e6;
            // Reading the number is the bench's work, not the program's: its
            // time is taken out of the measure.
            const double probeStart = cpuMs(CLOCK_THREAD_CPUTIME_ID);
            if (const std::optional<int> n = filmgen::readFrameNumber(m_player.frame()))
                m_shown.emplace(*n, ms);  // the first painting counts
            else
                ++m_unreadable;
            m_probeMs += cpuMs(CLOCK_THREAD_CPUTIME_ID) - probeStart;
        }
        return false;
    }
    // Thread CPU time spent reading frame numbers.
    double probeMs() const { return m_probeMs; }

    void start() { m_recording = true; }
    void stop() { m_recording = false; }
    const std::map<int, double>& shown() const { return m_shown; }
    int unreadable() const { return m_unreadable; }

private:
    FilmBackend& m_player;
    QElapsedTimer& m_clock;
    bool m_recording = false;
    std::map<int, double> m_shown;  // frame -> ms
    int m_unreadable = 0;
    double m_probeMs = 0;
};

struct Playback {
    int shown = 0;
    int late = 0;
    int dropped = 0;
    double cpuMsPerFrame = 0;
    double windowMsPerFrame = 0;  // the window thread's share: Qt's painting
    QSize renderSize;  // what the surface asked the player for
};

Playback playInPresentation(const QString& film, int frames)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->geometry().size() != kScreenSize)
        fail(QStringLiteral("the offscreen platform did not give a %1 x %2 screen")
                 .arg(kScreenSize.width())
                 .arg(kScreenSize.height()));
    // The scale the program itself picks for a presentation filling this screen.
    setArtScale(artScaleFor(fitScale(QSizeF(screen->size())), screen->devicePixelRatio()));

    QWidget window;
    window.setFixedSize(kSurfaceSize.toSize());
    auto* surface = new FilmSurfaceWidget(&window);
    surface->setGeometry(window.rect());
    MpvFilmBackend player({.nullAudio = true});
    surface->setBackend(&player);
    presentMain(&window, true);

    QString error;
    if (!player.open(film, &error))
        fail(QStringLiteral("the film did not open: ") + error);
    QElapsedTimer clock;
    clock.start();
    PaintLog log(player, clock);
    surface->installEventFilter(&log);

    // Settle on the first frame before the clock matters.
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();
    if (player.frame().isNull())
        fail(QStringLiteral("the film showed no picture"));

    bool ended = false;
    player.onEnd = [&] {
        ended = true;
        loop.quit();
    };
    const int limitMs = frames * int(kFramePeriodMs) + 10000;
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    log.start();
    const double cpuStart = cpuMs();
    const double windowStart = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    player.play();
    loop.exec();
    log.stop();
    const double cpu = cpuMs() - cpuStart - log.probeMs();
    const double windowCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID) - windowStart - log.probeMs();
    const QSize renderSize = surface->renderSize();
    if (!ended)
        fail(QStringLiteral("the film did not end within %1 ms").arg(limitMs));
    player.close();

    Playback p;
    const std::map<int, double>& shown = log.shown();
    p.shown = int(shown.size());
    p.renderSize = renderSize;
    if (p.shown < 2)
        fail(QStringLiteral("no frames were painted"));
    double offset = 1e300;
    for (const auto& [n, ms] : shown)
        offset = std::min(offset, ms - n * kFramePeriodMs);
    for (const auto& [n, ms] : shown)
        if (ms - (offset + n * kFramePeriodMs) > kFramePeriodMs)
            ++p.late;
    p.dropped = shown.rbegin()->first - shown.begin()->first + 1 - p.shown;
    p.cpuMsPerFrame = cpu / p.shown;
    p.windowMsPerFrame = windowCpu / p.shown;
    if (log.unreadable() > 0)
        std::fprintf(stderr, "ziro-bench: %d paintings showed no readable frame number\n", log.unreadable());
    return p;
}

// libmpv alone: decode and draw every frame of `film` at `size`, untimed.
double renderAlone(const QString& film, QSize size)
{
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        fail(QStringLiteral("libmpv could not be created"));
    const char* const options[][2] = {{"config", "no"},        {"terminal", "no"},       {"vo", "libmpv"},
                                      {"ao", "null"},          {"ao-null-untimed", "yes"}, {"untimed", "yes"},
                                      {"keep-open", "no"},     {"idle", "yes"},          {"osd-level", "0"},
                                      {"hr-seek", "yes"},      {"hr-seek-demuxer-offset", "1.5"}};
    for (const auto& option : options)
        mpv_set_option_string(mpv, option[0], option[1]);
    if (mpv_initialize(mpv) < 0)
        fail(QStringLiteral("libmpv could not be started"));
    mpv_render_context* render = nullptr;
    const char* api = MPV_RENDER_API_TYPE_SW;
    mpv_render_param create[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(api)},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&render, mpv, create) < 0)
        fail(QStringLiteral("libmpv's software renderer could not be made"));

    struct Signal {
        std::mutex mutex;
        std::condition_variable wake;
        bool update = false;
    } signal;
    mpv_render_context_set_update_callback(
        render,
        [](void* p) {
            auto* s = static_cast<Signal*>(p);
            {
                std::lock_guard lock(s->mutex);
                s->update = true;
            }
            s->wake.notify_one();
        },
        &signal);

    // The same 64-byte aligned rows the player draws into.
    const qsizetype stride = (qsizetype(size.width()) * 4 + 63) / 64 * 64;
    std::vector<unsigned char> storage(size_t(stride) * size_t(size.height()) + 64);
    void* pixels = storage.data() + (64 - reinterpret_cast<quintptr>(storage.data()) % 64) % 64;
    int sw[2] = {size.width(), size.height()};
    size_t swStride = size_t(stride);
    const char* format = "bgr0";
    int block = 0;
    mpv_render_param draw[] = {{MPV_RENDER_PARAM_SW_SIZE, sw},
                               {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(format)},
                               {MPV_RENDER_PARAM_SW_STRIDE, &swStride},
                               {MPV_RENDER_PARAM_SW_POINTER, pixels},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};

    const QByteArray path = QFile::encodeName(film);
    const char* load[] = {"loadfile", path.constData(), nullptr};
    const double cpuStart = cpuMs();
    mpv_command(mpv, load);
    int drawn = 0;
    bool ended = false;
    QElapsedTimer limit;
    limit.start();
    while (!ended && limit.elapsed() < 120000) {
        {
            std::unique_lock lock(signal.mutex);
            signal.wake.wait_for(lock, std::chrono::milliseconds(20), [&] { return signal.update; });
            signal.update = false;
        }
        if (mpv_render_context_update(render) & MPV_RENDER_UPDATE_FRAME) {
            if (mpv_render_context_render(render, draw) >= 0)
                ++drawn;
        }
        while (true) {
            const mpv_event* event = mpv_wait_event(mpv, 0);
            if (event->event_id == MPV_EVENT_NONE)
                break;
            if (event->event_id == MPV_EVENT_END_FILE)
                ended = true;
        }
    }
    const double cpu = cpuMs() - cpuStart;
    mpv_render_context_free(render);
    mpv_terminate_destroy(mpv);
    if (!ended || drawn == 0)
        fail(QStringLiteral("libmpv alone did not play the film through"));
    return cpu / drawn;
}

}  // namespace

int runFilm(const char* argv0, int seconds)
{
    seconds = std::max(1, seconds);
    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    useOffscreenScreen(folder.path(), kScreenSize);
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    GuiApplication app(argc, argv);

    const int frames = seconds * filmgen::kFilmFps;
    const QString film = folder.filePath(QStringLiteral("bench.MPG"));
    QString error;
    if (!filmgen::makeFilm(film, {frames, true}, &error))
        fail(error);

    // The machine's speed drifts from second to second. Each round pairs a
    // playback with a reference taken right after it, and the medians of
    // the rounds are what is printed.
    std::vector<double> shown, dropped, cpu, window, references, ratios;
    int late = 0;
    QSize device;
    for (int round = 0; round < kFilmRounds; ++round) {
        const Playback p = playInPresentation(film, frames);
        const double reference = renderAlone(film, p.renderSize);
        shown.push_back(p.shown);
        dropped.push_back(p.dropped);
        cpu.push_back(p.cpuMsPerFrame);
        window.push_back(p.windowMsPerFrame);
        references.push_back(reference);
        ratios.push_back(p.cpuMsPerFrame / reference);
        late = std::max(late, p.late);
        device = p.renderSize;
    }
    std::printf("rounds %d\nframes_shown %d\nlate_frames %d\ndropped_frames %d\n", kFilmRounds,
                int(median(shown)), late, int(median(dropped)));
    std::printf("cpu_ms_per_frame %.3f\nrender_ms_per_frame %.3f\ncpu_ratio %.3f\n", median(cpu),
                median(references), median(ratios));
    std::printf("window_thread_ms_per_frame %.3f\nrender_size %dx%d\n", median(window), device.width(),
                device.height());
    return 0;
}

}  // namespace ziro::bench
