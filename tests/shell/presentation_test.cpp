#include "shell/presentation.h"

#include <gtest/gtest.h>

using namespace ziro;

TEST(Presentation, FittedRectIsTheLargestCentredFourThirdsArea)
{
    struct Case {
        QSizeF area;
        double scale;
        QRectF rect;
    } cases[] = {
        {{1920, 1080}, 2.25, {240, 0, 1440, 1080}},   // wide: bars left and right
        {{1280, 1024}, 2.0, {0, 32, 1280, 960}},      // 5:4: bars top and bottom
        {{1024, 768}, 1.6, {0, 0, 1024, 768}},        // already 4:3
        {{1365, 768}, 1.6, {170.5, 0, 1024, 768}},    // half pixels stay exact
        {{640, 480}, 1.0, {0, 0, 640, 480}},
        {{800, 480}, 1.0, {80, 0, 640, 480}},
        {{480, 640}, 0.75, {0, 140, 480, 360}},       // smaller than the surface
        {{0, 0}, 1.0, {0, 0, 640, 480}},              // not sized yet: one to one
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(fitScale(c.area), c.scale) << c.area.width() << "x" << c.area.height();
        const QRectF r = fittedRect(c.area);
        EXPECT_NEAR(r.x(), c.rect.x(), 1e-9) << c.area.width() << "x" << c.area.height();
        EXPECT_NEAR(r.y(), c.rect.y(), 1e-9);
        EXPECT_NEAR(r.width(), c.rect.width(), 1e-9);
        EXPECT_NEAR(r.height(), c.rect.height(), 1e-9);
    }
}
