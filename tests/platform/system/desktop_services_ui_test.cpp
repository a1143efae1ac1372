#include "platform/media/sound_player.h"
#include "platform/system/lock_keys.h"
#include "platform/system/system_services.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

TEST(DesktopServices, LockKeysWithoutX11RememberTheWantedStates)
{
    // The tests run on the offscreen platform, which has no keyboard lights.
    auto services = createDesktopServices();
    EXPECT_FALSE(services->lockKeys().numLock);
    services->setLockKey(LockKey::NumLock, true);
    services->setLockKey(LockKey::ScrollLock, true);
    services->setLockKey(LockKey::ScrollLock, false);
    const LockKeyState state = services->lockKeys();
    EXPECT_TRUE(state.numLock);
    EXPECT_FALSE(state.capsLock);
    EXPECT_FALSE(state.scrollLock);
}

TEST(DesktopServices, RefusesWhatItMustNotDo)
{
    auto services = createDesktopServices();
    EXPECT_FALSE(services->openDocument(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(services->openDocument(QStringLiteral("/bin/sh")));
    EXPECT_EQ(services->runAndWait(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")}), 3);
}

TEST(DesktopServices, DisplayModeIsNeverChanged)
{
    // 640 x 480 is granted (the program then fills the screen by scaling);
    // the display keeps its mode, so there is nothing to restore at exit.
    auto services = createDesktopServices();
    const DisplayMode before = services->currentDisplayMode();
    ASSERT_GT(before.width, 0);
    for (int depth : {32, 24, 16})
        EXPECT_TRUE(services->switchDisplayMode(false, {640, 480, depth}));
    const DisplayMode after = services->currentDisplayMode();
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
    EXPECT_TRUE(services->switchDisplayMode(true, before));
    EXPECT_FALSE(services->switchDisplayMode(true, {before.width + 1, before.height, 32}));
}

TEST(SoundPlayer, SkipsMissingAndUndecodableFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SoundPlayer player;
    EXPECT_FALSE(player.play(dir.filePath(QStringLiteral("LOGO.WAV"))));
    EXPECT_FALSE(player.play(dir.path()));

    // Garbage is handed over and then dropped by the player without any fuss.
    QFile bad(dir.filePath(QStringLiteral("bad.wav")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("RIFF not really a wave file");
    bad.close();
    EXPECT_TRUE(player.play(bad.fileName()));
    player.stop();
}

}  // namespace
}  // namespace ziro
