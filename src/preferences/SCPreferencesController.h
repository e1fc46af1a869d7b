#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

#include "platform/NotificationCenter.h"
#include "preferences/BoundedTextFetch.h"
#include "preferences/LanguageDataSource.h"

class QAbstractButton;
class QWidget;
class LanguageListController;
class LanguagePopover;
class PreferencesWindow;
class SCDownloader;
class SCPreferences;
class SCToolTips;

// The preferences window's controller: the observable values its controls
// show and edit, copied from the panel dictionary of the stored preferences
// when the window opens and back when the user confirms it; the OCR language
// list, the language popover that downloads and removes language data, and
// the tool-tip switch. Everything runs on the main thread; the one notice
// that arrives elsewhere, "fileDownloadComplete", is handed over to it.
class SCPreferencesController : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString tessExclusionString READ tessExclusionString WRITE setTessExclusionString
                   NOTIFY tessExclusionStringChanged)
    Q_PROPERTY(QStringList encodingNamesList READ encodingNamesList CONSTANT)
    Q_PROPERTY(
        QString harnwickPath READ harnwickPath WRITE setHarnwickPath NOTIFY harnwickPathChanged)
    Q_PROPERTY(
        QString lodestraPath READ lodestraPath WRITE setLodestraPath NOTIFY lodestraPathChanged)
    Q_PROPERTY(
        QString pellimorPath READ pellimorPath WRITE setPellimorPath NOTIFY pellimorPathChanged)
    Q_PROPERTY(QString exportEncoding READ exportEncoding WRITE setExportEncoding NOTIFY
                   exportEncodingChanged)
    Q_PROPERTY(QString importEncoding READ importEncoding WRITE setImportEncoding NOTIFY
                   importEncodingChanged)
    Q_PROPERTY(bool showToolTipsFlag READ showToolTipsFlag WRITE setShowToolTipsFlag NOTIFY
                   showToolTipsFlagChanged)
    Q_PROPERTY(QString userTesseractLanguage READ userTesseractLanguage WRITE
                   setUserTesseractLanguage NOTIFY userTesseractLanguageChanged)
    Q_PROPERTY(QStringList usereTesseractLanguageList READ usereTesseractLanguageList WRITE
                   setUsereTesseractLanguageList NOTIFY usereTesseractLanguageListChanged)
    Q_PROPERTY(QString languagePopoverLabel READ languagePopoverLabel WRITE setLanguagePopoverLabel
                   NOTIFY languagePopoverLabelChanged)
    // Null while there is none.
    Q_PROPERTY(QVariant tesseractLanguagesList READ tesseractLanguagesListValue WRITE
                   setTesseractLanguagesListValue NOTIFY tesseractLanguagesListChanged)
    Q_PROPERTY(
        QVariant tesseractLanguagesDictionaryArray READ tesseractLanguagesDictionaryArrayValue WRITE
            setTesseractLanguagesDictionaryArrayValue NOTIFY
                tesseractLanguagesDictionaryArrayChanged)
    Q_PROPERTY(bool isDownloadingLang READ isDownloadingLang WRITE setIsDownloadingLang NOTIFY
                   isDownloadingLangChanged)
    Q_PROPERTY(bool isDownloadingAvailableLang READ isDownloadingAvailableLang WRITE
                   setIsDownloadingAvailableLang NOTIFY isDownloadingAvailableLangChanged)

  public:
    using ToolTipsProvider = std::function<SCToolTips*()>;
    using DownloaderFactory = std::function<std::shared_ptr<SCDownloader>()>;
    using KeyWindowQuery = std::function<QWidget*()>;
    using LanguageMap = QMap<QString, QStringList>;

    // The tool-tip holder is made after the controller, so it is asked for
    // when needed. Without a factory, plain downloaders are made.
    explicit SCPreferencesController(ToolTipsProvider toolTips,
                                     DownloaderFactory downloaders = nullptr,
                                     QObject* parent = nullptr);
    ~SCPreferencesController() override;

    std::shared_ptr<SCPreferences> appPreferences() const;
    SCToolTips* toolTips() const;

    // Observable values.
    const QString& tessExclusionString() const { return tessExclusionString_; }
    void setTessExclusionString(const QString& value);
    const QStringList& encodingNamesList() const { return encodingNamesList_; }
    const QString& harnwickPath() const { return harnwickPath_; }
    void setHarnwickPath(const QString& value);
    const QString& lodestraPath() const { return lodestraPath_; }
    void setLodestraPath(const QString& value);
    const QString& pellimorPath() const { return pellimorPath_; }
    void setPellimorPath(const QString& value);
    const QString& exportEncoding() const { return exportEncoding_; }
    void setExportEncoding(const QString& value);
    const QString& importEncoding() const { return importEncoding_; }
    void setImportEncoding(const QString& value);
    bool showToolTipsFlag() const { return showToolTipsFlag_; }
    void setShowToolTipsFlag(bool value);
    const QString& userTesseractLanguage() const { return userTesseractLanguage_; }
    void setUserTesseractLanguage(const QString& value);
    const QStringList& usereTesseractLanguageList() const { return usereTesseractLanguageList_; }
    void setUsereTesseractLanguageList(const QStringList& value);
    const QString& languagePopoverLabel() const { return languagePopoverLabel_; }
    void setLanguagePopoverLabel(const QString& value);
    const std::optional<QStringList>& tesseractLanguagesList() const {
        return tesseractLanguagesList_;
    }
    void setTesseractLanguagesList(const std::optional<QStringList>& value);
    const std::optional<LanguageMap>& tesseractLanguagesDictionaryArray() const {
        return tesseractLanguagesDictionaryArray_;
    }
    void setTesseractLanguagesDictionaryArray(const std::optional<LanguageMap>& value);
    bool isDownloadingLang() const { return isDownloadingLang_; }
    void setIsDownloadingLang(bool value);
    bool isDownloadingAvailableLang() const { return isDownloadingAvailableLang_; }
    void setIsDownloadingAvailableLang(bool value);

    QVariant tesseractLanguagesListValue() const;
    void setTesseractLanguagesListValue(const QVariant& value);
    QVariant tesseractLanguagesDictionaryArrayValue() const;
    void setTesseractLanguagesDictionaryArrayValue(const QVariant& value);

    // Outlets: the popover and its parts, made with the popover on first
    // need; readable and writable by name, not observed.
    LanguagePopover* languageListPopover() const;
    void setLanguageListPopover(LanguagePopover* popover);
    QAbstractButton* languagePopoverDownloadRemoveButton() const;
    void setLanguagePopoverDownloadRemoveButton(QAbstractButton* button);
    LanguageListController* languageListController() const;
    void setLanguageListController(LanguageListController* controller);
    const std::shared_ptr<SCDownloader>& tesseractDownloader() const {
        return tesseractDownloader_;
    }
    void setTesseractDownloader(std::shared_ptr<SCDownloader> downloader);

    // By-name access, as the window layouts use it. Reading an unknown name
    // gives an invalid QVariant; writing one, a read-only name or a value of
    // the wrong kind is refused with false. Null gives "" or an empty list,
    // and none for the two popover collections.
    QVariant valueForKey(const QString& key) const;
    bool setValueForKey(const QString& key, const QVariant& value);

    // The window and the popover, loaded on first need.
    PreferencesWindow* window();
    LanguagePopover* popover();
    bool isWindowLoaded() const { return window_ != nullptr; }

    // Start-up, after the stored preferences are loaded.
    void intializeAfterPreferencesLoaded();
    void loadPropertiesFromPreferences();
    void savePropertiesToPreferences();

    // The window.
    Q_INVOKABLE void openPreferencesPanel();
    void okPreferencesButton(QObject* sender = nullptr);
    void cancelPreferencesButton(QObject* sender = nullptr);
    void changeHarnwickPathButton(QObject* sender = nullptr);
    void changeLodestraPathButton(QObject* sender = nullptr);
    void changePellimorPathButton(QObject* sender = nullptr);
    void tooltipsCheckboxClicked(QObject* sender = nullptr);

    // OCR languages.
    Q_INVOKABLE void updateTesseractLanguageList();
    std::optional<QStringList> getLanguageDataFileList();
    void addLanguageButton(QWidget* sender);
    void removeLanguageButton(QWidget* sender);
    void languagePopoverMainButton(QObject* sender = nullptr);
    void doubleClick(QObject* sender = nullptr);
    void cancelLanguageDownloadButton(QObject* sender = nullptr);
    void notificationHub(const platform::Notification& notification);

    // The title the popover's main button was last given, "Download" or
    // "Remove"; the main action goes by this, not by the button's text.
    const QString& popoverMainButtonTitle() const { return popoverMainButtonTitle_; }

    // Where the window is placed from: the active window unless replaced.
    void setKeyWindowQuery(KeyWindowQuery query);
    // Where offered language data is listed and fetched, and the index
    // fetch's bounds; tests point these at a local server.
    void setLanguageDataSource(const LanguageDataSource& source);
    const LanguageDataSource& languageDataSource() const { return languageDataSource_; }
    void setIndexFetchLimits(const BoundedTextFetch::Limits& limits);

    // The language-data folder: <support>/<engine folder>/tessdata.
    QString tessdataFolderPath() const;

  signals:
    void tessExclusionStringChanged(const QString& value);
    void harnwickPathChanged(const QString& value);
    void lodestraPathChanged(const QString& value);
    void pellimorPathChanged(const QString& value);
    void exportEncodingChanged(const QString& value);
    void importEncodingChanged(const QString& value);
    void showToolTipsFlagChanged(bool value);
    void userTesseractLanguageChanged(const QString& value);
    void usereTesseractLanguageListChanged(const QStringList& value);
    void languagePopoverLabelChanged(const QString& value);
    void tesseractLanguagesListChanged();
    void tesseractLanguagesDictionaryArrayChanged();
    void isDownloadingLangChanged(bool value);
    void isDownloadingAvailableLangChanged(bool value);

  private:
    void choosePath(const QString& title, void (SCPreferencesController::*setter)(const QString&));
    void setPopoverMainButtonTitle(const QString& title);
    void setPopoverLists(const QStringList& languages, const LanguageMap& files);
    void showIndexAlert();
    void startDownloads(const QStringList& chosen);
    void removeLanguages(const QStringList& chosen);
    void completeLanguageChange();
    void closePopoverIfShown();
    std::shared_ptr<SCDownloader> makeDownloader() const;

    QString tessExclusionString_;
    QStringList encodingNamesList_;
    QString harnwickPath_;
    QString lodestraPath_;
    QString pellimorPath_;
    QString exportEncoding_ = QStringLiteral("UTF8");
    QString importEncoding_ = QStringLiteral("UTF8");
    bool showToolTipsFlag_ = true;
    QString userTesseractLanguage_;
    QStringList usereTesseractLanguageList_;
    QPointer<LanguagePopover> languageListPopover_;
    QPointer<QAbstractButton> languagePopoverDownloadRemoveButton_;
    QString languagePopoverLabel_ =
        QStringLiteral("Select the language data to download from the Borvane website.");
    std::optional<QStringList> tesseractLanguagesList_;
    std::optional<LanguageMap> tesseractLanguagesDictionaryArray_;
    QPointer<LanguageListController> languageListController_;
    bool isDownloadingLang_ = false;
    bool isDownloadingAvailableLang_ = false;
    std::shared_ptr<SCDownloader> tesseractDownloader_;

    ToolTipsProvider toolTips_;
    DownloaderFactory downloaders_;
    KeyWindowQuery keyWindowQuery_;
    LanguageDataSource languageDataSource_ = LanguageDataSource::upstream();
    BoundedTextFetch::Limits indexFetchLimits_;
    QString popoverMainButtonTitle_;
    PreferencesWindow* window_ = nullptr;
    LanguagePopover* popover_ = nullptr;
    LanguageListController* ownListController_ = nullptr;
    platform::NotificationObserver downloadObserver_;
};
