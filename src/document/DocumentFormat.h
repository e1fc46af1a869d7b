#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "common/SubtitleTypes.h"
#include "document/SCSubtitleLine.h"

class SCStyle;
class SCSubtitle;
using SCStylePtr = std::shared_ptr<SCStyle>;
using SCStyleList = QList<SCStylePtr>;

// What reading a text file gives the document. The script information and
// the styles header replace the document's whenever they are given, also
// when the read then fails (an SRT read sets its defaults first).
struct DocumentContent {
    bool readable = false;
    // A readable file without a line is still a document (an ASS script
    // whose events section is empty); otherwise it is no subtitle.
    bool keepsEmpty = false;
    std::optional<QMap<QString, QString>> scriptInfo;
    std::optional<QString> styleHeader;
    std::optional<SCStyleList> styles;  // none: the document's one default style
    SCSubtitleLineList lines;
    QStringList keptSections;
};

// A text format as the document uses it: reading a file's lines into lines
// and styles, handing a re-read text over, and writing the document. The
// file type is looked at once, in `forType`; the formats' own rules live in
// the value readers and writers (SRTFormat, ASSFormat).
class DocumentFormat {
  public:
    virtual ~DocumentFormat() = default;

    // No format for a type that is not text.
    static const DocumentFormat* forType(subtitleTypes type);

    // A load (`textOnly` false) parses every line in full and makes the
    // styles; a re-read parses only what it hands over. Both keep and drop
    // lines by one rule, so the p-th line is always the p-th kept record.
    // The decoded file text is taken; the file's lines are cut from it the
    // way SRTFormat::linesOfFileText cuts them.
    virtual DocumentContent read(QString text, bool textOnly) const = 0;

    // Gives the document's line the dialog text of the re-read line.
    virtual void takeText(SCSubtitleLine& line, const SCSubtitleLine& reread) const = 0;

    // What the text says differently from the document to fit the format.
    // Writing it logs nothing: only a write of a file tells the log
    // (`logWritten`), not a text built for any other use.
    struct WriteNotes {
        // A comma in an ASS field other than an event's Text, written as ";".
        bool commasReplaced = false;
    };

    // The whole document as file text.
    QString text(const SCSubtitle& subtitle, WriteNotes* notes = nullptr) const;

    // The same text in pieces, each ending at the end of a line, handed to
    // `sink` in order; false when the sink stopped it.
    using TextSink = std::function<bool(QString piece)>;
    virtual bool writeText(const SCSubtitle& subtitle, const TextSink& sink,
                           WriteNotes& notes) const = 0;

    // Logs what a file just written says differently from the document.
    static void logWritten(const WriteNotes& notes);

    // The document's line (from 1, as the lines table numbers them) whose
    // written form holds line `textLine` (from 1, as an encoder's failure
    // counts them) of `text`, the whole text this format wrote for the
    // document; 0 when no line's does (the header, the kept sections).
    qint64 documentLineWriting(const SCSubtitle& subtitle, const QString& text,
                               qint64 textLine) const;

  protected:
    // A line as this format writes it, in the lines of text it takes.
    virtual QString writtenLine(const SCSubtitleLine& line) const = 0;

    // Parses `count` records into new lines numbered by their position, on
    // several threads for a large file; the lines the keep rule drops are
    // left out, the others handed to the main thread.
    using LineParse = std::function<resultTypes(SCSubtitleLine& line, std::size_t index)>;
    static SCSubtitleLineList parseLines(std::size_t count, const LineParse& parse);
};
