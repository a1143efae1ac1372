#include "shell/main_window.h"

#include "controls/kx_image_widget.h"
#include "config/settings.h"
#include "authoring/topic_lists.h"
#include "content/navigator.h"
#include "content/sign_viewer.h"
#include "controls/auto_button_widget.h"
#include "shell/artwork.h"
#include "content/edition.h"
#include "controls/overlay_widget.h"
#include "diag/reporter.h"
#include "menus/back_sub_arg_window.h"
#include "menus/menu_gen_window.h"
#include "shell/dialogs.h"
#include "base/globals.h"
#include "shell/presentation_ui.h"
#include "shell/splash_window.h"
#include "base/attesa.h"
#include "shell/startup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QContextMenuEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

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

TBase::TBase(Globals& g, Config& config, MachineStore& store, Reporter& reporter,
             SystemServices& system, Dialogs& dialogs, TSplash* splash)
    : QWidget(nullptr, Qt::FramelessWindowHint),
      m_g(g),
      m_config(config),
      m_store(store),
      m_reporter(reporter),
      m_system(system),
      m_dialogs(dialogs),
      m_splash(splash),
      m_missingFields(reporter)
{
    setObjectName(QStringLiteral("TBase"));
    setWindowTitle(QStringLiteral("Ziro"));
    setFixedSize(640, 480);
    setFocusPolicy(Qt::StrongFocus);
    qApp->installEventFilter(this);

    for (const int id : {kCursorGrab, kCursorFist, kCursorPointer}) {
        const CursorArt art = cursorArt(id);
        m_cursors.insert(id, QCursor(QPixmap::fromImage(art.image), art.hotSpot.x(), art.hotSpot.y()));
    }

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
    Selector->resize(78, 73);
    Selector->setAttribute(Qt::WA_TransparentForMouseEvents);
    Selector->hide();

    Display = new QFrame(this);
    Display->setObjectName(QStringLiteral("Display"));
    Display->setGeometry(550, 349, 70, 40);
    Display->setStyleSheet(QStringLiteral(
        "QFrame#Display { background: #10202e; border: 1px solid #5a6a80; border-radius: 4px; }"));
    Display->setToolTip(QStringLiteral(
        "Numero del segnale corrente/ Salto al numero di segnale inserito / Pannello note"));
    LNumSegn = new QLabel(Display);
    LNumSegn->setObjectName(QStringLiteral("LNumSegn"));
    LNumSegn->setGeometry(2, 2, 66, 36);
    LNumSegn->setAlignment(Qt::AlignCenter);
    LNumSegn->setStyleSheet(QStringLiteral("color: #7cf07c; font-family: 'DSEG7 Classic', 'Digital'; font-size: 22px;"));
    Display->hide();

    EJump = new QLineEdit(this);
    EJump->setObjectName(QStringLiteral("EJump"));
    EJump->setFrame(false);
    EJump->setMaxLength(5);
    EJump->setGeometry(556, 351, 60, 30);
    EJump->hide();

    PLink = new QFrame(this);
    PLink->setObjectName(QStringLiteral("PLink"));
    PLink->setGeometry(29, 349, 50, 22);
    PLink->setToolTip(QStringLiteral("Richiamo icone pannelli integrati / segnali associati"));
    LIcone = new QLabel(QStringLiteral("icone"), PLink);
    LIcone->setObjectName(QStringLiteral("LIcone"));
    LIcone->setGeometry(0, 0, 50, 22);
    LIcone->setAlignment(Qt::AlignCenter);
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

    m_lLibro = new QLabel(QStringLiteral("000"), this);
    m_lLibro->setObjectName(QStringLiteral("LLibro"));
    m_lLibro->setGeometry(520, 403, 34, 14);
    m_lLibro->setAlignment(Qt::AlignCenter);
    m_lLibro->setAutoFillBackground(true);  // the book label is opaque

    m_pbCustomBar = new QProgressBar(this);
    m_pbCustomBar->setObjectName(QStringLiteral("pbCustomBar"));
    m_pbCustomBar->setGeometry(151, 422, 209, 2);
    m_pbCustomBar->setTextVisible(false);

    PopUpArg = new QMenu(this);
    PopUpArg->setObjectName(QStringLiteral("PopUpArg"));
    QAction* icone = PopUpArg->addAction(QStringLiteral("Menu ICONE..."));
    icone->setData(QStringLiteral("ICONE"));
    connect(PopUpArg, &QMenu::triggered, this, [this](QAction* action) {
        m_logic->popupChosen(action->data().toString());
    });

    m_timer2.setSingleShot(true);
    m_timer2.setInterval(3000);
    connect(&m_timer2, &QTimer::timeout, this, &TBase::activate);

    setMouseTracking(true);
    m_logic = std::make_unique<MainLogic>(m_g, m_config, m_reporter, state, Table1, *this,
                                          viewers, menus, *this);
    m_signView = std::make_unique<TBaseSignView>(*this);
    m_sign = std::make_unique<SignViewer>(m_g, m_config, Table1, m_reporter, *m_signView, viewers,
                                          *this);
    m_sign->setStepForward([this] { SWavanti(); });
    NavHooks hooks;
    hooks.beep = [this] { m_system.beep(); };
    hooks.wait = [](double seconds) { Attesa(seconds, true); };
    m_nav = std::make_unique<Navigator>(m_g, m_config, m_reporter, Table1, viewers, *this, *m_sign,
                                        std::move(hooks));
    Selector->setStyleSheet(QStringLiteral("QFrame#Selector { border: 3px solid %1; }")
                                .arg(m_g.ColoreSelettore.name()));
    for (QWidget* w : std::initializer_list<QWidget*>{Visore, PLink, Display, m_lLibro})
        w->installEventFilter(this);
    for (TKXImage* panel : Monitor)
        panel->installEventFilter(this);
    EJump->setValidator(makeJumpValidator(EJump));
    connect(EJump, &QLineEdit::returnPressed, this, [this] { m_logic->jumpEntered(EJump->text()); });
    wireButtons();
}

TBase::~TBase() = default;

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

// What the general menu asks of the main window, the walk and the settings.
class GeneralMenuLink : public GeneralMenuPort {
public:
    explicit GeneralMenuLink(TBase& base) : m_base(base) {}

    void FiltraDB(const QString& da, const QString& a, bool conteggio) override
    {
        m_base.m_nav->FiltraDB(da, a, conteggio);
        m_base.syncWalkFields();
    }
    bool VeroSeVuoto(const QString& campo) override { return m_base.m_nav->VeroSeVuoto(campo); }
    bool openEditionTable(TModoQuiz edition, QString* error) override
    {
        if (!switchContentTable(m_base.Table1, contentFilePath(m_base.m_g, edition), error))
            return false;
        m_base.m_missingFields.reset();
        m_base.updateProgressBar();
        return true;
    }
    QuestionBankLoader* bankLoader() override { return m_base.bankLoader; }
    void rebuildTopicLists() override { m_base.buildTopicPopup(); }
    void startTopic(const QString& fallback) override
    {
        m_base.m_sign->CancellaIcone();
        m_base.m_nav->Avvio(1);
        m_base.syncWalkFields();
        const QString& segnale = m_base.m_g.Segnale;
        if (!segnale.isEmpty() || !fallback.isEmpty())
            m_base.LNumSegn->setText(segnale.isEmpty() ? fallback : segnale);
        m_base.takeFocus();
    }
    void closeViewers() override
    {
        MainViewerPorts& v = m_base.viewers;
        v.closePhotoViewer();
        v.closeFilms();
        v.closeBook();
        v.closeHtml();
        v.closePreviews();
    }
    void enableMainButtons() override
    {
        for (MainButton b : {MainButton::L, MainButton::C, MainButton::R})
            m_base.setButtonEnabled(b, true);
        m_base.m_lLibro->show();
    }
    void closeMainWindow() override { m_base.close(); }
    void endProgram() override
    {
        m_base.m_logic->exitConfirmed();
        m_base.close();
    }
    bool playFilm(const FilmRequest& request, QString* error) override
    {
        return m_base.viewers.playFilm(request, error);
    }
    void openHtml(const QString& page) override { m_base.viewers.openHtml(page); }
    void saveViewMode() override { Settings(m_base.m_g, m_base.m_reporter).SaveSet(m_base.m_config); }
    void beep() override { m_base.m_system.beep(); }

private:
    TBase& m_base;
};

bool TBase::ShellMenus::generalMenuVisible() const
{
    return m_base.m_menuGen && m_base.m_menuGen->isVisible();
}

void TBase::ShellMenus::showGeneralMenu()
{
    if (m_base.m_menuGen)
        m_base.m_menuGen->showMenu();
}

void TBase::ShellMenus::generalMenuOk()
{
    if (m_base.m_menuGen) {
        m_base.m_menuGen->TastoOK();
        return;
    }
    m_base.navigator().Avvio(0);
    m_base.syncWalkFields();
}

bool TBase::ShellViewers::bannerVisible() const
{
    return m_base.m_banner && m_base.m_banner->isVisible();
}

void TBase::ShellViewers::showBanner()
{
    m_base.ScriveSubArgDeskTop(true);
}

void TBase::ShellViewers::closeBanner()
{
    m_base.ScriveSubArgDeskTop(false);
}

void TBase::attachBanner(TBackSubArg* banner)
{
    m_banner = banner;
    banner->forwardKey = [this](int key, Qt::KeyboardModifiers mods) { GestioneTastiera(key, mods); };
}

void TBase::ScriveSubArgDeskTop(bool mode)
{
    if (!m_banner)
        return;
    BannerState st;
    st.recuperoOut = m_config.CBJumpMark2;
    st.subArgStart = m_config.CBSubArg;
    st.bannerVisible = m_banner->isVisible();
    st.generalMenuVisible = menus.generalMenuVisible();
    st.custom = m_g.Custom;
    if (!m_banner->scriveSubArgDeskTop(mode, st, state.SottoArgCorr, m_g.Edizione, m_topicMenu,
                                       m_g.TitoliGruppi)) {
        m_system.beep();
        m_reporter.Emsg(ReportKind::LogOnly, QStringLiteral("ScriveSubArgDeskTop"), TBackSubArg::errorText());
    }
}

bool TBase::ShellMenus::resumeSideTrip()
{
    TBase& b = m_base;
    TMdTemp& t = b.m_g.MdTemp;
    // A way back that cannot be taken is dropped, so that the next press of
    // the menu key opens the menu instead of failing again.
    auto giveUp = [&t] {
        t.Status = false;
        return false;
    };
    // The way back into a custom lesson comes with the lesson list.
    if (t.Custom)
        return giveUp();
    b.m_system.beep();
    std::optional<TModoQuiz> edition;
    if (t.L_AM)
        edition = TModoQuiz::mqAM;
    else if (t.L_CD)
        edition = TModoQuiz::mqCD;
    else if (t.L_CQ)
        edition = TModoQuiz::mqCQ;
    else if (t.L_AB)
        edition = TModoQuiz::mqAB;
    if (!edition)
        return giveUp();
    if (*edition != b.m_g.Edizione) {
        QString error;
        if (!switchContentTable(b.Table1, contentFilePath(b.m_g, *edition), &error))
            return giveUp();
        CambiaEdizione(b.m_g, static_cast<int>(*edition), b.bankLoader);
        b.buildTopicPopup();
    }
    b.m_g.SoloFoto = t.OnlyFoto;
    b.m_nav->FiltraDB(t.Argomento, t.Argomento, false);
    for (b.Table1.first(); !b.Table1.eof(); b.Table1.next())
        if (b.Table1.fieldInt(QStringLiteral("NumRec")) == t.RecNum)
            break;
    if (b.Table1.eof())
        b.Table1.first();
    t.Status = false;
    NavFields& nav = b.m_nav->fields();
    nav.BloccoAvanti = false;
    nav.BloccoIndietro = false;
    b.m_sign->CancellaIcone();
    b.m_nav->Avvio(0);
    // After the record is shown: showing it starts the counts afresh.
    b.m_g.ContatoreRecord = t.NumDomanda;
    b.m_g.ContatoreAffermazioni = t.NumAffermazione;
    b.syncWalkFields();
    return true;
}

void TBase::attachGeneralMenu(TMenuGen* menu)
{
    m_menuGen = menu;
    m_menuLink = std::make_unique<GeneralMenuLink>(*this);
    menu->attach(m_g, m_config, m_reporter, *m_menuLink);
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

void TBase::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popupAttached || !m_popupEnabled || !state.Sblocco)
        return;
    // A right click on a window laid over the lesson is that window's.
    if (menus.generalMenuVisible() || insideOverlay(childAt(event->pos())))
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
    m_lLibro->setText(page);
    m_lLibro->setVisible(!page.isEmpty());
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
        m_lLibro->clear();
        m_pbCustomBar->setValue(0);
        m_pbCustomBar->show();
        CambiaEdizione(m_g, static_cast<int>(TModoQuiz::mqAB), bankLoader);
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
        VediConfig(m_g, m_config, [this] {
            if (m_menuGen && m_menuGen->logic())
                m_menuGen->logic()->viewModeClicked(false);
        });
        m_reporter.options() = reportOptions(m_config);
        if (m_splash && m_splash->isVisible())
            m_splash->showVersion(m_config.Ver4);
    });
    if (!settingsLoaded) {
        // Without settings nothing can work: end here, with no exit question
        // that could leave a program without folders running.
        QApplication::processEvents();
        Attesa(0.5, true);
        m_logic->endAtOnce();
        if (requestExit)
            requestExit(1);
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
            CambiaEdizione(m_g, *edition, bankLoader);
        else
            m_dialogs.message(QString::fromUtf8("Modalità quiz non più supportata!"));
        buildTopicPopup();
        if (m_menuGen)
            m_menuGen->ChangeModoTasti();
        // The general menu picks the first topic; while there is none the
        // lesson starts at the beginning of the default range.
        if (!menus.generalMenuVisible()) {
            m_nav->Avvio(0);
            syncWalkFields();
        }
        QApplication::processEvents();
        m_lLibro->hide();
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
    m_logic->GestioneTastiera(key, modifiers, EJump->hasFocus(),
                              errorWindowVisible && errorWindowVisible());
}

bool TBase::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    // "Elimina suggerimenti" silences the hints of the main window and of
    // every window laid over it.
    if (type == QEvent::ToolTip && !m_config.hintsShown())
        return true;
    if (type == QEvent::MouseButtonRelease && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->parentWidget() == this &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && state.Sblocco) {
        if (controlClicked(static_cast<QWidget*>(watched)))
            return true;
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

bool TBase::controlClicked(QWidget* w)
{
    for (int i = 0; i < 10; ++i) {
        if (w == Monitor[size_t(i)]) {
            m_sign->MonitorClick(i + 1);
            return true;
        }
    }
    if (w == Visore) {
        m_sign->VisoreClick();
        return true;
    }
    if (w == PLink) {
        m_sign->PLinkClick();
        return true;
    }
    if (w == Display) {
        openJumpField();
        return true;
    }
    if (w == m_lLibro) {
        m_logic->SWlibroClick();
        return true;
    }
    return false;
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
