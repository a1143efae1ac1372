#include "viewers/film_window_logic.h"

#include "base/globals.h"
#include "config/settings.h"
#include "support/fake_film_backend.h"
#include "support/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ziro;
using ziro::test::FakeFilmBackend;

namespace {

constexpr qint64 kSecond = 10'000'000;

// Writes what the window was asked into the shared log; keeps the timers
// so the test can run them like the event loop would.
struct LogPort : FilmWindowPort {
    QStringList& log;
    QString name;
    QRect main{0, 0, 640, 480};
    bool config = false;
    bool timerRunning = false;
    int shotMs = 0;  // 0: no single shot pending
    QRect window, screen;
    FilmMasks masks;
    LogPort(QStringList& l, const char* n) : log(l), name(QString::fromLatin1(n)) {}

    QRect mainGeometry() const override { return main; }
    void placeWindow(const QRect& r) override { window = r; }
    void showWindow() override { log << name + " show"; }
    void hideWindow() override { log << name + " hide"; }
    void placeScreen(const QRect& r) override { screen = r; }
    void placeMasks(const FilmMasks& m) override { masks = m; }
    void takeFocus() override { log << name + " focus"; }
    void beep(int hz, int ms) override { log << QStringLiteral("beep %1 %2").arg(hz).arg(ms); }
    void message(const QString& t) override { log << "message " + t; }
    void startEndCheck() override { timerRunning = true; }
    void stopEndCheck() override
    {
        if (timerRunning)
            log << name + " timer off";
        timerRunning = false;
    }
    void singleShot(int ms) override
    {
        log << QStringLiteral("%1 shot %2").arg(name).arg(ms);
        shotMs = ms;
    }
    void passKey(int key, Qt::KeyboardModifiers) override { log << QStringLiteral("key %1").arg(key); }
    bool configWindowVisible() const override { return config; }
    void toggleFullScreen() override { log << name + " fullscreen"; }
};

struct LogBar : MediaBarLink {
    QStringList& log;
    bool shown = false;
    explicit LogBar(QStringList& l) : log(l) {}
    bool barVisible() const override { return shown; }
    void showBar() override
    {
        shown = true;
        log << "bar show";
    }
    void closeBar() override
    {
        if (shown)
            log << "bar close";
        shown = false;
    }
};

class FilmWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        players.setMediaBar(&bar);
    }

    FilmWindowLogic& of(FilmPlayer p) { return p == FilmPlayer::Mpeg ? mpeg : mp4; }
    LogPort& portOf(FilmPlayer p) { return p == FilmPlayer::Mpeg ? mpegPort : mp4Port; }

    FilmRequest request(FilmPlayer p, qint64 inizio = 0, qint64 fine = 0, int size = 3,
                        bool daMenu = false)
    {
        const QString path = dir.filePath(p == FilmPlayer::Mp4 ? "Flm1.KXS" : "Flm1.KXV");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        FilmRequest r;
        r.file = FilmFile{path, p, true, true};
        r.inizio = inizio;
        r.fine = fine;
        r.size = size;
        r.daMenu = daMenu;
        return r;
    }
    void start(FilmPlayer p, qint64 inizio = 0, qint64 fine = 0, int size = 3, bool daMenu = false)
    {
        ASSERT_TRUE(players.play(request(p, inizio, fine, size, daMenu)));
        log.clear();
        backend.calls.clear();
        mpegPort.shotMs = mp4Port.shotMs = 0;
        shotElapsed = 0;
    }
    // Runs the clock like the event loop, in steps of 40 ms: the film
    // moves, a pending single shot fires once its time has passed, and the
    // 40 ms check runs while its timer does.
    void run(FilmWindowLogic& w, LogPort& port, int ms)
    {
        for (int t = 40; t <= ms; t += 40) {
            backend.advance(40);
            if (port.shotMs) {
                shotElapsed += 40;
                if (shotElapsed >= port.shotMs) {
                    port.shotMs = 0;
                    shotElapsed = 0;
                    w.endCloseTimeout();
                }
            }
            if (port.timerRunning)
                w.SeekTimerTimer();
        }
    }

    int shotElapsed = 0;
    QTemporaryDir dir;
    Globals g;
    Config config;
    FakeFilmBackend backend;
    QStringList log;
    LogPort mpegPort{log, "mpeg"}, mp4Port{log, "mp4"};
    LogBar bar{log};
    FilmWindowLogic mpeg{FilmPlayer::Mpeg, g, config, backend, mpegPort};
    FilmWindowLogic mp4{FilmPlayer::Mp4, g, config, backend, mp4Port};
    FilmPlayers players{mpeg, mp4, backend, g};
};

const FilmPlayer kBoth[] = {FilmPlayer::Mpeg, FilmPlayer::Mp4};

const char* nameOf(FilmPlayer p)
{
    return p == FilmPlayer::Mpeg ? "MPEG" : "MP4";
}

// ---------------------------------------------------------------------------

TEST(FilmUnits, FramesAtTheirBoundaries)
{
    const std::pair<double, qint64> cases[] = {
        {0.0, 0}, {0.04, 1}, {0.08, 2}, {1.64, 41}, {41.0 / 25, 41}, {0.0399, 0},
        {3599.96, 89999}, {-0.5, 0},
    };
    for (const auto& [seconds, frame] : cases)
        EXPECT_EQ(frameOf(unitsOfSeconds(seconds)), frame) << seconds;
    EXPECT_EQ(frameOf(-1), 0);
    EXPECT_EQ(unitsOfFrame(500), 20 * kSecond);
}

TEST(FilmUnits, CutListsAreReadLeniently)
{
    const std::pair<const char*, EdlRange> cases[] = {
        {"250/500", {250, 500}}, {"250/500/x", {250, 0}}, {"abc", {0, 0}}, {"-5/3", {0, 3}},
        // Past any film: its position in 100 ns units would overflow.
        {"999999999999999", {0, 0}}, {"23058430092136/23058430092137", {23058430092136, 0}},
    };
    for (const auto& [text, range] : cases)
        EXPECT_EQ(parseEdl(QString::fromLatin1(text)), range) << text;
}

TEST_F(FilmWindowTest, AFilmOpensSeeksToItsCutAndPlays)
{
    for (const FilmPlayer p : kBoth) {
        SCOPED_TRACE(nameOf(p));
        backend.calls.clear();
        log.clear();
        backend.nextDuration = 30 * kSecond;
        const FilmRequest r = request(p, 250, 500, 3);
        ASSERT_TRUE(players.play(r));
        EXPECT_EQ(backend.openedPath(), r.file.path);  // the masked file, as it is
        EXPECT_TRUE(backend.calls.contains(QStringLiteral("seek %1").arg(10 * kSecond)));
        EXPECT_EQ(backend.calls.last(), "play");
        EXPECT_EQ(g.StatoVideo, 1);
        EXPECT_EQ(g.FileVideoCorrente, r.file.path);
        EXPECT_EQ(g.DurataVideo, 30 * kSecond);
        EXPECT_TRUE(g.VideoAperto && g.VideoInCorso);
        EXPECT_EQ(of(p).InizioVideo(), 250);
        EXPECT_EQ(of(p).FineVideo(), 500);
        EXPECT_TRUE(of(p).visible());
        EXPECT_TRUE(portOf(p).timerRunning);
        EXPECT_EQ(log, (QStringList{QString::fromLatin1(p == FilmPlayer::Mpeg ? "mpeg show" : "mp4 show"),
                                    QString::fromLatin1(p == FilmPlayer::Mpeg ? "mpeg focus" : "mp4 focus")}));
        players.closeFilm();
        EXPECT_FALSE(of(p).visible());
        EXPECT_EQ(g.StatoVideo, 0);
    }
}

TEST_F(FilmWindowTest, AFilmThatDoesNotOpenLeavesNothingBehind)
{
    struct Case {
        FilmPlayer player;
        bool fileExists;
        bool audio;
        QString message;
    };
    const QString stream = QStringLiteral("Lo stream video del file: %1 non è disponibile.\rformato sconosciuto");
    const Case cases[] = {
        {FilmPlayer::Mpeg, false, true,
         "Errore DirectShow (FileName), Impossibile visualizzare il filmato."},
        {FilmPlayer::Mpeg, true, true,
         "Errore DirectShow (Rendering), Impossibile visualizzare il filmato."},
        {FilmPlayer::Mpeg, true, false, "Scheda audio non rilevata, impossibile visualizzare il filmato."},
        {FilmPlayer::Mp4, true, true, stream},
        {FilmPlayer::Mp4, false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        log.clear();
        backend.calls.clear();
        backend.audioOutput = c.audio;
        backend.openFailures = {QStringLiteral("formato sconosciuto")};
        FilmRequest r = request(c.player, 0, 0, 5, true);
        if (!c.fileExists)
            QFile::remove(r.file.path);
        QString error = QStringLiteral("stale");
        EXPECT_FALSE(players.play(r, &error));
        const QStringList messages = log.filter(QStringLiteral("message "));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.isEmpty());
        } else {
            EXPECT_EQ(messages, QStringList{"message " + QString(c.message).replace("%1", r.file.path)});
        }
        EXPECT_FALSE(g.VideoAperto || g.VideoInCorso || g.VideoDaMenu);
        EXPECT_EQ(g.StatoVideo, 0);
        EXPECT_TRUE(g.FileVideoCorrente.isEmpty());
        EXPECT_FALSE(of(c.player).visible());
        EXPECT_FALSE(log.contains(QStringLiteral("mpeg show")) || log.contains(QStringLiteral("mp4 show")));
        // Nothing of the film is used after it failed.
        EXPECT_FALSE(backend.calls.contains(QStringLiteral("play")));
        EXPECT_FALSE(portOf(c.player).timerRunning);
    }
}

TEST_F(FilmWindowTest, StateChangesOfEachWindow)
{
    enum Op { Play, Pause, Stop, Rew };
    struct Row {
        FilmPlayer player;
        Op op;
        const char* fromStates;  // result from state 0..4: T changes it, F refuses
    };
    const Row rows[] = {
        {FilmPlayer::Mpeg, Play, "FFTTF"}, {FilmPlayer::Mpeg, Pause, "FTFFT"},
        {FilmPlayer::Mpeg, Stop, "FTFTT"}, {FilmPlayer::Mpeg, Rew, "FTFTT"},
        {FilmPlayer::Mp4, Play, "FTTTT"},  {FilmPlayer::Mp4, Pause, "FTTTT"},
        {FilmPlayer::Mp4, Stop, "FTFTT"},  {FilmPlayer::Mp4, Rew, "FTFTT"},
    };
    const int target[] = {1, 3, 2, 2};
    for (const Row& row : rows) {
        for (int from = 0; from <= 4; ++from) {
            SCOPED_TRACE(QStringLiteral("%1 op %2 from %3").arg(nameOf(row.player)).arg(row.op).arg(from).toStdString());
            start(row.player);
            FilmWindowLogic& w = of(row.player);
            if (from != 1)
                backend.pause();
            g.StatoVideo = from;
            bool ok = false;
            switch (row.op) {
            case Play: ok = w.PlayVideo(); break;
            case Pause: ok = w.PauseVideo(); break;
            case Stop: ok = w.StopVideo(); break;
            case Rew: ok = w.RewVideo(); break;
            }
            const bool expected = row.fromStates[from] == 'T';
            EXPECT_EQ(ok, expected);
            EXPECT_EQ(g.StatoVideo, expected ? target[row.op] : from);
            if (expected) {
                EXPECT_EQ(backend.isPlaying(), row.op == Play);
            }
            players.closeFilm();
        }
    }
}

TEST_F(FilmWindowTest, RewindGoesToTheFilmOrTheCutStart)
{
    for (const FilmPlayer p : kBoth) {
        SCOPED_TRACE(nameOf(p));
        start(p, 100, 0);
        run(of(p), portOf(p), 2000);
        ASSERT_TRUE(of(p).RewVideo());
        EXPECT_EQ(backend.position(), p == FilmPlayer::Mpeg ? 0 : unitsOfFrame(100));
        EXPECT_EQ(g.PosizioneVideo, backend.position());
        players.closeFilm();
    }
}

TEST_F(FilmWindowTest, TheEndOfTheCutClosesTheFilmOnceWithAutoOff)
{
    struct Case {
        FilmPlayer player;
        const char* edl;
        bool autoOff;
        int closesAtMs;  // -1: never
    };
    const Case cases[] = {
        {FilmPlayer::Mpeg, "250/500", true, 20'000 + 300},
        {FilmPlayer::Mp4, "250/500", true, 20'000 + 200},
        {FilmPlayer::Mpeg, "250/500", false, -1},
        // An end not after the start plays to the end (30 s).
        {FilmPlayer::Mpeg, "500/250", true, 30'000 + 300},
        {FilmPlayer::Mpeg, "250/250", true, 30'000 + 300},
        {FilmPlayer::Mp4, "250/0", true, 30'000 + 200},
        {FilmPlayer::Mp4, "-5/3", true, 120 + 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(nameOf(c.player), c.edl).arg(c.autoOff).toStdString());
        config.CBVautoOff = c.autoOff;
        backend.nextDuration = 30 * kSecond;
        const EdlRange cut = parseEdl(QString::fromLatin1(c.edl));
        start(c.player, cut.inizio, cut.fine);
        FilmWindowLogic& w = of(c.player);
        LogPort& port = portOf(c.player);
        const int startMs = int(unitsOfFrame(cut.inizio) / 10'000);
        if (c.closesAtMs < 0) {
            run(w, port, 40'000);
            EXPECT_TRUE(w.visible());
            EXPECT_EQ(backend.count("close"), 0);
            players.closeFilm();
            continue;
        }
        run(w, port, c.closesAtMs - startMs - 40);
        EXPECT_TRUE(w.visible()) << "closed too early";
        run(w, port, 80);
        EXPECT_FALSE(w.visible());
        EXPECT_FALSE(g.VideoAperto);
        // The checks stopped before the film did, and the close came once.
        const QString name = port.name;
        EXPECT_LT(log.indexOf(name + " timer off"), log.indexOf(QStringLiteral("%1 shot %2").arg(name).arg(c.player == FilmPlayer::Mpeg ? 300 : 200)));
        EXPECT_EQ(log.count(name + " hide"), 1);
        EXPECT_EQ(backend.count("close"), 1);
    }
}

TEST_F(FilmWindowTest, TheEndRuleDoesNotRunIntoItself)
{
    start(FilmPlayer::Mpeg, 0, 25);
    run(mpeg, mpegPort, 1000);
    ASSERT_EQ(mpegPort.shotMs, 300);
    // A late tick, a second timeout and a close by hand change nothing more.
    mpeg.SeekTimerTimer();
    EXPECT_EQ(log.filter(QStringLiteral("shot")).size(), 1);
    mpeg.endCloseTimeout();
    mpeg.endCloseTimeout();
    mpeg.Chiudi();
    EXPECT_EQ(log.count(QStringLiteral("mpeg hide")), 1);
    EXPECT_EQ(backend.count("close"), 1);

    // A film closed by hand while its close is pending is not closed again
    // by the pending one, nor is the next film.
    start(FilmPlayer::Mpeg, 0, 25);
    run(mpeg, mpegPort, 1040);
    ASSERT_EQ(mpegPort.shotMs, 300);
    mpeg.SchermoClick();  // size 3 window: closes
    ASSERT_TRUE(players.play(request(FilmPlayer::Mpeg)));
    mpeg.endCloseTimeout();
    EXPECT_TRUE(mpeg.visible());
}

TEST_F(FilmWindowTest, TheMp4FilmPausesAtItsEndWithoutAutoOff)
{
    config.CBVautoOff = false;
    backend.nextDuration = 2 * kSecond;
    start(FilmPlayer::Mp4);
    run(mp4, mp4Port, 2500);
    EXPECT_EQ(g.StatoVideo, 3);
    EXPECT_EQ(g.PosizioneVideo, 2 * kSecond);
    EXPECT_TRUE(mp4.visible());
}

TEST_F(FilmWindowTest, SizesPlaceThePictureAndItsMasks)
{
    struct Case {
        int size;
        QRect screen;
        bool shown;
        QColor colour;
        int width;
    };
    // Sizes 1, 2 and 4 keep the masks as they were (hidden at first).
    const Case cases[] = {
        {1, {131, 43, 352, 288}, false, Qt::white, 9}, {2, {147, 67, 320, 240}, false, Qt::white, 9},
        {3, {63, 3, 488, 368}, true, Qt::white, 9},    {4, {131, 43, 352, 288}, true, Qt::white, 9},
        {5, {0, 0, 640, 480}, true, Qt::black, 12},    {2, {147, 67, 320, 240}, true, Qt::black, 12},
        {0, {147, 67, 320, 240}, true, Qt::black, 12}, {6, {147, 67, 320, 240}, true, Qt::black, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        mpeg.SetSize(c.size);
        EXPECT_EQ(mpeg.schermo(), c.screen);
        EXPECT_EQ(mpegPort.screen, c.screen);
        EXPECT_EQ(mpegPort.masks, masksInside(c.screen, c.shown, c.colour, c.width));
    }
    const FilmMasks m = masksInside(QRect(63, 3, 488, 368), true, Qt::white, 9);
    EXPECT_EQ(m.left, QRect(63, 3, 9, 368));
    EXPECT_EQ(m.right, QRect(542, 3, 9, 368));
    EXPECT_EQ(m.top, QRect(63, 3, 488, 9));
    EXPECT_EQ(m.bottom, QRect(63, 362, 488, 9));
}

TEST_F(FilmWindowTest, TheWindowOpensSmallOrFull)
{
    struct Case {
        QRect main;
        int videoSize;
        int requestSize;
        bool daMenu;
        QRect window;
    };
    const Case cases[] = {
        {{0, 0, 640, 480}, 3, 3, false, {14, 18, 607, 374}},
        {{100, 50, 800, 600}, 2, 2, false, {194, 128, 607, 374}},
        {{100, 50, 800, 600}, 5, 5, false, {100, 50, 640, 480}},
        {{0, 0, 640, 480}, 3, 5, true, {0, 0, 640, 480}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.videoSize);
        mpegPort.main = c.main;
        g.VideoSize = c.videoSize;
        start(FilmPlayer::Mpeg, 0, 0, c.requestSize, c.daMenu);
        EXPECT_EQ(mpegPort.window, c.window);
        EXPECT_EQ(g.VideoDaMenu, c.daMenu);
        players.closeFilm();
        EXPECT_FALSE(g.VideoDaMenu);
    }
}

TEST_F(FilmWindowTest, ClicksShrinkEnlargeOrClose)
{
    struct Case {
        int videoSize;
        bool daMenu;
        bool configShown;
        bool enlargeFirst;
        bool closes;
    };
    const Case cases[] = {
        {3, false, false, true, false},  // full-size film in a size 3 setting shrinks
        {3, false, false, false, true},  // the small film closes
        {5, false, false, true, true},
        {3, true, false, true, true},    // started from the menu
        {3, false, true, true, true},    // configuration window on show
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3 %4").arg(c.videoSize).arg(c.daMenu).arg(c.configShown).arg(c.enlargeFirst).toStdString());
        g.VideoSize = c.videoSize;
        mpegPort.config = c.configShown;
        start(FilmPlayer::Mpeg, 0, 0, c.videoSize, c.daMenu);
        if (c.enlargeFirst) {
            mpeg.FormClick();
            EXPECT_EQ(mpegPort.window, QRect(0, 0, 640, 480));
            EXPECT_EQ(mpeg.schermo(), QRect(0, 0, 640, 480));
            EXPECT_EQ(mpegPort.masks, masksInside(QRect(0, 0, 640, 480), true, Qt::black, 12));
        }
        bar.shown = true;
        mpeg.SchermoClick();
        EXPECT_EQ(mpeg.visible(), !c.closes);
        EXPECT_FALSE(bar.shown);
        if (!c.closes) {
            EXPECT_EQ(mpegPort.window, QRect(14, 18, 607, 374));
            EXPECT_EQ(mpeg.schermo(), QRect(63, 3, 488, 368));
            EXPECT_EQ(mpegPort.masks, masksInside(QRect(63, 3, 488, 368), true, Qt::white, 9));
            EXPECT_EQ(g.StatoVideo, 1);
        }
        players.closeFilm();
        mpegPort.config = false;
    }
}

TEST_F(FilmWindowTest, KeysOfBothWindows)
{
    const auto kp = Qt::KeypadModifier;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        bool full;
        const char* mpegDoes;
        const char* mp4Does;
    };
    const Case cases[] = {
        {Qt::Key_Escape, {}, true, "shrink", "shrink"},
        {Qt::Key_Escape, {}, false, "close", "close"},
        {Qt::Key_0, kp, true, "bar show", "bar show"},
        {Qt::Key_0, kp, false, "", ""},
        {Qt::Key_2, kp, true, "shrink", "shrink"},
        {Qt::Key_2, kp, false, "enlarge", "enlarge"},
        {Qt::Key_1, kp, false, "beep 400 10", "beep 400 10"},
        {Qt::Key_3, kp, false, "beep 400 10", "beep 400 10"},
        {Qt::Key_F, {}, false, "key 70", "fullscreen"},
        {Qt::Key_2, {}, false, "key 50", "key 50"},  // the main row's 2 is not the keypad's
        {Qt::Key_Right, {}, false, "key 16777236", "key 16777236"},
    };
    for (const FilmPlayer p : kBoth) {
        for (const Case& c : cases) {
            SCOPED_TRACE(QStringLiteral("%1 key %2 full %3").arg(nameOf(p)).arg(c.key).arg(c.full).toStdString());
            g.VideoSize = 3;
            start(p, 0, 0, 3);
            FilmWindowLogic& w = of(p);
            if (c.full)
                w.FormClick();
            log.clear();
            w.FormKey(c.key, c.mods);
            const QString does = QString::fromLatin1(p == FilmPlayer::Mpeg ? c.mpegDoes : c.mp4Does);
            if (does == "shrink") {
                EXPECT_TRUE(w.visible());
                EXPECT_EQ(w.schermo().width(), 488);
            } else if (does == "enlarge") {
                EXPECT_EQ(w.schermo().width(), 640);
            } else if (does == "close") {
                EXPECT_FALSE(w.visible());
            } else if (does == "fullscreen") {
                EXPECT_EQ(log, QStringList{portOf(p).name + " fullscreen"});
            } else if (does.isEmpty()) {
                EXPECT_TRUE(log.isEmpty()) << log.join(", ").toStdString();
            } else {
                EXPECT_EQ(log, QStringList{does});
            }
            players.closeFilm();
            bar.shown = false;
        }
    }
}

TEST_F(FilmWindowTest, RightClickOnTheFullFilmShowsOrHidesTheBar)
{
    g.VideoSize = 5;
    start(FilmPlayer::Mp4, 0, 0, 5);
    mp4.SchermoMouseDown(Qt::LeftButton);
    EXPECT_FALSE(bar.shown);
    mp4.SchermoMouseDown(Qt::RightButton);
    EXPECT_TRUE(bar.shown);
    mp4.SchermoMouseDown(Qt::RightButton);
    EXPECT_FALSE(bar.shown);
    // A paused film keeps the bar up: the click shows it again.
    g.VideoInCorso = false;
    mp4.SchermoMouseDown(Qt::RightButton);
    mp4.SchermoMouseDown(Qt::RightButton);
    EXPECT_TRUE(bar.shown);
    mp4.SchermoClick();  // full screen: closes, and the bar with it
    EXPECT_FALSE(bar.shown);
}

TEST_F(FilmWindowTest, MainWindowPauseToggle)
{
    players.PausaVideo();  // nothing open
    EXPECT_TRUE(backend.calls.isEmpty());
    for (const FilmPlayer p : kBoth) {
        SCOPED_TRACE(nameOf(p));
        start(p);
        players.PausaVideo();
        EXPECT_FALSE(g.VideoInCorso);
        EXPECT_EQ(g.StatoVideo, 3);
        EXPECT_FALSE(backend.isPlaying());
        players.PausaVideo();
        EXPECT_TRUE(g.VideoInCorso);
        EXPECT_EQ(g.StatoVideo, 1);
        EXPECT_TRUE(backend.isPlaying());
        players.closeFilm();
    }
}

TEST_F(FilmWindowTest, AnEngineFailureClosesTheFilm)
{
    start(FilmPlayer::Mpeg);
    backend.failNow(QStringLiteral("decoder"));
    EXPECT_FALSE(mpeg.visible());
    EXPECT_FALSE(g.VideoAperto);
    EXPECT_EQ(g.StatoVideo, 0);
}

TEST_F(FilmWindowTest, VolumeNeedsAFilmOrASoundCard)
{
    EXPECT_EQ(mpeg.GetVolume(), 0);
    mpeg.SetVolume(40);
    EXPECT_FALSE(backend.calls.contains(QStringLiteral("volume 40")));
    start(FilmPlayer::Mp4);
    mp4.SetVolume(40);
    EXPECT_EQ(mp4.GetVolume(), 40);
    backend.audioOutput = false;
    mp4.SetVolume(70);
    EXPECT_EQ(mp4.GetVolume(), 0);
    EXPECT_EQ(backend.volume(), 40);
}

}  // namespace
