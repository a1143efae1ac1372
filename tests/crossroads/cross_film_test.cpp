// The crossroads player over an engine driven by hand: one seek under way at
// a time, a stretch started only once its first frame is on show and ended
// on its own last frame.

#include "crossroads/cross_film.h"

#include "crossroads/cross_fixture.h"
#include "support/fake_film_backend.h"

#include <QTest>

#include <gtest/gtest.h>

namespace ziro::test {
namespace {

using namespace ziro::cross;

// Seeks answer only when the test says so.
class HandEngine : public FakeFilmBackend {
public:
    QList<int> asked;
    bool showFrame(int frame) override
    {
        asked << frame;
        pause();
        return seek(qint64(frame) * 400'000);
    }
    void land(int frame)
    {
        if (onFrameShown)
            onFrameShown(frame);
    }
};

struct CrossFilmTest : ::testing::Test {
    CrossFilmTest()
    {
        engine.nextDuration = 150 * 400'000LL;
        EXPECT_TRUE(film.open(QStringLiteral("Crs631.KXA"), nullptr));
    }
    HandEngine engine;
    CrossFilm film{engine};
};

TEST_F(CrossFilmTest, OneSeekAtATimeAndTheLatestWins)
{
    EXPECT_EQ(film.frameCount(), 150);
    film.showFrame(10);
    film.showFrame(90);
    film.showFrame(30);
    EXPECT_EQ(engine.asked, (QList<int>{10}));
    EXPECT_EQ(film.position(), 30);
    // The first lands: the latest is asked for, and only it is told.
    engine.land(10);
    EXPECT_EQ(engine.asked, (QList<int>{10, 30}));
    EXPECT_EQ(film.shownFrame(), -1);
    engine.land(30);
    EXPECT_EQ(film.shownFrame(), 30);
    // Past the end is the last frame.
    film.showFrame(500);
    EXPECT_EQ(engine.asked.last(), 149);
}

TEST_F(CrossFilmTest, AStretchStartsOnItsFirstFrameAndEndsOnItsLast)
{
    film.play(60, 100);
    EXPECT_TRUE(film.playing());
    EXPECT_EQ(engine.count("play"), 0);
    engine.land(60);
    EXPECT_EQ(engine.count("play"), 1);
    // The engine runs past the end before the watch sees it.
    engine.advance(41 * 40 + 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.asked.last() == 100; }, 1000));
    EXPECT_TRUE(film.playing());
    engine.land(100);
    EXPECT_FALSE(film.playing());
    EXPECT_EQ(film.shownFrame(), 100);
}

TEST_F(CrossFilmTest, AnUnansweredSeekIsGivenUp)
{
    film.showFrame(10);
    film.showFrame(20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.asked.size() == 2; }, 3000));
    EXPECT_EQ(engine.asked.last(), 20);
    engine.land(20);
    EXPECT_EQ(film.shownFrame(), 20);
}

}  // namespace
}  // namespace ziro::test
