// The charset detection on any bytes: the candidates and the choice are
// names of the encoding catalogue, the choice is one of the candidates or
// the form a byte-order mark names (or none), and it comes in a time only a
// hang reaches for a 256 KiB start.
#include <QElapsedTimer>
#include <algorithm>

#include "FuzzSupport.h"
#include "encodings/DetectedCharsets.h"
#include "encodings/myEncodings.h"

namespace {

// Far above what the detection takes for 256 KiB even in this build (a few
// hundred milliseconds): only work that grows without bound reaches it.
constexpr qint64 kHangMsPer256KiB = 20000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QStringList names = myEncodings::allNames();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const auto candidates = DetectedCharsets::candidatesFor(bytes);
    for (const auto& candidate : candidates)
        if (!names.contains(candidate.name))
            fuzzsupport::fail("a candidate is not in the catalogue");
    QElapsedTimer timer;
    timer.start();
    const auto chosen = DetectedCharsets::catalogueNameForBytes(bytes);
    const qint64 blocks = std::max<qint64>(1, (qint64(size) + 256 * 1024 - 1) / (256 * 1024));
    if (timer.elapsed() > kHangMsPer256KiB * blocks)
        fuzzsupport::fail("the choice took longer than a hang limit per 256 KiB");
    if (!chosen) return 0;
    if (*chosen == DetectedCharsets::markedForm(bytes)) return 0;
    if (std::none_of(candidates.cbegin(), candidates.cend(),
                     [&chosen](const auto& candidate) { return candidate.name == *chosen; }))
        fuzzsupport::fail("the chosen name is not a candidate");
    return 0;
}
