#include "support/EventLoop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>
#include <algorithm>
#include <memory>

#include "platform/MainQueue.h"

namespace testsupport {

namespace {

// Counts the main queue's blocks as they are delivered to the application.
class QueuedCalls : public QObject {
  public:
    QueuedCalls() { QCoreApplication::instance()->installEventFilter(this); }
    ~QueuedCalls() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::MetaCall) ++count;
        return false;
    }
    int count = 0;
};

}  // namespace

bool spinUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::usleep(200);
    }
    return true;
}

void drainMainQueue(int forMs) {
    QElapsedTimer timer;
    timer.start();
    if (QCoreApplication::instance() == nullptr) return;
    // The main queue is first in, first out: once a marker posted now has
    // run, so has everything posted before it. A round in which the marker
    // was the only block delivered leaves the queue dry. A thread that keeps
    // posting would keep it from ever running dry: that is a hang, and fails
    // the test instead of holding it for ever.
    QueuedCalls calls;
    for (;;) {
        const int before = calls.count;
        // Shared, as a marker that has not run when we give up still runs later.
        auto reached = std::make_shared<bool>(false);
        platform::MainQueue::post([reached] { *reached = true; });
        const auto left = static_cast<int>(std::max<qint64>(kHangMs - timer.elapsed(), 0));
        if (!spinUntil([&] { return *reached; }, left)) {
            ADD_FAILURE() << "the main queue did not run its blocks within " << kHangMs << " ms";
            break;
        }
        if (calls.count - before == 1) break;
        if (timer.elapsed() > kHangMs) {
            ADD_FAILURE() << "the main queue did not run dry within " << kHangMs
                          << " ms: something keeps posting to it";
            break;
        }
    }
    while (timer.elapsed() < forMs) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

}  // namespace testsupport
