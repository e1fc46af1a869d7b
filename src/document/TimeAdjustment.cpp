#include "document/TimeAdjustment.h"

#include <algorithm>
#include <cmath>

#include "common/TimeTexts.h"

namespace {

// Times add up with the rounding of doubles: a start shown as 1,400 may be
// held a hair below the 1.4 that the typed amount gives. A time that would
// fall this little below 0 is put at 0 instead of refusing the shift.
constexpr double kSlack = 1e-6;

double signedAmount(double amount, const QString& direction) {
    return direction == u"Backward" ? -amount : amount;
}

// Whether the earliest time, moved by the signed amount, stays at 0 or after.
bool shiftKeepsAboveZero(double earliest, double d) {
    return earliest + d >= -kSlack;
}

// The factor that moves `end` by the signed amount.
double stretchFactor(double end, double d) {
    return (end + d) / end;
}

}  // namespace

double TimeAdjustment::Result::largestAmount(int unitsPerSecond) const {
    const bool shift = refusal == Refusal::startBeforeZero || refusal == Refusal::endBeforeZero;
    if (!(shift || refusal == Refusal::stretchPastEnd) || unitsPerSecond <= 0 ||
        1000 % unitsPerSecond != 0 || !std::isfinite(limit))
        return 0.0;
    // An amount is offered as the user would type it: a time text of whole
    // units, read as every typed time is read. Multiplying the limit out
    // misses by the rounding of both (2.007 s is a hair above 2007 ms), so
    // the same test as the change itself decides, from just above the limit
    // down: the first amount taken is the largest, and the one above it was
    // refused.
    const long long step = 1000 / unitsPerSecond;
    const auto amountOf = [step](long long units) {
        return doubleTimeFromMilliseconds(units * step);
    };
    const auto takes = [this, shift](double amount) {
        if (shift) return shiftKeepsAboveZero(limit, -amount);
        const double factor = stretchFactor(limit, -amount);
        return std::isfinite(factor) && factor > 0;
    };
    const double above = std::floor(limit * unitsPerSecond) + 2;
    // Beyond what a time text holds (some 285,000 years) nothing is offered.
    if (!(above > 0) || above > 9.0e18 / double(step)) return 0.0;
    const auto top = static_cast<long long>(above);
    for (long long units = top; units >= 0 && units > top - 8; --units)
        if (takes(amountOf(units))) return amountOf(units);
    return 0.0;
}

TimeAdjustment::Result TimeAdjustment::shift(const SCSubtitleLineList& lines, double amount,
                                             const QString& direction) {
    const double d = signedAmount(amount, direction);
    if (!std::isfinite(d)) return {Refusal::notAnAmount};
    if (d < 0) {
        // The earliest time of all the lines, wherever it stands in the list:
        // a start, or an end that comes before every start (a line that ends
        // before it starts). Of equal times, the first line's, and its start.
        Result earliest{Refusal::none};
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const double start = lines[i]->userStartTimeDouble();
            const double end = lines[i]->userEndTimeDouble();
            if (earliest.line < 0 || start < earliest.limit)
                earliest = {Refusal::startBeforeZero, i, start};
            if (end < earliest.limit) earliest = {Refusal::endBeforeZero, i, end};
        }
        if (earliest.line >= 0 && !shiftKeepsAboveZero(earliest.limit, d)) return earliest;
    }
    for (const auto& line : lines) {
        const double start = line->userStartTimeDouble() + d;
        const double end = line->userEndTimeDouble() + d;
        line->setUserStartTimeDouble(d < 0 ? std::max(start, 0.0) : start);
        line->setUserEndTimeDouble(d < 0 ? std::max(end, 0.0) : end);
    }
    return {};
}

TimeAdjustment::Result TimeAdjustment::stretch(const SCSubtitleLineList& lines, double amount,
                                               const QString& direction) {
    if (lines.isEmpty()) return {};
    if (!std::isfinite(amount)) return {Refusal::notAnAmount};
    // The line that starts last ends the film's subtitles as the user sees
    // them; ASS files often keep their signs and songs after the dialogue,
    // out of time order.
    qsizetype latest = 0;
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (lines[i]->userStartTimeDouble() >= lines[latest]->userStartTimeDouble()) latest = i;
    const double last = lines[latest]->userEndTimeDouble();
    // An end of 0 or less gives no usable factor.
    if (!(last > 0)) return {Refusal::nothingToStretch, latest, last};
    const double factor = stretchFactor(last, signedAmount(amount, direction));
    if (!std::isfinite(factor)) return {Refusal::notAnAmount};
    // A factor of 0 or less would put every time at 0 or reverse them.
    if (!(factor > 0)) return {Refusal::stretchPastEnd, latest, last};
    for (const auto& line : lines) {
        line->setUserStartTimeDouble(line->userStartTimeDouble() * factor);
        line->setUserEndTimeDouble(line->userEndTimeDouble() * factor);
    }
    return {};
}
