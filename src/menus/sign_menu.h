#pragma once

// The sign category menu's logic, apart from its window: the icon grid and
// its hot spots, the two layouts of tags, the category tabs, the keys, the
// quiz marks of the signs, the start position and what confirming a sign
// does to the lesson. The window paints and forwards input; everything it
// decides comes from here, so it runs without a display.
//
// Hot spots are numbered 1..560 in rows of 7 from the top left. The menu's
// key limits and fixed scrolls are stated on its "component" numbers, the
// hot spot's number + 6, and are kept in that form here.

#include "base/globals.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <bitset>
#include <optional>

namespace ziro {

inline constexpr int kSignHotspots = 560;
inline constexpr int kSignColumns = 7;
inline constexpr int kSignRows = 80;
inline constexpr int kSignCellWidth = 83;
inline constexpr int kSignCellHeight = 77;
inline constexpr int kSignRowStep = 80;
inline constexpr int kSignPictureWidth = 611;
inline constexpr int kSignPictureHeight = 6405;
inline constexpr int kSignViewWidth = 630;
inline constexpr int kSignViewHeight = 324;
inline constexpr int kSignPageStep = 320;
inline constexpr int kSignCategories = 14;
inline constexpr int kSignTabWidth = 44;
inline constexpr int kSignTabHeight = 40;
inline constexpr int kSignFlagCount = 1000;
inline constexpr int kComponentOffset = 6;

struct SignCategory {
    const char* caption;
    int firstSign;
};
const std::array<SignCategory, kSignCategories>& signCategories();

enum class SignLayout { Road, Cqc };
// Editions AM, A-B and C-D-E share the road picture; CQC has its own.
SignLayout signLayoutFor(int edition);
QString signMenuPictureName(SignLayout layout);
// The tag of hot spot k (1..560) in a layout: a sign number, the negated
// first sign of a category on its heading icon, or 0 for an empty cell.
int signTag(SignLayout layout, int k);
const std::array<int, kSignHotspots>& signTags(SignLayout layout);

// Geometry in the coordinates of the tall picture.
QRect signHotspotRect(int k);
// The hot spot under a point of the picture; 0 between cells or outside.
int signHotspotAt(QPoint p);
// The selection frame of hot spot k.
QRect signSelectorRect(int k);

// The scroll position that shows the band of a component, before the
// scroll range limits it.
int signBandScroll(int component);
// The fixed scroll some headings take when their tab is pressed.
std::optional<int> signHeadingScroll(int component);
// The tab under x pixels of a strip `stripWidth` wide; nullopt near the
// strip's ends. Always a valid tab.
std::optional<int> signTabFromX(int x, int stripWidth);
// The category whose heading or icons hold hot spot k (by heading order).
int signCategoryOfHotspot(SignLayout layout, int k);

enum class MenuKey { Left, Right, Up, Down };
// The hot spot a key moves to from `k`; nullopt when the key does nothing
// there. A move never lands on an empty cell.
std::optional<int> signKeyMove(SignLayout layout, int k, MenuKey key);

// The first hot spot whose tag is the typed number, compared as a number
// ("093" finds 93; "-93" finds the heading of 93); nullopt when none.
std::optional<int> findSignHotspot(SignLayout layout, const QString& typed);
// Where finding falls back to: the icon of sign 1.
inline constexpr int kSignFallbackHotspot = 2;

// Which signs have quiz statements, by sign number.
struct QuestionFlags {
    std::bitset<kSignFlagCount> flags;
    int badNames = 0;      // records whose sign name is not a number
    QString firstBadName;  // the first of them, for the message
    bool failed = false;   // the file could not be read: no marks beyond A-B's
    bool has(int sign) const { return sign > 0 && sign < kSignFlagCount && flags.test(size_t(sign)); }
};
// Reads every record of a content file, apart from the main window's table
// (its cursor and range are left alone). A sign keeps its mark once any
// record of it has a statement; a record whose sign name is not a number is
// counted and skipped. A-B marks 695 to 698 too. `error` says why when
// `failed` is set.
QuestionFlags readQuestionFlags(const QString& path, int edition, QString* error = nullptr);
// The message for the records skipped; empty when none were.
QString questionFlagsMessage(const QuestionFlags& flags);

// Start position when the menu comes up.
enum class MenuStart { First, Last, Current };
MenuStart menuStartFor(int menuIconeSetting);

// The text of the sign to select at activation: the number already in the
// field (Last), the sign on show (Current), else "1".
QString signStartText(MenuStart start, const QString& fieldText, const QString& currentSign);

// What the sign menu asks of the lesson screen and the other windows when
// a sign is confirmed.
class SignMenuHost {
public:
    virtual ~SignMenuHost() = default;
    // The photo viewer, the film players, the quiz, the crossroads' siren
    // and film, the HTML viewer.
    virtual void closeViewersForJump() {}
    virtual void resetPhotoIndex() {}
    virtual void AttivaModoTemp(const QString& from, const QString& to, bool count)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
        Q_UNUSED(count);
    }
    virtual void FiltraDB(const QString& from, const QString& to, bool count)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
        Q_UNUSED(count);
    }
    // 0 nothing (reported), 1 a record, 2 only the sign picture exists.
    virtual int SpostaSuRecord(const QString& field, const QString& value, bool show)
    {
        Q_UNUSED(field);
        Q_UNUSED(value);
        Q_UNUSED(show);
        return 0;
    }
    virtual QString currentField(const QString& field) const
    {
        Q_UNUSED(field);
        return {};
    }
    // The current record's number becomes the walk's question number.
    virtual void takeRecordAsQuestionNumber() {}
    virtual void closeQuiz() {}
    // The sign picture alone in the sign area, panels cleared, the number
    // display showing `number` when it is below 999 (0: hidden), the four
    // media buttons off.
    virtual void showSignAlone(const QString& sign, int number)
    {
        Q_UNUSED(sign);
        Q_UNUSED(number);
    }
    // Moves the content table to the first record whose sign name begins
    // with `prefix`; false when there is none.
    virtual bool moveToSignPrefix(const QString& prefix)
    {
        Q_UNUSED(prefix);
        return false;
    }
    virtual void closeMenu() {}
    // The menu was left without a choice: a crossroads exercise under it
    // is rewound and drawn again.
    virtual void menuLeft() {}
};

enum class SignConfirmOutcome { Nothing, StayOpen, Record, PictureAlone };

// The menu's selection and its confirm.
class SignMenu {
public:
    SignMenu(Globals& g, SignMenuHost& host);

    SignLayout layout() const { return m_layout; }
    void setLayout(SignLayout layout) { m_layout = layout; }

    int current() const { return m_current; }
    const QString& select() const { return m_select; }
    void setSelect(const QString& s) { m_select = s; }
    // Selects hot spot k: an empty cell is refused (false).
    bool selectHotspot(int k);
    // Finds the typed number and selects its icon, or the icon of sign 1.
    // True when the number was found.
    bool findAndSelect(const QString& typed);
    // Key moves; false when the key did nothing.
    bool key(MenuKey key);
    // The tab press: the category's heading first, the category's first
    // sign confirmed when the heading is already selected. True when it
    // asks for a confirm.
    bool tabPressed(int tab);

    SignConfirmOutcome confirm(bool fromPopup);
    void exit() { m_host.menuLeft(); }

private:
    Globals& m_g;
    SignMenuHost& m_host;
    SignLayout m_layout = SignLayout::Road;
    int m_current = kSignFallbackHotspot;
    QString m_select = QStringLiteral("1");
};

}  // namespace ziro
