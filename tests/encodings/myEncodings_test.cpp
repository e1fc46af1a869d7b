#include "encodings/myEncodings.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

QString nameOf(myEncodings::Value value) {
    return myEncodings::namesDictionary().value(value);
}

}  // namespace

TEST(myEncodingsCatalogue, NamesDictionaryHoldsEveryCaseWithItsDisplayName) {
    const QMap<myEncodings, QString> names = myEncodings::namesDictionary();
    EXPECT_EQ(names.size(), 141);
    EXPECT_EQ(names.value(myEncodings::utf8), "UTF8");
    EXPECT_EQ(names.value(myEncodings::unicode), "Unicode");
    EXPECT_EQ(names.value(myEncodings::utf7_IMAP), "UTF7_IMAP");
    EXPECT_EQ(names.value(myEncodings::macRoman), "MacRoman");
    EXPECT_EQ(names.value(myEncodings::iso_2022_JP_2), "ISO_2022_JP_2");
    EXPECT_EQ(names.value(myEncodings::iso_2022_JP_1), "ISO_2022_JP_1");
    EXPECT_EQ(names.value(myEncodings::ksc_5601_92_Johab), "KSC_5601_92_Johab");
    for (const QString& name : names) {
        EXPECT_GE(name.size(), 4) << qPrintable(name);
        EXPECT_LE(name.size(), 23) << qPrintable(name);
    }
}

TEST(myEncodingsCatalogue, RawValueIsThePositionAndStopsAt140) {
    EXPECT_EQ(myEncodings::fromRawValue(0), myEncodings(myEncodings::macRoman));
    EXPECT_EQ(myEncodings::fromRawValue(6), myEncodings(myEncodings::utf8));
    EXPECT_EQ(myEncodings::fromRawValue(117), myEncodings(myEncodings::iso_2022_JP_2));
    EXPECT_EQ(myEncodings::fromRawValue(140), myEncodings(myEncodings::utf7_IMAP));
    EXPECT_FALSE(myEncodings::fromRawValue(141).has_value());
    EXPECT_FALSE(myEncodings::fromRawValue(~quint64{0}).has_value());
    for (quint64 raw = 0; raw < myEncodings::caseCount; ++raw)
        EXPECT_EQ(myEncodings::fromRawValue(raw)->rawValue(), raw);
}

TEST(myEncodingsCatalogue, AllNamesAreInOrdinalOrder) {
    const QStringList names = myEncodings::allNames();
    ASSERT_EQ(names.size(), 141);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 141);
    EXPECT_EQ(names.mid(0, 6), (QStringList{"ANSEL", "ASCII", "Big5", "Big5_E", "Big5_HKSCS_1999",
                                            "CNS_11643_92_P1"}));
    EXPECT_EQ(names.last(), "WindowsVietnamese");
    EXPECT_EQ(names.at(128), "UTF8");  // the 129th

    // Each group must appear in this order: digits < capitals < '_' < small letters.
    const QList<QStringList> orderedRuns = {
        {"GBK_95", "GB_18030_2000", "GB_2312_80"},
        {"ISOLatin1", "ISOLatin10", "ISOLatin2"},
        {"ISOLatinThai", "ISO_2022_CN"},
        {"MacHFS", "MacHebrew"},
        {"MacRoman", "MacRomanLatin1", "MacRomanian"},
        {"MacVT100", "MacVietnamese"},
        {"UTF7", "UTF7_IMAP", "UTF8"},
        {"UTF8", "Unicode"},
    };
    for (const QStringList& run : orderedRuns)
        for (qsizetype i = 1; i < run.size(); ++i)
            EXPECT_LT(names.indexOf(run[i - 1]), names.indexOf(run[i]))
                << qPrintable(run[i - 1]) << " before " << qPrintable(run[i]);
    for (const QString& name : names)
        if (name.startsWith("UTF")) {
            EXPECT_LT(names.indexOf(name), names.indexOf("Unicode"));
        }
    EXPECT_EQ(myEncodings::allNames(), names);
}

TEST(myEncodingsLookup, EveryNameGivesItsOwnEncoding) {
    const QMap<myEncodings, QString> names = myEncodings::namesDictionary();
    QSet<platform::StringEncoding> seen;
    QSet<quint32> numbers;
    quint32 previous = 0;
    for (auto it = names.begin(); it != names.end(); ++it) {
        const platform::StringEncoding encoding = myEncodings::encodingForName(it.value());
        seen.insert(encoding);
        numbers.insert(encoding.number());
        // From MacJapanese to UTF7 the published numbers rise with the position.
        const quint64 raw = it.key().rawValue();
        if (raw >= 13 && raw <= 139) {
            if (raw > 13) {
                EXPECT_GT(encoding.number(), previous) << qPrintable(it.value());
            }
            previous = encoding.number();
        }
    }
    EXPECT_EQ(seen.size(), 141);
    EXPECT_EQ(numbers.size(), 141);
}

TEST(myEncodingsLookup, TellingRowsCarryTheirPublishedNumbers) {
    const struct {
        const char* name;
        quint32 number;
    } rows[] = {
        {"MacRoman", 0},      {"MacJapanese", 1},       {"Unicode", 0x100},
        {"UTF8", 0x8000100},  {"NonLossyASCII", 0xBFF}, {"UTF32LE", 0x1C000100},
        {"UTF7", 0x4000100},  {"UTF7_IMAP", 0xA10},     {"WindowsLatin1", 0x500},
        {"ISOLatin1", 0x201}, {"ShiftJIS", 0xA01},      {"MacFarsi", 0x8C},
    };
    for (const auto& row : rows)
        EXPECT_EQ(myEncodings::encodingForName(row.name).number(), row.number) << row.name;
}

TEST(myEncodingsLookup, AnyOtherTextMeansUtf8) {
    const platform::StringEncoding utf8 = myEncodings::encodingForName("UTF8");
    EXPECT_EQ(utf8.backend(), platform::StringEncoding::Backend::Icu);
    EXPECT_EQ(utf8.converterName(), "UTF-8");
    const QStringList others = {"",       "utf8",   "UTF-8",          " UTF8",    "UTF8 ",
                                "Utf8",   "UTF16",  "macroman",       "MACROMAN", "unicode",
                                "KOI8_r", "Latin1", QString(QChar(0))};
    for (const QString& other : others)
        EXPECT_EQ(myEncodings::encodingForName(other), utf8) << qPrintable(other);
    // No two display names differ in letter case alone, so every recased name falls back.
    for (const QString& name : myEncodings::allNames()) {
        for (const QString& recased : {name.toLower(), name.toUpper()})
            if (recased != name) {
                EXPECT_EQ(myEncodings::encodingForName(recased), utf8) << qPrintable(recased);
            }
    }
}

TEST(myEncodingsLookup, DistinguishesTheUnicodeForms) {
    const auto unicode = myEncodings::encodingForName("Unicode");
    const auto be = myEncodings::encodingForName("UTF16BE");
    const auto le = myEncodings::encodingForName("UTF16LE");
    EXPECT_NE(be, le);
    EXPECT_NE(unicode, be);
    EXPECT_NE(unicode, myEncodings::encodingForName("UTF8"));
    // Same converter, different encodings: still told apart.
    EXPECT_NE(myEncodings::encodingForName("MacRoman"), myEncodings::encodingForName("MacHFS"));
}

TEST(myEncodingsLookup, CanonicallyEquivalentNameCountsAsEqual) {
    // U+212A KELVIN SIGN is canonically equivalent to "K".
    const QString kelvin = QString(QChar(0x212A)) + "OI8_R";
    EXPECT_EQ(myEncodings::encodingForName(kelvin), myEncodings::encodingForName("KOI8_R"));
    EXPECT_EQ(nameOf(myEncodings::koi8_R), "KOI8_R");
}
