#include "encodings/DetectedCharsets.h"

#include <QHash>

#include "platform/CharsetDetector.h"

std::optional<QString> DetectedCharsets::catalogueNameFor(const QString& charset) {
    static const QHash<QString, QString> names{
        // UTF-16 and UTF-32 are left out: with their byte-order mark
        // "Unicode" reads them, and it comes right after "UTF8" anyway.
        {"UTF-8", "UTF8"},
        {"Shift_JIS", "ShiftJIS"},
        {"ISO-2022-JP", "ISO_2022_JP"},
        {"ISO-2022-CN", "ISO_2022_CN"},
        {"ISO-2022-KR", "ISO_2022_KR"},
        {"GB18030", "GB_18030_2000"},
        {"EUC-JP", "EUC_JP"},
        {"EUC-KR", "EUC_KR"},
        {"Big5", "Big5"},
        {"ISO-8859-1", "ISOLatin1"},
        {"ISO-8859-2", "ISOLatin2"},
        {"ISO-8859-5", "ISOLatinCyrillic"},
        {"ISO-8859-6", "ISOLatinArabic"},
        {"ISO-8859-7", "ISOLatinGreek"},
        {"ISO-8859-8", "ISOLatinHebrew"},
        {"ISO-8859-8-I", "ISOLatinHebrew"},
        {"ISO-8859-9", "ISOLatin5"},
        {"windows-1250", "WindowsLatin2"},
        {"windows-1251", "WindowsCyrillic"},
        {"windows-1252", "WindowsLatin1"},
        {"windows-1253", "WindowsGreek"},
        {"windows-1254", "WindowsLatin5"},
        {"windows-1255", "WindowsHebrew"},
        {"windows-1256", "WindowsArabic"},
        {"KOI8-R", "KOI8_R"},
    };
    const auto found = names.constFind(charset);
    if (found == names.constEnd()) return std::nullopt;
    return *found;
}

std::optional<QString> DetectedCharsets::catalogueNameForBytes(const QByteArray& bytes) {
    const auto guess = platform::CharsetDetector::detect(bytes);
    if (!guess || guess->confidence < kGoodConfidence) return std::nullopt;
    return catalogueNameFor(guess->name);
}
