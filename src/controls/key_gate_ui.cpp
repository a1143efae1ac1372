#include "controls/key_gate_ui.h"

#include "controls/overlay_widget.h"

#include <QGraphicsView>
#include <QKeyEvent>

#include <algorithm>

namespace ziro {

namespace {
KeyGate* s_current = nullptr;

bool isKeyEvent(const QEvent* event)
{
    return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
}
}  // namespace

QObject* KeyGate::keyOwner(QWidget* w)
{
    // A modal overlay takes the keys typed anywhere else in its window.
    if (OverlayWindow* modal = OverlayWindow::activeModal();
        modal && w->window() == modal->window() && w != modal && !modal->isAncestorOf(w))
        return modal;
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (p->isWindow() || qobject_cast<OverlayWindow*>(p))
            return p;
    }
    return w;
}

bool KeyGate::inFlight(const QEvent* event) const
{
    return std::find(m_inFlight.begin(), m_inFlight.end(), event) != m_inFlight.end();
}

bool KeyGate::admit(QObject* receiver, QEvent* event)
{
    if (!isKeyEvent(event))
        return true;
    auto* ke = static_cast<QKeyEvent*>(event);
    // Platform windows and the presentation's view hand the key on to a
    // widget, which is judged when it gets it.
    const bool handsOn = !receiver->isWidgetType() || qobject_cast<QGraphicsView*>(receiver);
    if (ke->isAutoRepeat() || handsOn) {
        m_inFlight.push_back(event);
        return true;
    }
    QObject* owner = keyOwner(static_cast<QWidget*>(receiver));
    const int key = ke->key();
    auto it = m_pressed.find(key);
    if (event->type() == QEvent::KeyPress) {
        // The first widget a press reaches names its window; the parents it
        // travels up to afterwards, unaccepted, do not.
        if (it == m_pressed.end() || it->pressEvent != event)
            m_pressed.insert(key, Press{owner, false, event, nullptr});
        m_inFlight.push_back(event);
        return true;
    }
    if (it == m_pressed.end())
        return false;  // pressed before, or in another program
    if (!it->passedOn && it->owner != owner) {
        // Spent: the press went to another window. Forget it at once unless
        // this release is on its way up from a widget that did take it.
        if (it->releaseEvent != event)
            m_pressed.erase(it);
        return false;
    }
    it->releaseEvent = event;
    m_inFlight.push_back(event);
    return true;
}

void KeyGate::endDelivery(QEvent* event)
{
    const auto last = std::find(m_inFlight.rbegin(), m_inFlight.rend(), event);
    if (last != m_inFlight.rend())
        m_inFlight.erase(std::next(last).base());
    if (inFlight(event))
        return;
    for (auto it = m_pressed.begin(); it != m_pressed.end();) {
        if (it->releaseEvent == event) {
            it = m_pressed.erase(it);
            continue;
        }
        if (it->pressEvent == event)
            it->pressEvent = nullptr;
        ++it;
    }
}

void KeyGate::passOn(int key)
{
    if (!s_current)
        return;
    if (auto it = s_current->m_pressed.find(key); it != s_current->m_pressed.end())
        it->passedOn = true;
}

GuiApplication::GuiApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    s_current = &m_gate;
}

GuiApplication::~GuiApplication()
{
    if (s_current == &m_gate)
        s_current = nullptr;
}

bool GuiApplication::notify(QObject* receiver, QEvent* event)
{
    if (!isKeyEvent(event) || !receiver)
        return QApplication::notify(receiver, event);
    if (!m_gate.admit(receiver, event)) {
        event->accept();
        return true;
    }
    // Ended however the delivery ends: a handler may throw through here.
    struct End {
        KeyGate& gate;
        QEvent* event;
        ~End() { gate.endDelivery(event); }
    } end{m_gate, event};
    return QApplication::notify(receiver, event);
}

}  // namespace ziro
