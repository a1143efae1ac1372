#include "controls/photo_filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace ziro;

namespace {

QImage grey(int w, int h, std::initializer_list<int> values)
{
    QImage picture(w, h, QImage::Format_RGB32);
    auto it = values.begin();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, ++it)
            picture.setPixel(x, y, qRgb(*it, *it, *it));
    return picture;
}

QImage randomPicture(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb(int(random() % 256), int(random() % 256), int(random() % 256)));
    return picture;
}

// The resampling written out plainly from its definition, reading pixels one
// by one with every index clamped: the oracle for the fast version.
QImage referenceResample(const QImage& src, int tw, int th)
{
    auto mulDiv = [](qint64 a, qint64 b, qint64 c) { return (a * b + c / 2) / c; };
    const int sw = src.width(), sh = src.height();
    QImage out(tw, th, QImage::Format_RGB32);
    const qint64 xstep = mulDiv(sw - 1, 65536, tw), ystep = mulDiv(sh - 1, 65536, th);
    for (int y = 0; y < th; ++y) {
        const qint64 sy = y * ystep;
        const int r1 = int(std::min<qint64>(sy / 65536, sh - 1));
        const int r2 = r1 < sh - 1 ? r1 + 1 : r1;
        const qint64 fy = sy % 65536;
        for (int x = 0; x < tw; ++x) {
            const qint64 sx = x * xstep;
            const qint64 fx = sx % 65536;
            const int c = int(std::min<qint64>(sx / 65536, sw - 1));
            const int c1 = std::min(c + 1, sw - 1);
            const qint64 wtr = mulDiv(fx, 65536 - fy, 65536), wtl = (65536 - fy) - wtr;
            const qint64 wbr = mulDiv(fx, fy + 1, 65536), wbl = (fy + 1) - wbr;
            int ch[3];
            for (int k = 0; k < 3; ++k) {
                auto get = [&](int xx, int yy) {
                    const QRgb p = src.pixel(xx, yy);
                    return k == 0 ? qRed(p) : k == 1 ? qGreen(p) : qBlue(p);
                };
                ch[k] = int((wtl * get(c, r1) + wtr * get(c1, r1) + wbl * get(c, r2) + wbr * get(c1, r2)) >> 16);
            }
            out.setPixel(x, y, qRgb(ch[0], ch[1], ch[2]));
        }
    }
    return out;
}

QImage referenceSharpen(const QImage& src, int k)
{
    const int w = src.width(), h = src.height();
    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sum[3] = {};
            const QRgb c = src.pixel(x, y);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int weight = (dx == 0 && dy == 0) ? 4 * k + 128 : (dx != 0 && dy != 0) ? -k : 0;
                    const int yy = y + dy, xx = x + dx;
                    const bool inside = yy >= 1 && yy <= h - 1 && xx >= 1 && xx <= w - 1;
                    const QRgb p = inside ? src.pixel(xx, yy) : c;
                    sum[0] += weight * qRed(p);
                    sum[1] += weight * qGreen(p);
                    sum[2] += weight * qBlue(p);
                }
            out.setPixel(x, y, qRgb(std::clamp(sum[0] / 128, 0, 255), std::clamp(sum[1] / 128, 0, 255),
                                    std::clamp(sum[2] / 128, 0, 255)));
        }
    return out;
}

}  // namespace

TEST(PhotoFilters, MulDivRoundsHalvesUp)
{
    EXPECT_EQ(mulDivRounded(1, 65536, 4), 16384);
    EXPECT_EQ(mulDivRounded(16384, 16385, 65536), 4096);  // 4096.25
    EXPECT_EQ(mulDivRounded(1, 3, 2), 2);                 // 1.5
    EXPECT_EQ(mulDivRounded(479, 65536, 614), 51127);     // 51126.6
}

TEST(PhotoFilters, TwoByTwoToFourByFourByHand)
{
    // xstep = ystep = MulDiv(1, 65536, 4) = 16384. For (1, 1): fx = fy = 16384,
    // wtr = 12288, wtl = 36864, wbr = MulDiv(16384, 16385, 65536) = 4096,
    // wbl = 12289; (36864*10 + 12288*100 + 12289*200 + 4096*40) >> 16 = 64.
    const QImage out = RidimensionaLiscio(grey(2, 2, {10, 100, 200, 40}), QSize(4, 4));
    const int expected[4][4] = {{10, 32, 55, 77}, {57, 64, 71, 78}, {105, 96, 87, 78}, {152, 128, 103, 79}};
    ASSERT_EQ(out.size(), QSize(4, 4));
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(out.pixel(x, y), qRgb(expected[y][x], expected[y][x], expected[y][x])) << x << "," << y;
}

TEST(PhotoFilters, ResampleMatchesItsDefinitionOnAnySize)
{
    struct Case { QSize from, to; };
    const Case cases[] = {
        {{1, 1}, {3, 2}},    {{1, 7}, {5, 9}},     {{7, 1}, {9, 5}},     {{1, 5}, {1, 2}},
        {{33, 17}, {61, 40}}, {{61, 40}, {33, 17}}, {{2, 2}, {1000, 3}}, {{480, 360}, {614, 454}},
    };
    unsigned seed = 1;
    for (const Case& c : cases) {
        const QImage src = randomPicture(c.from.width(), c.from.height(), seed++);
        EXPECT_EQ(RidimensionaLiscio(src, c.to), referenceResample(src, c.to.width(), c.to.height()))
            << c.from.width() << "x" << c.from.height() << " -> " << c.to.width() << "x" << c.to.height();
    }
}

TEST(PhotoFilters, ResampleEdgesAndDegenerateSizes)
{
    // One pixel wide or tall: every target pixel is that pixel's colour
    // (the weights add up to 65537, so v * 65537 >> 16 == v).
    const QImage one = grey(1, 1, {201});
    const QImage up = RidimensionaLiscio(one, QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(up.pixel(x, y), qRgb(201, 201, 201));

    QImage allWhite(9, 4, QImage::Format_RGB32);
    allWhite.fill(Qt::white);
    EXPECT_EQ(RidimensionaLiscio(allWhite, QSize(17, 11)).pixel(16, 10), qRgb(255, 255, 255));

    EXPECT_EQ(RidimensionaLiscio(allWhite, QSize(0, -3)).size(), QSize(1, 1));
    EXPECT_TRUE(RidimensionaLiscio(QImage(), QSize(4, 4)).isNull());

    // The same size is a copy, and a different format comes back as RGB32.
    const QImage src = randomPicture(6, 5, 9).convertToFormat(QImage::Format_RGB888);
    const QImage same = RidimensionaLiscio(src, QSize(6, 5));
    EXPECT_EQ(same.format(), QImage::Format_RGB32);
    EXPECT_EQ(same, src.convertToFormat(QImage::Format_RGB32));
}

TEST(PhotoFilters, SharpenByHand)
{
    // One pixel: every neighbour is the pixel itself, (128 + 4k)c - 4kc = 128c.
    QImage one = grey(1, 1, {77});
    Nitidezza(one, 6);
    EXPECT_EQ(one.pixel(0, 0), qRgb(77, 77, 77));

    // 3 x 3, centre 100, corner (2, 2) 0, the rest 100. Only (2, 2) counts
    // as a neighbour of the centre: rows and columns 0 never do.
    // (152*100 - 6*(100 + 100 + 100 + 0)) / 128 = 13400 / 128 = 104.
    QImage small = grey(3, 3, {100, 100, 100, 100, 100, 100, 100, 100, 0});
    Nitidezza(small, 6);
    EXPECT_EQ(qRed(small.pixel(1, 1)), 104);
    // (0, 0) has no neighbour in range: unchanged. (2, 2) of value 0 with
    // its only counted neighbour (1, 1) = 100: (152*0 - 6*(0+0+0+100)) / 128
    // is negative and clamps to 0.
    EXPECT_EQ(qRed(small.pixel(0, 0)), 100);
    EXPECT_EQ(qRed(small.pixel(2, 2)), 0);

    // Overflow above 255 clamps.
    QImage bright = grey(4, 4, {0, 0, 0, 0, 0, 250, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Nitidezza(bright, 6);
    EXPECT_EQ(qRed(bright.pixel(1, 1)), 255);
}

TEST(PhotoFilters, SharpenMatchesItsDefinition)
{
    const QSize sizes[] = {{1, 1}, {1, 6}, {6, 1}, {2, 2}, {3, 4}, {23, 17}};
    unsigned seed = 40;
    for (const QSize size : sizes) {
        for (int k : {0, 1, 6, 30}) {
            QImage picture = randomPicture(size.width(), size.height(), seed++);
            const QImage expected = referenceSharpen(picture, k);
            Nitidezza(picture, k);
            EXPECT_EQ(picture, expected) << size.width() << "x" << size.height() << " k=" << k;
        }
    }
}
