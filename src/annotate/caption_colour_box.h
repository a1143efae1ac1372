#pragma once

// The font colour box of the caption tool bar: nineteen named entries over a
// table of twenty colours. The last two table values are not colours: entry 18
// ("Altri...") stands for "none" and opens the colour dialog, entry 19 for
// "default" and has no text, so selecting it shows nothing.

#include <QColor>
#include <QString>

#include <optional>

namespace ziro::colour_box {

constexpr int kTextCount = 19;
constexpr int kColourCount = 20;
constexpr int kOtherIndex = 18;    // "Altri..."
constexpr int kDefaultIndex = 19;  // no text

// The toolkit's special values behind entries 18 and 19, as colour texts and
// records may carry them.
constexpr quint32 kNoneValue = 0x1FFFFFFF;
constexpr quint32 kDefaultValue = 0x20000000;

// The entry's text; empty for entry 19 and outside the table.
QString entryText(int index);
// The table value in 00BBGGRR notation (or a special value above); 0 outside.
quint32 entryValue(int index);
// The entry's colour; nullopt for the two special entries and outside.
std::optional<QColor> entryColour(int index);
// Choosing this entry opens the colour dialog instead of giving a colour.
bool opensColourDialog(int index);

// The entry shown for a caption colour (setting ColoreSelezionato): a colour
// with a standard identifier selects the entry of equal colour, the later of
// two; with none equal, entry 19 (nothing shown). Any other colour selects
// "Altri...".
int indexForColour(const QColor& colour);

}  // namespace ziro::colour_box
