#include "controls/stretch_handle_widget.h"

#include "controls/fused_label_widget.h"
#include "shell/presentation_ui.h"
#include "support/qt_printers.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

using namespace ziro;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}
QT_END_NAMESPACE

namespace {

// A white surface that counts the presses and keys that reach it.
class Surface : public QWidget {
public:
    int presses = 0;
    int keys = 0;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::white); }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

// A 100 x 40 caption at (50, 60), its handle at (48, 58)
// of 105 x 45.
const QRect kCaption(50, 60, 100, 40);
const QRect kHandle(48, 58, 105, 45);

class StretchHandleWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        surface.resize(640, 480);
        caption = new TFusedLabel(&surface);
        caption->setGeometry(kCaption);
        caption->setText(QStringLiteral("Testo..."));
        caption->setTransparent(true);
        handle = new TStretchHandle(&surface);
        handle->setColor(Qt::blue);
        surface.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
    }

    QWindow* window() { return surface.windowHandle(); }

    // A left-button drag through the window, in the surface's coordinates.
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(window(), Qt::LeftButton, {}, from);
        QTest::mouseMove(window(), (from + to) / 2);
        QTest::mouseMove(window(), to);
        QTest::mouseRelease(window(), Qt::LeftButton, {}, to);
    }

    Surface surface;
    TFusedLabel* caption = nullptr;
    TStretchHandle* handle = nullptr;
};

TEST_F(StretchHandleWidgetTest, CreatedSmallDisabledAndHidden)
{
    EXPECT_EQ(handle->size(), QSize(24, 24));
    EXPECT_FALSE(handle->isEnabled());
    EXPECT_TRUE(handle->isHidden());
    EXPECT_FALSE(handle->Attached());
    EXPECT_EQ(handle->Children(0), nullptr);
}

TEST_F(StretchHandleWidgetTest, AttachingLaysTheHandleAroundTheControl)
{
    ASSERT_TRUE(handle->Attach(caption));
    EXPECT_EQ(handle->geometry(), kHandle);
    EXPECT_TRUE(handle->isVisible());
    EXPECT_TRUE(handle->isEnabled());
    EXPECT_EQ(handle->ChildCount(), 1);
    EXPECT_EQ(handle->Children(0), caption);
    EXPECT_EQ(handle->Children(1), nullptr);
    EXPECT_EQ(handle->Children(-1), nullptr);
    EXPECT_EQ(handle->IndexOf(caption), 0);
    EXPECT_TRUE(handle->hasFocus());
    // In front of the control, so it takes the presses on it.
    EXPECT_EQ(surface.childAt(kCaption.center()), handle);

    // Attaching it again changes nothing.
    ASSERT_TRUE(handle->Attach(caption));
    EXPECT_EQ(handle->ChildCount(), 1);
}

TEST_F(StretchHandleWidgetTest, AWindowCannotBeAttached)
{
    QWidget form;
    EXPECT_FALSE(handle->Attach(&form));
    EXPECT_EQ(handle->errorString(), QStringLiteral("Handles can not be attached to a Form!"));
    EXPECT_FALSE(handle->Attached());
    EXPECT_TRUE(handle->Attach(nullptr)) << "a null control is no failure";
    EXPECT_FALSE(handle->Attached());
}

TEST_F(StretchHandleWidgetTest, ASecondControlGrowsTheHandleToTheUnion)
{
    auto* other = new QWidget(&surface);
    other->setGeometry(200, 150, 30, 20);
    other->show();
    ASSERT_TRUE(handle->Attach(caption));
    ASSERT_TRUE(handle->Attach(other));
    EXPECT_EQ(handle->geometry(), QRect(48, 58, 230 - 48 + 3, 170 - 58 + 3));
    EXPECT_EQ(handle->ChildCount(), 2);

    handle->ReleaseChild(caption);
    EXPECT_EQ(handle->geometry(), QRect(198, 148, 35, 25));
    EXPECT_EQ(handle->ChildCount(), 1);
    handle->ReleaseChild(other);
    EXPECT_FALSE(handle->Attached());
    EXPECT_TRUE(handle->isHidden());
    EXPECT_FALSE(handle->isEnabled());
}

TEST_F(StretchHandleWidgetTest, AControlOfAnotherParentDetachesTheOthers)
{
    QWidget panel(&surface);
    panel.setGeometry(300, 300, 200, 100);
    auto* inPanel = new QWidget(&panel);
    inPanel->setGeometry(10, 10, 50, 20);
    panel.show();
    ASSERT_TRUE(handle->Attach(caption));
    ASSERT_TRUE(handle->Attach(inPanel));
    EXPECT_EQ(handle->ChildCount(), 1);
    EXPECT_EQ(handle->Children(0), inPanel);
    EXPECT_EQ(handle->parentWidget(), &panel);
    EXPECT_EQ(handle->geometry(), QRect(8, 8, 55, 25));
    handle->Detach();
    handle->setParent(&surface);
}

TEST_F(StretchHandleWidgetTest, DraggingMovesTheControlAndFiresOnMovedOnce)
{
    ASSERT_TRUE(handle->Attach(caption));
    QSignalSpy moved(handle, &TStretchHandle::OnMoved);

    QTest::mousePress(window(), Qt::LeftButton, {}, QPoint(100, 80));
    EXPECT_TRUE(handle->dragging());
    QTest::mouseMove(window(), QPoint(105, 90));
    QTest::mouseMove(window(), QPoint(110, 95));
    // The outline shows where the control will go; nothing has moved yet.
    ASSERT_NE(handle->dragOutline(), nullptr);
    EXPECT_TRUE(handle->dragOutline()->isVisible());
    EXPECT_EQ(handle->dragOutline()->geometry(), kCaption.translated(10, 15));
    EXPECT_EQ(caption->geometry(), kCaption);
    EXPECT_EQ(moved.count(), 0);

    QTest::mouseRelease(window(), Qt::LeftButton, {}, QPoint(110, 95));
    EXPECT_FALSE(handle->dragging());
    EXPECT_EQ(caption->geometry(), kCaption.translated(10, 15));
    EXPECT_EQ(handle->geometry(), kHandle.translated(10, 15));
    EXPECT_EQ(handle->dragOutline(), nullptr);
    EXPECT_EQ(moved.count(), 1);

    drag(QPoint(110, 95), QPoint(90, 70));
    EXPECT_EQ(caption->geometry(), kCaption.translated(-10, -10));
    EXPECT_EQ(moved.count(), 2);
}

TEST_F(StretchHandleWidgetTest, AHorizontalDragMovesWithoutOnMoved)
{
    ASSERT_TRUE(handle->Attach(caption));
    QSignalSpy moved(handle, &TStretchHandle::OnMoved);
    drag(QPoint(100, 80), QPoint(130, 80));
    EXPECT_EQ(caption->geometry(), kCaption.translated(30, 0));
    EXPECT_EQ(moved.count(), 0);
    // Released where it was pressed: nothing at all.
    drag(QPoint(100, 80), QPoint(100, 80));
    EXPECT_EQ(caption->geometry(), kCaption.translated(30, 0));
    EXPECT_EQ(moved.count(), 0);
}

TEST_F(StretchHandleWidgetTest, ThePointerIsHeldInsideTheParent)
{
    ASSERT_TRUE(handle->Attach(caption));
    // Dragged to beyond the bottom-right corner: the point counts as the
    // parent's last pixel (639, 479).
    QTest::mousePress(window(), Qt::LeftButton, {}, QPoint(100, 80));
    QTest::mouseMove(window(), QPoint(700, 500));
    ASSERT_NE(handle->dragOutline(), nullptr);
    EXPECT_EQ(handle->dragOutline()->geometry(), kCaption.translated(539, 399));
    QTest::mouseRelease(window(), Qt::LeftButton, {}, QPoint(700, 500));
    EXPECT_EQ(caption->geometry(), kCaption.translated(539, 399));
}

TEST_F(StretchHandleWidgetTest, TheSquaresResizeTheControl)
{
    ASSERT_TRUE(handle->Attach(caption));
    QSignalSpy moved(handle, &TStretchHandle::OnMoved);

    // The bottom-right square sits on the control's bottom-right corner.
    drag(QPoint(150, 100), QPoint(170, 110));
    EXPECT_EQ(caption->geometry(), QRect(50, 60, 120, 50));
    EXPECT_EQ(handle->geometry(), QRect(48, 58, 125, 55));

    // The top-left square: left and top follow (less the handle's lead of 2), the
    // bottom-right corner stays.
    drag(QPoint(50, 60), QPoint(60, 70));
    EXPECT_EQ(caption->geometry(), QRect(58, 68, 112, 42));

    // The right edge's middle square: only the width changes.
    const QRect before = caption->geometry();
    drag(QPoint(before.x() + before.width(), before.y() + before.height() / 2),
         QPoint(before.x() + before.width() - 30, 10));
    EXPECT_EQ(caption->geometry(), QRect(before.x(), before.y(), before.width() - 30, before.height()));
    EXPECT_EQ(moved.count(), 0) << "resizing never fires OnMoved";
}

TEST_F(StretchHandleWidgetTest, ASquareDraggedPastTheOppositeEdgeLeavesOnePixel)
{
    ASSERT_TRUE(handle->Attach(caption));
    drag(QPoint(150, 100), QPoint(5, 5));
    EXPECT_EQ(caption->geometry(), QRect(50, 60, 1, 1));
    EXPECT_EQ(handle->geometry(), QRect(48, 58, 6, 6));
}

TEST_F(StretchHandleWidgetTest, TheHoverCursorNamesTheSquare)
{
    ASSERT_TRUE(handle->Attach(caption));
    QTest::mouseMove(window(), QPoint(150, 100));
    EXPECT_EQ(handle->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(window(), QPoint(100, 60));
    EXPECT_EQ(handle->cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(window(), QPoint(50, 80));
    EXPECT_EQ(handle->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(window(), QPoint(150, 60));
    EXPECT_EQ(handle->cursor().shape(), Qt::SizeBDiagCursor);
    QTest::mouseMove(window(), QPoint(90, 75));
    EXPECT_EQ(handle->cursor().shape(), Qt::SizeAllCursor);
    handle->setLocked(true);
    QTest::mouseMove(window(), QPoint(91, 75));
    EXPECT_EQ(handle->cursor().shape(), Qt::ForbiddenCursor);
}

TEST_F(StretchHandleWidgetTest, TheGridSnapsTheMove)
{
    ASSERT_TRUE(handle->Attach(caption));
    handle->setSnapToGrid(true);
    EXPECT_EQ(handle->gridX(), 8);
    // The handle's left 48 + 23 = 71 snaps to 64, its top 58 + 15 = 73 to 72.
    drag(QPoint(100, 80), QPoint(123, 95));
    EXPECT_EQ(handle->geometry().topLeft(), QPoint(64, 72));
    EXPECT_EQ(caption->geometry(), QRect(66, 74, 100, 40));
}

TEST_F(StretchHandleWidgetTest, ArrowKeysNudgeByOnePixel)
{
    ASSERT_TRUE(handle->Attach(caption));
    QSignalSpy moved(handle, &TStretchHandle::OnMoved);
    QSignalSpy keys(handle, &TStretchHandle::OnKeyDown);
    handle->setSnapToGrid(true);  // keys move by a pixel all the same

    QTest::keyClick(handle, Qt::Key_Right);
    QTest::keyClick(handle, Qt::Key_Right);
    QTest::keyClick(handle, Qt::Key_Down);
    EXPECT_EQ(caption->geometry(), kCaption.translated(2, 1));
    QTest::keyClick(handle, Qt::Key_Left);
    QTest::keyClick(handle, Qt::Key_Up);
    QTest::keyClick(handle, Qt::Key_Up);
    EXPECT_EQ(caption->geometry(), kCaption.translated(1, -1));
    EXPECT_EQ(handle->geometry(), kHandle.translated(1, -1));
    EXPECT_EQ(surface.keys, 0);
    EXPECT_EQ(keys.count(), 6);
    EXPECT_EQ(moved.count(), 0) << "OnMoved is the drag's";

    // Other keys are not the handle's: they go on to its parent.
    QTest::keyClick(handle, Qt::Key_A);
    EXPECT_EQ(surface.keys, 1);
}

TEST_F(StretchHandleWidgetTest, ALockedHandleIgnoresDragsAndKeys)
{
    ASSERT_TRUE(handle->Attach(caption));
    handle->setLocked(true);
    QSignalSpy moved(handle, &TStretchHandle::OnMoved);

    drag(QPoint(100, 80), QPoint(130, 110));
    drag(QPoint(150, 100), QPoint(190, 140));
    QTest::keyClick(handle, Qt::Key_Right);
    QTest::keyClick(handle, Qt::Key_Down);
    EXPECT_FALSE(handle->SetBounds(0, 0, 50, 50));

    EXPECT_EQ(caption->geometry(), kCaption);
    EXPECT_EQ(handle->geometry(), kHandle);
    EXPECT_EQ(handle->dragOutline(), nullptr);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(surface.keys, 2) << "the refused keys go on to the parent";

    handle->setLocked(false);
    drag(QPoint(100, 80), QPoint(130, 110));
    EXPECT_EQ(caption->geometry(), kCaption.translated(30, 30));
    EXPECT_EQ(moved.count(), 1);
}

TEST_F(StretchHandleWidgetTest, ALockedHandlePassesClicksToTheControl)
{
    ASSERT_TRUE(handle->Attach(caption));
    handle->setLocked(true);
    QSignalSpy clicks(caption, &TFusedLabel::OnClick);
    QSignalSpy downs(caption, &TFusedLabel::OnMouseDown);
    QTest::mouseClick(window(), Qt::LeftButton, {}, QPoint(100, 80));
    EXPECT_EQ(downs.count(), 1);
    ASSERT_EQ(clicks.count(), 1);
    ASSERT_EQ(downs.at(0).at(2).toPoint(), QPoint(50, 20)) << "in the caption's coordinates";
}

TEST_F(StretchHandleWidgetTest, PressesOffTheControlsGoBelow)
{
    auto* other = new QWidget(&surface);
    other->setGeometry(300, 60, 40, 40);
    other->show();
    ASSERT_TRUE(handle->Attach(caption));
    ASSERT_TRUE(handle->Attach(other));
    QSignalSpy downs(handle, &TStretchHandle::OnMouseDown);

    // Between the two controls: not the handle's.
    QTest::mouseClick(window(), Qt::LeftButton, {}, QPoint(220, 80));
    EXPECT_EQ(surface.presses, 1);
    EXPECT_EQ(downs.count(), 0);

    // On a control a drag moves both (squares are for one control only).
    drag(QPoint(60, 95), QPoint(70, 105));
    EXPECT_EQ(caption->geometry(), kCaption.translated(10, 10));
    EXPECT_EQ(other->geometry(), QRect(310, 70, 40, 40));
    EXPECT_EQ(surface.presses, 1);

    // The right button is not the handle's either: passed to what lies below.
    QTest::mouseClick(window(), Qt::RightButton, {}, QPoint(100, 90));
    EXPECT_EQ(downs.count(), 2);
    EXPECT_EQ(caption->geometry(), kCaption.translated(10, 10));
}

TEST_F(StretchHandleWidgetTest, SetBoundsCarriesTheControls)
{
    ASSERT_TRUE(handle->Attach(caption));
    ASSERT_TRUE(handle->SetBounds(100, 10, 205, 95));
    EXPECT_EQ(caption->geometry(), QRect(102, 12, 200, 90));
    // Too small for the control: raised to leave it a pixel.
    ASSERT_TRUE(handle->SetBounds(0, 0, 1, 1));
    EXPECT_EQ(handle->geometry(), QRect(0, 0, 6, 6));
    EXPECT_EQ(caption->geometry(), QRect(2, 2, 1, 1));
}

TEST_F(StretchHandleWidgetTest, DetachLetsGoAndUnlocks)
{
    ASSERT_TRUE(handle->Attach(caption));
    handle->setLocked(true);
    handle->Detach();
    EXPECT_FALSE(handle->Attached());
    EXPECT_FALSE(handle->locked());
    EXPECT_EQ(handle->size(), QSize(24, 24));
    EXPECT_FALSE(handle->isEnabled());
    EXPECT_TRUE(handle->isHidden());
    EXPECT_EQ(handle->parentWidget(), &surface) << "still owned by its parent";
    EXPECT_EQ(caption->geometry(), kCaption);

    // A detached handle moves by no key: they are its parent's.
    const QRect detached = handle->geometry();
    QTest::keyClick(handle, Qt::Key_Right);
    EXPECT_EQ(handle->geometry(), detached);
    EXPECT_EQ(surface.keys, 1);
}

TEST_F(StretchHandleWidgetTest, ADestroyedControlIsLetGo)
{
    ASSERT_TRUE(handle->Attach(caption));
    delete caption;
    caption = nullptr;
    EXPECT_FALSE(handle->Attached());
    EXPECT_TRUE(handle->isHidden());
}

TEST_F(StretchHandleWidgetTest, FrontAndBackKeepTheHandleInFront)
{
    auto* cover = new QWidget(&surface);
    cover->setGeometry(0, 0, 640, 480);
    cover->show();
    ASSERT_TRUE(handle->Attach(caption));
    handle->SendToBack();
    EXPECT_EQ(surface.children().indexOf(caption), 0);
    EXPECT_EQ(surface.childAt(kCaption.center()), handle);
    handle->BringToFront();
    const QObjectList order = surface.children();
    EXPECT_GT(order.indexOf(caption), order.indexOf(cover));
    EXPECT_GT(order.indexOf(handle), order.indexOf(caption));
}

TEST_F(StretchHandleWidgetTest, PaintsTheOutlineAndTheSquares)
{
    ASSERT_TRUE(handle->Attach(caption));
    QImage shot = surface.grab().toImage();
    // The squares: 5 x 5 on the corners and the middles of the edges.
    EXPECT_EQ(shot.pixelColor(48, 58), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(152, 102), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(100, 60), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(47, 57), QColor(Qt::white)) << "nothing outside the handle";
    // The dotted magenta line along the control's edges, between squares.
    int magenta = 0;
    for (int x = 55; x < 95; ++x)
        magenta += shot.pixelColor(x, 60) == QColor(255, 0, 255);
    EXPECT_GT(magenta, 5);
    EXPECT_LT(magenta, 40) << "dotted, not solid";

    // Several controls: grey squares.
    auto* other = new QWidget(&surface);
    other->setGeometry(300, 60, 40, 40);
    other->show();
    ASSERT_TRUE(handle->Attach(other));
    shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(48, 58), QColor(128, 128, 128));
    EXPECT_EQ(shot.pixelColor(298, 58), QColor(128, 128, 128));
}

// The handle inside the program's scaled presentation: the drag comes through
// the scaled view, and the control moves by the distance in its own window's
// pixels.
TEST(StretchHandlePresented, DraggedThroughTheScaledView)
{
    auto content = std::make_unique<QWidget>();
    content->resize(640, 480);
    auto* caption = new QWidget(content.get());
    caption->setGeometry(kCaption);
    auto* handle = new TStretchHandle(content.get());
    ASSERT_TRUE(handle->Attach(caption));
    QSignalSpy moved(handle, &TStretchHandle::OnMoved);

    auto host = std::make_unique<PresentationHost>(content.get());
    host->present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    const double scale = host->scaleFactor();
    ASSERT_GT(scale, 1.0);
    // Points whose scaled places are whole pixels (the offscreen screen
    // gives a scale of 1.25), so they come back exactly.
    auto onScreen = [&](QPoint p) { return (host->contentRect().topLeft() + QPointF(p) * scale).toPoint(); };

    QWindow* w = host->windowHandle();
    QTest::mousePress(w, Qt::LeftButton, {}, onScreen({100, 80}));
    QTest::mouseMove(w, onScreen({108, 88}));
    QTest::mouseMove(w, onScreen({120, 100}));
    ASSERT_NE(handle->dragOutline(), nullptr);
    EXPECT_EQ(handle->dragOutline()->geometry(), kCaption.translated(20, 20));
    QTest::mouseRelease(w, Qt::LeftButton, {}, onScreen({120, 100}));

    EXPECT_EQ(caption->geometry(), kCaption.translated(20, 20));
    EXPECT_EQ(moved.count(), 1);
    host.reset();  // gives the content back before it goes
}

}  // namespace
