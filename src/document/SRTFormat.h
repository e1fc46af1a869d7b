#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
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

    // The cues of `findCues` as places in the decoded text, for a load:
    // nothing is copied until a cue's lines are asked for, so the lines of a
    // large file are made by the threads that parse them, not all first by
    // one thread. A cue is the characters from the start of its index line
    // up to the start of the next cue's index line; empty for a time line at
    // the very start.
    struct CueSpan {
        qsizetype start = 0;
        qsizetype end = 0;
    };
    static std::optional<std::vector<CueSpan>> findCueSpans(QStringView text);
    // One cue's lines (`linesOfFileText` of its characters).
    static QStringList cueLines(QStringView text, CueSpan cue);

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
