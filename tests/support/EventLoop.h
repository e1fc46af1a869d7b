#pragma once

#include <functional>

namespace testsupport {

// Runs the main event loop until the condition holds or the time runs out;
// returns whether it held.
bool spinUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs everything already queued on the main queue (and what that queues in
// turn) for a short while.
void drainMainQueue(int forMs = 50);

}  // namespace testsupport
