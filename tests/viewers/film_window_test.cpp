// The film windows and the media bar as widgets over a lesson stand-in, on
// the fake engine: where they show, what clicks and key releases on them do,
// and how a film closes itself.

#include "viewers/film_window.h"
#include "viewers/remote_window.h"
#include "viewers/tv_avc_window.h"
#include "viewers/tv_video_window.h"

#include "base/globals.h"
#include "config/settings.h"
#include "controls/film_surface_widget.h"
#include "support/fake_film_backend.h"
#include "support/fakes.h"

#include <QApplication>
#include <QFile>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

class FilmWindowTest : public ::testing::Test {
protected:
    FilmWindowTest()
        : video(&main, system, dialogs),
          avc(&main, system, dialogs),
          bar(&main),
          mpegLogic(FilmPlayer::Mpeg, g, config, backend, video),
          mp4Logic(FilmPlayer::Mp4, g, config, backend, avc),
          players(mpegLogic, mp4Logic, backend, g),
          mediaBar(g, players, bar)
    {
        main.resize(640, 480);
        main.show();
        main.activateWindow();
        if (!QTest::qWaitForWindowActive(&main))
            ADD_FAILURE() << "the lesson stand-in is not active";
        video.attach(&mpegLogic, &backend);
        avc.attach(&mp4Logic, &backend);
        bar.attach(&mediaBar);
        for (FilmWindow* w : {static_cast<FilmWindow*>(&video), static_cast<FilmWindow*>(&avc)})
            QObject::connect(w, &FilmWindow::keyPassed,
                             [this](int key, Qt::KeyboardModifiers) { passed << key; });
        QObject::connect(&bar, &TRemote::keyPassed,
                         [this](int key, Qt::KeyboardModifiers) { passed << key; });
    }

    bool play(FilmPlayer player, int size, bool daMenu, qint64 inizio = 0, qint64 fine = 0)
    {
        FilmRequest r;
        r.file = FilmFile{film(player), player, true, true};
        r.size = size;
        r.daMenu = daMenu;
        r.inizio = inizio;
        r.fine = fine;
        QString error;
        return players.play(r, &error);
    }

    // A file of the film's name: the fake engine plays any file.
    QString film(FilmPlayer player)
    {
        const QString path = dir.path()
            + (player == FilmPlayer::Mp4 ? QStringLiteral("/Flm1.KXS") : QStringLiteral("/Flm1.KXV"));
        QFile f(path);
        if (!f.exists() && (!f.open(QIODevice::WriteOnly) || f.write("KXV#") != 4))
            ADD_FAILURE() << "film not written";
        return path;
    }

    static void click(QWidget* w, QPoint at)
    {
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
    }
    // A key pressed and let go in the window that has the keyboard.
    static void key(int k, Qt::KeyboardModifiers mods = {})
    {
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, Qt::Key(k), mods);
    }

    QTemporaryDir dir;
    QWidget main;
    Globals g;
    Config config;
    ziro::test::FakeSystem system;
    ziro::test::FakeDialogs dialogs;
    ziro::test::FakeFilmBackend backend;
    TTVvideo video;
    TTVavc avc;
    TRemote bar;
    FilmWindowLogic mpegLogic;
    FilmWindowLogic mp4Logic;
    FilmPlayers players;
    MediaBar mediaBar;
    QList<int> passed;
};

}  // namespace

// A record's film at size 3 opens in the window size over the lesson; a
// click beside the picture enlarges it to the whole lesson, a click on the
// large picture shrinks it, and a click on the small picture closes it.
TEST_F(FilmWindowTest, ClicksEnlargeShrinkAndClose)
{
    ASSERT_TRUE(play(FilmPlayer::Mpeg, 3, false));
    ASSERT_TRUE(video.isVisible());
    EXPECT_FALSE(avc.isVisible());
    EXPECT_EQ(video.geometry(), QRect(14, 18, 607, 374));
    EXPECT_EQ(video.screen()->geometry(), QRect(63, 3, 488, 368));
    EXPECT_EQ(video.screen()->backend(), &backend);
    EXPECT_TRUE(video.mask(0)->isVisible());
    EXPECT_EQ(video.mask(0)->geometry(), QRect(63, 3, 9, 368));
    EXPECT_TRUE(g.VideoAperto);
    EXPECT_EQ(g.StatoVideo, 1);

    click(&video, QPoint(20, 200));  // the white form left of the picture
    EXPECT_EQ(video.geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(video.screen()->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(video.mask(3)->geometry(), QRect(0, 468, 640, 12));
    EXPECT_EQ(video.mask(3)->palette().color(QPalette::Window), QColor(Qt::black));

    click(video.screen(), QPoint(320, 240));
    EXPECT_EQ(video.geometry(), QRect(14, 18, 607, 374));
    EXPECT_TRUE(video.isVisible());

    click(video.screen(), QPoint(200, 200));
    EXPECT_FALSE(video.isVisible());
    EXPECT_FALSE(g.VideoAperto);
    EXPECT_EQ(g.StatoVideo, 0);
    EXPECT_EQ(video.screen()->backend(), nullptr);
    EXPECT_EQ(backend.count(QStringLiteral("close")), 1);
}

// A film from the general menu is full size, and a click on it closes it. A right press shows the media bar; another hides it.
TEST_F(FilmWindowTest, MenuFilmIsFullSizeAndCarriesTheBar)
{
    ASSERT_TRUE(play(FilmPlayer::Mp4, 5, true));
    ASSERT_TRUE(avc.isVisible());
    EXPECT_EQ(avc.geometry(), QRect(0, 0, 640, 480));

    QTest::mouseClick(avc.screen(), Qt::RightButton, {}, QPoint(300, 300));
    ASSERT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.geometry(), QRect(618 - 154, 425, 154, 33));
    EXPECT_TRUE(bar.button("PLAY")->isChecked());

    // Pause and play again from the bar.
    bar.button("PAUSE")->click();
    EXPECT_FALSE(backend.isPlaying());
    EXPECT_TRUE(bar.button("PAUSE")->isChecked());
    EXPECT_FALSE(g.VideoInCorso);
    bar.button("PLAY")->click();
    EXPECT_TRUE(backend.isPlaying());
    QTest::qWait(150);  // a tick of the bar
    EXPECT_TRUE(bar.button("PLAY")->isChecked());
    EXPECT_FALSE(bar.button("PAUSE")->isChecked());

    // Wide, a click in the middle of the strip seeks to half the film.
    bar.button("Expand")->click();
    EXPECT_EQ(bar.geometry(), QRect(618 - 335, 425, 335, 33));
    QWidget* strip = bar.strip();
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->width() / 2, 3));
    EXPECT_NEAR(double(backend.position()), double(backend.duration()) / 2,
                double(backend.duration()) / strip->width());

    QTest::mouseClick(avc.screen(), Qt::RightButton, {}, QPoint(300, 300));
    EXPECT_FALSE(bar.isVisible());

    click(avc.screen(), QPoint(320, 240));
    EXPECT_FALSE(avc.isVisible());
    EXPECT_FALSE(g.VideoAperto);
    EXPECT_EQ(backend.count(QStringLiteral("close")), 1);
}

// Key releases on a film window: its own keys act there, the others go to
// the lesson's key map once.
TEST_F(FilmWindowTest, KeysActInTheFilmOrGoOnToTheLesson)
{
    g.VideoSize = 5;  // films full size, as the settings ask
    ASSERT_TRUE(play(FilmPlayer::Mpeg, 5, false));
    ASSERT_TRUE(video.hasFocus() || video.isAncestorOf(QApplication::focusWidget()));

    key(Qt::Key_0, Qt::KeypadModifier);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_TRUE(passed.isEmpty());

    const int beeps = system.beeps;
    video.setFocus();
    key(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(system.beeps, beeps + 1);

    key(Qt::Key_Right);
    key(Qt::Key_A);
    EXPECT_EQ(passed, (QList<int>{Qt::Key_Right, Qt::Key_A}));
    EXPECT_TRUE(video.isVisible());

    // Esc is a click on the picture: a full-size film of size 5 closes.
    key(Qt::Key_Escape);
    EXPECT_FALSE(video.isVisible());
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(passed.size(), 2);
}

// The end of the record's cut closes the film by itself, once, a moment
// after it stops; clicks on the bar while it ends change nothing of that.
TEST_F(FilmWindowTest, TheEndOfTheCutClosesTheFilmOnce)
{
    config.CBVautoOff = true;
    ASSERT_TRUE(play(FilmPlayer::Mpeg, 5, true, 25, 50));
    QTest::mouseClick(video.screen(), Qt::RightButton, {}, QPoint(300, 300));
    ASSERT_TRUE(bar.isVisible());
    EXPECT_EQ(backend.position(), 25 * kFrameUnits);

    backend.advance(1000);  // to frame 50
    for (int i = 0; i < 20; ++i) {
        bar.button(i % 2 ? "PLAY" : "PAUSE")->click();
        QTest::qWait(20);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !video.isVisible(); }, 2000));
    QTest::qWait(400);
    EXPECT_FALSE(g.VideoAperto);
    EXPECT_EQ(g.StatoVideo, 0);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(backend.count(QStringLiteral("close")), 1);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// A second film while one plays: the first closes, the second plays in its
// own window, and only that window takes the engine's pictures.
TEST_F(FilmWindowTest, ASecondFilmReplacesTheFirst)
{
    ASSERT_TRUE(play(FilmPlayer::Mpeg, 3, false));
    ASSERT_TRUE(play(FilmPlayer::Mp4, 5, false));
    EXPECT_FALSE(video.isVisible());
    EXPECT_TRUE(avc.isVisible());
    EXPECT_EQ(video.screen()->backend(), nullptr);
    EXPECT_EQ(avc.screen()->backend(), &backend);
    EXPECT_TRUE(backend.isPlaying());
    EXPECT_EQ(backend.openedPath(), film(FilmPlayer::Mp4));

    // A film that does not open leaves nothing open and says why once.
    backend.openFailures.push_back(QStringLiteral("no film"));
    EXPECT_FALSE(play(FilmPlayer::Mpeg, 3, false));
    EXPECT_FALSE(video.isVisible());
    EXPECT_FALSE(avc.isVisible());
    EXPECT_FALSE(g.VideoAperto);
    EXPECT_EQ(dialogs.shown.size(), 1);
}
