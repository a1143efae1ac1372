// The quiz window over a lesson stand-in: the grid, the keys, the all-answers
// button, the caption bar and its editing, and the fitted statement.

#include "quiz/quiz_window.h"

#include "bank_fixture.h"
#include "config/settings.h"
#include "content/edition.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace ziro {
namespace {

using test::row;

struct LightsHost : QuizHost {
    QStringList lights;
    void setLockLights(bool on) override { lights << (on ? QStringLiteral("on") : QStringLiteral("off")); }
};

class QuizWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.resize(640, 480);
        main.show();
        g.dirs.DirProgram = dir.path() + QLatin1Char('/');
        g.dirs.DirPicSgn = dir.path() + QLatin1Char('/');
        g.dirs.DirVideo = dir.path() + QLatin1Char('/');
        std::vector<BankRow> rows;
        const QString longText = QStringLiteral(
            "In presenza di questo segnale il conducente deve fermarsi sempre e comunque, anche quando "
            "non sopraggiungono veicoli dalla strada che incrocia, dare la precedenza a destra e a sinistra, "
            "e ripartire soltanto dopo essersi accertato che la manovra possa compiersi senza pericolo "
            "per alcuno, tenendo conto della visibilità, del traffico e delle condizioni della strada.");
        rows.push_back(row("17025", "1", true, QStringLiteral("Breve"), "", "1", "Fermarsi e dare precedenza"));
        rows.push_back(row("17025", "2", false, longText, "", "2", "Fermarsi e dare precedenza"));
        rows.push_back(row("17025", "3", true, QStringLiteral("Terza"), "", "3", "Fermarsi e dare precedenza"));
        test::writeBank(dir.filePath(QStringLiteral("NQM2016.XML")), rows);
        ASSERT_TRUE(CambiaEdizione(g, 1, &bank));
        bank.setPort(&session);
        window.attach(&session);
    }
    // Fixed order of three: 3, 2, 1.
    void open() { ASSERT_TRUE(session.CaricaDomanda(QStringLiteral("  17025"), 1)); }
    void click(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&window, Qt::Key(key), mods);
    }

    QWidget main;
    QTemporaryDir dir;
    Globals g;
    Config config;
    test::RecordingReports reports;
    test::ScriptedRandom random;
    QuizBank bank{g, config, reports, random};
    TQuiz window{&main};
    LightsHost host;
    QuizSession session{g, config, reports, bank, window, host};
};

TEST_F(QuizWindowTest, GridClicksKeysAndTheAnswersButton)
{
    open();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.statementText(), QStringLiteral("Terza"));

    QTest::mouseClick(window.grid(), Qt::LeftButton, {}, window.cellRect(3).center());
    EXPECT_EQ(session.Terni(), 3);
    EXPECT_EQ(window.statementText(), QStringLiteral("Breve"));
    QTest::mouseClick(window.grid(), Qt::LeftButton, {}, window.cellRect(15).center());
    EXPECT_EQ(session.Terni(), 3) << "an empty cell cannot be chosen";

    click(Qt::Key_Space);
    EXPECT_EQ(window.statementColour(), kQuizTrue);
    click(Qt::Key_Up);
    EXPECT_EQ(session.Terni(), 2);
    EXPECT_EQ(host.lights.back(), QStringLiteral("off"));

    QSignalSpy passed(&window, &TQuiz::keyPassed);
    click(Qt::Key_Right);
    ASSERT_EQ(passed.count(), 1);
    EXPECT_EQ(passed.at(0).at(0).toInt(), int(Qt::Key_Right));

    window.vfButton()->click();
    EXPECT_TRUE(session.ModoVF());
    EXPECT_EQ(window.statementColour(), kQuizFalse);

    window.closeButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host.lights.back(), QStringLiteral("off"));
    EXPECT_FALSE(g.DomandaON);
}

TEST_F(QuizWindowTest, LongStatementsShrinkToFitTheSameWayEveryTime)
{
    open();
    const int shortSize = window.statementPixelSize();
    session.gridClick(2);
    const int longSize = window.statementPixelSize();
    EXPECT_LT(longSize, shortSize);
    EXPECT_GE(longSize, 11);
    session.gridClick(1);
    session.gridClick(2);
    EXPECT_EQ(window.statementPixelSize(), longSize);
    session.gridClick(3);
    EXPECT_EQ(window.statementPixelSize(), shortSize);
}

TEST_F(QuizWindowTest, CaptionBarFontAndEditing)
{
    open();
    EXPECT_EQ(window.captionEdit()->text(), QStringLiteral("Fermarsi e dare precedenza"));
    EXPECT_EQ(window.captionEdit()->font().family(), QStringLiteral("Arial Narrow"));
    EXPECT_TRUE(window.captionEdit()->isReadOnly());

    config.EditTitoloBlocco = true;
    session.ChiudiQuiz();
    open();
    session.gridClick(2);
    ASSERT_FALSE(window.captionEdit()->isReadOnly());
    window.captionEdit()->setFocus();
    window.captionEdit()->setText(QStringLiteral("  Stop  "));
    QTest::keyClick(window.captionEdit(), Qt::Key_Return);
    EXPECT_EQ(session.Terni(), 2) << "the statement stays after the reload";
    EXPECT_EQ(session.current()->TitBlk, QStringLiteral("Stop"));
    EXPECT_EQ(window.captionEdit()->font().family(), QStringLiteral("Arial"));
}

}  // namespace
}  // namespace ziro
