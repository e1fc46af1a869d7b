#pragma once

#include <QVariantMap>
#include <mutex>

#include "tools/PreferenceStore.h"

// A store that lives only as long as the object: for tests and for runs that
// must not touch the user's settings.
class InMemoryPreferenceStore : public PreferenceStore {
  public:
    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;

  private:
    mutable std::mutex mutex_;
    QVariantMap values_;
};
