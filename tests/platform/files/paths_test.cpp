#include "platform/files/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

TEST(IsPlainName, AcceptsNamesAndRefusesAnythingThatLeavesTheFolder)
{
    struct Case {
        QString code;
        bool plain;
    };
    const Case cases[] = {
        {QStringLiteral("12"), true},
        {QStringLiteral("Pag12.KXB"), true},
        {QStringLiteral("Lezione 1.DB"), true},
        {QStringLiteral("Unità"), true},
        {QStringLiteral(".hidden"), true},
        {QStringLiteral("a.b.c"), true},
        {QString(), false},
        {QStringLiteral("."), false},
        {QStringLiteral(".."), false},
        {QStringLiteral("..."), false},
        {QStringLiteral("../etc/passwd"), false},
        {QStringLiteral("a..b"), false},
        {QStringLiteral("sub/file"), false},
        {QStringLiteral("/etc/passwd"), false},
        {QStringLiteral("..\\win.ini"), false},
        {QStringLiteral("sub\\file"), false},
        {QStringLiteral("C:"), false},
        {QStringLiteral("c:file"), false},
        {QStringLiteral("name") + QChar(0) + QStringLiteral(".jpg"), false},
        {QStringLiteral("line\nbreak"), false},
        {QStringLiteral("tab\t"), false},
        {QStringLiteral("del\x7f"), false},
        {QStringLiteral("c1") + QChar(0x85), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isPlainName(c.code), c.plain) << qPrintable(c.code);
}

class ResolveFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + QLatin1Char('/');
    }

    QTemporaryDir m_dir;
    QString m_folder;
    CaseInsensitiveResolver m_resolver;
};

TEST_F(ResolveFile, FindsNamesThatDifferOnlyInCase)
{
    touch(m_folder + QStringLiteral("pag12.kxb"));
    touch(m_folder + QStringLiteral("Unità.TXT"));
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("Pag12.KXB")), m_folder + QStringLiteral("pag12.kxb"));
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("UNITÀ.txt")), m_folder + QStringLiteral("Unità.TXT"));
    // Folder given without its trailing separator.
    EXPECT_EQ(m_resolver.resolve(m_dir.path(), QStringLiteral("PAG12.kxb")), m_folder + QStringLiteral("pag12.kxb"));
}

TEST_F(ResolveFile, PrefersTheExactNameOverACaseVariant)
{
    touch(m_folder + QStringLiteral("a.jpg"));
    touch(m_folder + QStringLiteral("A.JPG"));
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("A.JPG")), m_folder + QStringLiteral("A.JPG"));
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("a.jpg")), m_folder + QStringLiteral("a.jpg"));
    // Neither matches exactly: the choice is stable, not file-system order.
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("A.jpg")), m_folder + QStringLiteral("A.JPG"));
}

TEST_F(ResolveFile, SeesFilesAddedAndRemovedAfterTheFolderWasCached)
{
    touch(m_folder + QStringLiteral("first.wav"));
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("FIRST.WAV")), m_folder + QStringLiteral("first.wav"));

    // A miss in the cached listing reads the folder again.
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("LATER.WAV")), m_folder + QStringLiteral("LATER.WAV"));
    touch(m_folder + QStringLiteral("later.wav"));
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("LATER.WAV")), m_folder + QStringLiteral("later.wav"));

    // A cached hit that has been renamed since is looked up afresh.
    ASSERT_TRUE(QFile::rename(m_folder + QStringLiteral("first.wav"), m_folder + QStringLiteral("First.Wav")));
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("FIRST.WAV")), m_folder + QStringLiteral("First.Wav"));
}

TEST_F(ResolveFile, MissingFilesAndUnsafeNamesGiveTheBuiltPath)
{
    EXPECT_EQ(m_resolver.resolve(m_folder, QStringLiteral("none.kxb")), m_folder + QStringLiteral("none.kxb"));
    const QString missingFolder = m_folder + QStringLiteral("nowhere/");
    EXPECT_EQ(m_resolver.resolve(missingFolder, QStringLiteral("x.kxb")), missingFolder + QStringLiteral("x.kxb"));

    // A non-plain name is never searched for, so "../" cannot be matched
    // against another folder's entries.
    ASSERT_TRUE(QDir(m_folder).mkdir(QStringLiteral("sub")));
    touch(m_folder + QStringLiteral("secret"));
    EXPECT_EQ(m_resolver.resolve(m_folder + QStringLiteral("sub/"), QStringLiteral("../SECRET")),
              m_folder + QStringLiteral("sub/../SECRET"));
}

TEST_F(ResolveFile, JoinPlainRefusesCodesThatAreNotPlainNames)
{
    touch(m_folder + QStringLiteral("pag7.kxb"));
    EXPECT_EQ(joinPlain(m_folder, QStringLiteral("7"), QStringLiteral("Pag"), QStringLiteral(".KXB")),
              std::optional<QString>(m_folder + QStringLiteral("pag7.kxb")));
    EXPECT_EQ(joinPlain(m_folder, QStringLiteral("8"), QStringLiteral("Pag"), QStringLiteral(".KXB")),
              std::optional<QString>(m_folder + QStringLiteral("Pag8.KXB")));
    EXPECT_EQ(joinPlain(m_folder, QStringLiteral("../7"), QStringLiteral("Pag"), QStringLiteral(".KXB")), std::nullopt);
    EXPECT_EQ(joinPlain(m_folder, QString(), QStringLiteral("Pag"), QStringLiteral(".KXB")), std::nullopt);
}

}  // namespace
}  // namespace ziro
