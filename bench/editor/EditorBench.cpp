// The editing view on a 50,000-line SRT document, each figure beside the
// document's own work in the same run:
//   view ready (model, every row height, first paint)  vs  the document load;
//   one keystroke in a start-time cell (validator, push, conflict search,
//   repaint)                                           vs  a bare conflict search.
// Run: editor_bench [--benchmark_* options]; the ratios are printed last.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <atomic>
#include <cstdio>
#include <future>
#include <map>
#include <string>

#include "common/TimeTexts.h"
#include "editor/EditorValueTransformers.h"
#include "editor/LinesTableDelegate.h"
#include "editor/SCViewControllerSRT.h"
#include "platform/MainQueue.h"

namespace {

constexpr int kLines = 50000;

// Mean seconds per iteration of each case, for the ratios.
std::map<std::string, double>& means() {
    static std::map<std::string, double> m;
    return m;
}

QString bigSRT() {
    const QString path = QDir::tempPath() + "/quillmar-bench/editor-big.srt";
    if (QFile::exists(path)) return path;
    QDir().mkpath(QDir::tempPath() + "/quillmar-bench");
    QString text;
    text.reserve(kLines * 80);
    for (int i = 0; i < kLines; ++i) {
        const double start = 0.5 + 3.0 * i;
        text += QString::number(i + 1) + u'\n' + srtTimeStringFromDoubleTime(start) + " --> " +
                srtTimeStringFromDoubleTime(start + 2.25) + u'\n';
        text += i % 7 == 0 ? "<i>Where were you on the night</i>\n<i>of the " + QString::number(i) +
                                 "th?</i>\n\n"
                           : "I was at home, reading line " + QString::number(i) +
                                 ",\nand nobody can say otherwise.\n\n";
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
    return path;
}

void waitFor(const std::function<bool()>& condition) {
    while (!condition()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

// Read on a worker, published and searched on the main thread, as the view
// loads a file.
std::shared_ptr<SCSubtitle> load() {
    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(subtitleTypes::srt);
    std::atomic<bool> done{false};
    auto result = std::async(std::launch::async, [&] {
        const auto r = subtitle->initializeFromTextSubURL(QUrl::fromLocalFile(bigSRT()), "UTF8");
        done = true;
        platform::MainQueue::post([] {});
        return r;
    });
    waitFor([&] { return done.load(); });
    if (result.get() != resultTypes::ok) return nullptr;
    waitFor([&] { return subtitle->progressLabel().isEmpty(); });
    subtitle->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    QCoreApplication::processEvents();
    return subtitle;
}

void record(benchmark::State& state, const char* name, double seconds) {
    means()[name] = seconds / double(state.iterations());
}

void BM_DocumentLoad(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto subtitle = load();
        total += clock.nsecsElapsed() / 1e9;
        if (!subtitle) state.SkipWithError("load failed");
        state.PauseTiming();
        subtitle.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    record(state, "load", total);
}

void BM_ViewReady(benchmark::State& state) {
    auto subtitle = load();
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto view = std::make_unique<SCViewControllerSRT>();
        view->setViewSubtitle(subtitle);
        QWidget* widget = view->view();
        widget->resize(1100, 760);
        widget->show();
        widget->repaint();
        total += clock.nsecsElapsed() / 1e9;
        state.PauseTiming();
        view.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    record(state, "viewReady", total);
}

void BM_FindTimeConflicts(benchmark::State& state) {
    auto subtitle = load();
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        subtitle->findTimeConflicts();
        total += clock.nsecsElapsed() / 1e9;
    }
    record(state, "conflicts", total);
}

void BM_StartTimeKeystroke(benchmark::State& state) {
    auto subtitle = load();
    SCViewControllerSRT view;
    view.setViewSubtitle(subtitle);
    QWidget* widget = view.view();
    widget->resize(1100, 760);
    widget->show();
    QCoreApplication::processEvents();
    QLineEdit field(view.subtitleTable()->viewport());
    LinesTableDelegate::tagEditor(&field, 10, 2);
    double total = 0;
    int i = 0;
    for (auto _ : state) {
        // Alternately 00:00:31,000 and 00:00:32,000: each keystroke changes the time.
        const QString before = subtitle->subtitleLinesArray()[10]->userStartTimeStringSRT();
        view.controlTextShouldBeginEditing(before);
        field.setText(before.left(7) + QChar(u'1' + (i++ % 2)) + before.mid(7));
        field.setCursorPosition(8);
        QElapsedTimer clock;
        clock.start();
        view.controlTextDidChange(&field);
        QCoreApplication::processEvents();
        widget->repaint();
        total += clock.nsecsElapsed() / 1e9;
    }
    record(state, "keystroke", total);
}

}  // namespace

BENCHMARK(BM_DocumentLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ViewReady)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FindTimeConflicts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_StartTimeKeystroke)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerEditorValueTransformers();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto& m = means();
    if (m.count("load") && m.count("viewReady"))
        std::printf("view ready / document load: %.3f (goal <= 0.2)\n", m["viewReady"] / m["load"]);
    if (m.count("conflicts") && m.count("keystroke"))
        std::printf("keystroke / conflict search: %.2f (goal <= 2)\n",
                    m["keystroke"] / m["conflicts"]);
    return 0;
}
