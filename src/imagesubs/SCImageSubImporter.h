#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>
#include <QVariantMap>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "document/ImageSubImporter.h"
#include "imagesubs/ImageLineCollection.h"
#include "imagesubs/LineTimes.h"
#include "platform/ChildProcess.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"

class SCImageSubLineConverter;
class SCSubtitle;

// The picture size of the temporary Matroska file, in pixels.
struct ImageSubResolution {
    qint64 width = 1920;
    qint64 height = 1080;
    bool operator==(const ImageSubResolution&) const = default;
};

// How long each kind of child may run before it is stopped, and how long the
// OCR engine's text file is looked for after the engine has ended.
struct ImageSubTimeLimits {
    std::chrono::milliseconds mkvmerge{std::chrono::minutes(5)};
    std::chrono::milliseconds report{std::chrono::seconds(60)};
    std::chrono::milliseconds grab{std::chrono::seconds(60)};
    std::chrono::milliseconds ocr{std::chrono::seconds(120)};
    std::chrono::milliseconds ocrTextFile{std::chrono::seconds(2)};
};

// Turns one VobSub or PGS file into the timed text lines of the document
// that opened it: wraps it into a temporary Matroska file with mkvmerge,
// reads the picture size and start from ffmpeg's report and every line's
// times from the subtitle files, converts four lines at a time and hands the
// results to the document in line order. One importer serves one load; it is
// held by shared ownership and made with create().
class SCImageSubImporter : public ImageSubImporter,
                           public std::enable_shared_from_this<SCImageSubImporter> {
  public:
    static std::shared_ptr<SCImageSubImporter> create();
    // What the application shell hands to SCSubtitle::setImageSubImporterFactory.
    static ImageSubImporter::Factory factory();

    // Stops observing (synchronously, on any thread), then deletes the
    // temporary file.
    ~SCImageSubImporter() override;

    SCImageSubImporter(const SCImageSubImporter&) = delete;
    SCImageSubImporter& operator=(const SCImageSubImporter&) = delete;

    void setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle) override;
    std::weak_ptr<SCSubtitle> parentSubtitle() const;

    // The whole import, on the caller's thread (never the main one): `error`
    // when no temporary file came out, or when no line was read because its
    // picture could not be grabbed or the OCR engine failed on it
    // (failureReason() says why); `ok` otherwise. Returns when every line
    // has been converted and handed to the main queue.
    resultTypes importImageSubtitleURL(const QUrl& url) override;

    // After an import that failed because no line could be read: that, in
    // the engine's own words, or ffmpeg's when no picture could be grabbed.
    // Empty otherwise.
    QString failureReason() const override;

    // Drops the lines not yet started, stops the running children (their
    // lines arrive as failed), waits for the line work and for the import
    // call to return, and deletes the temporary file; an import not begun
    // yet will not begin. Called on the main thread when a window closes.
    void cancelImport() override;

    // Deletes the temporary Matroska file; its URL is kept.
    void cleanUp();

    // Wraps the subtitle file into a new temporary Matroska file; none when
    // mkvmerge failed or wrote nothing (a failed run's output is deleted).
    std::optional<QUrl> createTempVideoForSubURL(const QUrl& url);

    // Files a converted line's report, on the main thread.
    void notificationHub(const platform::Notification& notification);

    // Hands over, in order, every line still held; the import has it run on
    // the main thread after the last line's report.
    void finishCollection();

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

    // What a converted line carries as "theImporter": this import's number,
    // unique in the process.
    qint64 importNumber() const { return importNumber_; }

    bool shouldCancelImport() const { return shouldCancelImport_; }
    // Every child of this import stops when it is set.
    const platform::CancellationFlag& cancellation() const { return cancellation_; }

    ImageSubTimeLimits timeLimits() const;
    void setTimeLimits(const ImageSubTimeLimits& limits);

    std::optional<QUrl> importedSubURL() const;
    std::optional<QUrl> tempSubToMkvURL() const;
    ImageSubResolution tempSubToMkvResolution() const { return tempSubToMkvResolution_; }
    double tempSubToMkvStartTime() const { return tempSubToMkvStartTime_; }
    std::optional<TimePairList> startEndTimesArray() const { return startEndTimesArray_; }

    platform::OperationQueue& imageSubImporterQueue() { return *imageSubImporterQueue_; }

    // Main thread only.
    const QList<std::optional<QVariantMap>>& subLineDictionaryArray() const {
        return collection_.records();
    }
    qint64 toVerifyIndex() const { return collection_.toVerifyIndex(); }

  private:
    SCImageSubImporter();

    struct SubFile {
        QUrl url;
        std::optional<QByteArray> bytes;
    };
    std::optional<TimePairList> vobSubLineTimes(const QUrl& indexURL);
    void readReport(const QUrl& temporaryFile);
    void queueLines();
    // Counts a converted line as read, or as failed at its grab or its OCR.
    void noteLine(const SCImageSubLineConverter& converter);
    // Logs the lines that failed; true when none was read.
    bool noLineRead();
    void handOver(const QList<ImageLineCollection::Ready>& lines);

    const qint64 importNumber_;
    std::mutex importMutex_;  // guards importing_ and the cancel that ends it
    std::condition_variable importEnded_;
    bool importing_ = false;
    platform::CancellationFlag cancellation_ = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> shouldCancelImport_ = false;
    std::atomic<int> linesRead_ = 0;
    std::atomic<int> linesFailed_ = 0;  // at their OCR
    std::atomic<int> grabsFailed_ = 0;

    mutable std::mutex mutex_;  // guards the members below it up to the queue
    std::weak_ptr<SCSubtitle> parentSubtitle_;
    std::optional<QUrl> importedSubURL_;
    std::optional<QUrl> tempSubToMkvURL_;
    ImageSubTimeLimits timeLimits_;
    QString firstOcrFailure_;
    QString firstGrabFailure_;
    QString failureReason_;

    // Settled by the import before the first line is queued.
    ImageSubResolution tempSubToMkvResolution_;
    double tempSubToMkvStartTime_ = 0;
    std::optional<TimePairList> startEndTimesArray_ = TimePairList();
    std::atomic<qint64> streamID_ = -1;
    std::optional<SubFile> sharedSubFile_;  // while line times are found

    ImageLineCollection collection_;  // main thread only
    platform::NotificationObserver lineObserver_;
    platform::NotificationObserver blackDetectObserver_;
    std::unique_ptr<platform::OperationQueue> imageSubImporterQueue_;
};
