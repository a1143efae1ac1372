#include "platform/files/masked_stream.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace ziro {
namespace {

class MaskedStreamTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(data), data.size());
        return path;
    }

    static QByteArray readAll(const MaskedStream& s, qint64 offset, qint64 n)
    {
        QByteArray out(int(n), '\xEE');
        const qint64 got = s.read(offset, out.data(), n);
        return got < 0 ? QByteArray("<error>") : out.left(int(got));
    }

    QTemporaryDir m_dir;
};

// A body long enough that reads cross the header from every side.
const QByteArray kBody = QByteArray("0123456789abcdef").repeated(4);

TEST_F(MaskedStreamTest, RestoresTheLeadingBytesOfEachKindAtAnyOffset)
{
    struct Case {
        const char* name;
        QByteArray mask;
        QByteArray restore;
    };
    const Case cases[] = {
        {"Flm1.KXV", "KXV#", QByteArray("\x00\x00\x01\xBA", 4)},
        {"crs2.kxa", "KXA#", "RIFF"},
        {"Fls3.KXS", "KXS", QByteArray("\x00\x00\x00", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray masked = c.mask + kBody;
        const QByteArray playable = c.restore + kBody;
        MaskedStream s;
        QString error;
        ASSERT_TRUE(s.open(write(QString::fromLatin1(c.name), masked), &error)) << qPrintable(error);
        EXPECT_TRUE(s.isMasked());
        EXPECT_EQ(s.size(), masked.size());
        // Every start inside, at and past the header, and lengths that end
        // inside it, on its edge and beyond the file.
        for (qint64 offset : {0, 1, 2, 3, 4, 5, 20, int(masked.size()) - 1}) {
            for (qint64 n : {1, 2, 3, 4, 7, 200}) {
                EXPECT_EQ(readAll(s, offset, n), playable.mid(int(offset), int(n))) << offset << "+" << n;
            }
        }
        EXPECT_EQ(readAll(s, masked.size(), 10), QByteArray());
        EXPECT_EQ(readAll(s, masked.size() + 100, 10), QByteArray());
    }
}

TEST_F(MaskedStreamTest, ReadsPlainFilesAsTheyAre)
{
    // A restored file, and one that only looks masked but is not named so.
    for (const char* name : {"Flm1.MPG", "Fls1.mp4", "clip.AVI", "notes.txt"}) {
        const QByteArray data = QByteArray("KXV#") + kBody;
        MaskedStream s;
        ASSERT_TRUE(s.open(write(QString::fromLatin1(name), data)));
        EXPECT_FALSE(s.isMasked()) << name;
        EXPECT_EQ(readAll(s, 0, 1000), data) << name;
    }
}

TEST_F(MaskedStreamTest, RefusesMaskedNamesThatDoNotHoldTheirMask)
{
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"restored.KXV", QByteArray("\x00\x00\x01\xBA", 4) + kBody},  // restored but never renamed
        {"otherkind.KXV", QByteArray("KXS#") + kBody},
        {"text.KXS", "Questo non e' un film\n"},
        {"empty.KXV", QByteArray()},
        {"short.KXV", "KXV"},  // shorter than its header
        {"short.KXS", "KX"},
    };
    for (const auto& c : cases) {
        MaskedStream s;
        QString error;
        EXPECT_FALSE(s.open(write(QString::fromLatin1(c.name), c.data), &error)) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.name))) << qPrintable(error);
        EXPECT_FALSE(s.isOpen());
        char byte = 0;
        EXPECT_EQ(s.read(0, &byte, 1), -1);
    }
}

TEST_F(MaskedStreamTest, ReportsMissingFilesAndFoldersAndBadArguments)
{
    MaskedStream s;
    QString error;
    EXPECT_FALSE(s.open(m_dir.filePath(QStringLiteral("missing.KXV")), &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(s.open(m_dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());

    ASSERT_TRUE(s.open(write(QStringLiteral("ok.KXV"), QByteArray("KXV#") + kBody)));
    char buffer[4];
    EXPECT_EQ(s.read(-1, buffer, 4), -1);
    EXPECT_EQ(s.read(0, buffer, -4), -1);
    EXPECT_EQ(s.read(0, buffer, 0), 0);
    // A failed reopen leaves nothing of the old file readable.
    EXPECT_FALSE(s.open(m_dir.filePath(QStringLiteral("missing.KXV"))));
    EXPECT_EQ(s.read(0, buffer, 4), -1);
    EXPECT_EQ(s.size(), 0);
}

TEST_F(MaskedStreamTest, ThreadsReadingAtOnceEachGetTheirOwnBytes)
{
    QByteArray body;
    for (int i = 0; i < 1 << 16; ++i)
        body.append(char(i * 7));
    const QByteArray playable = QByteArray("\x00\x00\x00", 3) + body;
    MaskedStream s;
    ASSERT_TRUE(s.open(write(QStringLiteral("big.KXS"), QByteArray("KXS") + body)));
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            char chunk[97];
            for (qint64 offset = t; offset < playable.size(); offset += 61) {
                const qint64 got = s.read(offset, chunk, sizeof chunk);
                if (got <= 0 || QByteArray(chunk, int(got)) != playable.mid(int(offset), int(got)))
                    ++wrong;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace ziro
