#include "app/SCMainWindowController.h"

#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include "app/AppActions.h"
#include "app/DocumentWindow.h"
#include "common/NotificationTypes.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "editor/SCViewControllerASS.h"
#include "editor/SCViewControllerSRT.h"
#include "tools/ApplicationContext.h"
#include "ui_MainWindow.h"

SCMainWindowController::SCMainWindowController(const AppServices& services, QObject* parent)
    : ViewWindowController(parent),
      services_(services),
      windowSubtitle_(SCSubtitle::create()),
      exportTypesList_{QStringLiteral("SRT"), QStringLiteral("ASS")},
      exportType_(QStringLiteral("SRT")),
      exportDestinationsList_{QStringLiteral("Disk"), QStringLiteral("Harnwick"),
                              QStringLiteral("Lodestra"), QStringLiteral("Pellimor")},
      exportDestination_(QStringLiteral("Disk")),
      testQueue_(std::make_unique<platform::OperationQueue>(QStringLiteral("Test Queue"), 2)) {
    srtViewController_ = std::make_unique<SCViewControllerSRT>();
    srtViewController_->setViewWindowController(this);
    srtViewController_->setViewSubtitle(windowSubtitle_);
    assViewController_ = std::make_unique<SCViewControllerASS>();
    assViewController_->setViewWindowController(this);
    assViewController_->setViewSubtitle(windowSubtitle_);
    const auto handler = [this](const platform::Notification& n) { notificationHub(n); };
    subInitializationErrorObserver_ = platform::NotificationObserver(
        notificationTypes(notificationTypes::subInitializationError).rawValue(), handler);
    dialogChangedObserver_ = platform::NotificationObserver(
        notificationTypes(notificationTypes::dialogChanged).rawValue(), handler);
    connect(windowSubtitle_.get(), &SCSubtitle::loadPublished, this,
            &SCMainWindowController::documentLoadPublished);
}

SCMainWindowController::~SCMainWindowController() {
    subInitializationErrorObserver_.reset();
    dialogChangedObserver_.reset();
    stopPreview();
    // The views leave their tabs before the window goes.
    srtViewController_.reset();
    assViewController_.reset();
    window_.reset();
}

// --- State -------------------------------------------------------------------------

QWidget* SCMainWindowController::workView() const {
    return ui_ ? ui_->workView : nullptr;
}
QTabWidget* SCMainWindowController::mainTabView() const {
    return ui_ ? ui_->mainTabView : nullptr;
}
QWidget* SCMainWindowController::srtTabViewItem() const {
    return ui_ ? ui_->srtTabViewItem : nullptr;
}
QWidget* SCMainWindowController::assTabViewItem() const {
    return ui_ ? ui_->assTabViewItem : nullptr;
}

void SCMainWindowController::setCurrentViewController(SCMainViewController* controller) {
    currentViewController_ = controller;
}

void SCMainWindowController::setIsChangingViews(bool value) {
    isChangingViews_ = value;
    emit isChangingViewsChanged();
}

void SCMainWindowController::setExportDestination(const QString& value) {
    exportDestination_ = value;
    emit exportDestinationChanged();
}

void SCMainWindowController::setPreviewFilePath(const QString& value) {
    previewFilePath_ = value;
    emit previewFilePathChanged();
}

std::shared_ptr<SCPreferences> SCMainWindowController::appPreferences() {
    return ApplicationContext::appPreferences();
}

std::optional<QUrl> SCMainWindowController::previewFileURL() const {
    if (previewFilePath_.isEmpty()) return std::nullopt;
    return QUrl::fromLocalFile(previewFilePath_);
}

QWidget* SCMainWindowController::window() const {
    return window_.get();
}

// --- Window ------------------------------------------------------------------------

void SCMainWindowController::showWindow(const QWidget* cascadeFrom) {
    if (!window_) {
        loadWindow();
        QScreen* screen = cascadeFrom != nullptr ? cascadeFrom->screen()
                                                 : QGuiApplication::screenAt(QCursor::pos());
        if (screen == nullptr) screen = QGuiApplication::primaryScreen();
        window_->placeIn(screen->availableGeometry(), cascadeFrom);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void SCMainWindowController::loadWindow() {
    window_ = std::make_unique<DocumentWindow>();
    ui_ = std::make_unique<Ui::MainWindow>();
    ui_->setupUi(window_.get());
    window_->setObjectName(windowNibName());
    // The export type chooses the tab; the tab bar itself offers nothing.
    ui_->mainTabView->tabBar()->hide();
    if (services_.actions) window_->setMenuBar(services_.actions->makeMenuBar(window_.get()));
    bindControls();
    windowDidLoad();
}

void SCMainWindowController::bindControls() {
    ui_->exportTypePopUp->addItems(exportTypesList_);
    ui_->exportDestinationPopUp->addItems(exportDestinationsList_);
    const auto showChoice = [](QComboBox* box, const QStringList& list, const QString& value) {
        box->setCurrentIndex(int(list.indexOf(value)));
    };
    showChoice(ui_->exportTypePopUp, exportTypesList_, exportType_);
    showChoice(ui_->exportDestinationPopUp, exportDestinationsList_, exportDestination_);
    // Every choice is written, also of the entry already chosen.
    connect(ui_->exportTypePopUp, &QComboBox::activated, this,
            [this](int index) { setExportType(exportTypesList_.value(index)); });
    connect(ui_->exportDestinationPopUp, &QComboBox::activated, this,
            [this](int index) { setExportDestination(exportDestinationsList_.value(index)); });
    connect(
        this, &SCMainWindowController::exportTypeChanged, ui_->exportTypePopUp,
        [this, showChoice] { showChoice(ui_->exportTypePopUp, exportTypesList_, exportType_); });
    connect(this, &SCMainWindowController::exportDestinationChanged, ui_->exportDestinationPopUp,
            [this, showChoice] {
                showChoice(ui_->exportDestinationPopUp, exportDestinationsList_,
                           exportDestination_);
            });

    ui_->previewFilePathField->setText(previewFilePath_);
    connect(ui_->previewFilePathField, &QLineEdit::textEdited, this,
            &SCMainWindowController::setPreviewFilePath);
    connect(this, &SCMainWindowController::previewFilePathChanged, ui_->previewFilePathField,
            [this] {
                if (ui_->previewFilePathField->text() != previewFilePath_)
                    ui_->previewFilePathField->setText(previewFilePath_);
            });
    // Play needs a movie; while one plays the button stays off until it ends.
    const auto showPlayable = [this] {
        ui_->playPreviewFileButton->setEnabled(previewFileURL().has_value() && !isPreviewing());
    };
    showPlayable();
    connect(this, &SCMainWindowController::previewFilePathChanged, ui_->playPreviewFileButton,
            showPlayable);

    connect(ui_->exportButton, &QPushButton::clicked, this,
            [this] { exportButton(ui_->exportButton); });
    connect(ui_->cancelButton, &QPushButton::clicked, this,
            [this] { cancelButton(ui_->cancelButton); });
    connect(ui_->selectPreviewFileButton, &QPushButton::clicked, this,
            [this] { selectPreviewFileButton(ui_->selectPreviewFileButton); });
    connect(ui_->playPreviewFileButton, &QPushButton::clicked, this,
            [this] { playPreviewFileButton(ui_->playPreviewFileButton); });
}

// --- Notifications and actions -----------------------------------------------------

void SCMainWindowController::notificationHub(const platform::Notification& notification) {
    if (notification.name ==
        notificationTypes(notificationTypes::subInitializationError).rawValue()) {
        const QVariant value = notification.userInfo.value(QStringLiteral("theWindow"));
        if (!value.canConvert<QObject*>() || !window_) return;
        if (value.value<QObject*>() == window_.get()) window_->closeWindow();
    } else if (notification.name ==
               notificationTypes(notificationTypes::dialogChanged).rawValue()) {
        // The changed line is the notification's object: only a line of this
        // document has a row here, found by looking the line up.
        const auto* line = qobject_cast<const SCSubtitleLine*>(notification.object);
        if (!line || !currentViewController_ || !currentViewController_->subtitleTable()) return;
        const int row = currentViewController_->rowOfLine(line);
        if (row < 0) return;
        currentViewController_->noteHeightOfRows({row});
        currentViewController_->reloadRows({row});
    }
}

void SCMainWindowController::testButton1(QObject*) {}

void SCMainWindowController::cancelButton(QObject*) {
    // The user's close, as by the close box: asked first when it would lose
    // work.
    if (window_) window_->close();
}
