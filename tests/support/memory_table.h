#pragma once

// The record on show as the photo and note viewers write it: fields in
// memory, every store counted, and a store that can be made to fail as a
// full disk would.

#include "viewers/photo.h"

#include <QMap>
#include <QString>

namespace ziro::test {

struct MemoryTable : CaptionTable {
    bool hasField(const QString& name) const override { return fields.contains(name); }
    QString fieldText(const QString& name) const override { return fields.value(name); }
    bool storeAndSave(const QString& name, const QString& value, QString* error) override
    {
        if (failing) {
            if (error)
                *error = QStringLiteral("disco pieno");
            return false;
        }
        fields[name] = value;
        ++saves;
        return true;
    }
    QString fileName() const override { return file; }

    QMap<QString, QString> fields;
    QString file = QStringLiteral("tabella.xml");
    bool failing = false;
    int saves = 0;
};

}  // namespace ziro::test
