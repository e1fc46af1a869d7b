#include "platform/TerminationSignals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <thread>

#include "platform/ChildProcess.h"
#include "support/EventLoop.h"

using platform::ChildProcess;
using platform::TerminationSignals;

namespace {

// The handler that stands for the signal now.
sighandler_t handlerOf(int signal) {
    struct sigaction current {};
    ::sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

void setHandler(int signal, sighandler_t handler) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

void someoneElsesHandler(int) {}

// Whether the process is there and not a zombie.
bool running(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) != "Z";
}

}  // namespace

// Raised on another thread, as a signal sent to the process may land on
// any: each arrives once, in order, on the main thread.
TEST(TerminationSignals, EachSignalArrivesOnTheMainThreadOnce) {
    auto ends = std::make_unique<TerminationSignals>();
    QList<int> received;
    QObject::connect(ends.get(), &TerminationSignals::received, [&](int signal) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        received.append(signal);
    });
    std::thread raiser([] {
        for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGTERM}) ::raise(signal);
    });
    raiser.join();
    ASSERT_TRUE(testsupport::spinUntil([&] { return received.size() == 4; }));
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT, SIGHUP, SIGTERM}));
    testsupport::drainMainQueue();
    EXPECT_EQ(received.size(), 4);

    // Once it is gone, the system's own handling is back.
    ends.reset();
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) EXPECT_EQ(handlerOf(signal), SIG_DFL) << signal;
}

// A signal the program was started with ignored (a background job of a
// script ignores SIGINT) stays ignored; the end puts back whatever stood for
// each signal before, not the system's default.
TEST(TerminationSignals, AnIgnoredSignalStaysIgnoredAndTheEndPutsBackWhatWasThere) {
    setHandler(SIGINT, SIG_IGN);
    setHandler(SIGHUP, someoneElsesHandler);
    {
        TerminationSignals ends;
        QList<int> received;
        QObject::connect(&ends, &TerminationSignals::received,
                         [&](int signal) { received.append(signal); });
        EXPECT_EQ(handlerOf(SIGINT), SIG_IGN);
        EXPECT_NE(handlerOf(SIGHUP), someoneElsesHandler);
        ::raise(SIGINT);
        ::raise(SIGHUP);
        ASSERT_TRUE(testsupport::spinUntil([&] { return !received.isEmpty(); }));
        testsupport::drainMainQueue();
        EXPECT_EQ(received, QList<int>{SIGHUP});
    }
    EXPECT_EQ(handlerOf(SIGINT), SIG_IGN);
    EXPECT_EQ(handlerOf(SIGHUP), someoneElsesHandler);
    EXPECT_EQ(handlerOf(SIGTERM), SIG_DFL);
    setHandler(SIGINT, SIG_DFL);
    setHandler(SIGHUP, SIG_DFL);
}

// Once the end is under way, a signal ends the program at once with
// 128 plus its number, and takes every child's process group with it: a
// child that ignores SIGTERM, and what it started.
TEST(TerminationSignalsDeathTest, OnceTheEndIsUnderWayASignalEndsAtOnceWithTheChildren) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString pids = scratch.filePath("pids");
    for (const auto& [signal, status] : {std::pair{SIGTERM, 143}, {SIGINT, 130}, {SIGHUP, 129}}) {
        QFile::remove(pids);
        EXPECT_EXIT(
            {
                TerminationSignals ends;
                // The child and its own child both ignore SIGTERM, as a tool
                // that takes its time to stop would.
                ChildProcess child(
                    "/bin/sh", {"-c", "trap '' TERM; sleep 300 & echo $$ $! > '" + pids +
                                          ".part'; mv '" + pids + ".part' '" + pids + "'; wait"});
                if (!child.start()) ::_exit(2);
                while (!QFile::exists(pids)) QThread::yieldCurrentThread();
                TerminationSignals::endAtOnceFromNowOn();
                ::raise(signal);
                ::_exit(3);
            },
            ::testing::ExitedWithCode(status), "")
            << signal;
        QFile file(pids);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QByteArray& pid : file.readAll().trimmed().split(' '))
            EXPECT_TRUE(testsupport::spinUntil([&] { return !running(pid.toLongLong()); }))
                << "process " << pid.toStdString() << " still runs";
    }
}
