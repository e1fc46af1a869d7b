#pragma once

#include <functional>

// The system beep of refused input. Tests replace it to count beeps.
class SystemBeep {
  public:
    static void beep();
    // An empty function puts back the default, QApplication::beep().
    static void setBeeper(std::function<void()> beeper);
};
