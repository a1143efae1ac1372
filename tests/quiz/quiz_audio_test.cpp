#include "quiz/quiz_audio.h"

#include "base/globals.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "quiz/statement_list.h"
#include "support/fakes.h"
#include "support/qt_printers.h"
#include "quiz/bank_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace ziro {
namespace {

// The sound player as the quiz sees it: what was played, at which volume.
struct FakeAudioSystem : test::FakeSystem {
    bool engineCurrent = true;
    bool engineStarts = true;
    bool playStarts = true;
    bool volumeTaken = true;
    QStringList played;   // "volume path"
    int volume = -1;

    bool soundEngineCurrent() override { return engineCurrent; }
    bool startSoundEngine() override { return engineStarts; }
    bool playVoice(const QString& path) override
    {
        played << QStringLiteral("%1 %2").arg(volume).arg(path);
        return playStarts;
    }
    bool setSoundVolume(int level) override
    {
        if (volumeTaken)
            volume = level;
        return volumeTaken;
    }
};

struct FakeView : QuizAudioView {
    bool visible = true;
    bool active = true;
    bool openedOnce = true;
    int position = 1;
    bool revealed = false;
    bool shown = true;
    StatementList list;

    bool quizVisible() const override { return visible; }
    bool quizActive() const override { return active; }
    bool quizOpenedOnce() const override { return openedOnce; }
    int currentPosition() const override { return position; }
    bool answerRevealed() const override { return revealed; }
    bool statementShown() const override { return shown; }
    const StatementList& statements() const override { return list; }
    int record = 0;
    int currentRecord() const override { return record; }
};

class QuizAudioTest : public ::testing::Test {
protected:
    QuizAudioTest()
    {
        root = dir.path() + QStringLiteral("/R/");
        QDir().mkpath(root + QStringLiteral("ziro/Program"));
        g.initFromProgram(root + QStringLiteral("ziro/Program/ziro"));
        touch(g.dirs.DirProgram + QStringLiteral("LNG0000.MAP"));
        view.list.NumAff = 2;
        view.list.at(1).AudioArr = QStringLiteral("17025_01 ");
        view.list.at(2).AudioArr = QStringLiteral("17025_02");
    }

    QString audio(const QString& sub = {}) const { return g.dirs.DirZiroDati + QStringLiteral("Audio/") + sub; }

    void touch(const QString& path) const
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("OggS");
    }

    std::unique_ptr<QuizAudio> makeAudio(bool editionMode = true)
    {
        auto a = std::make_unique<QuizAudio>(g, cfg, settings, system, reports, view);
        a->init();
        a->activate(editionMode);
        return a;
    }

    int stored(const char* key) const
    {
        const auto ini = IniFile::open(g.FileIni);
        return ini ? ini->readInteger(QStringLiteral("Audio"), QLatin1String(key), -99) : -99;
    }

    QStringList reportTexts() const
    {
        QStringList out;
        for (const auto& r : reports.reports)
            out << QStringLiteral("%1|%2|%3").arg(reportCode(r.kind)).arg(r.context, r.name);
        return out;
    }

    QTemporaryDir dir;
    QString root;
    Globals g;
    Config cfg;
    test::RecordingReports reports;
    Settings settings{g, reports};
    FakeAudioSystem system;
    FakeView view;
};

TEST_F(QuizAudioTest, LanguageWithoutRicordaServesOnePlaybackAtFullStatementVolume)
{
    touch(audio("Italiano/it_IT_17025_01.OGG"));
    touch(audio("Italiano/it_IT_17025_02.OGG"));
    touch(audio("Francese/fr_FR_17025_01.OGG"));
    auto a = makeAudio();
    a->setLastButton(AudioButton::Statement);

    a->chooseLanguage(1);  // plays the current statement, position 1
    view.position = 2;
    EXPECT_TRUE(a->Ascolta(2));
    EXPECT_EQ(system.played, (QStringList{"60000 " + audio("Francese/fr_FR_17025_01.OGG"),
                                          "60000 " + audio("Italiano/it_IT_17025_02.OGG")}));
    EXPECT_EQ(a->LoadedLng(), 0);
    EXPECT_EQ(stored("Linguaggio"), -99) << "nothing remembered without Ricorda";

    // A volume the player refuses beeps, and the statement still plays.
    system.volumeTaken = false;
    EXPECT_TRUE(a->Ascolta(1));
    EXPECT_EQ(system.beeps, 1);
    EXPECT_TRUE(reports.reports.empty()) << reportTexts().join('\n').toStdString();
}

TEST_F(QuizAudioTest, MissingOrUnsafeStatementFilesAreReportedAndNotPlayed)
{
    QDir().mkpath(audio("Tedesco"));
    view.list.NumAff = 3;
    view.list.at(3).AudioArr = QStringLiteral("../../Program/x");
    cfg.Linguaggio = 2;
    auto a = makeAudio();
    EXPECT_FALSE(a->Ascolta(1));
    EXPECT_FALSE(a->Ascolta(3));
    EXPECT_FALSE(a->Ascolta(0)) << "no question audio in edition mode";
    EXPECT_FALSE(a->Ascolta(71));
    EXPECT_TRUE(system.played.isEmpty());
    EXPECT_EQ(reportTexts(), (QStringList{"10|Riproduzione audio|Il file de_DE_17025_01.OGG non esiste.",
                                          "10|Riproduzione audio|Il file de_DE_../../Program/x.OGG non esiste."}));
}

TEST_F(QuizAudioTest, RicordaKeepsTheLanguageAcrossRestartsAndUntickingForgetsIt)
{
    touch(audio("Tedesco/de_DE_17025_01.OGG"));
    auto a = makeAudio();
    a->setLastButton(AudioButton::Question);  // choosing plays nothing then
    a->toggleRicorda();
    a->chooseLanguage(2);
    EXPECT_EQ(stored("Linguaggio"), 2);
    a->toggleTestoInLingua();
    EXPECT_EQ(a->shownTextLanguage(), 2);
    EXPECT_TRUE(a->Ascolta(1));
    EXPECT_EQ(a->LoadedLng(), 2) << "a remembered language stays";

    // A restart: the settings come back from the file.
    Config reloaded;
    reloaded.Linguaggio = stored("Linguaggio");
    cfg = reloaded;
    auto b = makeAudio();
    EXPECT_EQ(b->LoadedLng(), 2);
    EXPECT_TRUE(b->menu().ricorda);
    EXPECT_TRUE(b->menu().languages[2].checked);

    cfg.LngTxtAlign = true;
    b->toggleRicorda();
    EXPECT_EQ(stored("Linguaggio"), -1);
    EXPECT_EQ(stored("LngTxtAlign"), 0);
    EXPECT_FALSE(b->menu().ricorda);
    EXPECT_FALSE(b->menu().testoInLingua);
    EXPECT_EQ(b->shownTextLanguage(), 0);
}

TEST_F(QuizAudioTest, StoredLanguageOutsideItsTableIsItalian)
{
    struct Case {
        int stored;
        bool editionMode;
        int expected;
    };
    for (const Case c : {Case{9, true, 0}, Case{-5, true, 0}, Case{3, true, 0}, Case{2, true, 2},
                         Case{7, false, 7}, Case{8, false, 0}, Case{-2, false, 0}}) {
        cfg.Linguaggio = c.stored;
        auto a = makeAudio(c.editionMode);
        EXPECT_EQ(a->LoadedLng(), c.expected) << c.stored;
    }
    EXPECT_EQ(QLatin1String(editionLanguage(-5).filePrefix), QLatin1String("it_IT_"));
    EXPECT_EQ(QLatin1String(legacyLanguage(8).folder), QLatin1String("Italiano/"));
    EXPECT_EQ(legacyLanguage(99).defaultVolume, 14000);
}

TEST_F(QuizAudioTest, LanguagesAreOfferedWhereTheirFoldersExist)
{
    auto none = makeAudio();
    EXPECT_FALSE(none->AudioOk());
    for (const auto& item : none->menu().languages)
        EXPECT_FALSE(item.enabled) << item.caption.toStdString();

    // The older installation's folder counts for A-B but not for C-D-E.
    QDir().mkpath(g.dirs.DirVelarium + QStringLiteral("Audio/Francese"));
    auto ab = makeAudio();
    EXPECT_TRUE(ab->AudioOk());
    const LanguageMenu m = ab->menu();
    ASSERT_EQ(m.languages.size(), 3u);
    EXPECT_EQ(m.languages[1].caption, "Francese");
    EXPECT_TRUE(m.languages[1].enabled);
    EXPECT_FALSE(m.languages[0].enabled);
    EXPECT_TRUE(m.hasTestoInLingua);

    g.Edizione = TModoQuiz::mqAM;
    EXPECT_TRUE(makeAudio()->menu().languages[1].enabled);
    g.Edizione = TModoQuiz::mqCD;
    EXPECT_FALSE(makeAudio()->AudioOk());
    QDir().mkpath(g.dirs.DirZiroDati + QStringLiteral("Audio CDE/Tedesco"));
    EXPECT_TRUE(makeAudio()->menu().languages[2].enabled);

    g.Edizione = TModoQuiz::mqCQ;
    QDir().mkpath(g.dirs.DirZiroDati + QStringLiteral("Audio CQC/Italiano"));
    EXPECT_TRUE(makeAudio()->menu().languages[0].enabled);
}

TEST_F(QuizAudioTest, WithoutAWorkingPlayerNothingIsAttempted)
{
    touch(audio("Italiano/it_IT_17025_01.OGG"));
    system.soundOutput = false;
    auto silent = makeAudio();
    EXPECT_TRUE(silent->ErrAudio());
    EXPECT_FALSE(silent->Ascolta(1));
    EXPECT_FALSE(silent->stop());
    EXPECT_TRUE(system.played.isEmpty());
    EXPECT_EQ(system.volume, -1) << "no volume set without a player";

    system.soundOutput = true;
    system.engineCurrent = false;
    EXPECT_FALSE(makeAudio()->AudioBassOK());
    system.engineCurrent = true;
    system.engineStarts = false;
    EXPECT_FALSE(makeAudio()->AudioBassOK());
    system.engineStarts = true;
    system.playStarts = false;
    EXPECT_FALSE(makeAudio()->Ascolta(1));
    const QStringList texts = reportTexts();
    EXPECT_TRUE(texts.contains("10|Riproduzione audio|ERRORE: libreria BASS versione 2.0 non caricata"));
    EXPECT_TRUE(texts.contains("10|Riproduzione audio|ERRORE: Impossibile inizializzare la scheda audio"));
    EXPECT_TRUE(texts.contains("10|Riproduzione audio|ERRORE: Impossibile accedere allo stream audio"));
}

TEST_F(QuizAudioTest, AutoplayPlaysTheCurrentStatementHalfASecondAfterAMove)
{
    touch(audio("Italiano/it_IT_17025_01.OGG"));
    struct Case {
        const char* name;
        bool autoplay, visible, openedOnce, revealed;
        int request;
        bool plays;
    };
    const Case cases[] = {
        {"after a move", true, true, true, false, 2, true},
        {"autoplay off", false, true, true, false, 2, false},
        {"answer revealed", true, true, true, true, 2, false},
        {"quiz hidden", true, false, true, false, 1, false},
        {"no request", true, true, true, false, 0, false},
    };
    for (const Case& c : cases) {
        system.played.clear();
        cfg.Autoplay = c.autoplay;
        view.visible = c.visible;
        view.openedOnce = c.openedOnce;
        view.revealed = c.revealed;
        auto a = makeAudio();
        a->requestAutoplay(c.request);
        EXPECT_TRUE(a->autoplayPending());
        QTest::qWait(QuizAudio::kAutoplayDelayMs / 2);
        EXPECT_TRUE(system.played.isEmpty()) << c.name;
        QTest::qWait(QuizAudio::kAutoplayDelayMs);
        EXPECT_EQ(system.played.size(), c.plays ? 1 : 0) << c.name;
        EXPECT_FALSE(a->autoplayPending());
    }

    // With several statements on show (not "Solo una affermazione") the
    // statement heard last is stopped even when nothing new plays; with one
    // it is left to end.
    for (const bool mono : {false, true}) {
        cfg.Autoplay = true;
        cfg.CBmono = mono;
        view.visible = true;
        view.revealed = true;
        auto a = makeAudio();
        const int stops = system.soundStops;
        a->requestAutoplay(2);
        QTest::qWait(QuizAudio::kAutoplayDelayMs + 100);
        EXPECT_EQ(system.soundStops - stops, mono ? 0 : 1) << mono;
    }
    cfg.CBmono = true;

    // Closing the quiz drops a pending request.
    system.played.clear();
    cfg.Autoplay = true;
    view.visible = true;
    view.revealed = false;
    auto a = makeAudio();
    a->requestAutoplay(1);
    a->cancelAutoplay();
    QTest::qWait(QuizAudio::kAutoplayDelayMs + 100);
    EXPECT_TRUE(system.played.isEmpty());
    EXPECT_EQ(a->AutoPlayRequest(), 0);
}

TEST_F(QuizAudioTest, MenuTogglesAreWrittenAtOnce)
{
    auto a = makeAudio();
    a->toggleAutoplay();
    EXPECT_TRUE(a->menu().autoplay);
    EXPECT_EQ(stored("Autoplay"), 1);
    a->toggleAutoplay();
    EXPECT_EQ(stored("Autoplay"), 0);

    // "Testo in lingua" keeps the language: it ticks "Ricorda" as well.
    a->setLastButton(AudioButton::Question);  // nothing heard, so French stays
    a->chooseLanguage(1);
    a->toggleTestoInLingua();
    EXPECT_EQ(stored("LngTxtAlign"), 1);
    EXPECT_EQ(stored("Linguaggio"), 1);
    EXPECT_TRUE(a->menu().ricorda);
    // With the text in the language, another language reopens the statement.
    QSignalSpy reload(a.get(), &QuizAudio::reloadRequested);
    QSignalSpy refresh(a.get(), &QuizAudio::statementRefreshRequested);
    a->chooseLanguage(2);
    EXPECT_EQ(reload.count(), 1);
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(a->shownTextLanguage(), 2);
    a->chooseLanguage(1);
    a->toggleTestoInLingua();
    EXPECT_EQ(stored("LngTxtAlign"), 0);
    EXPECT_EQ(stored("Linguaggio"), 1);
}

TEST_F(QuizAudioTest, LegacyQuestionsPlayMaskedSoundsAndSetTheLanguageVolume)
{
    const QString legacy = g.dirs.DirVelarium + QStringLiteral("Audio/");
    touch(legacy + QStringLiteral("Inglese/en_GB_D0001.KXS"));
    touch(legacy + QStringLiteral("Tedesco/de_DE_D0001.KXS"));
    touch(legacy + QStringLiteral("Tedesco/de_DE_00000"));  // the teacher's own volume
    cfg.Linguaggio = 2;
    auto a = makeAudio(false);
    EXPECT_EQ(a->menu().languages.size(), 8u);
    EXPECT_FALSE(a->menu().hasTestoInLingua);
    a->setLegacyAudio(QStringLiteral("D0001"), {});
    EXPECT_TRUE(a->Ascolta(0));
    EXPECT_EQ(system.played.last(), "48000 " + legacy + "Inglese/en_GB_D0001.KXS");

    system.volume = -1;
    a->chooseLanguage(1);  // no list files here: the choice alone
    a->setLastButton(AudioButton::Question);
    a->chooseLanguage(1);
    EXPECT_EQ(system.played.last(), "-1 " + legacy + "Tedesco/de_DE_D0001.KXS");

    // Back on the record of a side trip to its photographs, the opening is
    // not spoken once more; the next opening is.
    cfg.Autoplay = true;
    g.MdTemp.RecNum = 5;
    g.MdTemp.Snap = u'F';
    g.MdTemp.Foto = 2;
    view.record = 5;
    system.played.clear();
    a->requestAutoplay(1);
    QTest::qWait(QuizAudio::kAutoplayDelayMs + 100);
    EXPECT_TRUE(system.played.isEmpty());
    EXPECT_EQ(g.MdTemp.RecNum, 0);
    a->requestAutoplay(1);
    QTest::qWait(QuizAudio::kAutoplayDelayMs + 100);
    EXPECT_EQ(system.played.size(), 1);
}

TEST_F(QuizAudioTest, LegacyQuestionComesFromTheListsWithItsSounds)
{
    const auto write = [&](const char* name, const QByteArray& text) {
        QFile f(g.dirs.DirProgram + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("LNG0000.MAP", "AB00001 NQ0001\r\nAB00002 NQ0002\r\n");
    const QByteArray entries = "NQ0001 Il segnale (1) indica una strada\r\n\r\n\r\nV vera\r\nF falsa\r\n\r\n"
                               "NQ0002 Senza righe vuote\r\nV vera\r\n";
    write("AD01_IT.TXT", entries);
    write("AD03_GB.TXT", entries);
    write("AUD0000.MAP", "NQ0001 D0001\r\n\r\n\r\nV D0001_1\r\nF D0001_2\r\n");
    const QString legacy = g.dirs.DirVelarium + QStringLiteral("Audio/Italiano/");
    touch(legacy + QStringLiteral("it_IT_D0001.KXS"));
    touch(legacy + QStringLiteral("it_IT_D0001_2.KXS"));
    auto a = makeAudio(false);
    EXPECT_EQ(a->Dom_Multilng_IT().size(), a->Dom_Multilng_NQ().size());

    const auto q = a->legacyQuestion(QStringLiteral("ab00001"), {true, true});
    ASSERT_TRUE(q);
    EXPECT_EQ(q->question, "Il segnale  indica una strada");
    ASSERT_EQ(q->statements.size(), 2u);
    EXPECT_EQ(reportTexts(), (QStringList{"10|Riproduzione audio (it)|ERRORE: risposta falsa 2 incoerente. D: NQ000",
                                          "10|Riproduzione audio (la)|ERRORE: risposta falsa 2 incoerente. D: NQ000"}));
    EXPECT_TRUE(a->Ascolta(0));
    EXPECT_TRUE(a->Ascolta(2));
    EXPECT_EQ(system.played, (QStringList{"28000 " + legacy + "it_IT_D0001.KXS", "28000 " + legacy + "it_IT_D0001_2.KXS"}));

    reports.reports.clear();
    EXPECT_FALSE(a->legacyQuestion(QStringLiteral("AB00002"), {}));
    EXPECT_EQ(reportTexts(), QStringList{"10|Riproduzione audio (it)|ERRORE: formato file inaspettato. D: NQ000 L: 0"});
    EXPECT_FALSE(a->legacyQuestion(QStringLiteral("ZZ99999"), {}));
    EXPECT_FALSE(a->Ascolta(0)) << "the question that failed left no sound behind";
}

TEST(LegacyLists, KeyMapReadsShortLinesWithinTheirBounds)
{
    const LegacyKeyMap map = LegacyKeyMap::parse(
        {"  ab01234 nq0001xx", "CD00001 NQ0002", "short", "", "X123456 N"});
    EXPECT_EQ(map.VL, (QStringList{"AB01234", "CD00001", "SHORT", "X123456"}));
    EXPECT_EQ(map.NQ, (QStringList{"NQ0001", "NQ0002", "", "N"}));
    EXPECT_EQ(map.MatchNewq("cd00001"), "NQ0002");
    EXPECT_EQ(map.MatchNewq("ZZ"), "");
    EXPECT_EQ(map.MatchNewq(""), "");
}

TEST(LegacyLists, EntriesNeedTheirTwoEmptyLines)
{
    const QStringList lines{"intro", "NQ0001 Il segnale (12) indica un pericolo", "", "",
                            "V vero uno", "F falso uno", "", "NQ0002 altro", "", "NQ0003 fine", ""};
    QString error;
    const auto e = readLegacyEntry(lines, "NQ0001", 255, &error);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->question, "Il segnale (12) indica un pericolo");
    ASSERT_EQ(e->statements.size(), 2u);
    EXPECT_TRUE(e->statements[0].answer);
    EXPECT_EQ(e->statements[1].text, "falso uno");
    EXPECT_EQ(readLegacyEntry(lines, "NQ0001", 9)->question, "Il segnal");

    EXPECT_FALSE(readLegacyEntry(lines, "NQ0002", 255, &error));
    EXPECT_EQ(error, "ERRORE: formato file inaspettato. D: NQ000");
    EXPECT_FALSE(readLegacyEntry(lines, "NQ0003", 255, &error)) << "the file ends too early";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readLegacyEntry(lines, "NQ9999", 255, &error));
    EXPECT_TRUE(error.isEmpty());
}

TEST(LegacyLists, NumberGroupIsRemovedOnlyWhenSmallAndNumeric)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Il segnale (12) indica", "Il segnale  indica"},
        {"(123) fine", " fine"},
        {"Il segnale (1234) indica", "Il segnale (1234) indica"},
        {"Il segnale (ab) indica (3)", "Il segnale (ab) indica (3)"},
        {"Aperta (12", "Aperta (12"},
        {"Niente", "Niente"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(withoutNumberGroup(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

}  // namespace
}  // namespace ziro
