#pragma once

#include <QChar>
#include <QString>

namespace ziro {

// The one-line name prompt's rules. The answer becomes a lesson file name or
// a teacher's folder name, so whatever reaches the program must be a plain
// name, however it got into the field (typed or pasted).

// Names keep this many characters.
inline constexpr int kNameLength = 22;

// Whether `c` may appear in a name: a digit, an ASCII letter, "{", "|", "}",
// a blank, "-" or "_". Accented letters and everything else are refused.
bool isNameChar(QChar c);

// Whether a key typed into a field holding `currentLength` characters goes
// in. Backspace ('\b') and Enter ('\r' or '\n') always do; any other
// character only when it is a name character and the field holds at most
// kNameLength characters (so the field can reach kNameLength + 1, which the
// confirmation cuts back).
bool acceptNameKey(QChar key, int currentLength);

// The answer made from the field: its first kNameLength characters, trimmed,
// lower-cased, then the first character upper-cased when it is a to z.
QString normaliseName(const QString& fieldText);

enum class NameVerdict {
    Empty,     // nothing to answer (empty or blank field): the caller's answer stays empty
    Refused,   // the field holds something no name may hold: beep, keep the dialog open
    Accepted,  // `name` is the answer
};

struct NameCheck {
    NameVerdict verdict = NameVerdict::Empty;
    QString name;
};

// What pressing OK does with the whole field, pasted text included: any
// character outside isNameChar refuses it (even beyond the kept length), and
// the normalised answer must also pass isPlainName.
NameCheck confirmName(const QString& fieldText);

}  // namespace ziro
