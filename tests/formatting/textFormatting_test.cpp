#include "formatting/textFormatting.h"

#include <gtest/gtest.h>

#include "Printers.h"

using Ranges = textFormatting::Ranges;
using platform::TextRange;

TEST(textFormatting, TagTableAndRawValues) {
    const textFormatting bold = textFormatting::bold;
    const textFormatting italic = textFormatting::italic;
    const textFormatting underline = textFormatting::underline;
    const textFormatting effect = textFormatting::assEffect;
    EXPECT_EQ(bold.startFor(subtitleTypes::srt), "<b>");
    EXPECT_EQ(bold.endFor(subtitleTypes::srt), "</b>");
    EXPECT_EQ(italic.startFor(subtitleTypes::ass), "{\\i1}");
    EXPECT_EQ(italic.endFor(subtitleTypes::ass), "{\\i0}");
    EXPECT_EQ(underline.startFor(subtitleTypes::pgs), "");
    EXPECT_EQ(underline.endFor(subtitleTypes::pgs), "");
    for (auto type : {subtitleTypes::srt, subtitleTypes::ass, subtitleTypes::none}) {
        EXPECT_EQ(effect.startFor(type), "");
        EXPECT_EQ(effect.endFor(type), "");
    }
    for (auto kind : textFormatting::allStylesFormatting()) {
        EXPECT_EQ(kind.startFor(subtitleTypes::srt).size(), 3);
        EXPECT_EQ(kind.endFor(subtitleTypes::srt).size(), 4);
        EXPECT_EQ(kind.startFor(subtitleTypes::ass).size(), 5);
        EXPECT_EQ(kind.endFor(subtitleTypes::ass).size(), 5);
    }
    const auto& all = textFormatting::allStylesFormatting();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0], textFormatting::bold);
    EXPECT_EQ(all[1], textFormatting::italic);
    EXPECT_EQ(all[2], textFormatting::underline);
    EXPECT_FALSE(textFormatting::fromRawValue("Bold"));
    EXPECT_EQ(textFormatting::fromRawValue("assEffect"), textFormatting::assEffect);
    EXPECT_EQ(effect.rawValue(), "assEffect");
}

namespace {

enum class Finder { spans, tags, allStyles };

struct FinderCase {
    const char* name;
    Finder finder;
    textFormatting kind;
    subtitleTypes type;
    QString text;
    std::optional<Ranges> expected;
};

std::optional<Ranges> find(const FinderCase& c) {
    switch (c.finder) {
        case Finder::spans:
            return c.kind.rangesInString(c.text, c.type);
        case Finder::tags:
            return c.kind.rangesForSpecialCharactersInString(c.text, c.type);
        case Finder::allStyles:
            return textFormatting::rangesForAllStylesInString(c.text, c.type);
    }
    return std::nullopt;
}

const QString nonBmp = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
// Half of a pair, as a damaged file can leave: one position of its own.
const QString loneSurrogate = QString(QChar(0xD800));

}  // namespace

TEST(textFormatting, FindersReportUtf16RangesInTextOrder) {
    using K = textFormatting;
    using T = subtitleTypes;
    const FinderCase cases[] = {
        {"no markup", Finder::spans, K::bold, T::srt, "plain", std::nullopt},
        {"empty text", Finder::tags, K::bold, T::srt, "", std::nullopt},
        {"empty all", Finder::allStyles, K::bold, T::ass, "", std::nullopt},
        {"srt italic span", Finder::spans, K::italic, T::srt, "<i>hello</i>", Ranges{{0, 12}}},
        {"srt italic tags", Finder::tags, K::italic, T::srt, "<i>hello</i>",
         Ranges{{0, 3}, {8, 4}}},
        {"ass bold span", Finder::spans, K::bold, T::ass, "{\\b1}ab{\\b0} hello", Ranges{{0, 12}}},
        {"ass bold tags", Finder::tags, K::bold, T::ass, "{\\b1}ab{\\b0} hello",
         Ranges{{0, 5}, {7, 5}}},
        {"srt all styles", Finder::allStyles, K::bold, T::srt, "<b><i>x</i></b>",
         Ranges{{0, 3}, {3, 3}, {7, 4}, {11, 4}}},
        {"srt nested bold span", Finder::spans, K::bold, T::srt, "<b>a<b>b</b>c</b>",
         Ranges{{0, 12}}},
        {"srt nested bold tags", Finder::tags, K::bold, T::srt, "<b>a<b>b</b>c</b>",
         Ranges{{0, 3}, {4, 3}, {8, 4}, {13, 4}}},
        {"ass second opening ends span", Finder::spans, K::bold, T::ass, "{\\b1}a{\\b1}b{\\b0}",
         Ranges{{0, 11}}},
        {"ass three tags", Finder::tags, K::bold, T::ass, "{\\b1}a{\\b1}b{\\b0}",
         Ranges{{0, 5}, {6, 5}, {12, 5}}},
        {"non-BMP span", Finder::spans, K::italic, T::srt, "<i>abc" + nonBmp + "</i>",
         Ranges{{0, 12}}},
        {"non-BMP tags", Finder::tags, K::italic, T::srt, "<i>abc" + nonBmp + "</i>",
         Ranges{{0, 3}, {8, 4}}},
        {"span over a line break", Finder::spans, K::italic, T::srt, "<i>one\ntwo</i>",
         Ranges{{0, 14}}},
        {"override block is an effect", Finder::spans, K::assEffect, T::srt, "x{\\b1}",
         Ranges{{1, 5}}},
        {"effect for picture type", Finder::spans, K::assEffect, T::pgs, "{\\an8}Top",
         Ranges{{0, 6}}},
        {"upper case is no tag", Finder::tags, K::bold, T::srt, "<B>x</B>", std::nullopt},
        {"two digits is no tag", Finder::tags, K::bold, T::ass, "{\\b12}x", std::nullopt},
        {"combined block is no tag", Finder::tags, K::bold, T::ass, "{\\b1\\i1}x", std::nullopt},
        {"unpaired tag has no span", Finder::spans, K::bold, T::srt, "<b>Hello", std::nullopt},
        {"unpaired tag is a tag", Finder::tags, K::bold, T::srt, "<b>Hello", Ranges{{0, 3}}},
        {"closing before opening", Finder::spans, K::bold, T::ass, "{\\b0}x{\\b1}",
         Ranges{{0, 11}}},
        {"later closing forms no span", Finder::spans, K::bold, T::srt, "<b>a</b>b</b>",
         Ranges{{0, 8}}},
        {"no syntax for picture types", Finder::tags, K::bold, T::vobsub, "<b>x</b>", std::nullopt},
        {"lone surrogate inside a span", Finder::spans, K::italic, T::srt,
         "<i>ab" + loneSurrogate + "</i>", Ranges{{0, 10}}},
        {"lone surrogate before the tags", Finder::allStyles, K::bold, T::ass,
         loneSurrogate + "{\\b1}x{\\b0}", Ranges{{1, 5}, {7, 5}}},
    };
    for (const auto& c : cases) EXPECT_EQ(find(c), c.expected) << c.name;
}
