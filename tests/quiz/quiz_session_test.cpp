#include "quiz/quiz_session.h"

#include "quiz/quiz_speech.h"

#include "bank_fixture.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "content/edition.h"
#include "platform/dataset/sample_tables.h"
#include "support/fakes.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace ziro {
namespace {

using test::blockRows;
using test::row;

struct RecordingView : QuizView {
    bool shown = false;
    QString text;
    QColor colour;
    QString picture;
    Caption caption;
    QString info;
    bool filmEnabled = false;
    bool audioEnabled = false;
    bool cover = false;
    GaugeLook gauge;
    bool isShown() const override { return shown; }
    void showWindow() override { shown = true; }
    void hideWindow() override { shown = false; }
    void showCover(bool on) override { cover = on; }
    void showStatement(const QString& t, const QColor& c) override
    {
        text = t;
        colour = c;
    }
    void showPicture(const QString& p) override { picture = p; }
    void showCaption(const Caption& c) override { caption = c; }
    void showInfo(const QString& t) override { info = t; }
    void showGauge(const GaugeLook& g) override { gauge = g; }
    void setFilmEnabled(bool e) override { filmEnabled = e; }
    void setAudioEnabled(bool e) override { audioEnabled = e; }
};

struct RecordingHost : QuizHost {
    int forwards = 0;
    int backs = 0;
    QStringList signs;
    QStringList lights;
    std::vector<FilmRequest> films;
    DataTable* lessonTable = nullptr;
    DataTable* lesson() override { return lessonTable; }
    int lessonRecord() const override { return lessonTable ? lessonTable->recNo() : 0; }
    int lessonCount() const override { return lessonTable ? lessonTable->recordCount() : 0; }
    void pressForward() override { ++forwards; }
    void stepBack() override { ++backs; }
    void showSign(const QString& name) override { signs << name; }
    void setLockLights(bool on) override { lights << (on ? QStringLiteral("on") : QStringLiteral("off")); }
    bool playFilm(const FilmRequest& r, QString*) override
    {
        films.push_back(r);
        return true;
    }
};

class QuizSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_g.dirs.DirProgram = m_dir.path() + QLatin1Char('/');
        m_g.dirs.DirPicSgn = m_dir.path() + QStringLiteral("/sgn/");
        m_g.dirs.DirVideo = m_dir.path() + QStringLiteral("/video/");
        QDir(m_dir.path()).mkpath(QStringLiteral("sgn"));
        QDir(m_dir.path()).mkpath(QStringLiteral("video/Explain"));
        m_bank.setPort(&m_session);
        std::vector<BankRow> rows = blockRows("17025", 10);
        for (BankRow& r : rows)
            r.Domanda = r.id;  // each statement its own question, and film
        rows.push_back(row("17026", "1", true, QStringLiteral("Solo"), "805"));
        for (const BankRow& r : blockRows("17027", 4))
            rows.push_back(r);
        test::writeBank(m_dir.filePath(QStringLiteral("NQM2016.XML")), rows);
        ASSERT_TRUE(CambiaEdizione(m_g, 1, &m_bank));
        m_g.Segnale = QStringLiteral("600");
        m_g.TotaleRecord = 12;
        m_g.ContatoreRecord = 3;
    }
    bool open(const char* reference, int n = 1) { return m_session.CaricaDomanda(QLatin1String(reference), n); }

    QTemporaryDir m_dir;
    Globals m_g;
    Config m_config;
    test::RecordingReports m_reports;
    test::ScriptedRandom m_random;
    QuizBank m_bank{m_g, m_config, m_reports, m_random};
    RecordingView m_view;
    RecordingHost m_host;
    QuizSession m_session{m_g, m_config, m_reports, m_bank, m_view, m_host};
};

TEST_F(QuizSessionTest, OneStatementBlockRevealsThenEndsAndStepsForwardOnlyWhenAsked)
{
    for (const bool avanza : {false, true}) {
        SCOPED_TRACE(avanza);
        m_config.CBAvanza = avanza;
        m_host.forwards = 0;
        m_g.ContatoreAffermazioni = 0;
        m_bank.list().TmpNomeFile.clear();
        ASSERT_TRUE(open("  17026"));
        EXPECT_TRUE(m_view.shown);
        EXPECT_TRUE(m_g.DomandaON);
        EXPECT_EQ(m_view.text, QStringLiteral("Solo"));
        EXPECT_EQ(m_view.colour, m_session.colours().ColSi);

        m_session.next();
        EXPECT_EQ(m_session.AutoAnsw(), 1);
        EXPECT_EQ(m_view.colour, kQuizTrue);
        EXPECT_EQ(m_host.forwards, 0);

        m_session.next();
        EXPECT_EQ(m_session.Terni(), 1);
        EXPECT_EQ(m_host.forwards, avanza ? 1 : 0);
        EXPECT_FALSE(m_view.cover) << "a move that changes nothing leaves the statement uncovered";
    }
}

TEST_F(QuizSessionTest, StepsRevealEachStatementBeforeMovingAndStopAtTheEdges)
{
    ASSERT_TRUE(open("  17027"));
    // Fixed order of four: 4, 1, 2, 3; even statements are false.
    EXPECT_EQ(m_view.text, QStringLiteral("17027 4"));
    m_session.next();
    EXPECT_EQ(m_view.colour, kQuizFalse);
    m_session.next();
    EXPECT_EQ(m_session.Terni(), 2);
    EXPECT_EQ(m_session.AutoAnsw(), 0);
    EXPECT_EQ(m_view.text, QStringLiteral("17027 1"));
    EXPECT_EQ(m_view.colour, m_session.colours().ColSi);
    EXPECT_EQ(m_g.ContatoreAffermazioni, 2);

    m_session.previous();
    m_session.previous();
    EXPECT_EQ(m_session.Terni(), 1);

    EXPECT_FALSE(m_session.gridClick(5)) << "cell past the block";
    EXPECT_FALSE(m_session.gridClick(0));
    EXPECT_TRUE(m_session.gridClick(4));
    EXPECT_EQ(m_view.text, QStringLiteral("17027 3"));

    // With every answer coloured, next moves at once.
    m_session.gridClick(1);
    m_session.setModoVF(true);
    EXPECT_EQ(m_view.colour, kQuizFalse);
    m_session.next();
    EXPECT_EQ(m_session.Terni(), 2);
    EXPECT_EQ(m_view.colour, kQuizTrue);
}

TEST_F(QuizSessionTest, FirstEmptyOpensWithNoStatementAndNextShowsTheFirst)
{
    m_config.CB1Vuota = true;
    ASSERT_TRUE(open("  17027", 0));
    EXPECT_EQ(m_session.Terni(), 0);
    EXPECT_TRUE(m_view.text.isEmpty());
    m_session.next();
    EXPECT_EQ(m_session.Terni(), 1);
    EXPECT_EQ(m_session.AutoAnsw(), 0);
    EXPECT_EQ(m_view.text, QStringLiteral("17027 4"));
}

TEST_F(QuizSessionTest, ReopeningABlockKeepsItsPlaceUnlessShuffledOrTheBankReloaded)
{
    ASSERT_TRUE(open("  17025"));
    m_session.gridClick(7);
    m_session.ChiudiQuiz();
    ASSERT_TRUE(open("  17025"));
    EXPECT_EQ(m_session.Terni(), 7) << "same block, same statement";

    // The bank of the edition reloaded: the same reference is read again.
    m_bank.CaricaBancaQuesiti(1);
    ASSERT_TRUE(open("  17025"));
    EXPECT_EQ(m_session.Terni(), 1);

    m_config.CBmischia = true;
    const int draws = m_random.calls;
    m_session.gridClick(5);
    ASSERT_TRUE(open("  17025"));
    EXPECT_GT(m_random.calls, draws);
    EXPECT_EQ(m_session.Terni(), 1);
}

TEST_F(QuizSessionTest, AFailedLoadIsReportedAndShowsNothing)
{
    ASSERT_TRUE(open("  17025"));
    m_g.LockLoop = true;
    m_g.SegnaleON = true;
    EXPECT_FALSE(open("  99999"));
    EXPECT_TRUE(m_g.LockLoop) << "nothing came up: the step stays locked";
    EXPECT_TRUE(m_g.SegnaleON);
    EXPECT_FALSE(m_view.shown);
    EXPECT_FALSE(m_g.DomandaON);
    ASSERT_FALSE(m_reports.reports.empty());
    EXPECT_EQ(m_reports.reports.back().kind, ReportKind::MissingFile);
    EXPECT_EQ(m_reports.reports.back().context, QStringLiteral("caricamento blocco nuovi quiz"));
    EXPECT_EQ(m_reports.reports.back().name, QStringLiteral("99999"));
    EXPECT_EQ(m_session.current(), nullptr);
    m_session.next();  // nothing to step through, nothing to crash on
    EXPECT_EQ(m_host.forwards, 0);
}

TEST_F(QuizSessionTest, InfoLinePictureAndLightsFollowTheStatement)
{
    ASSERT_TRUE(open("  17026", 0));
    EXPECT_EQ(m_view.info, QStringLiteral("        B. 17026 - 3/12"));
    // The statement's own pictogram, in its "n" form.
    EXPECT_TRUE(m_view.picture.endsWith(QStringLiteral("sgn/805n.BMP"))) << qPrintable(m_view.picture);
    EXPECT_EQ(m_host.lights, (QStringList{QStringLiteral("off"), QStringLiteral("on")}));
    m_session.ChiudiQuiz();
    EXPECT_EQ(m_host.lights.back(), QStringLiteral("off"));
    EXPECT_FALSE(m_g.DomandaON);

    m_config.CBesame = false;
    m_g.ContatoreRecord = 0;
    ASSERT_TRUE(open("  17027"));
    EXPECT_EQ(m_view.info, QStringLiteral("        B. 17027 - 1/12")) << "at least 1";
    EXPECT_TRUE(m_view.picture.endsWith(QStringLiteral("sgn/600.BMP")));
    EXPECT_EQ(m_host.lights.back(), QStringLiteral("off"));  // statement 4 is false
}

TEST_F(QuizSessionTest, ExplanationFilmIsTheStatementsOwnAndMissingOnesAreReported)
{
    ASSERT_TRUE(open("  17025"));
    // Fixed order of ten: statement 9 first, statement 8 second.
    const int arr = m_session.current()->ARRnum;
    const QString name = explanationFilmName(QStringLiteral("17025"), arr);
    EXPECT_FALSE(m_view.filmEnabled);
    m_session.playExplanation();
    EXPECT_TRUE(m_host.films.empty());
    EXPECT_EQ(m_reports.reports.back().context, QStringLiteral("Player video"));
    EXPECT_EQ(m_reports.reports.back().name, name);

    test::writeBytes(m_dir.filePath(QStringLiteral("video/Explain/") + name + QStringLiteral(".kxs")), "KXSxxxx");
    test::writeBytes(m_dir.filePath(QStringLiteral("video/Explain/") + name + QStringLiteral(".KXV")), "KXV#xxx");
    m_session.gridClick(1);
    EXPECT_TRUE(m_view.filmEnabled);
    m_session.playExplanation();
    ASSERT_EQ(m_host.films.size(), 1u);
    EXPECT_TRUE(m_host.films[0].file.masked);
    EXPECT_EQ(m_host.films[0].file.player, FilmPlayer::Mp4);

    m_session.gridClick(2);
    EXPECT_FALSE(m_view.filmEnabled) << "another statement, another film";
}

TEST_F(QuizSessionTest, PictureClickShowsTheSignOrStepsBack)
{
    ASSERT_TRUE(open("  17026"));
    m_session.pictureClick();
    EXPECT_EQ(m_host.signs, QStringList{QStringLiteral("805")});
    EXPECT_FALSE(m_view.shown);
    EXPECT_TRUE(m_g.SegnaleON);
    EXPECT_TRUE(m_g.LockLoop);
    EXPECT_EQ(m_g.ContatoreAffermazioni, 1);

    m_g.Segnale.clear();
    ASSERT_TRUE(open("  17027"));
    m_session.pictureClick();
    EXPECT_EQ(m_host.backs, 1);
}

TEST_F(QuizSessionTest, KeysOfTheQuizAndKeysLeftToTheMainWindow)
{
    ASSERT_TRUE(open("  17027"));
    EXPECT_TRUE(m_session.key(Qt::Key_Plus, Qt::KeypadModifier));
    EXPECT_EQ(m_session.AutoAnsw(), 1);
    EXPECT_TRUE(m_session.key(Qt::Key_Space, Qt::NoModifier));
    EXPECT_EQ(m_session.Terni(), 2);
    EXPECT_TRUE(m_session.key(Qt::Key_Minus, Qt::KeypadModifier));
    EXPECT_EQ(m_session.Terni(), 1);
    EXPECT_FALSE(m_session.key(Qt::Key_Plus, Qt::NoModifier));
    EXPECT_FALSE(m_session.key(Qt::Key_Right, Qt::NoModifier));
    EXPECT_FALSE(m_session.key(Qt::Key_F12, Qt::NoModifier));

    // A presenter clicker steps the statements; its black-out keys belong
    // to the main window.
    EXPECT_TRUE(m_session.key(Qt::Key_PageDown, Qt::NoModifier));
    EXPECT_TRUE(m_session.key(Qt::Key_PageDown, Qt::NoModifier));
    EXPECT_EQ(m_session.Terni(), 2);
    EXPECT_TRUE(m_session.key(Qt::Key_PageUp, Qt::NoModifier));
    EXPECT_EQ(m_session.Terni(), 1);
    EXPECT_FALSE(m_session.key(Qt::Key_B, Qt::NoModifier));
    EXPECT_FALSE(m_session.key(Qt::Key_Period, Qt::NoModifier));

    // The caption toggles only when the quiz starts without it.
    EXPECT_TRUE(m_session.key(Qt::Key_A, Qt::NoModifier));
    EXPECT_TRUE(m_session.captionShown());
    m_config.CB_DidascaStart = true;
    m_session.key(Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(m_session.captionShown());
    EXPECT_FALSE(m_view.caption.shown);
}

TEST_F(QuizSessionTest, CustomLessonStatementsKeepTheirOwnBlockAndAreNotTakenForABlock)
{
    const auto makeLesson = [](DataTable& lesson, bool withType) {
        lesson.setSaveOnClose(false);
        QList<FieldDef> fields = contentTableFields();
        if (!withType)
            fields.erase(std::remove_if(fields.begin(), fields.end(),
                                        [](const FieldDef& f) { return f.name == QLatin1String("Tipo"); }),
                         fields.end());
        ASSERT_TRUE(lesson.createFromFields(fields));
        ASSERT_TRUE(lesson.append());
        ASSERT_TRUE(lesson.setField(QStringLiteral("NumRec"), 1));
        if (withType)
            ASSERT_TRUE(lesson.setField(QStringLiteral("Tipo"), 0));
        ASSERT_TRUE(lesson.setField(QStringLiteral("Quesito1"), QStringLiteral("  17026V0001S000")));
        ASSERT_TRUE(lesson.setField(QStringLiteral("Quesito2"), QStringLiteral("  17025F0007S805")));
        ASSERT_TRUE(lesson.post());
    };
    ASSERT_TRUE(open("  17025"));
    m_session.ChiudiQuiz();

    DataTable lesson;
    makeLesson(lesson, true);
    m_host.lessonTable = &lesson;
    m_g.Custom = true;
    ASSERT_TRUE(open("  17025"));
    EXPECT_EQ(m_session.NumAff(), 2);
    EXPECT_EQ(m_view.text, QStringLiteral("Solo"));
    EXPECT_EQ(m_view.info, QStringLiteral("        B. 17026 - 1/1"));
    test::writeBytes(m_dir.filePath(QStringLiteral("video/Explain/17025_07_00.MP4")), "xxxx");
    m_session.gridClick(2);
    EXPECT_EQ(m_view.info, QStringLiteral("        B. 17025 - 1/1"));
    EXPECT_TRUE(m_view.filmEnabled) << "the statement's own block names the film";
    m_session.ChiudiQuiz();

    // Back in the edition, the block of the same name is read again.
    m_g.Custom = false;
    ASSERT_TRUE(open("  17025"));
    EXPECT_EQ(m_session.NumAff(), 10);

    DataTable older;
    makeLesson(older, false);
    m_host.lessonTable = &older;
    m_g.Custom = true;
    m_reports.reports.clear();
    ASSERT_TRUE(open("  17025"));
    ASSERT_FALSE(m_reports.reports.empty());
    EXPECT_EQ(m_reports.reports.front().context,
              QString::fromUtf8("Questa versione di lezione personalizzata non più supportata"));
    EXPECT_EQ(m_g.Edizione, TModoQuiz::mqAB) << "the edition stays as it was";
}

struct RecordingAudio : QuizAudioPort {
    int language = 0;
    QStringList calls;
    bool available() const override { return true; }
    void Ascolta(const QuizStatement& s) override { calls << QStringLiteral("say ") + s.AudioArr; }
    void stop() override { calls << QStringLiteral("stop"); }
    void autoplay(int request) override { calls << QStringLiteral("auto %1").arg(request); }
    int textLanguage() const override { return language; }
};

TEST_F(QuizSessionTest, SpokenStatementsAndTheTextLanguageGoThroughTheAudioPort)
{
    RecordingAudio audio;
    m_session.setAudio(&audio);
    for (const auto& [language, prefix] : std::vector<std::pair<int, const char*>>{{0, ""}, {1, "fr "}, {2, "de "}}) {
        SCOPED_TRACE(language);
        audio.language = language;
        m_session.ChiudiQuiz();
        m_bank.list().TmpNomeFile.clear();
        ASSERT_TRUE(open("  17027"));
        EXPECT_EQ(m_view.text, QLatin1String(prefix) + QStringLiteral("17027 4"));
    }
    audio.calls.clear();
    m_session.next();
    m_session.key(Qt::Key_Insert, Qt::NoModifier);
    m_session.next();
    EXPECT_EQ(audio.calls, (QStringList{QStringLiteral("stop"), QStringLiteral("auto 2"),
                                        QStringLiteral("say 17027_4"), QStringLiteral("stop"),
                                        QStringLiteral("auto 2")}));
    m_session.ChiudiQuiz();
    EXPECT_EQ(audio.calls.mid(5), (QStringList{QStringLiteral("stop"), QStringLiteral("auto 0")}));
}

// The quiz joined to its spoken statements: the audio button follows the
// language folders, and a language chosen for the text reopens the block on
// the same statement, in the same shuffled order, and speaks it.
TEST_F(QuizSessionTest, ALanguageChosenForTheTextShowsAndSpeaksTheSameStatement)
{
    m_g.initFromProgram(m_dir.path() + QStringLiteral("/ziro/Program/ziro"));
    m_g.dirs.DirPicSgn = m_dir.path() + QStringLiteral("/sgn/");
    ASSERT_TRUE(QDir().mkpath(m_g.dirs.DirProgram));
    QFile map(m_g.dirs.DirProgram + QStringLiteral("LNG0000.MAP"));
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
    map.close();
    test::FakeSystem system;
    Settings settings(m_g, m_reports);
    QuizSpeech speech(m_g, m_config, settings, system, m_reports);
    speech.attach(&m_session, &m_view);
    m_session.setAudio(&speech);
    m_config.CBmischia = true;

    ASSERT_TRUE(open("  17025"));
    EXPECT_FALSE(m_view.audioEnabled) << "no language folder yet";
    m_session.ChiudiQuiz();
    const QString audio = m_g.dirs.DirZiroDati + QStringLiteral("Audio/");
    ASSERT_TRUE(QDir().mkpath(audio + QStringLiteral("Italiano")));
    ASSERT_TRUE(QDir().mkpath(audio + QStringLiteral("Francese")));
    ASSERT_TRUE(open("  17025"));
    EXPECT_TRUE(m_view.audioEnabled);

    m_session.gridClick(6);
    const QuizStatement shown = *m_session.current();
    QFile french(audio + QStringLiteral("Francese/fr_FR_") + shown.AudioArr + QStringLiteral(".OGG"));
    ASSERT_TRUE(french.open(QIODevice::WriteOnly));
    french.close();

    speech.audio().toggleTestoInLingua();
    // Draws that would give another order, were the block shuffled again.
    m_random.draws = {2, 3, 4, 5, 6, 7, 8, 9, 10, 1};
    speech.audio().chooseLanguage(1);
    EXPECT_EQ(m_session.Terni(), 6);
    ASSERT_TRUE(m_session.current());
    EXPECT_EQ(m_session.current()->Aff[0], shown.Aff[0]) << "the order was drawn again";
    EXPECT_EQ(m_view.text, shown.Aff[1]);
    EXPECT_EQ(system.voices, QStringList{french.fileName()});
    EXPECT_EQ(system.volume, 60000);
    const auto ini = IniFile::open(m_g.FileIni);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->readInteger(QStringLiteral("Audio"), QStringLiteral("Linguaggio"), -9), 1);
    EXPECT_TRUE(m_reports.reports.empty());

    // Automatic playback speaks a statement moved to, never one revealed.
    m_config.Autoplay = true;
    for (int p = 1; p <= m_session.NumAff(); ++p) {
        QFile f(audio + QStringLiteral("Francese/fr_FR_") + m_session.list().at(p).AudioArr + QStringLiteral(".OGG"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    m_session.next();
    ASSERT_EQ(m_session.AutoAnsw(), 1);
    QTest::qWait(QuizAudio::kAutoplayDelayMs + 100);
    EXPECT_EQ(system.voices.size(), 1);
    m_session.next();
    ASSERT_EQ(m_session.Terni(), 7);
    QTest::qWait(QuizAudio::kAutoplayDelayMs + 100);
    ASSERT_EQ(system.voices.size(), 2);
    EXPECT_TRUE(system.voices.last().endsWith(m_session.current()->AudioArr + QStringLiteral(".OGG")));
}

TEST(QuizRulesTest, PictogramsCaptionsGroupsGaugeAndFilmNames)
{
    for (const auto& [code, name] : std::vector<std::pair<const char*, const char*>>{
             {"800", "800n"}, {"805", "805n"}, {"810", "810n"}, {"811", "811"}, {"799", "799"}, {"0805", "0805"},
             {"", ""}, {"A805", "A805"}})
        EXPECT_EQ(AdeguaPittogrammi(QLatin1String(code)), QLatin1String(name)) << code;

    EXPECT_EQ(captionFamily(QString(24, QLatin1Char('x'))), QStringLiteral("Arial"));
    EXPECT_EQ(captionFamily(QString(25, QLatin1Char('x'))), QStringLiteral("Arial Narrow"));

    EXPECT_EQ(captionColour(TModoQuiz::mqAB, QStringLiteral("C12")), QColor(54, 82, 156));
    EXPECT_EQ(captionColour(TModoQuiz::mqCD, QStringLiteral("C12")), QColor(52, 139, 54));
    EXPECT_EQ(captionColour(TModoQuiz::mqCQ, QStringLiteral("L01")), QColor(62, 135, 189));
    EXPECT_EQ(captionColour(TModoQuiz::mqAB, QStringLiteral("J")), QColor(138, 138, 138));
    EXPECT_FALSE(captionColour(TModoQuiz::mqAB, QStringLiteral("K01")));
    EXPECT_FALSE(captionColour(TModoQuiz::mqAB, QString()));

    const auto marks = groupMarks(QStringLiteral("135"));
    QStringList coloured;
    for (const GroupMark& m : marks)
        if (m.colour != kGroupOff)
            coloured << m.label;
    EXPECT_EQ(coloured, (QStringList{QStringLiteral("C1"), QStringLiteral("C"), QStringLiteral("D1")}));

    EXPECT_FALSE(gaugeLook(0).showNumber);
    EXPECT_EQ(gaugeLook(34).bar, QColor(0, 128, 0));
    EXPECT_EQ(gaugeLook(35).bar, QColor(254, 216, 1));
    EXPECT_EQ(gaugeLook(67).bar, QColor(254, 216, 1));
    EXPECT_EQ(gaugeLook(68).bar, QColor(255, 0, 0));

    EXPECT_EQ(explanationFilmName(QStringLiteral("17025"), 7), QStringLiteral("17025_07_00"));
    EXPECT_EQ(explanationFilmName(QStringLiteral("17025"), 12), QStringLiteral("17025_12_00"));
    EXPECT_TRUE(explanationFilmName(QString(), 7).isEmpty());
}

TEST(QuizRulesTest, FittingShrinksToTheFirstSizeThatFitsAndStopsAtTheFloor)
{
    const auto lines = [](int perSize) { return [perSize](int size) { return size * perSize; }; };
    EXPECT_EQ(fitFontSize(37, 11, 100, lines(2)), 37);
    EXPECT_EQ(fitFontSize(37, 11, 100, lines(4)), 24);
    EXPECT_EQ(fitFontSize(37, 11, 100, lines(1000)), 11) << "never below the floor, however long";
    int calls = 0;
    fitFontSize(37, 11, 0, [&](int) { return ++calls, 1; });
    EXPECT_LE(calls, 27);
}

}  // namespace
}  // namespace ziro
