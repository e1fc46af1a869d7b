#include "tools/ToolRunResult.h"

#include <QStringDecoder>
#include <algorithm>

#include "platform/AppPaths.h"

std::optional<QString> decodeToolText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 128; });
    if (ascii) return QString::fromLatin1(bytes);
    return std::nullopt;
}

std::optional<QString> ToolRunResult::text() const {
    if (!output) return std::nullopt;
    return decodeToolText(*output);
}

ToolRunResult ToolRunResult::fromChild(const platform::ChildProcess::Result& child) {
    using Outcome = platform::ChildProcess::Outcome;
    ToolRunResult result;
    result.outcome = child.outcome;
    result.started =
        child.outcome != Outcome::FailedToStart && child.outcome != Outcome::NotStarted;
    if (!result.started) return result;
    if (child.exited()) result.exitStatus = child.exitStatus;
    if (child.standardOutput.isEmpty() && child.standardError.isEmpty()) return result;
    result.output = result.exitStatus == 0 ? child.standardOutput : child.standardError;
    return result;
}

ToolRunResult runToolProcess(const QString& program, const QStringList& arguments,
                             const std::optional<platform::EnvironmentDictionary>& environment,
                             const ToolRunLimits& limits) {
    platform::ChildProcess::Options options;
    options.workingDirectory = platform::AppPaths::childWorkingDirectory();
    options.environment = environment;
    options.timeLimit = limits.timeLimit;
    options.cancellation = limits.cancellation;
    return ToolRunResult::fromChild(platform::ChildProcess::run(program, arguments, options));
}
