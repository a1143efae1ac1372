#pragma once

// The quiz's question bank and its statement list: the bank of the current
// edition, reloaded at every edition change, and the list of one quiz run
// built from a block or from a custom lesson's references.
//
//   question_bank.h   the bank file: block index, statements, captions
//   statement_list.h  the 70 positions of a run
//   quiz_order.h      the fixed and the random order
//   quiz_list_port.h  what the quiz window is asked to do meanwhile

#include "content/edition.h"
#include "quiz/question_bank.h"
#include "quiz/quiz_list_port.h"
#include "quiz/statement_list.h"

#include <QSet>
#include <QString>

namespace ziro {

struct Config;
class DataTable;
class Reports;

class QuizBank : public QuestionBankLoader {
public:
    QuizBank(Globals& g, const Config& config, Reports& reports, QuizRandom& random);

    // The quiz window, once it exists; nullptr returns to showing nothing.
    void setPort(QuizListPort* port);

    void loadQuestionBank(const EditionInfo& edition) override;
    // (Re)loads the bank of edition 0 to 3; any other number does nothing.
    void CaricaBancaQuesiti(int n);

    // Fills the list from the block a record's reference names (its last 7
    // characters in edition C-D-E, else its last 5). False, with an empty
    // list, when the bank is not loaded or a statement's question number is
    // damaged.
    bool LeggiNewQuiz(const QString& reference);
    // Fills the list from the current record of a custom lesson; a lesson
    // type of 0, 4, 5 or 6 first changes to that edition. True when the
    // lesson names at least one statement.
    bool LeggiCustomQuiz(DataTable& lesson);
    // Stores caption `text` for the statement at `position` (1-based); on
    // the first statement also for every statement of its block that has
    // none. Allowed only with the block caption editable and a statement
    // with a numeric id. `lesson` is the custom lesson the list came from,
    // nullptr for a block. The list is reloaded afterwards. False (with a
    // beep) when nothing was stored.
    bool updateCaption(const QString& text, int position, DataTable* lesson = nullptr);

    StatementList& list() { return m_list; }
    const StatementList& list() const { return m_list; }
    QuestionBank& bank() { return m_bank; }
    const QuestionBank& bank() const { return m_bank; }

private:
    void startList();
    void orderInto(const std::vector<QuizStatement>& sources, bool keepOrder);
    bool storeCaption(const QString& text, int position);

    Globals& m_g;
    const Config& m_config;
    Reports& m_reports;
    QuizRandom& m_random;
    QuizListPort m_nullPort;
    QuizListPort* m_port = &m_nullPort;
    QuestionBank m_bank;
    StatementList m_list;
    QString m_reference;          // of the last block loaded
    QSet<QString> m_cappedBlocks;  // told once per bank load
};

}  // namespace ziro
