#pragma once

#include <QString>
#include <QVariant>

// Where the preferences live between runs: a key-value store of
// property-list values. Implementations are safe to use from any thread.
class PreferenceStore {
  public:
    virtual ~PreferenceStore() = default;

    // An invalid value when nothing is stored under the key.
    virtual QVariant value(const QString& key) const = 0;

    // An invalid value removes the entry.
    virtual void setValue(const QString& key, const QVariant& value) = 0;
};
