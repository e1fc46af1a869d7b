#include "imagesubs/SCImageSubImporter.h"

#include <QFile>
#include <QFileInfo>

#include "common/SubtitleTypes.h"
#include "imagesubs/PgsLineTimes.h"
#include "imagesubs/SubPictureDuration.h"
#include "imagesubs/VobSubIndex.h"

namespace {

std::optional<QByteArray> readWholeFile(const QUrl& url) {
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

// The SUB file beside an index: its path without the extension, ".sub".
QUrl subFileBesideIndex(const QUrl& indexURL) {
    const QString path = indexURL.toLocalFile();
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    return QUrl::fromLocalFile(stem + QStringLiteral(".sub"));
}

}  // namespace

SCImageSubImporter::SCImageSubImporter()
    : imageSubImporterQueue_(
          std::make_unique<platform::OperationQueue>(QStringLiteral("imageSubLineQueue"), 4)) {}

SCImageSubImporter::~SCImageSubImporter() = default;

std::weak_ptr<SCSubtitle> SCImageSubImporter::parentSubtitle() const {
    std::lock_guard lock(parentMutex_);
    return parentSubtitle_;
}

void SCImageSubImporter::setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle) {
    std::lock_guard lock(parentMutex_);
    parentSubtitle_ = subtitle;
}

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
    if (count > 1) {
        const QUrl subURL = subFileBesideIndex(indexURL);
        sharedSubFile_ = SubFile{subURL, readWholeFile(subURL)};
        for (qsizetype i = 0; i + 1 < count; ++i) {
            const auto duration = readSubAtURL(subURL, index.positions[i], index.positions[i + 1]);
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
