// Work that must grow linearly (n log n at worst) with the size of what a
// file holds, measured over growing sizes: the time per item (the "per_item"
// counter, in nanoseconds) stays flat when it does. Run: growth_bench.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QString>

#include "document/SCSubtitleLine.h"
#include "document/SRTFormat.h"
#include "document/TimeConflicts.h"
#include "formatting/SSSubtitleDialog.h"
#include "platform/NullSpellChecker.h"
#include "platform/SpellChecker.h"

namespace {

void perItem(benchmark::State& state, std::int64_t items) {
    state.SetComplexityN(items);
    state.counters["per_item"] =
        benchmark::Counter(double(items) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// n lines that share one start and end later and later: every line encloses
// or overlaps every later one.
void BM_ConflictsSharedStart(benchmark::State& state) {
    const std::size_t n = std::size_t(state.range(0));
    std::vector<TimeConflicts::Input> lines(n);
    for (std::size_t i = 0; i < n; ++i) lines[i] = {1.0, 1000.0 - double(i) * 1e-3, false};
    for (auto _ : state) benchmark::DoNotOptimize(TimeConflicts::search(lines));
    perItem(state, std::int64_t(n));
}
BENCHMARK(BM_ConflictsSharedStart)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

// n lines that share one end.
void BM_ConflictsSharedEnd(benchmark::State& state) {
    const std::size_t n = std::size_t(state.range(0));
    std::vector<TimeConflicts::Input> lines(n);
    for (std::size_t i = 0; i < n; ++i) lines[i] = {double(i) * 1e-3, 1000.0, false};
    for (auto _ : state) benchmark::DoNotOptimize(TimeConflicts::search(lines));
    perItem(state, std::int64_t(n));
}
BENCHMARK(BM_ConflictsSharedEnd)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

// One dialog line holding n tags of a kind (SRT italics) or n override blocks.
void styleLine(benchmark::State& state, const QString& piece, subtitleTypes type,
               const QString& lead = QString()) {
    const qsizetype n = state.range(0);
    QString text = lead;
    text.reserve(piece.size() * n);
    for (qsizetype i = 0; i < n; ++i) text += piece;
    for (auto _ : state) {
        SSSubtitleDialog dialog(text, type);
        benchmark::DoNotOptimize(dialog.formattedText());
    }
    perItem(state, n);
}
void BM_DialogItalicTags(benchmark::State& state) {
    styleLine(state, QStringLiteral("<i>word</i> "), subtitleTypes::srt);
}
void BM_DialogOverrideBlocks(benchmark::State& state) {
    styleLine(state, QStringLiteral("{\\an8}word "), subtitleTypes::ass);
}
// A closing tag first, then only opening ones: none of them is closed.
void BM_DialogUnclosedItalics(benchmark::State& state) {
    styleLine(state, QStringLiteral("<i>"), subtitleTypes::srt, QStringLiteral("</i>"));
}
void BM_DialogOpenBraces(benchmark::State& state) {
    styleLine(state, QStringLiteral("{\\"), subtitleTypes::ass);
}
BENCHMARK(BM_DialogItalicTags)->RangeMultiplier(4)->Range(1 << 8, 1 << 14)->Complexity();
BENCHMARK(BM_DialogOverrideBlocks)->RangeMultiplier(4)->Range(1 << 8, 1 << 14)->Complexity();
BENCHMARK(BM_DialogUnclosedItalics)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();
BENCHMARK(BM_DialogOpenBraces)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Complexity();

// n tiny cues read from SRT text.
void BM_ReadTinyCues(benchmark::State& state) {
    const qsizetype n = state.range(0);
    QString text;
    for (qsizetype i = 0; i < n; ++i)
        text += QStringLiteral("1\n00:00:01,000 --> 00:00:02,000\nx\n\n");
    for (auto _ : state) {
        const auto cues = SRTFormat::findCues(SRTFormat::linesOfFileText(text));
        std::size_t read = 0;
        for (const QStringList& block : *cues) read += SRTFormat::readCue(block).has_value();
        benchmark::DoNotOptimize(read);
    }
    perItem(state, n);
}
BENCHMARK(BM_ReadTinyCues)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The styling is measured, not the dictionary.
    platform::SpellChecker::setShared(std::make_shared<platform::NullSpellChecker>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
