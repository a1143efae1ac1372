#pragma once

#include "controls/fused_label.h"

#include <QColor>
#include <QWidget>

namespace ziro {

// The caption label: text with raised, sunken or shadowed effects, a font
// fitted to its box, a colour under the mouse, a button-like press effect and
// web or mail links. It has no window of its own; it paints inside the
// program's scaled presentation like every other control.
//
// A link is never opened here: a click on a linked label emits
// openRequested with the address to open ("http://...", "https://...",
// "mailto:..."); the window that owns the label hands it to the desktop
// opener (SystemServices::openDocument).
//
// Fitting runs before painting (and on fittedFont()) when not auto-sized and
// the font, the box or the text changed since the last fit; the label's font
// takes the fitted pixel size.
class TFusedLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(QString URL READ url WRITE setURL)
    Q_PROPERTY(bool URLAsHint READ urlAsHint WRITE setURLAsHint)
    Q_PROPERTY(bool ButtonLike READ buttonLike WRITE setButtonLike)
    Q_PROPERTY(QColor EnterColor READ enterColor WRITE setEnterColor)
    Q_PROPERTY(QString FormatString READ formatString WRITE setFormatString)
    Q_PROPERTY(QColor AShadeRightBottom READ shadeRightBottom WRITE setShadeRightBottom)
    Q_PROPERTY(QColor AShadeLeftTop READ shadeLeftTop WRITE setShadeLeftTop)
    Q_PROPERTY(int AHShadeOffSet READ hShadeOffset WRITE setHShadeOffset)
    Q_PROPERTY(int AVShadeOffSet READ vShadeOffset WRITE setVShadeOffset)
    Q_PROPERTY(bool AShadeLTSet READ shadeLTSet WRITE setShadeLTSet)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(bool Transparent READ transparent WRITE setTransparent)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)

public:
    explicit TFusedLabel(QWidget* parent = nullptr);

    // --- the usual label properties ---
    QString text() const { return m_caption; }
    void setText(const QString& caption);
    // The text drawn: the caption through the format string.
    QString shownText() const { return fusedLabelText(m_caption, m_formatString); }
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment a);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    // The box follows the text (and no fitting happens) while on.
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);
    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    // The font colour set from outside ("OldColor"); the mouse may show
    // another for a while.
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& c);
    // The colour the face is drawn in now.
    QColor shownFontColor() const;

    // --- effects and fitting ---
    TFitType fitType() const { return m_fitType; }
    // A new fit type forces a new fit.
    void setFitType(TFitType type);
    T3DEffect style3D() const { return m_effect; }
    void setStyle3D(T3DEffect effect);
    // The effect drawn now: Resit3d while a button-like label is pressed.
    T3DEffect shownStyle3D() const { return m_pushed ? T3DEffect::Resit3d : m_effect; }
    QColor shadeRightBottom() const { return m_shadowColor; }
    void setShadeRightBottom(const QColor& c);
    QColor shadeLeftTop() const { return m_whiteColor; }
    // Ignored while AShadeLTSet holds it white.
    void setShadeLeftTop(const QColor& c);
    int hShadeOffset() const { return m_hOffset; }
    void setHShadeOffset(int v);
    int vShadeOffset() const { return m_vOffset; }
    void setVShadeOffset(int v);
    // On forces the highlight white, keeping the colour it had; off gives
    // that colour back.
    bool shadeLTSet() const { return m_shadeLTSet; }
    void setShadeLTSet(bool on);
    QString formatString() const { return m_formatString; }
    void setFormatString(const QString& f);

    // Fits now when due and returns the font the text is drawn in.
    QFont fittedFont();
    // How many fitting searches ran (the rest were answered from the cache).
    int fitSearches() const { return m_fit.searches(); }

    // --- mouse and links ---
    QColor enterColor() const { return m_enterColor; }
    // The font colour under the mouse; an invalid colour (the default)
    // leaves the font colour as it is.
    void setEnterColor(const QColor& c);
    bool buttonLike() const { return m_buttonLike; }
    void setButtonLike(bool on);
    bool pushed() const { return m_pushed; }
    bool highlighted() const { return m_highlighted; }

    QString url() const { return m_link.url; }
    // See readFusedLink. The hint becomes the URL (with URLAsHint) and the
    // cursor the hand while a URL is set.
    void setURL(const QString& value);
    bool urlAsHint() const { return m_urlAsHint; }
    void setURLAsHint(bool on);
    TmdLinkType linkType() const { return m_link.type; }
    void setLinkType(TmdLinkType type);
    TmdLabelType labelType() const { return m_labelType; }
    void setLabelType(TmdLabelType type) { m_labelType = type; }
    // What a click asks the desktop to open; empty when a click opens nothing.
    QString linkTarget() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void OnClick();
    void OnMouseOut();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    // A linked label was clicked: open `target` through the desktop opener.
    void openRequested(const QString& target);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int textFlags() const;
    QRect textRect() const;
    void ensureFitted();
    void adjustAutoSize();
    void textChanged();
    void click();

    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    bool m_wordWrap = false;
    bool m_autoSize = false;
    bool m_transparent = false;
    QColor m_color;
    QColor m_fontColor = Qt::black;

    int m_hOffset = 5;
    int m_vOffset = -5;
    TFitType m_fitType = TFitType::NormalFit;
    T3DEffect m_effect = T3DEffect::Normal3d;
    QColor m_shadowColor = QColor(128, 128, 128);  // 8421504
    QColor m_whiteColor = Qt::white;
    QColor m_last;  // the highlight colour kept while AShadeLTSet forces white
    bool m_shadeLTSet = false;
    QString m_formatString;
    FusedLabelFit m_fit;
    bool m_fitting = false;

    QColor m_enterColor;
    bool m_highlighted = false;
    bool m_buttonLike = false;
    bool m_pushed = false;
    bool m_pressedInside = false;
    bool m_urlAsHint = true;
    FusedLink m_link;
    TmdLabelType m_labelType = TmdLabelType::Auto;
};

}  // namespace ziro
