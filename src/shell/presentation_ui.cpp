#include "shell/presentation_ui.h"

#include "shell/presentation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace ziro {

namespace {

QRect primaryScreenGeometry()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        return s->geometry();
    return QRect(0, 0, 640, 480);
}

}  // namespace

PresentationHost::PresentationHost(QWidget* content)
    : QGraphicsView(static_cast<QWidget*>(nullptr)), m_content(content)
{
    setWindowFlag(Qt::FramelessWindowHint);
    setObjectName(QStringLiteral("PresentationHost"));
    setWindowTitle(content->windowTitle());
    setWindowIcon(content->windowIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignCenter);
    setBackgroundBrush(Qt::black);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::Base, Qt::black);
    viewport()->setPalette(pal);
    // Text is laid out and drawn by the scaled painter, and pictures are
    // sampled from their own pixels: nothing is drawn at 640 x 480 first
    // and then blown up.
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    setFocusPolicy(Qt::StrongFocus);

    auto* scene = new QGraphicsScene(this);
    scene->setBackgroundBrush(Qt::black);
    setScene(scene);
    // A widget cannot be embedded while it shows as a window of its own;
    // shown again below the proxy it no longer maps a window of its own.
    if (content->isVisible())
        content->hide();
    // The content keeps its own geometry; the proxy follows it and the
    // view follows the proxy.
    m_proxy = scene->addWidget(content);
    m_proxy->setFocusPolicy(Qt::StrongFocus);
    connect(m_proxy, &QGraphicsWidget::geometryChanged, this, &PresentationHost::fit);
    // The proxy mirrors the content's visibility, and is up to date by the
    // time it says so (an event filter on the content would run too early).
    connect(m_proxy, &QGraphicsObject::visibleChanged, this, &PresentationHost::followContent);

    // Connected after the proxy's own handler, so the proxy has let go of
    // the dying content (and deleted itself) when this runs.
    connect(content, &QObject::destroyed, this, [this] {
        m_proxy = nullptr;
        delete this;
    });
    content->installEventFilter(this);
    // Pop-ups of the content (menus and their submenus) are embedded by Qt
    // as proxies of their own; their showing and moving is watched here.
    qApp->installEventFilter(this);
    fit();
}

PresentationHost::~PresentationHost()
{
    qApp->removeEventFilter(this);
    if (m_content) {
        m_content->removeEventFilter(this);
        disconnect(m_content, nullptr, this, nullptr);
        if (m_proxy) {
            // Hand the widget back instead of letting the scene delete it.
            disconnect(m_proxy, nullptr, this, nullptr);
            m_proxy->setWidget(nullptr);
            m_content->hide();
        }
    }
}

PresentationHost* PresentationHost::of(const QWidget* content)
{
    if (!content)
        return nullptr;
    QGraphicsProxyWidget* proxy = content->graphicsProxyWidget();
    if (!proxy || !proxy->scene())
        return nullptr;
    for (QGraphicsView* view : proxy->scene()->views()) {
        if (auto* host = qobject_cast<PresentationHost*>(view); host && host->m_proxy == proxy)
            return host;
    }
    return nullptr;
}

QRectF PresentationHost::contentRect() const
{
    if (!m_proxy)
        return {};
    return viewportTransform().mapRect(m_proxy->sceneBoundingRect());
}

void PresentationHost::fit()
{
    if (!m_proxy)
        return;
    const QRectF surface = m_proxy->sceneBoundingRect();
    m_scale = fitScale(viewport()->size(), surface.size());
    setTransform(QTransform::fromScale(m_scale, m_scale));
    // A scene rect the size of the whole viewport, with the content centred
    // in it: no scroll range is left for rounding to nudge.
    const QSizeF view = QSizeF(viewport()->size()) / m_scale;
    setSceneRect(QRectF(surface.center() - QPointF(view.width() / 2.0, view.height() / 2.0), view));
    centerOn(surface.center());
}

void PresentationHost::followScreen()
{
    QWindow* window = windowHandle();
    if (m_followingScreen || !window)
        return;
    m_followingScreen = true;
    connect(window, &QWindow::screenChanged, this, [this](QScreen* screen) {
        watchScreen(screen);
        if (isVisible())
            present();
    });
    watchScreen(window->screen());
}

void PresentationHost::watchScreen(QScreen* screen)
{
    disconnect(m_screenWatch);
    m_screen = screen;
    if (screen) {
        m_screenWatch = connect(screen, &QScreen::geometryChanged, this, [this] {
            if (isVisible())
                present();
        });
    }
}

void PresentationHost::present()
{
    followScreen();
    // Full screen is asked for; the geometry is only a wish where the
    // platform places windows itself (Wayland), and the whole of it where
    // there is no window manager to grant full screen.
    const QRect screen = m_screen ? m_screen->geometry() : primaryScreenGeometry();
    setGeometry(screen);
    showFullScreen();
    followScreen();
    raise();
    activateWindow();
    if (m_proxy)
        m_proxy->setFocus(Qt::ActiveWindowFocusReason);
}

void PresentationHost::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    fit();
}

void PresentationHost::showEvent(QShowEvent* event)
{
    QGraphicsView::showEvent(event);
    fit();
}

void PresentationHost::closeEvent(QCloseEvent* event)
{
    if (m_closing || !m_content || m_content->isHidden()) {
        event->accept();
        return;
    }
    // The content's own close query decides. When it agrees, its hiding
    // reaches followContent, which leaves the host to this close.
    m_closing = true;
    QPointer<PresentationHost> self(this);
    const bool closed = m_content->close();
    if (!self)
        return;
    m_closing = false;
    event->setAccepted(closed);
}

bool PresentationHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_content) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || type == QEvent::Move) && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow())
                if (QGraphicsProxyWidget* p = w->graphicsProxyWidget(); p && p != m_proxy &&
                                                                        p->scene() == scene())
                    trackPopup(p);
        }
        return QGraphicsView::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Close: {
        if (m_forwardingClose)
            break;
        // Deliver the close event now, to learn whether the content agreed:
        // only then is its coming hide the end of the program's window.
        m_forwardingClose = true;
        QPointer<PresentationHost> self(this);
        QPointer<QWidget> content = m_content;
        QCoreApplication::sendEvent(content, event);
        if (!self)
            return true;
        m_forwardingClose = false;
        m_contentClosing = content && event->isAccepted();
        return true;
    }
    case QEvent::Hide:
        // Seen before the proxy hears of it. A proxy that loses sight of its
        // widget while holding the focus walks the widget's focus chain to
        // pass the focus on, and a widget being deleted has already taken
        // itself out of that chain: Qt would follow a null link. A hidden
        // window needs no focus anyway; present() gives it back.
        if (m_proxy && m_proxy->hasFocus())
            m_proxy->clearFocus();
        break;
    default:
        break;
    }
    return QGraphicsView::eventFilter(watched, event);
}

void PresentationHost::trackPopup(QGraphicsProxyWidget* popup)
{
    // Qt places the proxy from the widget's move, after this filter has
    // seen the event: place it again then, and once more from the loop for
    // a proxy that is made only as the widget shows.
    if (!popup->property("ziroTracked").toBool()) {
        popup->setProperty("ziroTracked", true);
        connect(popup, &QGraphicsWidget::geometryChanged, this, [this, popup] { placePopup(popup); });
    }
    placePopup(popup);
    QMetaObject::invokeMethod(
        this, [this, guard = QPointer<QGraphicsProxyWidget>(popup)] {
            if (guard)
                placePopup(guard);
        },
        Qt::QueuedConnection);
}

void PresentationHost::placePopup(QGraphicsProxyWidget* popup)
{
    QWidget* w = popup->widget();
    if (!w)
        return;
    // A pop-up's position is a screen position; the proxy must show it
    // there. Qt gets this right for a pop-up of the content itself but
    // places a pop-up opened from another pop-up (a submenu) relative to
    // the content instead of its parent pop-up. A translation of the item
    // moves it without moving the widget, whose position Qt keeps using.
    const QPointF wanted =
        viewportTransform().inverted().map(viewport()->mapFromGlobal(QPointF(w->pos())));
    const QPointF placed = popup->parentItem() ? popup->parentItem()->mapToScene(popup->pos())
                                               : popup->pos();
    const QPointF off = wanted - placed;
    // Within a pixel is rounding of the screen position, not a misplacement.
    const bool misplaced = std::abs(off.x()) > 1.0 || std::abs(off.y()) > 1.0;
    const QTransform shift = misplaced ? QTransform::fromTranslate(off.x(), off.y()) : QTransform();
    if (popup->transform() != shift)
        popup->setTransform(shift);
}

void PresentationHost::followContent()
{
    if (!m_proxy || m_closing)
        return;
    if (m_proxy->isVisible()) {
        m_contentClosing = false;
        if (!isVisible())
            present();
        return;
    }
    if (m_contentClosing) {
        m_contentClosing = false;
        close();
    } else {
        hide();
    }
}

void presentMain(QWidget* main, bool fill)
{
    if (!main)
        return;
    if (fill) {
        PresentationHost* host = PresentationHost::of(main);
        if (!host)
            host = new PresentationHost(main);
        if (main->isHidden())
            main->show();  // the host follows
        else
            host->present();
        return;
    }
    // Back from a host to a window of its own.
    delete PresentationHost::of(main);
    const QRect screen = primaryScreenGeometry();
    if (screen.height() > 480) {
        main->move(screen.x() + (screen.width() - main->width()) / 2,
                   screen.y() + (screen.height() - main->height()) / 2);
        main->show();
    } else {
        main->move(screen.topLeft());
        main->showFullScreen();
    }
}

QWidget* presentationWindow(QWidget* main)
{
    if (PresentationHost* host = PresentationHost::of(main))
        return host;
    return main;
}

void bringPresentationForward(QWidget* main)
{
    if (!main)
        return;
    if (PresentationHost* host = PresentationHost::of(main)) {
        host->present();
        QApplication::alert(host);
        return;
    }
    // Back from the task bar, but a full-screen window stays full screen.
    main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    main->show();
    main->raise();
    main->activateWindow();
    QApplication::alert(main);
}

}  // namespace ziro
