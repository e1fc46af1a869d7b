// The charset detection on any bytes: the candidates and the choice are
// names of the encoding catalogue, and the choice is one of the candidates
// (or none).
#include <algorithm>

#include "FuzzSupport.h"
#include "encodings/DetectedCharsets.h"
#include "encodings/myEncodings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QStringList names = myEncodings::allNames();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const auto candidates = DetectedCharsets::candidatesFor(bytes);
    for (const auto& candidate : candidates)
        if (!names.contains(candidate.name))
            fuzzsupport::fail("a candidate is not in the catalogue");
    const auto chosen = DetectedCharsets::catalogueNameForBytes(bytes);
    if (!chosen) return 0;
    if (std::none_of(candidates.cbegin(), candidates.cend(),
                     [&chosen](const auto& candidate) { return candidate.name == *chosen; }))
        fuzzsupport::fail("the chosen name is not a candidate");
    return 0;
}
