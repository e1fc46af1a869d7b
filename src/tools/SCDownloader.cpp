#include "tools/SCDownloader.h"

#include <sys/stat.h>

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <mutex>

#include "common/NotificationTypes.h"
#include "platform/NotificationCenter.h"
#include "tools/DownloadSession.h"

struct SCDownloader::State {
    mutable std::mutex mutex;
    std::map<QString, SCDownload> activeDownloads;
    QList<QUrl> destinationUrlsList;
    QStringList createdFiles;  // written where nothing was before
    bool cancelled = false;
    const QObject* owner = nullptr;  // null once the downloader is released
};

namespace {

QString keyOf(const QUrl& url) {
    return url.toString(QUrl::FullyEncoded);
}

// The last segment of the path, split before decoding, so that an encoded
// "/" stays inside the name (and makes it unacceptable).
QString lastPathComponent(const QUrl& url) {
    const QString path = url.path(QUrl::FullyEncoded);
    return QUrl::fromPercentEncoding(path.mid(path.lastIndexOf(u'/') + 1).toUtf8());
}

QString folderPath(const QUrl& directory) {
    QString folder = directory.isLocalFile() ? directory.toLocalFile() : QString();
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

enum class Entry { Missing, RegularFile, Other };

Entry entryAt(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT ? Entry::Missing : Entry::Other;
    return S_ISREG(info.st_mode) ? Entry::RegularFile : Entry::Other;
}

// Renames the finished body over the destination when nothing or a regular
// file is there; a folder, a link or anything else of that name stays.
bool placeFile(const QString& body, const QString& destination, bool& existedBefore) {
    const Entry entry = entryAt(destination);
    if (entry == Entry::Other) return false;
    existedBefore = entry == Entry::RegularFile;
    QFile::setPermissions(
        body, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return std::rename(QFile::encodeName(body).constData(),
                       QFile::encodeName(destination).constData()) == 0;
}

}  // namespace

bool SCDownloader::finishDownload(const std::shared_ptr<State>& state, const QUrl& url,
                                  bool complete, const QString& bodyPath) {
    const QString name = lastPathComponent(url);
    QUrl destination;
    bool placed = false;
    bool batchEnded = false;
    const QObject* owner = nullptr;
    {
        // The write happens under the lock that cancelling takes, so a
        // cancelled batch never gains a file afterwards.
        std::lock_guard lock(state->mutex);
        if (state->cancelled || state->owner == nullptr) return false;
        const auto record = state->activeDownloads.find(keyOf(url));
        if (record == state->activeDownloads.end()) return false;
        const QString path = folderPath(record->second.destinationDirectoryURL) + u'/' + name;
        destination = QUrl::fromLocalFile(path);
        bool existedBefore = false;
        if (complete && isPlainFileName(name) && placeFile(bodyPath, path, existedBefore)) {
            placed = true;
            state->destinationUrlsList.append(destination);
            if (!existedBefore && !state->createdFiles.contains(path))
                state->createdFiles.append(path);
        }
        state->activeDownloads.erase(record);
        batchEnded = state->activeDownloads.empty();
        owner = state->owner;
    }
    if (batchEnded) {
        // Posted outside the lock: an observer may release the downloader.
        platform::NotificationCenter::defaultCenter().post(
            notificationTypes(notificationTypes::fileDownloadComplete).rawValue(), owner,
            {{QStringLiteral("downloadlURL"), QVariant::fromValue(url)},
             {QStringLiteral("destinationURL"), QVariant::fromValue(destination)}});
    }
    return placed;
}

SCDownloader::SCDownloader() : state_(std::make_shared<State>()) {
    state_->owner = this;
}

SCDownloader::~SCDownloader() {
    {
        std::lock_guard lock(state_->mutex);
        state_->owner = nullptr;
    }
    // Stops the transfers; waits for a finish step in progress unless this
    // runs inside one.
    downloadsSession_.reset();
}

std::map<QString, SCDownload> SCDownloader::activeDownloads() const {
    std::lock_guard lock(state_->mutex);
    return state_->activeDownloads;
}

QList<QUrl> SCDownloader::destinationUrlsList() const {
    std::lock_guard lock(state_->mutex);
    return state_->destinationUrlsList;
}

void SCDownloader::setTransferTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard lock(state_->mutex);
    transferTimeout_ = timeout;
}

bool SCDownloader::isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(QChar(u'\0')) &&
           !name.startsWith(u'.');
}

void SCDownloader::downloadLanguageFileAtURL(const QUrl& url, const QUrl& toDirectory) {
    std::lock_guard lock(state_->mutex);
    if (state_->cancelled) return;
    if (!downloadsSession_) downloadsSession_ = std::make_unique<DownloadSession>();

    SCDownload record(keyOf(url));
    record.destinationDirectoryURL = toDirectory;
    // In the table before the transfer can start, so that even an instant
    // finish finds it; the session only queues the start, so holding the
    // lock here cannot block its thread for long.
    auto [entry, inserted] = state_->activeDownloads.insert_or_assign(record.urlString, record);
    (void)inserted;
    const quint64 task = downloadsSession_->downloadTask(
        url, folderPath(toDirectory), transferTimeout_,
        [state = state_](const DownloadSession::Finished& finished) {
            return finishDownload(state, finished.url, finished.complete, finished.bodyPath);
        });
    entry->second.downloadTask = task;
    entry->second.isDownloading = true;
}

void SCDownloader::cancelDownloading() {
    QStringList created;
    {
        std::lock_guard lock(state_->mutex);
        state_->cancelled = true;
        created = state_->createdFiles;
    }
    for (const QString& path : created)
        if (entryAt(path) == Entry::RegularFile) QFile::remove(path);
    if (downloadsSession_) downloadsSession_->invalidateAndCancel();
}
