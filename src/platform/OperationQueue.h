#pragma once

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QThreadPool;

namespace platform {

// A named queue that runs at most `width` operations at once on its own
// threads (never the global pool). Operations start in the order added.
class OperationQueue {
  public:
    OperationQueue(QString name, int width);
    ~OperationQueue();  // cancels what has not started, waits for the rest

    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    const QString& name() const { return name_; }
    int width() const { return width_; }

    void addOperation(std::function<void()> operation);

    // Drops every operation that has not started yet.
    void cancelAllOperations();

    // Blocks until nothing is queued or running. Must not be called from one
    // of this queue's own operations.
    void waitUntilAllOperationsAreFinished();

    // Queued plus running operations.
    int operationCount() const;

  private:
    void drain();

    QString name_;
    int width_;
    std::unique_ptr<QThreadPool> pool_;
    mutable std::mutex mutex_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> pending_;
    int running_ = 0;  // operations executing now
    int workers_ = 0;  // pool tasks draining the queue
};

}  // namespace platform
