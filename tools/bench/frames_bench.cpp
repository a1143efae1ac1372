// ziro-bench --frames: how fast and how exactly the crossroads exercise
// shows the frame it asks for.
//
// The player is the exercise's own: CrossFilm over the libmpv backend,
// painted by a panel of 440 x 350 in a 640 x 480 window presented on a
// 1920 x 1080 screen. `requests` random seeks are made, then `requests`
// single steps (runs of ten forward and ten back). For each, the time from
// the request to the player saying the frame is ready to paint is taken,
// and the frame number is read from that picture: a frame other than the
// one asked for, or none within two seconds, counts in frames_wrong.
//
// The reference, render_ms, is libmpv alone in the same process: the same
// file opened paused, an exact seek to each of the same random frames, and
// the time until its software renderer has drawn the new frame at the same
// size. seek_ratio is seek_ms over render_ms.

#include "frames_bench.h"

#include "bench_util.h"
#include "film_maker.h"

#include "controls/art_scale.h"
#include "controls/film_surface_widget.h"
#include "controls/key_gate_ui.h"
#include "crossroads/cross_film.h"
#include "platform/files/masked_stream.h"
#include "platform/media/mpv_film_backend.h"
#include "shell/presentation.h"
#include "shell/presentation_ui.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/stream_cb.h>

#include <cstdio>
#include <vector>

namespace ziro::bench {

namespace {

constexpr QSize kScreenSize{1920, 1080};
constexpr QRect kPanel(93, 30, 440, 350);  // where the exercise's panel lies in the main window

struct Request {
    int frame = 0;
    double ms = 0;
    bool right = false;
};

// Asks `film` for `frame` and waits for the engine to say it is ready.
Request ask(cross::CrossFilm& film, FilmBackend& engine, int frame)
{
    Request r;
    r.frame = frame;
    int told = -1;
    QEventLoop loop;
    const QMetaObject::Connection c = QObject::connect(&film, &cross::CrossFilm::frameShown, [&](int f) {
        told = f;
        loop.quit();
    });
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    film.showFrame(frame);
    loop.exec();
    r.ms = double(clock.nsecsElapsed()) / 1e6;
    QObject::disconnect(c);
    r.right = told == frame && filmgen::readFrameNumber(engine.frame()) == frame;
    return r;
}

// libmpv reads the masked file through the same in-memory unmasking.
struct Cookie {
    MaskedStream stream;
    qint64 at = 0;
};

int openMasked(void*, char* uri, mpv_stream_cb_info* info)
{
    auto* c = new Cookie;
    if (!c->stream.open(QFile::decodeName(QByteArray(uri).mid(int(sizeof "benchfilm://") - 1)))) {
        delete c;
        return MPV_ERROR_LOADING_FAILED;
    }
    info->cookie = c;
    info->read_fn = [](void* p, char* buf, uint64_t n) -> int64_t {
        auto* c = static_cast<Cookie*>(p);
        const qint64 got = c->stream.read(c->at, buf, qint64(n));
        if (got > 0)
            c->at += got;
        return got;
    };
    info->seek_fn = [](void* p, int64_t offset) -> int64_t {
        static_cast<Cookie*>(p)->at = offset;
        return offset;
    };
    info->size_fn = [](void* p) -> int64_t { return static_cast<Cookie*>(p)->stream.size(); };
    info->close_fn = [](void* p) { delete static_cast<Cookie*>(p); };
    return 0;
}

// libmpv alone: an exact seek to each frame, timed until drawn at `size`.
std::vector<double> renderAlone(const QString& film, QSize size, const std::vector<int>& frames)
{
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        fail(QStringLiteral("libmpv could not be created"));
    const char* const options[][2] = {{"config", "no"}, {"terminal", "no"}, {"vo", "libmpv"}, {"ao", "null"},
                                      {"keep-open", "always"}, {"idle", "yes"}, {"pause", "yes"},
                                      {"osd-level", "0"}, {"hr-seek", "yes"}, {"hr-seek-demuxer-offset", "1.5"}};
    for (const auto& option : options)
        mpv_set_option_string(mpv, option[0], option[1]);
    if (mpv_initialize(mpv) < 0 || mpv_stream_cb_add_ro(mpv, "benchfilm", nullptr, openMasked) < 0)
        fail(QStringLiteral("libmpv could not be started"));
    mpv_render_context* render = nullptr;
    const char* api = MPV_RENDER_API_TYPE_SW;
    mpv_render_param create[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(api)},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&render, mpv, create) < 0)
        fail(QStringLiteral("libmpv's software renderer could not be made"));
    QImage picture(size, QImage::Format_RGB32);
    int sw[2] = {size.width(), size.height()};
    size_t stride = size_t(picture.bytesPerLine());
    const char* format = "bgr0";
    int block = 0;
    mpv_render_param draw[] = {{MPV_RENDER_PARAM_SW_SIZE, sw},
                               {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(format)},
                               {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                               {MPV_RENDER_PARAM_SW_POINTER, picture.bits()},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
    // Events and pictures are served on this thread alone: libmpv waits for
    // a seek's frame to be drawn before it calls the seek done.
    const auto serve = [&](bool* restarted, bool* loaded, bool* drawn) {
        if (mpv_render_context_update(render) & MPV_RENDER_UPDATE_FRAME)
            if (mpv_render_context_render(render, draw) >= 0 && drawn)
                *drawn = true;
        for (const mpv_event* e = mpv_wait_event(mpv, 0.001); e->event_id != MPV_EVENT_NONE;
             e = mpv_wait_event(mpv, 0)) {
            if (e->event_id == MPV_EVENT_PLAYBACK_RESTART && restarted)
                *restarted = true;
            if (e->event_id == MPV_EVENT_FILE_LOADED && loaded)
                *loaded = true;
            if (e->event_id == MPV_EVENT_END_FILE && loaded && !*loaded)
                fail(QStringLiteral("libmpv alone could not open the animation"));
        }
    };
    const QByteArray uri = QByteArray("benchfilm://") + QFile::encodeName(film);
    const char* load[] = {"loadfile", uri.constData(), nullptr};
    mpv_command(mpv, load);
    bool loaded = false, restarted = false;
    QElapsedTimer limit;
    limit.start();
    while ((!loaded || !restarted) && limit.elapsed() < 10000)
        serve(&restarted, &loaded, nullptr);
    std::vector<double> times;
    for (int frame : frames) {
        const QByteArray seconds = QByteArray::number(frame * 0.04, 'f', 6);
        const char* seek[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
        bool done = false, drawn = false;
        QElapsedTimer clock;
        clock.start();
        mpv_command_async(mpv, 0, seek);
        while (!(done && drawn) && clock.elapsed() < 2000)
            serve(&done, nullptr, &drawn);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (filmgen::readFrameNumber(picture) != frame)
            std::fprintf(stderr, "ziro-bench: libmpv alone drew another frame than %d\n", frame);
    }
    mpv_render_context_free(render);
    mpv_terminate_destroy(mpv);
    return times;
}

}  // namespace

int runFrames(const char* argv0, const QString& given, int requests)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    useOffscreenScreen(folder.path(), kScreenSize);
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    GuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    setArtScale(artScaleFor(fitScale(QSizeF(screen->size())), screen->devicePixelRatio()));

    QString film = given;
    if (film.isEmpty()) {
        film = folder.filePath(QStringLiteral("Crs631.KXA"));
        QString error;
        filmgen::FilmSpec spec;
        spec.frames = 1130;
        spec.sound = false;
        if (!filmgen::makeFilm(film, spec, &error))
            fail(error);
    }

    QWidget window;
    window.setFixedSize(640, 480);
    auto* panel = new FilmSurfaceWidget(&window);
    panel->setGeometry(kPanel);
    MpvFilmBackend engine({.nullAudio = true});
    panel->setBackend(&engine);
    cross::CrossFilm player(engine);
    presentMain(&window, true);
    QString error;
    if (!player.open(film, &error))
        fail(QStringLiteral("the animation did not open: ") + error);
    const int frames = player.frameCount();
    if (frames < 2)
        fail(QStringLiteral("the animation has too few frames"));
    // The panel has its size on the screen before the first request.
    ask(player, engine, 0);

    QRandomGenerator random(20251211);
    std::vector<int> targets;
    for (int i = 0; i < requests; ++i)
        targets.push_back(int(random.bounded(frames)));
    int wrong = 0;
    std::vector<double> seeks, steps;
    for (int f : targets) {
        const Request r = ask(player, engine, f);
        seeks.push_back(r.ms);
        wrong += r.right ? 0 : 1;
    }
    int at = frames / 2;
    for (int i = 0; i < requests; ++i) {
        at = std::clamp(at + ((i / 10) % 2 == 0 ? 1 : -1), 0, frames - 1);
        const Request r = ask(player, engine, at);
        steps.push_back(r.ms);
        wrong += r.right ? 0 : 1;
    }
    const QSize device = panel->renderSize();
    player.close();
    const std::vector<double> alone = renderAlone(film, device, targets);

    std::printf("film %s\nframes %d\nrender_size %dx%d\n", qPrintable(film), frames, device.width(), device.height());
    std::printf("frames_wrong %d\nseek_ms %.3f\nstep_ms %.3f\nrender_ms %.3f\nseek_ratio %.3f\n", wrong,
                median(seeks), median(steps), median(alone), median(seeks) / median(alone));
    return 0;
}

}  // namespace ziro::bench
