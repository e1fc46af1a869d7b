#include "document/SubtitleFileText.h"

#include <gtest/gtest.h>

#include "encodings/myEncodings.h"
#include "platform/TextCodec.h"

// What an export hands out reads back as the very text, or it fails.
TEST(SubtitleFileText, EncodedTextReadsBackOrFails) {
    const struct {
        const char* name;
        QString text;
        const char* encoding;
        bool encodes;
    } cases[] = {
        {"plain UTF-8", QString::fromUtf8("Ünïcødé €"), "UTF8", true},
        {"UTF-16 big-endian", QString::fromUtf8("Ünïcødé €"), "UTF16BE", true},
        {"outside Latin-1", QString::fromUtf8("5 €"), "ISOLatin1", false},
        {"direction mark skipped", QString::fromUtf8("\u200f\u05e9"), "DOSHebrew", false},
        {"backslash read as yen", "{\\i1}x", "MacJapanese", false},
        // An escape in the text passes the encoder and switches the reader
        // to another character set.
        {"an escape sequence in the text", QString("a\x1b(Jx~"), "ISO_2022_JP_3", false},
        // Found by fuzzing: a leading U+FFFE is a swapped byte-order mark to
        // a reader of UTF-16LE, and a leading U+FEFF a mark to any reader.
        {"leading swapped mark", QString(QChar(0xFFFE)) + "x", "UTF16LE", false},
        {"leading mark", QString(QChar(0xFEFF)) + "x", "UTF8", false},
    };
    for (const auto& c : cases) {
        DocumentFailure failure;
        const auto bytes = SubtitleFileText::encode(c.text, c.encoding, failure);
        EXPECT_EQ(bytes.has_value(), c.encodes) << c.name;
        if (bytes) {
            EXPECT_EQ(platform::TextCodec::decode(*bytes, myEncodings::encodingForName(c.encoding)),
                      c.text)
                << c.name;
            EXPECT_FALSE(failure) << c.name;
        } else {
            EXPECT_EQ(failure.kind, DocumentFailure::Kind::unencodable) << c.name;
            EXPECT_EQ(failure.line, 1) << c.name;
        }
    }
}

// A text handed over in pieces encodes to the bytes of the whole text, or
// fails where the whole does: marks only at the start, surrogate pairs cut
// between pieces, a mark character that leads a later piece, an empty text.
// Converters that carry state (ISO-2022, HZ, UTF-7) and multi-byte sets
// have no piece encoder: they are written whole.
TEST(SubtitleFileText, PiecesEncodeAsTheWholeText) {
    const QString pair = QString::fromUtf8("\U0001F600");
    const struct {
        const char* name;
        QStringList pieces;
        const char* encoding;
    } cases[] = {
        {"pair cut, UTF-8", {"a" + pair.left(1), pair.mid(1) + "b\n", "c"}, "UTF8"},
        {"pair cut, UTF-16 with a mark", {"a\n" + pair.left(1), pair.mid(1)}, "Unicode"},
        {"pair cut, UTF-32 with a mark", {pair.left(1), pair.mid(1), "\n"}, "UTF32"},
        {"mark inside", {"a\n", QString(QChar(0xFEFF)) + "b"}, "UTF16LE"},
        {"mark leading", {"", QString(QChar(0xFEFF)) + "b"}, "UTF8"},
        {"empty, UTF-16 with a mark", {"", ""}, "Unicode"},
        {"no pieces", {}, "UTF32"},
        {"escaped", {QString::fromUtf8("caf\u00E9\\\n"), pair}, "NonLossyASCII"},
        {"single-byte",
         {QString::fromUtf8("caf\u00E9\n"), QString::fromUtf8("5 \u20AC")},
         "WindowsLatin1"},
        {"outside Latin-1", {"a\n", QString::fromUtf8("5 \u20AC")}, "ISOLatin1"},
        {"single-byte table", {"a\n", QString::fromUtf8("\u0627")}, "MacArabic"},
        {"unpaired at the end", {"a\n", pair.left(1)}, "UTF8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto encoder = SubtitleFileText::PieceEncoder::forEncoding(c.encoding);
        ASSERT_TRUE(encoder);
        DocumentFailure failure;
        const auto whole = SubtitleFileText::encode(c.pieces.join(QString()), c.encoding, failure);
        QByteArray joined;
        bool encoded = true;
        for (const QString& piece : c.pieces) {
            const auto bytes = encoder->encode(piece);
            encoded = encoded && bytes;
            if (bytes) joined += *bytes;
        }
        const auto rest = encoder->finish();
        encoded = encoded && rest;
        if (rest) joined += *rest;
        ASSERT_EQ(encoded, whole.has_value());
        if (whole) {
            EXPECT_EQ(joined, *whole);
        }
    }
    for (const char* whole : {"ISO_2022_JP", "ISO_2022_KR", "HZ_GB_2312", "UTF7", "ShiftJIS",
                              "GB_18030_2000", "MacJapanese", "NextStepLatin"})
        EXPECT_FALSE(SubtitleFileText::PieceEncoder::forEncoding(whole)) << whole;
    for (const char* pieces : {"MacRoman", "DOSLatinUS", "KOI8_R", "ASCII", "UTF32LE"})
        EXPECT_TRUE(SubtitleFileText::PieceEncoder::forEncoding(pieces)) << pieces;
}
