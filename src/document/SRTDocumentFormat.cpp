#include "document/SRTDocumentFormat.h"

#include <vector>

#include "document/ParallelTextPieces.h"
#include "document/SCSubtitle.h"
#include "document/SRTFormat.h"

DocumentContent SRTDocumentFormat::read(QString text, bool textOnly) const {
    DocumentContent content;
    content.scriptInfo = SCSubtitle::srtScriptInfoDefaults();
    // Only the places of the cues are found here; each cue's lines are
    // copied out of the text by the thread that parses it.
    const auto cues = SRTFormat::findCueSpans(text);
    if (!cues) return content;
    content.readable = true;
    content.lines =
        parseLines(cues->size(), [&text, &cues, textOnly](SCSubtitleLine& line, std::size_t i) {
            const QStringList block = SRTFormat::cueLines(text, (*cues)[i]);
            return textOnly ? line.initializeTextOnlyFromSRTBlock(block)
                            : line.initializeFromSRTBlock(block);
        });
    return content;
}

void SRTDocumentFormat::takeText(SCSubtitleLine& line, const SCSubtitleLine& reread) const {
    line.setUnformattedTextSRT(reread.unformattedTextSRT());
}

bool SRTDocumentFormat::writeText(const SCSubtitle& subtitle, const TextSink& sink,
                                  WriteNotes&) const {
    // Cues are numbered from 1 over the lines written, so each line's number
    // is counted first and the pieces can be built in any order.
    const auto& lines = subtitle.subtitleLinesArray();
    std::vector<int> numbers(std::size_t(lines.size()));
    int number = 1;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        numbers[i] = lines[qsizetype(i)]->isExcluded() ? 0 : number++;
    return ParallelTextPieces::run(
        numbers.size(),
        [&lines, &numbers](QString& text, std::size_t first, std::size_t end) {
            text.reserve(qsizetype(end - first) * 64);
            for (std::size_t i = first; i < end; ++i)
                if (numbers[i] > 0)
                    SRTFormat::appendCue(text, numbers[i], lines[qsizetype(i)]->srtCue());
        },
        sink);
}

QString SRTDocumentFormat::writtenLine(const SCSubtitleLine& line) const {
    return line.srtDialogueString();
}
