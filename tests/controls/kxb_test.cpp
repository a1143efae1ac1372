#include "controls/kxb.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

using namespace ziro;

namespace {

void putLe(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// Hand-made uncompressed BMP with a 40-byte information header. `rows` are
// given in file order (bottom row first unless `topDown`), unpadded; the
// builder pads them to four bytes.
QByteArray makeBmp(int bpp, int width, int height, bool topDown, const std::vector<QRgb>& palette,
                   const std::vector<QByteArray>& rows)
{
    QByteArray pixels;
    const int stride = ((width * bpp + 31) / 32) * 4;
    for (QByteArray row : rows) {
        row.resize(stride, '\0');
        pixels += row;
    }
    QByteArray info;
    putLe(info, 40, 4);
    putLe(info, quint32(width), 4);
    putLe(info, quint32(topDown ? -height : height), 4);
    putLe(info, 1, 2);
    putLe(info, quint32(bpp), 2);
    putLe(info, 0, 4); // uncompressed
    putLe(info, quint32(pixels.size()), 4);
    putLe(info, 2835, 4);
    putLe(info, 2835, 4);
    putLe(info, quint32(palette.size()), 4);
    putLe(info, 0, 4);
    for (QRgb c : palette) {
        info.append(char(qBlue(c)));
        info.append(char(qGreen(c)));
        info.append(char(qRed(c)));
        info.append('\0');
    }
    QByteArray file("BM");
    const quint32 offset = 14 + quint32(info.size());
    putLe(file, offset + quint32(pixels.size()), 4);
    putLe(file, 0, 4);
    putLe(file, offset, 4);
    return file + info + pixels;
}

QByteArray bgr(QRgb c)
{
    return QByteArray{} + char(qBlue(c)) + char(qGreen(c)) + char(qRed(c));
}

QByteArray qtBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return bytes;
}

QImage twoByTwo()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 255, 255));
    return image;
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

} // namespace

TEST(KxbDecode, AnySignatureDecodesToTheSamePicture)
{
    const QByteArray plain = qtBmp(twoByTwo());
    ASSERT_TRUE(plain.startsWith("BM"));
    for (const QByteArray& mask : {QByteArray("BM"), QByteArray("KX"), QByteArray("XY"),
                                  QByteArray("\0\0", 2), QByteArray("\xFF\xFE")}) {
        QByteArray masked = plain;
        masked[0] = mask[0];
        masked[1] = mask[1];
        const auto picture = decodeKxb(masked);
        ASSERT_TRUE(picture) << mask.toHex().constData();
        EXPECT_EQ(picture->size(), QSize(2, 2));
        EXPECT_EQ(picture->pixel(0, 0), kRed);
        EXPECT_EQ(picture->pixel(1, 1), kWhite);
    }
}

TEST(KxbDecode, RejectsShortAndGarbageBuffers)
{
    const QByteArray valid = qtBmp(twoByTwo());
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("B"), QByteArray("BM"), valid.left(25), valid.left(40),
          QByteArray(200, 'x'), QByteArray("BM") + QByteArray(100, '\0')}) {
        EXPECT_FALSE(decodeKxb(bad)) << bad.size();
    }
}

TEST(KxbDecode, CutPixelRowsFailButAMissingLastPaddingIsTolerated)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QByteArray full = qtBmp(image); // rows of 30 bytes padded to 32
    ASSERT_TRUE(decodeKxb(full));
    EXPECT_TRUE(decodeKxb(full.chopped(2)));
    EXPECT_FALSE(decodeKxb(full.chopped(3)));
    EXPECT_FALSE(decodeKxb(full.chopped(100)));

    // Claimed dimensions far beyond the data.
    QByteArray huge = makeBmp(24, 1, 1, false, {}, {bgr(kRed)});
    huge.replace(18, 4, QByteArray("\xFF\xFF\xFF\x7F", 4));
    huge.replace(22, 4, QByteArray("\xFF\xFF\xFF\x7F", 4));
    EXPECT_FALSE(decodeKxb(huge));
}

TEST(KxbDecode, SmallestHeaderIsAccepted)
{
    // 12-byte core header, one 24-bit pixel: 30 bytes in all.
    QByteArray file("KX");
    putLe(file, 30, 4);
    putLe(file, 0, 4);
    putLe(file, 26, 4);
    putLe(file, 12, 4);
    putLe(file, 1, 2);
    putLe(file, 1, 2);
    putLe(file, 1, 2);
    putLe(file, 24, 2);
    file += bgr(kGreen) + '\0';
    ASSERT_EQ(file.size(), 30);
    const auto picture = decodeKxb(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixel(0, 0), kGreen);
}

TEST(KxbDecode, BitDepthsAndRowOrder)
{
    struct Case {
        const char* name;
        QByteArray bmp;
    };
    // Every fixture is the same 2x2 picture: red, green on top; blue, white below.
    const std::vector<QRgb> pal{kRed, kGreen, kBlue, kWhite};
    const std::vector<Case> cases{
        {"1-bit",
         makeBmp(1, 2, 2, false, {kBlue, kWhite}, {QByteArray("\x40", 1), QByteArray("\x40", 1)})},
        {"4-bit", makeBmp(4, 2, 2, false, pal, {QByteArray("\x23"), QByteArray("\x01", 1)})},
        {"8-bit", makeBmp(8, 2, 2, false, pal, {QByteArray("\x02\x03"), QByteArray("\x00\x01", 2)})},
        {"24-bit", makeBmp(24, 2, 2, false, {}, {bgr(kBlue) + bgr(kWhite), bgr(kRed) + bgr(kGreen)})},
        {"32-bit", makeBmp(32, 2, 2, false, {},
                           {bgr(kBlue) + '\0' + bgr(kWhite) + '\0', bgr(kRed) + '\0' + bgr(kGreen) + '\0'})},
        {"24-bit top-down",
         makeBmp(24, 2, 2, true, {}, {bgr(kRed) + bgr(kGreen), bgr(kBlue) + bgr(kWhite)})},
        {"8-bit top-down", makeBmp(8, 2, 2, true, pal, {QByteArray("\x00\x01", 2), QByteArray("\x02\x03")})},
    };
    for (const Case& c : cases) {
        QByteArray masked = c.bmp;
        masked[0] = 'K';
        masked[1] = 'X';
        const auto picture = decodeKxb(masked);
        ASSERT_TRUE(picture) << c.name;
        ASSERT_EQ(picture->size(), QSize(2, 2)) << c.name;
        if (QByteArray(c.name) == "1-bit") {
            // Two colours only: the bottom row is the same blue, white.
            EXPECT_EQ(picture->pixel(0, 0), kBlue) << c.name;
            EXPECT_EQ(picture->pixel(1, 0), kWhite) << c.name;
        } else {
            EXPECT_EQ(picture->pixel(0, 0), kRed) << c.name;
            EXPECT_EQ(picture->pixel(1, 0), kGreen) << c.name;
        }
        EXPECT_EQ(picture->pixel(0, 1), kBlue) << c.name;
        EXPECT_EQ(picture->pixel(1, 1), kWhite) << c.name;
    }
}

TEST(KxbFile, LoadsMaskedAndPlainFilesWithoutTouchingThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray masked = encodeKxb(twoByTwo());
    ASSERT_TRUE(masked.startsWith("KX"));
    const QString maskedPath = dir.filePath("1.KXB");
    const QString plainPath = dir.filePath("2.KXB");
    for (const auto& [path, bytes] : {std::pair{maskedPath, masked}, std::pair{plainPath, qtBmp(twoByTwo())}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    for (const QString& path : {maskedPath, plainPath}) {
        const auto picture = loadKxbFile(path);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->pixel(1, 0), kGreen);
        EXPECT_EQ(picture->pixel(0, 1), kBlue);
    }
    QFile f(maskedPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), masked);
}

TEST(KxbFile, MissingDirectoryAndTinyFilesFail)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(loadKxbFile(dir.filePath("missing.KXB")));
    EXPECT_FALSE(loadKxbFile(dir.path()));
    EXPECT_FALSE(loadKxbFile(QString()));
    for (const QByteArray& content : {QByteArray(), QByteArray("B")}) {
        QFile f(dir.filePath("tiny.KXB"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        EXPECT_FALSE(loadKxbFile(f.fileName())) << content.size();
    }
}

TEST(KxbEncode, WritesA24BitBmpUnderTheMask)
{
    QImage withAlpha(3, 1, QImage::Format_ARGB32);
    withAlpha.fill(qRgba(10, 20, 30, 40));
    const QByteArray bytes = encodeKxb(withAlpha, "ZZ");
    ASSERT_TRUE(bytes.startsWith("ZZ"));
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24); // bits per pixel
    const auto back = decodeKxb(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->size(), QSize(3, 1));
    EXPECT_FALSE(back->hasAlphaChannel());

    EXPECT_TRUE(encodeKxb(QImage()).isEmpty());
    EXPECT_TRUE(encodeKxb(twoByTwo(), "").startsWith("BM"));
}

TEST(KxbFilter, NamesTheFormat)
{
    EXPECT_TRUE(kxbFileFilter().startsWith("KXB Vorn format ("));
    EXPECT_TRUE(kxbFileFilter().contains("*.kxb"));
}

TEST(KxbFit, Table)
{
    struct Case {
        const char* name;
        QRect frame;
        int border;
        float adj;
        bool keep;
        QSize picture;
        QRect expected;
    };
    const QRect f(99, 30, 440, 350);
    const std::vector<Case> cases{
        // Landscape fills the width, centred vertically: (350-220)/2 = 65.
        {"landscape", f, 0, 1.0f, true, {100, 50}, {99, 95, 440, 220}},
        // Portrait fills the height; (440-175)/2 = 132.5 goes to the even 132.
        {"portrait", f, 0, 1.0f, true, {50, 100}, {231, 30, 175, 350}},
        // 3*350/4 = 262.5 -> 262 (down to even).
        {"width half down", f, 0, 1.0f, true, {3, 4}, {188, 30, 262, 350}},
        // 440/350 > 5/4, so height fit: 5*350/4 = 437.5 -> 438 (up to even).
        {"width half up", f, 0, 1.0f, true, {5, 4}, {100, 30, 438, 350}},
        // 5*440/16 = 137.5 -> 138.
        {"height half up", f, 0, 1.0f, true, {16, 5}, {99, 136, 440, 138}},
        // (350-165)/2 = 92.5 -> 92.
        {"top half down", f, 0, 1.0f, true, {8, 3}, {99, 122, 440, 165}},
        {"square", QRect(0, 0, 200, 200), 5, 1.0f, true, {10, 10}, {5, 5, 190, 190}},
        {"border landscape", f, 10, 1.0f, true, {100, 50}, {109, 100, 420, 210}},
        // (440-165)/2 = 137.5 -> 138.
        {"border portrait", f, 10, 1.0f, true, {50, 100}, {237, 40, 165, 330}},
        // Equal ratios are not "greater": width fit, (300-285)/2 = 7.5 -> 8.
        {"ratio tie", QRect(0, 0, 400, 300), 10, 1.0f, true, {4, 3}, {10, 8, 380, 285}},
        // 440/350*1.1 > 4/3: the factor chooses the height fit, wider than the frame.
        {"adj widens", f, 0, 1.1f, true, {4, 3}, {85, 30, 467, 350}},
        {"adj neutral", f, 0, 1.0f, true, {4, 3}, {99, 40, 440, 330}},
        // 440/350*0.75 < 1: the factor alone would fit the width, but a square
        // is fitted by the portrait rule, to the height.
        {"square, adj narrows", f, 0, 0.75f, true, {100, 100}, {144, 30, 350, 350}},
        // A portrait picture in a narrow frame is fitted to the width instead of overflowing.
        {"portrait mend", QRect(10, 20, 100, 200), 0, 1.0f, true, {90, 100}, {10, 64, 100, 111}},
        {"portrait mend border", QRect(0, 0, 100, 300), 10, 1.0f, true, {50, 100}, {10, 70, 80, 160}},
        {"portrait fits", QRect(0, 0, 100, 300), 0, 1.0f, true, {25, 100}, {12, 0, 75, 300}},
        // Off: the frame, whatever the picture.
        {"off landscape", f, 10, 1.1f, false, {100, 50}, f},
        {"off portrait", f, 0, 1.0f, false, {1, 1000}, f},
        {"off empty picture", f, 0, 1.0f, false, {}, f},
        // Degenerate inputs leave the frame as it is.
        {"empty picture", f, 0, 1.0f, true, {0, 0}, f},
        {"zero-height picture", f, 0, 1.0f, true, {10, 0}, f},
        {"zero-height frame", QRect(5, 5, 100, 0), 0, 1.0f, true, {10, 10}, QRect(5, 5, 100, 0)},
        // A border of half the frame or more leaves nothing, never a negative size.
        {"huge border landscape", f, 250, 1.0f, true, {100, 50}, {349, 205, 0, 0}},
        {"huge border portrait", f, 200, 1.0f, true, {50, 100}, {319, 230, 0, 0}},
    };
    for (const Case& c : cases) {
        const QRect got = fitRect(c.frame, c.border, c.adj, c.keep, c.picture);
        EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_GE(got.width(), 0) << c.name;
        EXPECT_GE(got.height(), 0) << c.name;
    }
}
