#include "base/attesa.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace ziro;

TEST(Attesa, HandlesEventsWhileWaiting)
{
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    Attesa(0.1, true);
    EXPECT_TRUE(fired);
}
