#include "controls/photo_filters.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ziro {

namespace {

// The source column pair and horizontal fraction of each target column;
// they are the same on every row.
struct Column {
    int left;
    int right;
    std::uint32_t fx;
};

inline std::uint32_t channel(QRgb p, int shift)
{
    return (p >> shift) & 0xFFu;
}

}  // namespace

QImage toPhotoFormat(const QImage& picture)
{
    if (picture.isNull() || picture.format() == QImage::Format_RGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

QImage RidimensionaLiscio(const QImage& sourceIn, QSize target)
{
    if (sourceIn.isNull())
        return {};
    const QImage source = toPhotoFormat(sourceIn);
    const int dstW = std::max(1, target.width());
    const int dstH = std::max(1, target.height());
    const int srcW = source.width();
    const int srcH = source.height();
    if (srcW == dstW && srcH == dstH) {
        QImage copy = source.copy();
        return copy;
    }

    QImage result(dstW, dstH, QImage::Format_RGB32);
    if (result.isNull())
        return {};

    const qint64 xstep = mulDivRounded(srcW - 1, 65536, dstW);
    const qint64 ystep = mulDivRounded(srcH - 1, 65536, dstH);

    std::vector<Column> columns(static_cast<std::size_t>(dstW));
    qint64 sx = 0;
    for (int x = 0; x < dstW; ++x, sx += xstep) {
        const int c = int(std::min<qint64>(sx >> 16, srcW - 1));
        columns[std::size_t(x)] = {c, std::min(c + 1, srcW - 1), std::uint32_t(sx & 0xFFFF)};
    }

    qint64 sy = 0;
    for (int y = 0; y < dstH; ++y, sy += ystep) {
        const int row1 = int(std::min<qint64>(sy >> 16, srcH - 1));
        const int row2 = row1 < srcH - 1 ? row1 + 1 : row1;
        const std::uint32_t fy = std::uint32_t(sy & 0xFFFF);
        const std::uint32_t top = 65536u - fy;
        const std::uint32_t bottom = fy + 1u;
        const auto* r1 = reinterpret_cast<const QRgb*>(source.constScanLine(row1));
        const auto* r2 = reinterpret_cast<const QRgb*>(source.constScanLine(row2));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < dstW; ++x) {
            const Column& col = columns[std::size_t(x)];
            // Products stay below 2^32: fx <= 65535 and the other factor
            // <= 65536, plus the rounding half.
            const std::uint32_t wtr = (col.fx * top + 32768u) >> 16;
            const std::uint32_t wtl = top - wtr;
            const std::uint32_t wbr = (col.fx * bottom + 32768u) >> 16;
            const std::uint32_t wbl = bottom - wbr;
            const QRgb tl = r1[col.left], tr = r1[col.right];
            const QRgb bl = r2[col.left], br = r2[col.right];
            // The four weights add up to 65537, so 255 stays 255 after the
            // shift and no channel can overflow into its neighbour.
            const std::uint32_t r = (wtl * channel(tl, 16) + wtr * channel(tr, 16) + wbl * channel(bl, 16)
                                     + wbr * channel(br, 16)) >> 16;
            const std::uint32_t g = (wtl * channel(tl, 8) + wtr * channel(tr, 8) + wbl * channel(bl, 8)
                                     + wbr * channel(br, 8)) >> 16;
            const std::uint32_t b = (wtl * channel(tl, 0) + wtr * channel(tr, 0) + wbl * channel(bl, 0)
                                     + wbr * channel(br, 0)) >> 16;
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    return result;
}

namespace {

inline int sharpenChannel(int centre, int neighbours, int k)
{
    const int v = ((4 * k + 128) * centre - k * neighbours) / 128;  // truncates toward zero
    return std::clamp(v, 0, 255);
}

inline QRgb sharpenPixel(QRgb c, QRgb a, QRgb b, QRgb d, QRgb e, int k)
{
    const int r = sharpenChannel(qRed(c), qRed(a) + qRed(b) + qRed(d) + qRed(e), k);
    const int g = sharpenChannel(qGreen(c), qGreen(a) + qGreen(b) + qGreen(d) + qGreen(e), k);
    const int bl = sharpenChannel(qBlue(c), qBlue(a) + qBlue(b) + qBlue(d) + qBlue(e), k);
    return 0xFF000000u | (QRgb(r) << 16) | (QRgb(g) << 8) | QRgb(bl);
}

}  // namespace

void Nitidezza(QImage& picture, int k)
{
    if (picture.isNull())
        return;
    picture = toPhotoFormat(picture);
    const int w = picture.width();
    const int h = picture.height();
    const QImage source = picture.copy();
    if (source.isNull())
        return;

    auto row = [&source](int y) { return reinterpret_cast<const QRgb*>(source.constScanLine(y)); };
    // Where a neighbour counts (see the header); its index otherwise -1.
    auto validRow = [h](int y) { return y >= 1 && y <= h - 1 ? y : -1; };
    auto validCol = [w](int x) { return x >= 1 && x <= w - 1 ? x : -1; };

    for (int y = 0; y < h; ++y) {
        const QRgb* mid = row(y);
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const int up = validRow(y - 1);
        const int down = validRow(y + 1);
        const QRgb* above = up >= 0 ? row(up) : nullptr;
        const QRgb* below = down >= 0 ? row(down) : nullptr;

        auto general = [&](int x) {
            const QRgb c = mid[x];
            const int left = validCol(x - 1);
            const int right = validCol(x + 1);
            const QRgb tl = above && left >= 0 ? above[left] : c;
            const QRgb tr = above && right >= 0 ? above[right] : c;
            const QRgb bl = below && left >= 0 ? below[left] : c;
            const QRgb br = below && right >= 0 ? below[right] : c;
            out[x] = sharpenPixel(c, tl, tr, bl, br, k);
        };

        if (!above || !below) {
            for (int x = 0; x < w; ++x)
                general(x);
            continue;
        }
        // Columns 2..w-2 have both diagonal columns in range.
        const int fastEnd = w - 2;
        for (int x = 0; x < std::min(2, w); ++x)
            general(x);
        for (int x = 2; x <= fastEnd; ++x)
            out[x] = sharpenPixel(mid[x], above[x - 1], above[x + 1], below[x - 1], below[x + 1], k);
        for (int x = std::max(2, fastEnd + 1); x < w; ++x)
            general(x);
    }
}

}  // namespace ziro
