#include "platform/system/process.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

TEST(RunAndWait, ReturnsTheExitCodeOrMinusOne)
{
    const QString sh = QStringLiteral("/bin/sh");
    EXPECT_EQ(runAndWait(QStringLiteral("/bin/true")), 0);
    EXPECT_EQ(runAndWait(QStringLiteral("/bin/false")), 1);
    EXPECT_EQ(runAndWait(sh, {QStringLiteral("-c"), QStringLiteral("exit 7")}), 7);
    // Killed by a signal: not a normal end.
    EXPECT_EQ(runAndWait(sh, {QStringLiteral("-c"), QStringLiteral("kill -9 $$")}), -1);
    EXPECT_EQ(runAndWait(QStringLiteral("/nonexistent/SETTA ZIRO.EXE")), -1);
}

TEST(RunAndWait, PassesArgumentsAsTheyAreWithoutAShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The argument with a space and a ';' reaches the program as one word.
    const QString name = dir.filePath(QStringLiteral("a b;c"));
    EXPECT_EQ(runAndWait(QStringLiteral("/usr/bin/touch"), {name}), 0);
    EXPECT_TRUE(QFileInfo::exists(name));
    EXPECT_EQ(runAndWait(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("test -f \"$0\""), name}), 0);
}

}  // namespace
}  // namespace ziro
