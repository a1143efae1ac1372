#pragma once

// Teacher accesses and resume marks.
//
// The settings file holds nine slots, sections "Accesso0" .. "Accesso8":
// slot 0 is the generic access (the user folder itself), slots 1..8 the
// teachers, each with a folder of the same name directly under the user
// folder and a resume mark (keys MTrec .. MTncs). The list keeps a map from
// its rows to the slots, so that gaps or odd entries in the file never make
// an action land on the wrong teacher, and every action keeps the current
// access (AccessoCorrente, DirLezioni) pointing at the same teacher.

#include "authoring/lesson_store.h"
#include "base/globals.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace ziro {

class IniFile;
class Reports;

inline constexpr int kAccessSlots = 9;
inline constexpr int kMaxTeachers = 8;
// A rebuild from the folders takes at most this many.
inline constexpr int kRebuildTeachers = 7;
inline const QString kGenericAccess = QStringLiteral("Accesso generico");

struct SingleAccessType {
    QString id;
    TMdTemp mark;  // Status unused
};

QString accessSection(int slot);

// The slot as stored; missing or unreadable values give their defaults.
SingleAccessType readAccessSlot(const IniFile& ini, int slot);
// Writes every key of the slot into the document (not saved).
void putAccessSlot(IniFile& ini, int slot, const SingleAccessType& access);
// Writes the mark's keys into the document (not saved); MTncs only for a
// custom-lesson mark.
void putMark(IniFile& ini, int slot, const TMdTemp& mark);

// SalvaJmpMark's write: the mark's keys of `slot` in one atomic save.
bool saveMarkToSlot(IniFile& ini, int slot, const TMdTemp& mark, QString* error = nullptr);

// The lesson file a mark names. The stored path may have been written on
// another system or before the user folder moved: when it does not exist
// as it stands, the part after the user folder's name ("Utente") is looked
// up under `userFolder`, in any letter case. Empty when nothing is found or
// the path is unsafe.
QString resolveMarkLesson(const QString& stored, const QString& userFolder);

// The pending mark a slot loads into (Status set), or nothing when the slot
// has no mark or names a custom lesson that is gone.
std::optional<TMdTemp> markToLoad(const SingleAccessType& slot, const QString& userFolder);

// ---------------------------------------------------------------- applying

// What the record reached by a mark offers, learnt once it is located.
struct MarkFacts {
    bool lessonExists = true;  // a custom mark's lesson file
    bool recordFound = true;
    bool signShown = false;
    bool questionShown = false;
    bool hasPhotos = false;
    bool hasHtml = false;
    int photoCount = 0;
    int statementCount = 0;  // of the record's question block; 0 unknown
    int questionCount = 0;   // blocks of the topic
};

struct ApplyPlan {
    enum class Action {
        NotApplied,  // no mark: save the current state and open the menu
        Menu,        // the mark leads nowhere: drop it and open the menu
        Show,
    };
    enum class View {
        Record,         // the record as the walk shows it; photo viewer closed
        Photo,          // the photo viewer at `photo`
        Sign,           // the sign, quiz closed
        Quiz,           // the question at `statement`
        PhotoOverQuiz,  // the question at `statement`, then the photo viewer
        PhotoOverSign,  // the sign, then the photo viewer
    };
    Action action = Action::NotApplied;
    bool custom = false;
    QString lessonPath;
    TModoQuiz edition = TModoQuiz::mqAB;
    QString topic;  // filtered on when not custom
    int recNum = 0;
    bool onlyFoto = false;
    View view = View::Record;
    int photo = 0;      // 1..photoCount
    int statement = 0;  // 1..statementCount
    int question = 0;   // 0..questionCount
};

// The edition a mark names; A-B when it names none.
TModoQuiz markEdition(const TMdTemp& mark);

// Which file, edition, filter and record a pending mark leads to, and, from
// what that record offers, which view and which (clamped) photo, statement
// and question number. Pure.
ApplyPlan planApply(const TMdTemp& mark, const MarkFacts& facts);

// ---------------------------------------------------------------- the list

class AccessList {
public:
    // The list of g.IniFilePtr's slots; folders under g.dirs.DirUtente.
    AccessList(Globals& g, Reports& reports);

    // CaricaAccessi: reads the nine slots, finishes a teacher rename that
    // was cut short, and closes gaps (writing the result back). Entries
    // that cannot be a teacher (an unsafe or reserved id, a second entry of
    // the same name) are reported and left out. The current access stays
    // on its teacher.
    bool load();

    int teacherCount() const { return int(m_rows.size()); }
    QStringList names() const;
    // The slot of a row of the list, -1 for none.
    int slotOfRow(int row) const;
    int rowOfSlot(int slot) const;
    const SingleAccessType& slot(int n) const { return m_slots.at(std::size_t(n)); }
    bool canInsert() const { return teacherCount() < kMaxTeachers; }

    // Why `name` cannot be a new teacher name (ignoring `exceptRow`'s own).
    NameProblem teacherNameProblem(const QString& name, int exceptRow = -1) const;

    // The folder of a teacher slot: a direct child of the user folder, never
    // the photo folder; nothing for slot 0, an empty slot or an unsafe id.
    std::optional<QString> teacherFolder(int slot) const;
    QString lessonFolderOf(int slot) const;

    // "OK" of the choice: row -1 (or any row without a teacher) is the
    // generic access.
    void choose(int row);
    // The configuration form's InfoAccess: the current access's number,
    // " - " and its name (" 0 - Accesso generico" for the generic access).
    QString infoAccess() const;

    // Each returns false (reported) when it did nothing.
    bool insert(const QString& name);
    bool rename(int row, const QString& name);
    bool remove(int row);
    // The teachers become the first seven safe sub-folders of the user
    // folder; every mark is cleared. The current teacher is kept when found.
    int rebuild();

private:
    IniFile& ini() const;
    void readAll();
    bool saveSlots(const std::vector<std::pair<int, SingleAccessType>>& writes, const QString& context);
    bool moveFolder(const QString& from, const QString& to, QString* error);
    void setCurrent(int slot);
    bool isTeacherName(const QString& id) const;

    Globals& m_g;
    Reports& m_reports;
    std::array<SingleAccessType, kAccessSlots> m_slots;
    std::vector<int> m_rows;  // row -> slot
};

}  // namespace ziro
