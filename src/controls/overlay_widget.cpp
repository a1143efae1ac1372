#include "controls/overlay_widget.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QShowEvent>

#include <vector>

namespace ziro {

namespace {
// Modal overlays nest (a confirmation asked from inside a modal menu); only
// the innermost one receives input.
std::vector<QPointer<OverlayWindow>>& modalStack()
{
    static std::vector<QPointer<OverlayWindow>> stack;
    return stack;
}

bool isInputEvent(QEvent::Type t)
{
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}
}  // namespace

OverlayWindow::OverlayWindow(QWidget* host, const QString& className, const QRect& geometry)
    : QFrame(host)
{
    setObjectName(className);
    setGeometry(geometry);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

OverlayWindow::~OverlayWindow()
{
    if (m_loop)
        m_loop->exit(m_result);
}

OverlayWindow* OverlayWindow::activeModal()
{
    auto& stack = modalStack();
    while (!stack.empty() && !stack.back())
        stack.pop_back();
    return stack.empty() ? nullptr : stack.back().data();
}

int OverlayWindow::execModal()
{
    if (m_loop)  // already running: a second request just brings it forward
        return m_result;
    m_result = 0;
    modalStack().push_back(this);
    qApp->installEventFilter(this);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);

    QEventLoop loop;
    m_loop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;

    qApp->removeEventFilter(this);
    auto& stack = modalStack();
    std::erase_if(stack, [this](const QPointer<OverlayWindow>& p) { return !p || p == this; });
    hide();
    return m_result;
}

void OverlayWindow::showModeless()
{
    show();
    raise();
}

void OverlayWindow::done(int result)
{
    m_result = result;
    if (m_loop)
        m_loop->exit(result);
    else
        hide();
}

void OverlayWindow::showEvent(QShowEvent* event)
{
    if (QWidget* focus = window()->focusWidget(); focus && focus != this && !isAncestorOf(focus))
        m_focusBefore = focus;
    QFrame::showEvent(event);
    raise();
    Q_EMIT shown();
}

void OverlayWindow::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    // Keys must not go on to a window that has gone. Qt moves the focus
    // away from a hidden widget only when its window is the active one,
    // which a window presented inside the scaled view never is.
    if (QWidget* host = parentWidget(); host && !event->spontaneous()) {
        const QWidget* focus = window()->focusWidget();
        if (focus && (focus == this || isAncestorOf(focus))) {
            // Back where the keyboard was before this window came up (the
            // menu a film was started from), or else the window under it.
            QWidget* before = m_focusBefore.data();
            if (before && before->isVisible() && before->isEnabled())
                before->setFocus(Qt::OtherFocusReason);
            else
                host->setFocus(Qt::OtherFocusReason);
        }
    }
    m_focusBefore.clear();
    if (m_loop)  // hidden from outside while modal: the run ends
        m_loop->exit(m_result);
    Q_EMIT hidden();
}

bool OverlayWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (activeModal() != this || !isInputEvent(event->type()) || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w == this || isAncestorOf(w))
        return false;
    // A message box opened meanwhile is a window of its own and must stay
    // answerable, or its loop and this one would wait on each other.
    if (w->window() != window())
        return false;
    // Keys typed while the focus sits elsewhere belong to the modal window.
    // A key this window leaves unused propagates to its host and would come
    // straight back here: it is spent instead.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && !m_forwarding) {
        auto* ke = static_cast<QKeyEvent*>(event);
        QKeyEvent copy(ke->type(), ke->key(), ke->modifiers(), ke->text(), ke->isAutoRepeat(),
                       ke->count());
        QWidget* target = focusWidget() ? focusWidget() : this;
        m_forwarding = true;
        QApplication::sendEvent(target, &copy);
        m_forwarding = false;
    }
    return true;
}

}  // namespace ziro
