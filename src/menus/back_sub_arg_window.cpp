#include "menus/back_sub_arg_window.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace ziro {

namespace {

constexpr int kDesignWidth = 577;
constexpr int kDesignHeight = 88;
constexpr int kLabelTop = 8;

// The largest pixel size at which `text` fits `box` in both directions, two
// sizes below the first that does not (the label fitting's margin).
int fittedPixelSize(const QFont& base, const QString& text, const QSize& box)
{
    const QString measured = text.isEmpty() ? QStringLiteral(" ") : text;
    QFont f = base;
    int size = 1;
    for (; size < 400; ++size) {
        f.setPixelSize(size);
        const QFontMetrics fm(f);
        if (fm.height() >= box.height() || fm.horizontalAdvance(measured) >= box.width())
            break;
    }
    return qMax(1, size - 2);
}

}  // namespace

TBackSubArg::TBackSubArg(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TBackSubArg"), QRect(31, 196, kDesignWidth, kDesignHeight))
{
    setWindowTitle(QString());
    setAutoFillBackground(false);  // the area around the strip stays see-through
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_TranslucentBackground);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Lb_SubArg"));
    // At the top of its box: the strip is drawn only as tall as the fitted
    // text, so a text shrunk to fit the width must not sink below it.
    m_label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_label->setAutoFillBackground(false);
    m_label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = m_label->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 255, 255, kAlpha));
    m_label->setPalette(pal);
    QFont f = m_label->font();
    f.setBold(true);
    m_label->setFont(f);
    m_label->installEventFilter(this);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("TimerSubArgWrite"));
    m_timer->setInterval(kBannerShowMs);
    connect(m_timer, &QTimer::timeout, this, &TBackSubArg::onTimer);

    writeLabel();
}

QString TBackSubArg::text() const
{
    return m_label->text();
}

bool TBackSubArg::showFor(const QString& sottoArgCorr, TModoQuiz edition, const TopicMenu& menu,
                          const std::array<QString, 10>& titoli)
{
    const std::optional<BannerContent> content = bannerContent(sottoArgCorr, edition, menu, titoli);
    if (!content) {
        closeBanner();
        return false;
    }
    if (content->colour)
        m_fill = *content->colour;
    m_label->setText(content->text);
    writeLabel();
    if (parentWidget())
        move(bannerTopLeft(QRect(QPoint(0, 0), parentWidget()->size()), size()));
    showModeless();
    writeLabel();  // again with the shown window's real sizes
    m_timer->start();
    return true;
}

bool TBackSubArg::scriveSubArgDeskTop(bool mode, BannerState state, const QString& sottoArgCorr,
                                      TModoQuiz edition, const TopicMenu& menu,
                                      const std::array<QString, 10>& titoli)
{
    state.bannerVisible = isVisible();
    if (!bannerMayShow(mode, state)) {
        closeBanner();
        return true;
    }
    return showFor(sottoArgCorr, edition, menu, titoli);
}

void TBackSubArg::closeBanner()
{
    m_timer->stop();
    hide();
}

void TBackSubArg::writeLabel()
{
    const QRect box = bannerLabelRect(width(), height() - 2 * kLabelTop);
    m_label->setGeometry(box);
    QFont f = m_label->font();
    f.setPixelSize(fittedPixelSize(f, m_label->text(), box.size()));
    m_label->setFont(f);
    m_label->update();
    m_shapeHeight = qMin(height() - 2, bannerShapeHeight(QFontMetrics(f).height(), kLabelTop));
    update();
}

void TBackSubArg::onTimer()
{
    const QWidget* mainWindow = parentWidget() ? parentWidget()->window() : nullptr;
    if (mainWindow && !mainWindow->isVisible())
        return;  // keeps trying until the main window is back
    closeBanner();
}

void TBackSubArg::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill = m_fill;
    fill.setAlpha(kAlpha);
    p.setPen(QPen(QColor(255, 255, 255, kAlpha), 1));
    p.setBrush(fill);
    const QRectF strip(1.5, 1.5, kDesignWidth - 2 - 1, m_shapeHeight - 1);
    p.drawRoundedRect(strip, 12, 12);
}

void TBackSubArg::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        OverlayWindow::keyReleaseEvent(event);
        return;
    }
    Q_EMIT keyReleased(event->key(), event->modifiers());
}

bool TBackSubArg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label && event->type() == QEvent::MouseButtonRelease) {
        writeLabel();
        return false;
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
