// Pictures of the application's windows and sheets on a virtual display, for
// a look: the start window, SRT and ASS documents, the font-cache busy
// window, the "Can Not Open", refused-shift, export-failure and
// launch-failure sheets and the close question after the close box and after
// Cancel.
// Usage: app_screens OUT_FOLDER SRT_FILE ASS_FILE
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
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

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: app_screens OUT_FOLDER SRT_FILE ASS_FILE\n");
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

    delegate.applicationOpenFile(QString::fromLocal8Bit(argv[2]));
    SCMainWindowController* srt = delegate.openWindowControllers().last();
    if (!spinUntil([&] { return !srt->windowSubtitle()->subtitleLinesArray().isEmpty(); }))
        ++failures;
    srt->window()->move(0, 0);
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

    delegate.applicationOpenFile(QString::fromLocal8Bit(argv[3]));
    SCMainWindowController* ass = delegate.openWindowControllers().last();
    if (!spinUntil([&] { return !ass->windowSubtitle()->subtitleLinesArray().isEmpty(); }))
        ++failures;
    ass->window()->move(0, 0);
    ass->window()->raise();
    shoot("ass-document");

    delegate.applicationOpenFile(outFolder + "/README");
    if (!spinUntil([] { return shownBox() != nullptr; })) ++failures;
    shoot("cannot-open-sheet");
    answer("OK");
    spin(200);
    return failures == 0 ? 0 : 1;
}
