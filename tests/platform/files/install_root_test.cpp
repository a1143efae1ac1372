#include "platform/files/install_root.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace ziro {
namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList tree(const QString& root)
{
    QStringList names;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next().mid(root.size());
    names.sort();
    return names;
}

RootChoice choose(const QStringList& args, const QString& env = {},
                  const QString& exe = QStringLiteral("/usr/bin/ziro"))
{
    return chooseRoot(args, env, exe, QStringLiteral("/home/t/.local/share"), QStringLiteral("/work/dir"),
                      QStringLiteral("/home/t"));
}

TEST(RootChoice, TheOptionThenTheEnvironmentThenTheProgramFolderThenTheUserData)
{
    struct Case {
        QStringList args;
        QString env;
        QString exe;
        QString root;
        RootSource source;
    } cases[] = {
        {{"--root", "/srv/scuola"}, "/env", "/r/ziro/Program/ziro", "/srv/scuola/", RootSource::CommandLine},
        {{"--root=/srv/a b/"}, {}, "/usr/bin/ziro", "/srv/a b/", RootSource::CommandLine},
        {{"--root", "dati/../aula"}, {}, "/usr/bin/ziro", "/work/dir/aula/", RootSource::CommandLine},
        {{"--root", "~/ziro dati"}, {}, "/usr/bin/ziro", "/home/t/ziro dati/", RootSource::CommandLine},
        {{"-x"}, "/env/root", "/r/ziro/Program/ziro", "/env/root/", RootSource::Environment},
        {{}, {}, "/r/ziro/Program/ziro", "/r/", RootSource::ProgramFolder},
        // A build folder or a system install: never next to the executable.
        {{}, {}, "/usr/bin/ziro", "/home/t/.local/share/ziro/", RootSource::UserData},
        {{}, {}, "/home/t/build/ziro", "/home/t/.local/share/ziro/", RootSource::UserData},
    };
    for (const Case& c : cases) {
        const RootChoice r = choose(c.args, c.env, c.exe);
        EXPECT_EQ(r.root, c.root) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.source, c.source) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    }
}

TEST(RootChoice, OddPathsAreRefusedWithAMessage)
{
    const QStringList bad[] = {
        {"--root"},                        // nothing after it
        {"--root", "--install=sample"},    // another option, not a folder
        {"--root="},
        {"--root", "   "},
        {QStringLiteral("--root=/tmp/a\nb")},
        {"--root", "smb://server/share"},
        {"--root", "//server/share"},
    };
    for (const QStringList& args : bad) {
        const RootChoice r = choose(args);
        EXPECT_TRUE(r.root.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(r.error.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(chooseRoot({}, {}, "/usr/bin/ziro", {}, "/", "/").error.isEmpty());
}

TEST(RootChoice, TheSettingsFileFollowsTheRoot)
{
    EXPECT_EQ(programFileInRoot("/srv/scuola/"), "/srv/scuola/ziro/Program/ziro");
    EXPECT_EQ(programFileInRoot("/srv/scuola"), "/srv/scuola/ziro/Program/ziro");
}

TEST(RootChoice, SystemFolders)
{
    for (const char* p : {"/", "/usr", "/usr/share/ziro/esempio", "/etc/", "/bin", "/proc/1", "/var/lib/x"})
        EXPECT_TRUE(isSystemFolder(p)) << p;
    for (const char* p : {"/usr/local/scuola", "/home/t", "/srv/ziro", "/var/tmp", "/usrdata", "/tmp"})
        EXPECT_FALSE(isSystemFolder(p)) << p;
}

class RootOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name = {}) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

TEST_F(RootOnDisk, EachStateIsRecognisedAndNothingIsTouched)
{
    writeFile(path("file"), "x");
    QDir().mkpath(path("empty/other"));
    QDir().mkpath(path("half/ziro/Foto"));
    QDir().mkpath(path("noprog/ziro/Program"));
    writeFile(path("full/ziro/Program/ziro.ini"), "[Autoscuola]\r\n");
    QDir().mkpath(path("locked"));
    QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QStringList before = tree(path());

    struct Case {
        QString root;
        RootState state;
    } cases[] = {
        {path("full"), RootState::Installed},       {path("empty/"), RootState::Empty},
        {path("missing"), RootState::Missing},      {path("file"), RootState::NotAFolder},
        {path("file/"), RootState::NotAFolder},
        {path("half"), RootState::Partial},         {path("noprog"), RootState::Partial},
        {"/usr/share", RootState::SystemFolder},    {"/", RootState::SystemFolder},
    };
    for (const Case& c : cases) {
        const RootCheck check = checkRoot(c.root);
        EXPECT_EQ(check.state, c.state) << c.root.toStdString();
        EXPECT_EQ(check.message.isEmpty(), c.state == RootState::Installed || c.state == RootState::Empty)
            << c.root.toStdString();
    }
    if (::geteuid() != 0)  // root writes everywhere
        EXPECT_EQ(checkRoot(path("locked")).state, RootState::NotWritable);
    QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(tree(path()), before);
}

TEST_F(RootOnDisk, TheSampleIsCopiedWholeAndFoundBesideTheExecutable)
{
    const QString share = path("pkg/share/ziro/esempio/");
    writeFile(share + "ziro/Program/ziro.ini", "settings");
    writeFile(share + "ziro/Foto/F1.KXB", "photo");
    writeFile(share + "Velarium/a.wav", "voice");
    QDir().mkpath(share + "ziro/Utente");
    EXPECT_EQ(findSampleContent(path("pkg/bin/ziro")), share);
    EXPECT_EQ(findSampleContent(path("elsewhere/bin/ziro")), QString());

    QDir().mkpath(path("root"));
    const InstallReport report = copySampleContent(share, path("root"));
    ASSERT_TRUE(report.ok) << report.error.toStdString();
    EXPECT_EQ(report.files, 3);
    EXPECT_EQ(tree(path("root/")), tree(share));
    EXPECT_EQ(readFile(path("root/ziro/Foto/F1.KXB")), "photo");
    EXPECT_EQ(checkRoot(path("root")).state, RootState::Installed);
}

TEST_F(RootOnDisk, AnExistingFileStopsTheCopyBeforeAnythingIsWritten)
{
    const QString share = path("sample/");
    writeFile(share + "ziro/Program/ziro.ini", "settings");
    writeFile(share + "ziro/Foto/F1.KXB", "photo");
    writeFile(path("root/ziro/Foto/F1.KXB"), "the school's own");
    const QStringList before = tree(path("root/"));

    const InstallReport report = copySampleContent(share, path("root"));
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.error.contains("F1.KXB")) << report.error.toStdString();
    EXPECT_EQ(tree(path("root/")), before);
    EXPECT_EQ(readFile(path("root/ziro/Foto/F1.KXB")), "the school's own");
}

TEST_F(RootOnDisk, TheSkeletonHasEveryFolderAndTheTemplates)
{
    const QString share = path("sample/");
    writeFile(share + "ziro/Program/ziro.ini", "demo settings");
    writeFile(share + "ziro/Program/ARIALN.TTF", "font");
    writeFile(share + "ziro/Program/LOGO.BMP", "logo");
    writeFile(share + "ziro/Program/Lezioni.DB", "a content table");

    InstallReport report = createSkeleton(path("a"), share);
    ASSERT_TRUE(report.ok) << report.error.toStdString();
    for (const QString& folder : installationFolders())
        EXPECT_TRUE(QFileInfo(path("a/ziro/") + folder).isDir()) << folder.toStdString();
    EXPECT_EQ(readFile(path("a/ziro/Program/ziro.ini")), "demo settings");
    EXPECT_TRUE(QFile::exists(path("a/ziro/Program/ARIALN.TTF")));
    EXPECT_FALSE(QFile::exists(path("a/ziro/Program/Lezioni.DB")));
    EXPECT_EQ(report.files, 3);
    EXPECT_EQ(checkRoot(path("a")).state, RootState::Installed);

    // Without a sample the settings file names a school, so that the
    // set-up module is not asked for.
    report = createSkeleton(path("b"), {});
    ASSERT_TRUE(report.ok);
    EXPECT_TRUE(readFile(path("b/ziro/Program/ziro.ini")).contains("Nome autoscuola="));

    // A second run over an installation writes nothing.
    writeFile(path("b/ziro/Program/ziro.ini"), "changed by the teacher");
    report = createSkeleton(path("b"), share);
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(readFile(path("b/ziro/Program/ziro.ini")), "changed by the teacher");
}

}  // namespace
}  // namespace ziro
