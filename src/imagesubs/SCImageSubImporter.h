#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>
#include <QVariantMap>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "imagesubs/LineTimes.h"
#include "platform/OperationQueue.h"

class SCSubtitle;

// The picture size of the temporary Matroska file, in pixels.
struct ImageSubResolution {
    qint64 width = 1920;
    qint64 height = 1080;
    bool operator==(const ImageSubResolution&) const = default;
};

// Turns one VobSub or PGS file into the timed text lines of the document
// that opened it. One importer serves one load.
class SCImageSubImporter {
  public:
    SCImageSubImporter();
    ~SCImageSubImporter();

    SCImageSubImporter(const SCImageSubImporter&) = delete;
    SCImageSubImporter& operator=(const SCImageSubImporter&) = delete;

    // The (start, end) pair of every picture of the subtitle file, in file
    // order: "idx" (any case) is read with its SUB file beside it, "sup" as a
    // PGS stream; none for any other kind and for an index that cannot be
    // read, an empty list for a SUP that cannot be read.
    std::optional<TimePairList> findStartEndTimesForSubURL(const QUrl& url);

    // The display duration of the VobSub picture whose first pack lies at
    // `startingAt` of the SUB file, reading packs of stream `streamID` up to
    // `andEndingAt`. While line times are being found the SUB file is read
    // once and shared by every call.
    std::optional<double> readSubAtURL(const QUrl& url, qint64 startingAt, qint64 andEndingAt);

    qint64 streamID() const { return streamID_; }
    void setStreamID(qint64 id) { streamID_ = id; }

    std::weak_ptr<SCSubtitle> parentSubtitle() const;
    void setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle);

    bool shouldCancelImport() const { return shouldCancelImport_; }

    std::optional<QUrl> importedSubURL() const { return importedSubURL_; }
    std::optional<QUrl> tempSubToMkvURL() const { return tempSubToMkvURL_; }
    ImageSubResolution tempSubToMkvResolution() const { return tempSubToMkvResolution_; }
    double tempSubToMkvStartTime() const { return tempSubToMkvStartTime_; }
    std::optional<TimePairList> startEndTimesArray() const { return startEndTimesArray_; }

    platform::OperationQueue& imageSubImporterQueue() { return *imageSubImporterQueue_; }

    const QList<std::optional<QVariantMap>>& subLineDictionaryArray() const {
        return subLineDictionaryArray_;
    }
    qint64 toVerifyIndex() const { return toVerifyIndex_; }

  private:
    struct SubFile {
        QUrl url;
        std::optional<QByteArray> bytes;
    };
    std::optional<TimePairList> vobSubLineTimes(const QUrl& indexURL);

    mutable std::mutex parentMutex_;
    std::weak_ptr<SCSubtitle> parentSubtitle_;
    std::atomic<bool> shouldCancelImport_ = false;
    std::optional<QUrl> importedSubURL_;
    std::optional<QUrl> tempSubToMkvURL_;
    ImageSubResolution tempSubToMkvResolution_;
    double tempSubToMkvStartTime_ = 0;
    std::optional<TimePairList> startEndTimesArray_ = TimePairList();
    std::unique_ptr<platform::OperationQueue> imageSubImporterQueue_;
    QList<std::optional<QVariantMap>> subLineDictionaryArray_{std::nullopt};
    qint64 toVerifyIndex_ = 0;
    std::atomic<qint64> streamID_ = -1;
    std::optional<SubFile> sharedSubFile_;  // while line times are found
};
