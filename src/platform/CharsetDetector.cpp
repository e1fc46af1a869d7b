#include "platform/CharsetDetector.h"

#include <unicode/ucsdet.h>
#include <unicode/uenum.h>

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

QStringList CharsetDetector::detectableNames() {
    QStringList names;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                        &ucsdet_close);
    if (U_FAILURE(status)) return names;
    std::unique_ptr<UEnumeration, decltype(&uenum_close)> all(
        ucsdet_getAllDetectableCharsets(detector.get(), &status), &uenum_close);
    if (U_FAILURE(status)) return names;
    int32_t length = 0;
    while (const char* name = uenum_next(all.get(), &length, &status)) {
        if (U_FAILURE(status)) break;
        names.append(QString::fromLatin1(name, length));
    }
    return names;
}

}  // namespace platform
