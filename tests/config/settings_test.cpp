#include "config/settings.h"

#include "base/globals.h"
#include "config/colour_text.h"
#include "config/ini_file.h"
#include "config/machine_store.h"
#include "diag/reporter.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace ziro {
namespace {

class FakeStore : public MachineStore {
public:
    std::optional<QString> value = QStringLiteral("4.10.0");
    bool writable = true;
    QStringList writes;

    std::optional<QString> readVersion() override { return value; }
    bool writeVersion(const QString& version) override
    {
        writes << version;
        if (!writable)
            return false;
        value = version;
        return true;
    }
};

const QString kExe = QStringLiteral("9.87.6");

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest()
    {
        root = dir.path() + QStringLiteral("/R/");
        QDir().mkpath(root + QStringLiteral("ziro/Program"));
        g.initFromProgram(root + QStringLiteral("ziro/Program/ziro"));
    }

    void writeIni(const QByteArray& bytes) const
    {
        QFile file(g.FileIni);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray iniBytes() const
    {
        QFile file(g.FileIni);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool load() { return CaricaIni(g, cfg, reporter, store, kExe); }

    // The first line of every log entry after the header.
    QStringList logged() const
    {
        QStringList heads;
        for (const QString& line : reporter.ErrorLog())
            if (line.startsWith(QLatin1String("-> ")))
                heads << line.mid(3);
        return heads;
    }

    QString storedValue(const QString& section, const QString& key) const
    {
        auto ini = IniFile::open(g.FileIni);
        return ini && ini->valueExists(section, key) ? ini->readString(section, key)
                                                     : QStringLiteral("<missing>");
    }

    QTemporaryDir dir;
    QString root;
    Globals g;
    Reporter reporter{g};
    FakeStore store;
    Config cfg;
};

TEST_F(SettingsTest, MissingFileIsReportedAndChangesNothing)
{
    cfg.NomeAutoscuola = QStringLiteral("Autoscuola Rossi");
    const Folders before = g.dirs;
    EXPECT_FALSE(load());
    EXPECT_EQ(cfg.NomeAutoscuola, QStringLiteral("Autoscuola Rossi"));
    EXPECT_EQ(g.dirs.DirVideo, before.DirVideo);
    EXPECT_FALSE(g.IniFilePtr);
    EXPECT_TRUE(reporter.ErrorLog().contains(
        QStringLiteral("-> Errore, Files di inizializzazione")));
    EXPECT_TRUE(reporter.ErrorLog().contains(
        QStringLiteral("   Il file ") + QDir::toNativeSeparators(g.FileIni)
        + QStringLiteral(" non esiste")));
    EXPECT_FALSE(QFile::exists(g.FileIni));
}

TEST_F(SettingsTest, EveryKeyReadsItsDefaultWhenMissing)
{
    writeIni("[INI]\r\n");
    // Quiz colours are only read with "Modifica colori" on; otherwise they
    // keep what they had.
    cfg.Color1 = QStringLiteral("stale");
    ASSERT_TRUE(load());

    const QString data = root + QStringLiteral("ziro/");
    struct Expected {
        SettingId id;
        const char* section;
        const char* key;
        QString text;
    } expected[] = {
        {SettingId::UnitaProgram, "Path", "Unità Programma", "C:\\"},
        {SettingId::UnitaDati, "Path", "Unità Dati", "C:\\"},
        {SettingId::PathVideo, "Path", "Path video", data + "Video/"},
        {SettingId::PathAudioAM, "Path", "Path audio AM", data + "Audio AM/"},
        {SettingId::PathAudioAB, "Path", "Path audio", data + "Audio/"},
        {SettingId::PathFoto, "Path", "Path foto", data + "Foto/"},
        {SettingId::PathVL, "Path", "Path VL", "C:\\Velarium\\"},
        {SettingId::NomeAutoscuola, "Autoscuola", "Nome autoscuola", ""},
        {SettingId::EFAda, "Filtro", "Argomento avvio iniziale", "B00"},
        {SettingId::EFAa, "Filtro", "Argomento avvio finale", "H17"},
        {SettingId::VideoSize, "Video", "Video size", ""},
        {SettingId::CBVautoOff, "Video", "Auto off", "1"},
        {SettingId::CB_Autores, "Video", "Auto res", "0"},
        {SettingId::CB_Ripristino, "Video", "Restore", "1"},
        {SettingId::CBaudioOn, "Audio", "Audio program", "1"},
        {SettingId::CBAudioFoto, "Audio", "Audio foto", "1"},
        {SettingId::Autoplay, "Audio", "Autoplay", "0"},
        {SettingId::LngTxtAlign, "Audio", "LngTxtAlign", "0"},
        {SettingId::Linguaggio, "Audio", "Linguaggio", "-1"},
        {SettingId::Cb_AutoText, "Foto", "Auto text", "1"},
        {SettingId::CBfotoFull, "Foto", "Full screen", "0"},
        {SettingId::CBautoscan, "Quiz", "Autoscroll", "0"},
        {SettingId::CBscanFalse, "Quiz", "Auto false", "1"},
        {SettingId::ASdelay, "Quiz", "Delay", "15"},
        {SettingId::CBmono, "Quiz", "Solo una affermazione", "1"},
        {SettingId::CB1Vuota, "Quiz", "Prima vuota", "0"},
        {SettingId::CB_DidascaStart, "Quiz", "Avvio didascalia", "0"},
        {SettingId::CB_DidascaColor, "Quiz", "Colore didascalia", "0"},
        {SettingId::CBmischia, "Quiz", "Mischia sempre", "0"},
        {SettingId::CBAvanza, "Quiz", "Avanzamento", "1"},
        {SettingId::CBQuizColor, "Quiz", "Modifica colori", "0"},
        {SettingId::CBExEscluse, "Quiz", "Esclusioni", "0"},
        {SettingId::Color1, "Quiz", "Color1", "stale"},
        {SettingId::Color2, "Quiz", "Color2", ""},
        {SettingId::Color3, "Quiz", "Color3", ""},
        {SettingId::Color4, "Quiz", "Color4", ""},
        {SettingId::Color5, "Quiz", "Color5", ""},
        {SettingId::Color6, "Quiz", "Color6", ""},
        {SettingId::CBVelarium, "Set", "Funzioni VL", "1"},
        {SettingId::CBonlySegn, "Set", "Solo segnali", "0"},
        {SettingId::CBonlyDom, "Set", "Solo domande", "0"},
        {SettingId::CBesame, "Set", "Tipo esame", "0"},
        {SettingId::CBicone, "Set", "Conferma icone", "1"},
        {SettingId::CBnoSsD, "Set", "Ignora segnali senza domanda", "1"},
        {SettingId::CBNomeSegnali, "Set", "Abilita nome segnali", "1"},
        {SettingId::CBJumpMark2, "Set", "Recupero out", "0"},
        {SettingId::CBSubArg, "Set", "SubArg start", "0"},
        {SettingId::CBAccessoMultiplo, "Set", "Accesso multiplo", "0"},
        {SettingId::MenuIconeSetting, "Menu Icone", "Setting", "1"},
        {SettingId::ColoreSelettore, "Menu Icone", "Colore", "clBlue"},
        {SettingId::CBhint, "Hint", "Disabilitato", "0"},
        {SettingId::VersioneINI, "Info", "Versione", "-.--.-"},
        {SettingId::NomeFile, "INI", "Nome file", QDir::toNativeSeparators(g.FileIni)},
        {SettingId::EditTitoloBlocco, "INI", "Edit titolo blocco", "0"},
    };
    ASSERT_EQ(std::size(expected), settingDefs().size());
    for (const Expected& e : expected) {
        const SettingDef& def = settingDef(e.id);
        EXPECT_EQ(def.id, e.id);
        EXPECT_EQ(def.section, QString::fromUtf8(e.section)) << e.key;
        EXPECT_EQ(def.key, QString::fromUtf8(e.key));
        EXPECT_EQ(settingText(cfg, e.id), e.text) << e.key;
    }
    EXPECT_TRUE(cfg.RBInitPos());
    EXPECT_FALSE(cfg.ripristinoEnabled());
    EXPECT_FALSE(cfg.subArgEnabled());
    EXPECT_TRUE(cfg.hintsShown());
    // The load wrote only the file's own name.
    EXPECT_EQ(iniBytes(), "[INI]\r\nNome file=" + QDir::toNativeSeparators(g.FileIni).toUtf8()
                              + "\r\n");
    EXPECT_TRUE(logged().isEmpty()) << logged().join('|').toStdString();

    // With it on, a missing quiz colour reads as an empty text.
    writeIni("[Quiz]\r\nModifica colori=1\r\n");
    ASSERT_TRUE(load());
    EXPECT_EQ(cfg.Color1, QString());
}

TEST_F(SettingsTest, EverySettingWrittenReadsBack)
{
    writeIni("");
    Config changed;
    changed.UnitaProgram = "D:\\";
    changed.UnitaDati = "/media/dati/";
    changed.PathVideo = "D:\\ziro\\Film\\";
    changed.PathAudioAM = "/a/am/";
    changed.PathAudioAB = "/a/ab/";
    changed.PathFoto = "/f/";
    changed.PathVL = "/vl/";
    changed.NomeAutoscuola = "Autoscuola Città";
    changed.EFAda = "C01";
    changed.EFAa = "D02";
    changed.VideoSize = "5 - Full screen";
    changed.Linguaggio = 2;
    changed.ASdelay = 40;
    changed.MenuIconeSetting = 3;
    changed.ColoreSelettore = QColor(1, 2, 3);
    changed.CBQuizColor = true;
    changed.Color1 = "default";
    changed.Color2 = "clRed";
    changed.Color3 = "$00010203";
    changed.Color4 = "clBlack";
    changed.Color5 = "clWhite";
    changed.Color6 = "clLime";
    changed.VersioneINI = "5.23.11";
    for (const SettingDef& def : settingDefs()) {
        if (const auto flag = std::get_if<bool Config::*>(&def.member))
            changed.*(*flag) = !(changed.*(*flag));
    }
    changed.CBQuizColor = true;  // flipped back above

    Settings settings(g, reporter);
    for (const SettingDef& def : settingDefs())
        ASSERT_TRUE(settings.write(changed, def.id)) << def.key.toStdString();

    g.IniFilePtr.reset();
    ASSERT_TRUE(load());
    for (const SettingDef& def : settingDefs()) {
        if (def.id == SettingId::CBfotoFull || def.id == SettingId::NomeFile)
            continue;  // never read back
        EXPECT_EQ(settingText(cfg, def.id), settingText(changed, def.id)) << def.key.toStdString();
    }
    EXPECT_FALSE(cfg.CBfotoFull);
    EXPECT_EQ(storedValue("Foto", "Full screen"), "1");
}

TEST_F(SettingsTest, WindowsFileMapsDrivesAndIsWrittenBackByteForByte)
{
    QByteArray bytes =
        "; impostazioni\r\n"
        "[Path]\r\n"
        "Unit\xE0 Programma=D:\\\r\n"
        "UNIT\xC0 DATI = E:\\\r\n"
        "Path video=E:\\ziro\\Video\\\r\n"
        "Path foto=/media/usb/Foto/\r\n"
        "\r\n"
        "[Autoscuola]\r\n"
        "Nome autoscuola=Autoscuola Citt\xE0\r\n"
        "[Quiz]\r\n"
        "Solo una affermazione=1\r\n"
        "Delay=20\r\n"
        "[Info]\r\n"
        "Versione=4.10.0\r\n"
        "[INI]\r\n"
        "Nome file=@\r\n";
    bytes.replace("@", QDir::toNativeSeparators(g.FileIni).toLatin1());
    writeIni(bytes);

    ASSERT_TRUE(load());
    EXPECT_EQ(iniBytes(), bytes);  // nothing to write on load
    EXPECT_EQ(cfg.UnitaProgram, "D:\\");
    EXPECT_EQ(cfg.UnitaDati, "E:\\");
    EXPECT_EQ(cfg.NomeAutoscuola, "Autoscuola Città");
    EXPECT_EQ(g.NomeAutoscuola, "Autoscuola Città");
    EXPECT_EQ(cfg.ASdelay, 20);

    VediConfig(g, cfg);
    EXPECT_EQ(g.dirs.DirUnitaProgramma, root);
    EXPECT_EQ(g.dirs.DirUnitaDati, root);
    EXPECT_EQ(g.dirs.DirProgram, root + "ziro/Program/");
    EXPECT_EQ(g.dirs.DirVideo, root + "ziro/Video/");
    EXPECT_EQ(g.dirs.DirFoto, "/media/usb/Foto/");

    cfg.CBmono = false;
    ASSERT_TRUE(Settings(g, reporter).write(cfg, SettingId::CBmono));
    QByteArray expected = bytes;
    expected.replace("Solo una affermazione=1", "Solo una affermazione=0");
    EXPECT_EQ(iniBytes(), expected);
}

TEST_F(SettingsTest, VersionsAreReconciledWithTheMachineStore)
{
    struct Case {
        const char* name;
        std::optional<QString> stored;
        const char* iniVersion;  // nullptr: no key
        QString version;
        QString regShown;
        QString iniShown;
        QStringList logs;
        QString iniAfter;
    } cases[] = {
        {"store agrees", "4.10.0", "4.00.2", "4.10.0", "4.10.0", "4.00.2", {}, "4.00.2"},
        {"store unreadable", std::nullopt, "4.00.2", "4.00.2", "-.--.-", "4.00.2",
         {"Registry: ", "Registry vuoto "}, "4.00.2"},
        {"store empty, no INI version", "", nullptr, "0.00.0", "", "-.--.-",
         {"Registry vuoto "}, "0.00.0"},
        {"store 0.00", "0.00", "5.23.11", "5.23.11", "0.00", "5.23.11", {"Registry vuoto "},
         "5.23.11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reporter.ErrorLog().clear();
        store.value = c.stored;
        QByteArray file = "[INI]\r\n";
        if (c.iniVersion)
            file += QByteArray("[Info]\r\nVersione=") + c.iniVersion + "\r\n";
        writeIni(file);

        ASSERT_TRUE(load());
        EXPECT_EQ(cfg.Versione, c.version);
        EXPECT_EQ(g.Versione, c.version);
        EXPECT_EQ(cfg.PVersion, "    Versioni:   REG [" + c.regShown + "]   -   INI ["
                                    + c.iniShown + "]   -   EXE [9.87.6]");
        EXPECT_EQ(cfg.Ver1, "ver. " + c.version);
        EXPECT_EQ(cfg.Ver4, "v. " + c.version.left(4));
        EXPECT_EQ(logged(), c.logs);
        EXPECT_EQ(storedValue("Info", "Versione"), c.iniAfter);
        EXPECT_TRUE(store.writes.isEmpty());
    }
}

TEST_F(SettingsTest, UnreadableStoreLogsTheExactTexts)
{
    store.value.reset();
    writeIni("[Info]\r\nVersione=4.10.0\r\n");
    ASSERT_TRUE(load());
    const QStringList log = reporter.ErrorLog().mid(2);
    EXPECT_EQ(log, QStringList({"-> Registry: ", "   Non è possibile accedere alla versione", "",
                                "-> Registry vuoto ", "   Versione estratta da file INI", ""}));
}

TEST_F(SettingsTest, AlignmentWritesTheSettingsFileEvenWhenTheStoreRefuses)
{
    EXPECT_EQ(alignmentQuestion("5.23.11"),
              "Con questa operazione si sovrascrivono le versioni INI e REG con 5.23.11, Si è "
              "sicuri?");
    writeIni("[Info]\r\nVersione=4.10.0\r\n");
    ASSERT_TRUE(load());

    store.writable = false;
    EXPECT_TRUE(AllineaVersione(g, reporter, store, "5.23.11"));
    EXPECT_EQ(store.writes, QStringList{"5.23.11"});
    EXPECT_EQ(store.value, QString("4.10.0"));
    EXPECT_EQ(storedValue("Info", "Versione"), "5.23.11");
    EXPECT_EQ(logged(), QStringList{"Registry: "});
    EXPECT_TRUE(reporter.ErrorLog().contains("   Non è possibile aggiornare la versione 5.23.11"));

    reporter.ErrorLog().clear();
    store.writable = true;
    EXPECT_TRUE(AllineaVersione(g, reporter, store, "6.00.0"));
    EXPECT_EQ(store.value, QString("6.00.0"));
    EXPECT_EQ(storedValue("Info", "Versione"), "6.00.0");
    EXPECT_TRUE(logged().isEmpty());
    ASSERT_TRUE(load());
    EXPECT_EQ(cfg.Versione, "6.00.0");
}

TEST_F(SettingsTest, UnreadableColoursTakeTheirDefaultAndAreLoggedOnce)
{
    struct Case {
        const char* text;
        QColor colour;
        int logs;
    } cases[] = {
        {"clRed", QColor(255, 0, 0), 0},
        {"$0000FF00", QColor(0, 255, 0), 0},
        {"$00030201", QColor(1, 2, 3), 0},
        {"", QColor(0, 0, 255), 0},
        {"rosso", QColor(0, 0, 255), 1},
        {"$00FFFFFF", QColor(255, 255, 255), 0},
        {"$7FFFFFFF", QColor(0, 0, 255), 1},  // eight digits, the top byte not zero
        {"$FF00000F", QColor(0, 0, 255), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        reporter.ErrorLog().clear();
        writeIni(QByteArray("[Menu Icone]\r\nColore=") + c.text
                 + "\r\n[Set]\r\nRecupero out=1\r\nAccesso multiplo=1\r\n[Info]\r\nVersione=1\r\n");
        ASSERT_TRUE(load());
        EXPECT_EQ(cfg.ColoreSelettore, c.colour);
        EXPECT_EQ(g.ColoreSelettore, c.colour);
        EXPECT_EQ(logged().size(), c.logs) << logged().join('|').toStdString();
        // The rest of the file is still read.
        EXPECT_TRUE(cfg.CBJumpMark2);
        EXPECT_TRUE(cfg.CBAccessoMultiplo);
    }
    EXPECT_TRUE(logged().front().startsWith("Colore non leggibile: [Menu Icone] Colore="));
}

TEST_F(SettingsTest, QuizColoursAreReadOnlyWhenSwitchedOn)
{
    const QByteArray colours =
        "Color1=default\r\nColor2=$00FAF0E6\r\nColor3=xyz\r\nColor5=clNavy\r\nColor6=\r\n"
        "[Info]\r\nVersione=1\r\n";
    writeIni("[Quiz]\r\nModifica colori=0\r\n" + colours);
    cfg.Color2 = "clWhite";
    ASSERT_TRUE(load());
    EXPECT_EQ(cfg.Color1, "");
    EXPECT_EQ(cfg.Color2, "clWhite");

    writeIni("[Quiz]\r\nModifica colori=1\r\n" + colours);
    ASSERT_TRUE(load());
    EXPECT_EQ((QStringList{cfg.Color1, cfg.Color2, cfg.Color3, cfg.Color4, cfg.Color5,
                           cfg.Color6}),
              (QStringList{"default", "$00FAF0E6", "", "", "clNavy", ""}));
    EXPECT_EQ(logged(), QStringList{"Colore non leggibile: [Quiz] Color3=xyz"});
}

TEST_F(SettingsTest, OddValuesReadSafely)
{
    struct Case {
        const char* lines;
        int videoSize;
        const char* from;
        const char* to;
        int delay;
        int setting;
    } cases[] = {
        {"[Video]\r\nVideo size=5 - Full screen\r\n", 5, "B00", "H17", 15, 1},
        {"[Video]\r\nVideo size=1 - Autosize\r\n[Quiz]\r\nDelay=0\r\n", 1, "B00", "H17", 1, 1},
        {"[Video]\r\nVideo size=\r\n[Quiz]\r\nDelay=500\r\n", 3, "B00", "H17", 100, 1},
        {"[Video]\r\nVideo size=x\r\n[Quiz]\r\nDelay=abc\r\n", 3, "B00", "H17", 15, 1},
        {"[Video]\r\nVideo size=6 - big\r\n[Menu Icone]\r\nSetting=7\r\n", 3, "B00", "H17", 15, 7},
        {"[Video]\r\nVideo size=0\r\n[Filtro]\r\nArgomento avvio iniziale=\r\n"
         "Argomento avvio finale=  \r\n",
         3, "B00", "H17", 15, 1},
        {"[Filtro]\r\nArgomento avvio iniziale=C01\r\nArgomento avvio finale=D02\r\n", 3, "C01",
         "D02", 15, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        Globals fresh;
        fresh.initFromProgram(g.ProgramFile);
        Config loaded;
        writeIni(c.lines);
        ASSERT_TRUE(CaricaIni(fresh, loaded, reporter, store, kExe));
        VediConfig(fresh, loaded);
        EXPECT_EQ(fresh.VideoSize, c.videoSize);
        EXPECT_EQ(loaded.EFAda, c.from);
        EXPECT_EQ(loaded.EFAa, c.to);
        EXPECT_EQ(loaded.ASdelay, c.delay);
        EXPECT_EQ(loaded.MenuIconeSetting, c.setting);
        EXPECT_EQ(loaded.RBInitPos() || loaded.RBOldPos() || loaded.RBAutoPos(), c.setting == 1);
    }
    // A size that cannot be read leaves the current one.
    g.VideoSize = 4;
    cfg.VideoSize = "?";
    VediConfig(g, cfg);
    EXPECT_EQ(g.VideoSize, 4);
}

TEST_F(SettingsTest, VediConfigMovesEveryFolderAndSetsTheOptions)
{
    g.dirs.DirLezioni = g.dirs.DirUtente + "Rossi/";
    cfg.UnitaProgram = "/p";
    cfg.UnitaDati = "/d/";
    cfg.PathVideo = "/v";
    cfg.PathAudioAM = "E:\\am\\";
    cfg.PathAudioAB = "/a/";
    cfg.PathFoto = "/f/";
    cfg.PathVL = "/vl/";
    cfg.NomeAutoscuola = "Autoscuola Bianchi";
    cfg.ColoreSelettore = QColor(10, 20, 30);
    cfg.CB_Ripristino = false;
    cfg.CBonlySegn = true;
    cfg.CBonlyDom = true;
    cfg.CBMDebug = true;
    cfg.CBNoError = true;
    cfg.CBlog = true;
    cfg.VideoSize = "2 - 320x240 (1/4)";
    g.RipristinaRisoluzione = true;

    int soloRuns = 0;
    VediConfig(g, cfg, [&] { ++soloRuns; });

    const Folders& f = g.dirs;
    EXPECT_EQ(f.DirUnitaProgramma, "/p/");
    EXPECT_EQ(f.DirUnitaDati, "/d/");
    EXPECT_EQ(f.DirZiroProgramma, "/p/ziro/");
    EXPECT_EQ(f.DirZiroDati, "/d/ziro/");
    EXPECT_EQ(f.DirProgram, "/p/ziro/Program/");
    EXPECT_EQ(f.DirUtente, "/p/ziro/Utente/");
    EXPECT_EQ(f.DirLezioni, "/p/ziro/Utente/Rossi/");
    EXPECT_EQ(f.DirFotoUtente, "/p/ziro/Utente/Foto/");
    EXPECT_EQ(f.DirPressKit, "/p/ziro/pressKit/");
    EXPECT_EQ(f.DirVelarium, "/vl/");
    EXPECT_EQ(f.DirPicSgn, "/d/ziro/PicSgn/");
    EXPECT_EQ(f.DirPicSgt, "/d/ziro/PicSgt/");
    EXPECT_EQ(f.DirPicLnk, "/d/ziro/PicLnk/");
    EXPECT_EQ(f.DirPicIcn, "/d/ziro/PicIcn/");
    EXPECT_EQ(f.DirQuiz, "/d/ziro/Quiz/Dom_A/");
    EXPECT_EQ(f.DirFoto, "/f/");
    EXPECT_EQ(f.DirAudio, "/a/");
    EXPECT_EQ(f.DirAudioAM, root + "am/");
    EXPECT_EQ(f.DirAudioCDE, "/d/ziro/Audio CDE/");
    EXPECT_EQ(f.DirVideo, "/v/");
    EXPECT_EQ(f.DirVideoCross, "/v/");
    EXPECT_EQ(f.DirBook, "/d/ziro/Book/");
    EXPECT_EQ(f.DirBookAM, "/d/ziro/Book AM/");
    EXPECT_EQ(f.DirBookCDE, "/d/ziro/Book CDE/");
    EXPECT_EQ(f.DirBookCQC, "/d/ziro/Book CQC/");
    EXPECT_EQ(f.DirHtml, "/d/ziro/Html/");

    EXPECT_EQ(g.NomeAutoscuola, "Autoscuola Bianchi");
    EXPECT_EQ(g.ColoreSelettore, QColor(10, 20, 30));
    EXPECT_FALSE(g.RipristinaRisoluzione);
    EXPECT_EQ(soloRuns, 2);
    EXPECT_EQ(g.VideoSize, 2);
    EXPECT_TRUE(g.ModoDebug);
    EXPECT_FALSE(cfg.CBNoError);
    const ReportOptions options = reportOptions(cfg);
    EXPECT_FALSE(options.noError);
    EXPECT_TRUE(options.writeLog);
    EXPECT_TRUE(options.hideFotoError);

    cfg.CBMDebug = false;
    VediConfig(g, cfg);
    EXPECT_FALSE(g.ModoDebug);
}

TEST_F(SettingsTest, GroupWritesAndFailedWrites)
{
    writeIni("[Set]\r\nSolo segnali=0\r\n");
    ASSERT_TRUE(load());
    Settings settings(g, reporter);
    cfg.CBonlySegn = true;
    ASSERT_TRUE(settings.SaveSet(cfg));
    EXPECT_EQ(storedValue("Set", "Solo segnali"), "1");
    EXPECT_EQ(storedValue("Set", "Solo domande"), "0");

    ASSERT_TRUE(settings.SaveQuizColor(
        cfg, {"clRed", "$00010203", "default", "clBlack", "clWhite", "clLime"}));
    EXPECT_EQ(cfg.Color2, "$00010203");
    EXPECT_EQ(storedValue("Quiz", "Color2"), "$00010203");
    EXPECT_EQ(storedValue("Quiz", "Color6"), "clLime");

    cfg.UnitaDati = "D:\\";
    ASSERT_TRUE(settings.write(cfg, {SettingId::UnitaProgram, SettingId::UnitaDati}));
    EXPECT_EQ(storedValue("Path", "Unità Dati"), "D:\\");
    EXPECT_TRUE(logged().isEmpty());

    // A settings file in a folder that does not exist cannot be saved: the
    // write is reported, never taken for done.
    Globals elsewhere;
    elsewhere.initFromProgram(dir.path() + "/missing/ziro/Program/ziro");
    Reporter elsewhereReporter(elsewhere);
    Settings broken(elsewhere, elsewhereReporter);
    EXPECT_FALSE(broken.write(cfg, SettingId::CBmono));
    EXPECT_FALSE(broken.SaveSet(cfg));
    EXPECT_TRUE(elsewhereReporter.ErrorLog().contains("   Problema I/O sul file "
                                                      + QDir::toNativeSeparators(elsewhere.FileIni)));
}

TEST_F(SettingsTest, AChangeOnAFreshInstallationCreatesTheFile)
{
    Settings settings(g, reporter);
    cfg.NomeAutoscuola = "Autoscuola Verdi";
    ASSERT_TRUE(settings.write(cfg, SettingId::NomeAutoscuola));
    EXPECT_EQ(iniBytes(), "[Autoscuola]\r\nNome autoscuola=Autoscuola Verdi\r\n");
    ASSERT_TRUE(load());
    EXPECT_EQ(cfg.NomeAutoscuola, "Autoscuola Verdi");
}

}  // namespace
}  // namespace ziro
