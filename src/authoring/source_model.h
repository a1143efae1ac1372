#pragma once

// The lesson editor's source: one edition's content table and question bank,
// or a page of loose pictures (new photographs, the user's own photographs,
// extra signs), filtered by topic and block and walked by record or by page.
// It holds its own table and bank, so the main window's table is never
// closed or moved by what the teacher does here.

#include "authoring/editor_drag.h"
#include "authoring/topic_lists.h"
#include "base/globals.h"
#include "platform/dataset/data_table.h"
#include "quiz/question_bank.h"
#include "viewers/photo.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace ziro {

class Reports;

// The items of the source type combo, in its order.
enum class SourceType {
    QuizAB = 0,
    NuoveFoto = 1,
    FotoUtente = 2,
    SegnaliExtra = 3,
    QuizAM = 4,
    QuizCDE = 5,
    QuizCQC = 6,
};

QStringList sourceTypeCaptions();
bool isPhotoSource(SourceType type);

inline constexpr int kSourcePhotos = 30;     // pictures of a source record
inline constexpr int kPhotoPage = 15;        // entries of a photo-mode page
inline constexpr int kFirstSourceTag = 21;   // tag of the first source picture
inline const QString kNoBlock = QStringLiteral("-----");

// The topic filter: empty accepts everything; a chapter letter accepts the
// topics from letter + "00" to letter + "99"; a longer code only itself.
bool topicAccepts(const QString& filter, const QString& argomento);

// The block number of a record's `Domanda`: its last 7 characters (C-D-E) or
// last 5, after trimming.
QString blockOfDomanda(const QString& domanda, TModoQuiz edition);

// One statement of a block, as a source line shows it.
struct SourceStatement {
    QString line;   // 16-character code followed by the text
    bool truth = false;
    QString figure;  // the bank's `Figura`, for the sign panel
    int number = 0;      // the bank's `Domanda`
    int difficulty = 0;  // the bank's `Difficolta`
    QString code() const { return line.left(16); }
    QString text() const { return line.mid(16); }
};

// The 16-character statement code; nullopt when the id or the picture would
// not fit its digits (they would name another statement).
std::optional<QString> statementCode(const QString& block, bool truth, const QString& id,
                                     const QString& figura);

// Reads the statements of `block` in bank order, at most 70. Statements whose
// code cannot be built and statements past the 70th are left out and logged
// (kind 20).
std::vector<SourceStatement> loadBlockStatements(const QuestionBank& bank, const QString& block,
                                                 Reports& reports);

// One usable entry of a photo-mode list.
struct PhotoEntry {
    QString name;   // as the list has it
    QString path;   // the picture file, resolved ignoring case
    QString value;  // what a `Foto` field stores, or the sign name in "Segnali extra"
};

// The usable entries of the three lists; anything that would store a wrong or
// empty value, or names no picture, is left out and logged (kind 20).
std::vector<PhotoEntry> newPhotoEntries(const Folders& dirs, Reports& reports);
std::vector<PhotoEntry> userPhotoEntries(const Folders& dirs, Reports& reports);
std::vector<PhotoEntry> extraSignEntries(const Folders& dirs, Reports& reports);

// The value a user photograph stores: its four digits when the name is
// "NNNN.BMP" (any case) with NNNN from 9000; nullopt otherwise.
std::optional<QString> userPhotoValue(const QString& fileName);

// Photo-mode paging over `count` entries.
struct PhotoPaging {
    int start = 0;
    int count = 0;
    bool canBack() const { return start > 0; }
    bool canForward() const { return start + kPhotoPage < count; }
    int lastStart() const { return count > 0 ? (count - 1) / kPhotoPage * kPhotoPage : 0; }
    QString counter() const;
    // Buttons 1 to 4: first, back, forward, last page.
    void move(int button);
};

class SourceModel : public EditorSource {
public:
    enum class Outcome { Applied, FellBack, Invalid };

    SourceModel(const Folders& dirs, Reports& reports);

    // The folders after the settings moved them; the next source type
    // applied reads its files from there.
    void setFolders(const Folders& dirs)
    {
        m_dirs = dirs;
        m_editionLoaded = false;
    }

    // The reports of the window's creation: missing user photo folder and
    // missing picture lists.
    void checkInstallation();

    // Applies a source type as the type combo does. A photo mode with an
    // empty list falls back to "Quiz A e B" (the caller beeps); an unknown
    // index is logged and changes nothing.
    Outcome applySourceType(int index);
    int sourceIndex() const { return int(m_type); }
    SourceType sourceType() const { return m_type; }
    bool photoMode() const { return isPhotoSource(m_type); }
    bool isOpen() const { return m_table.isOpen(); }
    TModoQuiz edition() const { return m_edition; }
    int tipo() const;

    // The topic combo.
    const std::vector<TopicComboItem>& topics() const { return m_topics; }
    int topicIndex() const { return m_topicIndex; }
    void setTopicMarker(int marker) { m_marker = marker; }
    // The marker the editor opens with: 7 for A-B, 6 for the other editions.
    static int defaultTopicMarker(int sourceIndex) { return sourceIndex == int(SourceType::QuizAB) ? 7 : 6; }
    int topicMarker() const { return m_marker; }
    // Selecting the last item ("SELEZIONE FOTO") switches to the user
    // photographs; any other item filters the source.
    Outcome selectTopic(int index);
    QString filter() const { return m_filter; }
    bool combosEnabled() const { return !photoMode(); }

    // The block combo: blocks of the filtered records, then "-----".
    const QStringList& blocks() const { return m_blocks; }
    QString currentBlock() const;  // "-----" for a record without a block
    bool chooseBlock(const QString& text);

    // Navigation buttons 1 to 4 (first, back, forward, last).
    void navigate(int button);
    bool canBack() const;
    bool canForward() const;
    QString counter() const;

    // The current record (edition sources).
    bool hasRecord() const;
    int recordCount() const { return int(m_rows.size()); }
    int position() const { return m_pos; }  // 0-based among the filtered records
    QString field(const QString& name) const;
    QString signName() const { return m_signName; }
    QString signPath() const;
    const std::vector<SourceStatement>& statements() const { return m_statements; }
    QString figurePath(int line) const;
    QString film() const;
    // What the statement loading shows with Ctrl held: the record's block
    // and one line per statement as the bank has it; empty without a block.
    QString blockDiagnostic() const;

    // The strip: 30 record photographs or one page of 15 entries; tags 21 to
    // 50. Empty path: nothing to show; a path that does not exist: a cross.
    QString picturePath(int tag) const;
    // What pressing a picture puts in the information panel ("f " + value);
    // empty when the picture stands for nothing or in "Segnali extra".
    QString pictureInfo(int tag) const;
    QString pictureCaption(int tag) const;
    // Where the caption of picture `tag` of the current record lives: that
    // record of the edition, found again by its NumRec, so a caption written
    // in the viewer lands there whatever the source shows meanwhile; written
    // to the edition's file and into `mirror` when it holds the same file.
    // Null in the photo modes and for an empty picture.
    std::unique_ptr<CaptionTable> pictureCaptions(int tag, DataTable* mirror = nullptr);
    const std::vector<PhotoEntry>& entries() const { return m_entries; }
    const PhotoPaging& paging() const { return m_paging; }

    // Drags, resolved now so the drop needs nothing more from the source.
    std::optional<EditorDrag> signDrag() const;
    std::optional<EditorDrag> blockDrag() const;
    std::optional<EditorDrag> statementsDrag(const QList<int>& lines) const;
    std::optional<EditorDrag> pictureDrag(int tag) const;
    std::optional<EditorDrag> topicDrag() const;

    std::optional<std::vector<EditorDrag>> topicRecords(const QString& topic) override;

private:
    bool openEdition(SourceType type);
    void applyFilter(const QString& code);
    void loadRecord();
    void clearRecord();
    int tableRec() const;  // recNo in the table of the current record, 0 if none
    QString fieldAt(int rec, const QString& name) const;
    QMap<QString, QString> recordFields(int rec) const;
    EditorDrag recordDrag(DragOrigin origin, int rec, const std::vector<SourceStatement>& statements) const;
    const PhotoEntry* entryFor(int tag) const;

    Folders m_dirs;
    Reports& m_reports;
    SourceType m_type = SourceType::QuizAB;
    TModoQuiz m_edition = TModoQuiz::mqAB;
    bool m_editionLoaded = false;
    DataTable m_table;
    QuestionBank m_bank;

    std::vector<TopicComboItem> m_topics;
    int m_topicIndex = 0;
    int m_marker = 7;
    QString m_filter;
    std::vector<int> m_rows;  // table recNos of the filtered records, in order
    int m_pos = -1;
    QStringList m_blocks;
    int m_bookmark = 0;  // table recNo kept while a photo mode is shown
    TModoQuiz m_bookmarkEdition = TModoQuiz::mqAB;

    QString m_signName;
    std::vector<SourceStatement> m_statements;

    std::vector<PhotoEntry> m_entries;
    PhotoPaging m_paging;
};

}  // namespace ziro
