#include "viewers/photo_render.h"

#include "controls/photo_filters.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>

using namespace ziro;

TEST(PhotoArrows, GeometryOfTheKnownCases)
{
    struct Case {
        const char* name;
        QPoint origin, tip;
        double angle, head, wing;
        QPoint notch, wing1, wing2;
    };
    const Case cases[] = {
        // Pointing up: wings 18 degrees either side, below the tip.
        {"up", {100, 200}, {100, 100}, 0, 20, 18, {100, 114}, {106, 119}, {94, 119}},
        {"down", {100, 100}, {100, 200}, 0, 20, 198, {100, 186}, {94, 181}, {106, 181}},
        {"right", {50, 100}, {250, 100}, 90, 38, 198, {224, 100}, {214, 111}, {214, 89}},
        {"left", {250, 100}, {50, 100}, 90, 38, 18, {76, 100}, {86, 89}, {86, 111}},
        {"diagonal", {0, 0}, {100, 100}, 45, 28.284271247461902, 198, {87, 87}, {75, 88}, {88, 75}},
    };
    for (const Case& c : cases) {
        const ArrowGeometry a = PaintPx(c.origin, c.tip);
        EXPECT_NEAR(a.angleDegrees, c.angle, 1e-9) << c.name;
        EXPECT_NEAR(a.headLength, c.head, 1e-9) << c.name;
        EXPECT_EQ(a.wingAngle, c.wing) << c.name;
        EXPECT_EQ(a.notch, c.notch) << c.name;
        EXPECT_EQ(a.wing1, c.wing1) << c.name;
        EXPECT_EQ(a.wing2, c.wing2) << c.name;
        EXPECT_EQ(a.shaft(), QLineF(c.origin, c.notch)) << c.name;
        const QPolygonF head = a.head();
        ASSERT_EQ(head.size(), 5);
        EXPECT_EQ(head[0], QPointF(c.notch));
        EXPECT_EQ(head[1], QPointF(c.wing1));
        EXPECT_EQ(head[2], QPointF(c.tip));
        EXPECT_EQ(head[3], QPointF(c.wing2));
        EXPECT_EQ(head[4], QPointF(c.notch));
    }
}

TEST(PhotoArrows, HeadLengthByArrowLength)
{
    struct Case { int length; double head; };
    const Case cases[] = {{0, 18}, {50, 18}, {89, 18}, {90, 18}, {100, 20}, {150, 30}, {190, 38}, {191, 38}, {300, 38}};
    for (const Case& c : cases)
        EXPECT_NEAR(PaintPx({10, 10 + c.length}, {10, 10}).headLength, c.head, 1e-9) << c.length;
}

TEST(PhotoArrows, AnyPointsGiveAnArrow)
{
    const QPoint extremes[] = {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MIN, INT_MAX}, {0, 0}, {-1, -1}};
    for (QPoint o : extremes)
        for (QPoint t : extremes) {
            const ArrowGeometry a = PaintPx(o, t);
            EXPECT_EQ(a.tip, t);
            EXPECT_TRUE(a.wingAngle == 18 || a.wingAngle == 198);
        }
    EXPECT_TRUE(arrowsDrawn(false, true));
    EXPECT_TRUE(arrowsDrawn(true, false));
    EXPECT_FALSE(arrowsDrawn(true, true));
}

namespace {

QImage plainPhoto(QSize size = kAlbumSize)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(qRgb(30, 90, 40));
    return picture;
}

int countColour(const QImage& picture, const QRect& area, QRgb colour)
{
    int n = 0;
    const QRect r = area.intersected(picture.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += picture.pixel(x, y) == colour;
    return n;
}

PhotoCaption captionWithArrow()
{
    PhotoCaption c;
    c.text = QStringLiteral("Incrocio");
    c.left = 104;  // 100 on the photograph
    c.top = 24;    // 20
    c.width = 200;
    c.height = 60;
    c.fontColour = QColor(255, 255, 255);
    c.arrows[0] = {QPoint(300, 300), QPoint(300, 150)};
    c.arrowColour = QColor(255, 0, 0);
    return c;
}

}  // namespace

TEST(PhotoBurnIn, ArrowsBoxAndTextGoIntoThePicture)
{
    const PhotoCaption c = captionWithArrow();
    QImage picture = plainPhoto();
    burnCaption(picture, c);
    // The shaft runs from (300, 300) up to the notch at (300, 171).
    EXPECT_EQ(picture.pixel(300, 250), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(300, 152), qRgb(255, 0, 0));  // inside the head
    EXPECT_EQ(picture.pixel(250, 250), qRgb(30, 90, 40));
    // White text inside the label's area moved onto the photograph, none
    // outside it.
    EXPECT_GT(countColour(picture, QRect(98, 18, 200, 62), qRgb(255, 255, 255)), 50);
    EXPECT_EQ(countColour(picture, QRect(0, 100, 480, 40), qRgb(255, 255, 255)), 0);

    // Arrows off, caption off: only what is asked for is drawn.
    QImage noArrow = plainPhoto();
    burnCaption(noArrow, c, {false, true, {}, {}});
    EXPECT_EQ(noArrow.pixel(300, 250), qRgb(30, 90, 40));
    QImage onlyArrow = plainPhoto();
    burnCaption(onlyArrow, c, {true, false, {}, {}});
    EXPECT_EQ(countColour(onlyArrow, onlyArrow.rect(), qRgb(255, 255, 255)), 0);

    // The background box, in the caption colour, grown by its margin.
    PhotoCaption boxed = c;
    boxed.text = QStringLiteral(" ");
    boxed.background = true;
    boxed.captionColour = QColor(0, 0, 255);
    QImage withBox = plainPhoto();
    burnCaption(withBox, boxed);
    const QRect box = captionBackgroundRect(boxed).translated(kCaptionToPhoto);
    EXPECT_EQ(withBox.pixel(box.center()), qRgb(0, 0, 255));
    EXPECT_EQ(withBox.pixel(box.left() - 2, box.center().y()), qRgb(30, 90, 40));
}

TEST(PhotoBurnIn, APictureOfAnotherSizeIsDrawnAtItsScale)
{
    const PhotoCaption c = captionWithArrow();
    QImage big = plainPhoto(QSize(960, 720));
    burnCaption(big, c, {true, false, QRectF(QPointF(0, 0), QSizeF(kAlbumSize)), {}});
    EXPECT_EQ(big.pixel(600, 500), qRgb(255, 0, 0));
    EXPECT_EQ(big.pixel(300, 250), qRgb(30, 90, 40));

    // The caption lands where the frame's caption lies, twice as large.
    QImage bigCaption = plainPhoto(QSize(960, 720));
    burnCaption(bigCaption, c, {false, true, QRectF(QPointF(0, 0), QSizeF(kAlbumSize)), {}});
    EXPECT_GT(countColour(bigCaption, QRect(196, 36, 400, 124), qRgb(255, 255, 255)), 200);
    EXPECT_EQ(countColour(bigCaption, QRect(0, 170, 960, 550), qRgb(255, 255, 255)), 0);

    // A caller's label painter replaces the built-in one, at the label's place.
    QRect painted;
    QImage custom = plainPhoto();
    burnCaption(custom, c, {false, true, {}, [&painted](QPainter&, const PhotoCaption&, const QRect& r) { painted = r; }});
    EXPECT_EQ(painted, QRect(100, 20, 200, 60));
}

TEST(PhotoBurnIn, SingleLineCaptionsTakeTheLargestFontThatFits)
{
    PhotoCaption c;
    c.text = QStringLiteral("Precedenza");
    c.width = 300;
    c.height = 60;
    c.fontSize = 12;
    const int size = captionShownFontSize(c);
    ASSERT_GT(size, 3);
    auto fits = [&c](int points) {
        QFont font(c.fontName);
        font.setPixelSize(int(mulDivRounded(points, 96, 72)));
        const QFontMetrics m(font);
        return m.height() < c.height && m.horizontalAdvance(c.text) < c.width;
    };
    EXPECT_TRUE(fits(size + 1));
    EXPECT_FALSE(fits(size + 2));
    c.multiLine = true;
    EXPECT_EQ(captionShownFontSize(c), 12);
    c.multiLine = false;
    c.height = -5;
    EXPECT_EQ(captionShownFontSize(c), 1);
}

TEST(PhotoBurnIn, EnlargedPictureIsResampledAndSharpenedAfterTheBurn)
{
    const PhotoCaption c = captionWithArrow();
    const QImage photo = plainPhoto();
    const QImage enlarged = enlargePhoto(photo, &c);
    ASSERT_EQ(enlarged.size(), kEnlargedPictureSize);
    EXPECT_EQ(enlarged.format(), QImage::Format_RGB32);

    QImage burnt = photo;
    burnCaption(burnt, c);
    QImage expected = RidimensionaLiscio(burnt, kEnlargedPictureSize);
    Nitidezza(expected, 6);
    EXPECT_EQ(enlarged, expected);
    EXPECT_EQ(photo.pixel(300, 250), qRgb(30, 90, 40));  // the photograph itself is untouched

    const QImage bare = enlargePhoto(photo, nullptr, {}, QSize(640, 480));
    EXPECT_EQ(bare.size(), QSize(640, 480));
    EXPECT_EQ(bare.pixel(320, 240), qRgb(30, 90, 40));
    EXPECT_TRUE(enlargePhoto(QImage(), &c).isNull());
}
