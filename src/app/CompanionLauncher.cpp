#include "app/CompanionLauncher.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

#include "app/DesktopEntry.h"

namespace {

bool isDesktopFile(const QString& path) {
    return path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
}

bool isExecutableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

std::optional<CompanionLauncher::Launch> launchForEntry(const QString& file,
                                                        const std::optional<DesktopEntry>& entry,
                                                        const QString& entryPath) {
    if (!entry || !entry->isLaunchable()) return std::nullopt;
    auto command = entry->commandForFile(file, entryPath);
    if (!command) return std::nullopt;
    return CompanionLauncher::Launch{*command, entry->path};
}

QStringList desktopFilesIn(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files | QDir::Readable,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(it.next());
    files.sort();
    return files;
}

}  // namespace

CompanionLauncher::SearchPaths CompanionLauncher::systemSearchPaths() {
    SearchPaths paths;
    paths.programFolders = qEnvironmentVariable("PATH").split(':', Qt::SkipEmptyParts);
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty()) dataHome = QDir::homePath() + "/.local/share";
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    paths.applicationFolders.append(dataHome + "/applications");
    for (const QString& folder : dataDirs.split(':', Qt::SkipEmptyParts))
        paths.applicationFolders.append(folder + "/applications");
    return paths;
}

std::optional<CompanionLauncher::Launch> CompanionLauncher::launchForLocation(
    const QString& file, const QString& location) {
    if (location.isEmpty()) return std::nullopt;
    if (isDesktopFile(location))
        return launchForEntry(file, DesktopEntry::read(location), location);
    if (!isExecutableFile(location)) return std::nullopt;
    return Launch{{QFileInfo(location).absoluteFilePath(), file}, {}};
}

std::optional<CompanionLauncher::Launch> CompanionLauncher::launchForName(
    const QString& file, const QString& name, const SearchPaths& paths) {
    // A name is a plain word: anything with a path separator is no name.
    if (name.isEmpty() || name.contains('/') || name == "." || name == "..") return std::nullopt;
    QStringList spellings{name};
    if (name != name.toLower()) spellings.append(name.toLower());
    for (const QString& spelling : spellings) {
        for (const QString& folder : paths.programFolders) {
            const QString candidate = QDir(folder).filePath(spelling);
            if (isExecutableFile(candidate)) return Launch{{candidate, file}, {}};
        }
    }
    for (const QString& folder : paths.applicationFolders) {
        for (const QString& entryPath : desktopFilesIn(folder)) {
            const QString id = QFileInfo(entryPath).completeBaseName();
            const auto entry = DesktopEntry::read(entryPath);
            if (!entry || entry->hidden) continue;
            if (id.compare(name, Qt::CaseInsensitive) != 0 &&
                entry->name.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (auto launch = launchForEntry(file, entry, entryPath)) return launch;
        }
    }
    return std::nullopt;
}

bool CompanionLauncher::start(const std::optional<Launch>& launch) {
    if (!launch) return false;
    QProcess process;
    process.setProgram(launch->command.first());
    process.setArguments(launch->command.mid(1));
    process.setStandardInputFile(QProcess::nullDevice());
    if (!launch->workingFolder.isEmpty() && QFileInfo(launch->workingFolder).isDir())
        process.setWorkingDirectory(launch->workingFolder);
    return process.startDetached();
}

bool CompanionLauncher::openFileWithApplicationAt(const QString& file, const QString& location) {
    return start(launchForLocation(file, location));
}

bool CompanionLauncher::openFileWithApplicationNamed(const QString& file, const QString& name,
                                                     const SearchPaths& paths) {
    return start(launchForName(file, name, paths));
}
