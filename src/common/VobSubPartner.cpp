#include "common/VobSubPartner.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace VobSubPartner {

QString plainPictureFileOf(const QString& indexPath) {
    const QString suffix = QFileInfo(indexPath).suffix();
    const QString stem =
        suffix.isEmpty() ? indexPath : indexPath.left(indexPath.size() - suffix.size() - 1);
    return stem + QStringLiteral(".sub");
}

std::optional<QString> pictureFileOf(const QString& indexPath) {
    const QString plain = plainPictureFileOf(indexPath);
    if (QFileInfo(plain).isFile()) return plain;
    const QFileInfo index(indexPath);
    const QDir folder = index.dir();
    // Without QDir::System: a pipe of that name would hold a reader for ever.
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (entry == index.fileName()) continue;
        const QFileInfo info(entry);
        if (info.completeBaseName() != index.completeBaseName() ||
            info.suffix().compare(QLatin1String("sub"), Qt::CaseInsensitive) != 0)
            continue;
        const QString path = folder.filePath(entry);
        if (QFileInfo(path).isFile()) return path;
    }
    return std::nullopt;
}

}  // namespace VobSubPartner
