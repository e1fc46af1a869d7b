#include "document/DocumentFormat.h"

#include "common/HelperFunctions.h"
#include "document/ASSDocumentFormat.h"
#include "document/ParallelLineParse.h"
#include "document/SCSubtitle.h"
#include "document/SRTDocumentFormat.h"

namespace {

// The line of the text, from 1, as the encoder's failure counts them.
QStringView lineOfText(const QString& text, qint64 number) {
    qsizetype start = 0;
    for (qint64 n = 1; n < number; ++n) {
        start = text.indexOf(u'\n', start);
        if (start < 0) return {};
        ++start;
    }
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) end = text.size();
    return QStringView(text).mid(start, end - start);
}

}  // namespace

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

qint64 DocumentFormat::documentLineWriting(const SCSubtitle& subtitle, const QString& text,
                                           qint64 textLine) const {
    const QStringView wanted = lineOfText(text, textLine);
    // The first line written with it is the one: a line before it written
    // with the same text would have failed first.
    const auto& lines = subtitle.subtitleLinesArray();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const SCSubtitleLine& line = *lines[i];
        if (line.isExcluded()) continue;
        const QString written = writtenLine(line);
        for (const QStringView part : QStringView(written).split(u'\n'))
            if (part == wanted) return i + 1;
    }
    return 0;
}
