#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <mutex>

namespace platform {

namespace {

std::mutex& overridesMutex() {
    static std::mutex m;
    return m;
}
AppPaths::Overrides& overrides() {
    static AppPaths::Overrides o;
    return o;
}
AppPaths::Overrides currentOverrides() {
    std::lock_guard lock(overridesMutex());
    return overrides();
}

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

}  // namespace

QString AppPaths::bundleFolder() {
    if (auto folder = currentOverrides().bundleFolder) return withoutTrailingSlash(*folder);
    return QCoreApplication::applicationDirPath();
}

QString AppPaths::resourcesFolder() {
    if (auto folder = currentOverrides().resourcesFolder) return withoutTrailingSlash(*folder);
#ifdef QUILLMAR_INSTALLED_RESOURCES
    const QString installed =
        QDir::cleanPath(bundleFolder() + u'/' + QStringLiteral(QUILLMAR_INSTALLED_RESOURCES));
    if (QFileInfo(installed).isDir()) return installed;
#endif
#ifdef QUILLMAR_BUILD_RESOURCES
    return QStringLiteral(QUILLMAR_BUILD_RESOURCES);
#else
    return bundleFolder();
#endif
}

QString AppPaths::childWorkingDirectory() {
    QDir folder(bundleFolder());
    if (!folder.exists() || !folder.cdUp()) return QStringLiteral("/");
    const QString real = folder.canonicalPath();
    if (real.isEmpty()) return QStringLiteral("/");
    return real == u"/" ? real : real + u'/';
}

QString AppPaths::userDataFolder() {
    if (auto folder = currentOverrides().userDataFolder) return withoutTrailingSlash(*folder);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

void AppPaths::setOverrides(const Overrides& replacement) {
    std::lock_guard lock(overridesMutex());
    overrides() = replacement;
}

}  // namespace platform
