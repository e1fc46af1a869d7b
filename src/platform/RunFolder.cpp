#include "platform/RunFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/LogSink.h"
#include "platform/TemporaryFolder.h"

namespace platform {

namespace {

// "run.", the process number (for the reader only), ".", six random
// characters.
const QString kPrefix = QStringLiteral("run.");

// What the run has in the temporary folder.
struct State {
    QString base;                  // the private temporary folder it works in
    QString path;                  // its own folder there, ending with "/"; empty while none
    int fd = -1;                   // open on its own folder, with its lock
    bool inPrivateFolder = false;  // its one attempt failed: it works in `base`
    bool saidNoPrivateFolder = false;
    QStringList links;  // made by this run, wherever they lie
};

std::mutex& stateMutex() {
    static std::mutex m;
    return m;
}
State& state() {
    static State run;
    return run;
}

std::mutex& overridesMutex() {
    static std::mutex m;
    return m;
}
RunFolder::Overrides& overrides() {
    static RunFolder::Overrides o;
    return o;
}

RunFolder::Overrides currentOverrides() {
    std::lock_guard lock(overridesMutex());
    return overrides();
}

char* makeFolder(char* pattern) {
    const auto call = currentOverrides().mkdtemp;
    return call ? call(pattern) : ::mkdtemp(pattern);
}

int lockFolder(int fd, int operation) {
    const auto call = currentOverrides().flock;
    return call ? call(fd, operation) : ::flock(fd, operation);
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

void closeFolder(State& run) {
    if (run.fd >= 0) ::close(run.fd);
    run.fd = -1;
    run.path.clear();
}

struct Attempt {
    QString path;  // the folder made and locked, ending with "/"
    int fd = -1;
    // Otherwise: the step that failed ("made", "locked") and why.
    QString step;
    QString reason;
};

Attempt failed(const char* step, int error) {
    return {{}, -1, QString::fromLatin1(step), QString::fromLocal8Bit(std::strerror(error))};
}

// One attempt at a folder of the run's own. Another start's sweep may take a
// folder between its making and its lock; it is then made again, a few times
// at most. A folder that cannot be locked (NFS) is removed again at once, so
// that no empty folders pile up.
Attempt makeAndLock(const QString& base) {
    for (int tries = 0; tries < 5; ++tries) {
        QByteArray name =
            QFile::encodeName(base + kPrefix + QString::number(::getpid()) + ".XXXXXX");
        if (makeFolder(name.data()) == nullptr) return failed("made", errno);
        const int fd = openFolder(name);
        if (fd < 0) {
            const int error = errno;
            if (error == ENOENT) continue;
            ::rmdir(name.constData());
            return failed("locked", error);
        }
        if (lockFolder(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            ::rmdir(name.constData());
            // Held: a sweep is taking it.
            if (error == EWOULDBLOCK) continue;
            return failed("locked", error);
        }
        if (stillAt(name, fd)) return {QFile::decodeName(name) + u'/', fd, {}, {}};
        ::close(fd);
    }
    return {{}, -1, QStringLiteral("made"), QStringLiteral("taken by other starts each time")};
}

}  // namespace

QString RunFolder::path() {
    const QString base = TemporaryFolder::path();
    std::lock_guard lock(stateMutex());
    State& run = state();
    if (base.isEmpty()) {
        if (!run.saidNoPrivateFolder)
            LogSink::write(
                QStringLiteral("!!!! the private temporary folder cannot be made safe; "
                               "this run makes no working files"));
        run.saidNoPrivateFolder = true;
        return {};
    }
    if (run.base == base) {
        if (run.inPrivateFolder) return base;
        if (run.fd >= 0 && stillAt(QFile::encodeName(run.path.chopped(1)), run.fd)) return run.path;
    }
    closeFolder(run);
    run.base = base;
    const Attempt attempt = makeAndLock(base);
    run.inPrivateFolder = attempt.fd < 0;
    if (!run.inPrivateFolder) {
        run.path = attempt.path;
        run.fd = attempt.fd;
        return run.path;
    }
    LogSink::write(QStringLiteral("!!!! this run's folder cannot be ") + attempt.step +
                   QStringLiteral(" in ") + base + QStringLiteral(" (") + attempt.reason +
                   QStringLiteral("); its working files go to ") + base);
    return base;
}

void RunFolder::noteLink(const QString& link) {
    std::lock_guard lock(stateMutex());
    state().links.append(link);
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
        if (lockFolder(fd, LOCK_EX | LOCK_NB) == 0 && stillAt(path, fd))
            QDir(base + entry).removeRecursively();
        ::close(fd);
    }
}

void RunFolder::removeWhatThisRunMade() {
    std::lock_guard lock(stateMutex());
    State& run = state();
    // Where the run had no folder of its own, its links lie among the files
    // of others, and only they go.
    for (const QString& link : std::as_const(run.links))
        if (QFileInfo(link).isSymLink()) QFile::remove(link);
    if (run.fd >= 0 && stillAt(QFile::encodeName(run.path.chopped(1)), run.fd))
        QDir(run.path).removeRecursively();
    closeFolder(run);
    run = State();
}

void RunFolder::setOverrides(const Overrides& replacement) {
    std::lock_guard lock(overridesMutex());
    overrides() = replacement;
}

}  // namespace platform
