#pragma once

// What the photograph viewer draws into its pictures: the arrows, the
// caption burnt in before enlarging, and the enlarged picture itself. All of
// it works on QImage with QPainter, never on screen pixels, so a window lying
// over the viewer can never end up inside a photograph.

#include "viewers/photo_caption.h"

#include <QImage>
#include <QLineF>
#include <QPoint>
#include <QPolygonF>
#include <QRectF>
#include <QSize>

#include <functional>

class QPainter;

namespace ziro {

// The photograph frame of the window size, and the picture of the enlarged
// viewer: the 640 x 480 window less a 6-pixel border (628 x 468) less 14.
inline constexpr QSize kAlbumSize{480, 360};
inline constexpr QSize kEnlargedPictureSize{614, 454};
// Caption coordinates are in the photograph's frame, which holds the
// photograph 4 pixels in: this moves them onto the photograph.
inline constexpr QPoint kCaptionToPhoto{-4, -4};
// Shadow offsets of the caption label in the viewer.
inline constexpr QPoint kCaptionShadeOffset{2, -2};

// ---------------------------------------------------------------- arrows

// One arrow as plain geometry (integer points, as they are drawn):
// the shaft from the origin to the notch, then the head polygon
// notch, wing1, tip, wing2, notch.
struct ArrowGeometry {
    QPoint origin;
    QPoint tip;
    QPoint notch;
    QPoint wing1;
    QPoint wing2;
    double angleDegrees = 0;  // φ
    double headLength = 0;    // L
    double wingAngle = 0;     // β, 18 or 198

    QLineF shaft() const { return QLineF(origin, notch); }
    QPolygonF head() const { return QPolygonF({QPointF(notch), QPointF(wing1), QPointF(tip), QPointF(wing2), QPointF(notch)}); }
};

// PaintPx's geometry of the arrow from `origin` to `tip`:
// φ = 0 when both x are equal, 90 when both y are (x differing), otherwise
// atan((Ox - Tx) / (Oy - Ty)) in degrees; L = 18 below a length of 90, 38
// above 190, else 0.2 x length; β = 198 and m = -trunc(0.7 L) when
// ((Ox > Tx and Oy = Ty) xor Oy <= Ty), else β = 18 and m = trunc(0.7 L);
// wing1 = T + trunc(sin(β + φ) L, cos(β + φ) L), wing2 = T + trunc(sin(φ - β)
// L, cos(φ - β) L), notch = T + trunc(sin φ m, cos φ m). Any two points give
// an arrow, equal ones included.
ArrowGeometry PaintPx(QPoint origin, QPoint tip);

// PaintPx draws nothing while "Full screen" and "Auto text" are both on.
inline bool arrowsDrawn(bool fullScreen, bool autoText)
{
    return !(fullScreen && autoText);
}

// Draws the arrow: solid pen of width 3, brush of the same colour.
void drawArrow(QPainter& painter, const ArrowGeometry& arrow, const QColor& colour);

// ---------------------------------------------------------------- caption

// Paints the caption label's text into `labelRect` (the label's own bounds
// in the painter's coordinates): the 3-D or shadow passes, then the face,
// word-wrapped with the caption's alignment. A single-line caption takes the
// largest font that fits its box, less 2 points, as the label does.
using CaptionLabelPainter = std::function<void(QPainter&, const PhotoCaption&, const QRect& labelRect)>;
void paintCaptionLabel(QPainter& painter, const PhotoCaption& caption, const QRect& labelRect);

// The font size a single-line caption is shown at (see paintCaptionLabel);
// the stored size for a multi-line one. Never below 1.
int captionShownFontSize(const PhotoCaption& caption);

// The size the caption's text takes at `points`: its lines as typed, or
// word-wrapped to `wrapWidth` when that is positive. What a box that
// follows its text becomes.
QSize captionTextSize(const PhotoCaption& caption, int points, int wrapWidth = 0);

struct BurnOptions {
    bool arrows = true;   // draw the present arrows
    bool caption = true;  // draw the caption (and its box when it has one)
    // Where the picture lies in the window-size frame, in frame pixels;
    // empty: the picture's pixels are the frame's (480 x 360 photographs).
    QRectF pictureInAlbum;
    // The label painter; empty uses paintCaptionLabel.
    CaptionLabelPainter labelPainter;
};

// Paints the caption's background box (when it has one) and then its label,
// in photograph coordinates: what lies over the photograph on screen and
// what is burnt into it.
void paintCaption(QPainter& painter, const PhotoCaption& caption, const CaptionLabelPainter& labelPainter = {});

// Burns arrows, background box and caption (in that order, as they lie on
// screen) into the picture, which becomes RGB32.
void burnCaption(QImage& picture, const PhotoCaption& caption, const BurnOptions& options = {});

// The enlarged picture: the photograph with the caption burnt in (when
// given), resampled with RidimensionaLiscio to `target` and sharpened with
// Nitidezza of strength 6. A null photograph gives a null picture.
QImage enlargePhoto(const QImage& photo, const PhotoCaption* caption, const BurnOptions& options = {},
                    QSize target = kEnlargedPictureSize);

}  // namespace ziro
