// What the picture-import benchmarks share: a scratch folder, and the
// program set up as it starts, with the real tools of the built resources.
#pragma once

#include <QDir>
#include <QString>
#include <memory>

#include "document/SCSubtitle.h"
#include "imagesubs/SCImageSubImporter.h"
#include "platform/AppPaths.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"

namespace benchimports {

inline QString benchFolder() {
    const QString folder = QDir::tempPath() + "/quillmar-bench/";
    QDir().mkpath(folder);
    return folder;
}

// Preferences in memory, the support folder in the scratch folder, the
// tools from the resources the build made, and the real importer.
inline void useRealTools() {
    platform::AppPaths::setOverrides({.resourcesFolder = QStringLiteral(QUILLMAR_RESOURCES),
                                      .userDataFolder = benchFolder() + "data"});
    auto preferences = std::make_shared<SCPreferences>(std::make_shared<InMemoryPreferenceStore>());
    preferences->setToolsLocationURL(QUrl::fromLocalFile(QStringLiteral(QUILLMAR_RESOURCES)));
    preferences->initializeApplicationSupportFolder();
    ApplicationContext::setAppPreferences(preferences);
    SCSubtitle::setImageSubImporterFactory(SCImageSubImporter::factory());
}

}  // namespace benchimports
