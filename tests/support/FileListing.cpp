#include "support/FileListing.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

namespace testsupport {

QStringList filesBelow(const QString& folder, const QString& namePattern) {
    const QRegularExpression name(namePattern);
    const QDir base(folder);
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (name.match(it.fileName()).hasMatch()) files.append(base.relativeFilePath(path));
    }
    files.sort();
    return files;
}

}  // namespace testsupport
