// The crossroads window over a lesson stand-in with the real media engine:
// every frame it shows is the frame asked for, read back from the picture
// it paints, and an order entered with clicks and keys plays its stretch.

#include "crossroads/tv_cross_window.h"

#include "crossroads/cross_fixture.h"
#include "crossroads/cross_film.h"
#include "platform/media/mpv_film_backend.h"

#include "film_maker.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace ziro::test {
namespace {

using namespace ziro::cross;

class CrossWindowTest : public ::testing::Test {
protected:
    CrossWindowTest()
    {
        main.resize(640, 480);
        main.show();
        g.dirs.DirProgram = dir.path() + QStringLiteral("/");
        g.dirs.DirVideoCross = dir.path() + QStringLiteral("/");
        EXPECT_TRUE(writeCrossTable(g.dirs.DirProgram + QStringLiteral("kx_cross.cds"), {row631()}));
        QString error;
        filmgen::FilmSpec spec;
        spec.frames = 150;
        spec.sound = false;
        ready = filmgen::makeFilm(g.dirs.DirVideoCross + QStringLiteral("Crs631.KXA"), spec, &error);
        EXPECT_TRUE(ready) << qPrintable(error);
        film.setSession(&session);
        window.attach(&session, &film);
    }

    // The frame the panel paints, read from its picture.
    int painted()
    {
        const QImage picture = window.screen()->grab().toImage();
        return filmgen::readFrameNumber(picture).value_or(-1);
    }
    bool waitShown(int frame)
    {
        return QTest::qWaitFor([&] { return film.shownFrame() == frame; }, 5000);
    }
    void clickVehicle(int k)
    {
        QTest::mouseClick(window.screen(), Qt::LeftButton, {}, session.record()->hotSpot(k).center());
    }

    QTemporaryDir dir;
    Globals g;
    RecordedReports reports;
    QWidget main;
    TTVcross window{&main};
    MpvFilmBackend engine{[] {
        MpvFilmOptions o;
        o.nullAudio = true;
        return o;
    }()};
    CrossFilm film{engine};
    CrossSession session{g, reports, film, window};
    bool ready = false;
};

TEST_F(CrossWindowTest, EveryFrameShownIsTheFrameAskedFor)
{
    ASSERT_TRUE(ready);
    ASSERT_TRUE(window.CaricaIncrocio(QStringLiteral("631")));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(film.frameCount(), 150);
    ASSERT_TRUE(waitShown(4));
    EXPECT_EQ(painted(), 4);
    EXPECT_EQ(window.numberLabel()->text(), "631");

    // Far jumps both ways, neighbours, and the ends.
    QRandomGenerator random(7);
    QList<int> frames{0, 149, 1, 148, 75, 76, 74};
    for (int i = 0; i < 12; ++i)
        frames << int(random.bounded(150));
    for (int f : frames) {
        film.showFrame(f);
        ASSERT_TRUE(waitShown(f)) << f;
        EXPECT_EQ(painted(), f);
    }
    // Bursts of requests (the mouse crossing the vehicles) end on the last.
    for (int burst = 0; burst < 6; ++burst) {
        int last = 0;
        for (int i = 0; i < 4; ++i)
            film.showFrame(last = int(random.bounded(150)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return film.shownFrame() == last && film.position() == last; }, 5000));
        EXPECT_EQ(painted(), last);
    }
    // Past the end is the last frame.
    film.showFrame(400);
    ASSERT_TRUE(waitShown(149));
}

TEST_F(CrossWindowTest, AnOrderEnteredPlaysItsStretchAndComesBackEmpty)
{
    ASSERT_TRUE(ready);
    ASSERT_TRUE(window.CaricaIncrocio(QStringLiteral("631")));
    ASSERT_TRUE(waitShown(4));
    QSignalSpy shown(&film, &CrossFilm::frameShown);

    // The mouse over a vehicle shows its frame.
    QTest::mouseMove(window.screen(), session.record()->hotSpot(2).center());
    ASSERT_TRUE(waitShown(2));
    EXPECT_EQ(painted(), 2);

    clickVehicle(2);
    clickVehicle(1);
    QTest::keyClick(&window, Qt::Key_C);
    EXPECT_EQ(window.slotLetter(1)->text(), "B");
    EXPECT_EQ(window.slotLetter(3)->text(), "C");
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_FALSE(session.waiting());
    // BAC plays 60 to 100, then the empty scene and empty slots.
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.waiting(); }, 8000));
    ASSERT_TRUE(waitShown(0));
    EXPECT_EQ(painted(), 0);
    EXPECT_TRUE(window.slotLetter(1)->text().isEmpty());
    QList<int> seen;
    for (const QList<QVariant>& s : shown)
        seen << s.at(0).toInt();
    EXPECT_TRUE(seen.contains(60));
    EXPECT_EQ(seen.at(seen.indexOf(60) + 1), 100) << "the stretch ends on its own last frame";
    EXPECT_TRUE(reports.shown.isEmpty());
}

TEST_F(CrossWindowTest, MissingAnimationStillShowsTheWindow)
{
    QFile::remove(g.dirs.DirVideoCross + QStringLiteral("Crs631.KXA"));
    ASSERT_TRUE(window.CaricaIncrocio(QStringLiteral("631")));
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(reports.shown.size(), 1);
    EXPECT_EQ(reports.shown[0].context, "Incroci animati");
    // An unknown crossroads: no window.
    window.CloseCross();
    EXPECT_FALSE(window.CaricaIncrocio(QStringLiteral("632")));
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace ziro::test

namespace ziro::test {
namespace {

TEST_F(CrossWindowTest, KeysForTheOrderTheSirenAndTheAreas)
{
    CrossRow off = row631();
    off[0].second = QStringLiteral("619");
    CrossRow on = off;
    on[0].second = QStringLiteral("6190");
    ASSERT_TRUE(writeCrossTable(g.dirs.DirProgram + QStringLiteral("kx_cross.cds"), {off, on}));
    ASSERT_TRUE(window.CaricaIncrocio(QStringLiteral("619")));
    EXPECT_TRUE(window.emergencyLabel()->isVisible());
    EXPECT_EQ(window.emergencyLabel()->text(), "Emergenza spenta");

    // F12 held shows the correct order.
    QTest::keyPress(&window, Qt::Key_F12);
    EXPECT_TRUE(window.orderLabel()->isVisible());
    EXPECT_EQ(window.orderLabel()->text(), "ABC");
    QTest::keyRelease(&window, Qt::Key_F12);
    EXPECT_FALSE(window.orderLabel()->isVisible());

    // F9 switches the siren: the other record of the same crossroads.
    QTest::keyClick(&window, Qt::Key_F9);
    EXPECT_EQ(session.number(), "6190");
    EXPECT_EQ(window.emergencyLabel()->text(), "Emergenza accesa");
    EXPECT_EQ(window.numberLabel()->text(), "619");

    // F2 held in debug mode: a left press sets the corner of area 2, a
    // right press the opposite one; the table gets it when it closes.
    g.ModoDebug = true;
    QTest::keyPress(&window, Qt::Key_F2);
    QTest::mousePress(window.screen(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(window.screen(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mousePress(window.screen(), Qt::RightButton, {}, QPoint(260, 190));
    QTest::mouseRelease(window.screen(), Qt::RightButton, {}, QPoint(260, 190));
    QTest::keyRelease(&window, Qt::Key_F2);
    EXPECT_EQ(session.programming(), 0);
    window.CloseCross();
    const std::optional<CrossRecord> saved =
        CrossTable(g.dirs.DirProgram + QStringLiteral("kx_cross.cds")).find(6190, nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->areas[1], QRect(200, 150, 60, 40));
}

}  // namespace
}  // namespace ziro::test

namespace ziro::test {
namespace {

TEST_F(CrossWindowTest, ADoubleClickStartsAgainAndPlaysNothing)
{
    ASSERT_TRUE(ready);
    ASSERT_TRUE(window.CaricaIncrocio(QStringLiteral("631")));
    ASSERT_TRUE(waitShown(4));
    clickVehicle(1);
    clickVehicle(2);
    // Pressed with only the last vehicle missing: the hint, until released.
    const QPoint grass(420, 330);
    QTest::mousePress(window.screen(), Qt::LeftButton, {}, grass);
    EXPECT_TRUE(window.hintLabel()->isVisible());
    QTest::mouseRelease(window.screen(), Qt::LeftButton, {}, grass);
    EXPECT_FALSE(window.hintLabel()->isVisible());
    EXPECT_TRUE(session.waiting());

    // A double click: the entries go, and its second release starts nothing.
    QTest::mouseDClick(window.screen(), Qt::LeftButton, {}, grass);
    EXPECT_EQ(session.entered(), "");
    EXPECT_TRUE(session.waiting());
    ASSERT_TRUE(waitShown(0));
    EXPECT_FALSE(film.playing());
}

}  // namespace
}  // namespace ziro::test
