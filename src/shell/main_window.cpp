#include "shell/main_window.h"

#include "authoring/topic_lists.h"
#include "base/attesa.h"
#include "base/dialogs.h"
#include "base/globals.h"
#include "config/settings.h"
#include "content/edition.h"
#include "content/navigator.h"
#include "content/sign_viewer.h"
#include "controls/auto_button_widget.h"
#include "controls/kx_image_widget.h"
#include "controls/overlay_widget.h"
#include "diag/reporter.h"
#include "menus/back_sub_arg_window.h"
#include "shell/artwork.h"
#include "shell/main_layout.h"
#include "shell/presentation_ui.h"
#include "shell/splash_window.h"
#include "shell/startup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>
#include <exception>

namespace ziro {

// The sign area and its panels as the sign viewer drives them.
class TBaseSignView : public SignView {
public:
    explicit TBaseSignView(TBase& base) : m_base(base) {}

    bool setSignPicture(const QString& path, const QRect& frame, bool border) override
    {
        TKXImage* v = m_base.Visore;
        const QRect oldFrame = v->frame();
        v->setFrame(frame);
        if (!v->setNomeKXB(path)) {
            v->setFrame(oldFrame);
            return false;
        }
        m_base.Border->setVisible(border);
        if (border)
            m_base.Border->lower();
        return true;
    }
    bool setLinkedPicture(const QString& path) override { return m_base.Visore->setNomeKXB(path); }
    void clearSignPicture() override { m_base.Visore->clear(); }
    bool setPanelPicture(int panel, const QString& path) override
    {
        return panel >= 1 && panel <= 10 && m_base.Monitor[size_t(panel - 1)]->setNomeKXB(path);
    }
    void clearPanelPicture(int panel) override
    {
        if (panel >= 1 && panel <= 10)
            m_base.Monitor[size_t(panel - 1)]->clear();
    }
    void showDisplay(QPoint topLeft, const QString& text) override
    {
        m_base.Display->move(topLeft);
        m_base.LNumSegn->setText(text);
        m_base.Display->show();
        m_base.Display->raise();
    }
    void hideDisplay() override { m_base.Display->hide(); }
    void placeJumpField(QPoint topLeft) override { m_base.EJump->move(topLeft); }
    void setRecallVisible(bool visible) override { m_base.PLink->setVisible(visible); }
    void showSelector(int panel) override
    {
        m_base.Selector->setGeometry(selectorRect(panel));
        m_base.Selector->show();
        m_base.Selector->raise();
        m_base.state.SelectPos = panel;
    }
    void hideSelector() override
    {
        m_base.Selector->hide();
        m_base.state.SelectPos = 0;
    }
    void repaint() override { m_base.update(); }

private:
    TBase& m_base;
};

namespace {

// What the walk asks of the machine: the system's beep and a wait that lets
// window events through.
class DesktopWalkServices : public WalkServices {
public:
    explicit DesktopWalkServices(SystemServices& system) : m_system(system) {}
    void beep() override { m_system.beep(); }
    void wait(double seconds) override { Attesa(seconds, true); }

private:
    SystemServices& m_system;
};

QString selectorStyle(const QColor& colour)
{
    return QStringLiteral("QFrame#Selector { border: 3px solid %1; background: transparent; }")
        .arg(colour.name());
}

}  // namespace

TBase::TBase(Globals& g, Config& config, MachineStore& store, Reporter& reporter,
             SystemServices& system, Dialogs& dialogs, TSplash* splash, MainViewerPorts& viewers,
             MenuPorts& menus)
    : QWidget(nullptr, Qt::FramelessWindowHint),
      m_g(g),
      m_config(config),
      m_store(store),
      m_reporter(reporter),
      m_system(system),
      m_dialogs(dialogs),
      m_splash(splash),
      m_viewers(viewers),
      m_menus(menus),
      m_missingFields(reporter)
{
    setObjectName(QStringLiteral("TBase"));
    setWindowTitle(QStringLiteral("Ziro"));
    setFixedSize(kMainWindowRect.size());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    qApp->installEventFilter(this);

    for (const int id : {kCursorGrab, kCursorFist, kCursorPointer}) {
        const CursorArt art = cursorArt(id);
        m_cursors.insert(id, QCursor(QPixmap::fromImage(art.image), art.hotSpot.x(), art.hotSpot.y()));
    }
    buildControls();

    m_timer2.setSingleShot(true);
    m_timer2.setInterval(3000);
    connect(&m_timer2, &QTimer::timeout, this, &TBase::activate);

    m_walkServices = std::make_unique<DesktopWalkServices>(m_system);
    m_logic = std::make_unique<MainLogic>(m_g, m_config, m_reporter, state, Table1, *this,
                                          m_viewers, m_menus, *this);
    m_signView = std::make_unique<TBaseSignView>(*this);
    m_sign = std::make_unique<SignViewer>(m_g, m_config, Table1, m_reporter, *m_signView,
                                          m_viewers, *this);
    m_nav = std::make_unique<Navigator>(m_g, m_config, m_reporter, Table1, m_viewers, *this,
                                        *m_sign, *m_walkServices);
    setSelectorColour(m_g.ColoreSelettore);
    EJump->setValidator(makeJumpValidator(EJump));
    connect(EJump, &QLineEdit::returnPressed, this, [this] { m_logic->jumpEntered(EJump->text()); });
    wireButtons();
}

TBase::~TBase() = default;

void TBase::buildControls()
{
    Border = new QFrame(this);
    Border->setObjectName(QStringLiteral("Border"));
    Border->setGeometry(kSignBorderRect);
    Border->setFrameShape(QFrame::Box);
    Border->setStyleSheet(QStringLiteral("QFrame#Border { border: 2px solid #40506e; background: white; }"));
    Border->hide();

    Visore = new TKXImage(this, kSignAreaRect);
    Visore->setObjectName(QStringLiteral("Visore"));
    Visore->setKeepRatio(false);
    Visore->setToolTip(QStringLiteral("Area segnali"));

    for (int i = 1; i <= 10; ++i) {
        auto* panel = new TKXImage(this, iconPanelRect(i));
        panel->setObjectName(QStringLiteral("Monitor%1").arg(i));
        panel->setToolTip(i <= 5 ? QStringLiteral("Area Icone pannelli integrati")
                                 : QStringLiteral("Area segnali associati"));
        Monitor[static_cast<size_t>(i - 1)] = panel;
    }

    Selector = new QFrame(this);
    Selector->setObjectName(QStringLiteral("Selector"));
    Selector->resize(selectorRect(1).size());
    Selector->setAttribute(Qt::WA_TransparentForMouseEvents);
    Selector->hide();

    Display = new QFrame(this);
    Display->setObjectName(QStringLiteral("Display"));
    Display->setGeometry(kDisplayRect);
    Display->setStyleSheet(QStringLiteral(
        "QFrame#Display { background: #10202e; border: 1px solid #5a6a80; border-radius: 4px; }"));
    Display->setToolTip(QStringLiteral(
        "Numero del segnale corrente/ Salto al numero di segnale inserito / Pannello note"));
    LNumSegn = new QLabel(Display);
    LNumSegn->setObjectName(QStringLiteral("LNumSegn"));
    LNumSegn->setGeometry(kNumberLabelRect);
    LNumSegn->setAlignment(Qt::AlignCenter);
    LNumSegn->setAttribute(Qt::WA_TransparentForMouseEvents);
    LNumSegn->setStyleSheet(QStringLiteral("color: #7cf07c; font-family: 'DSEG7 Classic', 'Digital'; font-size: 22px;"));
    Display->hide();

    EJump = new QLineEdit(this);
    EJump->setObjectName(QStringLiteral("EJump"));
    EJump->setFrame(false);
    EJump->setMaxLength(5);
    EJump->setGeometry(kJumpFieldRect);
    EJump->hide();

    PLink = new QFrame(this);
    PLink->setObjectName(QStringLiteral("PLink"));
    PLink->setGeometry(kRecallRect);
    PLink->setToolTip(QStringLiteral("Richiamo icone pannelli integrati / segnali associati"));
    LIcone = new QLabel(QStringLiteral("icone"), PLink);
    LIcone->setObjectName(QStringLiteral("LIcone"));
    LIcone->setGeometry(QRect(QPoint(0, 0), kRecallRect.size()));
    LIcone->setAlignment(Qt::AlignCenter);
    LIcone->setAttribute(Qt::WA_TransparentForMouseEvents);
    LIcone->setStyleSheet(QStringLiteral("color: grey;"));
    PLink->hide();

    struct ButtonInfo {
        MainButton which;
        const char* name;
        const char* hint;
    };
    const ButtonInfo buttons[] = {
        {MainButton::MNG, "TastoMNG", "Menu generale (F7)"},
        {MainButton::MNU, "TastoMNU", "Menu a icone (F8)"},
        {MainButton::L, "TastoL", "Indietro (Freccia sinistra)"},
        {MainButton::C, "TastoC", "Pausa filmati"},
        {MainButton::R, "TastoR", "Avanti (Freccia destra)"},
        {MainButton::FOTO, "TastoFOTO", "Mostra le fotografie (F9)"},
        {MainButton::VIDEO, "TastoVIDEO", "Visione dei filmati (F10)"},
        {MainButton::LIBRO, "TastoLIBRO", "Richiama le pagine del manuale A e B (F11)"},
        {MainButton::QUIZ, "TastoQUIZ", "Visualizza le domande quiz (F12)"},
    };
    for (const ButtonInfo& b : buttons) {
        auto* button = new TautoButton(this);
        button->setObjectName(QLatin1String(b.name));
        button->move(mainButtonRect(b.which).topLeft());
        button->setToolTip(QString::fromUtf8(b.hint));
        Tasti[static_cast<size_t>(b.which)] = button;
    }
    applyArt();

    LLibro = new QLabel(QStringLiteral("000"), this);
    LLibro->setObjectName(QStringLiteral("LLibro"));
    LLibro->setGeometry(kBookLabelRect);
    LLibro->setAlignment(Qt::AlignCenter);
    LLibro->setAutoFillBackground(true);  // the book label is opaque

    m_pbCustomBar = new QProgressBar(this);
    m_pbCustomBar->setObjectName(QStringLiteral("pbCustomBar"));
    m_pbCustomBar->setGeometry(kProgressBarRect);
    m_pbCustomBar->setTextVisible(false);

    PopUpArg = new QMenu(this);
    PopUpArg->setObjectName(QStringLiteral("PopUpArg"));
    QAction* icone = PopUpArg->addAction(QStringLiteral("Menu ICONE..."));
    icone->setData(QStringLiteral("ICONE"));
    connect(PopUpArg, &QMenu::triggered, this, [this](QAction* action) {
        m_logic->popupChosen(action->data().toString());
    });
}

void TBase::applyArt()
{
    m_background = mainBackground();
    for (MainButton b : kMainButtons) {
        const ButtonArt art = mainButtonArt(b);
        TautoButton* button = tasto(b);
        button->setBitMapUp(art.up);
        button->setBitMapDown(art.down);
        button->setBitMapAlt(art.alt);
        button->setBitMapMask(art.mask);
        button->setBitMapLocking(art.locking);
        button->setBitMapLocked(art.locked);
        button->setBitMapSpare(art.spare);
    }
    update();
}

// ------------------------------------------------------------ general menu

void TBase::FiltraDB(const QString& da, const QString& a, bool conteggio)
{
    m_nav->FiltraDB(da, a, conteggio);
    syncWalkFields();
}

bool TBase::VeroSeVuoto(const QString& campo)
{
    return m_nav->VeroSeVuoto(campo);
}

bool TBase::openEditionTable(TModoQuiz edition, QString* error)
{
    if (!switchContentTable(Table1, contentFilePath(m_g, edition), error))
        return false;
    m_missingFields.reset();
    updateProgressBar();
    return true;
}

void TBase::startTopic(const QString& fallback)
{
    m_sign->CancellaIcone();
    m_nav->Avvio(1);
    syncWalkFields();
    const QString& segnale = m_g.Segnale;
    if (!segnale.isEmpty() || !fallback.isEmpty())
        LNumSegn->setText(segnale.isEmpty() ? fallback : segnale);
    takeFocus();
}

void TBase::enableLessonButtons()
{
    for (MainButton b : {MainButton::L, MainButton::C, MainButton::R})
        setButtonEnabled(b, true);
    LLibro->show();
}

void TBase::endProgram()
{
    m_logic->exitConfirmed();
    close();
}

// ------------------------------------------------------------------ banner

void TBase::attachBanner(TBackSubArg* banner)
{
    m_banner = banner;
    connect(banner, &TBackSubArg::keyReleased, this, &TBase::GestioneTastiera);
}

bool TBase::bannerVisible() const
{
    return m_banner && m_banner->isVisible();
}

void TBase::ScriveSubArgDeskTop(bool mode)
{
    if (!m_banner)
        return;
    BannerState st;
    st.recuperoOut = m_config.CBJumpMark2;
    st.subArgStart = m_config.CBSubArg;
    st.bannerVisible = m_banner->isVisible();
    st.generalMenuVisible = m_menus.generalMenuVisible();
    st.custom = m_g.Custom;
    if (!m_banner->scriveSubArgDeskTop(mode, st, state.SottoArgCorr, m_g.Edizione, m_topicMenu,
                                       m_g.TitoliGruppi)) {
        m_system.beep();
        m_dialogs.message(TBackSubArg::errorText());
    }
}

void TBase::buildTopicPopup()
{
    const TopicLists lists = CaricaArgomenti(m_g, [this](const QString& context, const QString& name) {
        m_reporter.Emsg(ReportKind::LogOnly, context, name);
    });
    PopUpArg->clear();
    for (const TopicSubmenu& sub : lists.popup.submenus) {
        QMenu* group = PopUpArg->addMenu(sub.caption);
        for (const TopicMenuItem& item : sub.items)
            group->addAction(item.caption)->setData(item.hint);
    }
    PopUpArg->addSeparator();
    PopUpArg->addAction(lists.popup.last.caption)->setData(lists.popup.last.hint);
    m_topicMenu = bannerMenu(lists.popup);
}

void TBase::syncWalkFields()
{
    state.SottoArgCorr = m_nav->fields().SottoArgCorr;
}

void TBase::showRecordAt(int recNo)
{
    // Shown in place: stepping back and forward again would show the second
    // record when the first was clicked.
    if (!Table1.isOpen() || !Table1.setRecNo(recNo))
        return;
    m_nav->Avvio(0);
    syncWalkFields();
}

void TBase::SWavanti()
{
    m_nav->SWavanti();
    syncWalkFields();
}

void TBase::SWindietro()
{
    m_nav->SWindietro();
    syncWalkFields();
}

void TBase::AttivaModoTemp(const QString& from, const QString& to, bool counting)
{
    m_nav->AttivaModoTemp(from, to, counting);
    syncWalkFields();
}

bool TBase::returnFromSideTrip()
{
    const bool back = m_nav->returnFromSideTrip(*this);
    syncWalkFields();
    return back;
}

void TBase::stepForward()
{
    SWavanti();
}

void TBase::moveSelection(bool down)
{
    m_sign->SpostaSelezione(m_sign->SelectPos(), down);
}

void TBase::openSelectedPanel()
{
    m_sign->confirmSelection();
}

void TBase::PLinkClick()
{
    m_sign->PLinkClick();
}

void TBase::showCurrentSign(bool modoTxt)
{
    m_sign->Visione(m_g.Segnale, true, modoTxt);
}

void TBase::emptySignArea()
{
    m_sign->emptySignArea();
}

void TBase::clearIconLinking()
{
    m_g.VistaLink = false;
}

void TBase::setSelectorColour(const QColor& colour)
{
    Selector->setStyleSheet(selectorStyle(colour));
}

void TBase::wireButtons()
{
    for (MainButton b : kMainButtons) {
        TautoButton* button = tasto(b);
        connect(button, &TautoButton::onMouseMove, this, [this, b] { highlight(b); });
    }
    connect(tasto(MainButton::MNG), &TautoButton::onClick, this, [this] { m_logic->TastoMNGClick(); });
    connect(tasto(MainButton::MNU), &TautoButton::onClick, this, [this] { m_logic->TastoMNUClick(); });
    connect(tasto(MainButton::L), &TautoButton::onClick, this, [this] { m_logic->stepBack(); });
    connect(tasto(MainButton::R), &TautoButton::onClick, this, [this] { m_logic->stepForward(); });
    connect(tasto(MainButton::C), &TautoButton::onClick, this, [this] { m_logic->PausaVideo(); });
    connect(tasto(MainButton::FOTO), &TautoButton::onClick, this, [this] {
        if (!buttonDisabled(MainButton::FOTO))
            m_logic->SWfotoClick(true);
    });
    connect(tasto(MainButton::VIDEO), &TautoButton::onClick, this, [this] {
        if (!buttonDisabled(MainButton::VIDEO))
            m_logic->SWvideoClick();
    });
    connect(tasto(MainButton::LIBRO), &TautoButton::onClick, this, [this] {
        if (!buttonDisabled(MainButton::LIBRO))
            m_logic->SWlibroClick();
    });
    connect(tasto(MainButton::QUIZ), &TautoButton::onClick, this, [this] {
        if (!buttonDisabled(MainButton::QUIZ))
            m_logic->SWquizClick();
    });
    connect(tasto(MainButton::MNG), &TautoButton::onMouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                if (button == Qt::RightButton)
                    m_logic->generalMenuRightPress();
            });
    connect(tasto(MainButton::MNU), &TautoButton::onMouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                if (button == Qt::RightButton)
                    m_logic->iconMenuRightPress();
            });
    connect(tasto(MainButton::C), &TautoButton::onMouseDown, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { m_logic->pauseButtonPressed(); });
}

void TBase::highlight(MainButton b)
{
    const HighlightChange change = highlightOnHover(b, buttonDisabled(b));
    for (MainButton off : change.off)
        tasto(off)->setDisplayAlt(false);
    if (change.lit)
        tasto(*change.lit)->setDisplayAlt(true);
}

void TBase::clearHighlights()
{
    for (MainButton b : kMainButtons)
        tasto(b)->setDisplayAlt(false);
}

void TBase::mouseMoveEvent(QMouseEvent* event)
{
    // Moving over the background makes the topic pop-up available again.
    m_popupEnabled = true;
    // Over the background or the bottom strip no button stays lit.
    clearHighlights();
    QWidget::mouseMoveEvent(event);
}

bool TBase::buttonDisabled(MainButton b) const
{
    return tasto(b)->isDisabledLook();
}

void TBase::setButtonEnabled(MainButton b, bool enabled)
{
    tasto(b)->setDisabledLook(!enabled);
}

void TBase::showPressed(MainButton b)
{
    tasto(b)->showPressed();
}

void TBase::showReleased(MainButton b)
{
    tasto(b)->showReleased();
}

void TBase::beep()
{
    m_system.beep();
}

void TBase::message(const QString& text)
{
    m_dialogs.message(text);
}

void TBase::setBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TBase::takeFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void TBase::openJumpField()
{
    EJump->clear();
    EJump->show();
    EJump->raise();
    EJump->setFocus(Qt::OtherFocusReason);
}

void TBase::hideJumpField()
{
    EJump->hide();
}

void TBase::closeWindow()
{
    close();
}

void TBase::setPopupEnabled(bool enabled)
{
    m_popupEnabled = enabled;
}

void TBase::wait(double seconds)
{
    Attesa(seconds, true);
}

void TBase::toggleBlackout()
{
    if (!m_blackout) {
        m_blackout = new QWidget(this);
        m_blackout->setObjectName(QStringLiteral("Blackout"));
        m_blackout->setAutoFillBackground(true);
        QPalette black = m_blackout->palette();
        black.setColor(QPalette::Window, Qt::black);
        m_blackout->setPalette(black);
        // The focus stays where it was, so the same key brings the lesson back.
        m_blackout->setFocusPolicy(Qt::NoFocus);
        m_blackout->hide();
    }
    if (m_blackout->isVisible()) {
        m_blackout->hide();
        return;
    }
    m_blackout->setGeometry(rect());
    m_blackout->show();
    m_blackout->raise();
}

bool TBase::blackedOut() const
{
    return m_blackout && m_blackout->isVisible();
}

void TBase::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popupAttached || !m_popupEnabled || !state.Sblocco)
        return;
    // A right click on a window laid over the lesson is that window's.
    if (m_menus.generalMenuVisible() || insideOverlay(childAt(event->pos())))
        return;
    PopUpArg->popup(event->globalPos());
}

void TBase::setQuizButton(bool enabled)
{
    setButtonEnabled(MainButton::QUIZ, enabled);
}

void TBase::setFotoButton(bool enabled)
{
    setButtonEnabled(MainButton::FOTO, enabled);
}

void TBase::setVideoButton(bool enabled)
{
    setButtonEnabled(MainButton::VIDEO, enabled);
}

void TBase::setLibroButton(bool enabled)
{
    setButtonEnabled(MainButton::LIBRO, enabled);
}

void TBase::setBookLabel(const QString& page)
{
    LLibro->setText(page);
    LLibro->setVisible(!page.isEmpty());
}

void TBase::restoreStepButtons()
{
    tasto(MainButton::L)->showReleased();
    tasto(MainButton::R)->showReleased();
}

void TBase::setProgressVisible(bool visible)
{
    m_pbCustomBar->setVisible(visible);
}

void TBase::refresh()
{
    update();
    // Paint what changed, but keep the next click or key for after the
    // step: a step must never start inside another.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TBase::SWfotoClick()
{
    m_logic->SWfotoClick(false);
}

bool TBase::runPhase(const char* message, const std::function<void()>& phase)
{
    try {
        phase();
        return true;
    } catch (const std::exception& e) {
        m_dialogs.message(QString::fromUtf8(message) + QString::fromUtf8(e.what()));
    } catch (...) {
        m_dialogs.message(QString::fromUtf8(message));
    }
    return false;
}

void TBase::create()
{
    runPhase("ERRORE di startup (fase I)\r\n",
             [this] { m_g.StatoTastiBlocco = m_system.lockKeys(); });

    runPhase("ERRORE di startup (fase II)\r\n", [this] {
        QSize screen(640, 480);
        if (QScreen* s = QGuiApplication::primaryScreen())
            screen = s->geometry().size();
        m_outcome = runStartupChecks(m_g, m_system, m_dialogs, screen, [this] {
            if (m_splash)
                m_splash->hide();
        });
        // A check that could not do its job is worth a line in the log, not
        // a message in front of the class at every start.
        if (m_outcome != QLatin1String("OK"))
            m_reporter.Emsg(ReportKind::LogOnly, QStringLiteral("Startup: "), m_outcome);
    });

    {
        const StartupTableResult table =
            openStartupTable(Table1, contentFilePath(m_g, TModoQuiz::mqAB));
        m_missingFields.attach(Table1);
        Table1.setOnOpened([this] { updateProgressBar(); });
        Table1.setOnRecordChanged([this] { updateProgressBar(); });
        if (!table.message.isEmpty())
            m_dialogs.message(table.message);
        if (table.fatal) {
            m_startupFailed = true;
            return;
        }
        updateProgressBar();
    }

    runPhase("ERRORE di startup (fase VI)\r\n", [this] {
        m_g.CursoreMano = 13;
        state.Sblocco = false;
        state.tmpEski = true;
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
        setAutoFillBackground(true);
        Visore->clear();
        for (size_t i = static_cast<size_t>(MainButton::FOTO); i < Tasti.size(); ++i)
            Tasti[i]->setDisabledLook(true);
        const QCursor hand = m_cursors.value(kCursorPointer);
        for (QWidget* w : std::initializer_list<QWidget*>{Visore, Border, PLink, EJump, Display})
            w->setCursor(hand);
        for (TKXImage* panel : Monitor)
            panel->setCursor(hand);
        m_nav->fields().NumeroJmp = 1;
        state.SelectPos = 0;
        LLibro->clear();
        m_pbCustomBar->setValue(0);
        m_pbCustomBar->show();
        CambiaEdizione(m_g, static_cast<int>(TModoQuiz::mqAB), m_bankLoader);
    });

    m_timer2.start();
}

void TBase::showMain()
{
    runPhase("ERRORE di startup (fase VI)\r\n", [this] {
        presentMain(this, m_g.PresentationFillsScreen);
        m_pbCustomBar->hide();
    });
}

void TBase::activate()
{
    m_timer2.stop();
    bool settingsLoaded = true;
    runPhase("ERRORE di attivazione (fase I)\r\n", [&] {
        // A missing file is reported by the load itself.
        if (!CaricaIni(m_g, m_config, m_reporter, m_store)) {
            settingsLoaded = false;
            return;
        }
        VediConfig(m_g, m_config, [this] { m_menus.cycleViewMode(); });
        m_reporter.options() = reportOptions(m_config);
        setSelectorColour(m_g.ColoreSelettore);
        Q_EMIT settingsApplied();
        if (m_splash && m_splash->isVisible())
            m_splash->showVersion(m_config.Ver4);
    });
    if (!settingsLoaded) {
        // Without settings nothing can work: end here, with no exit question
        // that could leave a program without folders running.
        QApplication::processEvents();
        Attesa(0.5, true);
        m_logic->endAtOnce();
        Q_EMIT exitRequested(1);
        return;
    }

    runPhase("ERRORE di attivazione (fase IIa)\r\n", [this] {
        if (m_splash && m_splash->isVisible()) {
            Attesa(1.0, true);
            m_splash->dissolve();
        }
        QApplication::processEvents();
    });

    runPhase("ERRORE di attivazione (fase IIc)\r\n", [this] {
        QApplication::processEvents();
        state.Sblocco = true;
        m_nav->fields().Sblocco = true;
        m_popupAttached = true;
        m_nav->FiltraDB(QStringLiteral("Default"), QString(), false);
        syncWalkFields();
    });

    runPhase("ERRORE di attivazione (fase III)\r\n", [this] {
        m_logic->TastoMNGClick();
        if (const auto edition = activationEdition(m_g))
            CambiaEdizione(m_g, *edition, m_bankLoader);
        else
            m_dialogs.message(QString::fromUtf8("Modalità quiz non più supportata!"));
        buildTopicPopup();
        m_menus.refreshGeneralMenu();
        // The general menu picks the first topic; while there is none the
        // lesson starts at the beginning of the default range.
        if (!m_menus.generalMenuVisible()) {
            m_nav->Avvio(0);
            syncWalkFields();
        }
        QApplication::processEvents();
        LLibro->hide();
    });

    m_activated = true;
    Q_EMIT activatedOnce();
}

void TBase::updateProgressBar()
{
    const int count = Table1.isOpen() ? Table1.recordCount() : 0;
    m_pbCustomBar->setRange(0, count);
    m_pbCustomBar->setValue(Table1.isOpen() ? Table1.recNo() : 0);
}

void TBase::GestioneTastiera(int key, Qt::KeyboardModifiers modifiers)
{
    Q_EMIT keyMapped(key, modifiers);
    m_logic->GestioneTastiera(key, modifiers, EJump->hasFocus(), m_reporter.reportWindowVisible());
}

bool TBase::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    // "Elimina suggerimenti" silences the hints of the main window and of
    // every window laid over it.
    if (type == QEvent::ToolTip && !m_config.hintsShown())
        return true;
    if (watched->isWidgetType() && isClickControl(static_cast<QWidget*>(watched))) {
        auto* w = static_cast<QWidget*>(watched);
        if (type == QEvent::MouseButtonPress) {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (w == Display && button == Qt::RightButton) {
                m_logic->displayRightPress();
                return true;
            }
            // Taken, so that the release comes back here: the scaled
            // presentation drops the release of a press nobody took.
            return button == Qt::LeftButton;
        }
        // The number panel's right press is its own, not the topic pop-up's.
        if (type == QEvent::ContextMenu && w == Display)
            return true;
        if (type == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (state.Sblocco)
                controlClicked(w);
            return true;
        }
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType())
        return QWidget::eventFilter(watched, event);
    // Keyboard preview: the key map sees the keys of every control of the
    // main window before the control does, but not those of the windows
    // laid over it, which handle (and pass on) their own keys. A key that
    // a child ignores travels up to its parents: handle it once, where it
    // first arrives.
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != this || insideOverlay(w) || (w != QApplication::focusWidget() && w != this))
        return QWidget::eventFilter(watched, event);
    // A key an overlay let travel up to the main window is still the
    // overlay's: the lesson behind a menu must not step.
    if (const QWidget* focus = focusWidget(); focus && focus->isVisible() && insideOverlay(focus))
        return QWidget::eventFilter(watched, event);
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->isAutoRepeat())
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::KeyPress) {
        m_pressModifiers[ke->key()] = ke->modifiers();
    } else {
        // Judge a combination by the modifiers held when its key went down:
        // they may be let go before the key itself.
        const Qt::KeyboardModifiers mods = ke->modifiers() | m_pressModifiers.take(ke->key());
        // Acted on once the release has been delivered: an action that puts
        // up a report installs filters of its own, and Qt would hand this
        // same release to this filter a second time.
        QMetaObject::invokeMethod(
            this, [this, key = ke->key(), mods] { GestioneTastiera(key, mods); },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

bool TBase::isClickControl(const QWidget* w) const
{
    return w == Visore || w == PLink || w == Display || w == LLibro
        || std::find(Monitor.begin(), Monitor.end(), w) != Monitor.end();
}

void TBase::controlClicked(QWidget* w)
{
    if (const auto it = std::find(Monitor.begin(), Monitor.end(), w); it != Monitor.end())
        m_sign->MonitorClick(int(it - Monitor.begin()) + 1);
    else if (w == Visore)
        m_sign->VisoreClick();
    else if (w == PLink)
        m_sign->PLinkClick();
    else if (w == Display)
        openJumpField();
    else if (w == LLibro)
        m_logic->SWlibroClick();
}

bool TBase::insideOverlay(const QWidget* w) const
{
    for (; w && w != this; w = w->parentWidget())
        if (qobject_cast<const OverlayWindow*>(w))
            return true;
    return false;
}

void TBase::closeEvent(QCloseEvent* event)
{
    if (m_logic->closeQuery())
        event->accept();
    else
        event->ignore();
}

void TBase::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    p.drawImage(0, 0, m_background);
}

}  // namespace ziro
