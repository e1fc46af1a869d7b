#include "platform/TemporaryFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <mutex>

namespace platform {

namespace {

std::mutex& overrideMutex() {
    static std::mutex m;
    return m;
}
QString& overrideFolder() {
    static QString folder;
    return folder;
}

// Makes the folder (mode 0700) or checks that an existing one is a real
// directory owned by us and closed to others.
bool ensurePrivateFolder(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return false;
    if ((info.st_mode & 0077) != 0 && ::chmod(path.constData(), 0700) != 0) return false;
    return true;
}

}  // namespace

QString TemporaryFolder::path() {
    QString folder;
    {
        std::lock_guard lock(overrideMutex());
        folder = overrideFolder();
    }
    if (folder.isEmpty()) {
        const QString base = QDir::tempPath();
        folder = base + QStringLiteral("/quillmar-") + QString::number(::getuid());
    }
    while (folder.endsWith(u'/') && folder.size() > 1) folder.chop(1);
    if (!ensurePrivateFolder(folder)) return {};
    return folder + u'/';
}

void TemporaryFolder::setOverride(const QString& folder) {
    std::lock_guard lock(overrideMutex());
    overrideFolder() = folder;
}

}  // namespace platform
