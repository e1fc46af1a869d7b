#include "document/SRTDocumentFormat.h"

#include "document/SCSubtitle.h"
#include "document/SRTFormat.h"

DocumentContent SRTDocumentFormat::read(const QStringList& lines, bool textOnly) const {
    DocumentContent content;
    content.scriptInfo = SCSubtitle::srtScriptInfoDefaults();
    const auto cues = SRTFormat::findCues(lines);
    if (!cues) return content;
    content.readable = true;
    content.lines =
        parseLines(cues->size(), [&cues, textOnly](SCSubtitleLine& line, std::size_t i) {
            return textOnly ? line.initializeTextOnlyFromSRTBlock((*cues)[i])
                            : line.initializeFromSRTBlock((*cues)[i]);
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
