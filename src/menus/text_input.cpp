#include "menus/text_input.h"

#include "platform/files/paths.h"

namespace ziro {

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')
        || u == u'{' || u == u'|' || u == u'}' || u == u' ' || u == u'-' || u == u'_';
}

bool acceptNameKey(QChar key, int currentLength)
{
    const char16_t u = key.unicode();
    if (u == u'\b' || u == u'\r' || u == u'\n')
        return true;
    return isNameChar(key) && currentLength <= kNameLength;
}

QString normaliseName(const QString& fieldText)
{
    QString name = fieldText.left(kNameLength).trimmed().toLower();
    if (!name.isEmpty() && name.at(0) >= u'a' && name.at(0) <= u'z')
        name[0] = name.at(0).toUpper();
    return name;
}

NameCheck confirmName(const QString& fieldText)
{
    for (QChar c : fieldText)
        if (!isNameChar(c))
            return {NameVerdict::Refused, {}};
    const QString name = normaliseName(fieldText);
    if (name.isEmpty())
        return {NameVerdict::Empty, {}};
    if (!isPlainName(name))
        return {NameVerdict::Refused, {}};
    return {NameVerdict::Accepted, name};
}

}  // namespace ziro
