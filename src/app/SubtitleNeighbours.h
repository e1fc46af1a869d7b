#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What lies beside an opened subtitle file: a movie of the same base name for
// the preview, and the picture file of a VobSub index. Only the folder's own
// entries are looked at (no descent into subfolders, so a link back to the
// folder or a large tree costs nothing), in the order the folder lists them;
// base names are compared with their letter case.
namespace SubtitleNeighbours {

// "mkv", "mov", "mp4", "avi", "m4v", "ts", "mts", "mjpeg", "mpeg": the
// preview's movie types, matched exactly.
const QStringList& movieExtensions();

// The path (folder + "/" + entry) of the first entry whose name without its
// last extension is the subtitle's and whose extension is a movie type.
std::optional<QString> findPreviewMovie(const QString& subtitlePath);

// True when the index has its picture file beside it, as the import finds it
// (VobSubPartner).
bool hasVobSubPartner(const QString& subtitlePath);

}  // namespace SubtitleNeighbours
