#include "formatting/textFormatting.h"

#include <QHash>
#include <QRegularExpression>
#include <array>

#include "common/RawValues.h"

namespace {

constexpr std::array<const char*, 4> rawValues{"bold", "italic", "underline", "assEffect"};

struct TagPair {
    const char* srtStart;
    const char* srtEnd;
    const char* assStart;
    const char* assEnd;
};

constexpr std::array<TagPair, 4> tags{{
    {"<b>", "</b>", R"({\b1})", R"({\b0})"},
    {"<i>", "</i>", R"({\i1})", R"({\i0})"},
    {"<u>", "</u>", R"({\u1})", R"({\u0})"},
    {"", "", "", ""},
}};

struct Patterns {
    const char* srt;
    const char* ass;
};

constexpr std::array<Patterns, 4> tagPatterns{{
    {R"(<\/?b>)", R"(\{\\b\d\})"},
    {R"(<\/?i>)", R"(\{\\i\d\})"},
    {R"(<\/?u>)", R"(\{\\u\d\})"},
    {"", ""},
}};

constexpr Patterns allStylesPatterns{R"(<\/?[biu]>)", R"(\{\\[biu]\d\})"};

QString choose(const Patterns& patterns, subtitleTypes type) {
    if (type == subtitleTypes::srt) return QString::fromLatin1(patterns.srt);
    if (type == subtitleTypes::ass) return QString::fromLatin1(patterns.ass);
    return {};
}

// The engine refuses a whole text that holds a lone surrogate (a damaged
// file), where ICU reads it as one character: a stand-in of the same length
// keeps every range where it was.
QString searchable(const QString& text) {
    if (QStringView(text).isValidUtf16()) return text;
    QString copy = text;
    for (qsizetype i = 0; i < copy.size(); ++i) {
        if (copy[i].isHighSurrogate() && i + 1 < copy.size() && copy[i + 1].isLowSurrogate())
            ++i;
        else if (copy[i].isSurrogate())
            copy[i] = QChar::ReplacementCharacter;
    }
    return copy;
}

// The dot matches line breaks; \d means any decimal digit, as in ICU. An
// empty pattern stands for "no markup in this syntax" and finds nothing.
std::optional<textFormatting::Ranges> search(const QString& pattern, const QString& text) {
    if (pattern.isEmpty()) return std::nullopt;
    // Every pattern needs a "<" or a "{": most dialog texts have neither, and
    // a load asks for every line.
    if (!text.contains(u'<') && !text.contains(u'{')) return std::nullopt;
    // Compiled once per thread and pattern; loads run on worker threads too.
    thread_local QHash<QString, QRegularExpression> compiled;
    auto cached = compiled.find(pattern);
    if (cached == compiled.end()) {
        QRegularExpression fresh(pattern, QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::UseUnicodePropertiesOption);
        fresh.optimize();
        cached = compiled.insert(pattern, fresh);
    }
    const QRegularExpression& regex = *cached;
    if (!regex.isValid()) return std::nullopt;
    textFormatting::Ranges ranges;
    auto it = regex.globalMatch(searchable(text));
    while (it.hasNext()) {
        const auto match = it.next();
        ranges.push_back({match.capturedStart(), match.capturedLength()});
    }
    if (ranges.empty()) return std::nullopt;
    return ranges;
}

// Spans are found as these lazy patterns would match them (the dot matching
// line breaks): SRT "<b>.*?</b>" (and i, u); ASS "\{\\b\d\}(.*?)\{\\b\d\}"
// (and i, u); override blocks "\{\\(.*?)\}" in either syntax.
//
// One tag of a span: a fixed text, optionally followed by a decimal digit (of
// any script, as \d in the patterns above) and "}".
struct Tag {
    QLatin1String text;
    bool digitAndBrace = false;

    // The tag at or after `from`, or none.
    std::optional<platform::TextRange> find(QStringView in, qsizetype from) const {
        while (from <= in.size()) {
            const qsizetype at = in.indexOf(text, from);
            if (at < 0) return std::nullopt;
            qsizetype end = at + text.size();
            if (!digitAndBrace) return platform::TextRange{at, end - at};
            if (end < in.size()) {
                char32_t code = in[end].unicode();
                qsizetype units = 1;
                if (in[end].isHighSurrogate() && end + 1 < in.size() &&
                    in[end + 1].isLowSurrogate()) {
                    code = QChar::surrogateToUcs4(in[end], in[end + 1]);
                    units = 2;
                }
                if (QChar::category(code) == QChar::Number_DecimalDigit &&
                    end + units < in.size() && in[end + units] == u'}')
                    return platform::TextRange{at, end + units + 1 - at};
            }
            from = at + 1;
        }
        return std::nullopt;
    }
};

// The spans "open ... close" with the first close after each open, left to
// right and apart, as the lazy patterns match them, in one pass: once an open
// has no close after it, no later open has one either.
std::optional<textFormatting::Ranges> spans(const Tag& open, const Tag& close,
                                            const QString& text) {
    if (!text.contains(u'<') && !text.contains(u'{')) return std::nullopt;
    textFormatting::Ranges ranges;
    qsizetype from = 0;
    while (const auto start = open.find(text, from)) {
        const auto end = close.find(text, start->end());
        if (!end) break;
        ranges.push_back({start->location, end->end() - start->location});
        from = end->end();
    }
    if (ranges.empty()) return std::nullopt;
    return ranges;
}

}  // namespace

std::optional<textFormatting> textFormatting::fromRawValue(const QString& raw) {
    const auto index = common::indexOfRawValue(rawValues, raw);
    if (!index) return std::nullopt;
    return textFormatting(static_cast<Value>(*index));
}

QString textFormatting::rawValue() const {
    return QString::fromLatin1(rawValues[value_]);
}

const std::vector<textFormatting>& textFormatting::allStylesFormatting() {
    static const std::vector<textFormatting> kinds{bold, italic, underline};
    return kinds;
}

QString textFormatting::startFor(subtitleTypes type) const {
    if (type == subtitleTypes::srt) return QString::fromLatin1(tags[value_].srtStart);
    if (type == subtitleTypes::ass) return QString::fromLatin1(tags[value_].assStart);
    return {};
}

QString textFormatting::endFor(subtitleTypes type) const {
    if (type == subtitleTypes::srt) return QString::fromLatin1(tags[value_].srtEnd);
    if (type == subtitleTypes::ass) return QString::fromLatin1(tags[value_].assEnd);
    return {};
}

std::optional<textFormatting::Ranges> textFormatting::rangesInString(
    const QString& text, subtitleTypes forSubtitleType) const {
    // Override blocks look the same whatever the file's type.
    const subtitleTypes type =
        value_ == assEffect ? subtitleTypes(subtitleTypes::ass) : forSubtitleType;
    // The patterns are searched by hand: a lazy pattern tried from every
    // opening tag that has no closing one reads the rest of the text each
    // time, which makes a megabyte of "<i>" quadratic.
    static const QLatin1String assLetters[] = {QLatin1String("{\\b"), QLatin1String("{\\i"),
                                               QLatin1String("{\\u")};
    if (value_ == assEffect) return spans({QLatin1String("{\\")}, {QLatin1String("}")}, text);
    if (type == subtitleTypes::srt)
        return spans({QLatin1String(tags[value_].srtStart)}, {QLatin1String(tags[value_].srtEnd)},
                     text);
    if (type == subtitleTypes::ass)
        return spans({assLetters[value_], true}, {assLetters[value_], true}, text);
    return std::nullopt;
}

std::optional<textFormatting::Ranges> textFormatting::rangesForSpecialCharactersInString(
    const QString& text, subtitleTypes forSubtitleType) const {
    return search(choose(tagPatterns[value_], forSubtitleType), text);
}

std::optional<textFormatting::Ranges> textFormatting::rangesForAllStylesInString(
    const QString& text, subtitleTypes forSubtitleType) {
    return search(choose(allStylesPatterns, forSubtitleType), text);
}
