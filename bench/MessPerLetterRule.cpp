// The choice the program made before the detectors' answer became the
// default, kept for the benchmark to measure against, as it was: every
// candidate decoded and the reading with the least mess per letter chosen;
// on a tie a Windows page, then the more confident detector. Its measures
// are the ones it was tuned with.
#include "MessPerLetterRule.h"

#include <QChar>
#include <QHash>
#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <tuple>

#include "encodings/DetectedCharsets.h"
#include "platform/CharsetDetector.h"
#include "platform/UchardetDetector.h"

namespace {

// What the measures ask of one code point, looked up once.
struct Char {
    char32_t c = ' ';
    bool ascii = true;
    bool letter = false;
    bool mark = false;  // written on a letter (not for ASCII)
    bool symbol = false;
    bool upper = false;  // upper or title case
    bool lower = false;
    // The script of a letter; unknown for other characters and for letters
    // of every script (Common, Inherited).
    QChar::Script script = QChar::Script_Unknown;
    // A non-ASCII Latin letter in lower case, for the alphabets; 0 for any
    // other character.
    char32_t latinLower = 0;

    bool wordPart() const { return letter || mark; }
};

Char charOf(char32_t c) {
    Char ch;
    ch.c = c;
    if (c < 0x80) {
        const char32_t folded = c | 0x20;
        ch.letter = folded >= 'a' && folded <= 'z';
        ch.upper = ch.letter && c < 'a';
        ch.lower = ch.letter && !ch.upper;
        if (ch.letter) ch.script = QChar::Script_Latin;
        return ch;
    }
    ch.ascii = false;
    switch (QChar::category(c)) {
        case QChar::Letter_Uppercase:
        case QChar::Letter_Titlecase:
            ch.upper = true;
            break;
        case QChar::Letter_Lowercase:
            ch.lower = true;
            break;
        case QChar::Letter_Modifier:
        case QChar::Letter_Other:
            break;
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            ch.mark = true;
            return ch;
        case QChar::Symbol_Math:
        case QChar::Symbol_Currency:
        case QChar::Symbol_Modifier:
        case QChar::Symbol_Other:
        // Fractions and superscripts, which stand where letters belong.
        case QChar::Number_Other:
            ch.symbol = true;
            return ch;
        default:
            return ch;
    }
    ch.letter = true;
    const QChar::Script script = QChar::script(c);
    if (script != QChar::Script_Common && script != QChar::Script_Inherited) ch.script = script;
    if (script == QChar::Script_Latin) ch.latinLower = QChar::toLower(c);
    return ch;
}

// The properties of the text's characters, looked up once for each: a
// text, right or garbled, repeats a few hundred characters.
class CharCache {
  public:
    CharCache() {
        // No entry is there yet: each slot holds a code point it is not for.
        for (std::size_t i = 0; i < entries_.size(); ++i) entries_[i].c = char32_t(i + 1);
    }
    const Char& of(char32_t c) {
        Char& entry = entries_[c % entries_.size()];
        if (entry.c != c) entry = charOf(c);
        return entry;
    }

  private:
    std::array<Char, 1024> entries_;
};

// Calls `use` with each code point of the text (a surrogate pair as one).
template <typename Use>
void forEachChar(QStringView text, Use&& use) {
    CharCache cache;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        use(cache.of(c));
    }
}

// The scripts written together in Chinese, Japanese and Korean text.
bool isEastAsian(QChar::Script script) {
    return script == QChar::Script_Han || script == QChar::Script_Hiragana ||
           script == QChar::Script_Katakana || script == QChar::Script_Hangul ||
           script == QChar::Script_Bopomofo;
}

bool isKana(QChar::Script script) {
    return script == QChar::Script_Hiragana || script == QChar::Script_Katakana;
}

// Each measure takes the text's characters one at a time (`add`) and gives
// its count at the end.

struct Unprintables {
    qsizetype count = 0;
    void add(const Char& ch) {
        const char32_t c = ch.c;
        // The supplementary private-use planes are 15 and 16.
        count += c == 0 || (c >= 0x80 && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF) ||
                 (c >= 0xF0000 && c <= 0x10FFFF);
    }
    qsizetype end() { return count; }
};

struct SymbolsNextToLetters {
    qsizetype count = 0;
    // The middle one of three characters is judged.
    Char before, middle;
    void add(const Char& after) {
        count += middle.symbol && (before.letter || after.letter);
        before = middle;
        middle = after;
    }
    qsizetype end() {
        add(Char());
        return count;
    }
};

struct MixedScriptWords {
    qsizetype count = 0;
    QChar::Script word = QChar::Script_Unknown;  // the script the word is in so far
    bool mixed = false;
    void add(const Char& ch) {
        if (!ch.wordPart()) {
            word = QChar::Script_Unknown;
            mixed = false;
            return;
        }
        const QChar::Script script = ch.script;
        if (mixed || script == QChar::Script_Unknown || script == word) return;
        // Han goes with every East Asian script: the word takes the other one.
        if (word == QChar::Script_Unknown || (word == QChar::Script_Han && isEastAsian(script))) {
            word = script;
            return;
        }
        if ((script == QChar::Script_Han && isEastAsian(word)) || (isKana(word) && isKana(script)))
            return;
        mixed = true;
        ++count;
    }
    qsizetype end() { return count; }
};

struct CapitalsInsideLowerCaseWords {
    qsizetype count = 0;
    Char previous;  // the word's last letter, if any
    void add(const Char& ch) {
        if (!ch.wordPart()) {
            previous = Char();
            return;
        }
        if (!ch.letter) return;
        count += ch.upper && previous.lower && !(ch.ascii && previous.ascii);
        previous = ch;
    }
    qsizetype end() { return count; }
};

struct StrayScriptLetters {
    std::array<qsizetype, QChar::ScriptCount> perScript{};
    qsizetype all = 0;
    void add(const Char& ch) {
        if (ch.ascii || ch.script == QChar::Script_Unknown) return;
        ++perScript[std::size_t(isEastAsian(ch.script) ? QChar::Script_Han : ch.script)];
        ++all;
    }
    qsizetype end() {
        qsizetype most = 0;
        for (const qsizetype n : perScript) most = std::max(most, n);
        return all - most;
    }
};

// The letters beyond ASCII of the Latin alphabets of languages written in
// the legacy Latin code pages, in lower case. A text in one language keeps
// to one of them; a reading in the wrong Latin page swaps some letters for
// those of another language ("š" for the Icelandic "ð"). "İ" is its own
// lower case in Qt's simple mapping.
const char16_t* const kLatinAlphabets[] = {
    u"çë",                           // Albanian
    u"àçèéíïòóúü",                   // Catalan
    u"čćđšž",                        // Croatian, Bosnian, Serbian, Slovene
    u"áčďéěíňóřšťúůýž",              // Czech
    u"æøåé",                         // Danish, Norwegian
    u"áàéèêëïóöü",                   // Dutch
    u"õäöüšž",                       // Estonian
    u"áðíóúýæø",                     // Faroese
    u"äöåšž",                        // Finnish
    u"àâæçéèêëîïôœùûüÿ",             // French
    u"äöüß",                         // German
    u"áéíóöőúüű",                    // Hungarian
    u"áðéíóúýþæö",                   // Icelandic
    u"áéíóú",                        // Irish
    u"àèéìíîòóùú",                   // Italian
    u"āčēģīķļņšūž",                  // Latvian
    u"ąčęėįšųūž",                    // Lithuanian
    u"ċġħżàèìòù",                    // Maltese
    u"ąćęłńóśźż",                    // Polish
    u"áâãàçéêíóôõú",                 // Portuguese
    u"ăâîșțşţ",                      // Romanian
    u"áäčďéíĺľňóôŕšťúýž",            // Slovak
    u"áéíñóúü",                      // Spanish
    u"åäöé",                         // Swedish
    u"çğıöşüâîûİ",                   // Turkish
    u"çəğıöşüİ",                     // Azerbaijani
    u"âêîôûŵŷäëïöüáéíóúýàèìòùẁẃẅỳ",  // Welsh
    u"ĉĝĥĵŝŭ",                       // Esperanto
    u"áčđŋšŧž",                      // Northern Sami
    u"àáảãạăằắẳẵặâầấẩẫậđèéẻẽẹêềếểễệìíỉĩịòóỏõọôồốổỗộơờớởỡợùúủũụưừứửữựỳýỷỹỵ",  // Vietnamese
};

// The Latin letters the alphabets are made of: Latin-1's letters and Latin
// Extended-A and B with the phonetic block (U+00C0 to U+02AF), and Latin
// Extended Additional (U+1E00 to U+1EFF).
constexpr std::size_t kLatinSlots = (0x2B0 - 0xC0) + 0x100;
std::optional<std::size_t> latinSlot(char32_t c) {
    if (c >= 0xC0 && c < 0x2B0) return c - 0xC0;
    if (c >= 0x1E00 && c < 0x1F00) return (0x2B0 - 0xC0) + (c - 0x1E00);
    return std::nullopt;
}

struct LettersOutsideOneAlphabet {
    std::array<qsizetype, kLatinSlots> perLetter{};
    qsizetype all = 0;
    void add(const Char& ch) {
        if (ch.latinLower == 0) return;
        if (const auto slot = latinSlot(ch.latinLower)) {
            ++perLetter[*slot];
            ++all;
        }
    }
    qsizetype end() {
        if (all == 0) return 0;
        qsizetype most = 0;
        for (const char16_t* alphabet : kLatinAlphabets) {
            qsizetype held = 0;
            for (const char16_t* letter = alphabet; *letter != 0; ++letter)
                held += perLetter[*latinSlot(*letter)];
            most = std::max(most, held);
        }
        return all - most;
    }
};

struct Letters {
    qsizetype count = 0;
    void add(const Char& ch) { count += ch.letter; }
    qsizetype end() { return count; }
};

// The measures after one pass over the text.
template <typename... Measures>
std::tuple<Measures...> measured(QStringView text) {
    std::tuple<Measures...> measures;
    forEachChar(text, [&measures](const Char& ch) {
        std::apply([&ch](auto&... m) { (m.add(ch), ...); }, measures);
    });
    return measures;
}

// The sum of the measures and the letters, in one pass.
struct Score {
    qsizetype mess;
    qsizetype letters;
};

Score scoreOf(QStringView text) {
    auto [unprintable, symbols, mixed, capitals, stray, alphabet, letters] =
        measured<Unprintables, SymbolsNextToLetters, MixedScriptWords, CapitalsInsideLowerCaseWords,
                 StrayScriptLetters, LettersOutsideOneAlphabet, Letters>(text);
    return {unprintable.end() + symbols.end() + mixed.end() + capitals.end() + stray.end() +
                alphabet.end(),
            letters.end()};
}

struct Candidate {
    QString name;
    int confidence;
    QStringList mends;
};

std::optional<QString> windowsSiblingOf(const QString& name) {
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

QStringList otherLatinWindowsPages(const QString& name) {
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

QList<Candidate> candidatesFor(const QByteArray& bytes) {
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
        answer(DetectedCharsets::catalogueNameFor(*name), DetectedCharsets::kUchardetConfidence);
    for (const auto& guess : platform::CharsetDetector::detectAll(bytes))
        if (guess.confidence > DetectedCharsets::kConfidenceFloor)
            answer(DetectedCharsets::catalogueNameFor(guess.name), guess.confidence);
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

struct Reading {
    QString text;
    Score score;
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

std::optional<QString> MessPerLetterRule::catalogueNameForBytes(const QByteArray& bytes) {
    const QList<Candidate> candidates = candidatesFor(bytes);
    // Each name decodes once; a text that another name read alike is not
    // measured again. (A map keeps its values in place as it grows.)
    std::map<QString, std::optional<Reading>> readings;
    const auto readingOf = [&bytes,
                            &readings](const QString& name) -> const std::optional<Reading>& {
        const auto known = readings.find(name);
        if (known != readings.end()) return known->second;
        std::optional<Reading> reading;
        if (auto text = DetectedCharsets::decodedStart(bytes, name)) {
            const auto same = std::find_if(
                readings.cbegin(), readings.cend(),
                [&text](const auto& r) { return r.second && r.second->text == *text; });
            const Score score = same != readings.cend() ? same->second->score : scoreOf(*text);
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
