#include "tools/TemporaryNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include "platform/RunFolder.h"
#include "platform/TemporaryFolder.h"
#include "tools/CommandRunner.h"

namespace {

bool isSymbolicLink(const QString& path) {
    return QFileInfo(path).isSymLink();
}

}  // namespace

QString uniqueNamesFolder() {
    return platform::RunFolder::path();
}

QString uniqueNameField() {
    // The last group of a random UUID: 48 random bits, hexadecimal, no "/".
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return uuid.section(u'-', -1).toUpper();
}

QUrl makeUniqueNSTempFileURL(const QString& withName, const QString& andExtension) {
    const QString folder = uniqueNamesFolder();
    if (folder.isEmpty()) return {};
    const QString extension = QString(andExtension).remove(u'.');
    return QUrl::fromLocalFile(folder + withName + u'.' + uniqueNameField() + u'.' + extension);
}

QString makeFilePathUnixFriendly(const QString& forPath) {
    return QString(forPath).replace(u' ', QStringLiteral("\\ "));
}

QString makeSymbolicLinkPath(const QUrl& forURL) {
    // A folder's URL may end with "/"; its path does not.
    QString target = forURL.toLocalFile();
    while (target.size() > 1 && target.endsWith(u'/')) target.chop(1);
    const QString folder = uniqueNamesFolder();
    if (folder.isEmpty()) return target;
    const QString extension = QFileInfo(target).suffix().toLower();
    const QString link = folder + u'.' + uniqueNameField() + QStringLiteral(".SL.") + extension;

    const QFileInfo existing(link);
    if (existing.exists() || existing.isSymLink()) QFile::remove(link);
    doUnixCommand(QStringLiteral("ln"), {QStringLiteral("-s"), target, link});
    if (isSymbolicLink(link)) platform::RunFolder::noteLink(link);
    if (QFileInfo::exists(link)) return link;
    return target;
}

void removeDanglingSymbolicLinks() {
    // Only names this program makes: "." then the unique field, ".SL.".
    static const QRegularExpression name(QStringLiteral("^\\.[0-9A-F]{12}\\.SL\\."));
    const QString folder = platform::TemporaryFolder::path();
    if (folder.isEmpty()) return;
    const QStringList entries = QDir(folder).entryList(QDir::System | QDir::Hidden |
                                                       QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (!name.match(entry).hasMatch()) continue;
        const QFileInfo link(folder + entry);
        // A link that still leads somewhere may belong to a program running now.
        if (link.isSymLink() && !link.exists()) QFile::remove(link.filePath());
    }
}
