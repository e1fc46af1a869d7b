// Picture-subtitle readers on bytes as a file gives them: the VobSub index,
// the PGS line times and the SUB pack walk, each followed by the end-time
// repair. The first byte picks the reader (its value modulo 3) and, for the
// pack walk, the stream (the rest of its value).
#include <cmath>

#include "FuzzSupport.h"
#include "imagesubs/LineTimes.h"
#include "imagesubs/PgsLineTimes.h"
#include "imagesubs/SubPictureDuration.h"
#include "imagesubs/VobSubIndex.h"

namespace {

constexpr qint64 kPack = 2048;

// The repair changes ends only: as many lines, the same starts.
void repaired(const TimePairList& times) {
    TimePairList ends = times;
    repairEndTimes(ends);
    if (ends.size() != times.size()) fuzzsupport::fail("the repair changed the number of lines");
    for (qsizetype i = 0; i < times.size(); ++i)
        if (!(ends[i].start == times[i].start) &&
            !(std::isnan(ends[i].start) && std::isnan(times[i].start)))
            fuzzsupport::fail("the repair moved a start");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QByteArray bytes = fuzzsupport::bytesOf(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0: {
            const VobSubIndex index = readVobSubIndex(bytes);
            if (index.positions.size() != index.times.size())
                fuzzsupport::fail("an index gives pictures without positions");
            repaired(index.times);
            break;
        }
        case 1:
            repaired(pgsLineTimes(bytes));
            break;
        default: {
            const qint64 stream = (data[0] / 3) % 32;
            const qint64 end = bytes.size();
            TimePairList times;
            for (qint64 at = 0; at < end && at < 64 * kPack; at += kPack) {
                const auto whole = subPictureDuration(bytes, stream, at, end);
                const auto one = subPictureDuration(bytes, stream, at, at + kPack);
                times.append({double(at), whole.value_or(0) + one.value_or(0)});
            }
            // Windows outside the bytes, backwards or unaligned read nothing.
            (void)subPictureDuration(bytes, stream, -1, kPack);
            (void)subPictureDuration(bytes, stream, end + 1, end + kPack);
            (void)subPictureDuration(bytes, stream, kPack, 0);
            (void)subPictureDuration(bytes, stream, 7, end);
            repaired(times);
            break;
        }
    }
    return 0;
}
