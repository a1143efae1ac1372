#include "controls/kx_image_widget.h"

#include "controls/kxb.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

class KXImageTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        EXPECT_EQ(f.write(bytes), bytes.size());
        return f.fileName();
    }

    QString picture(const QString& name, QSize size, QRgb colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return write(name, encodeKxb(image));
    }

    QTemporaryDir dir;
    QWidget parent;
};

const QRect kFrame(99, 30, 440, 350);

} // namespace

TEST_F(KXImageTest, FrameDefaultsToTheBoundsAtCreation)
{
    TKXImage image(&parent, kFrame);
    EXPECT_EQ(image.geometry(), kFrame);
    EXPECT_EQ(image.frame(), kFrame);
    EXPECT_FALSE(image.KeepRatio());
    EXPECT_EQ(image.FrameBorder(), 0);
    EXPECT_EQ(image.AdjRatio(), 1.0f);
    EXPECT_FALSE(image.isLoaded());
}

TEST_F(KXImageTest, SettingTheNameLoadsAndFits)
{
    TKXImage image(&parent, kFrame);
    image.setKeepRatio(true);
    EXPECT_EQ(image.geometry(), kFrame) << "nothing loaded yet: nothing moves";

    const QString wide = picture("wide.KXB", {100, 50}, qRgb(255, 0, 0));
    EXPECT_TRUE(image.setNomeKXB(wide));
    EXPECT_EQ(image.NomeKXB(), wide);
    EXPECT_TRUE(image.isLoaded());
    EXPECT_EQ(image.picture().size(), QSize(100, 50));
    EXPECT_EQ(image.geometry(), QRect(99, 95, 440, 220));

    // Window descriptions set the published names.
    EXPECT_TRUE(image.setProperty("NomeKXB", picture("tall.KXB", {50, 100}, qRgb(0, 0, 255))));
    EXPECT_EQ(image.geometry(), QRect(231, 30, 175, 350));
}

TEST_F(KXImageTest, FailedLoadKeepsPictureAndGeometry)
{
    TKXImage image(&parent, kFrame);
    image.setKeepRatio(true);
    ASSERT_TRUE(image.setNomeKXB(picture("wide.KXB", {100, 50}, qRgb(255, 0, 0))));
    const QRect placed = image.geometry();

    image.setFrame(QRect(0, 0, 50, 50));
    for (const QString& bad : {dir.filePath("missing.KXB"), write("one.KXB", "B"),
                               write("garbage.KXB", QByteArray(300, 'x'))}) {
        EXPECT_FALSE(image.setNomeKXB(bad)) << bad.toStdString();
        EXPECT_FALSE(image.LoadKXB(bad));
        EXPECT_TRUE(image.isLoaded());
        EXPECT_EQ(image.picture().size(), QSize(100, 50));
        EXPECT_EQ(image.picture().pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(image.geometry(), placed);
    }
}

TEST_F(KXImageTest, KeepRatioSetterRefits)
{
    TKXImage image(&parent, kFrame);
    image.setFrameBorder(10);
    ASSERT_TRUE(image.LoadKXB(picture("wide.KXB", {100, 50}, qRgb(255, 0, 0))));
    EXPECT_EQ(image.geometry(), kFrame);

    image.setProperty("KeepRatio", true);
    EXPECT_EQ(image.geometry(), QRect(109, 100, 420, 210));

    // Frame changes wait for the next fit.
    image.setFrameLeft(0);
    image.setFrameTop(0);
    image.setFrameWidth(200);
    image.setFrameHeight(100);
    EXPECT_EQ(image.geometry(), QRect(109, 100, 420, 210));
    image.setKeepRatio(false);
    EXPECT_EQ(image.geometry(), QRect(0, 0, 200, 100));
}

TEST_F(KXImageTest, PicturesFromElsewhereFitAndClearEmpties)
{
    TKXImage image(&parent, kFrame);
    image.setKeepRatio(true);
    QImage tall(50, 100, QImage::Format_RGB32);
    tall.fill(Qt::green);
    image.setPicture(tall);
    EXPECT_EQ(image.geometry(), QRect(231, 30, 175, 350));

    image.clear();
    EXPECT_FALSE(image.isLoaded());
    image.setKeepRatio(false);
    EXPECT_EQ(image.geometry(), QRect(231, 30, 175, 350)) << "an empty control does not move";
}

TEST_F(KXImageTest, PaintsStretchedCentredOrNothing)
{
    TKXImage image(&parent, QRect(0, 0, 40, 20));
    auto render = [&] {
        QImage canvas(40, 20, QImage::Format_ARGB32);
        canvas.fill(Qt::transparent);
        image.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
        return canvas;
    };
    QImage red(4, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    image.setPicture(red);

    QImage canvas = render();
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(39, 19), qRgb(255, 0, 0));

    image.setStretch(false);
    canvas = render();
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(canvas.pixel(4, 2)), 0);

    image.setCenter(true);
    canvas = render();
    EXPECT_EQ(qAlpha(canvas.pixel(0, 0)), 0);
    EXPECT_EQ(canvas.pixel(18, 9), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(21, 10), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(canvas.pixel(22, 10)), 0);

    image.clear();
    canvas = render();
    EXPECT_EQ(qAlpha(canvas.pixel(20, 10)), 0);
}
