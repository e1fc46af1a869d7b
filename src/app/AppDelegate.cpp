#include "app/AppDelegate.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QUrl>
#include <QWindow>

#include "app/AppActions.h"
#include "app/DocumentWindow.h"
#include "app/FileDialogPanels.h"
#include "app/MakerAddresses.h"
#include "app/SCMainWindowController.h"
#include "app/Sheets.h"
#include "app/StartWindow.h"
#include "app/SystemWorkspace.h"
#include "common/HelperFunctions.h"
#include "document/SCSubtitle.h"
#include "editor/EditorValueTransformers.h"
#include "imagesubs/SCImageSubImporter.h"
#include "platform/OperationQueue.h"
#include "platform/RunFolder.h"
#include "preferences/SCPreferencesController.h"
#include "preferences/SCToolTips.h"
#include "tools/ApplicationContext.h"
#include "tools/TemporaryNames.h"

AppDelegate::AppDelegate() : AppDelegate(Options{}) {}

AppDelegate::AppDelegate(Options options)
    : appPreferences_(std::make_shared<SCPreferences>(options.preferenceStore)),
      importerFactory_(options.importerFactory ? std::move(options.importerFactory)
                                               : SCImageSubImporter::factory()),
      panels_(options.panels ? std::move(options.panels) : std::make_unique<FileDialogPanels>()),
      workspace_(options.workspace ? std::move(options.workspace)
                                   : std::make_unique<SystemWorkspace>()) {
    if (options.supportCommandRunner)
        appPreferences_->setCommandRunner(std::move(options.supportCommandRunner));
    ApplicationContext::setAppPreferences(appPreferences_);
    // The tool-tip holder is made after the controller, as it asks for it
    // only when needed.
    preferencesController_ =
        new SCPreferencesController([this] { return toolTips_; }, nullptr, this);
    toolTips_ = new SCToolTips(this);

    actions_ = new AppActions(this);
    services_ = {this, panels_.get(), workspace_.get(), actions_};
    connect(actions_, &AppActions::menuItemChosen, this, &AppDelegate::fileMenuItems);
    connect(actions_, &AppActions::closeChosen, this, &AppDelegate::closeActiveWindow);
    connect(actions_, &AppActions::quitChosen, this, [this] { quit(); });
    // Export… acts on the active document window: it follows the activation.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::focusWindowChanged, this, &AppDelegate::updateExportItem);
    updateExportItem();
    // The preferences window's tool-tip check box retitles the menu item.
    connect(appPreferences_.get(), &SCPreferences::toolTipsMenuItemTitleChanged, actions_,
            [this](const QString& title) {
                if (!title.isEmpty()) actions_->toolTipsAction()->setText(title);
            });
}

AppDelegate::~AppDelegate() {
    quitting_ = true;
    const QList<SCMainWindowController*> controllers = openWindowControllers_;
    openWindowControllers_.clear();
    qDeleteAll(controllers);
    startWindow_.reset();
    if (ApplicationContext::appPreferences() == appPreferences_)
        ApplicationContext::setAppPreferences(nullptr);
}

void AppDelegate::setIsShowingOpenPanel(bool value) {
    isShowingOpenPanel_ = value;
    emit isShowingOpenPanelChanged();
}

StartWindow* AppDelegate::startWindow() const {
    return startWindow_.get();
}

// --- Start-up ----------------------------------------------------------------------

void AppDelegate::awakeFromNib() {
    // What runs that ended without removing it left: their links, once their
    // targets are gone, and their working files (a killed import's).
    removeDanglingSymbolicLinks();
    platform::RunFolder::removeFoldersOfEndedRuns();
    appPreferences_->initializePreferences();
    preferencesController_->intializeAfterPreferencesLoaded();
    registerEditorValueTransformers();
    SCSubtitle::setImageSubImporterFactory(importerFactory_);
}

void AppDelegate::applicationWillTerminate() {
    quitting_ = true;
    // Every window still open goes as the program closes it, whatever state
    // it is in (its close question may have been up as the loop ended).
    const QList<SCMainWindowController*> controllers = openWindowControllers_;
    openWindowControllers_.clear();
    // Imports stop first, with their children and files. Then the rest of
    // the work off the main thread (loads, encoding cycles, conflict
    // searches) stops where it can and is waited for: none of it may run on
    // once its window, and then the application object, are gone.
    for (SCMainWindowController* controller : controllers) endWork(controller);
    platform::OperationQueue::stopAllAndWait();
    for (SCMainWindowController* controller : controllers) delete controller;
    platform::RunFolder::removeWhatThisRunMade();
}

void AppDelegate::applicationDidFinishLaunching() {
    launched_ = true;
    updateStartWindow();
    const QPointer<AppDelegate> self(this);
    delay(1.0, [self] {
        if (self && self->openWindowControllers_.isEmpty()) self->showSubtitleOpenPanel();
    });
}

bool AppDelegate::applicationOpenFile(const QString& path) {
    openSubtitleURL(QFileInfo(path).absoluteFilePath());
    return true;
}

void AppDelegate::crashTheApp(const QString& text) {
    const QString discarded = "the " + text;
    Q_UNUSED(discarded);
}

void AppDelegate::openSubtitleURL(const QString& path) {
    // A new window steps down from the one opened last that is still up.
    const QWidget* last = nullptr;
    for (SCMainWindowController* open : openWindowControllers_)
        if (open->window() != nullptr && open->window()->isVisible()) last = open->window();
    auto* controller = new SCMainWindowController(services_);
    controller->setFileURL(QUrl::fromLocalFile(path));
    controller->showWindow(last);
    // No control starts with the keyboard focus.
    if (QWidget* focus = controller->window()->focusWidget()) focus->clearFocus();
    openWindowControllers_.append(controller);
    updateStartWindow();
    updateExportItem();
}

SCMainWindowController* AppDelegate::activeDocumentController() const {
    QWidget* active = QApplication::activeWindow();
    if (!active) return nullptr;
    for (SCMainWindowController* controller : openWindowControllers_)
        if (controller->window() == active) return controller;
    return nullptr;
}

void AppDelegate::updateExportItem() {
    actions_->exportAction()->setEnabled(activeDocumentController() != nullptr);
}

// --- Menu --------------------------------------------------------------------------

void AppDelegate::showSubtitleOpenPanel() {
    setIsShowingOpenPanel(true);
    const QPointer<AppDelegate> self(this);
    panels_->beginOpenPanel({QStringLiteral("Select Subtitle to Open:"),
                             {QStringLiteral("ssa"), QStringLiteral("ass"), QStringLiteral("srt"),
                              QStringLiteral("idx"), QStringLiteral("pgs"), QStringLiteral("sup")}},
                            [self](bool ok, const QString& path) {
                                if (!self) return;
                                if (ok && !path.isEmpty()) self->openSubtitleURL(path);
                                self->setIsShowingOpenPanel(false);
                            });
}

void AppDelegate::fileMenuItems(QAction* sender) {
    if (!sender) return;
    const QString title = sender->text();
    if (title == QStringLiteral("Open…")) {
        showSubtitleOpenPanel();
    } else if (title == QLatin1String("Online Guide")) {
        workspace_->openURL(MakerAddresses::urlFromAddress(MakerAddresses::onlineGuideAddress()));
    } else if (title == QLatin1String("Online Troubleshooting")) {
        workspace_->openURL(
            MakerAddresses::urlFromAddress(MakerAddresses::onlineTroubleshootingAddress()));
    } else if (title == QStringLiteral("Preferences…")) {
        preferencesController_->openPreferencesPanel();
    } else if (title == QLatin1String("Send Bug Report")) {
        workspace_->openURL(MakerAddresses::urlFromAddress(MakerAddresses::bugReportMailAddress()));
    } else if (title == QStringLiteral("Export…")) {
        // What the window's own Export button does.
        if (SCMainWindowController* controller = activeDocumentController())
            controller->exportButton();
    } else if (title == QLatin1String("Show Tool Tips") ||
               title == QLatin1String("Hide Tool Tips")) {
        const bool show = title == QLatin1String("Show Tool Tips");
        appPreferences_->modifyPreferencePanelDictionary([show](std::optional<QVariantMap>& panel) {
            if (!panel) panel = QVariantMap();
            panel->insert(QStringLiteral("showToolTipsFlag"), show);
        });
        toolTips_->modifyToolTips();
        sender->setText(show ? QStringLiteral("Hide Tool Tips") : QStringLiteral("Show Tool Tips"));
    }
    // Any other title does nothing.
}

void AppDelegate::closeActiveWindow() {
    if (QWidget* window = QApplication::activeWindow()) window->close();
}

bool AppDelegate::quit() {
    quitting_ = true;
    const QList<SCMainWindowController*> controllers = openWindowControllers_;
    for (SCMainWindowController* controller : controllers) {
        if (!openWindowControllers_.contains(controller)) continue;
        DocumentWindow* window = controller->documentWindow();
        if (window && !window->isClosed() && !window->close()) {
            quitting_ = false;
            return false;
        }
    }
    emit terminateRequested();
    return true;
}

void AppDelegate::terminateOnSignal() {
    if (endingOnSignal_) return;
    endingOnSignal_ = true;
    quitting_ = true;
    // Nothing closes here: a panel, a question or a menu may be running a
    // loop of its own inside one of a window's handlers (File › Export…
    // runs the save panel inside the menu's), and a window deleted there
    // leaves that handler on freed memory. The loops end first, the main one
    // with them; every window and import ends once it has returned
    // (applicationWillTerminate), without a question.
    emit terminateRequested();
}

// --- Window delegate ---------------------------------------------------------------

bool AppDelegate::windowShouldClose(QWidget* window) {
    // A window whose document holds nothing that a close would lose closes
    // at once; Quit closes every window this way.
    for (SCMainWindowController* controller : openWindowControllers_)
        if (controller->window() == window) {
            controller->commitPendingEdits();
            if (!controller->hasUnexportedChanges()) return true;
        }
    return Sheets::askApplicationModal(
        QStringLiteral("Are you sure that you want to close the window?"),
        QStringLiteral("All unsaved work will be lost."));
}

void AppDelegate::windowWillClose(QWidget* window) {
    SCMainWindowController* controller = nullptr;
    for (SCMainWindowController* candidate : openWindowControllers_)
        if (candidate->window() == window) controller = candidate;
    if (!controller) return;
    endWork(controller);
    openWindowControllers_.removeAt(openWindowControllers_.indexOf(controller));
    controller->deleteLater();
    updateStartWindow();
    updateExportItem();
}

void AppDelegate::endWork(SCMainWindowController* controller) {
    // The import stops with its children and leaves no file; the preview
    // stops.
    if (const auto importer = controller->windowSubtitle()->imageSubImporter())
        importer->cancelImport();
    controller->stopPreview();
}

void AppDelegate::updateStartWindow() {
    if (!launched_ || quitting_) return;
    if (openWindowControllers_.isEmpty()) {
        if (!startWindow_) {
            startWindow_ = std::make_unique<StartWindow>(*actions_);
            connect(startWindow_.get(), &StartWindow::closedByUser, this, [this] { quit(); });
        }
        startWindow_->show();
    } else if (startWindow_) {
        startWindow_->hide();
    }
}
