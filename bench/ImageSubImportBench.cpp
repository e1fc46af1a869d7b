// A whole picture-subtitle import with the real carried tools (mkvmerge,
// ffmpeg, the OCR engine), 100 generated lines of PGS and of VobSub, against
// a floor measured in the same run: the same mkvmerge, report, grab and
// engine command lines with the same environments, started here through
// ChildProcess, four lines at a time. Run: imagesubs_import_bench. The
// generated files stay in <temp>/quillmar-bench/.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <atomic>
#include <future>
#include <thread>

#include "PgsFixture.h"
#include "RealToolImports.h"
#include "VobSubFixture.h"
#include "document/SCSubtitle.h"
#include "imagesubs/LineGrabCommand.h"
#include "imagesubs/SCImageSubImporter.h"
#include "platform/AppPaths.h"
#include "platform/ChildProcess.h"
#include "platform/MainQueue.h"
#include "tools/ApplicationContext.h"
#include "tools/ChildEnvironments.h"
#include "tools/FfmpegReport.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/MkvmergeCommand.h"
#include "tools/SCPreferences.h"
#include "tools/TemporaryNames.h"
#include "tools/TesseractCommand.h"
#include "tools/ToolLocation.h"

namespace {

constexpr int kLines = 100;

using benchimports::benchFolder;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QString lineText(int i) {
    static const char* const words[] = {"Hello there", "Where were you", "Come back soon",
                                        "Not tonight", "Good morning"};
    return QStringLiteral("%1 %2").arg(words[i % 5]).arg(i);
}

QUrl pgsFile() {
    static const QUrl url = [] {
        QList<imagesubfixtures::PgsPicture> pictures;
        for (int i = 0; i < kLines; ++i) pictures.append({lineText(i), 1.0 + i * 3, 3.0 + i * 3});
        writeFile(benchFolder() + "import-bench.sup", imagesubfixtures::makePgs(pictures));
        return QUrl::fromLocalFile(benchFolder() + "import-bench.sup");
    }();
    return url;
}

QUrl vobSubFile() {
    static const QUrl url = [] {
        QList<imagesubfixtures::VobSubPicture> pictures;
        for (int i = 0; i < kLines; ++i) pictures.append({lineText(i), 1000 + i * 3000LL, 180});
        const auto files = imagesubfixtures::makeVobSub(pictures);
        writeFile(benchFolder() + "import-bench.idx", files.idx);
        writeFile(benchFolder() + "import-bench.sub", files.sub);
        return QUrl::fromLocalFile(benchFolder() + "import-bench.idx");
    }();
    return url;
}

platform::ChildProcess::Result runChild(const QString& program, const QStringList& arguments,
                                        std::optional<platform::EnvironmentDictionary> env = {}) {
    platform::ChildProcess::Options options;
    options.workingDirectory = platform::AppPaths::childWorkingDirectory();
    options.environment = std::move(env);
    return platform::ChildProcess::run(program, arguments, options);
}

// The tools' own work for one file, without the importer around it.
void floorOnce(const QUrl& source) {
    const QUrl temporary = makeUniqueNSTempFileURL("tempVideoForSubURL", "mkv");
    runChild(urlOfApp("mkvmerge")->toLocalFile(),
             mkvmergeArguments(temporary.toLocalFile(), source.toLocalFile()),
             updateTaskEnvironmentDictionaryForBinary(
                 "mkvmerge", platform::ChildProcess::currentEnvironment()));
    const auto report = runChild(urlOfApp("ffmpeg")->toLocalFile(),
                                 ffmpegFileInfoArguments(temporary.toLocalFile()));
    const FfmpegFileInfo info = parseFfmpegFileInfo(QString::fromUtf8(report.standardError));
    const GrabSize size =
        info.size ? grabSizeFor(info.size->width, info.size->height) : grabSizeFor(1920, 1080);
    const auto times = SCImageSubImporter::create()->findStartEndTimesForSubURL(source);

    platform::EnvironmentDictionary engineEnvironment = updateTaskEnvironmentDictionaryForBinary(
        "tesseract", platform::ChildProcess::currentEnvironment());
    engineEnvironment.insert("OMP_THREAD_LIMIT", "1");
    const QString ffmpeg = urlOfApp("ffmpeg")->toLocalFile();
    const QString engine = urlOfApp("tesseract")->toLocalFile();
    std::atomic<int> next = 0;
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w) {
        workers.emplace_back([&] {
            for (int i = next++; i < times->size(); i = next++) {
                const QString png = makeUniqueNSTempFileURL("croppedPng", "png").toLocalFile();
                runChild(ffmpeg, lineGrabArguments(times->at(i).start + 0.2 - info.startTime,
                                                   temporary.toLocalFile(), size, png));
                runChild(engine, tesseractArguments(png, "eng"), engineEnvironment);
                QFile::remove(png);
                QFile::remove(tesseractTextFilePath(png));
            }
        });
    }
    for (auto& worker : workers) worker.join();
    QFile::remove(temporary.toLocalFile());
}

// The import as the editor runs it: on a loading thread, the main thread
// turning the results into lines.
qsizetype importOnce(const QUrl& source) {
    auto document = SCSubtitle::create();
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto result = std::async(std::launch::async, [document, source, done] {
        const resultTypes outcome = document->initializeFromImageSubURL(source);
        done->store(true);
        platform::MainQueue::post([] {});  // wakes the waiting main thread
        return outcome;
    });
    // Waits in the event loop as the application would, not spinning.
    while (!done->load() || document->isInitializing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    result.get();
    return document->subtitleLinesArray().size();
}

// Each round runs the bare tools and the import one after the other,
// alternating which goes first, so that a machine load that changes over the
// run weighs on both alike; the ratio is the import's time over the floor's.
void ImportAgainstFloor(benchmark::State& state, QUrl (*file)()) {
    const QUrl source = file();
    double floorSeconds = 0;
    double importSeconds = 0;
    qsizetype lines = 0;
    int round = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        const auto timeFloor = [&] {
            clock.start();
            floorOnce(source);
            floorSeconds += clock.nsecsElapsed() / 1e9;
        };
        const auto timeImport = [&] {
            clock.start();
            lines = importOnce(source);
            importSeconds += clock.nsecsElapsed() / 1e9;
        };
        if (round++ % 2 == 0) {
            timeFloor();
            timeImport();
        } else {
            timeImport();
            timeFloor();
        }
    }
    const double rounds = static_cast<double>(state.iterations());
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["floor_s"] = floorSeconds / rounds;
    state.counters["import_s"] = importSeconds / rounds;
    state.counters["ratio"] = importSeconds / floorSeconds;
    state.counters["lines_per_s"] = kLines * rounds / importSeconds;
}

BENCHMARK_CAPTURE(ImportAgainstFloor, Pgs, pgsFile)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK_CAPTURE(ImportAgainstFloor, VobSub, vobSubFile)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchimports::useRealTools();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SCSubtitle::setImageSubImporterFactory(nullptr);
    ApplicationContext::setAppPreferences(nullptr);
    return 0;
}
