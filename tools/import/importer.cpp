#include "importer.h"

#include "controls/kxb.h"
#include "menus/topic_list.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "platform/files/atomic_save.h"
#include "platform/files/text_codec.h"
#include "quiz/sample_banks.h"

#include <QDateTime>
#include <set>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QRegularExpression>

#include <map>

namespace ziro::import {

namespace {

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The sign name of a picture path: its base name, when it can be one.
QString signName(const QString& img)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9A-Za-z]{1,8}$"));
    const QString base = QFileInfo(img).completeBaseName();
    return plain.match(base).hasMatch() ? base : QString();
}

// Whether the file is a picture Qt can decode, from its header alone: the
// check runs over thousands of pictures before anything is written.
bool isPicture(const QString& path)
{
    QFileInfo info(path);
    if (!info.isFile() || info.size() > kKxbMaxFileSize)
        return false;
    QImageReader reader(path);
    const QSize size = reader.size();
    return reader.canRead() && size.isValid() && size.width() <= 4096 && size.height() <= 4096;
}

// The picture as the program's sign format: transparency over white, as
// the signs are printed.
QByteArray signPicture(const QString& path)
{
    if (!isPicture(path))
        return {};
    QImage image(path);
    if (image.isNull())
        return {};
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    return encodeKxb(flat, "BM");
}

// A sub-topic as the lesson shows it: a topic of its group, one record per
// block, each with the sign of the block's first statement that has one.
struct ImportedTopic {
    int chapter = 0;  // 1-based, in the dataset's order
    QString title;
    std::vector<std::pair<QString, QString>> blocks;  // key, sign
};

constexpr int kTopicTitleWidth = 40;
constexpr int kFirstImportedTopic = 50;  // codes below stay the school's own
constexpr int kGroups = 10;

QString topicTitle(const QString& name)
{
    // The lists are in the single-byte code page: what it cannot hold
    // becomes "?", so the columns after the title stay in place.
    QString title;
    for (const QChar c : name.simplified().left(kTopicTitleWidth)) {
        bool lossless = true;
        encodeWindows1252(QString(c), &lossless);
        title += lossless ? c : QChar(u'?');
    }
    return title;
}

QString topicListLine(const QString& title, const QString& code)
{
    return title.leftJustified(kTopicTitleWidth) + QStringLiteral("#    ") + code.leftJustified(5);
}

// The lines of a topic list file, split on either line end, last empty
// line dropped.
QList<QByteArray> fileLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A folder for this run's backups that no earlier run used, so that a
// second import never overwrites the files the first one kept.
QString freshBackupDir(const QString& root)
{
    const QString base = QDir(root).filePath(QStringLiteral("ziro/Backup/import/")) +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString dir = base;
    for (int n = 2; QFileInfo::exists(dir); ++n)
        dir = base + QStringLiteral("-%1").arg(n);
    return dir;
}

}  // namespace

QString importedKey(int chapter, int subTopic, int part)
{
    return QStringLiteral("%1%2").arg(chapter, 2, 10, QLatin1Char('0')).arg(subTopic, 2, 10, QLatin1Char('0')) +
           QChar(u'A' + (part - 1));
}

bool isImportedKey(const QString& key)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{4}[A-I]$"));
    return pattern.match(key).hasMatch();
}

bool importDataset(const Request& r, Report* report, QString* error)
{
    Report out;
    const QString program = QDir(r.root).filePath(QStringLiteral("ziro/Program"));
    if (!QFileInfo(program).isDir())
        return fail(error, QStringLiteral("%1 is not an installation root (no ziro/Program)").arg(r.root));
    const QFileInfo jsonInfo(r.json);
    if (!jsonInfo.isFile())
        return fail(error, QStringLiteral("%1: no such file").arg(r.json));
    if (jsonInfo.size() > kMaxJsonBytes)
        return fail(error, QStringLiteral("%1: larger than %2 MB").arg(r.json).arg(kMaxJsonBytes / (1024 * 1024)));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(readAll(r.json), &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(error, QStringLiteral("%1: not JSON (%2 at byte %3)").arg(r.json, parse.errorString()).arg(parse.offset));
    if (!doc.isObject())
        return fail(error, QStringLiteral("%1: expected an object of chapters").arg(r.json));
    const QString pictureRoot = r.pictures.isEmpty() ? jsonInfo.absolutePath() : r.pictures;

    DataTable bank;
    bank.setSaveOnClose(false);
    QString why;
    if (!bank.createFromFields(questionBankFields(), &why))
        return fail(error, why);
    // The blocks already in the bank stay, lessons name them; only the
    // blocks of an earlier import give way to this one.
    const QString bankPath = QDir(program).filePath(QStringLiteral("NQM2016.XML"));
    if (QFileInfo(bankPath).isFile()) {
        DataTable old;
        old.setSaveOnClose(false);
        if (!old.loadFromFile(bankPath, &why))
            return fail(error, QStringLiteral("cannot read the bank %1: %2").arg(bankPath, why));
        const auto field = [&old](const char* name) { return old.fieldIndex(QLatin1String(name)); };
        const int blocco = field("Blocco");
        if (blocco < 0)
            return fail(error, QStringLiteral("%1 is not a question bank (no field Blocco)").arg(bankPath));
        const int f[] = {field("id"), field("Risposta"), field("Testo"), field("Lingua1"), field("Lingua2"),
                         field("Difficolta"), field("Figura"), field("Domanda"), field("Info2"), field("Audio1"),
                         field("Gruppo1")};
        const auto text = [&old](int r, int i) { return i < 0 ? QString() : old.fieldTextAt(r, i); };
        for (int r = 1; r <= old.recordCount(); ++r) {
            BankRow row;
            row.Blocco = text(r, blocco);
            if (isImportedKey(row.Blocco))
                continue;
            row.id = text(r, f[0]);
            const QString risposta = text(r, f[1]).trimmed();
            row.Risposta = risposta.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || risposta.toInt() != 0;
            row.Testo = text(r, f[2]);
            row.Lingua1 = text(r, f[3]);
            row.Lingua2 = text(r, f[4]);
            row.Difficolta = text(r, f[5]).trimmed().toInt();
            row.Figura = text(r, f[6]);
            row.Domanda = text(r, f[7]);
            row.Info2 = text(r, f[8]);
            row.Audio1 = text(r, f[9]);
            row.Gruppo1 = text(r, f[10]);
            if (!appendBankRow(bank, row, &why))
                return fail(error, QStringLiteral("cannot keep statement %1 of the bank: %2").arg(r).arg(why));
        }
    }
    // Sign name -> source file; converted only when writing, so thousands
    // of pictures are never held at once.
    std::map<QString, QString> pictures;
    std::vector<ImportedTopic> topics;
    const QJsonObject chapters = doc.object();
    int chapterNo = 0;
    for (auto c = chapters.begin(); c != chapters.end(); ++c) {
        ++chapterNo;
        if (chapterNo > 99)
            return fail(error, QStringLiteral("more than 99 chapters"));
        if (!c.value().isObject()) {
            out.notes << QStringLiteral("chapter \"%1\": not an object of sub-topics, skipped").arg(c.key());
            continue;
        }
        const QJsonObject subTopics = c.value().toObject();
        int subNo = 0;
        int chapterStatements = 0;
        for (auto s = subTopics.begin(); s != subTopics.end(); ++s) {
            ++subNo;
            if (subNo > 99) {
                out.notes << QStringLiteral("chapter \"%1\": sub-topics past the 99th skipped").arg(c.key());
                break;
            }
            if (!s.value().isArray()) {
                out.notes << QStringLiteral("\"%1/%2\": not a list of statements, skipped").arg(c.key(), s.key());
                continue;
            }
            int taken = 0;
            int index = 0;
            ImportedTopic topic;
            topic.chapter = out.chapters + 1;
            topic.title = topicTitle(s.key());
            for (const QJsonValue& v : s.value().toArray()) {
                ++index;
                const QString where = QStringLiteral("\"%1/%2\" #%3").arg(c.key(), s.key()).arg(index);
                const QJsonObject st = v.toObject();
                const QString q = st.value(QStringLiteral("q")).toString().simplified();
                if (!v.isObject() || q.isEmpty() || !st.value(QStringLiteral("a")).isBool()) {
                    out.notes << where + QStringLiteral(": no text \"q\" or no true/false \"a\", skipped");
                    continue;
                }
                if (q.size() > kMaxStatementLength) {
                    out.notes << where + QStringLiteral(": statement of %1 characters, skipped").arg(q.size());
                    continue;
                }
                const int part = taken / kBlockSize + 1;
                if (part > 9) {
                    out.notes << where + QStringLiteral(": past the 630th statement of a sub-topic, skipped");
                    continue;
                }
                QString figura;
                const QString img = st.value(QStringLiteral("img")).toString();
                if (!img.isEmpty()) {
                    const QString name = signName(img);
                    if (name.isEmpty()) {
                        out.notes << where + QStringLiteral(": picture name \"%1\" unusable, left out").arg(img);
                    } else if (pictures.count(name)) {
                        figura = name;
                    } else {
                        const QString source =
                            QDir(pictureRoot).filePath(img.startsWith(QLatin1Char('/')) ? img.mid(1) : img);
                        if (!isPicture(source))
                            out.notes << where + QStringLiteral(": picture %1 missing or not a picture, left out").arg(img);
                        else {
                            pictures[name] = source;
                            figura = name;
                        }
                    }
                }
                BankRow row;
                row.Blocco = importedKey(chapterNo, subNo, part);
                row.id = QString::number(taken % kBlockSize + 1);
                row.Risposta = st.value(QStringLiteral("a")).toBool();
                row.Testo = q;
                row.Figura = figura;
                row.Domanda = QStringLiteral("1");
                row.Info2 = s.key().left(80);
                if (!appendBankRow(bank, row, &why))
                    return fail(error, where + QStringLiteral(": ") + why);
                if (taken % kBlockSize == 0) {
                    ++out.blocks;
                    topic.blocks.emplace_back(row.Blocco, QString());
                }
                // Nome segnale holds five characters.
                if (topic.blocks.back().second.isEmpty() && figura.size() <= 5)
                    topic.blocks.back().second = figura;
                ++taken;
            }
            if (taken == 0)
                out.notes << QStringLiteral("\"%1/%2\": no usable statements").arg(c.key(), s.key());
            else
                topics.push_back(std::move(topic));
            chapterStatements += taken;
            out.statements += taken;
        }
        if (chapterStatements == 0)
            out.notes << QStringLiteral("chapter \"%1\": no usable statements").arg(c.key());
        else
            ++out.chapters;
    }
    if (out.statements == 0)
        return fail(error, QStringLiteral("%1: no usable statements").arg(r.json));

    // The lesson side: the A-B content table keeps the school's records and
    // gains one per imported block; an earlier import's records give way.
    // The usable chapters fill the ten groups in order, in equal runs, and
    // each sub-topic becomes a topic of its group numbered from 50, so the
    // school's own topics (numbered from 1) keep their codes.
    const QString contentPath = QDir(program).filePath(QStringLiteral("AAB2016.XML"));
    DataTable content;
    content.setSaveOnClose(false);
    if (QFileInfo(contentPath).isFile()) {
        if (!content.loadFromFile(contentPath, &why))
            return fail(error, QStringLiteral("cannot read the content table %1: %2").arg(contentPath, why));
    } else if (!content.createFromFields(contentTableFields(), &why)) {
        return fail(error, why);
    }
    for (const char* name : {"NumRec", "Domanda", "Argomento", "Nome segnale", "Selezione", "Testo"})
        if (content.fieldIndex(QLatin1String(name)) < 0)
            return fail(error, QStringLiteral("%1 is not a content table (no field %2)").arg(contentPath, QLatin1String(name)));
    std::set<QString> oldCodes;  // topics of an earlier import
    int lastNumRec = 0;
    content.setIndexFieldNames(QString());
    content.first();
    while (!content.eof()) {
        if (isImportedKey(content.fieldText(QStringLiteral("Domanda")).trimmed())) {
            oldCodes.insert(content.fieldText(QStringLiteral("Argomento")).trimmed());
            content.deleteRecord();
            continue;
        }
        lastNumRec = std::max(lastNumRec, content.fieldInt(QStringLiteral("NumRec")));
        content.next();
    }
    std::map<QChar, QStringList> newLines;  // group letter -> topic lines
    std::map<QChar, int> nextCode;
    for (const ImportedTopic& t : topics) {
        const QChar letter(u'A' + (t.chapter - 1) * kGroups / std::max(1, out.chapters));
        int& number = nextCode.try_emplace(letter, kFirstImportedTopic).first->second;
        if (number > 99) {
            out.notes << QStringLiteral("topic \"%1\": group %2 is full, left out of the lessons (its statements are in the bank)")
                             .arg(t.title, letter);
            continue;
        }
        const QString code = letter + QStringLiteral("%1").arg(number++, 2, 10, QLatin1Char('0'));
        newLines[letter] << topicListLine(t.title, code);
        for (const auto& [key, sign] : t.blocks) {
            const bool ok = content.append() && content.setField(QStringLiteral("NumRec"), ++lastNumRec, &why) &&
                            content.setField(QStringLiteral("Domanda"), key, &why) &&
                            content.setField(QStringLiteral("Argomento"), code, &why) &&
                            content.setField(QStringLiteral("Nome segnale"), sign, &why) &&
                            content.setField(QStringLiteral("Selezione"), QStringLiteral("SI"), &why) &&
                            content.setField(QStringLiteral("Testo"), t.title, &why) &&
                            (content.fieldIndex(QStringLiteral("Capitolo")) < 0 ||
                             content.setField(QStringLiteral("Capitolo"), key.left(2), &why)) &&
                            content.post(&why);
            if (!ok)
                return fail(error, QStringLiteral("cannot add the record of block %1: %2").arg(key, why));
        }
        ++out.topics;
    }
    // Each group's list keeps its own lines, loses an earlier import's and
    // ends with this import's topics after a blank row.
    std::vector<std::pair<QString, QByteArray>> lists;
    for (int gi = 0; gi < kGroups; ++gi) {
        const QChar letter(u'A' + gi);
        const QString path = topicListPath(program, QStringLiteral("N"), QString(letter));
        QByteArray old;
        if (QFileInfo(path).isFile()) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                return fail(error, QStringLiteral("cannot read the topic list %1").arg(path));
            old = f.readAll();
        }
        QList<QByteArray> kept;
        for (const QByteArray& line : fileLines(old)) {
            const QString code = parseTopicLine(decodeWindows1252(line)).code;
            if (!code.isEmpty() && oldCodes.count(code))
                continue;
            kept << line;
        }
        while (!kept.isEmpty() && kept.last().trimmed().isEmpty() && (oldCodes.size() || newLines.count(letter)))
            kept.removeLast();  // the blank row an earlier import put before its topics
        QByteArray bytes;
        for (const QByteArray& line : kept)
            bytes += line + "\r\n";
        if (newLines.count(letter)) {
            if (!kept.isEmpty())
                bytes += "\r\n";
            for (const QString& line : newLines[letter])
                bytes += encodeWindows1252(line) + "\r\n";
        }
        if (bytes != old)
            lists.emplace_back(path, bytes);
    }

    // Everything is known: now the writing, each file kept before it is
    // replaced, and left alone when it already holds the same bytes.
    // The bank goes last: it names the pictures, which are then in place.
    // The bank, the content table and the lists follow, in that order, so
    // that each names only what is already in place.
    std::vector<std::pair<QString, QString>> files;  // target, picture source (none: the bytes below)
    const QString signs = QDir(r.root).filePath(QStringLiteral("ziro/PicSgn"));
    // The lesson shows a record's sign from the named-sign folder when the
    // settings ask for names; a school's own picture there is kept.
    const QString namedSigns = QDir(r.root).filePath(QStringLiteral("ziro/PicSgt"));
    for (const auto& [name, source] : pictures) {
        files.emplace_back(QDir(signs).filePath(name + QStringLiteral(".BMP")), source);
        const QString named = QDir(namedSigns).filePath(name + QStringLiteral(".BMP"));
        if (!QFileInfo::exists(named))
            files.emplace_back(named, source);
    }
    std::map<QString, QByteArray> ready;
    ready[bankPath] = bank.toXml(SaveFormat::Utf8);
    ready[contentPath] = content.toXml(DataTable::saveFormatFor(contentPath));
    files.emplace_back(bankPath, QString());
    files.emplace_back(contentPath, QString());
    for (const auto& [path, bytes] : lists) {
        ready[path] = bytes;
        files.emplace_back(path, QString());
    }
    out.pictures = static_cast<int>(pictures.size());
    const QString backupDir = freshBackupDir(r.root);
    QString lastSource;  // a sign's two copies come one after the other
    QByteArray lastPicture;
    for (const auto& [path, source] : files) {
        if (!source.isEmpty() && source != lastSource) {
            lastSource = source;
            lastPicture = signPicture(source);
        }
        const QByteArray bytes = source.isEmpty() ? ready[path] : lastPicture;
        if (bytes.isEmpty() && !source.isEmpty()) {
            if (report)
                *report = out;  // what was written before it
            return fail(error, QStringLiteral("cannot convert %1").arg(source));
        }
        if (QFileInfo(path).isFile()) {
            const QByteArray old = readAll(path);
            if (old == bytes)
                continue;
            const QString backup = QDir(backupDir).filePath(QDir(r.root).relativeFilePath(path));
            if (!QDir().mkpath(QFileInfo(backup).absolutePath()) || !saveFileAtomically(backup, old, &why))
                return fail(error, QStringLiteral("cannot keep %1 before replacing it: %2").arg(path, why));
            out.backups << backup;
        }
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !saveFileAtomically(path, bytes, &why))
            return fail(error, QStringLiteral("cannot write %1: %2").arg(path, why));
        out.written << path;
    }
    if (report)
        *report = out;
    return true;
}

}  // namespace ziro::import
