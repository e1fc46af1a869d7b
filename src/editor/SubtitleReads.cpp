#include "editor/SubtitleReads.h"

#include "document/SCSubtitle.h"

resultTypes SubtitleReads::initializeFromTextSubURL(SCSubtitle& subtitle, const QUrl& url,
                                                    const QString& encoding) {
    return subtitle.initializeFromTextSubURL(url, encoding);
}

resultTypes SubtitleReads::reinitializeForNewEncoding(SCSubtitle& subtitle,
                                                      const QString& encoding) {
    return subtitle.reinitializeForNewEncoding(encoding);
}

resultTypes SubtitleReads::initializeFromImageSubURL(SCSubtitle& subtitle, const QUrl& url) {
    return subtitle.initializeFromImageSubURL(url);
}
