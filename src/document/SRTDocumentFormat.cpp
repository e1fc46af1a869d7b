#include "document/SRTDocumentFormat.h"

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

QString SRTDocumentFormat::text(const SCSubtitle& subtitle) const {
    QString text;
    text.reserve(subtitle.subtitleLinesArray().size() * 64);
    int number = 1;
    for (const auto& line : subtitle.subtitleLinesArray())
        if (!line->isExcluded()) SRTFormat::appendCue(text, number++, line->srtCue());
    return text;
}
