#include "tools/FfmpegReport.h"

#include <QRegularExpression>
#include <charconv>

namespace {

std::optional<qint64> strictWholeNumber(QStringView digits) {
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok, 10);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<double> strictNumber(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    double value = 0;
    const auto [end, error] =
        std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    if (bytes.isEmpty() || error != std::errc() || end != bytes.constData() + bytes.size())
        return std::nullopt;
    return value;
}

std::optional<FfmpegPictureSize> pictureSize(const QString& report) {
    static const QRegularExpression size(QStringLiteral("[0-9]+x[0-9]+"));
    for (QStringView line : QStringView(report).split(u'\n')) {
        if (!line.contains(u"Stream #")) continue;
        auto matches = size.globalMatch(line);
        while (matches.hasNext()) {
            const QStringView match = matches.next().capturedView();
            if (match.startsWith(u'0')) continue;  // "0x…" is a codec tag
            const qsizetype x = match.indexOf(u'x');
            const auto width = strictWholeNumber(match.first(x));
            const auto height = strictWholeNumber(match.sliced(x + 1));
            if (!width || !height) return std::nullopt;
            return FfmpegPictureSize{*width, *height};
        }
    }
    return std::nullopt;
}

}  // namespace

QStringList ffmpegFileInfoArguments(const QString& path) {
    return {QStringLiteral("-i"), path, QStringLiteral("-hide_banner")};
}

FfmpegFileInfo parseFfmpegFileInfo(const QString& report) {
    static const QRegularExpression start(QStringLiteral("start:[ ]*[-0-9]+.[0-9]+"));
    FfmpegFileInfo info;
    info.size = pictureSize(report);
    const QRegularExpressionMatch match = start.match(report);
    if (match.hasMatch()) {
        QString value = match.captured(0).section(QStringLiteral("start:"), 1);
        while (value.startsWith(u' ') || value.startsWith(u'\t')) value.remove(0, 1);
        info.startTime = strictNumber(value).value_or(0);
    }
    return info;
}
