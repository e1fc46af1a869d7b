#include "document/TimeAdjustment.h"

#include <algorithm>
#include <cmath>

namespace {

// Times add up with the rounding of doubles: a start shown as 1,400 may be
// held a hair below the 1.4 that the typed amount gives. A start that would
// fall this little below 0 is put at 0 instead of refusing the shift.
constexpr double kSlack = 1e-6;

double signedAmount(double amount, const QString& direction) {
    return direction == u"Backward" ? -amount : amount;
}

}  // namespace

double TimeAdjustment::Result::largestAmount(int unitsPerSecond) const {
    const double units = double(unitsPerSecond);
    double largest = 0.0;
    if (refusal == Refusal::startBeforeZero)
        // Half the slack: an amount typed as this is taken whatever its rounding.
        largest = std::floor((limit + kSlack / 2) * units) / units;
    else if (refusal == Refusal::stretchPastEnd)
        // Below the end: the factor must stay above 0.
        largest = (std::ceil(limit * units) - 1.0) / units;
    return std::isfinite(largest) ? std::max(largest, 0.0) : 0.0;
}

TimeAdjustment::Result TimeAdjustment::shift(const SCSubtitleLineList& lines, double amount,
                                             const QString& direction) {
    const double d = signedAmount(amount, direction);
    if (!std::isfinite(d)) return {Refusal::notAnAmount};
    if (d < 0) {
        // The earliest start of all the lines, wherever it stands in the list.
        Result earliest{Refusal::none};
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (earliest.line < 0 || lines[i]->userStartTimeDouble() < earliest.limit)
                earliest = {Refusal::none, i, lines[i]->userStartTimeDouble()};
        if (earliest.line >= 0 && earliest.limit + d < -kSlack) {
            earliest.refusal = Refusal::startBeforeZero;
            return earliest;
        }
    }
    for (const auto& line : lines) {
        const double start = line->userStartTimeDouble() + d;
        line->setUserStartTimeDouble(d < 0 ? std::max(start, 0.0) : start);
        line->setUserEndTimeDouble(line->userEndTimeDouble() + d);
    }
    return {};
}

TimeAdjustment::Result TimeAdjustment::stretch(const SCSubtitleLineList& lines, double amount,
                                               const QString& direction) {
    if (lines.isEmpty()) return {};
    const qsizetype lastLine = lines.size() - 1;
    const double last = lines[lastLine]->userEndTimeDouble();
    if (!std::isfinite(amount)) return {Refusal::notAnAmount};
    // A last end of 0 or less gives no usable factor.
    if (!(last > 0)) return {Refusal::nothingToStretch, lastLine, last};
    const double factor = (last + signedAmount(amount, direction)) / last;
    if (!std::isfinite(factor)) return {Refusal::notAnAmount};
    // A factor of 0 or less would put every time at 0 or reverse them.
    if (!(factor > 0)) return {Refusal::stretchPastEnd, lastLine, last};
    for (const auto& line : lines) {
        line->setUserStartTimeDouble(line->userStartTimeDouble() * factor);
        line->setUserEndTimeDouble(line->userEndTimeDouble() * factor);
    }
    return {};
}
