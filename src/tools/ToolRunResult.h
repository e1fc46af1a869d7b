#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
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
    // How the run ended: Exited, Signalled, TimedOut, Cancelled, or
    // FailedToStart / NotStarted when it never ran.
    platform::ChildProcess::Outcome outcome = platform::ChildProcess::Outcome::NotStarted;

    bool succeeded() const { return started && exitStatus == 0; }
    bool timedOut() const { return outcome == platform::ChildProcess::Outcome::TimedOut; }
    bool cancelled() const { return outcome == platform::ChildProcess::Outcome::Cancelled; }

    // The chosen stream as text; none when there is none or it is not text.
    std::optional<QString> text() const;

    // Applies the rule to a finished child.
    static ToolRunResult fromChild(const platform::ChildProcess::Result& child);
};

// Bytes as UTF-8, else as ASCII; none when they are neither. ASCII here
// rejects bytes above 127, so it accepts nothing that UTF-8 refused.
std::optional<QString> decodeToolText(const QByteArray& bytes);

// What bounds one tool run: a time limit from its start, and a flag that
// another thread sets to stop it. A stopped tool's process group is ended.
struct ToolRunLimits {
    std::optional<std::chrono::milliseconds> timeLimit{};  // none: no limit
    platform::CancellationFlag cancellation{};             // null: cannot be cancelled
};

// Runs a tool the way every runner of the tool layer does: its arguments one
// by one without a shell, in the children's working directory, with the
// given environment or else the application's own, standard input from the
// null device, both streams read together, waiting until it has ended, its
// time limit has passed or it has been cancelled.
ToolRunResult runToolProcess(const QString& program, const QStringList& arguments,
                             const std::optional<platform::EnvironmentDictionary>& environment = {},
                             const ToolRunLimits& limits = {});
