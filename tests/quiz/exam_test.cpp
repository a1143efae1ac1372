#include "quiz/exam.h"

#include "base/globals.h"
#include "quiz/exam_session.h"
#include "quiz/question_bank.h"

#include "config/settings.h"
#include "quiz/bank_fixture.h"
#include "support/fakes.h"

#include <QSet>

#include <QDir>

#include <functional>
#include <map>

namespace ziro {
namespace {

using test::blockRows;
using test::writeBank;

// Blocks keyed chapter, sub-topic, part: "CCSSP".
QByteArray key(int chapter, int sub)
{
    return QStringLiteral("%1%2%3").arg(chapter, 2, 10, QLatin1Char('0')).arg(sub, 2, 10, QLatin1Char('0')).arg(1).toLatin1();
}

class ExamDrawTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QuestionBank bank;

    // `blocksPerChapter[c]` blocks of `perBlock` statements in chapter c + 1.
    void makeBank(const std::vector<int>& blocksPerChapter, int perBlock = 3,
                  const std::function<void(std::vector<BankRow>&)>& edit = {})
    {
        std::vector<BankRow> rows;
        for (int c = 0; c < static_cast<int>(blocksPerChapter.size()); ++c)
            for (int b = 1; b <= blocksPerChapter[static_cast<std::size_t>(c)]; ++b)
                for (BankRow& r : blockRows(key(c + 1, b).constData(), perBlock))
                    rows.push_back(r);
        if (edit)
            edit(rows);
        const QString path = dir.filePath(QStringLiteral("bank.xml"));
        writeBank(path, rows);
        QString error;
        ASSERT_TRUE(bank.open(path, &error)) << qPrintable(error);
    }
};

TEST_F(ExamDrawTest, SpreadsOverEveryChapterWithoutRepeatingABlock)
{
    // 25 chapters of uneven size: the first has many blocks, most have one
    // or two, so a careless draw would pile into the big chapter.
    std::vector<int> perChapter(kExamChapters, 1);
    for (const int spare : {3, 7, 10, 15})
        perChapter[static_cast<std::size_t>(spare)] = 2;
    perChapter[0] = 12;
    makeBank(perChapter);
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        const ExamDraw d = drawExam(bank, seed);
        ASSERT_TRUE(d.ok()) << qPrintable(d.error);
        EXPECT_TRUE(d.warning.isEmpty());
        ASSERT_EQ(d.items.size(), std::size_t(kExamStatements));
        QSet<QString> blocks;
        std::map<QString, int> perChapterDrawn;
        QString previousChapter;
        for (const ExamItem& item : d.items) {
            EXPECT_FALSE(blocks.contains(item.statement.Blocco)) << "seed " << seed;
            blocks.insert(item.statement.Blocco);
            EXPECT_EQ(item.chapter, item.statement.Blocco.left(2));
            EXPECT_GE(item.chapter, previousChapter) << "shown in chapter order";
            previousChapter = item.chapter;
            ++perChapterDrawn[item.chapter];
            // The statement really is the one of its record.
            QuizStatement s;
            ASSERT_TRUE(bank.readStatement(item.recNo, &s));
            EXPECT_EQ(s.Aff[0], item.statement.Aff[0]);
        }
        EXPECT_EQ(perChapterDrawn.size(), std::size_t(kExamChapters)) << "seed " << seed;
        // 30 over 25 chapters: five chapters get a second statement, none a third.
        for (const auto& [chapter, n] : perChapterDrawn)
            EXPECT_LE(n, 2) << qPrintable(chapter) << " seed " << seed;
    }
}

TEST_F(ExamDrawTest, TheSameSeedGivesTheSameExam)
{
    makeBank(std::vector<int>(kExamChapters, 3), 20);
    const auto recNos = [&](std::uint32_t seed) {
        std::vector<int> out;
        for (const ExamItem& item : drawExam(bank, seed).items)
            out.push_back(item.recNo);
        return out;
    };
    EXPECT_EQ(recNos(4711), recNos(4711));
    EXPECT_EQ(drawExam(bank, 4711).seed, 4711u);
    EXPECT_NE(recNos(4711), recNos(4712));
    const std::uint32_t fresh = newExamSeed();
    EXPECT_GE(fresh, 1u);
    EXPECT_LE(fresh, kExamMaxSeed);
}

TEST_F(ExamDrawTest, ShortBanksAreRefusedWithAReason)
{
    struct Case {
        const char* name;
        std::vector<int> perChapter;
        int perBlock;
        const char* errorPart;  // nullptr: drawn, with a warning
    };
    const Case cases[] = {
        {"too few statements", {3, 3}, 4, "solo 24 affermazioni"},
        {"many statements, too few blocks", {5, 5}, 10, "solo 10 blocchi"},
        {"enough blocks in too few chapters", {10, 10, 10}, 1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeBank(c.perChapter, c.perBlock);
        const ExamDraw d = drawExam(bank, 7);
        if (c.errorPart) {
            EXPECT_FALSE(d.ok());
            EXPECT_TRUE(d.error.contains(QLatin1String(c.errorPart))) << qPrintable(d.error);
        } else {
            ASSERT_TRUE(d.ok()) << qPrintable(d.error);
            EXPECT_TRUE(d.warning.contains(QLatin1String("3 capitoli su 25"))) << qPrintable(d.warning);
        }
    }

    QuestionBank closed;
    EXPECT_FALSE(drawExam(closed, 1).ok());
}

TEST_F(ExamDrawTest, DamagedStatementsAreSkippedAndCountedOut)
{
    // 31 blocks of two, one block wholly damaged and another half: the
    // exam still finds 30 sound statements, never a damaged one.
    makeBank(std::vector<int>(31, 1), 2, [](std::vector<BankRow>& rows) {
        rows[0].Domanda = QStringLiteral("x");
        rows[1].Domanda = QStringLiteral("y");
        rows[2].Testo.clear();
    });
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const ExamDraw d = drawExam(bank, seed);
        ASSERT_TRUE(d.ok()) << qPrintable(d.error);
        for (const ExamItem& item : d.items) {
            EXPECT_NE(item.statement.Blocco, QLatin1String(key(1, 1)));
            EXPECT_FALSE(item.statement.Aff[0].isEmpty());
        }
    }

    // A second damaged block leaves only 29.
    makeBank(std::vector<int>(31, 1), 1, [](std::vector<BankRow>& rows) {
        rows[0].Domanda = QStringLiteral("x");
        rows[5].Domanda = QStringLiteral("x");
    });
    const ExamDraw d = drawExam(bank, 3);
    EXPECT_FALSE(d.ok());
    EXPECT_TRUE(d.error.contains(QLatin1String("29 blocchi"))) << qPrintable(d.error);
}

// ---------------------------------------------------------------------------

ExamDraw fakeDraw()
{
    ExamDraw d;
    d.seed = 123;
    for (int i = 1; i <= kExamStatements; ++i) {
        ExamItem item;
        item.statement.Aff[0] = QStringLiteral("Affermazione %1").arg(i);
        item.statement.Responso = i % 3 == 0 ? 1 : 0;
        d.items.push_back(item);
    }
    return d;
}

TEST(ExamRunTest, AnsweringThenReviewThenSummary)
{
    ExamRun run(fakeDraw());
    EXPECT_EQ(run.phase(), ExamRun::Phase::Answering);
    EXPECT_FALSE(run.back());
    EXPECT_FALSE(run.answerShown());
    for (int i = 2; i <= kExamStatements; ++i)
        ASSERT_TRUE(run.forward());
    EXPECT_EQ(run.position(), kExamStatements);
    EXPECT_TRUE(run.back());
    EXPECT_TRUE(run.forward());
    run.tick();
    run.tick();

    // Forward past the last ends the answering: the review starts at the top.
    ASSERT_TRUE(run.forward());
    EXPECT_EQ(run.phase(), ExamRun::Phase::Review);
    EXPECT_EQ(run.position(), 1);
    EXPECT_TRUE(run.answerShown());
    EXPECT_FALSE(run.timedOut());
    EXPECT_EQ(run.secondsUsed(), 2);
    run.tick();  // the clock stopped with the answering
    EXPECT_EQ(run.secondsLeft(), kExamSeconds - 2);

    for (int i = 2; i <= kExamStatements; ++i)
        ASSERT_TRUE(run.forward());
    ASSERT_TRUE(run.forward());
    EXPECT_EQ(run.phase(), ExamRun::Phase::Summary);
    EXPECT_FALSE(run.forward());
    ASSERT_TRUE(run.back());
    EXPECT_EQ(run.phase(), ExamRun::Phase::Review);
    EXPECT_EQ(run.position(), kExamStatements);

    const QString summary = examSummary(run);
    EXPECT_TRUE(summary.contains(QLatin1String("Esame n. 123")));
    EXPECT_TRUE(summary.contains(QLatin1String("Tempo impiegato: 00:02")));
    EXPECT_TRUE(summary.contains(QLatin1String("10 vere, 20 false")));
    EXPECT_TRUE(summary.contains(QLatin1String(" 3 V")));
    EXPECT_TRUE(summary.contains(QLatin1String("30 V")));
    EXPECT_TRUE(summary.contains(QLatin1String(" 1 F")));
}

TEST(ExamRunTest, TheTimeRunningOutStartsTheReview)
{
    ExamRun run(fakeDraw());
    run.forward();
    run.forward();
    for (int s = 1; s < kExamSeconds; ++s)
        run.tick();
    EXPECT_EQ(run.phase(), ExamRun::Phase::Answering);
    EXPECT_EQ(examClock(run.secondsLeft()), QLatin1String("00:01"));
    run.tick();
    EXPECT_EQ(run.phase(), ExamRun::Phase::Review);
    EXPECT_EQ(run.position(), 1);
    EXPECT_TRUE(run.timedOut());
    EXPECT_EQ(run.secondsLeft(), 0);
    EXPECT_TRUE(examSummary(run).contains(QLatin1String("Tempo scaduto")));

    EXPECT_EQ(examClock(kExamSeconds), QLatin1String("20:00"));
    EXPECT_EQ(examClock(65), QLatin1String("01:05"));

    // An exam that could not be drawn does not move.
    ExamRun empty{ExamDraw{}};
    EXPECT_FALSE(empty.forward());
    EXPECT_FALSE(empty.back());
}

// ---------------------------------------------------------------------------

struct PagesSeen : ExamView {
    bool shown = false;
    std::vector<ExamPage> pages;
    QString clock;
    bool running = false;
    QString summary;
    void showWindow() override { shown = true; }
    void hideWindow() override { shown = false; }
    void showPage(const ExamPage& p) override { pages.push_back(p); }
    void showClock(const QString& t, bool r) override { clock = t; running = r; }
    void showSummary(const QString& t) override { summary = t; }
};

class ExamSessionTest : public ExamDrawTest {
protected:
    Globals g;
    test::RecordingReports reports;
    PagesSeen view;
    ExamSession session{g, reports, [this] { return &bank; }, view};

    void SetUp() override
    {
        g.Edizione = TModoQuiz::mqAB;
        g.dirs.DirPicSgn = dir.path() + QStringLiteral("/sgn/");
        QDir(dir.path()).mkpath(QStringLiteral("sgn"));
        makeBank(std::vector<int>(kExamChapters, 2), 2, [](std::vector<BankRow>& rows) {
            for (BankRow& r : rows) {
                r.Figura = QStringLiteral("550");
                r.Lingua2.clear();  // no German: the Italian shows instead
            }
        });
    }
};

TEST_F(ExamSessionTest, ShowsTheStatementsThenRevealsTheAnswers)
{
    ASSERT_TRUE(session.start(99));
    EXPECT_TRUE(view.shown);
    ASSERT_EQ(view.pages.size(), 1u);
    const ExamPage first = view.pages.back();
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.total, kExamStatements);
    EXPECT_FALSE(first.answer.has_value()) << "no answer while the class answers";
    EXPECT_TRUE(first.title.contains(QLatin1String("99")));
    EXPECT_TRUE(first.picturePath.endsWith(QLatin1String("550.BMP"), Qt::CaseInsensitive)) << qPrintable(first.picturePath);
    EXPECT_EQ(view.clock, QLatin1String("20:00"));
    EXPECT_TRUE(view.running);

    EXPECT_TRUE(session.key(Qt::Key_L, Qt::NoModifier));
    EXPECT_TRUE(view.pages.back().text.startsWith(QLatin1String("fr ")));
    session.key(Qt::Key_L, Qt::NoModifier);
    EXPECT_EQ(view.pages.back().text, first.text);
    session.key(Qt::Key_L, Qt::NoModifier);
    EXPECT_EQ(view.pages.back().text, first.text);

    // The clicker walks the exam; its black-out keys are the main window's.
    EXPECT_TRUE(session.key(Qt::Key_PageDown, Qt::NoModifier));
    EXPECT_EQ(view.pages.back().number, 2);
    EXPECT_TRUE(session.key(Qt::Key_PageUp, Qt::NoModifier));
    EXPECT_EQ(view.pages.back().number, 1);
    EXPECT_FALSE(session.key(Qt::Key_B, Qt::NoModifier));
    EXPECT_FALSE(session.key(Qt::Key_Period, Qt::NoModifier));

    session.tick();
    EXPECT_EQ(view.clock, QLatin1String("19:59"));
    session.finish();
    EXPECT_FALSE(view.running);
    ASSERT_TRUE(view.pages.back().answer.has_value());
    EXPECT_EQ(*view.pages.back().answer, session.run()->current().statement.Responso == 1);
    EXPECT_TRUE(view.pages.back().title.startsWith(QLatin1String("Correzione")));

    for (int i = 0; i < kExamStatements; ++i)
        session.forward();
    EXPECT_TRUE(view.summary.contains(QLatin1String("Esame n. 99")));
    EXPECT_TRUE(view.summary.contains(QLatin1String("00:01")));

    // Printed into the teacher's folder, and the teacher told where.
    g.dirs.DirLezioni = dir.filePath(QStringLiteral("Rossi")) + QLatin1Char('/');
    ASSERT_TRUE(session.print());
    EXPECT_TRUE(QFile::exists(g.dirs.DirLezioni + QStringLiteral("Esame_99_soluzioni.pdf")));
    ASSERT_FALSE(reports.reports.empty());
    EXPECT_TRUE(reports.reports.back().name.contains(QLatin1String("Esame_99.pdf")));

    EXPECT_TRUE(session.key(Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(view.shown);
    EXPECT_FALSE(session.isOpen());
    EXPECT_FALSE(session.key(Qt::Key_PageDown, Qt::NoModifier));
}

// The statement on show is read out in the exam's language: Ins (or the
// button) asks for it, "Autoplay" reads each statement as it comes while
// the class answers. A missing recording is reported when asked for, and
// passed over in silence by the autoplay.
TEST_F(ExamSessionTest, SpeaksTheStatementInTheLanguageShown)
{
    g.dirs.DirAudio = dir.path() + QStringLiteral("/Audio/");
    test::FakeSystem system;
    Config cfg;
    session.setVoice(&system, &cfg);
    ASSERT_TRUE(session.start(99));
    EXPECT_FALSE(view.pages.back().spoken);
    const QString name = session.run()->current().statement.AudioArr.trimmed();
    ASSERT_FALSE(name.isEmpty());
    EXPECT_TRUE(session.key(Qt::Key_Insert, Qt::NoModifier));
    ASSERT_FALSE(reports.reports.empty());
    EXPECT_TRUE(reports.reports.back().name.contains(QStringLiteral("it_IT_") + name + QStringLiteral(".OGG non esiste")))
        << qPrintable(reports.reports.back().name);
    EXPECT_TRUE(system.voices.isEmpty());

    for (const char* folder : {"Italiano/it_IT_", "Francese/fr_FR_"}) {
        const QString path = g.dirs.DirAudio + QLatin1String(folder) + name + QStringLiteral(".OGG");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    session.forward();
    session.back();
    EXPECT_TRUE(view.pages.back().spoken);
    EXPECT_TRUE(session.speak());
    ASSERT_EQ(system.voices.size(), 1);
    EXPECT_TRUE(system.voices.back().endsWith(QStringLiteral("Italiano/it_IT_") + name + QStringLiteral(".OGG")));
    session.key(Qt::Key_L, Qt::NoModifier);
    session.key(Qt::Key_Insert, Qt::NoModifier);
    ASSERT_EQ(system.voices.size(), 2);
    EXPECT_TRUE(system.voices.back().endsWith(QStringLiteral("Francese/fr_FR_") + name + QStringLiteral(".OGG")));

    cfg.Autoplay = true;
    const std::size_t reported = reports.reports.size();
    session.forward();  // no recording: nothing read, nothing said
    EXPECT_EQ(system.voices.size(), 2);
    session.back();
    EXPECT_EQ(system.voices.size(), 3) << "read out as it comes back";
    EXPECT_EQ(reports.reports.size(), reported);
    session.finish();  // the review is the teacher's to talk through
    EXPECT_EQ(system.voices.size(), 3);

    system.soundEngine = false;  // a later exam on a PC whose sound broke
    ExamSession silent{g, reports, [this] { return &bank; }, view};
    silent.setVoice(&system, &cfg);
    ASSERT_TRUE(silent.start(99));
    EXPECT_FALSE(silent.speak());
    EXPECT_EQ(reports.reports.back().name, QStringLiteral("Nessuna uscita audio disponibile."));
}

TEST_F(ExamSessionTest, RefusesWithAReportAndShowsNothing)
{
    g.Edizione = TModoQuiz::mqCD;
    EXPECT_FALSE(session.start(5));
    g.Edizione = TModoQuiz::mqAB;
    makeBank({3, 3}, 2);
    EXPECT_FALSE(session.start(5));
    ASSERT_EQ(reports.reports.size(), 2u);
    EXPECT_TRUE(reports.reports[0].name.contains(QLatin1String("A-B")));
    EXPECT_TRUE(reports.reports[1].name.contains(QLatin1String("solo 12 affermazioni")));
    EXPECT_FALSE(view.shown);
    EXPECT_TRUE(view.pages.empty());
    EXPECT_FALSE(session.isOpen());
}

}  // namespace
}  // namespace ziro
