#include "viewers/photo.h"

#include "base/globals.h"
#include "base/reports.h"
#include "controls/kxb.h"
#include "controls/photo_filters.h"
#include "platform/dataset/data_table.h"
#include "platform/files/paths.h"

#include <QFileInfo>

#include <algorithm>

namespace ziro {


QString photoFieldName(int n)
{
    return QStringLiteral("Foto%1").arg(n);
}

QString captionFieldName(int n)
{
    return QStringLiteral("TxtF%1").arg(n);
}

QString userListPhotoName(const QString& entry)
{
    return entry.left(4);
}

QString newListPhotoName(const QString& entry)
{
    return entry.size() > 4 ? entry.chopped(4) : QString();
}

int countPhotos(const FotoValue& fotoValue, bool hasHtmlPage, bool custom)
{
    auto filled = [&fotoValue](int n) { return !fotoValue(n).trimmed().isEmpty(); };
    int count = 1;
    if (filled(2) || hasHtmlPage) {
        const int last = custom ? kMaxPhotosCustom : kMaxPhotos;
        for (int n = 2; n <= last; ++n) {
            if (filled(n))
                count = n;
        }
    }
    return count;
}

std::optional<int> photoToShow(int quale, int count, bool wrap)
{
    if (wrap) {
        if (quale > count)
            quale = 1;
        if (quale < 1)
            quale = count;
    }
    if (quale < 1 || quale > count)
        return std::nullopt;
    return quale;
}

std::optional<int> stepPhoto(int current, int direction, int count, const FotoValue& fotoValue, bool wrap)
{
    if (count < 1 || direction == 0)
        return std::nullopt;
    const int step = direction > 0 ? 1 : -1;
    int n = std::clamp(current, 0, count + 1);
    for (int tried = 0; tried < count; ++tried) {
        n += step;
        if (n < 1 || n > count) {
            if (!wrap)
                return std::nullopt;
            n = n < 1 ? count : 1;
        }
        if (!fotoValue(n).trimmed().isEmpty())
            return n;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- storing captions

bool DataTableCaptions::hasField(const QString& name) const
{
    return m_table.isOpen() && m_table.findField(name) != nullptr;
}

QString DataTableCaptions::fieldText(const QString& name) const
{
    return m_table.fieldText(name);
}

QString DataTableCaptions::fileName() const
{
    return m_table.fileName();
}

bool DataTableCaptions::storeAndSave(const QString& name, const QString& value, QString* error)
{
    const QString file = m_table.fileName();
    if (file.isEmpty()) {
        if (error)
            *error = QStringLiteral("the table has no file");
        return false;
    }
    if (m_table.eof() && m_table.bof()) {
        if (error)
            *error = QStringLiteral("no record on show");
        return false;
    }
    const QString old = m_table.fieldText(name);
    if (!m_table.edit()) {
        if (error)
            *error = QStringLiteral("the record cannot be edited");
        return false;
    }
    if (!m_table.setField(name, value, error) || !m_table.post(error)) {
        m_table.cancel();
        return false;
    }
    if (m_table.saveToFile(file, DataTable::saveFormatFor(file), error))
        return true;
    // The file still holds the old value: the record goes back to it too, so
    // that the next save sees the caption as changed and writes it again.
    if (m_table.edit()) {
        if (!m_table.setField(name, old) || !m_table.post())
            m_table.cancel();
    }
    return false;
}

namespace {

// recNo of the record numbered `numRec`, 0 when there is none.
int recordNumbered(const DataTable& table, const QString& numRec)
{
    const int f = table.fieldIndex(QStringLiteral("NumRec"));
    if (!table.isOpen() || f < 0 || numRec.isEmpty())
        return 0;
    for (int rec = 1; rec <= table.recordCount(); ++rec)
        if (table.fieldTextAt(rec, f).trimmed() == numRec)
            return rec;
    return 0;
}

// Sets a field of record `rec` and comes back to the record the cursor was
// on, without telling the table's views of the trip.
bool setFieldAt(DataTable& table, int rec, const QString& name, const QString& value, QString* error)
{
    const int back = table.recNo();
    table.disableControls();
    bool ok = table.setRecNo(rec) && table.edit();
    if (ok && !(table.setField(name, value, error) && table.post(error))) {
        table.cancel();
        ok = false;
    }
    if (back > 0)
        table.setRecNo(back);
    table.enableControls();
    return ok;
}

}  // namespace

bool RecordCaptions::hasField(const QString& name) const
{
    return recordNumbered(m_table, m_numRec) > 0 && m_table.fieldIndex(name) >= 0;
}

QString RecordCaptions::fieldText(const QString& name) const
{
    const int rec = recordNumbered(m_table, m_numRec);
    const int f = m_table.fieldIndex(name);
    return rec > 0 && f >= 0 ? m_table.fieldTextAt(rec, f) : QString();
}

QString RecordCaptions::fileName() const
{
    return m_table.fileName();
}

bool RecordCaptions::storeAndSave(const QString& name, const QString& value, QString* error)
{
    const QString file = m_table.fileName();
    const int rec = recordNumbered(m_table, m_numRec);
    if (file.isEmpty() || rec == 0) {
        if (error)
            *error = file.isEmpty() ? QStringLiteral("the table has no file") : QStringLiteral("the record is gone");
        return false;
    }
    const QString old = fieldText(name);
    if (!setFieldAt(m_table, rec, name, value, error))
        return false;
    if (!m_table.saveToFile(file, DataTable::saveFormatFor(file), error)) {
        // The file keeps the old value, and so does the record.
        setFieldAt(m_table, rec, name, old, nullptr);
        return false;
    }
    if (m_mirror && m_mirror != &m_table && m_mirror->isOpen() && !m_mirror->fileName().isEmpty() &&
        QFileInfo(m_mirror->fileName()).canonicalFilePath() == QFileInfo(file).canonicalFilePath()) {
        if (const int twin = recordNumbered(*m_mirror, m_numRec))
            setFieldAt(*m_mirror, twin, name, value, nullptr);
    }
    return true;
}

bool captionSaveWanted(const QString& captionText, bool modificato)
{
    return modificato && captionText != QStringView(kCaptionPlaceholder);
}

CaptionSaveOutcome SaveToDB(CaptionTable& table, int fotoCorrente, const PhotoCaption& caption, bool modificato,
                            bool askFirst, Reports& reports)
{
    if (!captionSaveWanted(caption.text, modificato))
        return {CaptionSave::NotWanted, false, false};
    const QString field = captionFieldName(fotoCorrente);
    if (fotoCorrente < 1 || !table.hasField(field))
        return {CaptionSave::NoField, false, false};

    const QString record = writeCaption(caption);
    if (askFirst
        && !reports.Conferma(QStringLiteral("Si desidera salvare il testo?"), QStringLiteral("Premere OK per procedere")))
        return {CaptionSave::Declined, false, true};
    if (record == table.fieldText(field))
        return {CaptionSave::Unchanged, false, true};

    QString error;
    if (!table.storeAndSave(field, record, &error)) {
        reports.Emsg(ReportKind::FileIo, QStringLiteral("Salvataggio testo foto: ") + error, table.fileName());
        return {CaptionSave::Failed, true, false};
    }
    return {CaptionSave::Stored, false, true};
}

}  // namespace ziro
