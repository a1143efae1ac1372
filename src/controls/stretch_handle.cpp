#include "controls/stretch_handle.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdlib>

namespace ziro {

namespace {

bool movesLeft(TDragStyle s)
{
    return s == TDragStyle::dsSizeTopLeft || s == TDragStyle::dsSizeBottomLeft ||
           s == TDragStyle::dsSizeLeft;
}

bool movesTop(TDragStyle s)
{
    return s == TDragStyle::dsSizeTopLeft || s == TDragStyle::dsSizeTopRight ||
           s == TDragStyle::dsSizeTop;
}

bool movesRight(TDragStyle s)
{
    return s == TDragStyle::dsSizeTopRight || s == TDragStyle::dsSizeBottomRight ||
           s == TDragStyle::dsSizeRight;
}

bool movesBottom(TDragStyle s)
{
    return s == TDragStyle::dsSizeBottomLeft || s == TDragStyle::dsSizeBottomRight ||
           s == TDragStyle::dsSizeBottom;
}

int clampGrid(int step)
{
    return std::clamp(step, kGridMin, kGridMax);
}

// One axis of a drag: the edges [lo, hi) (hi exclusive) after the drag.
// `moveLo`/`moveHi` say which edge the square drags; a span shorter than
// `minimum` is widened again from the dragged side.
void clampSpan(int& lo, int& hi, bool moveLo, int minimum)
{
    if (hi - lo >= minimum)
        return;
    if (moveLo)
        lo = hi - minimum;
    else
        hi = lo + minimum;
}

}  // namespace

QRect handleBoundsFor(const QRect& child)
{
    return QRect(child.x() - kHandleLead, child.y() - kHandleLead,
                 child.width() + kHandleLead + kHandleTrail, child.height() + kHandleLead + kHandleTrail);
}

QRect handleBoundsWith(const QRect& bounds, const QRect& child)
{
    // Right and bottom as exclusive edges (left + width).
    const int left = std::min(bounds.x(), child.x() - kHandleLead);
    const int top = std::min(bounds.y(), child.y() - kHandleLead);
    const int right = std::max(bounds.x() + bounds.width() - kHandleTrail, child.x() + child.width());
    const int bottom = std::max(bounds.y() + bounds.height() - kHandleTrail, child.y() + child.height());
    return QRect(left, top, right - left + kHandleTrail, bottom - top + kHandleTrail);
}

QRect handleBoundsAround(const QList<QRect>& children)
{
    if (children.isEmpty())
        return QRect();
    QRect bounds = handleBoundsFor(children.front());
    for (qsizetype i = 1; i < children.size(); ++i)
        bounds = handleBoundsWith(bounds, children.at(i));
    return bounds;
}

QRect childBoundsFollowing(const QRect& child, const QRect& before, const QRect& after)
{
    return QRect(child.x() - before.x() + after.x(), child.y() - before.y() + after.y(),
                 std::max(1, child.width() - before.width() + after.width()),
                 std::max(1, child.height() - before.height() + after.height()));
}

QSize handleMinimumSize(QSize handleSize, const QList<QSize>& childSizes)
{
    int w = 1;
    int h = 1;
    for (const QSize& c : childSizes) {
        w = std::max(w, handleSize.width() - c.width() + 1);
        h = std::max(h, handleSize.height() - c.height() + 1);
    }
    return QSize(w, h);
}

TDragStyle handleHitTest(QPoint p, QSize size)
{
    const int w = size.width();
    const int h = size.height();
    const bool nearLeft = p.x() < kGrabCornerReach;
    const bool nearRight = p.x() > w - 1 - kGrabCornerReach;
    const bool nearTop = p.y() < kGrabCornerReach;
    const bool nearBottom = p.y() > h - 1 - kGrabCornerReach;
    // The middles of the edges where the grab squares are drawn: those of
    // the control, which lies 2 pixels in from the handle's top-left corner.
    const int middleX = kHandleLead + (w - kHandleLead - kHandleTrail) / 2;
    const int middleY = kHandleLead + (h - kHandleLead - kHandleTrail) / 2;
    const bool midX = std::abs(p.x() - middleX) < kGrabMiddleReach;
    const bool midY = std::abs(p.y() - middleY) < kGrabMiddleReach;

    if (nearLeft && nearTop)
        return TDragStyle::dsSizeTopLeft;
    if (nearRight && nearBottom)
        return TDragStyle::dsSizeBottomRight;
    if (nearRight && nearTop)
        return TDragStyle::dsSizeTopRight;
    if (nearLeft && nearBottom)
        return TDragStyle::dsSizeBottomLeft;
    if (nearTop && midX)
        return TDragStyle::dsSizeTop;
    if (nearBottom && midX)
        return TDragStyle::dsSizeBottom;
    if (nearLeft && midY)
        return TDragStyle::dsSizeLeft;
    if (nearRight && midY)
        return TDragStyle::dsSizeRight;
    return TDragStyle::dsMove;
}

std::array<QRect, 8> grabSquares(const QRect& child)
{
    const int half = kGrabSquare / 2;
    const int l = child.x();
    const int t = child.y();
    const int r = child.x() + child.width();   // the edge just past the control
    const int b = child.y() + child.height();
    const int mx = l + child.width() / 2;
    const int my = t + child.height() / 2;
    auto at = [half](int x, int y) { return QRect(x - half, y - half, kGrabSquare, kGrabSquare); };
    return {at(l, t), at(r, t), at(l, b), at(r, b), at(mx, t), at(l, my), at(mx, b), at(r, my)};
}

int gridSnap(int v, int step)
{
    if (step < 1)
        step = 1;
    return step * (v / step);  // C++ division truncates toward zero, as `div` does
}

QRect handleDragBounds(TDragStyle style, QPoint point, QPoint offset, const QRect& bounds, QSize grid,
                       QSize minimum)
{
    const int dx = point.x() - offset.x();
    const int dy = point.y() - offset.y();
    const int gx = grid.width();
    const int gy = grid.height();
    const int minW = std::max(1, minimum.width());
    const int minH = std::max(1, minimum.height());

    if (style == TDragStyle::dsMove)
        return QRect(gridSnap(dx + bounds.x(), gx), gridSnap(dy + bounds.y(), gy), bounds.width(),
                     bounds.height());

    int left = bounds.x();
    int top = bounds.y();
    int right = bounds.x() + bounds.width();  // exclusive
    int bottom = bounds.y() + bounds.height();
    if (movesLeft(style))
        left = gridSnap(dx + bounds.x(), gx) - kHandleLead;
    if (movesTop(style))
        top = gridSnap(dy + bounds.y(), gy) - kHandleLead;
    if (movesRight(style))
        right = bounds.x() + gridSnap(dx + bounds.width(), gx);
    if (movesBottom(style))
        bottom = bounds.y() + gridSnap(dy + bounds.height(), gy);
    clampSpan(left, right, movesLeft(style), minW);
    clampSpan(top, bottom, movesTop(style), minH);
    return QRect(left, top, right - left, bottom - top);
}

QRect handleDragOutline(const QRect& bounds)
{
    return QRect(bounds.x() + kHandleLead, bounds.y() + kHandleLead,
                 std::max(1, bounds.width() - kHandleLead - kHandleTrail),
                 std::max(1, bounds.height() - kHandleLead - kHandleTrail));
}

QPoint clampToArea(QPoint p, const QRect& area)
{
    if (area.isEmpty())
        return p;
    return QPoint(std::clamp(p.x(), area.left(), area.right()), std::clamp(p.y(), area.top(), area.bottom()));
}

bool handleMoveFiresOnMoved(const QRect& before, const QRect& after)
{
    return after.x() != before.x() && after.y() != before.y() && after.size() == before.size();
}

// --- StretchHandleState ---

void StretchHandleState::setLocked(bool on)
{
    m_locked = on;
    if (on)
        m_dragging = false;
}

void StretchHandleState::setGridX(int step)
{
    m_gridX = clampGrid(step);
}

void StretchHandleState::setGridY(int step)
{
    m_gridY = clampGrid(step);
}

void StretchHandleState::setSnapToGrid(bool on)
{
    m_gridX = m_gridY = on ? kSnapGrid : 1;
}

TDragStyle StretchHandleState::hover(QPoint p, QSize handleSize, int childCount)
{
    if (m_dragging)
        return m_style;
    m_style = childCount == 1 ? handleHitTest(p, handleSize) : TDragStyle::dsMove;
    return m_style;
}

bool StretchHandleState::press(QPoint p, bool leftButton, bool onChild)
{
    if (!leftButton || !onChild || m_locked)
        return false;
    m_offset = p;
    m_dragging = true;
    return true;
}

QRect StretchHandleState::dragBounds(QPoint p, const QRect& bounds, QSize minimum) const
{
    return handleDragBounds(m_style, p, m_offset, bounds, grid(), minimum);
}

StretchHandleState::DragEnd StretchHandleState::release(QPoint p, const QRect& bounds, QSize minimum)
{
    DragEnd end;
    if (!m_dragging)
        return end;
    m_dragging = false;
    if (m_locked || p == m_offset)
        return end;
    const QRect after = dragBounds(p, bounds, minimum);
    if (after == bounds)
        return end;
    end.bounds = after;
    end.moved = handleMoveFiresOnMoved(bounds, after);
    return end;
}

std::optional<QRect> StretchHandleState::nudge(int dx, int dy, const QRect& bounds) const
{
    if (m_locked || (dx == 0 && dy == 0))
        return std::nullopt;
    return bounds.translated(dx, dy);
}

}  // namespace ziro
