#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "common/ResultTypes.h"

class SCSubtitle;

// What a document needs of the picture-subtitle importer. The importer turns
// each converted picture into a line on the main thread and announces it with
// `imageSubSCSubtitleLineCreated`: userInfo "theSubtitleLine" holds the
// SCSubtitleLinePtr, "theSubtitle" the document as a QObject*.
class ImageSubImporter {
  public:
    virtual ~ImageSubImporter() = default;

    // The document the lines are for; held weakly, the document owns the importer.
    virtual void setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle) = 0;

    // Blocks until every line of the import has been handed to the main queue.
    virtual resultTypes importImageSubtitleURL(const QUrl& url) = 0;

    // Drops the line work not yet started and waits for the rest.
    virtual void cancelImport() = 0;

    // Why the last import gave `error`, for the user, when a tool said why
    // (the OCR engine could read no line); empty otherwise.
    virtual QString failureReason() const { return {}; }

    using Factory = std::function<std::shared_ptr<ImageSubImporter>()>;
};
