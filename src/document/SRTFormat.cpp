#include "document/SRTFormat.h"

#include "common/TimeTexts.h"
#include "document/TextLines.h"

namespace {

using textlines::isBlankText;
using textlines::isLineBreak;

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

QString keepTimeCharacters(const QString& text, bool withPoint) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if ((c >= u'0' && c <= u'9') || c == u':' || c == u',' || (withPoint && c == u'.'))
            kept.append(c);
    return kept;
}

std::optional<std::pair<QString, QString>> timeTexts(const QStringList& block, bool withPoint) {
    if (block.size() < 2) return std::nullopt;
    const QStringList parts = block[1].split(QStringLiteral(" --> "));
    if (parts.size() != 2) return std::nullopt;
    // Blanks anywhere in a time are filtered out with every other stray
    // character, but a position suffix ("X1:100 X2:200") starts the end of
    // the time: its digits would otherwise be read as milliseconds.
    auto timeText = [withPoint](const QString& part) {
        qsizetype end = 0;
        while (end < part.size() && !isAsciiLetter(part[end])) ++end;
        return keepTimeCharacters(part.left(end), withPoint);
    };
    return std::make_pair(timeText(parts[0]), timeText(parts[1]));
}

// A cue time: "," or "." before the milliseconds (older tools write a
// point), or whole seconds without any.
std::optional<double> cueTime(QString text) {
    if (!text.contains(u',') && !text.contains(u'.')) text += QLatin1String(",000");
    return doubleTimeFromStringTime(text);
}

}  // namespace

namespace {

// Calls `line(start, length)` for every piece of the text between line
// breaks that is not empty, in order.
template <typename Line>
void forEachLine(QStringView text, const Line& line) {
    const char16_t* data = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && !isLineBreak(data[i])) continue;
        if (i > start) line(start, i - start);
        start = i + 1;
    }
}

}  // namespace

QStringList SRTFormat::linesOfFileText(const QString& text) {
    QStringList lines;
    forEachLine(text,
                [&](qsizetype start, qsizetype length) { lines.append(text.mid(start, length)); });
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

std::optional<std::vector<SRTFormat::CueSpan>> SRTFormat::findCueSpans(QStringView text) {
    // One search of the whole text: an arrow holds no line break, so each
    // one found lies in one line, a time line; the search goes on after it.
    static constexpr QStringView arrow = u"-->";
    const char16_t* data = text.utf16();
    const qsizetype n = text.size();
    std::vector<qsizetype> indexLines;  // where each one starts; -1 for none
    for (qsizetype at = text.indexOf(arrow); at >= 0;) {
        qsizetype timeLine = at;
        while (timeLine > 0 && !isLineBreak(data[timeLine - 1])) --timeLine;
        // The index line is the line before: the last piece that is not
        // empty before the time line.
        qsizetype before = timeLine;
        while (before > 0 && isLineBreak(data[before - 1])) --before;
        if (before == 0) {
            indexLines.push_back(-1);
        } else {
            while (before > 0 && !isLineBreak(data[before - 1])) --before;
            indexLines.push_back(before);
        }
        qsizetype end = at + arrow.size();
        while (end < n && !isLineBreak(data[end])) ++end;
        at = text.indexOf(arrow, end);
    }
    if (indexLines.empty()) return std::nullopt;
    std::vector<CueSpan> cues;
    cues.reserve(indexLines.size());
    for (std::size_t i = 0; i < indexLines.size(); ++i) {
        // A time line at the very start has no index line: an empty block
        // fails its parse like an unreadable time line. Only the first time
        // line can lack one.
        if (indexLines[i] < 0) {
            cues.push_back({0, 0});
            continue;
        }
        cues.push_back({indexLines[i], i + 1 < indexLines.size() ? indexLines[i + 1] : n});
    }
    return cues;
}

QStringList SRTFormat::cueLines(QStringView text, CueSpan cue) {
    const QStringView part = text.mid(cue.start, cue.end - cue.start);
    QStringList lines;
    forEachLine(part, [&](qsizetype start, qsizetype length) {
        lines.append(part.mid(start, length).toString());
    });
    return lines;
}

std::optional<std::pair<QString, QString>> SRTFormat::timeTextsOfBlock(const QStringList& block) {
    return timeTexts(block, false);
}

QString SRTFormat::textOfBlock(const QStringList& block) {
    if (block.size() <= 2) return {};
    return block.mid(2).join(u'\n');
}

QString SRTFormat::dialogueString(const QString& plainTextSRT) {
    const QStringList pieces = plainTextSRT.split(u'\n');
    if (pieces.size() == 1) return plainTextSRT;
    QString joined, blanks;
    for (const QString& piece : pieces) {
        if (piece.isEmpty()) continue;
        QString& kept = isBlankText(piece) ? blanks : joined;
        kept += piece;
        kept += u'\n';
    }
    // A text of blank lines only keeps them: without any, its cue would have
    // no text, and a cue without text is dropped when the file is read again.
    if (joined.isEmpty()) joined = blanks;
    qsizetype begin = 0, end = joined.size();
    while (begin < end && isLineBreak(joined[begin])) ++begin;
    while (end > begin && isLineBreak(joined[end - 1])) --end;
    return joined.mid(begin, end - begin);
}

std::optional<SrtCue> SRTFormat::readCue(const QStringList& block) {
    const auto times = timeTexts(block, true);
    const auto start = times ? cueTime(times->first) : std::nullopt;
    const auto end = times ? cueTime(times->second) : std::nullopt;
    if (!start || !end) return std::nullopt;
    SrtCue cue{*start, *end, std::nullopt};
    if (block.size() > 2) cue.text = textOfBlock(block);
    return cue;
}

void SRTFormat::appendCue(QString& text, int number, const SrtCue& cue) {
    text += QString::number(number);
    text += u'\n';
    text += srtTimeStringFromDoubleTime(cue.start);
    text += QLatin1String(" --> ");
    text += srtTimeStringFromDoubleTime(cue.end);
    text += u'\n';
    text += dialogueString(cue.text.value_or(QString()));
    text += QLatin1String("\n\n");
}

QString SRTFormat::documentText(const std::vector<SrtCue>& cues) {
    QString text;
    text.reserve(qsizetype(cues.size()) * 64);
    int number = 1;
    for (const SrtCue& cue : cues) appendCue(text, number++, cue);
    return text;
}
