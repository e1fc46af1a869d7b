// Posts to the main queue from several threads, and from an operation of an
// operation queue, while the main thread destroys the application object.
// Exits with 0 when no post reached a destroyed application (under the
// sanitizer, a post that does is a report and a status of its own) and the
// operation, which measures text as the lines table's rows do, never ran on
// once the application was gone; with 1 otherwise.
#include <QFontMetrics>
#include <QGuiApplication>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/MainQueue.h"
#include "platform/OperationQueue.h"

using platform::MainQueue;
using platform::OperationQueue;

namespace {

// Opens once every poster has posted at least once.
class Gate {
  public:
    explicit Gate(int count) : count_(count) {}
    void arrive() {
        std::lock_guard lock(mutex_);
        if (--count_ == 0) opened_.notify_all();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return count_ <= 0; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    int count_;
};

}  // namespace

int main(int argc, char** argv) {
    auto* application = new QGuiApplication(argc, argv);
    constexpr int kPosters = 4;
    Gate posting(kPosters + 1);
    std::atomic<bool> stop{false};
    std::atomic<bool> ranAfterTheEnd{false};

    std::vector<std::thread> posters;
    for (int i = 0; i < kPosters; ++i)
        posters.emplace_back([&] {
            bool arrived = false;
            while (!stop) {
                MainQueue::post([] {});
                if (!arrived) {
                    posting.arrive();
                    arrived = true;
                }
            }
        });

    // Work of a window that reports to the main thread until the end stops
    // it: the application object must outlive it.
    OperationQueue queue(QStringLiteral("race"), 1);
    queue.addOperation([&] {
        bool arrived = false;
        while (!OperationQueue::stopping() && !QCoreApplication::closingDown()) {
            MainQueue::post([] {});
            if (!arrived) {
                posting.arrive();
                arrived = true;
            }
        }
        if (!MainQueue::isOpen() || QCoreApplication::instance() == nullptr)
            ranAfterTheEnd = true;
        else
            QFontMetrics(QGuiApplication::font()).horizontalAdvance(QStringLiteral("line"));
    });

    posting.wait();
    delete application;
    stop = true;
    for (auto& poster : posters) poster.join();
    return ranAfterTheEnd ? 1 : 0;
}
