#include "platform/system/single_instance.h"

#include <QEventLoop>
#include <QFile>
#include <QSysInfo>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

namespace ziro {
namespace {

QString uniqueKey()
{
    return QStringLiteral("ziro-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// Runs the event loop until `instance` is asked to come to the front.
bool waitForRaise(SingleInstance& instance, int timeoutMs = 5000)
{
    QEventLoop loop;
    bool raised = false;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &loop, [&] {
        raised = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return raised;
}

TEST(SingleInstance, ASecondCopyIsRefusedAndRaisesTheFirst)
{
    const QString key = uniqueKey();
    auto first = std::make_unique<SingleInstance>(key);
    ASSERT_TRUE(first->acquire());

    SingleInstance second(key);
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(waitForRaise(*first));

    // Once the first copy has gone the next one starts normally.
    first.reset();
    SingleInstance third(key);
    EXPECT_TRUE(third.acquire());
    SingleInstance fourth(key);
    EXPECT_FALSE(fourth.acquire());
    EXPECT_TRUE(waitForRaise(third));
}

TEST(SingleInstance, TakesOverWhatACopyThatDiedLeftBehind)
{
    const QString key = uniqueKey();
    SingleInstance instance(key);
    {
        // A lock naming a process that no longer exists, and its socket file.
        QFile lock(instance.lockFilePath());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write("999999999\nziro\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        QFile socket(instance.serverName());
        ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(instance.acquire());

    SingleInstance second(key);
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(waitForRaise(instance));
}

TEST(SingleInstance, DefaultKeyIsUsableAsAFileName)
{
    const QString key = SingleInstance::defaultKey();
    EXPECT_TRUE(key.startsWith(QLatin1String("ziro-")));
    for (const QChar c : key)
        EXPECT_TRUE(c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.'))
            << qPrintable(key);
}

}  // namespace
}  // namespace ziro
