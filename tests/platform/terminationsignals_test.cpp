#include "platform/terminationsignals.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// Runs the event loop with the signal raised once it runs; 0 when the signal quit it, 1 when a
// watchdog had to.
int execRaising(int signal)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(5000);
    QTimer::singleShot(0, &watchdog, [signal] { std::raise(signal); });
    return QCoreApplication::exec();
}

} // namespace

// A termination signal ends the event loop normally (so the program goes on to save), rather than
// ending the process.
TEST(TerminationSignals, QuitTheEventLoop)
{
    quitOnTerminationSignals();
    EXPECT_EQ(execRaising(SIGTERM), 0);
    EXPECT_EQ(execRaising(SIGHUP), 0);
    EXPECT_EQ(execRaising(SIGINT), 0);
}
