#pragma once

// The photograph viewer's logic, without its window: which photograph of a
// record to show and where its file is, and when and how a caption is
// stored back into the table. The caption record itself is in
// photo_caption.h; arrows, the burnt-in caption and the enlarged picture in
// photo_render.h.
//
// A record has the fields Foto1..Foto30 (photograph numbers) and, in most
// tables, TxtF1..TxtF30 (their captions). Numbers below 9000 are the
// installation's masked pictures, 9000 and above the ones the user added.

#include "content/photo_files.h"
#include "viewers/photo_caption.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

namespace ziro {

class DataTable;
class Reports;
struct Folders;

inline constexpr int kMaxPhotos = 30;
// Custom lesson tables carry only the first fifteen photographs.
inline constexpr int kMaxPhotosCustom = 15;

// "Foto<n>" and "TxtF<n>".
QString photoFieldName(int n);
QString captionFieldName(int n);

// The photograph names of the lesson editor's two photo lists: the first
// four characters of a user-photo entry; a new-photo entry without its last
// four characters (its extension).
QString userListPhotoName(const QString& entry);
QString newListPhotoName(const QString& entry);

// ---------------------------------------------------------------- which photograph

// Reads the Foto<n> value of the record on show (n from 1).
using FotoValue = std::function<QString(int n)>;

// The photograph count the previews set (NumeroFoto): the last non-empty
// slot of 2..30 (2..15 in a custom lesson) when Foto2 or the HTML page is
// set, else 1. Slots before it may be empty.
int countPhotos(const FotoValue& fotoValue, bool hasHtmlPage, bool custom);

// The photograph VediFoto(quale) shows among `count`: with `wrap` (the
// lesson editor is hidden) past the last gives 1 and before the first gives
// `count`. nullopt when the result is still outside 1..count (count < 1, or
// no wrap); the caller beeps rather than read Foto0 or Foto31.
std::optional<int> photoToShow(int quale, int count, bool wrap);

// The next (direction > 0) or previous (direction < 0) photograph from
// `current` whose Foto value is not blank, wrapping like photoToShow when
// `wrap`; nullopt when there is none (every other slot empty, or the end
// reached without wrap). `current` may itself be empty or out of range.
std::optional<int> stepPhoto(int current, int direction, int count, const FotoValue& fotoValue,
                             bool wrap);

// ---------------------------------------------------------------- storing captions

// The table the captions are read from and written to (the content table,
// or the lesson editor's source table), on the record on show.
class CaptionTable {
public:
    virtual ~CaptionTable() = default;
    virtual bool hasField(const QString& name) const = 0;
    virtual QString fieldText(const QString& name) const = 0;
    // Sets the field of the current record (an empty value clears it) and
    // writes the whole table to its file atomically. On failure the record
    // and the file both keep the old value, and `error` says why.
    virtual bool storeAndSave(const QString& name, const QString& value, QString* error) = 0;
    // The file the table is written to, for reports.
    virtual QString fileName() const = 0;
};

// CaptionTable over a DataTable (every record is written, whatever range
// the table is filtered to).
class DataTableCaptions : public CaptionTable {
public:
    explicit DataTableCaptions(DataTable& table) : m_table(table) {}
    bool hasField(const QString& name) const override;
    QString fieldText(const QString& name) const override;
    bool storeAndSave(const QString& name, const QString& value, QString* error) override;
    QString fileName() const override;

private:
    DataTable& m_table;
};

// CaptionTable over one record of a DataTable, found by its NumRec each
// time: the captions stay with that record wherever the table's cursor goes
// meanwhile, and the cursor is where it was after a store. `mirror`, when it
// holds the same file in memory (the lesson's content table over the
// edition the editor reads), gets the stored value too, so its next write
// does not take the caption back.
class RecordCaptions : public CaptionTable {
public:
    RecordCaptions(DataTable& table, QString numRec, DataTable* mirror = nullptr)
        : m_table(table), m_numRec(std::move(numRec)), m_mirror(mirror)
    {
    }
    bool hasField(const QString& name) const override;
    QString fieldText(const QString& name) const override;
    bool storeAndSave(const QString& name, const QString& value, QString* error) override;
    QString fileName() const override;

private:
    DataTable& m_table;
    QString m_numRec;
    DataTable* m_mirror;
};

// Whether a save is wanted at all: the caption changed (Modificato) and its
// text is not the placeholder "Testo...".
bool captionSaveWanted(const QString& captionText, bool modificato);

enum class CaptionSave {
    NotWanted,  // placeholder text or not changed
    NoField,    // the table has no TxtF<n> for this photograph: nothing raised
    Declined,   // the teacher answered "Annulla"
    Unchanged,  // the record equals the stored value
    Stored,     // stored (or cleared) and the table written
    Failed,     // the write failed and was reported (kind 2)
};

struct CaptionSaveOutcome {
    CaptionSave result = CaptionSave::NotWanted;
    bool modificato = false;      // the viewer's Modificato afterwards
    bool clearClipboard = false;  // ClipBrdTxt is emptied
};

// SaveToDB: stores the caption of photograph `fotoCorrente` in
// TxtF<fotoCorrente> when a save is wanted, the table has that field, the
// teacher agrees (asked only when `askFirst`: "Si desidera salvare il
// testo?") and the record differs from the stored one; a caption with a
// blank text and no arrow clears the field. A failed write is reported as
// kind 2 with the table's file and keeps Modificato set so that the caption
// can be saved again.
CaptionSaveOutcome SaveToDB(CaptionTable& table, int fotoCorrente, const PhotoCaption& caption,
                            bool modificato, bool askFirst, Reports& reports);

}  // namespace ziro
