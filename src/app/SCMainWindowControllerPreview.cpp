// The movie preview: the document as it stands is written to a temporary
// file, the font cache is built if needed, and ffplay plays the movie from
// half a second before the selected line with that file as its subtitles.
// The waits run on the press's own queue, never on the main thread; the
// main thread removes the file, gives the button back and says why a movie
// did not play.
#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <atomic>

#include "app/DocumentWindow.h"
#include "app/FontconfigTesterSheet.h"
#include "app/PanelProvider.h"
#include "app/SCMainWindowController.h"
#include "app/Sheets.h"
#include "app/SubtitleNeighbours.h"
#include "common/HelperFunctions.h"
#include "document/SCSubtitle.h"
#include "editor/SCMainViewController.h"
#include "platform/MainQueue.h"
#include "tools/SCFontconfigTester.h"
#include "tools/SCMoviePlayer.h"

// One press of the play button. Its operations hold it and hand their
// reference to the main thread, so the queue is never released inside one of
// its own operations.
struct SCMainWindowController::PreviewRun {
    platform::OperationQueue queue{QString(), 1};
    platform::CancellationFlag stop = std::make_shared<std::atomic<bool>>(false);
    QString subtitlePath;
    QPointer<QAbstractButton> button;
    QPointer<SCMainWindowController> owner;
    std::shared_ptr<SCFontconfigTester> tester;

    // Main thread; may run more than once. The button comes back only while
    // there is a movie to play.
    void finish() {
        if (QFileInfo::exists(subtitlePath)) QFile::remove(subtitlePath);
        if (button && owner) button->setEnabled(owner->previewFileURL().has_value());
    }
};

void SCMainWindowController::selectPreviewFileButton(QObject*) {
    if (!services_.panels) return;
    const QPointer<SCMainWindowController> self(this);
    services_.panels->beginOpenPanel(
        {QStringLiteral("Select Preview File to Use:"), SubtitleNeighbours::movieExtensions()},
        [self](bool ok, const QString& path) {
            if (!ok) return;
            doOnMainThread([self, path] {
                if (self) self->setPreviewFilePath(path);
            });
        });
}

bool SCMainWindowController::isPreviewing() const {
    return preview_ != nullptr;
}

void SCMainWindowController::stopPreview() {
    if (!preview_) return;
    preview_->stop->store(true);
    preview_->finish();
    preview_.reset();
}

namespace {

double previewStartTime(const SCSubtitle& subtitle, const SCMainViewController* view) {
    int row = view ? view->selectedRow() : -1;
    if (row < 0) row = 0;
    const SCSubtitleLineList& lines = subtitle.subtitleLinesArray();
    // No lines yet, or a selection the lines have moved away from: the start.
    if (row >= lines.size()) return 0.0;
    const double start = lines.at(row)->userStartTimeDouble();
    return start > 0.5 ? start - 0.5 : 0.0;
}

}  // namespace

void SCMainWindowController::playPreviewFileButton(QAbstractButton* sender) {
    if (!previewFileURL() || preview_) return;
    commitPendingEdits();
    if (sender) sender->setEnabled(false);
    const auto temporary = windowSubtitle_->exportTempSubtitleWithEncoding(exportEncoding());
    if (!temporary) {
        if (sender) sender->setEnabled(true);
        showExportFailure();
        return;
    }
    const double start = previewStartTime(*windowSubtitle_, currentViewController_);

    auto run = std::make_shared<PreviewRun>();
    run->subtitlePath = temporary->toLocalFile();
    run->button = sender;
    run->owner = this;
    run->tester = SCFontconfigTester::make();
    run->tester->testFontconfigInWindow(std::make_shared<FontconfigTesterSheet>(window_.get()));
    preview_ = run;

    const QPointer<SCMainWindowController> self(this);
    run->queue.addOperation([run, self, start]() mutable {
        run->tester->waitUntilTestFinished();
        platform::MainQueue::post([run = std::move(run), self, start]() mutable {
            const bool current = self && self->preview_ == run && !run->stop->load();
            std::optional<QUrl> movie;
            if (current) movie = self->previewFileURL();
            if (!movie) {
                // Stopped, or the path was cleared while the cache was built.
                run->finish();
                if (self && self->preview_ == run) self->preview_.reset();
                return;
            }
            PreviewRun* queued = run.get();
            queued->queue.addOperation([run = std::move(run), self, movie, start]() mutable {
                // A typed path may name no file, or a folder: that is said
                // plainly, before ffplay is asked.
                const QString path = movie->toLocalFile();
                const QFileInfo file(path);
                const bool found = file.exists() && !file.isDir();
                SCMoviePlayer::Playback playback;
                if (found)
                    playback = SCMoviePlayer().playMovieUrl(
                        *movie, QUrl::fromLocalFile(run->subtitlePath), start, run->stop);
                platform::MainQueue::post(
                    [run = std::move(run), self, path, found, playback = std::move(playback)] {
                        run->finish();
                        if (!self || self->preview_ != run) return;
                        self->preview_.reset();
                        if (self->window_) self->showPlayFailure(path, found, playback);
                    });
            });
        });
    });
}

void SCMainWindowController::showPlayFailure(const QString& path, bool found,
                                             const SCMoviePlayer::Playback& playback) {
    using End = SCMoviePlayer::Playback::End;
    if (!found) {
        Sheets::showWarning(window_.get(), QStringLiteral("The Movie Can Not Be Found"),
                            "There is no movie file at \"" + path +
                                "\". Choose the movie with Select…, or correct its path.");
    } else if (playback.end == End::NotStarted) {
        Sheets::showWarning(window_.get(), QStringLiteral("ffplay Could Not Be Launched"),
                            QStringLiteral("Check that ffmpeg is installed."));
    } else if (playback.end == End::Failed) {
        // ffplay's own words: the user sees its window only for a moment.
        QString informative = "ffplay could not play \"" + path + "\"";
        if (playback.said.isEmpty())
            informative += " and ended with " + playback.ending + ".";
        else
            informative += ". It said:\n\n" + playback.said.join(u'\n');
        Sheets::showWarning(window_.get(), QStringLiteral("The Movie Can Not Be Played"),
                            informative);
    }
}
