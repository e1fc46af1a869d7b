#include "platform/CharsetDetector.h"

#include <unicode/ucsdet.h>
#include <unicode/uenum.h>

#include <limits>
#include <memory>

namespace platform {

namespace {

using Detector = std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)>;

// A detector holding the bytes, or none when ICU cannot make one.
Detector detectorFor(const QByteArray& bytes) {
    Detector detector(nullptr, &ucsdet_close);
    if (bytes.isEmpty()) return detector;
    UErrorCode status = U_ZERO_ERROR;
    detector.reset(ucsdet_open(&status));
    if (U_FAILURE(status)) return Detector(nullptr, &ucsdet_close);
    // The detector reads a 32-bit length; a subtitle file's start is plenty.
    const int32_t length =
        int32_t(std::min<qsizetype>(bytes.size(), std::numeric_limits<int32_t>::max()));
    ucsdet_setText(detector.get(), bytes.constData(), length, &status);
    if (U_FAILURE(status)) return Detector(nullptr, &ucsdet_close);
    return detector;
}

std::optional<CharsetDetector::Guess> guessOf(const UCharsetMatch* match) {
    UErrorCode status = U_ZERO_ERROR;
    if (match == nullptr) return std::nullopt;
    const char* name = ucsdet_getName(match, &status);
    const int32_t confidence = ucsdet_getConfidence(match, &status);
    if (U_FAILURE(status) || name == nullptr) return std::nullopt;
    return CharsetDetector::Guess{QString::fromLatin1(name), confidence};
}

}  // namespace

std::optional<CharsetDetector::Guess> CharsetDetector::detect(const QByteArray& bytes) {
    const Detector detector = detectorFor(bytes);
    if (!detector) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const UCharsetMatch* match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status)) return std::nullopt;
    return guessOf(match);
}

QList<CharsetDetector::Guess> CharsetDetector::detectAll(const QByteArray& bytes) {
    QList<Guess> guesses;
    const Detector detector = detectorFor(bytes);
    if (!detector) return guesses;
    UErrorCode status = U_ZERO_ERROR;
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &status);
    if (U_FAILURE(status) || matches == nullptr) return guesses;
    for (int32_t i = 0; i < count; ++i)
        if (const auto guess = guessOf(matches[i])) guesses.append(*guess);
    return guesses;
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
