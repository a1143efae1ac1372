#include "viewers/tv_foto_window.h"

#include "controls/stretch_handle_widget.h"
#include "viewers/photo_render.h"

#include <QAction>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace ziro {

// The photograph and, over it, its caption and background box, painted in
// the same order and with the same painter code that burns them into the
// picture when it is enlarged: what the class saw is what the enlargement
// keeps.
class PhotoAlbumView : public QWidget {
public:
    explicit PhotoAlbumView(QWidget* parent) : QWidget(parent) {}

    void setPicture(const QImage& picture, bool atOwnSize)
    {
        m_picture = picture;
        m_atOwnSize = atOwnSize;
        update();
    }
    void setCaption(const PhotoCaption* caption)
    {
        m_caption = caption ? std::optional<PhotoCaption>(*caption) : std::nullopt;
        update();
    }
    const std::optional<PhotoCaption>& caption() const { return m_caption; }
    void setSafeArea(const QRect& area)
    {
        m_safeArea = area;
        update();
    }
    void setRubberLine(const QLine& line)
    {
        m_rubber = line;
        update();
    }
    const QImage& picture() const { return m_picture; }
    // The scale the view was last painted at, in device pixels per pixel.
    qreal paintScale() const { return m_paintScale; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QTransform device = painter.deviceTransform();
        if (device.type() <= QTransform::TxScale && device.m11() > 0)
            m_paintScale = device.m11();
        painter.fillRect(rect(), Qt::white);
        if (!m_picture.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            if (m_atOwnSize)
                // The enlarged picture is made at the device's scale: drawn
                // into its place it maps pixel to pixel.
                painter.drawImage(QRectF(QPointF(0, 0), QSizeF(kEnlargedPictureSize)), m_picture);
            else
                painter.drawImage(pictureInAlbum(m_picture.size()), m_picture);
        }
        if (m_caption) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            paintCaption(painter, *m_caption);
            painter.restore();
        }
        if (!m_safeArea.isNull()) {
            painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(m_safeArea);
        }
        if (!m_rubber.isNull()) {
            // The arrow being drawn: a dotted line from its origin.
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.drawLine(m_rubber);
        }
    }

private:
    QImage m_picture;
    bool m_atOwnSize = false;
    qreal m_paintScale = 1.0;
    std::optional<PhotoCaption> m_caption;
    QLine m_rubber;
    QRect m_safeArea;
};

TTVFoto::TTVFoto(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVFoto"), PhotoViewer::windowSizeGeometry(QRect(0, 0, 640, 480)))
{
    setWindowTitle(QString::fromUtf8("Foto"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    m_bordo = new QFrame(this);
    m_bordo->setObjectName(QStringLiteral("BordoAlbum"));
    m_bordo->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_bordo->setAutoFillBackground(true);
    m_bordo->setPalette(pal);
    m_album = new PhotoAlbumView(m_bordo);
    m_album->setObjectName(QStringLiteral("Album"));
    m_album->installEventFilter(this);

    // The caption's own place over the photograph: it takes the presses on
    // the caption and is what the handle carries.
    m_title = new QWidget(m_bordo);
    m_title->setObjectName(QStringLiteral("Title"));
    m_title->setAttribute(Qt::WA_NoSystemBackground);
    m_title->setCursor(Qt::PointingHandCursor);
    m_title->hide();
    m_title->installEventFilter(this);
    m_handle = new TStretchHandle(m_bordo);
    m_handle->setObjectName(QStringLiteral("StretchHandle1"));
    connect(m_handle, &TStretchHandle::OnMouseUp, this, [this] { handleReleased(); });
    connect(m_handle, &TStretchHandle::OnKeyDown, this, [this] { handleReleased(); });

    m_spia = new QLabel(QStringLiteral("T"), this);
    m_spia->setObjectName(QStringLiteral("SpiaTesto"));
    m_spia->setGeometry(14, 24, 33, 32);
    m_spia->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(27);
    m_spia->setFont(font);
    m_spia->installEventFilter(this);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupText"));
    const struct {
        const char* name;
        const char* text;
        int tag;
    } items[] = {{"Pmt0", "Visualizza testo\tF1", 0},
                 {"Pmt1", "Modifica testo\tAlt+T", 2},
                 {"Pmt2", "Salva testo", 3},
                 {"Pmt3", "Annulla\tEsc", 4}};
    int i = 0;
    for (const auto& item : items) {
        QAction* action = m_popup->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        const int tag = item.tag;
        connect(action, &QAction::triggered, this, [this, tag] {
            if (m_logic)
                m_logic->PopUpTextClick(tag);
        });
        m_pmt[i++] = action;
        if (item.tag == 0)
            m_popup->addSeparator()->setObjectName(QStringLiteral("N1"));
    }
    layoutWindowSize();
}

TTVFoto::~TTVFoto() = default;

QWidget* TTVFoto::album() const
{
    return m_album;
}

qreal TTVFoto::deviceScale() const
{
    return m_album->paintScale();
}

QRect TTVFoto::mainGeometry() const
{
    const QWidget* main = parentWidget();
    return main ? main->rect() : QRect(0, 0, 640, 480);
}

void TTVFoto::showAt(const QRect& window)
{
    setGeometry(window);
    if (!isVisible())
        showModeless();
    raise();
}

void TTVFoto::layoutWindowSize()
{
    m_bordo->setGeometry(59, 2, 490, 370);
    m_album->setGeometry(QRect(QPoint(4, 4), kAlbumSize));
    m_album->setPicture(m_album->picture(), false);
}

void TTVFoto::showWindowSize(const QRect& window)
{
    layoutWindowSize();
    showAt(window);
}

void TTVFoto::showEnlarged(const QRect& window)
{
    m_bordo->setGeometry(6, 6, window.width() - 12, window.height() - 12);
    // The picture sits at the frame's corner, 6 pixels into it, as large
    // as the frame less 14.
    m_album->setGeometry(6, 6, m_bordo->width() - 12, m_bordo->height() - 12);
    m_spia->hide();
    showAt(window);
}

void TTVFoto::hideWindow()
{
    done(0);
}

void TTVFoto::setPicture(const QImage& picture)
{
    m_album->setPicture(picture, m_logic && m_logic->isEnlarged());
}

void TTVFoto::showCaption(const PhotoCaption* caption)
{
    m_album->setCaption(caption);
    if (caption && !m_handle->Attached())
        m_title->setGeometry(caption->box());
    m_title->setVisible(caption != nullptr);
    if (!caption)
        m_handle->Detach();
}

void TTVFoto::selectCaption(const std::optional<QRect>& box)
{
    if (!box) {
        m_handle->Detach();
        m_title->setCursor(Qt::PointingHandCursor);
        return;
    }
    if (m_handle->Attached()) {
        if (m_title->geometry() != *box)
            m_handle->SetBounds(handleBoundsFor(*box));
    } else {
        m_title->setGeometry(*box);
        m_title->show();
        m_title->setCursor(Qt::SizeAllCursor);
        m_handle->Attach(m_title);
    }
}

void TTVFoto::handleReleased()
{
    // The handle carried the caption's place: the caption follows it.
    if (m_logic && m_handle->Attached())
        m_logic->BoundSync(m_title->geometry());
}

void TTVFoto::showSafeArea(bool shown)
{
    m_album->setSafeArea(shown ? PhotoViewer::safeArea().translated(-m_album->geometry().topLeft()) : QRect());
}

void TTVFoto::showRubberLine(const QLine& line)
{
    m_album->setRubberLine(line);
}

void TTVFoto::setIndicator(bool visible, bool stored)
{
    QPalette pal = m_spia->palette();
    pal.setColor(QPalette::WindowText, stored ? QColor(Qt::black) : QColor(192, 192, 192));
    m_spia->setPalette(pal);
    m_spia->setVisible(visible);
}

void TTVFoto::setMenu(const PhotoMenu& menu)
{
    m_pmt[0]->setText(menu.showText + QStringLiteral("\tF1"));
    m_pmt[0]->setEnabled(menu.showEnabled);
    m_pmt[1]->setText(menu.editText + QStringLiteral("\tAlt+T"));
    m_pmt[1]->setEnabled(menu.editEnabled);
    m_pmt[2]->setEnabled(menu.saveEnabled);
    m_pmt[3]->setEnabled(menu.cancelEnabled);
}

void TTVFoto::beep()
{
    Q_EMIT beepRequested();
}

void TTVFoto::takeFocus()
{
    if (isVisible())
        setFocus(Qt::OtherFocusReason);
}

void TTVFoto::passKey(int key, Qt::KeyboardModifiers mods)
{
    Q_EMIT keyPassed(key, mods);
}

void TTVFoto::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void TTVFoto::mouseReleaseEvent(QMouseEvent* event)
{
    // The white around the frame: enlarge.
    if (event->button() == Qt::LeftButton && m_logic && rect().contains(event->position().toPoint()))
        m_logic->Image1Click();
    event->accept();
}

void TTVFoto::keyReleaseEvent(QKeyEvent* event)
{
    if (m_logic && !event->isAutoRepeat())
        m_logic->FormKey(event->key(), event->modifiers());
    event->accept();
}

bool TTVFoto::eventFilter(QObject* watched, QEvent* event)
{
    const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
                       event->type() == QEvent::MouseButtonRelease;
    if (mouse && m_logic && (watched == m_album || watched == m_title)) {
        // Arrows are drawn in album pixels, wherever on the photograph the
        // mouse is.
        const auto* me = static_cast<QMouseEvent*>(event);
        const QPoint local = me->position().toPoint();
        const QPoint inAlbum =
            watched == m_album ? local : m_title->mapTo(m_bordo, local) - m_album->geometry().topLeft();
        const bool left = me->button() == Qt::LeftButton;
        if (event->type() == QEvent::MouseButtonPress) {
            if (left && m_logic->arrowPress(inAlbum))
                return true;
            if (left && watched == m_title)
                m_logic->SelezionaTitolo();
            return true;
        }
        if (event->type() == QEvent::MouseMove) {
            m_logic->arrowMove(inAlbum);
            return true;
        }
        if (left && m_logic->arrowRelease(inAlbum))
            return true;
    }
    // Presses are taken, or inside the presentation the release would never
    // come back here.
    if (event->type() == QEvent::MouseButtonPress && watched == m_spia)
        return true;
    if (event->type() == QEvent::MouseButtonRelease && m_logic) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        const bool inside = widget->rect().contains(mouse->position().toPoint());
        if ((watched == m_album || watched == m_title) && inside && mouse->button() == Qt::LeftButton) {
            if (watched == m_album || !m_logic->editMode())
                m_logic->AlbumClick();
            return true;
        }
        if (watched == m_spia && inside) {
            if (mouse->button() == Qt::LeftButton)
                m_logic->SpiaTestoClick();
            else if (mouse->button() == Qt::RightButton)
                m_popup->popup(m_spia->mapToGlobal(mouse->position().toPoint()));
            return true;
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
