#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using platform::StringEncoding;
using platform::TextCodec;
using Backend = StringEncoding::Backend;

namespace {

StringEncoding icu(const char* name) {
    return StringEncoding(Backend::Icu, name, 1);
}
StringEncoding iconvCharset(const char* name) {
    return StringEncoding(Backend::Iconv, name, 2);
}
StringEncoding table(const char* name) {
    return StringEncoding(Backend::ByteTable, name, 3);
}
StringEncoding nonLossy() {
    return StringEncoding(Backend::NonLossyAscii, {}, 4);
}

QByteArray bytes(std::initializer_list<unsigned char> list) {
    QByteArray out;
    for (unsigned char b : list) out.append(static_cast<char>(b));
    return out;
}

}  // namespace

TEST(TextCodecStrictDecoding, RejectsInvalidOrCutShortInput) {
    const struct {
        const char* what;
        StringEncoding encoding;
        QByteArray input;
    } cases[] = {
        // A Latin-1 file whose last character is "é": Qt would hold the byte back silently.
        {"latin-1 e-acute at the end as UTF-8", icu("UTF-8"), QByteArray("caf\xE9")},
        {"latin-1 e-acute inside as UTF-8", icu("UTF-8"), QByteArray("caf\xE9 au lait\n")},
        {"overlong slash", icu("UTF-8"), bytes({0x2F, 0xC0, 0xAF})},
        {"encoded surrogate", icu("UTF-8"), bytes({0xED, 0xA0, 0x80})},
        {"above U+10FFFF", icu("UTF-8"), bytes({0xF4, 0x90, 0x80, 0x80})},
        {"cut-short four-byte sequence", icu("UTF-8"), bytes({0x41, 0xF0, 0x9F, 0x98})},
        {"eight-bit byte as ASCII", icu("US-ASCII"), bytes({0x41, 0x80})},
        {"odd byte count as UTF-16BE", icu("UTF-16BE"), bytes({0x00, 0x41, 0x00})},
        {"lone high surrogate as UTF-16LE", icu("UTF-16LE"), bytes({0x3D, 0xD8, 0x41, 0x00})},
        {"Shift_JIS lead byte at the end", icu("Shift_JIS"), bytes({0x41, 0x93})},
        {"undefined byte in ISO-8859-7", icu("ISO-8859-7"), bytes({0x41, 0xFF})},
        {"Shift_JIS lead byte at the end (iconv)", iconvCharset("SHIFT_JIS"), bytes({0x41, 0x93})},
        {"invalid Johab pair (iconv)", iconvCharset("JOHAB"), bytes({0x84, 0x20})},
        {"byte above 0x7F in NonLossyASCII", nonLossy(), bytes({0x41, 0xE9})},
        {"unknown escape", nonLossy(), QByteArray("a\\x")},
        {"backslash at the end", nonLossy(), QByteArray("a\\")},
        {"short \\u escape", nonLossy(), QByteArray("\\u12")},
        {"non-hex \\u escape", nonLossy(), QByteArray("\\u12G4")},
        {"octal escape above 377", nonLossy(), QByteArray("\\400")},
        {"short octal escape", nonLossy(), QByteArray("\\35")},
        {"unpaired surrogate escape", nonLossy(), QByteArray("\\ud83d!")},
        {"unknown converter", icu("no-such-converter"), QByteArray("abc")},
        {"unknown iconv charset", iconvCharset("NO-SUCH-CHARSET"), QByteArray("abc")},
        {"unknown table", table("MacKlingon"), QByteArray("abc")},
        {"no converter", StringEncoding(), QByteArray("abc")},
    };
    for (const auto& c : cases) EXPECT_FALSE(TextCodec::decode(c.input, c.encoding)) << c.what;
}

TEST(TextCodecStrictEncoding, RejectsCharactersTheEncodingCannotHold) {
    const QString loneSurrogate = QString("a") + QChar(0xD83D);
    const struct {
        const char* what;
        StringEncoding encoding;
        QString input;
    } cases[] = {
        {"euro into ISO-8859-1", icu("ISO-8859-1"), QStringLiteral("5 €")},
        {"e-acute into ASCII", icu("US-ASCII"), QStringLiteral("café")},
        {"Japanese into windows-1252", icu("windows-1252"), QStringLiteral("日本")},
        {"emoji into Shift_JIS", icu("Shift_JIS"), QStringLiteral("😀")},
        {"lone surrogate into UTF-8", icu("UTF-8"), loneSurrogate},
        {"lone surrogate into UTF-16BE", icu("UTF-16BE"), loneSurrogate},
        {"Greek into Latin-9 (iconv)", iconvCharset("ISO-8859-16"), QStringLiteral("Ω")},
        {"bracket into EBCDIC-US (iconv)", iconvCharset("EBCDIC-US"), QStringLiteral("[i]")},
        {"lone surrogate (iconv)", iconvCharset("ISO-8859-16"), loneSurrogate},
        {"Japanese into MacCroatian", table("MacCroatian"), QStringLiteral("日")},
        {"lone surrogate into NonLossyASCII", nonLossy(), loneSurrogate},
        {"no converter", StringEncoding(), QStringLiteral("abc")},
    };
    for (const auto& c : cases) EXPECT_FALSE(TextCodec::encode(c.input, c.encoding)) << c.what;
}

TEST(TextCodecByteOrderMarks, AreDroppedOrDecideTheOrder) {
    const struct {
        const char* what;
        StringEncoding encoding;
        QByteArray input;
        QString expected;
    } cases[] = {
        {"UTF-8 mark before the first line", icu("UTF-8"),
         QByteArray("\xEF\xBB\xBF"
                    "1\n"),
         "1\n"},
        {"UTF-8 mark later is a character", icu("UTF-8"), QByteArray("A\xEF\xBB\xBF"),
         QString("A") + QChar(0xFEFF)},
        {"UTF-8 has no swapped mark", icu("UTF-8"),
         QByteArray("\xEF\xBF\xBE"
                    "A"),
         QChar(0xFFFE) + QString("A")},
        {"UTF-16 without mark is big-endian", icu("UTF-16"), bytes({0x00, 0x41, 0x00, 0xE9}), "Aé"},
        {"UTF-16 little-endian mark wins", icu("UTF-16"), bytes({0xFF, 0xFE, 0x41, 0x00}), "A"},
        {"UTF-16 big-endian mark", icu("UTF-16"), bytes({0xFE, 0xFF, 0x00, 0x41}), "A"},
        {"UTF-32 without mark is big-endian", icu("UTF-32"), bytes({0, 0, 0, 0x41}), "A"},
        {"UTF-32 little-endian mark wins", icu("UTF-32"), bytes({0xFF, 0xFE, 0, 0, 0x41, 0, 0, 0}),
         "A"},
        {"UTF-16BE own mark dropped", icu("UTF-16BE"), bytes({0xFE, 0xFF, 0x00, 0x41}), "A"},
        {"UTF-16LE own mark dropped", icu("UTF-16LE"), bytes({0xFF, 0xFE, 0x41, 0x00}), "A"},
        {"UTF-32LE own mark dropped", icu("UTF-32LE"), bytes({0xFF, 0xFE, 0, 0, 0x41, 0, 0, 0}),
         "A"},
        {"empty UTF-8", icu("UTF-8"), QByteArray(), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextCodec::decode(c.input, c.encoding), c.expected) << c.what;

    // A mark in the other order means the file is in the other order.
    EXPECT_FALSE(TextCodec::decode(bytes({0xFF, 0xFE, 0x41, 0x00}), icu("UTF-16BE")));
    EXPECT_FALSE(
        TextCodec::decode(bytes({0x00, 0x00, 0xFE, 0xFF, 0, 0, 0, 0x41}), icu("UTF-32LE")));
}

TEST(TextCodecByteOrderMarks, WrittenOnlyWhereTheOrderIsNotNamed) {
    EXPECT_EQ(TextCodec::encode("A", icu("UTF-16")), bytes({0xFE, 0xFF, 0x00, 0x41}));
    EXPECT_EQ(TextCodec::encode("A", icu("UTF-32")), bytes({0, 0, 0xFE, 0xFF, 0, 0, 0, 0x41}));
    EXPECT_EQ(TextCodec::encode("A", icu("UTF-16LE")), bytes({0x41, 0x00}));
    EXPECT_EQ(TextCodec::encode("é", icu("UTF-8")), bytes({0xC3, 0xA9}));
}

TEST(TextCodecNonLossyAscii, EscapesEverythingOutsideAsciiAndRoundTrips) {
    const QString text = QStringLiteral("caf\u00e9 \\N {\\i1}€ 😀\n");
    const std::optional<QByteArray> encoded = TextCodec::encode(text, nonLossy());
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded, QByteArray("caf\\u00e9 \\\\N {\\\\i1}\\u20ac \\ud83d\\ude00\n"));
    EXPECT_EQ(TextCodec::decode(*encoded, nonLossy()), text);
    // Octal Latin-1 escapes and upper-case hex digits are read as well.
    EXPECT_EQ(TextCodec::decode("caf\\351 \\u20AC", nonLossy()), QStringLiteral("café €"));
}

TEST(TextCodecByteTables, MapBothWaysAndPreferTheLowestByte) {
    EXPECT_EQ(TextCodec::decode(bytes({0xA9, 0xDB}), table("MacCroatian")), QStringLiteral("Š€"));
    EXPECT_EQ(TextCodec::encode(QStringLiteral("ĂșțЖ"), table("MacRomanian")), std::nullopt);
    EXPECT_EQ(TextCodec::encode(QStringLiteral("Ăș ț"), table("MacRomanian")),
              bytes({0xAE, 0xBF, 0x20, 0xDF}));
    // Mac Icelandic differs from Mac Roman at 0xA0 and 0xDC-0xE0.
    EXPECT_EQ(TextCodec::encode(QStringLiteral("ÝÐðÞþý"), table("MacIcelandic")),
              bytes({0xA0, 0xDC, 0xDD, 0xDE, 0xDF, 0xE0}));
    // MacArabic repeats "(" at 0xA8 for right-to-left use; the ASCII byte is written.
    EXPECT_EQ(TextCodec::decode(bytes({0xA8, 0xC7}), table("MacArabic")), QStringLiteral("(ا"));
    EXPECT_EQ(TextCodec::encode(QStringLiteral("(ا"), table("MacArabic")), bytes({0x28, 0xC7}));
}

TEST(TextCodecThreads, ConvertersAreNotSharedBetweenCalls) {
    const QString text = QStringLiteral("1\n00:00:01,000 --> 00:00:02,000\nこんにちは、世界\n");
    const StringEncoding encodings[] = {icu("Shift_JIS"), icu("UTF-16"), iconvCharset("EUC-JP"),
                                        icu("ISO-2022-JP")};
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            const StringEncoding& encoding = encodings[t % 4];
            for (int i = 0; i < 200; ++i) {
                const auto encoded = TextCodec::encode(text, encoding);
                if (!encoded || TextCodec::decode(*encoded, encoding) != text) ++failures;
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(failures.load(), 0);
}
