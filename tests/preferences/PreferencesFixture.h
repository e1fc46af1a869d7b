#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <ostream>

#include "preferences/SCPreferencesController.h"
#include "preferences/SCToolTips.h"
#include "support/PlatformOverrides.h"
#include "tools/SCPreferences.h"

void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);

// A scratch support folder whose engine folder holds its seven entries,
// fresh preferences in memory installed as the application's and loaded with
// the defaults, a private temporary folder inside the scratch folder, the log
// captured, and a controller with its tool-tip holder. All is put back
// afterwards.
class PreferencesFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the controller; tests that hand in their own downloader factory
    // call it again.
    void makeController(SCPreferencesController::DownloaderFactory factory = nullptr);

    QString path(const QString& relative) const { return scratch.filePath(relative); }
    QString tessdata() const;
    QString writeFile(const QString& path, const QByteArray& content) const;
    // Writes an entry of the language-data folder.
    QString writeTessdata(const QString& name, const QByteArray& content = "data") const;
    QStringList tessdataEntries() const;
    // A language-data folder holding "configs" and these files, and a new
    // controller.
    void startOver(const QStringList& files);

    QVariantMap panel() const { return *preferences->preferencePanelDictionary(); }
    void setPanelEntry(const QString& key, const QVariant& value);

    QTemporaryDir scratch;
    std::shared_ptr<SCPreferences> preferences;
    std::unique_ptr<SCToolTips> toolTips;
    std::unique_ptr<SCPreferencesController> controller;
    QStringList logged;
    // Tests move the temporary folder with `temporaryFolder->set(...)`.
    std::optional<testsupport::ScopedTemporaryFolder> temporaryFolder;
    std::optional<testsupport::ScopedAppPaths> appPaths;
    std::optional<testsupport::ScopedOverride<std::shared_ptr<SCPreferences>>> installed;
    std::optional<testsupport::ScopedOverride<platform::LogSink::Hook>> logHook;
};
