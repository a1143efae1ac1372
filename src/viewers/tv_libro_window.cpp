#include "viewers/tv_libro_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace ziro {

namespace {

// The area at (3, 3), 600 x 371, in a 603 x 374 window.
constexpr QRect kScrollBoxRect{3, 3, 600, 371};

// The marker: a red hand pointing right (the Wingdings "F" of the original),
// drawn in its box so that its fingertip is 3 pixels inside the right edge,
// at the middle row less 2: where FreX, FreY points.
class BookMarker : public QWidget {
public:
    explicit BookMarker(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Freccia"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(kBookMarkerSize);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal w = width();
        const qreal h = height();
        const qreal tipY = h / 2 - 2;
        QPainterPath hand;
        // The parts overlap: their union, without holes where they do.
        hand.setFillRule(Qt::WindingFill);
        // Cuff.
        hand.addRoundedRect(QRectF(1, tipY - 9, 7, 20), 2, 2);
        // Palm and folded fingers.
        hand.addRoundedRect(QRectF(8, tipY - 7, 15, 18), 4, 4);
        // Pointing finger, its tip at (w - 3, tipY).
        hand.addRoundedRect(QRectF(18, tipY - 3, w - 3 - 18, 7), 3.5, 3.5);
        // Thumb over the palm.
        hand.addRoundedRect(QRectF(12, tipY - 10, 11, 6), 3, 3);
        p.setPen(QPen(QColor(120, 0, 0), 1.6));
        p.setBrush(QColor(230, 0, 0));
        p.drawPath(hand.simplified());
        // The knuckles of the folded fingers.
        p.setPen(QPen(QColor(120, 0, 0), 1.2));
        for (int i = 0; i < 3; ++i) {
            const qreal y = tipY + 5 + i * 3.0;
            p.drawLine(QPointF(14, y), QPointF(22, y));
        }
    }
};

}  // namespace

// DisplayPagina: the page picture centred in the width of the area, as tall
// as the picture.
class BookPageView : public QWidget {
public:
    explicit BookPageView(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("DisplayPagina"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void setPicture(const QImage& picture)
    {
        m_picture = picture;
        update();
    }
    const QImage& picture() const { return m_picture; }
    QRect pictureRect() const
    {
        if (m_picture.isNull())
            return {};
        return QRect(QPoint(std::max(0, (width() - m_picture.width()) / 2), 0), m_picture.size());
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        p.fillRect(event->rect(), Qt::white);
        if (m_picture.isNull())
            return;
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRect target = pictureRect();
        // Only the rows in view: a page 20,000 pixels tall costs what its
        // visible part costs.
        const QRect part = event->rect().intersected(target);
        if (!part.isEmpty())
            p.drawImage(part, m_picture, part.translated(-target.topLeft()));
    }

private:
    QImage m_picture;
};

TTVlibro::TTVlibro(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVlibro"), QRect(18, 17, 603, 374))
{
    setWindowTitle(QString::fromUtf8("Libro"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setGeometry(kScrollBoxRect);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    m_scroll->setPalette(pal);
    m_scroll->viewport()->setPalette(pal);
    m_scroll->viewport()->setAutoFillBackground(true);
    m_page = new BookPageView(m_scroll);
    m_page->resize(m_scroll->viewport()->width(), 640);
    m_scroll->setWidget(m_page);
    m_page->setCursor(m_hand);
    m_page->installEventFilter(this);
    m_scroll->viewport()->installEventFilter(this);
    // The marker lives in the page, so it scrolls with it.
    m_marker = new BookMarker(m_page);
    connect(m_scroll->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int y) {
        Q_EMIT scrolled(y);
    });
}

void TTVlibro::setCursors(const QCursor& hand, const QCursor& grab)
{
    m_hand = hand;
    m_grab = grab;
    m_page->setCursor(m_hand);
}

QWidget* TTVlibro::page() const
{
    return m_page;
}

QWidget* TTVlibro::marker() const
{
    return m_marker;
}

const QImage& TTVlibro::pagePicture() const
{
    return m_page->picture();
}

QRect TTVlibro::pictureRect() const
{
    return m_page->pictureRect();
}

QRect TTVlibro::mainGeometry() const
{
    return parentWidget() ? parentWidget()->rect() : QRect(0, 0, 640, 480);
}

void TTVlibro::showWindow(const QPoint& topLeft)
{
    move(topLeft);
    if (!isVisible())
        showModeless();
    raise();
}

void TTVlibro::hideWindow()
{
    m_marker->hide();
    if (isVisible())
        done(0);
}

void TTVlibro::setPage(const QImage& page)
{
    m_page->setPicture(page);
    m_page->resize(m_scroll->viewport()->width(), std::max(1, page.height()));
}

void TTVlibro::setMarker(const std::optional<QRect>& box)
{
    if (!box) {
        m_marker->hide();
        return;
    }
    // Page pixels to DisplayPagina: the picture is centred in the area.
    m_marker->setGeometry(box->translated(m_page->pictureRect().topLeft()));
    m_marker->show();
    m_marker->raise();
}

int TTVlibro::scrollPosition() const
{
    return m_scroll->verticalScrollBar()->value();
}

int TTVlibro::scrollMaximum() const
{
    return m_scroll->verticalScrollBar()->maximum();
}

void TTVlibro::setScrollPosition(int y)
{
    m_scroll->verticalScrollBar()->setValue(y);
}

void TTVlibro::setDragging(bool on)
{
    // BloccaCursore: the page keeps the pointer's moves from the press to
    // the release (Qt's implicit grab), also outside the area; the pointer
    // itself is not confined, which Wayland and the scaled presentation
    // would not allow.
    m_page->setCursor(on ? m_grab : m_hand);
}

void TTVlibro::takeFocus()
{
    if (isVisible())
        setFocus(Qt::OtherFocusReason);
}

void TTVlibro::passKey(int key, Qt::KeyboardModifiers mods)
{
    Q_EMIT keyPassed(key, mods);
}

void TTVlibro::keyPressEvent(QKeyEvent* event)
{
    if (m_logic)
        m_logic->FormKeyDown(event->key());
    event->accept();
}

void TTVlibro::keyReleaseEvent(QKeyEvent* event)
{
    if (m_logic && !event->isAutoRepeat())
        m_logic->FormKey(event->key(), event->modifiers());
    event->accept();
}

bool TTVlibro::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_logic || (watched != m_page && watched != m_scroll->viewport()))
        return OverlayWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        m_logic->wheel(e->angleDelta().y());
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (watched != m_page)
            break;
        auto* e = static_cast<QMouseEvent*>(event);
        const int row = m_page->mapTo(m_scroll->viewport(), e->position().toPoint()).y();
        m_logic->mouseDown(e->button(), row);
        setFocus(Qt::MouseFocusReason);
        return true;
    }
    case QEvent::MouseMove: {
        if (watched != m_page)
            break;
        auto* e = static_cast<QMouseEvent*>(event);
        m_logic->mouseMove(m_page->mapTo(m_scroll->viewport(), e->position().toPoint()).y());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (watched != m_page)
            break;
        m_logic->mouseUp(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    default:
        break;
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
