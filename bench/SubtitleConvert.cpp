// Opens a subtitle file as the editor does (read and parse on a background
// thread, publication and the conflict search through the main queue), then
// writes it in the type of the target's extension, and exits: the program
// that bench/compare-ffmpeg.sh runs against `ffmpeg -i x.srt x.ass`.
//   subtitle_convert IN.srt OUT.ass
//   subtitle_convert --generate CUES OUT.srt   (the benchmarks' dialogue)
// Exit status 0 on success, 1 on a failed load or write, 2 on bad arguments.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>
#include <atomic>
#include <cstdio>
#include <future>

#include "RealisticDialogue.h"
#include "document/SCSubtitle.h"
#include "platform/LaunchEnvironment.h"
#include "platform/MainQueue.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: subtitle_convert IN.(srt|ass) OUT.(ass|srt)\n"
                 "       subtitle_convert --generate CUES OUT.srt\n");
    return 2;
}

int generate(const char* count, const char* path) {
    bool ok = false;
    const int cues = QString::fromLocal8Bit(count).toInt(&ok);
    if (!ok || cues < 1) return usage();
    if (!bench::writeDialogueSRT(QString::fromLocal8Bit(path), cues)) {
        std::fprintf(stderr, "subtitle_convert: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

// With QUILLMAR_CONVERT_PHASES set, the time each phase ended, to stderr.
void phase(const char* name) {
    static const bool on = qEnvironmentVariableIsSet("QUILLMAR_CONVERT_PHASES");
    static QElapsedTimer clock;
    if (!on) return;
    if (!clock.isValid()) clock.start();
    // The resident set now and at its peak so far, in MB.
    double rss = 0, peak = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            long kB = 0;
            if (std::sscanf(line, "VmRSS: %ld", &kB) == 1) rss = kB / 1024.0;
            if (std::sscanf(line, "VmHWM: %ld", &kB) == 1) peak = kB / 1024.0;
        }
        std::fclose(status);
    }
    std::fprintf(stderr, "%-10s %6.1f ms  rss %6.1f MB  peak %6.1f MB\n", name,
                 double(clock.nsecsElapsed()) / 1e6, rss, peak);
}

int convert(const QString& source, const QString& target) {
    phase("start");
    const subtitleTypes from = subtitleTypes::enumForExtension(QFileInfo(source).suffix());
    const subtitleTypes to = subtitleTypes::enumForExtension(QFileInfo(target).suffix());
    if (!from.isTextBased() || !to.isTextBased()) return usage();

    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(from);
    // The load queues the publication on the main queue before it returns;
    // a block queued after it runs once the lines are published.
    std::atomic<bool> published{false};
    auto loaded = std::async(std::launch::async, [&] {
        const resultTypes result =
            subtitle->initializeFromTextSubURL(QUrl::fromLocalFile(source), "UTF8");
        platform::MainQueue::post([&] { published = true; });
        return result;
    });
    // The main thread waits in its event loop, as the editor's does.
    while (!published) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    phase("published");
    if (loaded.get() != resultTypes::ok) {
        std::fprintf(stderr, "subtitle_convert: cannot load %s: %s\n", qPrintable(source),
                     qPrintable(subtitle->lastFailure().description()));
        return 1;
    }
    // The conflict search runs on the document's queue and hands its result
    // back through the main queue.
    subtitle->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    QCoreApplication::processEvents();
    phase("conflicts");

    subtitle->setCurrentExportFileType(to);
    if (subtitle->writeSubToURL(QUrl::fromLocalFile(target), "UTF8") != resultTypes::ok) {
        std::fprintf(stderr, "subtitle_convert: cannot write %s\n", qPrintable(target));
        return 1;
    }
    phase("written");
    subtitle.reset();
    phase("released");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    platform::launch::restore();  // as the editor's own start does
    if (argc == 4 && QByteArray(argv[1]) == "--generate") return generate(argv[2], argv[3]);
    if (argc != 3) return usage();
    // Row heights are measured with the fonts, which need the application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        status = convert(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    }
    phase("ended");
    return status;
}
