#include "config/ini_file.h"

#include "platform/files/atomic_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <optional>

namespace ziro {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

QString trimBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.sliced(start, end - start).toString();
}

QString fold(const QString& name)
{
    return trimBlanks(name).toCaseFolded();
}

bool hasLineBreak(const QString& text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

bool isValidSectionName(const QString& section)
{
    return !trimBlanks(section).isEmpty() && !hasLineBreak(section);
}

// A key must read back as the same key: '=' would split it, and a leading
// '[', ';' or '#' would turn its line into a header or a comment.
bool isValidKeyName(const QString& key)
{
    const QString name = trimBlanks(key);
    if (name.isEmpty() || hasLineBreak(name) || name.contains(u'='))
        return false;
    const QChar first = name.front();
    return first != u'[' && first != u';' && first != u'#';
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isHexDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    });
}

std::optional<int> parseInteger(const QString& text)
{
    // Hexadecimal as the classic runtime writes it ("$1F") or as C does.
    QStringView hex;
    if (text.startsWith(u'$'))
        hex = QStringView(text).sliced(1);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        hex = QStringView(text).sliced(2);
    if (!hex.isNull()) {
        if (!isHexDigits(hex) || hex.size() > 8)
            return std::nullopt;
        return static_cast<int>(hex.toUInt(nullptr, 16));
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

QString describe(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

std::shared_ptr<IniFile> IniFile::open(const QString& path, QString* error)
{
    auto fail = [error](const QString& reason) -> std::shared_ptr<IniFile> {
        if (error)
            *error = reason;
        return nullptr;
    };

    if (path.isEmpty())
        return fail(QStringLiteral("No settings file name given"));

    std::shared_ptr<IniFile> ini(new IniFile);
    ini->m_path = path;

    const QFileInfo info(path);
    if (!info.exists()) {
        if (error)
            error->clear();
        return ini;
    }
    // A pipe or a device would block or never end; a folder has no text.
    if (!info.isFile())
        return fail(QStringLiteral("Cannot read %1: not a regular file").arg(describe(path)));
    if (info.size() > kMaxFileSize)
        return fail(QStringLiteral("Cannot read %1: file too large").arg(describe(path)));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(describe(path), file.errorString()));
    // The size may have changed since it was checked; never read more.
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Cannot read %1: %2").arg(describe(path), file.errorString()));
    if (bytes.size() > kMaxFileSize)
        return fail(QStringLiteral("Cannot read %1: file too large").arg(describe(path)));

    ini->load(bytes);
    ini->m_exists = true;
    if (error)
        error->clear();
    return ini;
}

void IniFile::load(const QByteArray& bytes)
{
    QByteArrayView body(bytes);
    if (body.startsWith(kUtf8Bom) && isValidUtf8(body.sliced(3))) {
        m_bom = true;
        body = body.sliced(3);
        m_encoding = TextEncoding::Utf8;
    } else if (!isAscii(body) && isValidUtf8(body)) {
        m_encoding = TextEncoding::Utf8;
    } else {
        m_encoding = TextEncoding::Windows1252;
    }
    m_readEncoding = m_encoding;

    const qsizetype firstBreak = body.indexOf('\n');
    m_lineEnding = (firstBreak < 0 || (firstBreak > 0 && body[firstBreak - 1] == '\r'))
        ? LineEnding::CrLf
        : LineEnding::Lf;

    // Splitting the bytes before decoding is safe for UTF-8 too: 0x0A never
    // occurs inside a multi-byte sequence.
    qsizetype pos = 0;
    while (pos < body.size()) {
        const qsizetype newline = body.indexOf('\n', pos);
        qsizetype end = newline < 0 ? body.size() : newline;
        QByteArray eol;
        if (newline >= 0) {
            if (end > pos && body[end - 1] == '\r') {
                --end;
                eol = QByteArrayLiteral("\r\n");
            } else {
                eol = QByteArrayLiteral("\n");
            }
        }
        const QByteArrayView piece = body.sliced(pos, end - pos);
        Line line = parseLine(m_encoding == TextEncoding::Utf8 ? QString::fromUtf8(piece)
                                                              : decodeWindows1252(piece));
        line.raw = piece.toByteArray();
        line.eol = std::move(eol);
        m_lines.push_back(std::move(line));
        pos = newline < 0 ? body.size() : newline + 1;
    }
}

IniFile::Line IniFile::parseLine(QString text)
{
    Line line;
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;

    if (start == end) {
        line.kind = Line::Kind::Blank;
    } else if (text[start] == u';' || text[start] == u'#') {
        line.kind = Line::Kind::Comment;
    } else if (text[start] == u'[') {
        const qsizetype close = text.lastIndexOf(u']');
        if (close > start) {
            line.kind = Line::Kind::Section;
            line.name = trimBlanks(QStringView(text).sliced(start + 1, close - start - 1));
        }
    } else if (const qsizetype eq = text.indexOf(u'=', start); eq >= 0) {
        line.name = trimBlanks(QStringView(text).sliced(start, eq - start));
        if (!line.name.isEmpty()) {
            line.kind = Line::Kind::Key;
            qsizetype valueStart = eq + 1;
            while (valueStart < end && isBlank(text[valueStart]))
                ++valueStart;
            line.valueStart = valueStart;
            line.valueEnd = end; // end > eq: '=' itself is not blank
        }
    }
    if (line.kind == Line::Kind::Section || line.kind == Line::Kind::Key)
        line.foldedName = line.name.toCaseFolded();
    else
        line.name.clear();
    line.text = std::move(text);
    return line;
}

std::vector<std::pair<qsizetype, qsizetype>> IniFile::sectionRanges(const QString& foldedSection) const
{
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    if (foldedSection.isEmpty())
        return ranges;
    qsizetype open = -1;
    const qsizetype count = qsizetype(m_lines.size());
    for (qsizetype i = 0; i < count; ++i) {
        const Line& line = m_lines[i];
        if (line.kind != Line::Kind::Section)
            continue;
        if (open >= 0) {
            ranges.emplace_back(open, i);
            open = -1;
        }
        if (line.foldedName == foldedSection)
            open = i;
    }
    if (open >= 0)
        ranges.emplace_back(open, count);
    return ranges;
}

qsizetype IniFile::findKey(const QString& section, const QString& key) const
{
    const QString foldedKey = fold(key);
    if (foldedKey.isEmpty())
        return -1;
    for (const auto& [header, end] : sectionRanges(fold(section))) {
        for (qsizetype i = header + 1; i < end; ++i) {
            const Line& line = m_lines[i];
            if (line.kind == Line::Kind::Key && line.foldedName == foldedKey)
                return i;
        }
    }
    return -1;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const qsizetype index = findKey(section, key);
    if (index < 0)
        return defaultValue;
    const Line& line = m_lines[index];
    return line.text.sliced(line.valueStart, line.valueEnd - line.valueStart);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    if (findKey(section, key) < 0)
        return defaultValue;
    return parseInteger(readString(section, key)).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    if (findKey(section, key) < 0)
        return defaultValue;
    const QString value = readString(section, key);
    if (const auto number = parseInteger(value))
        return *number != 0;
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
        || value.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0
        || value.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    return findKey(section, key) >= 0;
}

bool IniFile::sectionExists(const QString& section) const
{
    return !sectionRanges(fold(section)).empty();
}

QStringList IniFile::readSection(const QString& section) const
{
    QStringList keys;
    QSet<QString> seen;
    for (const auto& [header, end] : sectionRanges(fold(section))) {
        for (qsizetype i = header + 1; i < end; ++i) {
            const Line& line = m_lines[i];
            if (line.kind == Line::Kind::Key && !seen.contains(line.foldedName)) {
                seen.insert(line.foldedName);
                keys.append(line.name);
            }
        }
    }
    return keys;
}

QStringList IniFile::sections() const
{
    QStringList names;
    QSet<QString> seen;
    for (const Line& line : m_lines) {
        if (line.kind == Line::Kind::Section && !line.foldedName.isEmpty()
            && !seen.contains(line.foldedName)) {
            seen.insert(line.foldedName);
            names.append(line.name);
        }
    }
    return names;
}

QByteArray IniFile::newLineEnding() const
{
    return m_lineEnding == LineEnding::CrLf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

void IniFile::insertLine(qsizetype index, const QString& text)
{
    Line line = parseLine(text);
    line.edited = true;
    // A file that ended without a line break keeps ending that way: the break
    // goes between the old last line and the new one.
    if (index == qsizetype(m_lines.size()) && !m_lines.empty() && m_lines.back().eol.isEmpty())
        m_lines.back().eol = newLineEnding();
    else
        line.eol = newLineEnding();
    m_lines.insert(m_lines.begin() + index, std::move(line));
    m_dirty = true;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    if (!isValidSectionName(section) || !isValidKeyName(key) || hasLineBreak(value)) {
        m_lastError = QStringLiteral("Refused to write [%1] %2: the name or value would break the file")
                          .arg(section, key);
        return false;
    }

    if (const qsizetype index = findKey(section, key); index >= 0) {
        Line& line = m_lines[index];
        if (QStringView(line.text).sliced(line.valueStart, line.valueEnd - line.valueStart) != value) {
            // Only the value changes; the key's spelling and spacing stay.
            line.text = line.text.left(line.valueStart) + value + line.text.sliced(line.valueEnd);
            line.valueEnd = line.valueStart + value.size();
            line.edited = true;
            m_dirty = true;
        }
        return commit();
    }

    const QString keyLine = trimBlanks(key) + u'=' + value;
    const auto ranges = sectionRanges(fold(section));
    if (!ranges.empty()) {
        const auto [header, end] = ranges.front();
        qsizetype at = header + 1;
        for (qsizetype i = header + 1; i < end; ++i) {
            if (m_lines[i].kind == Line::Kind::Key)
                at = i + 1;
        }
        insertLine(at, keyLine);
    } else {
        if (!m_lines.empty() && m_lines.back().kind != Line::Kind::Blank)
            insertLine(qsizetype(m_lines.size()), QString());
        insertLine(qsizetype(m_lines.size()), u'[' + trimBlanks(section) + u']');
        insertLine(qsizetype(m_lines.size()), keyLine);
    }
    return commit();
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::deleteKey(const QString& section, const QString& key)
{
    const QString foldedKey = fold(key);
    const auto ranges = sectionRanges(fold(section));
    // Back to front, so earlier indices stay valid; every occurrence goes, or
    // a shadowed duplicate would surface as the key's value.
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        for (qsizetype i = range->second - 1; i > range->first; --i) {
            const Line& line = m_lines[i];
            if (line.kind == Line::Kind::Key && line.foldedName == foldedKey) {
                m_lines.erase(m_lines.begin() + i);
                m_dirty = true;
            }
        }
    }
    return commit();
}

bool IniFile::eraseSection(const QString& section)
{
    const auto ranges = sectionRanges(fold(section));
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        const auto [header, end] = *range;
        qsizetype last = header;
        for (qsizetype i = header + 1; i < end; ++i) {
            const Line::Kind kind = m_lines[i].kind;
            if (kind == Line::Kind::Key || kind == Line::Kind::Odd)
                last = i;
        }
        // The blank lines that separated it from what follows go with it, so
        // erasing does not pile up empty lines.
        qsizetype stop = last + 1;
        while (stop < end && m_lines[stop].kind == Line::Kind::Blank)
            ++stop;
        m_lines.erase(m_lines.begin() + header, m_lines.begin() + stop);
        m_dirty = true;
    }
    return commit();
}

bool IniFile::commit()
{
    if (!m_dirty || !m_autoSave)
        return true;
    return save();
}

QByteArray IniFile::serialize(TextEncoding encoding, bool* lossless) const
{
    QByteArray out;
    if (encoding == TextEncoding::Utf8 && m_bom)
        out.append(kUtf8Bom);
    for (const Line& line : m_lines) {
        if (!line.edited && encoding == m_readEncoding) {
            out.append(line.raw);
        } else if (encoding == TextEncoding::Utf8) {
            out.append(line.text.toUtf8());
        } else {
            bool ok = true;
            out.append(encodeWindows1252(line.text, &ok));
            if (!ok && lossless)
                *lossless = false;
        }
        out.append(line.eol);
    }
    return out;
}

QByteArray IniFile::toBytes() const
{
    bool lossless = true;
    QByteArray bytes = serialize(m_encoding, &lossless);
    return lossless ? bytes : serialize(TextEncoding::Utf8, nullptr);
}

bool IniFile::save()
{
    bool lossless = true;
    QByteArray bytes = serialize(m_encoding, &lossless);
    if (!lossless) {
        // Losing characters would damage the settings; UTF-8 holds them all.
        m_encoding = TextEncoding::Utf8;
        bytes = serialize(m_encoding, nullptr);
    }
    QString reason;
    if (!saveFileAtomically(m_path, bytes, &reason)) {
        m_lastError = QStringLiteral("Cannot write %1: %2").arg(describe(m_path), reason);
        return false;
    }
    m_dirty = false;
    m_exists = true;
    m_lastError.clear();
    return true;
}

} // namespace ziro
