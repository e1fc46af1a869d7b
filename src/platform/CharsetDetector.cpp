#include "platform/CharsetDetector.h"

#include <unicode/ucsdet.h>

#include <limits>
#include <memory>

namespace platform {

std::optional<CharsetDetector::Guess> CharsetDetector::detect(const QByteArray& bytes) {
    if (bytes.isEmpty()) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                        &ucsdet_close);
    if (U_FAILURE(status)) return std::nullopt;
    // The detector reads a 32-bit length; a subtitle file's start is plenty.
    const int32_t length =
        int32_t(std::min<qsizetype>(bytes.size(), std::numeric_limits<int32_t>::max()));
    ucsdet_setText(detector.get(), bytes.constData(), length, &status);
    const UCharsetMatch* match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || match == nullptr) return std::nullopt;
    const char* name = ucsdet_getName(match, &status);
    const int32_t confidence = ucsdet_getConfidence(match, &status);
    if (U_FAILURE(status) || name == nullptr) return std::nullopt;
    return Guess{QString::fromLatin1(name), confidence};
}

}  // namespace platform
