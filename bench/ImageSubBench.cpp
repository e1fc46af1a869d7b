// Line times of a generated 2,000-picture VobSub (IDX with its SUB) against
// one plain read of the same SUB file in the same run: reading every
// picture's duration should cost little more than reading the file once.
// Run: imagesubs_bench [--benchmark_* options]. The files stay in
// <temp>/quillmar-bench/.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "VobSubFixture.h"
#include "imagesubs/SCImageSubImporter.h"

namespace {

constexpr int kPictures = 2000;

QString benchFolder() {
    const QString folder = QDir::tempPath() + "/quillmar-bench/";
    QDir().mkpath(folder);
    return folder;
}

QString vobSubIndexPath() {
    static const QString path = [] {
        QList<imagesubfixtures::VobSubPicture> pictures;
        for (int i = 0; i < kPictures; ++i)
            pictures.append(
                {QStringLiteral("Line %1 of the bench").arg(i), 1000 + i * 3000LL, 100 + i % 200});
        const auto files = imagesubfixtures::makeVobSub(pictures);
        const QString base = benchFolder() + "bench-vobsub";
        for (const auto& [suffix, bytes] : {std::pair{".idx", files.idx}, {".sub", files.sub}}) {
            QFile file(base + suffix);
            if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        }
        return base + ".idx";
    }();
    return path;
}

void VobSubLineTimes(benchmark::State& state) {
    const QUrl idx = QUrl::fromLocalFile(vobSubIndexPath());
    for (auto _ : state) {
        const auto importer = SCImageSubImporter::create();
        const auto times = importer->findStartEndTimesForSubURL(idx);
        if (!times || times->size() != kPictures) state.SkipWithError("wrong picture count");
        benchmark::DoNotOptimize(times);
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
}
BENCHMARK(VobSubLineTimes)->Unit(benchmark::kMillisecond);

// The floor: the SUB file read once.
void ReadSubFile(benchmark::State& state) {
    QString sub = vobSubIndexPath();
    sub.replace(".idx", ".sub");
    qint64 bytes = 0;
    for (auto _ : state) {
        QFile file(sub);
        if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("no SUB file");
        const QByteArray all = file.readAll();
        bytes = all.size();
        benchmark::DoNotOptimize(all.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(ReadSubFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the pictures are drawn with Qt's fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
