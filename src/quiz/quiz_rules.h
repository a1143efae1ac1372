#pragma once

// The quiz window's fixed rules: answer colours, pictogram names, the caption
// bar's font and colour, the difficulty gauge, the licence-group marks, the
// explanation film's name and the text fitting. Pure functions, so each rule
// is checked without a window.

#include "base/globals.h"
#include "quiz/quiz_colours.h"

#include <QColor>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace ziro {

inline const QColor kQuizTrue(0, 191, 48);
inline const QColor kQuizFalse(185, 0, 0);
inline QColor answerColour(int responso) { return responso == 1 ? kQuizTrue : kQuizFalse; }


// Codes "800" to "810" have their own pictograms with an "n" suffix.
QString AdeguaPittogrammi(const QString& code);

// The caption bar's family: the narrow face from 25 characters on.
QString captionFamily(const QString& caption);

// The caption bar's colour for a sub-topic code; none for a code whose first
// letter is not A to J or L (the bar then keeps its neutral look).
std::optional<QColor> captionColour(TModoQuiz edition, const QString& subTopic);
inline const QColor kCaptionNeutral(234, 234, 234);
inline const QColor kCaptionNeutralText(63, 63, 63);

// The difficulty gauge for a value of 0 to 100.
struct GaugeLook {
    int value = 0;
    bool showNumber = false;
    QColor background = QColor(248, 248, 248);
    QColor bar = QColor(0, 128, 0);
};
GaugeLook gaugeLook(int value);

// The licence-group marks of edition C-D-E.
struct GroupMark {
    QChar digit;
    QString label;
    QColor colour;  // light grey when the statement is not of the group
};
inline const QColor kGroupOff(192, 192, 192);
std::array<GroupMark, 7> groupMarks(const QString& groups);

// Base name of a statement's explanation film: block, "_", the question
// number with at least two digits, "_00". Empty without a block.
QString explanationFilmName(const QString& blocco, int arrNum);

// The largest font size from `start` down to `minimum` at which `height`
// (the text's height at a size) stays below `available`; `minimum` when
// none does (the text is then clipped). Sizes are whole points, so the
// answer depends only on the font's metrics.
int fitFontSize(int start, int minimum, int available, const std::function<int(int)>& height);

}  // namespace ziro
