#pragma once

#include "base/globals.h"
#include "menus/topic_list.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace ziro {

// The sub-topic banner's logic: what it says, in which colour, when it may
// appear and where. The window only paints what these return.

// How long the banner stays up.
inline constexpr int kBannerShowMs = 2500;

// Longer texts are cut to this many characters and get " ..." appended.
inline constexpr int kBannerMaxChars = 90;

// The topic pop-up as the banner reads it: one submenu per chapter, in menu
// order, each captioned with the chapter title. Its first item is
// "Intero argomento" (hint: the chapter letter); the others are topics
// (hint: the topic code).
struct TopicMenuGroup {
    QChar letter;  // "A" to "J", or "L"
    QString caption;
    QVector<TopicMenuItem> items;
};

using TopicMenu = QVector<TopicMenuGroup>;

// The banner's view of the pop-up that the topic lists build.
TopicMenu bannerMenu(const TopicPopup& popup);

// The chapter letter's group index: letter - 'A', with "L" counting as 9.
int bannerGroupIndex(QChar letter);

// The fill colour of group `g` in `edition`; nullopt leaves the colour as it
// was (g outside 0 to 9, or no edition column).
std::optional<QColor> bannerColour(int g, TModoQuiz edition);

// The submenu's items folded into lines: consecutive items sharing a
// non-empty hint make one line (at most three), their trimmed captions
// joined by a blank.
QStringList bannerLines(const QVector<TopicMenuItem>& items);

// First letter a to z upper-cased; more than kBannerMaxChars characters are
// cut to that many and " ..." is appended.
QString cutBannerText(QString text);

struct BannerContent {
    QString text;
    std::optional<QColor> colour;  // nullopt: keep the current colour
};

// What the banner says for the current topic `sottoArgCorr`. The chapter's
// submenu is found by its letter rather than by its position, because
// editions skip letters (AM has no H); a chapter missing from the menu, or
// a submenu without items, keeps the chapter title from `titoliGruppi`.
// nullopt when the topic number (second and third characters) is not a
// number: the caller reports "Errore su scrittura argomento.".
std::optional<BannerContent> bannerContent(const QString& sottoArgCorr, TModoQuiz edition,
                                           const TopicMenu& menu,
                                           const std::array<QString, 10>& titoliGruppi);

// What decides whether a request to show the banner shows it.
struct BannerState {
    bool recuperoOut = false;         // "Recupero out" setting
    bool subArgStart = false;         // "SubArg start" setting
    bool bannerVisible = false;
    bool generalMenuVisible = false;
    bool custom = false;              // a custom lesson is current
};

// Whether ScriveSubArgDeskTop(`mode`) writes and shows the banner; when
// false it closes it.
bool bannerMayShow(bool mode, const BannerState& state);

// The banner's top left over a main window at `mainGeometry`.
QPoint bannerTopLeft(const QRect& mainGeometry, const QSize& bannerSize);

// The label's place inside a banner of `bannerWidth`.
QRect bannerLabelRect(int bannerWidth, int labelHeight);

// The rounded strip's height for a fitted text height, the label being at
// `labelTop`.
int bannerShapeHeight(int fittedTextHeight, int labelTop = 8);

}  // namespace ziro
