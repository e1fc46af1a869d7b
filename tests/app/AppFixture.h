#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>

#include "app/AppDelegate.h"
#include "app/PanelProvider.h"
#include "app/Workspace.h"
#include "support/EventLoop.h"
#include "support/PlatformOverrides.h"

class QMessageBox;
class SCMainWindowController;

void PrintTo(const QString& text, std::ostream* out);

// Records what the application asks of the desktop and answers as told.
class RecordingWorkspace : public Workspace {
  public:
    struct Call {
        QString kind;  // "url", "at", "named"
        QString target;
        QString file;
    };
    bool openURL(const QUrl& url) override;
    bool openFileWithApplicationAt(const QString& file, const QString& location) override;
    bool openFileWithApplicationNamed(const QString& file, const QString& name) override;

    QList<Call> calls;
    QList<QUrl> urls;
    bool answerAt = false;
    bool answerNamed = false;
};

// Panels that record their requests; the open panel waits until the test
// answers it, the save panel answers from a list at once.
class RecordingPanels : public PanelProvider {
  public:
    void beginOpenPanel(const OpenPanel& panel, OpenCompletion completion) override;
    std::optional<QString> runSavePanel(const SavePanel& panel) override;

    // Answers the oldest open panel still up.
    void answerOpenPanel(bool ok, const QString& path = {});

    QList<OpenPanel> openPanels;
    std::deque<OpenCompletion> pendingOpen;
    QList<SavePanel> savePanels;
    std::deque<std::optional<QString>> saveAnswers;
    // When set, save panels go on to these (the real ones) after they are
    // recorded.
    PanelProvider* saveForwarding = nullptr;
};

// Imports nothing, successfully; counts its cancellations.
class FakeImporter : public ImageSubImporter {
  public:
    void setParentSubtitle(const std::weak_ptr<SCSubtitle>&) override {}
    resultTypes importImageSubtitleURL(const QUrl&) override { return resultTypes::ok; }
    void cancelImport() override { ++cancels; }
    std::atomic<int> cancels{0};
};

// A scratch folder for files, a fake resources folder (ffmpeg, ffplay) and
// support folder, a private temporary folder, settings in memory, and one
// AppDelegate with recorders for the panels and the desktop.
class AppFixture : public ::testing::Test {
  public:
    struct Answered {
        QString text;
        QString informativeText;
        QStringList buttons;
        Qt::WindowModality modality;
    };

  protected:
    void SetUp() override;
    void TearDown() override;
    // What a fixture changes in the delegate's options before it is made.
    virtual void adjustOptions(AppDelegate::Options&) {}

    QString path(const QString& relative) const;
    QString makeFolder(const QString& relative) const;
    QString writeFile(const QString& relative, const QByteArray& content) const;
    QString writeScript(const QString& relative, const QByteArray& body) const;
    QByteArray readFile(const QString& file) const;

    // The delegate through start-up, without the launch check.
    void startDelegate();
    // Opens the file as the system would and returns its window's controller.
    SCMainWindowController* open(const QString& file);
    // Waits until the document holds its lines.
    bool waitForLines(SCMainWindowController* controller, int count);

    // The message boxes now shown, newest last.
    static QList<QMessageBox*> shownBoxes();
    // Clicks the button of that title in the newest box; its texts.
    static std::optional<Answered> answerBox(const QString& button,
                                             int waitMs = testsupport::kHangMs);
    // Answers the next application-modal question while `action` runs.
    static std::optional<Answered> answerDuring(const QString& button,
                                                const std::function<void()>& action);
    static void drain(int ms = 30);
    // Runs deferred deletes, so that closed windows' controllers go.
    static void collect();

    QTemporaryDir scratch;
    RecordingWorkspace* workspace = nullptr;
    RecordingPanels* panels = nullptr;
    std::unique_ptr<AppDelegate> delegate;
    std::shared_ptr<PreferenceStore> store;
    // Tests move the temporary folder with `temporaryFolder->set(...)`.
    std::optional<testsupport::ScopedAppPaths> appPaths;
    std::optional<testsupport::ScopedTemporaryFolder> temporaryFolder;
    QStringList supportCommands;
};

// An SRT text of `count` lines, line i starting at 10 i + 1 seconds.
QByteArray srtOfLines(int count);
// A readable ASS file of two lines.
QByteArray assText();
