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
