#include "controls/art_scale.h"
#include "controls/auto_button.h"
#include "menus/menu_art.h"
#include "shell/artwork.h"

#include <gtest/gtest.h>

using namespace ziro;

namespace {

// Restores the process-wide scale whatever the test does.
struct ScaleGuard {
    explicit ScaleGuard(qreal s) { setArtScale(s); }
    ~ScaleGuard() { setArtScale(1.0); }
};

}  // namespace

TEST(ArtScale, WholeFactorCoveringTheEnlargement)
{
    const struct {
        qreal surface, dpr, scale;
    } cases[] = {{1.0, 1.0, 1.0}, {2.25, 1.0, 3.0}, {2.0, 1.0, 2.0}, {1.0, 2.0, 2.0},
                 {1.5, 2.0, 3.0}, {6.0, 1.0, 4.0}, {0.5, 0.0, 1.0}};
    for (const auto& c : cases)
        EXPECT_EQ(artScaleFor(c.surface, c.dpr), c.scale) << c.surface << " " << c.dpr;
}

// Artwork drawn finer than the window keeps the window's geometry: a button
// made from it has the same size, the same shape under the mouse, and shows
// the finer pixels.
TEST(ArtScale, FinerArtworkKeepsSizesAndShapes)
{
    const ButtonArt plain = mainButtonArt(MainButton::MNG);
    AutoButtonState plainButton;
    plainButton.setBitMapUp(plain.up);
    plainButton.setBitMapMask(plain.mask);

    ScaleGuard guard(3.0);
    const QRect r = mainButtonRect(MainButton::MNG);
    for (const ButtonArt& art : {mainButtonArt(MainButton::MNG), menuButtonArt(MenuButton::OK)}) {
        EXPECT_EQ(art.up.devicePixelRatio(), 3.0);
        EXPECT_EQ(art.up.size(), artSize(art.up) * 3);
        EXPECT_EQ(artSize(art.mask), artSize(art.up));
        for (int y = 0; y < art.mask.height(); y += 7)
            for (int x = 0; x < art.mask.width(); x += 5) {
                const QRgb p = art.mask.pixel(x, y) & 0xFFFFFF;
                ASSERT_TRUE(p == 0 || p == 0xFFFFFF);
            }
    }
    EXPECT_EQ(artSize(mainBackground()), kMainWindowRect.size());
    EXPECT_EQ(artSize(menuBackground()), kMenuWindowRect.size());

    const ButtonArt fine = mainButtonArt(MainButton::MNG);
    AutoButtonState button;
    button.setBitMapUp(fine.up);
    button.setBitMapMask(fine.mask);
    EXPECT_EQ(button.size(), r.size());
    // The same shape as at the window's own scale, point for point.
    int differ = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            differ += button.hitTest({x, y}) != plainButton.hitTest({x, y});
    EXPECT_LE(differ, r.width() + r.height()) << "only the rounded edge may differ";
    EXPECT_TRUE(button.hitTest(QRect(QPoint(), r.size()).center()));
    EXPECT_FALSE(button.hitTest({0, 0}));

    const QImage& shown = button.composed();
    EXPECT_EQ(shown.size(), r.size() * 3);
    EXPECT_EQ(shown.devicePixelRatio(), 3.0);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);  // the corner is see-through
    EXPECT_EQ(qAlpha(shown.pixel(shown.width() / 2, shown.height() / 2)), 255);
}
