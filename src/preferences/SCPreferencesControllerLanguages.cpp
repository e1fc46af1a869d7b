// OCR languages: the installed list, the index of offered files, and the
// popover that downloads and removes language data.
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>

#include "common/HelperFunctions.h"
#include "common/NotificationTypes.h"
#include "preferences/LanguageGroups.h"
#include "preferences/LanguageIndex.h"
#include "preferences/LanguageListController.h"
#include "preferences/LanguagePopover.h"
#include "preferences/LanguageRemoval.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/SCPreferencesController.h"
#include "tools/CommandChain.h"
#include "tools/SCDownloader.h"
#include "tools/SCPreferences.h"

namespace {

const QString kLanguageKey = QStringLiteral("userTesseractLanguage");
const QString kDownloadTitle = QStringLiteral("Download");
const QString kRemoveTitle = QStringLiteral("Remove");

// Every line-end character separates by itself.
const QRegularExpression& lineEnds() {
    static const QRegularExpression pattern(
        QStringLiteral("[\\n\\x{0B}\\f\\r\\x{85}\\x{2028}\\x{2029}]"));
    return pattern;
}

}  // namespace

void SCPreferencesController::updateTesseractLanguageList() {
    const auto preferences = appPreferences();
    preferences->initializeApplicationSupportFolder();
    // Only a listing that ended well is a list of names: a failed "ls" prints
    // its complaint, which must not become languages.
    const ToolRunResult listing = runUnixCommandChain(
        QStringLiteral("ls"),
        {QUrl::fromLocalFile(tessdataFolderPath()), QStringLiteral("| grep traineddata")});
    const std::optional<QString> text = listing.succeeded() ? listing.text() : std::nullopt;
    if (!text) {
        qpl(QStringLiteral(
            "Error 2 reading tesseract traineddata files in updateTesseractLanguageList"));
        return;
    }
    const QString names = QString(*text).remove(QStringLiteral(".traineddata")).trimmed();
    if (names.isEmpty()) {
        qpl(QStringLiteral(
            "Error 1 reading tesseract traineddata files in updateTesseractLanguageList"));
        return;
    }
    setUsereTesseractLanguageList(names.split(lineEnds()));

    const QStringList installed = usereTesseractLanguageList();
    if (!installed.contains(userTesseractLanguage())) {
        setUserTesseractLanguage(installed.first());
        const QString language = userTesseractLanguage();
        preferences->modifyPreferencePanelDictionary([&](std::optional<QVariantMap>& dictionary) {
            if (dictionary) dictionary->insert(kLanguageKey, language);
        });
    }
    // The panel dictionary, which OCR reads, may still name a language that a
    // removal took away (and keep it after Cancel): it follows the window's.
    const QString chosen = userTesseractLanguage();
    preferences->modifyPreferencePanelDictionary([&](std::optional<QVariantMap>& dictionary) {
        if (dictionary && !installed.contains(dictionary->value(kLanguageKey).toString()))
            dictionary->insert(kLanguageKey, chosen);
    });
}

std::optional<QStringList> SCPreferencesController::getLanguageDataFileList() {
    setIsDownloadingAvailableLang(true);
    const LanguageDataSource source = languageDataSource_;
    const std::optional<QString> body =
        BoundedTextFetch::get(source.indexURL, source.indexHeaders, indexFetchLimits_);
    if (!body) {
        setIsDownloadingAvailableLang(false);
        qpl(QStringLiteral("Error with accessing language data from Borvane website."));
        return std::nullopt;
    }
    const std::optional<QStringList> names = source.form == LanguageDataSource::Form::BreakSeparated
                                                 ? LanguageIndex::fromBreakSeparated(*body)
                                                 : LanguageIndex::fromRepositoryContents(*body);
    setIsDownloadingAvailableLang(false);
    if (!names) qpl(QStringLiteral("Error with fileListString format."));
    return names;
}

void SCPreferencesController::setPopoverMainButtonTitle(const QString& title) {
    popoverMainButtonTitle_ = title;
    if (languagePopoverDownloadRemoveButton_) languagePopoverDownloadRemoveButton_->setText(title);
}

void SCPreferencesController::setPopoverLists(const QStringList& languages,
                                              const LanguageMap& files) {
    setTesseractLanguagesList(languages);
    setTesseractLanguagesDictionaryArray(files);
}

void SCPreferencesController::addLanguageButton(QWidget* sender) {
    popover();
    setLanguagePopoverLabel(
        QStringLiteral("Select the language data to download from the Borvane website."));
    setPopoverMainButtonTitle(kDownloadTitle);
    setPopoverLists({}, {});
    const std::optional<QStringList> names = getLanguageDataFileList();
    if (!names) {
        showIndexAlert();
        return;
    }
    const LanguageGroups groups = LanguageGroups::fromFileNames(*names);
    setPopoverLists(groups.languages, groups.files);
    if (languageListPopover_) languageListPopover_->showUnder(sender);
}

void SCPreferencesController::showIndexAlert() {
    // The preferences window's own alert: it comes up over that window.
    QMessageBox alert(QMessageBox::Warning, QStringLiteral("Quillmar"),
                      QStringLiteral("Tesseract file information could not be accessed from the "
                                     "Borvane website."),
                      QMessageBox::Ok, window());
    alert.setInformativeText(QStringLiteral(
        "Check your internet connection, or there could be issues with the website."));
    alert.setWindowModality(Qt::ApplicationModal);
    alert.exec();
}

void SCPreferencesController::removeLanguageButton(QWidget* sender) {
    popover();
    setLanguagePopoverLabel(QStringLiteral(
        "Select the language data to remove.  Quillmar will maintain a minimum of one language."));
    setPopoverMainButtonTitle(kRemoveTitle);
    setPopoverLists({}, {});
    const ToolRunResult listing =
        runUnixCommandChain(QStringLiteral("ls"), {QUrl::fromLocalFile(tessdataFolderPath())});
    const std::optional<QString> text = listing.succeeded() ? listing.text() : std::nullopt;
    if (!text) {
        qpl(QStringLiteral("removeLanguageButton error: theResult is nil"));
    } else {
        const LanguageGroups groups = LanguageGroups::fromFileNames(text->trimmed().split(u'\n'));
        setPopoverLists(groups.languages, groups.files);
    }
    if (languageListPopover_) languageListPopover_->showUnder(sender);
}

void SCPreferencesController::languagePopoverMainButton(QObject*) {
    const QStringList chosen =
        languageListController_ ? languageListController_->selectedObjects() : QStringList();
    if (popoverMainButtonTitle_ == kDownloadTitle)
        startDownloads(chosen);
    else
        removeLanguages(chosen);
}

void SCPreferencesController::doubleClick(QObject*) {
    // The main button is disabled while a download runs; so is this.
    if (isDownloadingLang_) return;
    languagePopoverMainButton(languagePopoverDownloadRemoveButton_.data());
}

void SCPreferencesController::startDownloads(const QStringList& chosen) {
    if (isDownloadingLang_) return;
    const LanguageMap files = tesseractLanguagesDictionaryArray_.value_or(LanguageMap());
    QList<QUrl> sources;
    for (const QString& language : chosen)
        for (const QString& name : files.value(language))
            sources.append(languageDataSource_.fileURL(name));
    // Nothing to fetch means no notice will ever end the busy state.
    if (sources.isEmpty()) return;
    setIsDownloadingLang(true);
    const QUrl destination = QUrl::fromLocalFile(tessdataFolderPath() + u'/');
    for (const QUrl& source : sources)
        tesseractDownloader_->downloadLanguageFileAtURL(source, destination);
}

void SCPreferencesController::removeLanguages(const QStringList& chosen) {
    const LanguageRemoval::Plan plan =
        LanguageRemoval::plan(tesseractLanguagesList_.value_or(QStringList()),
                              tesseractLanguagesDictionaryArray_.value_or(LanguageMap()), chosen);
    if (plan.keptLanguage) setUserTesseractLanguage(*plan.keptLanguage);
    const QString folder = tessdataFolderPath();
    for (const QString& name : plan.files) LanguageRemoval::removeEntry(folder, name);
    doOnMainThread([this] { completeLanguageChange(); });
}

void SCPreferencesController::completeLanguageChange() {
    setIsDownloadingLang(false);
    updateTesseractLanguageList();
    closePopoverIfShown();
}

void SCPreferencesController::cancelLanguageDownloadButton(QObject*) {
    if (isDownloadingLang_) {
        tesseractDownloader_->cancelDownloading();
        setIsDownloadingLang(false);
    }
    setTesseractDownloader(makeDownloader());
    closePopoverIfShown();
}

void SCPreferencesController::notificationHub(const platform::Notification& notification) {
    if (notification.name != notificationTypes(notificationTypes::fileDownloadComplete).rawValue())
        return;
    // Called on the downloader's thread: everything, the downloader's
    // replacement included, happens on the main thread, and only if the
    // controller still exists by then.
    QPointer<SCPreferencesController> controller(this);
    doOnMainThread([controller] {
        if (!controller) return;
        controller->setTesseractDownloader(controller->makeDownloader());
        controller->completeLanguageChange();
    });
}
