// Shift and stretch of every time: each moves every line or none; a backward
// shift puts no start or end below 0; a refusal offers an amount that, typed
// as the view shows it, applies, and one unit more is refused. The input is
// a byte of choices, the amount, then each line's start and end, as whole
// milliseconds read as a time text reads (three bytes each, up to 4:39:37).
#include <cmath>
#include <vector>

#include "FuzzSupport.h"
#include "common/TimeTexts.h"
#include "document/TimeAdjustment.h"

namespace {

long long millisAt(const uint8_t* data) {
    return (static_cast<long long>(data[0]) << 16) | (static_cast<long long>(data[1]) << 8) |
           data[2];
}

using Times = std::vector<std::pair<double, double>>;

Times timesOf(const SCSubtitleLineList& lines) {
    Times times;
    for (const auto& line : lines)
        times.emplace_back(line->userStartTimeDouble(), line->userEndTimeDouble());
    return times;
}

void setTimes(const SCSubtitleLineList& lines, const Times& times) {
    for (std::size_t i = 0; i < times.size(); ++i) {
        lines[qsizetype(i)]->setUserStartTimeDouble(times[i].first);
        lines[qsizetype(i)]->setUserEndTimeDouble(times[i].second);
    }
}

// The seconds of a typed time of this many milliseconds, in the view's form.
double typed(long long millis, bool srt) {
    const double seconds = double(millis) / 1000.0;
    const auto read = doubleTimeFromStringTime(srt ? srtTimeStringFromDoubleTime(seconds)
                                                   : assTimeStringFromDoubleTime(seconds));
    if (!read) fuzzsupport::fail("a shown time does not read");
    return *read;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const bool stretch = data[0] & 1;
    const QString direction =
        (data[0] & 2) ? QStringLiteral("Backward") : QStringLiteral("Forward");
    const bool srt = data[0] & 4;
    const double amount = typed(millisAt(data + 1), srt);
    SCSubtitleLineList lines;
    Times before;
    for (size_t at = 4; at + 6 <= size && lines.size() < 64; at += 6) {
        lines.append(SCSubtitleLine::create());
        before.emplace_back(doubleTimeFromMilliseconds(millisAt(data + at)),
                            doubleTimeFromMilliseconds(millisAt(data + at + 3)));
    }
    setTimes(lines, before);
    const auto apply = [&](double by) {
        setTimes(lines, before);
        return stretch ? TimeAdjustment::stretch(lines, by, direction)
                       : TimeAdjustment::shift(lines, by, direction);
    };
    const TimeAdjustment::Result result = apply(amount);
    const Times after = timesOf(lines);
    if (!result.applied() && after != before) fuzzsupport::fail("a refused change moved a line");
    if (result.applied()) {
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (!std::isfinite(after[i].first) || !std::isfinite(after[i].second))
                fuzzsupport::fail("a time that is no finite number");
            if (!stretch && (after[i].first < 0 || after[i].second < 0))
                fuzzsupport::fail("a shift moved a time below 0");
        }
    }
    using Refusal = TimeAdjustment::Refusal;
    if (direction == u"Backward" &&
        (result.refusal == Refusal::startBeforeZero || result.refusal == Refusal::endBeforeZero ||
         result.refusal == Refusal::stretchPastEnd)) {
        const double offer = result.largestAmount(srt ? 1000 : 100);
        const long long offered = std::llround(offer * 1000);
        if (!apply(typed(offered, srt)).applied()) fuzzsupport::fail("the offer is refused");
        if (apply(typed(offered + (srt ? 1 : 10), srt)).applied())
            fuzzsupport::fail("one unit more than the offer applies");
    }
    return 0;
}
