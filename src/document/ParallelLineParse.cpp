#include "document/ParallelLineParse.h"

#include <QThread>
#include <algorithm>
#include <thread>
#include <vector>

#include "platform/TextMeasurer.h"

SCSubtitleLineList ParallelLineParse::run(std::size_t count, const Parse& parse) {
    std::vector<SCSubtitleLinePtr> parsed(count);
    const std::size_t threads =
        count < kMinimumForThreads
            ? 1
            : std::clamp<std::size_t>(std::size_t(std::max(1, QThread::idealThreadCount())), 1, 8);
    if (threads == 1) {
        for (std::size_t i = 0; i < count; ++i) parsed[i] = parse(i);
    } else {
        // Contiguous slices: each thread writes only its own slots.
        const std::size_t slice = (count + threads - 1) / threads;
        std::vector<std::thread> workers;
        workers.reserve(threads);
        for (std::size_t begin = 0; begin < count; begin += slice) {
            const std::size_t end = std::min(count, begin + slice);
            workers.emplace_back([&parsed, &parse, begin, end] {
                // Each thread measures its own lines' row heights, instead of
                // the main thread measuring every line one after the other.
                const platform::TextMeasurer::ThreadMetrics metrics;
                for (std::size_t i = begin; i < end; ++i) parsed[i] = parse(i);
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
