#pragma once

// The general menu's own artwork, drawn at run time in the style of the main
// window's artwork: a 640 x 480 dark-teal background with a light card for the
// topic groups, the picture buttons of the right column and of the bottom row
// in all their looks, the ten coloured group buttons, the chosen group's
// header and the two small icons beside the sub-topic rows.
//
// Everything is painted with QPainter on QImage (QtGui only), and the same
// call always gives the same pixels. Button pictures are drawn over the very
// background pixels they cover, so a button composited through its mask blends
// into the menu with smooth edges. Captions are sized for a projector: big,
// bold, white on saturated colours.

#include "controls/button_art.h"
#include "menus/general_menu.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

namespace ziro {

inline constexpr QRect kMenuWindowRect{0, 0, 640, 480};

// --- the group area -----------------------------------------------------------
// One light card holds either the ten group buttons (PannelloBandoni) or, when
// a group is open, its header (ArgomentoTesta), the sub-topic list (MenuList)
// and the two icon columns beside the list (Video0..11, Html0..11).

inline constexpr int kGroupCount = 10;
inline constexpr int kMenuListRows = 12;

constexpr QRect groupPanelRect()
{
    return {30, 27, 440, 360};
}

// Group button `tag` (1..10) in PANEL coordinates: A..E down the left column,
// F..J (L in CQC) down the right one. Any other tag gives an empty rectangle.
constexpr QRect groupButtonRect(int tag)
{
    if (tag < 1 || tag > kGroupCount)
        return {};
    const int column = (tag - 1) / 5;
    const int row = (tag - 1) % 5;
    return {8 + column * 216, 9 + row * 70, 208, 62};
}

// Window coordinates; shown while the panel is hidden.
constexpr QRect groupHeadRect()
{
    return {38, 35, 424, 52};
}

// The list holds exactly kMenuListRows rows of menuListRowHeight() pixels and
// draws no frame of its own.
constexpr int menuListRowHeight()
{
    return 24;
}

constexpr QRect menuListRect()
{
    return {38, 93, 372, kMenuListRows * menuListRowHeight()};
}

// The icons are square, kListIconSize pixels, centred on their row.
inline constexpr int kListIconSize = 22;

constexpr int filmIconX()
{
    return 414;
}

constexpr int htmlIconX()
{
    return 440;
}

// Where the film / HTML icon of visible row `row` (0..11) sits, in window
// coordinates. Any other row gives an empty rectangle.
constexpr QRect listIconRect(int x, int row)
{
    if (row < 0 || row >= kMenuListRows)
        return {};
    const int top = menuListRect().top() + row * menuListRowHeight()
                    + (menuListRowHeight() - kListIconSize) / 2;
    return {x, top, kListIconSize, kListIconSize};
}

constexpr QRect filmIconRect(int row)
{
    return listIconRect(filmIconX(), row);
}

constexpr QRect htmlIconRect(int row)
{
    return listIconRect(htmlIconX(), row);
}

// --- the picture buttons ----------------------------------------------------

// Right column: the four editions and the custom lessons, then the view mode.
// Bottom row: mock exam, configuration, print module, exit, confirm.
enum class MenuButton { LNormal, LCiclo, LSuperiori, LCqc, LCustom, SDom, Configura, Stampa, OK, ESCI, Esame };
inline constexpr int kMenuButtonCount = 11;

constexpr QRect menuButtonRect(MenuButton b)
{
    switch (b) {
    case MenuButton::LNormal: return {488, 46, 122, 44};
    case MenuButton::LCiclo: return {488, 96, 122, 44};
    case MenuButton::LSuperiori: return {488, 146, 122, 44};
    case MenuButton::LCqc: return {488, 196, 122, 44};
    case MenuButton::LCustom: return {488, 246, 122, 48};
    case MenuButton::SDom: return {488, 323, 122, 64};
    case MenuButton::Esame: return {112, 402, 80, 54};
    case MenuButton::Configura: return {200, 402, 100, 54};
    case MenuButton::Stampa: return {308, 402, 84, 54};
    case MenuButton::ESCI: return {400, 402, 80, 54};
    case MenuButton::OK: return {488, 402, 122, 54};
    }
    return {};
}

// The pictures of a menu button (see ButtonArt). For the edition buttons the
// pressed picture is also the "current edition" look, so it stands out in
// amber. SDom gets the look of the "both" mode.
ButtonArt menuButtonArt(MenuButton b);

// The three pictures of TastoSDom, one per view mode.
ButtonArt viewModeArt(ViewMode mode);

// --- the groups -------------------------------------------------------------

// Each group has its own colour, dark enough for white captions. Tags outside
// 1..10 get a neutral grey.
QColor groupColour(int tag);

// A group button: the letter big in a white badge, the group's title beside
// it (wrapped to two lines, shrunk and then elided when long). Drawn over the
// menu background at the button's place; `locked` is the greyed look of a
// group that the current edition does not offer. An invalid tag gives empty
// pictures.
ButtonArt groupButtonArt(int tag, const QString& letter, const QString& title);

// The header of an open group (groupHeadRect's size): the group's letter and
// title on its colour, with a return arrow that invites going back to the
// group buttons. An invalid tag gives an empty image.
QImage groupHeadPicture(int tag, const QString& letter, const QString& title);

// The two icons beside each list row (kListIconSize square, opaque, drawn on
// the card's colour): a film strip with a play mark, and a web page.
QImage filmIcon();
QImage htmlIcon();

// The picture behind the whole menu (ImgFondo), drawn once per art scale and
// shared by the window and every picture cut from it; drawMenuBackground()
// paints a new one every call.
QImage menuBackground();
QImage drawMenuBackground();

}  // namespace ziro
