#include "app/SubtitleNeighbours.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

#include "common/VobSubPartner.h"

namespace SubtitleNeighbours {

const QStringList& movieExtensions() {
    static const QStringList extensions{"mkv", "mov", "mp4",   "avi", "m4v",
                                        "ts",  "mts", "mjpeg", "mpeg"};
    return extensions;
}

namespace {

// The folder's entries other than the file itself whose base name is the
// file's, in listing order, until `accept` takes one.
std::optional<QString> firstSibling(const QString& subtitlePath,
                                    const std::function<bool(const QString&)>& accept) {
    const QFileInfo file(subtitlePath);
    const QString fileName = file.fileName();
    const QString baseName = file.completeBaseName();
    const QDir folder = file.dir();
    const QStringList entries = folder.entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (entry == fileName) continue;
        const QFileInfo info(entry);
        if (info.completeBaseName() != baseName) continue;
        if (accept(info.suffix())) return entry;
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> findPreviewMovie(const QString& subtitlePath) {
    const auto entry = firstSibling(subtitlePath, [](const QString& extension) {
        return movieExtensions().contains(extension, Qt::CaseSensitive);
    });
    if (!entry) return std::nullopt;
    return QFileInfo(subtitlePath).path() + "/" + *entry;
}

bool hasVobSubPartner(const QString& subtitlePath) {
    return VobSubPartner::pictureFileOf(subtitlePath).has_value();
}

}  // namespace SubtitleNeighbours
