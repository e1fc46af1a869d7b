#pragma once

#include <functional>

namespace testsupport {

// How long a test waits for something that must happen: only a hang takes
// this long, however busy the machine is.
inline constexpr int kHangMs = 30000;

// Runs the main event loop until the condition holds or the time runs out;
// returns whether it held.
bool spinUntil(const std::function<bool()>& condition, int timeoutMs = kHangMs);

// Runs everything on the main queue (and what that queues in turn) until it
// has run dry, and the event loop for at least `forMs`. Work still running
// on other threads is not waited for. A queue that is not dry after kHangMs
// (a thread that keeps posting) fails the test.
void drainMainQueue(int forMs = 50);

}  // namespace testsupport
