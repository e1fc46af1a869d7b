#include "document/SRTDocumentFormat.h"

#include "document/SCSubtitle.h"
#include "document/SRTFormat.h"

DocumentContent SRTDocumentFormat::read(QStringList lines, bool textOnly) const {
    DocumentContent content;
    content.scriptInfo = SCSubtitle::srtScriptInfoDefaults();
    auto cues = SRTFormat::findCues(lines);
    if (!cues) return content;
    lines = QStringList();  // the cues hold the strings now
    content.readable = true;
    content.lines =
        parseLines(cues->size(), [&cues, textOnly](SCSubtitleLine& line, std::size_t i) {
            // Each item is parsed once, by one thread.
            const QStringList block = std::move((*cues)[i]);
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
