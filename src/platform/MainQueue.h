#pragma once

#include <functional>

namespace platform {

// The main queue: one first-in-first-out queue, shared by every thread,
// whose blocks run on the thread that owns the QCoreApplication.
class MainQueue {
  public:
    static bool isMainThread();

    // Runs the block inline when called on the main thread, otherwise appends
    // it to the main queue and returns at once.
    static void runOrPost(std::function<void()> block);

    // Always appends, even from the main thread.
    static void post(std::function<void()> block);

    // Runs the block on the main thread after the given number of seconds;
    // never inline, even for zero or negative delays.
    static void after(double seconds, std::function<void()> block);
};

}  // namespace platform
