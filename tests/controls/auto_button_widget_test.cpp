#include "controls/auto_button_widget.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

// A red window that counts the presses it receives.
class Host : public QWidget {
public:
    int presses = 0;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::red); }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

QImage solid(QSize size, QRgb colour)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

const QPoint kWhite(5, 5);   // on the button's shape
const QPoint kBlack(15, 5);  // on its see-through part

class AutoButtonWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(100, 60);
        button = new TautoButton(&host);
        button->move(10, 10);
        button->setBitMapUp(solid({20, 10}, qRgb(0, 0, 255)));
        QImage mask = solid({20, 10}, qRgb(0, 0, 0));
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                mask.setPixel(x, y, qRgb(255, 255, 255));
        button->setBitMapMask(mask);
    }

    Host host;
    TautoButton* button = nullptr;
};

TEST_F(AutoButtonWidgetTest, ClicksOnlyThroughTheMask)
{
    QSignalSpy clicks(button, &TautoButton::onClick);
    QSignalSpy downs(button, &TautoButton::onMouseDown);

    QTest::mouseClick(button, Qt::LeftButton, {}, kWhite);
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(button, Qt::LeftButton, {}, kBlack);
    EXPECT_EQ(clicks.count(), 1) << "transparent pixel";
    EXPECT_EQ(button->frame(), FrameUp);

    // Other buttons leave the state alone and are only reported.
    downs.clear();
    QTest::mouseClick(button, Qt::RightButton, {}, kWhite);
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
}

TEST_F(AutoButtonWidgetTest, PressOnSeeThroughPartReachesTheWindowBehind)
{
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QSignalSpy clicks(button, &TautoButton::onClick);

    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, button->pos() + kBlack);
    EXPECT_EQ(host.presses, 1);
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, button->pos() + kWhite);
    EXPECT_EQ(host.presses, 1);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(AutoButtonWidgetTest, PaintsThroughTheMask)
{
    const QImage shot = host.grab().toImage();
    EXPECT_EQ(shot.pixel(button->pos() + kWhite), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(button->pos() + kBlack), qRgb(255, 0, 0));

    button->setBitMapMask(QImage());
    EXPECT_EQ(host.grab().toImage().pixel(button->pos() + kBlack), qRgb(0, 0, 255));
}

TEST_F(AutoButtonWidgetTest, UpPictureSizesTheWidget)
{
    EXPECT_EQ(button->size(), QSize(20, 10));
    button->setAutoSize(false);
    button->setBitMapUp(QImage());
    EXPECT_EQ(button->size(), QSize(70, 45));
    button->setBitMapUp(solid({30, 30}, qRgb(0, 0, 255)));
    EXPECT_EQ(button->size(), QSize(70, 45));
}

TEST_F(AutoButtonWidgetTest, LockModeSignals)
{
    button->setLockMode(true);
    QSignalSpy locked(button, &TautoButton::FonLocked);
    QSignalSpy unlocked(button, &TautoButton::FonUnLocked);
    QSignalSpy clicks(button, &TautoButton::onClick);

    QTest::mouseClick(button, Qt::LeftButton, {}, kWhite);
    ASSERT_EQ(locked.count(), 1);
    EXPECT_EQ(locked.at(0).at(0).value<TautoButton*>(), button);
    EXPECT_TRUE(button->isLocked());

    QTest::mouseClick(button, Qt::LeftButton, {}, kWhite);
    EXPECT_EQ(unlocked.count(), 1);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_FALSE(button->isLocked());
}

TEST_F(AutoButtonWidgetTest, DisabledLookIgnoresClicks)
{
    QSignalSpy clicks(button, &TautoButton::onClick);
    button->setDisabledLook(true);
    QTest::mouseClick(button, Qt::LeftButton, {}, kWhite);
    EXPECT_EQ(clicks.count(), 0);
    button->setDisabledLook(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, kWhite);
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
