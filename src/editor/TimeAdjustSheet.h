#pragma once

#include "document/TimeAdjustment.h"

class SCMainViewController;

// The sheet that says why a shift or stretch of all times was refused and
// the largest amount that can be applied, in the view's own time form.
class TimeAdjustSheet {
  public:
    enum class Action { shift, stretch };

    // Nothing for a result that was applied, nor for an amount that is no
    // number (the amount field holds a time while the user types).
    static void show(SCMainViewController& view, Action action, double amount,
                     const TimeAdjustment::Result& result);
};
