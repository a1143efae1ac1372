#include "authoring/lesson_store.h"

#include "base/reports.h"
#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"
#include "platform/files/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ziro {

namespace {

const QString kXml = QStringLiteral(".xml");

void addNumbered(QList<FieldDef>& fields, const QString& stem, int count, FieldDef (*make)(const QString&))
{
    for (int i = 1; i <= count; ++i)
        fields << make(stem + QString::number(i));
}

}  // namespace

QList<FieldDef> lessonFields()
{
    QList<FieldDef> f;
    f << FieldDef::integer(QStringLiteral("NumRec")) << FieldDef::text(QStringLiteral("Domanda"), 7)
      << FieldDef::text(QStringLiteral("Capitolo"), 2) << FieldDef::text(QStringLiteral("Argomento"), 3)
      << FieldDef::text(QStringLiteral("ArgLiv1"), 1) << FieldDef::text(QStringLiteral("ArgLiv2"), 2)
      << FieldDef::text(QStringLiteral("Nome segnale"), 5) << FieldDef::text(QStringLiteral("Difficolta"), 2)
      << FieldDef::text(QStringLiteral("Selezione"), 3) << FieldDef::text(QStringLiteral("Spare"), 8)
      << FieldDef::integer(QStringLiteral("nVere")) << FieldDef::integer(QStringLiteral("nFalse"))
      << FieldDef::text(QStringLiteral("Libro"), 5) << FieldDef::integer(QStringLiteral("FreX"))
      << FieldDef::integer(QStringLiteral("FreY")) << FieldDef::text(QStringLiteral("Audio"), 5)
      << FieldDef::text(QStringLiteral("Video"), 5) << FieldDef::text(QStringLiteral("EDL"), 15)
      << FieldDef::text(QStringLiteral("Html1"), 5) << FieldDef::text(QStringLiteral("Testo"), 320)
      << FieldDef::text(QStringLiteral("Info1"), 8);
    addNumbered(f, QStringLiteral("Foto"), 30, [](const QString& n) { return FieldDef::text(n, 5); });
    addNumbered(f, QStringLiteral("TxtF"), 30, [](const QString& n) { return FieldDef::memo(n, 255); });
    addNumbered(f, QStringLiteral("Icona"), 13, [](const QString& n) { return FieldDef::text(n, 5); });
    addNumbered(f, QStringLiteral("Gruppo"), 3, [](const QString& n) { return FieldDef::text(n, 3); });
    f << FieldDef::integer(QStringLiteral("Tipo"));
    addNumbered(f, QStringLiteral("Quesito"), 70, [](const QString& n) { return FieldDef::text(n, 17); });
    return f;
}

bool isCurrentLessonSchema(const DataTable& table)
{
    return table.fieldIndex(QStringLiteral("Quesito41")) >= 0
        && table.fieldIndex(QStringLiteral("Quesito51")) >= 0;
}

TModoQuiz editionForTipo(int tipo)
{
    switch (tipo) {
    case 4: return TModoQuiz::mqAM;
    case 5: return TModoQuiz::mqCD;
    case 6: return TModoQuiz::mqCQ;
    default: return TModoQuiz::mqAB;
    }
}

TModoQuiz lessonEdition(const DataTable& table)
{
    if (table.fieldIndex(QStringLiteral("Tipo")) < 0)
        return TModoQuiz::mqAB;
    return editionForTipo(table.fieldInt(QStringLiteral("Tipo")));
}

bool isSafeComponent(const QString& name)
{
    if (!isPlainName(name))
        return false;
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')) || name.startsWith(QLatin1Char(' ')))
        return false;
    for (const QChar c : name) {
        if (QStringLiteral("<>:\"|?*").contains(c))
            return false;
    }
    // Windows opens a device, not a file, for these names whatever follows
    // the first dot.
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                        QStringLiteral("NUL")};
    if (devices.contains(stem))
        return false;
    if (stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
        && stem.at(3) >= QLatin1Char('0') && stem.at(3) <= QLatin1Char('9'))
        return false;
    return true;
}

bool isReservedName(const QString& name)
{
    const QString n = name.trimmed();
    return n.compare(kDraftLesson, Qt::CaseInsensitive) == 0
        || n.compare(kLessonTemplate, Qt::CaseInsensitive) == 0
        || n.compare(QStringLiteral("Foto"), Qt::CaseInsensitive) == 0;
}

bool isHiddenLessonFile(const QString& fileName)
{
    return fileName.compare(kLessonTemplate + kXml, Qt::CaseInsensitive) == 0
        || fileName.compare(kDraftLesson + kXml, Qt::CaseInsensitive) == 0;
}

QString lessonDisplayName(const QString& fileName)
{
    QString name = fileName.toLower();
    if (name.endsWith(kXml))
        name.chop(kXml.size());
    if (!name.isEmpty() && name.at(0) >= QLatin1Char('a') && name.at(0) <= QLatin1Char('z'))
        name[0] = name.at(0).toUpper();
    return name;
}

std::vector<LessonEntry> listLessons(const QString& folder)
{
    std::vector<LessonEntry> out;
    const QDir dir(folder);
    const QFileInfoList infos = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : infos) {
        const QString name = info.fileName();
        // The length rule counts the whole file name, so that short lesson
        // names stay listed.
        if (name.size() < 4 || !name.endsWith(kXml, Qt::CaseInsensitive) || isHiddenLessonFile(name))
            continue;
        if (!isSafeComponent(name.left(name.size() - kXml.size())))
            continue;
        out.push_back({lessonDisplayName(name), info.absoluteFilePath()});
    }
    std::sort(out.begin(), out.end(), [](const LessonEntry& a, const LessonEntry& b) {
        if (a.display != b.display)
            return a.display < b.display;
        return a.path < b.path;
    });
    return out;
}

NameProblem lessonNameProblem(const QString& name, const std::vector<LessonEntry>& existing)
{
    if (name.trimmed().isEmpty())
        return NameProblem::Empty;
    if (isReservedName(name))
        return NameProblem::Reserved;
    if (!isSafeComponent(name))
        return NameProblem::Unsafe;
    for (const LessonEntry& e : existing) {
        const QString base = QFileInfo(e.path).completeBaseName();
        if (e.display.compare(name, Qt::CaseInsensitive) == 0 || base.compare(name, Qt::CaseInsensitive) == 0)
            return NameProblem::Exists;
    }
    return NameProblem::None;
}

// ------------------------------------------------------------------ file ops

bool LessonFileOps::write(const QString& path, const QByteArray& data, QString* error)
{
    return saveFileAtomically(path, data, error);
}

bool LessonFileOps::read(const QString& path, QByteArray* data, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    *data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool LessonFileOps::rename(const QString& from, const QString& to, QString* error)
{
    if (QFileInfo::exists(to)) {
        if (error)
            *error = QStringLiteral("il file esiste già");
        return false;
    }
    QFile f(from);
    if (!f.rename(to)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool LessonFileOps::remove(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.remove()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

LessonFileOps& realLessonFileOps()
{
    static LessonFileOps ops;
    return ops;
}

// ------------------------------------------------------------------ template and copies

bool CreaCdsCustomVoid(const QString& userFolder, QString* error)
{
    const QString path = userFolder + kLessonTemplate + kXml;
    // A new installation may lack the user folder: it is where lessons live.
    if (!QDir().mkpath(userFolder)) {
        if (error)
            *error = QStringLiteral("impossibile creare ") + userFolder;
        return false;
    }
    DataTable table;
    if (!table.createFromFields(lessonFields(), error))
        return false;
    // The template is replaced whole: a failed write keeps yesterday's one,
    // which is just as good a template.
    if (!table.saveToFile(path, SaveFormat::Utf8, error))
        return false;
    return QFileInfo::exists(path);
}

bool CopiaTabella(const Folders& dirs, bool Mode, const QString& Infile, const QString& Outfile,
                  QString* error, LessonFileOps& ops)
{
    if (!isSafeComponent(Infile) || !isSafeComponent(Outfile)) {
        if (error)
            *error = QStringLiteral("nome non valido");
        return false;
    }
    const QString sourceFolder = Mode ? dirs.DirUtente : dirs.DirLezioni;
    const QString source = resolveFile(sourceFolder, Infile + kXml);
    QByteArray data;
    if (!ops.read(source, &data, error))
        return false;
    const QString target = dirs.DirLezioni + Outfile + kXml;
    fileResolver().invalidate(dirs.DirLezioni);
    return ops.write(target, data, error);
}

// ------------------------------------------------------------------ upgrade

bool upgradeLessonTable(DataTable& old, DataTable& upgraded, QString* error)
{
    if (!upgraded.createFromFields(lessonFields(), error))
        return false;
    const QList<FieldDef> oldFields = old.fields();
    // File order: the upgrade keeps the steps in the order they were written.
    const QString order = old.indexFieldNames();
    old.setIndexFieldNames(QString());
    old.cancelRange();
    bool ok = true;
    for (old.first(); ok && !old.eof(); old.next()) {
        upgraded.append();
        for (int i = 0; i < oldFields.size(); ++i) {
            const QString& name = oldFields.at(i).name;
            if (upgraded.fieldIndex(name) < 0)
                continue;
            QString value = old.fieldText(i);
            if (name.startsWith(QLatin1String("Quesito"), Qt::CaseInsensitive)) {
                // A blank reference stays empty: sixteen blanks would count
                // as a statement to the quiz and to the editor.
                if (value.trimmed().isEmpty())
                    value.clear();
                else
                    value = (QString(16, QLatin1Char(' ')) + value).right(16);
            }
            if (value.isEmpty())
                continue;
            QString why;
            if (!upgraded.setField(name, value, &why)) {
                if (error)
                    *error = name + QStringLiteral(": ") + why;
                ok = false;
                break;
            }
        }
        if (ok && !upgraded.post(error))
            ok = false;
    }
    if (!ok)
        upgraded.cancel();
    old.setIndexFieldNames(order);
    return ok;
}

QString freeBackupPath(const QString& lessonPath)
{
    const QFileInfo info(lessonPath);
    const QString base = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".old");
    const QDir dir(info.absolutePath());
    const QStringList taken = dir.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    const auto isTaken = [&taken](const QString& path) {
        const QString name = QFileInfo(path).fileName();
        return std::any_of(taken.begin(), taken.end(),
                           [&name](const QString& t) { return t.compare(name, Qt::CaseInsensitive) == 0; });
    };
    if (!isTaken(base))
        return base;
    for (int n = 1;; ++n) {
        const QString candidate = base + QLatin1Char('.') + QString::number(n);
        if (!isTaken(candidate))
            return candidate;
    }
}

UpgradeOutcome upgradeLessonFile(const QString& path, Reports& reports, LessonFileOps& ops)
{
    UpgradeOutcome out;
    QByteArray original;
    QString error;
    DataTable old;
    if (!ops.read(path, &original, &error) || !old.loadFromData(original, path, &error)) {
        reports.Emsg(ReportKind::FileIo, QStringLiteral("Lezioni personalizzate"), path);
        return out;
    }
    if (isCurrentLessonSchema(old)) {
        out.result = UpgradeOutcome::Result::AlreadyCurrent;
        return out;
    }
    if (!reports.Conferma(QStringLiteral("Lezioni personalizzate"),
                          QStringLiteral("File incompatibile. Eseguire l'aggiornarnamento?"))) {
        out.result = UpgradeOutcome::Result::Declined;
        return out;
    }
    DataTable upgraded;
    if (!upgradeLessonTable(old, upgraded, &error)) {
        reports.Emsg(ReportKind::FileIo, QStringLiteral("Aggiornamento lezione: ") + error, path);
        return out;
    }
    const QByteArray converted = upgraded.toXml(SaveFormat::Ascii);
    // The old bytes are on disk under a name of their own before the lesson
    // is replaced; either write failing leaves the lesson as it was.
    const QString backup = freeBackupPath(path);
    if (!ops.write(backup, original, &error) || !ops.write(path, converted, &error)) {
        reports.Emsg(ReportKind::FileIo, QStringLiteral("Aggiornamento lezione: ") + error, path);
        return out;
    }
    out.result = UpgradeOutcome::Result::Upgraded;
    out.backupPath = backup;
    return out;
}

// ------------------------------------------------------------------ the folder's actions

QString LessonFolder::draftPath() const
{
    return pathFor(kDraftLesson);
}

QString LessonFolder::pathFor(const QString& name) const
{
    return m_dirs.DirLezioni + name + kXml;
}

QString LessonFolder::newDraft()
{
    QString error;
    if (!CopiaTabella(m_dirs, true, kLessonTemplate, kDraftLesson, &error, m_ops)) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Problemi di copia db"), kDraftLesson);
    }
    if (!QFileInfo::exists(draftPath())) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("La lezione non esiste"),
                       m_dirs.DirLezioni + kDraftLesson);
        return {};
    }
    return draftPath();
}

QString LessonFolder::copyToDraft(const LessonEntry& source)
{
    QByteArray data;
    QString error;
    DataTable table;
    if (!m_ops.read(source.path, &data, &error) || !table.loadFromData(data, source.path, &error)) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Problemi di copia db"), kDraftLesson);
        return {};
    }
    // The copy is what the editor opens, so it is the copy that must have
    // the full statement range; the source keeps its own schema, and the
    // draft is written once, already upgraded.
    if (!isCurrentLessonSchema(table)) {
        if (!m_reports.Conferma(QStringLiteral("Lezioni personalizzate"),
                                QStringLiteral("File incompatibile. Eseguire l'aggiornarnamento?")))
            return {};
        DataTable upgraded;
        if (!upgradeLessonTable(table, upgraded, &error)) {
            m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Aggiornamento lezione: ") + error, source.path);
            return {};
        }
        data = upgraded.toXml(SaveFormat::Ascii);
    }
    if (!m_ops.write(draftPath(), data, &error)) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Problemi di copia db"), kDraftLesson);
        return {};
    }
    return draftPath();
}

QString LessonFolder::rename(const LessonEntry& lesson, const QString& newName)
{
    const std::vector<LessonEntry> entries = list();
    if (lessonNameProblem(newName, entries) != NameProblem::None || !QFileInfo::exists(lesson.path))
        return {};
    const QString target = pathFor(newName);
    QString error;
    if (!m_ops.rename(lesson.path, target, &error)) {
        m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Rinomina lezione: ") + error, target);
        return {};
    }
    fileResolver().invalidate(m_dirs.DirLezioni);
    return target;
}

bool LessonFolder::remove(const LessonEntry& lesson)
{
    if (!QFileInfo::exists(lesson.path))
        return false;
    QString error;
    if (!m_ops.remove(lesson.path, &error)) {
        m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Cancella lezione: ") + error, lesson.path);
        return false;
    }
    fileResolver().invalidate(m_dirs.DirLezioni);
    return true;
}

}  // namespace ziro
