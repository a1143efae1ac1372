#include "annotate/caption_tools.h"

#include <algorithm>

namespace ziro {

namespace {

// Rounds num / den (den > 0) to the nearest integer, halves to the even one,
// in integers so that no binary fraction tips a half either way.
int roundHalfEven(qint64 num, qint64 den)
{
    qint64 q = num / den;
    qint64 r = num % den;
    if (r < 0) {  // floor division
        q -= 1;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q % 2) != 0))
        q += 1;
    return int(q);
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

int rightEdge(const QRect& r)
{
    return r.x() + r.width();
}

int bottomEdge(const QRect& r)
{
    return r.y() + r.height();
}

}  // namespace

KeyDecision EditTextKeyPress(QChar key, qsizetype textLength, bool multiLine)
{
    if (key == u'*' || key == u'#')
        return KeyDecision::Refuse;
    const bool editingKey = key == u'\b' || isLineBreak(key);
    if (!multiLine && !editingKey && textLength >= kSingleLineLimit)
        return KeyDecision::RefuseWithBeep;
    return KeyDecision::Accept;
}

CleanedText cleanCaptionText(const QString& text, bool multiLine)
{
    CleanedText out;
    out.text.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'*' || c == u'#') {
            out.altered = true;
        } else if (isLineBreak(c)) {
            if (multiLine) {
                out.text += c;
            } else {
                out.altered = true;
                if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                    ++i;
                out.text += u' ';
            }
        } else if (c != u'\t' && c.category() == QChar::Other_Control) {
            out.altered = true;
        } else {
            out.text += c;
        }
    }
    if (!multiLine && out.text.size() > kSingleLineLimit) {
        qsizetype cut = kSingleLineLimit;
        if (out.text[cut - 1].isHighSurrogate())
            --cut;
        out.text.truncate(cut);
        out.altered = true;
    }
    return out;
}

int FontSizeMinimo(int fontSize)
{
    return std::max(fontSize, kSizeBarMinimum);
}

QRect captionGrownBounds(const QRect& caption)
{
    return QRect(caption.x(), caption.y() - 2, std::max(1, caption.width()),
                 std::max(1, caption.height() + 4));
}

SizeChange ApplicaDimensione(bool multiLine, int value, int fontSize, const QRect& caption,
                             int bordoAlbumWidth)
{
    SizeChange change;
    change.caption = caption;
    if (multiLine) {
        if (value != fontSize && bordoAlbumWidth - rightEdge(caption) > 20)
            change.caption.setWidth(caption.width() + 20);
        change.fontSize = value;
    } else {
        change.fontSize = value + 2;
    }
    change.fontSize = FontSizeMinimo(change.fontSize);
    change.handle = captionGrownBounds(change.caption);
    return change;
}

std::optional<int> shadeOffsetForSize(int fontSize)
{
    if (fontSize >= 1 && fontSize <= 39)
        return 2;
    if (fontSize >= 40 && fontSize <= 79)
        return 3;
    if (fontSize >= 80 && fontSize <= 130)
        return 4;
    return std::nullopt;
}

QRect Corrector(const QRect& caption, const QSize& bordoAlbum)
{
    QRect r = caption;
    if (bottomEdge(r) >= bordoAlbum.height() - 15 && r.y() > 15)
        r.moveTop(r.y() - 10);
    if (rightEdge(r) >= bordoAlbum.width() - 20 && r.x() > 20)
        r.moveLeft(r.x() - 10);
    if (rightEdge(r) <= bordoAlbum.width() - 20 && r.x() <= 19)
        r.moveLeft(r.x() + 10);
    return r;
}

QRect keepEditedCaptionInView(const QRect& caption, int safeAreaWidth)
{
    QRect r = caption;
    if (rightEdge(r) > safeAreaWidth)
        r.moveLeft(r.x() - 100);
    return r;
}

FondinoBox SetFondino(const QRect& caption, int fontSize, bool fondinoOn)
{
    int m = std::max(0, fontSize / 4);
    if (caption.height() > 4 * m && m < 35)
        m = std::max(0, caption.height() / 18);
    FondinoBox box;
    box.margin = m;
    box.rect = QRect(caption.x() - m, caption.y() - m, std::max(1, caption.width() + 2 * m),
                     std::max(1, caption.height() + 2 * m));
    box.visible = fondinoOn;
    return box;
}

int alignmentBoxLeft(CaptionAlignment alignment, int safeAreaWidth, int captionWidth)
{
    switch (alignment) {
    case CaptionAlignment::Left: return 23;
    case CaptionAlignment::Centre: return roundHalfEven(safeAreaWidth - captionWidth, 2) + 23;
    case CaptionAlignment::Right: return safeAreaWidth - captionWidth + 23;
    }
    return 23;
}

QRect fitHandleBounds(const QRect& safeArea)
{
    return QRect(safeArea.x() - 2, safeArea.y() - 2, std::max(1, safeArea.width() + 4),
                 std::max(1, safeArea.height() + 4));
}

CaptionReset resetCaption(const CaptionStyle& current, bool fromButton, bool multiLine,
                          const QRect& safeArea)
{
    CaptionReset reset;
    CaptionStyle& s = reset.style;
    s = current;
    s.fontName = QStringLiteral("Arial");
    s.alignment = CaptionAlignment::Centre;
    s.italic = s.bold = s.underline = s.strikeOut = false;
    s.effect = CaptionEffect::Normal3d;
    s.fontColour = QColor(0, 0, 0);
    s.FondinoON = false;
    s.captionColour = QColor(0xC6, 0xCD, 0xD9);
    s.shadeColour = QColor(128, 128, 128);
    if (!fromButton || multiLine) {
        s.fontSize = 50;
        const QSize size = fromButton ? QSize(std::max(1, safeArea.width()),
                                              std::max(1, safeArea.height()))
                                      : QSize(240, 80);
        reset.caption = QRect(safeArea.topLeft(), size);
    }
    return reset;
}

QRect toolBarGeometry(const QPoint& viewerTopLeft)
{
    return QRect(viewerTopLeft + QPoint(73, 375), QSize(kToolBarWidth, kToolBarHeight));
}

bool forwardKeyRelease(ToolFocus focus, int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Escape || (key == Qt::Key_T && (modifiers & Qt::AltModifier)))
        return true;
    return focus != ToolFocus::EditText;
}

bool forwardKeyPress(ToolFocus focus, int key)
{
    if (key == Qt::Key_Escape)
        return true;
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up
                       || key == Qt::Key_Down;
    return arrow && focus == ToolFocus::Other;
}

AlignmentAction alignmentAction(bool captionSelected, bool multiLine)
{
    return captionSelected && multiLine ? AlignmentAction::AlignText : AlignmentAction::PlaceBox;
}

ViewLayout viewLayout(bool multiLine)
{
    ViewLayout layout;
    if (multiLine) {
        layout.autoSize = true;
    } else {
        layout.fitFontToBox = true;
        layout.alignment = CaptionAlignment::Centre;
    }
    return layout;
}

// ---- CaptionToolBarState ----------------------------------------------------

void CaptionToolBarState::FormShow(bool editMode, CaptionAlignment alignment)
{
    m_armed[0] = m_armed[1] = false;
    ResizeBusy = false;
    Justify(editMode && m_viewMode, alignment);
}

CaptionToolBarState::ArrowAction CaptionToolBarState::clickArrow(int arrow, bool buttonDown)
{
    const int i = arrow == 2 ? 1 : 0;
    m_arrowDown[i] = buttonDown;
    if (i == 0 && buttonDown)
        m_safeAreaDown = false;
    if (buttonDown && !m_armed[i]) {
        m_armed[i] = true;
        return ArrowAction::Arm;
    }
    if (buttonDown)
        return ArrowAction::None;
    m_armed[i] = false;
    return ArrowAction::Clear;
}

void CaptionToolBarState::arrowDrawn(int arrow)
{
    const int i = arrow == 2 ? 1 : 0;
    m_armed[i] = false;
    m_arrowDown[i] = true;
}

void CaptionToolBarState::showArrows(bool arrow1Present, bool arrow2Present)
{
    m_arrowDown[0] = arrow1Present || m_armed[0];
    m_arrowDown[1] = arrow2Present || m_armed[1];
    if (m_arrowDown[0])
        m_safeAreaDown = false;
}

void CaptionToolBarState::clickSafeArea(bool buttonDown)
{
    m_safeAreaDown = buttonDown;
    if (buttonDown) {
        m_arrowDown[0] = false;
        m_armed[0] = false;
    }
}

int CaptionToolBarState::armedArrow() const
{
    if (m_armed[0])
        return 1;
    return m_armed[1] ? 2 : 0;
}

bool CaptionToolBarState::arrowButtonDown(int arrow) const
{
    return m_arrowDown[arrow == 2 ? 1 : 0];
}

CaptionEffect CaptionToolBarState::clickRaised(bool buttonDown)
{
    m_raisedDown = buttonDown;
    if (buttonDown)
        m_shadowDown = false;
    return buttonDown ? CaptionEffect::Resit3d : CaptionEffect::Normal3d;
}

CaptionEffect CaptionToolBarState::clickShadow(bool buttonDown)
{
    m_shadowDown = buttonDown;
    if (buttonDown)
        m_raisedDown = false;
    return buttonDown ? CaptionEffect::Shadowed3d : CaptionEffect::Normal3d;
}

void CaptionToolBarState::showEffect(CaptionEffect effect)
{
    m_raisedDown = effect == CaptionEffect::Resit3d || effect == CaptionEffect::Raised3d;
    m_shadowDown = effect == CaptionEffect::Shadowed3d;
}

void CaptionToolBarState::Justify(bool textAlignment, CaptionAlignment alignment)
{
    m_alignment.firstGlyph = textAlignment ? 3 : 0;
    m_alignment.grouped = textAlignment;
    if (textAlignment)
        m_alignment.down = alignment;
    else
        m_alignment.down.reset();
}

void CaptionToolBarState::showAlignment(CaptionAlignment alignment)
{
    if (m_alignment.grouped)
        m_alignment.down = alignment;
}

bool CaptionToolBarState::SettaViewMode(bool multiLine, const QString& captionText)
{
    if (captionText.trimmed().isEmpty())
        return false;
    m_viewMode = multiLine;
    return true;
}

std::optional<int> CaptionToolBarState::singleLineRestartSize(int fontSize)
{
    if (fontSize < kSizeBarMinimum)
        return kSizeBarMinimum + 5;
    return std::nullopt;
}

QString CaptionToolBarState::foldButtonText() const
{
    return m_folded ? QStringLiteral(">") : QStringLiteral("<");
}

}  // namespace ziro
