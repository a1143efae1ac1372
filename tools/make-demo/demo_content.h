#pragma once

#include <QString>

namespace ziro::demo {

// Writes the four edition content tables and the four question banks into
// the program folder. False (with a reason in `error`) when one cannot be
// written.
bool writeContentTables(const QString& programDir, QString* error);

// Writes the topic list files of the four editions (one per topic group),
// then reads them back against the content tables: run it after
// writeContentTables. False when a file cannot be written or when a row the
// general menu lets the teacher choose would find nothing to show.
bool writeTopicLists(const QString& programDir, QString* error);

// Writes the sign, linked-sign and icon pictures the tables name, into the
// data folders under `ziroDir`.
bool writeSignPictures(const QString& ziroDir, QString* error);

}  // namespace ziro::demo

namespace ziro::demo {

// Writes the films the records and the general menu's lists name into the
// film folder `videoDir`, masked as the data folders keep them: MPEG
// program streams as ".KXV", MP4 films as ".KXS". False when one cannot be
// made (the reason in `error`).
bool writeFilms(const QString& videoDir, QString* error);

}  // namespace ziro::demo
