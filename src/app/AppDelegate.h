#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "app/AppServices.h"
#include "app/PanelProvider.h"
#include "app/WindowDelegate.h"
#include "app/Workspace.h"
#include "document/ImageSubImporter.h"
#include "tools/PreferenceStore.h"
#include "tools/SCPreferences.h"

class AppActions;
class QAction;
class SCMainWindowController;
class SCPreferencesController;
class SCToolTips;
class StartWindow;

// The application's one delegate: it owns the preferences, the preferences
// window, the tool-tip texts and the open document windows (the only owner
// of their controllers), answers the menu, opens files into new document
// windows and is the window delegate of every document window. Main thread.
//
// Start-up: construct (init), awakeFromNib(), applicationOpenFile() for each
// file given, applicationDidFinishLaunching(), then the event loop.
class AppDelegate : public QObject, public WindowDelegate {
    Q_OBJECT
    Q_PROPERTY(bool isShowingOpenPanel READ isShowingOpenPanel WRITE setIsShowingOpenPanel NOTIFY
                   isShowingOpenPanelChanged)

  public:
    // Tests replace the stored settings, the support folder's unpacking, the
    // panels, the desktop and the picture importer; none given: the real ones.
    struct Options {
        std::shared_ptr<PreferenceStore> preferenceStore{};
        SCPreferences::CommandRunner supportCommandRunner{};
        std::unique_ptr<PanelProvider> panels{};
        std::unique_ptr<Workspace> workspace{};
        ImageSubImporter::Factory importerFactory{};
    };

    AppDelegate();
    explicit AppDelegate(Options options);
    ~AppDelegate() override;

    // --- Stored state.
    const std::shared_ptr<SCPreferences>& appPreferences() const { return appPreferences_; }
    SCPreferencesController* preferencesController() const { return preferencesController_; }
    SCToolTips* toolTips() const { return toolTips_; }
    const QList<SCMainWindowController*>& openWindowControllers() const {
        return openWindowControllers_;
    }
    bool isShowingOpenPanel() const { return isShowingOpenPanel_; }
    void setIsShowingOpenPanel(bool value);

    AppActions* actions() const { return actions_; }
    StartWindow* startWindow() const;
    const AppServices& services() const { return services_; }

    // --- Start-up.
    void awakeFromNib();
    void applicationDidFinishLaunching();
    // After the main loop: every window still open closes as the program
    // closes it, whatever state it is in (its import cancelled, its preview
    // stopped); the temporary links and the working files' folder of this
    // run are removed.
    void applicationWillTerminate();
    // Opens the file in a new document window; true, always.
    bool applicationOpenFile(const QString& path);
    void crashTheApp(const QString& text = {});

    // --- Menu.
    void fileMenuItems(QAction* sender);
    void showSubtitleOpenPanel();
    // Close: the active document window, asked as the user's close.
    void closeActiveWindow();
    // Quit: every document window closed as the user's close; false when one
    // stayed ("Cancel"). Then the application ends.
    bool quit();
    // SIGTERM or SIGINT: the application ends without a question, whatever
    // panel, question or menu is up; its windows close once the main loop
    // has returned (applicationWillTerminate).
    void terminateOnSignal();

    // --- Window delegate.
    // True at once for a window whose document has no unexported change;
    // otherwise the close question, answered by the user.
    bool windowShouldClose(QWidget* window) override;
    void windowWillClose(QWidget* window) override;

  signals:
    void isShowingOpenPanelChanged();
    // The application's main loop should end, and every loop running inside
    // it.
    void terminateRequested();

  private:
    void openSubtitleURL(const QString& path);
    void updateStartWindow();
    // Stops what the window's document still runs: its import, its preview.
    void endWork(SCMainWindowController* controller);
    // The controller of the active window when it is a document window.
    SCMainWindowController* activeDocumentController() const;
    void updateExportItem();

    std::shared_ptr<SCPreferences> appPreferences_;
    SCPreferencesController* preferencesController_ = nullptr;
    SCToolTips* toolTips_ = nullptr;
    QList<SCMainWindowController*> openWindowControllers_;
    bool isShowingOpenPanel_ = false;

    ImageSubImporter::Factory importerFactory_;
    std::unique_ptr<PanelProvider> panels_;
    std::unique_ptr<Workspace> workspace_;
    AppActions* actions_ = nullptr;
    AppServices services_;
    std::unique_ptr<StartWindow> startWindow_;
    bool launched_ = false;
    bool quitting_ = false;
    bool endingOnSignal_ = false;
};
