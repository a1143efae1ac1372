#include "shell/splash_window.h"

#include "support/fakes.h"

#include <QGraphicsOpacityEffect>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace ziro {
namespace {

QStringList g_warnings;

void collect(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg)
        g_warnings << text;
}

// The splash fades in and dissolves by its own painting: the level runs up
// to full and back to nothing, and the platform is never asked for window
// opacity (which prints a warning where it has none).
TEST(SplashWindow, FadesInAndDissolvesByItsOwnPainting)
{
    QTemporaryDir dir;
    test::FakeSystem system;
    TSplash splash(dir.path() + QLatin1Char('/'), system);
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    splash.showSplash();
    EXPECT_EQ(splash.level(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.level() == 255; }, 5000));
    const auto* effect = qobject_cast<QGraphicsOpacityEffect*>(splash.findChild<QGraphicsOpacityEffect*>());
    ASSERT_TRUE(effect);
    EXPECT_DOUBLE_EQ(effect->opacity(), 1.0);
    splash.dissolve();
    qInstallMessageHandler(previous);
    EXPECT_EQ(splash.level(), 0);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_TRUE(splash.dissolved());
    EXPECT_DOUBLE_EQ(splash.windowOpacity(), 1.0);
    EXPECT_TRUE(g_warnings.filter(QStringLiteral("opacity")).isEmpty()) << qPrintable(g_warnings.join(QLatin1Char('\n')));
}

}  // namespace
}  // namespace ziro
