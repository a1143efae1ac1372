#include "annotate/caption_colour_box.h"

#include "config/colour_text.h"

#include <array>

namespace ziro::colour_box {

namespace {

struct Entry {
    const char* text;  // UTF-8; nullptr for the entry without text
    quint32 value;     // 00BBGGRR or a special value
};

// Grey and silver appear twice: the second half of the list is the bright
// row of the classic sixteen-colour palette, whose greys are the same.
constexpr std::array<Entry, kColourCount> kEntries{{
    {"Nero", 0x000000},          {"Rosso scuro", 0x000080},  {"Verde scuro", 0x008000},
    {"Giallo scuro", 0x008080},  {"Blu scuro", 0x800000},    {"Viola", 0x800080},
    {"Turchese", 0x808000},      {"Grigio scuro", 0x808080}, {"Grigio chiaro", 0xC0C0C0},
    {"Rosso", 0x0000FF},         {"Verde", 0x00FF00},        {"Giallo", 0x00FFFF},
    {"Blu", 0xFF0000},           {"Magenta", 0xFF00FF},      {"Azzurro", 0xFFFF00},
    {"Grigio chiaro", 0xC0C0C0}, {"Grigio scuro", 0x808080}, {"Bianco", 0xFFFFFF},
    {"Altri...", kNoneValue},    {nullptr, kDefaultValue},
}};

bool inTable(int index)
{
    return index >= 0 && index < kColourCount;
}

quint32 toBgr(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

}  // namespace

QString entryText(int index)
{
    if (!inTable(index) || !kEntries[index].text)
        return {};
    return QString::fromUtf8(kEntries[index].text);
}

quint32 entryValue(int index)
{
    return inTable(index) ? kEntries[index].value : 0;
}

std::optional<QColor> entryColour(int index)
{
    if (!inTable(index) || index >= kOtherIndex)
        return std::nullopt;
    const quint32 bgr = kEntries[index].value;
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

bool opensColourDialog(int index)
{
    return index == kOtherIndex;
}

int indexForColour(const QColor& colour)
{
    if (!colour.isValid() || !colourToText(colour).startsWith(QLatin1String("cl")))
        return kOtherIndex;
    const quint32 bgr = toBgr(colour);
    for (int i = kOtherIndex - 1; i >= 0; --i) {
        if (kEntries[i].value == bgr)
            return i;
    }
    return kDefaultIndex;
}

}  // namespace ziro::colour_box
