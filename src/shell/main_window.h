#pragma once

#include "content/content_table.h"
#include "content/edition.h"
#include "content/ports.h"
#include "menus/banner.h"
#include "platform/dataset/data_table.h"
#include "shell/main_logic.h"

#include <QCursor>
#include <QHash>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QFrame;
class QMenu;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace ziro {

struct Config;
struct Globals;
class Dialogs;
class MachineStore;
class Reporter;
class SystemServices;
class TKXImage;
class TautoButton;
class SignViewer;
class Navigator;
class SignView;
class TSplash;
class TBackSubArg;
class WalkServices;

// The lesson screen and the hub of the program: 640 x 480, every other
// window of the program is laid over it. Its decisions are MainLogic's and
// the walk's; it owns the controls, routes clicks and keys, and reaches the
// other windows through the viewer and menu ports it is given.
class TBase : public QWidget,
              public MainShellPort,
              public MainViewPort,
              public MainActions,
              public EditionPort {
    Q_OBJECT
public:
    TBase(Globals& g, Config& config, MachineStore& store, Reporter& reporter,
          SystemServices& system, Dialogs& dialogs, TSplash* splash, MainViewerPorts& viewers,
          MenuPorts& menus);
    ~TBase() override;

    // Creation phases: lock keys, start-up checks, content table, message
    // hook, initial state. Each phase reports its own failure and start-up
    // goes on.
    void create();
    // Places and shows the window: centred on a larger screen, full screen on
    // a screen of 480 lines or less.
    void showMain();
    // Draws the window's artwork (background, picture buttons) at the
    // current art scale.
    void applyArt();

    // Sblocco (set once the activation has completed: menus and viewers
    // respond only then), SelectPos, SottoArgCorr and tmpEski.
    MainState state;
    QString Msg;

    // The key map, also fed by the windows laid over the lesson with the
    // keys they leave to it.
    void GestioneTastiera(int key, Qt::KeyboardModifiers modifiers);
    MainLogic& logic() { return *m_logic; }
    MainViewerPorts& viewers() { return m_viewers; }
    MenuPorts& menus() { return m_menus; }

    // The sub-topic banner, once it exists; its key releases go to the key
    // map.
    void attachBanner(TBackSubArg* banner);
    bool bannerVisible() const;
    // ScriveSubArgDeskTop: true writes and shows the banner (when the
    // settings and the moment allow), false closes it.
    void ScriveSubArgDeskTop(bool mode);
    // Fills the topic pop-up from the current edition's topic lists.
    void buildTopicPopup();

    // What the general menu asks of the lesson screen.
    void FiltraDB(const QString& da, const QString& a, bool conteggio);
    bool VeroSeVuoto(const QString& campo);
    // Clears the icon panels and shows the first record of the range; the
    // number panel then shows the sign (or `fallback` when there is none).
    void startTopic(const QString& fallback);
    // The step, pause and media buttons usable again, the book label shown.
    void enableLessonButtons();
    // Closes through the close query without asking again: the exit was
    // agreed elsewhere (the print module).
    void endProgram();

    // EditionPort
    bool openEditionTable(TModoQuiz edition, QString* error) override;
    QuestionBankLoader* bankLoader() override { return m_bankLoader; }
    void rebuildTopicLists() override { buildTopicPopup(); }
    // Loads the edition's question bank; none until the quiz exists.
    void setBankLoader(QuestionBankLoader* loader) { m_bankLoader = loader; }

    // MainShellPort
    bool buttonDisabled(MainButton b) const override;
    void showPressed(MainButton b) override;
    void showReleased(MainButton b) override;
    void beep() override;
    // Also MainViewPort's message.
    void message(const QString& text) override;
    void setBusyCursor(bool busy) override;
    void takeFocus() override;
    void openJumpField() override;
    void hideJumpField() override;
    void closeWindow() override;
    void setPopupEnabled(bool enabled) override;
    void wait(double seconds) override;
    void toggleBlackout() override;
    bool blackedOut() const;

    // MainViewPort
    void setQuizButton(bool enabled) override;
    void setFotoButton(bool enabled) override;
    void setVideoButton(bool enabled) override;
    void setLibroButton(bool enabled) override;
    void setBookLabel(const QString& page) override;
    void restoreStepButtons() override;
    void setProgressVisible(bool visible) override;
    void refresh() override;
    void SWfotoClick() override;
    void stepForward() override;
    void setSelectorColour(const QColor& colour) override;

    TautoButton* tasto(MainButton b) const { return Tasti[static_cast<size_t>(b)]; }
    SignViewer& signViewer() { return *m_sign; }
    Navigator& navigator() { return *m_nav; }
    // Shows the record at `recNo` of the current range, as the diagnostic
    // grid's double click asks.
    void showRecordAt(int recNo);

    // MainActions
    void SWavanti() override;
    void SWindietro() override;
    void AttivaModoTemp(const QString& from, const QString& to, bool counting) override;
    bool returnFromSideTrip() override;
    void moveSelection(bool down) override;
    void openSelectedPanel() override;
    void PLinkClick() override;
    void showCurrentSign(bool modoTxt) override;
    void clearIconLinking() override;
    void emptySignArea() override;

    // The outcome of the start-up checks, kept for the diagnostics.
    const QString& startupOutcome() const { return m_outcome; }
    bool activated() const { return m_activated; }

    TKXImage* Visore = nullptr;
    std::array<TKXImage*, 10> Monitor{};  // Monitor1 to Monitor10
    QFrame* Border = nullptr;
    QFrame* Selector = nullptr;
    QFrame* Display = nullptr;
    QLabel* LNumSegn = nullptr;
    QLineEdit* EJump = nullptr;
    QFrame* PLink = nullptr;
    QLabel* LIcone = nullptr;
    QLabel* LLibro = nullptr;
    // TastoMNG, TastoMNU, TastoL, TastoC, TastoR, TastoFOTO, TastoVIDEO,
    // TastoLIBRO, TastoQUIZ, in that order.
    std::array<TautoButton*, 9> Tasti{};
    // The content table: the current edition's file or a custom lesson.
    DataTable Table1;

    // The activation runs this long after the event loop starts.
    void setActivationDelay(int ms) { m_timer2.setInterval(ms); }
    // The topic pop-up: one submenu per topic group (filled from the topic
    // lists) and the icon menu as its last item.
    QMenu* PopUpArg = nullptr;

    // The content table could not be opened at start: the program ends.
    bool startupFailed() const { return m_startupFailed; }
    // The progress bar follows the table: 0 to the record count, at the
    // current record.
    void updateProgressBar();

Q_SIGNALS:
    void activatedOnce();
    // The settings could not be loaded at activation: the program ends
    // with `code`, without the exit question.
    void exitRequested(int code);
    // The settings file was read and applied at activation.
    void settingsApplied();
    // The key map is about to act on a released key (whether or not the key
    // has an action at this moment).
    void keyMapped(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool insideOverlay(const QWidget* w) const;
    // The controls that act on a click: the sign area, the panels, the
    // recall, the number panel and the book label.
    bool isClickControl(const QWidget* w) const;
    void controlClicked(QWidget* w);
    void syncWalkFields();
    void setButtonEnabled(MainButton b, bool enabled);
    void highlight(MainButton b);
    void clearHighlights();
    void buildControls();
    void wireButtons();
    bool runPhase(const char* message, const std::function<void()>& phase);
    void activate();

    Globals& m_g;
    Config& m_config;
    MachineStore& m_store;
    Reporter& m_reporter;
    SystemServices& m_system;
    Dialogs& m_dialogs;
    TSplash* m_splash;
    MainViewerPorts& m_viewers;
    MenuPorts& m_menus;
    QuestionBankLoader* m_bankLoader = nullptr;
    QTimer m_timer2;
    QHash<int, Qt::KeyboardModifiers> m_pressModifiers;
    QImage m_background;
    QHash<int, QCursor> m_cursors;
    QString m_outcome = QStringLiteral("OK");
    bool m_activated = false;
    bool m_startupFailed = false;
    bool m_popupAttached = false;
    bool m_popupEnabled = true;
    MissingFieldLog m_missingFields;
    std::unique_ptr<WalkServices> m_walkServices;
    std::unique_ptr<MainLogic> m_logic;
    // Black cover over everything, overlays included; made on first use.
    QWidget* m_blackout = nullptr;
    std::unique_ptr<SignView> m_signView;
    std::unique_ptr<SignViewer> m_sign;
    std::unique_ptr<Navigator> m_nav;
    TBackSubArg* m_banner = nullptr;
    // The topic pop-up as the banner reads it.
    TopicMenu m_topicMenu;
    QProgressBar* m_pbCustomBar = nullptr;
};

}  // namespace ziro
