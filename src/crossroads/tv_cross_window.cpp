#include "crossroads/tv_cross_window.h"

#include "base/attesa.h"
#include "controls/film_surface_widget.h"
#include "crossroads/cross_film.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace ziro {

namespace {

constexpr QRect kScreen(78, 11, 440, 350);
constexpr int kSlotPitch = 62;

QRect slotRect(int slot)
{
    return QRect(12, 24 + (slot - 1) * kSlotPitch, 50, 50);
}

QColor vehicleColour(QChar c)
{
    switch (c.unicode()) {
    case 'b': return QColor(236, 236, 236);
    case 'c': return QColor(150, 210, 250);
    case 'g': return QColor(250, 215, 0);
    case 'n': return QColor(20, 20, 20);
    case 'r': return QColor(215, 30, 30);
    case 'v': return QColor(30, 150, 60);
    default: return QColor(150, 150, 150);
    }
}

void setLetterColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

}  // namespace

// The panel the animation is painted in; its hot spots are areas of it,
// hit-tested here rather than widgets of their own.
class CrossScreen : public FilmSurfaceWidget {
public:
    CrossScreen(TTVcross* window) : FilmSurfaceWidget(window), m_window(window) { setMouseTracking(true); }

    int hotSpotAt(QPoint at) const
    {
        const cross::CrossSession* s = m_window->m_session;
        if (!s || !s->record())
            return 0;
        for (int k = 1; k <= cross::kVehicles; ++k)
            if (s->record()->hotSpot(k).contains(at))
                return k;
        return 0;
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        event->accept();
        cross::CrossSession* s = m_window->m_session;
        if (!s || !s->isLoaded())
            return;
        const QPoint at = event->position().toPoint();
        if (s->programming() >= 1 && s->programming() <= cross::kVehicles) {
            s->programPress(event->button(), at);
            return;
        }
        const int k = hotSpotAt(at);
        if (event->button() == Qt::RightButton && k > 0)
            s->rightPressHotSpot(k);
        else if (event->button() == Qt::LeftButton && k == 0)
            s->pressPicture();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        event->accept();
        cross::CrossSession* s = m_window->m_session;
        // The release that ends a double click is no click of its own.
        if (std::exchange(m_afterDouble, false))
            return;
        if (!s || !s->isLoaded() || event->button() != Qt::LeftButton)
            return;
        if (s->programming() >= 1 && s->programming() <= cross::kVehicles)
            return;
        const int k = hotSpotAt(event->position().toPoint());
        if (k > 0) {
            s->clickHotSpot(k);
        } else {
            s->releasePicture();
            s->evaluate();
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        event->accept();
        if (m_window->m_session && event->button() == Qt::LeftButton) {
            m_afterDouble = true;
            m_window->m_session->userReset();
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        event->accept();
        if (m_window->m_session)
            m_window->m_session->hoverHotSpot(hotSpotAt(event->position().toPoint()));
        m_window->showEmergency();
    }

private:
    TTVcross* m_window;
    bool m_afterDouble = false;
};

TTVcross::TTVcross(QWidget* host)
    // Centred on the main window, then 35 pixels up and 2 to the left.
    : OverlayWindow(host, QStringLiteral("TTVcross"), QRect(15, 19, 605, 372))
{
    setWindowTitle(QString::fromUtf8("Incroci"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);

    m_screen = new CrossScreen(this);
    m_screen->setObjectName(QStringLiteral("Schermo"));
    m_screen->setGeometry(kScreen);

    m_shape = new QFrame(m_screen);
    m_shape->setObjectName(QStringLiteral("Shape"));
    m_shape->setFrameShape(QFrame::Box);
    m_shape->setStyleSheet(QStringLiteral("QFrame { border: 2px dashed red; background: transparent; }"));
    m_shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_shape->hide();

    QFont letterFont = font();
    letterFont.setPixelSize(26);
    letterFont.setBold(true);
    for (int s = 1; s <= cross::kVehicles; ++s) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("ImgL%1").arg(s));
        picture->setGeometry(slotRect(s));
        auto* letter = new QLabel(this);
        letter->setObjectName(QStringLiteral("L%1").arg(s));
        letter->setGeometry(slotRect(s));
        letter->setAlignment(Qt::AlignCenter);
        letter->setFont(letterFont);
        letter->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_pictures[s - 1] = picture;
        m_letters[s - 1] = letter;
    }

    m_emrIcon = new QLabel(this);
    m_emrIcon->setObjectName(QStringLiteral("ImgEMR"));
    m_emrIcon->setGeometry(537, 24, 50, 50);
    m_emrIcon->installEventFilter(this);
    m_emrIcon->setMouseTracking(true);
    m_emrText = new QLabel(this);
    m_emrText->setObjectName(QStringLiteral("Lb_EMR"));
    m_emrText->setGeometry(522, 78, 80, 36);
    m_emrText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_emrText->setWordWrap(true);
    m_emrText->installEventFilter(this);

    QFont small = font();
    small.setPixelSize(12);
    m_emrText->setFont(small);

    m_order = new QLabel(this);
    m_order->setObjectName(QStringLiteral("LSq"));
    m_order->setGeometry(522, 160, 80, 30);
    m_order->setAlignment(Qt::AlignCenter);
    m_order->setFont(letterFont);
    m_order->hide();

    m_jump = new QLineEdit(this);
    m_jump->setObjectName(QStringLiteral("KJump"));
    m_jump->setGeometry(530, 270, 70, 24);
    m_jump->setMaxLength(3);
    m_jump->hide();
    m_jump->installEventFilter(this);

    m_number = new QLabel(this);
    m_number->setObjectName(QStringLiteral("LNumSegn"));
    m_number->setGeometry(530, 300, 70, 50);
    m_number->setAlignment(Qt::AlignCenter);
    m_number->setFrameShape(QFrame::Panel);
    m_number->setFrameShadow(QFrame::Sunken);
    m_number->setFont(letterFont);
    m_number->setToolTip(QStringLiteral("Numero del segnale corrente/ Salto al numero di segnale inserito / Pannello note"));
    m_number->installEventFilter(this);

    QFont hintFont = font();
    hintFont.setPixelSize(16);
    hintFont.setBold(true);
    m_hint = new QLabel(QStringLiteral("completare la sequenza"), this);
    m_hint->setObjectName(QStringLiteral("LbCompletare"));
    m_hint->setGeometry(kScreen.left(), kScreen.bottom() - 30, kScreen.width(), 26);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setFont(hintFont);
    m_hint->setStyleSheet(QStringLiteral("QLabel { color: rgb(200,0,0); background: rgba(255,255,255,210); }"));
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_hint->hide();
    m_hintArrow = new QLabel(QStringLiteral("^"), this);
    m_hintArrow->setObjectName(QStringLiteral("LbCompletare1"));
    m_hintArrow->setAlignment(Qt::AlignCenter);
    m_hintArrow->setFont(letterFont);
    m_hintArrow->setStyleSheet(QStringLiteral("QLabel { color: rgb(200,0,0); }"));
    m_hintArrow->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_hintArrow->hide();

    clearSlots();
    showEmergency();
}

TTVcross::~TTVcross() = default;

void TTVcross::attach(cross::CrossSession* session, cross::CrossFilm* film)
{
    m_session = session;
    m_film = film;
    m_screen->setBackend(film ? &film->backend() : nullptr);
}

QWidget* TTVcross::screen() const
{
    return m_screen;
}

QPixmap TTVcross::vehiclePicture(QChar colour)
{
    QPixmap pixmap(50, 50);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (colour == QLatin1Char('7') || colour == QLatin1Char('8') || colour == QLatin1Char('9')) {
        // The siren: a dome on a base, lit when on.
        const bool on = colour == QLatin1Char('8');
        p.setPen(QPen(colour == QLatin1Char('9') ? QColor(0, 120, 215) : Qt::darkGray, 2));
        p.setBrush(on ? QColor(40, 110, 255) : QColor(170, 190, 220));
        p.drawChord(QRectF(10, 10, 30, 34), 0, 180 * 16);
        p.setBrush(Qt::darkGray);
        p.drawRect(QRectF(8, 27, 34, 9));
        if (on) {
            p.setPen(QPen(QColor(40, 110, 255), 3));
            p.drawLine(QPointF(4, 8), QPointF(10, 14));
            p.drawLine(QPointF(46, 8), QPointF(40, 14));
            p.drawLine(QPointF(25, 2), QPointF(25, 7));
        }
        return pixmap;
    }
    const QColor fill = vehicleColour(colour);
    p.setPen(QPen(fill.darker(160), 2));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(5, 5, 40, 40), 8, 8);
    return pixmap;
}

bool TTVcross::CaricaIncrocio(const QString& number)
{
    if (!m_session)
        return false;
    if (!m_session->load(number)) {
        hide();
        return false;
    }
    m_order->hide();
    showModeless();
    raise();
    setFocus(Qt::OtherFocusReason);
    return true;
}

void TTVcross::CloseCross()
{
    m_jump->hide();
    m_order->hide();
    if (m_session)
        m_session->close();
    hide();
}

void TTVcross::Refresh()
{
    if (!m_session || !m_film || !m_film->loaded())
        return;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    if (m_session->waiting() && !m_session->demonstrating())
        m_film->showFrame(m_session->vehicles() + 1);
    m_screen->update();
}

bool TTVcross::CrossAutoplay()
{
    if (!m_session || !isVisible())
        return false;
    setFocus(Qt::OtherFocusReason);
    return m_session->demonstrate();
}

void TTVcross::beep()
{
    Q_EMIT beepRequested();
}

void TTVcross::showSlot(int slot, QChar letter, QChar colour, bool grey)
{
    if (slot < 1 || slot > cross::kVehicles)
        return;
    m_pictures[slot - 1]->setPixmap(vehiclePicture(grey ? QChar('e') : colour));
    QLabel* label = m_letters[slot - 1];
    label->setText(QString(letter));
    setLetterColour(label, grey ? QColor(100, 100, 100) : colour == QLatin1Char('n') ? Qt::white : Qt::black);
    // The arrow of the hint points under the next free slot.
    m_hintArrow->setGeometry(slotRect(std::min(slot + 1, cross::kVehicles)).translated(0, 50).adjusted(0, 0, 0, -20));
}

void TTVcross::clearSlots()
{
    for (int s = 1; s <= cross::kVehicles; ++s) {
        m_pictures[s - 1]->clear();
        m_letters[s - 1]->clear();
    }
    m_hintArrow->setGeometry(slotRect(1).translated(0, 50).adjusted(0, 0, 0, -20));
}

void TTVcross::showHint(bool shown)
{
    m_hint->setVisible(shown);
    m_hintArrow->setVisible(shown);
    if (shown) {
        m_hint->raise();
        m_hintArrow->raise();
    }
}

void TTVcross::hideJump()
{
    m_jump->hide();
}

void TTVcross::recordChanged()
{
    const cross::CrossRecord* r = m_session ? m_session->record() : nullptr;
    m_number->setText(m_session ? m_session->displayNumber() : QString());
    m_order->setText(r ? r->sequence : QString());
    showEmergency();
    m_screen->update();
}

void TTVcross::showEmergency()
{
    const int state = m_session ? m_session->emergency() : 0;
    m_emrIcon->setVisible(state != 0);
    m_emrText->setVisible(state != 0);
    m_emrIcon->setPixmap(vehiclePicture(state == 2 ? QChar('8') : QChar('7')));
    m_emrText->setText(state == 2 ? QStringLiteral("Emergenza accesa") : QStringLiteral("Emergenza spenta"));
}

void TTVcross::switchEmergency()
{
    if (!m_session || m_session->emergency() == 0)
        return;
    if (!m_session->switchEmergency())
        hide();
    showEmergency();
}

void TTVcross::showProgrammedArea(const QRect& area)
{
    m_shape->setVisible(!area.isEmpty());
    if (!area.isEmpty())
        m_shape->setGeometry(area);
}

void TTVcross::wait(int ms)
{
    Attesa(ms / 1000.0, true);
}

void TTVcross::setMainMenuEnabled(bool enabled)
{
    Q_EMIT mainMenuEnabled(enabled);
}

void TTVcross::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void TTVcross::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (std::exchange(m_afterDouble, false))
        return;
    if (event->button() == Qt::LeftButton && m_session && m_session->isLoaded()) {
        m_jump->hide();
        m_session->evaluate();
    }
}

void TTVcross::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && m_session) {
        m_afterDouble = true;
        m_session->userReset();
    }
}

void TTVcross::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (m_session)
        m_session->hoverHotSpot(0);
    showEmergency();
}

void TTVcross::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (event->isAutoRepeat() || !m_session)
        return;
    const int key = event->key();
    if (key == Qt::Key_F12)
        m_order->show();
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F5)
        m_session->setProgramming(key - Qt::Key_F1 + 1);
}

void TTVcross::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (event->isAutoRepeat() || !m_session)
        return;
    const int key = event->key();
    const cross::CrossRecord* r = m_session->record();
    if (key == Qt::Key_F12) {
        m_order->hide();
    } else if (key >= Qt::Key_F1 && key <= Qt::Key_F5) {
        m_session->setProgramming(0);
    } else if (key == Qt::Key_F9) {
        switchEmergency();
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_session->evaluate();
    } else if (key == Qt::Key_Delete) {
        m_session->userReset();
    } else if (key == Qt::Key_S) {
        // Kept from the main window's map: it would leave the exercise.
    } else if (r && key >= Qt::Key_A && key <= Qt::Key_Z && r->sequence.contains(QChar(key))) {
        m_session->letterKey(QChar(key));
    } else {
        Q_EMIT keyPassed(key, event->modifiers());
    }
}

bool TTVcross::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_jump && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !m_jump->text().trimmed().isEmpty()) {
            const QString sign = m_jump->text().trimmed();
            Attesa(0.2, true);
            m_jump->hide();
            Q_EMIT jumpRequested(sign);
        }
        return true;
    }
    if (watched == m_jump && event->type() == QEvent::KeyPress)
        return false;
    if ((watched == m_emrIcon || watched == m_emrText) && m_session) {
        if (event->type() == QEvent::MouseButtonPress)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            switchEmergency();
            return true;
        }
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
            m_emrIcon->setPixmap(vehiclePicture(QChar('9')));
            return false;
        }
    }
    if (watched == m_number) {
        if (event->type() == QEvent::MouseButtonPress)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            m_jump->clear();
            m_jump->show();
            m_jump->raise();
            m_jump->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
