#include "formatting/StyleValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(StyleValueText, NumbersWrittenInShortestPlainForm) {
    const std::pair<double, QString> cases[] = {
        {2, "2"},
        {100, "100"},
        {1.5, "1.5"},
        {0.5, "0.5"},
        {0.1, "0.1"},
        {-7.5, "-7.5"},
        {-0.0, "0"},
        {1234567.25, "1234567.25"},
        {1e-7, "0.0000001"},
        {std::nan(""), "0"},
        {std::numeric_limits<double>::infinity(), "0"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(StyleValueText::shortestDecimal(value), text);
}

TEST(StyleValueText, LeadingNumbersOfTexts) {
    const std::tuple<QString, qint64, double> cases[] = {
        {"12.5", 12, 12.5},
        {"  -3", -3, -3},
        {"+4x", 4, 4},
        {"word", 0, 0},
        {"", 0, 0},
        {".5", 0, 0.5},
        {"2.", 2, 2},
        {"- 1", 0, 0},
        {"99999999999999999999", std::numeric_limits<qint64>::max(), 1e20},
    };
    for (const auto& [text, integer, number] : cases) {
        EXPECT_EQ(StyleValueText::leadingInteger(text), integer) << text.toStdString();
        EXPECT_DOUBLE_EQ(StyleValueText::leadingNumber(text), number) << text.toStdString();
    }
    EXPECT_EQ(StyleValueText::plainInteger("+03"), 3);
    EXPECT_FALSE(StyleValueText::plainInteger("2.0"));
    EXPECT_FALSE(StyleValueText::plainInteger(" 2"));
    EXPECT_EQ(StyleValueText::plainNumber("1.5"), 1.5);
    EXPECT_FALSE(StyleValueText::plainNumber("1.5px"));
}
