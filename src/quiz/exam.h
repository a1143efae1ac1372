#pragma once

// A mock licence exam on the projector: thirty statements drawn from the
// A-B bank as the official paper spreads them, a twenty-minute countdown,
// then a review that reveals each answer and a summary. The class answers
// on paper, so the exam keeps no answers of its own: it only shows.
//
// The chapter of a block is the first two characters of its key; the
// importer writes keys as chapter, sub-topic and part.

#include "quiz/statement_list.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace ziro {

class QuestionBank;

inline constexpr int kExamStatements = 30;
inline constexpr int kExamSeconds = 20 * 60;
inline constexpr int kExamMaxErrors = 3;
// The chapters of the official A-B syllabus: a bank with fewer still gives
// an exam, but the paper then repeats chapters it should not.
inline constexpr int kExamChapters = 25;
// Seeds are shown to the class and typed back: six digits at most.
inline constexpr std::uint32_t kExamMaxSeed = 999999;

// The chapter a block belongs to.
QString examChapter(const QString& blockKey);

struct ExamItem {
    QuizStatement statement;
    QString chapter;
    int recNo = 0;  // in the bank the exam was drawn from
};

struct ExamDraw {
    std::uint32_t seed = 0;
    std::vector<ExamItem> items;  // kExamStatements of them, or none
    // Set when the exam could not be drawn (items empty), in Italian.
    QString error;
    // Set when the exam was drawn but is not quite the official one.
    QString warning;
    bool ok() const { return !items.empty(); }
};

// Draws an exam from `bank` with `seed` (1 to kExamMaxSeed): the same bank
// and seed always give the same exam. Every chapter gets a statement before
// any gets a second; no two statements share a block; the exam is shown in
// chapter order.
ExamDraw drawExam(const QuestionBank& bank, std::uint32_t seed);

// A fresh seed from the clock, 1 to kExamMaxSeed.
std::uint32_t newExamSeed();

// The run of one drawn exam: answering (one statement at a time against
// the clock), review (each answer revealed), summary.
class ExamRun {
public:
    enum class Phase { Answering, Review, Summary };

    explicit ExamRun(ExamDraw draw);

    Phase phase() const { return m_phase; }
    // 1 to the number of statements; in the summary, the last one.
    int position() const { return m_position; }
    int count() const { return static_cast<int>(m_draw.items.size()); }
    const ExamItem& current() const { return m_draw.items[static_cast<std::size_t>(m_position - 1)]; }
    const ExamDraw& draw() const { return m_draw; }
    int secondsLeft() const { return m_secondsLeft; }
    // Whether the answering ended because the time ran out.
    bool timedOut() const { return m_timedOut; }
    // Seconds the class took, at most the whole time.
    int secondsUsed() const { return kExamSeconds - m_secondsLeft; }

    // Forward past the last statement ends the answering (or the review);
    // false when nothing moved.
    bool forward();
    bool back();
    // Ends the answering at once and starts the review at the first
    // statement.
    void finish();
    // One second of the countdown; at zero the answering ends. Only the
    // answering counts down.
    void tick();

    // The answer shows only once the answering is over.
    bool answerShown() const { return m_phase != Phase::Answering; }

private:
    ExamDraw m_draw;
    Phase m_phase = Phase::Answering;
    int m_position = 1;
    int m_secondsLeft = kExamSeconds;
    bool m_timedOut = false;
};

// "12:05" for the countdown.
QString examClock(int seconds);
// "Vero" or "Falso".
QString examAnswerText(const QuizStatement& s);
// The summary's text: the seed, the time taken, the answers in a grid.
QString examSummary(const ExamRun& run);

}  // namespace ziro
