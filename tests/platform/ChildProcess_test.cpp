#include "platform/ChildProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <thread>

using platform::ChildProcess;
using Outcome = ChildProcess::Outcome;

namespace {

ChildProcess::Result shell(const QString& line,
                           ChildProcess::Options options = ChildProcess::Options()) {
    return ChildProcess::run("/bin/sh", {"-c", line}, std::move(options));
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
    // The child says when its trap is set by creating a file; only then is it
    // stopped, so the stop always meets a child that ignores SIGTERM.
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString ready = scratch.filePath("trap-set");
    auto flag = std::make_shared<std::atomic<bool>>(false);
    QElapsedTimer sinceStop;
    bool trapSet = false;
    std::thread stopper([&] {
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(ready) && waited.elapsed() < 30000) std::this_thread::yield();
        trapSet = QFileInfo::exists(ready);
        sinceStop.start();
        flag->store(true);
    });
    const auto result = shell("trap '' TERM; : > '" + ready + "'; while :; do sleep 0.05; done",
                              {.cancellation = flag});
    const qint64 stopTook = sinceStop.elapsed();
    stopper.join();
    ASSERT_TRUE(trapSet) << "the child never set its trap";
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    // SIGTERM was ignored: only the kill after the grace period ended it.
    EXPECT_GE(stopTook, 1900);
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
