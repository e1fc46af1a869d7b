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

constexpr std::array<Patterns, 4> spanPatterns{{
    {R"(<b>.*?<\/b>)", R"(\{\\b\d\}(.*?)\{\\b\d\})"},
    {R"(<i>.*?<\/i>)", R"(\{\\i\d\}(.*?)\{\\i\d\})"},
    {R"(<u>.*?<\/u>)", R"(\{\\u\d\}(.*?)\{\\u\d\})"},
    {R"(\{\\(.*?)\})", R"(\{\\(.*?)\})"},
}};

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
    return search(choose(spanPatterns[value_], type), text);
}

std::optional<textFormatting::Ranges> textFormatting::rangesForSpecialCharactersInString(
    const QString& text, subtitleTypes forSubtitleType) const {
    return search(choose(tagPatterns[value_], forSubtitleType), text);
}

std::optional<textFormatting::Ranges> textFormatting::rangesForAllStylesInString(
    const QString& text, subtitleTypes forSubtitleType) {
    return search(choose(allStylesPatterns, forSubtitleType), text);
}
