#include "editor/DocumentOpening.h"

#include <QFile>
#include <QWidget>

#include "common/HelperFunctions.h"
#include "common/NotificationTypes.h"
#include "document/SCSubtitle.h"
#include "editor/SCMainViewController.h"
#include "editor/SheetAlert.h"
#include "editor/SubtitleReads.h"
#include "encodings/DetectedCharsets.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"
#include "tools/SCPreferences.h"

namespace {

using ViewPointer = QPointer<SCMainViewController>;
using SubtitlePointer = std::shared_ptr<SCSubtitle>;
using SharedPointer = std::shared_ptr<DocumentOpening::Shared>;

const QString kQuestion =
    QStringLiteral("All Edits for the Current Subtitle Will Be Lost!  Continue?");

// Whether the reads should go no further: their view has gone, or the
// program is ending and waits for them.
bool stopped(const SharedPointer& shared) {
    return shared->cancelled || platform::OperationQueue::stopping();
}

// Runs on the main thread if the view is still there.
void onMain(const ViewPointer& view, std::function<void(SCMainViewController&)> step) {
    platform::MainQueue::post([view, step = std::move(step)] {
        if (view) step(*view);
    });
}

void silentUpdate(SCMainViewController& view, const QString& name) {
    view.setUpdateImportEncodingSilently(true);
    view.setImportEncoding(name);
}

QWidget* windowOf(const SCMainViewController& view) {
    return view.viewWindowController() ? view.viewWindowController()->window() : nullptr;
}

// The open-failure sheet, with the reason a tool gave when there is one;
// its answer has the window closed.
void showOpenFailure(SCMainViewController& view, const QString& reason = {}) {
    QWidget* window = windowOf(view);
    if (!window) return;
    const ViewPointer guarded = &view;
    const QPointer<QWidget> guardedWindow = window;
    SheetAlert::begin(
        window, QStringLiteral("Quillmar Can Not Open This File"),
        reason.isEmpty() ? QStringLiteral("Check to see if this is a valid subtitle file.")
                         : reason,
        {QStringLiteral("OK")}, [guarded, guardedWindow](SheetAlert::Answer) {
            if (!guarded || !guardedWindow) return;
            platform::NotificationCenter::defaultCenter().post(
                notificationTypes(notificationTypes::subInitializationError).rawValue(),
                guarded.data(),
                {{QStringLiteral("theWindow"),
                  QVariant::fromValue<QObject*>(guardedWindow.data())}});
        });
}

// The file's first bytes, for the charset detector.
QByteArray leadingBytes(const QUrl& url) {
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(256 * 1024);
}

// A 7-bit form with escapes (ISO-2022) decodes in UTF-8 and ASCII too, its
// escapes and shifts left in the text as controls: where the file holds an
// escape and the detection names such a form, that form is read first.
std::optional<QString> escapedForm(const QUrl& url) {
    const QByteArray bytes = leadingBytes(url);
    if (!bytes.contains('\x1B')) return std::nullopt;
    const auto name = DetectedCharsets::catalogueNameForBytes(bytes);
    if (!name || !name->startsWith(QLatin1String("ISO_2022"))) return std::nullopt;
    return name;
}

// A file that is missing, a folder or unreadable fails the same way in every
// encoding: only a failure of the bytes themselves sends the cycle on. A
// failure without a stated cause (a read that says nothing) keeps cycling.
bool worthAnotherEncoding(const SCSubtitle& subtitle) {
    const DocumentFailure failure = subtitle.lastFailure();
    return !failure || failure.worthAnotherEncoding();
}

// One log line for a read that failed as a whole, with the reason of its
// last attempt; the encodings tried on the way log nothing.
void logLoadFailure(const SCSubtitle& subtitle) {
    qpl(QStringLiteral("load failed: ") + subtitle.lastFailure().description());
}

// Tries the catalogue's encodings after `startName` in turn (on opening, the
// detected one first), until one reads the file. Queue thread.
resultTypes cycleInputEncodings(const ViewPointer& view, const SubtitlePointer& subtitle,
                                const SharedPointer& shared, const QString& startName,
                                bool hasLines, bool guessFirst, QString& succeeded) {
    platform::MainQueue::post([subtitle] {
        subtitle->setIsCyclingEncodings(true);
        subtitle->setIsInitializing(true);
    });
    const bool wasValid = subtitle->subtitleIsValid();
    const QUrl url = subtitle->subtitleFileURL();
    const QStringList& names = shared->names;
    // A name outside the catalogue starts before the first: every name once.
    const qsizetype start = names.indexOf(startName);
    QStringList candidates = names.mid(start + 1) + names.mid(0, start + 1);
    // On opening, the detector's guess goes first, unless it is the name the
    // cycle moves away from (tried last, as ever). A press of the button
    // moves on from the name shown: with the guess first again, every other
    // press would come back to it.
    if (const auto detected =
            guessFirst ? DetectedCharsets::catalogueNameForBytes(leadingBytes(url)) : std::nullopt;
        detected && *detected != startName && candidates.contains(*detected)) {
        candidates.removeOne(*detected);
        candidates.prepend(*detected);
    }
    resultTypes result = resultTypes::error;
    for (const QString& name : candidates) {
        if (stopped(shared)) break;
        onMain(view, [name](SCMainViewController& v) { silentUpdate(v, name); });
        result = hasLines ? shared->reads->reinitializeForNewEncoding(*subtitle, name)
                          : shared->reads->initializeFromTextSubURL(*subtitle, url, name);
        if (result != resultTypes::error) {
            succeeded = name;
            break;
        }
        if (!worthAnotherEncoding(*subtitle)) {
            // Ends where a full cycle ends: on the name it started from.
            subtitle->setCurrentImportEncoding(startName);
            onMain(view, [startName](SCMainViewController& v) { silentUpdate(v, startName); });
            break;
        }
    }
    // A cycle that found nothing leaves the document's validity as it was.
    if (result == resultTypes::error && hasLines) subtitle->setSubtitleIsValid(wasValid);
    platform::MainQueue::post([subtitle] {
        subtitle->setIsCyclingEncodings(false);
        subtitle->setIsInitializing(false);
    });
    return result;
}

}  // namespace

DocumentOpening::DocumentOpening(SCMainViewController& view)
    : view_(view), shared_(std::make_shared<Shared>()) {
    shared_->reads = std::make_shared<SubtitleReads>();
    shared_->names = view.encodingNamesList();
}

DocumentOpening::~DocumentOpening() {
    shared_->cancelled = true;
}

void DocumentOpening::setReads(std::shared_ptr<SubtitleReads> reads) {
    shared_->reads = reads ? std::move(reads) : std::make_shared<SubtitleReads>();
}

bool DocumentOpening::documentCountsAsValid() const {
    if (pendingReads_ > 0) return validBeforeReads_;
    return view_.viewSubtitle() && view_.viewSubtitle()->subtitleIsValid();
}

void DocumentOpening::enqueue(std::function<void()> work) {
    // No read is running here (they all go through this queue), so the
    // document's flag can be read.
    if (pendingReads_++ == 0)
        validBeforeReads_ = view_.viewSubtitle() && view_.viewSubtitle()->subtitleIsValid();
    view_.viewControllerQueue().addOperation(std::move(work));
}

void DocumentOpening::readFinished(resultTypes result, const QString& encoding) {
    pendingReads_ = std::max(0, pendingReads_ - 1);
    if (result == resultTypes::ok && !encoding.isEmpty()) lastReadEncoding_ = encoding;
}

void DocumentOpening::openSubtitleURL(const QUrl& url) {
    const auto panel = SCMainViewController::appPreferences()->preferencePanelDictionary();
    const QVariant stored = panel ? panel->value(QStringLiteral("importEncoding")) : QVariant();
    if (stored.typeId() == QMetaType::QString) silentUpdate(view_, stored.toString());
    const SubtitlePointer subtitle = view_.viewSubtitle();
    if (!subtitle) return;
    const ViewPointer view = &view_;
    const SharedPointer shared = shared_;
    const QString encoding = view_.importEncoding();
    const bool hasLines = subtitle->subtitleLinesCount() > 0;
    enqueue([view, subtitle, shared, url, encoding, hasLines] {
        const subtitleTypes type = subtitle->subtitleFileType();
        resultTypes result = resultTypes::ok;
        QString readWith;
        if (type.isTextBased()) {
            const QString first = escapedForm(url).value_or(encoding);
            if (first != encoding)
                onMain(view, [first](SCMainViewController& v) { silentUpdate(v, first); });
            result = shared->reads->initializeFromTextSubURL(*subtitle, url, first);
            if (result == resultTypes::ok)
                readWith = first;
            else if (!stopped(shared) && worthAnotherEncoding(*subtitle))
                result =
                    cycleInputEncodings(view, subtitle, shared, encoding, hasLines, true, readWith);
            if (result == resultTypes::error) {
                if (!stopped(shared)) logLoadFailure(*subtitle);
                onMain(view, [](SCMainViewController& v) { showOpenFailure(v); });
            }
        } else if (type.isImageBased()) {
            onMain(view, [](SCMainViewController& v) { v.showImageSubPopover(); });
            result = shared->reads->initializeFromImageSubURL(*subtitle, url);
            if (result == resultTypes::error) {
                const DocumentFailure failure = subtitle->lastFailure();
                const QString reason =
                    failure.kind == DocumentFailure::Kind::toolFailed ? failure.detail : QString();
                onMain(view, [reason](SCMainViewController& v) {
                    v.closeImageSubPopover();
                    showOpenFailure(v, reason);
                });
            }
        }
        onMain(view, [result, readWith](SCMainViewController& v) {
            v.documentOpening().readFinished(result, readWith);
        });
    });
}

void DocumentOpening::queueCycle() {
    const SubtitlePointer subtitle = view_.viewSubtitle();
    if (!subtitle) return;
    const ViewPointer view = &view_;
    const SharedPointer shared = shared_;
    const QString start = view_.importEncoding();
    const bool hasLines = subtitle->subtitleLinesCount() > 0;
    enqueue([view, subtitle, shared, start, hasLines] {
        QString readWith;
        const resultTypes result =
            cycleInputEncodings(view, subtitle, shared, start, hasLines, false, readWith);
        if (result == resultTypes::error && !stopped(shared)) logLoadFailure(*subtitle);
        onMain(view, [result, readWith](SCMainViewController& v) {
            v.documentOpening().readFinished(result, readWith);
        });
    });
}

void DocumentOpening::askBeforeReading(std::function<void()> onOK,
                                       std::function<void()> otherwise) {
    QWidget* window = windowOf(view_);
    if (!window) {
        if (otherwise) otherwise();
        return;
    }
    SheetAlert::begin(
        window, kQuestion, QString(), {QStringLiteral("OK"), QStringLiteral("Cancel")},
        [onOK = std::move(onOK), otherwise = std::move(otherwise)](SheetAlert::Answer answer) {
            if (answer == SheetAlert::firstButton) {
                if (onOK) onOK();
            } else if (otherwise) {
                otherwise();
            }
        },
        SheetAlert::questionTimeout());
}

void DocumentOpening::cycleEncodingsButton() {
    if (!documentCountsAsValid()) {
        queueCycle();
        return;
    }
    const ViewPointer view = &view_;
    askBeforeReading(
        [view] {
            if (view) view->documentOpening().queueCycle();
        },
        {});
}

void DocumentOpening::importEncodingDidChange(const QString& previous) {
    if (!documentCountsAsValid()) {
        reinitializeSubtitleWithEncoding(view_.importEncoding(), true);
        return;
    }
    const ViewPointer view = &view_;
    askBeforeReading(
        [view] {
            // The name the pop-up shows when the answer comes.
            if (view) view->reinitializeSubtitleWithEncoding(view->importEncoding(), true);
        },
        [view, previous] {
            if (view) silentUpdate(*view, previous);
        });
}

void DocumentOpening::reinitializeSubtitleWithEncoding(const QString& name, bool withAlerts) {
    const SubtitlePointer subtitle = view_.viewSubtitle();
    if (!subtitle) return;
    if (lastReadEncoding_.isEmpty() && pendingReads_ == 0)
        lastReadEncoding_ = subtitle->currentImportEncoding();
    const ViewPointer view = &view_;
    const SharedPointer shared = shared_;
    enqueue([view, subtitle, shared, name, withAlerts] {
        if (stopped(shared)) return;
        const bool wasValid = subtitle->subtitleIsValid();
        const resultTypes result = shared->reads->reinitializeForNewEncoding(*subtitle, name);
        if (result == resultTypes::error) {
            logLoadFailure(*subtitle);
            subtitle->setSubtitleIsValid(wasValid);
        }
        onMain(view, [result, name, withAlerts, subtitle](SCMainViewController& v) {
            v.documentOpening().readFinished(result, name);
            if (result != resultTypes::error || !withAlerts) return;
            QWidget* window = windowOf(v);
            if (!window) return;
            const ViewPointer guarded = &v;
            SheetAlert::begin(
                window, QStringLiteral("The File Can Not be Opened With the Selected Encoding"),
                QStringLiteral("The original encoding will be used."), {QStringLiteral("OK")},
                [guarded, subtitle](SheetAlert::Answer) {
                    if (!guarded) return;
                    const QString old = guarded->documentOpening().lastReadEncoding_;
                    subtitle->setCurrentImportEncoding(old);
                    silentUpdate(*guarded, old);
                });
        });
    });
}
