#pragma once

#include <memory>

class SCPreferences;

// What the application shell provides to the tool layer: its one preferences
// object. The shell installs its own at start-up; tests install theirs.
class ApplicationContext {
  public:
    // Never null: made with the user's settings on first use when nothing
    // has been installed.
    static std::shared_ptr<SCPreferences> appPreferences();

    // Null removes the installed object (the next read makes a fresh one).
    static void setAppPreferences(std::shared_ptr<SCPreferences> preferences);
};
