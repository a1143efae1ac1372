#include "controls/kxb.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>

namespace ziro {

namespace {

// Round half to even (default floating-point rounding mode), clamped into
// the int range so that absurd frames or ratios cannot overflow.
qint64 roundEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);
    return static_cast<qint64>(std::clamp(r, double(INT_MIN), double(INT_MAX)));
}

int toInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

quint32 readLe(const QByteArray& bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

// The BMP decoder hands back a partly black picture when the pixel rows are
// cut short (an interrupted copy); such a file must fail the load instead.
// Only uncompressed layouts have a size we can know up front; the last row's
// padding is not required, as some writers leave it out.
bool pixelRowsComplete(const QByteArray& bytes)
{
    const qint64 infoSize = readLe(bytes, 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitsPerPixel = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = readLe(bytes, 18, 2);
        height = readLe(bytes, 20, 2);
        bitsPerPixel = readLe(bytes, 24, 2);
    } else if (infoSize >= 16 && bytes.size() >= 30) {
        width = qint32(readLe(bytes, 18, 4));
        height = qint32(readLe(bytes, 22, 4));
        bitsPerPixel = readLe(bytes, 28, 2);
        if (infoSize >= 20 && bytes.size() >= 34)
            compression = readLe(bytes, 30, 4);
    } else {
        return true; // let the decoder judge
    }
    constexpr quint32 kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;
    if (compression != kRgb && compression != kBitfields && compression != kAlphaBitfields)
        return true;
    height = height < 0 ? -height : height;
    if (width <= 0 || height == 0 || bitsPerPixel <= 0)
        return true;
    const qint64 stride = ((width * bitsPerPixel + 31) / 32) * 4;
    if (height > 1 && stride > bytes.size())
        return false;
    const qint64 lastRow = (width * bitsPerPixel + 7) / 8;
    const qint64 start = std::max<qint64>(readLe(bytes, 10, 4), 14 + infoSize);
    return start + stride * (height - 1) + lastRow <= bytes.size();
}

} // namespace

QString kxbFileFilter()
{
    return QStringLiteral("%1 (*.kxb *.KXB)").arg(QLatin1String(kKxbDescription));
}

std::optional<QImage> decodeKxb(QByteArray bytes)
{
    if (bytes.size() < kKxbMinSize)
        return std::nullopt;
    bytes[0] = 'B';
    bytes[1] = 'M';
    if (!pixelRowsComplete(bytes))
        return std::nullopt;
    QImage picture;
    if (!picture.loadFromData(bytes, "BMP") || picture.isNull())
        return std::nullopt;
    return picture;
}

std::optional<QImage> loadKxbFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kKxbMaxFileSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return decodeKxb(std::move(bytes));
}

QByteArray encodeKxb(const QImage& picture, QByteArray mask)
{
    if (picture.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)
        || !picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP")
        || bytes.size() < kKxbMinSize)
        return {};
    for (qsizetype i = 0; i < std::min<qsizetype>(2, mask.size()); ++i)
        bytes[i] = mask[i];
    return bytes;
}

QRect fitRect(const QRect& frame, int frameBorder, float adjRatio, bool keepRatio,
              QSize picture)
{
    if (!keepRatio || picture.isEmpty() || frame.isEmpty())
        return frame;

    const double w = picture.width();
    const double h = picture.height();
    const qint64 fl = frame.left();
    const qint64 ft = frame.top();
    const qint64 fw = frame.width();
    const qint64 fh = frame.height();
    const qint64 border = frameBorder;
    const qint64 roomW = std::max<qint64>(0, fw - 2 * border);
    const qint64 roomH = std::max<qint64>(0, fh - 2 * border);

    const bool portrait = h >= w;
    const bool byRatio = double(fw) / double(fh) * double(adjRatio) > w / h;

    if (portrait || byRatio) {
        const qint64 height = roomH;
        const qint64 width = std::max<qint64>(0, roundEven(w * double(height) / h));
        // A portrait picture must not grow wider than the frame allows.
        if (!(portrait && width > roomW))
            return QRect(toInt(fl + roundEven(double(fw - width) / 2.0)), toInt(ft + border),
                         toInt(width), toInt(height));
    }

    const qint64 width = roomW;
    const qint64 height = std::max<qint64>(0, roundEven(h * double(width) / w));
    return QRect(toInt(fl + border), toInt(ft + roundEven(double(fh - height) / 2.0)),
                 toInt(width), toInt(height));
}

} // namespace ziro
