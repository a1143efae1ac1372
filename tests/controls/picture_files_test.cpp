#include "controls/big_bitmap.h"
#include "controls/jpeg_loader.h"
#include "controls/kxb.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

QImage testPicture(int w, int h)
{
    QImage p(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixelColor(x, y, QColor(x * 255 / w, y * 255 / h, 128));
    return p;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray bmp(const QImage& picture, QImage::Format format)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(format).save(&buffer, "BMP");
    return out;
}

TEST(JpegLoader, RoundTripsAndRefusesWhatIsNotAWholeJpeg)
{
    const QImage source = testPicture(61, 40);
    const QByteArray jpeg = encodeJpeg(source, 95);
    ASSERT_TRUE(looksLikeJpeg(jpeg));
    const std::optional<QImage> back = decodeJpeg(jpeg);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->size(), source.size());
    const QColor mid = back->pixelColor(30, 20);
    EXPECT_NEAR(mid.red(), source.pixelColor(30, 20).red(), 12);
    EXPECT_NEAR(mid.green(), source.pixelColor(30, 20).green(), 12);

    QString error;
    EXPECT_FALSE(decodeJpeg(jpeg.left(jpeg.size() / 2), &error));
    EXPECT_FALSE(error.isEmpty());
    QByteArray damaged = jpeg.left(200);
    damaged.append(QByteArray(50, '\0'));
    EXPECT_FALSE(decodeJpeg(damaged));
    EXPECT_FALSE(decodeJpeg(QByteArray("\xFF\xD8\xFF", 3)));
    EXPECT_FALSE(decodeJpeg(QByteArray("BM not a jpeg")));
}

// A damaged header claiming a huge picture is refused before the picture
// is allocated; one at the limit is still taken on to the decode.
TEST(JpegLoader, AHeaderClaimingAHugePictureIsRefused)
{
    const QByteArray jpeg = encodeJpeg(testPicture(16, 8), 90);
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    const auto withSize = [&](int w, int h) {
        QByteArray b = jpeg;
        b[sof + 5] = char(h >> 8);
        b[sof + 6] = char(h & 0xFF);
        b[sof + 7] = char(w >> 8);
        b[sof + 8] = char(w & 0xFF);
        return b;
    };
    QString error;
    for (const int side : {9000, 65000}) {
        EXPECT_FALSE(decodeJpeg(withSize(side, side), &error)) << side;
        EXPECT_EQ(error, QStringLiteral("immagine troppo grande")) << side;
    }
    // 8192 x 8192 x 4 bytes is the limit itself: the header passes, and the
    // missing data then fails the decode as a damaged file.
    EXPECT_FALSE(decodeJpeg(withSize(8192, 8192), &error));
    EXPECT_NE(error, QStringLiteral("immagine troppo grande"));
}

TEST(JpegLoader, PictureFilesAreReadByContentNotName)
{
    QTemporaryDir dir;
    const QImage source = testPicture(20, 10);
    // A JPEG with a name that says nothing, a masked bitmap, and junk.
    ASSERT_TRUE(write(dir.filePath("RUZUDOR3.ODE"), encodeJpeg(source)));
    ASSERT_TRUE(write(dir.filePath("page.jpg"), encodeKxb(source)));
    ASSERT_TRUE(write(dir.filePath("junk.JPG"), QByteArray(100, 'x')));
    EXPECT_EQ(loadPictureFile(dir.filePath("RUZUDOR3.ODE"))->size(), source.size());
    EXPECT_EQ(loadPictureFile(dir.filePath("page.jpg"))->size(), source.size());
    EXPECT_FALSE(loadPictureFile(dir.filePath("junk.JPG")));
    EXPECT_FALSE(loadPictureFile(dir.filePath("missing.JPG")));
    EXPECT_FALSE(loadPictureFile(dir.path()));
}

TEST(BigBitmap, OpensAWholeBitmapAndRefusesBadOnes)
{
    QTemporaryDir dir;
    const QImage source = testPicture(61, 71);
    const QByteArray whole = bmp(source, QImage::Format_RGB888);
    ASSERT_TRUE(write(dir.filePath("Rarezid2"), whole));

    BigBitmap viewer;
    ASSERT_TRUE(viewer.setFileName(dir.filePath("Rarezid2")));
    QString error;
    ASSERT_TRUE(viewer.open(&error)) << error.toStdString();
    EXPECT_TRUE(viewer.active());
    EXPECT_EQ(viewer.bitmapWidth(), 61);
    EXPECT_EQ(viewer.bitmapHeight(), 71);
    EXPECT_FALSE(viewer.hasPalette());
    EXPECT_EQ(viewer.picture().size(), source.size());
    // The name holds while the file is mapped.
    EXPECT_FALSE(viewer.setFileName(dir.filePath("other"), &error));
    EXPECT_EQ(error, QStringLiteral("Not on an active big bitmap viewer"));
    viewer.close();
    EXPECT_FALSE(viewer.active());
    EXPECT_TRUE(viewer.setFileName(dir.filePath("other")));

    struct Case { const char* name; QByteArray bytes; QString message; };
    QByteArray masked = whole;
    masked[0] = 'K';
    QByteArray hugeHeight = whole;
    hugeHeight[22] = char(0xFF);
    hugeHeight[23] = char(0x7F);
    const std::vector<Case> cases = {
        {"masked", masked, QStringLiteral("Bitmap image is not valid")},
        {"truncated", whole.left(whole.size() - 100), QStringLiteral("Bitmap image is not valid")},
        {"height", hugeHeight, QStringLiteral("Bitmap image is not valid")},
        {"tiny", whole.left(20), QStringLiteral("Bitmap image is not valid")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(write(dir.filePath(c.name), c.bytes));
        BigBitmap bad;
        bad.setFileName(dir.filePath(c.name));
        QString message;
        EXPECT_FALSE(bad.open(&message)) << c.name;
        EXPECT_EQ(message, c.message) << c.name;
        EXPECT_FALSE(bad.active());
        EXPECT_TRUE(bad.picture().isNull());
    }
    BigBitmap missing;
    missing.setFileName(dir.filePath("none"));
    EXPECT_FALSE(missing.open(&error));
    EXPECT_EQ(error, QStringLiteral("Failed to open ") + dir.filePath("none"));
}

TEST(BigBitmap, EightBitPicturesHaveAPalette)
{
    QTemporaryDir dir;
    ASSERT_TRUE(write(dir.filePath("p8"), bmp(testPicture(16, 16), QImage::Format_Indexed8)));
    BigBitmap viewer;
    viewer.setFileName(dir.filePath("p8"));
    ASSERT_TRUE(viewer.open());
    EXPECT_TRUE(viewer.hasPalette());
    EXPECT_GE(viewer.colours(), 3);
}

}  // namespace
}  // namespace ziro
