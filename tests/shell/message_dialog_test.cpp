#include "shell/message_dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace ziro {
namespace {

// A box asked for with no parent goes over the largest window on the
// screen, centred on it, and takes the keys: Return answers it.
TEST(MessageBoxDialogs, BoxesAreCentredOnTheLargestWindowAndTakeTheKeys)
{
    QWidget small;
    small.setGeometry(10, 10, 200, 100);
    small.show();
    QWidget presentation;
    presentation.setGeometry(300, 200, 900, 700);
    presentation.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&presentation));

    MessageBoxDialogs dialogs;
    QWidget* parent = nullptr;
    QPoint centre;
    bool focused = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        parent = box->parentWidget();
        centre = box->geometry().center();
        focused = QTest::qWaitFor([&] { return QApplication::focusWidget() && QApplication::focusWidget()->window() == box; }, 2000);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.askYesNo(QStringLiteral("Uscire?")), Dialogs::Answer::Yes);
    EXPECT_EQ(parent, &presentation);
    EXPECT_LE((centre - presentation.geometry().center()).manhattanLength(), 60);
    EXPECT_TRUE(focused);
}

}  // namespace
}  // namespace ziro
