#include "tools/SCPreferences.h"

#include <QDir>
#include <QFileInfo>

#include "common/HelperFunctions.h"
#include "platform/AppPaths.h"
#include "tools/CommandRunner.h"
#include "tools/SettingsPreferenceStore.h"
#include "tools/ToolLocation.h"

namespace {

const QString kGuiSettingsKey = QStringLiteral("guiSettingsDictionary");
const QString kPreferencePanelKey = QStringLiteral("preferencePanelDictionary");

// The defaults overlaid with the stored values of the default keys. A stored
// value of another type than its default keeps the default: every reader
// takes these values as text or as a flag.
QVariantMap mergedWithStored(const QVariantMap& defaults, const QVariant& stored) {
    QVariantMap merged = defaults;
    if (stored.metaType().id() != QMetaType::QVariantMap) return merged;
    const QVariantMap storedMap = stored.toMap();
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        const auto found = storedMap.constFind(it.key());
        if (found == storedMap.cend()) continue;
        if (found->metaType() == it.value().metaType()) merged.insert(it.key(), *found);
    }
    return merged;
}

QVariant storable(const std::optional<QVariantMap>& dictionary) {
    return dictionary ? QVariant(*dictionary) : QVariant();
}

// A folder without a single language data file; a file in the folder's
// place is not one.
bool lacksLanguageData(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    return QDir(folder)
        .entryList({QStringLiteral("*.traineddata")}, QDir::Files | QDir::Hidden | QDir::System)
        .isEmpty();
}

}  // namespace

SCPreferences::SCPreferences(std::shared_ptr<PreferenceStore> store)
    : preferenceDefaults_(store ? std::move(store) : std::make_shared<SettingsPreferenceStore>()),
      toolsLocationURL_(QUrl::fromLocalFile(platform::AppPaths::resourcesFolder())) {}

std::shared_ptr<PreferenceStore> SCPreferences::preferenceDefaults() const {
    std::lock_guard lock(mutex_);
    return preferenceDefaults_;
}

void SCPreferences::setPreferenceDefaults(std::shared_ptr<PreferenceStore> store) {
    std::lock_guard lock(mutex_);
    preferenceDefaults_ = std::move(store);
}

QUrl SCPreferences::toolsLocationURL() const {
    std::lock_guard lock(mutex_);
    return toolsLocationURL_;
}

void SCPreferences::setToolsLocationURL(const QUrl& url) {
    std::lock_guard lock(mutex_);
    toolsLocationURL_ = url;
}

std::optional<QUrl> SCPreferences::borvaneSupportFolderURL() const {
    std::lock_guard lock(mutex_);
    return borvaneSupportFolderURL_;
}

void SCPreferences::setBorvaneSupportFolderURL(const std::optional<QUrl>& url) {
    std::lock_guard lock(mutex_);
    borvaneSupportFolderURL_ = url;
}

QString SCPreferences::tesseractDataFolderName() const {
    std::lock_guard lock(mutex_);
    return tesseractDataFolderName_;
}

void SCPreferences::setTesseractDataFolderName(const QString& name) {
    std::lock_guard lock(mutex_);
    tesseractDataFolderName_ = name;
}

QString SCPreferences::toolTipsMenuItemTitle() const {
    std::lock_guard lock(mutex_);
    return toolTipsMenuItemTitle_;
}

void SCPreferences::setToolTipsMenuItemTitle(const QString& title) {
    {
        std::lock_guard lock(mutex_);
        if (toolTipsMenuItemTitle_ == title) return;
        toolTipsMenuItemTitle_ = title;
    }
    emit toolTipsMenuItemTitleChanged(title);
}

std::optional<QVariantMap> SCPreferences::guiSettingsDictionary() const {
    std::lock_guard lock(mutex_);
    return guiSettingsDictionary_;
}

void SCPreferences::setGuiSettingsDictionary(const std::optional<QVariantMap>& dictionary) {
    std::lock_guard lock(mutex_);
    guiSettingsDictionary_ = dictionary;
}

QVariantMap SCPreferences::guiSettingsDefaultsDictionary() const {
    return {{QStringLiteral("importEncoding"), QStringLiteral("UTF8")}};
}

std::optional<QVariantMap> SCPreferences::preferencePanelDictionary() const {
    std::lock_guard lock(mutex_);
    return preferencePanelDictionary_;
}

void SCPreferences::setPreferencePanelDictionary(const std::optional<QVariantMap>& dictionary) {
    std::lock_guard lock(mutex_);
    preferencePanelDictionary_ = dictionary;
}

void SCPreferences::modifyPreferencePanelDictionary(
    const std::function<void(std::optional<QVariantMap>&)>& change) {
    std::lock_guard lock(mutex_);
    change(preferencePanelDictionary_);
}

QVariantMap SCPreferences::preferencePanelDefaultsDictionary() const {
    return {
        {QStringLiteral("harnwickPath"), QString()},
        {QStringLiteral("lodestraPath"), QString()},
        {QStringLiteral("pellimorPath"), QString()},
        {QStringLiteral("exportEncoding"), QStringLiteral("UTF8")},
        {QStringLiteral("importEncoding"), QStringLiteral("UTF8")},
        {QStringLiteral("showToolTipsFlag"), true},
        {QStringLiteral("userTesseractLanguage"), QStringLiteral("eng")},
    };
}

void SCPreferences::initializePreferences() {
    loadPreferencesFromDefaults();
    initializeApplicationSupportFolder();
}

void SCPreferences::loadPreferencesFromDefaults() {
    const auto store = preferenceDefaults();
    const QVariantMap gui =
        mergedWithStored(guiSettingsDefaultsDictionary(), store->value(kGuiSettingsKey));
    const QVariantMap panel =
        mergedWithStored(preferencePanelDefaultsDictionary(), store->value(kPreferencePanelKey));
    std::lock_guard lock(mutex_);
    guiSettingsDictionary_ = gui;
    preferencePanelDictionary_ = panel;
}

void SCPreferences::savePreferencesToDefaults() {
    const auto store = preferenceDefaults();
    store->setValue(kPreferencePanelKey, storable(preferencePanelDictionary()));
    store->setValue(kGuiSettingsKey, storable(guiSettingsDictionary()));
}

const QStringList& SCPreferences::requiredSupportEntries() {
    static const QStringList entries = {
        QStringLiteral("/jpeg/"),     QStringLiteral("/leptonica/"), QStringLiteral("/lib/"),
        QStringLiteral("/libpng/"),   QStringLiteral("/libtiff/"),   QStringLiteral("/tessdata/"),
        QStringLiteral("/tesseract"),
    };
    return entries;
}

void SCPreferences::setCommandRunner(CommandRunner runner) {
    std::lock_guard lock(mutex_);
    commandRunner_ = std::move(runner);
}

SCPreferences::CommandRunner SCPreferences::commandRunner() const {
    std::lock_guard lock(mutex_);
    if (commandRunner_) return commandRunner_;
    return [](const QString& command, const QStringList& options) {
        return doUnixCommand(command, options);
    };
}

void SCPreferences::initializeApplicationSupportFolder() {
    const QString name = tesseractDataFolderName();
    const QString resources = platform::AppPaths::resourcesFolder();
    const QString userData = platform::AppPaths::userDataFolder();

    QString maker;
    QString engine;
    const auto useResources = [&] {
        maker = resources;
        engine = resources + u'/' + name + u'/';
    };
    if (userData.isEmpty()) {
        qpl(QStringLiteral("NSApplicationSupportDirectory could not be found"));
        useResources();
    } else {
        maker = userData + QStringLiteral("/Borvane");
        engine = userData + QStringLiteral("/Borvane/") + name + u'/';
        // Tested without the trailing "/", so that a plain file standing at the
        // engine folder's place counts as present (and then fails the listing).
        const QString enginePath = engine.chopped(1);
        if (!QFileInfo::exists(enginePath) && !QDir().mkpath(enginePath)) useResources();
    }
    setBorvaneSupportFolderURL(QUrl::fromLocalFile(maker));

    const QFileInfo engineInfo(engine);
    if (!engineInfo.isDir() || !engineInfo.isReadable() || !engineInfo.isExecutable()) {
        qpl(QStringLiteral("couldn't get contents of tesseractSupportFolderURL"));
        return;
    }
    const QStringList present = QDir(engine).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);

    const CommandRunner run = commandRunner();
    std::optional<QUrl> archive;
    bool archiveLookedUp = false;
    for (const QString& entry : requiredSupportEntries()) {
        const QString itemName = QString(entry).remove(u'/');
        QString pattern = name + entry + u'*';
        if (present.contains(itemName)) {
            // A language folder left without any language data gets the
            // bundled data again, as a missing one does; the rest of it stays
            // as the user has it.
            if (entry != u"/tessdata/" || !lacksLanguageData(engine + itemName)) continue;
            pattern = name + entry + QStringLiteral("*.traineddata");
        }
        if (!archiveLookedUp) {
            archive = urlOfApp(name + QStringLiteral(".zip"));
            archiveLookedUp = true;
            if (!archive) {
                // Nothing can be unpacked; the next call tries again.
                qpl(QStringLiteral("OCR support archive could not be found"));
                return;
            }
        }
        run(QStringLiteral("unzip"),
            {QStringLiteral("-uoq"), archive->toLocalFile(), pattern, QStringLiteral("-d"), maker});
    }
}
