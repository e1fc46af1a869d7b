// Reopening the preferences window over 120 installed OCR languages, against
// its floor: the two child processes every opening needs ("ln -s" for the
// link to the language-data folder, then "sh -c" with "ls … | grep
// traineddata"), run bare. Prints the ratio of the two; the goal is 1.3 at
// most. Run: preferences_bench [--benchmark_* options].
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <string>

#include "platform/AppPaths.h"
#include "platform/ChildProcess.h"
#include "platform/TemporaryFolder.h"
#include "preferences/SCPreferencesController.h"
#include "preferences/SCToolTips.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"

namespace {

constexpr int kLanguages = 120;

// A support folder with the engine's entries and 120 language files.
struct Setting {
    QTemporaryDir scratch;
    std::shared_ptr<SCPreferences> preferences;
    std::unique_ptr<SCToolTips> toolTips;
    std::unique_ptr<SCPreferencesController> controller;

    Setting() {
        QDir().mkpath(scratch.filePath("tmp"));
        platform::TemporaryFolder::setOverride(scratch.filePath("tmp"));
        platform::AppPaths::setOverrides(
            {.resourcesFolder = scratch.filePath("resources"), .userDataFolder = scratch.path()});
        const QString engine = scratch.filePath("Borvane/tesseract304/");
        for (const char* folder :
             {"jpeg", "leptonica", "lib", "libpng", "libtiff", "tessdata/configs"})
            QDir().mkpath(engine + folder);
        write(engine + "tesseract", "");
        write(engine + "tessdata/configs/exclusions", "tessedit_char_blacklist |");
        for (int i = 0; i < kLanguages; ++i)
            write(engine + QStringLiteral("tessdata/l%1.traineddata").arg(i, 3, 10, QChar(u'0')),
                  "data");
        preferences = std::make_shared<SCPreferences>(std::make_shared<InMemoryPreferenceStore>());
        ApplicationContext::setAppPreferences(preferences);
        preferences->initializePreferences();
        toolTips = std::make_unique<SCToolTips>();
        controller = std::make_unique<SCPreferencesController>([this] { return toolTips.get(); });
        controller->intializeAfterPreferencesLoaded();
        controller->openPreferencesPanel();  // the window is made once
    }

    static void write(const QString& path, const QByteArray& content) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(content);
    }

    QString tessdata() const { return scratch.filePath("Borvane/tesseract304/tessdata"); }
};

std::unique_ptr<Setting> current;

// Made on first use, dropped before the application goes.
Setting& setting() {
    if (!current) current = std::make_unique<Setting>();
    return *current;
}

void BM_OpenPreferencesPanel(benchmark::State& state) {
    Setting& s = setting();
    for (auto _ : state) {
        s.controller->openPreferencesPanel();
        QApplication::processEvents();
    }
    if (s.controller->usereTesseractLanguageList().size() != kLanguages)
        state.SkipWithError("the languages were not listed");
}

void BM_BareListing(benchmark::State& state) {
    Setting& s = setting();
    int n = 0;
    const QString folder = s.scratch.filePath("tmp/");
    for (auto _ : state) {
        const QString link = folder + QStringLiteral(".bare%1.SL.").arg(n++);
        platform::ChildProcess::run("/usr/bin/ln", {"-s", s.tessdata(), link});
        const auto listed = platform::ChildProcess::run(
            "/bin/sh", {"-c", "\"ls\" \"" + link + "\" | grep traineddata"});
        benchmark::DoNotOptimize(listed.standardOutput);
    }
}

// Keeps each benchmark's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

BENCHMARK(BM_OpenPreferencesPanel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareListing)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    current.reset();
    const auto open = reporter.times.find("BM_OpenPreferencesPanel/real_time");
    const auto bare = reporter.times.find("BM_BareListing/real_time");
    if (open != reporter.times.end() && bare != reporter.times.end() && bare->second > 0)
        std::printf("opening / bare listing: %.2f (goal: 1.30 at most)\n",
                    open->second / bare->second);
    ApplicationContext::setAppPreferences(nullptr);
    return 0;
}
