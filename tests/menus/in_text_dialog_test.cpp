#include "menus/in_text_dialog.h"

#include "menus/text_input.h"
#include "support/fakes.h"
#include "support/qt_printers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace ziro;

namespace {

class InTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.resize(640, 480);
        main.show();
        dlg = std::make_unique<TInText>(&main, system);
    }

    // Runs `during` once the modal question is up, then asks.
    QString askWith(std::function<void()> during, const QString& initial = QString())
    {
        const int run = ++runs;
        QTimer::singleShot(0, dlg.get(), [this, during, run] {
            ranModal = dlg->isModalRunning();
            during();
            // A question the action left open is ended here (a closed one is
            // still unwinding its loop, so look once that has had its turn).
            QTimer::singleShot(0, dlg.get(), [this, run] {
                if (run == runs && dlg->isModalRunning()) {
                    stillOpen = true;
                    dlg->cancelButton()->click();
                }
            });
        });
        const QString answer = dlg->kxQuery(QStringLiteral("Nuova lezione"),
                                            QStringLiteral("Nome della lezione:"), initial);
        ++runs;  // the fallback above belongs to this run only
        return answer;
    }

    QWidget main;
    std::unique_ptr<TInText> dlg;
    ziro::test::FakeSystem system;
    const int& beeps = system.beeps;
    bool ranModal = false;
    bool stillOpen = false;
    int runs = 0;
};

}  // namespace

TEST_F(InTextTest, ShowsTheQuestionWithTheInitialTextSelected)
{
    QString caption, prompt, selected;
    QPoint pos;
    const QString answer = askWith([&] {
        caption = dlg->windowTitle();
        prompt = dlg->prompt()->text();
        selected = dlg->edit()->selectedText();
        pos = dlg->pos();
        EXPECT_EQ(dlg->focusWidget(), dlg->edit());
        dlg->okButton()->click();
    }, QStringLiteral("Lezione 2"));
    EXPECT_TRUE(ranModal);
    EXPECT_EQ(caption, QStringLiteral("Nuova lezione"));
    EXPECT_EQ(prompt, QStringLiteral("Nome della lezione:"));
    EXPECT_EQ(selected, QStringLiteral("Lezione 2"));
    EXPECT_EQ(pos, QPoint(75, 200));
    EXPECT_EQ(dlg->size(), QSize(490, 80));
    EXPECT_EQ(answer, QStringLiteral("Lezione 2"));
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(dlg->edit()->text().isEmpty());  // emptied for the next use
}

TEST_F(InTextTest, TypedNameComesBackTrimmedWithOnlyItsFirstLetterUpperCased)
{
    const QString answer = askWith([&] {
        QTest::keyClicks(dlg->edit(), QStringLiteral("  mARIO rossi  "));
        QTest::keyClick(dlg->edit(), Qt::Key_Return);
    });
    EXPECT_FALSE(stillOpen);
    EXPECT_EQ(answer, QStringLiteral("Mario rossi"));
    EXPECT_EQ(beeps, 0);
}

TEST_F(InTextTest, RefusesNonNameKeysAndATwentyFourthCharacter)
{
    QString field;
    const QString answer = askWith([&] {
        QTest::keyClicks(dlg->edit(), QStringLiteral("a.b"));
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Egrave, Qt::NoModifier, QStringLiteral("\u00e8"));
        QApplication::sendEvent(dlg->edit(), &accented);
        QTest::keyClicks(dlg->edit(), QStringLiteral("c{|}-_ 9"));
        EXPECT_EQ(dlg->edit()->text(), QStringLiteral("abc{|}-_ 9"));
        EXPECT_EQ(beeps, 2);
        QTest::keyClick(dlg->edit(), Qt::Key_Backspace);
        dlg->edit()->clear();
        QTest::keyClicks(dlg->edit(), QString(24, QLatin1Char('z')));
        field = dlg->edit()->text();
        dlg->okButton()->click();
    });
    EXPECT_EQ(field.size(), kNameLength + 1);
    EXPECT_EQ(beeps, 3);
    EXPECT_EQ(answer, QStringLiteral("Z") + QString(kNameLength - 1, QLatin1Char('z')));
}

TEST_F(InTextTest, TypingOverTheSelectedInitialTextIsNotCountedAgainstTheLength)
{
    const QString answer = askWith([&] {
        QTest::keyClicks(dlg->edit(), QStringLiteral("x"));
        dlg->okButton()->click();
    }, QString(23, QLatin1Char('q')));
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(answer, QStringLiteral("X"));
}

TEST_F(InTextTest, CancelEscapeAndEmptyFieldAnswerNothing)
{
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Annulla", [&] { dlg->cancelButton()->click(); }},
        {"Esc", [&] { QTest::keyClick(dlg->edit(), Qt::Key_Escape); }},
        {"OK on blanks", [&] {
             dlg->edit()->setText(QStringLiteral("   "));
             dlg->okButton()->click();
         }},
    };
    for (const auto& [what, action] : ways) {
        SCOPED_TRACE(what);
        stillOpen = false;
        EXPECT_TRUE(askWith(action, QStringLiteral("Vecchio")).isEmpty());
        EXPECT_FALSE(stillOpen);
        EXPECT_FALSE(dlg->isVisible());
    }
}

TEST_F(InTextTest, PastedForbiddenTextBeepsAndKeepsTheQuestionOpen)
{
    bool openAfterRefusal = false;
    const QString answer = askWith([&] {
        dlg->edit()->setText(QStringLiteral("../etc"));
        dlg->okButton()->click();
        openAfterRefusal = dlg->result() == 0;  // OK did not end the run
        dlg->edit()->setText(QStringLiteral("corso serale"));
        dlg->okButton()->click();
    });
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(answer, QStringLiteral("Corso serale"));
}
