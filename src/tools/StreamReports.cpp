#include "tools/StreamReports.h"

#include "tools/FfmpegReport.h"
#include "tools/FfprobeReport.h"
#include "tools/ToolLocation.h"

namespace {

ToolRunResult runMediaTool(const QString& tool, const QStringList& arguments,
                           const ToolRunLimits& limits) {
    const auto location = urlOfApp(tool);
    if (!location) return {};
    return runToolProcess(location->toLocalFile(), arguments, {}, limits);
}

}  // namespace

std::optional<QString> findFfmpegFileInfo(const QUrl& forFileURL, const ToolRunLimits& limits) {
    return runMediaTool(QStringLiteral("ffmpeg"), ffmpegFileInfoArguments(forFileURL.toLocalFile()),
                        limits)
        .text();
}

std::optional<QString> findFfprobeJsonString(const QUrl& forFileURL, const ToolRunLimits& limits) {
    return runMediaTool(QStringLiteral("ffprobe"),
                        ffprobeStreamsAndChaptersArguments(forFileURL.toLocalFile()), limits)
        .text();
}

std::optional<QByteArray> findFfprobeJsonData(const QUrl& forFileURL, const ToolRunLimits& limits) {
    return runMediaTool(QStringLiteral("ffprobe"),
                        ffprobeStreamsArguments(forFileURL.toLocalFile()), limits)
        .output;
}
