#include "viewers/remote_window.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace ziro {

// The progress strip: the button face colour, and navy from the left as far
// as the film has played.
class MediaStrip : public QWidget {
public:
    explicit MediaStrip(QWidget* parent) : QWidget(parent) {}
    void setFilled(int filled)
    {
        if (filled == m_filled)
            return;
        m_filled = filled;
        update();
    }
    int filled() const { return m_filled; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Button));
        if (m_filled > 0)
            p.fillRect(QRect(0, 0, std::min(m_filled, width()), height()), QColor(0, 0, 128));
    }

private:
    int m_filled = 0;
};

TRemote::TRemote(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TRemote"), QRect(484, 425, 134, 33))
{
    setWindowTitle(QString::fromUtf8("Controllo filmati"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    const MediaBarLayout& l = MediaBar::layout();

    // Holds the focus while the bar is up, so that arrows and Enter do not
    // move the seek bar or press a button.
    m_hideFocus = new QPushButton(this);
    m_hideFocus->setObjectName(QStringLiteral("HideFocus"));
    m_hideFocus->setGeometry(0, 0, 1, 1);
    m_hideFocus->setFlat(true);

    m_start = makeButton("START", l.start, false);
    m_start->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    m_play = makeButton("PLAY", l.play, true);
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_pause = makeButton("PAUSE", l.pause, true);
    m_pause->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    m_noAudio = makeButton("NOaudio", l.noAudio, true);
    m_noAudio->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
    m_expand = makeButton("Expand", l.expand, true);
    m_expand->setText(QStringLiteral(">"));

    m_bevel = new QFrame(this);
    m_bevel->setObjectName(QStringLiteral("Bevel1"));
    m_bevel->setFrameShape(QFrame::Panel);
    m_bevel->setFrameShadow(QFrame::Sunken);
    m_bevel->setGeometry(l.bevel);
    m_strip = new MediaStrip(this);
    m_strip->setObjectName(QStringLiteral("TimeLineImage"));
    m_strip->setGeometry(l.strip);
    m_strip->installEventFilter(this);

    m_index = new QSlider(Qt::Horizontal, this);
    m_index->setObjectName(QStringLiteral("Index"));
    m_index->setGeometry(l.index);
    m_index->setRange(0, 255);
    m_index->setPageStep(10);
    m_index->setTickPosition(QSlider::NoTicks);
    m_index->setFocusPolicy(Qt::NoFocus);
    // Only the user's own moves seek; values set from the film do not.
    connect(m_index, &QSlider::sliderMoved, this, [this](int frame) {
        if (m_bar)
            m_bar->IndexMoved(frame);
    });
    connect(m_index, &QSlider::actionTriggered, this, [this](int action) {
        // A click on the groove pages the bar: that is a user move too.
        if (action == QAbstractSlider::SliderMove || !m_bar)
            return;
        QMetaObject::invokeMethod(this, [this] {
            if (m_bar)
                m_bar->IndexMoved(m_index->value());
        }, Qt::QueuedConnection);
    });

    connect(m_start, &QToolButton::clicked, this, [this] {
        if (m_bar)
            m_bar->STARTClick();
    });
    connect(m_play, &QToolButton::clicked, this, [this] {
        if (m_bar)
            m_bar->PLAYClick();
    });
    connect(m_pause, &QToolButton::clicked, this, [this] {
        if (m_bar)
            m_bar->PAUSEClick();
    });
    connect(m_noAudio, &QToolButton::clicked, this, [this](bool down) {
        if (m_bar)
            m_bar->NOaudioClick(down);
    });
    connect(m_expand, &QToolButton::clicked, this, [this](bool down) {
        if (m_bar)
            m_bar->ExpandClick(down);
    });

    m_tick.setInterval(100);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        if (m_bar)
            m_bar->Timer1Timer();
    });
}

TRemote::~TRemote() = default;

QToolButton* TRemote::makeButton(const char* name, const QRect& r, bool checkable)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(r);
    b->setCheckable(checkable);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(false);
    return b;
}

QToolButton* TRemote::button(const char* name) const
{
    return findChild<QToolButton*>(QLatin1String(name));
}

QWidget* TRemote::strip() const
{
    return m_strip;
}

void TRemote::placeBar(const QRect& r)
{
    setGeometry(r);
}

void TRemote::showBar()
{
    showModeless();
    m_hideFocus->setFocus(Qt::OtherFocusReason);
}

void TRemote::hideBar()
{
    hide();
}

void TRemote::startTick()
{
    m_tick.start();
}

void TRemote::stopTick()
{
    m_tick.stop();
}

void TRemote::setSliderRange(int maximum)
{
    const QSignalBlocker block(m_index);
    m_index->setRange(0, std::max(0, maximum));
}

void TRemote::setSliderValue(int frame)
{
    if (m_index->isSliderDown())
        return;  // the user is dragging it
    const QSignalBlocker block(m_index);
    m_index->setValue(frame);
}

void TRemote::drawStrip(int filled)
{
    m_strip->setFilled(filled);
}

void TRemote::showButtons(const MediaBarButtons& b)
{
    m_play->setChecked(b.play);
    m_pause->setChecked(b.pause);
    m_noAudio->setChecked(b.noAudio);
    m_noAudio->setIcon(style()->standardIcon(b.noAudio ? QStyle::SP_MediaVolumeMuted
                                                       : QStyle::SP_MediaVolume));
    m_expand->setChecked(b.expand);
    m_expand->setText(b.expandCaption);
}

void TRemote::focusHidden()
{
    m_hideFocus->setFocus(Qt::OtherFocusReason);
}

void TRemote::passKey(int key, Qt::KeyboardModifiers mods)
{
    Q_EMIT keyPassed(key, mods);
}

void TRemote::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (!event->isAutoRepeat() && m_bar)
        m_bar->FormKeyUp(event->key(), event->modifiers());
}

bool TRemote::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_strip && m_bar) {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseMove) {
            auto* me = static_cast<QMouseEvent*>(event);
            const int x = int(me->position().x());
            if (type == QEvent::MouseButtonPress)
                m_bar->TimeLineImageMouseDown(x, me->buttons(), me->modifiers());
            else
                m_bar->TimeLineImageMouseMove(x, me->buttons(), me->modifiers());
            return true;
        }
        if (type == QEvent::MouseButtonRelease)
            return true;
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
