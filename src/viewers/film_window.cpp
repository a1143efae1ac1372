#include "viewers/film_window.h"

#include "base/dialogs.h"
#include "controls/film_surface_widget.h"
#include "platform/system/system_services.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ziro {

namespace {
// The form at its window size; the logic places it over the lesson.
const QRect kFormRect(16, 18, 607, 374);

QFrame* plainFrame(QWidget* parent, const char* name, const QColor& colour)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setAutoFillBackground(true);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, colour);
    f->setPalette(pal);
    return f;
}
}  // namespace

FilmWindow::FilmWindow(QWidget* host, const QString& className, SystemServices& system,
                       Dialogs& dialogs)
    : OverlayWindow(host, className, kFormRect), m_system(system), m_dialogs(dialogs)
{
    setWindowTitle(QStringLiteral("Video lettore"));
    setFrameShape(QFrame::NoFrame);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    m_image = plainFrame(this, "Image1", Qt::white);
    m_image->setGeometry(60, 0, 494, 374);
    m_panel = plainFrame(this, "Panel5", Qt::white);
    m_panel->setFrameShape(QFrame::Box);
    m_panel->setLineWidth(1);
    m_panel->setGeometry(62, 2, 490, 370);
    m_screen = new FilmSurfaceWidget(this);
    m_screen->setObjectName(QStringLiteral("Schermo"));
    m_screen->setGeometry(63, 3, 488, 368);
    const char* names[] = {"MaskL", "MaskR", "MaskT", "MaskB"};
    for (size_t i = 0; i < m_masks.size(); ++i) {
        m_masks[i] = plainFrame(this, names[i], Qt::white);
        m_masks[i]->hide();
    }
    for (QWidget* w : {static_cast<QWidget*>(m_image), static_cast<QWidget*>(m_panel),
                       static_cast<QWidget*>(m_screen)})
        w->installEventFilter(this);
    for (QFrame* m : m_masks)
        m->installEventFilter(this);

    m_seekTimer.setInterval(40);
    connect(&m_seekTimer, &QTimer::timeout, this, [this] {
        if (m_logic)
            m_logic->SeekTimerTimer();
    });
}

FilmWindow::~FilmWindow()
{
    m_seekTimer.stop();
    // The engine outlives the window: it must not paint into a widget that
    // has gone.
    m_screen->setBackend(nullptr);
}

void FilmWindow::attach(FilmWindowLogic* logic, FilmBackend* backend)
{
    m_logic = logic;
    m_backend = backend;
}

void FilmWindow::placeWindow(const QRect& r)
{
    setGeometry(r);
}

void FilmWindow::showWindow()
{
    // Only the window on show takes the engine's pictures: both film
    // windows share one engine.
    m_screen->setBackend(m_backend);
    showModeless();
}

void FilmWindow::hideWindow()
{
    hide();
    m_screen->setBackend(nullptr);
}

void FilmWindow::placeScreen(const QRect& r)
{
    m_screen->setGeometry(r);
    m_screen->raise();
    for (QFrame* m : m_masks)
        m->raise();
}

void FilmWindow::placeMasks(const FilmMasks& m)
{
    const QRect rects[] = {m.left, m.right, m.top, m.bottom};
    for (size_t i = 0; i < m_masks.size(); ++i) {
        QFrame* f = m_masks[i];
        QPalette pal = f->palette();
        pal.setColor(QPalette::Window, m.colour);
        f->setPalette(pal);
        f->setGeometry(rects[i]);
        f->setVisible(m.shown);
        f->raise();
    }
}

void FilmWindow::takeFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void FilmWindow::beep(int hertz, int ms)
{
    Q_UNUSED(hertz);
    Q_UNUSED(ms);
    m_system.beep();
}

void FilmWindow::message(const QString& text)
{
    m_dialogs.message(text);
}

void FilmWindow::startEndCheck()
{
    m_seekTimer.start();
}

void FilmWindow::stopEndCheck()
{
    m_seekTimer.stop();
}

void FilmWindow::singleShot(int ms)
{
    QTimer::singleShot(ms, this, [this] {
        if (m_logic)
            m_logic->endCloseTimeout();
    });
}

void FilmWindow::passKey(int key, Qt::KeyboardModifiers mods)
{
    Q_EMIT keyPassed(key, mods);
}

bool FilmWindow::configWindowVisible() const
{
    return m_configWindow && m_configWindow->isVisible();
}

void FilmWindow::focusQuizIfVisible()
{
    if (m_quizWindow && m_quizWindow->isVisible())
        m_quizWindow->setFocus(Qt::OtherFocusReason);
}

void FilmWindow::toggleFullScreen()
{
    // Laid over the lesson, full screen is the full size of the lesson:
    // the key enlarges a small film and shrinks a large one again.
    if (!m_logic)
        return;
    if (m_logic->schermo().width() < 640)
        m_logic->FormClick();
    else if (!m_logic->schermo().isNull())
        m_logic->SchermoClick();
}

bool FilmWindow::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
        && type != QEvent::MouseButtonDblClick)
        return OverlayWindow::eventFilter(watched, event);
    // The picture, its masks and the white picture behind it are "the
    // film": a click there is the picture's click. Presses are taken, so
    // that their release comes back here inside the scaled presentation.
    auto* me = static_cast<QMouseEvent*>(event);
    if (!m_logic)
        return true;
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (me->button() == Qt::RightButton && watched == m_screen)
            m_logic->SchermoMouseDown(Qt::RightButton);
        m_pressedOnScreen = me->button() == Qt::LeftButton;
        return true;
    }
    if (me->button() == Qt::LeftButton && m_pressedOnScreen) {
        m_pressedOnScreen = false;
        auto* w = static_cast<QWidget*>(watched);
        if (w->rect().contains(me->position().toPoint()))
            m_logic->SchermoClick();
    }
    return true;
}

void FilmWindow::mousePressEvent(QMouseEvent* event)
{
    m_pressedOnForm = event->button() == Qt::LeftButton;
    event->accept();
}

void FilmWindow::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !std::exchange(m_pressedOnForm, false))
        return;
    if (m_logic && rect().contains(event->position().toPoint()))
        m_logic->FormClick();
}

void FilmWindow::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (event->isAutoRepeat() || !m_logic)
        return;
    m_logic->FormKey(event->key(), event->modifiers());
}

void FilmWindow::closeEvent(QCloseEvent* event)
{
    if (m_logic && m_logic->active())
        m_logic->Chiudi();
    OverlayWindow::closeEvent(event);
}

}  // namespace ziro
