#include "platform/RunFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <mutex>

#include "platform/TemporaryFolder.h"

namespace platform {

namespace {

// "run.", the process number (for the reader only), ".", six random
// characters.
const QString kPrefix = QStringLiteral("run.");

struct Held {
    QString base;  // the private temporary folder it lies in
    QString path;  // ends with "/"
    int fd = -1;   // open on the folder itself, with its lock
};

std::mutex& heldMutex() {
    static std::mutex m;
    return m;
}
Held& held() {
    static Held folder;
    return folder;
}

int openFolder(const QByteArray& path) {
    return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

// Whether the open folder is still the one at the path: a folder removed
// (and perhaps made anew) there is another.
bool stillAt(const QByteArray& path, int fd) {
    struct stat atPath {};
    struct stat open {};
    return ::lstat(path.constData(), &atPath) == 0 && ::fstat(fd, &open) == 0 &&
           atPath.st_dev == open.st_dev && atPath.st_ino == open.st_ino;
}

void release(Held& folder) {
    if (folder.fd >= 0) ::close(folder.fd);
    folder = Held();
}

}  // namespace

QString RunFolder::path() {
    const QString base = TemporaryFolder::path();
    if (base.isEmpty()) return {};
    std::lock_guard lock(heldMutex());
    Held& folder = held();
    if (folder.fd >= 0 && folder.base == base &&
        stillAt(QFile::encodeName(folder.path.chopped(1)), folder.fd))
        return folder.path;
    release(folder);
    // Another start's sweep may take a folder between its making and its
    // lock; it is then made again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        QByteArray name =
            QFile::encodeName(base + kPrefix + QString::number(::getpid()) + ".XXXXXX");
        if (::mkdtemp(name.data()) == nullptr) return {};
        const int fd = openFolder(name);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillAt(name, fd)) {
            folder = {base, QFile::decodeName(name) + u'/', fd};
            return folder.path;
        }
        ::close(fd);
    }
    return {};
}

void RunFolder::removeFoldersOfEndedRuns() {
    const QString base = TemporaryFolder::path();
    if (base.isEmpty()) return;
    static const QRegularExpression name(QStringLiteral("^run\\.[0-9]+\\.[A-Za-z0-9]{6}$"));
    const QStringList entries =
        QDir(base).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& entry : entries) {
        if (!name.match(entry).hasMatch()) continue;
        const QByteArray path = QFile::encodeName(base + entry);
        const int fd = openFolder(path);
        if (fd < 0) continue;
        // Free only when its run has ended; held while it goes, so that no
        // start takes it meanwhile.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillAt(path, fd))
            QDir(base + entry).removeRecursively();
        ::close(fd);
    }
}

void RunFolder::remove() {
    std::lock_guard lock(heldMutex());
    Held& folder = held();
    if (folder.fd >= 0 && stillAt(QFile::encodeName(folder.path.chopped(1)), folder.fd))
        QDir(folder.path).removeRecursively();
    release(folder);
}

}  // namespace platform
