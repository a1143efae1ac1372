#pragma once

// The rules of the caption tool bar TTools, apart from its widgets: what the
// text field accepts, how sizes and places of the caption, its handle and its
// background box follow from each other, and which buttons show down.
//
// Geometry is in pixels inside the photo frame BordoAlbum. A caption box is a
// QRect used only through x, y, width and height: its right edge is
// x + width, as the classic toolkit counts it (not QRect::right()).

#include "annotate/caption_styles.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace ziro {

// ---- Typing ----------------------------------------------------------------

// A single-line caption holds at most this many characters.
constexpr int kSingleLineLimit = 51;

enum class KeyDecision { Accept, Refuse, RefuseWithBeep };

// A character typed into EditText, which already holds `textLength`
// characters. "*" and "#" delimit the stored caption record and are always
// refused; a full single-line text refuses everything but Backspace ('\b')
// and Enter ('\r' or '\n'), with a beep. An accepted key changes the caption.
KeyDecision EditTextKeyPress(QChar key, qsizetype textLength, bool multiLine);

struct CleanedText {
    QString text;
    bool altered = false;  // something was taken out: worth a beep
};

// Makes any text fit to be the caption, whatever way it arrived (paste, drop,
// input method): removes "*", "#" and control characters other than CR, LF
// and TAB; a single-line text gets each line break as one space and is cut to
// kSingleLineLimit characters (never inside a surrogate pair).
CleanedText cleanCaptionText(const QString& text, bool multiLine);

// ---- Sizes -----------------------------------------------------------------

// The font size bar Ts_CharSize.
constexpr int kSizeBarMinimum = 15;
constexpr int kSizeBarMaximum = 160;
constexpr int kSizeBarLargeStep = 5;
constexpr int kSizeBarPage = 23;

// A font size below the bar's minimum is raised to it.
int FontSizeMinimo(int fontSize);

// The caption's bounds grown by 2 at the top and the bottom: what the handle
// takes after a size change.
QRect captionGrownBounds(const QRect& caption);

struct SizeChange {
    int fontSize = kSizeBarMinimum;
    QRect caption;  // x, y and height unchanged; a multi-line caption may widen
    QRect handle;
};

// A new size `value` from the size bar or a style. Multi-line: a caption whose
// right edge is more than 20 pixels inside the frame widens by 20 when the size
// really changes. Single line: the font gets value + 2, the text then fitting
// the box. Either way FontSizeMinimo follows.
SizeChange ApplicaDimensione(bool multiLine, int value, int fontSize, const QRect& caption,
                             int bordoAlbumWidth);

// The shadow's offset for a font size while the shadow effect is on:
// 2 up to 39, 3 up to 79, 4 up to 130; nullopt (leave it) otherwise. The
// caption casts its shade right and up: offsets (n, -n).
std::optional<int> shadeOffsetForSize(int fontSize);


// Nudges the caption back inside the frame, 10 pixels a step.
QRect Corrector(const QRect& caption, const QSize& bordoAlbum);

// After an edit the text may run past the usable area: the caption then
// moves 100 pixels left (Corrector follows).
QRect keepEditedCaptionInView(const QRect& caption, int safeAreaWidth);

struct FondinoBox {
    QRect rect;
    int margin = 0;
    bool visible = false;
};

// The background box behind the caption: the caption grown by a margin of a
// quarter of the font size, or of 1/18 of the caption's height for a tall
// multi-line caption with a small margin; shown exactly when FondinoON.
FondinoBox SetFondino(const QRect& caption, int fontSize, bool fondinoOn);

// The handle's left for the alignment buttons in position mode: the caption
// at the usable area's left, centre or right (23 being the usable area's left
// in the frame less the handle's border).
int alignmentBoxLeft(CaptionAlignment alignment, int safeAreaWidth, int captionWidth);

// Sb_Fit: the handle around the whole usable area.
QRect fitHandleBounds(const QRect& safeArea);

struct CaptionReset {
    CaptionStyle style;
    std::optional<QRect> caption;  // new bounds; nullopt: size and place stay
};

// Sb_Predef1Click. `fromButton` is the teacher's click (the caption takes the
// usable area, and only in multi-line mode); without it a new caption gets its
// first size and place, 240 x 80 at the usable area's top-left. The font size
// becomes 50 exactly when the bounds change.
CaptionReset resetCaption(const CaptionStyle& current, bool fromButton, bool multiLine,
                          const QRect& safeArea);

// ---- The tool bar ----------------------------------------------------------

constexpr int kToolBarWidth = 462;
constexpr int kFoldedToolBarWidth = 13;
constexpr int kToolBarHeight = 85;

// Where the tool bar opens, from the photo viewer's top-left.
QRect toolBarGeometry(const QPoint& viewerTopLeft);

// Where the keyboard focus is inside the tool bar.
enum class ToolFocus { EditText, FontBox, ColorBox, SizeBar, Other };

// A key release goes on to the viewer unless it belongs to the text being
// typed; Esc and Alt+T always do.
bool forwardKeyRelease(ToolFocus focus, int key, Qt::KeyboardModifiers modifiers);
// A key press goes on only for the arrow keys outside the controls that use
// them, and for Esc.
bool forwardKeyPress(ToolFocus focus, int key);

// Which of the three alignment buttons show what.
struct AlignmentButtons {
    int firstGlyph = 0;  // glyphs firstGlyph .. firstGlyph + 2
    bool grouped = false;  // one of them always down
    std::optional<CaptionAlignment> down;
};

enum class AlignmentAction { AlignText, PlaceBox };

// The buttons align the text of a selected multi-line caption and place the
// box otherwise.
AlignmentAction alignmentAction(bool captionSelected, bool multiLine);

// The caption's layout in each view mode.
struct ViewLayout {
    bool fitFontToBox = false;  // single line: the font fits the box
    bool autoSize = false;      // multi-line: the box follows the text
    std::optional<CaptionAlignment> alignment;  // single line: centred
};
ViewLayout viewLayout(bool multiLine);

// The state of the tool bar's buttons and modes, as the widget shows it.
class CaptionToolBarState {
public:
    enum class ArrowAction {
        Arm,    // deselect the caption, burn it in, cross cursor
        Clear,  // the arrow is gone: redraw the photo, default cursors
        None,   // already armed
    };

    // FormShow: nothing armed, nothing resizing, alignment buttons as the
    // caption's selection and view mode say.
    void FormShow(bool editMode, CaptionAlignment alignment);

    // Sb_ArrowOn1Click / Sb_ArrowOn2Click, with the button's state after the
    // click. Arrow 1 shares its group with the usable-area button. A click
    // that raises the button of an armed arrow disarms it.
    ArrowAction clickArrow(int arrow, bool buttonDown);
    // The viewer drew the arrow: it is no longer armed and its button stays
    // down, as for every arrow present.
    void arrowDrawn(int arrow);
    // AcquireData: the arrow buttons show which arrows are present.
    void showArrows(bool arrow1Present, bool arrow2Present);
    // Sb_SafeArea; pressing it raises and disarms arrow 1.
    void clickSafeArea(bool buttonDown);

    bool BuildFreccia1() const { return m_armed[0]; }
    bool BuildFreccia2() const { return m_armed[1]; }
    // The arrow a press on the photo draws: 1 before 2; 0 for none.
    int armedArrow() const;
    bool arrowButtonDown(int arrow) const;
    bool safeAreaDown() const { return m_safeAreaDown; }

    // Sb_3d and Sb_Shade (at most one down): the caption's new effect.
    CaptionEffect clickRaised(bool buttonDown);
    CaptionEffect clickShadow(bool buttonDown);
    void showEffect(CaptionEffect effect);
    bool raisedDown() const { return m_raisedDown; }
    bool shadowDown() const { return m_shadowDown; }

    // Justify(Switch): true for text alignment, false for box position.
    void Justify(bool textAlignment, CaptionAlignment alignment);
    // A click on an alignment button while it aligns the text.
    void showAlignment(CaptionAlignment alignment);
    const AlignmentButtons& alignmentButtons() const { return m_alignment; }

    // SettaViewMode(SetView): false, changing nothing, while the caption's
    // text is blank.
    bool SettaViewMode(bool multiLine, const QString& captionText);
    bool ViewMode() const { return m_viewMode; }
    int viewModeGlyph() const { return m_viewMode ? 7 : 6; }
    // Back to a single line, a font below the bar's minimum restarts at
    // minimum + 5 (nullopt: the size stays).
    static std::optional<int> singleLineRestartSize(int fontSize);

    // st_DimCtlr: folds to 13 pixels and back to 462.
    void st_DimCtlrClick() { m_folded = !m_folded; }
    bool folded() const { return m_folded; }
    int width() const { return m_folded ? kFoldedToolBarWidth : kToolBarWidth; }
    QString foldButtonText() const;

    // A size is being applied; bar changes meanwhile only show it.
    bool ResizeBusy = false;

private:
    bool m_armed[2] = {false, false};
    bool m_arrowDown[2] = {false, false};
    bool m_safeAreaDown = false;
    bool m_raisedDown = false;
    bool m_shadowDown = false;
    AlignmentButtons m_alignment;
    bool m_viewMode = false;
    bool m_folded = false;
};

}  // namespace ziro
