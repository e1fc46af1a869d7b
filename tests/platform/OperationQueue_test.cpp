#include "platform/OperationQueue.h"

#include <gtest/gtest.h>

#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <memory>
#include <numeric>
#include <thread>

using platform::OperationQueue;

TEST(OperationQueue, NeverRunsMoreThanItsWidth) {
    OperationQueue queue("width test", 2);
    std::atomic<int> now{0}, peak{0}, done{0};
    for (int i = 0; i < 12; ++i) {
        queue.addOperation([&] {
            const int n = ++now;
            int p = peak;
            while (n > p && !peak.compare_exchange_weak(p, n)) {
            }
            // Stays until two run at once, so the width is met whatever the
            // machine's speed; a queue one wide would wait here in vain.
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (peak < 2 && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
            --now;
            ++done;
        });
    }
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(done, 12);
    EXPECT_EQ(peak, 2);
    EXPECT_EQ(queue.operationCount(), 0);
    EXPECT_EQ(queue.name(), "width test");
}

TEST(OperationQueue, WidthOneRunsInOrder) {
    OperationQueue queue("serial", 1);
    std::vector<int> order;
    for (int i = 0; i < 20; ++i) queue.addOperation([&order, i] { order.push_back(i); });
    queue.waitUntilAllOperationsAreFinished();
    std::vector<int> expected(20);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
}

TEST(OperationQueue, CancelDropsOnlyWhatHasNotStarted) {
    OperationQueue queue("cancel", 1);
    std::atomic<bool> release{false}, started{false};
    std::atomic<int> ran{0};
    queue.addOperation([&] {
        started = true;
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ++ran;
    });
    for (int i = 0; i < 5; ++i) queue.addOperation([&] { ++ran; });
    while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(queue.operationCount(), 6);
    queue.cancelAllOperations();
    EXPECT_EQ(queue.operationCount(), 1);
    release = true;
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(ran, 1);
}

TEST(OperationQueue, UsesItsOwnThreadsNotTheGlobalPool) {
    OperationQueue queue("own threads", 1);
    std::atomic<bool> globalThread{true};
    queue.addOperation(
        [&] { globalThread = QThreadPool::globalInstance()->contains(QThread::currentThread()); });
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_FALSE(globalThread);
}

// The end of the program: every queue drops what waits, takes nothing new,
// and is waited for; a running operation sees the stop and ends early, and
// what it adds on its way out is dropped. Queues work again afterwards.
TEST(OperationQueue, StopAllDropsWhatWaitsAndWaitsForWhatRuns) {
    OperationQueue first("first", 1);
    auto second = std::make_unique<OperationQueue>("second", 2);
    std::atomic<int> started{0}, waited{0};
    std::atomic<int> ranAfterStop{0}, droppedRan{0};
    for (OperationQueue* queue : {&first, second.get(), second.get()})
        queue->addOperation([&] {
            ++started;
            while (!OperationQueue::stopping()) std::this_thread::yield();
            first.addOperation([&] { ++droppedRan; });
            ++waited;
        });
    for (int i = 0; i < 4; ++i) first.addOperation([&] { ++droppedRan; });
    while (started < 3) std::this_thread::yield();
    // The queue's owner goes while its work runs: the stop still waits for it.
    std::thread owner([&] { second.reset(); });
    OperationQueue::stopAllAndWait();
    EXPECT_EQ(waited, 3);
    EXPECT_EQ(droppedRan, 0);
    EXPECT_FALSE(OperationQueue::stopping());
    EXPECT_EQ(first.operationCount(), 0);
    owner.join();

    first.addOperation([&] { ++ranAfterStop; });
    first.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(ranAfterStop, 1);
}
