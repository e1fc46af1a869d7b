#include "platform/ValueTransformer.h"

#include <mutex>
#include <utility>
#include <vector>

namespace platform {

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<std::pair<QString, std::shared_ptr<const ValueTransformer>>> entries;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void ValueTransformer::setValueTransformer(std::shared_ptr<const ValueTransformer> transformer,
                                           const QString& forName) {
    Registry& r = registry();
    std::shared_ptr<const ValueTransformer> replaced;  // released outside the lock
    std::lock_guard lock(r.mutex);
    for (auto it = r.entries.begin(); it != r.entries.end(); ++it) {
        if (it->first != forName) continue;
        if (transformer) {
            replaced = std::exchange(it->second, std::move(transformer));
        } else {
            replaced = std::move(it->second);
            r.entries.erase(it);
        }
        return;
    }
    if (transformer) r.entries.emplace_back(forName, std::move(transformer));
}

std::shared_ptr<const ValueTransformer> ValueTransformer::valueTransformerForName(
    const QString& name) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& [entryName, transformer] : r.entries)
        if (entryName == name) return transformer;
    return nullptr;
}

QStringList ValueTransformer::valueTransformerNames() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    QStringList names;
    for (const auto& entry : r.entries) names.append(entry.first);
    return names;
}

}  // namespace platform
