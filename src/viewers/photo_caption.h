#pragma once

// The caption of a photograph and its record, the text kept in the content
// table's field "TxtF<n>" so that every later class sees the same caption:
//
//   text*left*top*width*height+4*lines*font*colour*size*align*style*
//   transparent*box colour*effect*shadow colour*
//   o1x*o1y*t1x*t1y*arrow colour*o2x*o2y*t2x*t2y*#
//
// Colours are colour texts ("clBlack", "$00D9CDC6"). An empty or blank
// value means the photograph has no caption. Records come from shared
// content files and lesson files, so reading never fails: it stops quietly
// at the first value that is not a number or a colour, keeping what it has
// read and the defaults for the rest.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>

namespace ziro {

// The text a new caption starts with; it is never stored.
inline constexpr char16_t kCaptionPlaceholder[] = u"Testo...";

// The 3-D look of the caption label, in the label's own order.
enum class CaptionEffect { Normal3d, Resit3d, Raised3d, Shadowed3d };

enum class CaptionAlignment { Left = 1, Centre = 2, Right = 3 };

// One arrow over the photograph, in pixels of the photograph as shown.
struct CaptionArrow {
    QPoint origin{-1, -1};
    QPoint tip{-1, -1};

    // An arrow counts only with a positive origin x and tip y; (-1, -1)
    // marks it absent.
    bool present() const { return origin.x() > 0 && tip.y() > 0; }
    void clear() { origin = tip = QPoint(-1, -1); }
    bool operator==(const CaptionArrow&) const = default;
};

// Everything a caption record holds. Geometry is the caption label's, in
// pixels of the photograph's frame (the photograph itself sits 4 pixels in).
// The defaults are the tools' reset style; they stand for fields a record
// lacks.
struct PhotoCaption {
    QString text;                                        // field 0; may hold CR
    int left = 0;                                        // field 1
    int top = 0;                                         // field 2
    int width = 240;                                     // field 3
    int height = 80;                                     // field 4 holds height + 4
    bool multiLine = false;                              // field 5: "2" multi, "1" single
    QString fontName = QStringLiteral("Arial");          // field 6
    QColor fontColour = QColor(0, 0, 0);                 // field 7
    int fontSize = 50;                                   // field 8, points
    CaptionAlignment alignment = CaptionAlignment::Centre;  // field 9
    bool italic = false;                                 // field 10 (0 plain,
    bool bold = false;                                   //   1 italic, 2 bold, 3 both)
    bool background = false;                             // field 11: "0" box, "1" none
    QColor captionColour = QColor(0xC6, 0xCD, 0xD9);     // field 12, "$00D9CDC6"
    CaptionEffect effect = CaptionEffect::Normal3d;      // field 13
    QColor shadowColour = QColor(0x80, 0x80, 0x80);      // field 14
    std::array<CaptionArrow, 2> arrows;                  // fields 15-18 and 20-23
    QColor arrowColour = QColor(0x80, 0x00, 0x80);       // field 19, purple

    QRect box() const { return QRect(left, top, width, height); }
    bool anyArrow() const { return arrows[0].present() || arrows[1].present(); }
    bool operator==(const PhotoCaption&) const = default;
};

// How far a record was read.
struct CaptionReading {
    PhotoCaption caption;
    int fieldsApplied = 0;  // fields taken from the record (at most 24)
    bool complete = false;  // all 24 fields were read without a bad value
};

// A field value that holds a caption: not empty and not blank.
bool hasCaption(const QString& value);

// Reads a record leniently (see the file comment): fields are ended by '*',
// the record by '#' or by the end of the text; fields after the 24th are
// ignored; an empty text field reads as " ". Lines, alignment, style and
// effect values other than those listed leave the default.
CaptionReading readCaption(const QString& record);

// The record of a caption, ended by "#". Empty when the trimmed text is
// empty and no arrow is present (storing it clears the field). '*', '#'
// and control characters other than TAB, CR and LF are left out of the
// texts so that they can neither break the record nor the table; an empty
// text is written " ", as the label holds it. The effect Raised3d is written
// "0". Reading back a record written here gives the same caption, and
// writing that again gives the same bytes.
QString writeCaption(const PhotoCaption& caption);

// A single-line caption is this high: 1.65 times the font size rounded to the
// nearest pixel, halves to even; never below 1.
int singleLineHeight(int fontSize);

// The background box behind the caption, in the caption's coordinates: the
// caption grown by a margin of font size / 4, or of height / 18 when the
// caption is taller than four margins and the margin is below 35.
QRect captionBackgroundRect(const PhotoCaption& caption);

}  // namespace ziro
