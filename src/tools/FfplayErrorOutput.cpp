#include "tools/FfplayErrorOutput.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// "ffplay version …", then indented: "built with …", "configuration: …" and
// one line for each library's version.
bool isBannerLine(const QString& line) {
    static const QRegularExpression banner(QStringLiteral(
        R"(^(ffplay version |\s+(built with |configuration: |lib[a-z]+\s+\d+\.\s*\d+\.\s*\d+ / )))"));
    return banner.match(line).hasMatch();
}

// The status line while it plays, and what the preview's own choice of
// subtitle stream brings about in a movie without subtitles.
bool isChatter(const QString& line) {
    static const QRegularExpression chatter(QStringLiteral(
        R"(\bfd=\s*-?\d+\s+aq=|^Stream specifier \S+ does not match any subtitle stream$)"));
    return chatter.match(line).hasMatch();
}

// "[mov,mp4 @ 0x7f24…] moov atom not found": the address means nothing to
// the user.
QString withoutAddress(QString line) {
    static const QRegularExpression address(QStringLiteral(R"(^(\[[^\]]*?) @ 0x[0-9A-Fa-f]+\])"));
    return line.replace(address, QStringLiteral("\\1]"));
}

QString bounded(QString line) {
    if (line.size() > FfplayErrorOutput::kLongestLine) {
        qsizetype keep = FfplayErrorOutput::kLongestLine - 1;
        if (line.at(keep - 1).isHighSurrogate()) --keep;
        line.truncate(keep);
        line += u'…';
    }
    return line;
}

}  // namespace

FfplayErrorOutput::FfplayErrorOutput(const QByteArray& standardError, const QString& moviePath) {
    static const QRegularExpression breaks(QStringLiteral("[\r\n]"));
    for (const QString& raw : QString::fromUtf8(standardError).split(breaks)) {
        if (isBannerLine(raw)) continue;
        const QString line = raw.trimmed();
        if (line.isEmpty() || isChatter(line)) continue;
        // "<movie>: Invalid data found when processing input", "<movie>: No
        // such file or directory", "<movie>: could not find codec
        // parameters"; and a file without sound or picture.
        if ((!moviePath.isEmpty() && line.startsWith(moviePath + QStringLiteral(": "))) ||
            line.startsWith(QStringLiteral("Failed to open file '") + moviePath + u'\''))
            movieLine_ = lines_.size();
        lines_.append(line);
    }
}

QStringList FfplayErrorOutput::failureLines() const {
    qsizetype first = std::max<qsizetype>(0, lines_.size() - kMostLines);
    qsizetype last = lines_.size() - 1;
    if (movieLine_ >= 0) {
        last = movieLine_;
        first = movieLine_;
        while (first > 0 && last - first + 1 < kMostLines && lines_.at(first - 1).startsWith(u'['))
            --first;
    }
    QStringList said;
    for (qsizetype i = first; i <= last; ++i) said.append(bounded(withoutAddress(lines_.at(i))));
    return said;
}
