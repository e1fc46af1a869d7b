#include "tools/SettingsPreferenceStore.h"

#include <QStandardPaths>

namespace {

QString defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Borvane/Quillmar.conf");
}

}  // namespace

SettingsPreferenceStore::SettingsPreferenceStore() : SettingsPreferenceStore(defaultFilePath()) {}

SettingsPreferenceStore::SettingsPreferenceStore(const QString& filePath)
    : settings_(filePath, QSettings::IniFormat) {}

QVariant SettingsPreferenceStore::value(const QString& key) const {
    std::lock_guard lock(mutex_);
    return settings_.value(key);
}

void SettingsPreferenceStore::setValue(const QString& key, const QVariant& value) {
    std::lock_guard lock(mutex_);
    if (value.isValid())
        settings_.setValue(key, value);
    else
        settings_.remove(key);
    // Written out at once so that a later crash cannot lose a confirmed change.
    settings_.sync();
}

QString SettingsPreferenceStore::filePath() const {
    std::lock_guard lock(mutex_);
    return settings_.fileName();
}
