// The mock exam's window over a lesson stand-in: what the projector shows
// in each phase, the clicker's keys, and the keys it leaves to the lesson.

#include "quiz/exam_window.h"

#include "base/globals.h"
#include "exam_fixture.h"
#include "quiz/question_bank.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace ziro {
namespace {

class ExamWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.resize(640, 480);
        main.show();
        g.Edizione = TModoQuiz::mqAB;
        g.dirs.DirPicSgn = dir.path() + QLatin1Char('/');
        const QString path = dir.filePath(QStringLiteral("bank.xml"));
        test::writeBank(path, test::examBankRows(kExamChapters, 2, 2));
        ASSERT_TRUE(bank.open(path));
        window.attach(&session);
    }
    void click(int key) { QTest::keyClick(&window, Qt::Key(key)); }

    QWidget main;
    QTemporaryDir dir;
    Globals g;
    test::RecordingReports reports;
    QuestionBank bank;
    TExam window{&main};
    ExamSession session{g, reports, [this] { return &bank; }, window};
};

TEST_F(ExamWindowTest, TheClickerWalksTheExamToItsSummary)
{
    ASSERT_TRUE(session.start(2024));
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.numberText(), QLatin1String("1/30"));
    EXPECT_EQ(window.clockText(), QLatin1String("20:00"));
    EXPECT_TRUE(window.clockRunning());
    EXPECT_TRUE(window.titleText().contains(QLatin1String("2024")));
    EXPECT_EQ(window.statementText(), session.run()->current().statement.Aff[0]);
    EXPECT_TRUE(window.answerText().isEmpty());

    QSignalSpy passed(&window, &TExam::keyPassed);
    click(Qt::Key_PageDown);
    click(Qt::Key_PageDown);
    EXPECT_EQ(window.numberText(), QLatin1String("3/30"));
    click(Qt::Key_PageUp);
    EXPECT_EQ(window.numberText(), QLatin1String("2/30"));
    click(Qt::Key_B);
    click(Qt::Key_Period);
    ASSERT_EQ(passed.count(), 2);
    EXPECT_EQ(passed.at(0).at(0).toInt(), int(Qt::Key_B));

    // Past the last statement the answers come, each in its colour.
    for (int i = 2; i <= kExamStatements; ++i)
        click(Qt::Key_PageDown);
    EXPECT_FALSE(window.clockRunning());
    EXPECT_EQ(window.numberText(), QLatin1String("1/30"));
    const bool vero = session.run()->current().statement.Responso == 1;
    EXPECT_EQ(window.answerText(), vero ? QLatin1String("VERO") : QLatin1String("FALSO"));

    for (int i = 1; i <= kExamStatements; ++i)
        click(Qt::Key_PageDown);
    EXPECT_TRUE(window.summaryShown());
    EXPECT_TRUE(window.summaryText().contains(QLatin1String("Esame n. 2024")));

    // The same exam again by its number, typed in the summary.
    const QString first = session.run()->draw().items.front().statement.Aff[0];
    ASSERT_TRUE(session.start(77));
    for (const int key : {Qt::Key_2, Qt::Key_0, Qt::Key_2, Qt::Key_4})
        click(key);
    EXPECT_EQ(window.typedNumberText(), QLatin1String("Esame n. 2024 (Invio)"));
    click(Qt::Key_Return);
    EXPECT_TRUE(window.typedNumberText().isEmpty());
    EXPECT_TRUE(window.titleText().contains(QLatin1String("2024")));
    EXPECT_EQ(window.numberText(), QLatin1String("1/30"));
    EXPECT_EQ(session.run()->current().statement.Aff[0], first);
    // Esc first drops a number being typed, then closes.
    click(Qt::Key_5);
    click(Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(session.run()->draw().seed, 2024u);

    click(Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ExamWindowTest, TheTimeRunningOutRevealsTheAnswers)
{
    ASSERT_TRUE(session.start(8));
    click(Qt::Key_PageDown);
    for (int s = 0; s < kExamSeconds; ++s)
        session.tick();
    EXPECT_EQ(window.clockText(), QLatin1String("00:00"));
    EXPECT_FALSE(window.clockRunning());
    EXPECT_EQ(window.numberText(), QLatin1String("1/30"));
    EXPECT_FALSE(window.answerText().isEmpty());
    EXPECT_TRUE(window.titleText().startsWith(QLatin1String("Correzione")));
}

}  // namespace
}  // namespace ziro
