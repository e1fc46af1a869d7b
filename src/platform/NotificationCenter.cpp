#include "platform/NotificationCenter.h"

#include <algorithm>

namespace platform {

struct NotificationCenter::Entry {
    ObserverId id;
    QString name;
    Handler handler;
    // Held while the handler runs; recursive so that a handler may remove
    // itself, blocking so that a removal on another thread waits for it.
    std::recursive_mutex callMutex;
    bool removed = false;
};

NotificationCenter& NotificationCenter::defaultCenter() {
    // Never destroyed: an object released by a worker thread while the
    // process exits still removes its observers safely.
    static auto* center = new NotificationCenter;
    return *center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const QString& name,
                                                               Handler handler) {
    auto entry = std::make_shared<Entry>();
    entry->name = name;
    entry->handler = std::move(handler);
    std::lock_guard lock(mutex_);
    entry->id = nextId_++;
    entries_.push_back(entry);
    return entry->id;
}

void NotificationCenter::removeObserver(ObserverId id) {
    std::shared_ptr<Entry> entry;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(entries_.begin(), entries_.end(),
                               [id](const auto& e) { return e->id == id; });
        if (it == entries_.end()) return;
        entry = *it;
        entries_.erase(it);
    }
    std::lock_guard call(entry->callMutex);
    entry->removed = true;
    entry->handler = nullptr;
}

void NotificationCenter::post(const QString& name, const QObject* object,
                              const QVariantMap& userInfo) {
    std::vector<std::shared_ptr<Entry>> targets;
    {
        std::lock_guard lock(mutex_);
        for (const auto& e : entries_)
            if (e->name == name) targets.push_back(e);
    }
    const Notification note{name, object, userInfo};
    for (const auto& e : targets) {
        std::lock_guard call(e->callMutex);
        if (e->removed) continue;
        Handler handler = e->handler;  // the handler may remove itself
        handler(note);
    }
}

int NotificationCenter::observerCount(const QString& name) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [&](const auto& e) { return e->name == name; }));
}

NotificationObserver::NotificationObserver(const QString& name, NotificationCenter::Handler handler,
                                           NotificationCenter& center)
    : center_(&center), id_(center.addObserver(name, std::move(handler))) {}

NotificationObserver::~NotificationObserver() {
    reset();
}

NotificationObserver::NotificationObserver(NotificationObserver&& other) noexcept
    : center_(other.center_), id_(other.id_) {
    other.center_ = nullptr;
}

NotificationObserver& NotificationObserver::operator=(NotificationObserver&& other) noexcept {
    if (this != &other) {
        reset();
        center_ = other.center_;
        id_ = other.id_;
        other.center_ = nullptr;
    }
    return *this;
}

void NotificationObserver::reset() {
    if (center_ != nullptr) center_->removeObserver(id_);
    center_ = nullptr;
}

}  // namespace platform
