#include "document/ASSDocumentFormat.h"

#include <atomic>

#include "common/HelperFunctions.h"
#include "document/ASSFormat.h"
#include "document/ParallelTextPieces.h"
#include "document/SCSubtitle.h"
#include "document/SRTFormat.h"
#include "formatting/SCStyle.h"

DocumentContent ASSDocumentFormat::read(QString text, bool textOnly) const {
    DocumentContent content;
    QString styleHeader;
    // The lines are copies: the whole text is not kept while they are read.
    QStringList lines = SRTFormat::linesOfFileText(text);
    text = QString();
    auto script = ASSFormat::read(lines, styleHeader);
    lines = QStringList();  // the script holds the strings it needs
    if (!styleHeader.isNull()) content.styleHeader = styleHeader;
    if (!script) return content;
    content.readable = true;
    content.keepsEmpty = true;
    content.scriptInfo = script->scriptInfo;
    content.keptSections = script->keptSections;

    if (!textOnly) {
        SCStyleList styles;
        for (const QString& styleLine : script->styleLines) {
            auto style = std::make_shared<SCStyle>();
            // The values arrive on the main queue ahead of the publication; a
            // line the parse rejects still gives a style with the defaults.
            style->intitializeWithFormatString(script->styleFormat, styleLine, styleHeader);
            moveToMainThread(*style);
            styles.append(std::move(style));
        }
        content.styles = std::move(styles);
    }

    // Detached here, once: the threads then each move out their own events.
    QString* events = script->eventLines.data();
    const QString& format = script->eventFormat;
    content.lines = parseLines(std::size_t(script->eventLines.size()),
                               [events, &format](SCSubtitleLine& line, std::size_t i) {
                                   const QString event = std::move(events[i]);
                                   return line.intitializeWithFormatString(format, event);
                               });
    return content;
}

void ASSDocumentFormat::takeText(SCSubtitleLine& line, const SCSubtitleLine& reread) const {
    line.setUnformattedTextASS(reread.unformattedTextASS());
}

bool ASSDocumentFormat::writeText(const SCSubtitle& subtitle, const TextSink& sink,
                                  WriteNotes& notes) const {
    // A comma in a field other than an event's Text is written as ";"; the
    // notes say so, once for the whole text.
    bool styleCommas = false;
    std::atomic<bool> eventCommas = false;
    QStringList styleLines;
    for (const auto& style : subtitle.subtitleStylesArray())
        styleLines.append(style->assStyleString(styleCommas));
    if (!sink(ASSFormat::headerText(subtitle.scriptInfoDictionary(), styleLines))) return false;
    const auto& lines = subtitle.subtitleLinesArray();
    const bool events = ParallelTextPieces::run(
        std::size_t(lines.size()),
        [&lines, &eventCommas](QString& text, std::size_t first, std::size_t end) {
            text.reserve(qsizetype(end - first) * 96);
            bool commas = false;
            for (std::size_t i = first; i < end; ++i) {
                const auto& line = lines[qsizetype(i)];
                if (!line->isExcluded() && ASSFormat::appendDialogue(text, line->assEvent()))
                    commas = true;
            }
            if (commas) eventCommas = true;
        },
        sink);
    if (styleCommas || eventCommas) notes.commasReplaced = true;
    if (!events) return false;
    QString kept;
    ASSFormat::appendKeptSections(kept, subtitle.keptSections());
    return kept.isEmpty() || sink(std::move(kept));
}

QString ASSDocumentFormat::writtenLine(const SCSubtitleLine& line) const {
    return line.assDialogueString();
}
