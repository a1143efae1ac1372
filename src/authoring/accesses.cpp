#include "authoring/accesses.h"

#include "base/reports.h"
#include "config/ini_file.h"
#include "platform/files/atomic_save.h"
#include "platform/files/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

namespace ziro {

namespace {

// Written before a teacher's folder is moved and removed once it has been:
// a rename cut short is finished at the next load.
const QString kRenameJournal = QStringLiteral("MTidPrec");

QString fileNameOf(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.section(QLatin1Char('/'), -1);
}

QString parentNameOf(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.section(QLatin1Char('/'), -2, -2);
}

// Turns auto-save off for a bulk write and back to what it was after.
class BulkWrite {
public:
    explicit BulkWrite(IniFile& ini) : m_ini(ini), m_was(ini.autoSave()) { ini.setAutoSave(false); }
    ~BulkWrite() { m_ini.setAutoSave(m_was); }
    BulkWrite(const BulkWrite&) = delete;
    BulkWrite& operator=(const BulkWrite&) = delete;

private:
    IniFile& m_ini;
    bool m_was;
};

}  // namespace

QString accessSection(int slot)
{
    return QStringLiteral("Accesso") + QString::number(slot);
}

SingleAccessType readAccessSlot(const IniFile& ini, int slot)
{
    const QString s = accessSection(slot);
    SingleAccessType a;
    TMdTemp& m = a.mark;
    a.id = ini.readString(s, QStringLiteral("id"));
    m.RecNum = ini.readInteger(s, QStringLiteral("MTrec"), 0);
    const QString snap = ini.readString(s, QStringLiteral("MTsnp"));
    m.Snap = snap.isEmpty() ? QChar() : snap.at(0);
    m.Segnale = ini.readBool(s, QStringLiteral("MTSeg"), false);
    m.Domanda = ini.readBool(s, QStringLiteral("MTdom"), false);
    m.Foto = ini.readInteger(s, QStringLiteral("MTfot"), 0);
    m.OnlyFoto = ini.readBool(s, QStringLiteral("MTsft"), false);
    m.NumDomanda = ini.readInteger(s, QStringLiteral("MTnum"), 0);
    m.NumAffermazione = ini.readInteger(s, QStringLiteral("MTaff"), 0);
    m.Argomento = ini.readString(s, QStringLiteral("MTarg"));
    m.Custom = ini.readBool(s, QStringLiteral("MTcst"), false);
    m.L_AM = ini.readBool(s, QStringLiteral("MTlci"), false);
    m.L_AB = ini.readBool(s, QStringLiteral("MTlnq"), false);
    m.L_CD = ini.readBool(s, QStringLiteral("MTlsp"), false);
    m.L_CQ = ini.readBool(s, QStringLiteral("MTlcq"), false);
    m.LezPers = ini.readString(s, QStringLiteral("MTncs"));
    m.Status = false;
    return a;
}

void putMark(IniFile& ini, int slot, const TMdTemp& m)
{
    const QString s = accessSection(slot);
    ini.writeInteger(s, QStringLiteral("MTrec"), m.RecNum);
    ini.writeString(s, QStringLiteral("MTsnp"), m.Snap.isNull() ? QString() : QString(m.Snap));
    ini.writeBool(s, QStringLiteral("MTSeg"), m.Segnale);
    ini.writeBool(s, QStringLiteral("MTdom"), m.Domanda);
    ini.writeInteger(s, QStringLiteral("MTfot"), m.Foto);
    ini.writeBool(s, QStringLiteral("MTsft"), m.OnlyFoto);
    ini.writeInteger(s, QStringLiteral("MTnum"), m.NumDomanda);
    ini.writeInteger(s, QStringLiteral("MTaff"), m.NumAffermazione);
    ini.writeString(s, QStringLiteral("MTarg"), m.Argomento);
    ini.writeBool(s, QStringLiteral("MTcst"), m.Custom);
    ini.writeBool(s, QStringLiteral("MTlci"), m.L_AM);
    ini.writeBool(s, QStringLiteral("MTlnq"), m.L_AB);
    ini.writeBool(s, QStringLiteral("MTlsp"), m.L_CD);
    ini.writeBool(s, QStringLiteral("MTlcq"), m.L_CQ);
    ini.writeString(s, QStringLiteral("MTncs"), m.Custom ? m.LezPers : QString());
}

void putAccessSlot(IniFile& ini, int slot, const SingleAccessType& access)
{
    ini.writeString(accessSection(slot), QStringLiteral("id"), access.id);
    putMark(ini, slot, access.mark);
}

bool saveMarkToSlot(IniFile& ini, int slot, const TMdTemp& mark, QString* error)
{
    if (slot < 0 || slot >= kAccessSlots) {
        if (error)
            *error = QStringLiteral("accesso fuori lista");
        return false;
    }
    BulkWrite bulk(ini);
    putMark(ini, slot, mark);
    if (!ini.save()) {
        if (error)
            *error = ini.lastError();
        return false;
    }
    return true;
}

QString resolveMarkLesson(const QString& stored, const QString& userFolder)
{
    if (stored.isEmpty())
        return {};
    if (!stored.contains(QLatin1Char('\\')) && QFileInfo(stored).isFile())
        return stored;
    QString path = stored;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString userName = QDir(userFolder).dirName();
    int from = -1;
    for (int i = parts.size() - 2; i >= 0; --i) {
        if (parts.at(i).compare(userName, Qt::CaseInsensitive) == 0
            || parts.at(i).compare(QStringLiteral("Utente"), Qt::CaseInsensitive) == 0) {
            from = i + 1;
            break;
        }
    }
    if (from < 0)
        return {};
    QString folder = withSeparator(userFolder);
    QString result;
    for (int i = from; i < parts.size(); ++i) {
        if (!isSafeComponent(parts.at(i)))
            return {};
        result = resolveFile(folder, parts.at(i));
        folder = result + QLatin1Char('/');
    }
    return QFileInfo(result).isFile() ? result : QString();
}

std::optional<TMdTemp> markToLoad(const SingleAccessType& slot, const QString& userFolder)
{
    TMdTemp m = slot.mark;
    if (m.RecNum == 0)
        return std::nullopt;
    if (m.Custom) {
        const QString lesson = resolveMarkLesson(m.LezPers, userFolder);
        if (lesson.isEmpty())
            return std::nullopt;
        m.LezPers = lesson;
    }
    m.Status = true;
    return m;
}

// ---------------------------------------------------------------- applying

TModoQuiz markEdition(const TMdTemp& m)
{
    if (m.L_AM)
        return TModoQuiz::mqAM;
    if (m.L_AB)
        return TModoQuiz::mqAB;
    if (m.L_CD)
        return TModoQuiz::mqCD;
    if (m.L_CQ)
        return TModoQuiz::mqCQ;
    // An edition no longer offered, or none: A-B rather than no edition.
    return TModoQuiz::mqAB;
}

ApplyPlan planApply(const TMdTemp& m, const MarkFacts& f)
{
    using View = ApplyPlan::View;
    ApplyPlan p;
    if (m.RecNum == 0)
        return p;
    p.custom = m.Custom;
    p.lessonPath = m.Custom ? m.LezPers : QString();
    p.edition = markEdition(m);
    p.topic = m.Argomento;
    p.recNum = m.RecNum;
    p.onlyFoto = m.OnlyFoto;
    if ((m.Custom && (!f.lessonExists || m.LezPers.isEmpty())) || !f.recordFound) {
        p.action = ApplyPlan::Action::Menu;
        return p;
    }
    p.action = ApplyPlan::Action::Show;
    p.photo = f.photoCount > 0 ? std::clamp(m.Foto, 1, f.photoCount) : 0;
    // An unknown count (0) leaves the bound to the quiz, which clamps to the
    // block it loads.
    p.statement = f.statementCount > 0 ? std::clamp(m.NumAffermazione, 1, f.statementCount)
                                       : std::max(1, m.NumAffermazione);
    p.question = m.Custom ? 0 : std::clamp(m.NumDomanda, 0, std::max(0, f.questionCount));

    const bool canPhoto = f.photoCount > 0 || f.hasHtml;
    const bool canQuiz = f.questionShown;
    if (!f.signShown && !f.questionShown && (f.hasPhotos || f.hasHtml)) {
        p.view = View::Photo;
    } else if (m.Snap == QLatin1Char('S') && f.signShown) {
        p.view = View::Sign;
    } else if (m.Snap == QLatin1Char('Q') && canQuiz) {
        p.view = View::Quiz;
    } else if (m.Snap == QLatin1Char('F')) {
        if (m.Domanda && canQuiz)
            p.view = View::PhotoOverQuiz;
        else if (m.Segnale && f.signShown)
            p.view = View::PhotoOverSign;
        else
            p.view = View::Photo;
    } else {
        p.view = View::Record;
    }
    // A photograph that is no longer there leaves what lies under it.
    if (!canPhoto) {
        if (p.view == View::Photo)
            p.view = View::Record;
        else if (p.view == View::PhotoOverQuiz)
            p.view = View::Quiz;
        else if (p.view == View::PhotoOverSign)
            p.view = View::Sign;
    }
    if (p.view == View::Photo && p.photo == 0)
        p.photo = 1;
    return p;
}

// ---------------------------------------------------------------- the list

namespace {

// A slot as a free one is written: no name, no mark, no edition.
SingleAccessType emptySlot(const QString& id)
{
    SingleAccessType a;
    a.id = id;
    a.mark = TMdTemp{};
    a.mark.Snap = QChar();
    a.mark.L_AB = false;
    return a;
}

}  // namespace

AccessList::AccessList(Globals& g, Reports& reports) : m_g(g), m_reports(reports) {}

IniFile& AccessList::ini() const
{
    return *m_g.IniFilePtr;
}

void AccessList::readAll()
{
    for (int i = 0; i < kAccessSlots; ++i)
        m_slots[std::size_t(i)] = readAccessSlot(ini(), i);
}

bool AccessList::isTeacherName(const QString& id) const
{
    return !id.isEmpty() && isSafeComponent(id) && !isReservedName(id)
        && id.compare(kGenericAccess, Qt::CaseInsensitive) != 0 && !id.contains(QLatin1Char('[')) && !id.contains(QLatin1Char('='));
}

bool AccessList::load()
{
    if (!m_g.IniFilePtr)
        return false;
    const QString currentId = m_g.AccessoCorrente > 0 && m_g.AccessoCorrente < kAccessSlots
        ? m_slots[std::size_t(m_g.AccessoCorrente)].id
        : QString();
    readAll();

    // A rename cut short: its journal names the folder to move from.
    bool journalCleared = false;
    {
        BulkWrite bulk(ini());
        for (int s = 1; s < kAccessSlots; ++s) {
            const QString section = accessSection(s);
            if (!ini().valueExists(section, kRenameJournal))
                continue;
            const QString prev = ini().readString(section, kRenameJournal);
            const QString id = m_slots[std::size_t(s)].id;
            if (isTeacherName(prev) && isTeacherName(id)) {
                QString error;
                const QString from = m_g.dirs.DirUtente + prev;
                if (QFileInfo(from).isDir() && !moveFolder(from, m_g.dirs.DirUtente + id, &error)) {
                    m_reports.Emsg(ReportKind::FolderIo, QStringLiteral("Rinomina accesso"), from);
                    continue;
                }
            }
            ini().deleteKey(section, kRenameJournal);
            journalCleared = true;
        }
        if (journalCleared && !ini().save())
            m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Accessi"), ini().path());
    }

    std::vector<int> valid;
    QStringList seen;
    for (int s = 1; s < kAccessSlots; ++s) {
        const QString& id = m_slots[std::size_t(s)].id;
        if (id.isEmpty())
            continue;
        const bool duplicate = std::any_of(seen.begin(), seen.end(), [&id](const QString& n) {
            return n.compare(id, Qt::CaseInsensitive) == 0;
        });
        if (!isTeacherName(id) || duplicate) {
            m_reports.Emsg(ReportKind::FolderIo, QStringLiteral("Accesso non valido"), id);
            continue;
        }
        seen << id;
        valid.push_back(s);
    }
    // Close the gaps: the teachers take slots 1..n in their order.
    bool compact = true;
    for (std::size_t i = 0; i < valid.size(); ++i)
        compact = compact && valid[i] == int(i) + 1;
    for (int s = int(valid.size()) + 1; s < kAccessSlots; ++s)
        compact = compact && m_slots[std::size_t(s)].id.isEmpty();
    if (!compact) {
        std::array<SingleAccessType, kAccessSlots> packed;
        packed[0] = m_slots[0];
        for (std::size_t i = 0; i < valid.size(); ++i)
            packed[i + 1] = m_slots[std::size_t(valid[i])];
        for (int s = int(valid.size()) + 1; s < kAccessSlots; ++s)
            packed[std::size_t(s)] = emptySlot(QString());
        std::vector<std::pair<int, SingleAccessType>> writes;
        for (int s = 1; s < kAccessSlots; ++s)
            writes.emplace_back(s, packed[std::size_t(s)]);
        if (!saveSlots(writes, QStringLiteral("Accessi")))
            return false;
        m_slots = packed;
    }
    m_rows.clear();
    for (std::size_t i = 0; i < valid.size(); ++i)
        m_rows.push_back(int(i) + 1);

    int current = 0;
    if (!currentId.isEmpty()) {
        for (int s : m_rows) {
            if (m_slots[std::size_t(s)].id == currentId)
                current = s;
        }
    } else if (m_g.AccessoCorrente > 0 && rowOfSlot(m_g.AccessoCorrente) >= 0) {
        current = m_g.AccessoCorrente;
    }
    setCurrent(current);
    return true;
}

QStringList AccessList::names() const
{
    QStringList out;
    for (int s : m_rows)
        out << m_slots[std::size_t(s)].id;
    return out;
}

int AccessList::slotOfRow(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[std::size_t(row)] : -1;
}

int AccessList::rowOfSlot(int slot) const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), slot);
    return it == m_rows.end() ? -1 : int(it - m_rows.begin());
}

NameProblem AccessList::teacherNameProblem(const QString& name, int exceptRow) const
{
    if (name.trimmed().isEmpty())
        return NameProblem::Empty;
    if (isReservedName(name) || name.trimmed().compare(kGenericAccess, Qt::CaseInsensitive) == 0)
        return NameProblem::Reserved;
    if (!isTeacherName(name))
        return NameProblem::Unsafe;
    const QStringList listed = names();
    for (int r = 0; r < listed.size(); ++r) {
        if (r != exceptRow && listed.at(r).compare(name, Qt::CaseInsensitive) == 0)
            return NameProblem::Exists;
    }
    // A folder of that name that belongs to no teacher (photographs, a
    // folder someone made by hand) is not handed over.
    const QStringList folders = QDir(m_g.dirs.DirUtente).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& f : folders) {
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return NameProblem::Exists;
    }
    return NameProblem::None;
}

std::optional<QString> AccessList::teacherFolder(int slot) const
{
    if (slot < 1 || slot >= kAccessSlots)
        return std::nullopt;
    const QString& id = m_slots[std::size_t(slot)].id;
    if (!isTeacherName(id))
        return std::nullopt;
    const QString user = QDir(m_g.dirs.DirUtente).absolutePath();
    const QString folder = QDir(user).absoluteFilePath(id);
    if (QFileInfo(folder).absolutePath() != user)
        return std::nullopt;
    const QString photos = QDir(m_g.dirs.DirFotoUtente).absolutePath();
    if (!m_g.dirs.DirFotoUtente.isEmpty() && QDir(folder).absolutePath() == photos)
        return std::nullopt;
    return folder + QLatin1Char('/');
}

QString AccessList::lessonFolderOf(int slot) const
{
    const auto folder = teacherFolder(slot);
    return folder ? *folder : m_g.dirs.DirUtente;
}

void AccessList::setCurrent(int slot)
{
    if (!teacherFolder(slot))
        slot = 0;
    m_g.AccessoCorrente = slot;
    m_g.dirs.DirLezioni = lessonFolderOf(slot);
}

void AccessList::choose(int row)
{
    const int slot = slotOfRow(row);
    setCurrent(slot > 0 ? slot : 0);
    const QString name = m_g.AccessoCorrente > 0 ? m_slots[std::size_t(m_g.AccessoCorrente)].id : kGenericAccess;
    m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Selezione accesso"),
                   QStringLiteral("[Accesso") + QString::number(m_g.AccessoCorrente) + QStringLiteral("]   -   id = ")
                       + name);
}

QString AccessList::infoAccess() const
{
    const int n = m_g.AccessoCorrente;
    const QString id = n > 0 && n < kAccessSlots ? m_slots[std::size_t(n)].id : QString();
    return QStringLiteral(" ") + QString::number(id.isEmpty() ? 0 : n) + QStringLiteral(" - ")
        + (id.isEmpty() ? kGenericAccess : id);
}

bool AccessList::saveSlots(const std::vector<std::pair<int, SingleAccessType>>& writes, const QString& context)
{
    IniFile& file = ini();
    std::vector<std::pair<int, SingleAccessType>> old;
    for (const auto& w : writes)
        old.emplace_back(w.first, readAccessSlot(file, w.first));
    BulkWrite bulk(file);
    for (const auto& [slot, access] : writes)
        putAccessSlot(file, slot, access);
    if (file.save())
        return true;
    // Put the document back as the disk has it, so that a later save does
    // not write half of this one.
    for (const auto& [slot, access] : old)
        putAccessSlot(file, slot, access);
    m_reports.Emsg(ReportKind::FileIo, context, file.path());
    return false;
}

bool AccessList::insert(const QString& name)
{
    if (!canInsert() || teacherNameProblem(name) != NameProblem::None)
        return false;
    const int slot = teacherCount() + 1;
    const QString folder = m_g.dirs.DirUtente + name + QLatin1Char('/');
    if (!QDir().mkpath(folder)) {
        m_reports.Emsg(ReportKind::FolderIo, QStringLiteral("Crea dir nuovo accesso"), folder);
        return false;
    }
    m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Salvataggio nuovo accesso"),
                   QStringLiteral("Struttura inserita in [Accesso ") + QString::number(slot) + QStringLiteral("]  -  id = ")
                       + name);
    if (!saveSlots({{slot, emptySlot(name)}}, QStringLiteral("Salvataggio nuovo accesso")))
        return false;
    // The template goes straight into the new folder: the current teacher's
    // lesson folder stays theirs.
    Folders dirs = m_g.dirs;
    dirs.DirLezioni = folder;
    QString error;
    if (!CopiaTabella(dirs, true, kLessonTemplate, kLessonTemplate, &error))
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Problemi di copia db"), kLessonTemplate);
    const int current = m_g.AccessoCorrente;
    readAll();
    m_rows.push_back(slot);
    setCurrent(current);
    return true;
}

bool AccessList::moveFolder(const QString& from, const QString& to, QString* error)
{
    if (!QFileInfo(from).isDir())
        return QDir().mkpath(to);
    if (!QFileInfo::exists(to) && QDir().rename(from, to))
        return true;
    // Another file system, or a move cut short: copy what is missing, check
    // it, and only then let go of the original.
    if (!QDir().mkpath(to)) {
        if (error)
            *error = QStringLiteral("impossibile creare ") + to;
        return false;
    }
    const QDir src(from);
    const QFileInfoList files = src.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& f : files) {
        const QString target = to + QLatin1Char('/') + f.fileName();
        if (!QFileInfo::exists(target)) {
            QFile in(f.absoluteFilePath());
            if (!in.open(QIODevice::ReadOnly) || !saveFileAtomically(target, in.readAll(), error))
                return false;
        }
        if (QFileInfo(target).size() != f.size()) {
            if (error)
                *error = QStringLiteral("copia incompleta di ") + f.fileName();
            return false;
        }
        QFile::remove(f.absoluteFilePath());
    }
    if (!QDir().rmdir(from)) {
        if (error)
            *error = QStringLiteral("impossibile rimuovere ") + from;
        return false;
    }
    return true;
}

bool AccessList::rename(int row, const QString& name)
{
    const int slot = slotOfRow(row);
    if (slot < 1 || teacherNameProblem(name, row) != NameProblem::None)
        return false;
    const auto oldFolder = teacherFolder(slot);
    if (!oldFolder)
        return false;
    const QString oldId = m_slots[std::size_t(slot)].id;
    if (oldId == name)
        return false;
    const QString newFolder = m_g.dirs.DirUtente + name + QLatin1Char('/');
    m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Rinomina accesso"),
                   QStringLiteral("Sostituzione in [Accesso ") + QString::number(slot) + QStringLiteral("]: (") + oldId
                       + QStringLiteral(") in: ") + name);

    SingleAccessType renamed = m_slots[std::size_t(slot)];
    renamed.id = name;
    // The mark follows the lessons into the new folder.
    if (!renamed.mark.LezPers.isEmpty() && parentNameOf(renamed.mark.LezPers).compare(oldId, Qt::CaseInsensitive) == 0)
        renamed.mark.LezPers = newFolder + fileNameOf(renamed.mark.LezPers);

    // The journal and the new name go to disk together: whatever stops the
    // move, the next load finds the teacher and finishes it.
    IniFile& file = ini();
    {
        BulkWrite bulk(file);
        putAccessSlot(file, slot, renamed);
        file.writeString(accessSection(slot), kRenameJournal, oldId);
        if (!file.save()) {
            putAccessSlot(file, slot, m_slots[std::size_t(slot)]);
            file.deleteKey(accessSection(slot), kRenameJournal);
            m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Rinomina accesso"), file.path());
            return false;
        }
    }
    QString error;
    QString from = *oldFolder;
    from.chop(1);
    QString to = newFolder;
    to.chop(1);
    if (!moveFolder(from, to, &error)) {
        // Back to the old name where the lessons still are.
        BulkWrite bulk(file);
        putAccessSlot(file, slot, m_slots[std::size_t(slot)]);
        file.deleteKey(accessSection(slot), kRenameJournal);
        file.save();
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Problemi su spostamento (Rinomina accesso)"), error);
        return false;
    }
    {
        BulkWrite bulk(file);
        file.deleteKey(accessSection(slot), kRenameJournal);
        file.save();
    }
    m_slots[std::size_t(slot)] = renamed;
    fileResolver().invalidate(m_g.dirs.DirUtente);
    if (m_g.AccessoCorrente == slot)
        setCurrent(slot);
    return true;
}

bool AccessList::remove(int row)
{
    const int slot = slotOfRow(row);
    if (slot < 1)
        return false;
    const auto folder = teacherFolder(slot);
    if (!folder)
        return false;
    const QString id = m_slots[std::size_t(slot)].id;
    m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Eliminazione accesso"),
                   QStringLiteral("Struttura rimossa da [Accesso ") + QString::number(slot) + QStringLiteral("] - id = ")
                       + id);
    const QDir dir(*folder);
    if (dir.exists()) {
        const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QFileInfo& f : files) {
            if (!QFile::remove(f.absoluteFilePath()))
                m_reports.Emsg(ReportKind::Message, QStringLiteral("impossibile cancellare (cancella accesso)"),
                               QStringLiteral("File: ") + f.absoluteFilePath());
        }
        if (!QDir().rmdir(*folder))
            m_reports.Emsg(ReportKind::FolderIo, QStringLiteral("Cancella dir. accesso"), *folder);
    }
    // Later teachers move down one slot with their marks; the slot the last
    // one leaves is emptied.
    const int count = teacherCount();
    std::vector<std::pair<int, SingleAccessType>> writes;
    for (int s = slot; s < count; ++s)
        writes.emplace_back(s, m_slots[std::size_t(s + 1)]);
    writes.emplace_back(count, emptySlot(QString()));
    if (!saveSlots(writes, QStringLiteral("Eliminazione accesso")))
        return false;
    int current = m_g.AccessoCorrente;
    if (current == slot)
        current = 0;
    else if (current > slot)
        --current;
    readAll();
    m_rows.pop_back();
    setCurrent(current);
    return true;
}

int AccessList::rebuild()
{
    const QString currentId = m_g.AccessoCorrente > 0 ? m_slots[std::size_t(m_g.AccessoCorrente)].id : QString();
    QStringList folders = QDir(m_g.dirs.DirUtente).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    const QString photos = QDir(m_g.dirs.DirFotoUtente).absolutePath();
    folders.erase(std::remove_if(folders.begin(), folders.end(),
                                 [&](const QString& f) {
                                     return !isTeacherName(f)
                                         || QDir(m_g.dirs.DirUtente + f).absolutePath() == photos;
                                 }),
                  folders.end());
    if (folders.size() > kRebuildTeachers)
        folders = folders.mid(0, kRebuildTeachers);
    std::vector<std::pair<int, SingleAccessType>> writes;
    for (int s = 1; s < kAccessSlots; ++s)
        writes.emplace_back(s, emptySlot(s - 1 < folders.size() ? folders.at(s - 1) : QString()));
    if (!saveSlots(writes, QStringLiteral("Ripristino lista insegnanti")))
        return -1;
    readAll();
    m_rows.clear();
    int current = 0;
    for (int i = 0; i < folders.size(); ++i) {
        m_rows.push_back(i + 1);
        if (!currentId.isEmpty() && folders.at(i) == currentId)
            current = i + 1;
    }
    setCurrent(current);
    m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Ripristino lista insegnanti"),
                   QString::number(folders.size()) + QStringLiteral("  accessi ricostruiti"));
    return int(folders.size());
}

}  // namespace ziro
