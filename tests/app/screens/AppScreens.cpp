// Pictures of the application's windows and sheets on a virtual display, for
// a look: the start window, SRT and ASS documents, the font-cache busy
// window, the "Can Not Open", refused-shift, export-failure, launch-failure
// and play-failure sheets, the close question after the close box and after
// Cancel, and a long document after Ctrl+End.
// Usage: app_screens OUT_FOLDER SRT_FILE ASS_FILE LONG_SRT_FILE
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <cstdio>

#include "app/AppDelegate.h"
#include "app/DocumentWindow.h"
#include "app/FontconfigTesterSheet.h"
#include "app/SCMainWindowController.h"
#include "app/StartWindow.h"
#include "document/SCSubtitle.h"
#include "editor/SCMainViewController.h"
#include "platform/AppPaths.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"

namespace {

QString outFolder;
int failures = 0;

void spin(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool spinUntil(const std::function<bool()>& condition, int ms = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void shoot(const QString& name) {
    spin(400);
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QString file = outFolder + "/" + name + ".png";
    if (!image.save(file)) {
        std::fprintf(stderr, "app_screens: %s not saved\n", qPrintable(file));
        ++failures;
    }
}

QMessageBox* shownBox() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    return nullptr;
}

void answer(const QString& button) {
    if (QMessageBox* box = shownBox())
        for (QAbstractButton* candidate : box->buttons())
            if (candidate->text() == button) candidate->click();
}

// Opens the file in a window of its own at the screen's corner, in front,
// once its lines are read.
SCMainWindowController* openDocument(AppDelegate& delegate, const QString& path) {
    delegate.applicationOpenFile(path);
    SCMainWindowController* document = delegate.openWindowControllers().last();
    if (!spinUntil([&] { return !document->windowSubtitle()->subtitleLinesArray().isEmpty(); }))
        ++failures;
    document->window()->move(0, 0);
    document->window()->raise();
    return document;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: app_screens OUT_FOLDER SRT_FILE ASS_FILE LONG_SRT_FILE\n");
        return 2;
    }
    outFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outFolder + "/data");
    platform::AppPaths::setOverrides({.userDataFolder = outFolder + "/data"});
    AppDelegate::Options options;
    options.preferenceStore = std::make_shared<InMemoryPreferenceStore>();
    options.supportCommandRunner = [](const QString&, const QStringList&) {
        return std::optional<QString>(QString());
    };
    AppDelegate delegate(std::move(options));
    delegate.awakeFromNib();
    delegate.applicationDidFinishLaunching();
    shoot("start-window");

    SCMainWindowController* srt = openDocument(delegate, QString::fromLocal8Bit(argv[2]));
    shoot("srt-document");

    // A backward shift past the first line's start (1 s): refused on a sheet.
    if (SCMainViewController* view = srt->currentViewController()) {
        view->setTimeAdjustTextSRT("00:00:05,000");
        view->setTimeAdjustDirection("Backward");
        if (auto* shift = view->view()->findChild<QAbstractButton*>("timeShiftButton"))
            shift->click();
        if (!spinUntil([] { return shownBox() != nullptr; })) ++failures;
        shoot("refused-shift-sheet");
        answer("OK");
        spin(200);
        view->setTimeAdjustTextSRT("00:00:00,000");
        view->setTimeAdjustDirection("Forward");
    }

    FontconfigTesterSheet busy(srt->window());
    busy.begin();
    shoot("fontconfig-tester");
    busy.end();

    srt->setExportDestination("Harnwick");
    // An export encoding that cannot hold the file's accents.
    const auto setExportEncoding = [&](const QString& name) {
        delegate.appPreferences()->modifyPreferencePanelDictionary(
            [&](std::optional<QVariantMap>& panel) { panel->insert("exportEncoding", name); });
    };
    setExportEncoding("ASCII");
    srt->exportButton();
    if (!spinUntil([] { return shownBox() != nullptr; })) ++failures;
    shoot("export-failure-sheet");
    answer("OK");
    spin(200);
    setExportEncoding("UTF8");
    srt->exportButton();
    if (!spinUntil([] { return shownBox() != nullptr; })) ++failures;
    shoot("launch-failure-sheet");
    answer("OK");
    spin(200);

    // Play on a text file named as a movie: ffplay's own words on a sheet.
    const QString notes = outFolder + "/Notes.mp4";
    QFile text(notes);
    if (text.open(QIODevice::WriteOnly)) text.write("These are notes, not a movie.\n");
    text.close();
    srt->setPreviewFilePath(notes);
    if (auto* play = srt->window()->findChild<QAbstractButton*>("playPreviewFileButton"))
        play->click();
    if (!spinUntil([] { return shownBox() != nullptr; }, 60000)) ++failures;
    shoot("play-failure-sheet");
    answer("OK");

    // An edited document asks before its window closes: by the close box
    // and by Cancel alike.
    const SCSubtitleLinePtr first = srt->windowSubtitle()->subtitleLinesArray().value(0);
    if (first) first->setUnformattedTextSRT(first->unformattedTextSRT() + " (edited)");
    QTimer::singleShot(800, [] {
        shoot("close-question");
        answer("Cancel");
    });
    srt->window()->close();
    QTimer::singleShot(800, [] {
        shoot("cancel-question");
        answer("Cancel");
    });
    srt->cancelButton();

    openDocument(delegate, QString::fromLocal8Bit(argv[3]));
    shoot("ass-document");

    // From the top of a long film, Ctrl+End: the last line, whole, at the
    // table's foot.
    SCMainWindowController* film = openDocument(delegate, QString::fromLocal8Bit(argv[4]));
    spin(400);
    QTableView* table = film->currentViewController()->subtitleTable();
    table->setFocus();
    table->selectRow(0);
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_End, Qt::ControlModifier);
        QApplication::sendEvent(table, &key);
    }
    shoot("long-document-end");

    delegate.applicationOpenFile(outFolder + "/README");
    if (!spinUntil([] { return shownBox() != nullptr; })) ++failures;
    shoot("cannot-open-sheet");
    answer("OK");
    spin(200);
    return failures == 0 ? 0 : 1;
}
