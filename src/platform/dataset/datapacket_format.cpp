#include "platform/dataset/datapacket_format.h"

#include <QSet>

namespace ziro::datapacket {

namespace {

struct OptionName
{
    IndexOption option;
    const char* name;
};

constexpr OptionName kOptionNames[] = {
    {IndexOption::Primary, "primary"},
    {IndexOption::Unique, "unique"},
    {IndexOption::Descending, "descending"},
    {IndexOption::CaseInsensitive, "caseinsensitive"},
};

bool isNameStart(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
           c == QLatin1Char('.');
}

QString derivedName(const QString& fieldName)
{
    QString name;
    name.reserve(fieldName.size() + 1);
    for (QChar c : fieldName)
        name.append(isNameChar(c) ? c : QLatin1Char('_'));
    if (name.isEmpty() || !isNameStart(name.front()))
        name.prepend(QLatin1Char('_'));
    return name;
}

}  // namespace

const char* fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
        return kFieldTypeInteger;
    case FieldType::SmallInt:
        return kFieldTypeSmallInt;
    case FieldType::Text:
        return kFieldTypeText;
    case FieldType::WideText:
        return kFieldTypeWideText;
    case FieldType::Boolean:
        return kFieldTypeBoolean;
    case FieldType::Memo:
        return kFieldTypeBlob;
    }
    return kFieldTypeText;
}

bool isPlainXmlName(QStringView name)
{
    if (name.isEmpty() || !isNameStart(name.front()))
        return false;
    for (QChar c : name) {
        if (!isNameChar(c))
            return false;
    }
    return true;
}

QStringList rowAttributeNames(const QList<FieldDef>& fields)
{
    QStringList names;
    names.reserve(fields.size());
    QSet<QString> taken;
    // First pass: keep every usable name a field already has (the file's own
    // naming), so that rewriting a file mirrors it.
    for (const FieldDef& f : fields) {
        QString name;
        if (isPlainXmlName(f.xmlName) && !taken.contains(f.xmlName))
            name = f.xmlName;
        else if (f.xmlName.isEmpty() && isPlainXmlName(f.name) && !taken.contains(f.name))
            name = f.name;
        if (!name.isEmpty())
            taken.insert(name);
        names.append(name);
    }
    for (int i = 0; i < fields.size(); ++i) {
        if (!names[i].isEmpty())
            continue;
        const QString base = derivedName(fields[i].name);
        QString name = base;
        for (int n = 2; taken.contains(name); ++n)
            name = base + QLatin1Char('_') + QString::number(n);
        taken.insert(name);
        names[i] = name;
    }
    return names;
}

bool isIndexParamName(QStringView name)
{
    if (!name.startsWith(QLatin1String("INDEX")) || name.size() == 5)
        return false;
    for (QChar c : name.mid(5)) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

QString indexParamName(int number)
{
    return QStringLiteral("INDEX") + QString::number(number);
}

QString encodeIndexDef(const IndexDef& index)
{
    QStringList options;
    for (const OptionName& o : kOptionNames) {
        if (index.options.testFlag(o.option))
            options.append(QLatin1String(o.name));
    }
    return index.name + QLatin1Char('|') + index.fields.join(QLatin1Char(';')) + QLatin1Char('|') +
           options.join(QLatin1Char(','));
}

std::optional<IndexDef> decodeIndexDef(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('|'));
    if (parts.size() != 3 || parts[0].isEmpty())
        return std::nullopt;
    IndexDef index;
    index.name = parts[0];
    index.fields = parts[1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (index.fields.isEmpty())
        return std::nullopt;
    for (const QString& word : parts[2].split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool known = false;
        for (const OptionName& o : kOptionNames) {
            if (word.trimmed() == QLatin1String(o.name)) {
                index.options |= o.option;
                known = true;
            }
        }
        if (!known)
            return std::nullopt;
    }
    return index;
}

bool isStorableIndexDef(const IndexDef& index, QString* error)
{
    auto bad = [](const QString& s) {
        for (QChar c : s) {
            if (c == QLatin1Char('|') || c.unicode() < 0x20)
                return true;
        }
        return false;
    };
    QString reason;
    if (index.name.isEmpty())
        reason = QStringLiteral("An index needs a name");
    else if (bad(index.name))
        reason = QStringLiteral("Index name \"%1\" holds '|' or a control character").arg(index.name);
    else if (index.fields.isEmpty())
        reason = QStringLiteral("Index \"%1\" has no fields").arg(index.name);
    for (const QString& f : index.fields) {
        if (reason.isEmpty() && bad(f))
            reason = QStringLiteral("Index field \"%1\" holds '|' or a control character").arg(f);
    }
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

}  // namespace ziro::datapacket
