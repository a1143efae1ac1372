#include "controls/auto_button.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace ziro;

namespace {

QImage solid(QSize size, QRgb colour)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// 20 x 10: white (the button) on the left half, black (see-through) on the right.
QImage halfMask(QSize size = {20, 10})
{
    QImage m = solid(size, qRgb(0, 0, 0));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            m.setPixel(x, y, qRgb(255, 255, 255));
    return m;
}

const QPoint kWhite(5, 5);
const QPoint kBlack(15, 5);
const QPoint kOutside(30, 5);

AutoButtonState makeButton(bool withMask)
{
    AutoButtonState b;
    b.setBitMapUp(solid({20, 10}, qRgb(0, 0, 255)));
    b.setBitMapDown(solid({20, 10}, qRgb(0, 255, 0)));
    b.setBitMapAlt(solid({20, 10}, qRgb(255, 255, 0)));
    b.setBitMapLocking(solid({20, 10}, qRgb(255, 0, 255)));
    b.setBitMapLocked(solid({20, 10}, qRgb(255, 0, 0)));
    if (withMask)
        b.setBitMapMask(halfMask());
    return b;
}

enum Op { Press, Move, Release };

struct Step {
    Op op;
    QPoint at;
    int frameAfter;
};

struct Sequence {
    std::string name;
    bool mask;
    bool lockMode;
    bool displayAlt;
    std::vector<Step> steps;
    int clicks;
    int lockedEvents;
    int unlockedEvents;
};

void PrintTo(const Sequence& s, std::ostream* os)
{
    *os << s.name;
}

class AutoButtonSequence : public ::testing::TestWithParam<Sequence> {};

TEST_P(AutoButtonSequence, FramesAndEvents)
{
    const Sequence& s = GetParam();
    AutoButtonState b = makeButton(s.mask);
    b.setLockMode(s.lockMode);
    b.setDisplayAlt(s.displayAlt);

    int clicks = 0, locked = 0, unlocked = 0;
    for (size_t i = 0; i < s.steps.size(); ++i) {
        const Step& st = s.steps[i];
        AutoButtonEffects fx;
        switch (st.op) {
        case Press: fx = b.press(st.at); break;
        case Move: fx = b.move(st.at); break;
        case Release: fx = b.release(st.at); break;
        }
        clicks += fx.clicked;
        locked += fx.locked;
        unlocked += fx.unlocked;
        EXPECT_EQ(b.frame(), st.frameAfter) << "after step " << i;
    }
    EXPECT_EQ(clicks, s.clicks);
    EXPECT_EQ(locked, s.lockedEvents);
    EXPECT_EQ(unlocked, s.unlockedEvents);
    EXPECT_FALSE(b.mouseButtonDown());
}

INSTANTIATE_TEST_SUITE_P(
    Table, AutoButtonSequence,
    ::testing::Values(
        Sequence{"NoMaskWholeRectangle", false, false, false,
                 {{Press, kBlack, 2}, {Release, kBlack, 1}}, 1, 0, 0},
        Sequence{"MaskClickOnWhite", true, false, false,
                 {{Press, kWhite, 2}, {Release, kWhite, 1}}, 1, 0, 0},
        Sequence{"MaskPressOnBlackDoesNothing", true, false, false,
                 {{Press, kBlack, 1}, {Move, kWhite, 1}, {Release, kBlack, 1}}, 0, 0, 0},
        Sequence{"PressOnBlackReleaseOnWhiteIsNoClick", true, false, false,
                 {{Press, kBlack, 1}, {Release, kWhite, 1}}, 0, 0, 0},
        Sequence{"MoveOffAndReleaseGivesRestNoClick", true, false, false,
                 {{Press, kWhite, 2}, {Move, kBlack, 1}, {Release, kBlack, 1}}, 0, 0, 0},
        Sequence{"MoveOffAndBackClicks", true, false, false,
                 {{Press, kWhite, 2}, {Move, kOutside, 1}, {Move, kWhite, 2}, {Release, kWhite, 1}},
                 1, 0, 0},
        Sequence{"ReleaseOutsideWithoutMoveRestores", false, false, false,
                 {{Press, kWhite, 2}, {Release, kOutside, 1}}, 0, 0, 0},
        Sequence{"HighlightedRestsOnAlt", false, false, true,
                 {{Press, kWhite, 2}, {Move, kOutside, 3}, {Move, kWhite, 2}, {Release, kWhite, 3}},
                 1, 0, 0},
        Sequence{"LockModeTwoClicksLockThenUnlock", true, true, false,
                 {{Press, kWhite, 5}, {Release, kWhite, 6},
                  {Press, kWhite, 5}, {Move, kBlack, 6}, {Move, kWhite, 5}, {Release, kWhite, 1}},
                 2, 1, 1},
        Sequence{"LockModeAbortedPressKeepsUnlocked", true, true, false,
                 {{Press, kWhite, 5}, {Move, kBlack, 1}, {Release, kBlack, 1}}, 0, 0, 0}),
    [](const auto& info) { return info.param.name; });

TEST(AutoButtonState, LockEventsComeInOrderAndFlipTheLock)
{
    AutoButtonState b = makeButton(false);
    b.setLockMode(true);
    b.press(kWhite);
    AutoButtonEffects fx = b.release(kWhite);
    EXPECT_TRUE(fx.locked && fx.clicked && !fx.unlocked);
    EXPECT_TRUE(b.lockedDown());
    b.press(kWhite);
    fx = b.release(kWhite);
    EXPECT_TRUE(fx.unlocked && fx.clicked && !fx.locked);
    EXPECT_FALSE(b.lockedDown());
}

TEST(AutoButtonState, DisplayAltNeedsAnAlternatePicture)
{
    AutoButtonState b;
    b.setBitMapUp(solid({20, 10}, qRgb(0, 0, 255)));
    const AutoButtonEffects fx = b.setDisplayAlt(true);
    EXPECT_FALSE(fx.repaint);
    EXPECT_FALSE(b.displayAlt());
    EXPECT_EQ(b.frame(), FrameUp);

    b.setBitMapAlt(solid({20, 10}, qRgb(255, 255, 0)));
    EXPECT_TRUE(b.setDisplayAlt(true).repaint);
    EXPECT_EQ(b.frame(), FrameAlt);
    EXPECT_FALSE(b.setDisplayAlt(true).repaint) << "unchanged value is ignored";

    // Taking the alternate picture away drops the highlight.
    b.setBitMapAlt(QImage());
    EXPECT_FALSE(b.displayAlt());
    EXPECT_EQ(b.frame(), FrameUp);
}

TEST(AutoButtonState, ClearingTheAltPictureKeepsALockedLook)
{
    AutoButtonState b = makeButton(false);
    b.setLockMode(true);
    b.lockButton();
    b.setBitMapAlt(QImage());
    EXPECT_EQ(b.frame(), FrameLocked);
    EXPECT_TRUE(b.lockedDown());
}

TEST(AutoButtonState, UpPictureSizesTheButton)
{
    for (bool autoSize : {true, false}) {
        SCOPED_TRACE(autoSize ? "AutoSize on" : "AutoSize off");
        AutoButtonState b;
        EXPECT_EQ(b.size(), QSize(70, 45));
        b.setAutoSize(autoSize);
        AutoButtonEffects fx = b.setBitMapUp(solid({20, 10}, qRgb(1, 2, 3)));
        EXPECT_EQ(b.size(), autoSize ? QSize(20, 10) : QSize(70, 45));
        EXPECT_EQ(fx.resized, autoSize);

        b.setSize({33, 44});
        fx = b.setBitMapUp(QImage());
        EXPECT_EQ(b.size(), QSize(70, 45)) << "empty picture: default size regardless of AutoSize";
        EXPECT_TRUE(fx.resized);
        EXPECT_TRUE(fx.shapeChanged);
    }
}

TEST(AutoButtonState, SettersKeepTheirOwnCopy)
{
    AutoButtonState b;
    QImage up = solid({4, 4}, qRgb(0, 0, 255));
    b.setBitMapUp(up);
    up.fill(qRgb(255, 0, 0));
    EXPECT_EQ(b.picture(FrameUp).pixel(0, 0), qRgb(0, 0, 255));
}

TEST(AutoButtonState, LockUnlockAndSpare)
{
    AutoButtonState b = makeButton(false);
    b.lockButton();
    EXPECT_EQ(b.frame(), FrameLocked);
    EXPECT_TRUE(b.lockedDown());
    b.displaySpare();
    EXPECT_EQ(b.frame(), FrameSpare);
    EXPECT_FALSE(b.lockedDown());
    b.lockButton();
    b.unLockButton();
    EXPECT_EQ(b.frame(), FrameUp);
    EXPECT_FALSE(b.lockedDown());
}

TEST(AutoButtonState, ShapeTest)
{
    const QImage mask = halfMask({10, 10});  // smaller than the 20 x 10 button
    const QSize button(20, 10);
    EXPECT_TRUE(autoButtonShapeAt(QImage(), button, {19, 9}));
    EXPECT_FALSE(autoButtonShapeAt(QImage(), button, {20, 0}));
    EXPECT_FALSE(autoButtonShapeAt(QImage(), button, {-1, 0}));
    EXPECT_TRUE(autoButtonShapeAt(mask, button, {4, 4}));
    EXPECT_FALSE(autoButtonShapeAt(mask, button, {5, 4})) << "black";
    EXPECT_FALSE(autoButtonShapeAt(mask, button, {15, 4})) << "beyond the mask";

    QImage grey = solid({2, 1}, qRgb(1, 0, 0));  // any non-black pixel is the button
    EXPECT_TRUE(autoButtonShapeAt(grey, {2, 1}, {0, 0}));
}

TEST(AutoButtonState, PaintedPixelsAreExactlyTheShape)
{
    AutoButtonState b = makeButton(false);
    b.setBitMapMask(halfMask({16, 10}));  // narrower than the button: the rest is not the shape
    const QImage& img = b.composed();
    ASSERT_EQ(img.size(), b.size());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool opaque = qAlpha(img.pixel(x, y)) == 255;
            ASSERT_EQ(opaque, b.hitTest({x, y})) << x << "," << y;
            if (opaque)
                ASSERT_EQ(img.pixel(x, y), qRgb(0, 0, 255));
            else
                ASSERT_EQ(qAlpha(img.pixel(x, y)), 0);
        }

    // A grey mask pixel ANDs with the picture.
    b.setBitMapMask(solid({20, 10}, qRgb(0x0F, 0xFF, 0xF0)));
    EXPECT_EQ(b.composed().pixel(0, 0), qRgb(0, 0, 0xF0));
}

TEST(AutoButtonState, UnsetFramePictureFallsBackToUp)
{
    AutoButtonState b;
    b.setBitMapUp(solid({20, 10}, qRgb(0, 0, 255)));
    b.press(kWhite);
    EXPECT_EQ(b.frame(), FrameDown);
    EXPECT_EQ(b.composed().pixel(0, 0), qRgb(0, 0, 255));
}

TEST(AutoButtonState, DisabledLookIsGreyedAndInert)
{
    AutoButtonState b = makeButton(false);
    b.setDisplayAlt(true);
    b.setDisabledLook(true);
    EXPECT_TRUE(b.isDisabledLook());
    EXPECT_FALSE(b.displayAlt());
    EXPECT_EQ(b.frame(), FrameLocked);
    EXPECT_EQ(b.composed().pixel(0, 0), qRgb(255, 0, 0));

    EXPECT_FALSE(b.setDisplayAlt(true).repaint);
    EXPECT_FALSE(b.press(kWhite).repaint);
    EXPECT_FALSE(b.release(kWhite).clicked);
    b.unLockButton();
    EXPECT_EQ(b.frame(), FrameLocked) << "stays disabled until enabled";

    b.setDisabledLook(false);
    EXPECT_EQ(b.frame(), FrameUp);
    b.press(kWhite);
    EXPECT_TRUE(b.release(kWhite).clicked);

    // Without a locked picture the up picture is shown greyed.
    AutoButtonState plain;
    plain.setBitMapUp(solid({4, 4}, qRgb(0, 0, 255)));
    plain.setDisabledLook(true);
    const QRgb px = plain.composed().pixel(0, 0);
    EXPECT_EQ(qRed(px), qGreen(px));
    EXPECT_EQ(qGreen(px), qBlue(px));
    EXPECT_NE(px, qRgb(0, 0, 255));
}

TEST(AutoButtonState, ShowPressedKeepsTheCurrentPictureAsSpare)
{
    AutoButtonState b = makeButton(false);
    b.setDisplayAlt(true);
    b.showPressed();
    EXPECT_FALSE(b.displayAlt());
    EXPECT_EQ(b.frame(), FrameDown);
    EXPECT_EQ(b.picture(FrameSpare).pixel(0, 0), qRgb(255, 255, 0)) << "the highlighted look";
    b.showReleased();
    EXPECT_EQ(b.frame(), FrameUp);
}

}  // namespace
