#pragma once

// Content tables of the program's record layout, filled with generated
// Italian lesson data: for benchmarks, tests and the demo installation.

#include "platform/dataset/table_schema.h"

#include <QList>
#include <QString>

namespace ziro {

class DataTable;

// The fields of a content record in file order: NumRec, Domanda, ...,
// Foto1..30, TxtF1..30 (memos), Icona1..13, Gruppo1..3, Tipo,
// Quesito1..70. 168 fields; "Nome segnale" keeps its blank.
QList<FieldDef> contentTableFields();

// Creates `table` from contentTableFields() and appends `records` records:
// NumRec 1..n, topics "A01".."J17" in blocks with some strays, sign names
// (some with the leading "f"), texts and captions with accents and line
// breaks, photographs and captions sparsely filled, quiz references mostly
// empty. The same seed gives the same table. False (with `error`) only when
// the table cannot be built.
bool fillSampleContentTable(DataTable& table, int records, unsigned seed = 1, QString* error = nullptr);

}  // namespace ziro
