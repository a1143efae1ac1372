#include "controls/fused_label_widget.h"

#include "shell/presentation_ui.h"
#include "support/qt_printers.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace ziro;

namespace {

const QColor kBackground(200, 200, 200);

// How many pixels of `img` are `colour`, or near it.
int countNear(const QImage& img, const QColor& colour, int tolerance = 40)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++n;
        }
    return n;
}

class FusedLabelWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(300, 200);
        label = new TFusedLabel(&host);
        label->setGeometry(20, 30, 200, 60);
        label->setText(QStringLiteral("Ziro"));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(36);
        label->setFont(f);
        label->setColor(kBackground);
        label->setFontColor(Qt::black);
    }

    QPoint centre() const { return label->rect().center(); }

    void enter() const
    {
        const QPointF at(centre());
        QEnterEvent e(at, at, label->mapToGlobal(at));
        QCoreApplication::sendEvent(label, &e);
    }
    void leave() const
    {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(label, &e);
    }

    QWidget host;
    TFusedLabel* label = nullptr;
};

TEST_F(FusedLabelWidgetTest, AButtonLikeLabelShowsSunkenWhilePressed)
{
    label->setButtonLike(true);
    // Without an effect nothing white is drawn: the face is black on grey.
    EXPECT_EQ(countNear(label->grab().toImage(), Qt::white, 10), 0);

    QTest::mousePress(label, Qt::LeftButton, {}, centre());
    EXPECT_TRUE(label->pushed());
    EXPECT_EQ(label->shownStyle3D(), T3DEffect::Resit3d);
    EXPECT_EQ(label->style3D(), T3DEffect::Normal3d) << "the property keeps its value";
    EXPECT_GT(countNear(label->grab().toImage(), Qt::white, 10), 10) << "the highlight pass shows";

    QTest::mouseRelease(label, Qt::LeftButton, {}, centre());
    EXPECT_FALSE(label->pushed());
    EXPECT_EQ(label->shownStyle3D(), T3DEffect::Normal3d);
    EXPECT_EQ(countNear(label->grab().toImage(), Qt::white, 10), 0);
}

TEST_F(FusedLabelWidgetTest, APlainLabelHasNoPressEffect)
{
    QTest::mousePress(label, Qt::LeftButton, {}, centre());
    EXPECT_FALSE(label->pushed());
    EXPECT_EQ(label->shownStyle3D(), T3DEffect::Normal3d);
    QTest::mouseRelease(label, Qt::LeftButton, {}, centre());

    // Nor does the right button press a button-like one.
    label->setButtonLike(true);
    QTest::mousePress(label, Qt::RightButton, {}, centre());
    EXPECT_FALSE(label->pushed());
    QTest::mouseRelease(label, Qt::RightButton, {}, centre());
}

TEST_F(FusedLabelWidgetTest, LeavingWhilePushedGivesBackTheEffect)
{
    label->setButtonLike(true);
    label->setStyle3D(T3DEffect::Raised3d);
    QSignalSpy out(label, &TFusedLabel::OnMouseOut);
    QTest::mousePress(label, Qt::LeftButton, {}, centre());
    EXPECT_EQ(label->shownStyle3D(), T3DEffect::Resit3d);
    leave();
    EXPECT_EQ(label->shownStyle3D(), T3DEffect::Raised3d);
    EXPECT_EQ(out.count(), 1);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(label->shownStyle3D(), T3DEffect::Raised3d);
}

TEST_F(FusedLabelWidgetTest, TheMouseShowsTheEnterColour)
{
    label->setEnterColor(Qt::red);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QSignalSpy out(label, &TFusedLabel::OnMouseOut);

    // Over the window first, then over the label.
    QTest::mouseMove(host.windowHandle(), QPoint(5, 5));
    QTest::mouseMove(host.windowHandle(), label->geometry().center());
    EXPECT_TRUE(label->highlighted());
    EXPECT_EQ(label->shownFontColor(), QColor(Qt::red));
    EXPECT_EQ(label->fontColor(), QColor(Qt::black)) << "the colour set from outside is kept";
    EXPECT_GT(countNear(label->grab().toImage(), Qt::red), 20);

    QTest::mouseMove(host.windowHandle(), QPoint(280, 180));
    EXPECT_FALSE(label->highlighted());
    EXPECT_EQ(label->shownFontColor(), QColor(Qt::black));
    EXPECT_EQ(countNear(label->grab().toImage(), Qt::red), 0);
    EXPECT_EQ(out.count(), 1);
}

TEST_F(FusedLabelWidgetTest, WithoutAnEnterColourTheMouseChangesNothing)
{
    enter();
    EXPECT_EQ(label->shownFontColor(), QColor(Qt::black));
}

TEST_F(FusedLabelWidgetTest, AWebLinkAsksTheOpenerWithItsSchemeIntact)
{
    label->setURL(QStringLiteral("https://www.ziro.it/corsi"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("https://www.ziro.it/corsi"));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);

    std::vector<std::string> order;
    QObject::connect(label, &TFusedLabel::openRequested, label, [&](const QString& t) { order.push_back("open " + t.toStdString()); });
    QObject::connect(label, &TFusedLabel::OnClick, label, [&] { order.push_back("click"); });

    QTest::mouseClick(label, Qt::LeftButton, {}, centre());
    EXPECT_EQ(order, (std::vector<std::string>{"open https://www.ziro.it/corsi", "click"}));
}

TEST_F(FusedLabelWidgetTest, LinksWithoutASchemeGetTheirOwn)
{
    QSignalSpy open(label, &TFusedLabel::openRequested);
    label->setURL(QStringLiteral("www.ziro.it/"));
    QTest::mouseClick(label, Qt::LeftButton, {}, centre());
    label->setURL(QStringLiteral("mailto:info@ziro.it"));
    EXPECT_EQ(label->url(), QStringLiteral("info@ziro.it"));
    EXPECT_EQ(label->linkType(), TmdLinkType::mailto);
    QTest::mouseClick(label, Qt::LeftButton, {}, centre());
    ASSERT_EQ(open.count(), 2);
    EXPECT_EQ(open.at(0).at(0).toString(), QStringLiteral("http://www.ziro.it/"));
    EXPECT_EQ(open.at(1).at(0).toString(), QStringLiteral("mailto:info@ziro.it"));
}

TEST_F(FusedLabelWidgetTest, OnlyLinkedLabelsAskTheOpener)
{
    QSignalSpy open(label, &TFusedLabel::openRequested);
    QSignalSpy clicks(label, &TFusedLabel::OnClick);

    QTest::mouseClick(label, Qt::LeftButton, {}, centre());  // no URL
    label->setURL(QStringLiteral("www.ziro.it/"));
    label->setLabelType(TmdLabelType::Passive);
    QTest::mouseClick(label, Qt::LeftButton, {}, centre());
    label->setLabelType(TmdLabelType::Auto);
    QTest::mouseClick(label, Qt::RightButton, {}, centre());  // not a click
    // Pressed inside, released outside: no click.
    QTest::mousePress(label, Qt::LeftButton, {}, centre());
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-10, -10));

    EXPECT_EQ(open.count(), 0);
    EXPECT_EQ(clicks.count(), 2);

    label->setURL(QString());
    EXPECT_NE(label->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(FusedLabelWidgetTest, OpeningALinkRestoresTheFontColour)
{
    label->setURL(QStringLiteral("www.ziro.it/"));
    label->setEnterColor(Qt::blue);
    enter();
    ASSERT_EQ(label->shownFontColor(), QColor(Qt::blue));
    QTest::mouseClick(label, Qt::LeftButton, {}, centre());
    EXPECT_EQ(label->shownFontColor(), QColor(Qt::black));
}

TEST_F(FusedLabelWidgetTest, TheFontIsFittedToTheBoxAndKept)
{
    label->setText(QStringLiteral("Segnali di pericolo"));
    label->setFitType(TFitType::BestFitBoth);
    const int size = label->fittedFont().pixelSize();
    const QFontMetrics at(label->font());
    EXPECT_LT(at.horizontalAdvance(label->text()), label->width());
    EXPECT_LT(at.height(), label->height());
    EXPECT_EQ(label->fitSearches(), 1);

    // Painting again costs no search.
    label->grab();
    label->grab();
    EXPECT_EQ(label->fitSearches(), 1);
    EXPECT_EQ(label->font().pixelSize(), size);

    // A narrower box fits again, smaller; so does a font size set from outside.
    label->resize(100, 60);
    EXPECT_LT(label->fittedFont().pixelSize(), size);
    EXPECT_EQ(label->fitSearches(), 2);
    QFont big = label->font();
    big.setPixelSize(80);
    label->setFont(big);
    EXPECT_LT(label->fittedFont().pixelSize(), 80);
    EXPECT_EQ(label->fitSearches(), 3);

    // Vertical: the font's line is as high as the box.
    label->setFitType(TFitType::BestFitVert);
    const QFont vertical = label->fittedFont();
    EXPECT_LE(QFontMetrics(vertical).height(), 60);
    QFont bigger = vertical;
    bigger.setPixelSize(vertical.pixelSize() + 1);
    EXPECT_GT(QFontMetrics(bigger).height(), 60);

    // Auto-sized and NormalFit labels are never fitted: an auto-sized one
    // takes its text's size instead.
    label->setFitType(TFitType::BestFitBoth);
    label->setAutoSize(true);
    big.setPixelSize(70);
    label->setFont(big);
    EXPECT_EQ(label->fittedFont().pixelSize(), 70);
    EXPECT_GT(label->width(), QFontMetrics(big).horizontalAdvance(label->text()) - 2);
    EXPECT_GE(label->height(), QFontMetrics(big).height());
    label->setAutoSize(false);
    label->setFitType(TFitType::NormalFit);
    big.setPixelSize(75);
    label->setFont(big);
    EXPECT_EQ(label->fittedFont().pixelSize(), 75);
}

TEST_F(FusedLabelWidgetTest, ATinyBoxStillGetsAFontOfOnePixel)
{
    label->setFitType(TFitType::BestFitBoth);
    label->resize(2, 2);
    EXPECT_EQ(label->fittedFont().pixelSize(), 1);
}

TEST_F(FusedLabelWidgetTest, ShadeLeftTopIsHeldWhiteWhileSet)
{
    label->setShadeLeftTop(Qt::yellow);
    label->setShadeLTSet(true);
    EXPECT_EQ(label->shadeLeftTop(), QColor(Qt::white));
    label->setShadeLeftTop(Qt::green);
    EXPECT_EQ(label->shadeLeftTop(), QColor(Qt::white)) << "ignored while set";
    label->setShadeLTSet(false);
    EXPECT_EQ(label->shadeLeftTop(), QColor(Qt::yellow));
}

TEST_F(FusedLabelWidgetTest, TheShadowIsDrawnAtItsOffsets)
{
    label->setText(QStringLiteral("I"));
    label->setStyle3D(T3DEffect::Shadowed3d);
    label->setShadeRightBottom(Qt::blue);
    label->setHShadeOffset(6);
    label->setVShadeOffset(-6);
    const QImage shadowed = label->grab().toImage();
    EXPECT_GT(countNear(shadowed, Qt::blue), 20);
    label->setStyle3D(T3DEffect::Normal3d);
    EXPECT_EQ(countNear(label->grab().toImage(), Qt::blue), 0);
}

// The label inside the program's scaled presentation: clicked through the
// scaled view, it still asks the opener.
TEST(FusedLabelPresented, ClickedThroughTheScaledView)
{
    auto content = std::make_unique<QWidget>();
    content->resize(640, 480);
    auto* label = new TFusedLabel(content.get());
    label->setGeometry(100, 100, 200, 40);
    label->setText(QStringLiteral("www.ziro.it"));
    label->setURL(QStringLiteral("https://www.ziro.it/"));
    QSignalSpy open(label, &TFusedLabel::openRequested);

    auto host = std::make_unique<PresentationHost>(content.get());
    host->present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    ASSERT_GT(host->scaleFactor(), 1.0);
    const QPointF at = host->contentRect().topLeft() + QPointF(label->geometry().center()) * host->scaleFactor();
    QTest::mouseClick(host->windowHandle(), Qt::LeftButton, {}, at.toPoint());
    ASSERT_EQ(open.count(), 1);
    EXPECT_EQ(open.at(0).at(0).toString(), QStringLiteral("https://www.ziro.it/"));
    host.reset();  // gives the content back before it goes
}

}  // namespace
