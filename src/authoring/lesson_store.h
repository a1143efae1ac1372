#pragma once

// Custom lesson files: their schema, the template every new lesson starts
// from, the list of a lesson folder, names, copies, renames, deletes and the
// upgrade of lessons written with the older, shorter schema.
//
// A lesson folder holds
//   <Name>.xml           a lesson, plain datapacket form (ASCII + references)
//   Nuova lezione.xml    the draft being created or copied; never listed
//   [VOID].xml           the template (the user folder's is rewritten at start)
//   <Name>.old[.N]       a lesson as it was before its upgrade
//
// Nothing here deletes or overwrites a lesson before its replacement is
// safely on disk, and every name that reaches a path has passed
// isSafeComponent.

#include "base/globals.h"
#include "platform/dataset/table_schema.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace ziro {

class DataTable;
class Reports;

inline const QString kDraftLesson = QStringLiteral("Nuova lezione");
inline const QString kLessonTemplate = QStringLiteral("[VOID]");

// The 168 fields of a lesson, in file order.
QList<FieldDef> lessonFields();

// Both Quesito41 and Quesito51: the editor's full statement range exists.
bool isCurrentLessonSchema(const DataTable& table);

// The edition of a lesson step's Tipo: 4 AM, 5 C-D-E, 6 CQC, anything else
// (0, a missing field, an unknown number) A-B, so that an odd value never
// leaves the program without an edition.
TModoQuiz editionForTipo(int tipo);
// The edition of the step the table is on.
TModoQuiz lessonEdition(const DataTable& table);

// Whether `name` may be a file or folder name on every system the program
// and its lesson folders travel to: a plain name (no separators, not dots
// only, no control characters), no trailing dot or blank, none of < > : " |
// ? *, and no reserved device name (CON, NUL, COM1, ...).
bool isSafeComponent(const QString& name);

// The names no lesson and no teacher may take, in any letter case: the
// draft, the template and the user photo folder.
bool isReservedName(const QString& name);

// "Nuova lezione.xml" and "[VOID].xml" in any letter case.
bool isHiddenLessonFile(const QString& fileName);

// The list form of a file name: lower case, first letter a-z upper-cased,
// without the extension.
QString lessonDisplayName(const QString& fileName);

struct LessonEntry {
    QString display;  // as listed
    QString path;     // the real file, whatever its letter case
};

// The lessons of `folder`, sorted by their listed name (then by file name,
// so that two files differing only in case are both listed).
std::vector<LessonEntry> listLessons(const QString& folder);

enum class NameProblem { None, Empty, Reserved, Unsafe, Exists };

// Why `name` cannot name a new lesson of a folder holding `existing`
// (compared without regard to case, with their real file names too).
NameProblem lessonNameProblem(const QString& name, const std::vector<LessonEntry>& existing);

// Where lessons are written and how, so that tests can make any write fail.
class LessonFileOps {
public:
    virtual ~LessonFileOps() = default;
    // Atomic: the old file stays whole when the write fails.
    virtual bool write(const QString& path, const QByteArray& data, QString* error);
    virtual bool read(const QString& path, QByteArray* data, QString* error);
    // Never replaces an existing target.
    virtual bool rename(const QString& from, const QString& to, QString* error);
    virtual bool remove(const QString& path, QString* error);
};

LessonFileOps& realLessonFileOps();

// Deletes and rewrites the user folder's template (UTF-8 form); true when it
// exists afterwards.
bool CreaCdsCustomVoid(const QString& userFolder, QString* error = nullptr);

// Copies lesson `Infile`.xml (from the user folder when `Mode`, else from
// the lesson folder) to `Outfile`.xml in the lesson folder, replacing it
// atomically. Both names must be safe; the source is found in any case.
bool CopiaTabella(const Folders& dirs, bool Mode, const QString& Infile, const QString& Outfile,
                  QString* error = nullptr, LessonFileOps& ops = realLessonFileOps());

// The records of `old` in the current schema, in file order: every field
// the new schema has is copied; statement codes are right-aligned in 16
// characters (the last 16 kept), blank ones left empty. False, with the
// reason, when a value does not fit.
bool upgradeLessonTable(DataTable& old, DataTable& upgraded, QString* error = nullptr);

// A free backup name for `lessonPath`: <base>.old, else <base>.old.1, ...
QString freeBackupPath(const QString& lessonPath);

struct UpgradeOutcome {
    enum class Result { AlreadyCurrent, Upgraded, Declined, Failed };
    Result result = Result::Failed;
    QString backupPath;  // when Upgraded
};

// The schema check and upgrade of the lesson file at `path`: a lesson of an
// older schema is offered the upgrade (Conferma); accepted, it is converted
// in memory, its bytes are kept in a free backup and only then is the file
// replaced. A failure is reported (kind 2) and leaves the file untouched.
UpgradeOutcome upgradeLessonFile(const QString& path, Reports& reports,
                                 LessonFileOps& ops = realLessonFileOps());

// What the list window's actions do to the lesson folder.
class LessonFolder {
public:
    LessonFolder(const Folders& dirs, Reports& reports, LessonFileOps& ops = realLessonFileOps())
        : m_dirs(dirs), m_reports(reports), m_ops(ops)
    {
    }

    std::vector<LessonEntry> list() const { return listLessons(m_dirs.DirLezioni); }
    QString draftPath() const;
    QString pathFor(const QString& name) const;

    // "Nuova": the draft becomes a fresh copy of the template. Its path, or
    // empty (reported) when it could not be made.
    QString newDraft();
    // "Copia": the draft becomes a copy of `source`, upgraded when it has
    // the older schema; the source is never changed. Empty on failure or
    // when the upgrade was declined.
    QString copyToDraft(const LessonEntry& source);
    // Renames without ever deleting: the file is moved only when the target
    // name is free in any letter case. The new entry's path, or empty.
    QString rename(const LessonEntry& lesson, const QString& newName);
    bool remove(const LessonEntry& lesson);

private:
    const Folders& m_dirs;
    Reports& m_reports;
    LessonFileOps& m_ops;
};

}  // namespace ziro
