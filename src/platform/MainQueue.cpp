#include "platform/MainQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <cmath>

namespace platform {

namespace {

QObject* mainContext() {
    // Posting every block to the application object keeps one FIFO: Qt's
    // posted-event queue of a thread preserves the order of posts made from
    // any thread.
    return QCoreApplication::instance();
}

}  // namespace

bool MainQueue::isMainThread() {
    auto* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void MainQueue::runOrPost(std::function<void()> block) {
    if (isMainThread()) {
        block();
        return;
    }
    post(std::move(block));
}

void MainQueue::post(std::function<void()> block) {
    QObject* context = mainContext();
    if (context == nullptr) return;  // no application: nothing can ever run it
    // Qt drops the posting thread's reference to the queued functor after
    // the post, which can be after the main thread has run it: what the
    // block holds would then be released on the posting thread. The block is
    // moved out and destroyed inside the run, on the main thread.
    QMetaObject::invokeMethod(
        context,
        [block = std::move(block)]() mutable {
            const std::function<void()> run = std::move(block);
            run();
        },
        Qt::QueuedConnection);
}

void MainQueue::after(double seconds, std::function<void()> block) {
    // Whole nanoseconds, truncated toward zero, then rounded up to the
    // timer's millisecond so the block never runs early.
    const auto nanos = static_cast<long long>(std::isfinite(seconds) ? seconds * 1e9 : 0.0);
    const auto millis = std::chrono::milliseconds(nanos <= 0 ? 0 : (nanos + 999999) / 1000000);
    // The timer is started on the main thread, so it works whichever thread
    // asked for it.
    post([millis, block = std::move(block)]() mutable {
        QTimer::singleShot(millis, Qt::PreciseTimer, mainContext(), std::move(block));
    });
}

}  // namespace platform
