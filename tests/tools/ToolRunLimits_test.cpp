// Every runner of the tool layer can be bounded: a time limit, or a flag set
// from another thread, ends a hanging tool (and what it started) promptly.
#include <QElapsedTimer>
#include <thread>

#include "ToolsFixture.h"
#include "support/EventLoop.h"
#include "tools/CommandChain.h"
#include "tools/CommandRunner.h"
#include "tools/SCPreferences.h"
#include "tools/StreamReports.h"

namespace {

using namespace std::chrono_literals;

class ToolRunLimitsTest : public ToolsFixture {
  protected:
    QString hangingTool(const QString& relative) {
        // The child it starts must end with it: the group is stopped.
        return writeScript(relative, "sleep 60 & wait");
    }
};

TEST_F(ToolRunLimitsTest, ATimeLimitEndsEveryRunner) {
    preferences->setToolsLocationURL(QUrl::fromLocalFile(path("tools")));
    const QString tool = hangingTool("tools/ffmpeg/ffmpeg");
    hangingTool("tools/ffmpeg/ffprobe");
    const ToolRunLimits limits{.timeLimit = 300ms};
    const QUrl media = QUrl::fromLocalFile(path("m.mkv"));

    QElapsedTimer clock;
    clock.start();
    const ToolRunResult run = runToolProcess(tool, {}, {}, limits);
    EXPECT_TRUE(run.timedOut());
    EXPECT_TRUE(run.started);
    EXPECT_EQ(run.exitStatus, -1);
    EXPECT_EQ(runAppWithPath(tool, {}, limits), std::nullopt);
    EXPECT_EQ(doUnixCommand("sleep", {"60"}, limits), std::nullopt);
    EXPECT_FALSE(runUnixCommandChain("sleep", {QString("60")}, limits).succeeded());
    EXPECT_EQ(findFfmpegFileInfo(media, limits), std::nullopt);
    EXPECT_EQ(findFfprobeJsonString(media, limits), std::nullopt);
    EXPECT_EQ(findFfprobeJsonData(media, limits), std::nullopt);
    // Seven hanging runs, each ended at its limit.
    EXPECT_LT(clock.elapsed(), testsupport::kHangMs);  // one run alone would take a minute
}

TEST_F(ToolRunLimitsTest, CancellationFromAnotherThread) {
    const QString tool = hangingTool("hang");
    const ToolRunLimits limits{.cancellation = std::make_shared<std::atomic<bool>>(false)};
    std::thread canceller([flag = limits.cancellation] {
        std::this_thread::sleep_for(200ms);
        flag->store(true);
    });
    QElapsedTimer clock;
    clock.start();
    const ToolRunResult run = runToolProcess(tool, {}, {}, limits);
    canceller.join();
    EXPECT_TRUE(run.cancelled());
    EXPECT_LT(clock.elapsed(), testsupport::kHangMs);  // the tool alone takes a minute
}

TEST_F(ToolRunLimitsTest, ALimitLeavesAQuickToolAlone) {
    const QString tool = writeScript("quick", "printf done");
    const ToolRunResult run = runToolProcess(
        tool, {}, {},
        {.timeLimit = 5min, .cancellation = std::make_shared<std::atomic<bool>>(false)});
    EXPECT_TRUE(run.succeeded());
    EXPECT_EQ(run.text(), QString("done"));
    EXPECT_EQ(run.outcome, platform::ChildProcess::Outcome::Exited);
}

}  // namespace
