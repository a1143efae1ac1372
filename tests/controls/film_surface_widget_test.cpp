#include "controls/film_surface_widget.h"

#include "controls/art_scale.h"
#include "platform/media/film_backend.h"

#include <QImage>

#include <gtest/gtest.h>

namespace ziro {
namespace {

// A player that hands out a set picture and remembers the size asked of it.
class PictureBackend : public FilmBackend {
public:
    bool open(const QString&, QString*) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool play() override { return true; }
    bool pause() override { return true; }
    bool isPlaying() const override { return false; }
    bool seek(qint64) override { return true; }
    bool step(bool) override { return true; }
    qint64 position() const override { return 0; }
    qint64 duration() const override { return 0; }
    void setVolume(int) override {}
    int volume() const override { return 100; }
    void setMuted(bool) override {}
    bool isMuted() const override { return false; }
    bool hasVideo() const override { return true; }
    bool hasAudioOutput() const override { return false; }
    void setRenderSize(QSize size) override { renderSize = size; }
    QImage frame() const override { return picture; }

    QSize renderSize;
    QImage picture;
};

// One device pixel wide stripes: any rescaling of the picture blurs them.
QImage stripes(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 200));
    return image;
}

// The widget painted onto a device of `scale` device pixels per pixel.
QImage paintAt(QWidget& widget, qreal scale)
{
    QImage out(widget.size() * scale, QImage::Format_RGB32);
    out.setDevicePixelRatio(scale);
    out.fill(Qt::green);
    widget.render(&out);
    out.setDevicePixelRatio(1);
    return out;
}

class FilmSurface : public ::testing::Test {
protected:
    void TearDown() override { setArtScale(1); }
};

TEST_F(FilmSurface, AsksForItsSizeInDevicePixelsAndPaintsThatPictureUnscaled)
{
    // Before any paint the art scale is the best guess.
    setArtScale(3);
    FilmSurfaceWidget surface;
    surface.resize(60, 45);
    surface.show();
    PictureBackend player;
    surface.setBackend(&player);
    EXPECT_EQ(player.renderSize, QSize(180, 135));

    // Painted at 2 device pixels per pixel (the presentation's scale, not
    // the art scale), it asks for that; a resize keeps the scale.
    paintAt(surface, 2);
    EXPECT_EQ(player.renderSize, QSize(120, 90));
    surface.resize(80, 50);
    EXPECT_EQ(player.renderSize, QSize(160, 100));

    player.picture = stripes(QSize(160, 100));
    EXPECT_EQ(paintAt(surface, 2), player.picture);
    paintAt(surface, 1);
    EXPECT_EQ(player.renderSize, QSize(80, 50));
}

TEST_F(FilmSurface, PaintsItsPicturePixelForPixelWhereItLiesInAScaledWindow)
{
    // The presentation's scale on a 1920 x 1080 screen, with the surface
    // away from the window's corner.
    QWidget window;
    window.resize(100, 80);
    auto* surface = new FilmSurfaceWidget(&window);
    surface->setGeometry(8, 4, 40, 20);
    PictureBackend player;
    surface->setBackend(&player);
    paintAt(window, 2.25);
    ASSERT_EQ(player.renderSize, QSize(90, 45));
    player.picture = stripes(QSize(90, 45));
    EXPECT_EQ(paintAt(window, 2.25).copy(18, 9, 90, 45), player.picture);
}

TEST_F(FilmSurface, PaintsBlackWithoutAPictureAndStretchesAStaleOne)
{
    FilmSurfaceWidget surface;
    surface.resize(40, 30);
    const QImage none = paintAt(surface, 1);
    EXPECT_EQ(none.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(none.pixel(39, 29), qRgb(0, 0, 0));

    PictureBackend player;
    surface.setBackend(&player);
    EXPECT_EQ(paintAt(surface, 1).pixel(20, 15), qRgb(0, 0, 0));
    // The picture of the size before a resize covers the whole surface.
    player.picture = QImage(10, 10, QImage::Format_RGB32);
    player.picture.fill(Qt::red);
    const QImage stale = paintAt(surface, 1);
    EXPECT_EQ(stale.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(stale.pixel(39, 29), qRgb(255, 0, 0));
}

TEST_F(FilmSurface, TakesTheFrameNoticeAndGivesItBack)
{
    PictureBackend first, second;
    {
        FilmSurfaceWidget surface;
        surface.setBackend(&first);
        ASSERT_TRUE(first.onFrame);
        first.onFrame();  // a repaint is asked for, nothing more
        surface.setBackend(&second);
        EXPECT_FALSE(first.onFrame);
        EXPECT_TRUE(second.onFrame);
    }
    EXPECT_FALSE(second.onFrame) << "a destroyed surface is still called";
}

}  // namespace
}  // namespace ziro
