#pragma once

#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// A web client on a thread of its own: each transfer streams its body into
// a hidden temporary file in a given folder and calls back once, on that
// thread, when it has ended for any reason. Redirects are followed up to a
// small limit; a transfer that stays silent longer than the time-out fails.
// The handle may be released from any thread, also from inside a call-back.
class DownloadSession {
  public:
    struct Finished {
        QUrl url;           // the URL first asked for
        bool complete;      // a 2xx answer whose whole body was stored
        QString bodyPath;   // the temporary file; empty when none could be made
        QString errorText;  // why it is not complete
    };
    // Returns true when it moved the body file away; otherwise the file is
    // removed after the call.
    using Completion = std::function<bool(const Finished&)>;

    DownloadSession();
    // Stops every transfer (no call-backs) and removes their files. Waits,
    // bounded, for the thread unless called on it.
    ~DownloadSession();

    DownloadSession(const DownloadSession&) = delete;
    DownloadSession& operator=(const DownloadSession&) = delete;

    // Starts a transfer that fails once silent for longer than
    // `transferTimeout` and returns its number at once; 0 when the session
    // was invalidated (then nothing is called back).
    quint64 downloadTask(const QUrl& url, const QString& folder,
                         std::chrono::milliseconds transferTimeout, Completion completion);

    // Cancels every transfer without calling back; later ones are refused.
    void invalidateAndCancel();

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
