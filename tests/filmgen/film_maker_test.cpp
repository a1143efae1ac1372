// The generated films carry their frame number in cells the tests read
// back from the played picture; that reading must hold at any size the
// picture is played at, and must refuse what is not a frame.

#include "film_maker.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro::filmgen {
namespace {

// The frame as a player shows it: scaled smoothly into `size`, the film
// fitted in the middle, black bars beside it.
QImage played(const QImage& frame, QSize size)
{
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = kFilmSize.scaled(size, Qt::KeepAspectRatio);
    p.drawImage(QRect(QPoint((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2), fitted),
                frame);
    return out;
}

TEST(FilmMaker, FrameNumbersReadBackAtEverySizeAPlayerShows)
{
    for (Scene scene : {Scene::Road, Scene::Braking, Scene::Roundabout}) {
        for (int number : {0, 1, 41, 250, 0x5555, kMaxFrames - 1}) {
            const QImage frame = drawFrame(number, 500, scene);
            EXPECT_EQ(frame.size(), kFilmSize);
            for (QSize size : {kFilmSize, QSize(160, 120), QSize(400, 240), QSize(1920, 1440), QSize(1440, 1080)})
                EXPECT_EQ(readFrameNumber(played(frame, size)), number)
                    << number << " at " << size.width() << " in scene " << int(scene);
        }
    }
}

TEST(FilmMaker, PicturesThatAreNoFrameReadAsNothing)
{
    QImage grey(kFilmSize, QImage::Format_RGB32);
    grey.fill(QColor(128, 128, 128));
    QImage white(kFilmSize, QImage::Format_RGB32);
    white.fill(Qt::white);
    QImage torn = drawFrame(77, 100);  // one cell painted over
    QPainter(&torn).fillRect(QRect(64 + 5 * 32, 8 + 24, 32, 24), Qt::black);
    for (const QImage& picture : {QImage(), grey, white, torn})
        EXPECT_EQ(readFrameNumber(picture), std::nullopt);
}

TEST(FilmMaker, MasksOnlyFilmsThatStartAsTheirKind)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray body("rest of the film");
    const struct {
        const char* name;
        QByteArray data;
        QByteArray after;  // null: refused and left alone
    } cases[] = {
        {"a.KXV", QByteArray("\x00\x00\x01\xBA", 4) + body, QByteArray("KXV#") + body},
        {"b.KXS", QByteArray("\x00\x00\x00", 3) + body, QByteArray("KXS") + body},
        {"c.KXA", QByteArray("RIFF") + body, QByteArray("KXA#") + body},
        {"d.KXV", QByteArray("KXV#") + body, QByteArray()},  // masked already
        {"e.KXS", QByteArray("\x47", 1) + body, QByteArray()},
        {"f.MPG", QByteArray("\x00\x00\x01\xBA", 4) + body, QByteArray()},  // not a masked name
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.data);
        file.close();
        QString error;
        EXPECT_EQ(maskInPlace(path, &error), !c.after.isNull()) << c.name << ": " << qPrintable(error);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.after.isNull() ? c.data : c.after) << c.name;
        file.close();
    }
}

TEST(FilmMaker, RefusesNamesOfNoFilmKindAndImpossibleLengths)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    EXPECT_FALSE(makeFilm(dir.filePath(QStringLiteral("film.txt")), {}, &error));
    EXPECT_TRUE(error.contains(QLatin1String(".txt"))) << qPrintable(error);
    EXPECT_FALSE(makeFilm(dir.filePath(QStringLiteral("film.MPG")), {0, false}, &error));
    EXPECT_FALSE(makeFilm(dir.filePath(QStringLiteral("no/such/folder/film.MPG")), {2, false}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
}  // namespace ziro::filmgen
