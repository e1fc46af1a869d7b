#include "platform/IconvConverter.h"

#include <iconv.h>

#include <cerrno>

#include "platform/Utf16Checks.h"

namespace platform {

namespace {

// Converts all of `input` from `from` to `to`, including the final shift back
// to the initial state that stateful encodings (ISO-2022, UTF-7) need.
std::optional<QByteArray> convert(const QByteArray& input, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    QByteArray out(input.size() * 4 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    size_t written = 0;
    bool ok = true;
    bool flushing = false;
    for (;;) {
        char* outPtr = out.data() + written;
        size_t outLeft = static_cast<size_t>(out.size()) - written;
        const size_t result = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                       : iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = static_cast<size_t>(outPtr - out.data());
        if (result == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            ok = false;  // EILSEQ: invalid or unencodable; EINVAL: cut short
            break;
        }
        if (result != 0) {  // irreversible conversions: something was approximated
            ok = false;
            break;
        }
        if (flushing) break;
        flushing = true;
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.truncate(static_cast<qsizetype>(written));
    return out;
}

}  // namespace

std::optional<QString> IconvConverter::decode(const QByteArray& bytes, const char* charset) {
    std::optional<QByteArray> utf8 = convert(bytes, "UTF-8", charset);
    if (!utf8) return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QByteArray> IconvConverter::encode(const QString& text, const char* charset) {
    // toUtf8 would turn an unpaired surrogate into U+FFFD; refuse it instead.
    if (!isWellFormedUtf16(text)) return std::nullopt;
    return convert(text.toUtf8(), charset, "UTF-8");
}

}  // namespace platform
