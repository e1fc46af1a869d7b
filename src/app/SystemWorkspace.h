#pragma once

#include <optional>

#include "app/CompanionLauncher.h"
#include "app/Workspace.h"

// The desktop's own services: addresses through the desktop's handlers,
// files to applications through CompanionLauncher (no shell).
class SystemWorkspace : public Workspace {
  public:
    // Without search paths, this process's PATH and XDG folders are used.
    explicit SystemWorkspace(
        std::optional<CompanionLauncher::SearchPaths> searchPaths = std::nullopt);

    bool openURL(const QUrl& url) override;
    bool openFileWithApplicationAt(const QString& file, const QString& location) override;
    bool openFileWithApplicationNamed(const QString& file, const QString& name) override;

  private:
    std::optional<CompanionLauncher::SearchPaths> searchPaths_;
};
