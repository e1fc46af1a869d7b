#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <memory>
#include <optional>

#include "ImageSubScratch.h"
#include "support/FileListing.h"
#include "support/PlatformOverrides.h"
#include "support/ScratchFiles.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"
#include "tools/TemporaryNames.h"

// A scratch folder with fresh preferences in memory, the private temporary
// folder and the application's folder inside it ("app/bin", so children run
// in "app/"), the tools folder "tools" and the support folder "support" for
// fake tools; everything is put back afterwards.
class ImportFixture : public ImageSubScratch {
  protected:
    void SetUp() override {
        ImageSubScratch::SetUp();
        temporary = scratch.filePath("tmp");
        temporaryFolder.emplace(temporary);
        QDir().mkpath(scratch.filePath("app/bin"));
        appPaths.emplace(
            platform::AppPaths::Overrides{.bundleFolder = scratch.filePath("app/bin")});
        preferences = std::make_shared<SCPreferences>(std::make_shared<InMemoryPreferenceStore>());
        preferences->setToolsLocationURL(QUrl::fromLocalFile(scratch.filePath("tools")));
        preferences->setBorvaneSupportFolderURL(QUrl::fromLocalFile(scratch.filePath("support")));
        installed.emplace(&ApplicationContext::setAppPreferences, preferences);
    }
    void TearDown() override {
        installed.reset();
        appPaths.reset();
        temporaryFolder.reset();
        ImageSubScratch::TearDown();
    }

    // An executable "/bin/sh" script.
    QString script(const QString& relative, const QByteArray& body) const {
        return testsupport::ScratchFiles(scratch.path()).writeScript(relative, body);
    }

    QString read(const QString& relative) const {
        QFile file(scratch.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Files at any depth of the private temporary folder (a run keeps its
    // working files in a folder of its own) whose names start with the stem.
    QStringList leftInTemporary(const QString& stem) const {
        return testsupport::filesBelow(temporary, "^" + QRegularExpression::escape(stem));
    }

    QString temporary;
    std::shared_ptr<SCPreferences> preferences;
    std::optional<testsupport::ScopedTemporaryFolder> temporaryFolder;
    std::optional<testsupport::ScopedAppPaths> appPaths;
    std::optional<testsupport::ScopedOverride<std::shared_ptr<SCPreferences>>> installed;
};
