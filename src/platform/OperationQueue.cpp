#include "platform/OperationQueue.h"

#include <QThreadPool>
#include <algorithm>

namespace platform {

OperationQueue::OperationQueue(QString name, int width)
    : name_(std::move(name)), width_(std::max(1, width)), pool_(std::make_unique<QThreadPool>()) {
    pool_->setObjectName(name_);
    pool_->setMaxThreadCount(width_);
    pool_->setExpiryTimeout(5000);
}

OperationQueue::~OperationQueue() {
    cancelAllOperations();
    waitUntilAllOperationsAreFinished();
    pool_->waitForDone();
}

void OperationQueue::addOperation(std::function<void()> operation) {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(operation));
    if (workers_ < width_) {
        ++workers_;
        pool_->start([this] { drain(); });
    }
}

void OperationQueue::drain() {
    std::unique_lock lock(mutex_);
    while (!pending_.empty()) {
        auto operation = std::move(pending_.front());
        pending_.pop_front();
        ++running_;
        lock.unlock();
        operation();
        operation = nullptr;  // release captures before reporting idle
        lock.lock();
        --running_;
    }
    --workers_;
    if (running_ == 0 && pending_.empty()) idle_.notify_all();
}

void OperationQueue::cancelAllOperations() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(pending_);
        if (running_ == 0) idle_.notify_all();
    }
    // `dropped` is destroyed outside the lock: captures may own things whose
    // destructors add operations again.
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return pending_.empty() && running_ == 0 && workers_ == 0; });
}

int OperationQueue::operationCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(pending_.size()) + running_;
}

}  // namespace platform
