#include "base/globals.h"
#include "shell/startup.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ziro;
using ziro::test::FakeDialogs;
using ziro::test::FakeSystem;
using Answer = Dialogs::Answer;

namespace {

struct Install {
    QTemporaryDir tmp;
    Globals g;
    Install()
    {
        QDir().mkpath(tmp.path() + QStringLiteral("/ziro/Program"));
        g.initFromProgram(tmp.path() + QStringLiteral("/ziro/Program/ziro"));
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(g.dirs.DirProgram + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name)
    {
        QFile f(g.dirs.DirProgram + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFonts()
    {
        for (const char* n : {"ARIALN.TTF", "ARIALNB.TTF", "digital2.ttf"})
            write(QLatin1String(n), "font");
    }
};

}  // namespace

TEST(Outcome, FirstFailureReplacesThenAppends)
{
    OutcomeText o;
    EXPECT_EQ(o.text(), QStringLiteral("OK"));
    o.fail(QStringLiteral("a"));
    EXPECT_EQ(o.text(), QStringLiteral("a"));
    o.fail(QStringLiteral("b"));
    EXPECT_EQ(o.text(), QStringLiteral("a, b"));
}

TEST(Resolution, Plan)
{
    const QSize big(1024, 768);
    struct Case {
        QSize screen;
        bool ini;
        std::optional<bool> autoRes;
        bool act, ask;
    } cases[] = {
        {big, false, std::nullopt, true, false},  // no settings: switch, no question
        {big, true, std::nullopt, true, true},    // key absent: ask
        {big, true, true, true, false},
        {big, true, false, false, false},
        {QSize(640, 480), false, std::nullopt, false, false},
        {QSize(800, 480), true, true, false, false},
        {QSize(640, 600), true, true, false, false},
    };
    for (const auto& c : cases) {
        const auto p = planResolution(c.screen, c.ini, c.autoRes);
        EXPECT_EQ(p.act, c.act);
        EXPECT_EQ(p.ask, c.ask);
    }
}

TEST(Resolution, WhatIsWritten)
{
    EXPECT_EQ(resolutionWrite(false, false, int(Answer::Yes), true), AutoResWrite::None);
    EXPECT_EQ(resolutionWrite(true, false, int(Answer::Yes), true), AutoResWrite::SetTrue);
    EXPECT_EQ(resolutionWrite(true, true, int(Answer::Yes), false), AutoResWrite::None);
    EXPECT_EQ(resolutionWrite(true, true, int(Answer::Ignore), false), AutoResWrite::SetFalse);
    EXPECT_EQ(resolutionWrite(true, true, int(Answer::No), false), AutoResWrite::Remove);
}

TEST(StartupChecks, AllWellGivesOK)
{
    Install in;
    in.writeFonts();
    in.write(QStringLiteral("ziro.ini"), "[Video]\r\nAuto res=0\r\n");
    FakeSystem sys;
    FakeDialogs dlg;
    EXPECT_EQ(runStartupChecks(in.g, sys, dlg, QSize(1024, 768), {}), QStringLiteral("OK"));
    EXPECT_TRUE(dlg.shown.isEmpty());
    EXPECT_EQ(sys.fontsRegistered.size(), 3);
    EXPECT_EQ(in.g.RisoluzioneIniziale.width, 1024);
}

TEST(StartupChecks, SoundCardAndFontMessages)
{
    Install in;
    in.write(QStringLiteral("ARIALN.TTF"), "font");
    in.write(QStringLiteral("ziro.ini"), "[Video]\r\nAuto res=0\r\n");
    FakeSystem sys;
    sys.soundOutput = false;
    FakeDialogs dlg;
    runStartupChecks(in.g, sys, dlg, QSize(1024, 768), {});
    const QString p = in.g.dirs.DirProgram;
    const QStringList expected = {
        QString::fromUtf8("Non è stata rilevata la scheda audio:\rcontenuti multimediali non disponibili"),
        QStringLiteral("Errore caricamento font, il file ") + p + QStringLiteral("ARIALNB.TTF non esiste."),
        QStringLiteral("Font ") + p + QString::fromUtf8("ARIALNB.TTF già caricato o inesistente"),
        QStringLiteral("Errore caricamento font, il file ") + p + QStringLiteral("digital2.ttf non esiste."),
        QStringLiteral("Font ") + p + QString::fromUtf8("digital2.ttf già caricato o inesistente"),
    };
    EXPECT_EQ(dlg.shown, expected);
}

TEST(StartupChecks, NoSettingsSwitchesSilentlyAndReportsItCannot)
{
    Install in;
    in.writeFonts();
    FakeSystem sys;
    FakeDialogs dlg;
    bool splashHidden = false;
    const QString out = runStartupChecks(in.g, sys, dlg, QSize(1280, 1024), [&] { splashHidden = true; });
    EXPECT_EQ(out, QString::fromUtf8("Non è possibile cambiare la risoluzione del display."));
    EXPECT_TRUE(dlg.shown.isEmpty());
    ASSERT_EQ(sys.switches.size(), 3);
    EXPECT_EQ(sys.switches[0].depth, 32);
    EXPECT_EQ(sys.switches[1].depth, 24);
    EXPECT_EQ(sys.switches[2].depth, 16);
    EXPECT_TRUE(splashHidden);
    EXPECT_FALSE(QFile::exists(in.g.FileIni));
    EXPECT_FALSE(in.g.PresentationFillsScreen);
    EXPECT_FALSE(in.g.RisoluzioneCambiata);
}

TEST(StartupChecks, QuestionAnswersWriteOrRemoveTheKey)
{
    struct Case {
        Answer answer;
        QByteArray expected;
        int switches;
        bool fills;
    } cases[] = {
        {Answer::Ignore, "[Video]\r\nAuto res=0\r\n", 0, false},
        {Answer::No, "[Video]\r\n", 0, false},
        {Answer::Yes, "[Video]\r\nAuto res=1\r\n", 1, true},
    };
    for (const auto& c : cases) {
        Install in;
        in.writeFonts();
        in.write(QStringLiteral("ziro.ini"), "[Video]\r\n");  // key absent: ask
        FakeSystem sys;
        sys.switchSucceeds = true;
        FakeDialogs dlg;
        dlg.answers = {c.answer};
        const QString out = runStartupChecks(in.g, sys, dlg, QSize(1024, 768), {});
        EXPECT_EQ(out, QStringLiteral("OK"));
        ASSERT_EQ(dlg.shown.size(), 1);
        EXPECT_EQ(dlg.shown[0], QString::fromUtf8(kResolutionQuestion));
        EXPECT_EQ(sys.switches.size(), c.switches);
        EXPECT_EQ(in.read(QStringLiteral("ziro.ini")), c.expected);
        EXPECT_EQ(in.g.PresentationFillsScreen, c.fills);
        // The accepted request left the display as it was: nothing to
        // restore at exit.
        EXPECT_FALSE(in.g.RisoluzioneCambiata);
    }
}

TEST(StartupChecks, AcceptedSwitchFillsTheScreenAndOnlyARealOneIsRestored)
{
    Install in;
    in.writeFonts();  // no settings file: switch without a question
    FakeSystem sys;
    sys.switchSucceeds = true;
    FakeDialogs dlg;
    EXPECT_EQ(runStartupChecks(in.g, sys, dlg, QSize(1920, 1080), {}), QStringLiteral("OK"));
    EXPECT_TRUE(dlg.shown.isEmpty());
    EXPECT_EQ(in.g.RisoluzioneIniziale.width, 1024);  // what the system reports
    EXPECT_TRUE(in.g.PresentationFillsScreen);
    EXPECT_FALSE(in.g.RisoluzioneCambiata);
    EXPECT_FALSE(QFile::exists(in.g.FileIni));

    // A system that really changed its mode has one to give back.
    struct SwitchingSystem : FakeSystem {
        bool switchDisplayMode(bool permanent, const DisplayMode& m) override
        {
            mode = m;
            return FakeSystem::switchDisplayMode(permanent, m);
        }
    } real;
    real.switchSucceeds = true;
    Install other;
    other.writeFonts();
    runStartupChecks(other.g, real, dlg, QSize(1024, 768), {});
    EXPECT_TRUE(other.g.RisoluzioneCambiata);
    EXPECT_EQ(other.g.RisoluzioneIniziale.width, 1024);
}

TEST(StartupChecks, AutoResTrueSwitchesWithoutQuestion)
{
    Install in;
    in.writeFonts();
    in.write(QStringLiteral("ziro.ini"), "[Video]\r\nAuto res=1\r\n");
    FakeSystem sys;
    FakeDialogs dlg;
    EXPECT_EQ(runStartupChecks(in.g, sys, dlg, QSize(1024, 768), {}),
              QString::fromUtf8(kResolutionFailed));
    EXPECT_TRUE(dlg.shown.isEmpty());
    EXPECT_EQ(sys.switches.size(), 3);
}

TEST(Splash, SetUpModule)
{
    const QString expectedName = QStringLiteral("SETTA ZIRO.EXE");
    {  // no name, no module: one message, start-up goes on
        Install in;
        FakeSystem sys;
        FakeDialogs dlg;
        prepareSplash(in.g, sys, dlg);
        ASSERT_EQ(dlg.shown.size(), 1);
        EXPECT_EQ(dlg.shown[0], QStringLiteral("Modulo esterno") + in.g.dirs.DirProgram +
                                    expectedName + QStringLiteral(" non trovato!"));
    }
    {  // the module without its extension is run; one that cannot start is reported
        Install in;
        in.write(QStringLiteral("SETTA ZIRO"), "#!/bin/sh\n");
        FakeSystem sys;
        sys.exitCode = -1;
        FakeDialogs dlg;
        prepareSplash(in.g, sys, dlg);
        EXPECT_EQ(sys.commands, QStringList{in.g.dirs.DirProgram + QStringLiteral("SETTA ZIRO")});
        EXPECT_EQ(dlg.shown, QStringList{QStringLiteral("Modulo esterno") + in.g.dirs.DirProgram +
                                         expectedName + QStringLiteral(", esecuzione fallita")});
    }
    {  // a school name means the program is set up
        Install in;
        in.write(QStringLiteral("ziro.ini"),
                 QString::fromUtf8("[Autoscuola]\r\nNome autoscuola=Città\r\n").toUtf8());
        FakeSystem sys;
        FakeDialogs dlg;
        prepareSplash(in.g, sys, dlg);
        EXPECT_TRUE(dlg.shown.isEmpty());
        EXPECT_TRUE(sys.commands.isEmpty());
        EXPECT_EQ(in.g.NomeAutoscuola, QString::fromUtf8("Città"));
    }
}
