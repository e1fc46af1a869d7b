#include "tools/InMemoryPreferenceStore.h"

QVariant InMemoryPreferenceStore::value(const QString& key) const {
    std::lock_guard lock(mutex_);
    return values_.value(key);
}

void InMemoryPreferenceStore::setValue(const QString& key, const QVariant& value) {
    std::lock_guard lock(mutex_);
    if (value.isValid())
        values_.insert(key, value);
    else
        values_.remove(key);
}
