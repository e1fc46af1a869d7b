#include "tools/ApplicationContext.h"

#include <mutex>

#include "tools/SCPreferences.h"

namespace {

std::mutex& contextMutex() {
    static std::mutex m;
    return m;
}
std::shared_ptr<SCPreferences>& installed() {
    static std::shared_ptr<SCPreferences> preferences;
    return preferences;
}

}  // namespace

std::shared_ptr<SCPreferences> ApplicationContext::appPreferences() {
    std::lock_guard lock(contextMutex());
    if (!installed()) installed() = std::make_shared<SCPreferences>();
    return installed();
}

void ApplicationContext::setAppPreferences(std::shared_ptr<SCPreferences> preferences) {
    std::lock_guard lock(contextMutex());
    installed() = std::move(preferences);
}
