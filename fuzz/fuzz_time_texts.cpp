// Time texts: every reading gives no time or a time the texts can show, and
// a strict text converts to the other form and back unchanged.
#include <cmath>

#include "FuzzSupport.h"
#include "common/TimeTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzzsupport::textOf(data, size);
    if (const auto seconds = doubleTimeFromStringTime(text)) {
        if (!std::isfinite(*seconds)) fuzzsupport::fail("a time that is no finite number");
        const QString srt = srtTimeStringFromDoubleTime(*seconds);
        const QString ass = assTimeStringFromDoubleTime(*seconds);
        if (!doubleTimeFromStringTime(srt) || !doubleTimeFromStringTime(ass))
            fuzzsupport::fail("a written time text does not read");
    }
    if (const auto converted = timeStringConvertedFrom(text)) {
        if (!timeStringConvertedFrom(*converted))
            fuzzsupport::fail("a converted time is not strict");
    }
    (void)addEscapeCharactersTo(text);
    return 0;
}
