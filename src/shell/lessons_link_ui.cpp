#include "shell/lessons_link_ui.h"

#include "authoring/source_panel_widget.h"
#include "platform/files/paths.h"
#include "viewers/film.h"

#include "authoring/accessi_window.h"
#include "authoring/lesson_editor_widget.h"
#include "content/edition.h"
#include "quiz/question_bank.h"
#include "authoring/select_window.h"
#include "base/reports.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "menus/general_menu.h"
#include "menus/in_text_dialog.h"
#include "menus/menu_gen_window.h"
#include "platform/system/system_services.h"
#include "quiz/quiz_session.h"
#include "shell/main_window.h"
#include "viewers/photo_viewer.h"
#include "viewers/tv_foto_window.h"

#include <QGraphicsProxyWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace ziro {

// The photo viewer lent to the lesson editor, over the page: 29 pixels down
// and 4 right of where it shows a lesson's photograph.
class EditorPhotos : public EditorPhotoPort {
public:
    explicit EditorPhotos(TTVFoto* window) : m_window(window) {}
    bool showPhoto(CaptionTable& captions, int slot, int count) override
    {
        PhotoViewer* v = viewer();
        return v && v->showLent(captions, count, slot, kOffset);
    }
    bool showPicture(const QString& path, int number) override
    {
        PhotoViewer* v = viewer();
        return v && v->showLentSingle(path, number, kOffset);
    }
    void closePhoto() override
    {
        PhotoViewer* v = viewer();
        if (v && v->lent())
            v->ChiudiFoto();
    }

private:
    static constexpr QPoint kOffset{4, 29};
    PhotoViewer* viewer() const { return m_window ? m_window->logic() : nullptr; }
    TTVFoto* m_window;
};

ShellLessons::ShellLessons(Globals& g, const Config& config, Reports& reports, SystemServices& system,
                           Windows windows)
    : m_g(g), m_config(config), m_reports(reports), m_system(system), m_w(windows)
{
    m_lessons = std::make_unique<CustomLessons>(m_g, m_reports, m_w.base->Table1, *m_w.base, *this);
    m_accesses = std::make_unique<AccessList>(m_g, m_reports);
    if (m_w.select)
        m_w.select->attach(m_lessons.get());
    if (m_w.accessi)
        m_w.accessi->attach(m_accesses.get(), m_w.names, &m_reports, &m_system);
    // While the list is up the general menu ignores its buttons; it gets
    // them back when the list goes.
    if (m_w.select) {
        m_listHidden = QObject::connect(m_w.select, &OverlayWindow::hidden, m_w.select, [this] {
            if (m_w.menu && m_w.menu->logic())
                m_w.menu->logic()->setAbilita(true);
            if (m_w.menu)
                m_w.menu->ChangeModoTasti();
        });
    }
}

ShellLessons::~ShellLessons()
{
    // The page may outlive this link: it no longer borrows the viewer.
    if (m_editorGuard)
        m_editorGuard->setPhotoPort(nullptr);
    // The list may outlive this link while the windows are taken down.
    QObject::disconnect(m_listHidden);
}

void ShellLessons::createTemplate()
{
    m_lessons->createTemplate();
}

bool ShellLessons::startAccesses()
{
    bool applied = false;
    if (m_config.CBAccessoMultiplo || m_config.CBJumpMark2) {
        if (m_g.IniFilePtr)
            m_accesses->load();
        if (m_config.CBAccessoMultiplo && m_w.accessi)
            m_w.accessi->execChoice();
        else
            m_accesses->choose(-1);
        if (m_config.CBJumpMark2 && m_g.IniFilePtr) {
            const int slot = m_g.AccessoCorrente;
            m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Attivato salto jmpMark"),
                           QStringLiteral("Struttura estratta da [Accesso ") + QString::number(slot) + QStringLiteral("]"));
            if (const auto mark = markToLoad(m_accesses->slot(slot), m_g.dirs.DirUtente)) {
                m_g.MdTemp = *mark;
                m_markLoaded = true;
                applied = applyPendingMark();
            }
        }
    }
    m_ready = true;
    if (!applied && m_w.menu && !m_w.menu->isVisible())
        m_w.menu->showMenu();
    return applied;
}

void ShellLessons::saveResumeMark()
{
    if (!m_ready || !m_g.IniFilePtr || !m_w.base || !m_w.base->Table1.isOpen())
        return;
    if (m_g.ModoDebug)
        m_reports.Debug(QStringLiteral("Salvataggio jmpMark"),
                        QStringLiteral("Struttura inserita in [Accesso ") + QString::number(m_g.AccessoCorrente) + QStringLiteral("]"));
    const TMdTemp mark = captureMark(m_g, m_w.base->Table1, *this);
    QString error;
    if (!saveMarkToSlot(*m_g.IniFilePtr, m_g.AccessoCorrente, mark, &error))
        m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Salvataggio jmpMark: ") + error, m_g.IniFilePtr->path());
    m_g.MdTemp.Status = false;
}

bool ShellLessons::applyPendingMark()
{
    if (!m_g.MdTemp.Status || !(m_markLoaded || m_g.MdTemp.Custom))
        return false;
    m_markLoaded = false;
    const bool shown = ziro::applyPendingMark(m_g, m_reports, m_w.base->Table1, *m_w.base, *m_lessons, *this);
    if (shown)
        closeGeneralMenu();
    return true;
}

void ShellLessons::makeLessonEditor(TConfig* form, TTVFoto* photos)
{
    m_form = form;
    m_editor = new LessonEditorWidget(m_g.dirs, m_reports, *this);
    m_source = new SourcePanelWidget(m_g.dirs, m_reports);
    m_editor->setSourcePanel(m_source);
    m_editor->setSource(&m_source->source());
    form->setLessonPage(m_editor);
    form->setLessonPagePort(this);
    if (photos) {
        m_editorPhotos = std::make_unique<EditorPhotos>(photos);
        m_editor->setPhotoPort(m_editorPhotos.get());
        m_editorGuard = m_editor;
        // The viewer closed itself (Esc, a click on the photograph): the
        // page is the teacher's again.
        QObject::connect(photos, &OverlayWindow::hidden, m_editor, [editor = m_editor] {
            if (editor->previewOpen())
                editor->previewClosed();
        });
    }
    // A source picture double-clicked opens in the viewer: an edition's
    // photograph with its caption kept in that record of the edition (and
    // in the lesson's table when it holds the same edition), a photograph
    // of the lists read-only.
    QObject::connect(m_source, &SourcePanelWidget::previewRequested, m_editor, [this](int tag) {
        SourceModel& source = m_source->model();
        const QString path = source.picturePath(tag);
        const int number = source.pictureInfo(tag).mid(2).toInt();
        m_editor->showSourcePicture(path, number, source.pictureCaptions(tag, &m_w.base->Table1),
                                    tag - kFirstSourceTag + 1, kSourcePhotos);
    });
    // Ctrl-click on the source's sign plays the record's film full size.
    QObject::connect(m_source, &SourcePanelWidget::filmRequested, m_editor, [this](const QString& video) {
        const QString base = QStringLiteral("Flm") + video;
        const FilmFile file = isPlainName(base) ? resolveFilm(m_g.dirs.DirVideo, base) : FilmFile{};
        if (!file.exists) {
            m_reports.Emsg(ReportKind::MissingFile, QStringLiteral("Player video"),
                           file.path.isEmpty() ? m_g.dirs.DirVideo + base : file.path);
            return;
        }
        FilmRequest request;
        request.file = file;
        request.size = 5;
        request.daMenu = true;
        QString error;
        if (!m_w.base->viewers().playFilm(request, &error))
            m_reports.Emsg(ReportKind::MissingFile, QStringLiteral("Player video"), error);
    });
    // Back to the list, which shows a lesson just named.
    QObject::connect(form, &TConfig::lessonEditorClosed, m_editor, [this] {
        if (m_w.select && m_w.select->isVisible())
            m_w.select->showList();
    });
}

bool ShellLessons::mayClose()
{
    return !m_editor || m_editor->tryClose();
}

bool ShellLessons::openEditor(const QString& path, bool copy)
{
    if (!m_editor || !m_form)
        return false;
    const int tipo = m_g.ModoAM() ? 4 : m_g.ModoCD() ? 5 : m_g.ModoCQ() ? 6 : 0;
    if (!m_editor->open(path, tipo, copy))
        return false;
    // The statements are listed with their texts from the lesson's edition.
    if (!m_editorBank)
        m_editorBank = std::make_unique<QuestionBank>();
    const EditionInfo& edition = editionInfo(editionForTipo(m_editor->model().editionTipo()));
    const QString bank = m_g.dirs.DirProgram + QLatin1String(edition.bankFile);
    if (m_editorBank->fileName() != bank || !m_editorBank->isOpen())
        m_editorBank->open(bank);
    m_editor->setBank(m_editorBank.get());
    m_editor->steps()->refresh();
    // The source starts on the edition being presented, with its topics;
    // the settings may have moved the folders since the last opening.
    const int source = m_g.ModoAM() ? int(SourceType::QuizAM)
                       : m_g.ModoCD() ? int(SourceType::QuizCDE)
                       : m_g.ModoCQ() ? int(SourceType::QuizCQC)
                                      : int(SourceType::QuizAB);
    m_source->setFolders(m_g.dirs);
    m_source->open(source, SourceModel::defaultTopicMarker(source));
    // The presentation's proxy took the main window's refusal of drops when
    // it was made; the editor's targets sit inside it.
    if (QGraphicsProxyWidget* proxy = m_form->window()->graphicsProxyWidget())
        proxy->setAcceptDrops(true);
    m_form->showLessonEditor();
    m_form->raise();
    return true;
}

void ShellLessons::showLessonList()
{
    if (!m_w.select)
        return;
    m_w.select->showList();
    // The general menu asks for the list while it comes up itself: the list
    // goes over it once it is up.
    QPointer<TSelect> select = m_w.select;
    QTimer::singleShot(0, select, [select] {
        if (select && select->isVisible())
            select->showList();
    });
}

void ShellLessons::manageAccesses()
{
    if (!m_w.accessi || !m_g.IniFilePtr)
        return;
    m_w.accessi->setAccessMode(true);
    m_w.accessi->CaricaAccessi();
    m_w.accessi->execModal();
    m_w.accessi->setAccessMode(false);
}

bool ShellLessons::lessonListVisible() const
{
    return m_w.select && m_w.select->isVisible();
}

// --- CustomLessonPort ---------------------------------------------------------

QString ShellLessons::askName(const QString& title, const QString& prompt, const QString& initial)
{
    return m_w.names ? m_w.names->kxQuery(title, prompt, initial) : QString();
}

void ShellLessons::beep()
{
    m_system.beep();
}

void ShellLessons::filterOff()
{
    m_w.base->FiltraDB(QStringLiteral("OFF"), QString(), false);
}

void ShellLessons::showCustomMode(bool on)
{
    m_w.base->setProgressVisible(on);
    m_w.base->updateProgressBar();
    if (m_w.menu)
        m_w.menu->ChangeModoTasti();
}

void ShellLessons::closeGeneralMenu()
{
    if (m_w.menu && m_w.menu->isVisible())
        m_w.menu->done(0);
    if (m_w.menu && m_w.menu->logic())
        m_w.menu->logic()->setAbilita(true);
}

void ShellLessons::startPresentation()
{
    m_w.base->showRecordAt(m_w.base->Table1.recNo());
}

// --- ResumePort ------------------------------------------------------------------

void ShellLessons::closeSideViews()
{
    MainViewerPorts& v = m_w.base->viewers();
    v.closeBook();
    v.closeFilms();
    v.closeCrossroads();
    v.closeHtml();
}

void ShellLessons::filter(const QString& da, const QString& a)
{
    m_w.base->FiltraDB(da, a, false);
}

void ShellLessons::showRecord()
{
    startPresentation();
}

int ShellLessons::statementCount() const
{
    if (!m_g.Custom)
        return 0;
    int count = 0;
    while (count < 70 && !m_w.base->Table1.fieldText(QStringLiteral("Quesito") + QString::number(count + 1)).trimmed().isEmpty())
        ++count;
    return count;
}

bool ShellLessons::photoViewerOpen() const
{
    return m_w.base->viewers().photoViewerOpen();
}

void ShellLessons::openPhotoViewer(int photo)
{
    m_w.base->viewers().openPhotoViewer(photo);
}

void ShellLessons::closePhotoViewer()
{
    m_w.base->viewers().closePhotoViewer();
}

bool ShellLessons::quizVisible() const
{
    return m_w.base->viewers().quizVisible();
}

int ShellLessons::currentStatement() const
{
    return m_w.quiz ? m_w.quiz->Terni() : m_g.ContatoreAffermazioni;
}

void ShellLessons::loadQuizAt(const QString& domanda, int statement)
{
    if (m_w.quiz)
        m_w.quiz->CaricaDomanda(domanda, statement);
}

void ShellLessons::closeQuiz()
{
    m_w.base->viewers().closeQuiz();
}

void ShellLessons::showSign()
{
    m_w.base->showCurrentSign(m_config.CBNomeSegnali);
}

void ShellLessons::showGeneralMenu()
{
    if (m_w.menu)
        m_w.menu->showMenu();
}

void ShellLessons::closeCustomLesson()
{
    m_lessons->leaveCustomMode();
}

}  // namespace ziro
