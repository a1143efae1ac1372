#include "quiz/quiz_order.h"

#include "bank_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace ziro {
namespace {

std::vector<int> fixedOrder(int n)
{
    std::vector<int> order;
    for (int p = 1; p <= n; ++p)
        order.push_back(GeneratorePseudoRnd(p, n));
    return order;
}

bool isPermutation(std::vector<int> order)
{
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] != int(i) + 1)
            return false;
    return true;
}

TEST(QuizOrder, FixedTablesAreTheKnownOnesAndPermutationsForEverySize)
{
    const std::vector<std::vector<int>> known = {
        {1}, {2, 1}, {3, 2, 1}, {4, 1, 2, 3}, {3, 1, 4, 2, 5}, {2, 5, 4, 3, 1, 6}, {1, 3, 4, 5, 6, 2, 7},
        {7, 3, 2, 5, 4, 6, 1, 8}, {8, 4, 7, 6, 2, 9, 5, 3, 1}, {9, 8, 6, 7, 2, 5, 4, 3, 10, 1},
    };
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(fixedOrder(n), known[std::size_t(n - 1)]) << "size " << n;
    for (int n = 1; n <= kMaxStatements; ++n)
        EXPECT_TRUE(isPermutation(fixedOrder(n))) << "size " << n;
    // The larger tables are fixed too: these must never change between
    // builds or the class would meet its blocks in another order.
    EXPECT_EQ(fixedOrder(11), fixedOrder(11));
    EXPECT_NE(fixedOrder(70), [] { std::vector<int> v(70); for (int i = 0; i < 70; ++i) v[std::size_t(i)] = i + 1; return v; }());
}

TEST(QuizOrder, FixedOrderNeverLeavesItsSize)
{
    struct Case { int p, n; } cases[] = {{1, 0}, {1, 71}, {0, 5}, {6, 5}, {71, 70}, {-1, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(GeneratorePseudoRnd(c.p, c.n), 0) << c.p << "/" << c.n;
    EXPECT_EQ(pseudoRndFailure(3, 71), QStringLiteral("GeneratorePseudoRnd: elemento 3 su sequenza 71 impossibile."));
}

TEST(QuizOrder, RandomOrderRedrawsTakenNumbersAndYieldsAPermutation)
{
    std::array<int, kMaxStatements> drawn{};
    test::ScriptedRandom random;
    random.draws = {3, 3, 1, 3, 1, 2, 4};
    std::vector<int> order;
    for (int p = 1; p <= 4; ++p)
        order.push_back(GeneratoreRND(p, 4, drawn, random));
    EXPECT_EQ(order, (std::vector<int>{3, 1, 2, 4}));
    EXPECT_EQ(drawn[0], 3);
    EXPECT_EQ(drawn[3], 4);

    // A generator stuck on one number, and a stale entry left where the next
    // draw goes, still give a permutation and never hang.
    drawn.fill(0);
    drawn[1] = 2;
    test::ScriptedRandom stuck;
    order.clear();
    for (int p = 1; p <= 3; ++p)
        order.push_back(GeneratoreRND(p, 3, drawn, stuck));
    EXPECT_TRUE(isPermutation(order));
    EXPECT_EQ(GeneratoreRND(4, 3, drawn, stuck), 0);

    SystemQuizRandom system;
    drawn.fill(0);
    order.clear();
    for (int p = 1; p <= kMaxStatements; ++p)
        order.push_back(GeneratoreRND(p, kMaxStatements, drawn, system));
    EXPECT_TRUE(isPermutation(order));
}

}  // namespace
}  // namespace ziro
