#include "platform/NonLossyAsciiCodec.h"

#include "platform/Utf16Checks.h"

namespace platform {

namespace {

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// The value of exactly `count` digits at `at`, or -1 when any is missing.
int readDigits(const QByteArray& bytes, qsizetype at, int count, int base) {
    if (at + count > bytes.size()) return -1;
    int value = 0;
    for (int k = 0; k < count; ++k) {
        const int d = digitValue(bytes[at + k], base);
        if (d < 0) return -1;
        value = value * base + d;
    }
    return value;
}

}  // namespace

std::optional<QString> NonLossyAsciiCodec::decode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const char c = bytes[i];
        if (static_cast<unsigned char>(c) > 0x7F) return std::nullopt;
        if (c != '\\') {
            out.append(QLatin1Char(c));
            ++i;
            continue;
        }
        if (i + 1 >= bytes.size()) return std::nullopt;
        const char kind = bytes[i + 1];
        if (kind == '\\') {
            out.append(QLatin1Char('\\'));
            i += 2;
        } else if (kind == 'u') {
            const int unit = readDigits(bytes, i + 2, 4, 16);
            if (unit < 0) return std::nullopt;
            out.append(QChar(static_cast<char16_t>(unit)));
            i += 6;
        } else {
            const int latin1 = readDigits(bytes, i + 1, 3, 8);
            if (latin1 < 0 || latin1 > 0xFF) return std::nullopt;
            out.append(QChar(static_cast<char16_t>(latin1)));
            i += 4;
        }
    }
    if (!isWellFormedUtf16(out)) return std::nullopt;
    return out;
}

QByteArray NonLossyAsciiCodec::encode(const QString& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == '\\') {
            out.append("\\\\");
        } else if (u < 0x80) {
            out.append(static_cast<char>(u));
        } else {
            const char escape[] = {'\\',
                                   'u',
                                   kHex[(u >> 12) & 0xF],
                                   kHex[(u >> 8) & 0xF],
                                   kHex[(u >> 4) & 0xF],
                                   kHex[u & 0xF]};
            out.append(escape, sizeof escape);
        }
    }
    return out;
}

}  // namespace platform
