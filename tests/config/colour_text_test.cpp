#include "config/colour_text.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace ziro {
namespace {

TEST(ColourText, NamesReadAndWriteBack)
{
    struct Case {
        const char* name;
        QColor colour;
    } cases[] = {
        {"clBlack", QColor(0, 0, 0)},       {"clMaroon", QColor(128, 0, 0)},
        {"clGreen", QColor(0, 128, 0)},     {"clOlive", QColor(128, 128, 0)},
        {"clNavy", QColor(0, 0, 128)},      {"clPurple", QColor(128, 0, 128)},
        {"clTeal", QColor(0, 128, 128)},    {"clGray", QColor(128, 128, 128)},
        {"clSilver", QColor(192, 192, 192)}, {"clRed", QColor(255, 0, 0)},
        {"clLime", QColor(0, 255, 0)},      {"clYellow", QColor(255, 255, 0)},
        {"clBlue", QColor(0, 0, 255)},      {"clFuchsia", QColor(255, 0, 255)},
        {"clAqua", QColor(0, 255, 255)},    {"clWhite", QColor(255, 255, 255)},
        {"clMoneyGreen", QColor(192, 220, 192)}, {"clSkyBlue", QColor(166, 202, 240)},
        {"clCream", QColor(255, 251, 240)}, {"clMedGray", QColor(160, 160, 164)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(colourFromText(QString::fromLatin1(c.name)), c.colour) << c.name;
        EXPECT_EQ(colourToText(c.colour), QString::fromLatin1(c.name)) << c.name;
    }
}

TEST(ColourText, NumbersAliasesAndLetterCase)
{
    struct Case {
        const char* text;
        QColor colour;
        const char* written;
    } cases[] = {
        {"$00FF0000", QColor(0, 0, 255), "clBlue"},
        {"$000080FF", QColor(255, 128, 0), "$000080FF"},
        {"$00e6f0fa", QColor(250, 240, 230), "$00E6F0FA"},
        {"0x0000FF", QColor(255, 0, 0), "clRed"},
        {"255", QColor(255, 0, 0), "clRed"},
        {"  CLBLUE ", QColor(0, 0, 255), "clBlue"},
        {"clLtGray", QColor(192, 192, 192), "clSilver"},
        {"clDkGray", QColor(128, 128, 128), "clGray"},
    };
    for (const auto& c : cases) {
        const auto colour = colourFromText(QString::fromLatin1(c.text));
        ASSERT_TRUE(colour) << c.text;
        EXPECT_EQ(*colour, c.colour) << c.text;
        EXPECT_EQ(colourToText(*colour), QString::fromLatin1(c.written)) << c.text;
    }
}

TEST(ColourText, AnythingElseIsRefused)
{
    for (const char* text : {"", "  ", "blu", "clBlu", "$", "$GG0000", "$123456789", "0x",
                             "$FF00000F", "$01000005", "-1", "16777216", "12 34", "#FF0000"})
        EXPECT_FALSE(colourFromText(QString::fromLatin1(text))) << text;
}

TEST(ColourText, EveryColourWrittenReadsBackTheSame)
{
    for (const QColor& c : {QColor(1, 2, 3), QColor(254, 0, 127), QColor(0, 0, 255),
                            QColor(10, 200, 30), QColor(255, 255, 254)}) {
        const QString text = colourToText(c);
        EXPECT_EQ(colourFromText(text), c) << text.toStdString();
    }
    // Alpha is not stored: a translucent colour comes back opaque.
    EXPECT_EQ(colourFromText(colourToText(QColor(255, 0, 0, 10))), QColor(255, 0, 0));
}

}  // namespace
}  // namespace ziro
