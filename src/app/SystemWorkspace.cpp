#include "app/SystemWorkspace.h"

#include <QDesktopServices>

SystemWorkspace::SystemWorkspace(std::optional<CompanionLauncher::SearchPaths> searchPaths)
    : searchPaths_(std::move(searchPaths)) {}

bool SystemWorkspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool SystemWorkspace::openFileWithApplicationAt(const QString& file, const QString& location) {
    return CompanionLauncher::openFileWithApplicationAt(file, location);
}

bool SystemWorkspace::openFileWithApplicationNamed(const QString& file, const QString& name) {
    return CompanionLauncher::openFileWithApplicationNamed(
        file, name, searchPaths_ ? *searchPaths_ : CompanionLauncher::systemSearchPaths());
}
