#pragma once

// Where the lesson screen's controls sit, in its 640 x 480 coordinates: the
// one place the main window, its artwork and the tests take them from. The
// sign area, the panels and the places the number panel moves to belong to
// the sign viewer's rules (content/sign_viewer.h) and are only named here.

#include "content/sign_viewer.h"

#include <QRect>

namespace ziro {

inline constexpr QRect kMainWindowRect{0, 0, 640, 480};
inline constexpr QRect kSignAreaRect = kVisoreFrame;      // Visore
inline constexpr QRect kSignBorderRect = kBorderRect;     // Border
inline constexpr QRect kBottomStripRect{0, 410, 640, 70};  // PaintBox1

// Display with LNumSegn inside it, at its home place; EJump sits inside
// Display.
inline constexpr QRect kDisplayRect{kDisplayHome, QSize(70, 40)};
inline constexpr QRect kNumberLabelRect{2, 2, 66, 36};
inline constexpr QRect kJumpFieldRect{kDisplayHome + kJumpFieldOffset, QSize(60, 30)};
// PLink with its label LIcone filling it.
inline constexpr QRect kRecallRect{kPLinkPos, QSize(50, 22)};
inline constexpr QRect kBookLabelRect{520, 403, 34, 14};   // LLibro
inline constexpr QRect kProgressBarRect{151, 422, 209, 2};  // pbCustomBar

// Icon panel n (1..10): Monitor1..5 down the left, Monitor6..10 down the
// right. Any other n gives an empty rectangle.
inline QRect iconPanelRect(int n)
{
    return panelRect(n);
}

// The nine picture buttons of the bottom strip, left to right.
enum class MainButton { MNG, MNU, L, C, R, FOTO, VIDEO, LIBRO, QUIZ };
inline constexpr int kMainButtonCount = 9;

// Where a button sits in the window; its size is the size of its pictures.
// The menu pair, the back/pause/forward group and the four media buttons
// are set apart as three groups and never overlap.
constexpr QRect mainButtonRect(MainButton b)
{
    // Back, pause and forward sit under the custom-lesson progress bar
    // (151..360); the media buttons are taller and share one row to the right.
    switch (b) {
    case MainButton::MNG: return {10, 425, 62, 45};
    case MainButton::MNU: return {77, 425, 62, 45};
    case MainButton::L: return {159, 425, 72, 45};
    case MainButton::C: return {236, 425, 36, 45};
    case MainButton::R: return {277, 425, 72, 45};
    case MainButton::FOTO: return {373, 420, 62, 55};
    case MainButton::VIDEO: return {439, 420, 62, 55};
    case MainButton::LIBRO: return {505, 420, 62, 55};
    case MainButton::QUIZ: return {571, 420, 62, 55};
    }
    return {};
}

}  // namespace ziro
