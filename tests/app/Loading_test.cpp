// Loading a document window: the view and export type by extension, the
// movie beside the file, VobSub pairs and the sheets of files that cannot be
// opened.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTabWidget>

#include "AppFixture.h"
#include "app/DocumentWindow.h"
#include "app/SCMainWindowController.h"
#include "document/SCSubtitle.h"
#include "editor/SCViewControllerASS.h"
#include "editor/SCViewControllerSRT.h"
#include "support/EventLoop.h"

namespace {

const QString kInvalid = "Check to see if this is a valid subtitle file.";
const QString kNoPartner =
    "You appear to be opening a VobSub subtitle, but Quillmar could not find the matching "
    ".SUB file in the directory.";

class Loading : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        startDelegate();
    }
};

TEST_F(Loading, NewControllerHoldsItsInitialState) {
    SCMainWindowController controller(delegate->services());
    EXPECT_EQ(controller.exportTypesList(), (QStringList{"SRT", "ASS"}));
    EXPECT_EQ(controller.exportDestinationsList(),
              (QStringList{"Disk", "Harnwick", "Lodestra", "Pellimor"}));
    EXPECT_EQ(controller.exportType(), "SRT");
    EXPECT_EQ(controller.exportDestination(), "Disk");
    EXPECT_TRUE(controller.previewFilePath().isEmpty());
    EXPECT_FALSE(controller.previewFileURL());
    EXPECT_FALSE(controller.currentViewController());
    EXPECT_TRUE(controller.fileURL().isEmpty());
    EXPECT_FALSE(controller.window());
    EXPECT_EQ(controller.testQueue().name(), "Test Queue");
    EXPECT_EQ(controller.testQueue().width(), 2);
    EXPECT_EQ(SCMainWindowController::windowNibName(), "MainWindow");
    for (SCMainViewController* view :
         {static_cast<SCMainViewController*>(controller.srtViewController()),
          static_cast<SCMainViewController*>(controller.assViewController())}) {
        EXPECT_EQ(view->viewWindowController(), &controller);
        EXPECT_EQ(view->viewSubtitle(), controller.windowSubtitle());
    }
    controller.setPreviewFilePath("/films/a b.mkv");
    EXPECT_EQ(controller.previewFileURL(), QUrl::fromLocalFile("/films/a b.mkv"));
}

TEST_F(Loading, TableOfFoldersAndNames) {
    struct Row {
        QString name;
        QStringList neighbours;  // "dir/" makes a folder, "@" a link back to the folder
        QString tab;             // "srt", "ass" or "" (none chosen)
        QString exportType;
        QString movie;  // expected entry, or empty
        QString sheet;  // informative text, or empty
    };
    const std::vector<Row> rows{
        {"Film.srt", {"Film.mkv"}, "srt", "SRT", "Film.mkv", {}},
        {"Film.ssa", {}, "ass", "ASS", {}, {}},
        {"Film.ass", {"Film.mp4"}, "ass", "ASS", "Film.mp4", {}},
        {"Film.sup", {}, "srt", "SRT", {}, {}},
        {"Film.srt", {"Film.MKV", "film.mkv"}, "srt", "SRT", {}, {}},
        {"Film.en.srt", {"Film.mkv"}, "srt", "SRT", {}, {}},
        {"Film.srt", {"sub/", "sub/Film.mkv"}, "srt", "SRT", {}, {}},
        {"Film.srt", {"@loop", "Film.avi"}, "srt", "SRT", "Film.avi", {}},
        {"Film.srt", {"Film.mkv/"}, "srt", "SRT", "Film.mkv", {}},
        {"Film.IDX", {"Film.sub"}, "srt", "SRT", {}, {}},
        {"Film.idx", {"Film.SUB", "Film.ts"}, "srt", "SRT", "Film.ts", {}},
        {"Film.idx", {"film.sub"}, "srt", "SRT", {}, kNoPartner},
        // A folder of the picture file's name is no picture file.
        {"Film.idx", {"Film.SUB/"}, "srt", "SRT", {}, kNoPartner},
        {"Film.idx", {"Film.mkv"}, "srt", "SRT", "Film.mkv", kNoPartner},
        {"README", {}, "", "SRT", {}, kInvalid},
        {"Film.pgs", {}, "", "SRT", {}, kInvalid},
        {"Film.txt", {}, "", "SRT", {}, kInvalid},
        {"-my «film» 'x'.srt", {"-my «film» 'x'.mov"}, "srt", "SRT", "-my «film» 'x'.mov", {}},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE((row.name + " " + row.neighbours.join(',')).toStdString());
        const QString folder = makeFolder("case" + QString::number(n++));
        const bool ass = row.name.endsWith(".ass") || row.name.endsWith(".ssa");
        const QString file =
            writeFile(QDir(scratch.path()).relativeFilePath(folder) + "/" + row.name,
                      ass ? assText() : srtOfLines(1));
        for (const QString& neighbour : row.neighbours) {
            if (neighbour.startsWith('@'))
                QFile::link(folder, folder + "/" + neighbour.mid(1));
            else if (neighbour.endsWith('/'))
                QDir().mkpath(folder + "/" + neighbour);
            else
                writeFile(QDir(scratch.path()).relativeFilePath(folder) + "/" + neighbour, "x");
        }
        SCMainWindowController* controller = open(file);
        ASSERT_TRUE(controller);
        const QPointer<SCMainWindowController> alive(controller);
        EXPECT_EQ(controller->window()->windowTitle(), row.name);
        EXPECT_EQ(controller->exportType(), row.exportType);
        EXPECT_EQ(controller->previewFilePath(),
                  row.movie.isEmpty() ? QString() : folder + "/" + row.movie);
        if (row.tab == "srt") {
            EXPECT_EQ(controller->currentViewController(), controller->srtViewController());
            EXPECT_EQ(controller->mainTabView()->currentWidget(), controller->srtTabViewItem());
        } else if (row.tab == "ass") {
            EXPECT_EQ(controller->currentViewController(), controller->assViewController());
            EXPECT_EQ(controller->mainTabView()->currentWidget(), controller->assTabViewItem());
        } else {
            EXPECT_FALSE(controller->currentViewController());
        }
        if (row.sheet.isEmpty()) {
            AppFixture::drain(700);
            EXPECT_TRUE(shownBoxes().isEmpty())
                << shownBoxes().value(0)->informativeText().toStdString();
            EXPECT_TRUE(controller->window()->isVisible());
            EXPECT_TRUE(delegate->openWindowControllers().contains(controller));
        } else {
            const auto answered = answerBox("OK");
            ASSERT_TRUE(answered);
            EXPECT_EQ(answered->text, "Quillmar Can Not Open This File");
            EXPECT_EQ(answered->informativeText, row.sheet);
            EXPECT_EQ(answered->buttons, QStringList{"OK"});
            EXPECT_EQ(answered->modality, Qt::WindowModal);
            EXPECT_FALSE(delegate->openWindowControllers().contains(controller));
            collect();
            EXPECT_FALSE(alive);
        }
        if (alive) alive->cancelButton();
        collect();
    }
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
}

TEST_F(Loading, AWindowClosedBeforeItsSheetLeavesNothingBehind) {
    SCMainWindowController* controller = open(writeFile("README", "x"));
    const QPointer<SCMainWindowController> alive(controller);
    controller->cancelButton();
    collect();
    EXPECT_FALSE(alive);
    AppFixture::drain(800);
    EXPECT_TRUE(shownBoxes().isEmpty());
}

}  // namespace
