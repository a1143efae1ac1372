#include "platform/dataset/table_store.h"

#include <QSet>

#include <algorithm>
#include <cstring>

namespace ziro {

void TableStore::rebuildFieldLookup()
{
    m_exactNames.clear();
    m_foldedNames.clear();
    for (int i = 0; i < fields.size(); ++i) {
        m_exactNames.insert(fields[i].name, i);
        m_foldedNames.insert(fields[i].name.toCaseFolded(), i);
    }
}

int TableStore::fieldIndex(const QString& name) const
{
    // Callers nearly always spell the name as the file does: try that before
    // paying for case folding.
    const auto exact = m_exactNames.constFind(name);
    if (exact != m_exactNames.constEnd())
        return exact.value();
    return m_foldedNames.value(name.toCaseFolded(), -1);
}

int TableStore::indexDefIndex(const QString& name) const
{
    for (int i = 0; i < indexes.size(); ++i) {
        if (indexes[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const StoredCell* TableStore::findCell(std::uint32_t row, int field) const
{
    const StoredRow& r = rows[row];
    const StoredCell* first = cells.data() + r.firstCell;
    const StoredCell* last = first + r.cellCount;
    const StoredCell* it = std::lower_bound(first, last, field, [](const StoredCell& c, int f) { return c.field < f; });
    return (it != last && it->field == field) ? it : nullptr;
}

StoredCell TableStore::makeCell(int field, const char* text, std::size_t length)
{
    StoredCell cell{std::uint16_t(field), 0, std::uint32_t(length), 0};
    if (length <= StoredCell::kInlineBytes) {
        std::memcpy(&cell.payload, text, length);
    } else {
        cell.payload = bytes.size();
        bytes.append(text, length);
    }
    return cell;
}

std::uint32_t TableStore::appendCells(const std::vector<CellValue>& values)
{
    const auto firstCell = std::uint32_t(cells.size());
    for (const CellValue& v : values)
        cells.push_back(makeCell(v.field, v.text.constData(), std::size_t(v.text.size())));
    return firstCell;
}

std::uint32_t TableStore::appendRow(const std::vector<CellValue>& values)
{
    const std::uint32_t firstCell = appendCells(values);
    rows.push_back({firstCell, std::uint16_t(values.size()), false});
    return std::uint32_t(rows.size() - 1);
}

void TableStore::replaceRow(std::uint32_t row, const std::vector<CellValue>& values)
{
    // The old image stays where it is: rewriting in place would shift every
    // later row, and an edited table is saved and reloaded long before the
    // garbage matters.
    rows[row].firstCell = appendCells(values);
    rows[row].cellCount = std::uint16_t(values.size());
}

std::size_t TableStore::memoryUsage() const
{
    std::size_t total = rows.capacity() * sizeof(StoredRow) + cells.capacity() * sizeof(StoredCell) +
                        bytes.capacity();
    for (const FieldDef& f : fields)
        total += sizeof(FieldDef) + std::size_t(f.name.size() + f.xmlName.size()) * 2 * 2;
    total += std::size_t(m_exactNames.capacity() + m_foldedNames.capacity()) * (sizeof(QString) + sizeof(int));
    return total;
}

QStringList splitFieldList(const QString& fields)
{
    QStringList names;
    for (const QString& part : fields.split(QLatin1Char(';'))) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

bool validateFieldDefs(const QList<FieldDef>& fields, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (fields.isEmpty())
        return fail(QStringLiteral("A table needs at least one field"));
    if (fields.size() > TableStore::kMaxFields)
        return fail(QStringLiteral("Too many fields (%1)").arg(fields.size()));
    QSet<QString> seen;
    for (const FieldDef& f : fields) {
        if (f.name.trimmed().isEmpty())
            return fail(QStringLiteral("A field has no name"));
        if (f.name.contains(QLatin1Char(';')))
            return fail(QStringLiteral("Field name \"%1\" holds ';', which separates field lists").arg(f.name));
        if (f.width < 0)
            return fail(QStringLiteral("Field \"%1\" has a negative width").arg(f.name));
        const QString folded = f.name.toCaseFolded();
        if (seen.contains(folded))
            return fail(QStringLiteral("Field \"%1\" is defined twice").arg(f.name));
        seen.insert(folded);
    }
    return true;
}

}  // namespace ziro
