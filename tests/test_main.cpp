#include <QGuiApplication>
#include <gtest/gtest.h>

// Logic tests still need a QGuiApplication for fonts and pictures; the
// offscreen platform keeps them independent of any display.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
