// Opening a generated 50,000-line SRT of realistic dialogue through the application's opening
// steps until the lines table shows it, and switching the export type with
// row 25,000 selected, each against the bare document load measured in the
// same run (counter "ratio"). Offscreen. Run: app_bench [--benchmark_* options].
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTableView>
#include <atomic>
#include <future>

#include "RealisticDialogue.h"
#include "app/AppDelegate.h"
#include "app/SCMainWindowController.h"
#include "document/SCSubtitle.h"
#include "editor/SCViewControllerSRT.h"
#include "platform/AppPaths.h"
#include "platform/MainQueue.h"
#include "tools/InMemoryPreferenceStore.h"

namespace {

constexpr int kLines = 50000;

QString benchFolder() {
    const QString folder = QDir::tempPath() + "/quillmar-bench/app/";
    QDir().mkpath(folder + "data");
    return folder;
}

QString bigSRT() {
    return bench::dialogueSRT(kLines);
}

void waitUntil(const std::function<bool()>& condition) {
    while (!condition()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Reads the file on a background thread as the editing view does, into the
// document, and waits until the lines are published and searched.
void readInto(const std::shared_ptr<SCSubtitle>& subtitle, const QString& path) {
    auto read = std::async(std::launch::async, [subtitle, path] {
        const auto result = subtitle->initializeFromTextSubURL(QUrl::fromLocalFile(path), "UTF8");
        platform::MainQueue::post([] {});
        return result;
    });
    while (read.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    waitUntil([&] { return subtitle->subtitleLinesArray().size() == kLines; });
    subtitle->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    QCoreApplication::processEvents();
}

double bareLoadSeconds() {
    QElapsedTimer clock;
    clock.start();
    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(subtitleTypes::srt);
    readInto(subtitle, bigSRT());
    return clock.nsecsElapsed() / 1e9;
}

std::unique_ptr<AppDelegate> makeDelegate() {
    platform::AppPaths::setOverrides({.userDataFolder = benchFolder() + "data"});
    AppDelegate::Options options;
    options.preferenceStore = std::make_shared<InMemoryPreferenceStore>();
    options.supportCommandRunner = [](const QString&, const QStringList&) {
        return std::optional<QString>(QString());
    };
    auto delegate = std::make_unique<AppDelegate>(std::move(options));
    delegate->awakeFromNib();
    return delegate;
}

// The opening steps, until the current view's table holds every line.
SCMainWindowController* openThroughWindow(AppDelegate& delegate) {
    delegate.applicationOpenFile(bigSRT());
    SCMainWindowController* controller = delegate.openWindowControllers().last();
    QTableView* table = controller->currentViewController()->subtitleTable();
    waitUntil([&] { return table->model()->rowCount() == kLines; });
    controller->windowSubtitle()->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    table->viewport()->repaint();
    QCoreApplication::processEvents();
    return controller;
}

void closeAll(AppDelegate& delegate) {
    for (SCMainWindowController* controller : delegate.openWindowControllers())
        controller->cancelButton();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void BM_OpenThroughWindow(benchmark::State& state) {
    auto delegate = makeDelegate();
    double bare = 0.0;
    double opened = 0.0;
    for (auto _ : state) {
        const double bareSeconds = bareLoadSeconds();
        QElapsedTimer clock;
        clock.start();
        openThroughWindow(*delegate);
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        bare += bareSeconds;
        opened += seconds;
        closeAll(*delegate);
    }
    state.counters["bare_ms"] = 1000.0 * bare / double(state.iterations());
    state.counters["ratio"] = opened / bare;
}

void BM_SwitchExportType(benchmark::State& state) {
    auto delegate = makeDelegate();
    const double bare = bareLoadSeconds();
    SCMainWindowController* controller = openThroughWindow(*delegate);
    controller->currentViewController()->subtitleTable()->selectRow(25000);
    double switched = 0.0;
    bool ass = true;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        controller->setExportType(ass ? "ASS" : "SRT");
        QCoreApplication::processEvents();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        switched += seconds;
        ass = !ass;
    }
    if (controller->currentViewController()->selectedRow() != 25000)
        state.SkipWithError("the selected line moved");
    state.counters["bare_ms"] = 1000.0 * bare;
    state.counters["ratio"] = switched / double(state.iterations()) / bare;
    closeAll(*delegate);
}

}  // namespace

BENCHMARK(BM_OpenThroughWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_SwitchExportType)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bigSRT();  // generated before anything is timed
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
