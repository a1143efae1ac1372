#include "viewers/note_viewer.h"

#include "base/reports.h"
#include "viewers/photo.h"

namespace ziro {

namespace {

const QString kNoteField = QStringLiteral("Testo");

}  // namespace

void NoteEditor::show()
{
    m_editing = false;
    m_draft.clear();
    m_label = m_table.fieldText(kNoteField);
}

bool NoteEditor::startEditing()
{
    if (!m_table.hasField(kNoteField))
        return false;
    if (!m_editing) {
        m_editing = true;
        m_draft = m_table.fieldText(kNoteField).left(kMaxLength);
        setDraft(m_draft);
    }
    m_label.clear();
    return true;
}

QString NoteEditor::setDraft(const QString& text)
{
    qsizetype keep = std::min<qsizetype>(text.size(), kMaxLength);
    if (keep > 0 && keep < text.size() && text.at(keep - 1).isHighSurrogate())
        --keep;
    m_draft = text.left(keep);
    return m_draft;
}

NoteEditor::Ok NoteEditor::OkClick()
{
    if (!m_editing)
        return Ok::Close;
    if (m_draft != m_table.fieldText(kNoteField)) {
        QString error;
        if (!m_table.storeAndSave(kNoteField, m_draft, &error)) {
            m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Salvataggio note: ") + error, m_table.fileName());
            return Ok::Failed;
        }
    }
    m_editing = false;
    m_draft.clear();
    m_label = m_table.fieldText(kNoteField);
    return Ok::Stored;
}

}  // namespace ziro
