#include "document/DocumentFormat.h"

#include "common/HelperFunctions.h"
#include "document/ASSDocumentFormat.h"
#include "document/ParallelLineParse.h"
#include "document/SRTDocumentFormat.h"

const DocumentFormat* DocumentFormat::forType(subtitleTypes type) {
    static const SRTDocumentFormat srt;
    static const ASSDocumentFormat ass;
    switch (type) {
        case subtitleTypes::srt:
            return &srt;
        case subtitleTypes::ass:
            return &ass;
        default:
            return nullptr;
    }
}

SCSubtitleLineList DocumentFormat::parseLines(std::size_t count, const LineParse& parse) {
    return ParallelLineParse::run(count, [&parse](std::size_t i) {
        auto line = SCSubtitleLine::createForRead();
        line->setOriginalIndex(qint64(i));
        line->setUserIndex(qint64(i));
        if (!line->isKeptAfterRead(parse(*line, i))) return SCSubtitleLinePtr();
        moveToMainThread(*line);  // from the thread that made it
        return line;
    });
}

QString DocumentFormat::text(const SCSubtitle& subtitle, WriteNotes* notes) const {
    QString text;
    WriteNotes unused;
    writeText(
        subtitle,
        [&text](QString piece) {
            text += piece;
            return true;
        },
        notes ? *notes : unused);
    return text;
}

void DocumentFormat::logWritten(const WriteNotes& notes) {
    if (notes.commasReplaced)
        qpl(
            QStringLiteral("ASS export: a comma in a style field or in an event's Style, Name or "
                           "Effect is written as \";\""));
}
