// Loading of a document window: views into their tabs, the view and export
// type chosen by the file's extension, the preview movie and the VobSub
// picture file looked for beside the file, then the load, or a sheet that
// says the file cannot be opened and closes the window.
#include <QFileInfo>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/DocumentWindow.h"
#include "app/SCMainWindowController.h"
#include "app/Sheets.h"
#include "app/SubtitleNeighbours.h"
#include "common/AppVariables.h"
#include "common/HelperFunctions.h"
#include "common/SubtitleTypes.h"
#include "document/SCSubtitle.h"
#include "editor/SCViewControllerASS.h"
#include "editor/SCViewControllerSRT.h"
#include "ui_MainWindow.h"

namespace {

void putViewIntoTab(QWidget* tab, QWidget* view) {
    tab->layout()->addWidget(view);
    view->show();
}

}  // namespace

void SCMainWindowController::windowDidLoad() {
    const QFileInfo file(fileURL_.toLocalFile());
    window_->setWindowTitle(file.fileName());
    window_->setWindowDelegate(services_.windowDelegate);
    putViewIntoTab(ui_->srtTabViewItem, srtViewController_->view());
    putViewIntoTab(ui_->assTabViewItem, assViewController_->view());

    const QString extension = file.suffix();
    bool ok = !extension.isEmpty();
    if (ok) {
        const subtitleTypes type = subtitleTypes::enumForExtension(extension);
        windowSubtitle_->setSubtitleFileType(type);
        if (type == subtitleTypes::srt || type.isImageBased()) {
            currentViewController_ = srtViewController_.get();
            setExportType(QStringLiteral("SRT"));
            ui_->mainTabView->setCurrentWidget(ui_->srtTabViewItem);
        } else if (type == subtitleTypes::ass) {
            currentViewController_ = assViewController_.get();
            setExportType(QStringLiteral("ASS"));
            ui_->mainTabView->setCurrentWidget(ui_->assTabViewItem);
        } else {
            // A type the views cannot read (".pgs", which the Open panel
            // offers, or anything handed in from outside) gets the same
            // sheet as a name without extension.
            ok = false;
        }
        if (const auto movie = SubtitleNeighbours::findPreviewMovie(file.filePath()))
            setPreviewFilePath(*movie);
        if (type == subtitleTypes::vobsub &&
            !SubtitleNeighbours::hasVobSubPartner(file.filePath())) {
            const QString name = AppVariables::thisApplication.rawValue();
            showCanNotOpenSheet("You appear to be opening a VobSub subtitle, but " + name +
                                " could not find the matching " + QStringLiteral(".SUB") +
                                " file in the directory.");
            return;
        }
    }
    if (!ok) {
        showCanNotOpenSheet(QStringLiteral("Check to see if this is a valid subtitle file."));
        return;
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    currentViewController_->openSubtitleURL(fileURL_);
}

void SCMainWindowController::showCanNotOpenSheet(const QString& informative) {
    const QPointer<SCMainWindowController> self(this);
    doOnMainThread([self, informative] {
        delay(0.5, [self, informative] {
            if (!self || !self->window_ || self->window_->isClosed()) return;
            Sheets::showWarning(self->window_.get(),
                                QStringLiteral("Quillmar Can Not Open This File"), informative,
                                [self] {
                                    if (self && self->window_) self->window_->closeWindow();
                                });
        });
    });
}
