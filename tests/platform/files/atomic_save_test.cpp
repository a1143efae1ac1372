#include "platform/files/atomic_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace ziro {
namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

TEST_F(AtomicSave, WritesAndReplacesLeavingNoTemporaryFiles)
{
    const QString file = path(QStringLiteral("ZIRO.ini"));
    QString error = QStringLiteral("stale");
    ASSERT_TRUE(saveFileAtomically(file, "first version, longer", &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(contents(file), QByteArray("first version, longer"));

    ASSERT_TRUE(saveFileAtomically(file, "second"));
    EXPECT_EQ(contents(file), QByteArray("second"));

    ASSERT_TRUE(saveFileAtomically(file, QByteArray()));
    EXPECT_EQ(contents(file), QByteArray());
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ZIRO.ini")});
}

// A file that is a link to somewhere else is replaced where it is; what the
// link led to stays as it was.
TEST_F(AtomicSave, ALinkIsReplacedNotWrittenThrough)
{
    QTemporaryDir outside;
    ASSERT_TRUE(outside.isValid());
    const QString target = outside.filePath(QStringLiteral("shared.ini"));
    ASSERT_TRUE(saveFileAtomically(target, "theirs"));
    const QString file = path(QStringLiteral("ziro.ini"));
    ASSERT_TRUE(QFile::link(target, file));

    QString error;
    ASSERT_TRUE(saveFileAtomically(file, "ours", &error)) << error.toStdString();
    EXPECT_EQ(contents(target), QByteArray("theirs"));
    EXPECT_FALSE(QFileInfo(file).isSymLink());
    EXPECT_EQ(contents(file), QByteArray("ours"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ziro.ini")});
}

TEST_F(AtomicSave, FailsWithAReasonAndLeavesTheOldFileAlone)
{
    const QString old = path(QStringLiteral("old.ini"));
    ASSERT_TRUE(saveFileAtomically(old, "kept"));

    // Tests may run as root, whom a read-only folder does not stop: a parent
    // that is a regular file stops everyone.
    const QString targets[] = {
        path(QStringLiteral("missing/folder/out.ini")),
        old + QStringLiteral("/out.ini"),
        m_dir.path(),  // a folder cannot be replaced by a file
    };
    for (const QString& target : targets) {
        QString error;
        EXPECT_FALSE(saveFileAtomically(target, "new", &error)) << qPrintable(target);
        EXPECT_FALSE(error.isEmpty()) << qPrintable(target);
    }
    EXPECT_EQ(contents(old), QByteArray("kept"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("old.ini")});
}

// A disk that fills part way through (here: a file size limit) fails the
// save, whatever the size of the write, and the old file stays whole.
TEST_F(AtomicSave, AWriteCutShortFailsAndKeepsTheOldFile)
{
    const QString file = path(QStringLiteral("bank.xml"));
    ASSERT_TRUE(saveFileAtomically(file, "kept"));
    struct rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved[2];
    QString errors[2];
    saved[0] = saveFileAtomically(file, QByteArray(4000, 'x'), &errors[0]);
    saved[1] = saveFileAtomically(file, QByteArray(100000, 'x'), &errors[1]);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(saved[i]) << i;
        EXPECT_FALSE(errors[i].isEmpty()) << i;
    }
    EXPECT_EQ(contents(file), QByteArray("kept"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("bank.xml")});
}

}  // namespace
}  // namespace ziro
