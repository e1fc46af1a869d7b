#pragma once

#include <clocale>
#include <functional>
#include <string>
#include <utility>

namespace testsupport {

// Sets a program-wide value for the life of the guard and sets `restored`
// when it ends, however the test ends: a failing assertion cannot leave an
// override in place for the tests after it.
//   testsupport::ScopedOverride folder(&platform::TemporaryFolder::setOverride, path("tmp"));
template <typename Value>
class [[nodiscard]] ScopedOverride {
  public:
    using Setter = std::function<void(Value)>;

    ScopedOverride(Setter setter, Value value, Value restored = Value{})
        : setter_(std::move(setter)), restored_(std::move(restored)) {
        setter_(std::move(value));
    }
    ~ScopedOverride() { setter_(restored_); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

    // Another value for the rest of the scope.
    void set(Value value) { setter_(std::move(value)); }

  private:
    Setter setter_;
    Value restored_;
};

template <typename Value>
ScopedOverride(void (*)(const Value&), Value) -> ScopedOverride<Value>;
template <typename Value>
ScopedOverride(void (*)(Value), Value) -> ScopedOverride<Value>;

// One locale category for the life of the guard; `active` tells whether the
// system has that locale.
class [[nodiscard]] ScopedLocale {
  public:
    ScopedLocale(int category, const char* name) : category_(category) {
        const char* previous = std::setlocale(category, nullptr);
        saved_ = previous ? previous : "C";
        active_ = std::setlocale(category, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(category_, saved_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool active() const { return active_; }

  private:
    int category_;
    std::string saved_;
    bool active_ = false;
};

}  // namespace testsupport
