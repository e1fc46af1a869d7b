#include "imagesubs/SCImageSubImporter.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QScopeGuard>

#include "common/HelperFunctions.h"
#include "common/NotificationTypes.h"
#include "common/SubtitleTypes.h"
#include "common/VobSubPartner.h"
#include "document/LinePicture.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "imagesubs/PgsLineTimes.h"
#include "imagesubs/SCImageSubLineConverter.h"
#include "imagesubs/SubPictureDuration.h"
#include "imagesubs/VobSubIndex.h"
#include "platform/MainQueue.h"
#include "tools/ChildEnvironments.h"
#include "tools/FfmpegReport.h"
#include "tools/MkvmergeCommand.h"
#include "tools/StreamReports.h"
#include "tools/TemporaryNames.h"
#include "tools/ToolLocation.h"

namespace {

std::atomic<qint64> nextImportNumber{1};

std::optional<QByteArray> readWholeFile(const QUrl& url) {
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

// The SUB file beside an index, as the document window pairs them; where
// there is none, the name mkvmerge would look for.
QUrl subFileBesideIndex(const QUrl& indexURL) {
    const QString index = indexURL.toLocalFile();
    return QUrl::fromLocalFile(
        VobSubPartner::pictureFileOf(index).value_or(VobSubPartner::plainPictureFileOf(index)));
}

void removeFile(const QUrl& url) {
    const QString path = url.toLocalFile();
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) QFile::remove(path);
}

// mkvmerge finds an index's picture file by name: the index's path with
// ".sub". When the SUB beside it is named otherwise ("Film.SUB"), the pair
// goes to mkvmerge as two links of matching names in the temporary folder
// (copies where no link can be made). None when the pair needs no help.
struct PairLinks {
    QUrl index, sub;
};
std::optional<PairLinks> linkedPair(const QUrl& indexURL) {
    if (subtitleTypes::enumForExtension(QFileInfo(indexURL.toLocalFile()).suffix()) !=
        subtitleTypes::vobsub)
        return std::nullopt;
    const QString sub = subFileBesideIndex(indexURL).toLocalFile();
    if (sub == VobSubPartner::plainPictureFileOf(indexURL.toLocalFile()) || !QFileInfo::exists(sub))
        return std::nullopt;
    const QUrl index = makeUniqueNSTempFileURL(QStringLiteral("vobSubPair"), QStringLiteral("idx"));
    const PairLinks links{
        index, QUrl::fromLocalFile(VobSubPartner::plainPictureFileOf(index.toLocalFile()))};
    const auto place = [](const QString& from, const QUrl& to) {
        const QString target = QFileInfo(from).absoluteFilePath();
        return QFile::link(target, to.toLocalFile()) || QFile::copy(target, to.toLocalFile());
    };
    if (place(indexURL.toLocalFile(), links.index) && place(sub, links.sub)) return links;
    removeFile(links.index);
    removeFile(links.sub);
    return std::nullopt;
}

QString nameOf(notificationTypes type) {
    return type.rawValue();
}

// The engine's words for the user, less its advice to set TESSDATA_PREFIX (a
// variable a desktop user cannot set for this program), and where to act
// instead.
QString unreadLinesText(const QString& engineWords) {
    QStringList words = engineWords.split(u'\n');
    words.removeIf([](const QString& line) { return line.contains(u"TESSDATA_PREFIX"); });
    return QStringLiteral("The OCR engine could not read any line:\n\n") + words.join(u'\n') +
           QStringLiteral(
               "\n\nAdd or reinstall the language under Quillmar › Preferences… "
               "(Language).");
}

QString ungrabbedLinesText(const QString& ffmpegWords) {
    return QStringLiteral("ffmpeg could not take the picture of any line:\n\n") + ffmpegWords;
}

}  // namespace

// --- Life cycle ---------------------------------------------------------------------

SCImageSubImporter::SCImageSubImporter()
    : importNumber_(nextImportNumber++),
      imageSubImporterQueue_(
          std::make_unique<platform::OperationQueue>(QStringLiteral("imageSubLineQueue"), 4)) {
    auto handler = [this](const platform::Notification& n) { notificationHub(n); };
    lineObserver_ =
        platform::NotificationObserver(nameOf(notificationTypes::imageSubLineImported), handler);
    blackDetectObserver_ =
        platform::NotificationObserver(nameOf(notificationTypes::blackDetectNewResult), handler);
}

std::shared_ptr<SCImageSubImporter> SCImageSubImporter::create() {
    return std::shared_ptr<SCImageSubImporter>(new SCImageSubImporter());
}

ImageSubImporter::Factory SCImageSubImporter::factory() {
    return [] { return std::static_pointer_cast<ImageSubImporter>(create()); };
}

SCImageSubImporter::~SCImageSubImporter() {
    // Once removed, no report can reach this object, on whatever thread.
    lineObserver_.reset();
    blackDetectObserver_.reset();
    cleanUp();
}

void SCImageSubImporter::setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle) {
    std::lock_guard lock(mutex_);
    parentSubtitle_ = subtitle;
}

std::weak_ptr<SCSubtitle> SCImageSubImporter::parentSubtitle() const {
    std::lock_guard lock(mutex_);
    return parentSubtitle_;
}

ImageSubTimeLimits SCImageSubImporter::timeLimits() const {
    std::lock_guard lock(mutex_);
    return timeLimits_;
}

void SCImageSubImporter::setTimeLimits(const ImageSubTimeLimits& limits) {
    std::lock_guard lock(mutex_);
    timeLimits_ = limits;
}

std::optional<QUrl> SCImageSubImporter::importedSubURL() const {
    std::lock_guard lock(mutex_);
    return importedSubURL_;
}

std::optional<QUrl> SCImageSubImporter::tempSubToMkvURL() const {
    std::lock_guard lock(mutex_);
    return tempSubToMkvURL_;
}

// --- Import -------------------------------------------------------------------------

resultTypes SCImageSubImporter::importImageSubtitleURL(const QUrl& url) {
    // Held until the line work is over, so that the last reference is never
    // dropped inside one of the queue's own operations.
    const auto self = shared_from_this();
    {
        std::lock_guard lock(importMutex_);
        // A window closed before its load started imports nothing.
        if (shouldCancelImport_) return resultTypes::error;
        importing_ = true;
    }
    // A cancel waits for this call to end: then no child and no file of it is left.
    const auto ended = qScopeGuard([this] {
        std::lock_guard lock(importMutex_);
        importing_ = false;
        importEnded_.notify_all();
    });
    const std::optional<QUrl> temporary = createTempVideoForSubURL(url);
    if (!temporary) return resultTypes::error;
    {
        std::lock_guard lock(mutex_);
        importedSubURL_ = url;
        tempSubToMkvURL_ = temporary;
    }
    tempSubToMkvStartTime_ = 0;
    // A cancel that came while the file was made found nothing to delete.
    if (!shouldCancelImport_) readReport(*temporary);
    if (!shouldCancelImport_) startEndTimesArray_ = findStartEndTimesForSubURL(url);
    if (!shouldCancelImport_) queueLines();
    imageSubImporterQueue_->waitUntilAllOperationsAreFinished();
    if (shouldCancelImport_) cleanUp();
    const bool unread = !shouldCancelImport_ && noLineRead();
    // After every line's report on the main queue: the lines still held.
    std::weak_ptr<SCImageSubImporter> weak = self;
    platform::MainQueue::post([weak] {
        if (const auto importer = weak.lock()) importer->finishCollection();
    });
    return unread ? resultTypes::error : resultTypes::ok;
}

QString SCImageSubImporter::failureReason() const {
    std::lock_guard lock(mutex_);
    return failureReason_;
}

void SCImageSubImporter::noteLine(const SCImageSubLineConverter& converter) {
    if (converter.ocrRead()) {
        ++linesRead_;
        return;
    }
    std::lock_guard lock(mutex_);
    if (const auto failure = converter.grabFailure()) {
        if (grabsFailed_++ == 0) firstGrabFailure_ = *failure;
    } else if (const auto failure = converter.ocrFailure()) {
        if (linesFailed_++ == 0) firstOcrFailure_ = *failure;
    }
}

bool SCImageSubImporter::noLineRead() {
    const int grabsFailed = grabsFailed_;
    const int ocrFailed = linesFailed_;
    if (grabsFailed == 0 && ocrFailed == 0) return false;
    std::lock_guard lock(mutex_);
    const qsizetype lines = startEndTimesArray_ ? startEndTimesArray_->size() : 0;
    QStringList failures;
    if (grabsFailed > 0)
        failures.append(
            QStringLiteral("Picture grab failed on %1 of %2 lines: ").arg(grabsFailed).arg(lines) +
            firstGrabFailure_);
    if (ocrFailed > 0)
        failures.append(QStringLiteral("OCR failed on %1 of %2 lines: ").arg(ocrFailed).arg(lines) +
                        firstOcrFailure_);
    qpl(failures.join(u'\n'));
    // Lines whose picture the engine could not read come with an empty
    // text; when none could be read, the import has nothing to show and says
    // why: the engine's words when it ran, else ffmpeg's.
    if (linesRead_ > 0) return false;
    failureReason_ =
        ocrFailed > 0 ? unreadLinesText(firstOcrFailure_) : ungrabbedLinesText(firstGrabFailure_);
    return true;
}

std::optional<QUrl> SCImageSubImporter::createTempVideoForSubURL(const QUrl& url) {
    const QUrl target =
        makeUniqueNSTempFileURL(QStringLiteral("tempVideoForSubURL"), QStringLiteral("mkv"));
    const auto program = urlOfApp(QStringLiteral("mkvmerge"));
    if (!program) return std::nullopt;
    // The links serve this run only: the Matroska file holds the pictures.
    const std::optional<PairLinks> links = linkedPair(url);
    const QUrl source = links ? links->index : url;
    const ToolRunResult run = runToolProcess(
        program->toLocalFile(), mkvmergeArguments(target.toLocalFile(), source.toLocalFile()),
        updateTaskEnvironmentDictionaryForBinary(QStringLiteral("mkvmerge"),
                                                 platform::ChildProcess::currentEnvironment()),
        {timeLimits().mkvmerge, cancellation_});
    if (links) {
        removeFile(links->index);
        removeFile(links->sub);
    }
    if (mkvmergeOutcome(run) == MkvmergeOutcome::Failed) {
        removeFile(target);
        return std::nullopt;
    }
    if (!QFileInfo::exists(target.toLocalFile())) return std::nullopt;
    return target;
}

void SCImageSubImporter::readReport(const QUrl& temporaryFile) {
    const auto report = findFfmpegFileInfo(temporaryFile, {timeLimits().report, cancellation_});
    if (!report) return;
    const FfmpegFileInfo info = parseFfmpegFileInfo(*report);
    if (info.size) tempSubToMkvResolution_ = {info.size->width, info.size->height};
    tempSubToMkvStartTime_ = info.startTime;
}

void SCImageSubImporter::queueLines() {
    if (!startEndTimesArray_) return;
    const TimePairList times = *startEndTimesArray_;
    const std::optional<QUrl> temporary = tempSubToMkvURL();
    const std::weak_ptr<SCImageSubImporter> weak = weak_from_this();
    for (qsizetype i = 0; i < times.size(); ++i) {
        if (shouldCancelImport_) break;
        const bool isLast = i + 1 == times.size();
        // The import holds the importer until the queue is idle.
        imageSubImporterQueue_->addOperation([weak, i, pair = times[i], temporary, isLast] {
            SCImageSubLineConverter converter(weak);
            converter.importLineNumber(i, pair.start, pair.end, temporary.value_or(QUrl()), isLast);
            if (const auto importer = weak.lock()) importer->noteLine(converter);
        });
    }
}

void SCImageSubImporter::cancelImport() {
    imageSubImporterQueue_->cancelAllOperations();
    {
        std::lock_guard lock(importMutex_);
        shouldCancelImport_ = true;
    }
    cancellation_->store(true);
    imageSubImporterQueue_->waitUntilAllOperationsAreFinished();
    // The import itself may still be stopping mkvmerge or a report; it
    // never waits for the main thread.
    {
        std::unique_lock lock(importMutex_);
        importEnded_.wait(lock, [this] { return !importing_; });
    }
    cleanUp();
}

void SCImageSubImporter::cleanUp() {
    if (const auto temporary = tempSubToMkvURL()) removeFile(*temporary);
}

// --- Line times ---------------------------------------------------------------------

std::optional<TimePairList> SCImageSubImporter::findStartEndTimesForSubURL(const QUrl& url) {
    const subtitleTypes kind = subtitleTypes::enumForExtension(QFileInfo(url.path()).suffix());
    if (kind == subtitleTypes::vobsub) return vobSubLineTimes(url);
    if (kind != subtitleTypes::pgs) return std::nullopt;
    const std::optional<QByteArray> sup = readWholeFile(url);
    if (!sup) return TimePairList();
    return pgsLineTimes(*sup);
}

std::optional<TimePairList> SCImageSubImporter::vobSubLineTimes(const QUrl& indexURL) {
    const std::optional<QByteArray> bytes = readWholeFile(indexURL);
    if (!bytes) return std::nullopt;
    VobSubIndex index = readVobSubIndex(*bytes);
    if (index.streamID) streamID_ = *index.streamID;

    const qsizetype count = index.times.size();
    if (count > 0) {
        const QUrl subURL = subFileBesideIndex(indexURL);
        sharedSubFile_ = SubFile{subURL, readWholeFile(subURL)};
        // The last picture's packs run to the end of the file; its stop date
        // is there as every other one's.
        const qint64 subEnd = sharedSubFile_->bytes ? sharedSubFile_->bytes->size() : 0;
        for (qsizetype i = 0; i < count; ++i) {
            const qint64 next = i + 1 < count ? index.positions[i + 1] : subEnd;
            const auto duration = readSubAtURL(subURL, index.positions[i], next);
            if (duration) index.times[i].end = index.times[i].start + *duration;
        }
        sharedSubFile_.reset();
    }
    repairEndTimes(index.times);
    return index.times;
}

std::optional<double> SCImageSubImporter::readSubAtURL(const QUrl& url, qint64 startingAt,
                                                       qint64 andEndingAt) {
    if (sharedSubFile_ && sharedSubFile_->url == url) {
        if (!sharedSubFile_->bytes) return std::nullopt;
        return subPictureDuration(*sharedSubFile_->bytes, streamID_, startingAt, andEndingAt);
    }
    const std::optional<QByteArray> sub = readWholeFile(url);
    if (!sub) return std::nullopt;
    return subPictureDuration(*sub, streamID_, startingAt, andEndingAt);
}

// --- Collection (main thread) -------------------------------------------------------

void SCImageSubImporter::notificationHub(const platform::Notification& notification) {
    if (notification.name != nameOf(notificationTypes::imageSubLineImported)) return;
    const QVariantMap& info = notification.userInfo;
    const QVariant owner = info.value(QStringLiteral("theImporter"));
    if (!owner.isValid() || owner.toLongLong() != importNumber_) return;
    // A line without picture or text still counts: it gets an empty one.
    const QVariant image = info.value(QStringLiteral("lineImage"));
    const QVariant dialog = info.value(QStringLiteral("lineDialog"));
    const ImageLineCollection::Record record = {
        {QStringLiteral("startTime"), info.value(QStringLiteral("startTime")).toDouble()},
        {QStringLiteral("endTime"), info.value(QStringLiteral("endTime")).toDouble()},
        {QStringLiteral("lineImage"), image.metaType() == QMetaType::fromType<QImage>() ||
                                              image.metaType() == QMetaType::fromType<LinePicture>()
                                          ? image
                                          : QVariant(QImage())},
        {QStringLiteral("lineDialog"), dialog.isValid() ? dialog.toString() : QString()},
    };
    handOver(collection_.take(info.value(QStringLiteral("lineNumber")).toLongLong(), record,
                              info.value(QStringLiteral("isLast")).toBool()));
}

void SCImageSubImporter::finishCollection() {
    handOver(collection_.finish());
}

void SCImageSubImporter::handOver(const QList<ImageLineCollection::Ready>& lines) {
    // A document that is gone gets nothing.
    const auto subtitle = parentSubtitle().lock();
    if (!subtitle) return;
    for (const ImageLineCollection::Ready& ready : lines) {
        auto line = SCSubtitleLine::create();
        line->setOriginalIndex(ready.number);
        line->setUserIndex(ready.number);
        line->initializeFromImageSubImportedDictiary(ready.record);
        platform::NotificationCenter::defaultCenter().post(
            nameOf(notificationTypes::imageSubSCSubtitleLineCreated), nullptr,
            {{QStringLiteral("theSubtitleLine"), QVariant::fromValue(line)},
             {QStringLiteral("theSubtitle"), QVariant::fromValue<QObject*>(subtitle.get())}});
    }
}
