#include "platform/AttributedText.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>

using platform::AttributedText;
using platform::RGBAColor;
using platform::TextAttributes;
using platform::TextFont;

namespace {

TextAttributes base() {
    TextAttributes a;
    a.font = TextFont{"Helvetica", 14};
    a.underlineStyle = 0;
    a.alignment = platform::TextAlignment::center;
    return a;
}

}  // namespace

TEST(AttributedText, SetsReadsAndDeletesByUtf16Position) {
    AttributedText text("abcdef", base());
    text.setFont({1, 2}, {"Helvetica-Bold", 14});
    text.setUnderlineStyle({2, 3}, 1);
    text.setForegroundColor({5, 10}, RGBAColor::blueColor());  // cut at the end
    EXPECT_EQ(text.attributesAt(0), base());
    EXPECT_EQ(text.attributesAt(1).font->faceName, "Helvetica-Bold");
    EXPECT_EQ(text.attributesAt(2).underlineStyle, 1);
    EXPECT_EQ(text.attributesAt(3).font->faceName, "Helvetica");
    EXPECT_EQ(text.attributesAt(5).foregroundColor, RGBAColor::blueColor());
    EXPECT_FALSE(text.attributesAt(6).font);
    EXPECT_EQ(text.runs().size(), 5u);  // a | b | c | de | f

    text.deleteCharacters({1, 2});
    EXPECT_EQ(text.string(), "adef");
    EXPECT_EQ(text.attributesAt(1).underlineStyle, 1);
    EXPECT_EQ(text.attributesAt(1).font->faceName, "Helvetica");
    EXPECT_EQ(text.attributesAt(3).foregroundColor, RGBAColor::blueColor());

    // Ranges outside the text, or empty, change nothing.
    const auto before = text.runs().size();
    text.setUnderlineStyle({-1, 2}, 1);
    text.setUnderlineStyle({4, 2}, 1);
    text.setUnderlineStyle({0, 0}, 1);
    text.deleteCharacters({9, 1});
    EXPECT_EQ(text.string(), "adef");
    EXPECT_EQ(text.runs().size(), before);
    EXPECT_EQ(text.attributesAt(0).underlineStyle, 0);
}

TEST(AttributedText, RunsMergeWhenAttributesBecomeEqual) {
    AttributedText text("abc", base());
    text.setUnderlineStyle({1, 1}, 1);
    text.setUnderlineStyle({1, 1}, 0);
    ASSERT_EQ(text.runs().size(), 1u);
    EXPECT_EQ(text.runs()[0].length, 3);
    text.deleteCharacters({0, 3});
    EXPECT_TRUE(text.runs().empty());
    EXPECT_EQ(text.length(), 0);
}

TEST(AttributedText, BecomesATextDocumentWithFacesAndColours) {
    AttributedText text("ab\ncd", base());
    text.setFont({0, 1}, {"Helvetica-BoldOblique", 14});
    text.setUnderlineStyle({1, 1}, 1);
    text.setForegroundColor({3, 1}, RGBAColor::blueColor());
    const auto document = text.toTextDocument();
    EXPECT_EQ(document->toPlainText(), "ab\ncd");
    EXPECT_EQ(document->blockCount(), 2);
    const QTextBlock first = document->firstBlock();
    EXPECT_EQ(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    auto it = first.begin();
    const QTextCharFormat bold = it.fragment().charFormat();
    EXPECT_EQ(bold.fontWeight(), QFont::Bold);
    EXPECT_TRUE(bold.fontItalic());
    EXPECT_EQ(bold.fontPointSize(), 14);
    ++it;
    EXPECT_TRUE(it.fragment().charFormat().fontUnderline());
    const QTextCharFormat blue = document->lastBlock().begin().fragment().charFormat();
    EXPECT_EQ(blue.foreground().color(), QColor(Qt::blue));
}
