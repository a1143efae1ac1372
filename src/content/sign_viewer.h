#pragma once

// The sign area of the main window: the record's sign in `Visore`, the ten
// icon panels beside it (integrated panel icons on the left, linked signs on
// the right), the sign number `Display`, the recall `PLink` and the keyboard
// `Selector`.
//
//   - Pure rules (no state): which file each picture comes from, where the
//     number goes, which panel the arrow keys select next.
//   - SignViewer: the behaviour, driving the main window's widgets through
//     SignView and the other windows through ViewerPorts.

#include "content/ports.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace ziro {

class DataTable;
class Reports;
struct Config;
struct Folders;
struct Globals;

// --- geometry, in the main window's 640 x 480 coordinates

inline constexpr int kPanelCount = 10;
inline constexpr QRect kVisoreFrame{99, 30, 440, 350};
// Signs whose record name began with "f" are shown larger, framed by Border.
inline constexpr QRect kVisoreFrameLarge{78, 25, 480, 360};
inline constexpr QRect kBorderRect{73, 20, 490, 370};
inline constexpr QPoint kDisplayHome{550, 349};
inline constexpr QPoint kPLinkPos{29, 349};
// The jump field sits inside Display, at this offset from its corner.
inline constexpr QPoint kJumpFieldOffset{6, 2};

// Panel 1..10 (`Monitor1`..`Monitor10`); an empty rect outside that range.
QRect panelRect(int panel);
// The selection frame around a panel: 4 pixels out on every side.
QRect selectorRect(int panel);

// --- pure rules

// The text with every character that is not a decimal digit removed.
QString SoloCifre(const QString& text);

// A sign name read as a number: only ASCII digits (at most nine) count. Any
// other name is not a number, so it is in no numeric range at all.
std::optional<int> signNumber(const QString& segnale);

// Whether an icon code names a linked sign by its prefix ("a", "A", "n", "N").
bool hasLinkPrefix(const QString& code);
// The code without one leading linked-sign letter.
QString withoutLinkPrefix(const QString& code);

// A picture file to look for. `plain` is false when a code from the record
// is not a plain name: such a name is never looked up, only reported.
struct PictureName {
    QString folder;
    QString name;
    bool plain = true;

    QString path() const { return folder + name; }
    bool operator==(const PictureName&) const = default;
};

// The sign folder: the named-sign pictures (DirPicSgt) or the plain ones.
QString signFolder(const Folders& dirs, bool named);
// The record's sign `figura` (already through the pictogram rule).
PictureName recordSignFile(const Folders& dirs, bool named, const QString& figura);
// Panel icon: "I" + code without its linked-sign letter + ".KXB".
PictureName panelIconFile(const Folders& dirs, const QString& code);
// The few linked-sign codes that point at another picture for one sign.
QString substituteLinkedCode(const QString& segnale, const QString& code);

// The files that may show the linked item of panel `quale` (code `code`),
// best first. Empty when the code has nothing to show large (an empty code,
// or a left-panel icon that is not an integrated panel part). When none of
// them exists, the last one is the one to report.
std::vector<PictureName> linkedItemFiles(const Folders& dirs, bool named,
                                         const QString& segnale, const QString& code,
                                         int quale);

// Where the sign number goes for a sign and its record's `Icona10`.
struct DisplayPlacement {
    bool visible = false;
    QPoint pos;
    QString text;
    bool operator==(const DisplayPlacement&) const = default;
};
DisplayPlacement displayPlacement(const QString& segnale, const QString& icona10);

// The panel the arrow keys select after `from` (0 = nothing selected):
// the next filled panel downward or upward, wrapping; 0 when none is filled.
int nextSelection(int from, bool downward, const std::array<bool, kPanelCount>& filled);

// --- the widgets, as the sign viewer drives them

class SignView {
public:
    virtual ~SignView() = default;

    // Loads the picture into `Visore` placed in `frame`, showing or hiding
    // `Border`. When it cannot be loaded, returns false and leaves Visore,
    // its frame and Border as they were.
    virtual bool setSignPicture(const QString& path, const QRect& frame, bool border) = 0;
    // Loads the picture into `Visore` in its current frame; false (nothing
    // changed) when it cannot be loaded.
    virtual bool setLinkedPicture(const QString& path) = 0;
    virtual void clearSignPicture() = 0;

    // Panels 1..10.
    virtual bool setPanelPicture(int panel, const QString& path) = 0;
    virtual void clearPanelPicture(int panel) = 0;

    // `Display` with `LNumSegn`.
    virtual void showDisplay(QPoint topLeft, const QString& text) = 0;
    virtual void hideDisplay() = 0;
    // `EJump` (stays hidden; only placed).
    virtual void placeJumpField(QPoint topLeft) = 0;
    // `PLink`.
    virtual void setRecallVisible(bool visible) = 0;
    // `Selector` around panel 1..10 (see selectorRect), or hidden.
    virtual void showSelector(int panel) = 0;
    virtual void hideSelector() = 0;

    virtual void repaint() = 0;
};

// The record's sign and its panels. Reads the current record's `Icona1` to
// `Icona10` from the content table and the record flags from the globals.
class SignViewer : public SignAreaPort {
public:
    SignViewer(Globals& globals, const Config& config, const DataTable& table,
               Reports& reporter, SignView& view, ViewerPorts& viewers,
               MainViewPort& mainView);

    void Visione(const QString& figura, bool flgIcone, bool modoTxt) override;
    void CancellaIcone() override;
    // Empties Visore (a record without a sign).
    void emptySignArea() override;

    void DisegnaIcone();
    // Shows panel `quale`'s linked item large in the sign area.
    void SettaSegnaliIcone(int quale);
    // Up and down keys: SpostaSelezione(SelectPos(), downward).
    void SpostaSelezione(int from, bool downward);
    // Enter: shows the selected panel's item; false when nothing is selected.
    bool confirmSelection();

    void MonitorClick(int panel);
    // Also the key "I".
    void PLinkClick();
    void VisoreClick();

    int SelectPos() const { return m_selectPos; }

private:
    QString iconCode(int panel) const;
    void placeDisplay();

    Globals& m_g;
    const Config& m_config;
    const DataTable& m_table;
    Reports& m_reporter;
    SignView& m_view;
    ViewerPorts& m_viewers;
    MainViewPort& m_main;

    int m_selectPos = 0;
    QPoint m_displayPos = kDisplayHome;
    // Which sign set the sign on show came from (none yet: unknown); a click
    // on the sign area switches to the other one.
    std::optional<bool> m_shownFromNamed;
};

}  // namespace ziro
