#pragma once

#include <QString>

namespace ziro {

class DataTable;

// The caption of the book-position tool for the page on show.
QString bookPositionCaption(const QString& page, int scroll);

// Stores the page and its scroll position into the current record: Libro,
// FreX = 1, FreY = scroll + 15. False (nothing written) when there is no
// current record or the record cannot take the values.
bool storeBookPosition(DataTable& table, const QString& page, int scroll, QString* error = nullptr);

}  // namespace ziro
