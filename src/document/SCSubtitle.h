#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "common/ResultTypes.h"
#include "common/SubtitleTypes.h"
#include "document/DocumentFailure.h"
#include "document/DocumentFormat.h"
#include "document/DocumentLoadState.h"
#include "document/ImageLineIntake.h"
#include "document/ImageSubImporter.h"
#include "document/SCSubtitleLine.h"
#include "document/TimeAdjustment.h"
#include "document/TimeConflicts.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"

class SCStyle;
using SCStylePtr = std::shared_ptr<SCStyle>;
using SCStyleList = QList<SCStylePtr>;

// One subtitle document: its lines, styles and script information, the file
// it was read from, and the flags the window shows while a load runs.
// Documents are held by std::shared_ptr: every block a load or search queues
// holds the document, so it lives until that work has run, and the last
// reference queued work holds is given up on the main thread.
//
// Threads. A load, re-read or picture import runs on one worker thread at a
// time (the editing view's queue); everything else runs on the main thread.
// - Observable state (lines, styles, busy flag, label, picture flag, conflict
//   count) is written and read on the main thread only; workers hand every
//   change to it through `onMainThread`.
// - Load state (`subtitleFileURL`, `currentImportEncoding`, `styleHeader`,
//   `scriptInfoDictionary`, `keptSections`, `lastFailure`) is written by the
//   worker and may be read from any thread: it sits behind one lock and its
//   getters return copies.
// - `subtitleIsValid` and `subtitleLinesCount` are atomic: any thread reads
//   them. The count follows every assignment of the line list.
// - `subtitleFileType` and `currentExportFileType` are set on the main thread
//   before the work that reads them is started.
class SCSubtitle : public QObject, public std::enable_shared_from_this<SCSubtitle> {
    Q_OBJECT
    Q_PROPERTY(SCSubtitleLineList subtitleLinesArray READ subtitleLinesArray WRITE
                   setSubtitleLinesArray NOTIFY subtitleLinesArrayChanged)
    Q_PROPERTY(bool isInitializing READ isInitializing WRITE setIsInitializing NOTIFY
                   isInitializingChanged)
    Q_PROPERTY(
        QString progressLabel READ progressLabel WRITE setProgressLabel NOTIFY progressLabelChanged)
    Q_PROPERTY(bool isImageBased READ isImageBased WRITE setIsImageBased NOTIFY isImageBasedChanged)
    Q_PROPERTY(SCStyleList subtitleStylesArray READ subtitleStylesArray WRITE setSubtitleStylesArray
                   NOTIFY subtitleStylesArrayChanged)
    Q_PROPERTY(qint64 timeConflictsCount READ timeConflictsCount WRITE setTimeConflictsCount NOTIFY
                   timeConflictsCountChanged)
    // Plain state, reachable by name but announced to nobody.
    Q_PROPERTY(QUrl subtitleFileURL READ subtitleFileURL WRITE setSubtitleFileURL)
    Q_PROPERTY(qint64 subtitleLinesCount READ subtitleLinesCount)
    Q_PROPERTY(QString subtitleExportName READ subtitleExportName)
    Q_PROPERTY(
        QString currentImportEncoding READ currentImportEncoding WRITE setCurrentImportEncoding)
    Q_PROPERTY(bool isCyclingEncodings READ isCyclingEncodings WRITE setIsCyclingEncodings)
    Q_PROPERTY(bool subtitleIsValid READ subtitleIsValid WRITE setSubtitleIsValid)
    Q_PROPERTY(QString styleHeader READ styleHeader WRITE setStyleHeader)
    Q_PROPERTY(QMap<QString, QString> scriptInfoDictionary READ scriptInfoDictionary WRITE
                   setScriptInfoDictionary)
    Q_PROPERTY(SCSubtitleLineList outOfOrderImageSubLines READ outOfOrderImageSubLines WRITE
                   setOutOfOrderImageSubLines)

  public:
    SCSubtitle();
    ~SCSubtitle() override;

    static std::shared_ptr<SCSubtitle> create() { return std::make_shared<SCSubtitle>(); }

    // Observable state (main thread only; every assignment is announced).
    const SCSubtitleLineList& subtitleLinesArray() const { return subtitleLinesArray_; }
    void setSubtitleLinesArray(const SCSubtitleLineList& lines);
    bool isInitializing() const { return isInitializing_; }
    // While `isCyclingEncodings` is true the flag stays true, whatever is
    // assigned; observers are told once, with the value kept.
    void setIsInitializing(bool value);
    QString progressLabel() const { return progressLabel_; }
    void setProgressLabel(const QString& value);
    bool isImageBased() const { return isImageBased_; }
    void setIsImageBased(bool value);
    const SCStyleList& subtitleStylesArray() const { return subtitleStylesArray_; }
    void setSubtitleStylesArray(const SCStyleList& styles);
    qint64 timeConflictsCount() const { return timeConflictsCount_; }
    void setTimeConflictsCount(qint64 value);

    // Plain state.
    QUrl subtitleFileURL() const { return loadState_.fileURL(); }
    void setSubtitleFileURL(const QUrl& url) { loadState_.setFileURL(url); }
    subtitleTypes currentExportFileType() const { return currentExportFileType_; }
    void setCurrentExportFileType(subtitleTypes type) { currentExportFileType_ = type; }
    subtitleTypes subtitleFileType() const { return subtitleFileType_; }
    void setSubtitleFileType(subtitleTypes type) { subtitleFileType_ = type; }
    QString currentImportEncoding() const { return loadState_.importEncoding(); }
    void setCurrentImportEncoding(const QString& name) { loadState_.setImportEncoding(name); }
    bool isCyclingEncodings() const { return isCyclingEncodings_; }
    void setIsCyclingEncodings(bool value) { isCyclingEncodings_ = value; }
    bool subtitleIsValid() const { return loadState_.isValid(); }
    void setSubtitleIsValid(bool value) { loadState_.setValid(value); }
    // The number of lines of the list, readable from any thread.
    qint64 subtitleLinesCount() const { return loadState_.lineCount(); }
    platform::OperationQueue& openSubtitleQueue() { return *openSubtitleQueue_; }
    QString styleHeader() const { return loadState_.styleHeader(); }
    void setStyleHeader(const QString& header) { loadState_.setStyleHeader(header); }
    QMap<QString, QString> scriptInfoDictionary() const { return loadState_.scriptInfo(); }
    void setScriptInfoDictionary(const QMap<QString, QString>& info) {
        loadState_.setScriptInfo(info);
    }
    const SCSubtitleLineList& outOfOrderImageSubLines() const { return outOfOrderImageSubLines_; }
    void setOutOfOrderImageSubLines(const SCSubtitleLineList& lines) {
        outOfOrderImageSubLines_ = lines;
    }

    // The sections of an ASS file that the document does not read (embedded
    // fonts and pictures, a tool's own data), as read; an ASS save writes
    // them back after the events.
    QStringList keptSections() const { return loadState_.keptSections(); }

    // Why the last load, re-read or write failed (kind none after a
    // success); any thread. The encoding cycle tries another encoding only
    // when `lastFailure().worthAnotherEncoding()`. A failed load or re-read
    // logs nothing itself: its caller logs the reason once the whole open,
    // with every encoding it tries, has failed.
    DocumentFailure lastFailure() const { return loadState_.lastFailure(); }

    // The file's base name, ".export." and the export type; empty without a file.
    QString subtitleExportName() const;

    // Reads an SRT, ASS or SSA file (by `subtitleFileType`) in the named
    // encoding on the calling (background) thread and queues its publication
    // on the main queue. `ok` means the publication is queued, not done. The
    // document must be held by a std::shared_ptr.
    resultTypes initializeFromTextSubURL(const QUrl& url, const QString& withEncoding);

    // Marks lines whose times conflict, records how much neighbours overlap
    // and publishes the count. On the main thread it runs and publishes at
    // once; from another thread it is handed to the main thread.
    void findTimeConflicts();

    // Searches the times as they are now, closes each "End Overlap" with its
    // first later "Start Overlap" or "Both Overlap" line in proportion to
    // their durations, then searches again. Main thread.
    void fixTimeConflicts();

    // Moves every time by the amount, forward or (for "Backward") backward.
    // When any line would start or end before 0 no line moves, and the result
    // says which line stops it. Main thread.
    TimeAdjustment::Result shiftTimesByDoubleTime(double amount, const QString& inDirection);

    // Scales every time so that the end of the line that starts last moves
    // by the amount. Changes nothing unless that end is positive and the
    // factor a positive finite number; the result says why. Main thread.
    TimeAdjustment::Result stretchTimesByDoubleTime(double amount, const QString& inDirection);

    // Decodes the file again in the named encoding and hands only the dialog
    // texts, position by position, to the lines (one block on the main queue).
    // Styles stay; the script information and styles header are read again.
    resultTypes reinitializeForNewEncoding(const QString& encodingName);

    // Runs a picture-subtitle import on the calling (background) thread; its
    // lines arrive on the main thread in line-number order. When the import
    // fails because a tool said so, `lastFailure` is a `toolFailed` one with
    // the reason in its detail.
    resultTypes initializeFromImageSubURL(const QUrl& url);

    // Makes the importer of picture subtitles; without one an image import fails.
    static void setImageSubImporterFactory(ImageSubImporter::Factory factory);
    std::shared_ptr<ImageSubImporter> imageSubImporter() const;
    void setImageSubImporter(std::shared_ptr<ImageSubImporter> importer);

    // The whole document as text in `currentExportFileType` (empty for a type
    // that is neither SRT nor ASS).
    QString documentText() const;

    // Encodes the whole text first, then replaces the file atomically: a
    // failure returns `error` and leaves an existing file as it was.
    resultTypes writeSubToURL(const QUrl& url, const QString& withEncoding);

    // Writes the document to a new file "quillmarExport.<number>.<type>" in
    // the private temporary folder, created exclusively; no value when the
    // file could not be written (nothing is left behind then).
    std::optional<QUrl> exportTempSubtitleWithEncoding(const QString& encodingName);

    void logProperties() const;

    // The five script-information entries of a document read from SRT.
    static QMap<QString, QString> srtScriptInfoDefaults();

  signals:
    void subtitleLinesArrayChanged();
    void isInitializingChanged();
    // A text load has put its lines and styles in place, in the same step of
    // the main thread that shows them. A failed read, a re-read in another
    // encoding and a picture import publish nothing.
    void loadPublished();
    void progressLabelChanged();
    void isImageBasedChanged();
    void subtitleStylesArrayChanged();
    void timeConflictsCountChanged();

  private:
    void notificationHub(const platform::Notification& notification);
    void takeLoadState(const DocumentContent& content);
    resultTypes failLoad(const DocumentFailure& failure, bool busyOff);
    // Every hop of a worker to the main thread: the block runs there with
    // the document held. `queued` never runs it inline, so it comes after
    // everything handed over before it.
    void onMainThread(std::function<void(SCSubtitle&)> block, bool queued = false);
    void publish(SCSubtitleLineList lines, std::optional<SCStyleList> styles);
    void queueConflictSearch();
    // The lines of a search with their times as copied on the main thread.
    struct ConflictSnapshot {
        std::vector<std::weak_ptr<SCSubtitleLine>> lines;
        std::vector<TimeConflicts::Input> times;
    };
    ConflictSnapshot conflictSnapshot() const;
    void applyConflicts(const ConflictSnapshot& snapshot, const TimeConflicts::Result& result);
    void takeImageLine(const platform::Notification& notification);
    void appendLines(const SCSubtitleLineList& lines);
    void finishImageIntake();
    std::optional<QString> decodedFile();
    void handOverTexts(const DocumentFormat& format, const SCSubtitleLineList& reread);
    // The text of `currentExportFileType` encoded; a failure names its line.
    std::optional<QByteArray> encodedDocument(const QString& encodingName,
                                              DocumentFormat::WriteNotes& notes);
    // No value when the whole-text path has to decide.
    std::optional<resultTypes> writeInPieces(const QUrl& url, const QString& withEncoding,
                                             DocumentFormat::WriteNotes& notes);
    void failWrite(DocumentFailure failure, const QString& logged);

    SCSubtitleLineList subtitleLinesArray_;
    DocumentLoadState loadState_;
    subtitleTypes currentExportFileType_ = subtitleTypes::srt;
    subtitleTypes subtitleFileType_ = subtitleTypes::none;
    bool isCyclingEncodings_ = false;
    bool isInitializing_ = false;
    QString progressLabel_;
    bool isImageBased_ = false;
    std::unique_ptr<platform::OperationQueue> openSubtitleQueue_;
    SCStyleList subtitleStylesArray_;
    SCSubtitleLineList outOfOrderImageSubLines_;
    qint64 timeConflictsCount_ = 0;
    mutable std::mutex importerMutex_;  // the window cancels from the main thread
    std::shared_ptr<ImageSubImporter> imageSubImporter_;
    ImageLineIntake imageLineIntake_;

    platform::NotificationObserver timeChangedObserver_;
    platform::NotificationObserver imageLineObserver_;
};
