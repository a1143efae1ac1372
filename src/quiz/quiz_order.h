#pragma once

// The two orders in which a block's statements are laid out in a quiz run:
// a fixed one per block size, so a class always meets a block the same way,
// and a fresh random one when the teacher asks to shuffle every time.

#include <QString>

#include <array>

namespace ziro {

// A statement list never holds more than this many statements.
inline constexpr int kMaxStatements = 70;

// Where the random order draws its numbers.
class QuizRandom {
public:
    virtual ~QuizRandom() = default;
    // A number from 1 to n inclusive, each equally likely (n >= 1).
    virtual int draw(int n) = 0;
};

// The program's generator, seeded from the clock once.
class SystemQuizRandom : public QuizRandom {
public:
    int draw(int n) override;
};

// The source position shown at position p of a run of numAff statements in
// the fixed order: entry p of the table for that size. 0 when numAff lies
// outside 1..70 or p outside 1..numAff, where no position exists.
int GeneratorePseudoRnd(int p, int numAff);

// The text shown when the fixed order is asked for a size it has no table for.
QString pseudoRndFailure(int p, int numAff);

// The source position shown at position p in a random order: a draw from
// 1..numAff that none of the earlier positions took. Entry p of `giaUsciti`
// (1-based) receives it. Over p = 1..numAff this is a permutation. 0 when
// p or numAff is out of range.
int GeneratoreRND(int p, int numAff, std::array<int, kMaxStatements>& giaUsciti, QuizRandom& random);

}  // namespace ziro
