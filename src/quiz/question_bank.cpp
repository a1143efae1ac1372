#include "quiz/question_bank.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ziro {

namespace {

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool allDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool sameId(const QString& stored, const QString& wanted)
{
    const QString a = stored.trimmed();
    const QString b = wanted.trimmed();
    if (allDigits(a) && allDigits(b))
        return a.toLongLong() == b.toLongLong();
    return a == b;
}

bool isTrue(const QString& value)
{
    const QString v = value.trimmed();
    if (v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    return v.toInt(&ok) != 0 && ok;
}

// A bank written back must keep the form it came in: a file of plain ASCII
// with character references stays so, a UTF-8 one stays UTF-8.
SaveFormat formatOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SaveFormat::Utf8;
    const QByteArray bytes = file.readAll();
    const qsizetype declarationEnd = bytes.indexOf("?>");
    const QByteArray declaration = bytes.left(declarationEnd < 0 ? 0 : declarationEnd).toLower();
    if (declaration.contains("utf-8"))
        return SaveFormat::Utf8;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return SaveFormat::Utf8;
    return SaveFormat::Ascii;
}

}  // namespace

QuestionBank::QuestionBank()
{
    // Captions are written at once (setCaptions); closing never writes.
    m_table.setSaveOnClose(false);
}

bool QuestionBank::open(const QString& path, QString* error)
{
    close();
    if (!QFileInfo(path).isFile())
        return fail(error, QStringLiteral("Il file %1 non esiste").arg(path));
    m_table.setFileName(path);
    QString why;
    if (!m_table.open(&why))
        return fail(error, why);
    if (m_table.fieldIndex(QStringLiteral("Blocco")) < 0) {
        close();
        return fail(error, QStringLiteral("%1: nessun campo Blocco").arg(path));
    }
    // The engine keeps equal keys in file order, so a block reads as the
    // file has it.
    if (!m_table.setIndexFieldNames(QStringLiteral("Blocco"), &why)) {
        close();
        return fail(error, why);
    }
    auto field = [this](const char* name) { return m_table.fieldIndex(QLatin1String(name)); };
    m_f = {field("Blocco"), field("id"),        field("Risposta"), field("Testo"),
           field("Lingua1"), field("Lingua2"),  field("Difficolta"), field("Figura"),
           field("Domanda"), field("Info2"),    field("Audio1"),   field("Gruppo1")};
    return true;
}

void QuestionBank::close()
{
    m_table.close();
    m_f = Fields();
    m_blocks.clear();
    m_blocksKnown = false;
}

BankBlock QuestionBank::block(const QString& key) const
{
    if (!isOpen())
        return {};
    // The engine orders texts by their UTF-8 bytes.
    const QByteArray wanted = key.toUtf8();
    auto firstNotBefore = [&](bool orEqual) {
        int low = 1, high = m_table.recordCount() + 1;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            const int c = text(middle, m_f.blocco).toUtf8().compare(wanted);
            if (c < 0 || (orEqual && c == 0))
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    };
    const int first = firstNotBefore(false);
    return {first, firstNotBefore(true) - first};
}

int QuestionBank::blockCount() const
{
    int count = 0;
    QString previous;
    for (int r = 1, n = statementCount(); r <= n; ++r) {
        const QString key = text(r, m_f.blocco);
        if (r == 1 || key != previous)
            ++count;
        previous = key;
    }
    return count;
}

const std::vector<std::pair<QString, BankBlock>>& QuestionBank::blocks() const
{
    if (m_blocksKnown)
        return m_blocks;
    m_blocksKnown = true;
    std::vector<std::pair<QString, BankBlock>>& out = m_blocks;
    out.clear();
    for (int r = 1, n = statementCount(); r <= n; ++r) {
        QString key = text(r, m_f.blocco);
        if (!out.empty() && out.back().first == key)
            ++out.back().second.count;
        else
            out.push_back({std::move(key), BankBlock{r, 1}});
    }
    return m_blocks;
}

bool QuestionBank::readStatement(int recNo, QuizStatement* s) const
{
    const QString domanda = text(recNo, m_f.domanda).trimmed();
    bool ok = true;
    // An absent number is no number at all, not a damaged one.
    const int arrNum = domanda.isEmpty() ? 0 : domanda.toInt(&ok);
    if (!ok)
        return false;
    s->Aff = {text(recNo, m_f.testo), text(recNo, m_f.lingua1), text(recNo, m_f.lingua2)};
    s->Responso = isTrue(text(recNo, m_f.risposta)) ? 1 : 0;
    s->PercErr = text(recNo, m_f.difficolta).trimmed().toInt();
    s->IntegratoAffermazione = text(recNo, m_f.figura);
    s->ARRnum = arrNum;
    s->TitBlk = text(recNo, m_f.info2);
    s->NumRec = text(recNo, m_f.id);
    s->AudioArr = text(recNo, m_f.audio1);
    s->GroupsArr = text(recNo, m_f.gruppo1);
    s->Blocco = text(recNo, m_f.blocco);
    return true;
}

int QuestionBank::find(const QString& blockKey, const QString& id) const
{
    const BankBlock b = block(blockKey);
    for (int r = b.first; r < b.first + b.count; ++r)
        if (sameId(text(r, m_f.id), id))
            return r;
    return 0;
}

QString QuestionBank::caption(int recNo) const
{
    return text(recNo, m_f.info2);
}

bool QuestionBank::writeCaptions(const std::vector<std::pair<int, QString>>& captions, QString* error)
{
    for (const auto& [recNo, value] : captions) {
        if (!m_table.setRecNo(recNo) || !m_table.edit())
            return fail(error, QStringLiteral("record %1 non trovato").arg(recNo));
        if (!m_table.setField(m_f.info2, value, error) || !m_table.post(error)) {
            m_table.cancel();
            return false;
        }
    }
    return true;
}

bool QuestionBank::setCaptions(const std::vector<std::pair<int, QString>>& captions, QString* error,
                               bool* writeFailed)
{
    if (writeFailed)
        *writeFailed = false;
    if (!isOpen())
        return fail(error, QStringLiteral("CdsQuesiti non attivo"));
    if (m_f.info2 < 0)
        return fail(error, QStringLiteral("%1: nessun campo Info2").arg(fileName()));
    std::vector<std::pair<int, QString>> previous;
    for (const auto& [recNo, value] : captions) {
        if (recNo < 1 || recNo > m_table.recordCount())
            return fail(error, QStringLiteral("record %1 non trovato").arg(recNo));
        previous.emplace_back(recNo, caption(recNo));
    }
    QString why;
    const bool set = writeCaptions(captions, &why);
    const bool saved = set && m_table.saveToFile(fileName(), formatOf(fileName()), &why);
    if (!saved) {
        // What is held must match the file that is still on disk.
        std::reverse(previous.begin(), previous.end());
        writeCaptions(previous, nullptr);
        if (writeFailed)
            *writeFailed = set;
        return fail(error, why);
    }
    return true;
}

}  // namespace ziro
