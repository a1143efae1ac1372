#pragma once

#include "controls/stretch_handle.h"

#include <QColor>
#include <QCursor>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace ziro {

// The move-and-resize frame of the caption editor, laid over one or more sibling
// controls: dragging inside moves them, dragging one of the eight grab
// squares (one control only) resizes them, arrow keys nudge them by a pixel.
//
// It is a plain child widget of the controls' parent, with no window of its
// own and no background, so it is drawn and fed inside the program's scaled
// presentation like everything else: mouse positions are taken in the
// parent's coordinates, the drag outline is a sibling widget in the same
// parent, and no screen position is ever used. Qt's own grab of the pressed
// widget carries a drag; the mouse is never grabbed beyond it.
//
// A press that is not the handle's (off its controls, another button, or a
// locked handle) goes to the widget below it, as do the moves and the
// release of that press. A locked handle moves by no drag and no key, and
// refuses SetBounds, so it and its controls never come apart.
//
// Every press, move, release and key press is reported afterwards through
// OnMouseDown / OnMouseMove / OnMouseUp / OnKeyDown (positions in handle
// coordinates); OnMoved fires after a drag that moved without resizing.
class TStretchHandle : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor SecondaryColor READ secondaryColor WRITE setSecondaryColor)
    Q_PROPERTY(bool Locked READ locked WRITE setLocked)
    Q_PROPERTY(int GridX READ gridX WRITE setGridX)
    Q_PROPERTY(int GridY READ gridY WRITE setGridY)
    Q_PROPERTY(bool SnapToGrid READ snapToGrid WRITE setSnapToGrid)
    Q_PROPERTY(QCursor DragCursor READ dragCursor WRITE setDragCursor)

public:
    // The failure of attaching a window ("a form").
    static const QString kAttachFormError;

    // Created 24 x 24, disabled and hidden.
    explicit TStretchHandle(QWidget* parent = nullptr);
    ~TStretchHandle() override;

    // Attaches a control: the first one gives the handle its parent and
    // bounds and shows it; further ones grow it to the union. A control of
    // another parent first detaches the others. Nothing happens for a null or
    // an attached control. A window cannot be attached: false, with
    // kAttachFormError as errorString(). The handle comes to the front and
    // takes the focus.
    bool Attach(QWidget* childControl);
    // Lets every control go: unlocked, 24 x 24, disabled, hidden. The handle
    // stays a hidden child of its parent (which owns it).
    void Detach();
    // Lets one control go; the handle closes around the others, or is
    // detached (keeping its size) when none is left.
    void ReleaseChild(QWidget* childControl);
    int IndexOf(QWidget* childControl) const;
    // Brings the attached controls to the front, or sends them to the back;
    // the handle stays in front of them either way.
    void BringToFront();
    void SendToBack();
    void SetColors(const QColor& color1, const QColor& color2);

    bool Attached() const { return ChildCount() > 0; }
    int ChildCount() const { return int(m_children.size()); }
    // Null for a bad index.
    QWidget* Children(int index) const;

    // Moves and sizes the handle, the attached controls keeping their offsets
    // and size differences to it. Sizes below what leaves every control
    // 1 x 1 are raised to it. False (nothing moves) while locked.
    bool SetBounds(int left, int top, int width, int height);
    bool SetBounds(const QRect& r) { return SetBounds(r.x(), r.y(), r.width(), r.height()); }

    QColor color() const { return m_primaryColor; }
    void setColor(const QColor& c);
    QColor secondaryColor() const { return m_secondaryColor; }
    void setSecondaryColor(const QColor& c);
    bool locked() const { return m_state.locked(); }
    // Locking ends a drag under way without applying it.
    void setLocked(bool on);
    int gridX() const { return m_state.gridX(); }
    void setGridX(int step) { m_state.setGridX(step); }
    int gridY() const { return m_state.gridY(); }
    void setGridY(int step) { m_state.setGridY(step); }
    bool snapToGrid() const { return m_state.snapToGrid(); }
    void setSnapToGrid(bool on) { m_state.setSnapToGrid(on); }
    QCursor dragCursor() const { return m_dragCursor; }
    void setDragCursor(const QCursor& c) { m_dragCursor = c; }

    bool dragging() const { return m_state.dragging(); }
    TDragStyle dragStyle() const { return m_state.dragStyle(); }
    QString errorString() const { return m_error; }
    // The outline shown during a drag (a sibling in the parent), or null.
    QWidget* dragOutline() const { return m_outline; }

Q_SIGNALS:
    void OnMoved();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QList<QWidget*> liveChildren() const;
    QList<QRect> childRects() const;
    QSize minimumHandleSize() const;
    bool onChild(QPoint inParent) const;
    QRect parentArea() const;
    void fitToChildren();
    void applyBounds(const QRect& r);
    void updateInputRegion();
    void showCursorFor(TDragStyle style);
    void showOutline(const QRect& handleBounds);
    void hideOutline();
    QWidget* widgetBelow(QPoint inParent) const;
    void forward(QMouseEvent* event, QWidget* target);
    void onChildDestroyed(QObject* child);

    StretchHandleState m_state;
    QList<QPointer<QWidget>> m_children;
    QColor m_primaryColor = Qt::black;
    QColor m_secondaryColor = QColor(128, 128, 128);  // 8421504
    QCursor m_dragCursor = QCursor(Qt::SizeAllCursor);
    QPointer<QWidget> m_outline;
    QPointer<QWidget> m_passTarget;  // the widget below that took the press
    QString m_error;
};

}  // namespace ziro
