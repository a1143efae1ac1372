#include "controls/auto_button_widget.h"
#include "controls/overlay_widget.h"
#include "shell/presentation_ui.h"
#include "support/large_screen.h"

#include <QGraphicsProxyWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

using ziro::test::kFilled;
using ziro::test::kScale;
using ziro::test::kScreen;
using ziro::test::onLargeScreen;
using ziro::test::onScreen;

// Records the presses, moves and releases it gets, in its own coordinates.
class Panel : public QWidget {
public:
    using QWidget::QWidget;
    QList<QPoint> presses, moves, releases;

protected:
    void mousePressEvent(QMouseEvent* e) override { presses << e->position().toPoint(); }
    void mouseMoveEvent(QMouseEvent* e) override { moves << e->position().toPoint(); }
    void mouseReleaseEvent(QMouseEvent* e) override { releases << e->position().toPoint(); }
};

// A picture of one-pixel black and white columns, as wide as the area it
// fills on the large screen: sampled from its own pixels the columns stay
// sharp; blown up from a 640 x 480 drawing they would melt into grey.
class Stripes : public QWidget {
public:
    using QWidget::QWidget;
    QImage picture;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), picture);
    }
};

// A stand-in for the program's 640 x 480 main window: a frameless top-level
// with a push button, a masked picture button, a text field, a panel that
// records mouse positions, a picture, and a pop-up menu of its own.
class Stage : public QWidget {
public:
    QPushButton* push = nullptr;
    TautoButton* round = nullptr;
    QLineEdit* edit = nullptr;
    Panel* panel = nullptr;
    Stripes* stripes = nullptr;
    QMenu* menu = nullptr;
    bool refuseClose = false;
    int closeQueries = 0;
    QList<QPoint> presses;  // presses that reached the window itself

    Stage() : QWidget(nullptr, Qt::FramelessWindowHint)
    {
        setFixedSize(640, 480);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
        setAutoFillBackground(true);

        push = new QPushButton(QStringLiteral("Avanti"), this);
        push->setGeometry(20, 20, 100, 30);

        // A 40 x 40 button whose shape is its left half.
        round = new TautoButton(this);
        QImage up(40, 40, QImage::Format_RGB32);
        up.fill(qRgb(0, 0, 255));
        QImage mask(40, 40, QImage::Format_RGB32);
        mask.fill(qRgb(0, 0, 0));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 20; ++x)
                mask.setPixel(x, y, qRgb(255, 255, 255));
        round->setBitMapUp(up);
        round->setBitMapMask(mask);
        round->move(200, 100);

        edit = new QLineEdit(this);
        edit->setGeometry(20, 300, 200, 30);

        panel = new Panel(this);
        panel->setGeometry(20, 360, 280, 100);

        stripes = new Stripes(this);
        stripes->setGeometry(320, 0, 320, 240);
        stripes->picture = QImage(720, 540, QImage::Format_RGB32);
        for (int y = 0; y < 540; ++y)
            for (int x = 0; x < 720; ++x)
                stripes->picture.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));

        menu = new QMenu(this);
        menu->addAction(QStringLiteral("Prima"));
        menu->addAction(QStringLiteral("Seconda"));
    }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        ++closeQueries;
        e->setAccepted(!refuseClose);
    }
    void mousePressEvent(QMouseEvent* e) override { presses << e->position().toPoint(); }
};

// The stage, presented filling the large screen.
struct Filled {
    Stage* stage = new Stage;
    QPointer<PresentationHost> host;

    Filled()
    {
        presentMain(stage, true);
        host = PresentationHost::of(stage);
    }
    ~Filled() { delete stage; }

    bool ready() const { return host && ziro::test::waitForWindowReady(host); }
    QWindow* window() const { return host->windowHandle(); }
    void click(QPointF surface, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(window(), button, {}, onScreen(surface));
    }
};

TEST(PresentationOnLargeScreen, CoversTheFourThirdsAreaCentredOnBlack)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    EXPECT_EQ(presentationWindow(f.stage), f.host.data());
    EXPECT_TRUE(f.host->isFullScreen());
    EXPECT_EQ(f.host->geometry(), kScreen);
    EXPECT_DOUBLE_EQ(f.host->scaleFactor(), kScale);
    EXPECT_EQ(f.host->contentRect(), kFilled);
    // The program still sees its own 640 x 480 window ...
    EXPECT_EQ(f.stage->size(), QSize(640, 480));
    EXPECT_EQ(f.stage->geometry().topLeft(), QPoint(0, 0));
    // ... and a child maps to where it really shows, and back.
    EXPECT_EQ(f.stage->round->mapToGlobal(QPoint(10, 10)), onScreen({210, 110}));
    EXPECT_EQ(f.stage->round->mapFromGlobal(onScreen({210, 110})), QPoint(10, 10));

    const QImage shot = f.host->grab().toImage();
    ASSERT_EQ(shot.size(), kScreen.size());
    for (const QPoint bar : {QPoint(0, 0), QPoint(239, 1079), QPoint(1680, 540), QPoint(1919, 0)})
        EXPECT_EQ(shot.pixel(bar), qRgb(0, 0, 0)) << bar.x() << "," << bar.y();
    EXPECT_EQ(shot.pixel(onScreen({150, 200})), qRgb(255, 255, 255));  // the stage's own white
    EXPECT_EQ(shot.pixel(onScreen({205, 120})), qRgb(0, 0, 255));      // the picture button

    // The picture is drawn from its own pixels at the screen's size: its
    // one-pixel columns are still there, black next to white.
    const QPoint corner = onScreen({320, 0});
    int sharp = 0;
    for (int x = 0; x < 700; ++x) {
        const int a = qGray(shot.pixel(corner + QPoint(x, 270)));
        const int b = qGray(shot.pixel(corner + QPoint(x + 1, 270)));
        sharp += std::abs(a - b) > 200;
    }
    EXPECT_GT(sharp, 690);
}

// A projector plugged in or taken away: the screen the presentation is on
// changes size, or the presentation lands on another screen. It fills its
// screen again either way.
TEST(PresentationOnLargeScreen, FillsItsScreenAgainWhenTheScreenChanges)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    QScreen* screen = f.host->windowHandle()->screen();
    ASSERT_TRUE(screen);
    for (const char* change : {"size", "screen"}) {
        SCOPED_TRACE(change);
        f.host->setGeometry(100, 100, 800, 600);
        ASSERT_NE(f.host->geometry(), kScreen);
        if (QByteArray(change) == "size")
            Q_EMIT screen->geometryChanged(screen->geometry());
        else
            Q_EMIT f.host->windowHandle()->screenChanged(screen);
        EXPECT_EQ(f.host->geometry(), kScreen);
        EXPECT_EQ(f.host->contentRect(), kFilled);
    }
}

TEST(PresentationOnLargeScreen, ClicksAtScreenPositionsReachTheControlUnderThem)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    QSignalSpy pushed(f.stage->push, &QPushButton::clicked);
    QSignalSpy rounds(f.stage->round, &TautoButton::onClick);
    QSignalSpy downs(f.stage->round, &TautoButton::onMouseDown);

    f.click({70, 35});
    EXPECT_EQ(pushed.count(), 1);

    // On the shape of the masked button; the position comes back in the
    // button's own pixels.
    f.click({210, 130});
    EXPECT_EQ(rounds.count(), 1);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(2).toPoint(), QPoint(10, 30));

    // On its see-through half the press goes to the window behind it.
    f.click({230, 130});
    EXPECT_EQ(rounds.count(), 1);
    EXPECT_EQ(f.stage->presses, QList<QPoint>{QPoint(230, 130)});

    // Outside the 4:3 area, on the black bars, nothing is hit.
    QTest::mouseClick(f.window(), Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseClick(f.window(), Qt::LeftButton, {}, QPoint(1800, 50));
    EXPECT_EQ(pushed.count(), 1);
    EXPECT_EQ(f.stage->presses.size(), 1);
}

TEST(PresentationOnLargeScreen, DraggingReportsSurfacePositions)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    Panel* panel = f.stage->panel;  // at (20, 360) on the surface
    QTest::mousePress(f.window(), Qt::LeftButton, {}, onScreen({30, 370}));
    QTest::mouseMove(f.window(), onScreen({130, 400}));
    QTest::mouseMove(f.window(), onScreen({290, 450}));
    // Past the panel's edge the panel keeps the mouse, as a drag should.
    QTest::mouseMove(f.window(), onScreen({400, 470}));
    QTest::mouseRelease(f.window(), Qt::LeftButton, {}, onScreen({400, 470}));

    EXPECT_EQ(panel->presses, QList<QPoint>{QPoint(10, 10)});
    ASSERT_GE(panel->moves.size(), 3);
    EXPECT_EQ(panel->moves.at(panel->moves.size() - 3), QPoint(110, 40));
    EXPECT_EQ(panel->moves.at(panel->moves.size() - 2), QPoint(270, 90));
    EXPECT_EQ(panel->moves.last(), QPoint(380, 110));
    EXPECT_EQ(panel->releases, QList<QPoint>{QPoint(380, 110)});
}

TEST(PresentationOnLargeScreen, KeyboardReachesTheFocusedControl)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    f.click({100, 315});  // into the text field
    EXPECT_TRUE(f.stage->edit->hasFocus());
    for (char c : {'v', 'i', 'a'})
        QTest::keyClick(f.window(), c);
    EXPECT_EQ(f.stage->edit->text(), QStringLiteral("via"));

    // The program's exit deletes its window while it shows and holds the
    // focus; the host goes with it.
    delete f.stage;
    f.stage = nullptr;
    EXPECT_TRUE(f.host.isNull());
}

TEST(PresentationOnLargeScreen, PopUpMenuShowsScaledInPlace)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    QMenu* menu = f.stage->menu;
    QSignalSpy chosen(menu, &QMenu::triggered);
    menu->popup(f.stage->mapToGlobal(QPoint(100, 150)));
    QTRY_VERIFY(menu->isVisible());

    // The menu is drawn inside the presentation, scaled, with its corner
    // where it was asked for.
    QGraphicsProxyWidget* proxy = menu->graphicsProxyWidget();
    ASSERT_NE(proxy, nullptr);
    const QRectF shown = f.host->mapFromScene(proxy->sceneBoundingRect()).boundingRect();
    EXPECT_EQ(shown.topLeft().toPoint(), onScreen({100, 150}));
    EXPECT_NEAR(shown.width(), menu->width() * kScale, 1.0);

    const QRect second = menu->actionGeometry(menu->actions().at(1));
    QTest::mouseClick(f.window(), Qt::LeftButton, {}, onScreen(QPointF(100, 150) + second.center()));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<QAction*>(), menu->actions().at(1));
    EXPECT_FALSE(menu->isVisible());
}

TEST(PresentationOnLargeScreen, SubmenuShowsBesideItsItem)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    // Made while the window is presented, as the program fills its
    // pop-up once the topic lists are loaded.
    QMenu* menu = f.stage->menu;
    QMenu* sub = menu->addMenu(QStringLiteral("Gruppo"));
    sub->addAction(QStringLiteral("Uno"));
    sub->addAction(QStringLiteral("Due"));
    QSignalSpy chosen(menu, &QMenu::triggered);
    menu->popup(f.stage->mapToGlobal(QPoint(100, 150)));
    QTRY_VERIFY(menu->isVisible());

    const QRect group = menu->actionGeometry(sub->menuAction());
    QTest::mouseClick(f.window(), Qt::LeftButton, {}, onScreen(QPointF(100, 150) + group.center()));
    QTRY_VERIFY(sub->isVisible());
    // Qt itself would place this one relative to the main window instead
    // of its menu.
    const QRectF shown = f.host->mapFromScene(sub->graphicsProxyWidget()->sceneBoundingRect()).boundingRect();
    const QPoint beside = onScreen(QPointF(100, 150) + group.topRight());
    EXPECT_NEAR(shown.left(), beside.x(), 3.0 * kScale);
    EXPECT_NEAR(shown.top(), beside.y(), 3.0 * kScale);

    const QRect two = sub->actionGeometry(sub->actions().at(1));
    QTest::mouseClick(f.window(), Qt::LeftButton, {},
                      (shown.topLeft() + QPointF(two.center()) * kScale).toPoint());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<QAction*>(), sub->actions().at(1));
    EXPECT_FALSE(menu->isVisible());
}

TEST(PresentationOnLargeScreen, ModalOverlayKeepsInputToItself)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());
    auto* overlay = new OverlayWindow(f.stage, QStringLiteral("TMenuGen"), QRect(300, 250, 200, 150));
    auto* ok = new QPushButton(QStringLiteral("OK"), overlay);
    ok->setGeometry(10, 10, 80, 30);
    QObject::connect(ok, &QPushButton::clicked, overlay, [overlay] { overlay->done(7); });
    QSignalSpy pushed(f.stage->push, &QPushButton::clicked);

    QTimer::singleShot(0, [&] {
        // A key the window leaves unused is spent, not bounced between it
        // and the window under it.
        QTest::keyClick(overlay, Qt::Key_X);
        f.click({70, 35});             // the push button, under the modal window
        f.click({300 + 50, 250 + 25});  // the overlay's own OK
    });
    EXPECT_EQ(overlay->execModal(), 7);
    EXPECT_EQ(pushed.count(), 0);
}

TEST(PresentationOnLargeScreen, ClosingFollowsTheMainWindowsCloseQuery)
{
    if (!onLargeScreen())
        return;
    Filled f;
    ASSERT_TRUE(f.ready());

    // Closing the host (Alt+F4) asks the window, which may refuse.
    f.stage->refuseClose = true;
    f.host->close();
    EXPECT_EQ(f.stage->closeQueries, 1);
    EXPECT_TRUE(f.host->isVisible());
    EXPECT_TRUE(f.stage->isVisible());

    f.stage->refuseClose = false;
    f.host->close();
    EXPECT_EQ(f.stage->closeQueries, 2);
    EXPECT_FALSE(f.host->isVisible());
    EXPECT_FALSE(f.stage->isVisible());

    // Shown again, the window comes back filling the screen; when it closes
    // itself the host goes with it.
    presentMain(f.stage, true);
    EXPECT_EQ(PresentationHost::of(f.stage), f.host.data());
    EXPECT_TRUE(f.host->isVisible());
    f.stage->refuseClose = true;
    EXPECT_FALSE(f.stage->close());
    EXPECT_TRUE(f.host->isVisible());
    f.stage->refuseClose = false;
    EXPECT_TRUE(f.stage->close());
    EXPECT_FALSE(f.host->isVisible());
    EXPECT_EQ(f.stage->closeQueries, 4);

    // Destroying the window destroys its host.
    delete f.stage;
    f.stage = nullptr;
    EXPECT_TRUE(f.host.isNull());
}

TEST(PresentationOnLargeScreen, WithoutFillingTheWindowStaysSixFortyByFourEightyCentred)
{
    if (!onLargeScreen())
        return;
    Stage stage;
    presentMain(&stage, false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stage));
    EXPECT_EQ(PresentationHost::of(&stage), nullptr);
    EXPECT_EQ(presentationWindow(&stage), &stage);
    EXPECT_TRUE(stage.isWindow());
    EXPECT_FALSE(stage.isFullScreen());
    EXPECT_EQ(stage.geometry(), ziro::test::placed(stage, QRect(640, 300, 640, 480)));

    QSignalSpy pushed(stage.push, &QPushButton::clicked);
    QTest::mouseClick(stage.windowHandle(), Qt::LeftButton, {}, QPoint(70, 35));
    EXPECT_EQ(pushed.count(), 1);

    // Asked to fill the screen later, the window moves into a host and no
    // longer shows on its own.
    presentMain(&stage, true);
    PresentationHost* host = PresentationHost::of(&stage);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host));
    EXPECT_TRUE(stage.isVisible());
    EXPECT_FALSE(stage.windowHandle()->isVisible());
    QTest::mouseClick(host->windowHandle(), Qt::LeftButton, {}, onScreen({70, 35}));
    EXPECT_EQ(pushed.count(), 2);

    // And back to a window of its own.
    QPointer<PresentationHost> gone(host);
    presentMain(&stage, false);
    EXPECT_TRUE(gone.isNull());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stage));
    EXPECT_EQ(stage.geometry(), ziro::test::placed(stage, QRect(640, 300, 640, 480)));
}

TEST(Presentation, DestroyingTheHostGivesTheWindowBack)
{
    Stage stage;
    auto* host = new PresentationHost(&stage);
    EXPECT_EQ(PresentationHost::of(&stage), host);
    delete host;
    EXPECT_EQ(PresentationHost::of(&stage), nullptr);
    EXPECT_EQ(stage.graphicsProxyWidget(), nullptr);
    EXPECT_TRUE(stage.isWindow());
    EXPECT_TRUE(stage.isHidden());
}

}  // namespace

