#include "platform/OperationQueue.h"

#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace platform {

namespace {

// Every queue alive, for the end of the program. Never destroyed: queues
// may go while static objects go.
struct Registry {
    std::mutex mutex;
    std::vector<std::weak_ptr<OperationQueue::State>> states;
    std::atomic<int> stopping{0};
};

Registry& registry() {
    static auto* const shared = new Registry;
    return *shared;
}

}  // namespace

// What the queue's threads use: it outlives the queue for as long as the
// end of the program waits on it.
struct OperationQueue::State {
    mutable std::mutex mutex;
    std::condition_variable idle;
    std::deque<std::function<void()>> pending;
    int running = 0;  // operations executing now
    int workers = 0;  // pool tasks draining the queue

    bool isIdle() const { return pending.empty() && running == 0 && workers == 0; }

    void drain() {
        std::unique_lock lock(mutex);
        // Once the stop of every queue has begun, nothing more starts: what
        // waits is dropped by the stop.
        while (!pending.empty() && !OperationQueue::stopping()) {
            auto operation = std::move(pending.front());
            pending.pop_front();
            ++running;
            lock.unlock();
            operation();
            operation = nullptr;  // release captures before reporting idle
            lock.lock();
            --running;
        }
        --workers;
        if (isIdle()) idle.notify_all();
    }

    void cancel() {
        std::deque<std::function<void()>> dropped;
        {
            std::lock_guard lock(mutex);
            dropped.swap(pending);
            if (isIdle()) idle.notify_all();
        }
        // `dropped` is destroyed outside the lock: captures may own things
        // whose destructors add operations again.
    }

    void wait() {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return isIdle(); });
    }
};

OperationQueue::OperationQueue(QString name, int width)
    : name_(std::move(name)),
      width_(std::max(1, width)),
      state_(std::make_shared<State>()),
      pool_(std::make_unique<QThreadPool>()) {
    pool_->setObjectName(name_);
    pool_->setMaxThreadCount(width_);
    pool_->setExpiryTimeout(5000);
    Registry& all = registry();
    std::lock_guard lock(all.mutex);
    std::erase_if(all.states, [](const auto& state) { return state.expired(); });
    all.states.push_back(state_);
}

OperationQueue::~OperationQueue() {
    cancelAllOperations();
    waitUntilAllOperationsAreFinished();
    pool_->waitForDone();
}

void OperationQueue::addOperation(std::function<void()> operation) {
    std::function<void()> dropped;
    {
        // Looked at under the queue's lock: the stop raises its flag before
        // it drops what waits here under the same lock, so an operation is
        // either dropped by the stop or refused now.
        std::lock_guard lock(state_->mutex);
        if (stopping()) {
            dropped = std::move(operation);
        } else {
            state_->pending.push_back(std::move(operation));
            if (state_->workers < width_) {
                ++state_->workers;
                pool_->start([state = state_] { state->drain(); });
            }
        }
    }
    // A refused operation is released here, on the caller's thread, outside
    // the lock.
}

void OperationQueue::cancelAllOperations() {
    state_->cancel();
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    state_->wait();
}

int OperationQueue::operationCount() const {
    std::lock_guard lock(state_->mutex);
    return static_cast<int>(state_->pending.size()) + state_->running;
}

void OperationQueue::stopAllAndWait() {
    Registry& all = registry();
    ++all.stopping;
    // An operation that ends may have made a queue and started one there
    // before it saw the stop: passes go on until one finds every queue idle.
    for (bool allIdle = false; !allIdle;) {
        std::vector<std::shared_ptr<State>> states;
        {
            std::lock_guard lock(all.mutex);
            for (const auto& weak : all.states)
                if (auto state = weak.lock()) states.push_back(std::move(state));
        }
        allIdle = true;
        for (const auto& state : states) {
            state->cancel();
            std::lock_guard lock(state->mutex);
            if (!state->isIdle()) allIdle = false;
        }
        for (const auto& state : states) state->wait();
        // The last holder of a state may be this pass: it goes outside the
        // registry's lock.
    }
    --all.stopping;
}

bool OperationQueue::stopping() {
    return registry().stopping > 0;
}

}  // namespace platform
