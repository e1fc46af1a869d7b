#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "document/SubtitleRecords.h"

// The SubRip text format as the document reads and writes it.
class SRTFormat {
  public:
    // A decoded subtitle file cut at every line-break character, empty
    // pieces dropped: CR LF ends one line, blank lines vanish, a line of
    // blanks stays. The ASS reader starts from the same list.
    static QStringList linesOfFileText(const QString& text);

    // The cues of the file's lines, each run starting at the line before its
    // time line (the index line) up to the line before the next cue's index
    // line. No value when no line holds "-->". A cue that lacks its index
    // line or its time line comes out too short for a block parse to read,
    // so it fails like a cue with a bad time line.
    static std::optional<std::vector<QStringList>> findCues(const QStringList& lines);

    // The two time texts of a block's time line, split at " --> ", each side
    // up to its first letter (a position suffix) kept to digits, ":" and ",";
    // no value when the block has no second line or the split does not give
    // exactly two parts.
    static std::optional<std::pair<QString, QString>> timeTextsOfBlock(const QStringList& block);

    // The block's text lines (third on) joined with "\n"; empty when none.
    static QString textOfBlock(const QStringList& block);

    // A line's SRT text as written into a cue: a one-line text unchanged;
    // otherwise its blank pieces dropped and its line breaks trimmed at
    // both ends.
    static QString dialogueString(const QString& plainTextSRT);

    // A cue block's times and text; no value when its time line does not
    // split or a time does not read. Unlike `timeTextsOfBlock` the times keep
    // a point before the milliseconds, read like a comma, and a time without
    // milliseconds reads as whole seconds.
    static std::optional<SrtCue> readCue(const QStringList& block);

    // One cue as written: its number, its time line, its text in written
    // form (`dialogueString`) and a blank line.
    static void appendCue(QString& text, int number, const SrtCue& cue);

    // The whole file text of the cues, numbered from 1.
    static QString documentText(const std::vector<SrtCue>& cues);
};
