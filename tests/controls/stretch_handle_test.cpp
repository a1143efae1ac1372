#include "controls/stretch_handle.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace ziro;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}
QT_END_NAMESPACE

namespace {

// A 100 x 40 label at (50, 60).
const QRect kLabel(50, 60, 100, 40);
const QRect kHandle(48, 58, 105, 45);

TEST(StretchHandleGeometry, HandleLiesTwoBeforeAndThreeAfterItsControl)
{
    EXPECT_EQ(handleBoundsFor(kLabel), kHandle);
    EXPECT_EQ(handleDragOutline(kHandle), kLabel);
}

TEST(StretchHandleGeometry, FurtherControlsGrowTheHandleToTheUnion)
{
    const QRect second(200, 150, 30, 20);
    // Left and top from the first control, right (230) and bottom (170) from
    // the second, plus 3.
    const QRect both(48, 58, 230 - 48 + 3, 170 - 58 + 3);
    EXPECT_EQ(handleBoundsWith(kHandle, second), both);
    EXPECT_EQ(handleBoundsAround({kLabel, second}), both);
    EXPECT_EQ(handleBoundsAround({second, kLabel}), both);

    // A control to the left and above moves the left and top edges only.
    const QRect before(10, 20, 5, 5);
    EXPECT_EQ(handleBoundsWith(kHandle, before), QRect(8, 18, 150 - 8 + 3, 100 - 18 + 3));
    // A control inside changes nothing.
    EXPECT_EQ(handleBoundsWith(kHandle, QRect(60, 70, 10, 10)), kHandle);
    EXPECT_EQ(handleBoundsAround({}), QRect());
}

TEST(StretchHandleGeometry, ControlsKeepTheirOffsetAndSizeDifference)
{
    const QRect after(100, 10, 205, 95);  // moved by (52, -48), grown by (100, 50)
    EXPECT_EQ(childBoundsFollowing(kLabel, kHandle, after), QRect(102, 12, 200, 90));
    // Never below 1 x 1.
    EXPECT_EQ(childBoundsFollowing(kLabel, kHandle, QRect(48, 58, 2, 3)), QRect(50, 60, 1, 1));
}

TEST(StretchHandleGeometry, MinimumSizeLeavesEveryControlOnePixel)
{
    EXPECT_EQ(handleMinimumSize(kHandle.size(), {kLabel.size()}), QSize(6, 6));
    // The smallest control decides.
    EXPECT_EQ(handleMinimumSize(QSize(185, 115), {QSize(100, 40), QSize(30, 20)}), QSize(156, 96));
    EXPECT_EQ(handleMinimumSize(QSize(10, 10), {}), QSize(1, 1));
}

TEST(StretchHandleGeometry, HitZonesAreTheGrabSquares)
{
    const QSize size = kHandle.size();  // 105 x 45
    struct Case {
        QPoint p;
        TDragStyle style;
    };
    const Case cases[] = {
        {{0, 0}, TDragStyle::dsSizeTopLeft},      {{4, 4}, TDragStyle::dsSizeTopLeft},
        {{5, 5}, TDragStyle::dsMove},             {{104, 0}, TDragStyle::dsSizeTopRight},
        {{100, 4}, TDragStyle::dsSizeTopRight},   {{99, 4}, TDragStyle::dsMove},
        {{0, 44}, TDragStyle::dsSizeBottomLeft},  {{104, 44}, TDragStyle::dsSizeBottomRight},
        {{52, 0}, TDragStyle::dsSizeTop},         {{50, 4}, TDragStyle::dsSizeTop},
        {{49, 2}, TDragStyle::dsMove},            {{55, 2}, TDragStyle::dsMove},
        {{52, 44}, TDragStyle::dsSizeBottom},     {{52, 39}, TDragStyle::dsMove},
        {{0, 22}, TDragStyle::dsSizeLeft},        {{4, 24}, TDragStyle::dsSizeLeft},
        {{2, 25}, TDragStyle::dsMove},            {{104, 22}, TDragStyle::dsSizeRight},
        {{52, 22}, TDragStyle::dsMove},           {{30, 10}, TDragStyle::dsMove},
    };
    for (const Case& c : cases)
        EXPECT_EQ(handleHitTest(c.p, size), c.style) << c.p.x() << "," << c.p.y();

    // Every pixel of every square drawn takes hold of its own part.
    const std::array<QRect, 8> squares = grabSquares(handleDragOutline(QRect(QPoint(0, 0), size)));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(squares[i].size(), QSize(kGrabSquare, kGrabSquare));
        for (int y = squares[i].top(); y <= squares[i].bottom(); ++y)
            for (int x = squares[i].left(); x <= squares[i].right(); ++x)
                EXPECT_EQ(handleHitTest({x, y}, size), TDragStyle(i + 1)) << "square " << i << " at " << x << "," << y;
    }
}

TEST(StretchHandleGeometry, GridSnapTruncatesTowardZero)
{
    EXPECT_EQ(gridSnap(23, 8), 16);
    EXPECT_EQ(gridSnap(24, 8), 24);
    EXPECT_EQ(gridSnap(7, 8), 0);
    EXPECT_EQ(gridSnap(-23, 8), -16);
    EXPECT_EQ(gridSnap(23, 1), 23);
    EXPECT_EQ(gridSnap(23, 0), 23);
}

TEST(StretchHandleGeometry, MovingToTwentyThreeSnapsToSixteen)
{
    const QRect bounds(0, 0, 50, 30);
    EXPECT_EQ(handleDragBounds(TDragStyle::dsMove, {23, 0}, {0, 0}, bounds, {8, 8}), QRect(16, 0, 50, 30));
    EXPECT_EQ(handleDragBounds(TDragStyle::dsMove, {23, 0}, {0, 0}, bounds, {1, 1}), QRect(23, 0, 50, 30));
}

TEST(StretchHandleGeometry, EachSquareMovesItsOwnEdges)
{
    // From (60, 70) to (70, 85): dx = 10, dy = 15, no grid.
    const QPoint from(60, 70);
    const QPoint to(70, 85);
    struct Case {
        TDragStyle style;
        QRect expected;
    };
    // Left and top edges land on the snapped value less 2; the opposite
    // edges (153 and 103) stay.
    const Case cases[] = {
        {TDragStyle::dsMove, QRect(58, 73, 105, 45)},
        {TDragStyle::dsSizeTopLeft, QRect(56, 71, 153 - 56, 103 - 71)},
        {TDragStyle::dsSizeTopRight, QRect(48, 71, 115, 103 - 71)},
        {TDragStyle::dsSizeBottomLeft, QRect(56, 58, 153 - 56, 60)},
        {TDragStyle::dsSizeBottomRight, QRect(48, 58, 115, 60)},
        {TDragStyle::dsSizeTop, QRect(48, 71, 105, 103 - 71)},
        {TDragStyle::dsSizeLeft, QRect(56, 58, 153 - 56, 45)},
        {TDragStyle::dsSizeBottom, QRect(48, 58, 105, 60)},
        {TDragStyle::dsSizeRight, QRect(48, 58, 115, 45)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(handleDragBounds(c.style, to, from, kHandle, {1, 1}), c.expected) << int(c.style);
}

TEST(StretchHandleGeometry, SizingSnapsToTheGrid)
{
    // dx = 10 with a grid of 8: the width becomes s(115) = 112, the left
    // edge s(58) - 2 = 54.
    EXPECT_EQ(handleDragBounds(TDragStyle::dsSizeRight, {70, 70}, {60, 70}, kHandle, {8, 8}),
              QRect(48, 58, 112, 45));
    EXPECT_EQ(handleDragBounds(TDragStyle::dsSizeLeft, {70, 70}, {60, 70}, kHandle, {8, 8}),
              QRect(54, 58, 153 - 54, 45));
    EXPECT_EQ(handleDragBounds(TDragStyle::dsSizeBottom, {60, 83}, {60, 70}, kHandle, {8, 8}),
              QRect(48, 58, 105, 56));
}

TEST(StretchHandleGeometry, ADragPastTheOppositeEdgeStopsAtTheMinimum)
{
    const QSize minimum(6, 6);
    // The top-left square dragged far past the bottom-right corner: the
    // right and bottom edges stay, the size is the minimum.
    EXPECT_EQ(handleDragBounds(TDragStyle::dsSizeTopLeft, {400, 400}, {50, 60}, kHandle, {1, 1}, minimum),
              QRect(153 - 6, 103 - 6, 6, 6));
    // The bottom-right square dragged far up and left: the left and top stay.
    EXPECT_EQ(handleDragBounds(TDragStyle::dsSizeBottomRight, {-400, -400}, {150, 100}, kHandle, {1, 1}, minimum),
              QRect(48, 58, 6, 6));
    EXPECT_EQ(handleDragBounds(TDragStyle::dsSizeRight, {-400, 0}, {150, 0}, kHandle, {1, 1}, minimum),
              QRect(48, 58, 6, 45));
    EXPECT_EQ(handleDragBounds(TDragStyle::dsSizeTop, {0, 900}, {0, 58}, kHandle, {1, 1}, minimum),
              QRect(48, 103 - 6, 105, 6));
    // Never below 1 x 1, whatever the minimum asked.
    const QRect r = handleDragBounds(TDragStyle::dsSizeBottomRight, {-400, -400}, {150, 100}, kHandle, {1, 1},
                                     QSize(0, -5));
    EXPECT_EQ(r.size(), QSize(1, 1));
}

TEST(StretchHandleGeometry, PointsAreHeldInsideTheParent)
{
    const QRect area(0, 0, 640, 480);
    EXPECT_EQ(clampToArea({-5, 500}, area), QPoint(0, 479));
    EXPECT_EQ(clampToArea({700, -1}, area), QPoint(639, 0));
    EXPECT_EQ(clampToArea({10, 20}, area), QPoint(10, 20));
}

TEST(StretchHandleGeometry, OnlyAMoveOfLeftAndTopFiresOnMoved)
{
    EXPECT_TRUE(handleMoveFiresOnMoved(kHandle, kHandle.translated(3, 4)));
    EXPECT_FALSE(handleMoveFiresOnMoved(kHandle, kHandle.translated(3, 0)));  // horizontal only
    EXPECT_FALSE(handleMoveFiresOnMoved(kHandle, kHandle.translated(0, 4)));
    EXPECT_FALSE(handleMoveFiresOnMoved(kHandle, QRect(50, 60, 100, 45)));   // resized
    EXPECT_FALSE(handleMoveFiresOnMoved(kHandle, kHandle));
}

// --- the drag and key state ---

TEST(StretchHandleState, GridStepsAndSnapToGrid)
{
    StretchHandleState s;
    EXPECT_EQ(s.grid(), QSize(1, 1));
    EXPECT_FALSE(s.snapToGrid());
    s.setSnapToGrid(true);
    EXPECT_EQ(s.grid(), QSize(8, 8));
    s.setSnapToGrid(false);
    EXPECT_EQ(s.grid(), QSize(1, 1));
    s.setGridY(4);
    EXPECT_TRUE(s.snapToGrid()) << "either step above 1";
    s.setGridX(0);
    EXPECT_EQ(s.gridX(), 1);
    s.setGridX(99);
    EXPECT_EQ(s.gridX(), 32);
}

TEST(StretchHandleState, APressOnTheControlStartsADrag)
{
    StretchHandleState s;
    EXPECT_FALSE(s.press({60, 70}, true, false)) << "off the control";
    EXPECT_FALSE(s.press({60, 70}, false, true)) << "not the left button";
    EXPECT_FALSE(s.dragging());
    EXPECT_TRUE(s.press({60, 70}, true, true));
    EXPECT_TRUE(s.dragging());
    EXPECT_EQ(s.dragOffset(), QPoint(60, 70));
}

TEST(StretchHandleState, ReleaseAppliesTheDragAndSaysWhetherItMoved)
{
    StretchHandleState s;
    const QSize minimum(6, 6);

    ASSERT_TRUE(s.press({60, 70}, true, true));
    StretchHandleState::DragEnd end = s.release({60, 70}, kHandle, minimum);
    EXPECT_FALSE(end.bounds) << "released where it was pressed";
    EXPECT_FALSE(s.dragging());

    ASSERT_TRUE(s.press({60, 70}, true, true));
    end = s.release({70, 85}, kHandle, minimum);
    ASSERT_TRUE(end.bounds);
    EXPECT_EQ(*end.bounds, kHandle.translated(10, 15));
    EXPECT_TRUE(end.moved);

    ASSERT_TRUE(s.press({60, 70}, true, true));
    end = s.release({70, 70}, kHandle, minimum);
    ASSERT_TRUE(end.bounds);
    EXPECT_EQ(*end.bounds, kHandle.translated(10, 0));
    EXPECT_FALSE(end.moved) << "a horizontal move does not fire OnMoved";

    // The bottom-right square: a resize never fires OnMoved.
    EXPECT_EQ(s.hover({104, 44}, kHandle.size(), 1), TDragStyle::dsSizeBottomRight);
    ASSERT_TRUE(s.press({152, 102}, true, true));
    end = s.release({162, 112}, kHandle, minimum);
    ASSERT_TRUE(end.bounds);
    EXPECT_EQ(*end.bounds, QRect(48, 58, 115, 55));
    EXPECT_FALSE(end.moved);

    // Without a drag a release does nothing.
    end = s.release({0, 0}, kHandle, minimum);
    EXPECT_FALSE(end.bounds);
}

TEST(StretchHandleState, HoverPicksTheSquareOnlyForOneControl)
{
    StretchHandleState s;
    EXPECT_EQ(s.hover({0, 0}, kHandle.size(), 1), TDragStyle::dsSizeTopLeft);
    EXPECT_EQ(s.dragStyle(), TDragStyle::dsSizeTopLeft);
    EXPECT_EQ(s.hover({0, 0}, kHandle.size(), 2), TDragStyle::dsMove);
    EXPECT_EQ(s.hover({104, 22}, kHandle.size(), 1), TDragStyle::dsSizeRight);
    // A drag under way keeps its style.
    ASSERT_TRUE(s.press({152, 80}, true, true));
    EXPECT_EQ(s.hover({50, 20}, kHandle.size(), 1), TDragStyle::dsSizeRight);
}

TEST(StretchHandleState, ALockedHandleIgnoresDragsAndKeys)
{
    StretchHandleState s;
    s.setLocked(true);
    EXPECT_FALSE(s.press({60, 70}, true, true));
    EXPECT_FALSE(s.dragging());
    EXPECT_FALSE(s.nudge(1, 0, kHandle));

    s.setLocked(false);
    ASSERT_TRUE(s.press({60, 70}, true, true));
    s.setLocked(true);  // locking mid-drag ends it, unapplied
    EXPECT_FALSE(s.dragging());
    EXPECT_FALSE(s.release({90, 90}, kHandle, {6, 6}).bounds);
}

TEST(StretchHandleState, ArrowsNudgeByOnePixelWithoutTheGrid)
{
    StretchHandleState s;
    s.setSnapToGrid(true);
    EXPECT_EQ(s.nudge(-1, 0, kHandle), kHandle.translated(-1, 0));
    EXPECT_EQ(s.nudge(0, 1, kHandle), kHandle.translated(0, 1));
    EXPECT_FALSE(s.nudge(0, 0, kHandle));
}

}  // namespace
