// The note window over a lesson stand-in: shown modally, opened by a
// double-click, stored by Esc, closed by OK; keys pass to the lesson only
// while the note is not being corrected.

#include "viewers/tv_testo_window.h"

#include "base/reports.h"
#include "viewers/note_viewer.h"
#include "viewers/photo.h"
#include "support/memory_table.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ziro;
using ziro::test::MemoryTable;

namespace {

class TVTestoWindowTest : public ::testing::Test {
protected:
    TVTestoWindowTest() : window(&main), note(table, reports)
    {
        table.fields[QStringLiteral("Testo")] = QStringLiteral("Strada bagnata");
        main.resize(640, 480);
        main.show();
        window.attach(&note);
        QObject::connect(&window, &TTVtesto::keyPassed, [this](int key, Qt::KeyboardModifiers) { passed << key; });
        QObject::connect(&window, &TTVtesto::beepRequested, [this] { ++beeps; });
        QObject::connect(&window, &TTVtesto::closedNote, [this] { ++closed; });
    }

    // Shows the note and runs `inside` while it is up.
    void showNote(const std::function<void()>& inside)
    {
        bool ran = false;
        QTimer::singleShot(0, &window, [&] {
            ran = true;
            inside();
            if (window.isVisible())
                window.done(0);
        });
        window.showNote(true);
        EXPECT_TRUE(ran);
    }

    QWidget main;
    MemoryTable table;
    NullReports reports;
    TTVtesto window;
    NoteEditor note;
    QList<int> passed;
    int beeps = 0;
    int closed = 0;
};

TEST_F(TVTestoWindowTest, ADoubleClickOpensTheNoteAndEscStoresIt)
{
    showNote([&] {
        EXPECT_EQ(window.geometry(), QRect(71, 95, 498, 223));
        EXPECT_EQ(window.noteLabel()->text(), QStringLiteral("Strada bagnata"));
        EXPECT_FALSE(window.box()->isVisible());
        QTest::keyClick(&window, Qt::Key_Right);
        EXPECT_EQ(passed, QList<int>{Qt::Key_Right});

        QTest::mouseDClick(window.noteLabel(), Qt::LeftButton);
        ASSERT_TRUE(window.box()->isVisible());
        EXPECT_TRUE(window.notice()->isVisible());
        EXPECT_TRUE(window.noteLabel()->text().isEmpty());
        QTest::keyClicks(window.box(), QStringLiteral(", rallentare"));
        QTest::keyClick(window.box(), Qt::Key_Right);
        EXPECT_EQ(passed.size(), 1);  // typing moves no lesson
        QTest::keyClick(window.box(), Qt::Key_Escape);
        EXPECT_FALSE(window.box()->isVisible());
        EXPECT_EQ(table.fields[QStringLiteral("Testo")], QStringLiteral("Strada bagnata, rallentare"));
        EXPECT_EQ(window.noteLabel()->text(), QStringLiteral("Strada bagnata, rallentare"));
        EXPECT_TRUE(window.isVisible());
        // Esc again closes.
        EXPECT_EQ(closed, 0);
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_EQ(closed, 1);
    });
    EXPECT_EQ(table.saves, 1);
}

TEST_F(TVTestoWindowTest, TheBoxStopsAt255AndClosingStoresACorrectionUnderWay)
{
    showNote([&] {
        QTest::mouseDClick(window.noteLabel(), Qt::LeftButton);
        window.box()->selectAll();
        QTest::keyClicks(window.box(), QString(260, u'x'));
        EXPECT_EQ(window.box()->toPlainText().size(), NoteEditor::kMaxLength);
        EXPECT_EQ(beeps, 5);
        // Closed by anything but OK: the correction is still stored.
        window.done(0);
    });
    EXPECT_EQ(table.fields[QStringLiteral("Testo")], QString(NoteEditor::kMaxLength, u'x'));
}

TEST_F(TVTestoWindowTest, OkStoresWhileCorrectingAndClosesOtherwise)
{
    showNote([&] {
        QTest::mouseDClick(window.noteLabel(), Qt::LeftButton);
        window.box()->setPlainText(QStringLiteral("Nebbia"));
        QPushButton* ok = window.findChild<QPushButton*>(QStringLiteral("BitBtn1"));
        ASSERT_TRUE(ok);
        ok->click();
        EXPECT_EQ(table.fields[QStringLiteral("Testo")], QStringLiteral("Nebbia"));
        EXPECT_EQ(closed, 0);
        ok->click();
        EXPECT_EQ(closed, 1);
    });
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
