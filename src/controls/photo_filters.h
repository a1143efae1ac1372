#pragma once

// The picture maths of the enlarged photograph: the smooth resize and the
// sharpening that follows it. Both are integer-exact, so a picture enlarged
// here matches, pixel for pixel, what the classrooms have always seen.
//
// Pictures come out as QImage::Format_RGB32 (opaque, alpha 0xFF): the
// "24 bits per pixel" picture of the viewer. Any other input format is
// converted first.

#include <QImage>
#include <QSize>

namespace ziro {

// Sharpening strength used for the enlarged photograph.
inline constexpr int kNitidezzaEnlarged = 6;

// The photograph as the viewer handles it: RGB32 (a cheap shallow copy when
// it already is). A null picture stays null.
QImage toPhotoFormat(const QImage& picture);

// Windows' MulDiv for non-negative operands: a * b / c rounded half up,
// computed in 64 bits. c must be positive.
constexpr qint64 mulDivRounded(qint64 a, qint64 b, qint64 c)
{
    return (a * b + c / 2) / c;
}

// Bilinear resampling in 16.16 fixed point onto a picture of `target`
// size (each side at least 1; smaller requests are raised to 1).
// - Same size: the result is a copy.
// - Otherwise xstep = MulDiv(srcW - 1, 65536, dstW), likewise ystep; each
//   target pixel blends the 2 x 2 source pixels at (sx >> 16, sy >> 16)
//   with the weights wtr = MulDiv(fx, 65536 - fy, 65536),
//   wtl = 65536 - fy - wtr, wbr = MulDiv(fx, fy + 1, 65536),
//   wbl = fy + 1 - wbr, and the channel sum is shifted right by 16.
// The right and lower neighbours are clamped to the last column and row, so
// a source one pixel wide or tall is never read past its edge.
// A null source gives a null picture.
QImage RidimensionaLiscio(const QImage& source, QSize target);

// 3 x 3 sharpening over a copy of the picture: corners -k, edges 0, centre
// 4k + 128, divisor 128 (truncating toward zero), clamped to 0..255 per
// channel. A diagonal neighbour counts only when its row lies in
// 1..height-1 and its column in 1..width-1; otherwise the centre pixel
// stands in for it (so row 0 and column 0 never contribute as neighbours).
// The picture is converted to RGB32 in place. k = 0 leaves it unchanged.
void Nitidezza(QImage& picture, int k);

}  // namespace ziro
