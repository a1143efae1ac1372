#pragma once

// One edition's question bank: the statements of a datapacket file, kept in
// block order so a block is found without reading the whole bank, and the
// block captions, the one thing the program writes back.

#include "platform/dataset/data_table.h"
#include "quiz/statement_list.h"

#include <QString>

#include <utility>
#include <vector>

namespace ziro {

// The records of one block: record numbers first .. first + count - 1.
struct BankBlock {
    int first = 0;
    int count = 0;
    bool empty() const { return count == 0; }
};

// Record numbers count from 1 in block order: blocks by key, and the
// statements of a block in the order the file has them. They hold until the
// next open.
class QuestionBank {
public:
    QuestionBank();

    // Loads the bank file, replacing what was held; false (the bank closed
    // and `error` set) when the file is missing, unreadable, or holds no
    // field "Blocco".
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return m_table.isOpen(); }
    QString fileName() const { return m_table.fileName(); }

    // The statements of a block; empty for a block the bank does not hold.
    BankBlock block(const QString& key) const;
    // Distinct block keys (counted by a walk through the bank).
    int blockCount() const;
    // Every block with its key, in bank order. Walked once per open and
    // kept: an exam draws from it again and again while the class waits.
    const std::vector<std::pair<QString, BankBlock>>& blocks() const;
    int statementCount() const { return m_table.isOpen() ? m_table.recordCount() : 0; }

    // Record `recNo` read as a statement. False when its "Domanda" is
    // neither empty nor a whole number.
    bool readStatement(int recNo, QuizStatement* statement) const;
    // The record of a block holding the statement `id`; 0 when none. Ids
    // made only of digits match by value ("0007" finds "7"), as lesson
    // references pad them; others match exactly.
    int find(const QString& blockKey, const QString& id) const;
    QString caption(int recNo) const;

    // Sets the caption of each record given and writes the bank back to its
    // file at once, in the form it was read. On any failure the file and the
    // captions held stay as they were and `error` says why; `writeFailed`
    // tells a failed write from a caption the field refused.
    bool setCaptions(const std::vector<std::pair<int, QString>>& captions, QString* error = nullptr,
                     bool* writeFailed = nullptr);

private:
    bool writeCaptions(const std::vector<std::pair<int, QString>>& captions, QString* error);
    QString text(int recNo, int field) const { return m_table.fieldTextAt(recNo, field); }

    DataTable m_table;
    mutable std::vector<std::pair<QString, BankBlock>> m_blocks;
    mutable bool m_blocksKnown = false;
    struct Fields {
        int blocco = -1, id = -1, risposta = -1, testo = -1, lingua1 = -1, lingua2 = -1, difficolta = -1,
            figura = -1, domanda = -1, info2 = -1, audio1 = -1, gruppo1 = -1;
    } m_f;
};

}  // namespace ziro
