#include "document/ParallelTextPieces.h"

#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

bool ParallelTextPieces::run(std::size_t count, const Build& build, const Sink& sink) {
    const std::size_t pieces = (count + kLinesPerPiece - 1) / kLinesPerPiece;
    const auto buildPiece = [&build, count](std::size_t piece) {
        QString text;
        const std::size_t first = piece * kLinesPerPiece;
        build(text, first, std::min(count, first + kLinesPerPiece));
        return text;
    };
    const std::size_t threads =
        count < kMinimumForThreads
            ? 1
            : std::clamp<std::size_t>(std::size_t(std::max(1, QThread::idealThreadCount())), 1, 8);
    if (threads == 1) {
        for (std::size_t piece = 0; piece < pieces; ++piece)
            if (!sink(buildPiece(piece))) return false;
        return true;
    }

    // The workers take pieces in order, at most `ahead` beyond the one the
    // caller waits for; each finished piece goes to its own slot.
    const std::size_t ahead = threads * 2;
    std::vector<std::optional<QString>> finished(pieces);
    std::mutex mutex;
    std::condition_variable built, taken;
    std::size_t next = 0, waitedFor = 0;
    bool stopped = false;
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            std::unique_lock lock(mutex);
            for (;;) {
                taken.wait(lock,
                           [&] { return stopped || next >= pieces || next < waitedFor + ahead; });
                if (stopped || next >= pieces) return;
                const std::size_t piece = next++;
                lock.unlock();
                QString text = buildPiece(piece);
                lock.lock();
                finished[piece] = std::move(text);
                if (piece == waitedFor) built.notify_one();
            }
        });

    bool complete = true;
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        QString text;
        {
            std::unique_lock lock(mutex);
            waitedFor = piece;
            taken.notify_all();
            built.wait(lock, [&] { return finished[piece].has_value(); });
            text = std::move(*finished[piece]);
            finished[piece].reset();
        }
        if (!sink(std::move(text))) {
            complete = false;
            break;
        }
    }
    {
        std::lock_guard lock(mutex);
        stopped = true;
    }
    taken.notify_all();
    for (auto& worker : workers) worker.join();
    return complete;
}
