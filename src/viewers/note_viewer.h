#pragma once

// The record's note (field "Testo") as the note window shows and corrects
// it: shown, or open for correction in a box of at most 255 characters. A
// correction is stored and written to the table's file the moment it is
// confirmed; one that cannot be written is reported and stays open, so the
// teacher's words are never dropped in silence.

#include <QString>

namespace ziro {

class CaptionTable;
class Reports;

class NoteEditor {
public:
    static constexpr int kMaxLength = 255;

    NoteEditor(CaptionTable& table, Reports& reports) : m_table(table), m_reports(reports) {}

    // FormShow: the note of the record on show.
    void show();
    bool editing() const { return m_editing; }
    // The note as the window shows it (empty while it is being corrected).
    const QString& label() const { return m_label; }
    // The box's text while correcting.
    const QString& draft() const { return m_draft; }

    // A double-click: the note opens for correction. False when the table
    // has no note field.
    bool startEditing();
    // What the box holds; cut to kMaxLength characters (never inside a
    // surrogate pair). Returns what was kept.
    QString setDraft(const QString& text);

    enum class Ok {
        Stored,  // the correction is in the table and its file
        Failed,  // it could not be written: reported, still open
        Close,   // nothing was being corrected: the window closes
    };
    // OkClick (and Esc): stores a correction, or closes.
    Ok OkClick();

private:
    CaptionTable& m_table;
    Reports& m_reports;
    bool m_editing = false;
    QString m_label;
    QString m_draft;
};

}  // namespace ziro
