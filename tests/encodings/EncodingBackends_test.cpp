#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>
#include <iostream>

#include "encodings/myEncodings.h"
#include "platform/TextCodec.h"

// Which converter serves each catalogue name on this system, printed as a
// table, and proof by round trip that each one named really converts.

namespace {

using platform::TextCodec;

const QString kSubtitleBlock =
    QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\nHello, world!\n\n");

// Nothing on this system converts these (no ICU or iconv converter, no table).
const QStringList kWithoutConverter = {
    "NextStepLatin",   "MacHebrew",
    "MacDevanagari",   "MacGurmukhi",
    "MacGujarati",     "MacOriya",
    "MacBengali",      "MacTamil",
    "MacTelugu",       "MacKannada",
    "MacMalayalam",    "MacSinhalese",
    "MacBurmese",      "MacKhmer",
    "MacThai",         "MacLaotian",
    "MacGeorgian",     "MacArmenian",
    "MacTibetan",      "MacMongolian",
    "MacEthiopic",     "MacVietnamese",
    "MacExtArabic",    "MacSymbol",
    "MacDingbats",     "MacCeltic",
    "MacGaelic",       "MacInuit",
    "ANSEL",           "JIS_X0208_83",
    "JIS_X0208_90",    "JIS_X0212_90",
    "JIS_C6226_78",    "ShiftJIS_X0213_MenKuTen",
    "CNS_11643_92_P1", "CNS_11643_92_P2",
    "CNS_11643_92_P3", "MacRomanLatin1",
};

}  // namespace

TEST(EncodingBackends, EveryNamedConverterRoundTripsAndTheRestFailCleanly) {
    const QSet<QString> without(kWithoutConverter.begin(), kWithoutConverter.end());
    int served = 0;
    std::cout << "name                      backend   converter\n";
    for (const QString& name : myEncodings::allNames()) {
        const platform::StringEncoding encoding = myEncodings::encodingForName(name);
        std::cout << name.leftJustified(26).toStdString()
                  << encoding.backendName().leftJustified(10).toStdString()
                  << encoding.converterName().toStdString() << "\n";
        const std::optional<QByteArray> bytes = TextCodec::encode(kSubtitleBlock, encoding);
        if (without.contains(name)) {
            EXPECT_FALSE(encoding.hasConverter()) << qPrintable(name);
            EXPECT_FALSE(bytes.has_value()) << qPrintable(name);
            EXPECT_FALSE(TextCodec::decode(QByteArray("abc"), encoding).has_value())
                << qPrintable(name);
            continue;
        }
        ++served;
        ASSERT_TRUE(bytes.has_value()) << qPrintable(name);
        EXPECT_EQ(TextCodec::decode(*bytes, encoding), kSubtitleBlock) << qPrintable(name);
    }
    std::cout << served << " of " << myEncodings::caseCount << " names have a converter\n";
    EXPECT_EQ(served + kWithoutConverter.size(), static_cast<qsizetype>(myEncodings::caseCount));
}
