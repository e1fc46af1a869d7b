#include "tools/ToolLocation.h"

#include <QFileInfo>

#include "platform/AppPaths.h"
#include "tools/ApplicationContext.h"
#include "tools/SCPreferences.h"

namespace {

QString folderPath(const QUrl& url) {
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

}  // namespace

std::optional<QUrl> urlOfApp(const QString& name) {
    const auto preferences = ApplicationContext::appPreferences();
    const QString lower = name.toLower();

    if (lower.endsWith(QStringLiteral("zip"))) {
        const QString path = platform::AppPaths::resourcesFolder() + u'/' + lower;
        if (!QFileInfo::exists(path)) return std::nullopt;
        return QUrl::fromLocalFile(path);
    }
    if (lower.startsWith(QStringLiteral("tesseract"))) {
        // Decided before the tools folder rules so that the support folder is
        // read only here; no earlier rule can match such a name.
        const auto support = preferences->borvaneSupportFolderURL();
        if (!support) return std::nullopt;
        return QUrl::fromLocalFile(folderPath(*support) + u'/' +
                                   preferences->tesseractDataFolderName() + u'/' + name);
    }

    const QString tools = folderPath(preferences->toolsLocationURL());
    QString folder;
    if (lower.startsWith(QStringLiteral("mkv")))
        folder = QStringLiteral("/mkvtoolnix/");
    else if (lower == u"mp4box")
        folder = QStringLiteral("/mp4box/");
    else if (lower == u"mplayer")
        folder = QStringLiteral("/mplayer/");
    else if (lower == u"ffmpeg" || lower == u"ffprobe" || lower == u"ffplay")
        folder = QStringLiteral("/ffmpeg/");
    else
        folder = QStringLiteral("/");
    return QUrl::fromLocalFile(tools + folder + name);
}

bool fileExists(const QUrl& atURL) {
    if (!atURL.isLocalFile()) return false;
    return QFileInfo::exists(atURL.toLocalFile());
}
