#include "shell/application_ui.h"

#include "annotate/tools_window.h"
#include "authoring/accessi_window.h"
#include "authoring/select_window.h"
#include "base/dialogs.h"
#include "base/version.h"
#include "config/config_controller.h"
#include "config/config_window.h"
#include "config/machine_store.h"
#include "config/password_dialog.h"
#include "config/settings.h"
#include "content/navigator.h"
#include "controls/art_scale.h"
#include "crossroads/tv_cross_window.h"
#include "crossroads/cross_film.h"
#include "crossroads/cross_session.h"
#include "diag/book_position.h"
#include "diag/error_window.h"
#include "diag/reporter.h"
#include "diag/table_model.h"
#include "menus/back_sub_arg_window.h"
#include "menus/in_text_dialog.h"
#include "menus/menu_gen_window.h"
#include "menus/menu_img_window.h"
#include "menus/menu_vcl_window.h"
#include "platform/media/mpv_film_backend.h"
#include "platform/system/single_instance.h"
#include "platform/system/system_services.h"
#include "quiz/quiz_bank.h"
#include "quiz/quiz_color_window.h"
#include "quiz/quiz_colours.h"
#include "quiz/quiz_session.h"
#include "quiz/quiz_speech.h"
#include "quiz/quiz_window.h"
#include "quiz/exam_window.h"
#include "shell/artwork.h"
#include "shell/config_link_ui.h"
#include "shell/lessons_link_ui.h"
#include "shell/main_window.h"
#include "shell/ports_ui.h"
#include "shell/presentation.h"
#include "shell/presentation_ui.h"
#include "shell/splash_window.h"
#include "shell/startup.h"
#include "viewers/film_window_logic.h"
#include "platform/files/paths.h"
#include "viewers/photo_previews.h"
#include "viewers/note_viewer.h"
#include "viewers/book.h"
#include "viewers/photo_viewer.h"
#include "viewers/tv_foto_window.h"
#include "viewers/foto_preview_window.h"
#include "viewers/media_bar.h"
#include "viewers/remote_window.h"
#include "viewers/tv_avc_window.h"
#include "viewers/tv_html_window.h"
#include "viewers/tv_libro_window.h"
#include "viewers/tv_testo_window.h"
#include "viewers/tv_video_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>

#include <cmath>
#include <exception>

namespace ziro {

ZiroApp::ZiroApp(Options options, SystemServices& system, Dialogs& dialogs)
    : m_options(std::move(options)), m_system(system), m_dialogs(dialogs)
{
    if (m_options.programFile.isEmpty())
        m_options.programFile = QCoreApplication::applicationFilePath();
    m_g.initFromProgram(m_options.programFile);
    m_reporter = std::make_unique<Reporter>(m_g, &m_system);
    m_config = std::make_unique<Config>();
    QObject::connect(m_reporter.get(), &Reporter::debugModeLeft, [this] { m_config->CBMDebug = false; });
    m_viewers = std::make_unique<ShellViewers>();
    m_menus = std::make_unique<ShellMenus>();
    m_reportHost = std::make_unique<ShellReportHost>();
    m_store = std::make_unique<FileMachineStore>(m_options.machineStorePath.isEmpty()
                                                     ? FileMachineStore::defaultPath()
                                                     : m_options.machineStorePath);
}

ZiroApp::~ZiroApp()
{
    shutdown();
    // Overlays are children of the main window and go with it.
    delete m_w.Base;
    delete m_splash;
}

template <typename W, typename... Args>
W* ZiroApp::make(Args&&... args)
{
    W* w = new W(std::forward<Args>(args)...);
    m_created << w->objectName();
    return w;
}

std::optional<int> ZiroApp::start()
{
    try {
        // One running copy per desktop: a second start brings the first
        // forward, beeps and ends without creating anything.
        m_instance = std::make_unique<SingleInstance>(
            m_options.instanceKey.isEmpty() ? SingleInstance::defaultKey() : m_options.instanceKey);
        if (!m_instance->acquire()) {
            m_system.beep();
            return 0;
        }

        QApplication::setApplicationName(QStringLiteral("Ziro"));

        double dpi = 96.0;
        if (m_options.dpi)
            dpi = *m_options.dpi;
        else if (QScreen* s = QGuiApplication::primaryScreen())
            dpi = s->logicalDotsPerInchX();
        if (std::lround(dpi) == 120) {
            const auto answer = m_dialogs.askYesNo(QString::fromUtf8(
                "E' stata rilevata una dimensione dei font di sistema non compatibile; Selezionare "
                "nelle Proprietà schermo \"Caratteri normali\" o \"96 dpi\". Si desidera comunque "
                "procedere?"));
            if (answer != Dialogs::Answer::Yes)
                return 0;
        }

        prepareSplash(m_g, m_system, m_dialogs);
        m_splash = new TSplash(m_g.dirs.DirProgram, m_system);
        m_splash->showSplash();

        if (!QFileInfo(m_g.dirs.DirProgram).isDir()) {
            m_dialogs.message(QStringLiteral("ERRORE! La directory di programma '") +
                              m_g.dirs.DirProgram + QStringLiteral("' non esiste.") +
                              QLatin1Char('\r') + QStringLiteral("Impossibile proseguire."));
            return 1;
        }

        createWindows();
        if (m_w.Base->startupFailed())
            return 1;
        QObject::connect(m_instance.get(), &SingleInstance::raiseRequested, m_w.Base,
                         [this] { bringPresentationForward(m_w.Base); });
        m_w.Base->showMain();
        // The splash stays in front of the main window until it dissolves.
        if (m_splash->isVisible())
            m_splash->raise();
        return std::nullopt;
    } catch (const std::exception& e) {
        m_dialogs.message(QStringLiteral("ERRORE di inizializzazione\r\n") +
                          QString::fromUtf8(e.what()));
    } catch (...) {
        m_dialogs.message(QStringLiteral("ERRORE di inizializzazione\r\n"));
    }
    return 1;
}

void ZiroApp::createWindows()
{
    m_w.Base = make<TBase>(m_g, *m_config, *m_store, *m_reporter, m_system, m_dialogs, m_splash,
                           *m_viewers, *m_menus);
    m_viewers->setMainWindow(m_w.Base);
    QObject::connect(m_w.Base, &TBase::exitRequested, [](int code) { QCoreApplication::exit(code); });
    m_w.Base->setActivationDelay(m_options.activationDelayMs);
    m_w.Base->create();
    if (m_w.Base->startupFailed())
        return;
    // The start-up checks have decided how large the lesson is shown: the
    // artwork is drawn with the detail that size needs, before the other
    // windows draw theirs.
    qreal surfaceScale = 1.0;
    qreal devicePixelRatio = 1.0;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        devicePixelRatio = screen->devicePixelRatio();
        if (m_g.PresentationFillsScreen)
            surfaceScale = fitScale(QSizeF(screen->size()));
    }
    const qreal scale = artScaleFor(surfaceScale, devicePixelRatio);
    if (scale != artScale()) {
        setArtScale(scale);
        m_w.Base->applyArt();
    }
    TBase* base = m_w.Base;
    QWidget* host = base;

    m_w.FError = make<TFError>(host, *m_reporter, m_g, m_dialogs, *m_reportHost);
    m_reporter->setView(m_w.FError);
    m_w.FError->setGridTable(&base->Table1);
    QObject::connect(m_w.FError, &TFError::filterOffRequested, base,
                     [base] { base->FiltraDB(QStringLiteral("OFF"), QString(), false); });
    QObject::connect(m_w.FError, &TFError::filterDefaultRequested, base,
                     [base] { base->FiltraDB(QStringLiteral("Default"), QString(), false); });
    QObject::connect(m_w.FError, &TFError::recordChosen, base, &TBase::showRecordAt);
    QObject::connect(m_w.FError, &TFError::bookPositionRequested, base, [this, base] {
        const MainViewerPorts& v = base->viewers();
        if (storeBookPosition(base->Table1, v.bookPageName(), v.bookScrollPosition()))
            m_w.FError->flashBookPosition();
        else
            m_system.beep();
    });

    m_w.MenuGen = make<TMenuGen>(host);
    m_menus->setGeneralMenu(m_w.MenuGen);
    m_menuLink = std::make_unique<GeneralMenuLink>(m_g, *m_config, *m_reporter, m_system, *base);
    m_w.MenuGen->attach(m_g, *m_config, *m_reporter, *m_menuLink);
    m_w.Config = make<TConfig>(host);
    m_reportHost->setWindows(base, m_w.MenuGen, m_w.Config);

    m_w.FotoPreview = make<TFotoPreview>(host);
    m_w.Quiz = make<TQuiz>(host);
    // The question bank belongs to the quiz: from here on every edition
    // change reloads it.
    m_quizRandom = std::make_unique<SystemQuizRandom>();
    m_quizBank = std::make_unique<QuizBank>(m_g, *m_config, *m_reporter, *m_quizRandom);
    base->setBankLoader(m_quizBank.get());
    m_w.TVFoto = make<TTVFoto>(host);
    m_w.TVvideo = make<TTVvideo>(host, m_system, m_dialogs);
    m_w.TVavc = make<TTVavc>(host, m_system, m_dialogs);
    m_w.TVlibro = make<TTVlibro>(host);
    m_w.TVtesto = make<TTVtesto>(host);
    m_w.PasswordDlg = make<TPasswordDlg>(host);
    m_w.MenuImg = make<TMenuImg>(host);
    m_w.MenuVcl = make<TMenuVcl>(host);
    // The picture menus jump in the lesson screen: signs by number, vehicles
    // by photograph.
    m_signMenuHost = std::make_unique<ShellSignMenuHost>(m_g, *m_config, *base);
    m_signMenuHost->setMenu(m_w.MenuImg);
    m_w.MenuImg->attach(m_g, *m_config, *m_reporter, *m_signMenuHost);
    m_w.MenuImg->CaricaMenuIcone(int(TModoQuiz::mqAB), QString());
    m_vehicleMenuHost = std::make_unique<ShellVehicleMenuHost>(*base);
    m_vehicleMenuHost->setMenu(m_w.MenuVcl);
    m_w.MenuVcl->attach(m_g, *m_config, *m_reporter, *m_vehicleMenuHost);
    m_menus->setPictureMenus(&m_g, base, m_w.MenuImg, m_w.MenuVcl);
    m_w.Remote = make<TRemote>(host);
    m_w.QuizColor = make<TQuizColor>(host);
    // The colours chosen are stored at once, whoever else applies them.
    QObject::connect(m_w.QuizColor, &TQuizColor::coloursAccepted, m_w.QuizColor,
                     [this](const QuizColourTexts& texts) {
                         Settings(m_g, *m_reporter).SaveQuizColor(*m_config, texts);
                     });
    m_w.InText = make<TInText>(host, m_system);
    m_w.Select = make<TSelect>(host);
    m_w.Accessi = make<TAccessi>(host);
    m_w.TVcross = make<TTVcross>(host);
    m_w.Tools = make<TTools>(host);
    m_w.BackSubArg = make<TBackSubArg>(host);
    base->attachBanner(m_w.BackSubArg);
    m_w.TVhtml = make<TTVhtml>(host);

    // The film windows and the media bar over one engine.
    m_film = std::make_unique<MpvFilmBackend>();
    m_filmMpeg = std::make_unique<FilmWindowLogic>(FilmPlayer::Mpeg, m_g, *m_config, *m_film,
                                                   *m_w.TVvideo);
    m_filmMp4 = std::make_unique<FilmWindowLogic>(FilmPlayer::Mp4, m_g, *m_config, *m_film,
                                                  *m_w.TVavc);
    m_films = std::make_unique<FilmPlayers>(*m_filmMpeg, *m_filmMp4, *m_film, m_g);
    m_mediaBar = std::make_unique<MediaBar>(m_g, *m_films, *m_w.Remote);
    m_w.Remote->attach(m_mediaBar.get());
    m_viewers->setFilms(&m_g, m_films.get(), m_mediaBar.get());
    const std::pair<FilmWindow*, FilmWindowLogic*> films[] = {{m_w.TVvideo, m_filmMpeg.get()},
                                                              {m_w.TVavc, m_filmMp4.get()}};
    for (const auto& [window, logic] : films) {
        window->attach(logic, m_film.get());
        window->setConfigWindow(m_w.Config);
        window->setQuizWindow(m_w.Quiz);
        QObject::connect(window, &FilmWindow::keyPassed, base, &TBase::GestioneTastiera);
    }
    QObject::connect(m_w.Remote, &TRemote::keyPassed, base, &TBase::GestioneTastiera);

    // The quiz: its logic over the window, the bank and the lesson screen.
    m_quizHost = std::make_unique<ShellQuizHost>(m_g, *m_config, m_system, *base);
    m_quizSession = std::make_unique<QuizSession>(m_g, *m_config, *m_reporter, *m_quizBank, *m_w.Quiz,
                                                  *m_quizHost);
    m_quizBank->setPort(m_quizSession.get());
    m_w.Quiz->attach(m_quizSession.get());
    // The spoken statements keep their own settings handle: the language
    // pop-ups write [Audio] as the teacher ticks them.
    m_quizSettings = std::make_unique<Settings>(m_g, *m_reporter);
    m_quizSpeech = std::make_unique<QuizSpeech>(m_g, *m_config, *m_quizSettings, m_system, *m_reporter);
    m_quizSpeech->attach(m_quizSession.get(), m_w.Quiz);
    m_quizSpeech->setRecordSource([base] { return base->Table1.recNo(); });
    m_quizSpeech->setActiveSource([this] { return m_w.Quiz->isVisible(); });
    m_quizSession->setAudio(m_quizSpeech.get());
    m_w.Quiz->attachSpeech(m_quizSpeech.get());
    m_viewers->setQuiz(m_w.Quiz, m_quizSession.get());
    QObject::connect(m_w.Quiz, &TQuiz::keyPassed, base, &TBase::GestioneTastiera);
    // The mock exam draws from the bank the quiz holds.
    m_w.Exam = make<TExam>(host);
    m_examSession = std::make_unique<ExamSession>(
        m_g, *m_reporter, [this]() -> const QuestionBank* { return &m_quizBank->bank(); }, *m_w.Exam);
    m_w.Exam->attach(m_examSession.get());
    m_examSession->setVoice(&m_system, m_config.get());
    m_viewers->setExam(m_examSession.get());
    m_menuLink->setExam(m_examSession.get());
    QObject::connect(m_w.Exam, &TExam::keyPassed, base, &TBase::GestioneTastiera);
    // The quiz starts in the stored colours when "Modifica colori" is on and
    // takes the chosen ones at once; while the colours window is up it shows
    // the default set, as a reference to choose against.
    const auto applyQuizColours = [this] {
        QuizColours colours;
        if (m_config->CBQuizColor)
            AttivaColori(colours, storedQuizColourTexts(*m_config), *m_reporter);
        m_quizSession->setColours(colours);
    };
    applyQuizColours();
    QObject::connect(base, &TBase::settingsApplied, m_w.Quiz, applyQuizColours);
    QObject::connect(m_w.QuizColor, &TQuizColor::coloursAccepted, m_w.Quiz, [this](const QuizColourTexts& texts) {
        QuizColours colours;
        AttivaColori(colours, texts, *m_reporter);
        m_quizSession->setColours(colours);
    });
    QObject::connect(m_w.QuizColor, &TQuizColor::quizDefaultsRequested, m_w.Quiz,
                     [this] { m_quizSession->setColours(QuizColours()); });

    m_previews = std::make_unique<PhotoPreviews>(
        m_g, *m_reporter, *m_w.FotoPreview,
        [this](const QString& value) -> std::optional<QString> {
            const std::optional<PhotoFile> file = photoFile(m_g.dirs, value);
            return file ? std::optional<QString>(file->path) : std::nullopt;
        });
    m_w.FotoPreview->attach(m_previews.get());
    m_viewers->setPreviews(m_w.FotoPreview, m_previews.get());
    QObject::connect(m_w.FotoPreview, &TFotoPreview::photoChosen, base,
                     [base](int photo) { base->viewers().openPhotoViewer(photo); });
    QObject::connect(m_w.FotoPreview, &TFotoPreview::pageChosen, base,
                     [base](const QString& page) { base->viewers().openHtml(page); });
    QObject::connect(m_w.FotoPreview, &TFotoPreview::beepRequested, base, [this] { m_system.beep(); });
    QObject::connect(m_w.FotoPreview, &TFotoPreview::keyPassed, base, &TBase::GestioneTastiera);

    m_photoHost = std::make_unique<ShellPhotoHost>(m_g, m_system, *base);
    m_captions = std::make_unique<DataTableCaptions>(base->Table1);
    m_photoViewer = std::make_unique<PhotoViewer>(m_g, *m_config, *m_reporter, *m_w.TVFoto, *m_photoHost);
    m_photoViewer->setTable(m_captions.get());
    m_w.TVFoto->attach(m_photoViewer.get());
    m_viewers->setPhotoViewer(m_w.TVFoto, m_photoViewer.get());
    QObject::connect(m_w.TVFoto, &TTVFoto::beepRequested, base, [this] { m_system.beep(); });
    QObject::connect(m_w.TVFoto, &TTVFoto::keyPassed, base, &TBase::GestioneTastiera);
    m_photoHost->setTools(m_w.Tools, m_photoViewer.get(), m_w.TVFoto, m_reporter.get());
    QObject::connect(m_w.Tools, &TTools::beepRequested, base, [this] { m_system.beep(); });
    QObject::connect(m_w.Tools, &TTools::safeAreaShown, m_w.TVFoto, &TTVFoto::showSafeArea);

    m_note = std::make_unique<NoteEditor>(*m_captions, *m_reporter);
    m_w.TVtesto->attach(m_note.get());
    m_viewers->setTextViewer(m_w.TVtesto, m_note.get(), m_config.get());
    QObject::connect(m_w.TVtesto, &TTVtesto::keyPassed, base, &TBase::GestioneTastiera);
    QObject::connect(m_w.TVtesto, &TTVtesto::beepRequested, base, [this] { m_system.beep(); });

    m_htmlHost = std::make_unique<ShellHtmlHost>(m_g, m_system, *base, m_films.get(), *m_photoHost);
    m_htmlViewer = std::make_unique<HtmlViewer>(m_g, *m_reporter, *m_w.TVhtml, *m_htmlHost);
    m_w.TVhtml->attach(m_htmlViewer.get());
    m_w.TVhtml->setPopupMenu(base->PopUpArg);
    m_viewers->setHtmlViewer(m_w.TVhtml, m_htmlViewer.get());
    QObject::connect(m_w.TVhtml, &TTVhtml::keyPassed, base, &TBase::GestioneTastiera);

    // The crossroads exercise plays its animation on an engine of its own,
    // so a film window and the exercise never take each other's film.
    {
        MpvFilmOptions silent;
        silent.nullAudio = true;
        m_crossEngine = std::make_unique<MpvFilmBackend>(silent);
        m_crossFilm = std::make_unique<cross::CrossFilm>(*m_crossEngine);
        m_crossSession = std::make_unique<cross::CrossSession>(m_g, *m_reporter, *m_crossFilm, *m_w.TVcross);
        m_crossFilm->setSession(m_crossSession.get());
        m_w.TVcross->attach(m_crossSession.get(), m_crossFilm.get());
        m_viewers->setCrossroads(m_w.TVcross);
        QObject::connect(m_w.TVcross, &TTVcross::beepRequested, base, [this] { m_system.beep(); });
        QObject::connect(m_w.TVcross, &TTVcross::keyPassed, base, &TBase::GestioneTastiera);
        QObject::connect(m_w.TVcross, &TTVcross::mainMenuEnabled, base, &TBase::setPopupEnabled);
        QObject::connect(m_w.TVcross, &TTVcross::jumpRequested, base,
                         [this](const QString& sign) { m_menus->searchSign(sign); });
    }

    // The book viewer.
    m_bookHost = std::make_unique<ShellBookHost>(*base);
    m_bookHost->setWindows(m_w.FError, m_w.TVcross);
    m_bookViewer = std::make_unique<BookViewer>(m_g, *m_reporter, *m_w.TVlibro, *m_bookHost);
    m_w.TVlibro->attach(m_bookViewer.get());
    const auto cursor = [](int id) {
        const CursorArt art = cursorArt(id);
        return art.image.isNull() ? QCursor() : QCursor(QPixmap::fromImage(art.image), art.hotSpot.x(), art.hotSpot.y());
    };
    m_w.TVlibro->setCursors(cursor(kCursorPointer), cursor(kCursorFist));
    m_viewers->setBook(m_w.TVlibro, m_bookViewer.get());
    QObject::connect(m_w.TVlibro, &TTVlibro::keyPassed, base, &TBase::GestioneTastiera);

    // Custom lessons and teacher accesses: the template follows the folders
    // the settings set; the teacher's choice and resume mark come once the
    // activation is over.
    m_lessons = std::make_unique<ShellLessons>(
        m_g, *m_config, *m_reporter, m_system,
        ShellLessons::Windows{base, m_w.MenuGen, m_w.Select, m_w.Accessi, m_w.InText, m_quizSession.get()});
    m_menus->setLessons(m_lessons.get());
    m_lessons->makeLessonEditor(m_w.Config, m_w.TVFoto);
    m_menuLink->setLessons(m_lessons.get());
    base->navigator().setCustomLessonExit(m_lessons.get());
    QObject::connect(base, &TBase::settingsApplied, base, [this] { m_lessons->createTemplate(); });
    QObject::connect(base, &TBase::activatedOnce, base, [this] { m_lessons->startAccesses(); });

    // The configuration form: "Configura", Alt+I, and the quiz colours it
    // opens from its own option.
    m_configHost = std::make_unique<ShellConfigHost>(
        m_g, *m_config, *m_reporter, m_system,
        ShellConfigHost::Windows{base, m_w.MenuGen, m_w.Accessi, m_w.QuizColor, m_quizSession.get(),
                                 m_lessons.get()});
    m_configController = std::make_unique<ConfigController>(m_g, *m_config, *m_reporter, *m_store,
                                                            *m_configHost, VersioneProgramma());
    m_w.Config->attach(m_configController.get());
    m_menuLink->setConfigWindow(m_w.Config);
    m_menus->setConfigWindow(m_w.Config);
    QObject::connect(base, &TBase::settingsApplied, m_w.Config, [this] { m_w.Config->refresh(); });
    // Closing the form brings a crossroads exercise that was open back over
    // the lesson, drawn as the settings now say.
    for (auto closed : {&TConfig::settingsClosed, &TConfig::lessonEditorClosed})
        QObject::connect(m_w.Config, closed, base, [base] {
            if (base->viewers().crossroadsVisible())
                base->viewers().refreshCrossroads();
        });
}

void ZiroApp::shutdown()
{
    if (m_shutdownDone || !m_w.Base)
        return;
    m_shutdownDone = true;
    m_g.IniFilePtr.reset();
    // Posted edits (book positions, captions) reach the file now; a save
    // that fails is said, not lost in silence.
    QString error;
    if (!m_w.Base->Table1.close(&error))
        m_reporter->Emsg(ReportKind::FileIo, QStringLiteral("chiusura tabella"),
                         m_w.Base->Table1.fileName() + QStringLiteral(" (") + error + QLatin1Char(')'));
    const LockKeyState now = m_system.lockKeys();
    const LockKeyState& was = m_g.StatoTastiBlocco;
    if (now.numLock != was.numLock)
        m_system.setLockKey(LockKey::NumLock, was.numLock);
    if (now.capsLock != was.capsLock)
        m_system.setLockKey(LockKey::CapsLock, was.capsLock);
    if (now.scrollLock != was.scrollLock)
        m_system.setLockKey(LockKey::ScrollLock, was.scrollLock);
    // A screen that changed size on its own (a projector plugged in) is not
    // ours to restore; only a mode this program switched is.
    if (m_g.RipristinaRisoluzione && m_g.RisoluzioneCambiata) {
        const DisplayMode current = m_system.currentDisplayMode();
        const DisplayMode& initial = m_g.RisoluzioneIniziale;
        if ((current.width != initial.width || current.height != initial.height) &&
            !m_system.switchDisplayMode(true, initial))
            m_dialogs.message(QString::fromUtf8(
                "Non è stato possibile ripristinare la risoluzione memorizzata."));
    }
}

int ZiroApp::run()
{
    if (auto code = start())
        return *code;
    int code = 0;
    try {
        QApplication::setQuitOnLastWindowClosed(true);
        code = QApplication::exec();
    } catch (const std::exception& e) {
        m_dialogs.message(QStringLiteral("ERRORE di inizializzazione\r\n") +
                          QString::fromUtf8(e.what()));
        code = 1;
    }
    shutdown();
    return code;
}

}  // namespace ziro
