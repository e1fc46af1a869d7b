#pragma once

#include <QString>
#include <QStringList>

#include "tools/ToolRunResult.h"

// mkvmerge wrapping a subtitle file into a Matroska file: how it is asked,
// and what its run means. Pure functions.

// "-o", the target, the source: each one argument, no shell.
QStringList mkvmergeArguments(const QString& targetPath, const QString& sourcePath);

// mkvmerge exits with 0 on success, 1 when it succeeded with warnings and 2
// on an error; a signal, a time limit, a cancellation or a failed start is
// a failure too.
enum class MkvmergeOutcome { Succeeded, SucceededWithWarnings, Failed };
MkvmergeOutcome mkvmergeOutcome(const ToolRunResult& run);
