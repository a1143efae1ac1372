#pragma once

// The logic of TFusedLabel without a display: the text it shows,
// the font size that fits its box (searched once and kept until the size,
// the box or the text changes), the passes of its raised and shadowed
// effects, and its links.
//
// Font sizes are pixel sizes of the 640 x 480 surface, the unit every font of
// the program is set in; the presentation scales them with everything else.

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace ziro {

enum class TFitType { NormalFit, BestFitVert, BestFithorz, BestFitBoth };
enum class T3DEffect { Normal3d, Resit3d, Raised3d, Shadowed3d };
enum class TmdLabelType { Auto, Passive, Link };
enum class TmdLinkType { http, mailto };

// --- text ---

// The text a label draws: the caption, or `formatString` with the caption in
// place of its "%s" ("%%" gives "%") when a format string is set.
QString fusedLabelText(const QString& caption, const QString& formatString);
// The text measured for fitting: an empty text counts as a single space.
QString fusedLabelMeasuredText(const QString& text);

// --- fitting ---

// What the text measures at one font pixel size: its width (of its widest
// line) and the font's line height.
using TextMeasure = std::function<QSize(int pixelSize)>;
// The measure of `text` in `font` at each pixel size, through QFontMetrics.
TextMeasure fontTextMeasure(const QFont& font, const QString& text);

// The largest size a search tries; a box no text fills stops there.
constexpr int kMaxFitSize = 1000;

// The font size that fits `box`, never below 1:
// - BestFitVert: the largest size whose line height is within the box height
//   (the font's height becomes the box's);
// - BestFithorz: upward from the smallest size until the text is as wide as
//   the box, then 2 smaller;
// - BestFitBoth: upward until the text is as wide as the box or the line as
//   high, then 2 smaller.
// NormalFit fits nothing: nullopt. The text is taken to grow with its font
// (as real ones do), so the size is found by halving rather than by trying
// every size in turn.
std::optional<int> fitFontSize(TFitType type, QSize box, const TextMeasure& measure);

// One label's fitting, remembered: a new search runs only when the fit type,
// the font (its size, face or style), the box or the text differ from the
// last fit's, so painting a label again costs nothing. The size the label was
// given by the last fit counts as unchanged.
class FusedLabelFit {
public:
    struct Request {
        TFitType type = TFitType::NormalFit;
        int fontSize = 0;  // the label's font pixel size now
        QString face;      // family and style, so a new face fits again
        QSize box;
        QString text;      // as measured
    };

    // The size the label's font should take, or nullopt to leave it (no
    // fitting, or nothing changed since the last fit).
    std::optional<int> fit(const Request& request, const TextMeasure& measure);
    // Forgets the last fit (a new fit type forces a new search).
    void invalidate() { m_last.reset(); }
    // How many searches ran.
    int searches() const { return m_searches; }

private:
    std::optional<Request> m_last;  // with fontSize the fitted size
    int m_searches = 0;
};

// The face part of a font, for FusedLabelFit::Request::face.
QString fontFaceKey(const QFont& font);

// --- effects ---

// One drawing of the text before its face: moved by `offset`, in the
// highlight (left-top) or the shadow (right-bottom) colour.
struct EffectPass {
    QPoint offset;
    bool highlight = false;
    friend bool operator==(const EffectPass&, const EffectPass&) = default;
};

// The passes drawn before the face, in order: Resit3d the highlight at
// (+1, +1) then the shadow at (-1, -1); Raised3d the shadow at (+1, +1) then
// the highlight at (-1, -1); Shadowed3d the shadow at the shade offsets;
// Normal3d none.
std::vector<EffectPass> effectPasses(T3DEffect effect, int hOffset, int vOffset);

// --- links ---

// A URL as set on a label, and what it opens.
struct FusedLink {
    QString url;                           // as kept: "mailto:" and "http://" taken off
    TmdLinkType type = TmdLinkType::http;  // "@" makes a mail link, "/" a web link
    bool linkable = false;                 // a URL is set
};

// Reads a URL as the label's URL property takes it. A value containing "@"
// (and no "/") is a mail link, one containing "/" a web link, any other keeps
// `current`; a leading "mailto:" or "http://" (any case) is dropped, as the
// label adds it back when opening. Other schemes ("https://") stay, so the
// link opens what was written.
FusedLink readFusedLink(const QString& value, TmdLinkType current);

// What opening a link asks the desktop for: the URL with its own scheme when
// it has one ("https://..."), else "http://" or "mailto:" before it. Empty
// for an empty URL.
QString fusedLinkTarget(const QString& url, TmdLinkType type);

// Whether a click opens the link: a URL is set and the label is a link, or
// automatic with a URL that reads as a link.
bool fusedLabelOpensLink(TmdLabelType labelType, const FusedLink& link);

}  // namespace ziro
