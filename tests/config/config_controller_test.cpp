#include "config/config_controller.h"

#include "base/globals.h"
#include "config/ini_file.h"
#include "config/machine_store.h"
#include "support/logging_reports.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

class MemoryStore : public MachineStore {
public:
    std::optional<QString> value = QStringLiteral("4.10.0");
    bool writable = true;
    std::optional<QString> readVersion() override { return value; }
    bool writeVersion(const QString& version) override
    {
        if (!writable)
            return false;
        value = version;
        return true;
    }
};

struct RecordingPort : ConfigPort {
    QStringList calls;
    void setViewMode(bool s, bool d) override
    {
        calls << QStringLiteral("view %1%2").arg(int(s)).arg(int(d));
    }
    void optionsChanged() override { calls << QStringLiteral("options"); }
    void settingsApplied() override { calls << QStringLiteral("applied"); }
    void openAccesses() override { calls << QStringLiteral("accesses"); }
    void manageAccesses() override { calls << QStringLiteral("manage"); }
    void openQuizColours() override { calls << QStringLiteral("quiz colours"); }
    void restoreQuizColours() override { calls << QStringLiteral("quiz defaults"); }
};

class ConfigControllerTest : public ::testing::Test {
protected:
    ConfigControllerTest()
    {
        root = dir.path() + QStringLiteral("/R/");
        QDir().mkpath(root + QStringLiteral("ziro/Program"));
        g.initFromProgram(root + QStringLiteral("ziro/Program/ziro"));
        writeFile(g.FileIni, "; school\r\n[Autoscuola]\r\nNome autoscuola=Rossi\r\n[INI]\r\n"
                             "[Quiz]\r\nDelay=20\r\n");
        EXPECT_TRUE(CaricaIni(g, cfg, reports, store, QStringLiteral("4.10.0")));
        reports.log.clear();
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray fileBytes() const
    {
        QFile file(g.FileIni);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString stored(const QString& section, const QString& key) const
    {
        auto ini = IniFile::open(g.FileIni);
        return ini && ini->valueExists(section, key) ? ini->readString(section, key)
                                                     : QStringLiteral("<missing>");
    }

    QTemporaryDir dir;
    QString root;
    Globals g;
    Config cfg;
    test::LoggingReports reports;
    MemoryStore store;
    RecordingPort port;
    ConfigController c{g, cfg, reports, store, port, QStringLiteral("5.23.11")};
};

TEST_F(ConfigControllerTest, EachCheckBoxWritesItsKeyAtOnce)
{
    const struct {
        SettingId id;
        const char* section;
        const char* key;
    } cases[] = {
        {SettingId::CBVautoOff, "Video", "Auto off"},
        {SettingId::CBaudioOn, "Audio", "Audio program"},
        {SettingId::Cb_AutoText, "Foto", "Auto text"},
        {SettingId::CBmischia, "Quiz", "Mischia sempre"},
        {SettingId::CBnoSsD, "Set", "Ignora segnali senza domanda"},
        {SettingId::CBJumpMark2, "Set", "Recupero out"},
        {SettingId::CBhint, "Hint", "Disabilitato"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.key);
        c.setOption(t.id, true);
        EXPECT_EQ(stored(QString::fromUtf8(t.section), QString::fromUtf8(t.key)), QStringLiteral("1"));
        c.setOption(t.id, false);
        EXPECT_EQ(stored(QString::fromUtf8(t.section), QString::fromUtf8(t.key)), QStringLiteral("0"));
    }
    EXPECT_TRUE(reports.log.isEmpty()) << reports.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ConfigControllerTest, ControlsPullEachOtherAlong)
{
    struct Step {
        SettingId id;
        bool on;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        bool onlySegn, onlyDom, mono, vuota;
        QString lastCall;
    } cases[] = {
        {"signs only ends questions only", {{SettingId::CBonlyDom, true}, {SettingId::CBonlySegn, true}},
         true, false, true, false, QStringLiteral("view 10")},
        {"questions only ends signs only", {{SettingId::CBonlySegn, true}, {SettingId::CBonlyDom, true}},
         false, true, true, false, QStringLiteral("view 01")},
        {"unticking leaves both views", {{SettingId::CBonlySegn, true}, {SettingId::CBonlySegn, false}},
         false, false, true, false, QStringLiteral("view 00")},
        {"mixed order brings questions only", {{SettingId::CBonlySegn, true}, {SettingId::CBesame, true}},
         false, true, true, false, QStringLiteral("view 01")},
        {"no mixed order ends both views", {{SettingId::CBesame, true}, {SettingId::CBesame, false}},
         false, false, true, false, QStringLiteral("view 00")},
        {"no first statement needs one at a time", {{SettingId::CBmono, false}, {SettingId::CB1Vuota, true}},
         false, false, true, true, QString()},
        {"many statements drop the empty start", {{SettingId::CB1Vuota, true}, {SettingId::CBmono, false}},
         false, false, false, false, QString()},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        c.setOption(SettingId::CBonlySegn, false);
        c.setOption(SettingId::CBonlyDom, false);
        c.setOption(SettingId::CBmono, true);
        c.setOption(SettingId::CB1Vuota, false);
        port.calls.clear();
        for (const Step& s : t.steps)
            c.setOption(s.id, s.on);
        EXPECT_EQ(cfg.CBonlySegn, t.onlySegn);
        EXPECT_EQ(cfg.CBonlyDom, t.onlyDom);
        EXPECT_EQ(cfg.CBmono, t.mono);
        EXPECT_EQ(cfg.CB1Vuota, t.vuota);
        // What the form shows is what the file holds.
        EXPECT_EQ(stored("Set", "Solo segnali"), t.onlySegn ? "1" : "0");
        EXPECT_EQ(stored("Set", "Solo domande"), t.onlyDom ? "1" : "0");
        EXPECT_EQ(stored("Quiz", "Solo una affermazione"), t.mono ? "1" : "0");
        EXPECT_EQ(stored("Quiz", "Prima vuota"), t.vuota ? "1" : "0");
        if (!t.lastCall.isEmpty()) {
            ASSERT_FALSE(port.calls.isEmpty());
            EXPECT_EQ(port.calls.last(), t.lastCall);
        }
    }
}

TEST_F(ConfigControllerTest, FollowersAndSideEffects)
{
    c.setOption(SettingId::CB_Autores, true);
    EXPECT_TRUE(cfg.ripristinoEnabled());
    c.setOption(SettingId::CB_Autores, false);
    EXPECT_FALSE(cfg.ripristinoEnabled());
    c.setOption(SettingId::CB_Ripristino, false);
    EXPECT_FALSE(g.RipristinaRisoluzione);
    c.setOption(SettingId::CB_Ripristino, true);
    EXPECT_TRUE(g.RipristinaRisoluzione);
    c.setOption(SettingId::CBJumpMark2, true);
    EXPECT_TRUE(cfg.subArgEnabled());
    c.setOption(SettingId::CBJumpMark2, false);
    EXPECT_FALSE(cfg.subArgEnabled());

    port.calls.clear();
    c.setOption(SettingId::CBAccessoMultiplo, true);
    c.setOption(SettingId::CBAccessoMultiplo, false);
    c.setOption(SettingId::CBQuizColor, true);
    c.setOption(SettingId::CBQuizColor, false);
    c.setOption(SettingId::CBhint, true);
    EXPECT_EQ(port.calls, (QStringList{"accesses", "quiz colours", "quiz defaults", "options"}));
    EXPECT_FALSE(cfg.hintsShown());

    c.setDebugSwitch(ConfigController::DebugSwitch::NoError, true);
    EXPECT_TRUE(cfg.CBlog);
    c.setDebugSwitch(ConfigController::DebugSwitch::MDebug, true);
    EXPECT_TRUE(g.ModoDebug);
    EXPECT_FALSE(cfg.CBNoError);
    EXPECT_TRUE(reports.log.contains(QStringLiteral("0  > Avvio | ")));
    c.setDebugSwitch(ConfigController::DebugSwitch::MDebug, false);
    EXPECT_FALSE(g.ModoDebug);
    // Not stored.
    EXPECT_FALSE(fileBytes().contains("Avvio"));
}

TEST_F(ConfigControllerTest, ValuesOfTheOtherControls)
{
    const struct {
        QString text;
        int code;
    } sizes[] = {{QString(), 3}, {QStringLiteral("5 - Full screen"), 5}, {QStringLiteral("1 - Autosize"), 1},
                 {QStringLiteral("9"), 3}, {QStringLiteral("x"), 3}, {QStringLiteral("0 - zero"), 3}};
    for (const auto& t : sizes) {
        SCOPED_TRACE(t.text.toStdString());
        g.VideoSize = 0;
        c.setVideoSize(t.text);
        EXPECT_EQ(g.VideoSize, t.code);
        EXPECT_EQ(stored("Video", "Video size"), t.text);
    }

    c.setDelay(500);
    EXPECT_EQ(stored("Quiz", "Delay"), "100");
    c.setTopicRange(QStringLiteral("C01"), QStringLiteral("D02"));
    EXPECT_EQ(stored("Filtro", "Argomento avvio iniziale"), "C01");
    EXPECT_EQ(stored("Filtro", "Argomento avvio finale"), "D02");
    c.setIconMenuPosition(3);
    EXPECT_EQ(stored("Menu Icone", "Setting"), "3");
    c.setSchoolName(QStringLiteral("Bianchi"));
    EXPECT_EQ(g.NomeAutoscuola, "Bianchi");
    EXPECT_EQ(stored("Autoscuola", "Nome autoscuola"), "Bianchi");

    c.chooseSelectorColour(QColor(255, 0, 0));
    EXPECT_EQ(g.ColoreSelettore, QColor(255, 0, 0));
    EXPECT_EQ(stored("Menu Icone", "Colore"), "clRed");
    // A cancelled dialog: blue for now, the stored colour stays.
    c.chooseSelectorColour(std::nullopt);
    EXPECT_EQ(g.ColoreSelettore, QColor(0, 0, 255));
    EXPECT_EQ(stored("Menu Icone", "Colore"), "clRed");
}

TEST_F(ConfigControllerTest, FoldersAndRootsAreCheckedBeforeTheyAreWritten)
{
    const QString video = root + QStringLiteral("Films");
    QDir().mkpath(video);
    EXPECT_TRUE(c.chooseFolder(SettingId::PathVideo, video));
    EXPECT_EQ(stored("Path", "Path video"), video + QLatin1Char('/'));

    EXPECT_FALSE(c.chooseFolder(SettingId::PathFoto, root + QStringLiteral("missing")));
    EXPECT_EQ(stored("Path", "Path foto"), QStringLiteral("<missing>"));
    EXPECT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log.value(0).startsWith(QStringLiteral("3 ")));

    // A root must hold the installation.
    EXPECT_FALSE(c.chooseRoot(SettingId::UnitaDati, video));
    EXPECT_EQ(stored("Path", "Unità Dati"), QStringLiteral("<missing>"));
    EXPECT_TRUE(c.chooseRoot(SettingId::UnitaDati, root));
    EXPECT_EQ(stored("Path", "Unità Dati"), QDir::cleanPath(root) + QLatin1Char('/'));
    // Both drive keys go together.
    EXPECT_EQ(stored("Path", "Unità Programma"), QStringLiteral("C:\\"));
}

TEST_F(ConfigControllerTest, ModesAndPages)
{
    using P = ConfigPage;
    EXPECT_EQ(c.pages().title, "Configurazione generale");
    EXPECT_EQ(c.pages().startCaption, " Avvio e Menu ");
    EXPECT_EQ(c.pages().active, P::Start);

    c.openLessonEditor();
    EXPECT_EQ(c.pages().title, "Creazione lezioni personalizzate");
    EXPECT_EQ(c.pages().tabVisible, (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_EQ(c.pages().active, P::Lesson);
    EXPECT_FALSE(c.lockAvailable());
    // Hidden pages cannot be chosen.
    c.pageChosen(P::Reserved);
    EXPECT_EQ(c.pages().active, P::Lesson);
    // Alt+I moves to the settings.
    c.openStartPage();
    EXPECT_EQ(c.pages().mode, ConfigMode::Settings);
    EXPECT_EQ(c.pages().tabVisible, (std::array<bool, 5>{false, true, true, true, true}));
    EXPECT_EQ(c.pages().startCaption, " Avvio e Menu ");
    EXPECT_TRUE(c.lockAvailable());

    c.cancelUnlock();
    EXPECT_FALSE(c.pages().reservedContent);
    EXPECT_EQ(c.pages().active, P::Start);
    c.pageChosen(P::Reserved);
    EXPECT_TRUE(c.pages().reservedContent);

    c.openLessonEditor();
    c.unlock(AccessWord::Reserved);
    EXPECT_EQ(c.pages().active, P::Reserved);
    EXPECT_EQ(c.pages().mode, ConfigMode::Settings);
    EXPECT_FALSE(c.pages().tabVisible[0]);
    c.unlock(AccessWord::Wrong);
    EXPECT_EQ(c.pages().active, P::Start);
    EXPECT_FALSE(c.pages().reservedContent);
}

TEST(ConfigAccessWord, CaseRules)
{
    EXPECT_EQ(checkAccessWord(QStringLiteral("Dizov")), AccessWord::Credits);
    EXPECT_EQ(checkAccessWord(QStringLiteral("dizov")), AccessWord::Wrong);
    EXPECT_EQ(checkAccessWord(QStringLiteral("ZU")), AccessWord::Reserved);
    EXPECT_EQ(checkAccessWord(QStringLiteral("zu")), AccessWord::Reserved);
    EXPECT_EQ(checkAccessWord(QStringLiteral(" zu")), AccessWord::Wrong);
    EXPECT_EQ(checkAccessWord(QString()), AccessWord::Wrong);
}

TEST(ConfigMemoGuard, AnIniSectionAnywhere)
{
    EXPECT_TRUE(looksLikeSettings(QStringLiteral("a\nb\nc\n[INI]\nNome file=x")));
    EXPECT_TRUE(looksLikeSettings(QStringLiteral("[Path]\nx=1\n[ini]\n")));
    EXPECT_TRUE(looksLikeSettings(QStringLiteral("[INI]")));
    EXPECT_FALSE(looksLikeSettings(QStringLiteral("[Path]\nINI=1\n; [INI]\n")));
    EXPECT_FALSE(looksLikeSettings(QStringLiteral("\x01\x02 garbage")));
    EXPECT_FALSE(looksLikeSettings(QString()));
}

TEST_F(ConfigControllerTest, SavedMemoIsReloadedAndSurvivesTheNextWrite)
{
    QString memo = c.loadMemo();
    ASSERT_TRUE(memo.contains(QStringLiteral("Nome autoscuola=Rossi")));
    memo.replace(QStringLiteral("Rossi"), QStringLiteral("Verdi"));
    memo += QStringLiteral("[Path]\nPath video=") + root + QStringLiteral("Films/\n");
    reports.answer = true;
    const auto shownAfter = c.saveMemo(memo);
    ASSERT_TRUE(shownAfter);
    EXPECT_TRUE(shownAfter->contains(QStringLiteral("Verdi")));
    EXPECT_EQ(cfg.NomeAutoscuola, "Verdi");
    // Applied, not only read: the folders moved.
    EXPECT_EQ(g.dirs.DirVideo, root + QStringLiteral("Films/"));
    EXPECT_TRUE(port.calls.contains(QStringLiteral("applied")));
    EXPECT_TRUE(fileBytes().contains("\r\n"));
    // A control written afterwards keeps the memo's edit.
    c.setOption(SettingId::CBmischia, true);
    EXPECT_EQ(stored("Autoscuola", "Nome autoscuola"), "Verdi");
    EXPECT_EQ(stored("Quiz", "Mischia sempre"), "1");
}

TEST_F(ConfigControllerTest, MemoSaveRefusalsAndQuestions)
{
    const QByteArray before = fileBytes();
    // Another file without an [INI] section is refused without a question.
    const QString other = root + QStringLiteral("notes.txt");
    writeFile(other, "one\r\ntwo\r\nthree\r\nfour\r\n");
    const auto text = c.loadMemoFrom(other);
    ASSERT_TRUE(text);
    EXPECT_EQ(c.memoSource(), ConfigController::MemoSource::OtherFile);
    EXPECT_FALSE(c.saveMemo(*text));
    EXPECT_EQ(reports.log.value(0), QStringLiteral("10 Non è possibile salvare come .INI | il file visualizzato non è ")
                                        + QDir::toNativeSeparators(g.FileIni));
    EXPECT_EQ(fileBytes(), before);

    // "No" writes nothing but applies the settings.
    reports.log.clear();
    reports.answer = false;
    QString memo = c.loadMemo();
    EXPECT_FALSE(c.saveMemo(memo + QStringLiteral("[Extra]\nk=1\n")));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(port.calls.contains(QStringLiteral("applied")));
    EXPECT_TRUE(reports.log.value(0).startsWith(QStringLiteral("? Vuoi sovrascrivere il file ")));

    // A control writes meanwhile: the question says the file changed.
    reports.log.clear();
    c.setOption(SettingId::CBmischia, true);
    EXPECT_FALSE(c.saveMemo(memo));
    EXPECT_TRUE(reports.log.value(0).contains(QStringLiteral("cambiato"))) << reports.log.value(0).toStdString();
    EXPECT_EQ(stored("Quiz", "Mischia sempre"), "1");

    // Unreadable files are reported, the memo source stays.
    reports.log.clear();
    EXPECT_FALSE(c.loadMemoFrom(root + QStringLiteral("nothing.ini")));
    EXPECT_FALSE(c.loadMemoFrom(root));
    EXPECT_EQ(reports.log.size(), 2);
    EXPECT_EQ(c.memoSource(), ConfigController::MemoSource::SettingsFile);
}

TEST_F(ConfigControllerTest, GarbageMemoWithIniSectionLoadsWithDefaults)
{
    reports.answer = true;
    const QString garbage = QString::fromUtf8("\xc3\xa0\x01[[[\n=\n[Quiz]\nDelay=abc\n[INI]\n");
    ASSERT_TRUE(c.saveMemo(garbage));
    EXPECT_EQ(cfg.ASdelay, 15);
    // Still a file the next load can read.
    EXPECT_TRUE(CaricaIni(g, cfg, reports, store, QStringLiteral("4.10.0")));
}

TEST_F(ConfigControllerTest, SaveAnyFileIsAtomicAndReportsFailure)
{
    const QString target = root + QStringLiteral("copy.ini");
    EXPECT_TRUE(c.saveMemoAs(QStringLiteral("[INI]\nx=1\n"), target));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[INI]\r\nx=1\r\n"));
    EXPECT_FALSE(c.saveMemoAs(QStringLiteral("x"), root + QStringLiteral("no/such/dir/f.ini")));
    EXPECT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log.value(0).startsWith(QStringLiteral("2 ")));
}

TEST_F(ConfigControllerTest, VersionAlignment)
{
    reports.answer = false;
    EXPECT_FALSE(c.alignVersions());
    EXPECT_EQ(store.value, QStringLiteral("4.10.0"));

    // A store that cannot be written is reported; the file is written anyway.
    reports.answer = true;
    store.writable = false;
    EXPECT_TRUE(c.alignVersions());
    EXPECT_EQ(stored("Info", "Versione"), "5.23.11");
    EXPECT_TRUE(reports.log.filter(QStringLiteral("Registry")).size() >= 1);
}

TEST_F(ConfigControllerTest, ExternalModules)
{
    EXPECT_FALSE(c.externalModule(ConfigController::setupModuleName()));
    EXPECT_EQ(reports.log.value(0), QStringLiteral("20 Modulo esterno | ")
                                        + QDir::toNativeSeparators(g.dirs.DirProgram + QStringLiteral("SETTA ZIRO.EXE"))
                                        + QStringLiteral(" non trovato!"));
    writeFile(g.dirs.DirProgram + QStringLiteral("setta ziro.exe"), "MZ");
    const auto path = c.externalModule(ConfigController::setupModuleName());
    ASSERT_TRUE(path);
    EXPECT_TRUE(QFile::exists(*path));
}

}  // namespace
}  // namespace ziro
