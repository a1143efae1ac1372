#include "viewers/media_bar.h"

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
const auto kp = Qt::KeypadModifier;

struct BarPort : MediaBarPort {
    QStringList log;
    QRect main{0, 0, 640, 480};
    QRect geometry;
    bool ticking = false;
    int sliderMax = -1, sliderValue = -1, strip = -1;
    QRect mainGeometry() const override { return main; }
    void placeBar(const QRect& r) override { geometry = r; }
    void showBar() override { log << "show"; }
    void hideBar() override { log << "hide"; }
    void startTick() override { ticking = true; }
    void stopTick() override { ticking = false; }
    void setSliderRange(int m) override { sliderMax = m; }
    void setSliderValue(int v) override { sliderValue = v; }
    void drawStrip(int filled) override { strip = filled; }
    void focusHidden() override { log << "focusHidden"; }
    void passKey(int key, Qt::KeyboardModifiers) override { log << QStringLiteral("key %1").arg(key); }
};

struct FocusPort : FilmWindowPort {
    int focused = 0;
    void takeFocus() override { ++focused; }
};

class MediaBarTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    FilmWindowLogic& start(FilmPlayer p, qint64 inizio = 0, bool daMenu = false,
                           qint64 duration = 60 * kSecond)
    {
        const QString path = dir.filePath(p == FilmPlayer::Mp4 ? "Flm1.KXS" : "Flm1.KXV");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        FilmRequest r;
        r.file = FilmFile{path, p, true, true};
        r.inizio = inizio;
        r.size = 5;
        r.daMenu = daMenu;
        backend.nextDuration = duration;
        EXPECT_TRUE(films.play(r));
        return films.window(p);
    }

    QTemporaryDir dir;
    Globals g;
    Config config;
    FakeFilmBackend backend;
    FocusPort mpegPort, mp4Port;
    FilmWindowLogic mpeg{FilmPlayer::Mpeg, g, config, backend, mpegPort};
    FilmWindowLogic mp4{FilmPlayer::Mp4, g, config, backend, mp4Port};
    FilmPlayers films{mpeg, mp4, backend, g};
    BarPort port;
    MediaBar bar{g, films, port};
};

const FilmPlayer kBoth[] = {FilmPlayer::Mpeg, FilmPlayer::Mp4};

TEST_F(MediaBarTest, WidthFollowsTheFilmAndTheExpandButton)
{
    EXPECT_EQ(MediaBar::layout().strip, QRect(169, 5, 151, 7));
    struct Case {
        QRect main;
        bool daMenu;
        int keypad4;  // presses of keypad 4 after showing
        QRect bar;
    };
    const Case cases[] = {
        {{0, 0, 640, 480}, false, 0, {484, 425, 134, 33}},
        {{0, 0, 640, 480}, true, 0, {464, 425, 154, 33}},
        {{0, 0, 640, 480}, false, 1, {283, 425, 335, 33}},  // an ordinary film's bar widens too
        {{0, 0, 640, 480}, true, 2, {464, 425, 154, 33}},
        {{100, 20, 800, 600}, true, 1, {383, 445, 335, 33}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.daMenu).arg(c.keypad4).toStdString());
        port.main = c.main;
        start(FilmPlayer::Mpeg, 0, c.daMenu);
        bar.releaseExpand();
        bar.showBar();
        for (int i = 0; i < c.keypad4; ++i)
            bar.FormKeyUp(Qt::Key_4, kp);
        EXPECT_EQ(bar.geometry(), c.bar);
        EXPECT_EQ(port.geometry, c.bar);
        EXPECT_EQ(bar.buttons().expandCaption, QString::fromLatin1(c.keypad4 % 2 ? "<" : ">"));
        films.closeFilm();
        EXPECT_FALSE(bar.barVisible());
        EXPECT_FALSE(port.ticking);
    }
}

TEST_F(MediaBarTest, PauseAndPlayButtons)
{
    for (const FilmPlayer p : kBoth) {
        SCOPED_TRACE(int(p));
        start(p);
        bar.showBar();
        EXPECT_TRUE(bar.buttons().play && !bar.buttons().pause);
        bar.PAUSEClick();
        EXPECT_TRUE(!bar.buttons().play && bar.buttons().pause);
        EXPECT_FALSE(g.VideoInCorso);
        EXPECT_FALSE(backend.isPlaying());
        bar.PAUSEClick();
        EXPECT_TRUE(bar.buttons().play && !bar.buttons().pause);
        EXPECT_TRUE(g.VideoInCorso);
        bar.PAUSEClick();
        bar.PLAYClick();
        EXPECT_TRUE(bar.buttons().play && !bar.buttons().pause);
        EXPECT_TRUE(backend.isPlaying());
        // A pause from elsewhere shows at the next tick.
        films.PausaVideo();
        bar.Timer1Timer();
        EXPECT_TRUE(!bar.buttons().play && bar.buttons().pause);
        films.closeFilm();
    }
    // No film on show: nothing happens.
    g.VideoInCorso = true;
    bar.PAUSEClick();
    EXPECT_TRUE(g.VideoInCorso);
}

TEST_F(MediaBarTest, StartGoesBackAndPlaysOnlyAPlayingFilm)
{
    struct Case {
        FilmPlayer player;
        bool daMenu;
        bool playing;
        qint64 backTo;  // frame
    };
    const Case cases[] = {
        {FilmPlayer::Mpeg, false, true, 100}, {FilmPlayer::Mpeg, true, true, 0},
        {FilmPlayer::Mpeg, false, false, 100}, {FilmPlayer::Mp4, true, true, 100},
        {FilmPlayer::Mp4, false, false, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(int(c.player)).arg(c.daMenu).arg(c.playing).toStdString());
        start(c.player, 100, c.daMenu);
        bar.showBar();
        backend.advance(5000);
        bar.Timer1Timer();
        ASSERT_GT(port.strip, 0);
        if (!c.playing)
            bar.PAUSEClick();
        port.sliderValue = -1;
        bar.STARTClick();
        EXPECT_EQ(backend.position(), unitsOfFrame(c.backTo));
        EXPECT_EQ(backend.isPlaying(), c.playing);
        EXPECT_EQ(port.strip, 0);
        EXPECT_EQ(port.sliderValue, 0);
        films.closeFilm();
    }
}

TEST_F(MediaBarTest, MutingGivesBackTheVolume)
{
    for (const FilmPlayer p : kBoth) {
        SCOPED_TRACE(int(p));
        FilmWindowLogic& film = start(p);
        film.SetVolume(60);
        bar.showBar();
        bar.FormKeyUp(Qt::Key_5, kp);
        EXPECT_TRUE(backend.isMuted());
        EXPECT_TRUE(bar.buttons().noAudio);
        EXPECT_EQ(bar.VolumeTmp(), 60);
        film.SetVolume(10);  // changed meanwhile: unmuting restores what was muted
        bar.NOaudioClick(false);
        EXPECT_FALSE(backend.isMuted());
        EXPECT_EQ(backend.volume(), 60);
        films.closeFilm();
    }
}

TEST_F(MediaBarTest, StripFollowsThePosition)
{
    struct Case {
        qint64 duration;
        int ms;
        int filled;
    };
    const Case cases[] = {
        {60 * kSecond, 30'000, 75},  // 151 * 1/2, truncated
        {60 * kSecond, 0, 0},
        {60 * kSecond, 90'000, 151},  // held at the end
        {3 * 3600 * kSecond, 2 * 3600'000, 100},  // 151 * 2/3: needs 64 bits
        {0, 1000, 0},                             // no duration: empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.duration);
        start(FilmPlayer::Mp4, 0, false, c.duration);
        bar.showBar();
        backend.advance(c.ms);
        bar.Timer1Timer();
        EXPECT_EQ(port.strip, c.filled);
        EXPECT_EQ(g.PosizioneVideo, std::min<qint64>(qint64(c.ms) * 10'000, c.duration));
        films.closeFilm();
    }
    // Hidden bar or closed film: no update.
    start(FilmPlayer::Mpeg);
    backend.advance(1000);
    bar.Timer1Timer();
    EXPECT_EQ(g.PosizioneVideo, 0);
}

TEST_F(MediaBarTest, StripAndSliderSeek)
{
    start(FilmPlayer::Mpeg, 0, false, 151 * kSecond);
    bar.showBar();
    EXPECT_EQ(port.sliderMax, 3775);
    struct Case {
        int x;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers mods;
        qint64 seconds;  // -1: no seek
    };
    const Case cases[] = {
        {75, Qt::LeftButton, {}, 75},   // the middle: half the film
        {-20, Qt::LeftButton, {}, 0},   // dragged off the left
        {400, Qt::LeftButton, {}, 151}, // and off the right
        {10, Qt::RightButton, {}, -1},
        {10, Qt::LeftButton | Qt::RightButton, {}, -1},
        {10, Qt::LeftButton, Qt::ShiftModifier, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        backend.calls.clear();
        bar.TimeLineImageMouseMove(c.x, c.buttons, c.mods);
        if (c.seconds < 0) {
            EXPECT_EQ(backend.count("seek"), 0);
        } else {
            EXPECT_EQ(backend.position(), c.seconds * kSecond);
            EXPECT_EQ(g.PosizioneVideo, c.seconds * kSecond);
        }
    }
    // Only the user's slider moves seek; resetting the time line does not.
    backend.calls.clear();
    bar.ResetTimeLine();
    EXPECT_EQ(backend.count("seek"), 0);
    bar.IndexMoved(250);
    EXPECT_EQ(backend.position(), unitsOfFrame(250));
    bar.IndexMoved(99999);
    EXPECT_EQ(backend.position(), unitsOfFrame(3775));
}

TEST_F(MediaBarTest, SliderRangeInFramesPerWindow)
{
    // 10.03 s is 250.75 frames: the MPEG window truncates, the MP4 one rounds.
    const std::pair<FilmPlayer, int> cases[] = {{FilmPlayer::Mpeg, 250}, {FilmPlayer::Mp4, 251}};
    for (const auto& [player, frames] : cases) {
        start(player, 0, false, 10 * kSecond + 300'000);
        bar.showBar();
        EXPECT_EQ(port.sliderMax, frames);
        films.closeFilm();
    }
}

TEST_F(MediaBarTest, Keys)
{
    start(FilmPlayer::Mpeg, 0, true);
    // Keypad 0 shows the bar, and on a playing film gives the focus back
    // to the film and hides it.
    bar.FormKeyUp(Qt::Key_0, kp);
    EXPECT_TRUE(bar.barVisible());
    bar.FormKeyUp(Qt::Key_0, kp);
    EXPECT_FALSE(bar.barVisible());
    EXPECT_EQ(mpegPort.focused, 2);  // the window's show, then the key
    bar.FormKeyUp(Qt::Key_0, kp);
    bar.FormKeyUp(Qt::Key_3, kp);  // pause
    EXPECT_EQ(g.StatoVideo, 3);
    bar.FormKeyUp(Qt::Key_0, kp);  // paused: the bar stays
    EXPECT_TRUE(bar.barVisible());
    bar.FormKeyUp(Qt::Key_2, kp);  // play
    EXPECT_EQ(g.StatoVideo, 1);
    backend.advance(3000);
    bar.FormKeyUp(Qt::Key_1, kp);  // start
    EXPECT_EQ(backend.position(), 0);
    EXPECT_EQ(g.StatoVideo, 1);
    bar.FormKeyUp(Qt::Key_4, kp);
    EXPECT_EQ(bar.geometry().width(), 335);
    port.log.clear();
    bar.FormKeyUp(Qt::Key_Right, {});
    bar.FormKeyUp(Qt::Key_7, kp);
    EXPECT_EQ(port.log, (QStringList{"key 0", "key 0"}));
}

TEST_F(MediaBarTest, TheEndOfTheCutClosesTheBar)
{
    FilmWindowLogic& film = start(FilmPlayer::Mp4, 0, false, 2 * kSecond);
    bar.showBar();
    backend.advance(2000);
    film.SeekTimerTimer();
    film.endCloseTimeout();
    EXPECT_FALSE(bar.barVisible());
    EXPECT_FALSE(port.ticking);
}

}  // namespace
