#pragma once

// The program draws its own artwork (backgrounds, picture buttons, menu
// pictures) in window pixels of the 640 x 480 surface. When the presentation
// is scaled up to a large screen, artwork drawn at that size would be blown
// up and soft, so it is drawn with more device pixels per window pixel: the
// art scale. Pictures made this way carry it as their device pixel ratio, so
// painters, labels and picture buttons place them by their size in window
// pixels and sample the extra detail when scaled.

#include <QImage>
#include <QRect>
#include <QSize>

namespace ziro {

// Device pixels per window pixel of the drawn artwork; 1 unless set.
qreal artScale();
// Set once at start, before the windows draw their artwork. Values are
// clamped to 1..4.
void setArtScale(qreal scale);

// The scale for a presentation of the 640 x 480 surface: the whole factor
// that covers `surfaceScale` (how much the surface is enlarged on screen) and
// the screen's own device pixel ratio.
qreal artScaleFor(qreal surfaceScale, qreal devicePixelRatio);

// A new picture of `size` window pixels at the art scale (uninitialised).
QImage artCanvas(QSize size, QImage::Format format);
// The part of a picture made at any scale under `r`, given in window pixels.
QImage artCopy(const QImage& picture, const QRect& r);
// A picture's size in window pixels.
QSize artSize(const QImage& picture);

}  // namespace ziro
