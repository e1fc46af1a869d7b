#include "platform/MainQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>

#include "platform/OperationQueue.h"

namespace platform {

namespace {

struct Queue {
    // Held while a post reaches the application object, and while the
    // queue closes: no post can use an object that is going.
    std::mutex mutex;
    QObject* application = nullptr;  // while open
    // Compared only, never used: it tells the main thread without touching
    // the application object.
    std::atomic<QThread*> mainThread{nullptr};
    std::atomic<bool> open{false};
};

// Never destroyed: threads may still post while static objects go.
Queue& queue() {
    static auto* const shared = new Queue;
    return *shared;
}

// First in the application object's destruction, on the main thread, while
// it is still whole: the work that reports to it ends, then the queue
// closes.
void closeWithTheApplication() {
    OperationQueue::stopAllAndWait();
    MainQueue::close();
}

// In the application object's construction, on the main thread.
void openWithTheApplication() {
    Queue& shared = queue();
    {
        std::lock_guard lock(shared.mutex);
        shared.application = QCoreApplication::instance();
        shared.mainThread = shared.application->thread();
        shared.open = true;
    }
    qAddPostRoutine(closeWithTheApplication);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(openWithTheApplication)

bool MainQueue::isMainThread() {
    const Queue& shared = queue();
    return shared.open && QThread::currentThread() == shared.mainThread.load();
}

bool MainQueue::isOpen() {
    return queue().open;
}

void MainQueue::close() {
    Queue& shared = queue();
    std::lock_guard lock(shared.mutex);
    shared.application = nullptr;
    shared.open = false;
}

void MainQueue::runOrPost(std::function<void()> block) {
    if (isMainThread()) {
        block();
        return;
    }
    post(std::move(block));
}

void MainQueue::post(std::function<void()> block) {
    Queue& shared = queue();
    {
        std::lock_guard lock(shared.mutex);
        if (shared.application) {
            // Posting every block to the application object keeps one FIFO:
            // Qt's posted-event queue of a thread preserves the order of
            // posts made from any thread. Qt drops the posting thread's
            // reference to the queued functor after the post, which can be
            // after the main thread has run it: what the block holds would
            // then be released on the posting thread. The block is moved out
            // and destroyed inside the run, on the main thread.
            QMetaObject::invokeMethod(
                shared.application,
                [block = std::move(block)]() mutable {
                    const std::function<void()> run = std::move(block);
                    if (MainQueue::isOpen()) run();
                },
                Qt::QueuedConnection);
            return;
        }
    }
    // Closed: the block goes here, outside the lock, as what it holds may
    // post again on its way.
}

void MainQueue::after(double seconds, std::function<void()> block) {
    // Whole nanoseconds, truncated toward zero, then rounded up to the
    // timer's millisecond so the block never runs early.
    const auto nanos = static_cast<long long>(std::isfinite(seconds) ? seconds * 1e9 : 0.0);
    const auto millis = std::chrono::milliseconds(nanos <= 0 ? 0 : (nanos + 999999) / 1000000);
    // The timer is started on the main thread, so it works whichever thread
    // asked for it.
    post([millis, block = std::move(block)]() mutable {
        QTimer::singleShot(millis, Qt::PreciseTimer, QCoreApplication::instance(),
                           [block = std::move(block)] {
                               if (MainQueue::isOpen()) block();
                           });
    });
}

}  // namespace platform
