// The application as quillmar runs it (runApplication, the function main
// calls), its folders in a scratch folder given as the first argument
// (app/bin, resources with the tools, data, tmp), with settings in memory.
// The second argument is what a user does in the first document window
// before the signal tests end the program:
//   none            nothing
//   export-menu     File › Export… in the window's menu bar: the save panel
//   export-button   the window's Export button: the save panel
//   file-menu       the File menu opened, left open
//   cancel          once the table shows a line, the window's Cancel button:
//                   the close question
//   note-stages     nothing; the file "stage-<name>" marks each stage of the
//                   load reached: "shown" (the window is active), "cycling"
//                   (the encoding shown has moved on from the first), "lines"
//                   (the table shows a line)
//   quit-at-<name>  File › Quit by its key, Ctrl+Q, once that stage is reached
// Once the panel, menu or question is up, the file "up" in the scratch
// folder names it; once the click that brought it up has returned, the file
// "returned" says whether the window it was made in was still there. The
// files to open follow.
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/ApplicationRun.h"
#include "platform/AppPaths.h"
#include "platform/ChildProcess.h"
#include "platform/TemporaryFolder.h"
#include "tools/InMemoryPreferenceStore.h"

namespace {

QMainWindow* documentWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<QMainWindow*>(widget);
            window && window->objectName() == QLatin1String("MainWindow") && window->isVisible())
            return window;
    return nullptr;
}

bool showsALine(QMainWindow* window) {
    for (QTableView* table : window->findChildren<QTableView*>(QStringLiteral("subtitleTable")))
        if (table->isVisible() && table->model() && table->model()->rowCount() > 0) return true;
    return false;
}

QString whatIsUp() {
    QWidget* modal = QApplication::activeModalWidget();
    if (qobject_cast<QFileDialog*>(modal)) return QStringLiteral("save panel");
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        return QStringLiteral("question: ") + box->text();
    if (qobject_cast<QMenu*>(QApplication::activePopupWidget())) return QStringLiteral("menu");
    return {};
}

// Acts as the user once the window is ready, then reports what came up.
class User : public QObject {
  public:
    User(QString action, QString scratch)
        : action_(std::move(action)), scratch_(std::move(scratch)) {
        connect(&poll_, &QTimer::timeout, this, [this] { step(); });
        poll_.start(20);
    }

  private:
    void step() {
        if (acted_) {
            const QString up = whatIsUp();
            if (up.isEmpty() || reported_) return;
            reported_ = true;
            report(QStringLiteral("up"), up);
            return;
        }
        QMainWindow* window = documentWindow();
        if (!window) return;
        if (QApplication::activeWindow() != window) {
            window->activateWindow();
            return;
        }
        if (action_ == QLatin1String("cancel") && !showsALine(window)) return;
        acted_ = true;
        // The click may run a loop of its own until the program ends; the
        // poll goes on meanwhile.
        QTimer::singleShot(0, this, [this, window = QPointer<QMainWindow>(window)] {
            if (window) act(window);
        });
    }

    void report(const QString& name, const QString& text) const {
        // Whole or not at all: the test reads it as soon as it is there.
        QSaveFile file(scratch_ + u'/' + name);
        if (!file.open(QIODevice::WriteOnly)) return;
        file.write(text.toUtf8());
        file.commit();
    }

    void act(QMainWindow* window) {
        const QPointer<QMainWindow> kept(window);
        click(window);
        // A window deleted under the handlers of its own menu or button
        // leaves them running on freed memory.
        report(QStringLiteral("returned"),
               kept ? QStringLiteral("window kept") : QStringLiteral("window gone"));
    }

    void click(QMainWindow* window) {
        if (action_ == QLatin1String("export-button")) {
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("exportButton")),
                              Qt::LeftButton);
        } else if (action_ == QLatin1String("cancel")) {
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cancelButton")),
                              Qt::LeftButton);
        } else if (action_ == QLatin1String("export-menu") ||
                   action_ == QLatin1String("file-menu")) {
            QMenuBar* bar = window->menuBar();
            QAction* file = bar->actions().first();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
            if (action_ == QLatin1String("file-menu")) return;
            QMenu* menu = file->menu();
            for (QAction* item : menu->actions())
                if (item->text() == QStringLiteral("Export…"))
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(item).center());
        }
    }

    const QString action_;
    const QString scratch_;
    QTimer poll_;
    bool acted_ = false;
    bool reported_ = false;
};

// Watches the first document window's load: notes its stages, or quits
// at one. A stage counts as reached once any later one is, so a stage that
// passes between two looks still ends the run.
class LoadWatcher : public QObject {
  public:
    LoadWatcher(QString scratch, QString quitAt)
        : scratch_(std::move(scratch)), quitAt_(std::move(quitAt)) {
        connect(&poll_, &QTimer::timeout, this, [this] { step(); });
        poll_.start(5);
    }

  private:
    void step() {
        QMainWindow* window = documentWindow();
        if (!window) return;
        if (QApplication::activeWindow() != window) {
            window->activateWindow();
            return;
        }
        reach(0);
        QComboBox* encoding = nullptr;
        for (QComboBox* popUp : window->findChildren<QComboBox*>(QStringLiteral("encodingPopUp")))
            if (popUp->isVisible()) encoding = popUp;
        if (encoding && firstEncoding_.isNull()) firstEncoding_ = encoding->currentText();
        if (encoding && encoding->currentText() != firstEncoding_) reach(1);
        if (showsALine(window)) reach(2);
    }

    void reach(int stage) {
        static const char* const names[] = {"shown", "cycling", "lines"};
        for (; reached_ <= stage; ++reached_) {
            const QString name = QString::fromLatin1(names[reached_]);
            QSaveFile file(scratch_ + QStringLiteral("/stage-") + name);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(name.toUtf8());
                file.commit();
            }
            if (name == quitAt_ && !quitting_) {
                quitting_ = true;
                QTest::keyClick(QApplication::activeWindow(), Qt::Key_Q, Qt::ControlModifier);
            }
        }
    }

    const QString scratch_;
    const QString quitAt_;
    QString firstEncoding_;
    int reached_ = 0;
    bool quitting_ = false;
    QTimer poll_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) return 2;
    const QString scratch = QString::fromLocal8Bit(argv[1]);
    platform::AppPaths::setOverrides({.bundleFolder = scratch + "/app/bin",
                                      .resourcesFolder = scratch + "/resources",
                                      .userDataFolder = scratch + "/data"});
    platform::TemporaryFolder::setOverride(scratch + "/tmp");

    AppDelegate::Options options;
    options.preferenceStore = std::make_shared<InMemoryPreferenceStore>();
    options.supportCommandRunner = [](const QString&, const QStringList&) {
        return std::optional<QString>(QString());
    };
    // A stop that waits as long as a hang: the tests then choose when it
    // ends, by a second signal.
    if (qEnvironmentVariableIsSet("QUILLMAR_TEST_STOP_WAITS"))
        platform::ChildProcess::setGracePeriod(std::chrono::milliseconds(600000));
    std::optional<User> user;
    std::optional<LoadWatcher> watcher;
    const QString action = QString::fromLocal8Bit(argv[2]);
    if (action == QLatin1String("note-stages"))
        watcher.emplace(scratch, QString());
    else if (action.startsWith(QLatin1String("quit-at-")))
        watcher.emplace(scratch, action.mid(8));
    else if (action != QLatin1String("none"))
        user.emplace(action, scratch);
    return runApplication(QApplication::arguments().mid(3), std::move(options));
}
