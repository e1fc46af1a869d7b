#include "encodings/TextMess.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

namespace {

// What the measures ask of one code point, looked up once.
struct Char {
    char32_t c = ' ';
    bool ascii = true;
    bool letter = false;
    bool mark = false;  // written on a letter (not for ASCII)
    bool digit = false;
    bool symbol = false;
    bool currency = false;
    bool upper = false;  // upper or title case
    bool lower = false;
    bool eastAsian = false;  // a letter of Chinese, Japanese or Korean text
    // The script of a letter; unknown for other characters and for letters
    // of every script (Common, Inherited).
    QChar::Script script = QChar::Script_Unknown;
    // A non-ASCII Latin letter in lower case, for the alphabets; 0 for any
    // other character.
    char32_t latinLower = 0;

    bool wordPart() const { return letter || mark; }
};

// The scripts written together in Chinese, Japanese and Korean text.
bool isEastAsian(QChar::Script script) {
    return script == QChar::Script_Han || script == QChar::Script_Hiragana ||
           script == QChar::Script_Katakana || script == QChar::Script_Hangul ||
           script == QChar::Script_Bopomofo;
}

bool isKana(QChar::Script script) {
    return script == QChar::Script_Hiragana || script == QChar::Script_Katakana;
}

// The alphabets the East Asian character sets hold beside their own letters.
bool isGreekOrCyrillic(QChar::Script script) {
    return script == QChar::Script_Greek || script == QChar::Script_Cyrillic;
}

Char charOf(char32_t c) {
    Char ch;
    ch.c = c;
    if (c < 0x80) {
        const char32_t folded = c | 0x20;
        ch.letter = folded >= 'a' && folded <= 'z';
        ch.upper = ch.letter && c < 'a';
        ch.lower = ch.letter && !ch.upper;
        ch.digit = c >= '0' && c <= '9';
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
            // The accents alone that code pages hold (caron, circumflex,
            // macron, acute, grave) are signs where they stand.
            if (c == 0x2C6 || c == 0x2C7 || (c >= 0x2C9 && c <= 0x2CB)) {
                ch.symbol = true;
                return ch;
            }
            break;
        case QChar::Letter_Other:
            break;
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            ch.mark = true;
            return ch;
        case QChar::Number_DecimalDigit:
            ch.digit = true;
            return ch;
        case QChar::Symbol_Currency:
            ch.currency = true;
            ch.symbol = true;
            return ch;
        case QChar::Symbol_Math:
        case QChar::Symbol_Modifier:
        case QChar::Symbol_Other:
        // Fractions and superscripts, which stand where letters belong.
        case QChar::Number_Other:
            ch.symbol = true;
            return ch;
        default:
            // The pilcrow is punctuation to Unicode, but a sign to a reader.
            ch.symbol = c == 0xB6;
            return ch;
    }
    ch.letter = true;
    const QChar::Script script = QChar::script(c);
    if (script != QChar::Script_Common && script != QChar::Script_Inherited) ch.script = script;
    ch.eastAsian = isEastAsian(ch.script);
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

// Each measure takes the text's characters one at a time (`add`) and gives
// its count at the end.

// The count of all but the largest group: the characters a text in one
// script, or one language, would not hold.
template <typename Groups>
qsizetype allButTheLargest(qsizetype all, const Groups& groups) {
    qsizetype most = 0;
    for (const qsizetype n : groups) most = std::max(most, n);
    return all - most;
}

struct Unprintables {
    qsizetype count = 0;
    void add(const Char& ch) {
        const char32_t c = ch.c;
        // Tab, line feed, vertical tab, form feed and carriage return are
        // the controls text holds. The supplementary private-use planes are
        // 15 and 16.
        count += (c < 0x20 && (c < 0x09 || c > 0x0D)) || (c >= 0x7F && c <= 0x9F) ||
                 (c >= 0xE000 && c <= 0xF8FF) || (c >= 0xF0000 && c <= 0x10FFFF);
    }
    qsizetype end() { return count; }
};

// Signs that follow a word or a number and end it: powers, footnotes and
// degrees, trade marks, minutes and seconds, per mille.
bool endsAWord(char32_t c) {
    switch (c) {
        case 0xB9:
        case 0xB2:
        case 0xB3:
        case 0xB0:
        case 0xA9:
        case 0xAE:
        case 0x2122:
        case 0x2120:
        case 0x2032:
        case 0x2033:
        case 0x2030:
            return true;
        default:
            return c >= 0x2070 && c <= 0x2079;  // superscript digits
    }
}

struct SymbolsNextToLetters {
    qsizetype count = 0;
    // The middle one of three characters is judged.
    Char before, middle;
    void add(const Char& after) {
        count += middle.symbol && messy(after);
        before = middle;
        middle = after;
    }
    bool messy(const Char& after) const {
        // The generic currency sign stands in code pages, never in text.
        if (middle.c == 0xA4) return true;
        if (!before.letter && !after.letter) return false;
        if (before.eastAsian || after.eastAsian) return false;
        if (!after.letter && endsAWord(middle.c)) return false;
        if (middle.c == 0xB0 && (after.c == 'C' || after.c == 'F' || after.c == 'K')) return false;
        return !(middle.currency && (before.digit || after.digit));
    }
    qsizetype end() {
        add(Char());
        return count;
    }
};

// The letters East Asian text writes inside its words: Greek, Cyrillic and
// ASCII Latin.
bool isWithEastAsian(QChar::Script script, bool ascii) {
    return isGreekOrCyrillic(script) || (ascii && script == QChar::Script_Latin);
}

struct MixedScriptWords {
    qsizetype count = 0;
    QChar::Script word = QChar::Script_Unknown;  // the script the word is in so far
    bool asciiWord = false;                      // that script's letters are ASCII so far
    bool mixed = false;
    void add(const Char& ch) {
        if (!ch.wordPart()) {
            word = QChar::Script_Unknown;
            mixed = false;
            return;
        }
        if (ch.script == word) asciiWord = asciiWord && ch.ascii;
        const QChar::Script script = ch.script;
        if (mixed || script == QChar::Script_Unknown || script == word) return;
        // Han goes with every East Asian script, and so do Greek and Cyrillic:
        // the word takes the other one.
        if (word == QChar::Script_Unknown || (word == QChar::Script_Han && isEastAsian(script)) ||
            (isWithEastAsian(word, asciiWord) && isEastAsian(script))) {
            word = script;
            asciiWord = ch.ascii;
            return;
        }
        if ((script == QChar::Script_Han && isEastAsian(word)) ||
            (isKana(word) && isKana(script)) ||
            (isEastAsian(word) && isWithEastAsian(script, ch.ascii)))
            return;
        mixed = true;
        ++count;
    }
    qsizetype end() { return count; }
};

// Greek writes the tonos on a capital only where it begins a word (and none
// in words all in capitals).
bool isGreekCapitalWithTonos(char32_t c) {
    return c == 0x386 || (c >= 0x388 && c <= 0x38A) || c == 0x38C || c == 0x38E || c == 0x38F;
}

struct CapitalsInsideLowerCaseWords {
    qsizetype count = 0;
    // The word's last lower-case letter, if any, and whether it has one.
    Char lower;
    bool inWord = false;
    void add(const Char& ch) {
        if (!ch.wordPart()) {
            lower = Char();
            inWord = false;
            return;
        }
        if (ch.lower) lower = ch;
        count += (ch.upper && lower.lower && !(ch.ascii && lower.ascii)) ||
                 (inWord && isGreekCapitalWithTonos(ch.c));
        inWord = true;
    }
    qsizetype end() { return count; }
};

struct StrayScriptLetters {
    std::array<qsizetype, QChar::ScriptCount> perScript{};
    qsizetype all = 0;
    void add(const Char& ch) {
        if (ch.ascii || ch.script == QChar::Script_Unknown) return;
        ++perScript[std::size_t(ch.eastAsian ? QChar::Script_Han : ch.script)];
        ++all;
    }
    qsizetype end() {
        // Greek and Cyrillic letters go with East Asian text.
        auto& eastAsian = perScript[QChar::Script_Han];
        if (eastAsian > 0 && eastAsian >= perScript[QChar::Script_Greek] &&
            eastAsian >= perScript[QChar::Script_Cyrillic]) {
            eastAsian += perScript[QChar::Script_Greek] + perScript[QChar::Script_Cyrillic];
            perScript[QChar::Script_Greek] = perScript[QChar::Script_Cyrillic] = 0;
        }
        return allButTheLargest(all, perScript);
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
        std::array<qsizetype, std::size(kLatinAlphabets)> held{};
        for (std::size_t a = 0; a < held.size(); ++a)
            for (const char16_t* letter = kLatinAlphabets[a]; *letter != 0; ++letter)
                held[a] += perLetter[*latinSlot(*letter)];
        return allButTheLargest(all, held);
    }
};

struct Letters {
    qsizetype count = 0;
    qsizetype ascii = 0;
    void add(const Char& ch) {
        count += ch.letter;
        ascii += ch.letter && ch.ascii;
    }
    qsizetype end() { return count; }
};

struct EastAsianLetters {
    qsizetype hangul = 0;
    qsizetype others = 0;
    void add(const Char& ch) {
        if (!ch.eastAsian) return;
        ++(ch.script == QChar::Script_Hangul ? hangul : others);
    }
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

template <typename Measure>
qsizetype countOf(QStringView text) {
    return std::get<0>(measured<Measure>(text)).end();
}

}  // namespace

qsizetype TextMess::unprintables(QStringView text) {
    return countOf<Unprintables>(text);
}

qsizetype TextMess::symbolsNextToLetters(QStringView text) {
    return countOf<SymbolsNextToLetters>(text);
}

qsizetype TextMess::mixedScriptWords(QStringView text) {
    return countOf<MixedScriptWords>(text);
}

qsizetype TextMess::capitalsInsideLowerCaseWords(QStringView text) {
    return countOf<CapitalsInsideLowerCaseWords>(text);
}

qsizetype TextMess::strayScriptLetters(QStringView text) {
    return countOf<StrayScriptLetters>(text);
}

qsizetype TextMess::lettersOutsideOneAlphabet(QStringView text) {
    return countOf<LettersOutsideOneAlphabet>(text);
}

qsizetype TextMess::letters(QStringView text) {
    return countOf<Letters>(text);
}

TextMess::Score TextMess::score(QStringView text) {
    auto [unprintable, symbols, mixed, capitals, stray, alphabet, letters, eastAsian] =
        measured<Unprintables, SymbolsNextToLetters, MixedScriptWords, CapitalsInsideLowerCaseWords,
                 StrayScriptLetters, LettersOutsideOneAlphabet, Letters, EastAsianLetters>(text);
    const qsizetype symbolCount = symbols.end();
    return {unprintable.end() + symbolCount + mixed.end() + capitals.end() + stray.end() +
                alphabet.end(),
            letters.end(),
            unprintable.end(),
            eastAsian.hangul,
            eastAsian.others,
            symbolCount,
            letters.ascii};
}
