#include "common/TimeTexts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "support/ScopedOverride.h"

TEST(TimeTexts, SecondsShowInBothFormsOnATwentyFourHourClock) {
    struct Case {
        double seconds;
        const char* srt;
        const char* ass;
    };
    const Case cases[] = {
        {0, "00:00:00,000", "0:00:00.00"},          {3723.5, "01:02:03,500", "1:02:03.50"},
        {45296.875, "12:34:56,875", "12:34:56.87"}, {45296.789, "12:34:56,789", "12:34:56.78"},
        {36000, "10:00:00,000", "10:00:00.00"},     {90000, "01:00:00,000", "1:00:00.00"},
        {-1.5, "23:59:58,500", "23:59:58.50"},      {86399.875, "23:59:59,875", "23:59:59.87"},
        {1.875, "00:00:01,875", "0:00:01.87"},      {0.1, "00:00:00,100", "0:00:00.10"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(srtTimeStringFromDoubleTime(c.seconds), c.srt) << c.seconds;
        EXPECT_EQ(assTimeStringFromDoubleTime(c.seconds), c.ass) << c.seconds;
    }
}

TEST(TimeTexts, TextsReadStrictlyThenLeniently) {
    struct Case {
        const char* text;
        std::optional<double> seconds;
    };
    const Case cases[] = {
        {"01:02:03,500", 3723.5},
        {"1:02:03.50", 3723.5},
        {"00:00:01,5", 1.5},
        {"0:00:01.5", 1.5},
        {"00:00:01,05", 1.05},
        {"00:00:01,12345", 1.123},
        {"25:00:00,000", 90000},
        {"99:59:59,999", 359999.999},
        {"24:00:01.5", 86401.5},
        // Past a day, or minutes or seconds of 60 or more, a point still
        // reads like a comma: never as hundredths.
        {"25:00:00.500", 90000.5},
        {"25:00:00.50", 90000.5},
        {"25:00:00.05", 90000.05},
        {"00:61:00.250", 3660.25},
        {"00:00:61.125", 61.125},
        {"-0:00:01.500", 1.5},
        {"23:00:01.5", 82801.5},
        {"00:61:00,000", 3660},
        {"-0:00:01,000", 1.0},
        {" 1:00:00,000", 3600},
        {"1:00:00,5,9", 3600.005},
        {"1:02", std::nullopt},
        {"abc", std::nullopt},
        {"12,5", std::nullopt},
        {"", std::nullopt},
        {"1:2:3:4,000", std::nullopt},
        {"x:y:z,000", 0.0},
        // The lenient reader: exponents, a point inside a field, no hex, inf or nan.
        {"0:0:1.5e1,000", 15.0},
        {"00:00:01.5,000", 1.5},
        {"0x10:00:00,000", 0.0},
        {"inf:00:00,000", 0.0},
        {"nan:1:00,000", 60.0},
        {"1e:00:00,000", 3600.0},
    };
    for (const auto& c : cases) {
        const auto got = doubleTimeFromStringTime(c.text);
        ASSERT_EQ(got.has_value(), c.seconds.has_value()) << c.text;
        if (got) {
            EXPECT_NEAR(*got, *c.seconds, 1e-9) << c.text;
        }
    }
    // Read above 24 hours, shown wrapped.
    EXPECT_EQ(srtTimeStringFromDoubleTime(*doubleTimeFromStringTime("25:00:00,000")),
              "01:00:00,000");
    EXPECT_EQ(srtTimeStringFromDoubleTime(*doubleTimeFromStringTime("25:00:00.500")),
              "01:00:00,500");
}

TEST(TimeTexts, ReadingDoesNotFollowTheProcessLocale) {
    // A locale with a "," decimal point, if this machine has one.
    std::optional<double> seconds;
    {
        testsupport::ScopedLocale german(LC_NUMERIC, "de_DE.UTF-8");
        if (!german.active()) GTEST_SKIP() << "no de_DE.UTF-8 locale";
        seconds = doubleTimeFromStringTime("00:00:01.5,000");
    }
    ASSERT_TRUE(seconds.has_value());
    EXPECT_DOUBLE_EQ(*seconds, 1.5);
}

TEST(TimeTexts, ConvertsBetweenTheStrictFormsOnly) {
    EXPECT_EQ(timeStringConvertedFrom("01:02:03,375"), "1:02:03.37");
    EXPECT_EQ(timeStringConvertedFrom("1:02:03.25"), "01:02:03,250");
    EXPECT_FALSE(timeStringConvertedFrom("25:00:00,000").has_value());
    EXPECT_FALSE(timeStringConvertedFrom("nonsense").has_value());
}

TEST(TimeTexts, EscapesBracketsAndApostrophes) {
    EXPECT_EQ(addEscapeCharactersTo("a[b]'c"), "a\\[b\\]'''c");
    EXPECT_EQ(addEscapeCharactersTo("plain"), "plain");
}
