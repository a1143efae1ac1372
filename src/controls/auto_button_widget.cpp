#include "controls/auto_button_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>

namespace ziro {

TautoButton::TautoButton(QWidget* parent)
    : QWidget(parent)
{
    // The parent's painting stays under the transparent parts of the shape.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    resize(m_state.size());
}

void TautoButton::setBitMapUp(const QImage& img) { apply(m_state.setBitMapUp(img)); }
void TautoButton::setBitMapDown(const QImage& img) { apply(m_state.setBitMapDown(img)); }
void TautoButton::setBitMapAlt(const QImage& img) { apply(m_state.setBitMapAlt(img)); }
void TautoButton::setBitMapMask(const QImage& img) { apply(m_state.setBitMapMask(img)); }
void TautoButton::setBitMapLocking(const QImage& img) { apply(m_state.setBitMapLocking(img)); }
void TautoButton::setBitMapLocked(const QImage& img) { apply(m_state.setBitMapLocked(img)); }
void TautoButton::setBitMapSpare(const QImage& img) { apply(m_state.setBitMapSpare(img)); }
void TautoButton::setDisplayAlt(bool on) { apply(m_state.setDisplayAlt(on)); }
void TautoButton::lockButton() { apply(m_state.lockButton()); }
void TautoButton::unLockButton() { apply(m_state.unLockButton()); }
void TautoButton::displaySpare() { apply(m_state.displaySpare()); }
void TautoButton::setDisabledLook(bool on) { apply(m_state.setDisabledLook(on)); }
void TautoButton::showPressed() { apply(m_state.showPressed()); }
void TautoButton::showReleased() { apply(m_state.showReleased()); }

bool TautoButton::apply(const AutoButtonEffects& fx)
{
    if (fx.resized && size() != m_state.size())
        resize(m_state.size());
    if (fx.shapeChanged)
        updateInputRegion();
    if (fx.repaint)
        update();

    QPointer<TautoButton> self(this);
    if (fx.locked)
        Q_EMIT FonLocked(this);
    if (self && fx.unlocked)
        Q_EMIT FonUnLocked(this);
    if (self && fx.clicked)
        Q_EMIT onClick();
    return !self.isNull();
}

void TautoButton::updateInputRegion()
{
    const QImage& mask = m_state.picture(FrameMask);
    if (mask.isNull()) {
        clearMask();
        return;
    }
    // The same shape the hit test uses, so presses on the see-through parts
    // reach the widget behind. (An all-black mask gives an empty region, which
    // Qt treats as no mask; the hit test still keeps such a button inert.)
    QRegion region;
    const QSize sz = m_state.size();
    for (int y = 0; y < sz.height(); ++y) {
        int x = 0;
        while (x < sz.width()) {
            while (x < sz.width() && !m_state.hitTest({x, y}))
                ++x;
            const int start = x;
            while (x < sz.width() && m_state.hitTest({x, y}))
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    setMask(region);
}

void TautoButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_state.composed());
}

void TautoButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    apply(m_state.setSize(size()));
}

void TautoButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !apply(m_state.press(pos)))
        return;
    event->accept();
    Q_EMIT onMouseDown(event->button(), event->modifiers(), pos);
}

void TautoButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!apply(m_state.move(pos)))
        return;
    event->accept();
    Q_EMIT onMouseMove(event->modifiers(), pos);
}

void TautoButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !apply(m_state.release(pos)))
        return;
    event->accept();
    Q_EMIT onMouseUp(event->button(), event->modifiers(), pos);
}

}  // namespace ziro
