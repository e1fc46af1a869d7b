#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <thread>

#include "support/EventLoop.h"

using platform::ChildProcess;
using Outcome = ChildProcess::Outcome;

namespace {

ChildProcess::Result shell(const QString& line,
                           ChildProcess::Options options = ChildProcess::Options()) {
    return ChildProcess::run("/bin/sh", {"-c", line}, std::move(options));
}

// A process's own descriptor, which no later process with its id can stand
// for; -1 when it cannot be had.
int processDescriptor(pid_t pid) {
    return int(::syscall(SYS_pidfd_open, pid, 0));
}

// Whether the process has ended (an unreaped one counts), waiting for it
// without spinning for at most `timeoutMs`.
bool endsWithin(int descriptor, int timeoutMs) {
    pollfd ended{descriptor, POLLIN, 0};
    int ready;
    do ready = ::poll(&ended, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// The first line written into the pipe, waited for without spinning; empty
// if none comes in the time only a hang takes.
QByteArray lineFrom(int fd) {
    QByteArray text;
    QElapsedTimer waited;
    waited.start();
    while (!text.contains('\n') && waited.elapsed() < testsupport::kHangMs) {
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, int(testsupport::kHangMs - waited.elapsed())) <= 0) continue;
        char buffer[256];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0)
            text.append(buffer, count);
        else if (count == 0 || errno != EINTR)
            break;  // the writer closed the pipe without a whole line
    }
    return text.left(text.indexOf('\n'));
}

TEST(ChildProcess, CapturesBothStreamsAndTheStatus) {
    const auto result = shell("printf out; printf err >&2; exit 3");
    EXPECT_EQ(result.outcome, Outcome::Exited);
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.standardOutput, "out");
    EXPECT_EQ(result.standardError, "err");
    EXPECT_FALSE(result.succeeded());
}

TEST(ChildProcess, DrainsBothStreamsTogether) {
    // Far more than a pipe holds, on both streams, interleaved; few processes,
    // so a busy machine does not turn the spawning into the test.
    const auto result = shell(
        "i=0; while [ $i -lt 20 ]; do head -c 40000 /dev/zero | tr '\\0' e >&2; "
        "head -c 40000 /dev/zero | tr '\\0' o; i=$((i+1)); done",
        {.timeLimit = std::chrono::minutes(5)});
    ASSERT_TRUE(result.succeeded()) << result.errorText.toStdString();
    EXPECT_EQ(result.standardOutput.size(), 800000);
    EXPECT_EQ(result.standardError.size(), 800000);
}

TEST(ChildProcess, KeepsOnlyTheLastBytesWhenTold) {
    // Far more than one read, then a known end on each stream.
    const auto result = shell(
        "head -c 300000 /dev/zero | tr '\\0' e >&2; printf 'the end' >&2; "
        "head -c 300000 /dev/zero | tr '\\0' o; printf 'last'",
        {.timeLimit = std::chrono::minutes(5), .keptBytes = 10});
    ASSERT_TRUE(result.succeeded()) << result.errorText.toStdString();
    EXPECT_EQ(result.standardError, "eeethe end");
    EXPECT_EQ(result.standardOutput, "oooooolast");
}

TEST(ChildProcess, ReportsAStartFailure) {
    QTemporaryDir scratch;
    const struct {
        QString program;
        QString directory;
    } cases[] = {{scratch.filePath("missing"), QString()},
                 {"/bin/sh", scratch.filePath("no-such-folder")},
                 {QString(), QString()}};
    for (const auto& c : cases) {
        ChildProcess child(c.program, {"-c", "true"}, {.workingDirectory = c.directory});
        EXPECT_FALSE(child.start());
        EXPECT_EQ(child.result().outcome, Outcome::FailedToStart);
        EXPECT_FALSE(child.result().errorText.isEmpty());
        EXPECT_FALSE(child.isRunning());
        EXPECT_EQ(child.waitForFinished().outcome, Outcome::FailedToStart);
    }
}

TEST(ChildProcess, UsesTheGivenFolderEnvironmentAndNullInput) {
    QTemporaryDir scratch;
    const auto result =
        shell("pwd -P; printf '%s|%s' \"$ONLY\" \"${HOME:-none}\"; cat",
              {.workingDirectory = scratch.path(), .environment = {{{"ONLY", "this one"}}}});
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(QString::fromUtf8(result.standardOutput),
              QDir(scratch.path()).canonicalPath() + "\nthis one|none");
}

TEST(ChildProcess, InheritsTheApplicationsEnvironmentByDefault) {
    qputenv("QUILLMAR_CHILD_PROBE", "seen");
    const auto result = shell("printf %s \"$QUILLMAR_CHILD_PROBE\"");
    qunsetenv("QUILLMAR_CHILD_PROBE");
    EXPECT_EQ(result.standardOutput, "seen");
    EXPECT_EQ(ChildProcess::currentEnvironment().value("PATH"), qEnvironmentVariable("PATH"));
}

TEST(ChildProcess, OutputThatIsNotCapturedIsNotKept) {
    for (const auto output : {ChildProcess::Output::Discarded, ChildProcess::Output::Inherited}) {
        const auto result = shell("printf ''; printf '' >&2", {.output = output});
        EXPECT_TRUE(result.succeeded());
        EXPECT_TRUE(result.standardOutput.isEmpty());
        EXPECT_TRUE(result.standardError.isEmpty());
    }
    const auto discarded =
        shell("echo out; echo err >&2", {.output = ChildProcess::Output::Discarded});
    EXPECT_TRUE(discarded.succeeded());
    EXPECT_TRUE(discarded.standardOutput.isEmpty());
    EXPECT_TRUE(discarded.standardError.isEmpty());
}

TEST(ChildProcess, AGrandchildHoldingThePipesDoesNotHoldTheWait) {
    QElapsedTimer clock;
    clock.start();
    const auto result = shell("sleep 60 & printf done");
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(result.standardOutput, "done");
    EXPECT_LT(clock.elapsed(), 30000);  // the grandchild alone takes a minute
}

TEST(ChildProcess, ATimeLimitStopsTheChildAndWhatItStarted) {
    QElapsedTimer clock;
    clock.start();
    const auto result =
        shell("sleep 60 | sleep 60; echo never", {.timeLimit = std::chrono::milliseconds(200)});
    EXPECT_EQ(result.outcome, Outcome::TimedOut);
    EXPECT_LT(clock.elapsed(), 30000);  // the children alone take a minute
    EXPECT_TRUE(result.standardOutput.isEmpty());
}

TEST(ChildProcess, ATermIgnoringChildIsKilled) {
    // The child and a process it started both ignore SIGTERM. They write
    // their ids into a named pipe once the trap is set; only then is the
    // child stopped, so the stop always meets processes that ignore it.
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QByteArray pipePath = QFile::encodeName(scratch.filePath("ready"));
    ASSERT_EQ(::mkfifo(pipePath.constData(), 0600), 0);
    const int reader = ::open(pipePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ChildProcess child(
        "/bin/sh", {"-c", "trap '' TERM; sleep 600 & echo $$ $! > '" +
                              QString::fromLocal8Bit(pipePath) + "'; while :; do sleep 1; done"});
    ASSERT_TRUE(child.start());
    const QList<QByteArray> ids = lineFrom(reader).split(' ');
    ::close(reader);
    ASSERT_EQ(ids.size(), 2) << "the child never said its trap was set";
    ASSERT_EQ(pid_t(ids[0].toLongLong()), child.processId());
    ASSERT_TRUE(child.isRunning());
    const int processes[] = {processDescriptor(child.processId()),
                             processDescriptor(pid_t(ids[1].toLongLong()))};
    for (const int process : processes) {
        ASSERT_GE(process, 0);
        ASSERT_FALSE(endsWithin(process, 0));
    }

    child.stop();

    EXPECT_EQ(child.result().outcome, Outcome::Cancelled);
    EXPECT_FALSE(child.isRunning());
    // Both are gone: only a kill can have ended them.
    for (const int process : processes) {
        const bool ended = endsWithin(process, testsupport::kHangMs);
        EXPECT_TRUE(ended) << "a process outlived the stop";
        if (!ended) ::syscall(SYS_pidfd_send_signal, process, SIGKILL, nullptr, 0);
        ::close(process);
    }
}

TEST(ChildProcess, CancellationFromAnotherThread) {
    auto flag = std::make_shared<std::atomic<bool>>(false);
    std::thread canceller([flag] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        flag->store(true);
    });
    QElapsedTimer clock;
    clock.start();
    const auto result = shell("sleep 60", {.cancellation = flag});
    canceller.join();
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_LT(clock.elapsed(), 30000);  // the child alone takes a minute
}

TEST(ChildProcess, CanBePolledAndStopped) {
    ChildProcess child("/bin/sh", {"-c", "printf started; sleep 30"});
    ASSERT_TRUE(child.start());
    EXPECT_GT(child.processId(), 0);
    EXPECT_TRUE(child.isRunning());
    child.stop();
    EXPECT_FALSE(child.isRunning());
    EXPECT_EQ(child.result().outcome, Outcome::Cancelled);

    ChildProcess quick("/bin/sh", {"-c", "exit 0"});
    ASSERT_TRUE(quick.start());
    QElapsedTimer clock;
    clock.start();
    while (quick.isRunning() && clock.elapsed() < 30000) std::this_thread::yield();
    EXPECT_TRUE(quick.result().succeeded());
}

TEST(ChildProcess, ASignalIsNotAnExit) {
    const auto result = shell("printf partial; kill -9 $$");
    EXPECT_EQ(result.outcome, Outcome::Signalled);
    EXPECT_EQ(result.exitStatus, -1);
    EXPECT_EQ(result.standardOutput, "partial");
}

}  // namespace
