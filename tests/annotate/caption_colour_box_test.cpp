#include "annotate/caption_colour_box.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace ziro::colour_box {
namespace {

TEST(CaptionColourBox, SelectedEntryForACaptionColour)
{
    struct Case {
        QColor colour;
        int index;
        const char* text;
    } cases[] = {
        {QColor(255, 0, 0), 9, "Rosso"},                // clRed
        {QColor(192, 192, 192), 15, "Grigio chiaro"},   // clSilver: the later of two
        {QColor(128, 128, 128), 16, "Grigio scuro"},    // clGray: the later of two
        {QColor(0, 0, 0), 0, "Nero"},
        {QColor(128, 0, 0), 1, "Rosso scuro"},          // clMaroon
        {QColor(0, 255, 255), 14, "Azzurro"},           // clAqua
        {QColor(255, 255, 255), 17, "Bianco"},
        {QColor(192, 220, 192), kDefaultIndex, ""},     // clMoneyGreen: a name, no entry
        {QColor(255, 251, 240), kDefaultIndex, ""},     // clCream
        {QColor(0x12, 0x34, 0x56), kOtherIndex, "Altri..."},
        {QColor(0xC6, 0xCD, 0xD9), kOtherIndex, "Altri..."},
        {QColor(), kOtherIndex, "Altri..."},
    };
    for (const auto& c : cases) {
        const int index = indexForColour(c.colour);
        EXPECT_EQ(index, c.index) << c.colour.name().toStdString();
        EXPECT_EQ(entryText(index), QString::fromUtf8(c.text)) << c.colour.name().toStdString();
    }
}

TEST(CaptionColourBox, EveryNamedEntryGivesBackItsColour)
{
    for (int i = 0; i < kOtherIndex; ++i) {
        const auto colour = entryColour(i);
        ASSERT_TRUE(colour) << i;
        const int shown = indexForColour(*colour);
        EXPECT_EQ(entryColour(shown), colour) << i;
        EXPECT_FALSE(opensColourDialog(i));
    }
    EXPECT_TRUE(opensColourDialog(kOtherIndex));
    EXPECT_EQ(entryColour(kOtherIndex), std::nullopt);
    EXPECT_EQ(entryColour(kDefaultIndex), std::nullopt);
    EXPECT_EQ(entryValue(kOtherIndex), kNoneValue);
    EXPECT_EQ(entryValue(kDefaultIndex), kDefaultValue);
    EXPECT_EQ(entryText(-1), QString());
    EXPECT_EQ(entryText(kColourCount), QString());
    EXPECT_EQ(entryColour(12), QColor(0, 0, 255));  // "Blu": the table is blue-green-red
}

}  // namespace
}  // namespace ziro::colour_box
