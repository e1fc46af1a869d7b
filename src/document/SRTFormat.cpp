#include "document/SRTFormat.h"

namespace {

bool isLineBreak(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

// The platform's white-space set without line breaks: tab and the Unicode
// space separators.
bool isBlank(QChar c) {
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isBlankText(const QString& text) {
    for (QChar c : text)
        if (!isBlank(c)) return false;
    return true;
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

QString keepTimeCharacters(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if ((c >= u'0' && c <= u'9') || c == u':' || c == u',') kept.append(c);
    return kept;
}

}  // namespace

QStringList SRTFormat::linesOfFileText(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && !isLineBreak(text[i])) continue;
        if (i > start) lines.append(text.mid(start, i - start));
        start = i + 1;
    }
    return lines;
}

std::optional<std::vector<QStringList>> SRTFormat::findCues(const QStringList& lines) {
    std::vector<qsizetype> timeLines;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].contains(QLatin1String("-->"))) timeLines.push_back(i);
    if (timeLines.empty()) return std::nullopt;

    std::vector<QStringList> cues;
    cues.reserve(timeLines.size());
    for (std::size_t i = 0; i < timeLines.size(); ++i) {
        const qsizetype first = timeLines[i] - 1;
        const qsizetype last = i + 1 < timeLines.size() ? timeLines[i + 1] - 2 : lines.size() - 1;
        if (first < 0) {
            // A time line at the very start has no index line: an empty block
            // fails its parse like an unreadable time line.
            cues.emplace_back();
            continue;
        }
        cues.push_back(lines.mid(first, last - first + 1));
    }
    return cues;
}

std::optional<std::pair<QString, QString>> SRTFormat::timeTextsOfBlock(const QStringList& block) {
    if (block.size() < 2) return std::nullopt;
    const QStringList parts = block[1].split(QStringLiteral(" --> "));
    if (parts.size() != 2) return std::nullopt;
    // Blanks anywhere in a time are filtered out with every other stray
    // character, but a position suffix ("X1:100 X2:200") starts the end of
    // the time: its digits would otherwise be read as milliseconds.
    auto timeText = [](const QString& part) {
        qsizetype end = 0;
        while (end < part.size() && !isAsciiLetter(part[end])) ++end;
        return keepTimeCharacters(part.left(end));
    };
    return std::make_pair(timeText(parts[0]), timeText(parts[1]));
}

QString SRTFormat::textOfBlock(const QStringList& block) {
    if (block.size() <= 2) return {};
    return block.mid(2).join(u'\n');
}

QString SRTFormat::dialogueString(const QString& plainTextSRT) {
    const QStringList pieces = plainTextSRT.split(u'\n');
    if (pieces.size() == 1) return plainTextSRT;
    QString joined;
    for (const QString& piece : pieces) {
        if (piece.isEmpty() || isBlankText(piece)) continue;
        joined += piece;
        joined += u'\n';
    }
    qsizetype begin = 0, end = joined.size();
    while (begin < end && isLineBreak(joined[begin])) ++begin;
    while (end > begin && isLineBreak(joined[end - 1])) --end;
    return joined.mid(begin, end - begin);
}

QString SRTFormat::documentText(const SCSubtitleLineList& lines) {
    QString text;
    int number = 1;
    for (const auto& line : lines) {
        if (line->isExcluded()) continue;
        text += QString::number(number++);
        text += u'\n';
        text += line->userStartTimeStringSRT();
        text += QLatin1String(" --> ");
        text += line->userEndTimeStringSRT();
        text += u'\n';
        text += line->srtDialogueString();
        text += QLatin1String("\n\n");
    }
    return text;
}
