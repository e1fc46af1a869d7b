#include "imagesubs/PgsLineTimes.h"

#include <QList>

#include "common/ByteReaders.h"

namespace {

constexpr qint64 kHeaderSize = 13;
constexpr double kClock = 90000.0;
constexpr double kReplacedGap = 0.1;

enum SegmentType : qint64 {
    kPresentationComposition = 0x16,
    kObjectDefinition = 0x15,
    kEndOfDisplaySet = 0x80,
};

struct DisplaySet {
    double time = 0;
    bool isBlank = true;
};

QList<DisplaySet> displaySets(const QByteArray& sup) {
    QList<DisplaySet> sets;
    double time = 0.0;
    bool blank = true;
    const qint64 size = sup.size();
    qint64 offset = 0;
    // Only whole headers are read; a shorter tail ends the walk.
    while (offset <= size - kHeaderSize) {
        const qint64 type = intAtOffset(sup, offset + 10, 1, QStringLiteral("big"));
        const qint64 payload = intAtOffset(sup, offset + 11, 2, QStringLiteral("big"));
        if (type == kPresentationComposition)
            time = static_cast<double>(intAtOffset(sup, offset + 2, 4, QStringLiteral("big"))) /
                   kClock;
        else if (type == kObjectDefinition)
            blank = false;
        else if (type == kEndOfDisplaySet) {
            sets.append({time, blank});
            blank = true;
        }
        offset += kHeaderSize + payload;
    }
    return sets;
}

}  // namespace

TimePairList pgsLineTimes(const QByteArray& sup) {
    TimePairList times;
    bool previousBlank = true;
    for (const DisplaySet& set : displaySets(sup)) {
        if (set.isBlank) {
            if (!previousBlank) times.last().end = set.time;
        } else {
            if (!previousBlank) times.last().end = set.time - kReplacedGap;
            times.append({set.time, 0});
        }
        previousBlank = set.isBlank;
    }
    repairEndTimes(times);
    return times;
}
