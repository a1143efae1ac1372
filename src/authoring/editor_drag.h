#pragma once

// What travels from the lesson editor's source half to its destination half.
// The source resolves everything a drop needs at the moment the drag starts
// (the record's fields, the statement codes, the photo value), so the
// destination applies a drop without reaching back into the source's tables
// or its page state. Only the whole-topic import asks the source again,
// through EditorSource, because it walks many records.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QMimeData;

namespace ziro {

// Where a drag started. The step's own pictures are listed too: a step photo
// can be moved or inserted elsewhere in the strip.
enum class DragOrigin {
    SourceSign,        // the source record's sign panel (tag 0)
    BlockCombo,        // the block combo: the whole record with its block
    SourceStatements,  // selected lines of the source statement list
    SourcePhoto,       // a picture of the source strip (tag 21..50)
    ExtraSign,         // a picture of the strip in "Segnali extra" (tag 21..50)
    TopicCombo,        // the topic combo: import of the whole topic
    StepPhoto,         // a picture of the step's strip (tag 1..15)
    StepStatements,    // lines of the step's own statement list
};

struct EditorDrag {
    DragOrigin origin = DragOrigin::SourceSign;
    int tag = 0;  // picture tag as the panels number them; 0 for the sign

    // `Tipo` of the source's edition (4 AM, 5 C-D-E, 6 CQC, otherwise 0).
    int tipo = 0;

    // The source record's fields by name, as far as a drop copies them:
    // `Nome segnale`, `Icona1`..`Icona13`, `Domanda`, `Foto1`..`Foto15`,
    // `TxtF1`..`TxtF15`, `Audio`, `Video`, `EDL`, `Libro`, `FreX`, `FreY`,
    // `Spare`, `Testo`, `Html1`. Empty for photo-mode pictures.
    QMap<QString, QString> record;
    QString signFallback;  // NSegnaleSorgente: used when `Nome segnale` is empty

    // 16-character statement codes: the selected lines (SourceStatements,
    // StepStatements) or every line of the record's block (BlockCombo,
    // SourceSign), in list order. At most 70.
    QStringList codes;

    // SourcePhoto: the value a `Foto` field stores and its caption (empty in
    // the photo modes). Left empty when the picture stands for nothing, so
    // the drop is ignored.
    QString photoValue;
    QString photoCaption;

    // ExtraSign: the sign name (file name without extension) and, when the
    // source table has a record with that sign, that record's `Icona1` ..
    // `Icona13` in `record`.
    QString extraSign;
    bool extraSignFound = false;

    // TopicCombo: the topic code (as the topic filter takes it).
    QString topic;
};

// The MIME type of an editor drag. Drags carry a process token so that data
// dropped from another program (or another running copy) is refused.
QString editorDragMimeType();
QMimeData* encodeEditorDrag(const EditorDrag& drag);
// nullopt for anything that did not come from this process's editor or does
// not decode cleanly; never throws, never trusts a length it read.
std::optional<EditorDrag> decodeEditorDrag(const QMimeData* mime);

// Byte form (for tests and fuzzing); `token` must match the process's.
QByteArray editorDragBytes(const EditorDrag& drag);
std::optional<EditorDrag> editorDragFromBytes(const QByteArray& bytes);

// The source half as the destination needs it for a topic import.
class EditorSource {
public:
    virtual ~EditorSource() = default;
    // Every record of the topic in table order whose trimmed `Domanda` is not
    // empty, each as a BlockCombo drag with its block's codes; nullopt when
    // the source is not open or the topic is the photo item.
    virtual std::optional<std::vector<EditorDrag>> topicRecords(const QString& topic) = 0;
};

}  // namespace ziro
