#include "document/ParallelLineParse.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/OperationQueue.h"
#include "platform/SpellChecker.h"
#include "platform/TextMeasurer.h"

namespace {

// Items handed out to a thread at a time: threads that start late or meet
// dearer items take fewer batches instead of holding up the end.
constexpr std::size_t kBatch = 256;
// A file this large makes at least kMinimumForThreads items of any format.
constexpr qint64 kBytesForThreads = 32 * 1024;

}  // namespace

std::size_t ParallelLineParse::threadCount(std::size_t count) {
    if (count < kMinimumForThreads) return 1;
    return std::clamp<std::size_t>(std::size_t(std::max(1, QThread::idealThreadCount())), 1, 8);
}

void ParallelLineParse::prepareForFile(qint64 bytes) {
    if (bytes < kBytesForThreads) return;
    const int threads = int(threadCount(kMinimumForThreads));
    // Opening a dictionary takes tens of milliseconds, as long as reading
    // and decoding a large file: both go on at once.
    std::thread([threads] {
        platform::SpellChecker::shared()->prepareForThreads(threads);
    }).detach();
}

SCSubtitleLineList ParallelLineParse::run(std::size_t count, const Parse& parse) {
    std::vector<SCSubtitleLinePtr> parsed(count);
    const std::size_t threads = threadCount(count);
    if (threads == 1) {
        for (std::size_t i = 0; i < count; ++i) parsed[i] = parse(i);
    } else {
        // Each batch is taken by one thread, which writes only its slots.
        std::atomic<std::size_t> next{0};
        std::vector<std::thread> workers;
        workers.reserve(threads);
        for (std::size_t t = 0; t < threads; ++t) {
            workers.emplace_back([&parsed, &parse, &next, count] {
                // Each thread measures its own lines' row heights, instead of
                // the main thread measuring every line one after the other.
                const platform::TextMeasurer::ThreadMetrics metrics;
                // The program's end stops the parse between batches.
                for (std::size_t begin = next.fetch_add(kBatch);
                     begin < count && !platform::OperationQueue::stopping();
                     begin = next.fetch_add(kBatch)) {
                    const std::size_t end = std::min(count, begin + kBatch);
                    for (std::size_t i = begin; i < end; ++i) parsed[i] = parse(i);
                }
            });
        }
        for (auto& worker : workers) worker.join();
    }
    SCSubtitleLineList kept;
    kept.reserve(qsizetype(std::max<std::size_t>(2000, count)));
    for (auto& line : parsed)
        if (line) kept.append(std::move(line));
    return kept;
}
