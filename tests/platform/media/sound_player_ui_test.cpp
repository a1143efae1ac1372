#include "platform/media/sound_player.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace ziro {
namespace {

// A second of tone encoded by ffmpeg as `format` into `path`.
bool encodeTone(const QString& path, const QStringList& codec)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return false;
    QProcess p;
    p.start(ffmpeg, QStringList{"-y", "-loglevel", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=1"}
                        + codec + QStringList{path});
    return p.waitForFinished(30000) && p.exitCode() == 0;
}

// Whether the player still plays after the first fifth of the tone: a
// sound that cannot be decoded has ended by then.
bool playsFor200Ms(SoundPlayer& player)
{
    QTest::qWait(200);
    return player.playing();
}

TEST(SoundPlayerStatements, MaskedSoundIsPlayedRestoredInMemory)
{
    QTemporaryDir dir;
    const QString m4a = dir.filePath(QStringLiteral("tone.m4a"));
    const QString ogg = dir.filePath(QStringLiteral("tone.OGG"));
    if (!encodeTone(m4a, {"-c:a", "aac", "-f", "mp4"}) || !encodeTone(ogg, {"-c:a", "libvorbis", "-f", "ogg"}))
        GTEST_SKIP() << "ffmpeg cannot encode the test tones here";
    QFile in(m4a);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    ASSERT_TRUE(bytes.startsWith(QByteArray("\0\0\0", 3)));
    bytes.replace(0, 3, "KXS");
    const QString kxs = dir.filePath(QStringLiteral("it_IT_D0001.KXS"));
    QFile out(kxs);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    SoundPlayer player("null");
    ASSERT_TRUE(player.start());
    EXPECT_TRUE(player.setVolume(60000));

    // Played raw, the masked file is garbage to the player.
    EXPECT_TRUE(player.play(kxs));
    EXPECT_FALSE(playsFor200Ms(player));

    EXPECT_TRUE(player.playMasked(kxs));
    EXPECT_TRUE(playsFor200Ms(player));
    EXPECT_EQ(QFile(kxs).size(), bytes.size());
    QFile again(kxs);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_TRUE(again.read(3) == "KXS") << "the installation file is never unmasked on disk";

    // A statement replacing the one that plays: the end of the first is not
    // taken for the end of the second.
    EXPECT_TRUE(player.playMasked(ogg));
    EXPECT_TRUE(playsFor200Ms(player));
    const QDeadlineTimer deadline(3000);
    while (player.playing() && !deadline.hasExpired())
        QTest::qWait(50);
    EXPECT_FALSE(player.playing()) << "the end of the sound is seen";
    player.stop();  // stopping what has ended does nothing
    EXPECT_FALSE(player.playing());

    // A file named as masked that does not start with the mask is refused.
    EXPECT_FALSE(player.playMasked(m4a.chopped(4) + QStringLiteral(".KXS")));
    QFile::copy(m4a, dir.filePath(QStringLiteral("plain.KXS")));
    EXPECT_FALSE(player.playMasked(dir.filePath(QStringLiteral("plain.KXS"))));
}

}  // namespace
}  // namespace ziro
