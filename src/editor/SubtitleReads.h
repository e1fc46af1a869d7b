#pragma once

#include <QString>
#include <QUrl>

#include "common/ResultTypes.h"

class SCSubtitle;

// The three ways an editing view reads its document's file, called on the
// view's queue. The view holds one; tests put their own in to count the
// reads, slow them down and see their thread.
class SubtitleReads {
  public:
    virtual ~SubtitleReads() = default;
    virtual resultTypes initializeFromTextSubURL(SCSubtitle& subtitle, const QUrl& url,
                                                 const QString& encoding);
    virtual resultTypes reinitializeForNewEncoding(SCSubtitle& subtitle, const QString& encoding);
    virtual resultTypes initializeFromImageSubURL(SCSubtitle& subtitle, const QUrl& url);
};
