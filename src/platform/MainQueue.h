#pragma once

#include <functional>

namespace platform {

// The main queue: one first-in-first-out queue, shared by every thread,
// whose blocks run on the thread that owns the QCoreApplication.
//
// The queue opens with the application object and closes as it goes: its
// destruction first waits for every operation queue (OperationQueue::
// stopAllAndWait), then closes the main queue. From then on a post is
// dropped, and blocks still waiting are dropped unrun, so no thread ever
// reaches an application object that is gone.
class MainQueue {
  public:
    static bool isMainThread();

    // Runs the block inline when called on the main thread, otherwise appends
    // it to the main queue and returns at once.
    static void runOrPost(std::function<void()> block);

    // Always appends, even from the main thread. Dropped when the queue is
    // closed; the block is then released on the calling thread.
    static void post(std::function<void()> block);

    // Runs the block on the main thread after the given number of seconds;
    // never inline, even for zero or negative delays.
    static void after(double seconds, std::function<void()> block);

    // True from the application object's construction until close().
    static bool isOpen();

    // Ends the queue early: nothing posted runs any more. The application
    // object's destruction closes it in any case.
    static void close();
};

}  // namespace platform
