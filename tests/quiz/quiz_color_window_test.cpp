#include "quiz/quiz_color_window.h"

#include "support/qt_printers.h"

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace ziro {
namespace {

class QuizColorWindowTest : public ::testing::Test {
protected:
    QuizColorWindowTest()
    {
        main.resize(640, 480);
        main.show();
        window = new TQuizColor(&main);
    }

    QColor shown(int role) const
    {
        const QWidget* w = window->sampleWidget(role);
        return w->palette().color(role <= 3 ? QPalette::Window : QPalette::WindowText);
    }

    QWidget main;
    TQuizColor* window = nullptr;
};

TEST_F(QuizColorWindowTest, ClickedSampleTakesTheBarsColour)
{
    QSignalSpy defaults(window, &TQuizColor::quizDefaultsRequested);
    window->open();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), QRect(170, 130, 300, 220)) << "centred on the main window";
    EXPECT_EQ(defaults.count(), 1);
    auto* info = window->findChild<QLabel*>(QStringLiteral("Info"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->text(), "Cliccare sul colore da modificare");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window->bar(i)->value(), 128);
        EXPECT_EQ(window->bar(i)->singleStep(), 5);
        EXPECT_EQ(window->bar(i)->pageStep(), 20);
        EXPECT_EQ(window->bar(i)->maximum(), 255);
    }

    QTest::mouseClick(window->sampleWidget(6), Qt::LeftButton);
    EXPECT_EQ(info->text(), "Carattere delle affermazioni attive");
    window->bar(1)->setValue(0);
    window->bar(2)->setValue(0);
    window->bar(0)->setValue(255);
    EXPECT_EQ(shown(6), QColor(255, 0, 0)) << "\"Affermazioni on\" turns pure red";

    QTest::mouseClick(window->sampleWidget(2), Qt::LeftButton);
    EXPECT_EQ(info->text(), "Sfondo dei box affermazione non attivi");
    window->bar(2)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(shown(2), QColor(255, 0, 5));
    EXPECT_EQ(shown(6), QColor(255, 0, 0)) << "the other sample keeps its colour";
}

TEST_F(QuizColorWindowTest, OkHandsOverTheSixColoursAndCancelNothing)
{
    QSignalSpy accepted(window, &TQuizColor::coloursAccepted);
    window->open();
    QTest::mouseClick(window->sampleWidget(3), Qt::LeftButton);
    window->bar(0)->setValue(10);
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("BtChiude")), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(accepted.count(), 0);

    window->open();
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("BtOK")), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(accepted.count(), 1);
    const auto texts = accepted.at(0).at(0).value<QuizColourTexts>();
    EXPECT_EQ(texts[2], "$0080800A") << "Color3 is the third sample";
    EXPECT_EQ(texts[0], "$00F0F0F0");
    EXPECT_EQ(texts[5], "clBlack");
}

}  // namespace
}  // namespace ziro
