#pragma once

#include "controls/auto_button.h"

#include <QImage>
#include <QWidget>

namespace ziro {

// The picture button of the main window and the menus. It has no window of
// its own and paints no background: where the mask is black the widget behind
// shows through, and mouse presses there go to that widget too.
//
// Only the left button drives the button. Every press, move and release, of
// any button, is reported afterwards through onMouseDown / onMouseMove /
// onMouseUp with the button and position, so a window can act on a right
// press (the event itself is accepted and does not reach the parent).
// Mouse tracking is on, so onMouseMove also reports hovering, for highlights.
class TautoButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage BitMapUp READ bitMapUp WRITE setBitMapUp)
    Q_PROPERTY(QImage BitMapDown READ bitMapDown WRITE setBitMapDown)
    Q_PROPERTY(QImage BitMapAlt READ bitMapAlt WRITE setBitMapAlt)
    Q_PROPERTY(QImage BitMapMask READ bitMapMask WRITE setBitMapMask)
    Q_PROPERTY(QImage BitMapLocking READ bitMapLocking WRITE setBitMapLocking)
    Q_PROPERTY(QImage BitMapLocked READ bitMapLocked WRITE setBitMapLocked)
    Q_PROPERTY(QImage BitMapSpare READ bitMapSpare WRITE setBitMapSpare)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(bool DisplayAlt READ displayAlt WRITE setDisplayAlt)
    Q_PROPERTY(bool LockMode READ lockMode WRITE setLockMode)

public:
    explicit TautoButton(QWidget* parent = nullptr);

    QImage bitMapUp() const { return m_state.picture(FrameUp); }
    QImage bitMapDown() const { return m_state.picture(FrameDown); }
    QImage bitMapAlt() const { return m_state.picture(FrameAlt); }
    QImage bitMapMask() const { return m_state.picture(FrameMask); }
    QImage bitMapLocking() const { return m_state.picture(FrameLocking); }
    QImage bitMapLocked() const { return m_state.picture(FrameLocked); }
    QImage bitMapSpare() const { return m_state.picture(FrameSpare); }

    // An empty up picture makes the button 70 x 45; otherwise, with AutoSize,
    // the button takes the picture's size.
    void setBitMapUp(const QImage& img);
    void setBitMapDown(const QImage& img);
    void setBitMapAlt(const QImage& img);
    void setBitMapMask(const QImage& img);
    void setBitMapLocking(const QImage& img);
    void setBitMapLocked(const QImage& img);
    void setBitMapSpare(const QImage& img);

    bool autoSize() const { return m_state.autoSize(); }
    void setAutoSize(bool on) { m_state.setAutoSize(on); }
    bool displayAlt() const { return m_state.displayAlt(); }
    // Ignored without an alternate picture, when unchanged, and while disabled.
    void setDisplayAlt(bool on);
    bool lockMode() const { return m_state.lockMode(); }
    void setLockMode(bool on) { m_state.setLockMode(on); }
    bool isLocked() const { return m_state.lockedDown(); }
    int frame() const { return m_state.frame(); }

    void lockButton();
    void unLockButton();
    void displaySpare();

    // "Shown disabled": greyed (the locked picture, or a greyed up picture),
    // not highlighted and deaf to the left button. Callers refuse the action
    // of a button that isDisabledLook(). Off shows it released again.
    void setDisabledLook(bool on);
    bool isDisabledLook() const { return m_state.isDisabledLook(); }

    // The pressed animation of an action started by key or click.
    void showPressed();
    void showReleased();

    const AutoButtonState& state() const { return m_state; }

Q_SIGNALS:
    void onClick();
    void FonLocked(ziro::TautoButton* sender);
    void FonUnLocked(ziro::TautoButton* sender);
    void onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void onMouseMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void onMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Carries out what the state asks; false when a handler destroyed the button.
    bool apply(const AutoButtonEffects& fx);
    void updateInputRegion();

    AutoButtonState m_state;
};

}  // namespace ziro
