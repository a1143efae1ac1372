#pragma once

// Tests that need a large screen (the presentation filling 1920 x 1080) on
// the offscreen platform, whose screen is small unless configured.

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace ziro::test {

inline const QRect kScreen(0, 0, 1920, 1080);
inline const QRectF kFilled(240, 0, 1440, 1080);  // the 4:3 area of that screen
inline constexpr double kScale = 2.25;

// Where a point of the 640 x 480 surface shows on the large screen.
inline QPoint onScreen(QPointF surface)
{
    return (kFilled.topLeft() + surface * kScale).toPoint();
}

// The offscreen screen is 800 x 800 unless the platform is given a
// configuration. A test that needs the large screen runs itself again in a
// child process whose screen is 1920 x 1080; this returns true in that child
// (go on with the test) and false in the parent, which has then checked the
// child's result.
inline bool onLargeScreen()
{
    if (QGuiApplication::primaryScreen()->geometry() == kScreen)
        return true;
    if (qEnvironmentVariableIsSet("ZIRO_PRESENTATION_CHILD")) {
        ADD_FAILURE() << "the child process did not get the large screen";
        return false;
    }
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile f(config);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"screens":[{"name":"large","x":0,"y":0,"width":1920,"height":1080,)"
            R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    f.close();

    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("--gtest_filter=%1.%2")
                               .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZIRO_PRESENTATION_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    // A platform named on the command line wins over the environment.
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("-platform"), QStringLiteral("offscreen:configfile=") + config, filter});
    // A minute, unless a long run (the storms' long form) asks for more.
    const int seconds = qEnvironmentVariableIsSet("ZIRO_CHILD_SECONDS") ? qEnvironmentVariableIntValue("ZIRO_CHILD_SECONDS") : 60;
    EXPECT_TRUE(child.waitForFinished(seconds * 1000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ] 1 test"))) << output.toStdString();
    return false;
}

inline bool onWayland()
{
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

// The window shown and active. Wayland leaves activation to the compositor,
// which gives a new window the keyboard once it is on the screen: there the
// test waits for that rather than asking for it.
inline bool waitForWindowReady(QWidget* window)
{
    if (onWayland()) {
        const auto active = [window] { return window->isActiveWindow(); };
        if (!QTest::qWaitForWindowExposed(window) || !QTest::qWaitFor(active, 3000))
            return false;
        // The compositor may still be moving the keyboard away from a window
        // that has just gone: let that settle, then ask again.
        QTest::qWait(150);
        return QTest::qWaitFor(active, 3000);
    }
    return QTest::qWaitForWindowActive(window);
}

// Where a window of its own (not filling the screen) lies: Wayland places
// top-level windows itself, so there only the size is the program's.
inline QRect placed(const QWidget& window, const QRect& expected)
{
    return onWayland() ? QRect(window.geometry().topLeft(), expected.size()) : expected;
}

}  // namespace ziro::test
