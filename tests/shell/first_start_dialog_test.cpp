#include "shell/first_start_dialog.h"

#include "base/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace ziro {
namespace {

class RecordingDialogs : public Dialogs {
public:
    void message(const QString& text) override { messages << text; }
    Answer askYesNo(const QString&) override { return Answer::No; }
    Answer askYesNoIgnore(const QString&) override { return Answer::No; }
    QStringList messages;
};

// Answers the box that is about to open: clicks the named button, or
// presses Escape when the name is empty. Records the buttons it offered.
void answerNextBox(const QString& button, QStringList* offered)
{
    QTimer::singleShot(0, [button, offered] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), "FirstStartDialog");
        for (QAbstractButton* b : box->buttons())
            *offered << b->objectName();
        if (button.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        auto* chosen = box->findChild<QPushButton*>(button);
        ASSERT_NE(chosen, nullptr);
        chosen->click();
    });
}

TEST(FirstStartDialog, EachButtonGivesItsChoiceAndTheSampleOnlyWhenShipped)
{
    RecordingDialogs dialogs;
    FirstStartDialog dialog(dialogs);
    QStringList offered;

    answerNextBox("sample", &offered);
    EXPECT_EQ(dialog.ask("/srv/aula/", true), FirstStartChoice::Sample);
    EXPECT_EQ(offered.size(), 3);

    offered.clear();
    answerNextBox("empty", &offered);
    EXPECT_EQ(dialog.ask("/srv/aula/", false), FirstStartChoice::Empty);
    EXPECT_FALSE(offered.contains("sample"));

    offered.clear();
    answerNextBox({}, &offered);
    EXPECT_EQ(dialog.ask("/srv/aula/", true), FirstStartChoice::Quit);

    EXPECT_TRUE(FirstStartDialog::questionText("/srv/aula/", true).contains("'/srv/aula'"));
    dialog.tell("fatto");
    EXPECT_EQ(dialogs.messages, QStringList{"fatto"});
}

}  // namespace
}  // namespace ziro
