#pragma once

// Colours in settings files are written the way the classic toolkit writes
// them: a colour name ("clBlue") where one exists, otherwise "$" and eight
// hexadecimal digits holding 00, blue, green, red. Files written by the older
// program must read back as the same colours, and so must ours.

#include <QColor>
#include <QString>

#include <optional>

namespace ziro {

// Reads a colour name (any letter case), "$00BBGGRR", "0x00BBGGRR" or the
// same number in decimal. Values whose top byte is not zero (system colour
// references, palette entries) have no fixed colour here and are refused, as
// is anything else that is not a colour: the answer is then nullopt.
std::optional<QColor> colourFromText(const QString& text);

// The name of the colour when the table has one, otherwise "$00BBGGRR" in
// upper-case hexadecimal. Alpha is not stored.
QString colourToText(const QColor& colour);

}  // namespace ziro
