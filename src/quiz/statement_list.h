#pragma once

// The statement list of one quiz run: up to 70 statements laid out in the
// order they are shown, with what the quiz window keeps beside them.

#include "quiz/quiz_order.h"

#include <QString>

#include <array>
#include <vector>

namespace ziro {

// One statement as the quiz shows it.
struct QuizStatement {
    std::array<QString, 3> Aff;     // Italian, French, German
    int Responso = 0;               // 1 true, 0 false
    int PercErr = 0;                // difficulty, 0 to 10
    QString IntegratoAffermazione;  // picture code, may be empty
    int ARRnum = 0;                 // question number inside its block
    QString TitBlk;                 // block caption
    QString NumRec;                 // the statement's id in its block
    QString AudioArr;               // base name of the spoken statement
    QString GroupsArr;              // licence-group digits (C-D-E)
    // The block the statement came from: a custom lesson mixes blocks, and a
    // caption or a film must follow the statement, not the last one read.
    QString Blocco;

    bool isEmpty() const { return NumRec.isEmpty() && Aff[0].isEmpty(); }
};

struct StatementList {
    std::array<QuizStatement, kMaxStatements> Affermazioni;
    int NumAff = 0;
    std::array<int, kMaxStatements> GiaUsciti{};
    QString SegnaleCorrente;
    QString AssociatoDomanda;
    // The block reference last loaded; empty whenever the list holds
    // anything else, so that a reopened block is never taken for another run.
    QString TmpNomeFile;

    // Position 1 to 70.
    QuizStatement& at(int position) { return Affermazioni[static_cast<std::size_t>(position - 1)]; }
    const QuizStatement& at(int position) const
    {
        return Affermazioni[static_cast<std::size_t>(position - 1)];
    }
    // Empties every position and the drawn entries; NumAff becomes 0.
    void clearPositions();
};

// The text shown when a block is loaded with the Control key held: a head
// line, then one line per statement in the bank's order.
QString diagnosticText(const QString& blockKey, int numAff, const QString& segnaleCorrente,
                       const std::vector<QuizStatement>& sources);

}  // namespace ziro
