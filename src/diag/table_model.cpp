#include "diag/table_model.h"

#include "diag/reporter.h"
#include "platform/dataset/data_table.h"

namespace ziro {

void DataTableModel::setTable(DataTable* table)
{
    beginResetModel();
    m_table = table;
    readNames();
    endResetModel();
}

void DataTableModel::refresh()
{
    beginResetModel();
    readNames();
    endResetModel();
}

void DataTableModel::readNames()
{
    m_names.clear();
    if (m_table && m_table->isOpen())
        for (const FieldDef& f : m_table->fields())
            m_names << f.name;
}

int DataTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_table || !m_table->isOpen())
        return 0;
    return m_table->recordCount();
}

int DataTableModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_table || !m_table->isOpen())
        return 0;
    return int(m_names.size());
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !m_table || !m_table->isOpen())
        return {};
    QString text = m_table->fieldTextAt(index.row() + 1, index.column());
    // Captions hold line breaks; one grid line per record reads better.
    text.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    text.replace(QLatin1Char('\n'), QLatin1String(" / "));
    return text;
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_table || !m_table->isOpen())
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= m_names.size())
        return {};
    return m_names.at(section);
}

QString databaseInfo(const DataTable& table)
{
    if (!table.isOpen())
        return databaseInfoText(0, QString(), QString());
    const int count = table.recordCount();
    const int field = table.fieldIndex(QStringLiteral("Argomento"));
    if (count == 0 || field < 0)
        return databaseInfoText(count, QString(), QString());
    return databaseInfoText(count, table.fieldTextAt(1, field), table.fieldTextAt(count, field));
}

}  // namespace ziro
