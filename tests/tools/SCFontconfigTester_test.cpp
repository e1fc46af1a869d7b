#include "tools/SCFontconfigTester.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <future>

#include "FakeResources.h"
#include "platform/AppPaths.h"
#include "support/EventLoop.h"
#include "support/FileListing.h"
#include "tools/TemporaryNames.h"

namespace {

using namespace std::chrono_literals;

// What the window layer's sheet would see, with the thread of each call.
class SheetRecorder : public ProgressSheet {
  public:
    explicit SheetRecorder(std::shared_ptr<std::vector<QString>> calls)
        : calls_(std::move(calls)) {}
    ~SheetRecorder() override {
        calls_->push_back(onMain() ? "released on main" : "released elsewhere");
    }
    void begin() override { calls_->push_back(onMain() ? "begin" : "begin off main"); }
    void end() override { calls_->push_back(onMain() ? "end" : "end off main"); }

  private:
    static bool onMain() {
        return QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    std::shared_ptr<std::vector<QString>> calls_;
};

// Waits for the test's end without running the main queue: the sheet's
// moment comes, however late, after ffmpeg has ended.
bool endedBeforeTheSheetsMoment(const std::shared_ptr<SCFontconfigTester>& tester) {
    auto ended = std::async(std::launch::async, [tester] { tester->waitUntilTestFinished(); });
    return ended.wait_for(SCFontconfigTester::defaultFfmpegTimeLimit + 30s) ==
           std::future_status::ready;
}

// The exact bytes of the test's subtitle file.
const QByteArray kSubtitle("1\n00:00:0,500 --> 00:00:1,000\ntemp subtitle");

class FontconfigTester : public FakeResources {
  protected:
    // Starts a test with a recording sheet; the tester holds the only
    // reference to the sheet.
    std::shared_ptr<SCFontconfigTester> start(
        std::chrono::milliseconds limit = SCFontconfigTester::defaultFfmpegTimeLimit) {
        auto tester = SCFontconfigTester::make();
        tester->setFfmpegTimeLimit(limit);
        tester->testFontconfigInWindow(std::make_shared<SheetRecorder>(calls));
        EXPECT_TRUE(tester->isTesting());
        return tester;
    }
    // Runs the main queue until the sheet has been released.
    bool finished() {
        return testsupport::spinUntil(
            [&] { return !calls->empty() && calls->back().startsWith("released"); });
    }
    std::vector<QString> sheetCalls() const { return *calls; }

    std::shared_ptr<std::vector<QString>> calls = std::make_shared<std::vector<QString>>();
};

// Records its arguments, environment and subtitle file, sleeps as long as
// the test says ("gate": until the test writes record/release), then checks
// that its subtitle file is still its own.
const QByteArray kFakeFfmpeg = R"(r="$RECORD/$$"
mkdir -p "$r"
for a in "$@"; do printf '%s\0' "$a"; done > "$r/args"
env -0 > "$r/env"
s="${14#subtitles=}"
s="${s%:si=0}"
cp "$s" "$r/subtitle.before"
: > "$r/started"
if [ "$FAKE_SLEEP" = gate ]; then
  i=0; while [ ! -e "$RECORD/release" ] && [ $i -lt 1200 ]; do sleep 0.05; i=$((i+1)); done
else
  sleep "$FAKE_SLEEP"
fi
cp "$s" "$r/subtitle.after"
: > "${16}")";

class FakeFontconfigTester : public FontconfigTester {
  protected:
    void SetUp() override {
        FontconfigTester::SetUp();
        qputenv("RECORD", path("record").toUtf8());
        fakeTool("ffmpeg", kFakeFfmpeg);
    }
    void TearDown() override {
        qunsetenv("RECORD");
        qunsetenv("FAKE_SLEEP");
        FontconfigTester::TearDown();
    }
    QStringList runs() const {
        return QDir(path("record")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }
};

TEST_F(FakeFontconfigTester, ASlowRunShowsTheSheetUntilItIsOver) {
    qputenv("FAKE_SLEEP", "gate");
    QElapsedTimer timer;
    timer.start();
    auto tester = start();
    auto waiting = std::async(std::launch::async, [tester] { tester->waitUntilTestFinished(); });
    ASSERT_TRUE(testsupport::spinUntil([&] { return !calls->empty(); }));
    EXPECT_GE(timer.elapsed(), 1000);
    EXPECT_EQ(sheetCalls(), std::vector<QString>{"begin"});
    EXPECT_TRUE(tester->isTesting());
    EXPECT_EQ(waiting.wait_for(0ms), std::future_status::timeout);
    tester.reset();
    testsupport::drainMainQueue();
    EXPECT_EQ(sheetCalls(), std::vector<QString>{"begin"});  // up while ffmpeg runs
    writeFile("record/release", "");

    ASSERT_TRUE(finished());
    EXPECT_EQ(waiting.wait_for(30s), std::future_status::ready);
    EXPECT_EQ(sheetCalls(), (std::vector<QString>{"begin", "end", "released on main"}));
    EXPECT_EQ(temporaryFiles(), QStringList());

    // Its subtitle file, byte for byte, and its arguments.
    const QStringList run = runs();
    ASSERT_EQ(run.size(), 1);
    const QString record = path("record/" + run.front());
    EXPECT_EQ(readFile(record + "/subtitle.before"), kSubtitle);
    const QStringList arguments = splitRecord(readFile(record + "/args"));
    ASSERT_EQ(arguments.size(), 16);
    const QString subtitle = arguments[13].mid(10).chopped(5);
    const QString output = arguments[15];
    for (const auto& [file, extension] : {std::pair{subtitle, ".srt"}, {output, ".mpeg"}}) {
        EXPECT_TRUE(file.startsWith(uniqueNamesFolder() + "subWriteTest.")) << file.toStdString();
        EXPECT_TRUE(file.endsWith(extension)) << file.toStdString();
    }
    EXPECT_EQ(arguments, (QStringList{"-t", "2", "-s", "160x120", "-f", "rawvideo", "-pix_fmt",
                                      "rgb24", "-r", "25", "-i", "/dev/zero", "-vf",
                                      "subtitles=" + subtitle + ":si=0", "-y", output}));
    const QStringList environment = splitRecord(readFile(record + "/env"));
    EXPECT_TRUE(environment.contains("FONTCONFIG_FILE=" + resources() + "/fonts/fonts.conf"));
}

TEST_F(FakeFontconfigTester, AHungFfmpegIsStoppedAtTheLimit) {
    qputenv("FAKE_SLEEP", "60");
    auto tester = start(1500ms);
    tester.reset();
    ASSERT_TRUE(finished());
    EXPECT_EQ(sheetCalls(), (std::vector<QString>{"begin", "end", "released on main"}));
    EXPECT_EQ(temporaryFiles(), QStringList());
    const QStringList run = runs();
    ASSERT_EQ(run.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(path("record/" + run.front() + "/subtitle.after")));
}

TEST_F(FakeFontconfigTester, TwoTestersAtOnceKeepTheirOwnFiles) {
    // The second run starts and ends, and its files go, while the first one
    // still needs its own.
    qputenv("FAKE_SLEEP", "gate");
    auto first = start();
    ASSERT_TRUE(testsupport::spinUntil([&] { return runs().size() == 1; }));
    ASSERT_TRUE(waitForFile(path("record/" + runs().front() + "/started")));
    qputenv("FAKE_SLEEP", "0");
    auto second = start();
    ASSERT_TRUE(endedBeforeTheSheetsMoment(second));
    writeFile("record/release", "");
    first.reset();
    second.reset();
    ASSERT_TRUE(testsupport::spinUntil([&] { return calls->size() == 5; }))
        << ::testing::PrintToString(*calls);
    std::vector<QString> sorted = sheetCalls();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<QString>{"begin", "end", "end", "released on main",
                                            "released on main"}));
    EXPECT_EQ(temporaryFiles(), QStringList());

    const QStringList run = runs();
    ASSERT_EQ(run.size(), 2);
    QStringList subtitles;
    for (const QString& pid : run) {
        const QString record = path("record/" + pid);
        EXPECT_EQ(readFile(record + "/subtitle.after"), kSubtitle);
        subtitles.append(splitRecord(readFile(record + "/args")).value(13));
    }
    EXPECT_NE(subtitles[0], subtitles[1]);
}

TEST_F(FontconfigTester, AMissingFfmpegEndsTheTestAsUsual) {
    QElapsedTimer timer;
    timer.start();
    auto tester = start();
    ASSERT_TRUE(endedBeforeTheSheetsMoment(tester));
    tester.reset();
    ASSERT_TRUE(finished());
    // isTesting stays true through the first second, whatever happens.
    EXPECT_GE(timer.elapsed(), 1000);
    EXPECT_EQ(sheetCalls(), (std::vector<QString>{"end", "released on main"}));
    EXPECT_EQ(temporaryFiles(), QStringList());
}

// The carried ffmpeg with the resources' font configuration.
class RealFontconfigTester : public ToolsFixture {};

TEST_F(RealFontconfigTester, AFastRunShowsNoSheetAndLeavesNoFiles) {
    auto calls = std::make_shared<std::vector<QString>>();
    // The carried ffmpeg draws the test's subtitle.
    const QString subtitle = writeFile("warm.srt", SCFontconfigTester::testSubtitle());
    const auto warm = SCFontconfigTester::make()->runNoMonitorFfmpeg(
        SCFontconfigTester::testArguments(subtitle, path("warm.mpeg")), true);
    ASSERT_TRUE(warm.succeeded());

    // A run over before the sheet's moment comes: the main queue runs only
    // after it, as it would on a machine fast enough for the delay.
    auto tester = SCFontconfigTester::make();
    tester->testFontconfigInWindow(std::make_shared<SheetRecorder>(calls));
    EXPECT_TRUE(tester->isTesting());
    ASSERT_TRUE(endedBeforeTheSheetsMoment(tester));
    tester.reset();
    ASSERT_TRUE(testsupport::spinUntil([&] { return calls->size() >= 2; }));
    EXPECT_EQ(*calls, (std::vector<QString>{"end", "released on main"}));
    EXPECT_EQ(testsupport::filesBelow(path("tmp")), QStringList());
}

}  // namespace
