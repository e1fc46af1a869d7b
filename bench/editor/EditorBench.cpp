// The editing view on a 50,000-line SRT document of generated dialogue
// (bench/dialogue/), each figure beside the
// document's own work in the same run:
//   view ready (model, every row height, first paint)  vs  the document load;
//   one keystroke in a start-time cell (validator, push, conflict search,
//   repaint)                                           vs  a bare conflict search;
//   "Clean All", "Reset Dialog" for all lines, "None" then "All"
//                                                      vs  the same model work bare.
// Run: editor_bench [--benchmark_* options]; the ratios are printed last.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <atomic>
#include <cstdio>
#include <future>
#include <map>
#include <string>

#include "RealisticDialogue.h"
#include "editor/EditingActions.h"
#include "editor/EditorValueTransformers.h"
#include "editor/LinesTableDelegate.h"
#include "editor/SCViewControllerSRT.h"
#include "formatting/SCStyle.h"
#include "platform/MainQueue.h"

namespace {

constexpr int kLines = 50000;

// Mean seconds per iteration of each case, for the ratios.
std::map<std::string, double>& means() {
    static std::map<std::string, double> m;
    return m;
}

QString bigSRT() {
    return bench::dialogueSRT(kLines);
}

void waitFor(const std::function<bool()>& condition) {
    while (!condition()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

// Read on a worker, published and searched on the main thread, as the view
// loads a file.
std::shared_ptr<SCSubtitle> load() {
    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(subtitleTypes::srt);
    // The load queues the publication before it returns; a block queued
    // after it runs once the lines are published.
    std::atomic<bool> published{false};
    const QString path = bigSRT();
    auto result = std::async(std::launch::async, [&] {
        const auto r = subtitle->initializeFromTextSubURL(QUrl::fromLocalFile(path), "UTF8");
        platform::MainQueue::post([&] { published = true; });
        return r;
    });
    waitFor([&] { return published.load(); });
    if (result.get() != resultTypes::ok) return nullptr;
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

// A shown view on a loaded document, for the action cases.
struct ShownView {
    std::shared_ptr<SCSubtitle> subtitle = load();
    SCViewControllerSRT view;
    ShownView() {
        view.setViewSubtitle(subtitle);
        view.view()->resize(1100, 760);
        view.view()->show();
        QCoreApplication::processEvents();
    }
};

// The action through the view, or the same work on the lines alone; the
// document is read again, untimed, before each iteration.
template <typename Action>
void timeAction(benchmark::State& state, const char* name, Action action) {
    ShownView shown;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        shown.view.reloadData();
        for (const auto& line : shown.subtitle->subtitleLinesArray()) {
            line->setUnformattedTextSRT("<i>changed</i> text");
            line->setIsExcluded(false);
        }
        QCoreApplication::processEvents();
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        action(shown);
        QCoreApplication::processEvents();
        total += clock.nsecsElapsed() / 1e9;
    }
    record(state, name, total);
}

QPushButton& titled(const char* title) {
    static QPushButton button;
    button.setText(title);
    return button;
}

void BM_CleanAll(benchmark::State& state) {
    timeAction(state, "cleanAll", [](ShownView& s) { s.view.cleanTextAllButton(); });
}
void BM_CleanAllBare(benchmark::State& state) {
    timeAction(state, "cleanAllBare", [](ShownView& s) {
        for (const auto& line : s.subtitle->subtitleLinesArray()) line->removeFormattingFromText();
    });
}
void BM_ResetDialogAll(benchmark::State& state) {
    timeAction(state, "resetDialog",
               [](ShownView& s) { s.view.resetAllButtons(&titled("Reset Dialog")); });
}
void BM_ResetDialogAllBare(benchmark::State& state) {
    timeAction(state, "resetDialogBare", [](ShownView& s) {
        for (const auto& line : s.subtitle->subtitleLinesArray()) line->resetDialogToOriginal();
    });
}
void BM_NoneThenAll(benchmark::State& state) {
    timeAction(state, "noneAll", [](ShownView& s) {
        s.view.allNoneStylesButton(&titled("None"));
        s.view.allNoneStylesButton(&titled("All"));
    });
}
void BM_NoneThenAllBare(benchmark::State& state) {
    // What the two buttons change in the model: flags, displays, two searches.
    timeAction(state, "noneAllBare", [](ShownView& s) {
        for (const bool all : {false, true}) {
            for (const auto& style : s.subtitle->subtitleStylesArray()) style->setTheState(all);
            for (const auto& line : s.subtitle->subtitleLinesArray()) {
                if (all || !line->isExcluded()) {
                    line->setIsExcluded(!all);
                    EditingActions::switchDisplay(*line, all);
                }
            }
            s.subtitle->findTimeConflicts();
        }
    });
}

}  // namespace

BENCHMARK(BM_CleanAllBare)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CleanAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ResetDialogAllBare)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ResetDialogAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_NoneThenAllBare)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_NoneThenAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_DocumentLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ViewReady)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FindTimeConflicts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_StartTimeKeystroke)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerEditorValueTransformers();
    bigSRT();  // generated before anything is timed
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto& m = means();
    if (m.count("load") && m.count("viewReady"))
        std::printf("view ready / document load: %.3f (goal <= 0.2)\n", m["viewReady"] / m["load"]);
    if (m.count("conflicts") && m.count("keystroke"))
        std::printf("keystroke / conflict search: %.2f (goal <= 2)\n",
                    m["keystroke"] / m["conflicts"]);
    for (const char* name : {"cleanAll", "resetDialog", "noneAll"}) {
        const std::string bare = std::string(name) + "Bare";
        if (m.count(name) && m.count(bare))
            std::printf("%s / bare: %.2f (goal <= 2)\n", name, m[name] / m[bare]);
    }
    return 0;
}
