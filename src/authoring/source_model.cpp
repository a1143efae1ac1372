#include "authoring/source_model.h"

#include "base/reports.h"
#include "content/content_table.h"
#include "content/edition.h"
#include "content/photo_files.h"
#include "platform/files/paths.h"
#include "platform/files/text_codec.h"
#include "quiz/quiz_order.h"
#include "quiz/quiz_rules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace ziro {

namespace {

const QString kNewPhotosFile = QStringLiteral("FOTO NUOVE.TXT");
const QString kExtraSignsFile = QStringLiteral("SEGN EXTRA.TXT");
const QString kPhotoItem = QStringLiteral("SELEZIONE FOTO");

// The fields a drop may copy from a source record.
QStringList copiedFields()
{
    static const QStringList names = [] {
        QStringList n{QStringLiteral("Nome segnale"), QStringLiteral("Domanda")};
        for (int i = 1; i <= 13; ++i)
            n << QStringLiteral("Icona%1").arg(i);
        for (int i = 1; i <= 15; ++i)
            n << QStringLiteral("Foto%1").arg(i) << QStringLiteral("TxtF%1").arg(i);
        n << QStringLiteral("Audio") << QStringLiteral("Video") << QStringLiteral("EDL") << QStringLiteral("Libro")
          << QStringLiteral("FreX") << QStringLiteral("FreY") << QStringLiteral("Spare") << QStringLiteral("Testo")
          << QStringLiteral("Html1");
        return n;
    }();
    return names;
}

bool allDigits(const QString& s)
{
    return !s.isEmpty() && std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A digit string's value when it is below `limit` (leading zeros allowed).
std::optional<int> smallNumber(const QString& s, int limit)
{
    if (!allDigits(s))
        return std::nullopt;
    qsizetype first = 0;
    while (first < s.size() - 1 && s[first] == u'0')
        ++first;
    if (s.size() - first > 9)
        return std::nullopt;
    const int v = s.mid(first).toInt();
    if (v >= limit)
        return std::nullopt;
    return v;
}

// The trimmed, non-empty lines of a picture list; nullopt when it cannot be read.
std::optional<QStringList> readList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringList lines;
    const QString text = decodeText(bytes);
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        line = line.trimmed();
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

bool hasExtension(const QString& name, const QString& ext)
{
    return name.size() > ext.size() && name.endsWith(ext, Qt::CaseInsensitive);
}

QString editionContext(SourceType type)
{
    switch (type) {
    case SourceType::QuizAM: return QStringLiteral("Quiz AM");
    case SourceType::QuizCDE: return QStringLiteral("Quiz CDE");
    case SourceType::QuizCQC: return QStringLiteral("Quiz CQC");
    default: return QStringLiteral("Quiz AB");
    }
}

TModoQuiz editionOf(SourceType type)
{
    switch (type) {
    case SourceType::QuizAM: return TModoQuiz::mqAM;
    case SourceType::QuizCDE: return TModoQuiz::mqCD;
    case SourceType::QuizCQC: return TModoQuiz::mqCQ;
    default: return TModoQuiz::mqAB;
    }
}

SourceType typeOf(TModoQuiz edition)
{
    switch (edition) {
    case TModoQuiz::mqAM: return SourceType::QuizAM;
    case TModoQuiz::mqCD: return SourceType::QuizCDE;
    case TModoQuiz::mqCQ: return SourceType::QuizCQC;
    default: return SourceType::QuizAB;
    }
}

}  // namespace

QStringList sourceTypeCaptions()
{
    return {QStringLiteral("Quiz A e B"),    QStringLiteral("Nuove foto"), QStringLiteral("Foto utente"),
            QStringLiteral("Segnali extra"), QStringLiteral("Quiz AM"),    QStringLiteral("Quiz CDE"),
            QStringLiteral("Quiz CQC")};
}

bool isPhotoSource(SourceType type)
{
    return type == SourceType::NuoveFoto || type == SourceType::FotoUtente || type == SourceType::SegnaliExtra;
}

bool topicAccepts(const QString& filter, const QString& argomento)
{
    if (filter.isEmpty())
        return true;
    if (filter.size() > 1)
        return argomento == filter;
    return !argomento.isEmpty() && argomento.compare(filter + QStringLiteral("00")) >= 0 &&
           argomento.compare(filter + QStringLiteral("99")) <= 0;
}

QString blockOfDomanda(const QString& domanda, TModoQuiz edition)
{
    return domanda.trimmed().right(edition == TModoQuiz::mqCD ? 7 : 5);
}

std::optional<QString> statementCode(const QString& block, bool truth, const QString& id, const QString& figura)
{
    const QString b = block.trimmed();
    const auto number = smallNumber(id.trimmed(), 10000);
    const QString f = figura.trimmed();
    const auto picture = f.isEmpty() ? std::optional<int>(0) : smallNumber(f, 1000);
    if (b.isEmpty() || b.size() > 7 || !number || !picture)
        return std::nullopt;
    return b.rightJustified(7, u' ') + (truth ? u'V' : u'F') + QString::number(*number).rightJustified(4, u'0') +
           u'S' + QString::number(*picture).rightJustified(3, u'0');
}

std::vector<SourceStatement> loadBlockStatements(const QuestionBank& bank, const QString& block, Reports& reports)
{
    std::vector<SourceStatement> out;
    if (!bank.isOpen() || block.trimmed().isEmpty())
        return out;
    const BankBlock b = bank.block(block);
    int dropped = 0;
    for (int rec = b.first; rec < b.first + b.count; ++rec) {
        QuizStatement s;
        if (!bank.readStatement(rec, &s)) {
            reports.Emsg(ReportKind::LogOnly, QStringLiteral("Blocco ") + block,
                         QStringLiteral("Affermazione illeggibile (record %1)").arg(rec));
            continue;
        }
        const auto code = statementCode(block, s.Responso == 1, s.NumRec, s.IntegratoAffermazione);
        if (!code) {
            reports.Emsg(ReportKind::LogOnly, QStringLiteral("Blocco ") + block,
                         QStringLiteral("Affermazione con id %1 e figura %2 non codificabile")
                             .arg(s.NumRec, s.IntegratoAffermazione));
            continue;
        }
        if (int(out.size()) == kMaxStatements) {
            ++dropped;
            continue;
        }
        out.push_back({*code + s.Aff[0], s.Responso == 1, s.IntegratoAffermazione.trimmed(), s.ARRnum, s.PercErr});
    }
    if (dropped > 0)
        reports.Emsg(ReportKind::LogOnly, QStringLiteral("Blocco ") + block,
                     QStringLiteral("%1 affermazioni oltre le %2 ignorate").arg(dropped).arg(kMaxStatements));
    return out;
}

std::optional<QString> userPhotoValue(const QString& fileName)
{
    if (fileName.size() != 8 || !hasExtension(fileName, QStringLiteral(".BMP")))
        return std::nullopt;
    const QString digits = fileName.left(4);
    const auto v = smallNumber(digits, 10000);
    if (!v || *v < kFirstUserPhoto)
        return std::nullopt;
    return digits;
}

namespace {

// The lines of a list in the program folder turned into entries of a folder.
std::vector<PhotoEntry> listEntries(const Folders& dirs, const QString& listName, const QString& folder,
                                    const QString& context, bool photos, Reports& reports)
{
    std::vector<PhotoEntry> out;
    const auto lines = readList(resolveFile(dirs.DirProgram, listName));
    if (!lines)
        return out;
    const QString ext = photos ? QStringLiteral(".KXB") : QStringLiteral(".BMP");
    for (const QString& line : *lines) {
        const QString value = line.left(line.size() - 4).trimmed();
        QString why;
        if (!isPlainName(line) || !hasExtension(line, ext))
            why = QStringLiteral("nome non valido");
        // A new photograph lives in the photo folder, so its number must read
        // as one of those (below the user photographs).
        else if (photos && !smallNumber(value, kFirstUserPhoto))
            why = QStringLiteral("numero di foto non valido");
        else if (value.isEmpty())
            why = QStringLiteral("nome vuoto");
        const QString path = why.isEmpty() ? resolveFile(folder, line) : QString();
        if (why.isEmpty() && !QFileInfo::exists(path))
            why = QStringLiteral("file mancante");
        if (!why.isEmpty()) {
            reports.Emsg(ReportKind::LogOnly, context, line + QStringLiteral(": ") + why);
            continue;
        }
        out.push_back({line, path, value});
    }
    return out;
}

}  // namespace

std::vector<PhotoEntry> newPhotoEntries(const Folders& dirs, Reports& reports)
{
    return listEntries(dirs, kNewPhotosFile, dirs.DirFoto, QStringLiteral("Preview nuove foto"), true, reports);
}

std::vector<PhotoEntry> extraSignEntries(const Folders& dirs, Reports& reports)
{
    return listEntries(dirs, kExtraSignsFile, dirs.DirPicSgn, QStringLiteral("Preview segnali extra"), false,
                       reports);
}

std::vector<PhotoEntry> userPhotoEntries(const Folders& dirs, Reports& reports)
{
    std::vector<PhotoEntry> out;
    const QDir dir(dirs.DirFotoUtente);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const auto value = userPhotoValue(name);
        if (!value) {
            reports.Emsg(ReportKind::LogOnly, QStringLiteral("Foto utente"),
                         name + QStringLiteral(": nome non valido (NNNN.BMP da 9000)"));
            continue;
        }
        // Two files differing only in case would store the same number.
        if (std::any_of(out.cbegin(), out.cend(), [&](const PhotoEntry& e) { return e.value == *value; }))
            continue;
        // Shown from the file the stored number will be read from later.
        out.push_back({name, resolveFile(dirs.DirFotoUtente, *value + QStringLiteral(".BMP")), *value});
    }
    return out;
}

QString PhotoPaging::counter() const
{
    const int pages = count > 0 ? (count - 1) / kPhotoPage + 1 : 1;
    return QStringLiteral("%1 / %2").arg(start / kPhotoPage + 1).arg(pages);
}

void PhotoPaging::move(int button)
{
    switch (button) {
    case 1: start = 0; break;
    case 2: start = std::max(0, start - kPhotoPage); break;
    case 3:
        if (canForward())
            start += kPhotoPage;
        break;
    case 4: start = lastStart(); break;
    default: break;
    }
}

SourceModel::SourceModel(const Folders& dirs, Reports& reports) : m_dirs(dirs), m_reports(reports)
{
    // The source is read, never written: an edition file stays as installed.
    m_table.setSaveOnClose(false);
}

void SourceModel::checkInstallation()
{
    if (!QFileInfo(m_dirs.DirFotoUtente).isDir())
        m_reports.Emsg(ReportKind::FolderIo, QStringLiteral("Foto Utente"), m_dirs.DirFotoUtente);
    const QString extra = resolveFile(m_dirs.DirProgram, kExtraSignsFile);
    if (!QFileInfo::exists(extra))
        m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Preview segnali extra"),
                       QStringLiteral("File ") + extra + QStringLiteral(" non trovato!"));
    const QString fresh = resolveFile(m_dirs.DirProgram, kNewPhotosFile);
    if (!QFileInfo::exists(fresh))
        m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Preview nuove foto"),
                       QStringLiteral("File ") + fresh + QStringLiteral(" non trovato!"));
}

int SourceModel::tipo() const
{
    switch (m_edition) {
    case TModoQuiz::mqAM: return 4;
    case TModoQuiz::mqCD: return 5;
    case TModoQuiz::mqCQ: return 6;
    default: return 0;
    }
}

SourceModel::Outcome SourceModel::applySourceType(int index)
{
    if (index < 0 || index > int(SourceType::QuizCQC)) {
        m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Tipo sorgente non valido"),
                       QStringLiteral("Impossibile navigare la sorgente selezionata"));
        return Outcome::Invalid;
    }
    const auto type = SourceType(index);
    const bool wasPhoto = photoMode();
    m_entries.clear();
    m_paging = {};

    if (!isPhotoSource(type)) {
        m_type = type;
        openEdition(type);
        return Outcome::Applied;
    }

    std::vector<PhotoEntry> entries = type == SourceType::NuoveFoto   ? newPhotoEntries(m_dirs, m_reports)
                                      : type == SourceType::FotoUtente ? userPhotoEntries(m_dirs, m_reports)
                                                                       : extraSignEntries(m_dirs, m_reports);
    if (entries.empty()) {
        m_type = SourceType::QuizAB;
        openEdition(SourceType::QuizAB);
        return Outcome::FellBack;
    }
    if (!wasPhoto) {
        if (m_topicIndex < int(m_topics.size()) - 1)
            m_marker = m_topicIndex;
        m_bookmark = tableRec();
        m_bookmarkEdition = m_edition;
    }
    m_type = type;
    m_entries = std::move(entries);
    m_paging.count = int(m_entries.size());
    // A page of pictures has no sign and no statements of its own.
    clearRecord();
    if (!m_topics.empty())
        m_topicIndex = int(m_topics.size()) - 1;
    return Outcome::Applied;
}

bool SourceModel::openEdition(SourceType type)
{
    const TModoQuiz edition = editionOf(type);
    const EditionInfo& info = editionInfo(edition);
    const bool sameTable = m_editionLoaded && m_table.isOpen() && m_edition == edition;
    if (!sameTable) {
        const QString path = resolveFile(m_dirs.DirProgram, QString::fromLatin1(info.contentFile));
        QString error;
        const bool ok = m_table.isOpen() ? switchContentTable(m_table, path, &error)
                                         : openContentTable(m_table, path, &error);
        if (!ok) {
            // The table held before stays the source, and the type says so.
            if (m_editionLoaded)
                m_type = typeOf(m_edition);
            m_reports.Emsg(QFileInfo::exists(path) ? ReportKind::FileIo : ReportKind::MissingFile,
                           editionContext(type), QFileInfo::exists(path) ? path + QStringLiteral(": ") + error : path);
        } else {
            m_edition = edition;
            m_editionLoaded = true;
        }
        // The bank follows the table: a table that stayed keeps its bank.
        if (ok) {
            m_bank.close();
            const QString bankPath = resolveFile(m_dirs.DirProgram, QString::fromLatin1(info.bankFile));
            if (QFileInfo::exists(bankPath))
                m_bank.open(bankPath);
            if (!m_bank.isOpen())
                m_reports.Emsg(ReportKind::Message, editionContext(type),
                               QStringLiteral("Errore: Database quesiti non caricato."));
        }
    }

    Globals g;
    g.dirs = m_dirs;
    CambiaEdizione(g, int(m_edition), nullptr);
    m_topics = CaricaArgomenti(g, [this](const QString& c, const QString& n) {
                   m_reports.Emsg(ReportKind::LogOnly, c, n);
               }).combo;
    m_topicIndex = 0;
    if (m_marker >= 0 && m_marker < int(m_topics.size()) - 1)
        m_topicIndex = m_marker;
    applyFilter(m_topicIndex == 0 ? QString() : m_topics[size_t(m_topicIndex)].code.trimmed().toUpper());
    if (m_bookmark > 0 && m_bookmarkEdition == m_edition) {
        const auto it = std::find(m_rows.cbegin(), m_rows.cend(), m_bookmark);
        if (it != m_rows.cend())
            m_pos = int(it - m_rows.cbegin());
        m_bookmark = 0;
    }
    loadRecord();
    return m_table.isOpen();
}

SourceModel::Outcome SourceModel::selectTopic(int index)
{
    if (index < 0 || index >= int(m_topics.size()))
        return Outcome::Invalid;
    if (m_topics[size_t(index)].kind == TopicComboItem::Kind::PhotoSelection)
        return applySourceType(int(SourceType::FotoUtente));
    if (photoMode())
        return Outcome::Invalid;
    m_topicIndex = index;
    applyFilter(index == 0 ? QString() : m_topics[size_t(index)].code.trimmed().toUpper());
    loadRecord();
    return Outcome::Applied;
}

void SourceModel::applyFilter(const QString& code)
{
    m_filter = code;
    m_rows.clear();
    m_blocks.clear();
    if (m_table.isOpen()) {
        const int argomento = m_table.fieldIndex(QStringLiteral("Argomento"));
        const int domanda = m_table.fieldIndex(QStringLiteral("Domanda"));
        m_table.cancelRange();
        for (int rec = 1; rec <= m_table.recordCount(); ++rec) {
            if (!topicAccepts(m_filter, m_table.fieldTextAt(rec, argomento)))
                continue;
            m_rows.push_back(rec);
            const QString block = blockOfDomanda(m_table.fieldTextAt(rec, domanda), m_edition);
            if (!block.isEmpty())
                m_blocks << block;
        }
    }
    m_blocks << kNoBlock;
    m_pos = m_rows.empty() ? -1 : 0;
}

bool SourceModel::chooseBlock(const QString& text)
{
    if (photoMode() || text.isEmpty() || text == kNoBlock)
        return false;
    const QString wanted = m_edition == TModoQuiz::mqAM ? QStringLiteral("d") + text : text;
    int found = -1;
    for (int i = 0; i < int(m_rows.size()) && found < 0; ++i)
        if (fieldAt(m_rows[size_t(i)], QStringLiteral("Domanda")).trimmed() == wanted)
            found = i;
    // A `Domanda` longer than its block still leads to it.
    for (int i = 0; i < int(m_rows.size()) && found < 0; ++i)
        if (blockOfDomanda(fieldAt(m_rows[size_t(i)], QStringLiteral("Domanda")), m_edition) == text)
            found = i;
    if (found < 0)
        return false;
    m_pos = found;
    loadRecord();
    return true;
}

void SourceModel::navigate(int button)
{
    if (photoMode()) {
        m_paging.move(button);
        return;
    }
    if (m_rows.empty())
        return;
    const int last = int(m_rows.size()) - 1;
    switch (button) {
    case 1: m_pos = 0; break;
    case 2: m_pos = std::max(0, m_pos - 1); break;
    case 3: m_pos = std::min(last, m_pos + 1); break;
    case 4: m_pos = last; break;
    default: return;
    }
    loadRecord();
}

bool SourceModel::canBack() const
{
    return photoMode() ? m_paging.canBack() : m_pos > 0;
}

bool SourceModel::canForward() const
{
    return photoMode() ? m_paging.canForward() : m_pos >= 0 && m_pos < int(m_rows.size()) - 1;
}

QString SourceModel::counter() const
{
    if (photoMode())
        return m_paging.counter();
    return QStringLiteral("%1 / %2").arg(m_pos + 1).arg(m_rows.size());
}

bool SourceModel::hasRecord() const
{
    return !photoMode() && tableRec() > 0;
}

int SourceModel::tableRec() const
{
    if (!m_table.isOpen() || m_pos < 0 || m_pos >= int(m_rows.size()))
        return 0;
    return m_rows[size_t(m_pos)];
}

QString SourceModel::fieldAt(int rec, const QString& name) const
{
    const int f = m_table.fieldIndex(name);
    return f < 0 || rec <= 0 ? QString() : m_table.fieldTextAt(rec, f);
}

QString SourceModel::field(const QString& name) const
{
    return hasRecord() ? fieldAt(tableRec(), name) : QString();
}

QString SourceModel::currentBlock() const
{
    const QString block = blockOfDomanda(field(QStringLiteral("Domanda")), m_edition);
    return block.isEmpty() ? kNoBlock : block;
}

void SourceModel::clearRecord()
{
    m_signName.clear();
    m_statements.clear();
}

void SourceModel::loadRecord()
{
    clearRecord();
    if (!hasRecord())
        return;
    m_signName = field(QStringLiteral("Nome segnale"));
    const QString block = blockOfDomanda(field(QStringLiteral("Domanda")), m_edition);
    if (!block.isEmpty())
        m_statements = loadBlockStatements(m_bank, block, m_reports);
}

QString SourceModel::signPath() const
{
    const QString name = m_signName.trimmed();
    if (name.isEmpty() || !isPlainName(AdeguaPittogrammi(name)))
        return {};
    return resolveFile(m_dirs.DirPicSgn, AdeguaPittogrammi(name) + QStringLiteral(".BMP"));
}

QString SourceModel::figurePath(int line) const
{
    if (line < 0 || line >= int(m_statements.size()))
        return {};
    const QString figure = m_statements[size_t(line)].figure;
    if (figure.isEmpty() || !isPlainName(AdeguaPittogrammi(figure)))
        return {};
    return resolveFile(m_dirs.DirPicSgn, AdeguaPittogrammi(figure) + QStringLiteral(".BMP"));
}

QString SourceModel::film() const
{
    return field(QStringLiteral("Video")).trimmed();
}

QString SourceModel::blockDiagnostic() const
{
    const QString block = blockOfDomanda(field(QStringLiteral("Domanda")), m_edition);
    if (block.isEmpty())
        return {};
    QString text = QStringLiteral("Domanda (vecchia num): ") + field(QStringLiteral("Domanda")) +
                   QStringLiteral(", Blocco (nuova num): ") + block + QStringLiteral("\r\nIndice: ") +
                   QString::number(m_bank.block(block).first) + QStringLiteral(", NumAff: ") +
                   QString::number(m_statements.size()) + QStringLiteral(", SegnaleCorrente: ") + m_signName +
                   QStringLiteral("\r\n\r\n");
    for (const SourceStatement& s : m_statements)
        text += QString::number(s.number) + QStringLiteral("] ") +
                (s.truth ? QStringLiteral("True") : QStringLiteral("False")) + QStringLiteral(", {") + s.figure +
                QStringLiteral("}   ") + s.text() + QStringLiteral(" (") + QString::number(s.difficulty) +
                QStringLiteral(")\r\n");
    return text;
}

const PhotoEntry* SourceModel::entryFor(int tag) const
{
    if (!photoMode() || tag < kFirstSourceTag || tag >= kFirstSourceTag + kPhotoPage)
        return nullptr;
    const int i = m_paging.start + tag - kFirstSourceTag;
    return i < int(m_entries.size()) ? &m_entries[size_t(i)] : nullptr;
}

QString SourceModel::picturePath(int tag) const
{
    if (photoMode()) {
        const PhotoEntry* e = entryFor(tag);
        return e ? e->path : QString();
    }
    if (tag < kFirstSourceTag || tag >= kFirstSourceTag + kSourcePhotos)
        return {};
    const auto file = photoFile(m_dirs, field(QStringLiteral("Foto%1").arg(tag - kFirstSourceTag + 1)));
    return file ? file->path : QString();
}

QString SourceModel::pictureInfo(int tag) const
{
    if (m_type == SourceType::SegnaliExtra)
        return {};
    if (photoMode()) {
        const PhotoEntry* e = entryFor(tag);
        return e ? QStringLiteral("f ") + e->value : QString();
    }
    if (tag < kFirstSourceTag || tag >= kFirstSourceTag + kSourcePhotos)
        return {};
    const QString value = field(QStringLiteral("Foto%1").arg(tag - kFirstSourceTag + 1)).trimmed();
    return value.isEmpty() ? QString() : QStringLiteral("f ") + value;
}

QString SourceModel::pictureCaption(int tag) const
{
    if (photoMode() || tag < kFirstSourceTag || tag >= kFirstSourceTag + kSourcePhotos)
        return {};
    return field(QStringLiteral("TxtF%1").arg(tag - kFirstSourceTag + 1));
}

std::unique_ptr<CaptionTable> SourceModel::pictureCaptions(int tag, DataTable* mirror)
{
    if (photoMode() || tag < kFirstSourceTag || tag >= kFirstSourceTag + kSourcePhotos || !hasRecord() ||
        field(QStringLiteral("Foto%1").arg(tag - kFirstSourceTag + 1)).trimmed().isEmpty())
        return nullptr;
    const QString numRec = field(QStringLiteral("NumRec")).trimmed();
    if (numRec.isEmpty())
        return nullptr;
    return std::make_unique<RecordCaptions>(m_table, numRec, mirror);
}

QMap<QString, QString> SourceModel::recordFields(int rec) const
{
    QMap<QString, QString> out;
    for (const QString& name : copiedFields())
        if (m_table.fieldIndex(name) >= 0)
            out.insert(name, fieldAt(rec, name));
    return out;
}

EditorDrag SourceModel::recordDrag(DragOrigin origin, int rec, const std::vector<SourceStatement>& statements) const
{
    EditorDrag d;
    d.origin = origin;
    d.tipo = tipo();
    d.record = recordFields(rec);
    d.signFallback = fieldAt(rec, QStringLiteral("Nome segnale"));
    for (const SourceStatement& s : statements)
        d.codes << s.code();
    return d;
}

std::optional<EditorDrag> SourceModel::signDrag() const
{
    if (!hasRecord())
        return std::nullopt;
    EditorDrag d = recordDrag(DragOrigin::SourceSign, tableRec(), m_statements);
    d.signFallback = m_signName;
    return d;
}

std::optional<EditorDrag> SourceModel::blockDrag() const
{
    if (!hasRecord() || currentBlock() == kNoBlock)
        return std::nullopt;
    EditorDrag d = recordDrag(DragOrigin::BlockCombo, tableRec(), m_statements);
    d.signFallback = m_signName;
    return d;
}

std::optional<EditorDrag> SourceModel::statementsDrag(const QList<int>& lines) const
{
    if (!hasRecord())
        return std::nullopt;
    QList<int> sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    std::vector<SourceStatement> chosen;
    for (int i : sorted)
        if (i >= 0 && i < int(m_statements.size()) && (chosen.empty() || chosen.back().line != m_statements[size_t(i)].line))
            chosen.push_back(m_statements[size_t(i)]);
    if (chosen.empty())
        return std::nullopt;
    EditorDrag d = recordDrag(DragOrigin::SourceStatements, tableRec(), chosen);
    d.signFallback = m_signName;
    return d;
}

std::optional<EditorDrag> SourceModel::pictureDrag(int tag) const
{
    EditorDrag d;
    d.tag = tag;
    d.tipo = tipo();
    if (photoMode()) {
        const PhotoEntry* e = entryFor(tag);
        if (!e)
            return std::nullopt;
        if (m_type != SourceType::SegnaliExtra) {
            d.origin = DragOrigin::SourcePhoto;
            d.photoValue = e->value;
            return d;
        }
        d.origin = DragOrigin::ExtraSign;
        d.extraSign = e->value;
        // The icons of the edition's record carrying that sign, if any.
        const int sign = m_table.isOpen() ? m_table.fieldIndex(QStringLiteral("Nome segnale")) : -1;
        for (int rec = 1; sign >= 0 && rec <= m_table.recordCount(); ++rec) {
            if (m_table.fieldTextAt(rec, sign) != e->value)
                continue;
            d.extraSignFound = true;
            for (int i = 1; i <= 13; ++i) {
                const QString name = QStringLiteral("Icona%1").arg(i);
                if (m_table.fieldIndex(name) >= 0)
                    d.record.insert(name, fieldAt(rec, name));
            }
            break;
        }
        return d;
    }
    if (!hasRecord() || tag < kFirstSourceTag || tag >= kFirstSourceTag + kSourcePhotos)
        return std::nullopt;
    const int p = tag - kFirstSourceTag + 1;
    d.origin = DragOrigin::SourcePhoto;
    d.photoValue = field(QStringLiteral("Foto%1").arg(p)).trimmed();
    d.photoCaption = field(QStringLiteral("TxtF%1").arg(p));
    if (d.photoValue.isEmpty())
        return std::nullopt;
    return d;
}

std::optional<EditorDrag> SourceModel::topicDrag() const
{
    if (photoMode() || !m_table.isOpen() || m_topicIndex < 0 || m_topicIndex >= int(m_topics.size()) - 1)
        return std::nullopt;
    EditorDrag d;
    d.origin = DragOrigin::TopicCombo;
    d.tipo = tipo();
    d.topic = m_filter;
    return d;
}

std::optional<std::vector<EditorDrag>> SourceModel::topicRecords(const QString& topic)
{
    if (!m_table.isOpen() || topic.trimmed().compare(kPhotoItem, Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const QString code = topic.trimmed().toUpper();
    const int argomento = m_table.fieldIndex(QStringLiteral("Argomento"));
    std::vector<EditorDrag> out;
    for (int rec = 1; rec <= m_table.recordCount(); ++rec) {
        if (!topicAccepts(code, m_table.fieldTextAt(rec, argomento)))
            continue;
        const QString block = blockOfDomanda(fieldAt(rec, QStringLiteral("Domanda")), m_edition);
        if (block.isEmpty())
            continue;
        out.push_back(recordDrag(DragOrigin::BlockCombo, rec, loadBlockStatements(m_bank, block, m_reports)));
    }
    return out;
}

}  // namespace ziro
