#include "controls/key_gate_ui.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Offscreen keeps the tests independent of any display; the platform
    // runs of the test command name a real one (xcb, wayland) instead.
    const QByteArray platform = qgetenv("ZIRO_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    ziro::GuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
