#include "tools/CommandRunner.h"

#include <QFileInfo>
#include <cstdio>

#include "tools/ToolRunResult.h"

const QStringList& unixCommandFolders() {
    static const QStringList folders = {QStringLiteral("/usr/bin/"), QStringLiteral("/bin/")};
    return folders;
}

std::optional<QString> locateUnixCommand(const QString& command, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString path = folder + command;
        if (QFileInfo::exists(path)) return path;
    }
    return std::nullopt;
}

std::optional<QString> doUnixCommand(const QString& forCommand, const QStringList& withOptionsArray,
                                     const ToolRunLimits& limits) {
    const auto path = locateUnixCommand(forCommand);
    if (!path) {
        std::fprintf(stdout, "%s could not be found for NSTask\n", forCommand.toUtf8().constData());
        std::fflush(stdout);
        return std::nullopt;
    }
    return runToolProcess(*path, withOptionsArray, {}, limits).text();
}

std::optional<QString> runAppWithPath(const QString& path, const QStringList& withOptionsArray,
                                      const ToolRunLimits& limits) {
    return runToolProcess(path, withOptionsArray, {}, limits).text();
}
