#include "platform/system/desktop_policy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

void write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

TEST(HasPlaybackDevice, FindsACardThatPlaysOrASoundServer)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pcm = dir.filePath(QStringLiteral("pcm"));
    const QString runtime = dir.filePath(QStringLiteral("run"));
    ASSERT_TRUE(QDir().mkpath(runtime + QStringLiteral("/pulse")));

    write(pcm, "00-00: ALC892 Analog : ALC892 Analog : capture 1\n");
    EXPECT_FALSE(hasPlaybackDevice(pcm, runtime));
    EXPECT_FALSE(hasPlaybackDevice(dir.filePath(QStringLiteral("absent")), QString()));

    write(pcm, "00-00: ALC892 Analog : ALC892 Analog : playback 1 : capture 1\n");
    EXPECT_TRUE(hasPlaybackDevice(pcm, QString()));

    write(pcm, "");
    write(runtime + QStringLiteral("/pipewire-0"), "");
    EXPECT_TRUE(hasPlaybackDevice(pcm, runtime));
}

TEST(OpenableDocumentUrl, OnlyWebAndMailLinks)
{
    struct Case {
        QString target;
        bool accepted;
    };
    const Case cases[] = {
        {QStringLiteral("http://www.example.it/corsi"), true},
        {QStringLiteral("HTTPS://example.it"), true},
        {QStringLiteral("mailto:info@example.it"), true},
        {QStringLiteral("http://"), false},
        {QStringLiteral("mailto:"), false},
        {QStringLiteral("file:///etc/passwd"), false},
        {QStringLiteral("/usr/bin/xterm"), false},
        {QStringLiteral("www.example.it"), false},
        {QStringLiteral("javascript:alert(1)"), false},
        {QString(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(openableDocumentUrl(c.target).has_value(), c.accepted) << qPrintable(c.target);
}

}  // namespace
}  // namespace ziro
