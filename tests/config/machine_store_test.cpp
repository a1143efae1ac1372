#include "config/machine_store.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

TEST(FileMachineStore, EmptyUntilWrittenThenKeepsTheVersion)
{
    QTemporaryDir dir;
    // The folder does not exist yet: the first write creates it.
    FileMachineStore store(dir.filePath("etc/ziro/version.ini"));
    EXPECT_EQ(store.readVersion(), QString());
    ASSERT_TRUE(store.writeVersion("4.10.0"));
    EXPECT_EQ(store.readVersion(), QString("4.10.0"));
    EXPECT_EQ(FileMachineStore(store.path()).readVersion(), QString("4.10.0"));
    ASSERT_TRUE(store.writeVersion("5.23.11"));
    EXPECT_EQ(store.readVersion(), QString("5.23.11"));
}

TEST(FileMachineStore, UnreadableOrUnwritableStoreSaysSo)
{
    QTemporaryDir dir;
    // A folder where the file should be cannot be read.
    ASSERT_TRUE(QDir(dir.path()).mkpath("version.ini"));
    FileMachineStore folder(dir.filePath("version.ini"));
    EXPECT_FALSE(folder.readVersion().has_value());
    EXPECT_FALSE(folder.writeVersion("1.00.0"));

    // A file where the folder should be cannot be created.
    QFile blocker(dir.filePath("etc"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FileMachineStore blocked(dir.filePath("etc/ziro/version.ini"));
    EXPECT_FALSE(blocked.writeVersion("1.00.0"));
}

}  // namespace
}  // namespace ziro
