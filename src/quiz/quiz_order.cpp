#include "quiz/quiz_order.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <cstdint>
#include <vector>

namespace ziro {

namespace {

// The tables of the first sizes are the ones classes have always met.
const std::vector<std::uint8_t> kFirstTables[] = {
    {1},
    {2, 1},
    {3, 2, 1},
    {4, 1, 2, 3},
    {3, 1, 4, 2, 5},
    {2, 5, 4, 3, 1, 6},
    {1, 3, 4, 5, 6, 2, 7},
    {7, 3, 2, 5, 4, 6, 1, 8},
    {8, 4, 7, 6, 2, 9, 5, 3, 1},
    {9, 8, 6, 7, 2, 5, 4, 3, 10, 1},
};

std::uint64_t splitmix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// The larger sizes are shuffled by our own generator and Fisher-Yates, seeded
// by the size: the standard library's shuffles differ between
// implementations, and these orders must never change.
std::vector<std::uint8_t> shuffledTable(int size)
{
    std::vector<std::uint8_t> table(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
    std::uint64_t state = 0x5A1205EEDULL + static_cast<std::uint64_t>(size);
    for (int i = size - 1; i > 0; --i) {
        const auto j = static_cast<std::size_t>(splitmix64(state) % static_cast<std::uint64_t>(i + 1));
        std::swap(table[static_cast<std::size_t>(i)], table[j]);
    }
    return table;
}

const std::array<std::vector<std::uint8_t>, kMaxStatements>& fixedTables()
{
    static const auto tables = [] {
        std::array<std::vector<std::uint8_t>, kMaxStatements> t;
        for (int size = 1; size <= kMaxStatements; ++size)
            t[static_cast<std::size_t>(size - 1)] =
                size <= 10 ? kFirstTables[size - 1] : shuffledTable(size);
        return t;
    }();
    return tables;
}

}  // namespace

int SystemQuizRandom::draw(int n)
{
    static QRandomGenerator generator(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    return n <= 1 ? 1 : 1 + static_cast<int>(generator.bounded(static_cast<quint32>(n)));
}

int GeneratorePseudoRnd(int p, int numAff)
{
    if (numAff < 1 || numAff > kMaxStatements || p < 1 || p > numAff)
        return 0;
    return fixedTables()[static_cast<std::size_t>(numAff - 1)][static_cast<std::size_t>(p - 1)];
}

QString pseudoRndFailure(int p, int numAff)
{
    return QStringLiteral("GeneratorePseudoRnd: elemento %1 su sequenza %2 impossibile.").arg(p).arg(numAff);
}

int GeneratoreRND(int p, int numAff, std::array<int, kMaxStatements>& giaUsciti, QuizRandom& random)
{
    if (numAff < 1 || numAff > kMaxStatements || p < 1 || p > numAff)
        return 0;
    // The entry is about to be drawn: a value left in it must not block a
    // number, or the last position could find none free.
    giaUsciti[static_cast<std::size_t>(p - 1)] = 0;
    auto taken = [&](int r) {
        for (int i = 0; i < p - 1; ++i)
            if (giaUsciti[static_cast<std::size_t>(i)] == r)
                return true;
        return false;
    };
    int r = random.draw(numAff);
    // A generator that keeps answering out of range, or a list whose earlier
    // entries are not distinct, must not hang the quiz: after enough draws
    // take the first free number instead.
    for (int tries = 0; (r < 1 || r > numAff || taken(r)) && tries < 10000; ++tries)
        r = random.draw(numAff);
    if (r < 1 || r > numAff || taken(r)) {
        r = 0;
        for (int candidate = 1; candidate <= numAff && r == 0; ++candidate)
            if (!taken(candidate))
                r = candidate;
        if (r == 0)
            r = p;
    }
    giaUsciti[static_cast<std::size_t>(p - 1)] = r;
    return r;
}

}  // namespace ziro
