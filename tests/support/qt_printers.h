#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for Qt values in GoogleTest assertions.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '[' << l.join(QStringLiteral("|")).toStdString() << ']';
}

inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << "bytes(" << b.size() << ") \"" << QString::fromLatin1(b.toHex(' ')).toStdString() << '"';
}
