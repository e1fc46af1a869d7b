#pragma once

#include <memory>

#include "platform/OperationQueue.h"

// Queues whose owner has gone while an operation still runs: their pending
// operations are dropped at once, and the queue itself is released on the
// main thread once the running one has ended, so no owner ever waits for
// its queue.
class RetiredQueues {
  public:
    static void retire(std::unique_ptr<platform::OperationQueue> queue);
    // Queues waiting for their last operation (for tests).
    static int count();
};
