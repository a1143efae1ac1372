#include "authoring/lesson_editor_model.h"

#include "base/reports.h"
#include "quiz/question_bank.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace ziro {

namespace {

const QString kNumRec = QStringLiteral("NumRec");
const QString kDomanda = QStringLiteral("Domanda");
const QString kSign = QStringLiteral("Nome segnale");
const QString kHandPicked = QStringLiteral("0000000");

QString foto(int n) { return QStringLiteral("Foto%1").arg(n); }
QString txtF(int n) { return QStringLiteral("TxtF%1").arg(n); }
QString icona(int n) { return QStringLiteral("Icona%1").arg(n); }
QString quesito(int n) { return QStringLiteral("Quesito%1").arg(n); }

const QStringList& blockExtras()
{
    static const QStringList names = {
        QStringLiteral("Audio"), QStringLiteral("Video"), QStringLiteral("EDL"),   QStringLiteral("Libro"),
        QStringLiteral("FreX"),  QStringLiteral("FreY"),  QStringLiteral("Spare"), QStringLiteral("Testo"),
        QStringLiteral("Html1")};
    return names;
}

QString codeOf(const QString& text)
{
    return text.size() >= 16 ? text.left(16) : QString();
}

}  // namespace

std::optional<int> appendedNumRec(std::optional<int> last)
{
    if (!last)
        return kFirstNumRec;
    if (*last > std::numeric_limits<qint32>::max() - kNumRecStep)
        return std::nullopt;
    return std::max(*last, 0) + kNumRecStep;
}

std::optional<int> insertedNumRec(int previous, int current)
{
    // Every step keeps a number of its own: resume marks find steps by it.
    const qint64 gap = qint64(current) - qint64(previous);
    if (gap < 2)
        return std::nullopt;
    return int(previous + gap / 2);
}

bool isPhotoValue(const QString& value)
{
    if (value.isEmpty() || value.size() > 5)
        return false;
    return std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

LessonEditorModel::LessonEditorModel(Reports& reports, LessonFileOps& ops) : m_reports(reports), m_ops(ops)
{
}

bool LessonEditorModel::open(const QString& path, QString* error)
{
    close();
    QByteArray bytes;
    if (!m_ops.read(path, &bytes, error))
        return false;
    if (!m_table.loadFromData(bytes, path, error))
        return false;
    if (!m_table.setIndexFieldNames(kNumRec, error)) {
        m_table.close();
        return false;
    }
    m_table.setSaveOnClose(false);
    m_path = path;
    m_unsaved = false;
    if (!m_table.isEmpty()) {
        const int tipo = m_table.fieldInt(QStringLiteral("Tipo"));
        m_tipo = tipo == 4 || tipo == 5 || tipo == 6 ? tipo : 0;
    }
    m_pos = 1;
    syncPosition();
    return true;
}

void LessonEditorModel::close()
{
    m_table.setSaveOnClose(false);
    m_table.close();
    m_path.clear();
    m_pos = 1;
    m_unsaved = false;
}

QString LessonEditorModel::lessonName() const
{
    return QFileInfo(m_path).completeBaseName();
}

bool LessonEditorModel::isDraft() const
{
    return lessonName().compare(kDraftLesson, Qt::CaseInsensitive) == 0;
}

QString LessonEditorModel::field(const QString& name) const
{
    if (!m_table.isOpen() || pastLast())
        return {};
    return m_table.fieldText(name);
}

int LessonEditorModel::numRecAt(int position) const
{
    if (position < 1 || position > count())
        return 0;
    return m_table.fieldTextAt(position, m_table.fieldIndex(kNumRec)).toInt();
}

void LessonEditorModel::syncPosition()
{
    if (!m_table.isOpen())
        return;
    if (m_pos < 1)
        m_pos = 1;
    if (m_pos > count() + 1)
        m_pos = count() + 1;
    if (m_pos <= count())
        m_table.setRecNo(m_pos);
}

void LessonEditorModel::refuse(const QString& context, const QString& text)
{
    m_reports.Emsg(ReportKind::Message, context, text);
}

// ------------------------------------------------------------------ navigator

bool LessonEditorModel::navigate(Nav nav)
{
    if (!m_table.isOpen())
        return false;
    if (nav == Nav::Last) {
        m_pos = std::max(count(), 1);
        syncPosition();
        return true;
    }
    if (pastLast()) {
        refuse(QStringLiteral("Ultimo blocco della lezione."), QStringLiteral("Inserire nuovi blocchi o retrocedere."));
        return false;
    }
    switch (nav) {
    case Nav::First: m_pos = 1; break;
    case Nav::Back:
        if (m_pos <= 1)
            return false;
        --m_pos;
        break;
    case Nav::Forward:
        if (m_pos >= count())
            return false;
        ++m_pos;
        break;
    case Nav::Last: break;
    }
    syncPosition();
    return true;
}

bool LessonEditorModel::moveTo(int position)
{
    if (!m_table.isOpen() || position < 1 || position > count())
        return false;
    m_pos = position;
    syncPosition();
    return true;
}

// ------------------------------------------------------------------ steps

bool LessonEditorModel::newStep(int numRec)
{
    if (!m_table.append())
        return false;
    m_table.setField(kNumRec, numRec);
    setCommon();
    if (!m_table.post()) {
        m_table.cancel();
        return false;
    }
    m_pos = m_table.recNo();
    return true;
}

bool LessonEditorModel::addStep()
{
    if (!m_table.isOpen())
        return false;
    const std::optional<int> last = count() > 0 ? std::optional<int>(numRecAt(count())) : std::nullopt;
    const std::optional<int> number = appendedNumRec(last);
    if (!number) {
        refuse(QString::fromUtf8("Non è piu' possibile inserire blocchi."),
               QStringLiteral("Creare una nuova lezione con l'ordine corretto."));
        return false;
    }
    return newStep(*number);
}

bool LessonEditorModel::appendStep()
{
    return addStep() && commit();
}

bool LessonEditorModel::insertStep()
{
    if (!m_table.isOpen())
        return false;
    if (count() == 0 || pastLast())
        return appendStep();
    const int previous = m_pos > 1 ? numRecAt(m_pos - 1) : 0;
    const std::optional<int> number = insertedNumRec(previous, numRecAt(m_pos));
    if (!number) {
        refuse(QString::fromUtf8("Non è piu' possibile inserire blocchi."),
               QStringLiteral("Creare una nuova lezione con l'ordine corretto."));
        return false;
    }
    return newStep(*number) && commit();
}

bool LessonEditorModel::deleteStep()
{
    if (!m_table.isOpen())
        return false;
    if (pastLast()) {
        refuse(QStringLiteral("Ultimo blocco della lezione."), QStringLiteral("Inserire nuovi blocchi o retrocedere."));
        return false;
    }
    if (!m_reports.Conferma(QStringLiteral("Si desidera eliminare il blocco?"), QStringLiteral("Premere OK per procedere")))
        return false;
    if (!m_table.deleteRecord())
        return false;
    m_pos = std::min(m_pos, std::max(count(), 1));
    syncPosition();
    return save();
}

bool LessonEditorModel::isStepEmpty() const
{
    if (pastLast())
        return true;
    return field(kDomanda).isEmpty() && field(quesito(1)).isEmpty() && field(kSign).isEmpty() &&
           field(foto(1)).isEmpty();
}

// ------------------------------------------------------------------ editing

bool LessonEditorModel::beginStep()
{
    if (!m_table.isOpen())
        return false;
    if (pastLast())
        return false;
    m_table.setRecNo(m_pos);
    return m_table.edit();
}

bool LessonEditorModel::commit()
{
    if (m_table.state() == DataTable::State::Edit || m_table.state() == DataTable::State::Insert) {
        QString error;
        if (!m_table.post(&error)) {
            m_table.cancel();
            m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Lezione: ") + error, m_path);
            return false;
        }
        m_pos = m_table.recNo();
    }
    return save();
}

bool LessonEditorModel::save()
{
    QString error;
    const QByteArray data = m_table.toXml(SaveFormat::Ascii);
    if (!m_ops.write(m_path, data, &error)) {
        m_unsaved = true;
        m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Salvataggio lezione: ") + error, m_path);
        return false;
    }
    m_unsaved = false;
    return true;
}

bool LessonEditorModel::flush()
{
    if (!m_table.isOpen() || !m_unsaved)
        return true;
    return save();
}

void LessonEditorModel::setCommon()
{
    m_table.setField(QStringLiteral("Argomento"), QStringLiteral("Z"));
    m_table.setField(QStringLiteral("Selezione"), QStringLiteral("SI"));
    m_table.setField(QStringLiteral("Tipo"), m_tipo);
}

void LessonEditorModel::setSignFrom(const EditorDrag& drag)
{
    const QString name = drag.record.value(kSign);
    if (name.startsWith(u'F', Qt::CaseInsensitive))
        m_table.setField(kSign, QString());
    else
        m_table.setField(kSign, name.isEmpty() ? drag.signFallback : name);
}

void LessonEditorModel::copyIcons(const EditorDrag& drag)
{
    for (int i = 1; i <= 13; ++i)
        m_table.setField(icona(i), drag.record.value(icona(i)));
}

void LessonEditorModel::copyPhotosFrom(const EditorDrag& drag)
{
    std::vector<StepPhoto> photos;
    for (int i = 1; i <= kStepPhotos; ++i) {
        const QString v = drag.record.value(foto(i)).trimmed();
        if (isPhotoValue(v))
            photos.push_back({v, drag.record.value(txtF(i))});
    }
    writePhotos(photos);
}

void LessonEditorModel::copyBlockExtras(const EditorDrag& drag)
{
    for (const QString& name : blockExtras())
        m_table.setField(name, drag.record.value(name));
}

int LessonEditorModel::statementFields() const
{
    if (m_table.fieldIndex(quesito(kStepStatements)) >= 0)
        return kStepStatements;
    return m_table.fieldIndex(quesito(51)) >= 0 ? 51 : 50;
}

void LessonEditorModel::writeCodes(const QStringList& codes)
{
    const int n = statementFields();
    for (int i = 1; i <= n; ++i)
        m_table.setField(quesito(i), i <= codes.size() ? codes[i - 1] : QString());
}

void LessonEditorModel::writePhotos(const std::vector<StepPhoto>& photos)
{
    // Contiguous from slot 1, each caption beside its photograph.
    int slot = 1;
    for (const StepPhoto& p : photos) {
        if (p.value.isEmpty() || slot > kStepPhotos)
            continue;
        m_table.setField(foto(slot), p.value);
        m_table.setField(txtF(slot), p.caption);
        ++slot;
    }
    for (; slot <= kStepPhotos; ++slot) {
        m_table.setField(foto(slot), QString());
        m_table.setField(txtF(slot), QString());
    }
}

QStringList LessonEditorModel::statementCodes() const
{
    QStringList codes;
    if (pastLast())
        return codes;
    const int n = statementFields();
    for (int i = 1; i <= n; ++i) {
        const QString code = codeOf(field(quesito(i)));
        if (!code.isEmpty())
            codes << code;
    }
    return codes;
}

QStringList LessonEditorModel::statementLines(const QuestionBank* bank) const
{
    QStringList lines;
    if (field(kDomanda).isEmpty())
        return lines;
    const int tipo = field(QStringLiteral("Tipo")).toInt();
    if (tipo != 0 && tipo != 4 && tipo != 5 && tipo != 6)
        return lines;
    for (const QString& code : statementCodes()) {
        QString line = code;
        if (bank && bank->isOpen()) {
            const int rec = bank->find(code.left(7).trimmed(), code.mid(8, 4));
            QuizStatement st;
            if (rec > 0 && bank->readStatement(rec, &st))
                line += st.Aff[0];
        }
        lines << line;
    }
    return lines;
}

std::vector<StepPhoto> LessonEditorModel::photos() const
{
    std::vector<StepPhoto> out;
    for (int i = 1; i <= kStepPhotos; ++i)
        out.push_back({field(foto(i)), field(txtF(i))});
    return out;
}

// ------------------------------------------------------------------ acceptance

bool LessonEditorModel::accepts(Target target, const EditorDrag& d)
{
    switch (target) {
    case Target::Sign:
        return d.origin == DragOrigin::SourceSign || d.origin == DragOrigin::BlockCombo ||
               (d.origin == DragOrigin::ExtraSign && d.tag > 20);
    case Target::Statements:
        return d.origin == DragOrigin::BlockCombo || d.origin == DragOrigin::SourceStatements;
    case Target::LessonName:
        return d.origin != DragOrigin::StepStatements;
    }
    return false;
}

bool LessonEditorModel::slotAccepts(const EditorDrag& d)
{
    return (d.origin == DragOrigin::SourcePhoto && d.tag > 20) ||
           (d.origin == DragOrigin::StepPhoto && d.tag >= 1 && d.tag <= kStepPhotos);
}

bool LessonEditorModel::insertMarkerAccepts(int marker, const EditorDrag& d) const
{
    if (marker < 0 || marker >= kStepPhotos || !slotAccepts(d))
        return false;
    return marker == 0 || !field(foto(marker)).isEmpty();
}

// ------------------------------------------------------------------ drops

bool LessonEditorModel::dropSign(const EditorDrag& drag)
{
    if (!accepts(Target::Sign, drag))
        return false;
    if (drag.origin == DragOrigin::ExtraSign && drag.extraSign.trimmed().isEmpty())
        return false;
    if (pastLast() && !addStep())
        return false;
    if (drag.origin == DragOrigin::ExtraSign) {
        const QString name = drag.extraSign.trimmed();
        if (!beginStep())
            return false;
        setCommon();
        m_table.setField(kSign, name);
        if (drag.extraSignFound)
            copyIcons(drag);
        else
            for (int i = 1; i <= 13; ++i)
                m_table.setField(icona(i), QString());
        return commit();
    }
    const bool wasEmpty = isStepEmpty();
    const bool hadPhoto = !field(foto(1)).isEmpty();
    const bool block = drag.origin == DragOrigin::BlockCombo;
    if (!beginStep())
        return false;
    setCommon();
    setSignFrom(drag);
    copyIcons(drag);
    if (wasEmpty || block) {
        if (block) {
            m_table.setField(kDomanda, drag.record.value(kDomanda));
            writeCodes(drag.codes.mid(0, kStepStatements));
            copyBlockExtras(drag);
        }
        if (!hadPhoto)
            copyPhotosFrom(drag);
    }
    return commit();
}

bool LessonEditorModel::dropStatements(const EditorDrag& drag)
{
    if (!accepts(Target::Statements, drag) && drag.origin != DragOrigin::StepStatements)
        return false;
    QStringList picked;
    for (const QString& c : drag.codes) {
        const QString code = codeOf(c);
        if (!code.isEmpty())
            picked << code;
    }
    if (picked.isEmpty() && drag.origin != DragOrigin::BlockCombo)
        return false;
    if (pastLast() && !addStep())
        return false;
    const bool hadPhoto = !field(foto(1)).isEmpty();
    if (drag.origin != DragOrigin::BlockCombo) {
        // Hand-picked lines go after the step's own, as far as room allows.
        QStringList codes = statementCodes();
        const int room = statementFields() - int(codes.size());
        if (room <= 0 || picked.isEmpty())
            return false;
        codes += picked.mid(0, room);
        if (!beginStep())
            return false;
        setCommon();
        m_table.setField(kDomanda, kHandPicked);
        writeCodes(codes);
        return commit();
    }
    if (!beginStep())
        return false;
    setCommon();
    m_table.setField(kDomanda, drag.record.value(kDomanda));
    writeCodes(picked.mid(0, kStepStatements));
    setSignFrom(drag);
    copyIcons(drag);
    // A step's own photographs are never replaced by a block's.
    if (!hadPhoto)
        copyPhotosFrom(drag);
    copyBlockExtras(drag);
    return commit();
}

bool LessonEditorModel::applyPhotoDrop(const EditorDrag& drag, int slot)
{
    std::vector<StepPhoto> strip = photos();
    const int used = int(std::count_if(strip.begin(), strip.end(), [](const StepPhoto& p) { return !p.value.isEmpty(); }));
    int n = std::min(slot, used + 1);
    if (drag.origin == DragOrigin::SourcePhoto) {
        const QString value = drag.photoValue.trimmed();
        if (!isPhotoValue(value))
            return false;
        if (n > kStepPhotos)
            return false;
        if (!beginStep())
            return false;
        m_table.setField(foto(n), value);
        m_table.setField(txtF(n), drag.photoCaption);
        m_table.setField(QStringLiteral("Argomento"), QStringLiteral("Z"));
        if (m_table.fieldText(QStringLiteral("Tipo")).isEmpty())
            m_table.setField(QStringLiteral("Tipo"), m_tipo);
        return commit();
    }
    // A step photograph moved onto another slot takes its place there.
    const int s = drag.tag;
    if (s < 1 || s > kStepPhotos || strip[std::size_t(s - 1)].value.isEmpty() || s == n)
        return false;
    n = std::min(n, used);
    if (s == n)
        return false;
    strip[std::size_t(n - 1)] = strip[std::size_t(s - 1)];
    strip.erase(strip.begin() + (s - 1));
    if (!beginStep())
        return false;
    writePhotos(strip);
    return commit();
}

bool LessonEditorModel::dropPhoto(const EditorDrag& drag, int slot)
{
    if (!slotAccepts(drag) || slot < 1 || slot > kStepPhotos)
        return false;
    if (drag.origin == DragOrigin::SourcePhoto && !isPhotoValue(drag.photoValue.trimmed()))
        return false;
    if (pastLast()) {
        if (drag.origin != DragOrigin::SourcePhoto || !addStep())
            return false;
    }
    return applyPhotoDrop(drag, slot);
}

bool LessonEditorModel::insertPhoto(const EditorDrag& drag, int marker)
{
    if (!insertMarkerAccepts(marker, drag) || pastLast())
        return false;
    std::vector<StepPhoto> strip = photos();
    std::erase_if(strip, [](const StepPhoto& p) { return p.value.isEmpty(); });
    std::size_t at = std::size_t(std::min<int>(marker, int(strip.size())));
    if (drag.origin == DragOrigin::SourcePhoto) {
        const QString value = drag.photoValue.trimmed();
        if (!isPhotoValue(value))
            return false;
        if (strip.size() >= std::size_t(kStepPhotos)) {
            // The strip is full: making room would silently lose photo 15.
            refuse(QStringLiteral("Striscia delle foto piena"),
                   QStringLiteral("Eliminare una foto del passo prima di inserirne un'altra."));
            return false;
        }
        strip.insert(strip.begin() + std::ptrdiff_t(at), StepPhoto{value, drag.photoCaption});
    } else {
        const std::size_t from = std::size_t(drag.tag - 1);
        if (from >= strip.size())
            return false;
        const StepPhoto moved = strip[from];
        strip.erase(strip.begin() + std::ptrdiff_t(from));
        if (from < at)
            --at;
        strip.insert(strip.begin() + std::ptrdiff_t(at), moved);
    }
    if (!beginStep())
        return false;
    m_table.setField(QStringLiteral("Argomento"), QStringLiteral("Z"));
    writePhotos(strip);
    return commit();
}

bool LessonEditorModel::applyStepDrop(Target target, const EditorDrag& drag)
{
    switch (target) {
    case Target::Sign: return dropSign(drag);
    case Target::Statements: return dropStatements(drag);
    case Target::LessonName: break;
    }
    return false;
}

bool LessonEditorModel::applyDrop(Target target, const EditorDrag& drag, int slot)
{
    if (slot > 0)
        return dropPhoto(drag, slot);
    return applyStepDrop(target, drag);
}

bool LessonEditorModel::dropOnLessonName(const EditorDrag& drag, EditorSource* source)
{
    if (!m_table.isOpen() || !accepts(Target::LessonName, drag))
        return false;
    if (drag.origin == DragOrigin::TopicCombo)
        return source && importTopic(*source, drag.topic);
    if (drag.origin == DragOrigin::StepPhoto)
        return false;
    if (drag.origin == DragOrigin::SourcePhoto && !isPhotoValue(drag.photoValue.trimmed()))
        return false;
    if (drag.origin == DragOrigin::ExtraSign && drag.extraSign.trimmed().isEmpty())
        return false;
    // The new step and what is dropped on it are written together.
    if (!addStep())
        return false;
    bool applied = false;
    switch (drag.origin) {
    case DragOrigin::SourceSign:
    case DragOrigin::ExtraSign: applied = dropSign(drag); break;
    case DragOrigin::BlockCombo:
    case DragOrigin::SourceStatements: applied = dropStatements(drag); break;
    case DragOrigin::SourcePhoto: applied = applyPhotoDrop(drag, 1); break;
    default: break;
    }
    return applied ? !m_unsaved : save();
}

bool LessonEditorModel::importTopic(EditorSource& source, const QString& topic)
{
    if (!m_table.isOpen())
        return false;
    const std::optional<std::vector<EditorDrag>> records = source.topicRecords(topic);
    if (!records)
        return false;
    int imported = 0;
    bool failed = false;
    for (const EditorDrag& r : *records) {
        const QString domanda = r.record.value(kDomanda).trimmed();
        if (domanda.isEmpty())
            continue;
        const std::optional<int> number =
            appendedNumRec(count() > 0 ? std::optional<int>(numRecAt(count())) : std::nullopt);
        if (!number || !m_table.append()) {
            failed = true;
            break;
        }
        m_table.setField(kNumRec, *number);
        setCommon();
        m_table.setField(kDomanda, r.record.value(kDomanda));
        QStringList codes;
        for (const QString& c : r.codes)
            if (!codeOf(c).isEmpty())
                codes << codeOf(c);
        writeCodes(codes.mid(0, kStepStatements));
        setSignFrom(r);
        if (!r.record.value(kSign).isEmpty())
            copyIcons(r);
        copyPhotosFrom(r);
        copyBlockExtras(r);
        if (!m_table.post()) {
            m_table.cancel();
            failed = true;
            break;
        }
        m_pos = m_table.recNo();
        ++imported;
    }
    const bool saved = imported == 0 || save();
    if (failed || !saved) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Importazione argomento"),
                       QString::fromUtf8("Si è verificato un errore durante l'operazione: %1 passi importati.")
                           .arg(imported));
        return imported > 0;
    }
    return imported > 0;
}

// ------------------------------------------------------------------ deletes

bool LessonEditorModel::deleteSign()
{
    if (!beginStep())
        return false;
    m_table.setField(kSign, QString());
    for (int i = 1; i <= 13; ++i)
        m_table.setField(icona(i), QString());
    return commit();
}

bool LessonEditorModel::deletePhoto(int slot)
{
    std::vector<StepPhoto> strip = photos();
    if (slot < 1 || slot > kStepPhotos || strip[std::size_t(slot - 1)].value.isEmpty())
        return false;
    strip.erase(strip.begin() + (slot - 1));
    if (!beginStep())
        return false;
    writePhotos(strip);
    return commit();
}

bool LessonEditorModel::deleteStatement(int line)
{
    QStringList codes = statementCodes();
    if (line < 0 || line >= codes.size())
        return false;
    codes.removeAt(line);
    if (!beginStep())
        return false;
    writeCodes(codes);
    return commit();
}

bool LessonEditorModel::reorderStatements(int from, int to)
{
    QStringList codes = statementCodes();
    if (from < 0 || from >= codes.size() || to < 0 || to >= codes.size() || from == to)
        return false;
    codes.move(from, to);
    if (!beginStep())
        return false;
    writeCodes(codes);
    return commit();
}

// ------------------------------------------------------------------ bound steps

int LessonEditorModel::positionOf(int numRec) const
{
    for (int i = 1; i <= count(); ++i)
        if (numRecAt(i) == numRec)
            return i;
    return 0;
}

QString LessonEditorModel::stepField(int numRec, const QString& name) const
{
    const int pos = positionOf(numRec);
    const int field = m_table.fieldIndex(name);
    if (pos == 0 || field < 0)
        return {};
    return m_table.fieldTextAt(pos, field);
}

bool LessonEditorModel::setStepField(int numRec, const QString& name, const QString& value, QString* error)
{
    const int pos = positionOf(numRec);
    if (pos == 0 || m_table.fieldIndex(name) < 0) {
        if (error)
            *error = QStringLiteral("passo non trovato");
        return false;
    }
    const int current = m_pos;
    const QString old = stepField(numRec, name);
    const auto put = [&](const QString& v) {
        m_table.setRecNo(pos);
        if (!m_table.edit() || !m_table.setField(name, v, error) || !m_table.post(error)) {
            m_table.cancel();
            return false;
        }
        return true;
    };
    bool ok = put(value);
    if (ok && !m_ops.write(m_path, m_table.toXml(SaveFormat::Ascii), error)) {
        put(old);
        ok = false;
    }
    m_pos = current;
    syncPosition();
    return ok;
}

bool StepCaptions::hasField(const QString& name) const
{
    return m_model.table().fieldIndex(name) >= 0;
}

QString StepCaptions::fieldText(const QString& name) const
{
    return m_model.stepField(m_numRec, name);
}

bool StepCaptions::storeAndSave(const QString& name, const QString& value, QString* error)
{
    return m_model.setStepField(m_numRec, name, value, error);
}

// ------------------------------------------------------------------ naming

LessonEditorModel::NamingResult LessonEditorModel::closeNaming(const QString& name, NameProblem* problem)
{
    const QString folder = QFileInfo(m_path).absolutePath() + QLatin1Char('/');
    NameProblem why = lessonNameProblem(name, listLessons(folder));
    const QString target = folder + name + QStringLiteral(".xml");
    if (why == NameProblem::None && QFileInfo::exists(target))
        why = NameProblem::Exists;
    if (problem)
        *problem = why;
    if (why != NameProblem::None)
        return NamingResult::Refused;
    QString error;
    if (!m_ops.write(target, m_table.toXml(SaveFormat::Ascii), &error)) {
        m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Salvataggio lezione: ") + error, target);
        return NamingResult::WriteFailed;
    }
    // The draft goes only once its work is safely under the new name.
    const QString draft = m_path;
    m_path = target;
    m_unsaved = false;
    if (!m_ops.remove(draft, &error))
        m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Bozza non eliminata: ") + error, draft);
    return NamingResult::Saved;
}

}  // namespace ziro
