#include "encodings/myEncodings.h"

#include <QHashFunctions>
#include <algorithm>
#include <array>

namespace {

using B = platform::StringEncoding::Backend;

struct Row {
    const char* name;  // display name
    quint32 number;    // the encoding's published constant
    B backend;         // who converts it here
    const char* converter;
};

// One row per case, in catalogue order. Converters were chosen by round trip
// on Debian 12 (ICU 72, glibc 2.36): ICU where it has the encoding, else glibc
// iconv, else a compiled-in table or codec; "None" where nothing here has it.
// Where only a near relative exists (a Mac CJK set, a raw national set) the
// relative serves.
constexpr std::array<Row, myEncodings::caseCount> kRows{{
    {"MacRoman", 0, B::Icu, "macintosh"},
    {"WindowsLatin1", 0x500, B::Icu, "windows-1252"},
    {"ISOLatin1", 0x201, B::Icu, "ISO-8859-1"},
    {"NextStepLatin", 0xB01, B::None, ""},
    {"ASCII", 0x600, B::Icu, "US-ASCII"},
    {"Unicode", 0x100, B::Icu, "UTF-16"},
    {"UTF8", 0x8000100, B::Icu, "UTF-8"},
    {"NonLossyASCII", 0xBFF, B::NonLossyAscii, ""},
    {"UTF16BE", 0x10000100, B::Icu, "UTF-16BE"},
    {"UTF16LE", 0x14000100, B::Icu, "UTF-16LE"},
    {"UTF32", 0xC000100, B::Icu, "UTF-32"},
    {"UTF32BE", 0x18000100, B::Icu, "UTF-32BE"},
    {"UTF32LE", 0x1C000100, B::Icu, "UTF-32LE"},
    {"MacJapanese", 1, B::Iconv, "SHIFT_JIS"},
    {"MacChineseTrad", 2, B::Iconv, "BIG5"},
    {"MacKorean", 3, B::Iconv, "EUC-KR"},
    {"MacArabic", 4, B::ByteTable, "MacArabic"},
    {"MacHebrew", 5, B::None, ""},
    {"MacGreek", 6, B::Icu, "x-mac-greek"},
    {"MacCyrillic", 7, B::Icu, "x-mac-cyrillic"},
    {"MacDevanagari", 9, B::None, ""},
    {"MacGurmukhi", 10, B::None, ""},
    {"MacGujarati", 11, B::None, ""},
    {"MacOriya", 12, B::None, ""},
    {"MacBengali", 13, B::None, ""},
    {"MacTamil", 14, B::None, ""},
    {"MacTelugu", 15, B::None, ""},
    {"MacKannada", 16, B::None, ""},
    {"MacMalayalam", 17, B::None, ""},
    {"MacSinhalese", 18, B::None, ""},
    {"MacBurmese", 19, B::None, ""},
    {"MacKhmer", 20, B::None, ""},
    {"MacThai", 21, B::None, ""},
    {"MacLaotian", 22, B::None, ""},
    {"MacGeorgian", 23, B::None, ""},
    {"MacArmenian", 24, B::None, ""},
    {"MacChineseSimp", 25, B::Iconv, "GB2312"},
    {"MacTibetan", 26, B::None, ""},
    {"MacMongolian", 27, B::None, ""},
    {"MacEthiopic", 28, B::None, ""},
    {"MacCentralEurRoman", 29, B::Icu, "x-mac-centraleurroman"},
    {"MacVietnamese", 30, B::None, ""},
    {"MacExtArabic", 31, B::None, ""},
    {"MacSymbol", 33, B::None, ""},
    {"MacDingbats", 34, B::None, ""},
    {"MacTurkish", 35, B::Icu, "x-mac-turkish"},
    {"MacCroatian", 36, B::ByteTable, "MacCroatian"},
    {"MacIcelandic", 37, B::ByteTable, "MacIcelandic"},
    {"MacRomanian", 38, B::ByteTable, "MacRomanian"},
    {"MacCeltic", 39, B::None, ""},
    {"MacGaelic", 40, B::None, ""},
    {"MacFarsi", 0x8C, B::ByteTable, "MacFarsi"},
    {"MacUkrainian", 0x98, B::Icu, "x-MacUkraine"},
    {"MacInuit", 0xEC, B::None, ""},
    {"MacVT100", 0xFC, B::Icu, "macintosh"},
    {"MacHFS", 0xFF, B::Icu, "macintosh"},
    {"ISOLatin2", 0x202, B::Icu, "ISO-8859-2"},
    {"ISOLatin3", 0x203, B::Icu, "ISO-8859-3"},
    {"ISOLatin4", 0x204, B::Icu, "ISO-8859-4"},
    {"ISOLatinCyrillic", 0x205, B::Icu, "ISO-8859-5"},
    {"ISOLatinArabic", 0x206, B::Icu, "ISO-8859-6"},
    {"ISOLatinGreek", 0x207, B::Icu, "ISO-8859-7"},
    {"ISOLatinHebrew", 0x208, B::Icu, "ISO-8859-8"},
    {"ISOLatin5", 0x209, B::Icu, "ISO-8859-9"},
    {"ISOLatin6", 0x20A, B::Icu, "ISO-8859-10"},
    {"ISOLatinThai", 0x20B, B::Icu, "ISO-8859-11"},
    {"ISOLatin7", 0x20D, B::Icu, "ISO-8859-13"},
    {"ISOLatin8", 0x20E, B::Icu, "ISO-8859-14"},
    {"ISOLatin9", 0x20F, B::Icu, "ISO-8859-15"},
    {"ISOLatin10", 0x210, B::Iconv, "ISO-8859-16"},
    {"DOSLatinUS", 0x400, B::Icu, "IBM437"},
    {"DOSGreek", 0x405, B::Icu, "IBM737"},
    {"DOSBalticRim", 0x406, B::Icu, "IBM775"},
    {"DOSLatin1", 0x410, B::Icu, "IBM850"},
    {"DOSGreek1", 0x411, B::Icu, "IBM851"},
    {"DOSLatin2", 0x412, B::Icu, "IBM852"},
    {"DOSCyrillic", 0x413, B::Icu, "IBM855"},
    {"DOSTurkish", 0x414, B::Icu, "IBM857"},
    {"DOSPortuguese", 0x415, B::Icu, "IBM860"},
    {"DOSIcelandic", 0x416, B::Icu, "IBM861"},
    {"DOSHebrew", 0x417, B::Icu, "IBM862"},
    {"DOSCanadianFrench", 0x418, B::Icu, "IBM863"},
    {"DOSArabic", 0x419, B::Icu, "IBM864"},
    {"DOSNordic", 0x41A, B::Icu, "IBM865"},
    {"DOSRussian", 0x41B, B::Icu, "IBM866"},
    {"DOSGreek2", 0x41C, B::Icu, "IBM869"},
    {"DOSThai", 0x41D, B::Icu, "windows-874"},
    {"DOSJapanese", 0x420, B::Icu, "windows-31j"},
    {"DOSChineseSimplif", 0x421, B::Icu, "windows-936"},
    {"DOSKorean", 0x422, B::Icu, "windows-949"},
    {"DOSChineseTrad", 0x423, B::Icu, "windows-950"},
    {"WindowsLatin2", 0x501, B::Icu, "windows-1250"},
    {"WindowsCyrillic", 0x502, B::Icu, "windows-1251"},
    {"WindowsGreek", 0x503, B::Icu, "windows-1253"},
    {"WindowsLatin5", 0x504, B::Icu, "windows-1254"},
    {"WindowsHebrew", 0x505, B::Icu, "windows-1255"},
    {"WindowsArabic", 0x506, B::Icu, "windows-1256"},
    {"WindowsBalticRim", 0x507, B::Icu, "windows-1257"},
    {"WindowsVietnamese", 0x508, B::Icu, "windows-1258"},
    {"WindowsKoreanJohab", 0x510, B::Iconv, "CP1361"},
    {"ANSEL", 0x601, B::None, ""},
    {"JIS_X0201_76", 0x620, B::Iconv, "SHIFT_JIS"},
    {"JIS_X0208_83", 0x621, B::None, ""},
    {"JIS_X0208_90", 0x622, B::None, ""},
    {"JIS_X0212_90", 0x623, B::None, ""},
    {"JIS_C6226_78", 0x624, B::None, ""},
    {"ShiftJIS_X0213", 0x628, B::Iconv, "SHIFT_JISX0213"},
    {"ShiftJIS_X0213_MenKuTen", 0x629, B::None, ""},
    {"GB_2312_80", 0x630, B::Icu, "GB2312"},
    {"GBK_95", 0x631, B::Icu, "GBK"},
    {"GB_18030_2000", 0x632, B::Icu, "gb18030"},
    {"KSC_5601_87", 0x640, B::Icu, "KSC_5601"},
    {"KSC_5601_92_Johab", 0x641, B::Iconv, "JOHAB"},
    {"CNS_11643_92_P1", 0x651, B::None, ""},
    {"CNS_11643_92_P2", 0x652, B::None, ""},
    {"CNS_11643_92_P3", 0x653, B::None, ""},
    {"ISO_2022_JP", 0x820, B::Icu, "ISO-2022-JP"},
    {"ISO_2022_JP_2", 0x821, B::Icu, "ISO-2022-JP-2"},
    {"ISO_2022_JP_1", 0x822, B::Icu, "ISO-2022-JP-1"},
    {"ISO_2022_JP_3", 0x823, B::Iconv, "ISO-2022-JP-3"},
    {"ISO_2022_CN", 0x840, B::Icu, "ISO-2022-CN"},
    {"ISO_2022_CN_EXT", 0x841, B::Icu, "ISO-2022-CN-EXT"},
    {"ISO_2022_KR", 0x850, B::Icu, "ISO-2022-KR"},
    {"EUC_JP", 0x920, B::Icu, "EUC-JP"},
    {"EUC_CN", 0x930, B::Icu, "EUC-CN"},
    {"EUC_TW", 0x931, B::Icu, "EUC-TW"},
    {"EUC_KR", 0x940, B::Icu, "EUC-KR"},
    {"ShiftJIS", 0xA01, B::Icu, "Shift_JIS"},
    {"KOI8_R", 0xA02, B::Icu, "KOI8-R"},
    {"Big5", 0xA03, B::Icu, "Big5"},
    {"MacRomanLatin1", 0xA04, B::None, ""},
    {"HZ_GB_2312", 0xA05, B::Icu, "HZ"},
    {"Big5_HKSCS_1999", 0xA06, B::Icu, "Big5-HKSCS"},
    {"VISCII", 0xA07, B::Iconv, "VISCII"},
    {"KOI8_U", 0xA08, B::Icu, "KOI8-U"},
    {"Big5_E", 0xA09, B::Iconv, "BIG5"},
    {"NextStepJapanese", 0xB02, B::Iconv, "EUC-JP"},
    {"EBCDIC_US", 0xC01, B::Iconv, "EBCDIC-US"},
    {"EBCDIC_CP037", 0xC02, B::Icu, "IBM037"},
    {"UTF7", 0x4000100, B::Icu, "UTF-7"},
    {"UTF7_IMAP", 0xA10, B::Icu, "IMAP-mailbox-name"},
}};

constexpr std::size_t kUtf8Row = myEncodings::utf8;

platform::StringEncoding encodingOfRow(const Row& row) {
    return platform::StringEncoding(row.backend, QByteArray(row.converter), row.number);
}

}  // namespace

std::optional<myEncodings> myEncodings::fromRawValue(quint64 raw) {
    if (raw >= caseCount) return std::nullopt;
    return myEncodings(static_cast<Value>(raw));
}

QMap<myEncodings, QString> myEncodings::namesDictionary() {
    QMap<myEncodings, QString> names;
    for (quint64 i = 0; i < caseCount; ++i)
        names.insert(myEncodings(static_cast<Value>(i)), QString::fromLatin1(kRows[i].name));
    return names;
}

QStringList myEncodings::allNames() {
    QStringList names = namesDictionary().values();
    // QString's operator< compares UTF-16 code units: ordinal, never locale-aware.
    std::sort(names.begin(), names.end());
    return names;
}

platform::StringEncoding myEncodings::encodingForName(const QString& name) {
    // Display names are ASCII and already in composed form; a text canonically
    // equivalent to one (such as a Kelvin sign for "K") is brought to it first.
    bool ascii = true;
    for (const QChar c : name) ascii = ascii && c.unicode() < 0x80;
    const QString key = ascii ? name : name.normalized(QString::NormalizationForm_C);
    for (const Row& row : kRows)
        if (key == QLatin1String(row.name)) return encodingOfRow(row);
    return encodingOfRow(kRows[kUtf8Row]);
}

size_t qHash(myEncodings encoding, size_t seed) {
    return qHash(encoding.rawValue(), seed);
}
