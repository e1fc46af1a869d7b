#pragma once

#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QObject;

namespace platform {

struct Notification {
    QString name;
    const QObject* object = nullptr;  // the sender, for identity checks only
    QVariantMap userInfo;
};

// Named notifications delivered synchronously on the posting thread to every
// observer of that name (no sender filter). Safe from any thread; an observer
// may be removed during delivery and from a destructor on any thread: once
// removal returns, its handler is not running and will not run again.
class NotificationCenter {
  public:
    using Handler = std::function<void(const Notification&)>;
    using ObserverId = unsigned long long;

    static NotificationCenter& defaultCenter();

    ObserverId addObserver(const QString& name, Handler handler);
    void removeObserver(ObserverId id);

    void post(const QString& name, const QObject* object = nullptr,
              const QVariantMap& userInfo = {});

    int observerCount(const QString& name) const;

  private:
    struct Entry;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Entry>> entries_;
    ObserverId nextId_ = 1;
};

// Removes its observer when destroyed.
class NotificationObserver {
  public:
    NotificationObserver() = default;
    NotificationObserver(const QString& name, NotificationCenter::Handler handler,
                         NotificationCenter& center = NotificationCenter::defaultCenter());
    ~NotificationObserver();
    NotificationObserver(NotificationObserver&& other) noexcept;
    NotificationObserver& operator=(NotificationObserver&& other) noexcept;
    NotificationObserver(const NotificationObserver&) = delete;
    NotificationObserver& operator=(const NotificationObserver&) = delete;

    void reset();
    bool isActive() const { return center_ != nullptr; }

  private:
    NotificationCenter* center_ = nullptr;
    NotificationCenter::ObserverId id_ = 0;
};

}  // namespace platform
