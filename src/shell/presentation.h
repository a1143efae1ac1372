#pragma once

#include <QRectF>
#include <QSizeF>

namespace ziro {

// The program's own drawing surface: every window of it is laid out in
// these coordinates.
inline constexpr QSizeF kSurfaceSize{640.0, 480.0};

// The factor that makes `surface` as large as fits into `area` with its
// shape kept. An empty area or surface gives 1, so a window that has not
// been sized yet still maps positions one to one.
double fitScale(QSizeF area, QSizeF surface = kSurfaceSize);

// Where the scaled surface lies in `area`: as large as fits, centred, the
// rest left as bars on two opposite sides. An empty area gives the surface
// unscaled at the origin.
QRectF fittedRect(QSizeF area, QSizeF surface = kSurfaceSize);

}  // namespace ziro
