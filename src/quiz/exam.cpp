#include "quiz/exam.h"

#include "quiz/question_bank.h"

#include <QDateTime>

#include <algorithm>
#include <utility>

namespace ziro {

namespace {

// A generator of our own rather than a standard distribution: the same seed
// must give the same exam on every build, and the standard distributions
// may differ between library versions.
class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : m_state(seed) {}
    // 0 to n - 1 (n >= 1).
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t m_state;
};

template <typename T>
void shuffle(std::vector<T>& v, SeededRandom& random)
{
    for (int i = static_cast<int>(v.size()) - 1; i > 0; --i)
        std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(random.below(i + 1))]);
}


// A statement of the block, starting from a random one; false when none of
// its records reads as a statement.
bool pickStatement(const QuestionBank& bank, const QString& chapter, const QString& key,
                   const BankBlock& block, SeededRandom& random, ExamItem* item)
{
    const int start = random.below(block.count);
    for (int i = 0; i < block.count; ++i) {
        const int recNo = block.first + (start + i) % block.count;
        QuizStatement s;
        if (!bank.readStatement(recNo, &s) || s.Aff[0].trimmed().isEmpty())
            continue;
        s.Blocco = key;
        *item = ExamItem{std::move(s), chapter, recNo};
        return true;
    }
    return false;
}

ExamDraw failed(std::uint32_t seed, const QString& error)
{
    ExamDraw d;
    d.seed = seed;
    d.error = error;
    return d;
}

}  // namespace

QString examChapter(const QString& blockKey)
{
    return blockKey.trimmed().left(2);
}

ExamDraw drawExam(const QuestionBank& bank, std::uint32_t seed)
{
    if (!bank.isOpen())
        return failed(seed, QStringLiteral("La banca dei quesiti non è caricata."));
    const int statements = bank.statementCount();
    if (statements < kExamStatements)
        return failed(seed, QStringLiteral("La banca dei quesiti ha solo %1 affermazioni: una simulazione "
                                           "d'esame ne chiede %2.")
                                .arg(statements)
                                .arg(kExamStatements));

    // The bank holds its blocks in key order, so a chapter's blocks follow
    // one another: each chapter is a run of `usable`, found without copying
    // a key. The class waits on this, so nothing here allocates per block.
    const auto& blocks = bank.blocks();
    std::vector<int> usable;
    usable.reserve(blocks.size());
    struct Run {
        int begin = 0;
        int end = 0;
        int next = 0;  // blocks of the run already tried
    };
    std::vector<Run> chapters;
    QStringView previous;
    for (int i = 0; i < static_cast<int>(blocks.size()); ++i) {
        const auto& [key, block] = blocks[static_cast<std::size_t>(i)];
        const QStringView trimmed = QStringView(key).trimmed();
        if (trimmed.isEmpty() || block.empty())
            continue;
        const QStringView chapter = trimmed.left(2);
        if (chapters.empty() || chapter != previous) {
            const int at = static_cast<int>(usable.size());
            chapters.push_back(Run{at, at, at});
            previous = chapter;
        }
        usable.push_back(i);
        chapters.back().end = static_cast<int>(usable.size());
    }
    const int blockCount = static_cast<int>(usable.size());
    if (blockCount < kExamStatements)
        return failed(seed, QStringLiteral("La banca dei quesiti ha solo %1 blocchi: una simulazione "
                                           "d'esame chiede %2 affermazioni di blocchi diversi.")
                                .arg(blockCount)
                                .arg(kExamStatements));

    SeededRandom random(seed);
    std::vector<int> order(chapters.size());
    for (int c = 0; c < static_cast<int>(order.size()); ++c)
        order[static_cast<std::size_t>(c)] = c;
    shuffle(order, random);

    // Round by round, one block from each chapter that has any left, so no
    // chapter comes twice while another is still missing. A chapter's next
    // block is drawn from those it has not tried (a shuffle done lazily).
    std::vector<ExamItem> items;
    items.reserve(kExamStatements);
    bool progress = true;
    while (static_cast<int>(items.size()) < kExamStatements && progress) {
        progress = false;
        for (const int c : order) {
            if (static_cast<int>(items.size()) == kExamStatements)
                break;
            Run& run = chapters[static_cast<std::size_t>(c)];
            while (run.next < run.end) {
                const int pick = run.next + random.below(run.end - run.next);
                std::swap(usable[static_cast<std::size_t>(run.next)], usable[static_cast<std::size_t>(pick)]);
                const auto& [key, block] = blocks[static_cast<std::size_t>(usable[static_cast<std::size_t>(run.next++)])];
                ExamItem item;
                if (pickStatement(bank, examChapter(key), key, block, random, &item)) {
                    items.push_back(std::move(item));
                    progress = true;
                    break;
                }
            }
        }
    }
    if (static_cast<int>(items.size()) < kExamStatements)
        return failed(seed, QStringLiteral("La banca dei quesiti ha solo %1 blocchi con affermazioni "
                                           "leggibili: una simulazione d'esame ne chiede %2.")
                                .arg(items.size())
                                .arg(kExamStatements));

    // The paper goes through the syllabus in order.
    std::sort(items.begin(), items.end(), [](const ExamItem& a, const ExamItem& b) {
        return a.statement.Blocco < b.statement.Blocco;
    });
    ExamDraw d;
    d.seed = seed;
    d.items = std::move(items);
    const int chapterCount = static_cast<int>(chapters.size());
    if (chapterCount < kExamChapters)
        d.warning = QStringLiteral("La banca copre %1 capitoli su %2: alcuni capitoli tornano più volte.")
                        .arg(chapterCount)
                        .arg(kExamChapters);
    return d;
}

std::uint32_t newExamSeed()
{
    const auto now = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
    SeededRandom random(now);
    return static_cast<std::uint32_t>(random.below(static_cast<int>(kExamMaxSeed))) + 1;
}

// ---------------------------------------------------------------------------

ExamRun::ExamRun(ExamDraw draw) : m_draw(std::move(draw))
{
}

bool ExamRun::forward()
{
    if (count() == 0 || m_phase == Phase::Summary)
        return false;
    if (m_position < count()) {
        ++m_position;
        return true;
    }
    if (m_phase == Phase::Answering)
        finish();
    else
        m_phase = Phase::Summary;
    return true;
}

bool ExamRun::back()
{
    if (m_phase == Phase::Summary) {
        m_phase = Phase::Review;
        return true;
    }
    if (m_position <= 1)
        return false;
    --m_position;
    return true;
}

void ExamRun::finish()
{
    if (m_phase != Phase::Answering)
        return;
    m_phase = Phase::Review;
    m_position = 1;
}

void ExamRun::tick()
{
    if (m_phase != Phase::Answering || m_secondsLeft <= 0)
        return;
    if (--m_secondsLeft == 0) {
        m_timedOut = true;
        finish();
    }
}

QString examClock(int seconds)
{
    seconds = std::max(seconds, 0);
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10,
                                                                                   QLatin1Char('0'));
}

QString examAnswerText(const QuizStatement& s)
{
    return s.Responso == 1 ? QStringLiteral("Vero") : QStringLiteral("Falso");
}

QString examSummary(const ExamRun& run)
{
    const ExamDraw& d = run.draw();
    int trueCount = 0;
    for (const ExamItem& item : d.items)
        trueCount += item.statement.Responso == 1 ? 1 : 0;
    QString text = QStringLiteral("Esame n. %1\n").arg(d.seed);
    text += run.timedOut() ? QStringLiteral("Tempo scaduto\n")
                           : QStringLiteral("Tempo impiegato: %1\n").arg(examClock(run.secondsUsed()));
    text += QStringLiteral("%1 affermazioni: %2 vere, %3 false. Superato con al massimo %4 errori.\n")
                .arg(run.count())
                .arg(trueCount)
                .arg(run.count() - trueCount)
                .arg(kExamMaxErrors);
    for (int i = 0; i < run.count(); ++i) {
        text += QStringLiteral("%1 %2").arg(i + 1, 2).arg(d.items[static_cast<std::size_t>(i)].statement.Responso == 1
                                                                ? QLatin1Char('V')
                                                                : QLatin1Char('F'));
        // Five to a row: the grid reads from the back of the room.
        text += (i % 5 == 4) ? QStringLiteral("\n") : QStringLiteral("    ");
    }
    return text;
}

}  // namespace ziro
