#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "tools/ToolRunResult.h"

// The system folders searched for a command, in order.
const QStringList& unixCommandFolders();

// The path of the first folder's entry named after the command that exists.
std::optional<QString> locateUnixCommand(const QString& command,
                                         const QStringList& folders = unixCommandFolders());

// Runs a system command found by name in "/usr/bin/" or "/bin/" and returns
// standard output on exit status 0, standard error otherwise, none when it
// printed nothing, could not be found or could not be started. Blocks until
// the command has ended or the limits stopped it.
std::optional<QString> doUnixCommand(const QString& forCommand, const QStringList& withOptionsArray,
                                     const ToolRunLimits& limits = {});

// The same for a program given by its full path.
std::optional<QString> runAppWithPath(const QString& path, const QStringList& withOptionsArray,
                                      const ToolRunLimits& limits = {});
