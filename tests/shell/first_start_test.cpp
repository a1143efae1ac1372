#include "shell/first_start.h"

#include "base/globals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

class ScriptedPort : public FirstStartPort {
public:
    explicit ScriptedPort(FirstStartChoice answer) : m_answer(answer) {}
    FirstStartChoice ask(const QString& root, bool sampleAvailable) override
    {
        ++asked;
        offeredSample = sampleAvailable;
        return m_answer;
    }
    void tell(const QString& text) override { told << text; }

    int asked = 0;
    bool offeredSample = false;
    QStringList told;

private:
    FirstStartChoice m_answer;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class FirstStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        writeFile(sample() + "ziro/Program/ziro.ini", "[Autoscuola]\r\nNome autoscuola=Demo\r\n");
        writeFile(sample() + "ziro/Program/Lezioni.DB", "table");
        writeFile(sample() + "Velarium/v.wav", "voice");
    }
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QString sample() const { return path("share/ziro/esempio/"); }
    RootChoice given(const QString& root, RootSource source = RootSource::CommandLine) const
    {
        RootChoice c;
        c.root = root;
        c.source = source;
        return c;
    }
    QTemporaryDir m_dir;
};

TEST_F(FirstStart, AnEmptyRootGetsTheChosenInstallationAndAReport)
{
    QDir().mkpath(path("aula"));
    ScriptedPort port(FirstStartChoice::Sample);
    const RootDecision d = prepareRoot(given(path("aula/")), sample(), port);
    ASSERT_TRUE(d.proceed);
    EXPECT_EQ(d.programFile, path("aula/ziro/Program/ziro"));
    EXPECT_EQ(port.asked, 1);
    EXPECT_TRUE(port.offeredSample);
    EXPECT_TRUE(QFile::exists(path("aula/ziro/Program/Lezioni.DB")));
    EXPECT_TRUE(QFile::exists(path("aula/Velarium/v.wav")));
    ASSERT_EQ(port.told.size(), 1);
    EXPECT_TRUE(port.told[0].contains("3 file")) << port.told[0].toStdString();

    // The next start finds the installation and asks nothing.
    ScriptedPort again(FirstStartChoice::Empty);
    const RootDecision next = prepareRoot(given(path("aula/")), sample(), again);
    EXPECT_TRUE(next.proceed);
    EXPECT_EQ(again.asked, 0);
    EXPECT_TRUE(again.told.isEmpty());
}

TEST_F(FirstStart, ThePerUserFolderIsMadeButANamedOneMustExist)
{
    ScriptedPort port(FirstStartChoice::Empty);
    RootDecision d = prepareRoot(given(path("user/ziro/"), RootSource::UserData), {}, port);
    ASSERT_TRUE(d.proceed);
    EXPECT_FALSE(port.offeredSample);
    EXPECT_TRUE(QFileInfo(path("user/ziro/ziro/Foto")).isDir());

    ScriptedPort typo(FirstStartChoice::Empty);
    d = prepareRoot(given(path("aulla/")), {}, typo);
    EXPECT_FALSE(d.proceed);
    EXPECT_EQ(d.exitCode, 2);
    EXPECT_EQ(typo.asked, 0);
    EXPECT_FALSE(QFileInfo::exists(path("aulla")));
    ASSERT_EQ(typo.told.size(), 1);
    EXPECT_TRUE(typo.told[0].contains("non esiste"));
}

TEST_F(FirstStart, QuitOrAMissingSampleCreateNothing)
{
    QDir().mkpath(path("aula"));
    ScriptedPort quit(FirstStartChoice::Quit);
    RootDecision d = prepareRoot(given(path("aula/")), sample(), quit);
    EXPECT_FALSE(d.proceed);
    EXPECT_EQ(d.exitCode, 0);

    // An unattended request for the sample where none is shipped.
    ScriptedPort port(FirstStartChoice::Empty);
    d = prepareRoot(given(path("aula/")), {}, port, FirstStartChoice::Sample);
    EXPECT_FALSE(d.proceed);
    EXPECT_EQ(port.asked, 0);
    EXPECT_EQ(port.told.size(), 1);
    EXPECT_TRUE(QDir(path("aula")).isEmpty());
}

TEST_F(FirstStart, UnusableRootsAndTheProgramsOwnInstallation)
{
    writeFile(path("half/ziro/Foto/x"), "x");
    ScriptedPort port(FirstStartChoice::Sample);
    RootDecision d = prepareRoot(given(path("half/")), sample(), port);
    EXPECT_FALSE(d.proceed);
    EXPECT_EQ(port.asked, 0);
    EXPECT_TRUE(port.told.value(0).contains("incompleta"));
    EXPECT_FALSE(QFileInfo::exists(path("half/ziro/Program")));

    RootChoice bad;
    bad.source = RootSource::CommandLine;
    bad.error = QStringLiteral("L'opzione --root richiede il nome di una cartella.");
    ScriptedPort p2(FirstStartChoice::Sample);
    d = prepareRoot(bad, sample(), p2);
    EXPECT_FALSE(d.proceed);
    EXPECT_EQ(p2.told, QStringList{bad.error});

    // The executable in <root>/ziro/Program keeps its own checks.
    ScriptedPort p3(FirstStartChoice::Sample);
    d = prepareRoot(given(path("nothing-here/"), RootSource::ProgramFolder), sample(), p3);
    EXPECT_TRUE(d.proceed);
    EXPECT_TRUE(d.programFile.isEmpty());
    EXPECT_EQ(p3.asked, 0);
}

TEST_F(FirstStart, EveryFolderAndTheSettingsFileFollowTheChosenRoot)
{
    QDir().mkpath(path("aula"));
    ScriptedPort port(FirstStartChoice::Empty);
    const RootDecision d = prepareRoot(given(path("aula/")), sample(), port);
    ASSERT_TRUE(d.proceed);
    Globals g;
    g.initFromProgram(d.programFile);
    const QString ziro = path("aula/ziro/");
    EXPECT_EQ(g.FileIni, ziro + "Program/ziro.ini");
    EXPECT_TRUE(QFile::exists(g.FileIni));
    for (const QString& folder : {g.dirs.DirProgram, g.dirs.DirUtente, g.dirs.DirFoto, g.dirs.DirPicSgn,
                                  g.dirs.DirVideo, g.dirs.DirBook, g.dirs.DirHtml, g.dirs.DirFotoUtente}) {
        EXPECT_TRUE(folder.startsWith(ziro)) << folder.toStdString();
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    }
    EXPECT_EQ(g.dirs.DirVelarium, path("aula/Velarium/"));
}

TEST(FirstStartOption, Values)
{
    QString error;
    EXPECT_EQ(presetFirstStart({"--root", "/x", "--install=sample"}, &error), FirstStartChoice::Sample);
    EXPECT_EQ(presetFirstStart({"--install=empty"}, &error), FirstStartChoice::Empty);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(presetFirstStart({"--root", "/x"}, &error), std::nullopt);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(presetFirstStart({"--install=all"}, &error), std::nullopt);
    EXPECT_TRUE(error.contains("all"));
}

}  // namespace
}  // namespace ziro
