#include "preferences/LanguageRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "preferences/LanguageGroups.h"

namespace {

bool ownsLanguageData(const QMap<QString, QStringList>& files, const QString& language) {
    return files.value(language).contains(language + QStringLiteral(".traineddata"));
}

}  // namespace

LanguageRemoval::Plan LanguageRemoval::plan(const QStringList& languages,
                                            const QMap<QString, QStringList>& files,
                                            const QStringList& chosen) {
    qsizetype installed = 0;
    for (const QString& language : languages)
        if (ownsLanguageData(files, language)) ++installed;

    Plan plan;
    qsizetype removed = 0;
    for (const QString& language : chosen) {
        if (!files.contains(language)) continue;
        const bool ocrLanguage = ownsLanguageData(files, language);
        if (ocrLanguage && removed >= installed - 1) {
            if (!plan.keptLanguage) plan.keptLanguage = language;
            continue;
        }
        plan.files += files.value(language);
        if (ocrLanguage) ++removed;
    }
    return plan;
}

bool LanguageRemoval::removeEntry(const QString& folder, const QString& name) {
    if (!LanguageGroups::isOfferableFileName(name)) return false;
    const QDir dir(folder);
    const QStringList present =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (!present.contains(name)) return false;
    const QString path = dir.filePath(name);
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) return QDir(path).removeRecursively();
    return QFile::remove(path);
}
