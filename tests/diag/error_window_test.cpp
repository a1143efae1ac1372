#include "diag/error_window.h"

#include "base/globals.h"
#include "support/fakes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

void sendKey(QWidget* w, QEvent::Type type, int key)
{
    QKeyEvent e(type, key, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void keyPress(QWidget* w, int key) { sendKey(w, QEvent::KeyPress, key); }
void keyRelease(QWidget* w, int key) { sendKey(w, QEvent::KeyRelease, key); }
void keyClick(QWidget* w, int key)
{
    keyPress(w, key);
    keyRelease(w, key);
}
void mousePress(QWidget* w, Qt::MouseButton button)
{
    const QPointF at(10, 10);
    QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The main window as far as reports go: it keeps the key releases it gets.
class MainStandIn : public QWidget {
public:
    std::vector<int> released;

protected:
    void keyReleaseEvent(QKeyEvent* e) override { released.push_back(e->key()); }
};

struct Host : ReportHost {
    bool overMenu = false;
    bool menuOrConfigVisible() const override { return overMenu; }
};

class ErrorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.ProgramFile = QStringLiteral("/opt/ziro/Program/ziro");
        main.resize(640, 480);
        main.setFocusPolicy(Qt::StrongFocus);
        main.show();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        main.setFocus();
        reporter = std::make_unique<Reporter>(g);
        win = std::make_unique<TFError>(&main, *reporter, g, dialogs, host);
    }
    void TearDown() override { win.reset(); }

    QPushButton* button(const char* name) { return win->findChild<QPushButton*>(QLatin1String(name)); }
    // Clicks `name` once the modal run has started.
    void clickLater(const char* name)
    {
        QTimer::singleShot(0, win.get(), [this, name] {
            ranModal = win->isModalRunning();
            button(name)->click();
        });
    }

    Globals g;
    MainStandIn main;
    ziro::test::FakeDialogs dialogs;
    Host host;
    std::unique_ptr<Reporter> reporter;
    std::unique_ptr<TFError> win;
    std::vector<int>& forwarded = main.released;
    bool ranModal = false;
};

}  // namespace

TEST_F(ErrorWindowTest, NoticeDoesNotBlockAndAKeyPressClosesItForTheMainWindow)
{
    reporter->Emsg(ReportKind::Notice, QStringLiteral("Fine lezione"), QStringLiteral("Premere un tasto"));
    ASSERT_TRUE(win->isVisible());  // Emsg returned while the notice is up
    EXPECT_EQ(win->mode(), TFError::Mode::Notice);
    EXPECT_EQ(win->size(), QSize(375, Hgh));
    EXPECT_EQ(win->pos(), QPoint(131, 156));
    EXPECT_EQ(win->riga2(), QStringLiteral("Premere un tasto"));
    EXPECT_FALSE(button("Eski")->isVisible());
    ASSERT_TRUE(win->hasFocus());

    // The press closes it; the release reaches the window it covered, once.
    keyPress(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(forwarded.empty());
    keyRelease(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(forwarded, std::vector<int>{Qt::Key_Right});

    // Enter closes on its release, which goes nowhere else; a click closes too.
    reporter->Emsg(ReportKind::AtStart, QStringLiteral("Ultima pagina"), QString());
    keyPress(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(win->isVisible());
    keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(win->isVisible());
    reporter->Emsg(ReportKind::AtEnd, QStringLiteral("Prima pagina"), QString());
    mousePress(win.get(), Qt::RightButton);
    EXPECT_FALSE(win->isVisible());
    EXPECT_EQ(forwarded.size(), 1u);
}

TEST_F(ErrorWindowTest, ModalReportClosesOnAKeyPressAndTheKeyActsOnce)
{
    QTimer::singleShot(0, win.get(), [&] {
        ranModal = win->isModalRunning();
        keyPress(QApplication::focusWidget(), Qt::Key_Left);
    });
    reporter->Emsg(ReportKind::BadNumber, QStringLiteral("La figura digitata non esiste"), QString());
    // Emsg returned at the press: the caller's step ends before the key's own.
    EXPECT_TRUE(ranModal);
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(forwarded.empty());
    keyRelease(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(forwarded, std::vector<int>{Qt::Key_Left});
}

TEST_F(ErrorWindowTest, NoticeClosesWhenTheFocusLeavesIt)
{
    main.activateWindow();
    QApplication::processEvents();
    if (!main.isActiveWindow())
        GTEST_SKIP() << "the platform gives no active window";
    reporter->Emsg(ReportKind::Notice, QStringLiteral("ctx"), QStringLiteral("n"));
    ASSERT_TRUE(win->hasFocus());
    main.setFocus();
    EXPECT_FALSE(win->isVisible());
}

TEST_F(ErrorWindowTest, ClickOnTheMainWindowClosesANotice)
{
    reporter->Emsg(ReportKind::AtStart, QStringLiteral("ctx"), QString());
    mousePress(&main, Qt::LeftButton);
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(forwarded.empty());
}

TEST_F(ErrorWindowTest, ModalReportBlocksUntilOk)
{
    host.overMenu = true;
    bool seenWhileOpen = false;
    QTimer::singleShot(0, win.get(), [&] {
        ranModal = win->isModalRunning();
        seenWhileOpen = win->isVisible() && win->pos() == QPoint(89, 191)
            && win->riga1() == QStringLiteral("Errore, Apertura DB");
        button("BtOK")->click();
    });
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("Apertura DB"), QStringLiteral("AB.DB"));
    EXPECT_TRUE(ranModal);
    EXPECT_TRUE(seenWhileOpen);
    EXPECT_FALSE(win->isVisible());
}

TEST_F(ErrorWindowTest, ConfirmationAnswers)
{
    clickLater("Eski");
    EXPECT_FALSE(reporter->Conferma(QStringLiteral("Si vuole terminare il programma?"),
                                    QStringLiteral("Premere OK per uscire.")));
    EXPECT_TRUE(ranModal);
    EXPECT_FALSE(win->isVisible());

    clickLater("BtOK");
    EXPECT_TRUE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));

    // Keys and clicks on the window don't answer; Escape cancels.
    QTimer::singleShot(0, win.get(), [this] {
        EXPECT_EQ(win->size(), QSize(545, Hgh));
        keyClick(win.get(), Qt::Key_Space);
        mousePress(win.get(), Qt::LeftButton);
        EXPECT_TRUE(win->isModalRunning());
        keyClick(win.get(), Qt::Key_Escape);
    });
    EXPECT_FALSE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));
    EXPECT_TRUE(forwarded.empty());
}

TEST_F(ErrorWindowTest, DebugUtilityStaysOpenUntilOk)
{
    g.ModoDebug = true;
    bool unticked = false;
    QObject::connect(reporter.get(), &Reporter::debugModeLeft, [&] { unticked = true; });

    reporter->Debug(QStringLiteral("Filtro tabella"), QStringLiteral("A1"));
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("ctx"), QStringLiteral("a"));
    EXPECT_EQ(win->mode(), TFError::Mode::Debug);
    EXPECT_EQ(win->size(), QSize(545, 260));
    EXPECT_EQ(win->riga1(), QStringLiteral("Errore, ctx"));
    mousePress(win.get(), Qt::LeftButton);
    keyClick(win.get(), Qt::Key_X);
    EXPECT_TRUE(win->isVisible());

    button("Test")->click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown.first().startsWith(QStringLiteral("Variabili globali:\r")));

    // A question while the utility is open still waits for its answer.
    clickLater("Eski");
    EXPECT_FALSE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));
    EXPECT_TRUE(ranModal);
    EXPECT_TRUE(g.ModoDebug);

    reporter->Debug(QStringLiteral("again"), QString());
    button("BtOK")->click();
    EXPECT_FALSE(win->isVisible());
    EXPECT_FALSE(g.ModoDebug);
    EXPECT_TRUE(unticked);
}

// A report made while the program is still being built (the main window not
// yet shown) does not run a modal loop nobody could see and answer: it
// waits, and comes up once the main window is on the screen.
TEST_F(ErrorWindowTest, AReportBeforeTheMainWindowShowsWaitsForIt)
{
    MainStandIn hidden;
    hidden.resize(640, 480);
    TFError early(&hidden, *reporter, g, dialogs, host);
    reporter->setView(&early);
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("Caricamento Items menù"), QStringLiteral("NJ0.TXT"));
    EXPECT_FALSE(early.isVisible());  // returned at once

    QTimer::singleShot(0, &early, [&] {
        ranModal = early.isModalRunning();
        early.findChild<QPushButton*>(QStringLiteral("BtOK"))->click();
    });
    hidden.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&hidden));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ranModal; }, 2000));
    EXPECT_EQ(early.riga2(), QStringLiteral("Il file NJ0.TXT non esiste"));
    reporter->setView(win.get());
}
