// Generates a 50,000-line SRT file of realistic dialogue (bench/dialogue/)
// and measures, per iteration: a full load (read, parse, publication on the
// main thread, conflict search), the ASS write and the SRT write. Run:
// document_bench [--benchmark_* options]. The generated files stay in
// <temp>/quillmar-bench/ for comparisons with other tools (see
// compare-ffmpeg.sh).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <future>

#include "RealisticDialogue.h"
#include "document/SCSubtitle.h"
#include "formatting/SSSubtitleDialog.h"
#include "platform/MainQueue.h"
#include "platform/TextMeasurer.h"

namespace {

constexpr int kLines = 50000;

QString benchFolder() {
    const QString folder = QDir::tempPath() + "/quillmar-bench/";
    QDir().mkpath(folder);
    return folder;
}

// Loads on a background thread, as the editor does, and runs the main queue
// until the lines are published and the conflict search has finished.
std::shared_ptr<SCSubtitle> loadFully(const QString& path, subtitleTypes type) {
    QElapsedTimer clock;
    clock.start();
    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(type);
    // The load queues the publication before it returns; a block queued
    // after it runs once the lines are published.
    auto published = std::make_shared<std::atomic<bool>>(false);
    std::atomic<qint64> readMs{0};
    auto result = std::async(std::launch::async, [subtitle, path, published, &clock, &readMs] {
        const resultTypes outcome =
            subtitle->initializeFromTextSubURL(QUrl::fromLocalFile(path), "UTF8");
        readMs = clock.elapsed();
        platform::MainQueue::post([published] { published->store(true); });
        return outcome;
    });
    // Waits in the event loop as the application would, not spinning.
    while (!published->load()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (result.get() != resultTypes::ok) return nullptr;
    if (qEnvironmentVariableIsSet("QUILLMAR_BENCH_TRACE")) {
        std::fprintf(stderr, "read: %lld ms\n", (long long)readMs.load());
        std::fprintf(stderr, "published: %lld ms\n", (long long)clock.elapsed());
    }
    subtitle->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    QCoreApplication::processEvents();
    return subtitle;
}

void reportThroughput(benchmark::State& state) {
    state.counters["lines_per_s"] =
        benchmark::Counter(double(kLines), benchmark::Counter::kIsIterationInvariantRate);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
}

// Loads `path` once per iteration, then runs `after` on the document; the
// document's release is not timed.
template <typename After>
void loadEachIteration(benchmark::State& state, const QString& path, subtitleTypes type,
                       After after) {
    for (auto _ : state) {
        auto subtitle = loadFully(path, type);
        if (!subtitle || subtitle->subtitleLinesArray().size() != kLines) {
            state.SkipWithError("load failed");
            break;
        }
        after(*subtitle);
        state.PauseTiming();
        subtitle.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    reportThroughput(state);
}

QString bigSRT() {
    return bench::dialogueSRT(kLines);
}

// The generated cues' dialog texts, with tags and as shown.
const std::vector<bench::DialogueCue>& cues() {
    static const std::vector<bench::DialogueCue> generated = bench::generateDialogue(kLines);
    return generated;
}

void BM_LoadSRT(benchmark::State& state) {
    loadEachIteration(state, bigSRT(), subtitleTypes::srt, [](SCSubtitle&) {});
}

// The goal to compare with `ffmpeg -i big.srt big.ass`.
void BM_LoadSRTAndWriteASS(benchmark::State& state) {
    const QUrl target = QUrl::fromLocalFile(benchFolder() + "big.ass");
    loadEachIteration(state, bigSRT(), subtitleTypes::srt, [&](SCSubtitle& subtitle) {
        subtitle.setCurrentExportFileType(subtitleTypes::ass);
        if (subtitle.writeSubToURL(target, "UTF8") != resultTypes::ok)
            state.SkipWithError("write failed");
    });
}

void BM_LoadASS(benchmark::State& state) {
    // The matching ASS file, written by the document itself.
    const QString path = benchFolder() + "matching.ass";
    if (auto subtitle = loadFully(bigSRT(), subtitleTypes::srt)) {
        subtitle->setCurrentExportFileType(subtitleTypes::ass);
        subtitle->writeSubToURL(QUrl::fromLocalFile(path), "UTF8");
    }
    loadEachIteration(state, path, subtitleTypes::ass, [](SCSubtitle&) {});
}

void BM_Write(benchmark::State& state, subtitleTypes type) {
    auto subtitle = loadFully(bigSRT(), subtitleTypes::srt);
    if (!subtitle) {
        state.SkipWithError("load failed");
        return;
    }
    subtitle->setCurrentExportFileType(type);
    const QUrl target = QUrl::fromLocalFile(benchFolder() + "written." + type.rawValue());
    for (auto _ : state)
        if (subtitle->writeSubToURL(target, "UTF8") != resultTypes::ok)
            state.SkipWithError("write failed");
    reportThroughput(state);
}

// The share of a load spent in the dialog text model (markup conversion,
// spell check, display text), which every line goes through.
void BM_DialogTexts(benchmark::State& state) {
    for (auto _ : state) {
        for (const bench::DialogueCue& cue : cues()) {
            SSSubtitleDialog dialog(cue.text, subtitleTypes::srt);
            benchmark::DoNotOptimize(dialog);
        }
    }
    reportThroughput(state);
}

// Bare lines alone: what every cue costs before it is read.
void BM_BareLines(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kLines; ++i) benchmark::DoNotOptimize(SCSubtitleLine::create());
    reportThroughput(state);
}

// The row heights alone, as the main thread measures them.
void BM_RowHeights(benchmark::State& state) {
    std::vector<QString> shown;
    shown.reserve(cues().size());
    for (const bench::DialogueCue& cue : cues()) shown.push_back(bench::withoutTags(cue.text));
    for (auto _ : state)
        for (const QString& text : shown)
            benchmark::DoNotOptimize(platform::TextMeasurer::cellHeight(text, 390.0));
    reportThroughput(state);
}

}  // namespace

BENCHMARK(BM_DialogTexts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RowHeights)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadSRT)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadASS)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, ass, subtitleTypes(subtitleTypes::ass))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, srt, subtitleTypes(subtitleTypes::srt))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadSRTAndWriteASS)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("files in %s\n", qPrintable(benchFolder()));
    return 0;
}
