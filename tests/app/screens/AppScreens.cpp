// Pictures of the application's windows and sheets on a virtual display, for
// a look: the start window, SRT and ASS documents, the font-cache busy
// window, the "Can Not Open", refused-shift, refused-stretch (lines out of
// time order), export-failure, launch-failure and play-failure sheets, the
// close question after the close box and after Cancel, and a long document
// after Ctrl+End.
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

// A backward shift or stretch by the amount the view holds, pressed: the
// sheet that refuses it, pictured and answered.
void shootRefusal(SCMainViewController& view, const char* button, const QString& name) {
    view.setTimeAdjustDirection("Backward");
    if (auto* press = view.view()->findChild<QAbstractButton*>(button)) press->click();
    if (!spinUntil([] { return shownBox() != nullptr; })) ++failures;
    shoot(name);
    answer("OK");
    spin(200);
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
        shootRefusal(*view, "timeShiftButton", "refused-shift-sheet");
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

    // Signs kept after the dialogue, out of time order: a backward stretch
    // past the end of the line that starts last is refused on a sheet that
    // names that line.
    {
        const QString path = outFolder + "/signs-after-dialogue.ass";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) ++failures;
        file.write(
            "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\n"
            "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
            "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
            "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
            "Style: Default,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,"
            "0,0,1,2,2,2,10,10,10,1\n\n[Events]\n"
            "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
            "Dialogue: 0,0:00:10.00,0:00:12.00,Default,,0,0,0,,Where were you last night?\n"
            "Dialogue: 0,0:00:13.00,0:01:08.02,Default,,0,0,0,,At the harbour, watching boats.\n"
            "Dialogue: 0,0:00:02.00,0:00:04.00,Default,,0,0,0,,HARBOUR MASTER\n");
        file.close();
        SCMainWindowController* signs = openDocument(delegate, path);
        if (SCMainViewController* view = signs->currentViewController()) {
            view->setTimeAdjustTextASS("0:01:10.00");
            shootRefusal(*view, "timeStretchButton", "refused-stretch-sheet");
        }
    }

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
