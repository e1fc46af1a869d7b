#include "platform/SpellChecker.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "platform/HunspellSpellChecker.h"
#include "platform/NullSpellChecker.h"

namespace platform {

namespace {

// Never destroyed either: a thread preparing the checker for a load may
// still ask for it while the process ends.
std::mutex& sharedMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

// Never destroyed: the checker serves until the process ends, and taking
// apart its dictionaries and remembered verdicts at exit only costs time.
std::shared_ptr<SpellChecker>& sharedChecker() {
    static auto* checker = new std::shared_ptr<SpellChecker>;
    return *checker;
}

// Counts each making and replacement of the shared checker; 0 before the
// first.
std::atomic<std::uint64_t> generation{0};

}  // namespace

std::shared_ptr<SpellChecker> SpellChecker::shared(std::uint64_t& sharedGeneration) {
    std::lock_guard lock(sharedMutex());
    auto& checker = sharedChecker();
    if (!checker) {
        checker = HunspellSpellChecker::forUserLocale();
        if (!checker) checker = std::make_shared<NullSpellChecker>();
        generation.fetch_add(1, std::memory_order_release);
    }
    sharedGeneration = generation.load(std::memory_order_relaxed);
    return checker;
}

std::shared_ptr<SpellChecker> SpellChecker::shared() {
    std::uint64_t ignored = 0;
    return shared(ignored);
}

void SpellChecker::setShared(std::shared_ptr<SpellChecker> checker) {
    std::shared_ptr<SpellChecker> previous;
    {
        std::lock_guard lock(sharedMutex());
        previous = std::exchange(sharedChecker(), std::move(checker));
        generation.fetch_add(1, std::memory_order_release);
    }
    // The old checker, if this was its last holder, goes outside the lock.
}

std::uint64_t SpellChecker::sharedGeneration() {
    return generation.load(std::memory_order_acquire);
}

}  // namespace platform
