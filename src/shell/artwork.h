#pragma once

// The main window's own artwork, drawn at run time: the 640 x 480 background
// (light surface, sign-area card, ten icon-panel wells, dark bottom strip),
// the nine picture buttons of the bottom strip in all their looks, and the
// three hand cursors.
//
// Everything is painted with QPainter on QImage, so it needs a
// QGuiApplication (for the caption font) but no widgets, and the same call
// always gives the same pixels. Button pictures are drawn over the very
// background pixels they cover, so a button composited through its mask
// blends into the strip with smooth edges.

#include "controls/button_art.h"
#include "shell/main_layout.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace ziro {

ButtonArt mainButtonArt(MainButton b);

// The picture behind the whole window (ImgFondo). The sign area is plain
// white because sign pictures are drawn on white. It is drawn once per art
// scale and shared by the window and the buttons cut from it;
// drawMainBackground() paints a new one every call.
QImage mainBackground();
QImage drawMainBackground();

// A cursor picture (32 x 32, with alpha) and the point that does the pointing.
struct CursorArt {
    QImage image;
    QPoint hotSpot;
};

// The program's cursors by number: 10 open hand ("GRABBR"), 11 closed hand
// ("FIST"), 13 pointing hand ("POINTER"). Any other number gives an empty
// image.
inline constexpr int kCursorGrab = 10;
inline constexpr int kCursorFist = 11;
inline constexpr int kCursorPointer = 13;
CursorArt cursorArt(int id);

}  // namespace ziro
