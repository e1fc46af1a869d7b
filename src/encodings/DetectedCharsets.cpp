#include "encodings/DetectedCharsets.h"

#include <QHash>
#include <algorithm>
#include <map>
#include <tuple>

#include "encodings/TextMess.h"
#include "encodings/myEncodings.h"
#include "platform/CharsetDetector.h"
#include "platform/TextCodec.h"
#include "platform/UchardetDetector.h"

std::optional<QString> DetectedCharsets::markedForm(const QByteArray& bytes) {
    const auto starts = [&bytes](const char* mark, qsizetype size) {
        return bytes.startsWith(QByteArray::fromRawData(mark, size));
    };
    if (starts("\xFF\xFE\0\0", 4) || starts("\0\0\xFE\xFF", 4)) return QStringLiteral("UTF32");
    if (starts("\xFF\xFE", 2) || starts("\xFE\xFF", 2)) return QStringLiteral("Unicode");
    if (starts("\xEF\xBB\xBF", 3)) return QStringLiteral("UTF8");
    return std::nullopt;
}

std::optional<QString> DetectedCharsets::decodedStart(const QByteArray& bytes,
                                                      const QString& name) {
    const platform::StringEncoding encoding = myEncodings::encodingForName(name);
    for (qsizetype dropped = 0; dropped < 4 && dropped < bytes.size(); ++dropped)
        if (auto text = platform::TextCodec::decode(bytes.chopped(dropped), encoding)) return text;
    return std::nullopt;
}

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

QStringList DetectedCharsets::siblingsOf(const QString& name) {
    static const QHash<QString, QStringList> siblings{
        {"ISOLatin1", {"WindowsLatin1"}},
        {"ISOLatin2", {"WindowsLatin2"}},
        {"MacCentralEurRoman", {"WindowsLatin2"}},
        {"ISOLatinCyrillic", {"WindowsCyrillic"}},
        {"KOI8_R", {"WindowsCyrillic", "KOI8_U"}},
        {"MacCyrillic", {"WindowsCyrillic"}},
        {"ISOLatinGreek", {"WindowsGreek"}},
        {"ISOLatin5", {"WindowsLatin5"}},
        {"ISOLatinHebrew", {"WindowsHebrew"}},
        {"ISOLatinArabic", {"WindowsArabic"}},
        {"ISOLatin4", {"WindowsBalticRim"}},
        {"ISOLatin7", {"WindowsBalticRim"}},
        {"ISOLatinThai", {"DOSThai"}},
        {"EUC_KR", {"DOSKorean"}},
    };
    return siblings.value(name);
}

QStringList DetectedCharsets::otherLatinPages(const QString& name) {
    static const QStringList windowsPages{"WindowsLatin1", "WindowsLatin2", "WindowsLatin5",
                                          "WindowsBalticRim"};
    static const QStringList latinPages =
        windowsPages + QStringList{"ISOLatin1",  "ISOLatin2",          "ISOLatin3", "ISOLatin4",
                                   "ISOLatin5",  "ISOLatin6",          "ISOLatin7", "ISOLatin9",
                                   "ISOLatin10", "MacCentralEurRoman", "DOSLatin2"};
    if (!latinPages.contains(name)) return {};
    const QStringList siblings = siblingsOf(name);
    QStringList others;
    for (const QString& page : windowsPages)
        if (page != name && !siblings.contains(page)) others.append(page);
    if (name == QLatin1String("ISOLatin1") || name == QLatin1String("WindowsLatin1"))
        others.append(QStringLiteral("ISOLatin9"));
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
        candidates.append(Candidate{*name, confidence, {}, {}});
    };
    if (const auto name = platform::UchardetDetector::detect(bytes))
        answer(catalogueNameFor(*name), kUchardetConfidence);
    for (const auto& guess : platform::CharsetDetector::detectAll(bytes))
        if (guess.confidence > kConfidenceFloor)
            answer(catalogueNameFor(guess.name), guess.confidence);
    const qsizetype answers = candidates.size();
    // A page of several answers stands in for each of them, with the
    // highest confidence they give it.
    const auto standIn = [&candidates, answers](const QString& name, const Candidate& of,
                                                int confidence, bool sibling) {
        const auto named = [&name](const Candidate& c) { return c.name == name; };
        auto known = std::find_if(candidates.begin(), candidates.end(), named);
        const bool answer = known < candidates.begin() + answers;
        if (known == candidates.end()) {
            candidates.append(Candidate{name, confidence, {}, {}});
            known = candidates.end() - 1;
        } else if (!answer) {
            known->confidence = std::max(known->confidence, confidence);
        }
        if (!answer && !known->mends.contains(of.name)) known->mends.append(of.name);
        if (sibling && !known->siblingOf.contains(of.name)) known->siblingOf.append(of.name);
    };
    for (qsizetype i = 0; i < answers; ++i) {
        const Candidate answered = candidates[i];
        // A sibling is as likely as its answer; the other Latin pages are
        // tried with no confidence of their own.
        for (const QString& name : siblingsOf(answered.name))
            standIn(name, answered, answered.confidence, true);
        for (const QString& name : otherLatinPages(answered.name))
            standIn(name, answered, 0, false);
    }
    return candidates;
}

namespace {

struct Reading {
    QString text;
    TextMess::Score score;
};

// Whether `wider` reads every letter that `reading` reads where it is: the
// two differ only where `reading` has no letter (a control, a sign).
bool keepsEveryLetter(const QString& reading, const QString& wider) {
    if (reading.size() != wider.size()) return false;
    for (qsizetype i = 0; i < reading.size(); ++i)
        if (reading[i] != wider[i] && reading[i].isLetter()) return false;
    return true;
}

// Most letters beyond ASCII are East Asian: the Latin words of a short line
// ("♪Happy Birthday to you") read the same in every candidate and say
// nothing of the text's language.
bool isEastAsianText(const TextMess::Score& score) {
    return 2 * (score.hangul + score.otherEastAsian) > score.letters - score.asciiLetters;
}

// A Windows code page (874 and 949 among them, which the catalogue names
// after DOS).
bool isWindowsPage(const QString& name) {
    return myEncodings::encodingForName(name).converterName().startsWith("windows-");
}

}  // namespace

std::optional<QString> DetectedCharsets::catalogueNameForBytes(const QByteArray& bytes) {
    if (const auto form = markedForm(bytes); form && decodedStart(bytes, *form)) return form;
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
    const auto answerIndex = [&candidates](const QString& name) {
        for (qsizetype i = 0; i < candidates.size(); ++i)
            if (candidates[i].name == name) return i;
        return candidates.size();
    };
    // Fewer defects, then the earlier answer, with a sibling that reads its
    // letters (with no more defects) in its place and before it, then a page
    // that reads with fewer defects than an answer, after every answer, in
    // that answer's order.
    using Key = std::tuple<qsizetype, qsizetype, bool>;
    std::optional<Key> bestKey;
    const Candidate* best = nullptr;
    const qsizetype last = candidates.size();
    const Reading* first = nullptr;
    const Candidate* firstAnswer = nullptr;
    // East Asian text marks songs, references and list items with symbols
    // its sets hold, also before a Latin word ("♪Oh", "○A組"): in the first
    // answer's East Asian reading they are not held against it, or a
    // single-byte page that reads the same bytes as letters and quotation
    // marks (windows-1251 reads Shift_JIS "○A組の" as "Ѓ›A‘g‚М") wins on
    // them alone. A sibling that reads the same text is weighed alike.
    const auto defectsOf = [&first](const Reading& reading) {
        const TextMess::Score& score = reading.score;
        if (isEastAsianText(score) && score.unprintables == 0 &&
            (&reading == first || reading.text == first->text))
            return score.mess - score.symbols;
        return score.mess;
    };
    for (const Candidate& candidate : candidates) {
        const auto& reading = readingOf(candidate.name);
        if (!reading) continue;
        if (first == nullptr) {
            first = &*reading;
            firstAnswer = &candidate;
        }
        // Two readings in East Asian letters (Hangul and Han or kana, or the
        // Han and kana of two sets: GB18030 reads EUC-JP's kana alike and each
        // kanji as another Han letter) are each as clean as its set's table;
        // a symbol or a letter beside a Latin word tells nothing between them
        // (EUC-JP's "♪" and "→" are Roman numerals in GB18030). Where the
        // first answer reads one, another stands only where that answer reads
        // unprintables; a sibling that reads the answer's letters is weighed
        // as ever.
        if (isEastAsianText(reading->score) && isEastAsianText(first->score) &&
            reading->text != first->text && !candidate.siblingOf.contains(firstAnswer->name) &&
            first->score.unprintables == 0)
            continue;
        const qsizetype defects = defectsOf(*reading);
        qsizetype place = candidate.mends.isEmpty() ? answerIndex(candidate.name) : 2 * last;
        bool standsIn = false;
        const auto standIn = [&place, &standsIn](qsizetype at) {
            if (at >= place) return;
            place = at;
            standsIn = true;
        };
        for (const QString& answer : candidate.mends + candidate.siblingOf) {
            const auto& answered = readingOf(answer);
            // Where the answer reads as cleanly but otherwise, its detector
            // saw those letters and chose it. A sibling reads the answer's
            // letters, and more where the answer has controls or signs;
            // where the two read the same text, a Windows page is the name.
            if (candidate.siblingOf.contains(answer) && answered &&
                defects <= defectsOf(*answered) &&
                keepsEveryLetter(answered->text, reading->text) &&
                (answered->text != reading->text || isWindowsPage(candidate.name)))
                standIn(answerIndex(answer));
            else if (!answered || defects < defectsOf(*answered))
                standIn(last + answerIndex(answer));
        }
        if (place == 2 * last) continue;
        const Key key{defects, place, !standsIn};
        if (bestKey && !(key < *bestKey)) continue;
        bestKey = key;
        best = &candidate;
    }
    if (best == nullptr) return std::nullopt;
    return best->name;
}
