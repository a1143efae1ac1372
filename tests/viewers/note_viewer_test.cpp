// The record's note as the note window corrects it: shown, opened, cut to
// the box's size, stored at once, and kept open when it cannot be written.

#include "viewers/note_viewer.h"

#include "base/reports.h"
#include "viewers/photo.h"
#include "support/memory_table.h"


#include <gtest/gtest.h>

namespace ziro {
namespace {

// A record whose note reads "Dare la precedenza", in a table of that file.
struct NoteTable : test::MemoryTable {
    NoteTable()
    {
        fields[QStringLiteral("Testo")] = QStringLiteral("Dare la precedenza");
        file = QStringLiteral("AAB2016.XML");
    }
};

struct LoggedReports : NullReports {
    void Emsg(ReportKind kind, const QString& context, const QString& name) override
    {
        log << QStringLiteral("%1|%2|%3").arg(int(kind)).arg(context, name);
    }
    QStringList log;
};

TEST(NoteEditor, ACorrectionIsStoredAtOnceAndShown)
{
    NoteTable table;
    LoggedReports reports;
    NoteEditor note(table, reports);
    note.show();
    EXPECT_EQ(note.label(), QStringLiteral("Dare la precedenza"));
    // Without a correction, OK closes and writes nothing.
    EXPECT_EQ(note.OkClick(), NoteEditor::Ok::Close);

    ASSERT_TRUE(note.startEditing());
    EXPECT_TRUE(note.editing());
    EXPECT_TRUE(note.label().isEmpty());
    EXPECT_EQ(note.draft(), QStringLiteral("Dare la precedenza"));
    // Opened and confirmed unchanged: nothing is written.
    EXPECT_EQ(note.OkClick(), NoteEditor::Ok::Stored);
    EXPECT_EQ(table.saves, 0);

    ASSERT_TRUE(note.startEditing());
    note.setDraft(QStringLiteral("Dare la precedenza a destra"));
    EXPECT_EQ(note.OkClick(), NoteEditor::Ok::Stored);
    EXPECT_EQ(table.saves, 1);
    EXPECT_EQ(table.fields[QStringLiteral("Testo")], QStringLiteral("Dare la precedenza a destra"));
    EXPECT_FALSE(note.editing());
    EXPECT_EQ(note.label(), QStringLiteral("Dare la precedenza a destra"));
    EXPECT_TRUE(reports.log.isEmpty());

    // A note emptied is stored empty.
    ASSERT_TRUE(note.startEditing());
    note.setDraft(QString());
    EXPECT_EQ(note.OkClick(), NoteEditor::Ok::Stored);
    EXPECT_TRUE(table.fields[QStringLiteral("Testo")].isEmpty());
}

TEST(NoteEditor, ACorrectionThatCannotBeWrittenIsReportedAndKept)
{
    NoteTable table;
    LoggedReports reports;
    NoteEditor note(table, reports);
    note.show();
    ASSERT_TRUE(note.startEditing());
    note.setDraft(QStringLiteral("Nuova nota"));
    table.failing = true;
    EXPECT_EQ(note.OkClick(), NoteEditor::Ok::Failed);
    EXPECT_EQ(reports.log, QStringList{QStringLiteral("2|Salvataggio note: disco pieno|AAB2016.XML")});
    EXPECT_TRUE(note.editing());
    EXPECT_EQ(note.draft(), QStringLiteral("Nuova nota"));
    EXPECT_EQ(table.fields[QStringLiteral("Testo")], QStringLiteral("Dare la precedenza"));
    // Once the disk has room, the same OK stores it.
    table.failing = false;
    EXPECT_EQ(note.OkClick(), NoteEditor::Ok::Stored);
    EXPECT_EQ(table.fields[QStringLiteral("Testo")], QStringLiteral("Nuova nota"));
}

TEST(NoteEditor, TheBoxHoldsAtMost255CharactersAndATableWithoutNotesNone)
{
    NoteTable table;
    LoggedReports reports;
    NoteEditor note(table, reports);
    // A longer stored note (the field holds 320) opens cut to the box.
    table.fields[QStringLiteral("Testo")] = QString(300, u'n');
    note.show();
    ASSERT_TRUE(note.startEditing());
    EXPECT_EQ(note.draft().size(), NoteEditor::kMaxLength);
    EXPECT_EQ(note.setDraft(QString(10000, u'x')).size(), NoteEditor::kMaxLength);
    // Never half a character.
    const QString emoji = QString(254, u'a') + QString::fromUtf8("\xF0\x9F\x9A\x97");
    EXPECT_EQ(note.setDraft(emoji), QString(254, u'a'));

    test::MemoryTable bare;
    NoteEditor none(bare, reports);
    none.show();
    EXPECT_TRUE(none.label().isEmpty());
    EXPECT_FALSE(none.startEditing());
    EXPECT_EQ(none.OkClick(), NoteEditor::Ok::Close);
}

}  // namespace
}  // namespace ziro
