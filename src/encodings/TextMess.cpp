#include "encodings/TextMess.h"

#include <QChar>
#include <array>
#include <tuple>

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

qsizetype TextMess::letters(QStringView text) {
    return countOf<Letters>(text);
}

TextMess::Score TextMess::score(QStringView text) {
    auto [unprintable, symbols, mixed, capitals, stray, letters] =
        measured<Unprintables, SymbolsNextToLetters, MixedScriptWords, CapitalsInsideLowerCaseWords,
                 StrayScriptLetters, Letters>(text);
    return {unprintable.end() + symbols.end() + mixed.end() + capitals.end() + stray.end(),
            letters.end()};
}
