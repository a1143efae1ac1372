#include "authoring/custom_lessons.h"

#include "base/reports.h"
#include "content/content_table.h"
#include "content/edition.h"
#include "platform/dataset/data_table.h"

#include <QFileInfo>

namespace ziro {

namespace {

bool samePath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

CustomLessons::CustomLessons(Globals& g, Reports& reports, DataTable& table1, EditionPort& editions,
                             CustomLessonPort& port)
    : m_g(g), m_reports(reports), m_table(table1), m_editions(editions), m_port(port)
{
}

Folders& CustomLessons::dirs()
{
    return m_g.dirs;
}

void CustomLessons::createTemplate()
{
    setCurrent(nullptr);
    if (!CreaCdsCustomVoid(m_g.dirs.DirUtente))
        m_reports.Emsg(ReportKind::Notice, QStringLiteral("Lezione void non disponibile."),
                       QStringLiteral("Attenzione db custom template non creato."));
}

void CustomLessons::setCurrent(const LessonEntry* entry)
{
    m_currentPath = entry ? entry->path : QString();
    m_g.LezioneCorrente = entry ? entry->display : kDraftLesson;
}

void CustomLessons::refresh()
{
    m_entries = listLessons(m_g.dirs.DirLezioni);
    const int row = currentRow();
    setCurrent(row >= 0 ? &m_entries[std::size_t(row)] : nullptr);
}

int CustomLessons::currentRow() const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (samePath(m_entries[i].path, m_currentPath))
            return int(i);
    }
    return -1;
}

void CustomLessons::select(int row)
{
    if (row >= 0 && row < int(m_entries.size()))
        setCurrent(&m_entries[std::size_t(row)]);
}

int CustomLessons::enabledActions() const
{
    if (currentRow() < 0)
        return Nuova | Chiudi;
    return Nuova | Copia | Modifica | Rinomina | Cancella | Ok | Chiudi;
}

bool CustomLessons::presentLesson(const QString& path)
{
    const QString previous = m_table.fileName();
    QString error;
    if (!switchContentTable(m_table, path, &error)) {
        m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Lezione personalizzata: ") + error, path);
        return false;
    }
    m_table.cancelRange();
    m_table.first();
    if (m_table.isEmpty()) {
        // Nothing to present: back to what was on show.
        QString ignored;
        switchContentTable(m_table, previous, &ignored);
        m_reports.Emsg(ReportKind::Message, QStringLiteral("La lezione non contiene passi"), path);
        return false;
    }
    m_port.filterOff();
    if (!m_g.Custom) {
        const TModoQuiz edition = lessonEdition(m_table);
        m_g.Custom = true;
        CambiaEdizione(m_g, int(edition), m_editions.bankLoader());
        m_editions.rebuildTopicLists();
    }
    m_port.showCustomMode(true);
    m_port.closeGeneralMenu();
    m_table.first();
    m_port.startPresentation();
    return true;
}

bool CustomLessons::ok()
{
    const int row = currentRow();
    if (row < 0)
        return false;
    return presentLesson(m_entries[std::size_t(row)].path);
}

bool CustomLessons::leaveCustomMode()
{
    // The table is what counts: the general menu may have switched the mode
    // off while the lesson is still the table.
    if (!m_g.Custom && m_table.isOpen() && samePath(m_table.fileName(), contentFilePath(m_g, m_g.Edizione))) {
        m_port.showCustomMode(false);
        return true;
    }
    QString error;
    if (!switchEdition(m_g, m_editions, m_g.Edizione, &error)) {
        m_reports.Emsg(ReportKind::FileIo, error, contentFilePath(m_g, m_g.Edizione));
        return false;
    }
    m_port.showCustomMode(false);
    return true;
}

bool CustomLessons::close()
{
    leaveCustomMode();
    return true;
}

bool CustomLessons::releaseLesson(const QString& path)
{
    if (!samePath(m_table.fileName(), path))
        return true;
    return leaveCustomMode();
}

void CustomLessons::nuova()
{
    LessonFolder folder(dirs(), m_reports);
    const QString draft = folder.newDraft();
    if (draft.isEmpty())
        return;
    if (!m_port.openEditor(draft, false))
        m_reports.Emsg(ReportKind::Notice, QStringLiteral("Modifica lezione"),
                       QStringLiteral("Editor delle lezioni non disponibile."));
}

void CustomLessons::copia()
{
    const int row = currentRow();
    if (row < 0)
        return;
    LessonFolder folder(dirs(), m_reports);
    const QString draft = folder.copyToDraft(m_entries[std::size_t(row)]);
    if (draft.isEmpty())
        return;
    if (!m_port.openEditor(draft, true))
        m_reports.Emsg(ReportKind::Notice, QStringLiteral("Modifica lezione"),
                       QStringLiteral("Editor delle lezioni non disponibile."));
}

void CustomLessons::modifica()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString path = m_entries[std::size_t(row)].path;
    // The lesson on show is edited through its file: the table lets go of
    // it first, so that its own save cannot undo the upgrade.
    if (!releaseLesson(path))
        return;
    const UpgradeOutcome up = upgradeLessonFile(path, m_reports);
    if (up.result == UpgradeOutcome::Result::Declined || up.result == UpgradeOutcome::Result::Failed)
        return;
    if (!m_port.openEditor(path, false))
        m_reports.Emsg(ReportKind::Notice, QStringLiteral("Modifica lezione"),
                       QStringLiteral("Editor delle lezioni non disponibile."));
}

void CustomLessons::rinomina()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const LessonEntry lesson = m_entries[std::size_t(row)];
    QString name = m_port.askName(QStringLiteral("Rinomina lezione"), QStringLiteral("Digitare il nuovo nome per la lezione"),
                                  lesson.display);
    while (!name.isEmpty() && lessonNameProblem(name, m_entries) != NameProblem::None) {
        m_port.beep();
        name = m_port.askName(QString::fromUtf8("Nome della lezione già esistente"),
                              QStringLiteral("Digitare un'altro nome per la lezione"), lesson.display);
    }
    if (name.isEmpty() || !QFileInfo::exists(lesson.path))
        return;
    if (!releaseLesson(lesson.path))
        return;
    LessonFolder folder(dirs(), m_reports);
    const QString renamed = folder.rename(lesson, name);
    refresh();
    if (renamed.isEmpty())
        return;
    for (const LessonEntry& e : m_entries) {
        if (samePath(e.path, renamed))
            setCurrent(&e);
    }
}

void CustomLessons::cancella()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const LessonEntry lesson = m_entries[std::size_t(row)];
    if (!m_reports.Conferma(QStringLiteral("Si desidera eliminare la lezione?"), QStringLiteral("Premere OK per procedere")))
        return;
    if (!releaseLesson(lesson.path))
        return;
    LessonFolder folder(dirs(), m_reports);
    folder.remove(lesson);
    refresh();
    setCurrent(m_entries.empty() ? nullptr : &m_entries.back());
}

}  // namespace ziro
