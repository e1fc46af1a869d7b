#include "platform/IcuConverter.h"

#include <unicode/ucnv.h>

#include <cstdint>
#include <memory>

namespace platform {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU counts in 32-bit lengths; larger input is refused rather than cut.
constexpr qsizetype kMaxInput = (INT32_MAX - 16) / 4;

// Opens the converter with both callbacks set to stop at the first problem,
// so no substitution character is ever produced.
ConverterPtr openStrict(const char* name) {
    UErrorCode err = U_ZERO_ERROR;
    ConverterPtr cnv(ucnv_open(name, &err));
    if (U_FAILURE(err) || !cnv) return nullptr;
    ucnv_setToUCallBack(cnv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    ucnv_setFromUCallBack(cnv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    ucnv_setFallback(cnv.get(), false);
    if (U_FAILURE(err)) return nullptr;
    return cnv;
}

// Runs one whole conversion into a buffer of the guessed size; if ICU reports
// it too small, runs it once more with the size ICU asked for (the one-shot
// calls reset the converter themselves).
template <typename Buffer, typename Call>
std::optional<Buffer> convertSized(qsizetype capacity, Call call) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        Buffer out(capacity, Qt::Uninitialized);
        UErrorCode err = U_ZERO_ERROR;
        const int32_t length = call(out, &err);
        if (err == U_BUFFER_OVERFLOW_ERROR) {
            capacity = length + 1;
            continue;
        }
        if (U_FAILURE(err)) return std::nullopt;
        out.truncate(length);
        // The guess is for the worst case, often two or three times what a
        // whole file needs: a file's text is kept through its load, so the
        // spare room is given back (shrinking a large block moves nothing).
        if (out.capacity() - length > length / 8 + 64) out.squeeze();
        return out;
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> IcuConverter::decode(const QByteArray& bytes, const char* converterName) {
    ConverterPtr cnv = openStrict(converterName);
    if (!cnv) return std::nullopt;
    if (bytes.isEmpty()) return QString();
    if (bytes.size() > kMaxInput) return std::nullopt;
    // One byte never yields more than two UTF-16 units in the converters we use.
    return convertSized<QString>(bytes.size() * 2 + 2, [&](QString& out, UErrorCode* err) {
        return ucnv_toUChars(cnv.get(), reinterpret_cast<UChar*>(out.data()),
                             static_cast<int32_t>(out.size()), bytes.constData(),
                             static_cast<int32_t>(bytes.size()), err);
    });
}

std::optional<QByteArray> IcuConverter::encode(const QString& text, const char* converterName) {
    ConverterPtr cnv = openStrict(converterName);
    if (!cnv) return std::nullopt;
    if (text.size() > kMaxInput) return std::nullopt;
    const qsizetype capacity = text.size() * ucnv_getMaxCharSize(cnv.get()) + 16;
    // constData(), not utf16(): utf16() reallocates a string over static data
    // to terminate it, which races when other threads read the same string.
    return convertSized<QByteArray>(capacity, [&](QByteArray& out, UErrorCode* err) {
        return ucnv_fromUChars(cnv.get(), out.data(), static_cast<int32_t>(out.size()),
                               reinterpret_cast<const UChar*>(text.constData()),
                               static_cast<int32_t>(text.size()), err);
    });
}

bool IcuConverter::isStatelessSingleByte(const char* converterName) {
    ConverterPtr cnv = openStrict(converterName);
    if (!cnv || ucnv_getMaxCharSize(cnv.get()) != 1) return false;
    switch (ucnv_getType(cnv.get())) {
        case UCNV_SBCS:
        case UCNV_LATIN_1:
        case UCNV_US_ASCII:
        case UCNV_MBCS:  // stateful tables have a type of their own
            return true;
        default:
            return false;
    }
}

}  // namespace platform
