#pragma once

// Question banks written by the program's own code: the layout of a bank
// record, one statement appended at a time, and generated banks of any size,
// for the demo installation, benchmarks and tests.

#include "platform/dataset/table_schema.h"

#include <QList>
#include <QString>

namespace ziro {

class DataTable;

// The fields of a bank record in file order: Blocco, id, Risposta, Testo,
// Lingua1, Lingua2, Difficolta, Figura, Domanda, Info2, Audio1, Gruppo1.
QList<FieldDef> questionBankFields();

struct BankRow {
    QString Blocco;
    QString id;
    bool Risposta = false;
    QString Testo;
    QString Lingua1;
    QString Lingua2;
    int Difficolta = 0;
    QString Figura;
    QString Domanda;
    QString Info2;
    QString Audio1;
    QString Gruppo1;
};

// Appends one statement to an open bank table.
bool appendBankRow(DataTable& table, const BankRow& row, QString* error = nullptr);

// Creates `table` as a bank of `statements` statements in blocks of
// `perBlock` (the last one may be shorter), keys "10001" upwards, with
// Italian, French and German texts. The same arguments give the same bank.
bool fillSampleBank(DataTable& table, int statements, int perBlock = 10, QString* error = nullptr);

}  // namespace ziro
