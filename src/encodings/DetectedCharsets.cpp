#include "encodings/DetectedCharsets.h"

#include <QHash>
#include <algorithm>
#include <map>

#include "encodings/TextMess.h"
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

std::optional<QString> DetectedCharsets::windowsSiblingOf(const QString& name) {
    static const QHash<QString, QString> siblings{
        {"ISOLatin1", "WindowsLatin1"},          {"ISOLatin2", "WindowsLatin2"},
        {"MacCentralEurRoman", "WindowsLatin2"}, {"ISOLatinCyrillic", "WindowsCyrillic"},
        {"KOI8_R", "WindowsCyrillic"},           {"MacCyrillic", "WindowsCyrillic"},
        {"ISOLatinGreek", "WindowsGreek"},       {"ISOLatin5", "WindowsLatin5"},
        {"ISOLatinHebrew", "WindowsHebrew"},     {"ISOLatinArabic", "WindowsArabic"},
        {"ISOLatin4", "WindowsBalticRim"},       {"ISOLatin7", "WindowsBalticRim"},
    };
    const auto found = siblings.constFind(name);
    if (found == siblings.constEnd()) return std::nullopt;
    return *found;
}

QStringList DetectedCharsets::otherLatinWindowsPages(const QString& name) {
    static const QStringList windowsPages{"WindowsLatin1", "WindowsLatin2", "WindowsLatin5",
                                          "WindowsBalticRim"};
    static const QStringList latinPages =
        windowsPages + QStringList{"ISOLatin1",  "ISOLatin2",          "ISOLatin3", "ISOLatin4",
                                   "ISOLatin5",  "ISOLatin6",          "ISOLatin7", "ISOLatin9",
                                   "ISOLatin10", "MacCentralEurRoman", "DOSLatin2"};
    if (!latinPages.contains(name)) return {};
    const auto sibling = windowsSiblingOf(name);
    QStringList others;
    for (const QString& page : windowsPages)
        if (page != name && page != sibling) others.append(page);
    return others;
}

QList<DetectedCharsets::Candidate> DetectedCharsets::candidatesFor(const QByteArray& bytes) {
    QList<Candidate> candidates;
    const auto answer = [&candidates](const std::optional<QString>& name, int confidence) {
        if (!name) return;
        for (Candidate& known : candidates) {
            if (known.name != *name) continue;
            known.confidence = std::max(known.confidence, confidence);
            return;
        }
        candidates.append(Candidate{*name, confidence, {}});
    };
    if (const auto name = platform::UchardetDetector::detect(bytes))
        answer(catalogueNameFor(*name), kUchardetConfidence);
    for (const auto& guess : platform::CharsetDetector::detectAll(bytes))
        if (guess.confidence > kConfidenceFloor)
            answer(catalogueNameFor(guess.name), guess.confidence);
    const qsizetype answers = candidates.size();
    // A sibling of several answers stands in for each of them, with the
    // highest confidence they give it.
    const auto sibling = [&candidates, answers](const QString& name, const Candidate& of,
                                                int confidence) {
        const auto named = [&name](const Candidate& c) { return c.name == name; };
        if (std::any_of(candidates.cbegin(), candidates.cbegin() + answers, named)) return;
        const auto known = std::find_if(candidates.begin() + answers, candidates.end(), named);
        if (known == candidates.end()) {
            candidates.append(Candidate{name, confidence, {of.name}});
            return;
        }
        known->confidence = std::max(known->confidence, confidence);
        known->mends.append(of.name);
    };
    for (qsizetype i = 0; i < answers; ++i) {
        const Candidate answered = candidates[i];
        // The page of the same script is as likely as its answer; the other
        // Latin pages are tried with no confidence of their own.
        if (const auto name = windowsSiblingOf(answered.name))
            sibling(*name, answered, answered.confidence);
        for (const QString& name : otherLatinWindowsPages(answered.name))
            sibling(name, answered, 0);
    }
    return candidates;
}

namespace {

struct Reading {
    QString text;
    TextMess::Score score;
};

// Less mess per letter (compared as fractions; a text without letters
// weighs its mess as if it had one).
int compareMess(const Reading& a, const Reading& b) {
    const qsizetype left = a.score.mess * std::max<qsizetype>(1, b.score.letters);
    const qsizetype right = b.score.mess * std::max<qsizetype>(1, a.score.letters);
    return left < right ? -1 : left > right ? 1 : 0;
}

bool isWindowsPage(const QString& name) {
    return name.startsWith(QLatin1String("Windows"));
}

}  // namespace

std::optional<QString> DetectedCharsets::catalogueNameForBytes(const QByteArray& bytes) {
    const QList<Candidate> candidates = candidatesFor(bytes);
    // Each name decodes once; a text that another name read alike is not
    // measured again. (A map keeps its values in place as it grows.)
    std::map<QString, std::optional<Reading>> readings;
    const auto readingOf = [&bytes,
                            &readings](const QString& name) -> const std::optional<Reading>& {
        const auto known = readings.find(name);
        if (known != readings.end()) return known->second;
        std::optional<Reading> reading;
        if (auto text = decodedStart(bytes, name)) {
            const auto same = std::find_if(
                readings.cbegin(), readings.cend(),
                [&text](const auto& r) { return r.second && r.second->text == *text; });
            const TextMess::Score score =
                same != readings.cend() ? same->second->score : TextMess::score(*text);
            reading = Reading{std::move(*text), score};
        }
        return readings.emplace(name, std::move(reading)).first->second;
    };
    const Candidate* best = nullptr;
    const Reading* bestReading = nullptr;
    for (const Candidate& candidate : candidates) {
        const auto& reading = readingOf(candidate.name);
        if (!reading) continue;
        // A sibling stands in for its answer where it reads the bytes with
        // less mess or as the same text; where the answer reads them as
        // cleanly but otherwise, its detector saw those letters and chose it.
        if (!candidate.mends.isEmpty()) {
            const auto standsIn = [&](const QString& mended) {
                const auto& answer = readingOf(mended);
                return !answer || compareMess(*reading, *answer) < 0 ||
                       answer->text == reading->text;
            };
            if (std::none_of(candidate.mends.cbegin(), candidate.mends.cend(), standsIn)) continue;
        }
        // Less mess, then a Windows page, then the more confident detector,
        // then the earlier answer.
        const auto better = [&] {
            if (best == nullptr) return true;
            if (const int mess = compareMess(*reading, *bestReading); mess != 0) return mess < 0;
            const bool windows = isWindowsPage(candidate.name);
            if (windows != isWindowsPage(best->name)) return windows;
            return candidate.confidence > best->confidence;
        };
        if (!better()) continue;
        best = &candidate;
        bestReading = &*reading;
    }
    if (best == nullptr) return std::nullopt;
    return best->name;
}
