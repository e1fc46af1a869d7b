#include "encodings/DetectedCharsets.h"

#include <QHash>

#include "encodings/myEncodings.h"
#include "platform/CharsetDetector.h"
#include "platform/TextCodec.h"
#include "platform/UchardetDetector.h"

namespace {

// The bytes read in the catalogue's encoding, when they decode. The caller
// may have cut the file short inside a character: up to three bytes at the
// end are let go.
std::optional<QString> decodedStart(const QByteArray& bytes, const QString& name) {
    const platform::StringEncoding encoding = myEncodings::encodingForName(name);
    for (qsizetype dropped = 0; dropped < 4 && dropped < bytes.size(); ++dropped)
        if (auto text = platform::TextCodec::decode(bytes.chopped(dropped), encoding)) return text;
    return std::nullopt;
}

}  // namespace

std::optional<QString> DetectedCharsets::catalogueNameFor(const QString& charset) {
    // Keyed in upper case: uchardet spells every name so, ICU mixes cases.
    static const QHash<QString, QString> names{
        {"ASCII", "ASCII"},
        {"UTF-8", "UTF8"},
        // Without an order in the name, the byte-order mark is there.
        {"UTF-16", "Unicode"},
        {"UTF-16BE", "UTF16BE"},
        {"UTF-16LE", "UTF16LE"},
        {"UTF-32", "UTF32"},
        {"UTF-32BE", "UTF32BE"},
        {"UTF-32LE", "UTF32LE"},
        {"SHIFT_JIS", "ShiftJIS"},
        {"ISO-2022-JP", "ISO_2022_JP"},
        {"ISO-2022-CN", "ISO_2022_CN"},
        {"ISO-2022-KR", "ISO_2022_KR"},
        {"GB18030", "GB_18030_2000"},
        {"HZ-GB-2312", "HZ_GB_2312"},
        {"EUC-JP", "EUC_JP"},
        {"EUC-KR", "EUC_KR"},
        {"EUC-TW", "EUC_TW"},
        // Windows' extension of EUC-KR.
        {"UHC", "DOSKorean"},
        {"BIG5", "Big5"},
        {"ISO-8859-1", "ISOLatin1"},
        {"ISO-8859-2", "ISOLatin2"},
        {"ISO-8859-3", "ISOLatin3"},
        {"ISO-8859-4", "ISOLatin4"},
        {"ISO-8859-5", "ISOLatinCyrillic"},
        {"ISO-8859-6", "ISOLatinArabic"},
        {"ISO-8859-7", "ISOLatinGreek"},
        {"ISO-8859-8", "ISOLatinHebrew"},
        {"ISO-8859-8-I", "ISOLatinHebrew"},
        {"ISO-8859-9", "ISOLatin5"},
        {"ISO-8859-10", "ISOLatin6"},
        {"ISO-8859-11", "ISOLatinThai"},
        // ISO-8859-11 without its no-break space.
        {"TIS-620", "ISOLatinThai"},
        {"ISO-8859-13", "ISOLatin7"},
        {"ISO-8859-15", "ISOLatin9"},
        {"ISO-8859-16", "ISOLatin10"},
        {"IBM852", "DOSLatin2"},
        {"IBM855", "DOSCyrillic"},
        {"IBM866", "DOSRussian"},
        {"KOI8-R", "KOI8_R"},
        {"MAC-CENTRALEUROPE", "MacCentralEurRoman"},
        {"MAC-CYRILLIC", "MacCyrillic"},
        {"VISCII", "VISCII"},
        {"WINDOWS-1250", "WindowsLatin2"},
        {"WINDOWS-1251", "WindowsCyrillic"},
        {"WINDOWS-1252", "WindowsLatin1"},
        {"WINDOWS-1253", "WindowsGreek"},
        {"WINDOWS-1254", "WindowsLatin5"},
        {"WINDOWS-1255", "WindowsHebrew"},
        {"WINDOWS-1256", "WindowsArabic"},
        {"WINDOWS-1257", "WindowsBalticRim"},
        {"WINDOWS-1258", "WindowsVietnamese"},
        // ICU's EBCDIC Arabic and Hebrew (IBM420, IBM424) have no converter
        // here: the catalogue lacks them.
    };
    const auto found = names.constFind(charset.toUpper());
    if (found == names.constEnd()) return std::nullopt;
    return *found;
}

bool DetectedCharsets::looksLikeText(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0 || (u >= 0x80 && u <= 0x9F) || (u >= 0xE000 && u <= 0xF8FF)) return false;
        // The supplementary private-use planes (15 and 16) start with these.
        if (u >= 0xDB80 && u <= 0xDBFF) return false;
    }
    return true;
}

std::optional<QString> DetectedCharsets::catalogueNameForBytes(const QByteArray& bytes) {
    std::optional<QString> answers[2];
    if (const auto name = platform::UchardetDetector::detect(bytes))
        answers[0] = catalogueNameFor(*name);
    if (const auto guess = platform::CharsetDetector::detect(bytes);
        guess && guess->confidence >= kGoodConfidence)
        answers[1] = catalogueNameFor(guess->name);
    for (const auto& answer : answers) {
        if (!answer) continue;
        const auto text = decodedStart(bytes, *answer);
        if (text && looksLikeText(*text)) return answer;
    }
    return std::nullopt;
}
