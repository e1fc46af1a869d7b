#include "formatting/SCSubtitleColor.h"

#include <gtest/gtest.h>

namespace {

struct ColourCase {
    QString text;
    double alpha, red, green, blue;
    QString written;
};

}  // namespace

TEST(SCSubtitleColor, ReadsColourTextsAndWritesThemBack) {
    const double x80 = 128.0 / 255.0;
    const ColourCase cases[] = {
        {"&H00FFFFFF", 0, 1, 1, 1, "&H00ffffff"},
        {"&H0000FFFF", 0, 1, 1, 0, "&H0000ffff"},
        {"&H00ffffff", 0, 1, 1, 1, "&H00ffffff"},
        {"&HFF8000", 0, 0, x80, 1, "&H00ff8000"},
        {"&H80FFFFFF", x80, 1, 1, 1, "&H80ffffff"},
        // Missing leading digits are 0 and a closing "&" is ignored.
        {"&H0", 0, 0, 0, 0, "&H00000000"},
        {"&HFF", 0, 1, 0, 0, "&H000000ff"},
        {"&HFFFFF", 0, 1, 1, 15.0 / 255.0, "&H000fffff"},
        {"&H00FFFFFF&", 0, 1, 1, 1, "&H00ffffff"},
        {"&H0000FF&", 0, 1, 0, 0, "&H000000ff"},
        // SSA writes colours as decimal numbers.
        {"16777215", 0, 1, 1, 1, "&H00ffffff"},
        {"255", 0, 1, 0, 0, "&H000000ff"},
        {"0", 0, 0, 0, 0, "&H00000000"},
        {"-16777216", 1, 0, 0, 0, "&Hff000000"},
        // Texts that neither form reads.
        {"", 1, 1, 1, 1, "&Hffffffff"},
        {"&h00ffffff", 1, 1, 1, 1, "&Hffffffff"},
        {"&H00GGFFFF", 1, 1, 1, 1, "&Hffffffff"},
        {"xx&HFFFFFF", 1, 1, 1, 1, "&Hffffffff"},
        {"&H", 1, 1, 1, 1, "&Hffffffff"},
        {"&H123456789", 1, 1, 1, 1, "&Hffffffff"},
        {"4294967296", 1, 1, 1, 1, "&Hffffffff"},
        {"12.5", 1, 1, 1, 1, "&Hffffffff"},
    };
    for (const auto& c : cases) {
        SCSubtitleColor colour;
        colour.initializeFromHexString(c.text);
        const std::string name = c.text.toStdString();
        EXPECT_DOUBLE_EQ(colour.alphaFloat, c.alpha) << name;
        EXPECT_DOUBLE_EQ(colour.redFloat, c.red) << name;
        EXPECT_DOUBLE_EQ(colour.greenFloat, c.green) << name;
        EXPECT_DOUBLE_EQ(colour.blueFloat, c.blue) << name;
        EXPECT_EQ(colour.oAlphaFloat, colour.alphaFloat) << name;
        EXPECT_EQ(colour.oBlueFloat, colour.blueFloat) << name;
        EXPECT_EQ(colour.toHexString(), c.written) << name;
        EXPECT_DOUBLE_EQ(
            SCSubtitleColor::colorComponent(SCSubtitleColor::colorCompnonents::green, c.text),
            c.green)
            << name;
    }
}

TEST(SCSubtitleColor, EveryByteSurvivesARoundTrip) {
    for (int k = 0; k < 256; ++k) {
        const QString text = QStringLiteral("&H%1%1%1%1").arg(k, 2, 16, QLatin1Char('0'));
        SCSubtitleColor colour;
        colour.initializeFromHexString(text.toUpper());
        EXPECT_EQ(colour.toHexString(), text);
    }
}

TEST(SCSubtitleColor, WriterTruncatesAndKeepsTwoDigitsPerComponent) {
    SCSubtitleColor colour;
    EXPECT_EQ(colour.toHexString(), "&H00000000");
    EXPECT_EQ(colour.toNSColor(), platform::RGBAColor::deviceRGB(0, 0, 0, 1));
    colour.redFloat = 0.999;
    colour.greenFloat = 0.5;
    EXPECT_EQ(colour.toHexString(), "&H00007ffe");
    // Out-of-range components (a colour picker outside sRGB) stay one byte.
    colour.redFloat = 1.2;
    colour.greenFloat = -0.3;
    colour.blueFloat = std::nan("");
    colour.alphaFloat = 2.0;
    EXPECT_EQ(colour.toHexString(), "&Hff0000ff");
}

TEST(SCSubtitleColor, ColourWellEditsKeepAlphaAndCanBeUndone) {
    SCSubtitleColor colour;
    colour.initializeFromHexString("&H80FFFFFF");
    EXPECT_EQ(colour.toNSColor(), platform::RGBAColor::deviceRGB(1, 1, 1, 1));
    colour.updateFromNSColor(platform::RGBAColor::deviceRGB(1, 0, 0, 0.25));
    EXPECT_EQ(colour.toHexString(), "&H800000ff");
    colour.resetToOriginal();
    EXPECT_EQ(colour.toHexString(), "&H80ffffff");
    EXPECT_EQ(SCSubtitleColor::rawValue(SCSubtitleColor::colorCompnonents::blue), "blue");
}
