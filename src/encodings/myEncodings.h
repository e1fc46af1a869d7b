#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

#include "platform/StringEncoding.h"

// The catalogue of the text encodings a subtitle file can be read and written
// in. Callers hold and pass encodings by display name ("UTF8",
// "WindowsLatin1", ...); encodingForName turns a name into a converter just
// before a file is read or written. The catalogue keeps no state.
class myEncodings {
  public:
    // Catalogue order; the raw value is the position, 0 to 140.
    enum Value : quint64 {
        macRoman,
        windowsLatin1,
        isoLatin1,
        nextStepLatin,
        ascii,
        unicode,
        utf8,
        nonLossyASCII,
        utf16BE,
        utf16LE,
        utf32,
        utf32BE,
        utf32LE,
        macJapanese,
        macChineseTrad,
        macKorean,
        macArabic,
        macHebrew,
        macGreek,
        macCyrillic,
        macDevanagari,
        macGurmukhi,
        macGujarati,
        macOriya,
        macBengali,
        macTamil,
        macTelugu,
        macKannada,
        macMalayalam,
        macSinhalese,
        macBurmese,
        macKhmer,
        macThai,
        macLaotian,
        macGeorgian,
        macArmenian,
        macChineseSimp,
        macTibetan,
        macMongolian,
        macEthiopic,
        macCentralEurRoman,
        macVietnamese,
        macExtArabic,
        macSymbol,
        macDingbats,
        macTurkish,
        macCroatian,
        macIcelandic,
        macRomanian,
        macCeltic,
        macGaelic,
        macFarsi,
        macUkrainian,
        macInuit,
        macVT100,
        macHFS,
        isoLatin2,
        isoLatin3,
        isoLatin4,
        isoLatinCyrillic,
        isoLatinArabic,
        isoLatinGreek,
        isoLatinHebrew,
        isoLatin5,
        isoLatin6,
        isoLatinThai,
        isoLatin7,
        isoLatin8,
        isoLatin9,
        isoLatin10,
        dosLatinUS,
        dosGreek,
        dosBalticRim,
        dosLatin1,
        dosGreek1,
        dosLatin2,
        dosCyrillic,
        dosTurkish,
        dosPortuguese,
        dosIcelandic,
        dosHebrew,
        dosCanadianFrench,
        dosArabic,
        dosNordic,
        dosRussian,
        dosGreek2,
        dosThai,
        dosJapanese,
        dosChineseSimplif,
        dosKorean,
        dosChineseTrad,
        windowsLatin2,
        windowsCyrillic,
        windowsGreek,
        windowsLatin5,
        windowsHebrew,
        windowsArabic,
        windowsBalticRim,
        windowsVietnamese,
        windowsKoreanJohab,
        ansel,
        jis_X0201_76,
        jis_X0208_83,
        jis_X0208_90,
        jis_X0212_90,
        jis_C6226_78,
        shiftJIS_X0213,
        shiftJIS_X0213_MenKuTen,
        gb_2312_80,
        gbk_95,
        gb_18030_2000,
        ksc_5601_87,
        ksc_5601_92_Johab,
        cns_11643_92_P1,
        cns_11643_92_P2,
        cns_11643_92_P3,
        iso_2022_JP,
        iso_2022_JP_2,
        iso_2022_JP_1,
        iso_2022_JP_3,
        iso_2022_CN,
        iso_2022_CN_EXT,
        iso_2022_KR,
        euc_JP,
        euc_CN,
        euc_TW,
        euc_KR,
        shiftJIS,
        koi8_R,
        big5,
        macRomanLatin1,
        hz_GB_2312,
        big5_HKSCS_1999,
        viscii,
        koi8_U,
        big5_E,
        nextStepJapanese,
        ebcdic_US,
        ebcdic_CP037,
        utf7,
        utf7_IMAP,
    };
    static constexpr quint64 caseCount = 141;

    constexpr myEncodings(Value v) : value_(v) {}
    constexpr operator Value() const { return value_; }

    // The case at that position; none above 140.
    static std::optional<myEncodings> fromRawValue(quint64 raw);
    quint64 rawValue() const { return static_cast<quint64>(value_); }

    // Every case with its display name, built anew on each call.
    static QMap<myEncodings, QString> namesDictionary();
    // All display names in ordinal (UTF-16 code unit) order, built anew.
    static QStringList allNames();
    // The encoding of the display name (exact and case-sensitive, canonically
    // equivalent texts counting as equal); any other text gives UTF-8. Never
    // fails, even where no converter serves the name: that shows on read/write.
    static platform::StringEncoding encodingForName(const QString& name);

  private:
    Value value_;
};

size_t qHash(myEncodings encoding, size_t seed = 0);
