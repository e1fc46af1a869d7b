#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <map>
#include <memory>

#include "tools/SCDownload.h"

class DownloadSession;

// Downloads one batch of OCR language files. Each file is fetched on the
// download session's thread into a hidden temporary file in its destination
// folder and renamed into place under the last part of its URL's path when
// the server answered 2xx with the whole body. When the last outstanding
// download of the batch has ended, stored or not, "fileDownloadComplete" is
// posted on the session's thread with the downloader as object and the
// userInfo "downloadlURL" (the source) and "destinationURL" (the file), both
// QUrl. A cancelled batch deletes the files it created and takes no new
// downloads; files it replaced are kept.
//
// Start and cancel on one thread (the main thread); the downloader may be
// released from any thread, also from inside its own notification: its
// outstanding transfers are then stopped and nothing more is posted. A
// release on another thread waits (at most a few seconds) for a finish step
// in progress, so release it outside any lock that its observers take.
class SCDownloader : public QObject {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds defaultTransferTimeout{std::chrono::seconds(60)};

    SCDownloader();
    ~SCDownloader() override;

    // Copies: the outstanding downloads keyed by their fully encoded source
    // URL, and every file written so far, in finishing order.
    std::map<QString, SCDownload> activeDownloads() const;
    QList<QUrl> destinationUrlsList() const;

    // Enters the download's record and returns at once; the transfer starts
    // on the session's thread. A record under the same URL is replaced.
    void downloadLanguageFileAtURL(const QUrl& url, const QUrl& toDirectory);

    // Stops the batch; once it returns no file of the batch appears.
    void cancelDownloading();

    // How long a transfer may stay silent before it fails; takes effect for
    // the downloads asked for afterwards.
    void setTransferTimeout(std::chrono::milliseconds timeout);

    // Whether a name may be written into the destination folder: not empty,
    // no "/", no NUL, no leading ".".
    static bool isPlainFileName(const QString& name);

  private:
    struct State;
    // On the session's thread when a transfer has ended; true when the body
    // file was moved into place.
    static bool finishDownload(const std::shared_ptr<State>& state, const QUrl& url, bool complete,
                               const QString& bodyPath);

    std::shared_ptr<State> state_;
    std::unique_ptr<DownloadSession> downloadsSession_;
    std::chrono::milliseconds transferTimeout_ = defaultTransferTimeout;
};
