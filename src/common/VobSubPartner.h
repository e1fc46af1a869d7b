#pragma once

#include <QString>
#include <optional>

// The picture file (SUB) that belongs to a VobSub index, as both the document
// window and the import find it.
namespace VobSubPartner {

// The index's path with ".sub" for its extension where that is a file, else
// the first file of the index's folder whose name is the index's base name
// (letter case significant) with the extension "sub" in any letter case
// ("Film.SUB" beside "Film.idx"). Only files count, links to files
// included: a folder, a pipe or a device of that name is no picture file.
// None when the folder holds no such file.
std::optional<QString> pictureFileOf(const QString& indexPath);

// The index's path with ".sub" for its extension: where mkvmerge looks for
// the picture file, whether or not it is there.
QString plainPictureFileOf(const QString& indexPath);

}  // namespace VobSubPartner
