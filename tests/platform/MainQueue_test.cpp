#include "platform/MainQueue.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <mutex>
#include <vector>

#include "support/EventLoop.h"

using platform::MainQueue;

TEST(MainQueue, RunsInlineOnTheMainThreadAndQueuesFromOthers) {
    bool ran = false;
    MainQueue::runOrPost([&] { ran = true; });
    EXPECT_TRUE(ran);

    std::atomic<bool> fromWorker{false};
    std::atomic<bool> returnedBeforeRun{false};
    QThread* worker = QThread::create([&] {
        MainQueue::runOrPost([&] {
            EXPECT_TRUE(MainQueue::isMainThread());
            fromWorker = true;
        });
        returnedBeforeRun = !fromWorker;
    });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_TRUE(returnedBeforeRun);
    EXPECT_TRUE(testsupport::spinUntil([&] { return fromWorker.load(); }));
}

TEST(MainQueue, KeepsOneFifoAcrossThreads) {
    std::mutex m;
    std::vector<int> order;
    std::vector<int> posted;
    std::vector<QThread*> threads;
    for (int t = 0; t < 4; ++t) {
        threads.push_back(QThread::create([&, t] {
            for (int i = 0; i < 50; ++i) {
                std::lock_guard lock(m);  // the order of posting is the order of the list
                const int id = t * 100 + i;
                posted.push_back(id);
                MainQueue::post([&, id] { order.push_back(id); });
            }
        }));
    }
    for (auto* t : threads) t->start();
    for (auto* t : threads) {
        t->wait();
        delete t;
    }
    ASSERT_TRUE(testsupport::spinUntil([&] { return order.size() == 200; }));
    EXPECT_EQ(order, posted);
}

TEST(MainQueue, AfterNeverRunsInlineAndWaitsItsTime) {
    bool ran = false;
    MainQueue::after(0, [&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(testsupport::spinUntil([&] { return ran; }));

    bool negative = false;
    MainQueue::after(-3, [&] { negative = true; });
    EXPECT_FALSE(negative);
    EXPECT_TRUE(testsupport::spinUntil([&] { return negative; }));

    QElapsedTimer timer;
    timer.start();
    std::atomic<bool> late{false};
    QThread* worker = QThread::create([&] { MainQueue::after(0.2, [&] { late = true; }); });
    worker->start();
    worker->wait();
    delete worker;
    ASSERT_TRUE(testsupport::spinUntil([&] { return late.load(); }));
    EXPECT_GE(timer.elapsed(), 195);
}
