#include "imagesubs/LineTimes.h"

namespace {

constexpr double kMinimumDuration = 0.2;
constexpr double kDefaultDuration = 4.217;
constexpr double kGapBeforeNext = 0.01;

}  // namespace

void repairEndTimes(TimePairList& times) {
    for (qsizetype i = 0; i < times.size(); ++i) {
        const double s = times[i].start;
        double& e = times[i].end;
        if (i + 1 == times.size()) {
            if (e <= 0 || e - s < kMinimumDuration) e = s + kDefaultDuration;
            continue;
        }
        const double n = times[i + 1].start;
        if (e <= 0 || e >= n || e - s < kMinimumDuration)
            e = n - s >= kDefaultDuration ? s + kDefaultDuration : n - kGapBeforeNext;
    }
}
