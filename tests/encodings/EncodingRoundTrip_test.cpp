#include <gtest/gtest.h>

#include "encodings/myEncodings.h"
#include "platform/TextCodec.h"

using platform::TextCodec;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

}  // namespace

// Text written in a catalogue encoding gives the bytes that encoding is known
// to use, and those bytes read back to the same text.
TEST(EncodingRoundTrip, RepresentativeEncodingsGiveTheirKnownBytes) {
    const struct {
        const char* name;
        QString text;
        QByteArray expected;
    } cases[] = {
        {"WindowsLatin1", QStringLiteral("café €"), hex("636166e92080")},
        {"ISOLatin1", QStringLiteral("café"), hex("636166e9")},
        {"MacRoman", QStringLiteral("café €"), hex("6361668e20db")},
        {"ISOLatin9", QStringLiteral("€Š"), hex("a4a6")},
        {"ISOLatin2", QStringLiteral("Łódź"), hex("a3f364bc")},
        {"WindowsLatin2", QStringLiteral("Łódź"), hex("a3f3649f")},
        {"ISOLatin10", QStringLiteral("Șț"), hex("aafe")},
        {"WindowsCyrillic", QStringLiteral("Привет"), hex("cff0e8e2e5f2")},
        {"KOI8_R", QStringLiteral("Привет"), hex("f0d2c9d7c5d4")},
        {"DOSRussian", QStringLiteral("Привет"), hex("8fe0a8a2a5e2")},
        {"ISOLatinGreek", QStringLiteral("Γειά"), hex("c3e5e9dc")},
        {"WindowsGreek", QStringLiteral("Γειά"), hex("c3e5e9dc")},
        {"ShiftJIS", QStringLiteral("日本語"), hex("93fa967b8cea")},
        {"MacJapanese", QStringLiteral("日本語"), hex("93fa967b8cea")},
        {"EUC_JP", QStringLiteral("日本語"), hex("c6fccbdcb8ec")},
        {"ISO_2022_JP", QStringLiteral("日本語"), hex("1b2442467c4b5c386c1b2842")},
        {"GB_18030_2000", QStringLiteral("中文"), hex("d6d0cec4")},
        {"EUC_CN", QStringLiteral("中文"), hex("d6d0cec4")},
        {"Big5", QStringLiteral("中文"), hex("a4a4a4e5")},
        {"EUC_KR", QStringLiteral("한국어"), hex("c7d1b1b9beee")},
        {"MacArabic", QStringLiteral("ا"), hex("c7")},
        {"UTF8", QStringLiteral("Aé😀"), hex("41c3a9f09f9880")},
        {"Unicode", QStringLiteral("Aé"), hex("feff004100e9")},
        {"UTF16BE", QStringLiteral("A😀"), hex("0041d83dde00")},
        {"UTF16LE", QStringLiteral("Aé"), hex("4100e900")},
        {"UTF32", QStringLiteral("A"), hex("0000feff00000041")},
        {"UTF32BE", QStringLiteral("😀"), hex("0001f600")},
        {"UTF32LE", QStringLiteral("Aé"), hex("41000000e9000000")},
        {"UTF7", QStringLiteral("A€"), hex("412b494b772d")},
        {"NonLossyASCII", QStringLiteral("é\\"), QByteArray("\\u00e9\\\\")},
    };
    for (const auto& c : cases) {
        const platform::StringEncoding encoding = myEncodings::encodingForName(c.name);
        EXPECT_EQ(TextCodec::encode(c.text, encoding), c.expected) << c.name;
        EXPECT_EQ(TextCodec::decode(c.expected, encoding), c.text) << c.name;
    }
}

TEST(EncodingRoundTrip, WrongEncodingFailsSoTheNextCanBeTried) {
    // A Latin-1 subtitle whose last line ends in "é".
    const QByteArray latin1 =
        hex("310a30303a30303a30312c303030202d2d3e2030303a30303a30322c3030300a"
            "436166e9");
    EXPECT_FALSE(TextCodec::decode(latin1, myEncodings::encodingForName("UTF8")));
    EXPECT_EQ(TextCodec::decode(latin1, myEncodings::encodingForName("ISOLatin1"))->right(4),
              QStringLiteral("Café"));

    EXPECT_FALSE(TextCodec::encode(QStringLiteral("€"), myEncodings::encodingForName("ISOLatin1")));
    EXPECT_FALSE(TextCodec::decode("abc", myEncodings::encodingForName("MacThai")));
    EXPECT_FALSE(TextCodec::encode("abc", myEncodings::encodingForName("MacThai")));
}

// The encodings glibc iconv serves carry their own script both ways.
TEST(EncodingRoundTrip, IconvServedEncodingsCarryTheirScript) {
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"ISOLatin10", QStringLiteral("Știință")},
        {"MacIcelandic", QStringLiteral("Þórður")},
        {"MacJapanese", QStringLiteral("字幕です")},
        {"MacChineseTrad", QStringLiteral("字幕")},
        {"MacChineseSimp", QStringLiteral("字幕")},
        {"MacKorean", QStringLiteral("자막")},
        {"WindowsKoreanJohab", QStringLiteral("자막")},
        {"KSC_5601_92_Johab", QStringLiteral("자막")},
        {"ShiftJIS_X0213", QStringLiteral("字幕です")},
        {"ISO_2022_JP_3", QStringLiteral("字幕です")},
        {"NextStepJapanese", QStringLiteral("字幕です")},
        {"JIS_X0201_76", QStringLiteral("ｶﾀｶﾅ")},
        {"Big5_E", QStringLiteral("字幕")},
        {"VISCII", QStringLiteral("Tiếng Việt")},
        {"EBCDIC_US", QStringLiteral("Hello, {world}!")},
    };
    for (const auto& c : cases) {
        const platform::StringEncoding encoding = myEncodings::encodingForName(c.name);
        const std::optional<QByteArray> bytes = TextCodec::encode(c.text, encoding);
        ASSERT_TRUE(bytes) << c.name;
        EXPECT_NE(*bytes, c.text.toUtf8()) << c.name;
        EXPECT_EQ(TextCodec::decode(*bytes, encoding), c.text) << c.name;
    }
}
