#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <atomic>
#include <memory>

#include "common/ResultTypes.h"

class SCMainViewController;
class SCSubtitle;
class SubtitleReads;

// Reading an editing view's document: the open, the cycle through the
// encodings, the re-read in a chosen encoding, and the questions and sheets
// around them. Every read runs on the view's queue; what the user sees
// changes on the main thread. Queued work holds the view by QPointer and the
// document by shared_ptr, and gets every name by value.
//
// While reads are queued, the main thread judges the document's validity as
// it stood before them (a re-read marks it invalid from its start), and a
// failed re-read goes back to the encoding that last read the file.
class DocumentOpening {
  public:
    explicit DocumentOpening(SCMainViewController& view);
    ~DocumentOpening();  // queued work stops before its next read

    void openSubtitleURL(const QUrl& url);
    void cycleEncodingsButton();
    void reinitializeSubtitleWithEncoding(const QString& name, bool withAlerts);
    // A non-silent change of the view's encoding (the previous name given).
    void importEncodingDidChange(const QString& previous);

    void setReads(std::shared_ptr<SubtitleReads> reads);

    // State shared with the queued work.
    struct Shared {
        std::shared_ptr<SubtitleReads> reads;
        QStringList names;
        std::atomic<bool> cancelled{false};
    };

    // The end of one queued read, on the main thread.
    void readFinished(resultTypes result, const QString& encoding);

  private:
    bool documentCountsAsValid() const;
    void enqueue(std::function<void()> work);
    void askBeforeReading(std::function<void()> onOK, std::function<void()> otherwise);
    void queueCycle();

    SCMainViewController& view_;
    std::shared_ptr<Shared> shared_;
    int pendingReads_ = 0;
    bool validBeforeReads_ = false;
    QString lastReadEncoding_;
};
