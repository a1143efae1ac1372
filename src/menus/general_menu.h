#pragma once

// The general menu's decisions, apart from its widgets: the edition and
// group buttons, the sub-topic list, the OK action with its checks, the view
// mode, the configuration and print module buttons, and the keyboard walk
// over the buttons. Everything outside the menu is reached through
// GeneralMenuPort, so the whole menu runs (and is tested) without a display.

#include "base/globals.h"
#include "content/edition.h"
#include "menus/topic_list.h"
#include "viewers/film.h"

#include <QString>
#include <Qt>

#include <optional>
#include <vector>

namespace ziro {

struct Config;
class Reports;

// ---------------------------------------------------------------------------
// View mode

// Which of a record's sign and quiz block the lesson shows.
enum class ViewMode { QuestionsOnly, SignsOnly, Both };

ViewMode viewModeOf(bool passSegnale, bool passDomanda);
// The view-mode button's cycle: questions only, signs only, both, and round.
ViewMode nextViewMode(ViewMode mode);

// ---------------------------------------------------------------------------
// OK decisions

// Which fields are empty in every record of the chosen range.
struct TopicContent {
    bool noFoto = false;
    bool noVideo = false;
    bool noLibro = false;
    bool noDomanda = false;
    bool noSegnale = false;
};

enum class OkOutcome {
    Start,              // the topic starts
    PhotoMode,          // it starts in photo mode: photographs only
    RefuseEmpty,        // nothing at all to show
    RefuseNoSigns,      // signs only, and the topic has none
    RefuseNoQuestions,  // questions only, and the topic has none
};

OkOutcome decideOk(const TopicContent& content, bool passSegnale, bool passDomanda);
// The second line of the refusal ("Argomento vuoto" is the first); empty
// for the outcomes that start.
QString refusalText(OkOutcome outcome);

// What the chosen topic changes beyond the filter: photo mode for some
// groups, and the number panel for groups J and E.
struct SpecificSettings {
    std::optional<bool> soloFoto;  // nullopt: left as it is
    QString numberPanel;           // empty: left as it is
};

// `group` is the letter of the group whose list is loaded (empty when none);
// `row` the chosen list row (< 0 when none was chosen); `title` the current
// topic title.
SpecificSettings settaggiSpecifici(TModoQuiz edition, const QString& group, int row,
                                   const QString& title, const QString& titleJ,
                                   const QString& titleE);

// What a row of the sub-topic list shows: the line up to its first marked
// field (film, group code and HTML page have icons or no use on screen).
QString topicRowText(const TopicLine& line);

// ---------------------------------------------------------------------------
// Buttons and keys

// The menu's function buttons by their keyboard number (ActionFunction).
enum class MenuFunction {
    EditionAB = 1,
    EditionAM = 2,
    EditionCD = 3,
    EditionCQ = 4,
    Custom = 5,
    ViewMode = 6,
    Configure = 7,
    Print = 8,
    Exam = 9,
};
inline constexpr int kMenuFunctionCount = 9;

// Whether group button `tag` (1..10) does nothing in `edition`: group H in
// AM, group J in C-D-E.
bool groupIgnored(TModoQuiz edition, int tag);

// The keyboard selection: mode 1 walks the group buttons (SelectBand, 0 for
// none), mode 2 the function buttons (SelFunction 1..9).
struct KeySelection {
    int SelKeyMode = 1;
    int SelFunction = 1;
    int SelectBand = 0;
    bool operator==(const KeySelection&) const = default;
};

// Moves the selection for an arrow key or Tab. The group buttons sit in two
// columns of five (1-5 left, 6-10 right): Up and Down walk a column, Left
// and Right change column, Tab moves to the function buttons and back.
// Buttons the edition ignores are stepped over. Other keys change nothing.
KeySelection moveKeySelection(KeySelection sel, int key, TModoQuiz edition);

// ---------------------------------------------------------------------------
// The menu's own window: what it draws and how it closes.

class GeneralMenuView {
public:
    virtual ~GeneralMenuView() = default;
    virtual void closeMenu() {}
    // The menu's looks changed (lists, buttons, the panel): redraw.
    virtual void refreshMenu() {}
    // The pressed look of a function button run by key (ActionFunction).
    virtual void showFunctionPressed(MenuFunction f) { Q_UNUSED(f); }
};

// The rest of the program, as the menu sees it. Every member does nothing
// (or answers the harmless value, and false for what it cannot do) until the
// window behind it exists.
class GeneralMenuPort : public EditionPort {
public:
    // The walk.
    virtual void FiltraDB(const QString& da, const QString& a, bool conteggio) = 0;
    virtual bool VeroSeVuoto(const QString& campo) = 0;
    // Clears the icon panels and shows the first record of the range; the
    // number panel then shows `g.Segnale` (or `fallback` when there is none).
    virtual void startTopic(const QString& fallback) { Q_UNUSED(fallback); }

    // Other windows.
    virtual void closeViewers() {}
    virtual void enableMainButtons() {}
    virtual bool lessonListVisible() const { return false; }
    virtual void showLessonList() {}
    virtual void showConfiguration() {}
    // Draws a mock exam and shows it over the menu; false (reported by the
    // exam itself) when none can be drawn.
    virtual bool openExam() { return false; }
    // Closes the main window; its close query asks the exit question.
    virtual void closeMainWindow() {}
    // Closes the main window through its close path, without asking again.
    virtual void endProgram() {}
    // Opens and starts a film; false with `error` set when it cannot.
    virtual bool playFilm(const FilmRequest& request, QString* error);
    virtual void openHtml(const QString& page) { Q_UNUSED(page); }
    // Starts an external program; false with `error` set when it could not.
    // By default a module built for this system starts as a program, and
    // anything else is handed to the desktop, which knows what opens it.
    virtual bool launch(const QString& program, QString* error);
    // "Solo segnali" and "Solo domande" to the settings file.
    virtual void saveViewMode() {}
    virtual void beep() {}
};

// ---------------------------------------------------------------------------

class GeneralMenu {
public:
    GeneralMenu(Globals& g, Config& config, Reports& reporter, GeneralMenuView& view,
                GeneralMenuPort& port);

    // The menu becomes active (shown).
    void activate();

    // The edition buttons. Returns whether the edition changed.
    bool editionClicked(TModoQuiz edition);
    // The custom lessons button.
    void customClicked();
    // Group button `tag` (1..10).
    void groupClicked(int tag);
    // A list row chosen by click or Enter.
    void listClicked(int row);
    // The film and HTML icons of list row `row`.
    void filmClicked(int row);
    void htmlClicked(int row);
    // OKClick. `selectedRow` is the list's current row (-1 none).
    void TastoOK(int selectedRow = -1);
    // `fromClick`: the teacher pressed the button (the settings follow);
    // false when the settings themselves ask for the cycle.
    void viewModeClicked(bool fromClick);
    void configureClicked();
    void printClicked();
    void examClicked();
    void ArgomentoTesta();
    void ResettaMenu();
    // The keyboard numbers of the function buttons (1..9).
    void ActionFunction(int selezione);

    // A key pressed while the menu has the focus (and the list does not
    // take it). Returns whether the menu used it.
    bool keyDown(int key, Qt::KeyboardModifiers mods);

    // State read by the window.
    const std::vector<TopicLine>& rows() const { return m_rows; }
    bool groupPanelShown() const { return !m_listLoaded; }
    int loadedGroup() const { return m_group; }  // tag, 0 none
    QString loadedLetter() const;
    int SelezionatoML() const { return m_selezionatoML; }
    // The row the list shows selected (-1 none).
    int listSelection() const { return m_listSelection; }
    void setListSelection(int row) { m_listSelection = row; }
    bool Abilita() const { return m_abilita; }
    void setAbilita(bool on) { m_abilita = on; }
    TModoQuiz pressedEdition() const { return m_pressedEdition; }
    ViewMode viewMode() const;
    const KeySelection& keySelection() const { return m_keys; }
    // The film request of a row; nullopt when the row has no film.
    std::optional<FilmRequest> filmFor(int row) const;
    // The print module's path.
    QString printModulePath() const;

private:
    bool rowValid(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }
    void debug(const QString& contesto, const QString& stringa);

    Globals& m_g;
    Config& m_config;
    Reports& m_reporter;
    GeneralMenuView& m_view;
    GeneralMenuPort& m_port;
    std::vector<TopicLine> m_rows;
    bool m_listLoaded = false;
    int m_group = 0;
    QString m_groupLetter;
    int m_selezionatoML = -2;
    int m_listSelection = -1;
    bool m_abilita = true;
    TModoQuiz m_pressedEdition = TModoQuiz::mqAB;
    KeySelection m_keys;
    // The group (and list row, -1 none) whose choice in the menu is being
    // started; unset for a range chosen elsewhere.
    struct Choice {
        QString group;
        int row = -1;
    };
    std::optional<Choice> m_choice;
};

}  // namespace ziro
