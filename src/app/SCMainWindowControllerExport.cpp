// The export type (which also chooses the editing view and its tab) and the
// export itself: to a file the user names, or to a temporary file handed to
// one of the maker's companion applications.
#include <QAbstractItemModel>
#include <QApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QTabWidget>
#include <QTableView>

#include "app/DocumentWindow.h"
#include "app/ExportLocation.h"
#include "app/PanelProvider.h"
#include "app/SCMainWindowController.h"
#include "app/Sheets.h"
#include "app/Workspace.h"
#include "common/HelperFunctions.h"
#include "document/DocumentFormat.h"
#include "document/SCSubtitle.h"
#include "editor/SCViewControllerASS.h"
#include "editor/SCViewControllerSRT.h"
#include "tools/SCPreferences.h"
#include "ui_MainWindow.h"

namespace {

// The informative text of the export failure sheet: the reason the document
// gives for its last failed write, in the user's terms.
QString exportFailureText(const DocumentFailure& failure) {
    using Kind = DocumentFailure::Kind;
    if (failure.kind == Kind::unencodable && !failure.encoding.isEmpty()) {
        // The line as the lines table numbers it.
        const QString what = failure.documentLine > 0
                                 ? "Line " + QString::number(failure.documentLine)
                                 : QStringLiteral("The export");
        return what + " cannot be written in the encoding \"" + failure.encoding +
               "\". Choose another export encoding in the preferences, or change the text.";
    }
    if (failure.kind == Kind::unwritable && !failure.path.isEmpty()) {
        QString text = "\"" + failure.path + "\" could not be written";
        if (!failure.detail.isEmpty()) text += ": " + failure.detail;
        return text + ". Check the folder and its permissions.";
    }
    return QStringLiteral("Check the folder's permissions and the export encoding.");
}

}  // namespace

void SCMainWindowController::setExportType(const QString& value) {
    exportType_ = value;
    emit exportTypeChanged();
    exportTypeDidChange();
}

void SCMainWindowController::exportTypeDidChange() {
    // Nothing to switch before the window and its views have loaded.
    if (!ui_ || !currentViewController_ || !currentViewController_->subtitleTable()) return;
    int row = currentViewController_->selectedRow();
    if (row < 0) row = 0;
    windowSubtitle_->setCurrentExportFileType(subtitleTypes::enumForExtension(exportType_));
    if (exportType_ == QLatin1String("SRT")) {
        currentViewController_ = srtViewController_.get();
        ui_->mainTabView->setCurrentWidget(ui_->srtTabViewItem);
    } else {
        srtViewController_->closeImageSubPopover();
        currentViewController_ = assViewController_.get();
        ui_->mainTabView->setCurrentWidget(ui_->assTabViewItem);
    }
    currentViewController_->setUpdateImportEncodingSilently(true);
    currentViewController_->setImportEncoding(windowSubtitle_->currentImportEncoding());
    currentViewController_->reloadData();
    selectRowWithoutExtending(row == 0 ? 1 : row - 1);
    selectRowWithoutExtending(row);
    QTableView* table = currentViewController_->subtitleTable();
    if (row < table->model()->rowCount()) table->scrollTo(table->model()->index(row, 0));
}

void SCMainWindowController::selectRowWithoutExtending(int row) {
    QTableView* table = currentViewController_->subtitleTable();
    QAbstractItemModel* model = table->model();
    if (row < 0 || row >= model->rowCount()) return;
    table->selectionModel()->setCurrentIndex(
        model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// --- Export ------------------------------------------------------------------------

QString SCMainWindowController::exportEncoding() const {
    const auto panel = appPreferences()->preferencePanelDictionary();
    const QVariant name = panel ? panel->value(QStringLiteral("exportEncoding")) : QVariant();
    return name.typeId() == QMetaType::QString ? name.toString() : QStringLiteral("UTF8");
}

void SCMainWindowController::commitPendingEdits() {
    if (!window_) return;
    QWidget* focus = QApplication::focusWidget();
    if (focus && window_->isAncestorOf(focus)) focus->clearFocus();
    window_->setFocus();
}

void SCMainWindowController::exportButton(QObject*) {
    commitPendingEdits();
    const QString encoding = exportEncoding();
    if (exportDestination_ == QLatin1String("Disk"))
        exportToDisk(encoding);
    else
        exportToApplication(encoding);
}

void SCMainWindowController::exportToDisk(const QString& encoding) {
    if (!services_.panels) return;
    // The panel opens beside the document, not where the program started.
    const QUrl document = windowSubtitle_->subtitleFileURL();
    const auto chosen = services_.panels->runSavePanel(
        {QStringLiteral("Save As"), windowSubtitle_->subtitleExportName(),
         document.isLocalFile() ? QFileInfo(document.toLocalFile()).absolutePath() : QString()});
    if (!chosen) return;
    const QString path = exportPathForChoice(*chosen, windowSubtitle_->currentExportFileType());
    // The panel asked about the name the user typed; a name grown by the
    // extension may be another file, which must not be replaced unasked.
    if (path != *chosen && QFileInfo::exists(path) &&
        !Sheets::askApplicationModal(
            "\"" + QFileInfo(path).fileName() + "\" already exists. Do you want to replace it?",
            QStringLiteral("The export type's extension was added to the name you chose. "
                           "Replacing the file overwrites what it holds.")))
        return;
    if (windowSubtitle_->writeSubToURL(QUrl::fromLocalFile(path), encoding) != resultTypes::ok)
        showExportFailure();
    else
        markDocumentExported();
}

void SCMainWindowController::showExportFailure() {
    if (!window_) return;
    Sheets::showWarning(window_.get(), QStringLiteral("Quillmar Could Not Export This File"),
                        exportFailureText(windowSubtitle_->lastFailure()));
}

void SCMainWindowController::exportToApplication(const QString& encoding) {
    const QString destination = exportDestination_;
    const auto panel = appPreferences()->preferencePanelDictionary();
    const QString key = destination.left(1).toLower() + destination.mid(1) + "Path";
    const QVariant stored = panel ? panel->value(key) : QVariant();
    const QString location = stored.typeId() == QMetaType::QString ? stored.toString() : QString();
    const auto temporary = windowSubtitle_->exportTempSubtitleWithEncoding(encoding);
    if (!temporary) {
        showExportFailure();
        return;
    }
    const QString file = temporary->toLocalFile();
    bool launched = false;
    if (services_.workspace) {
        if (!location.isEmpty())
            launched = services_.workspace->openFileWithApplicationAt(file, location);
        if (!launched)
            launched = services_.workspace->openFileWithApplicationNamed(file, destination);
    }
    const bool pathSet = !location.isEmpty();
    if (!launched)
        doOnMainThread([this, destination, pathSet] { showLaunchFailure(destination, pathSet); });
}

void SCMainWindowController::showLaunchFailure(const QString& destination, bool pathSet) {
    if (!window_) return;
    // The preferences show "Not set" for a missing path: an invalid one is
    // not what the user would look for there.
    const QString informative =
        pathSet ? "The path to " + destination + " in the preferences appears to be invalid."
                : "No path to " + destination + " is set, and no application named " + destination +
                      " was found. Set the path under Companion Applications in the "
                      "preferences (Quillmar › Preferences…).";
    QPointer<QMessageBox> box =
        Sheets::showWarning(window_.get(), destination + " Could Not Be Launched", informative);
    // Ends this alert only, and only while it is still up.
    delay(10.0, [box] {
        if (box) box->done(0);
    });
}

// --- Changes since the load or the last export --------------------------------------

namespace {

// The document as both of its forms write it: every line's times, text and
// inclusion, and the styles and script information of the ASS form.
QByteArray fingerprint(const SCSubtitle& subtitle) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    DocumentFormat::WriteNotes notes;  // nothing is written: nothing to log
    for (const subtitleTypes type : {subtitleTypes::srt, subtitleTypes::ass})
        if (const DocumentFormat* format = DocumentFormat::forType(type))
            format->writeText(
                subtitle,
                [&hash](const QString& piece) {
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(piece.utf16()),
                                                piece.size() * qsizetype(sizeof(char16_t))));
                    return true;
                },
                notes);
    return hash.result();
}

}  // namespace

void SCMainWindowController::documentLoadPublished() {
    // Taken once, from the first load published: a read that failed before
    // it, in another encoding, showed nothing, and a re-read in another
    // encoding later is a change like any other. A picture document's text
    // is the OCR's, held nowhere else: it counts as changed until it has been
    // exported.
    if (!exportedFingerprint_ && !windowSubtitle_->subtitleFileType().isImageBased())
        markDocumentExported();
}

void SCMainWindowController::markDocumentExported() {
    exportedFingerprint_ = fingerprint(*windowSubtitle_);
}

bool SCMainWindowController::hasUnexportedChanges() const {
    if (!exportedFingerprint_) return !windowSubtitle_->subtitleLinesArray().isEmpty();
    return fingerprint(*windowSubtitle_) != *exportedFingerprint_;
}
