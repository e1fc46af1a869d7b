#include "document/SCSubtitle.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThread>

#include "document/ASSFormat.h"
#include "document/SRTFormat.h"
#include "document/common/HelperFunctions.h"
#include "document/common/NotificationTypes.h"
#include "encodings/myEncodings.h"
#include "formatting/SCStyle.h"
#include "platform/MainQueue.h"
#include "platform/TemporaryFolder.h"
#include "platform/TextCodec.h"

namespace {

const QString kInitializingLabel = QStringLiteral("Initializing Subtitle");

QString nameOf(notificationTypes type) {
    return type.rawValue();
}

// Objects made on a loading thread are used on the main thread from their
// publication on.
void handToMainThread(QObject& object) {
    if (auto* app = QCoreApplication::instance(); app && object.thread() != app->thread())
        object.moveToThread(app->thread());
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
    if (subtitleFileURL_.isEmpty()) return {};
    QString name = QFileInfo(subtitleFileURL_.path()).fileName();
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
    if (notification.name == nameOf(notificationTypes::timeChanged)) findTimeConflicts();
    // Picture-subtitle lines are taken in by the image import, which is not
    // part of this document model yet; until then they are ignored.
}

void SCSubtitle::findTimeConflicts() {}

// --- Loading -------------------------------------------------------------------

resultTypes SCSubtitle::initializeFromTextSubURL(const QUrl& url, const QString& withEncoding) {
    auto self = shared_from_this();
    imageLineObserver_.reset();
    doOnMainThread([self] {
        self->setIsImageBased(false);
        self->setProgressLabel(kInitializingLabel);
    });
    subtitleFileURL_ = url;
    currentImportEncoding_ = withEncoding;
    subtitleIsValid_ = false;

    std::optional<QString> text;
    QFile file(url.toLocalFile());
    if (!url.isEmpty() && file.open(QIODevice::ReadOnly))
        text = platform::TextCodec::decode(file.readAll(),
                                           myEncodings::encodingForName(currentImportEncoding_));
    if (!text) {
        qpl(QStringLiteral("initializeFromTextSubURL error reading file"));
        return resultTypes::error;
    }
    doOnMainThread([self] { self->setIsInitializing(true); });

    const QStringList lines = SRTFormat::linesOfFileText(*text);
    switch (subtitleFileType_) {
        case subtitleTypes::srt:
            return readSRT(lines);
        case subtitleTypes::ass:
            return readASS(lines);
        default:
            doOnMainThread([self] { self->setIsInitializing(false); });
            return resultTypes::error;
    }
}

resultTypes SCSubtitle::readSRT(const QStringList& lines) {
    auto self = shared_from_this();
    scriptInfoDictionary_ = srtScriptInfoDefaults();
    const auto cues = SRTFormat::findCues(lines);
    if (!cues) {
        doOnMainThread([self] { self->setIsInitializing(false); });
        return resultTypes::error;
    }
    SCSubtitleLineList kept;
    kept.reserve(std::max<qsizetype>(2000, qsizetype(cues->size())));
    for (std::size_t i = 0; i < cues->size(); ++i) {
        auto line = SCSubtitleLine::create();
        line->setOriginalIndex(qint64(i));
        line->setUserIndex(qint64(i));
        const resultTypes parsed = line->initializeFromSRTBlock((*cues)[i]);
        if (!line->isKeptAfterRead(parsed)) continue;
        handToMainThread(*line);
        kept.append(std::move(line));
    }
    publish(std::move(kept), std::nullopt);
    return resultTypes::ok;
}

resultTypes SCSubtitle::readASS(const QStringList& lines) {
    auto self = shared_from_this();
    const auto sections = ASSFormat::findSections(lines, styleHeader_);
    if (!sections) {
        platform::MainQueue::post([self] { self->setIsInitializing(false); });
        return resultTypes::error;
    }
    scriptInfoDictionary_ = ASSFormat::scriptInfoOf(sections->scriptInfo);

    SCStyleList styles;
    for (qsizetype p = 2; p < sections->styles.size(); ++p) {
        auto style = std::make_shared<SCStyle>();
        // The values arrive on the main queue ahead of the publication; a
        // line the parse rejects still gives a style with the defaults.
        style->intitializeWithFormatString(sections->styles[1], sections->styles[p], styleHeader_);
        handToMainThread(*style);
        styles.append(std::move(style));
    }

    SCSubtitleLineList kept;
    kept.reserve(std::max<qsizetype>(2000, sections->events.size()));
    for (qsizetype p = 2; p < sections->events.size(); ++p) {
        auto line = SCSubtitleLine::create();
        line->setOriginalIndex(p - 2);
        line->setUserIndex(p - 2);
        const resultTypes parsed =
            line->intitializeWithFormatString(sections->events[1], sections->events[p]);
        if (!line->isKeptAfterRead(parsed)) continue;
        handToMainThread(*line);
        kept.append(std::move(line));
    }
    publish(std::move(kept), std::move(styles));
    return resultTypes::ok;
}

void SCSubtitle::publish(SCSubtitleLineList lines, std::optional<SCStyleList> styles) {
    auto self = shared_from_this();
    platform::MainQueue::post([self, lines = std::move(lines), styles = std::move(styles)] {
        self->setSubtitleStylesArray(styles ? *styles : SCStyleList{std::make_shared<SCStyle>()});
        self->setSubtitleLinesArray(lines);
        self->queueConflictSearch();
        self->setProgressLabel(QString());
        self->setIsInitializing(false);
    });
    subtitleIsValid_ = true;
}

void SCSubtitle::queueConflictSearch() {
    openSubtitleQueue_->addOperation([self = shared_from_this()]() mutable {
        self->findTimeConflicts();
        // The queue belongs to the document: the document must not be
        // released on one of the queue's own threads, whose end it would wait
        // for. The main thread gives up this reference.
        platform::MainQueue::post([self = std::move(self)] {});
    });
}

// --- Writing -------------------------------------------------------------------

QString SCSubtitle::documentText() const {
    switch (currentExportFileType_) {
        case subtitleTypes::srt:
            return SRTFormat::documentText(subtitleLinesArray_);
        case subtitleTypes::ass:
            return ASSFormat::documentText(*this);
        default:
            return {};
    }
}

std::optional<QByteArray> SCSubtitle::encodedDocument(const QString& encodingName) const {
    return platform::TextCodec::encode(documentText(), myEncodings::encodingForName(encodingName));
}

resultTypes SCSubtitle::writeSubToURL(const QUrl& url, const QString& withEncoding) {
    // The whole text is encoded before the file is touched, and the file is
    // replaced only once every byte is written.
    const auto bytes = encodedDocument(withEncoding);
    QSaveFile file(url.toLocalFile());
    const bool written = bytes && !url.isEmpty() && file.open(QIODevice::WriteOnly) &&
                         file.write(*bytes) == bytes->size() && file.commit();
    if (!written) {
        qpl(QStringLiteral("error writing to file: ") + url.toString());
        return resultTypes::error;
    }
    return resultTypes::ok;
}

std::optional<QUrl> SCSubtitle::exportTempSubtitleWithEncoding(const QString& encodingName) {
    const QString folder = platform::TemporaryFolder::path();
    const auto bytes = encodedDocument(encodingName);
    if (folder.isEmpty() || !bytes) {
        qpl(QStringLiteral("error writing to file: ") + folder + QStringLiteral("quillmarExport."));
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
        if (written) return url;
        if (fd >= 0) ::unlink(native.constData());
        qpl(QStringLiteral("error writing to file: ") + url.toString());
        return std::nullopt;
    }
    qpl(QStringLiteral("error writing to file: no free name in ") + folder);
    return std::nullopt;
}

void SCSubtitle::logProperties() const {
    for (const auto& line : subtitleLinesArray_) line->logProperties();
}
