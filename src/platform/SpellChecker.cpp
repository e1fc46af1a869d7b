#include "platform/SpellChecker.h"

#include <mutex>

#include "platform/HunspellSpellChecker.h"
#include "platform/NullSpellChecker.h"

namespace platform {

namespace {

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<SpellChecker>& sharedChecker() {
    static std::shared_ptr<SpellChecker> checker;
    return checker;
}

}  // namespace

std::shared_ptr<SpellChecker> SpellChecker::shared() {
    std::lock_guard lock(sharedMutex());
    auto& checker = sharedChecker();
    if (!checker) {
        checker = HunspellSpellChecker::forUserLocale();
        if (!checker) checker = std::make_shared<NullSpellChecker>();
    }
    return checker;
}

void SpellChecker::setShared(std::shared_ptr<SpellChecker> checker) {
    std::lock_guard lock(sharedMutex());
    sharedChecker() = std::move(checker);
}

}  // namespace platform
