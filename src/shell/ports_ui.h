#pragma once

// The real ports of the program: what the lesson screen, the general menu and
// the report window reach the other windows through. The application object
// owns one of each and plugs each window in as it is created; until a window
// exists its part answers as the port's base does (nothing open, nothing
// shown, false for what cannot be done).

#include "diag/error_window.h"
#include "menus/general_menu.h"
#include "menus/sign_menu.h"
#include "menus/vehicle_menu.h"
#include "shell/main_logic.h"
#include "annotate/caption_styles.h"
#include "viewers/book.h"
#include "viewers/photo_viewer.h"
#include "viewers/html_page.h"
#include "quiz/quiz_session.h"
#include "quiz/exam_session.h"

#include <memory>

namespace ziro {

struct Config;
struct Globals;
class Reports;
class SystemServices;
class TBase;
class TConfig;
class TMenuGen;
class TMenuImg;
class TMenuVcl;
class FilmPlayers;
class MediaBar;
class PhotoPreviews;
class TFotoPreview;
class TTVFoto;
class TTVcross;
class TTVlibro;
class TTVtesto;
class NoteEditor;
class TTVhtml;
class TTools;
class TQuiz;
class ShellLessons;

// The viewers as the lesson screen and the walk reach them.
class ShellViewers : public MainViewerPorts {
public:
    void setMainWindow(TBase* base) { m_base = base; }
    // The film windows and the media bar, and the state they share.
    void setFilms(Globals* g, FilmPlayers* films, MediaBar* bar)
    {
        m_g = g;
        m_films = films;
        m_bar = bar;
    }

    // The photo previews' window and what it does.
    void setPreviews(TFotoPreview* window, PhotoPreviews* previews)
    {
        m_previewWindow = window;
        m_previews = previews;
    }

    // The photo viewer's window and what it does.
    void setPhotoViewer(TTVFoto* window, PhotoViewer* viewer)
    {
        m_photoWindow = window;
        m_photo = viewer;
    }

    // The mock exam; it reports itself why it cannot start.
    void setExam(ExamSession* exam) { m_exam = exam; }
    void openExam() override
    {
        if (m_exam)
            m_exam->start();
    }

    // The HTML page viewer's window and what it does.
    void setHtmlViewer(TTVhtml* window, HtmlViewer* viewer)
    {
        m_htmlWindow = window;
        m_html = viewer;
    }
    bool htmlOpen() const override;
    void openHtml(const QString& page) override;
    void closeHtml() override;

    // The crossroads window.
    void setCrossroads(TTVcross* window) { m_crossWindow = window; }
    bool crossroadsVisible() const override;
    bool startCrossroadsAutoplay() override;
    void showCrossroads(const QString& scene) override;
    void closeCrossroads() override;
    void refreshCrossroads() override;
    QString crossroadsNumber() const override;

    // The book viewer's window and what it does.
    void setBook(TTVlibro* window, BookViewer* viewer)
    {
        m_bookWindow = window;
        m_book = viewer;
    }

    bool bannerVisible() const override;
    void showBanner() override;
    void closeBanner() override;

    bool bookOpen() const override;
    void showBookPage() override;
    void nextBookPage() override;
    void previousBookPage() override;
    void closeBook() override;
    QString bookPageName() const override;
    int bookScrollPosition() const override;

    bool filmOpen() const override;
    bool filmPlaying() const override;
    void resumeFilm() override;
    void pauseFilm() override;
    void restartFilm() override;
    void closeFilms() override;
    bool playFilm(const FilmRequest& request, QString* error) override;
    void stopFilm() override;
    void resetMediaBar() override;

    bool previewsOpen() const override;
    void showPreviews() override;
    void openFirstPreview() override;
    void closePreviews() override;
    void clearPreviewPictures() override;
    void resetPreviewSelection() override;
    void preparePreviews() override;

    bool photoViewerOpen() const override;
    void openPhotoViewer(int photo) override;
    void showNextPhoto() override;
    void showPreviousPhoto() override;
    void closePhotoViewer() override;
    void photoAlbumAction() override;
    bool showSinglePhoto(const QString& path, int number) override;
    void focusPhotoViewer() override;

    // The note window, what it does, and the settings that say whether
    // its hints show.
    void setTextViewer(TTVtesto* window, NoteEditor* editor, const Config* config)
    {
        m_textWindow = window;
        m_note = editor;
        m_config = config;
    }
    bool openTextViewer() override;

    // The quiz window and what it does.
    void setQuiz(TQuiz* window, QuizSession* session)
    {
        m_quizWindow = window;
        m_quiz = session;
    }
    bool quizVisible() const override;
    void loadQuizBlock(const QString& domanda) override;
    void loadQuizFromButton(const QString& domanda) override;
    void closeQuiz() override;
    void focusBook() override;
    void focusQuiz() override;
    QString pictogramName(const QString& name) const override;
    void stopQuizAudio() override;

private:
    TQuiz* m_quizWindow = nullptr;
    QuizSession* m_quiz = nullptr;
    TTVtesto* m_textWindow = nullptr;
    NoteEditor* m_note = nullptr;
    const Config* m_config = nullptr;
    TBase* m_base = nullptr;
    TFotoPreview* m_previewWindow = nullptr;
    PhotoPreviews* m_previews = nullptr;
    TTVFoto* m_photoWindow = nullptr;
    ExamSession* m_exam = nullptr;
    PhotoViewer* m_photo = nullptr;
    TTVlibro* m_bookWindow = nullptr;
    BookViewer* m_book = nullptr;
    TTVhtml* m_htmlWindow = nullptr;
    TTVcross* m_crossWindow = nullptr;
    HtmlViewer* m_html = nullptr;
    Globals* m_g = nullptr;
    FilmPlayers* m_films = nullptr;
    MediaBar* m_bar = nullptr;
};

// What the photo viewer asks of the lesson screen and the other viewers.
class ShellPhotoHost : public PhotoViewerHost {
public:
    ShellPhotoHost(Globals& g, SystemServices& system, TBase& base) : m_g(g), m_system(system), m_base(base) {}

    bool bannerVisible() const override;
    void closeBanner() override;
    void playRecordSound() override;
    void toggleFilmPause() override;
    void openGeneralMenu() override;
    void showGeneralMenuModal() override;
    QString subTopic() const override;
    bool bookVisible() const override;
    void focusBook() override;
    bool quizVisible() const override;
    void focusQuiz() override;
    void closePreviews() override;
    bool toolsOpen() const override;
    bool openTools() override;
    void closeTools() override;
    int armedArrow() const override;
    void arrowDrawn(int arrow) override;
    void showCaptionInTools(const PhotoCaption& caption, bool selected) override;

    // The caption tool bar, the viewer it works on and the window it opens
    // under; the stored styles are the current user's.
    void setTools(TTools* tools, PhotoViewer* viewer, TTVFoto* window, Reports* reports);

private:
    Globals& m_g;
    SystemServices& m_system;
    TBase& m_base;
    TTools* m_tools = nullptr;
    PhotoViewer* m_viewer = nullptr;
    TTVFoto* m_window = nullptr;
    Reports* m_reports = nullptr;
    std::unique_ptr<CaptionStyleStore> m_styles;
};

// What the HTML page viewer asks of the lesson screen, the other viewers and
// the system's sound.
class ShellHtmlHost : public HtmlViewerHost {
public:
    ShellHtmlHost(Globals& g, SystemServices& system, TBase& base, FilmPlayers* films, ShellPhotoHost& photoHost)
        : m_g(g), m_system(system), m_base(base), m_films(films), m_photoHost(photoHost)
    {
    }

    void clearHover() override;
    void shrinkFilm() override;
    void toggleFilmPause() override;
    void playRecordSound() override;
    void playSound(const QString& path, bool loop) override;
    void stopSound() override;
    QString currentTopic() const override;
    bool bookVisible() const override;
    void focusBook() override;
    bool quizVisible() const override;
    void focusQuiz() override;
    bool photoViewerVisible() const override;
    void focusPhotoViewer() override;
    void closePhotoViewer() override;
    void closePreviews() override;
    void openPhoto(int n) override;

private:
    Globals& m_g;
    SystemServices& m_system;
    TBase& m_base;
    FilmPlayers* m_films;
    ShellPhotoHost& m_photoHost;
};

// What the book viewer asks of the lesson screen, the other viewers and the
// diagnostic window.
class ShellBookHost : public BookHost {
public:
    explicit ShellBookHost(TBase& base) : m_base(base) {}
    void setWindows(TFError* error, TTVcross* crossroads)
    {
        m_error = error;
        m_cross = crossroads;
    }

    QString field(const QString& name) const override;
    void toggleFilmPause() override;
    bool photoViewerVisible() const override;
    bool quizVisible() const override;
    void focusQuiz() override;
    bool crossroadsVisible() const override;
    void refreshCrossroads() override;
    void showPositionTool(bool shown) override;
    void positionChanged(const QString& page, int scroll) override;

private:
    TBase& m_base;
    TFError* m_error = nullptr;
    TTVcross* m_cross = nullptr;
};

// The menus as the lesson screen reaches them.
class ShellMenus : public MenuPorts {
public:
    void setGeneralMenu(TMenuGen* menu) { m_menu = menu; }
    // Resume marks go through the lessons' link once it exists.
    void setLessons(ShellLessons* lessons) { m_lessons = lessons; }
    void saveResumeMark() override;
    bool applyPendingMark() override;
    // The sign and vehicle menus and the lesson screen they jump in.
    void setPictureMenus(Globals* g, TBase* base, TMenuImg* signs, TMenuVcl* vehicles)
    {
        m_g = g;
        m_base = base;
        m_signs = signs;
        m_vehicles = vehicles;
    }

    bool generalMenuVisible() const override;
    void showGeneralMenu() override;
    void generalMenuOk() override;
    void cycleViewMode() override;
    void refreshGeneralMenu() override;
    void setSignMenuFromPopup(bool fromPopup) override { m_signsFromPopup = fromPopup; }
    bool showSignCategoryMenu(TModoQuiz edition) override;
    bool canShowVehicleMenu() const override;
    bool showVehicleMenu(bool quick) override;
    void searchSign(const QString& name) override;
    // The configuration form: Alt+I, and debug mode switched from the keys.
    void setConfigWindow(TConfig* config) { m_configWindow = config; }
    void showConfigSecondPage() override;
    void debugModeChanged() override;

private:
    TConfig* m_configWindow = nullptr;
    TMenuGen* m_menu = nullptr;
    ShellLessons* m_lessons = nullptr;
    Globals* m_g = nullptr;
    TBase* m_base = nullptr;
    TMenuImg* m_signs = nullptr;
    TMenuVcl* m_vehicles = nullptr;
    bool m_signsFromPopup = false;
};

// What the sign category menu's confirm does to the lesson screen.
class ShellSignMenuHost : public SignMenuHost {
public:
    ShellSignMenuHost(Globals& g, Config& config, TBase& base) : m_g(g), m_config(config), m_base(base) {}
    void setMenu(TMenuImg* menu) { m_menu = menu; }

    void closeViewersForJump() override;
    void resetPhotoIndex() override;
    void AttivaModoTemp(const QString& from, const QString& to, bool count) override;
    void FiltraDB(const QString& from, const QString& to, bool count) override;
    int SpostaSuRecord(const QString& field, const QString& value, bool show) override;
    QString currentField(const QString& field) const override;
    void takeRecordAsQuestionNumber() override;
    void closeQuiz() override;
    void showSignAlone(const QString& sign, int number) override;
    bool moveToSignPrefix(const QString& prefix) override;
    void closeMenu() override;
    void menuLeft() override;

private:
    Globals& m_g;
    Config& m_config;
    TBase& m_base;
    TMenuImg* m_menu = nullptr;
};

// What the vehicle menu's confirm and exit do to the lesson screen.
class ShellVehicleMenuHost : public VehicleMenuHost {
public:
    explicit ShellVehicleMenuHost(TBase& base) : m_base(base) {}
    void setMenu(TMenuVcl* menu) { m_menu = menu; }

    int SpostaSuRecord(const QString& field, const QString& value, bool show) override;
    void closeQuiz() override;
    void closeFilmAndBook() override;
    void returnFromSideTrip() override;
    void closeMenu() override;
    QString currentFoto1() const override;

private:
    TBase& m_base;
    TMenuVcl* m_menu = nullptr;
};

// What the general menu asks of the lesson screen, the viewers and the
// settings.
class GeneralMenuLink : public GeneralMenuPort {
public:
    GeneralMenuLink(Globals& g, Config& config, Reports& reporter, SystemServices& system,
                    TBase& base);

    void FiltraDB(const QString& da, const QString& a, bool conteggio) override;
    bool VeroSeVuoto(const QString& campo) override;
    bool openEditionTable(TModoQuiz edition, QString* error) override;
    QuestionBankLoader* bankLoader() override;
    void rebuildTopicLists() override;
    void startTopic(const QString& fallback) override;
    void closeViewers() override;
    void enableMainButtons() override;
    void closeMainWindow() override;
    void endProgram() override;
    bool playFilm(const FilmRequest& request, QString* error) override;
    void openHtml(const QString& page) override;
    void saveViewMode() override;
    void beep() override;
    // The custom lesson list, once it exists.
    void setLessons(ShellLessons* lessons) { m_lessons = lessons; }
    bool lessonListVisible() const override;
    void showLessonList() override;
    // The mock exam, once it exists.
    void setExam(ExamSession* exam) { m_exam = exam; }
    bool openExam() override;
    // "Configura".
    void setConfigWindow(TConfig* config) { m_configWindow = config; }
    void showConfiguration() override;

private:
    TConfig* m_configWindow = nullptr;
    Globals& m_g;
    Config& m_config;
    Reports& m_reporter;
    SystemServices& m_system;
    TBase& m_base;
    ShellLessons* m_lessons = nullptr;
    ExamSession* m_exam = nullptr;
};

// What the report window asks of the rest of the program.
class ShellReportHost : public ReportHost {
public:
    void setWindows(TBase* base, TMenuGen* menu, TConfig* config);

    bool menuOrConfigVisible() const override;
    bool bookViewerVisible() const override;
    QString databaseInfo() const override;

private:
    TBase* m_base = nullptr;
    TMenuGen* m_menu = nullptr;
    TConfig* m_config = nullptr;
};

// What the quiz asks of the lesson screen and the other viewers.
class ShellQuizHost : public QuizHost {
public:
    ShellQuizHost(Globals& g, const Config& config, SystemServices& system, TBase& base)
        : m_g(g), m_config(config), m_system(system), m_base(base)
    {
    }
    void pressForward() override;
    void stepBack() override;
    void showSign(const QString& name) override;
    bool playFilm(const FilmRequest& request, QString* error) override;
    void stopFilm() override;
    void closeViewersForFilm() override;
    void closeCrossroads() override;
    void closeBanner() override;
    void setLockLights(bool on) override;
    QString subTopic() const override;
    int jumpCounter() const override;
    DataTable* lesson() override;
    int lessonRecord() const override;
    int lessonCount() const override;
    bool controlHeld() const override;
    void beep() override;

private:
    Globals& m_g;
    const Config& m_config;
    SystemServices& m_system;
    TBase& m_base;
};

}  // namespace ziro
