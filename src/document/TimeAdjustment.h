#pragma once

#include <QString>

#include "document/SCSubtitleLine.h"

// Moving every time of a document at once: a shift by an amount, or a
// stretch that moves the end of the line that starts last by it. Every line
// takes the change or none does: the check looks at the times all lines have
// now, in any order, before the first one is written.
class TimeAdjustment {
  public:
    enum class Refusal {
        none,
        // A line would start before 0.
        startBeforeZero,
        // A line would end before 0 (its end is the earliest time: it ends
        // before it starts, or before every start).
        endBeforeZero,
        // The factor would not be above 0: a backward stretch by the end of
        // the line that starts last, or more.
        stretchPastEnd,
        // The line that starts last ends at 0 or before: there is no factor.
        nothingToStretch,
        // The amount, or the factor it gives, is not a finite number.
        notAnAmount,
    };

    struct Result {
        Refusal refusal = Refusal::none;
        // The line that stops the change, as a position in the list, and its
        // time: the earliest start or end for a shift, the end of the line
        // that starts last for a stretch. -1 when no line stops it.
        qsizetype line = -1;
        double limit = 0.0;

        bool applied() const { return refusal == Refusal::none; }
        // The largest whole number of units (1000 a second for SRT times,
        // 100 for ASS) that the same backward shift or stretch takes, in
        // seconds as its time text reads: typed as the program shows it, it
        // applies, and one unit more is refused. 0 when there is none.
        double largestAmount(int unitsPerSecond) const;
    };

    // Adds the amount to every start and end; "Backward" (exactly) takes it
    // away. No start or end is moved below 0; a forward shift always applies.
    static Result shift(const SCSubtitleLineList& lines, double amount, const QString& direction);

    // Multiplies every start and end by (E + amount) / E, or (E - amount) / E
    // for "Backward", E being the end of the line that starts last (of equal
    // starts, the last in the list): the list's last line in a file in time
    // order, whatever order the lines are kept in.
    static Result stretch(const SCSubtitleLineList& lines, double amount, const QString& direction);
};
