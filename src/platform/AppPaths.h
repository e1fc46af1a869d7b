#pragma once

#include <QString>
#include <optional>

namespace platform {

// Where the application and its files are. Folders carry no trailing "/"
// unless said otherwise.
class AppPaths {
  public:
    // The folder that holds the executable.
    static QString bundleFolder();

    // The application's resources: the tool folders, "fonts/" and the OCR
    // support archive. Installed beside the executable's folder, otherwise the
    // one made in the build tree.
    static QString resourcesFolder();

    // Where child processes run: the bundle folder's parent, resolved to a
    // real folder; ends with "/". "/" when that folder cannot be found.
    static QString childWorkingDirectory();

    // The user's data folder (XDG data home) that holds the maker's
    // "Borvane" folder; empty when there is none.
    static QString userDataFolder();

    // Tests point the folders elsewhere; an absent member keeps the default,
    // an empty user data folder stands for "none". The temporary folder is
    // replaced through TemporaryFolder::setOverride.
    struct Overrides {
        std::optional<QString> bundleFolder{};
        std::optional<QString> resourcesFolder{};
        std::optional<QString> userDataFolder{};
    };
    static void setOverrides(const Overrides& overrides);
};

}  // namespace platform
