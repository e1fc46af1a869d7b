#include "tools/MkvmergeCommand.h"

QStringList mkvmergeArguments(const QString& targetPath, const QString& sourcePath) {
    return {QStringLiteral("-o"), targetPath, sourcePath};
}

MkvmergeOutcome mkvmergeOutcome(const ToolRunResult& run) {
    if (run.outcome != platform::ChildProcess::Outcome::Exited) return MkvmergeOutcome::Failed;
    if (run.exitStatus == 0) return MkvmergeOutcome::Succeeded;
    if (run.exitStatus == 1) return MkvmergeOutcome::SucceededWithWarnings;
    return MkvmergeOutcome::Failed;
}
