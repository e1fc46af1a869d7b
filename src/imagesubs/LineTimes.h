#pragma once

#include <QList>

// The display time of one picture line, in seconds from the start of the
// subtitle stream. An end of 0 means "not known yet" until the repair.
struct TimePair {
    double start = 0;
    double end = 0;
    bool operator==(const TimePair&) const = default;
};
using TimePairList = QList<TimePair>;

// Gives every line a usable end: at least 0.2 s long, before the next start,
// and 4.217 s long where nothing better is known (or 0.01 s before the next
// start when that comes sooner). Only ends change; nothing is reordered.
void repairEndTimes(TimePairList& times);
