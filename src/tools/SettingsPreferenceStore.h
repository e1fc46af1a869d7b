#pragma once

#include <QSettings>
#include <mutex>

#include "tools/PreferenceStore.h"

// The application's real store: a settings file in the user's configuration
// folder ("Borvane/Quillmar.conf" there), or the given file.
class SettingsPreferenceStore : public PreferenceStore {
  public:
    SettingsPreferenceStore();
    explicit SettingsPreferenceStore(const QString& filePath);

    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;

    QString filePath() const;

  private:
    mutable std::mutex mutex_;
    mutable QSettings settings_;
};
