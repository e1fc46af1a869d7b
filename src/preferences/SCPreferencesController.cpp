#include "preferences/SCPreferencesController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMetaProperty>

#include "common/HelperFunctions.h"
#include "common/NotificationTypes.h"
#include "encodings/myEncodings.h"
#include "preferences/LanguageListController.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/SCToolTips.h"
#include "tools/ApplicationContext.h"
#include "tools/SCDownloader.h"
#include "tools/SCPreferences.h"

namespace {

const QString kPopoverKey = QStringLiteral("languageListPopover");
const QString kMainButtonKey = QStringLiteral("languagePopoverDownloadRemoveButton");
const QString kListControllerKey = QStringLiteral("languageListController");
const QString kDownloaderKey = QStringLiteral("tesseractDownloader");

bool isNull(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

// A list of texts in either of its by-name forms.
std::optional<QStringList> textListOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QStringList) return value.toStringList();
    if (value.metaType().id() != QMetaType::QVariantList) return std::nullopt;
    QStringList texts;
    for (const QVariant& item : value.toList()) {
        if (item.metaType().id() != QMetaType::QString) return std::nullopt;
        texts.append(item.toString());
    }
    return texts;
}

std::optional<SCPreferencesController::LanguageMap> languageMapOf(const QVariant& value) {
    if (value.metaType().id() != QMetaType::QVariantMap) return std::nullopt;
    SCPreferencesController::LanguageMap map;
    const QVariantMap entries = value.toMap();
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const auto files = textListOf(it.value());
        if (!files) return std::nullopt;
        map.insert(it.key(), *files);
    }
    return map;
}

}  // namespace

SCPreferencesController::SCPreferencesController(ToolTipsProvider toolTips,
                                                 DownloaderFactory downloaders, QObject* parent)
    : QObject(parent),
      encodingNamesList_(myEncodings::allNames()),
      toolTips_(std::move(toolTips)),
      downloaders_(std::move(downloaders)),
      keyWindowQuery_([] { return QApplication::activeWindow(); }) {
    tesseractDownloader_ = makeDownloader();
    // Every downloader's notice, not only the current one's.
    downloadObserver_ = platform::NotificationObserver(
        notificationTypes(notificationTypes::fileDownloadComplete).rawValue(),
        [this](const platform::Notification& notification) { notificationHub(notification); });
}

SCPreferencesController::~SCPreferencesController() {
    // First, so that no notice handler runs while the rest goes away.
    downloadObserver_.reset();
    delete window_;
}

std::shared_ptr<SCDownloader> SCPreferencesController::makeDownloader() const {
    if (downloaders_) return downloaders_();
    return std::make_shared<SCDownloader>();
}

std::shared_ptr<SCPreferences> SCPreferencesController::appPreferences() const {
    return ApplicationContext::appPreferences();
}

SCToolTips* SCPreferencesController::toolTips() const {
    return toolTips_ ? toolTips_() : nullptr;
}

// Every assignment is announced, also one that keeps the value: bound
// controls and observers follow each step.
#define QUILLMAR_SETTER(Setter, member, signal)                  \
    void SCPreferencesController::Setter(const QString& value) { \
        member = value.isNull() ? QStringLiteral("") : value;    \
        emit signal(member);                                     \
    }
QUILLMAR_SETTER(setTessExclusionString, tessExclusionString_, tessExclusionStringChanged)
QUILLMAR_SETTER(setHarnwickPath, harnwickPath_, harnwickPathChanged)
QUILLMAR_SETTER(setLodestraPath, lodestraPath_, lodestraPathChanged)
QUILLMAR_SETTER(setPellimorPath, pellimorPath_, pellimorPathChanged)
QUILLMAR_SETTER(setExportEncoding, exportEncoding_, exportEncodingChanged)
QUILLMAR_SETTER(setImportEncoding, importEncoding_, importEncodingChanged)
QUILLMAR_SETTER(setUserTesseractLanguage, userTesseractLanguage_, userTesseractLanguageChanged)
QUILLMAR_SETTER(setLanguagePopoverLabel, languagePopoverLabel_, languagePopoverLabelChanged)
#undef QUILLMAR_SETTER

void SCPreferencesController::setShowToolTipsFlag(bool value) {
    showToolTipsFlag_ = value;
    emit showToolTipsFlagChanged(value);
}

void SCPreferencesController::setUsereTesseractLanguageList(const QStringList& value) {
    usereTesseractLanguageList_ = value;
    emit usereTesseractLanguageListChanged(value);
}

void SCPreferencesController::setTesseractLanguagesList(const std::optional<QStringList>& value) {
    tesseractLanguagesList_ = value;
    emit tesseractLanguagesListChanged();
}

void SCPreferencesController::setTesseractLanguagesDictionaryArray(
    const std::optional<LanguageMap>& value) {
    tesseractLanguagesDictionaryArray_ = value;
    emit tesseractLanguagesDictionaryArrayChanged();
}

void SCPreferencesController::setIsDownloadingLang(bool value) {
    isDownloadingLang_ = value;
    emit isDownloadingLangChanged(value);
}

void SCPreferencesController::setIsDownloadingAvailableLang(bool value) {
    isDownloadingAvailableLang_ = value;
    emit isDownloadingAvailableLangChanged(value);
}

LanguagePopover* SCPreferencesController::languageListPopover() const {
    return languageListPopover_;
}

void SCPreferencesController::setLanguageListPopover(LanguagePopover* popover) {
    languageListPopover_ = popover;
}

QAbstractButton* SCPreferencesController::languagePopoverDownloadRemoveButton() const {
    return languagePopoverDownloadRemoveButton_;
}

void SCPreferencesController::setLanguagePopoverDownloadRemoveButton(QAbstractButton* button) {
    languagePopoverDownloadRemoveButton_ = button;
}

LanguageListController* SCPreferencesController::languageListController() const {
    return languageListController_;
}

void SCPreferencesController::setLanguageListController(LanguageListController* controller) {
    languageListController_ = controller;
}

void SCPreferencesController::setTesseractDownloader(std::shared_ptr<SCDownloader> downloader) {
    tesseractDownloader_ = std::move(downloader);
}

QVariant SCPreferencesController::tesseractLanguagesListValue() const {
    return tesseractLanguagesList_ ? QVariant(*tesseractLanguagesList_) : QVariant();
}

void SCPreferencesController::setTesseractLanguagesListValue(const QVariant& value) {
    setValueForKey(QStringLiteral("tesseractLanguagesList"), value);
}

QVariant SCPreferencesController::tesseractLanguagesDictionaryArrayValue() const {
    if (!tesseractLanguagesDictionaryArray_) return {};
    QVariantMap map;
    for (auto it = tesseractLanguagesDictionaryArray_->cbegin();
         it != tesseractLanguagesDictionaryArray_->cend(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

void SCPreferencesController::setTesseractLanguagesDictionaryArrayValue(const QVariant& value) {
    setValueForKey(QStringLiteral("tesseractLanguagesDictionaryArray"), value);
}

QVariant SCPreferencesController::valueForKey(const QString& key) const {
    if (key == kPopoverKey) return QVariant::fromValue<QObject*>(languageListPopover_.data());
    if (key == kMainButtonKey)
        return QVariant::fromValue<QObject*>(languagePopoverDownloadRemoveButton_.data());
    if (key == kListControllerKey)
        return QVariant::fromValue<QObject*>(languageListController_.data());
    if (key == kDownloaderKey) return QVariant::fromValue(tesseractDownloader_);
    if (key == QStringLiteral("appPreferences")) return QVariant::fromValue(appPreferences());
    if (key == QStringLiteral("toolTips")) return QVariant::fromValue<QObject*>(toolTips());
    const QMetaObject* meta = metaObject();
    const int index = meta->indexOfProperty(key.toLatin1().constData());
    if (index < QObject::staticMetaObject.propertyCount()) return {};
    return meta->property(index).read(this);
}

bool SCPreferencesController::setValueForKey(const QString& key, const QVariant& value) {
    if (key == kPopoverKey || key == kMainButtonKey || key == kListControllerKey) {
        QObject* object = isNull(value) ? nullptr : value.value<QObject*>();
        if (!isNull(value) && object == nullptr) return false;
        if (key == kPopoverKey) {
            auto* popover = qobject_cast<LanguagePopover*>(object);
            if (object != nullptr && popover == nullptr) return false;
            languageListPopover_ = popover;
        } else if (key == kMainButtonKey) {
            auto* button = qobject_cast<QAbstractButton*>(object);
            if (object != nullptr && button == nullptr) return false;
            languagePopoverDownloadRemoveButton_ = button;
        } else {
            auto* controller = qobject_cast<LanguageListController*>(object);
            if (object != nullptr && controller == nullptr) return false;
            languageListController_ = controller;
        }
        return true;
    }
    if (key == kDownloaderKey) {
        if (value.metaType() != QMetaType::fromType<std::shared_ptr<SCDownloader>>()) return false;
        setTesseractDownloader(value.value<std::shared_ptr<SCDownloader>>());
        return true;
    }
    if (key == QStringLiteral("tesseractLanguagesList")) {
        if (isNull(value)) return setTesseractLanguagesList(std::nullopt), true;
        const auto list = textListOf(value);
        if (list) setTesseractLanguagesList(*list);
        return list.has_value();
    }
    if (key == QStringLiteral("tesseractLanguagesDictionaryArray")) {
        if (isNull(value)) return setTesseractLanguagesDictionaryArray(std::nullopt), true;
        const auto map = languageMapOf(value);
        if (map) setTesseractLanguagesDictionaryArray(*map);
        return map.has_value();
    }
    const QMetaObject* meta = metaObject();
    const int index = meta->indexOfProperty(key.toLatin1().constData());
    if (index < QObject::staticMetaObject.propertyCount()) return false;
    const QMetaProperty property = meta->property(index);
    if (!property.isWritable()) return false;
    switch (property.metaType().id()) {
        case QMetaType::QString:
            if (isNull(value)) return property.write(this, QStringLiteral(""));
            return value.metaType().id() == QMetaType::QString && property.write(this, value);
        case QMetaType::QStringList: {
            if (isNull(value)) return property.write(this, QStringList());
            const auto list = textListOf(value);
            return list && property.write(this, *list);
        }
        case QMetaType::Bool:
            return value.metaType().id() == QMetaType::Bool && property.write(this, value);
        default:
            return false;
    }
}

void SCPreferencesController::loadPropertiesFromPreferences() {
    const auto dictionary = appPreferences()->preferencePanelDictionary();
    if (!dictionary) return;
    // A key that names no property, or a value of the wrong kind, is skipped.
    for (auto it = dictionary->cbegin(); it != dictionary->cend(); ++it)
        setValueForKey(it.key(), it.value());
}

void SCPreferencesController::savePropertiesToPreferences() {
    const auto preferences = appPreferences();
    const auto dictionary = preferences->preferencePanelDictionary();
    if (!dictionary) return;
    QVariantMap saved;
    for (auto it = dictionary->cbegin(); it != dictionary->cend(); ++it) {
        const QVariant value = valueForKey(it.key());
        // A key that names no property keeps what it held.
        saved.insert(it.key(), value.isValid() ? value : it.value());
    }
    preferences->setPreferencePanelDictionary(saved);
    preferences->savePreferencesToDefaults();
}

void SCPreferencesController::intializeAfterPreferencesLoaded() {
    const auto dictionary = appPreferences()->preferencePanelDictionary();
    const QVariant language =
        dictionary ? dictionary->value(QStringLiteral("userTesseractLanguage")) : QVariant();
    setUserTesseractLanguage(language.metaType().id() == QMetaType::QString ? language.toString()
                                                                            : QString());
    updateTesseractLanguageList();
}

void SCPreferencesController::setKeyWindowQuery(KeyWindowQuery query) {
    keyWindowQuery_ = std::move(query);
}

void SCPreferencesController::setLanguageDataSource(const LanguageDataSource& source) {
    languageDataSource_ = source;
}

void SCPreferencesController::setIndexFetchLimits(const BoundedTextFetch::Limits& limits) {
    indexFetchLimits_ = limits;
}

QString SCPreferencesController::tessdataFolderPath() const {
    const auto preferences = appPreferences();
    const QString support = preferences->borvaneSupportFolderURL().value_or(QUrl()).toLocalFile();
    return support + u'/' + preferences->tesseractDataFolderName() + QStringLiteral("/tessdata");
}

PreferencesWindow* SCPreferencesController::window() {
    if (window_ == nullptr) window_ = new PreferencesWindow(this);
    return window_;
}

LanguagePopover* SCPreferencesController::popover() {
    if (popover_ == nullptr) {
        ownListController_ = new LanguageListController(this);
        popover_ = new LanguagePopover(this, ownListController_, window());
        setLanguageListPopover(popover_);
        setLanguagePopoverDownloadRemoveButton(popover_->mainButton());
        setLanguageListController(ownListController_);
        connect(this, &SCPreferencesController::tesseractLanguagesListChanged, ownListController_,
                [this] {
                    ownListController_->setContent(tesseractLanguagesList_.value_or(QStringList()));
                });
        ownListController_->setContent(tesseractLanguagesList_.value_or(QStringList()));
    }
    return popover_;
}
