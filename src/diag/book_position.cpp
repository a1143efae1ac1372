#include "diag/book_position.h"

#include "platform/dataset/data_table.h"

namespace ziro {

QString bookPositionCaption(const QString& page, int scroll)
{
    return QStringLiteral("Pag. ") + page + QStringLiteral(" - Pos. 1,") + QString::number(scroll + 15);
}

bool storeBookPosition(DataTable& table, const QString& page, int scroll, QString* error)
{
    if (!table.isOpen() || table.isEmpty()) {
        if (error)
            *error = QStringLiteral("nessun record corrente");
        return false;
    }
    if (!table.edit())
        return false;
    if (!table.setField(QStringLiteral("Libro"), page, error) ||
        !table.setField(QStringLiteral("FreX"), 1, error) ||
        !table.setField(QStringLiteral("FreY"), scroll + 15, error)) {
        table.cancel();
        return false;
    }
    return table.post(error);
}

}  // namespace ziro
