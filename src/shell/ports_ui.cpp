#include "shell/ports_ui.h"

#include "annotate/tools_window.h"

#include "base/globals.h"
#include "config/config_window.h"
#include "config/settings.h"
#include "content/navigator.h"
#include "crossroads/tv_cross_window.h"
#include "diag/table_model.h"
#include "menus/menu_gen_window.h"
#include "menus/menu_img_window.h"
#include "menus/menu_vcl_window.h"
#include "platform/files/paths.h"
#include "platform/system/system_services.h"
#include "shell/lessons_link_ui.h"
#include "shell/main_window.h"
#include "viewers/foto_preview_window.h"
#include "viewers/media_bar.h"
#include "viewers/note_viewer.h"
#include "viewers/photo_previews.h"
#include "viewers/tv_foto_window.h"
#include "viewers/tv_libro_window.h"
#include "viewers/tv_testo_window.h"
#include "viewers/film_window_logic.h"
#include "viewers/tv_html_window.h"
#include "quiz/quiz_window.h"
#include "content/sign_viewer.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>

namespace ziro {

// --- ShellViewers ------------------------------------------------------------

bool ShellViewers::bannerVisible() const
{
    return m_base && m_base->bannerVisible();
}

void ShellViewers::showBanner()
{
    if (m_base)
        m_base->ScriveSubArgDeskTop(true);
}

void ShellViewers::closeBanner()
{
    if (m_base)
        m_base->ScriveSubArgDeskTop(false);
}

bool ShellViewers::bookOpen() const
{
    return m_book && m_book->isOpen();
}

void ShellViewers::showBookPage()
{
    if (m_book)
        m_book->VediPagina(0);
}

void ShellViewers::nextBookPage()
{
    if (bookOpen())
        m_book->VediPagina(1);
}

void ShellViewers::previousBookPage()
{
    if (bookOpen())
        m_book->VediPagina(-1);
}

void ShellViewers::closeBook()
{
    if (bookOpen())
        m_book->Image1Click();
}

QString ShellViewers::bookPageName() const
{
    return m_book ? m_book->PaginaLibroCorrente() : QString();
}

int ShellViewers::bookScrollPosition() const
{
    return m_book ? m_book->scrollPosition() : 0;
}

bool ShellViewers::filmOpen() const
{
    return m_films && m_g && m_g->VideoAperto && m_films->visible();
}

bool ShellViewers::filmPlaying() const
{
    return filmOpen() && m_g->VideoInCorso;
}

void ShellViewers::resumeFilm()
{
    if (!filmOpen())
        return;
    if (m_films->visible()->PlayVideo())
        m_g->VideoInCorso = true;
}

void ShellViewers::pauseFilm()
{
    if (!filmOpen())
        return;
    if (m_films->visible()->PauseVideo())
        m_g->VideoInCorso = false;
}

void ShellViewers::restartFilm()
{
    if (!filmOpen())
        return;
    FilmWindowLogic* film = m_films->visible();
    film->GotoVideo(film->InizioVideo());
    if (film->PlayVideo())
        m_g->VideoInCorso = true;
}

void ShellViewers::closeFilms()
{
    if (m_films)
        m_films->closeFilm();
}

bool ShellViewers::playFilm(const FilmRequest& request, QString* error)
{
    if (!m_films)
        return MainViewerPorts::playFilm(request, error);
    return m_films->play(request, error);
}

void ShellViewers::stopFilm()
{
    if (m_films && m_films->visible())
        m_films->visible()->StopVideo();
}

void ShellViewers::resetMediaBar()
{
    if (!m_bar)
        return;
    m_bar->ResetTimeLine();
    m_bar->releaseExpand();
}

bool ShellViewers::previewsOpen() const
{
    return m_previewWindow && m_previewWindow->isVisible();
}

void ShellViewers::showPreviews()
{
    if (!m_previewWindow)
        return;
    m_previewWindow->showModeless();
    m_previewWindow->raise();
    m_previewWindow->setFocus();
}

void ShellViewers::openFirstPreview()
{
    if (m_previews && previewsOpen())
        m_previews->PreviewClick(1);
}

void ShellViewers::closePreviews()
{
    if (previewsOpen())
        m_previewWindow->closeGrid();
}

void ShellViewers::clearPreviewPictures()
{
    if (m_previewWindow)
        m_previewWindow->clearSlots();
}

void ShellViewers::resetPreviewSelection()
{
    if (m_g)
        m_g->FotoCorrente = 0;
}

void ShellViewers::preparePreviews()
{
    if (!m_previews || !m_base)
        return;
    PreviewRecord record;
    for (int n = 1; n <= kPreviewSlots; ++n)
        record.foto[size_t(n - 1)] = m_base->Table1.fieldText(QStringLiteral("Foto%1").arg(n)).trimmed();
    record.html = m_base->Table1.fieldText(QStringLiteral("Html1")).trimmed();
    m_previews->PreparaAnteprime(record);
}

bool ShellViewers::photoViewerOpen() const
{
    return m_photo && m_photo->isOpen();
}

void ShellViewers::openPhotoViewer(int photo)
{
    if (!m_photo || !m_base || !m_g)
        return;
    const DataTable& table = m_base->Table1;
    const FotoValue foto = [&table](int n) { return table.fieldText(photoFieldName(n)); };
    // Opened straight from the lesson, the viewer counts the photographs
    // itself; the previews did when they were shown.
    if (!previewsOpen())
        m_g->NumeroFoto = countPhotos(foto, !table.fieldText(QStringLiteral("Html1")).trimmed().isEmpty(),
                                      m_g->Custom);
    m_photo->VediFoto(photo < 0 ? m_g->NumeroFoto : photo);
}

void ShellViewers::showNextPhoto()
{
    if (m_photo)
        m_photo->step(1);
}

void ShellViewers::showPreviousPhoto()
{
    if (m_photo)
        m_photo->step(-1);
}

void ShellViewers::closePhotoViewer()
{
    if (photoViewerOpen())
        m_photo->ChiudiFoto();
}

void ShellViewers::photoAlbumAction()
{
    if (photoViewerOpen())
        m_photo->AlbumClick();
}

bool ShellViewers::showSinglePhoto(const QString& path, int number)
{
    return m_photo && m_photo->showSingle(path, number);
}

void ShellViewers::focusPhotoViewer()
{
    if (photoViewerOpen())
        m_photoWindow->takeFocus();
}

bool ShellViewers::openTextViewer()
{
    if (!m_textWindow || !m_note || m_textWindow->isVisible())
        return false;
    m_textWindow->showNote(!m_config || m_config->hintsShown());
    if (quizVisible())
        focusQuiz();
    return true;
}

bool ShellViewers::crossroadsVisible() const
{
    return m_crossWindow && m_crossWindow->isVisible();
}

bool ShellViewers::startCrossroadsAutoplay()
{
    return m_crossWindow && m_crossWindow->CrossAutoplay();
}

void ShellViewers::showCrossroads(const QString& scene)
{
    if (m_crossWindow && m_crossWindow->CaricaIncrocio(scene))
        m_crossWindow->Refresh();
}

void ShellViewers::closeCrossroads()
{
    if (m_crossWindow)
        m_crossWindow->CloseCross();
}

QString ShellViewers::crossroadsNumber() const
{
    if (!m_crossWindow || !m_crossWindow->isVisible() || !m_crossWindow->session())
        return {};
    return m_crossWindow->session()->number();
}

void ShellViewers::refreshCrossroads()
{
    if (m_crossWindow && m_crossWindow->isVisible())
        m_crossWindow->Refresh();
}

bool ShellViewers::htmlOpen() const
{
    return m_html && m_html->isOpen();
}

void ShellViewers::openHtml(const QString& page)
{
    if (m_html)
        m_html->VediHtml(page);
}

void ShellViewers::closeHtml()
{
    if (m_html)
        m_html->ChiudiHtml();
}

// --- ShellHtmlHost -----------------------------------------------------------

void ShellHtmlHost::clearHover()
{
    // A move over the lesson's background puts out every lit button.
    QMouseEvent move(QEvent::MouseMove, QPointF(-1, -1), QPointF(-1, -1), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&m_base, &move);
}

void ShellHtmlHost::shrinkFilm()
{
    if (m_films && m_base.viewers().filmOpen())
        if (FilmWindowLogic* film = m_films->visible())
            film->SchermoClick();
}

void ShellHtmlHost::toggleFilmPause()
{
    m_base.logic().PausaVideo();
}

void ShellHtmlHost::playRecordSound()
{
    m_photoHost.playRecordSound();
}

void ShellHtmlHost::playSound(const QString& path, bool loop)
{
    if (loop)
        m_system.playSoundLoop(path);
    else
        m_system.playSound(path);
}

void ShellHtmlHost::stopSound()
{
    m_system.stopSound();
}

QString ShellHtmlHost::currentTopic() const
{
    return m_base.Table1.fieldText(QStringLiteral("Argomento")).trimmed();
}

bool ShellHtmlHost::bookVisible() const
{
    return m_photoHost.bookVisible();
}

void ShellHtmlHost::focusBook()
{
    m_photoHost.focusBook();
}

bool ShellHtmlHost::quizVisible() const
{
    return m_photoHost.quizVisible();
}

void ShellHtmlHost::focusQuiz()
{
    m_photoHost.focusQuiz();
}

bool ShellHtmlHost::photoViewerVisible() const
{
    return m_base.viewers().photoViewerOpen();
}

void ShellHtmlHost::focusPhotoViewer()
{
    m_base.viewers().focusPhotoViewer();
}

void ShellHtmlHost::closePhotoViewer()
{
    m_base.viewers().closePhotoViewer();
}

void ShellHtmlHost::closePreviews()
{
    m_base.viewers().closePreviews();
}

void ShellHtmlHost::openPhoto(int n)
{
    m_base.viewers().openPhotoViewer(n);
}

// --- ShellBookHost -----------------------------------------------------------

QString ShellBookHost::field(const QString& name) const
{
    return m_base.Table1.fieldText(name);
}

void ShellBookHost::toggleFilmPause()
{
    m_base.logic().PausaVideo();
}

bool ShellBookHost::photoViewerVisible() const
{
    return m_base.viewers().photoViewerOpen();
}

bool ShellBookHost::quizVisible() const
{
    return m_base.viewers().quizVisible();
}

void ShellBookHost::focusQuiz()
{
    m_base.viewers().focusQuiz();
}

bool ShellBookHost::crossroadsVisible() const
{
    return m_cross && m_cross->isVisible();
}

void ShellBookHost::refreshCrossroads()
{
    if (m_cross)
        m_cross->update();
}

void ShellBookHost::showPositionTool(bool shown)
{
    if (m_error)
        m_error->showBookTool(shown);
}

void ShellBookHost::positionChanged(const QString& page, int scroll)
{
    if (m_error)
        m_error->showBookPosition(page, scroll);
}

// --- ShellPhotoHost ----------------------------------------------------------

bool ShellPhotoHost::bannerVisible() const
{
    return m_base.viewers().bannerVisible();
}

void ShellPhotoHost::closeBanner()
{
    m_base.viewers().closeBanner();
}

void ShellPhotoHost::playRecordSound()
{
    const Folders& d = m_g.dirs;
    const QString& folder = m_g.ModoAM() ? d.DirBookAM : m_g.ModoCD() ? d.DirBookCDE : m_g.ModoCQ() ? d.DirBookCQC : d.DirBook;
    const std::optional<QString> path =
        joinPlain(folder, m_base.Table1.fieldText(QStringLiteral("Audio")).trimmed(), QStringLiteral("Snd"),
                  QStringLiteral(".WAV"));
    if (path)
        m_system.playSound(*path);
}

void ShellPhotoHost::setTools(TTools* tools, PhotoViewer* viewer, TTVFoto* window, Reports* reports)
{
    m_tools = tools;
    m_viewer = viewer;
    m_window = window;
    m_reports = reports;
}

bool ShellPhotoHost::toolsOpen() const
{
    return m_tools && m_tools->isOpen();
}

bool ShellPhotoHost::openTools()
{
    if (!m_tools || !m_viewer || !m_window || !m_reports)
        return false;
    // The styles belong to whoever teaches now.
    m_styles = std::make_unique<CaptionStyleStore>(CaptionStyleStore::forFolders(m_g.dirs, *m_reports));
    m_tools->attach(m_viewer, m_styles.get(), m_reports);
    m_tools->openAt(m_window->geometry().topLeft());
    return m_tools->isOpen();
}

void ShellPhotoHost::closeTools()
{
    if (m_tools)
        m_tools->park();
}

int ShellPhotoHost::armedArrow() const
{
    return m_tools && m_tools->isOpen() ? m_tools->armedArrow() : 0;
}

void ShellPhotoHost::arrowDrawn(int arrow)
{
    if (m_tools)
        m_tools->arrowDrawn(arrow);
}

void ShellPhotoHost::showCaptionInTools(const PhotoCaption& caption, bool selected)
{
    if (m_tools && m_tools->isOpen())
        m_tools->showCaption(caption, selected);
}

void ShellPhotoHost::toggleFilmPause()
{
    m_base.logic().PausaVideo();
}

void ShellPhotoHost::openGeneralMenu()
{
    m_base.logic().TastoMNUClick();
}

void ShellPhotoHost::showGeneralMenuModal()
{
    m_base.logic().TastoMNUClick();
}

QString ShellPhotoHost::subTopic() const
{
    return m_base.navigator().fields().SottoArgCorr;
}

bool ShellPhotoHost::bookVisible() const
{
    return m_base.viewers().bookOpen();
}

void ShellPhotoHost::focusBook()
{
    // Only the focus: showing the page again would bring back the record's
    // page over one the teacher turned.
    m_base.viewers().focusBook();
}

bool ShellPhotoHost::quizVisible() const
{
    return m_base.viewers().quizVisible();
}

void ShellPhotoHost::focusQuiz()
{
    m_base.viewers().focusQuiz();
}

void ShellPhotoHost::closePreviews()
{
    m_base.viewers().closePreviews();
}

// --- ShellMenus --------------------------------------------------------------

bool ShellMenus::generalMenuVisible() const
{
    return m_menu && m_menu->isVisible();
}

void ShellMenus::showGeneralMenu()
{
    if (m_menu)
        m_menu->showMenu();
}

void ShellMenus::generalMenuOk()
{
    if (m_menu)
        m_menu->TastoOK();
}

void ShellMenus::cycleViewMode()
{
    if (m_menu && m_menu->logic())
        m_menu->logic()->viewModeClicked(false);
}

void ShellMenus::refreshGeneralMenu()
{
    if (m_menu)
        m_menu->ChangeModoTasti();
}

// --- the picture menus ---------------------------------------------------------

bool ShellMenus::showSignCategoryMenu(TModoQuiz edition)
{
    if (!m_signs || !m_base)
        return false;
    const bool fromPopup = m_signsFromPopup;
    m_signsFromPopup = false;
    m_signs->CaricaMenuIcone(int(edition), m_base->Table1.fileName());
    // The sign on show gives way to the menu: its quiz closes, unless the
    // menu came from the topic pop-up over it.
    if (m_g && !fromPopup && !m_g->Segnale.isEmpty() && m_g->PASSsegnale)
        m_base->viewers().closeQuiz();
    // The sign on show: the crossroads' own number while its exercise is
    // up, else the number display's.
    QString current = m_base->viewers().crossroadsNumber();
    if (current.isEmpty() && m_base->Display && m_base->Display->isVisible())
        current = m_base->LNumSegn->text().trimmed();
    m_signs->showMenu(fromPopup, current.isEmpty() ? QStringLiteral("1") : current);
    return true;
}

bool ShellMenus::canShowVehicleMenu() const
{
    return m_vehicles != nullptr;
}

bool ShellMenus::showVehicleMenu(bool quick)
{
    if (!m_vehicles)
        return false;
    m_vehicles->showMenu(quick);
    return true;
}

void ShellMenus::searchSign(const QString& name)
{
    if (!m_signs)
        return;
    m_signs->RicercaMain(name);
    // The keys go back to the lesson: on the scaled presentation a hidden
    // jump field would otherwise keep taking what is typed next.
    if (m_base)
        m_base->takeFocus();
}

void ShellSignMenuHost::closeViewersForJump()
{
    MainViewerPorts& v = m_base.viewers();
    v.closePhotoViewer();
    v.closeFilms();
    v.closeQuiz();
    // The crossroads exercise under the menu: siren off, its film released.
    if (v.crossroadsVisible())
        v.closeCrossroads();
    if (v.htmlOpen())
        v.closeHtml();
}

void ShellSignMenuHost::resetPhotoIndex()
{
    m_g.FotoCorrente = 0;
}

void ShellSignMenuHost::AttivaModoTemp(const QString& from, const QString& to, bool count)
{
    m_base.AttivaModoTemp(from, to, count);
}

void ShellSignMenuHost::FiltraDB(const QString& from, const QString& to, bool count)
{
    m_base.FiltraDB(from, to, count);
}

int ShellSignMenuHost::SpostaSuRecord(const QString& field, const QString& value, bool show)
{
    return m_base.navigator().SpostaSuRecord(field, value, show);
}

QString ShellSignMenuHost::currentField(const QString& field) const
{
    return m_base.Table1.fieldText(field);
}

void ShellSignMenuHost::takeRecordAsQuestionNumber()
{
    m_g.ContatoreRecord = m_base.Table1.recNo();
}

void ShellSignMenuHost::closeQuiz()
{
    m_base.viewers().closeQuiz();
}

void ShellSignMenuHost::showSignAlone(const QString& sign, int number)
{
    SignViewer& viewer = m_base.signViewer();
    viewer.Visione(sign, false, m_config.CBNomeSegnali);
    viewer.CancellaIcone();
    if (number > 0 && m_base.Display && m_base.LNumSegn) {
        m_base.Display->move(550, 349);
        m_base.LNumSegn->setText(QString::number(number));
        m_base.Display->show();
    }
    m_base.setFotoButton(false);
    m_base.setVideoButton(false);
    m_base.setLibroButton(false);
    m_base.setQuizButton(false);
}

bool ShellSignMenuHost::moveToSignPrefix(const QString& prefix)
{
    return m_base.Table1.locate(QStringLiteral("Nome segnale"), prefix, LocateOption::PartialKey);
}

void ShellSignMenuHost::closeMenu()
{
    if (m_menu && m_menu->isVisible())
        m_menu->done(1);
}

void ShellSignMenuHost::menuLeft()
{
    if (m_base.viewers().crossroadsVisible())
        m_base.viewers().refreshCrossroads();
}

int ShellVehicleMenuHost::SpostaSuRecord(const QString& field, const QString& value, bool show)
{
    return m_base.navigator().SpostaSuRecord(field, value, show);
}

void ShellVehicleMenuHost::closeQuiz()
{
    m_base.viewers().closeQuiz();
}

void ShellVehicleMenuHost::closeFilmAndBook()
{
    m_base.viewers().closeFilms();
    m_base.viewers().closeBook();
}

void ShellVehicleMenuHost::returnFromSideTrip()
{
    m_base.logic().TastoMNGClick();
}

void ShellVehicleMenuHost::closeMenu()
{
    if (m_menu && m_menu->isVisible())
        m_menu->done(1);
}

QString ShellVehicleMenuHost::currentFoto1() const
{
    return m_base.Table1.fieldText(QStringLiteral("Foto1"));
}

// --- GeneralMenuLink ---------------------------------------------------------

GeneralMenuLink::GeneralMenuLink(Globals& g, Config& config, Reports& reporter,
                                 SystemServices& system, TBase& base)
    : m_g(g), m_config(config), m_reporter(reporter), m_system(system), m_base(base)
{
}

void GeneralMenuLink::FiltraDB(const QString& da, const QString& a, bool conteggio)
{
    m_base.FiltraDB(da, a, conteggio);
}

bool GeneralMenuLink::VeroSeVuoto(const QString& campo)
{
    return m_base.VeroSeVuoto(campo);
}

bool GeneralMenuLink::openEditionTable(TModoQuiz edition, QString* error)
{
    return m_base.openEditionTable(edition, error);
}

QuestionBankLoader* GeneralMenuLink::bankLoader()
{
    return m_base.bankLoader();
}

void GeneralMenuLink::rebuildTopicLists()
{
    m_base.rebuildTopicLists();
}

void GeneralMenuLink::startTopic(const QString& fallback)
{
    m_base.startTopic(fallback);
}

void GeneralMenuLink::closeViewers()
{
    MainViewerPorts& v = m_base.viewers();
    v.closePhotoViewer();
    v.closeFilms();
    v.closeBook();
    v.closeHtml();
    v.closePreviews();
}

void GeneralMenuLink::enableMainButtons()
{
    m_base.enableLessonButtons();
}

void GeneralMenuLink::closeMainWindow()
{
    m_base.close();
}

void GeneralMenuLink::endProgram()
{
    m_base.endProgram();
}

bool GeneralMenuLink::playFilm(const FilmRequest& request, QString* error)
{
    return m_base.viewers().playFilm(request, error);
}

void GeneralMenuLink::openHtml(const QString& page)
{
    m_base.viewers().openHtml(page);
}

void GeneralMenuLink::saveViewMode()
{
    Settings(m_g, m_reporter).SaveSet(m_config);
}

void GeneralMenuLink::beep()
{
    m_system.beep();
}

// --- ShellReportHost ---------------------------------------------------------

void ShellReportHost::setWindows(TBase* base, TMenuGen* menu, TConfig* config)
{
    m_base = base;
    m_menu = menu;
    m_config = config;
}

bool ShellReportHost::menuOrConfigVisible() const
{
    return (m_menu && m_menu->isVisible()) || (m_config && m_config->isVisible());
}

bool ShellReportHost::bookViewerVisible() const
{
    return m_base && m_base->viewers().bookOpen();
}

QString ShellReportHost::databaseInfo() const
{
    return m_base ? ziro::databaseInfo(m_base->Table1) : QString();
}

// --- The quiz ------------------------------------------------------------------

bool ShellViewers::quizVisible() const
{
    return m_quizWindow && m_quizWindow->isVisible();
}

void ShellViewers::loadQuizBlock(const QString& domanda)
{
    if (m_quiz)
        m_quiz->CaricaDomanda(domanda, 0);
}

void ShellViewers::loadQuizFromButton(const QString& domanda)
{
    if (m_quiz)
        m_quiz->CaricaDomanda(domanda, 1);
}

void ShellViewers::closeQuiz()
{
    if (m_quiz)
        m_quiz->ChiudiQuiz();
}

void ShellViewers::focusBook()
{
    if (bookOpen() && m_bookWindow) {
        m_bookWindow->raise();
        m_bookWindow->setFocus();
    }
}

void ShellViewers::focusQuiz()
{
    if (quizVisible()) {
        m_quizWindow->raise();
        m_quizWindow->setFocus();
    }
}

QString ShellViewers::pictogramName(const QString& name) const
{
    return AdeguaPittogrammi(name);
}

void ShellViewers::stopQuizAudio()
{
    if (m_quiz)
        m_quiz->stopAudio();
}

void ShellQuizHost::pressForward()
{
    m_base.logic().ActionFunction(5);
}

void ShellQuizHost::stepBack()
{
    m_base.SWindietro();
}

void ShellQuizHost::showSign(const QString& name)
{
    m_base.signViewer().Visione(name, true, m_config.CBNomeSegnali);
}

bool ShellQuizHost::playFilm(const FilmRequest& request, QString* error)
{
    return m_base.viewers().playFilm(request, error);
}

void ShellQuizHost::stopFilm()
{
    m_base.viewers().stopFilm();
}

void ShellQuizHost::closeViewersForFilm()
{
    MainViewerPorts& viewers = m_base.viewers();
    if (!m_g.SoloFoto)
        viewers.closePhotoViewer();
    if (viewers.htmlOpen())
        viewers.closeHtml();
}

void ShellQuizHost::closeCrossroads()
{
    if (m_base.viewers().crossroadsVisible())
        m_base.viewers().closeCrossroads();
}

void ShellQuizHost::closeBanner()
{
    m_base.viewers().closeBanner();
}

void ShellQuizHost::setLockLights(bool on)
{
    for (LockKey key : {LockKey::NumLock, LockKey::CapsLock, LockKey::ScrollLock})
        m_system.setLockKey(key, on);
}

QString ShellQuizHost::subTopic() const
{
    return m_base.navigator().fields().SottoArgCorr;
}

int ShellQuizHost::jumpCounter() const
{
    return m_base.navigator().fields().NumeroJmp;
}

DataTable* ShellQuizHost::lesson()
{
    return m_g.Custom ? &m_base.Table1 : nullptr;
}

int ShellQuizHost::lessonRecord() const
{
    return m_base.Table1.recNo();
}

int ShellQuizHost::lessonCount() const
{
    return m_base.Table1.recordCount();
}

bool ShellQuizHost::controlHeld() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

void ShellQuizHost::beep()
{
    m_system.beep();
}

}  // namespace ziro

// --- Custom lessons and resume marks -------------------------------------------

namespace ziro {

void ShellMenus::saveResumeMark()
{
    if (m_lessons)
        m_lessons->saveResumeMark();
}

bool ShellMenus::applyPendingMark()
{
    return m_lessons && m_lessons->applyPendingMark();
}

bool GeneralMenuLink::openExam()
{
    return m_exam && m_exam->start();
}

bool GeneralMenuLink::lessonListVisible() const
{
    return m_lessons && m_lessons->lessonListVisible();
}

void GeneralMenuLink::showLessonList()
{
    if (m_lessons)
        m_lessons->showLessonList();
}

}  // namespace ziro

namespace ziro {

// --- The configuration form ---------------------------------------------------

void ShellMenus::showConfigSecondPage()
{
    if (m_configWindow)
        m_configWindow->showStartPage();
}

void ShellMenus::debugModeChanged()
{
    if (m_configWindow && m_configWindow->isVisible())
        m_configWindow->refresh();
}

void GeneralMenuLink::showConfiguration()
{
    if (m_configWindow)
        m_configWindow->showSettings();
}

}  // namespace ziro
