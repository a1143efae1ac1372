#include "controls/stretch_handle_widget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QRegion>

namespace ziro {

namespace {

constexpr QSize kDetachedSize(24, 24);
const QColor kOutlineColor(255, 0, 255);  // $FF00FF

// The outline of the bounds a drag would give, shown in the handle's parent
// while the drag runs: a dotted rectangle that lets the mouse through.
class DragOutline : public QWidget {
public:
    explicit DragOutline(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("StretchHandleOutline"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAutoFillBackground(false);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // Centred on the pixel row, so the line stays crisp when the
        // presentation scales it.
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(r);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(r);
    }
};

}  // namespace

const QString TStretchHandle::kAttachFormError = QStringLiteral("Handles can not be attached to a Form!");

TStretchHandle::TStretchHandle(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TStretchHandle"));
    // Transparent: what lies under the frame stays visible.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    resize(kDetachedSize);
    setEnabled(false);
    hide();
}

TStretchHandle::~TStretchHandle()
{
    hideOutline();
}

// --- attaching ---

bool TStretchHandle::Attach(QWidget* childControl)
{
    m_error.clear();
    if (!childControl || childControl == this || IndexOf(childControl) >= 0)
        return true;
    if (childControl->isWindow()) {
        m_error = kAttachFormError;
        return false;
    }
    if (qobject_cast<TStretchHandle*>(childControl) || childControl == m_outline)
        return false;  // a handle never carries a handle, nor its own outline

    QWidget* parent = childControl->parentWidget();
    if (Attached() && parent != parentWidget())
        Detach();
    if (!Attached()) {
        if (parentWidget() != parent)
            setParent(parent);  // hides the handle; shown again below
        hideOutline();
        m_state.cancel();
        setEnabled(true);
        setGeometry(handleBoundsFor(childControl->geometry()));
        show();
    } else {
        setGeometry(handleBoundsWith(geometry(), childControl->geometry()));
    }
    m_children.append(childControl);
    connect(childControl, &QObject::destroyed, this, &TStretchHandle::onChildDestroyed);
    m_state.setDragStyle(TDragStyle::dsMove);
    updateInputRegion();
    raise();
    setFocus(Qt::OtherFocusReason);
    update();
    return true;
}

void TStretchHandle::Detach()
{
    for (const QPointer<QWidget>& c : std::as_const(m_children))
        if (c)
            disconnect(c, &QObject::destroyed, this, &TStretchHandle::onChildDestroyed);
    m_children.clear();
    m_state.setLocked(false);
    m_state.cancel();
    m_passTarget = nullptr;
    hideOutline();
    resize(kDetachedSize);
    clearMask();
    setEnabled(false);
    hide();
}

void TStretchHandle::ReleaseChild(QWidget* childControl)
{
    const int index = IndexOf(childControl);
    if (index < 0)
        return;
    disconnect(childControl, &QObject::destroyed, this, &TStretchHandle::onChildDestroyed);
    m_children.removeAt(index);
    if (!liveChildren().isEmpty()) {
        fitToChildren();
        return;
    }
    // As Detach, keeping the size.
    m_children.clear();
    m_state.setLocked(false);
    m_state.cancel();
    m_passTarget = nullptr;
    hideOutline();
    clearMask();
    setEnabled(false);
    hide();
}

void TStretchHandle::onChildDestroyed(QObject* child)
{
    m_children.removeIf([child](const QPointer<QWidget>& c) { return !c || c == child; });
    if (m_children.isEmpty()) {
        m_state.cancel();
        hideOutline();
        setEnabled(false);
        hide();
        return;
    }
    fitToChildren();
}

int TStretchHandle::IndexOf(QWidget* childControl) const
{
    if (!childControl)
        return -1;
    for (qsizetype i = 0; i < m_children.size(); ++i)
        if (m_children.at(i) == childControl)
            return int(i);
    return -1;
}

QWidget* TStretchHandle::Children(int index) const
{
    if (index < 0 || index >= m_children.size())
        return nullptr;
    return m_children.at(index);
}

void TStretchHandle::BringToFront()
{
    for (QWidget* c : liveChildren())
        c->raise();
    raise();
}

void TStretchHandle::SendToBack()
{
    // Last first, so the controls keep their order among themselves.
    const QList<QWidget*> children = liveChildren();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        (*it)->lower();
    raise();
}

void TStretchHandle::SetColors(const QColor& color1, const QColor& color2)
{
    m_primaryColor = color1;
    m_secondaryColor = color2;
    update();
}

void TStretchHandle::setColor(const QColor& c)
{
    if (c == m_primaryColor)
        return;
    m_primaryColor = c;
    update();
}

void TStretchHandle::setSecondaryColor(const QColor& c)
{
    if (c == m_secondaryColor)
        return;
    m_secondaryColor = c;
    update();
}

void TStretchHandle::setLocked(bool on)
{
    m_state.setLocked(on);
    if (on)
        hideOutline();
}

// --- geometry ---

QList<QWidget*> TStretchHandle::liveChildren() const
{
    QList<QWidget*> out;
    for (const QPointer<QWidget>& c : m_children)
        if (c)
            out.append(c);
    return out;
}

QList<QRect> TStretchHandle::childRects() const
{
    QList<QRect> out;
    for (QWidget* c : liveChildren())
        out.append(c->geometry());
    return out;
}

QSize TStretchHandle::minimumHandleSize() const
{
    QList<QSize> sizes;
    for (QWidget* c : liveChildren())
        sizes.append(c->size());
    return handleMinimumSize(size(), sizes);
}

bool TStretchHandle::SetBounds(int left, int top, int width, int height)
{
    if (m_state.locked())
        return false;
    const QSize minimum = minimumHandleSize();
    applyBounds(QRect(left, top, std::max(width, minimum.width()), std::max(height, minimum.height())));
    return true;
}

void TStretchHandle::applyBounds(const QRect& r)
{
    const QRect before = geometry();
    for (QWidget* c : liveChildren())
        c->setGeometry(childBoundsFollowing(c->geometry(), before, r));
    setGeometry(r);
    updateInputRegion();
    update();
}

void TStretchHandle::fitToChildren()
{
    const QList<QRect> rects = childRects();
    if (rects.isEmpty())
        return;
    setGeometry(handleBoundsAround(rects));
    updateInputRegion();
    update();
}

void TStretchHandle::updateInputRegion()
{
    const QList<QRect> rects = childRects();
    if (rects.size() <= 1) {
        clearMask();
        return;
    }
    // Over several controls the handle takes only the presses on them (and
    // their squares); the gaps between them belong to what lies below.
    QRegion region;
    for (const QRect& r : rects)
        region += r.translated(-pos()).adjusted(-kHandleLead, -kHandleLead, kHandleTrail, kHandleTrail);
    setMask(region & QRegion(rect()));
}

bool TStretchHandle::onChild(QPoint inParent) const
{
    for (const QRect& r : childRects())
        if (r.adjusted(-kHandleLead, -kHandleLead, kHandleLead, kHandleLead).contains(inParent))
            return true;
    return false;
}

QRect TStretchHandle::parentArea() const
{
    return parentWidget() ? parentWidget()->rect() : QRect();
}

// --- painting ---

void TStretchHandle::paintEvent(QPaintEvent*)
{
    const QList<QWidget*> children = liveChildren();
    if (children.isEmpty())
        return;
    QPainter painter(this);
    const QColor squares = children.size() == 1 ? m_primaryColor : m_secondaryColor;
    for (QWidget* c : children) {
        const QRect r = c->geometry().translated(-pos());
        painter.setPen(QPen(kOutlineColor, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
        for (const QRect& sq : grabSquares(r))
            painter.fillRect(sq, squares);
    }
}

// --- mouse ---

void TStretchHandle::showCursorFor(TDragStyle style)
{
    switch (style) {
    case TDragStyle::dsMove:
        setCursor(m_dragCursor);
        break;
    case TDragStyle::dsSizeTopLeft:
    case TDragStyle::dsSizeBottomRight:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case TDragStyle::dsSizeTopRight:
    case TDragStyle::dsSizeBottomLeft:
        setCursor(Qt::SizeBDiagCursor);
        break;
    case TDragStyle::dsSizeTop:
    case TDragStyle::dsSizeBottom:
        setCursor(Qt::SizeVerCursor);
        break;
    case TDragStyle::dsSizeLeft:
    case TDragStyle::dsSizeRight:
        setCursor(Qt::SizeHorCursor);
        break;
    }
}

void TStretchHandle::showOutline(const QRect& handleBounds)
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    if (!m_outline)
        m_outline = new DragOutline(parent);
    m_outline->setGeometry(handleDragOutline(handleBounds));
    m_outline->show();
    m_outline->raise();
}

void TStretchHandle::hideOutline()
{
    if (m_outline)
        delete m_outline.data();
    m_outline = nullptr;
}

QWidget* TStretchHandle::widgetBelow(QPoint inParent) const
{
    QWidget* parent = parentWidget();
    if (!parent)
        return nullptr;
    // The parent's children in stacking order, the topmost last.
    const QObjectList& siblings = parent->children();
    for (auto it = siblings.crbegin(); it != siblings.crend(); ++it) {
        auto* w = qobject_cast<QWidget*>(*it);
        if (!w || w == this || w->isWindow() || !w->isVisibleTo(parent) ||
            w->testAttribute(Qt::WA_TransparentForMouseEvents) || qobject_cast<TStretchHandle*>(w))
            continue;
        if (!w->geometry().contains(inParent))
            continue;
        const QPoint local = w->mapFromParent(inParent);
        if (!w->mask().isEmpty() && !w->mask().contains(local))
            continue;
        QWidget* deepest = w->childAt(local);
        return deepest ? deepest : w;
    }
    return parent;
}

void TStretchHandle::forward(QMouseEvent* event, QWidget* target)
{
    QWidget* parent = parentWidget();
    if (!target || !parent)
        return;
    const QPointF inParent = mapToParent(event->position());
    const QPointF local = target == parent ? inParent : target->mapFrom(parent, inParent);
    QMouseEvent copy(event->type(), local, event->scenePosition(), event->globalPosition(), event->button(),
                     event->buttons(), event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(target, &copy);
}

void TStretchHandle::mousePressEvent(QMouseEvent* event)
{
    const QPoint local = event->position().toPoint();
    const QPoint p = mapToParent(local);
    QPointer<TStretchHandle> self(this);
    if (!m_state.dragging()) {
        // The part under the press is the one taken hold of, moved over or not.
        m_state.hover(local, size(), ChildCount());
        if (m_state.press(p, event->button() == Qt::LeftButton, onChild(p))) {
            showCursorFor(m_state.dragStyle());
        } else {
            unsetCursor();
            if (!m_passTarget)
                m_passTarget = widgetBelow(p);
            forward(event, m_passTarget);
            if (!self)
                return;
        }
    }
    event->accept();
    Q_EMIT OnMouseDown(event->button(), event->modifiers(), local);
}

void TStretchHandle::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint local = event->position().toPoint();
    const QPoint p = mapToParent(local);
    QPointer<TStretchHandle> self(this);
    if (m_state.dragging()) {
        const QPoint held = clampToArea(p, parentArea());
        showCursorFor(m_state.dragStyle());
        showOutline(m_state.dragBounds(held, geometry(), minimumHandleSize()));
    } else if (m_passTarget) {
        forward(event, m_passTarget);
        if (!self)
            return;
    } else if (m_state.locked()) {
        setCursor(Qt::ForbiddenCursor);
    } else {
        showCursorFor(m_state.hover(local, size(), ChildCount()));
    }
    event->accept();
    Q_EMIT OnMouseMove(event->modifiers(), local);
}

void TStretchHandle::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint local = event->position().toPoint();
    const QPoint p = mapToParent(local);
    QPointer<TStretchHandle> self(this);
    if (m_state.dragging() && event->button() == Qt::LeftButton) {
        const QPoint held = clampToArea(p, parentArea());
        const StretchHandleState::DragEnd end = m_state.release(held, geometry(), minimumHandleSize());
        if (end.bounds)
            applyBounds(*end.bounds);
        hideOutline();
        if (parentWidget())
            parentWidget()->update();
        update();
        setFocus(Qt::MouseFocusReason);
        if (end.moved) {
            Q_EMIT OnMoved();
            if (!self)
                return;
        }
    } else if (m_passTarget) {
        QPointer<QWidget> target = m_passTarget;
        if (event->buttons() == Qt::NoButton)
            m_passTarget = nullptr;  // the last button of the press is up
        forward(event, target);
        if (!self)
            return;
    }
    event->accept();
    Q_EMIT OnMouseUp(event->button(), event->modifiers(), local);
}

// --- keys ---

void TStretchHandle::keyPressEvent(QKeyEvent* event)
{
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: break;
    }
    std::optional<QRect> nudged;
    if ((dx != 0 || dy != 0) && Attached() && !m_state.dragging())
        nudged = m_state.nudge(dx, dy, geometry());
    if (nudged) {
        applyBounds(*nudged);
        event->accept();
    } else {
        QWidget::keyPressEvent(event);  // not the handle's: on to its parent
    }
    Q_EMIT OnKeyDown(event->key(), event->modifiers());
}

}  // namespace ziro
