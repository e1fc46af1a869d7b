#pragma once

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

#include "document/SubtitleRecords.h"

// The Advanced SubStation Alpha text format (SSA read as ASS) as the
// document reads and writes it.
class ASSFormat {
  public:
    // The three known blocks of a file, each starting with its header line
    // and ending before the next section header, and every other section
    // after the script information, header first.
    struct Sections {
        QStringList scriptInfo;
        QStringList styles;
        QStringList events;
        QList<QStringList> kept;
    };

    // A line "[...]" (blanks around it allowed): it starts a section.
    static bool isSectionHeader(const QString& line);

    // Finds the "Script Info]", "Styles]" and "Events]" headers in any case,
    // in lines that begin with "[" (after blanks); stops at the third. `styleHeader` receives every
    // styles header met, whole, even when the check then fails. No value unless exactly these three
    // were found in this order.
    static std::optional<Sections> findSections(const QStringList& lines, QString& styleHeader);

    // The script-information entries "key: value" of a block ("ScriptType"
    // defaults to "v4.00+"); comment lines and lines with a second ": " skipped.
    static QMap<QString, QString> scriptInfoOf(const QStringList& block);

    // The fields of one event line paired by position with the names of the
    // events Format line ("\N" read as a line feed; the last name keeps the
    // rest of the line, commas included; names and values trimmed; only
    // positions with both a name and a value). No value when the lines are
    // not a "Format: " line and a "Dialogue: " line.
    static std::optional<QHash<QString, QString>> eventFields(const QString& formatLine,
                                                              const QString& dialogueLine);

    // The script of a file's lines: the sections found by `findSections`,
    // each block's Format line (its second line) and the records after it.
    // No value when the section check fails; `styleHeader` as there.
    static std::optional<AssScript> read(const QStringList& lines, QString& styleHeader);

    // The ten event fields in the order every written event line has.
    static const QStringList& eventFieldNames();
    // "Format: " and the ten event field names joined by ", ".
    static QString eventFormatLine();
    // One event's "Dialogue: " line; every field goes through the escape.
    static QString dialogueLine(const AssEvent& event);

    // The pieces of a document's text, for writers that do not gather the
    // events first: the script information, styles and events header up to
    // the events Format line (a line break in a script-information entry
    // becomes a blank); one event line with its line feed; the kept
    // sections, each after a blank line.
    static QString headerText(const QMap<QString, QString>& scriptInfo,
                              const QStringList& styleLines);
    // A comma in Style, Name or Effect is written as ";" (only the last field,
    // Text, may hold one); true when one was.
    static bool appendDialogue(QString& text, const AssEvent& event);
    static void appendKeptSections(QString& text, const QStringList& sections);

    // The ASS text of a document. The Format lines are the record types'
    // own, so a document with no style or no line still writes them.
    static QString documentText(const AssDocument& document);

    // A text that begins or ends with white space gets "{}" on that side, so
    // that the trimming reader gives it back; the reader takes them off. A
    // literal "{}" at an end that the reader would take for one gets one too.
    static QString withBlankGuards(const QString& text);
    static QString withoutBlankGuards(const QString& text);

    // A field value safe to write into a one-line record: every line break
    // becomes "\N".
    static QString escapeLineBreaks(const QString& value);
};
