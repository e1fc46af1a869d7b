#include "platform/TerminationSignals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QList>
#include <QThread>
#include <memory>

#include "support/EventLoop.h"

using platform::TerminationSignals;

namespace {

// The handler that stands for the signal now.
sighandler_t handlerOf(int signal) {
    struct sigaction current {};
    ::sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

}  // namespace

TEST(TerminationSignals, EachSignalArrivesOnTheMainThreadOnce) {
    auto ends = std::make_unique<TerminationSignals>();
    QList<int> received;
    QObject::connect(ends.get(), &TerminationSignals::received, [&](int signal) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        received.append(signal);
    });
    ::raise(SIGTERM);
    ::raise(SIGINT);
    ::raise(SIGTERM);
    ASSERT_TRUE(testsupport::spinUntil([&] { return received.size() == 3; }));
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT, SIGTERM}));
    testsupport::drainMainQueue();
    EXPECT_EQ(received.size(), 3);

    // Once it is gone, the system's own handling is back.
    ends.reset();
    EXPECT_EQ(handlerOf(SIGTERM), SIG_DFL);
    EXPECT_EQ(handlerOf(SIGINT), SIG_DFL);
}
