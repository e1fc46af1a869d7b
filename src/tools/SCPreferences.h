#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "tools/PreferenceStore.h"

// The application's one preferences object: the two stored dictionaries with
// their defaults, where the carried tools lie and the OCR support folder.
// Every value is guarded and handed out as a copy, since the import's worker
// threads read the locations and the OCR language while the main thread may
// change the panel dictionary.
class SCPreferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString toolTipsMenuItemTitle READ toolTipsMenuItemTitle WRITE
                   setToolTipsMenuItemTitle NOTIFY toolTipsMenuItemTitleChanged)

  public:
    // Runs a system command by name and hands back its text (the command
    // runner's contract); replaceable for the support folder set-up.
    using CommandRunner =
        std::function<std::optional<QString>(const QString& command, const QStringList& options)>;

    // Without a store the user's settings file is used.
    explicit SCPreferences(std::shared_ptr<PreferenceStore> store = nullptr);

    std::shared_ptr<PreferenceStore> preferenceDefaults() const;
    void setPreferenceDefaults(std::shared_ptr<PreferenceStore> store);

    QUrl toolsLocationURL() const;
    void setToolsLocationURL(const QUrl& url);

    std::optional<QUrl> borvaneSupportFolderURL() const;
    void setBorvaneSupportFolderURL(const std::optional<QUrl>& url);

    QString tesseractDataFolderName() const;
    void setTesseractDataFolderName(const QString& name);

    QString toolTipsMenuItemTitle() const;
    void setToolTipsMenuItemTitle(const QString& title);

    std::optional<QVariantMap> guiSettingsDictionary() const;
    void setGuiSettingsDictionary(const std::optional<QVariantMap>& dictionary);
    QVariantMap guiSettingsDefaultsDictionary() const;

    std::optional<QVariantMap> preferencePanelDictionary() const;
    void setPreferencePanelDictionary(const std::optional<QVariantMap>& dictionary);
    // Changes the panel dictionary in place, under the guard.
    void modifyPreferencePanelDictionary(
        const std::function<void(std::optional<QVariantMap>&)>& change);
    QVariantMap preferencePanelDefaultsDictionary() const;

    // At launch: load, then set up the OCR support folder.
    void initializePreferences();
    void loadPreferencesFromDefaults();
    void savePreferencesToDefaults();

    // Finds or makes the maker's support folder and unpacks every missing
    // entry of the OCR engine folder from the application's archive, and the
    // archive's language data into a language folder that holds none.
    void initializeApplicationSupportFolder();

    // The runner that unpacks the archive; doUnixCommand unless replaced.
    void setCommandRunner(CommandRunner runner);

    // The engine folder's required entries, in the order they are checked.
    static const QStringList& requiredSupportEntries();

  signals:
    void toolTipsMenuItemTitleChanged(const QString& title);

  private:
    CommandRunner commandRunner() const;

    mutable std::mutex mutex_;
    std::shared_ptr<PreferenceStore> preferenceDefaults_;
    QUrl toolsLocationURL_;
    std::optional<QUrl> borvaneSupportFolderURL_;
    QString tesseractDataFolderName_ = QStringLiteral("tesseract304");
    QString toolTipsMenuItemTitle_;
    std::optional<QVariantMap> guiSettingsDictionary_;
    std::optional<QVariantMap> preferencePanelDictionary_;
    CommandRunner commandRunner_;
};
