#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

using platform::Notification;
using platform::NotificationCenter;
using platform::NotificationObserver;

TEST(NotificationCenter, DeliversSynchronouslyOnThePostingThreadToEveryObserverOfTheName) {
    NotificationCenter center;
    QObject sender;
    QList<Notification> seen;
    QThread* deliveredOn = nullptr;
    NotificationObserver a(
        "ping",
        [&](const Notification& n) {
            seen.append(n);
            deliveredOn = QThread::currentThread();
        },
        center);
    int other = 0;
    NotificationObserver b(
        "pong", [&](const Notification&) { ++other; }, center);

    center.post("ping", &sender, {{"rowIndex", 4}});
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].object, &sender);
    EXPECT_EQ(seen[0].userInfo.value("rowIndex").toInt(), 4);
    EXPECT_EQ(deliveredOn, QThread::currentThread());
    EXPECT_EQ(other, 0);

    std::atomic<QThread*> workerDelivery{nullptr};
    NotificationObserver c(
        "fromWorker", [&](const Notification&) { workerDelivery = QThread::currentThread(); },
        center);
    QThread* worker = QThread::create([&] { center.post("fromWorker"); });
    worker->start();
    worker->wait();
    EXPECT_EQ(workerDelivery.load(), worker);
    delete worker;
}

TEST(NotificationCenter, ObserversMayRemoveThemselvesAndOthersDuringDelivery) {
    NotificationCenter center;
    int first = 0, second = 0;
    NotificationObserver secondObserver;
    NotificationObserver firstObserver(
        "x",
        [&](const Notification&) {
            ++first;
            firstObserver.reset();
            secondObserver.reset();
        },
        center);
    secondObserver = NotificationObserver(
        "x", [&](const Notification&) { ++second; }, center);
    center.post("x");
    center.post("x");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(center.observerCount("x"), 0);
}

TEST(NotificationCenter, RemovalOnAnotherThreadWaitsForARunningHandler) {
    NotificationCenter center;
    std::atomic<bool> inHandler{false}, handlerDone{false};
    auto observer = std::make_unique<NotificationObserver>(
        "slow",
        [&](const Notification&) {
            inHandler = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            handlerDone = true;
        },
        center);
    std::thread poster([&] { center.post("slow"); });
    while (!inHandler) std::this_thread::yield();
    observer.reset();  // destructor removes; must not return mid-handler
    EXPECT_TRUE(handlerDone);
    poster.join();
    center.post("slow");  // nothing left to call
}
