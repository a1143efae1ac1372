#pragma once

#include "base/globals.h"

#include <QSize>
#include <QStringList>

#include <memory>
#include <optional>

namespace ziro {

namespace cross {
class CrossFilm;
class CrossSession;
}  // namespace cross

struct Config;
class Dialogs;
class MachineStore;
class Reporter;
class SingleInstance;
class SystemServices;
class TSplash;
class TBase;
class TFError;
class TMenuGen;
class TConfig;
class ConfigController;
class ShellConfigHost;
class TFotoPreview;
class TQuiz;
class TExam;
class ExamSession;
class TTVFoto;
class TTVvideo;
class TTVavc;
class TTVlibro;
class BookViewer;
class ShellBookHost;
class TTVtesto;
class TPasswordDlg;
class TMenuImg;
class TMenuVcl;
class TRemote;
class TQuizColor;
class TInText;
class TSelect;
class TAccessi;
class TTVcross;
class TTools;
class TBackSubArg;
class TTVhtml;
class ShellViewers;
class ShellMenus;
class ShellSignMenuHost;
class ShellVehicleMenuHost;
class ShellReportHost;
class GeneralMenuLink;
class FilmBackend;
class FilmWindowLogic;
class FilmPlayers;
class MediaBar;
class PhotoPreviews;
class PhotoViewer;
class ShellPhotoHost;
class DataTableCaptions;
class NoteEditor;
class ShellHtmlHost;
class HtmlViewer;
class QuizBank;
class SystemQuizRandom;
class QuizSession;
class QuizSpeech;
class Settings;
class ShellQuizHost;
class ShellLessons;

// The single instances of the program's windows, created once in this
// order and alive until the end.
struct Windows {
    TBase* Base = nullptr;
    TFError* FError = nullptr;
    TMenuGen* MenuGen = nullptr;
    TConfig* Config = nullptr;
    TFotoPreview* FotoPreview = nullptr;
    TQuiz* Quiz = nullptr;
    TTVFoto* TVFoto = nullptr;
    TTVvideo* TVvideo = nullptr;
    TTVavc* TVavc = nullptr;
    TTVlibro* TVlibro = nullptr;
    TTVtesto* TVtesto = nullptr;
    TPasswordDlg* PasswordDlg = nullptr;
    TMenuImg* MenuImg = nullptr;
    TMenuVcl* MenuVcl = nullptr;
    TRemote* Remote = nullptr;
    TQuizColor* QuizColor = nullptr;
    TInText* InText = nullptr;
    TSelect* Select = nullptr;
    TAccessi* Accessi = nullptr;
    TTVcross* TVcross = nullptr;
    TTools* Tools = nullptr;
    TBackSubArg* BackSubArg = nullptr;
    TTVhtml* TVhtml = nullptr;
    TExam* Exam = nullptr;
};

// The program: entry steps, the windows and the exit steps.
class ZiroApp {
public:
    struct Options {
        QString programFile;          // defaults to the running executable
        QString instanceKey;          // defaults to one per user and display
        std::optional<double> dpi;    // defaults to the primary screen's
        QString machineStorePath;     // defaults to the system-wide one
        int activationDelayMs = 3000; // the main window's activation after the loop starts
    };

    ZiroApp(Options options, SystemServices& system, Dialogs& dialogs);
    ~ZiroApp();

    // Steps 2 to 7 of the entry. Returns nullopt when the program goes on to
    // its event loop, or the exit code when it ends here.
    std::optional<int> start();
    // The whole program: start, event loop, exit steps.
    int run();
    // The exit steps after the main window has closed.
    void shutdown();

    Globals& globals() { return m_g; }
    Config& config() { return *m_config; }
    Reporter& reporter() { return *m_reporter; }
    Windows& windows() { return m_w; }
    TSplash* splash() const { return m_splash; }
    // Class names of the windows in the order they were created.
    const QStringList& creationOrder() const { return m_created; }

private:
    void createWindows();
    template <typename W, typename... Args>
    W* make(Args&&... args);

    Options m_options;
    SystemServices& m_system;
    Dialogs& m_dialogs;
    Globals m_g;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<MachineStore> m_store;
    std::unique_ptr<Reporter> m_reporter;
    std::unique_ptr<SingleInstance> m_instance;
    // The ports the windows reach each other through; each window is
    // plugged in as it is created.
    std::unique_ptr<ShellViewers> m_viewers;
    std::unique_ptr<ShellMenus> m_menus;
    std::unique_ptr<ShellSignMenuHost> m_signMenuHost;
    std::unique_ptr<ShellVehicleMenuHost> m_vehicleMenuHost;
    std::unique_ptr<ShellReportHost> m_reportHost;
    std::unique_ptr<GeneralMenuLink> m_menuLink;
    // The film engine and what the film windows and the media bar do with
    // it; they outlive the windows, which go with the main window.
    std::unique_ptr<FilmBackend> m_film;
    std::unique_ptr<FilmWindowLogic> m_filmMpeg;
    std::unique_ptr<FilmWindowLogic> m_filmMp4;
    std::unique_ptr<FilmPlayers> m_films;
    std::unique_ptr<MediaBar> m_mediaBar;
    std::unique_ptr<PhotoPreviews> m_previews;
    std::unique_ptr<ShellPhotoHost> m_photoHost;
    std::unique_ptr<DataTableCaptions> m_captions;
    std::unique_ptr<PhotoViewer> m_photoViewer;
    std::unique_ptr<ShellBookHost> m_bookHost;
    std::unique_ptr<BookViewer> m_bookViewer;
    std::unique_ptr<NoteEditor> m_note;
    std::unique_ptr<ShellHtmlHost> m_htmlHost;
    std::unique_ptr<HtmlViewer> m_htmlViewer;
    std::unique_ptr<SystemQuizRandom> m_quizRandom;
    std::unique_ptr<QuizBank> m_quizBank;
    std::unique_ptr<ShellQuizHost> m_quizHost;
    std::unique_ptr<QuizSession> m_quizSession;
    std::unique_ptr<Settings> m_quizSettings;
    std::unique_ptr<QuizSpeech> m_quizSpeech;
    std::unique_ptr<ExamSession> m_examSession;
    // The crossroads exercise, its animation and the engine that plays it.
    std::unique_ptr<FilmBackend> m_crossEngine;
    std::unique_ptr<cross::CrossFilm> m_crossFilm;
    std::unique_ptr<cross::CrossSession> m_crossSession;
    std::unique_ptr<ShellLessons> m_lessons;
    // The configuration form's logic and what it does to the program.
    std::unique_ptr<ShellConfigHost> m_configHost;
    std::unique_ptr<ConfigController> m_configController;
    TSplash* m_splash = nullptr;
    Windows m_w;
    QStringList m_created;
    bool m_shutdownDone = false;
};

}  // namespace ziro
