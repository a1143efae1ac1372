#pragma once

// The geometry of TStretchHandle without a display: where the
// handle lies around the controls it carries, which part of it a press takes
// hold of, where a drag or an arrow key puts it and how the carried controls
// follow. Every rectangle is in the coordinates of the parent the handle and
// its controls share, unless a function says "handle coordinates".
//
// A handle lies 2 pixels before its control on the left and the top and 3
// after it on the right and the bottom: a 100 x 40 control at (50, 60) gives
// a handle at (48, 58) of 105 x 45. Its eight grab squares (5 x 5) sit on the
// corners and the middles of the control's edges.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <optional>

namespace ziro {

// The part of the handle a drag takes hold of, numbered 0 to 8.
enum class TDragStyle : int {
    dsMove,
    dsSizeTopLeft,
    dsSizeTopRight,
    dsSizeBottomLeft,
    dsSizeBottomRight,
    dsSizeTop,
    dsSizeLeft,
    dsSizeBottom,
    dsSizeRight,
};

// Space between a control and its handle: before it on the left and the top,
// and (kHandleTrail) after it on the right and the bottom.
constexpr int kHandleLead = 2;
constexpr int kHandleTrail = 3;
// Side of a grab square, and how near a corner or an edge's middle a point
// must be to take hold of it.
constexpr int kGrabSquare = 5;
constexpr int kGrabCornerReach = 5;
constexpr int kGrabMiddleReach = 3;
// Grid steps are "GridValues": 1 to 32. SnapToGrid on sets both to 8.
constexpr int kGridMin = 1;
constexpr int kGridMax = 32;
constexpr int kSnapGrid = 8;

// The handle around one control: (left - 2, top - 2, width + 5, height + 5).
QRect handleBoundsFor(const QRect& child);
// The handle grown to take in one more control: left and top the smaller of
// the handle's and the control's less 2, right and bottom the larger of the
// handle's (less 3) and the control's, size the extent plus 3.
QRect handleBoundsWith(const QRect& bounds, const QRect& child);
// The handle around several controls (empty for none).
QRect handleBoundsAround(const QList<QRect>& children);

// Where a carried control goes when its handle goes from `before` to
// `after`: it keeps its offset from the handle's top-left corner and its size
// difference to the handle. Its size never drops below 1 x 1.
QRect childBoundsFollowing(const QRect& child, const QRect& before, const QRect& after);

// The smallest handle that still leaves every carried control (of the sizes
// given, under a handle of `handleSize`) at least 1 x 1; never below 1 x 1.
QSize handleMinimumSize(QSize handleSize, const QList<QSize>& childSizes);

// The part of a handle of `size` under `p` (handle coordinates): a corner
// within 5 pixels of it; the top or bottom edge within 5 pixels of it and
// less than 3 from its middle; the left or right edge likewise; else a move.
// The zones are the grab squares: a corner's is the 5 x 5 square in it, an
// edge's middle is that of the control the handle was made around.
TDragStyle handleHitTest(QPoint p, QSize size);

// The eight grab squares around a control (handle coordinates), in drag-style
// order: top-left, top-right, bottom-left, bottom-right, top, left, bottom,
// right. Each is 5 x 5, centred on a corner or an edge's middle.
std::array<QRect, 8> grabSquares(const QRect& child);

// The grid snap s(v) = step * (v div step), truncating toward zero as an
// integer division does (-23 snaps to -16 with a step of 8). A step
// below 1 counts as 1.
int gridSnap(int v, int step);

// The handle's bounds for a drag of `style` that took hold at `offset` and
// is now at `point` (both parent coordinates), snapped to `grid`:
// - move: left = s(x - offset x + left), top likewise, size unchanged;
// - a square on the left or top edge moves that edge to the snapped value
//   less 2 (the handle's lead before its control), the opposite edge
//   staying where it is;
// - a square on the right or bottom edge makes the width s(x - offset x +
//   width), or the height likewise, the left or top edge staying.
// The size never drops below `minimum` (nor 1 x 1): a clamped edge stops
// where the opposite one leaves room.
QRect handleDragBounds(TDragStyle style, QPoint point, QPoint offset, const QRect& bounds,
                       QSize grid, QSize minimum = QSize(1, 1));

// The outline shown while dragging: the computed bounds inset 2 on the
// top-left and 3 on the bottom-right (where the control will be).
QRect handleDragOutline(const QRect& bounds);

// A point held inside `area` (its last row and column included).
QPoint clampToArea(QPoint p, const QRect& area);

// Whether a finished drag from `before` to `after` fires OnMoved: left and
// top both changed and the size did not.
bool handleMoveFiresOnMoved(const QRect& before, const QRect& after);

// The drag and key state of one handle: what a press takes hold of, where a
// drag would put the handle and what its end does. The widget feeds it the
// mouse (in parent coordinates) and carries out what it returns. A locked
// handle takes hold of nothing and moves by no key.
class StretchHandleState {
public:
    struct DragEnd {
        std::optional<QRect> bounds;  // the new bounds, when the drag changed them
        bool moved = false;           // fire OnMoved
    };

    bool locked() const { return m_locked; }
    // Locking ends a drag under way, without moving anything.
    void setLocked(bool on);

    int gridX() const { return m_gridX; }
    int gridY() const { return m_gridY; }
    void setGridX(int step);  // held in 1..32
    void setGridY(int step);
    // True when either step exceeds 1; on sets both to 8, off both to 1.
    bool snapToGrid() const { return m_gridX > 1 || m_gridY > 1; }
    void setSnapToGrid(bool on);
    QSize grid() const { return QSize(m_gridX, m_gridY); }

    TDragStyle dragStyle() const { return m_style; }
    void setDragStyle(TDragStyle style) { m_style = style; }
    bool dragging() const { return m_dragging; }
    QPoint dragOffset() const { return m_offset; }

    // The pointer rests at `p` (handle coordinates) without a drag: with
    // exactly one control attached, the part under it is taken by the coming
    // drag; with several, a drag always moves. Returns the style chosen.
    TDragStyle hover(QPoint p, QSize handleSize, int childCount);

    // A press at `p` (parent coordinates). A drag starts for the left button
    // on an attached control (grown by 2) of a handle that is not locked;
    // false when the press is not the handle's (it goes to what lies below).
    bool press(QPoint p, bool leftButton, bool onChild);

    // Where the handle would go for the pointer at `p` (parent coordinates,
    // clamped by the caller) during the drag.
    QRect dragBounds(QPoint p, const QRect& bounds, QSize minimum) const;

    // The left button is released at `p` (clamped) and the drag ends. When
    // the pointer left the press point, the new bounds are given; OnMoved
    // fires when they moved without resizing. Nothing without a drag.
    DragEnd release(QPoint p, const QRect& bounds, QSize minimum);

    // Ends a drag without applying it.
    void cancel() { m_dragging = false; }

    // An arrow key moves the handle by (dx, dy); nothing while locked.
    std::optional<QRect> nudge(int dx, int dy, const QRect& bounds) const;

private:
    bool m_locked = false;
    int m_gridX = 1;
    int m_gridY = 1;
    TDragStyle m_style = TDragStyle::dsMove;
    bool m_dragging = false;
    QPoint m_offset;
};

}  // namespace ziro
