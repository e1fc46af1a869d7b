#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>
#include <variant>

#include "tools/ToolRunResult.h"

// One item of a shell command line: a text enters the line as it is (it may
// carry shell syntax); a file URL enters it as the double-quoted path of a
// symbolic link to it.
using CommandChainItem = std::variant<QString, QUrl>;

// The text between double quotes, with the characters that keep a meaning
// there (", $, ` and \) escaped.
QString doubleQuotedForShell(const QString& text);

// The line for "/bin/sh -c": the quoted command, then each item after a
// blank. Makes the links for the URL items.
QString commandChainLine(const QString& command, const QList<CommandChainItem>& options);

// Runs the line through "/bin/sh" and keeps the exit status beside the text,
// so that a failed listing cannot pass for a list of names.
ToolRunResult runUnixCommandChain(const QString& command, const QList<CommandChainItem>& options,
                                  const ToolRunLimits& limits = {});

// The same, reduced to the text: standard output on status 0, standard error
// otherwise, none when nothing was printed or the shell could not start.
std::optional<QString> doUnixCommandChain(const QString& forCommand,
                                          const QList<CommandChainItem>& withOptionsArray,
                                          const ToolRunLimits& limits = {});
