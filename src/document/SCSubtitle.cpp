#include "document/SCSubtitle.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThread>
#include <cstring>

#include "common/HelperFunctions.h"
#include "common/NotificationTypes.h"
#include "document/DocumentFormat.h"
#include "document/ParallelLineParse.h"
#include "document/SubtitleFileText.h"
#include "encodings/myEncodings.h"
#include "formatting/SCStyle.h"
#include "platform/FreeMemory.h"
#include "platform/MainQueue.h"
#include "platform/OperationQueue.h"
#include "platform/TemporaryFolder.h"
#include "platform/TextCodec.h"

namespace {

const QString kInitializingLabel = QStringLiteral("Initializing Subtitle");

QString nameOf(notificationTypes type) {
    return type.rawValue();
}

}  // namespace

SCSubtitle::SCSubtitle()
    : openSubtitleQueue_(
          std::make_unique<platform::OperationQueue>(QStringLiteral("Open Subtitle Queue"), 2)) {
    auto handler = [this](const platform::Notification& n) { notificationHub(n); };
    timeChangedObserver_ =
        platform::NotificationObserver(nameOf(notificationTypes::timeChanged), handler);
    imageLineObserver_ = platform::NotificationObserver(
        nameOf(notificationTypes::imageSubSCSubtitleLineCreated), handler);
}

SCSubtitle::~SCSubtitle() {
    // Observers go first: once removed, no handler can reach this object.
    timeChangedObserver_.reset();
    imageLineObserver_.reset();
}

void SCSubtitle::setSubtitleLinesArray(const SCSubtitleLineList& lines) {
    subtitleLinesArray_ = lines;
    loadState_.setLineCount(lines.size());
    emit subtitleLinesArrayChanged();
}

void SCSubtitle::setIsInitializing(bool value) {
    isInitializing_ = isCyclingEncodings_ ? true : value;
    emit isInitializingChanged();
}

void SCSubtitle::setProgressLabel(const QString& value) {
    progressLabel_ = value;
    emit progressLabelChanged();
}

void SCSubtitle::setIsImageBased(bool value) {
    isImageBased_ = value;
    emit isImageBasedChanged();
}

void SCSubtitle::setSubtitleStylesArray(const SCStyleList& styles) {
    subtitleStylesArray_ = styles;
    emit subtitleStylesArrayChanged();
}

void SCSubtitle::setTimeConflictsCount(qint64 value) {
    timeConflictsCount_ = value;
    emit timeConflictsCountChanged();
}

QString SCSubtitle::subtitleExportName() const {
    const QUrl url = loadState_.fileURL();
    if (url.isEmpty()) return {};
    QString name = QFileInfo(url.path()).fileName();
    // A leading point starts a hidden name, not an extension.
    const qsizetype point = name.lastIndexOf(u'.');
    if (point > 0) name.truncate(point);
    return name + QStringLiteral(".export.") + currentExportFileType_.rawValue();
}

QMap<QString, QString> SCSubtitle::srtScriptInfoDefaults() {
    return {{"ScriptType", "v4.00+"},
            {"Timer", "100.0000"},
            {"Collisions", "Normal"},
            {"PlayResX", "720"},
            {"PlayResY", "640"}};
}

void SCSubtitle::notificationHub(const platform::Notification& notification) {
    if (notification.name == nameOf(notificationTypes::timeChanged))
        findTimeConflicts();
    else if (notification.name == nameOf(notificationTypes::imageSubSCSubtitleLineCreated))
        takeImageLine(notification);
}

// --- Loading -------------------------------------------------------------------

void SCSubtitle::onMainThread(std::function<void(SCSubtitle&)> block, bool queued) {
    auto run = [self = shared_from_this(), block = std::move(block)] { block(*self); };
    if (queued)
        platform::MainQueue::post(std::move(run));
    else
        doOnMainThread(std::move(run));
}

// A failed read is not logged here: a read in one encoding is often one
// attempt of several, and only the caller knows when the load as a whole
// has failed.
resultTypes SCSubtitle::failLoad(const DocumentFailure& failure, bool busyOff) {
    loadState_.setLastFailure(failure);
    if (busyOff) onMainThread([](SCSubtitle& s) { s.setIsInitializing(false); });
    return resultTypes::error;
}

resultTypes SCSubtitle::initializeFromTextSubURL(const QUrl& url, const QString& withEncoding) {
    imageLineObserver_.reset();
    onMainThread([](SCSubtitle& s) {
        s.setIsImageBased(false);
        s.setProgressLabel(kInitializingLabel);
    });
    loadState_.setFileURL(url);
    loadState_.setImportEncoding(withEncoding);
    loadState_.setValid(false);

    ParallelLineParse::prepareForFile(QFileInfo(url.toLocalFile()).size());
    std::optional<QString> text = decodedFile();
    if (!text) return resultTypes::error;
    onMainThread([](SCSubtitle& s) { s.setIsInitializing(true); });

    const DocumentFormat* format = DocumentFormat::forType(subtitleFileType_);
    DocumentFailure failure{
        DocumentFailure::Kind::notAText, url.toLocalFile(), withEncoding, 0, {}};
    if (!format) return failLoad(failure, true);
    DocumentContent content = format->read(std::move(*text), false);
    text.reset();
    // The program's end cut the parse short: none of it is kept.
    if (platform::OperationQueue::stopping()) return failLoad({}, true);
    if (std::size_t(content.lines.size()) >= ParallelLineParse::kMinimumForThreads)
        platform::releaseFreePages();  // the cues' lines, freed among the new lines
    takeLoadState(content);
    // A file without one readable cue or event is no subtitle in this
    // encoding (an empty file included); an ASS script whose events section
    // is empty is an empty document.
    failure.kind = DocumentFailure::Kind::noReadableLine;
    if (!content.readable || (content.lines.isEmpty() && !content.keepsEmpty))
        return failLoad(failure, true);
    loadState_.setLastFailure({});
    publish(std::move(content.lines), std::move(content.styles));
    return resultTypes::ok;
}

void SCSubtitle::takeLoadState(const DocumentContent& content) {
    if (content.scriptInfo) loadState_.setScriptInfo(*content.scriptInfo);
    if (content.styleHeader) loadState_.setStyleHeader(*content.styleHeader);
    if (content.readable) loadState_.setKeptSections(content.keptSections);
}

std::optional<QString> SCSubtitle::decodedFile() {
    DocumentFailure failure;
    auto text = SubtitleFileText::read(loadState_.fileURL().toLocalFile(),
                                       loadState_.importEncoding(), failure);
    if (!text) loadState_.setLastFailure(failure);
    return text;
}

void SCSubtitle::publish(SCSubtitleLineList lines, std::optional<SCStyleList> styles) {
    onMainThread(
        [lines = std::move(lines), styles = std::move(styles)](SCSubtitle& s) {
            s.setSubtitleStylesArray(styles ? *styles : SCStyleList{std::make_shared<SCStyle>()});
            s.setSubtitleLinesArray(lines);
            s.queueConflictSearch();
            s.setProgressLabel(QString());
            s.setIsInitializing(false);
            emit s.loadPublished();
        },
        true);
    loadState_.setValid(true);
}

void SCSubtitle::queueConflictSearch() {
    // The times are copied here, on the main thread; only the search itself
    // runs on the queue. The queue's threads hold neither the document nor
    // its lines, so neither can be released there (a document released on
    // its own queue would wait for itself); results come back to the lines
    // that still exist, on the main thread.
    auto snapshot = std::make_shared<const ConflictSnapshot>(conflictSnapshot());
    std::weak_ptr<SCSubtitle> weak = weak_from_this();
    openSubtitleQueue_->addOperation([weak, snapshot] {
        auto result =
            std::make_shared<TimeConflicts::Result>(TimeConflicts::search(snapshot->times));
        platform::MainQueue::post([weak, snapshot, result] {
            if (auto self = weak.lock()) self->applyConflicts(*snapshot, *result);
        });
    });
}

// --- Writing -------------------------------------------------------------------

QString SCSubtitle::documentText() const {
    const DocumentFormat* format = DocumentFormat::forType(currentExportFileType_);
    return format ? format->text(*this) : QString();
}

std::optional<QByteArray> SCSubtitle::encodedDocument(const QString& encodingName,
                                                      DocumentFormat::WriteNotes& notes) {
    const DocumentFormat* format = DocumentFormat::forType(currentExportFileType_);
    const QString text = format ? format->text(*this, &notes) : QString();
    DocumentFailure failure;
    auto bytes = SubtitleFileText::encode(text, encodingName, failure);
    // The user knows the line by its number in the table, not in a file
    // that was never written; a line of the header or the kept sections has none.
    if (!bytes && format && failure.line > 0)
        failure.documentLine = format->documentLineWriting(*this, text, failure.line);
    loadState_.setLastFailure(failure);
    return bytes;
}

void SCSubtitle::failWrite(DocumentFailure failure, const QString& logged) {
    if (failure.kind == DocumentFailure::Kind::none)
        failure.kind = DocumentFailure::Kind::unwritable;
    loadState_.setLastFailure(failure);
    qpl(QStringLiteral("error writing to file: ") + logged);
}

std::optional<resultTypes> SCSubtitle::writeInPieces(const QUrl& url, const QString& withEncoding,
                                                     DocumentFormat::WriteNotes& notes) {
    const DocumentFormat* format = DocumentFormat::forType(currentExportFileType_);
    auto encoder = SubtitleFileText::PieceEncoder::forEncoding(withEncoding);
    if (!format || !encoder || url.isEmpty()) return std::nullopt;
    QSaveFile file(url.toLocalFile());
    if (!file.open(QIODevice::WriteOnly)) return std::nullopt;
    bool encoded = true, written = true;
    const auto put = [&](const std::optional<QByteArray>& bytes) {
        if (!bytes) {
            encoded = false;
            return false;
        }
        // After a failed write the rest is still encoded: a text that cannot
        // be encoded is the reason given before a disk that is full.
        written = written && file.write(*bytes) == bytes->size();
        return true;
    };
    const bool whole =
        format->writeText(
            *this, [&](QString piece) { return put(encoder->encode(std::move(piece))); }, notes) &&
        put(encoder->finish());
    // A piece that cannot be encoded: the whole text names the line (the
    // temporary file is dropped, the old one stays).
    if (!whole || !encoded) return std::nullopt;
    if (written && file.commit()) {
        loadState_.setLastFailure({});
        DocumentFormat::logWritten(notes);
        return resultTypes::ok;
    }
    DocumentFailure failure;
    failure.path = url.toLocalFile();
    failure.detail = file.errorString();
    failWrite(failure, url.toString());
    return resultTypes::error;
}

resultTypes SCSubtitle::writeSubToURL(const QUrl& url, const QString& withEncoding) {
    // Text is encoded (and checked) before the file is replaced, which it is
    // only once every byte is written. Where the encoding allows, the text
    // is built, encoded and written piece by piece, so a large document's
    // text and bytes are never held whole; anything else, and every failure
    // other than a failed write, takes the whole text.
    DocumentFormat::WriteNotes notes;
    if (const auto result = writeInPieces(url, withEncoding, notes)) return *result;
    notes = {};
    const auto bytes = encodedDocument(withEncoding, notes);
    DocumentFailure failure = lastFailure();
    failure.path = url.toLocalFile();
    QSaveFile file(url.toLocalFile());
    const bool written = bytes && !url.isEmpty() && file.open(QIODevice::WriteOnly) &&
                         file.write(*bytes) == bytes->size() && file.commit();
    if (!written) {
        if (bytes) failure.detail = file.errorString();
        failWrite(failure, url.toString());
        return resultTypes::error;
    }
    loadState_.setLastFailure({});
    DocumentFormat::logWritten(notes);
    return resultTypes::ok;
}

std::optional<QUrl> SCSubtitle::exportTempSubtitleWithEncoding(const QString& encodingName) {
    const QString folder = platform::TemporaryFolder::path();
    DocumentFormat::WriteNotes notes;
    const auto bytes = encodedDocument(encodingName, notes);
    if (folder.isEmpty() || !bytes) {
        failWrite(lastFailure(), folder + QStringLiteral("quillmarExport."));
        return std::nullopt;
    }
    // The name is claimed with O_EXCL so no other file is ever replaced; a
    // number already taken is drawn again.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int number = QRandomGenerator::global()->bounded(1, 1000000);
        const QString path = folder + QStringLiteral("quillmarExport.") + QString::number(number) +
                             u'.' + currentExportFileType_.rawValue();
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        const QUrl url = QUrl::fromLocalFile(path);
        bool written = false;
        if (fd >= 0) {
            QFile file;
            written = file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
                      file.write(*bytes) == bytes->size() && file.flush();
            if (!file.isOpen()) ::close(fd);
        }
        if (written) {
            DocumentFormat::logWritten(notes);
            return url;
        }
        if (fd >= 0) ::unlink(native.constData());
        failWrite({DocumentFailure::Kind::unwritable, path, encodingName, 0,
                   QString::fromLocal8Bit(std::strerror(fd < 0 ? errno : EIO))},
                  url.toString());
        return std::nullopt;
    }
    failWrite({DocumentFailure::Kind::unwritable, folder, encodingName, 0,
               QStringLiteral("no free name")},
              QStringLiteral("no free name in ") + folder);
    return std::nullopt;
}

void SCSubtitle::logProperties() const {
    for (const auto& line : subtitleLinesArray_) line->logProperties();
}

// --- Time conflicts, shift and stretch -------------------------------------------

SCSubtitle::ConflictSnapshot SCSubtitle::conflictSnapshot() const {
    ConflictSnapshot snapshot;
    snapshot.lines.reserve(std::size_t(subtitleLinesArray_.size()));
    snapshot.times.reserve(std::size_t(subtitleLinesArray_.size()));
    for (const auto& line : subtitleLinesArray_) {
        snapshot.lines.push_back(line);
        snapshot.times.push_back(
            {line->userStartTimeDouble(), line->userEndTimeDouble(), line->isExcluded()});
    }
    return snapshot;
}

void SCSubtitle::applyConflicts(const ConflictSnapshot& snapshot,
                                const TimeConflicts::Result& result) {
    // Lines are addressed themselves, not by position, so a list changed
    // since the snapshot cannot put marks on the wrong lines.
    std::vector<SCSubtitleLinePtr> lines;
    lines.reserve(snapshot.lines.size());
    for (const auto& weakLine : snapshot.lines) lines.push_back(weakLine.lock());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i]) continue;
        lines[i]->setTimeConflict(QString());
        lines[i]->setEndOverlap(result.lines[i].endOverlap);
        lines[i]->setStartOverlap(result.lines[i].startOverlap);
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] && !result.lines[i].mark.isEmpty())
            lines[i]->setTimeConflict(result.lines[i].mark);
    setTimeConflictsCount(result.count);
}

void SCSubtitle::findTimeConflicts() {
    if (!platform::MainQueue::isMainThread()) {
        onMainThread([](SCSubtitle& s) { s.findTimeConflicts(); }, true);
        return;
    }
    const ConflictSnapshot snapshot = conflictSnapshot();
    applyConflicts(snapshot, TimeConflicts::search(snapshot.times));
}

void SCSubtitle::fixTimeConflicts() {
    // The marks shown may be older than the times (a shift or a stretch does
    // not search): the repair works from a search of the times as they are.
    const TimeConflicts::Result found = TimeConflicts::search(conflictSnapshot().times);
    std::vector<TimeConflicts::RepairLine> repair;
    repair.reserve(std::size_t(subtitleLinesArray_.size()));
    for (qsizetype i = 0; i < subtitleLinesArray_.size(); ++i) {
        const auto& line = subtitleLinesArray_[i];
        const TimeConflicts::LineResult& result = found.lines[std::size_t(i)];
        repair.push_back({line->userStartTimeDouble(), line->userEndTimeDouble(), result.mark,
                          result.endOverlap});
    }
    TimeConflicts::repair(repair);
    for (qsizetype i = 0; i < subtitleLinesArray_.size(); ++i) {
        subtitleLinesArray_[i]->setUserStartTimeDouble(repair[std::size_t(i)].start);
        subtitleLinesArray_[i]->setUserEndTimeDouble(repair[std::size_t(i)].end);
    }
    findTimeConflicts();
}

TimeAdjustment::Result SCSubtitle::shiftTimesByDoubleTime(double amount,
                                                          const QString& inDirection) {
    return TimeAdjustment::shift(subtitleLinesArray_, amount, inDirection);
}

TimeAdjustment::Result SCSubtitle::stretchTimesByDoubleTime(double amount,
                                                            const QString& inDirection) {
    return TimeAdjustment::stretch(subtitleLinesArray_, amount, inDirection);
}

// --- Re-reading in another encoding ----------------------------------------------

resultTypes SCSubtitle::reinitializeForNewEncoding(const QString& encodingName) {
    onMainThread([](SCSubtitle& s) { s.setProgressLabel(kInitializingLabel); });
    loadState_.setImportEncoding(encodingName);
    loadState_.setValid(false);
    std::optional<QString> text = decodedFile();
    if (!text) return resultTypes::error;
    onMainThread([](SCSubtitle& s) { s.setIsInitializing(true); });

    const DocumentFormat* format = DocumentFormat::forType(subtitleFileType_);
    DocumentFailure failure{
        DocumentFailure::Kind::notAText, loadState_.fileURL().toLocalFile(), encodingName, 0, {}};
    if (!format) return failLoad(failure, true);
    DocumentContent content = format->read(std::move(*text), true);
    text.reset();
    // The program's end cut the parse short: none of it is kept.
    if (platform::OperationQueue::stopping()) return failLoad({}, true);
    takeLoadState(content);
    failure.kind = DocumentFailure::Kind::noReadableLine;
    if (!content.readable || (content.lines.isEmpty() && !content.keepsEmpty))
        return failLoad(failure, true);
    loadState_.setLastFailure({});
    onMainThread([format, reread = std::move(content.lines)](
                     SCSubtitle& s) { s.handOverTexts(*format, reread); },
                 true);
    loadState_.setValid(true);
    return resultTypes::ok;
}

void SCSubtitle::handOverTexts(const DocumentFormat& format, const SCSubtitleLineList& reread) {
    // Only the positions both lists have: a file that changed on disk may
    // hold fewer or more cues than the document has lines.
    const qsizetype common = std::min(subtitleLinesArray_.size(), reread.size());
    for (qsizetype p = 0; p < common; ++p) format.takeText(*subtitleLinesArray_[p], *reread[p]);
    setProgressLabel(QString());
    setIsInitializing(false);
}

// --- Picture-subtitle intake -------------------------------------------------------

namespace {

std::mutex& importerFactoryMutex() {
    static std::mutex m;
    return m;
}
ImageSubImporter::Factory& importerFactory() {
    static ImageSubImporter::Factory factory;
    return factory;
}

}  // namespace

void SCSubtitle::setImageSubImporterFactory(ImageSubImporter::Factory factory) {
    std::lock_guard lock(importerFactoryMutex());
    importerFactory() = std::move(factory);
}

std::shared_ptr<ImageSubImporter> SCSubtitle::imageSubImporter() const {
    std::lock_guard lock(importerMutex_);
    return imageSubImporter_;
}

void SCSubtitle::setImageSubImporter(std::shared_ptr<ImageSubImporter> importer) {
    std::lock_guard lock(importerMutex_);
    imageSubImporter_ = std::move(importer);
}

resultTypes SCSubtitle::initializeFromImageSubURL(const QUrl& url) {
    auto self = shared_from_this();
    onMainThread([](SCSubtitle& s) {
        s.setIsImageBased(true);
        s.setSubtitleStylesArray({std::make_shared<SCStyle>()});
        s.setIsInitializing(true);
        s.setProgressLabel(kInitializingLabel);
    });
    loadState_.setFileURL(url);
    loadState_.setValid(false);

    ImageSubImporter::Factory factory;
    {
        std::lock_guard lock(importerFactoryMutex());
        factory = importerFactory();
    }
    auto importer = factory ? factory() : nullptr;
    resultTypes result = resultTypes::error;
    DocumentFailure failure;
    if (importer) {
        setImageSubImporter(importer);
        importer->setParentSubtitle(self);
        result = importer->importImageSubtitleURL(url);
        if (result == resultTypes::error) failure.detail = importer->failureReason();
        if (!failure.detail.isEmpty()) {
            failure.kind = DocumentFailure::Kind::toolFailed;
            failure.path = url.toLocalFile();
        }
    } else {
        qpl(QStringLiteral("no importer for picture subtitles"));
    }
    loadState_.setLastFailure(failure);
    // Every line result was queued on the main queue before the import
    // returned, so this block runs after all of them.
    onMainThread([](SCSubtitle& s) { s.finishImageIntake(); }, true);
    return result;
}

void SCSubtitle::takeImageLine(const platform::Notification& notification) {
    if (notification.userInfo.value(QStringLiteral("theSubtitle")).value<QObject*>() != this)
        return;
    const auto line =
        notification.userInfo.value(QStringLiteral("theSubtitleLine")).value<SCSubtitleLinePtr>();
    if (!line) return;
    const bool dropped = line->masterText().originalText() == u"CROP ERROR";
    SCSubtitleLineList waiting = outOfOrderImageSubLines_;
    const SCSubtitleLineList ready = imageLineIntake_.take(line, dropped, waiting);
    outOfOrderImageSubLines_ = waiting;
    appendLines(ready);
}

void SCSubtitle::appendLines(const SCSubtitleLineList& lines) {
    // One announced change per line, as bindings expect.
    for (const auto& line : lines) {
        SCSubtitleLineList grown = subtitleLinesArray_;
        grown.append(line);
        setSubtitleLinesArray(grown);
    }
}

void SCSubtitle::finishImageIntake() {
    imageLineObserver_.reset();
    // Lines still waiting for a number that never came are shown all the same.
    SCSubtitleLineList waiting = outOfOrderImageSubLines_;
    appendLines(imageLineIntake_.finish(waiting));
    outOfOrderImageSubLines_ = waiting;
    findTimeConflicts();
    setImageSubImporter(nullptr);
    setIsInitializing(false);
    setProgressLabel(QString());
}
