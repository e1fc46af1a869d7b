#include "platform/TextCodec.h"

#include "platform/ByteTableCodec.h"
#include "platform/IconvConverter.h"
#include "platform/IcuConverter.h"
#include "platform/NonLossyAsciiCodec.h"
#include "platform/Utf16Checks.h"

namespace platform {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kSwappedByteOrderMark = 0xFFFE;

// Unicode forms whose byte order is fixed by the name (ICU names). Their
// decoders pass a leading mark through as a character.
bool hasFixedByteOrder(const QByteArray& icuName) {
    return icuName == "UTF-8" || icuName == "UTF-16BE" || icuName == "UTF-16LE" ||
           icuName == "UTF-32BE" || icuName == "UTF-32LE";
}

// A leading mark in the stated order carries no text; in UTF-16 and UTF-32 one
// that decodes as U+FFFE means the bytes are in the other order, so the read
// fails. UTF-8 has no order: there U+FFFE is just a character.
std::optional<QString> dropByteOrderMark(QString text, bool hasByteOrder) {
    if (text.isEmpty()) return text;
    if (hasByteOrder && text.front() == QChar(kSwappedByteOrderMark)) return std::nullopt;
    if (text.front() == QChar(kByteOrderMark)) text.remove(0, 1);
    return text;
}

// ICU writes the forms without a stated order in host order; we write them
// big-endian, the order assumed when a mark is missing, behind a mark.
std::optional<QByteArray> encodeWithMark(const QString& text, const QByteArray& icuName) {
    if (icuName != "UTF-16" && icuName != "UTF-32")
        return IcuConverter::encode(text, icuName.constData());
    return IcuConverter::encode(QChar(kByteOrderMark) + text, (icuName + "BE").constData());
}

}  // namespace

std::optional<QString> TextCodec::decode(const QByteArray& bytes, const StringEncoding& encoding) {
    const QByteArray& name = encoding.converterName();
    switch (encoding.backend()) {
        case StringEncoding::Backend::Icu: {
            std::optional<QString> text = IcuConverter::decode(bytes, name.constData());
            if (text && hasFixedByteOrder(name))
                return dropByteOrderMark(std::move(*text), name != "UTF-8");
            return text;
        }
        case StringEncoding::Backend::Iconv:
            return IconvConverter::decode(bytes, name.constData());
        case StringEncoding::Backend::ByteTable:
            return ByteTableCodec::decode(bytes, name.constData());
        case StringEncoding::Backend::NonLossyAscii:
            return NonLossyAsciiCodec::decode(bytes);
        case StringEncoding::Backend::None:
            break;
    }
    return std::nullopt;
}

std::optional<QByteArray> TextCodec::encode(const QString& text, const StringEncoding& encoding) {
    if (!isWellFormedUtf16(text)) return std::nullopt;
    const QByteArray& name = encoding.converterName();
    switch (encoding.backend()) {
        case StringEncoding::Backend::Icu:
            return encodeWithMark(text, name);
        case StringEncoding::Backend::Iconv:
            return IconvConverter::encode(text, name.constData());
        case StringEncoding::Backend::ByteTable:
            return ByteTableCodec::encode(text, name.constData());
        case StringEncoding::Backend::NonLossyAscii:
            return NonLossyAsciiCodec::encode(text);
        case StringEncoding::Backend::None:
            break;
    }
    return std::nullopt;
}

}  // namespace platform
