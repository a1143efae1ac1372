#include "shell/main_logic.h"

#include <QScopeGuard>

#include <utility>

#include "base/globals.h"
#include "config/settings.h"
#include "diag/reporter.h"
#include "platform/dataset/data_table.h"
#include "platform/files/paths.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <exception>

namespace ziro {

namespace {

const QString kNoEdition = QStringLiteral("Modalità quiz non più supportata!");

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Restores a flag however the scope is left.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
};

class BusyCursor {
public:
    explicit BusyCursor(MainShellPort& shell) : m_shell(shell) { m_shell.setBusyCursor(true); }
    ~BusyCursor() { release(); }
    void release()
    {
        if (m_on)
            m_shell.setBusyCursor(false);
        m_on = false;
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    MainShellPort& m_shell;
    bool m_on = true;
};

}  // namespace

// ---------------------------------------------------------------------------

std::optional<MainButton> buttonForAction(int selezione)
{
    switch (selezione) {
    case 1: return MainButton::MNG;
    case 2: return MainButton::MNU;
    case 3: return MainButton::L;
    case 5: return MainButton::R;
    case 6: return MainButton::FOTO;
    case 7: return MainButton::VIDEO;
    case 8: return MainButton::LIBRO;
    case 9: return MainButton::QUIZ;
    default: return std::nullopt;
    }
}

std::vector<MainButton> highlightNeighbours(MainButton b)
{
    using B = MainButton;
    switch (b) {
    case B::MNG: return {B::MNU};
    case B::MNU: return {B::MNG, B::L};
    case B::L: return {B::MNU, B::C};
    case B::C: return {B::L, B::R};
    case B::R: return {B::C, B::FOTO};
    case B::FOTO: return {B::VIDEO, B::R};
    case B::VIDEO: return {B::FOTO, B::LIBRO};
    case B::LIBRO: return {B::VIDEO, B::QUIZ};
    case B::QUIZ: return {B::LIBRO};
    }
    return {};
}

HighlightChange highlightOnHover(MainButton b, bool disabled)
{
    HighlightChange change;
    if (!disabled)
        change.lit = b;
    change.off = highlightNeighbours(b);
    return change;
}

// ---------------------------------------------------------------------------

bool KeyMap::isKeypad(int key, Qt::KeyboardModifiers mods)
{
    if (!(mods & Qt::KeypadModifier))
        return false;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return true;
    switch (key) {
    case Qt::Key_Slash:
    case Qt::Key_Asterisk:
    case Qt::Key_Minus:
    case Qt::Key_Plus:
    case Qt::Key_Period:
    case Qt::Key_Comma:
    case Qt::Key_Delete:
        return true;
    default:
        return false;
    }
}

std::vector<KeyAction> KeyMap::decode(int key, Qt::KeyboardModifiers mods, bool ejumpFocused,
                                      bool errorWindowVisible)
{
    using C = KeyCommand;
    const auto act = [](int n) { return std::vector<KeyAction>{{C::ActionFunction, n}}; };
    const auto one = [](C c) { return std::vector<KeyAction>{{c, 0}}; };

    if (isKeypad(key, mods)) {
        if (ejumpFocused)
            return {};
        switch (key) {
        case Qt::Key_Slash: return act(3);
        case Qt::Key_Asterisk: return act(5);
        case Qt::Key_Minus: return one(C::SelectionUp);
        case Qt::Key_Plus: return one(C::SelectionDown);
        case Qt::Key_Period:
        case Qt::Key_Comma:
        case Qt::Key_Delete: return one(C::ToggleHtml);
        case Qt::Key_0: return act(9);
        case Qt::Key_1: return act(1);
        case Qt::Key_2: return act(2);
        case Qt::Key_3: return one(C::IconMenuRightClick);
        case Qt::Key_4: return act(6);
        case Qt::Key_5: return act(7);
        case Qt::Key_6: return act(8);
        case Qt::Key_7: return errorWindowVisible ? std::vector<KeyAction>{} : one(C::ShowBanner);
        case Qt::Key_8: return one(C::RecallIcons);
        case Qt::Key_9: return one(C::OpenJumpField);
        default: return {};
        }
    }

    switch (key) {
    case Qt::Key_Left: return act(3);
    case Qt::Key_Right: return act(5);
    case Qt::Key_PageUp: return act(3);
    case Qt::Key_PageDown: return act(5);
    case Qt::Key_B:
    case Qt::Key_Period:
        return ejumpFocused ? std::vector<KeyAction>{} : one(C::ToggleBlackout);
    case Qt::Key_E: return ejumpFocused ? std::vector<KeyAction>{} : one(C::OpenExam);
    case Qt::Key_Up: return one(C::SelectionUp);
    case Qt::Key_Down: return one(C::SelectionDown);
    case Qt::Key_Escape: return one(C::GeneralMenu);
    case Qt::Key_F5: return one(C::ToggleHtml);
    case Qt::Key_F7: return act(1);
    case Qt::Key_F8: return act(2);
    case Qt::Key_F9: return act(6);
    case Qt::Key_F10: return act(7);
    case Qt::Key_F11: return act(8);
    case Qt::Key_F12: return act(9);
    case Qt::Key_A: return one(C::ShowBanner);
    case Qt::Key_I:
        if (mods & Qt::ControlModifier)
            return {{C::RecallIcons, 0}, {C::ConfigSecondPage, 0}};
        return one(C::RecallIcons);
    case Qt::Key_S: return one(C::OpenJumpField);
    case Qt::Key_D: {
        const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
        return (mods & ctrlAlt) == ctrlAlt ? one(C::DebugOn) : std::vector<KeyAction>{};
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ejumpFocused ? std::vector<KeyAction>{} : one(C::OpenSelectedPanel);
    default: return {};
    }
}

// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------

QRegularExpression jumpFieldPattern()
{
    return QRegularExpression(QStringLiteral("[0-9A-Za-z]{0,5}"));
}

QValidator* makeJumpValidator(QObject* parent)
{
    return new QRegularExpressionValidator(jumpFieldPattern(), parent);
}

bool isJumpText(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("\\A[0-9A-Za-z]{1,5}\\z"));
    return re.match(text).hasMatch();
}

// ---------------------------------------------------------------------------

MainLogic::MainLogic(Globals& g, Config& config, Reporter& reporter, MainState& state,
                     DataTable& table1, MainShellPort& shell, MainViewerPorts& viewers,
                     MenuPorts& menus, MainActions& actions)
    : m_g(g),
      m_config(config),
      m_reporter(reporter),
      m_st(state),
      m_table1(table1),
      m_shell(shell),
      m_viewers(viewers),
      m_menus(menus),
      m_actions(actions)
{
}

void MainLogic::GestioneTastiera(int key, Qt::KeyboardModifiers mods, bool ejumpFocused,
                                 bool errorWindowVisible)
{
    // The Enter that confirmed the jump field comes back as a release once
    // the field has gone; it must not also open the selected panel.
    const bool enterTaken = std::exchange(m_enterTaken, false);
    if (isEnterKey(key) && enterTaken)
        return;
    for (const KeyAction& a : KeyMap::decode(key, mods, ejumpFocused, errorWindowVisible)) {
        // Until the activation has run nothing is ready to respond; debug
        // mode is the way to look at a start that went wrong.
        if (!m_st.Sblocco && a.command != KeyCommand::DebugOn)
            continue;
        run(a);
    }
}

void MainLogic::run(const KeyAction& a)
{
    switch (a.command) {
    case KeyCommand::ActionFunction: ActionFunction(a.selezione); break;
    case KeyCommand::GeneralMenu: TastoMNGClick(); break;
    case KeyCommand::SelectionUp: m_actions.moveSelection(false); break;
    case KeyCommand::SelectionDown: m_actions.moveSelection(true); break;
    case KeyCommand::ToggleHtml: toggleHtml(); break;
    case KeyCommand::ShowBanner: m_viewers.showBanner(); break;
    case KeyCommand::RecallIcons: m_actions.PLinkClick(); break;
    case KeyCommand::ConfigSecondPage: m_menus.showConfigSecondPage(); break;
    case KeyCommand::OpenJumpField: m_shell.openJumpField(); break;
    case KeyCommand::DebugOn: setDebugMode(); break;
    case KeyCommand::OpenSelectedPanel:
        if (m_st.SelectPos > 0)
            m_actions.openSelectedPanel();
        break;
    case KeyCommand::IconMenuRightClick: iconMenuRightPress(); break;
    case KeyCommand::ToggleBlackout: m_shell.toggleBlackout(); break;
    case KeyCommand::OpenExam: m_viewers.openExam(); break;
    }
}

bool MainLogic::ActionFunction(int selezione)
{
    if (m_actionRunning || !m_st.Sblocco)
        return false;
    const std::optional<MainButton> button = buttonForAction(selezione);
    if (!button || m_shell.buttonDisabled(*button))
        return false;
    // Held for the handler too: the pause lets events through, and a menu
    // opened by the handler runs its own loop; a key reaching the map then
    // must not start a second action inside this one.
    FlagGuard running(m_actionRunning);
    m_shell.showPressed(*button);
    m_shell.wait(0.3);
    m_shell.showReleased(*button);
    switch (selezione) {
    case 1: TastoMNGClick(); break;
    case 2: TastoMNUClick(); break;
    case 3: stepBack(); break;
    case 5: stepForward(); break;
    case 6: SWfotoClick(true); break;
    case 7: SWvideoClick(); break;
    case 8: SWlibroClick(); break;
    case 9: SWquizClick(); break;
    default: break;
    }
    return true;
}

void MainLogic::stepBack()
{
    step(false);
}

void MainLogic::stepForward()
{
    step(true);
}

void MainLogic::step(bool forward)
{
    if (!m_st.Sblocco || m_stepRunning)
        return;
    m_stepRunning = true;
    const auto done = qScopeGuard([this] { m_stepRunning = false; });
    if (m_viewers.bannerVisible())
        m_viewers.closeBanner();
    if (forward)
        m_actions.SWavanti();
    else
        m_actions.SWindietro();
}

void MainLogic::TastoMNGClick()
{
    try {
        m_viewers.stopQuizAudio();
        if (m_viewers.bannerVisible()) {
            m_viewers.closeBanner();
            return;
        }
        if (!m_st.Sblocco)
            return;
        if (m_viewers.bookOpen())
            m_viewers.closeBook();
        if (m_viewers.filmOpen())
            m_viewers.closeFilms();
        if (m_viewers.crossroadsVisible())
            m_viewers.closeCrossroads();
        if (m_viewers.htmlOpen())
            m_viewers.closeHtml();
        if (m_g.MdTemp.Status) {
            if (m_menus.applyPendingMark())
                return;
            if (!m_actions.returnFromSideTrip()) {
                m_shell.beep();
                m_shell.message(QStringLiteral("Errore recupero jmpMark."));
            }
            return;
        }
        m_menus.saveResumeMark();
        m_viewers.closeQuiz();
        m_actions.emptySignArea();
        m_menus.showGeneralMenu();
    } catch (const std::exception& e) {
        m_shell.message(QStringLiteral("ERRORE di accesso al menu generale\r\n")
                        + QString::fromUtf8(e.what()));
    }
}

void MainLogic::TastoMNUClick(bool fromPopup)
{
    m_viewers.stopQuizAudio();
    if (m_viewers.bannerVisible()) {
        m_viewers.closeBanner();
        return;
    }
    if (!m_st.Sblocco)
        return;
    m_viewers.closeFilms();
    m_viewers.closeBook();
    m_viewers.closePreviews();
    m_shell.takeFocus();
    const QString& sub = m_st.SottoArgCorr;
    if ((sub == QLatin1String("A01") || sub == QLatin1String("A")) && !fromPopup) {
        m_menus.showVehicleMenu(false);
        return;
    }
    // The sign categories of the edition the teacher will come back to.
    std::optional<TModoQuiz> edition;
    if (m_g.MdTemp.Status) {
        const TMdTemp& t = m_g.MdTemp;
        if (t.L_AM) edition = TModoQuiz::mqAM;
        else if (t.L_CD) edition = TModoQuiz::mqCD;
        else if (t.L_CQ) edition = TModoQuiz::mqCQ;
        else if (t.L_AB) edition = TModoQuiz::mqAB;
    } else {
        if (m_g.ModoAM()) edition = TModoQuiz::mqAM;
        else if (m_g.ModoCD()) edition = TModoQuiz::mqCD;
        else if (m_g.ModoCQ()) edition = TModoQuiz::mqCQ;
        else if (m_g.ModoAB()) edition = TModoQuiz::mqAB;
    }
    if (!edition) {
        m_shell.message(kNoEdition);
        return;
    }
    m_menus.setSignMenuFromPopup(fromPopup);
    m_menus.showSignCategoryMenu(*edition);
}

void MainLogic::generalMenuRightPress()
{
    m_shell.setPopupEnabled(false);
    m_shell.closeWindow();
}

void MainLogic::iconMenuRightPress()
{
    // A side trip started before the folders and the filter exist would
    // record a way back to nowhere.
    if (!m_st.Sblocco)
        return;
    if (m_g.MdTemp.Status) {
        TastoMNGClick();
        m_shell.setPopupEnabled(false);
        return;
    }
    // The quick trip leaves the lesson for topic A01 before the menu shows:
    // without a vehicle menu to show, the lesson must stay where it is.
    if (!m_menus.canShowVehicleMenu())
        return;
    m_viewers.closeFilms();
    m_viewers.closeBook();
    m_viewers.closeCrossroads();
    m_viewers.closePreviews();
    m_actions.AttivaModoTemp(QStringLiteral("A01"), QStringLiteral("A01"), false);
    m_viewers.closeQuiz();
    m_g.SoloFoto = true;
    m_menus.showVehicleMenu(true);
}

void MainLogic::displayRightPress()
{
    if (m_st.Sblocco)
        m_viewers.openTextViewer();
}

void MainLogic::pauseButtonPressed()
{
    if (m_st.Sblocco && m_viewers.crossroadsVisible())
        m_viewers.startCrossroadsAutoplay();
}

void MainLogic::popupChosen(const QString& hint)
{
    if (hint.isEmpty())
        return;
    if (hint == QLatin1String("ICONE")) {
        TastoMNUClick(true);
    } else {
        m_viewers.closePreviews();
        m_actions.AttivaModoTemp(hint, hint + QLatin1Char('Z'), true);
        m_menus.generalMenuOk();
        if (hint == QLatin1String("J15")) {
            m_viewers.closePreviews();
            m_viewers.closePhotoViewer();
            m_viewers.closeQuiz();
            m_g.SoloFoto = false;
            m_actions.showCurrentSign(m_config.CBNomeSegnali);
        }
        if (m_g.Custom) {
            if (m_g.SegnaleON || m_g.QuizON)
                m_viewers.closePhotoViewer();
            if (m_g.SegnaleON) {
                m_viewers.closeQuiz();
                m_g.LockLoop = true;
            }
        }
    }
    m_actions.clearIconLinking();
}

void MainLogic::SWfotoClick(bool fromClick)
{
    if (!m_g.FotoON)
        return;
    m_viewers.stopQuizAudio();
    m_viewers.resetPreviewSelection();
    if (fromClick && m_viewers.photoViewerOpen()) {
        m_viewers.photoAlbumAction();
        return;
    }
    const QString html1 = m_table1.fieldText(QStringLiteral("Html1"));
    const bool foto1 = !m_table1.fieldText(QStringLiteral("Foto1")).isEmpty();
    const bool foto2 = !m_table1.fieldText(QStringLiteral("Foto2")).isEmpty();
    if ((!html1.isEmpty() && foto1) || foto2) {
        if (m_g.Custom && !fromClick) {
            m_viewers.openPhotoViewer(1);
        } else {
            m_viewers.preparePreviews();
            m_viewers.showPreviews();
        }
    } else if (foto1) {
        m_viewers.openPhotoViewer(1);
    } else if (!html1.isEmpty()) {
        m_viewers.openHtml(html1);
    }
}

const DataTable& MainLogic::filmTable() const
{
    const DataTable* source = m_menus.configSourceTable();
    return source ? *source : m_table1;
}

void MainLogic::SWvideoClick()
{
    if (m_viewers.filmOpen()) {
        m_viewers.closeFilms();
        return;
    }
    m_viewers.stopQuizAudio();
    const bool cde = m_g.ModoCD();
    QString base;
    if (cde) {
        base = QStringLiteral("Fls1");
    } else {
        if (!m_g.VideoON)
            return;
        base = QStringLiteral("Flm") + filmTable().fieldText(QStringLiteral("Video"));
    }
    const QString& folder = m_g.dirs.DirVideo;
    // A film name that is not a plain file name is looked for nowhere.
    const FilmFile film = isPlainName(base)
        ? resolveFilm(folder, base)
        : FilmFile{withSeparator(folder) + base + QStringLiteral(".MPG"), FilmPlayer::Mpeg, false,
                   false};
    if (!film.exists) {
        m_reporter.Emsg(ReportKind::MissingFile, QStringLiteral("Player video"), film.path);
        return;
    }
    if (!m_g.SoloFoto)
        m_viewers.closePhotoViewer();
    m_viewers.resetMediaBar();
    BusyCursor busy(m_shell);
    FilmRequest request;
    request.file = film;
    if (cde) {
        request.size = 5;
        request.daMenu = true;
    } else {
        const EdlRange range = parseEdl(filmTable().fieldText(QStringLiteral("EDL")));
        request.inizio = range.inizio;
        request.fine = range.fine;
        request.size = m_g.VideoSize;
    }
    QString error;
    if (m_viewers.playFilm(request, &error)) {
        m_g.VideoAperto = true;
        m_g.VideoInCorso = true;
        m_viewers.closeHtml();
        return;
    }
    m_viewers.stopFilm();
    busy.release();
    // An empty error: the film window has already said what went wrong.
    if (!error.isEmpty())
        m_shell.message((film.player == FilmPlayer::Mp4 ? QStringLiteral("Errore player video AVC:\r")
                                                         : QStringLiteral("Errore player video MPG:\r"))
                        + error);
}

void MainLogic::SWlibroClick()
{
    if (m_viewers.bookOpen()) {
        m_viewers.closeBook();
        return;
    }
    if (!m_g.LibroON)
        return;
    m_viewers.stopQuizAudio();
    if (!m_g.SoloFoto)
        m_viewers.closePhotoViewer();
    m_viewers.showBookPage();
}

void MainLogic::SWquizClick()
{
    if (m_g.QuizON) {
        // With signs on show the quiz opens from the sign, not the button.
        if (!m_g.LockLoop && m_g.PASSsegnale && !m_viewers.quizVisible())
            m_shell.beep();
        else
            m_viewers.loadQuizFromButton(m_g.Domanda);
    }
    if (m_viewers.filmOpen())
        m_viewers.closeFilms();
}

void MainLogic::PausaVideo()
{
    if (!m_viewers.filmOpen())
        return;
    if (m_viewers.filmPlaying())
        m_viewers.pauseFilm();
    else
        m_viewers.resumeFilm();
}

void MainLogic::toggleHtml()
{
    if (m_viewers.htmlOpen()) {
        m_viewers.closeHtml();
        return;
    }
    const QString page = m_table1.fieldText(QStringLiteral("Html1"));
    if (!page.isEmpty())
        m_viewers.openHtml(page);
}

void MainLogic::jumpEntered(const QString& text)
{
    m_enterTaken = true;
    if (!isJumpText(text))
        return;
    m_menus.searchSign(text);
    m_shell.hideJumpField();
}

void MainLogic::setDebugMode()
{
    m_config.CBNoError = false;
    m_config.CBMDebug = true;
    m_reporter.options().noError = false;
    m_g.ModoDebug = true;
    m_menus.debugModeChanged();
    m_reporter.Emsg(ReportKind::Debug, QStringLiteral(" > Avvio"), QString());
}

bool MainLogic::EsciDalProgramma()
{
    m_st.tmpEski = m_reporter.Conferma(QStringLiteral("Si vuole terminare il programma?"),
                                       QStringLiteral("Premere OK per uscire."));
    return m_st.tmpEski;
}

bool MainLogic::closeQuery()
{
    if (m_endAtOnce)
        return true;
    if (m_viewers.filmOpen())
        m_viewers.closeFilms();
    // Before the question, so the log is on disk whatever happens next.
    if (m_config.CBlog)
        m_reporter.saveLog();
    if (!m_exitConfirmed && !EsciDalProgramma()) {
        if (m_viewers.crossroadsVisible())
            m_viewers.refreshCrossroads();
        return false;
    }
    if (m_viewers.crossroadsVisible())
        m_viewers.closeCrossroads();
    if (!m_menus.generalMenuVisible() && m_st.Sblocco)
        m_menus.saveResumeMark();
    return true;
}

}  // namespace ziro
