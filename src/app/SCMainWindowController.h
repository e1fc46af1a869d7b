#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

#include "app/AppServices.h"
#include "editor/SCMainViewController.h"
#include "editor/ViewWindowController.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"
#include "tools/SCMoviePlayer.h"

class DocumentWindow;
class QAbstractButton;
class QTabWidget;
class SCPreferences;
class SCSubtitle;
class SCViewControllerASS;
class SCViewControllerSRT;
namespace Ui {
class MainWindow;
}

// The controller of one document window: it owns the window's document and
// its two editing views (SRT and ASS, in two tabs that share the document),
// the export type and destination and the preview movie's path. The window
// comes from the layout "MainWindow" when it is first shown. Everything runs
// on the main thread; the application delegate's list of open windows is the
// controller's only owner.
class SCMainWindowController : public ViewWindowController {
    Q_OBJECT
    Q_PROPERTY(bool isChangingViews READ isChangingViews WRITE setIsChangingViews NOTIFY
                   isChangingViewsChanged)
    Q_PROPERTY(QUrl fileURL READ fileURL WRITE setFileURL)
    Q_PROPERTY(QStringList exportTypesList READ exportTypesList CONSTANT)
    Q_PROPERTY(QString exportType READ exportType WRITE setExportType NOTIFY exportTypeChanged)
    Q_PROPERTY(QStringList exportDestinationsList READ exportDestinationsList CONSTANT)
    Q_PROPERTY(QString exportDestination READ exportDestination WRITE setExportDestination NOTIFY
                   exportDestinationChanged)
    Q_PROPERTY(bool userSubtitleHasBeenSaved READ userSubtitleHasBeenSaved WRITE
                   setUserSubtitleHasBeenSaved)
    Q_PROPERTY(QString previewFilePath READ previewFilePath WRITE setPreviewFilePath NOTIFY
                   previewFilePathChanged)
    Q_PROPERTY(QUrl previewFileURL READ previewFileURLValue)

  public:
    // Creates the document and both editing views and starts observing
    // "subInitializationError" and "dialogChanged"; no window yet.
    explicit SCMainWindowController(const AppServices& services, QObject* parent = nullptr);
    ~SCMainWindowController() override;

    // --- Stored state, in declaration order. Outlets are null until the
    // window has loaded.
    QWidget* workView() const;
    QTabWidget* mainTabView() const;
    QWidget* srtTabViewItem() const;
    QWidget* assTabViewItem() const;
    SCMainViewController* currentViewController() const { return currentViewController_; }
    void setCurrentViewController(SCMainViewController* controller);
    SCViewControllerSRT* srtViewController() const { return srtViewController_.get(); }
    SCViewControllerASS* assViewController() const { return assViewController_.get(); }
    bool isChangingViews() const { return isChangingViews_; }
    void setIsChangingViews(bool value);
    const std::shared_ptr<SCSubtitle>& windowSubtitle() const { return windowSubtitle_; }
    const QUrl& fileURL() const { return fileURL_; }
    void setFileURL(const QUrl& url) { fileURL_ = url; }
    const QStringList& exportTypesList() const { return exportTypesList_; }
    const QString& exportType() const { return exportType_; }
    // Stores the value, then switches view, tab and document export type.
    void setExportType(const QString& value);
    const QStringList& exportDestinationsList() const { return exportDestinationsList_; }
    const QString& exportDestination() const { return exportDestination_; }
    void setExportDestination(const QString& value);
    bool userSubtitleHasBeenSaved() const { return userSubtitleHasBeenSaved_; }
    void setUserSubtitleHasBeenSaved(bool value) { userSubtitleHasBeenSaved_ = value; }
    platform::OperationQueue& testQueue() const { return *testQueue_; }
    const QString& previewFilePath() const { return previewFilePath_; }
    void setPreviewFilePath(const QString& value);

    // --- Computed state.
    static QString windowNibName() { return QStringLiteral("MainWindow"); }
    static std::shared_ptr<SCPreferences> appPreferences();
    // No value while `previewFilePath` is empty.
    std::optional<QUrl> previewFileURL() const;
    QUrl previewFileURLValue() const { return previewFileURL().value_or(QUrl()); }

    // The document window, null until loaded.
    QWidget* window() const override;
    DocumentWindow* documentWindow() const { return window_.get(); }
    bool isWindowLoaded() const { return window_ != nullptr; }

    // Loads the window on first use (running windowDidLoad) and shows it. A
    // newly loaded window fits its screen and goes a cascade step from
    // `cascadeFrom` (the document window opened before it), or without one
    // centred on the screen under the pointer.
    void showWindow(const QWidget* cascadeFrom = nullptr);

    // --- Operations.
    void windowDidLoad();
    void notificationHub(const platform::Notification& notification);

    // Actions of the window's controls; the sender is the control.
    void testButton1(QObject* sender = nullptr);
    void cancelButton(QObject* sender = nullptr);
    void exportButton(QObject* sender = nullptr);
    void selectPreviewFileButton(QObject* sender = nullptr);
    void playPreviewFileButton(QAbstractButton* sender);

    // Stops a running preview and removes its file (quitting, closing).
    void stopPreview();
    bool isPreviewing() const;

    // Whether a close would lose work: the document's SRT or ASS text
    // differs from what it was when its load first showed it or when it was
    // last exported to disk. A document still loading counts as changed once
    // it has lines (a picture import hands them over one by one), and so
    // does a picture document with lines until it has been exported.
    bool hasUnexportedChanges() const;
    // Taking the focus from an open cell editor or field commits what it
    // holds, as the window becoming its own first responder does.
    void commitPendingEdits();

  signals:
    void isChangingViewsChanged();
    void exportTypeChanged();
    void exportDestinationChanged();
    void previewFilePathChanged();

  private:
    void loadWindow();
    void bindControls();
    void exportTypeDidChange();
    void selectRowWithoutExtending(int row);
    void showCanNotOpenSheet(const QString& informative);
    void exportToDisk(const QString& encoding);
    void exportToApplication(const QString& encoding);
    void showExportFailure();
    // `pathSet`: the preferences hold a path for the application.
    void showLaunchFailure(const QString& destination, bool pathSet);
    // The sheet for a preview that did not play; none when it played.
    void showPlayFailure(const QString& path, bool found, const SCMoviePlayer::Playback& playback);
    QString exportEncoding() const;
    void documentLoadPublished();
    void markDocumentExported();

    AppServices services_;

    // 1-4: the outlets, held by the window's layout.
    std::unique_ptr<Ui::MainWindow> ui_;
    // 5-17.
    QPointer<SCMainViewController> currentViewController_;
    std::unique_ptr<SCViewControllerSRT> srtViewController_;
    std::unique_ptr<SCViewControllerASS> assViewController_;
    bool isChangingViews_ = false;
    std::shared_ptr<SCSubtitle> windowSubtitle_;
    QUrl fileURL_;
    const QStringList exportTypesList_;
    QString exportType_;
    const QStringList exportDestinationsList_;
    QString exportDestination_;
    bool userSubtitleHasBeenSaved_ = false;
    std::unique_ptr<platform::OperationQueue> testQueue_;
    QString previewFilePath_;

    std::unique_ptr<DocumentWindow> window_;
    platform::NotificationObserver subInitializationErrorObserver_;
    platform::NotificationObserver dialogChangedObserver_;
    struct PreviewRun;
    std::shared_ptr<PreviewRun> preview_;
    // The document as its load first showed it or as last exported; none
    // before that, and none for a picture document before its first export.
    std::optional<QByteArray> exportedFingerprint_;
};
