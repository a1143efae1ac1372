#pragma once

#include <QAbstractTableModel>

namespace ziro {

class DataTable;

// A read-only view of a content table's current range for the diagnostic
// grid: one row per record in the current order, one column per field.
class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows `table` (or nothing); call again after the table was reopened,
    // filtered or reordered.
    void setTable(DataTable* table);
    void refresh();
    DataTable* table() const { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void readNames();

    DataTable* m_table = nullptr;
    QStringList m_names;
};

// The "DataBase" line of the diagnostics: the records of the current range
// and its first and last topic.
QString databaseInfo(const DataTable& table);

}  // namespace ziro
