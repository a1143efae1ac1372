#pragma once

// The lesson editor's destination half apart from its widgets: the steps of
// a lesson table, their numbering, the navigator, every drop, delete and
// reorder, the topic import and the naming of a new lesson.
//
// Every change is posted and the lesson is written to its file at once,
// atomically, so that a crash or a pulled plug loses at most the drop being
// made. A write that fails is reported (kind 2) and remembered: the editor
// must not close over it (canClose()).

#include "authoring/editor_drag.h"
#include "authoring/lesson_store.h"
#include "platform/dataset/data_table.h"
#include "viewers/photo.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ziro {

class QuestionBank;
class Reports;

inline constexpr int kStepPhotos = 15;
inline constexpr int kStepStatements = 70;
inline constexpr int kFirstNumRec = 500;
inline constexpr int kNumRecStep = 500;

// The numbers a new step gets; nullopt when there is no room.
std::optional<int> appendedNumRec(std::optional<int> last);
std::optional<int> insertedNumRec(int previous, int current);

// One photograph of a step's strip with its caption.
struct StepPhoto {
    QString value;
    QString caption;
    bool operator==(const StepPhoto&) const = default;
};

// A photo value a `Foto` field can hold: digits only, at most five.
bool isPhotoValue(const QString& value);

class LessonEditorModel {
public:
    enum class Nav { First, Back, Forward, Last };
    enum class Target { Sign, Statements, LessonName };

    explicit LessonEditorModel(Reports& reports, LessonFileOps& ops = realLessonFileOps());

    // Loads the lesson at `path` (ordered on NumRec) and goes to step 1.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return m_table.isOpen(); }
    QString path() const { return m_path; }
    // The lesson's name as its file says (the draft is "Nuova lezione").
    QString lessonName() const;
    bool isDraft() const;

    // `Tipo` of the edition being edited: every new or edited step gets it.
    void setEditionTipo(int tipo) { m_tipo = tipo; }
    int editionTipo() const { return m_tipo; }

    const DataTable& table() const { return m_table; }
    // The lesson's bytes as they are written to its file.
    QByteArray lessonBytes() { return m_table.toXml(SaveFormat::Ascii); }
    int count() const { return m_table.isOpen() ? m_table.recordCount() : 0; }
    // RecDestCorrente: 1-based; count()+1 (past the last step) when the
    // lesson is empty or its last step was deleted.
    int position() const { return m_pos; }
    bool pastLast() const { return m_pos > count(); }
    QString field(const QString& name) const;
    int numRecAt(int position) const;

    // The navigator. First and Last always move; Back and Forward are
    // refused (false, reported "Ultimo blocco della lezione.") past the
    // last step.
    bool navigate(Nav nav);
    // The track bar: straight to a position 1..count().
    bool moveTo(int position);

    // A new empty step at the end (made current); false when the numbers
    // have run out (reported).
    bool appendStep();
    // A new empty step before the current one (made current): it takes the
    // number halfway to the previous step; refused (reported) when no
    // number is free there. On an empty lesson, or past the end, appends.
    bool insertStep();
    // Asks "Si desidera eliminare il blocco?" and deletes on OK.
    bool deleteStep();

    bool isStepEmpty() const;

    // What a target takes (the widgets ask while a drag hovers).
    static bool accepts(Target target, const EditorDrag& drag);
    static bool slotAccepts(const EditorDrag& drag);
    bool insertMarkerAccepts(int marker, const EditorDrag& drag) const;

    // The drops; each answers whether the lesson changed.
    bool dropSign(const EditorDrag& drag);
    bool dropStatements(const EditorDrag& drag);
    // A source photograph into slot 1..15 (moved down to the first free
    // slot), or a step photograph moved onto it.
    bool dropPhoto(const EditorDrag& drag, int slot);
    // Onto Insert`marker` (0..14): the photograph goes to slot marker+1.
    bool insertPhoto(const EditorDrag& drag, int marker);
    // A drop on the lesson name: a topic import, or a new step at the end
    // with the drop applied to it.
    bool dropOnLessonName(const EditorDrag& drag, EditorSource* source);
    // Applies a drop to the current step as its target would.
    bool applyDrop(Target target, const EditorDrag& drag, int slot = 0);

    // Every record of `topic` appended as a step. A failure is reported
    // with the number of steps that were imported.
    bool importTopic(EditorSource& source, const QString& topic);

    // Deletions (asked by the caller).
    bool deleteSign();
    bool deletePhoto(int slot);
    bool deleteStatement(int line);
    bool reorderStatements(int from, int to);

    QStringList statementCodes() const;
    // Lines as the step's list shows them: the code's 16 characters, then
    // the statement's text when the bank has it.
    QStringList statementLines(const QuestionBank* bank) const;
    std::vector<StepPhoto> photos() const;  // the 15 slots

    // The last write failed and has not been made good.
    bool unsaved() const { return m_unsaved; }
    // Writes the lesson again when the last write failed; true when it is
    // safely on disk.
    bool flush();

    // A field of the step numbered `numRec`, wherever the editor stands.
    QString stepField(int numRec, const QString& name) const;
    // Sets it and writes the lesson; when the write fails the step keeps
    // its old value and `error` says why. The current step stays current.
    bool setStepField(int numRec, const QString& name, const QString& value, QString* error);

    enum class NamingResult { Saved, Refused, WriteFailed };
    // A new lesson gets its name: the lesson is written to <name>.xml in
    // its folder (never over another lesson), and only then is the draft
    // removed. Refused for empty, reserved, unsafe or existing names.
    NamingResult closeNaming(const QString& name, NameProblem* problem = nullptr);

private:
    int positionOf(int numRec) const;
    bool addStep();  // posted, not yet written
    bool beginStep();
    bool commit();
    bool save();
    void syncPosition();
    bool newStep(int numRec);
    void setCommon();
    void setSignFrom(const EditorDrag& drag);
    void copyIcons(const EditorDrag& drag);
    void copyPhotosFrom(const EditorDrag& drag);
    void copyBlockExtras(const EditorDrag& drag);
    void writeCodes(const QStringList& codes);
    void writePhotos(const std::vector<StepPhoto>& photos);
    bool applyPhotoDrop(const EditorDrag& drag, int slot);
    bool applyStepDrop(Target target, const EditorDrag& drag);
    int statementFields() const;
    void refuse(const QString& context, const QString& text);

    Reports& m_reports;
    LessonFileOps& m_ops;
    DataTable m_table;
    QString m_path;
    int m_pos = 1;
    int m_tipo = 0;
    bool m_unsaved = false;
};

// The photographs of one step as the photo viewer reads and captions them:
// bound to that step of the lesson, so a destination photograph never shows
// or changes a source record's caption, whatever the editor shows meanwhile.
class StepCaptions : public CaptionTable {
public:
    StepCaptions(LessonEditorModel& model, int numRec) : m_model(model), m_numRec(numRec) {}
    bool hasField(const QString& name) const override;
    QString fieldText(const QString& name) const override;
    bool storeAndSave(const QString& name, const QString& value, QString* error) override;
    QString fileName() const override { return m_model.path(); }

private:
    LessonEditorModel& m_model;
    int m_numRec;
};

}  // namespace ziro
