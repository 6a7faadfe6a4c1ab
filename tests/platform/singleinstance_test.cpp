#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QUuid>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A key of its own per test, so that concurrent runs never meet.
QString freshKey()
{
    return QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstance, TheFirstCopyRunsAndALaterOneBringsItForward)
{
    const QString key = freshKey();
    SingleInstance first(key);
    EXPECT_FALSE(first.askRunningCopy()); // nobody runs yet
    ASSERT_TRUE(first.listen());
    QSignalSpy forward(&first, &SingleInstance::forwardRequested);

    // The later copy blocks until its request has been read, so it asks from a thread of its own
    // while the first answers on this one.
    std::atomic<bool> answered = false;
    std::thread asker([&] {
        SingleInstance later(key);
        answered = later.askRunningCopy();
    });
    EXPECT_TRUE(forward.wait(5000));
    asker.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(forward.count(), 1);
}

TEST(SingleInstance, NamesDifferByKey)
{
    EXPECT_EQ(SingleInstance::socketName(QStringLiteral("a")),
        SingleInstance::socketName(QStringLiteral("a")));
    EXPECT_NE(SingleInstance::socketName(QStringLiteral("a")),
        SingleInstance::socketName(QStringLiteral("b")));
}

TEST(SingleInstance, ASocketLeftBehindIsTakenOver)
{
    const QString key = freshKey();
    // A copy that crashed left its socket file, where nobody answers.
    QFile stale(QDir(QDir::tempPath()).filePath(SingleInstance::socketName(key)));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance copy(key);
    EXPECT_FALSE(copy.askRunningCopy());
    EXPECT_TRUE(copy.listen());
}

} // namespace
