#pragma once

#include "content/content_table.h"
#include "content/ports.h"
#include "menus/banner.h"
#include "shell/main_logic.h"
#include "platform/dataset/data_table.h"

#include <QCursor>
#include <QHash>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <functional>

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
class QuestionBankLoader;
class TMenuGen;
class TBackSubArg;
class GeneralMenuLink;

// The lesson screen and the hub of the program: 640 x 480, every other
// window of the program is laid over it.
class TBase : public QWidget,
              public MainShellPort,
              public MainViewPort,
              public MainActions {
    Q_OBJECT
public:
    TBase(Globals& g, Config& config, MachineStore& store, Reporter& reporter,
          SystemServices& system, Dialogs& dialogs, TSplash* splash);
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

    // The key map, also fed by the report window with the keys it does not
    // use itself.
    void GestioneTastiera(int key, Qt::KeyboardModifiers modifiers);
    MainLogic& logic() { return *m_logic; }
    // The viewers, menus and exercises as the hub reaches them; each later
    // window fills in its part.
    class ShellViewers : public MainViewerPorts {
    public:
        explicit ShellViewers(TBase& base) : m_base(base) {}
        bool bannerVisible() const override;
        void showBanner() override;
        void closeBanner() override;

    private:
        TBase& m_base;
    };
    ShellViewers viewers{*this};
    // The sub-topic banner, once it exists.
    void attachBanner(TBackSubArg* banner);
    // ScriveSubArgDeskTop: true writes and shows the banner (when the
    // settings and the moment allow), false closes it.
    void ScriveSubArgDeskTop(bool mode);
    // The menus as the key map and the walk reach them. The general menu is
    // attached once it exists; until then its OK action shows the first
    // record of the range just chosen.
    class ShellMenus : public MenuPorts {
    public:
        explicit ShellMenus(TBase& base) : m_base(base) {}
        bool generalMenuVisible() const override;
        void showGeneralMenu() override;
        void generalMenuOk() override;
        bool resumeSideTrip() override;

    private:
        TBase& m_base;
    };
    ShellMenus menus{*this};
    // Connects the general menu to the main window, the walk and the settings.
    void attachGeneralMenu(TMenuGen* menu);
    TMenuGen* generalMenu() const { return m_menuGen; }
    // Fills the topic pop-up from the current edition's topic lists.
    void buildTopicPopup();
    // Whether the report window is on show (keypad 7 is ignored then).
    std::function<bool()> errorWindowVisible;

    // MainShellPort
    bool buttonDisabled(MainButton b) const override;
    void showPressed(MainButton b) override;
    void showReleased(MainButton b) override;
    void beep() override;
    void message(const QString& text) override;
    void setBusyCursor(bool busy) override;
    void takeFocus() override;
    void openJumpField() override;
    void hideJumpField() override;
    void closeWindow() override;
    void setPopupEnabled(bool enabled) override;

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
    void moveSelection(bool down) override;
    void openSelectedPanel() override;
    void PLinkClick() override;
    void showCurrentSign(bool modoTxt) override;
    void emptySignArea() override;

    // The outcome of the start-up checks, kept for the diagnostics.
    const QString& startupOutcome() const { return m_outcome; }
    bool activated() const { return m_activated; }

    // Called when the activation cannot load the settings: the program ends.
    std::function<void(int)> requestExit;
    // Whether the general menu or the configuration window is on show.
    std::function<bool()> menuOrConfigVisible;

    TKXImage* Visore = nullptr;
    std::array<TKXImage*, 10> Monitor{};  // Monitor1 to Monitor10
    QFrame* Border = nullptr;
    QFrame* Selector = nullptr;
    QFrame* Display = nullptr;
    QLabel* LNumSegn = nullptr;
    QLineEdit* EJump = nullptr;
    QFrame* PLink = nullptr;
    QLabel* LIcone = nullptr;
    // TastoMNG, TastoMNU, TastoL, TastoC, TastoR, TastoFOTO, TastoVIDEO,
    // TastoLIBRO, TastoQUIZ, in that order.
    std::array<TautoButton*, 9> Tasti{};
    // The content table: the current edition's file or a custom lesson.
    DataTable Table1;
    // Loads the edition's question bank; none until the quiz exists.
    QuestionBankLoader* bankLoader = nullptr;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool insideOverlay(const QWidget* w) const;
    bool controlClicked(QWidget* w);
    void syncWalkFields();
    void setButtonEnabled(MainButton b, bool enabled);
    void highlight(MainButton b);
    void clearHighlights();
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
    std::unique_ptr<MainLogic> m_logic;
    std::unique_ptr<SignView> m_signView;
    std::unique_ptr<SignViewer> m_sign;
    std::unique_ptr<Navigator> m_nav;
    TMenuGen* m_menuGen = nullptr;
    TBackSubArg* m_banner = nullptr;
    // The topic pop-up as the banner reads it.
    TopicMenu m_topicMenu;
    std::unique_ptr<GeneralMenuLink> m_menuLink;
    friend class GeneralMenuLink;
    QProgressBar* m_pbCustomBar = nullptr;
    QLabel* m_lLibro = nullptr;
};

}  // namespace ziro
