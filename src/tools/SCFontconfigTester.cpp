#include "tools/SCFontconfigTester.h"

#include <QFile>
#include <thread>

#include "platform/AppPaths.h"
#include "platform/MainQueue.h"
#include "tools/ChildEnvironments.h"
#include "tools/FilterEscaping.h"
#include "tools/TemporaryNames.h"
#include "tools/ToolLocation.h"

namespace {

// How long a test may run before the sheet shows.
constexpr auto kSheetDelay = std::chrono::seconds(1);

}  // namespace

std::shared_ptr<SCFontconfigTester> SCFontconfigTester::make() {
    return std::shared_ptr<SCFontconfigTester>(new SCFontconfigTester);
}

SCFontconfigTester::SCFontconfigTester()
    : fontconfigTestQueue_(QStringLiteral("Fontconfig Tester Queue"), 1),
      taskRunningStatusQueue_(QStringLiteral("Check Running Queue"), 1) {}

SCFontconfigTester::~SCFontconfigTester() = default;

void SCFontconfigTester::setFfmpegTimeLimit(std::chrono::milliseconds limit) {
    std::lock_guard lock(mutex_);
    ffmpegTimeLimit_ = limit;
}

void SCFontconfigTester::testFontconfigInWindow(std::shared_ptr<ProgressSheet> window) {
    {
        std::lock_guard lock(mutex_);
        isTesting_ = true;
    }
    auto self = shared_from_this();
    fontconfigTestQueue_.addOperation([self] { self->testFontconfigCache(); });
    taskRunningStatusQueue_.addOperation([self, window]() mutable {
        SCFontconfigTester* tester = self.get();
        tester->watchTest(std::move(self), std::move(window));
    });
}

void SCFontconfigTester::watchTest(std::shared_ptr<SCFontconfigTester> self,
                                   std::shared_ptr<ProgressSheet> window) {
    std::this_thread::sleep_for(kSheetDelay);
    platform::MainQueue::post([self, window] {
        if (window && self->fontconfigTestQueue_.operationCount() > 0) window->begin();
    });
    fontconfigTestQueue_.waitUntilAllOperationsAreFinished();
    {
        std::lock_guard lock(mutex_);
        isTesting_ = false;
    }
    testEnded_.notify_all();
    // Queued after any begin(); the tester's reference goes along, so that
    // its last release happens on the main thread.
    platform::MainQueue::post([self = std::move(self), window = std::move(window)] {
        if (window) window->end();
    });
}

void SCFontconfigTester::waitUntilTestFinished() const {
    std::unique_lock lock(mutex_);
    testEnded_.wait(lock, [this] { return !isTesting_.load(); });
}

QByteArray SCFontconfigTester::testSubtitle() {
    return QByteArrayLiteral("1\n00:00:0,500 --> 00:00:1,000\ntemp subtitle");
}

QStringList SCFontconfigTester::testArguments(const QString& subtitlePath,
                                              const QString& outputPath) {
    return {QStringLiteral("-t"),
            QStringLiteral("2"),
            QStringLiteral("-s"),
            QStringLiteral("160x120"),
            QStringLiteral("-f"),
            QStringLiteral("rawvideo"),
            QStringLiteral("-pix_fmt"),
            QStringLiteral("rgb24"),
            QStringLiteral("-r"),
            QStringLiteral("25"),
            QStringLiteral("-i"),
            QStringLiteral("/dev/zero"),
            QStringLiteral("-vf"),
            QStringLiteral("subtitles=") + escapedForFilterGraph(subtitlePath) +
                QStringLiteral(":si=0"),
            QStringLiteral("-y"),
            outputPath};
}

void SCFontconfigTester::testFontconfigCache() {
    // Unique names in the private temporary folder: two tests at once keep
    // their own files, and nobody else can plant a link under the name.
    const QString subtitle =
        makeUniqueNSTempFileURL(QStringLiteral("subWriteTest"), QStringLiteral("srt"))
            .toLocalFile();
    const QString output =
        makeUniqueNSTempFileURL(QStringLiteral("subWriteTest"), QStringLiteral("mpeg"))
            .toLocalFile();
    {
        QFile file(subtitle);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) file.write(testSubtitle());
    }
    runNoMonitorFfmpeg(testArguments(subtitle, output), true);
    QFile::remove(subtitle);
    QFile::remove(output);
}

platform::ChildProcess::Result SCFontconfigTester::runNoMonitorFfmpeg(const QStringList& forOptions,
                                                                      bool /*shouldWait*/) const {
    platform::ChildProcess::Options options;
    options.workingDirectory = platform::AppPaths::childWorkingDirectory();
    options.environment = updateTaskEnvironmentDictionaryForBinary(
        QStringLiteral("ffmpeg"), platform::ChildProcess::currentEnvironment());
    options.output = platform::ChildProcess::Output::Discarded;
    {
        std::lock_guard lock(mutex_);
        options.timeLimit = ffmpegTimeLimit_;
    }
    const QUrl ffmpeg = urlOfApp(QStringLiteral("ffmpeg")).value_or(QUrl());
    return platform::ChildProcess::run(ffmpeg.toLocalFile(), forOptions, std::move(options));
}
