// The memory a picture-subtitle import keeps per line: a generated PGS of
// many lines (1,500 by default, or the count given as the first argument),
// 1920 x 1080 so that every grab is 1280 x 720, imported with the real
// carried tools as the editor imports it, the document held afterwards.
// Prints the peak resident size, the size kept, and both per line. Run:
// imagesubs_memory_bench [lines]. The generated file stays in
// <temp>/quillmar-bench/.
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <future>

#include "PgsFixture.h"
#include "RealToolImports.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "imagesubs/SCImageSubImporter.h"
#include "platform/AppPaths.h"
#include "platform/MainQueue.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"

namespace {

using benchimports::benchFolder;

QString lineText(int i) {
    static const char* const words[] = {"Hello there", "Where were you", "Come back soon",
                                        "Not tonight", "Good morning"};
    return QStringLiteral("%1 %2").arg(words[i % 5]).arg(i);
}

QUrl pgsFile(int lines) {
    const QString path = benchFolder() + QStringLiteral("memory-bench-%1.sup").arg(lines);
    QList<imagesubfixtures::PgsPicture> pictures;
    for (int i = 0; i < lines; ++i) pictures.append({lineText(i), 1.0 + i * 3, 3.0 + i * 3});
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(imagesubfixtures::makePgs(pictures));
    return QUrl::fromLocalFile(path);
}

double residentMiB() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double peakMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// The resident size once a tenth of the lines has arrived, so that the
// growth per line leaves out what the first lines load once (plug-ins, fonts).
struct EarlySample {
    qsizetype lines = 0;
    double resident = 0;
};

// The import as the editor runs it: on a loading thread, the main thread
// turning the results into lines.
std::shared_ptr<SCSubtitle> importOnce(const QUrl& source, qsizetype sampleAt, EarlySample& early) {
    auto document = SCSubtitle::create();
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto result = std::async(std::launch::async, [document, source, done] {
        const resultTypes outcome = document->initializeFromImageSubURL(source);
        done->store(true);
        platform::MainQueue::post([] {});  // wakes the waiting main thread
        return outcome;
    });
    while (!done->load() || document->isInitializing()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qsizetype count = document->subtitleLinesArray().size();
        if (early.lines == 0 && count >= sampleAt) early = {count, residentMiB()};
    }
    result.get();
    return document;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int lines = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1500;
    if (lines <= 0) {
        std::fprintf(stderr, "usage: %s [lines]\n", argv[0]);
        return 2;
    }
    benchimports::useRealTools();

    const QUrl source = pgsFile(lines);
    const double before = residentMiB();
    QElapsedTimer clock;
    clock.start();
    EarlySample early;
    const auto document = importOnce(source, std::max(1, lines / 10), early);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const double kept = residentMiB();
    const double peak = peakMiB();

    const auto& imported = document->subtitleLinesArray();
    // What the picture panel shows for a selected line.
    const QImage picture = imported.isEmpty() ? QImage() : imported.last()->dialogImage();
    std::printf("lines imported        %lld of %d in %.1f s (%.1f lines/s)\n",
                static_cast<long long>(imported.size()), lines, seconds,
                double(imported.size()) / seconds);
    std::printf("last line's picture   %d x %d\n", picture.width(), picture.height());
    std::printf("resident before       %.1f MiB\n", before);
    std::printf("peak resident         %.1f MiB\n", peak);
    std::printf("resident after        %.1f MiB\n", kept);
    std::printf("peak growth per line  %.1f KiB\n", (peak - before) * 1024.0 / lines);
    std::printf("kept per line         %.1f KiB\n", (kept - before) * 1024.0 / lines);
    if (early.lines > 0 && early.lines < lines)
        std::printf("growth per line       %.1f KiB (from line %lld on, at %.1f MiB)\n",
                    (kept - early.resident) * 1024.0 / double(lines - early.lines),
                    static_cast<long long>(early.lines), early.resident);

    SCSubtitle::setImageSubImporterFactory(nullptr);
    ApplicationContext::setAppPreferences(nullptr);
    return imported.size() == lines ? 0 : 1;
}
