#pragma once

#include <QString>
#include <functional>
#include <memory>

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

    // Dropped while stopAllAndWait runs.
    void addOperation(std::function<void()> operation);

    // Drops every operation that has not started yet.
    void cancelAllOperations();

    // Blocks until nothing is queued or running. Must not be called from one
    // of this queue's own operations.
    void waitUntilAllOperationsAreFinished();

    // Queued plus running operations.
    int operationCount() const;

    // The end of the work that reports to the main thread: every queue of
    // the program drops what has not started and takes nothing new, and the
    // call returns once every operation has ended (queues made meanwhile
    // included). Long operations see stopping() and end early. Queues take
    // work again afterwards. Never from an operation.
    static void stopAllAndWait();

    // True while stopAllAndWait runs, from any thread.
    static bool stopping();

    // What a queue's threads share with it (internal).
    struct State;

  private:
    QString name_;
    int width_;
    std::shared_ptr<State> state_;
    std::unique_ptr<QThreadPool> pool_;
};

}  // namespace platform
