#pragma once

// Content tables built in memory for the tests of the walk: a record is its
// NumRec, its topic and the few fields the case is about.

#include "platform/dataset/data_table.h"

#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

namespace ziro::test {

struct Rec {
    using Fields = std::vector<std::pair<const char*, const char*>>;
    Rec(int numRec, const char* argomento, Fields f = {})
        : NumRec(numRec), Argomento(argomento), fields(std::move(f))
    {
    }
    int NumRec;
    const char* Argomento;
    Fields fields;
};

// The fields of the content record that the walk reads.
inline QList<FieldDef> walkFields()
{
    QList<FieldDef> defs{FieldDef::integer(QStringLiteral("NumRec")),
                         FieldDef::text(QStringLiteral("Argomento"), 3),
                         FieldDef::text(QStringLiteral("Domanda"), 7),
                         FieldDef::text(QStringLiteral("Nome segnale"), 5),
                         FieldDef::text(QStringLiteral("Selezione"), 3),
                         FieldDef::text(QStringLiteral("Spare"), 8),
                         FieldDef::text(QStringLiteral("Libro"), 5),
                         FieldDef::text(QStringLiteral("Audio"), 5),
                         FieldDef::text(QStringLiteral("Video"), 5),
                         FieldDef::text(QStringLiteral("Html1"), 5),
                         FieldDef::text(QStringLiteral("Testo"), 320),
                         FieldDef::text(QStringLiteral("Foto1"), 5),
                         FieldDef::text(QStringLiteral("Foto2"), 5),
                         FieldDef::memo(QStringLiteral("TxtF1")),
                         FieldDef::memo(QStringLiteral("TxtF2")),
                         FieldDef::text(QStringLiteral("Quesito1"), 17)};
    for (int i = 1; i <= 10; ++i)
        defs << FieldDef::text(QStringLiteral("Icona%1").arg(i), 5);
    return defs;
}

// Fills `table` with `rows` (in any order; the walk orders by topic and
// NumRec). `fields` narrows the layout, for tables that lack fields.
inline bool buildTable(DataTable& table, std::initializer_list<Rec> rows,
                       const QList<FieldDef>& fields = walkFields())
{
    if (!table.createFromFields(fields))
        return false;
    for (const Rec& r : rows) {
        if (!table.append() || !table.setField(QStringLiteral("NumRec"), r.NumRec)
            || !table.setField(QStringLiteral("Argomento"), QString::fromLatin1(r.Argomento)))
            return false;
        for (const auto& [name, value] : r.fields) {
            if (!table.setField(QString::fromLatin1(name), QString::fromLatin1(value)))
                return false;
        }
        if (!table.post())
            return false;
    }
    table.setFileName(QStringLiteral("/lessons/test.xml"));
    return true;
}

}  // namespace ziro::test
