#pragma once

// Custom lessons and teacher accesses plugged into the program: the lesson
// list's and the resume marks' ports over the main window, the general
// menu, the quiz and the photo viewer, and the accesses' start at the end
// of the main window's activation.

#include "authoring/accesses.h"
#include "authoring/custom_lessons.h"
#include "authoring/resume.h"
#include "config/config_window.h"
#include "content/navigator.h"

#include <QMetaObject>
#include <QPointer>

#include <memory>

namespace ziro {

struct Config;
class QuizSession;
class Reports;
class SystemServices;
class TAccessi;
class TBase;
class TInText;
class TMenuGen;
class TSelect;
class LessonEditorWidget;
class QuestionBank;
class SourcePanelWidget;
class TTVFoto;
class EditorPhotos;

class ShellLessons : public CustomLessonPort, public ResumePort, public WalkServices, public LessonPagePort {
public:
    struct Windows {
        TBase* base = nullptr;
        TMenuGen* menu = nullptr;
        TSelect* select = nullptr;
        TAccessi* accessi = nullptr;
        TInText* names = nullptr;
        QuizSession* quiz = nullptr;
    };

    ShellLessons(Globals& g, const Config& config, Reports& reports, SystemServices& system, Windows windows);
    ~ShellLessons() override;

    CustomLessons& lessons() { return *m_lessons; }
    AccessList& accesses() { return *m_accesses; }

    // Rewrites the lesson template (once the settings have set the folders).
    void createTemplate();
    // StartAccessi: the teacher's choice and their resume mark, after the
    // activation. Until it has run no mark is saved, so that the state at
    // start never overwrites a teacher's mark.
    bool startAccesses();
    // SalvaJmpMark.
    void saveResumeMark();
    // The general-menu button with a mark pending: true when the mark was
    // this side's to apply (a loaded resume mark, or the way back into a
    // custom lesson), whether or not it could be shown.
    bool applyPendingMark();

    // The lesson editor: its page, with the source half on top, in the
    // configuration form's lesson tab; the form asks the page before it
    // closes over a lesson that could not be named or saved. Its previews
    // borrow the program's photo viewer `photos` (may be null).
    void makeLessonEditor(TConfig* form, TTVFoto* photos = nullptr);
    LessonEditorWidget* editor() const { return m_editor; }
    SourcePanelWidget* editorSource() const { return m_source; }
    bool mayClose() override;

    void showLessonList();
    bool lessonListVisible() const;
    // The teachers' management ("Gestione insegnanti" of the configuration
    // form, once that form offers it), modal.
    void manageAccesses();

    // CustomLessonPort
    QString askName(const QString& title, const QString& prompt, const QString& initial) override;
    void beep() override;
    void filterOff() override;
    void showCustomMode(bool on) override;
    void closeGeneralMenu() override;
    void startPresentation() override;
    bool openEditor(const QString& path, bool copy) override;

    // ResumePort
    void closeSideViews() override;
    void filter(const QString& da, const QString& a) override;
    void showRecord() override;
    int statementCount() const override;
    bool photoViewerOpen() const override;
    void openPhotoViewer(int photo) override;
    void closePhotoViewer() override;
    bool quizVisible() const override;
    int currentStatement() const override;
    void loadQuizAt(const QString& domanda, int statement) override;
    void closeQuiz() override;
    void showSign() override;
    void showGeneralMenu() override;

    // WalkServices: only the side trips' way out of a custom lesson.
    void closeCustomLesson() override;

private:
    Globals& m_g;
    const Config& m_config;
    Reports& m_reports;
    SystemServices& m_system;
    Windows m_w;
    std::unique_ptr<CustomLessons> m_lessons;
    std::unique_ptr<AccessList> m_accesses;
    bool m_ready = false;
    bool m_markLoaded = false;
    QMetaObject::Connection m_listHidden;
    LessonEditorWidget* m_editor = nullptr;
    SourcePanelWidget* m_source = nullptr;
    TConfig* m_form = nullptr;
    std::unique_ptr<QuestionBank> m_editorBank;  // the edited lesson's statement texts
    std::unique_ptr<EditorPhotos> m_editorPhotos;
    QPointer<LessonEditorWidget> m_editorGuard;
};

}  // namespace ziro
