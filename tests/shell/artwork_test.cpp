#include "shell/artwork.h"

#include <gtest/gtest.h>

using namespace ziro;

namespace {

MainButton button(int i)
{
    return static_cast<MainButton>(i);
}

}  // namespace

TEST(Artwork, BackgroundFillsTheWindowWithAPlainWhiteSignArea)
{
    const QImage bg = mainBackground();
    ASSERT_EQ(bg.size(), QSize(640, 480));
    for (int y = kSignAreaRect.top(); y <= kSignAreaRect.bottom(); ++y)
        for (int x = kSignAreaRect.left(); x <= kSignAreaRect.right(); ++x)
            ASSERT_EQ(bg.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    // The shared picture is the one a new drawing gives: drawn the same every time.
    EXPECT_EQ(bg, drawMainBackground());
}

// The ten icon panels, 70 by 65: 1 to 5 down the left, 6 to 10 down the
// right, on the same five rows.
TEST(Artwork, IconPanelsSitInTwoColumnsOfFive)
{
    const QRect panels[] = {
        {19, 29, 70, 65},  {19, 101, 70, 65},  {19, 173, 70, 65},  {19, 245, 70, 65},  {19, 317, 70, 65},
        {548, 29, 70, 65}, {548, 101, 70, 65}, {548, 173, 70, 65}, {548, 245, 70, 65}, {548, 317, 70, 65},
    };
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(iconPanelRect(n), panels[n - 1]) << "panel " << n;
    EXPECT_TRUE(iconPanelRect(0).isNull());
    EXPECT_TRUE(iconPanelRect(11).isNull());
}

TEST(Artwork, ButtonsSitInTheBottomStripWithoutOverlapping)
{
    for (int i = 0; i < kMainButtonCount; ++i) {
        const QRect r = mainButtonRect(button(i));
        EXPECT_TRUE(kBottomStripRect.contains(r)) << i;
        for (int j = i + 1; j < kMainButtonCount; ++j)
            EXPECT_FALSE(r.intersects(mainButtonRect(button(j)))) << i << " and " << j;
    }
}

TEST(Artwork, EveryButtonPictureHasTheButtonsSizeAndTheMaskIsTwoColoured)
{
    for (int i = 0; i < kMainButtonCount; ++i) {
        const QSize size = mainButtonRect(button(i)).size();
        const ButtonArt art = mainButtonArt(button(i));
        for (const QImage* pic :
             {&art.up, &art.down, &art.alt, &art.mask, &art.locking, &art.locked, &art.spare})
            EXPECT_EQ(pic->size(), size) << i;
        EXPECT_NE(art.up, art.alt) << i;
        EXPECT_NE(art.up, art.down) << i;
        EXPECT_NE(art.up, art.locked) << i;

        int white = 0, black = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb p = art.mask.pixel(x, y) & 0xFFFFFF;
                ASSERT_TRUE(p == 0xFFFFFF || p == 0) << i << " at " << x << "," << y;
                (p ? white : black)++;
            }
        EXPECT_GT(white, black) << i;
        // The rounded corners are see-through, the middle is the button.
        EXPECT_EQ(art.mask.pixel(0, 0) & 0xFFFFFF, 0u) << i;
        EXPECT_EQ(art.mask.pixel(size.width() / 2, size.height() / 2) & 0xFFFFFF, 0xFFFFFFu) << i;
    }
}

TEST(Artwork, CursorsHaveAHotSpotInsideTheirPicture)
{
    for (const int id : {kCursorGrab, kCursorFist, kCursorPointer}) {
        const CursorArt c = cursorArt(id);
        ASSERT_EQ(c.image.size(), QSize(32, 32)) << id;
        EXPECT_TRUE(c.image.rect().contains(c.hotSpot)) << id;
        EXPECT_TRUE(c.image.hasAlphaChannel()) << id;
    }
    EXPECT_NE(cursorArt(kCursorGrab).image, cursorArt(kCursorFist).image);
    EXPECT_TRUE(cursorArt(12).image.isNull());
}
