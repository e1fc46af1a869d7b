#include "platform/MainQueue.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
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

// What a posted block holds is released on the main thread once the block
// has run there, never on the thread that posted it: callers hand objects
// (sheets, windows' helpers) to the main thread this way.
TEST(MainQueue, WhatABlockHoldsIsReleasedOnTheMainThread) {
    struct Held {
        explicit Held(std::atomic<int>* count) : offMain(count) {}
        std::atomic<int>* offMain;
        ~Held() {
            if (!MainQueue::isMainThread()) ++*offMain;
        }
    };
    std::atomic<int> offMain{0};
    std::atomic<int> ran{0};
    std::atomic<bool> stop{false};
    constexpr int kThreads = 4, kPosts = 3000;
    std::vector<QThread*> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.push_back(QThread::create([&] {
            for (int i = 0; i < kPosts; ++i) {
                auto held = std::make_shared<Held>(&offMain);
                MainQueue::post([held = std::move(held), &ran] { ++ran; });
            }
        }));
    }
    for (auto* t : threads) t->start();
    // The main thread runs the blocks as they come, racing the posters.
    EXPECT_TRUE(testsupport::spinUntil([&] { return ran == kThreads * kPosts; }, 60000));
    for (auto* t : threads) {
        t->wait();
        delete t;
    }
    EXPECT_EQ(offMain, 0);
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

// Posts from threads and from a queue's operation while the main thread
// destroys the application object, in a process of its own (the sanitizer
// reports a post that reaches the destroyed object): every run ends cleanly,
// and the operation never outlives the application object.
TEST(MainQueue, PostsRacingTheApplicationsEndAreDroppedAndItsWorkEndsFirst) {
    // A folder of its own for what Qt keeps at run time: without one, it
    // says so on the error output.
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    for (int run = 0; run < 20; ++run) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUILLMAR_MAIN_QUEUE_RACE_PROGRAM), {});
        ASSERT_TRUE(program.waitForFinished(testsupport::kHangMs)) << "run " << run;
        const QByteArray errors = program.readAllStandardError();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "run " << run;
        EXPECT_EQ(program.exitCode(), 0) << "run " << run << ": " << errors.toStdString();
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
        if (HasFailure()) break;
    }
}
