#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/ChildProcess.h"
#include "platform/OperationQueue.h"
#include "tools/ProgressSheet.h"

// Builds fontconfig's font cache before a preview: ffmpeg draws a one-line
// subtitle over two seconds of blank video, the result is thrown away. When
// the run still goes on after a second, the progress sheet shows until it
// is over. One tester serves one test; it is held by std::shared_ptr, and its
// queued operations hold it too, handing their reference to the main thread
// at the end so that it is never released inside one of its own queues.
class SCFontconfigTester : public std::enable_shared_from_this<SCFontconfigTester> {
  public:
    // A first cache build on a machine with many fonts is slow.
    static constexpr std::chrono::milliseconds defaultFfmpegTimeLimit{std::chrono::minutes(3)};

    static std::shared_ptr<SCFontconfigTester> make();
    ~SCFontconfigTester();

    SCFontconfigTester(const SCFontconfigTester&) = delete;
    SCFontconfigTester& operator=(const SCFontconfigTester&) = delete;

    // True from testFontconfigInWindow until ffmpeg has ended and its files
    // are gone.
    bool isTesting() const { return isTesting_.load(); }

    // On the main thread: starts the test and returns at once, with
    // isTesting already true. The sheet may be null.
    void testFontconfigInWindow(std::shared_ptr<ProgressSheet> window);

    // Blocks until isTesting is false; never call it on the main thread.
    void waitUntilTestFinished() const;

    // The test itself, synchronous: writes the subtitle, runs ffmpeg, removes
    // both files.
    void testFontconfigCache();

    // Runs the carried ffmpeg with the font configuration, output discarded,
    // within the time limit. It always returns after ffmpeg has ended:
    // with nothing read from it there is no earlier point to return at, so
    // shouldWait changes nothing.
    platform::ChildProcess::Result runNoMonitorFfmpeg(const QStringList& forOptions,
                                                      bool shouldWait) const;

    void setFfmpegTimeLimit(std::chrono::milliseconds limit);

    // The test's subtitle file, byte for byte, and ffmpeg's sixteen
    // arguments for a subtitle file and an output file.
    static QByteArray testSubtitle();
    static QStringList testArguments(const QString& subtitlePath, const QString& outputPath);

  private:
    SCFontconfigTester();
    void watchTest(std::shared_ptr<SCFontconfigTester> self, std::shared_ptr<ProgressSheet> window);

    std::atomic<bool> isTesting_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable testEnded_;
    std::chrono::milliseconds ffmpegTimeLimit_ = defaultFfmpegTimeLimit;
    // Last, so that they are gone before what their operations use.
    platform::OperationQueue fontconfigTestQueue_;
    platform::OperationQueue taskRunningStatusQueue_;
};
