#include "tools/StreamReports.h"

#include "tools/ToolLocation.h"
#include "tools/ToolRunResult.h"

namespace {

ToolRunResult runMediaTool(const QString& tool, const QStringList& arguments) {
    const auto location = urlOfApp(tool);
    if (!location) return {};
    return runToolProcess(location->toLocalFile(), arguments);
}

}  // namespace

std::optional<QString> findFfmpegFileInfo(const QUrl& forFileURL) {
    return runMediaTool(QStringLiteral("ffmpeg"), {QStringLiteral("-i"), forFileURL.toLocalFile(),
                                                   QStringLiteral("-hide_banner")})
        .text();
}

std::optional<QString> findFfprobeJsonString(const QUrl& forFileURL) {
    return runMediaTool(QStringLiteral("ffprobe"),
                        {QStringLiteral("-i"), forFileURL.toLocalFile(),
                         QStringLiteral("-show_streams"), QStringLiteral("-show_chapters"),
                         QStringLiteral("-print_format"), QStringLiteral("json")})
        .text();
}

std::optional<QByteArray> findFfprobeJsonData(const QUrl& forFileURL) {
    return runMediaTool(
               QStringLiteral("ffprobe"),
               {QStringLiteral("-i"), forFileURL.toLocalFile(), QStringLiteral("-show_streams"),
                QStringLiteral("-print_format"), QStringLiteral("json")})
        .output;
}
