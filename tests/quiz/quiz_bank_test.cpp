#include "quiz/quiz_bank.h"

#include "bank_fixture.h"
#include "config/settings.h"
#include "platform/dataset/sample_tables.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace ziro {
namespace {

using test::blockRows;
using test::contents;
using test::row;

class QuizBankTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_g.dirs.DirProgram = m_dir.path() + QLatin1Char('/');
        m_quiz.setPort(&m_port);
    }
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    // A-B bank with the blocks given, then loaded as the edition change does.
    void loadAB(const std::vector<BankRow>& rows)
    {
        test::writeBank(path("NQM2016.XML"), rows);
        ASSERT_TRUE(CambiaEdizione(m_g, 1, &m_quiz));
        ASSERT_TRUE(m_quiz.bank().isOpen());
    }
    QStringList texts() const
    {
        QStringList t;
        for (int p = 1; p <= m_quiz.list().NumAff; ++p)
            t << m_quiz.list().at(p).Aff[0];
        return t;
    }
    static std::vector<BankRow> join(std::initializer_list<std::vector<BankRow>> parts)
    {
        std::vector<BankRow> all;
        for (const auto& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    }

    QTemporaryDir m_dir;
    Globals m_g;
    Config m_config;
    test::RecordingReports m_reports;
    test::RecordingPort m_port;
    test::ScriptedRandom m_random;
    QuizBank m_quiz{m_g, m_config, m_reports, m_random};
};

TEST_F(QuizBankTest, EveryEditionChangeLoadsThatEditionsBank)
{
    const char* files[] = {"CQM2015.XML", "NQM2016.XML", "SQM2014.XML", "QQM2021.XML"};
    const char* contexts[] = {"Quiz AM 2014", "Quiz AB 2016", "Quiz CDE 2014", "Quiz CQC 2015"};
    for (int n = 0; n < 4; ++n)
        test::writeBank(path(files[n]), blockRows(n == 2 ? "1702501" : "17025", n + 1));
    for (int n = 0; n < 4; ++n) {
        ASSERT_TRUE(CambiaEdizione(m_g, n, &m_quiz));
        EXPECT_EQ(m_quiz.bank().fileName(), path(files[n]));
        EXPECT_EQ(m_quiz.bank().statementCount(), n + 1);
    }
    EXPECT_TRUE(m_reports.reports.empty());

    // A missing bank: reported with the edition's own context, and every
    // block load afterwards says the bank is not there.
    for (int n = 0; n < 4; ++n) {
        QFile::remove(path(files[n]));
        m_reports.reports.clear();
        m_quiz.CaricaBancaQuesiti(n);
        EXPECT_FALSE(m_quiz.bank().isOpen());
        ASSERT_EQ(m_reports.count(ReportKind::Message), 1);
        const auto shown = std::find_if(m_reports.reports.begin(), m_reports.reports.end(),
                                        [](const auto& r) { return r.kind == ReportKind::Message; });
        EXPECT_EQ(shown->context, QLatin1String(contexts[n]));
        EXPECT_EQ(shown->name, QStringLiteral("ERRORE: Database dei quesiti non caricato."));
    }
    m_port.messages.clear();
    EXPECT_FALSE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17025")));
    EXPECT_EQ(m_port.messages, QStringList{QStringLiteral("CdsQuesiti non attivo")});
    EXPECT_EQ(m_port.calls.last(), QStringLiteral("info"));
    EXPECT_EQ(m_quiz.list().NumAff, 0);

    // Another number changes nothing.
    m_reports.reports.clear();
    m_quiz.CaricaBancaQuesiti(4);
    m_quiz.CaricaBancaQuesiti(-1);
    EXPECT_TRUE(m_reports.reports.empty());
}

TEST_F(QuizBankTest, ABlockIsNamedByTheEndOfItsReference)
{
    test::writeBank(path("NQM2016.XML"), join({blockRows("17025", 2), blockRows("17026", 3)}));
    test::writeBank(path("SQM2014.XML"), join({blockRows("1702501", 4), blockRows("7025", 1)}));
    struct Case {
        int edition;
        const char* reference;
        bool ok;
        int count;
    } cases[] = {
        {1, "Ad17025", true, 2}, {1, "C17026", true, 3}, {1, "17026", true, 3}, {1, "25", true, 0},
        {1, "", true, 0},        {2, "C1702501", true, 4}, {2, "Ad1702501", true, 4}, {2, "Ad7025", true, 0},
    };
    for (const Case& c : cases) {
        CambiaEdizione(m_g, c.edition, &m_quiz);
        EXPECT_EQ(m_quiz.LeggiNewQuiz(QLatin1String(c.reference)), c.ok) << c.reference;
        EXPECT_EQ(m_quiz.list().NumAff, c.count) << c.reference;
        EXPECT_EQ(m_quiz.list().TmpNomeFile, QLatin1String(c.reference));
    }
}

TEST_F(QuizBankTest, ABlockIsLaidOutInItsFixedOrder)
{
    std::vector<BankRow> rows = blockRows("17027", 4);
    rows[3].Figura = QStringLiteral("805");
    loadAB(join({rows, blockRows("17025", 10)}));
    m_quiz.list().AssociatoDomanda = QStringLiteral("vecchia");
    m_port.calls.clear();
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17027")));
    EXPECT_EQ(texts(), (QStringList{"17027 4", "17027 1", "17027 2", "17027 3"}));
    EXPECT_EQ(m_port.calls, (QStringList{"reset 0", "grid 4", "info"}));
    EXPECT_EQ(m_quiz.list().SegnaleCorrente, QStringLiteral("805"));
    EXPECT_TRUE(m_quiz.list().AssociatoDomanda.isEmpty());
    const QuizStatement& first = m_quiz.list().at(1);
    EXPECT_EQ(first.NumRec, QStringLiteral("4"));
    EXPECT_EQ(first.Responso, 0);
    EXPECT_EQ(first.Blocco, QStringLiteral("17027"));

    // The same block again, after another: the same order. Positions past
    // the block are empty.
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17025")));
    EXPECT_EQ(m_quiz.list().at(1).Aff[0], QStringLiteral("17025 9"));
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17027")));
    EXPECT_EQ(texts(), (QStringList{"17027 4", "17027 1", "17027 2", "17027 3"}));
    EXPECT_TRUE(m_quiz.list().at(5).isEmpty());
    EXPECT_EQ(m_random.calls, 0);
}

TEST_F(QuizBankTest, AlwaysShuffleDrawsANewOrderAtEveryLoad)
{
    loadAB(blockRows("17027", 4));
    m_config.CBmischia = true;
    m_random.draws = {2, 2, 4, 1, 3, 3, 1, 4, 2};
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17027")));
    EXPECT_EQ(texts(), (QStringList{"17027 2", "17027 4", "17027 1", "17027 3"}));
    EXPECT_EQ(m_quiz.list().GiaUsciti[1], 4);
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17027")));
    EXPECT_EQ(texts(), (QStringList{"17027 3", "17027 1", "17027 4", "17027 2"}));
}

TEST_F(QuizBankTest, BlocksOfAnySizeLoadWithoutCrashingAndAreCappedOnce)
{
    loadAB(join({blockRows("17071", 71), blockRows("17500", 500), blockRows("17070", 70)}));
    struct Case {
        const char* reference;
        int count;
    } cases[] = {{"Ad17071", 70}, {"Ad17500", 70}, {"Ad17070", 70}, {"Ad17000", 0}};
    for (const Case& c : cases) {
        ASSERT_TRUE(m_quiz.LeggiNewQuiz(QLatin1String(c.reference))) << c.reference;
        EXPECT_EQ(m_quiz.list().NumAff, c.count) << c.reference;
        for (int p = 1; p <= c.count; ++p)
            ASSERT_FALSE(m_quiz.list().at(p).isEmpty()) << c.reference << " " << p;
    }
    // Statement 71 never shows; and the capped blocks were told once each.
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17071")));
    for (int p = 1; p <= 70; ++p)
        EXPECT_NE(m_quiz.list().at(p).NumRec, QStringLiteral("71"));
    EXPECT_EQ(m_reports.count(ReportKind::Message), 2);
    m_quiz.CaricaBancaQuesiti(1);
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17071")));
    EXPECT_EQ(m_reports.count(ReportKind::Message), 3);
    EXPECT_EQ(m_quiz.list().SegnaleCorrente, QString());
}

TEST_F(QuizBankTest, ADamagedQuestionNumberLeavesNoHalfList)
{
    std::vector<BankRow> rows = blockRows("17028", 5);
    rows[3].Domanda = QStringLiteral("x4");
    loadAB(join({blockRows("17025", 3), rows}));
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17025")));
    m_port.calls.clear();
    EXPECT_FALSE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17028")));
    EXPECT_EQ(m_quiz.list().NumAff, 0);
    EXPECT_TRUE(m_quiz.list().TmpNomeFile.isEmpty());
    for (int p = 1; p <= kMaxStatements; ++p)
        ASSERT_TRUE(m_quiz.list().at(p).isEmpty());
    EXPECT_EQ(m_port.calls.last(), QStringLiteral("info"));
    EXPECT_TRUE(m_port.calls.contains(QStringLiteral("grid 0")));
}

TEST_F(QuizBankTest, ControlHeldShowsTheBlockAsTheBankHasIt)
{
    loadAB({row("17027", "1", true, QStringLiteral("Primo"), "805", "3"),
            row("17027", "2", false, QStringLiteral("Secondo"), "", "4")});
    m_quiz.list().SegnaleCorrente = QStringLiteral("40");
    m_port.control = true;
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17027")));
    EXPECT_EQ(m_port.messages,
              QStringList{QStringLiteral("Blocco: 17027, NumAff: 2, SegnaleCorrente: 40\r\n\r\n"
                                         "3] True, {805}   Primo (1)\r4] False, {}   Secondo (2)\r")});
}

class CustomLessonTest : public QuizBankTest {
protected:
    CustomLessonTest() { m_lesson.setSaveOnClose(false); }
    // A lesson record with the references given (field number -> text).
    void makeLesson(bool older, int tipo, const std::map<int, QString>& references)
    {
        QList<FieldDef> fields = contentTableFields();
        if (older)
            fields.erase(std::remove_if(fields.begin(), fields.end(),
                                        [](const FieldDef& f) {
                                            return f.name.startsWith(QLatin1String("Quesito")) &&
                                                   f.name.mid(7).toInt() > 50;
                                        }),
                         fields.end());
        ASSERT_TRUE(m_lesson.createFromFields(fields));
        ASSERT_TRUE(m_lesson.append());
        ASSERT_TRUE(m_lesson.setField(QStringLiteral("NumRec"), 1));
        ASSERT_TRUE(m_lesson.setField(QStringLiteral("Tipo"), tipo));
        for (const auto& [k, text] : references)
            ASSERT_TRUE(m_lesson.setField(QStringLiteral("Quesito%1").arg(k), text));
        ASSERT_TRUE(m_lesson.post());
    }
    DataTable m_lesson;
};

TEST_F(CustomLessonTest, ReferencesOfBothSchemasFindTheirStatements)
{
    loadAB(join({blockRows("17025", 10), blockRows("17026", 3)}));
    m_config.EditTitoloBlocco = true;
    for (bool older : {false, true}) {
        m_lesson.close();
        std::map<int, QString> refs = {
            {1, QStringLiteral("  17026V0003S000")},  // block 17026, id 3
            {2, QStringLiteral("  17025F0007S805")},
            {3, QStringLiteral("  17025F0099S805")},  // no such statement
            {4, QStringLiteral("  17025F0001S80")},   // 15 characters: too short
        };
        if (older) {
            refs[5] = QStringLiteral("17025F0002S805");  // older 14-character form
        } else {
            refs[69] = QStringLiteral("  17025F0002S805");
            refs[70] = QStringLiteral("17025F0002S805");  // counted, but too short here
        }
        makeLesson(older, 0, refs);
        m_quiz.list().TmpNomeFile = QStringLiteral("Ad17025");
        m_port.calls.clear();
        ASSERT_TRUE(m_quiz.LeggiCustomQuiz(m_lesson));
        const int last = older ? 5 : 69;
        const int count = older ? 5 : 70;
        EXPECT_EQ(m_quiz.list().NumAff, count);
        EXPECT_TRUE(m_quiz.list().at(count).isEmpty() == !older);
        EXPECT_EQ(m_quiz.list().at(1).Aff[0], QStringLiteral("17026 3"));
        EXPECT_EQ(m_quiz.list().at(2).Aff[0], QStringLiteral("17025 7"));
        EXPECT_TRUE(m_quiz.list().at(3).isEmpty());
        EXPECT_TRUE(m_quiz.list().at(4).isEmpty());
        EXPECT_EQ(m_quiz.list().at(last).Aff[0], QStringLiteral("17025 2"));
        EXPECT_EQ(m_quiz.list().SegnaleCorrente, m_quiz.list().at(1).IntegratoAffermazione);
        EXPECT_TRUE(m_quiz.list().TmpNomeFile.isEmpty());  // not a block: never kept as one
        EXPECT_EQ(m_port.calls, (QStringList{"reset 0", "grid " + QString::number(count), "info"}));
    }
}

TEST_F(CustomLessonTest, LessonTypeChoosesTheEditionOrLeavesItAlone)
{
    test::writeBank(path("NQM2016.XML"), blockRows("17025", 2));
    test::writeBank(path("SQM2014.XML"), blockRows("1702501", 2));
    test::writeBank(path("CQM2015.XML"), blockRows("1702501", 1));
    test::writeBank(path("QQM2021.XML"), blockRows("17025", 1));
    const std::map<int, QString> refs = {{1, QStringLiteral("1702501V0001S000")}, {2, QStringLiteral("  17025V0002S000")}};
    struct Case {
        int tipo;
        TModoQuiz edition;
        bool firstFound, secondFound;
    } cases[] = {
        {4, TModoQuiz::mqAM, true, false},
        {6, TModoQuiz::mqCQ, false, false},
        {5, TModoQuiz::mqCD, true, false},
        {3, TModoQuiz::mqCD, true, false},  // no change: the bank loaded stays
        {0, TModoQuiz::mqAB, false, true},
        {9, TModoQuiz::mqAB, false, true},
    };
    for (const Case& c : cases) {
        m_lesson.close();
        makeLesson(false, c.tipo, refs);
        EXPECT_TRUE(m_quiz.LeggiCustomQuiz(m_lesson)) << c.tipo;
        EXPECT_EQ(m_g.Edizione, c.edition) << c.tipo;
        EXPECT_EQ(!m_quiz.list().at(1).isEmpty(), c.firstFound) << c.tipo;
        EXPECT_EQ(!m_quiz.list().at(2).isEmpty(), c.secondFound) << c.tipo;
    }
    // No bank: nothing is listed.
    QFile::remove(path("NQM2016.XML"));
    m_lesson.close();
    makeLesson(false, 0, refs);
    EXPECT_FALSE(m_quiz.LeggiCustomQuiz(m_lesson));
    EXPECT_EQ(m_quiz.list().NumAff, 0);
    // A lesson naming nothing lists nothing.
    test::writeBank(path("NQM2016.XML"), blockRows("17025", 2));
    m_lesson.close();
    makeLesson(false, 0, {{3, QStringLiteral("  17025V0")}});
    EXPECT_FALSE(m_quiz.LeggiCustomQuiz(m_lesson));
    EXPECT_EQ(m_quiz.list().NumAff, 0);
}

// The first statement's caption becomes the block's; ids restart in every
// block, and a statement of another block with the same id keeps its own.
TEST_F(CustomLessonTest, CaptionReachesItsOwnBlockOnly)
{
    std::vector<BankRow> a = blockRows("17025", 3);
    a[1].Info2 = QStringLiteral("Proprio");
    std::vector<BankRow> b = blockRows("17026", 3);
    loadAB(join({a, b}));
    m_config.EditTitoloBlocco = true;
    // Statement 3 of the first block is not in the lesson; statement 3 of
    // the second is.
    makeLesson(false, 0, {{1, QStringLiteral("  17025V0001S000")}, {2, QStringLiteral("  17026V0001S000")},
                          {3, QStringLiteral("  17025V0002S000")}, {4, QStringLiteral("  17026V0003S000")},
                          {5, QStringLiteral("  17026V0002S000")}});
    ASSERT_TRUE(m_quiz.LeggiCustomQuiz(m_lesson));
    ASSERT_TRUE(m_quiz.updateCaption(QStringLiteral("Curve"), 1, &m_lesson));

    QuestionBank back;
    ASSERT_TRUE(back.open(path("NQM2016.XML")));
    const QStringList expected = {"Curve", "Proprio", "", "", "", ""};
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(back.caption(r), expected[r - 1]) << r;
    EXPECT_EQ(m_quiz.list().at(1).TitBlk, QStringLiteral("Curve"));  // reloaded
    EXPECT_EQ(m_quiz.list().at(2).TitBlk, QString());

    // A later statement: only its own caption.
    ASSERT_TRUE(m_quiz.updateCaption(QStringLiteral("Solo"), 5, &m_lesson));
    ASSERT_TRUE(back.open(path("NQM2016.XML")));
    EXPECT_EQ(back.caption(5), QStringLiteral("Solo"));
    EXPECT_EQ(back.caption(2), QStringLiteral("Proprio"));
    EXPECT_EQ(m_port.beeps, 0);
}

TEST_F(QuizBankTest, CaptionOfABlockAndWhenItMayNotBeStored)
{
    std::vector<BankRow> rows = blockRows("17027", 4);
    rows[1].Info2 = QStringLiteral("Secondo");
    rows.push_back(row("17027", "X", true, QStringLiteral("senza numero")));
    loadAB(rows);
    const QByteArray before = contents(path("NQM2016.XML"));
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17027")));
    // Not editable: nothing stored, nothing said.
    EXPECT_FALSE(m_quiz.updateCaption(QStringLiteral("No"), 1));
    m_config.EditTitoloBlocco = true;
    const int noNumber = [&] {
        for (int p = 1; p <= 5; ++p)
            if (m_quiz.list().at(p).NumRec == QLatin1String("X"))
                return p;
        return 0;
    }();
    ASSERT_GT(noNumber, 0);
    EXPECT_FALSE(m_quiz.updateCaption(QStringLiteral("No"), noNumber));
    EXPECT_FALSE(m_quiz.updateCaption(QStringLiteral("No"), 6));
    EXPECT_EQ(contents(path("NQM2016.XML")), before);

    ASSERT_TRUE(m_quiz.updateCaption(QStringLiteral("Blocco"), 1));
    EXPECT_EQ(m_quiz.list().TmpNomeFile, QStringLiteral("Ad17027"));
    for (int p = 1; p <= 5; ++p) {
        const QuizStatement& s = m_quiz.list().at(p);
        EXPECT_EQ(s.TitBlk, s.NumRec == QLatin1String("2") ? QStringLiteral("Secondo") : QStringLiteral("Blocco")) << p;
    }

    // A full disk: told, beeped, the file as it was.
    const QByteArray stored = contents(path("NQM2016.XML"));
    struct rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = m_quiz.updateCaption(QStringLiteral("Perso"), 2);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(m_port.beeps, 1);
    ASSERT_EQ(m_reports.count(ReportKind::FileIo), 1);
    EXPECT_EQ(m_reports.reports.back().name, path("NQM2016.XML"));
    EXPECT_EQ(contents(path("NQM2016.XML")), stored);
    EXPECT_NE(m_quiz.list().at(2).TitBlk, QStringLiteral("Perso"));
}

// A kept block is one loaded from the bank now loaded: anything else that
// replaces the list forgets it.
TEST_F(CustomLessonTest, TheBlockLastLoadedIsForgottenWhenTheListIsReplaced)
{
    loadAB(blockRows("17025", 3));
    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17025")));
    EXPECT_EQ(m_quiz.list().TmpNomeFile, QStringLiteral("Ad17025"));
    CambiaEdizione(m_g, 1, &m_quiz);
    EXPECT_TRUE(m_quiz.list().TmpNomeFile.isEmpty());

    ASSERT_TRUE(m_quiz.LeggiNewQuiz(QStringLiteral("Ad17025")));
    makeLesson(false, 7, {{1, QStringLiteral("  17025V0001S000")}});
    ASSERT_TRUE(m_quiz.LeggiCustomQuiz(m_lesson));
    EXPECT_TRUE(m_quiz.list().TmpNomeFile.isEmpty());
}

}  // namespace
}  // namespace ziro
