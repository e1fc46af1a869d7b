#include "tools/ChildEnvironments.h"

#include "platform/AppPaths.h"
#include "platform/SystemLocale.h"
#include "tools/ApplicationContext.h"
#include "tools/SCPreferences.h"

platform::EnvironmentDictionary updateTaskEnvironmentDictionaryForBinary(
    const QString& name, const platform::EnvironmentDictionary& andDictionary) {
    platform::EnvironmentDictionary environment = andDictionary;
    const QString lower = name.toLower();

    if (lower == u"ffmpeg" || lower == u"ffplay") {
        const QString resources = platform::AppPaths::resourcesFolder();
        environment.insert(QStringLiteral("FONTCONFIG_PATH"), resources + QStringLiteral("/fonts"));
        environment.insert(QStringLiteral("FONTCONFIG_FILE"),
                           resources + QStringLiteral("/fonts/fonts.conf"));
    } else if (lower.startsWith(QStringLiteral("mkv"))) {
        const QString libraries = platform::AppPaths::resourcesFolder() + "/mkvtoolnix/lib";
        // mkvmerge refuses to start under a locale the system lacks.
        environment.insert(QStringLiteral("LANG"),
                           platform::SystemLocale::utf8LocaleOrFallback("en_US.UTF-8"));
        environment.insert(QStringLiteral("DYLD_LIBRARY_PATH"), libraries);
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), libraries);
    } else if (lower.startsWith(QStringLiteral("tesseract"))) {
        const auto preferences = ApplicationContext::appPreferences();
        const auto support = preferences->borvaneSupportFolderURL();
        // Before the support folder is known there is nothing to point at.
        if (!support) return environment;
        QString supportPath = support->toLocalFile();
        while (supportPath.size() > 1 && supportPath.endsWith(u'/')) supportPath.chop(1);
        const QString engine = supportPath + u'/' + preferences->tesseractDataFolderName();
        environment.insert(QStringLiteral("DYLD_LIBRARY_PATH"),
                           engine + "/lib:" + engine + "/leptonica/lib:" + engine +
                               "/libpng/lib:" + engine + "/jpeg/lib:" + engine + "/libtiff/lib");
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), engine + "/lib");
        environment.insert(QStringLiteral("TESSDATA_PREFIX"), engine);
    }
    return environment;
}
