// The film engine on libmpv with real, generated films: masked MPEG and MP4
// films played without being written, exact seeks and steps read back from
// the picture, the end of a film, and files that are no film at all.

#include "platform/media/mpv_film_backend.h"

#include "film_maker.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace ziro {
namespace {

constexpr int kFrames = 50;  // two seconds
constexpr qint64 kFrame = 400000;
// A bound on waiting, never a measure: a loaded machine (tests run two at a
// time) may take seconds to decode a seek.
constexpr int kWaitMs = 15000;

QByteArray hashOf(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray("<unreadable>");
}

class MpvFilmBackendTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        ASSERT_TRUE(s_dir->isValid());
        for (const char* name : {"Flm1.KXV", "Fls1.KXS"}) {
            QString error;
            ASSERT_TRUE(filmgen::makeFilm(film(name), {kFrames, true}, &error)) << qPrintable(error);
        }
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    static QString film(const char* name) { return s_dir->filePath(QString::fromLatin1(name)); }

    // The number the latest picture shows, once it is `wanted`.
    static bool showsFrame(const FilmBackend& player, int wanted)
    {
        return QTest::qWaitFor([&] { return filmgen::readFrameNumber(player.frame()) == wanted; }, kWaitMs);
    }

    static inline QTemporaryDir* s_dir = nullptr;
};

TEST(MpvFilmBackendUnits, SecondsRoundToTheNearestUnit)
{
    const struct {
        double seconds;
        qint64 units;
    } cases[] = {
        {1.64, 41 * kFrame},  // 1.6399999999999999 in a double
        {0.04 * 3, 3 * kFrame},
        {0.0, 0},
        {0.00000005, 1},
        {0.00000004, 0},
        {3600.0 * 10, qint64(360000000000)},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MpvFilmBackend::unitsFromSeconds(c.seconds), c.units) << c.seconds;
    EXPECT_EQ(MpvFilmBackend::unitsFromSeconds(1.64) / kFrame, 41);
}

TEST_F(MpvFilmBackendTest, SeeksAndStepsExactlyInMaskedFilmsWithoutWritingThem)
{
    for (const char* name : {"Flm1.KXV", "Fls1.KXS"}) {
        SCOPED_TRACE(name);
        const QString path = film(name);
        const QByteArray before = hashOf(path);
        MpvFilmBackend player({.nullAudio = true});
        // Wider than the film: it is fitted in the middle, black beside it.
        player.setRenderSize(QSize(400, 240));
        QString error;
        ASSERT_TRUE(player.open(path, &error)) << qPrintable(error);
        EXPECT_TRUE(player.isOpen());
        EXPECT_TRUE(player.hasVideo());
        EXPECT_FALSE(player.hasAudioOutput());
        EXPECT_FALSE(player.isPlaying());
        EXPECT_NEAR(double(player.duration()), double(kFrames * kFrame), double(2 * kFrame));
        ASSERT_TRUE(showsFrame(player, 0));
        const QImage first = player.frame();
        EXPECT_EQ(first.size(), QSize(400, 240));
        EXPECT_EQ(first.pixel(10, 120), qRgb(0, 0, 0));
        EXPECT_EQ(first.pixel(389, 120), qRgb(0, 0, 0));
        EXPECT_NE(first.pixel(200, 200), qRgb(0, 0, 0));

        // 1.64 s is frame 41: the position is rounded to the unit, not cut
        // (cut, 1.64 s would read as 1.6399999 s, in frame 40). The engine
        // may report the time a little into the frame when the machine is
        // busy; the frame is what must be exact.
        for (int target : {41, 7, 24, 41}) {
            ASSERT_TRUE(player.seek(target * kFrame));
            EXPECT_TRUE(showsFrame(player, target)) << "seek to " << target;
            EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() / kFrame == target; }, kWaitMs))
                << "seek to " << target << " reports " << player.position();
        }
        ASSERT_TRUE(player.step(true));
        EXPECT_TRUE(showsFrame(player, 42));
        ASSERT_TRUE(player.step(false));
        EXPECT_TRUE(showsFrame(player, 41));
        ASSERT_TRUE(player.step(false));
        EXPECT_TRUE(showsFrame(player, 40));
        EXPECT_FALSE(player.isPlaying());

        // Seeks outside the film land on its ends, and say so at once.
        ASSERT_TRUE(player.seek(-10 * kFrame));
        EXPECT_EQ(player.position(), 0);
        EXPECT_TRUE(showsFrame(player, 0));
        ASSERT_TRUE(player.seek(player.duration() + 100 * kFrame));
        EXPECT_LE(player.position(), player.duration());
        ASSERT_TRUE(player.seek(40 * kFrame));
        ASSERT_TRUE(showsFrame(player, 40));

        // A bigger surface gets a picture of its size without playing on.
        player.setRenderSize(QSize(640, 480));
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.frame().size() == QSize(640, 480); }, kWaitMs));
        EXPECT_EQ(filmgen::readFrameNumber(player.frame()), 40);

        int ends = 0;
        player.onEnd = [&] { ++ends; };
        ASSERT_TRUE(player.seek((kFrames - 6) * kFrame));
        ASSERT_TRUE(showsFrame(player, kFrames - 6));
        ASSERT_TRUE(player.play());
        EXPECT_TRUE(player.isPlaying());
        EXPECT_TRUE(QTest::qWaitFor([&] { return ends > 0; }, kWaitMs));
        EXPECT_EQ(ends, 1);
        EXPECT_FALSE(player.isPlaying());
        EXPECT_TRUE(showsFrame(player, kFrames - 1));
        // At its end the film reports its whole duration.
        EXPECT_EQ(player.position(), player.duration());

        // Back from the end, it plays again and ends again.
        ASSERT_TRUE(player.seek((kFrames - 3) * kFrame));
        ASSERT_TRUE(showsFrame(player, kFrames - 3));
        ASSERT_TRUE(player.play());
        EXPECT_TRUE(QTest::qWaitFor([&] { return ends > 1; }, kWaitMs));

        player.close();
        EXPECT_FALSE(player.isOpen());
        EXPECT_TRUE(player.frame().isNull());
        EXPECT_FALSE(player.play());
        EXPECT_FALSE(player.seek(0));
        QTest::qWait(100);
        EXPECT_TRUE(player.frame().isNull()) << "a picture came after closing";
        EXPECT_EQ(ends, 2);
        EXPECT_EQ(hashOf(path), before) << "the film was written";
    }
}

TEST_F(MpvFilmBackendTest, RefusesFilesThatHoldNoFilmQuicklyAndStaysUsable)
{
    QFile good(film("Fls1.KXS"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray mp4 = good.readAll();
    QFile mpg(film("Flm1.KXV"));
    ASSERT_TRUE(mpg.open(QIODevice::ReadOnly));
    const QByteArray restoredMpg = QByteArray("\x00\x00\x01\xBA", 4) + mpg.readAll().mid(4);

    const struct {
        const char* name;
        QByteArray data;  // null: no file
    } cases[] = {
        {"missing.KXV", QByteArray()},
        {"truncated.KXS", mp4.left(mp4.size() / 3)},
        {"text.MPG", QByteArray("Questo file non contiene un film.\r\n").repeated(40)},
        {"restored.KXV", restoredMpg},  // playable bytes under a masked name
        {"empty.MPG", QByteArray("")},
        {"zeros.MPG", QByteArray(4 << 20, '\0')},
        {"zeros.KXV", QByteArray("KXV#") + QByteArray(4 << 20, '\0')},
    };
    MpvFilmBackend player({.nullAudio = true});
    player.setRenderSize(QSize(160, 120));
    int errors = 0;
    player.onError = [&](const QString&) { ++errors; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = s_dir->filePath(QString::fromLatin1(c.name));
        if (!c.data.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(c.data), c.data.size());
        }
        QElapsedTimer clock;
        clock.start();
        QString error;
        EXPECT_FALSE(player.open(path, &error));
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(player.isOpen());
        EXPECT_FALSE(player.hasVideo());
        EXPECT_EQ(player.duration(), 0);
        EXPECT_TRUE(player.frame().isNull());
    }
    QTest::qWait(50);
    EXPECT_EQ(errors, 0) << "a refused file was reported again as a playback error";

    QString error;
    ASSERT_TRUE(player.open(film("Flm1.KXV"), &error)) << qPrintable(error);
    EXPECT_TRUE(showsFrame(player, 0));
}

TEST_F(MpvFilmBackendTest, ANewFilmNeverShowsAPictureOfTheOneClosedBeforeIt)
{
    // Closed while playing, a picture is often being drawn (drawing waits
    // for the frame's time); it must not reach the next film, which opens
    // paused on frame 0.
    MpvFilmBackend player({.nullAudio = true});
    player.setRenderSize(QSize(320, 240));
    QString error;
    for (int round = 0; round < 4; ++round) {
        ASSERT_TRUE(player.open(film(round % 2 ? "Flm1.KXV" : "Fls1.KXS"), &error)) << qPrintable(error);
        ASSERT_TRUE(player.seek(20 * kFrame));
        ASSERT_TRUE(showsFrame(player, 20));
        ASSERT_TRUE(player.play());
        QTest::qWait(90 + 7 * round);
        ASSERT_TRUE(player.open(film(round % 2 ? "Fls1.KXS" : "Flm1.KXV"), &error)) << qPrintable(error);
        const QImage first = player.frame();
        EXPECT_TRUE(first.isNull() || filmgen::readFrameNumber(first) == 0)
            << "round " << round << " shows frame " << filmgen::readFrameNumber(first).value_or(-1);
        EXPECT_TRUE(showsFrame(player, 0));
    }
}

TEST_F(MpvFilmBackendTest, CanBeDestroyedWhilePlayingSeekingOrFromItsOwnNotice)
{
    QString error;
    for (int pending = 0; pending < 3; ++pending) {
        auto player = std::make_unique<MpvFilmBackend>(MpvFilmOptions{.nullAudio = true});
        player->setRenderSize(QSize(320, 240));
        ASSERT_TRUE(player->open(film("Fls1.KXS"), &error)) << qPrintable(error);
        player->play();
        if (pending >= 1)
            player->seek(30 * kFrame);
        if (pending >= 2)
            player->step(false);
        QTest::qWait(pending * 30);
        player.reset();
    }

    // The window closing a film at its end deletes the player there.
    auto player = std::make_unique<MpvFilmBackend>(MpvFilmOptions{.nullAudio = true});
    player->setRenderSize(QSize(320, 240));
    ASSERT_TRUE(player->open(film("Flm1.KXV"), &error)) << qPrintable(error);
    player->onEnd = [&] { player.reset(); };
    ASSERT_TRUE(player->seek((kFrames - 3) * kFrame));
    ASSERT_TRUE(player->play());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player; }, kWaitMs));
}

}  // namespace
}  // namespace ziro
