#include "importer.h"

#include "controls/kxb.h"
#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"
#include "quiz/sample_banks.h"

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
                if (taken % kBlockSize == 0)
                    ++out.blocks;
                ++taken;
            }
            if (taken == 0)
                out.notes << QStringLiteral("\"%1/%2\": no usable statements").arg(c.key(), s.key());
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

    // Everything is known: now the writing, each file kept before it is
    // replaced, and left alone when it already holds the same bytes.
    // The bank goes last: it names the pictures, which are then in place.
    std::vector<std::pair<QString, QString>> files;  // target, picture source (none: the bank)
    const QString signs = QDir(r.root).filePath(QStringLiteral("ziro/PicSgn"));
    for (const auto& [name, source] : pictures)
        files.emplace_back(QDir(signs).filePath(name + QStringLiteral(".BMP")), source);
    files.emplace_back(bankPath, QString());
    out.pictures = static_cast<int>(pictures.size());
    const QString backupDir = QDir(r.root).filePath(QStringLiteral("ziro/Backup/import"));
    for (const auto& [path, source] : files) {
        const QByteArray bytes = source.isEmpty() ? bank.toXml(SaveFormat::Utf8) : signPicture(source);
        if (bytes.isEmpty()) {
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
