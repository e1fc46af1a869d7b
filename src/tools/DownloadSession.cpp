#include "tools/DownloadSession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

namespace {

constexpr int kMaximumRedirects = 10;
// How long a release waits for the thread to wind down before leaving it to
// finish on its own (a call-back may still be running there).
constexpr auto kShutdownWait = std::chrono::seconds(10);

}  // namespace

struct DownloadSession::Shared {
    struct Task {
        QUrl url;
        Completion completion;
        std::unique_ptr<QTemporaryFile> body;
        QNetworkReply* reply = nullptr;
        bool writeFailed = false;
    };

    // Any thread.
    bool enqueue(std::function<void()> command);
    void requestStop();
    // The session thread.
    void run();
    void drain();
    void begin(quint64 id, const QUrl& url, const QString& folder,
               std::chrono::milliseconds transferTimeout, Completion completion);
    void receive(quint64 id);
    void finish(quint64 id);
    void dropAll();
    void wakeLocked();

    std::atomic<quint64> nextTask{1};

    std::mutex mutex;
    std::condition_variable ended;
    std::deque<std::function<void()>> commands;
    QObject* context = nullptr;  // lives on the session thread while it runs
    bool invalidated = false;
    bool stopping = false;
    bool finished = false;
    std::thread::id threadId;

    // Touched on the session thread only.
    QEventLoop* loop = nullptr;
    bool quitRequested = false;
    std::unique_ptr<QNetworkAccessManager> manager;
    std::map<quint64, std::unique_ptr<Task>> tasks;
};

void DownloadSession::Shared::wakeLocked() {
    if (context != nullptr)
        QMetaObject::invokeMethod(
            context, [this] { drain(); }, Qt::QueuedConnection);
}

bool DownloadSession::Shared::enqueue(std::function<void()> command) {
    std::lock_guard lock(mutex);
    if (stopping) return false;
    commands.push_back(std::move(command));
    wakeLocked();
    return true;
}

void DownloadSession::Shared::requestStop() {
    std::lock_guard lock(mutex);
    if (stopping) return;
    stopping = true;
    commands.push_back([this] {
        quitRequested = true;
        if (loop != nullptr) loop->quit();
    });
    wakeLocked();
}

void DownloadSession::Shared::run() {
    QEventLoop eventLoop;
    auto receiver = std::make_unique<QObject>();
    loop = &eventLoop;
    {
        std::lock_guard lock(mutex);
        context = receiver.get();
    }
    drain();  // what was asked for before the loop could be woken
    if (!quitRequested) eventLoop.exec();

    dropAll();
    manager.reset();
    // The loop has ended, so the replies and whatever the network manager
    // left for deferred deletion on this thread would otherwise never be
    // freed, above all when the session was released from a call-back.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    {
        std::lock_guard lock(mutex);
        context = nullptr;
        commands.clear();
    }
    receiver.reset();
    loop = nullptr;
    std::lock_guard lock(mutex);
    finished = true;
    ended.notify_all();
}

void DownloadSession::Shared::drain() {
    for (;;) {
        std::function<void()> command;
        {
            std::lock_guard lock(mutex);
            if (commands.empty()) return;
            command = std::move(commands.front());
            commands.pop_front();
        }
        command();
    }
}

void DownloadSession::Shared::begin(quint64 id, const QUrl& url, const QString& folder,
                                    std::chrono::milliseconds transferTimeout,
                                    Completion completion) {
    {
        std::lock_guard lock(mutex);
        if (invalidated) return;
    }
    auto task = std::make_unique<Task>();
    task->url = url;
    task->completion = std::move(completion);
    // Hidden, so that a half-written file never looks like a finished one.
    task->body = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/.download-XXXXXX"));
    if (!task->body->open()) {
        const Finished failed{url, false, QString(), QStringLiteral("cannot write in ") + folder};
        task->completion(failed);
        return;
    }
    if (!manager) {
        manager = std::make_unique<QNetworkAccessManager>();
        manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    }
    QNetworkRequest request(url);
    request.setMaximumRedirectsAllowed(kMaximumRedirects);
    request.setTransferTimeout(static_cast<int>(transferTimeout.count()));
    QNetworkReply* reply = manager->get(request);
    task->reply = reply;
    tasks.emplace(id, std::move(task));
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [this, id] { receive(id); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, id] { finish(id); });
}

void DownloadSession::Shared::receive(quint64 id) {
    const auto it = tasks.find(id);
    if (it == tasks.end()) return;
    Task& task = *it->second;
    const QByteArray data = task.reply->readAll();
    if (task.writeFailed || task.body->write(data) == data.size()) return;
    task.writeFailed = true;
    task.reply->abort();  // ends the task at once: `task` is gone after this
}

void DownloadSession::Shared::finish(quint64 id) {
    const auto it = tasks.find(id);
    if (it == tasks.end()) return;
    std::unique_ptr<Task> task = std::move(it->second);
    tasks.erase(it);
    QNetworkReply* reply = task->reply;
    reply->deleteLater();

    const QByteArray rest = reply->isOpen() ? reply->readAll() : QByteArray();
    if (!task->writeFailed && task->body->write(rest) != rest.size()) task->writeFailed = true;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString errorText;
    if (reply->error() != QNetworkReply::NoError)
        errorText = reply->errorString();
    else if (status < 200 || status > 299)
        errorText = QStringLiteral("the server answered %1").arg(status);
    else if (task->writeFailed || !task->body->flush())
        errorText = QStringLiteral("cannot write ") + task->body->fileName();
    task->body->close();

    {
        std::lock_guard lock(mutex);
        if (invalidated) return;
    }
    const Finished result{task->url, errorText.isEmpty(), task->body->fileName(), errorText};
    if (task->completion(result)) task->body->setAutoRemove(false);
    // The call-back may have released the session's handle; this object
    // lives on while the thread runs.
}

void DownloadSession::Shared::dropAll() {
    // Out of the table first: the abort's finish signal then finds nothing
    // to call back.
    auto dropped = std::move(tasks);
    tasks.clear();
    for (auto& [id, task] : dropped) {
        task->reply->abort();
        delete task->reply;
    }
}

DownloadSession::DownloadSession() : shared_(std::make_shared<Shared>()) {
    // The thread keeps the shared part alive, so a handle released from a
    // call-back does not pull it away from under the running code.
    std::lock_guard lock(shared_->mutex);
    thread_ = std::thread([shared = shared_] { shared->run(); });
    shared_->threadId = thread_.get_id();
}

DownloadSession::~DownloadSession() {
    shared_->requestStop();
    std::unique_lock lock(shared_->mutex);
    if (std::this_thread::get_id() == shared_->threadId ||
        !shared_->ended.wait_for(lock, kShutdownWait, [this] { return shared_->finished; })) {
        lock.unlock();
        thread_.detach();
        return;
    }
    lock.unlock();
    thread_.join();
}

quint64 DownloadSession::downloadTask(const QUrl& url, const QString& folder,
                                      std::chrono::milliseconds transferTimeout,
                                      Completion completion) {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->invalidated) return 0;
    }
    const quint64 id = shared_->nextTask++;
    Shared* shared = shared_.get();
    const bool queued = shared_->enqueue(
        [shared, id, url, folder, transferTimeout, completion = std::move(completion)]() mutable {
            shared->begin(id, url, folder, transferTimeout, std::move(completion));
        });
    return queued ? id : 0;
}

void DownloadSession::invalidateAndCancel() {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->invalidated) return;
        shared_->invalidated = true;
    }
    Shared* shared = shared_.get();
    shared_->enqueue([shared] { shared->dropAll(); });
}
