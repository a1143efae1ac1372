#pragma once

// The main window's decisions, apart from its widgets: the key map, the
// button actions and their pressed look, the highlight chain, the menu keys,
// the topic pop-up, the viewer openers and the close query. Everything the
// window shows or other windows do is reached through the ports below, so
// the whole hub runs (and is tested) without a display.

#include "base/globals.h"
#include "content/ports.h"
#include "shell/artwork.h"
#include "viewers/film.h"

#include <QString>
#include <Qt>

#include <array>
#include <optional>
#include <vector>

class QObject;
class QRegularExpression;
class QValidator;

namespace ziro {

class DataTable;
class Reporter;
struct Config;

// ---------------------------------------------------------------------------
// Buttons and their highlight chain

// The nine picture buttons along the bottom, left to right.
inline constexpr std::array<MainButton, 9> kMainButtons = {
    MainButton::MNG,  MainButton::MNU,   MainButton::L,     MainButton::C,    MainButton::R,
    MainButton::FOTO, MainButton::VIDEO, MainButton::LIBRO, MainButton::QUIZ};

// The button whose pressed picture an action shows; none for codes that do
// nothing (4 and anything outside 1..9).
std::optional<MainButton> buttonForAction(int selezione);

// The buttons that go dark when `b` lights up. The book label counts as the
// book button.
std::vector<MainButton> highlightNeighbours(MainButton b);

// What moving over a button does: it lights (unless shown disabled) and its
// neighbours go dark either way. Moving over the bottom strip or the
// background switches off every button of kMainButtons.
struct HighlightChange {
    std::optional<MainButton> lit;
    std::vector<MainButton> off;
};
HighlightChange highlightOnHover(MainButton b, bool disabled);

// ---------------------------------------------------------------------------
// Key map

enum class KeyCommand {
    ActionFunction,     // ActionFunction(selezione)
    GeneralMenu,        // TastoMNGClick
    SelectionUp,        // previous filled panel
    SelectionDown,      // next filled panel
    ToggleHtml,         // the record's HTML page, or close the open one
    ShowBanner,         // sub-topic banner
    RecallIcons,        // PLink click
    ConfigSecondPage,   // configuration window on its second page
    OpenJumpField,      // Display click
    DebugOn,            // debug mode
    OpenSelectedPanel,  // Enter; acts only while SelectPos > 0
    IconMenuRightClick, // as a right press on TastoMNU
    ToggleBlackout,     // the presentation goes black, or comes back
    OpenExam,           // the mock exam on the current bank
};

struct KeyAction {
    KeyCommand command;
    int selezione = 0;  // for ActionFunction
    bool operator==(const KeyAction&) const = default;
};

class KeyMap {
public:
    // Whether the key comes from the numeric pad as the map counts it:
    // "/", "*", "-", "+", the digits and the decimal key (".", "," on
    // Italian layouts, Delete with NumLock off), all with the keypad
    // modifier.
    static bool isKeypad(int key, Qt::KeyboardModifiers mods);

    // The actions of one key release, in the order to run them. `mods` are
    // the modifiers held when the key went down. Keypad keys count only
    // while the jump field lacks the focus, since it takes typed digits;
    // Enter in the jump field belongs to the field. The letters "A", "I",
    // "S" count wherever they are typed. A presenter clicker's Page Down
    // and Page Up step like Right and Left; its "B" and "." black the
    // presentation out, except while the jump field takes typed names.
    // "E" opens the mock exam, likewise outside the jump field.
    // The caller drops auto-repeat
    // releases: a held key acts once.
    static std::vector<KeyAction> decode(int key, Qt::KeyboardModifiers mods, bool ejumpFocused,
                                         bool errorWindowVisible);
};

// ---------------------------------------------------------------------------
// Jump field

// The sign names the jump field accepts: letters and digits (a leading "f"
// included), at most five, the width of the record's sign name. The pattern
// admits the empty text so the field can be edited freely.
QRegularExpression jumpFieldPattern();
QValidator* makeJumpValidator(QObject* parent);
// A text the jump may look up: one to five letters or digits.
bool isJumpText(const QString& text);

// ---------------------------------------------------------------------------
// Ports

// The main window's own controls.
class MainShellPort {
public:
    virtual ~MainShellPort() = default;
    // The button is shown disabled (lock mode): no highlight, no action.
    virtual bool buttonDisabled(MainButton b) const { Q_UNUSED(b); return false; }
    // Highlight off, the picture on show kept as the spare one, the pressed
    // picture shown; then back to the resting picture.
    virtual void showPressed(MainButton b) { Q_UNUSED(b); }
    virtual void showReleased(MainButton b) { Q_UNUSED(b); }
    virtual void beep() {}
    // A plain message box.
    virtual void message(const QString& text) { Q_UNUSED(text); }
    virtual void setBusyCursor(bool busy) { Q_UNUSED(busy); }
    virtual void takeFocus() {}
    // Empties the jump field, shows it and gives it the focus.
    virtual void openJumpField() {}
    virtual void hideJumpField() {}
    virtual void setPopupEnabled(bool enabled) { Q_UNUSED(enabled); }
    // Closes the main window; the close query decides.
    virtual void closeWindow() {}
    // The pause of a pressed look, with window events flowing.
    virtual void wait(double seconds) { Q_UNUSED(seconds); }
    // Covers the whole presentation in black, or uncovers it: the class
    // looks at the teacher while the lesson stays where it was.
    virtual void toggleBlackout() {}
};

// The viewers, with what the main window needs beyond the walk's ports.
class MainViewerPorts : public ViewerPorts {
public:
    // The selected photograph of the previews back to 0.
    virtual void resetPreviewSelection() {}
    // Builds the preview list of the current record.
    virtual void preparePreviews() {}
    // Loads the quiz block in the mode the quiz button opens it. Until the
    // quiz tells the two apart, the walk's load stands in.
    virtual void loadQuizFromButton(const QString& domanda) { loadQuizBlock(domanda); }
    // Opens and starts the film; false with `error` set when it cannot.
    virtual bool playFilm(const FilmRequest& request, QString* error)
    {
        Q_UNUSED(request);
        if (error)
            *error = QStringLiteral("lettore dei filmati non disponibile");
        return false;
    }
    // Stops the player after a failed start.
    virtual void stopFilm() {}
    // The media bar's time line back to the start, its expand button up.
    virtual void resetMediaBar() {}
    virtual void refreshCrossroads() {}
    // The number of the crossroads on show; empty when none is.
    virtual QString crossroadsNumber() const { return {}; }
    // Draws and shows a mock exam; the exam reports why it cannot.
    virtual void openExam() {}
};

// Menus, accesses and the configuration window; each does nothing until the
// window behind it exists.
class MenuPorts {
public:
    virtual ~MenuPorts() = default;
    virtual bool generalMenuVisible() const { return false; }
    virtual void showGeneralMenu() {}
    // The general menu's OK action after a topic was chosen elsewhere.
    virtual void generalMenuOk() {}
    // Saves the current teacher's resume mark, leaving Custom and the
    // edition flags as they are.
    virtual void saveResumeMark() {}
    // Applies the pending mark when it is a loaded resume mark or the way
    // back into a custom lesson; false leaves it to the side trip's return.
    virtual bool applyPendingMark() { return false; }
    // The next showing of the sign category menu comes from the topic
    // pop-up: its confirm starts a side trip.
    virtual void setSignMenuFromPopup(bool fromPopup) { Q_UNUSED(fromPopup); }
    // Modal: the sign category menu loaded for `edition`; false when there
    // is none to show.
    virtual bool showSignCategoryMenu(TModoQuiz edition)
    {
        Q_UNUSED(edition);
        return false;
    }
    // Whether the vehicle menu exists to be shown: a quick trip to it
    // changes the lesson first, so it is asked before anything moves.
    virtual bool canShowVehicleMenu() const { return false; }
    // Modal: the vehicle menu, in its quick mode or its normal one; false
    // when there is none to show.
    virtual bool showVehicleMenu(bool quick)
    {
        Q_UNUSED(quick);
        return false;
    }
    virtual void showConfigSecondPage() {}
    // The configuration's debug and error tick boxes changed underneath.
    virtual void debugModeChanged() {}
    // The general menu's view-mode cycle, run by the settings rather than
    // a click.
    virtual void cycleViewMode() {}
    // The general menu's pictures follow the edition and the view mode.
    virtual void refreshGeneralMenu() {}
    // The configuration window's source table while that window is on show,
    // else null.
    virtual const DataTable* configSourceTable() const { return nullptr; }
    // Looks a typed sign name up through the sign category menu's search.
    virtual void searchSign(const QString& name) { Q_UNUSED(name); }
};

// The walk and the sign area.
class MainActions {
public:
    virtual ~MainActions() = default;
    virtual void SWavanti() {}
    virtual void SWindietro() {}
    virtual void moveSelection(bool down) { Q_UNUSED(down); }
    virtual void openSelectedPanel() {}
    virtual void PLinkClick() {}
    virtual void AttivaModoTemp(const QString& from, const QString& to, bool counting)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
        Q_UNUSED(counting);
    }
    // Returns from the pending side trip recorded in MdTemp; false when it
    // could not (the way back is then dropped).
    virtual bool returnFromSideTrip() { return false; }
    // Shows the current record's sign, with named-sign pictures or not.
    virtual void showCurrentSign(bool modoTxt) { Q_UNUSED(modoTxt); }
    // The sign area no longer shows a panel's linked item.
    virtual void clearIconLinking() {}
    virtual void emptySignArea() {}
};

// The window's fields that the logic reads and sets.
struct MainState {
    // The activation has completed: menus and viewers respond only now.
    bool Sblocco = false;
    int SelectPos = 0;       // icon panel selected by keyboard, 0 none
    QString SottoArgCorr;    // current topic code or filter start
    bool tmpEski = true;     // answer of the last confirmation
};

// ---------------------------------------------------------------------------

class MainLogic {
public:
    MainLogic(Globals& g, Config& config, Reporter& reporter, MainState& state,
              DataTable& table1, MainShellPort& shell, MainViewerPorts& viewers,
              MenuPorts& menus, MainActions& actions);

    // One key release (auto-repeats already dropped). Nothing but debug
    // mode responds before the activation.
    void GestioneTastiera(int key, Qt::KeyboardModifiers mods, bool ejumpFocused,
                          bool errorWindowVisible);

    // The button actions shared by keys and clicks. Returns whether the
    // action ran: not before the activation, not for a disabled button, not
    // for an unknown code, and not while another action runs (a key or
    // click arriving during the pressed look is ignored, never nested).
    bool ActionFunction(int selezione);
    bool actionRunning() const { return m_actionRunning; }

    // TastoL / TastoR released.
    void stepBack();
    void stepForward();

    // General menu key, Esc, F7.
    void TastoMNGClick();
    // Icon menu key, F8; `fromPopup` when the topic pop-up asked for it.
    void TastoMNUClick(bool fromPopup = false);
    void generalMenuRightPress();
    void iconMenuRightPress();
    // A right press on the sign number panel: the record's text.
    void displayRightPress();
    // A press on the pause button: the crossroads exercise plays on its own.
    void pauseButtonPressed();
    // A pop-up item chosen; `hint` is its hint.
    void popupChosen(const QString& hint);

    // `fromClick`: the teacher asked (key or button), not the walk.
    void SWfotoClick(bool fromClick);
    void SWvideoClick();
    void SWlibroClick();
    void SWquizClick();
    void PausaVideo();
    void toggleHtml();

    // Enter in the jump field.
    void jumpEntered(const QString& text);
    void setDebugMode();

    // The exit question; true for OK (also kept in tmpEski).
    bool EsciDalProgramma();
    // Whether the window may close. After endAtOnce() it always may, with
    // no question and nothing saved.
    bool closeQuery();
    // The program ends without asking (the settings could not be loaded).
    void endAtOnce() { m_endAtOnce = true; }
    // The exit was already agreed (the print module): the close runs its
    // usual steps without asking again.
    void exitConfirmed() { m_exitConfirmed = true; }

private:
    void run(const KeyAction& a);
    void step(bool forward);
    const DataTable& filmTable() const;

    Globals& m_g;
    Config& m_config;
    Reporter& m_reporter;
    MainState& m_st;
    DataTable& m_table1;
    MainShellPort& m_shell;
    MainViewerPorts& m_viewers;
    MenuPorts& m_menus;
    MainActions& m_actions;
    bool m_actionRunning = false;
    bool m_enterTaken = false;
    bool m_endAtOnce = false;
    bool m_exitConfirmed = false;
    // A step lets window events through; a second one must not start
    // inside it.
    bool m_stepRunning = false;
};

}  // namespace ziro
