#include "editor/SystemBeep.h"

#include <QApplication>

namespace {

std::function<void()>& installedBeeper() {
    static std::function<void()> beeper;
    return beeper;
}

}  // namespace

void SystemBeep::beep() {
    // Main thread only, like every control that beeps.
    if (const auto& beeper = installedBeeper())
        beeper();
    else
        QApplication::beep();
}

void SystemBeep::setBeeper(std::function<void()> beeper) {
    installedBeeper() = std::move(beeper);
}
