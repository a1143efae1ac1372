#include "controls/fused_label_widget.h"

#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace ziro {

namespace {

// Text is laid out in the client rectangle moved 2 pixels left and up on its
// left, top and right sides.
constexpr int kTextShift = 2;
// Wide enough for any label's text when measuring without a width.
constexpr int kUnbounded = 100000;

int pixelSizeOf(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

}  // namespace

TFusedLabel::TFusedLabel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TFusedLabel"));
    setMouseTracking(true);
    setAutoFillBackground(false);
    m_color = palette().color(QPalette::Window);
}

// --- the usual label properties ---

void TFusedLabel::setText(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    textChanged();
}

void TFusedLabel::setFormatString(const QString& f)
{
    if (f == m_formatString)
        return;
    m_formatString = f;
    textChanged();
}

void TFusedLabel::textChanged()
{
    adjustAutoSize();
    updateGeometry();
    update();
}

void TFusedLabel::setAlignment(Qt::Alignment a)
{
    if (a == m_alignment)
        return;
    m_alignment = a;
    update();
}

void TFusedLabel::setWordWrap(bool on)
{
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    adjustAutoSize();
    update();
}

void TFusedLabel::setAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    adjustAutoSize();
    update();
}

void TFusedLabel::setTransparent(bool on)
{
    if (on == m_transparent)
        return;
    m_transparent = on;
    update();
}

void TFusedLabel::setColor(const QColor& c)
{
    if (c == m_color)
        return;
    m_color = c;
    update();
}

void TFusedLabel::setFontColor(const QColor& c)
{
    if (c == m_fontColor)
        return;
    m_fontColor = c;
    update();
}

QColor TFusedLabel::shownFontColor() const
{
    return m_highlighted && m_enterColor.isValid() ? m_enterColor : m_fontColor;
}

// --- effects and fitting ---

void TFusedLabel::setFitType(TFitType type)
{
    if (type == m_fitType)
        return;
    m_fitType = type;
    m_fit.invalidate();
    update();
}

void TFusedLabel::setStyle3D(T3DEffect effect)
{
    if (effect == m_effect)
        return;
    m_effect = effect;
    update();
}

void TFusedLabel::setShadeRightBottom(const QColor& c)
{
    if (c == m_shadowColor)
        return;
    m_shadowColor = c;
    update();
}

void TFusedLabel::setShadeLeftTop(const QColor& c)
{
    if (m_shadeLTSet || c == m_whiteColor)
        return;
    m_whiteColor = c;
    update();
}

void TFusedLabel::setHShadeOffset(int v)
{
    if (v == m_hOffset)
        return;
    m_hOffset = v;
    update();
}

void TFusedLabel::setVShadeOffset(int v)
{
    if (v == m_vOffset)
        return;
    m_vOffset = v;
    update();
}

void TFusedLabel::setShadeLTSet(bool on)
{
    if (on == m_shadeLTSet)
        return;
    m_shadeLTSet = on;
    if (on) {
        m_last = m_whiteColor;
        m_whiteColor = Qt::white;
    } else {
        m_whiteColor = m_last;
    }
    update();
}

void TFusedLabel::ensureFitted()
{
    if (m_autoSize || m_fitType == TFitType::NormalFit || m_fitting)
        return;
    QFont f = font();
    const QString text = shownText();
    FusedLabelFit::Request request;
    request.type = m_fitType;
    request.fontSize = pixelSizeOf(f);
    request.face = fontFaceKey(f);
    request.box = size();
    request.text = fusedLabelMeasuredText(text);
    const std::optional<int> fitted = m_fit.fit(request, fontTextMeasure(f, text));
    if (!fitted || f.pixelSize() == *fitted)
        return;
    f.setPixelSize(*fitted);
    m_fitting = true;
    setFont(f);
    m_fitting = false;
}

QFont TFusedLabel::fittedFont()
{
    ensureFitted();
    return font();
}

void TFusedLabel::adjustAutoSize()
{
    if (!m_autoSize)
        return;
    const QFontMetrics fm(font());
    const QString text = fusedLabelMeasuredText(shownText());
    if (m_wordWrap) {
        const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, width()), kUnbounded),
                                        Qt::TextWordWrap | Qt::TextExpandTabs, text);
        resize(width(), std::max(1, r.height()));
    } else {
        const QRect r = fm.boundingRect(QRect(0, 0, kUnbounded, kUnbounded), Qt::TextExpandTabs, text);
        resize(std::max(1, r.width()), std::max(1, r.height()));
    }
}

QSize TFusedLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    return fm.boundingRect(QRect(0, 0, kUnbounded, kUnbounded), Qt::TextExpandTabs,
                           fusedLabelMeasuredText(shownText()))
        .size();
}

// --- painting ---

int TFusedLabel::textFlags() const
{
    int flags = int(m_alignment) | Qt::TextWordWrap | Qt::TextExpandTabs;
    if (!(m_alignment & Qt::AlignVertical_Mask))
        flags |= Qt::AlignTop;
    return flags;
}

QRect TFusedLabel::textRect() const
{
    return QRect(-kTextShift, -kTextShift, width(), height() + kTextShift);
}

void TFusedLabel::paintEvent(QPaintEvent*)
{
    ensureFitted();
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), m_color);
    painter.setFont(font());
    const QString text = shownText();
    const QRect r = textRect();
    const int flags = textFlags();
    for (const EffectPass& pass : effectPasses(shownStyle3D(), m_hOffset, m_vOffset)) {
        painter.setPen(pass.highlight ? m_whiteColor : m_shadowColor);
        painter.drawText(r.translated(pass.offset), flags, text);
    }
    painter.setPen(isEnabled() ? shownFontColor() : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(r, flags, text);
}

void TFusedLabel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    update();
}

void TFusedLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && !m_fitting)
        adjustAutoSize();
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

// --- mouse and links ---

void TFusedLabel::setEnterColor(const QColor& c)
{
    if (c == m_enterColor)
        return;
    m_enterColor = c;
    if (m_highlighted)
        update();
}

void TFusedLabel::setButtonLike(bool on)
{
    m_buttonLike = on;
    if (!on && m_pushed) {
        m_pushed = false;
        update();
    }
}

void TFusedLabel::setURL(const QString& value)
{
    m_link = readFusedLink(value, m_link.type);
    if (m_urlAsHint)
        setToolTip(m_link.url);
    if (m_link.url.isEmpty())
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
    update();
}

void TFusedLabel::setURLAsHint(bool on)
{
    m_urlAsHint = on;
    if (on)
        setToolTip(m_link.url);
}

void TFusedLabel::setLinkType(TmdLinkType type)
{
    m_link.type = type;
}

QString TFusedLabel::linkTarget() const
{
    return fusedLabelOpensLink(m_labelType, m_link) ? fusedLinkTarget(m_link.url, m_link.type) : QString();
}

void TFusedLabel::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    m_highlighted = true;
    if (m_enterColor.isValid())
        update();
}

void TFusedLabel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_highlighted = false;
    m_pushed = false;  // a pushed label shows its own effect again
    update();
    Q_EMIT OnMouseOut();
}

void TFusedLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressedInside = true;
        if (m_buttonLike) {
            m_pushed = true;
            update();
        }
    }
    event->accept();
    Q_EMIT OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TFusedLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    Q_EMIT OnMouseMove(event->modifiers(), event->position().toPoint());
}

void TFusedLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    bool clicked = false;
    if (event->button() == Qt::LeftButton) {
        if (m_pushed) {
            m_pushed = false;
            update();
        }
        clicked = m_pressedInside && rect().contains(pos);
        m_pressedInside = false;
    }
    event->accept();
    QPointer<TFusedLabel> self(this);
    if (clicked) {
        click();
        if (!self)
            return;
    }
    Q_EMIT OnMouseUp(event->button(), event->modifiers(), pos);
}

void TFusedLabel::click()
{
    QPointer<TFusedLabel> self(this);
    const QString target = linkTarget();
    if (!target.isEmpty()) {
        m_highlighted = false;  // the font colour is restored
        update();
        Q_EMIT openRequested(target);
        if (!self)
            return;
    }
    Q_EMIT OnClick();
}

}  // namespace ziro
