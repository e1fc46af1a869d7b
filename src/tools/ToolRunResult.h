#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/ChildProcess.h"

// What one run of a command-line tool gives back. The chosen stream is
// standard output when the tool exited with status 0 and standard error
// otherwise; there is none when the tool printed nothing on either stream or
// could not be started. The status is kept so that callers can tell a failed
// command from one that printed a result.
struct ToolRunResult {
    bool started = false;
    int exitStatus = -1;  // -1 when the tool did not exit on its own
    std::optional<QByteArray> output;

    bool succeeded() const { return started && exitStatus == 0; }

    // The chosen stream as text; none when there is none or it is not text.
    std::optional<QString> text() const;

    // Applies the rule to a finished child.
    static ToolRunResult fromChild(const platform::ChildProcess::Result& child);
};

// Bytes as UTF-8, else as ASCII; none when they are neither. ASCII here
// rejects bytes above 127, so it accepts nothing that UTF-8 refused.
std::optional<QString> decodeToolText(const QByteArray& bytes);

// Runs a tool the way every runner of the tool layer does: its arguments one
// by one without a shell, in the children's working directory, with the
// given environment or else the application's own, standard input from the
// null device, both streams read together, waiting until it has ended.
ToolRunResult runToolProcess(
    const QString& program, const QStringList& arguments,
    const std::optional<platform::EnvironmentDictionary>& environment = {});
