#include "platform/media/sound_output.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace ziro {
namespace {

// The machine's own answer depends on its sound card; what can be checked
// anywhere is that an output that opens is seen, one that cannot open is
// not, and neither keeps start-up waiting.
TEST(SoundOutput, SeesAnOutputThatOpensAndNoneThatCannot)
{
    const struct {
        const char* output;
        bool expected;
    } cases[] = {{"null", true}, {"no-such-output", false}};
    for (const auto& c : cases) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(probeSoundOutput(2000, c.output), c.expected) << c.output;
        EXPECT_LT(clock.elapsed(), 1500) << c.output;
    }
}

}  // namespace
}  // namespace ziro
