#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>
#include <optional>
#include <ostream>

#include "support/PlatformOverrides.h"

class SCPreferences;

// Readable values in failure messages.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QByteArray& bytes, std::ostream* out);
void PrintTo(const QUrl& url, std::ostream* out);

// A scratch folder, fresh preferences in memory installed as the
// application's, and the private temporary folder moved into the scratch
// folder; everything is put back afterwards.
class ToolsFixture : public ::testing::Test {
  protected:
    void SetUp() override;

    QString path(const QString& relative) const;
    // Makes the folder (and its parents) and returns its path.
    QString makeFolder(const QString& relative) const;
    // Writes a file, making its folder.
    QString writeFile(const QString& relative, const QByteArray& content) const;
    // Writes an executable "/bin/sh" script with the given body.
    QString writeScript(const QString& relative, const QByteArray& body) const;

    QTemporaryDir scratch;
    std::shared_ptr<SCPreferences> preferences;
    // Tests move the application's folders with `appPaths.set(...)`; the
    // guards put every program-wide setting back however a test ends.
    testsupport::ScopedAppPaths appPaths{{}};
    std::optional<testsupport::ScopedTemporaryFolder> temporaryFolder;
    std::optional<testsupport::ScopedOverride<std::shared_ptr<SCPreferences>>> installed;
};
