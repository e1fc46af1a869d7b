#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/StringEncoding.h"

namespace platform {

// Strict conversion between bytes and text in one encoding.
//
// Strict means: bytes that are invalid or cut short in the encoding, text with
// a character the encoding cannot hold, or text with an unpaired surrogate give
// std::nullopt. Nothing is ever replaced, skipped or transliterated, so a file
// read in the wrong encoding fails and the caller can try the next one. An
// encoding without a converter fails both ways. Empty input converts to empty
// output (plus a byte-order mark where one is always written, see below).
//
// Byte-order marks:
// - UTF-8: a leading EF BB BF is dropped when decoding; encoding writes none.
// - UTF-16 and UTF-32 without a stated order (ICU "UTF-16", "UTF-32"): a
//   leading mark decides the byte order and is dropped; without one the bytes
//   are big-endian. Encoding writes a mark followed by big-endian units.
// - UTF-16BE/LE and UTF-32BE/LE: a leading mark in the stated order is
//   dropped; a leading mark in the other order fails (the bytes are in the
//   other order). Encoding writes no mark.
//
// NonLossyASCII: bytes 0x00-0x7F other than the backslash stand for
// themselves; "\\" is a backslash; "\uXXXX" (exactly four hex digits, either
// case) is one UTF-16 code unit, surrogates coming in pairs; "\ooo" (exactly
// three octal digits, at most 377) is that Latin-1 character. Anything else
// after a backslash, or a byte above 0x7F, fails. Encoding writes every
// non-ASCII UTF-16 code unit as "\u" and four lower-case hex digits and the
// backslash as "\\", so decode(encode(text)) == text for all text.
//
// Thread-safe: every call uses converters of its own.
class TextCodec {
  public:
    static std::optional<QString> decode(const QByteArray& bytes, const StringEncoding& encoding);
    static std::optional<QByteArray> encode(const QString& text, const StringEncoding& encoding);
};

}  // namespace platform
