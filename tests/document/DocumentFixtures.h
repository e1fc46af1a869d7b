#pragma once

#include <QImage>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <future>
#include <memory>

#include "document/SCSubtitle.h"
#include "platform/NotificationCenter.h"
#include "support/EventLoop.h"

namespace documenttest {

inline QUrl fixture(const QString& name) {
    return QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/document/") + name);
}

// Runs a load on a background thread, as the editing view does, and then the
// main queue until its publication has run (or the load failed).
inline resultTypes load(const std::shared_ptr<SCSubtitle>& subtitle, const QUrl& url,
                        subtitleTypes type, const QString& encoding = QStringLiteral("UTF8")) {
    subtitle->setSubtitleFileType(type);
    auto result = std::async(std::launch::async, [subtitle, url, encoding] {
        return subtitle->initializeFromTextSubURL(url, encoding);
    });
    testsupport::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    const resultTypes outcome = result.get();
    if (outcome == resultTypes::ok)
        testsupport::spinUntil([&] { return subtitle->progressLabel().isEmpty(); });
    // The conflict search queued by the publication, and its results.
    subtitle->openSubtitleQueue().waitUntilAllOperationsAreFinished();
    testsupport::drainMainQueue();
    return outcome;
}

inline std::shared_ptr<SCSubtitle> loaded(const QString& name, subtitleTypes type,
                                          const QString& encoding = QStringLiteral("UTF8")) {
    auto subtitle = SCSubtitle::create();
    load(subtitle, fixture(name), type, encoding);
    return subtitle;
}

// Announces line `number` of a picture import to the document, as the
// importer does once the line's picture is read (main thread).
inline void announceImportedLine(SCSubtitle& subtitle, int number, double start, double end,
                                 const QString& text, const QImage& picture = QImage()) {
    auto line = SCSubtitleLine::create();
    line->setOriginalIndex(number);
    line->setUserIndex(number);
    QVariantMap dictionary{{"startTime", start}, {"endTime", end}, {"lineDialog", text}};
    if (!picture.isNull()) dictionary.insert("lineImage", picture);
    line->initializeFromImageSubImportedDictiary(dictionary);
    platform::NotificationCenter::defaultCenter().post(
        "imageSubSCSubtitleLineCreated", nullptr,
        {{"theSubtitleLine", QVariant::fromValue(line)},
         {"theSubtitle", QVariant::fromValue<QObject*>(&subtitle)}});
}

}  // namespace documenttest
