#include "formatting/SCStyle.h"

#include <gtest/gtest.h>

#include <QColor>

#include "StyleLoading.h"
#include "support/EventLoop.h"

namespace {

const QString defaultLine =
    "Style: Default,Arial,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,1,"
    "2,1,2,20,20,20,0";

}  // namespace

TEST(SCStyle, DefaultsWriteTheDefaultLine) {
    SCStyle style;
    EXPECT_EQ(style.assStyleString(), defaultLine);
    EXPECT_EQ(SCStyle::assStyleFormatString(),
              "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
              "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
              "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding");
    EXPECT_TRUE(style.theState());
    EXPECT_EQ(style.PrimaryColour(), "&H00FFFFFF");
    EXPECT_EQ(style.primaryColorNSColor(), platform::RGBAColor::deviceRGB(1, 1, 1, 1));
    EXPECT_EQ(style.secondaryColorNSColor(), platform::RGBAColor::deviceRGB(1, 1, 0, 1));
    EXPECT_EQ(style.outlineColorNSColor(), platform::RGBAColor::deviceRGB(0, 0, 0, 1));
    EXPECT_EQ(style.backColorNSColor(), platform::RGBAColor::deviceRGB(0, 0, 0, 1));
    EXPECT_EQ(style.primaryColorSCSubtitleColor()->alphaFloat, 0.0);

    const QVariantMap& snapshot = style.assStyleDictionary();
    EXPECT_EQ(snapshot.size(), 23);
    EXPECT_EQ(snapshot.value("Fontsize").metaType().id(), QMetaType::Double);
    EXPECT_EQ(snapshot.value("Fontsize").toDouble(), 30);
    EXPECT_EQ(snapshot.value("MarginV").metaType().id(), QMetaType::LongLong);
    EXPECT_EQ(snapshot.value("Bold").toString(), "-1");
}

TEST(SCStyle, ByNameAccessKnowsEveryNameAndRefusesOthers) {
    SCStyle style;
    EXPECT_FALSE(style.setValueForKey("NoSuchField", "x"));
    EXPECT_FALSE(style.valueForKey("NoSuchField").isValid());
    EXPECT_FALSE(style.property("NoSuchField").isValid());
    EXPECT_FALSE(style.setValueForKey("assOrderedStyleKeys", QStringList{}));
    EXPECT_FALSE(style.setValueForKey("Outline", QVariant()));
    EXPECT_EQ(style.Outline(), 2);

    struct Case {
        const char* key;
        QVariant written;
        QVariant read;
    } cases[] = {
        {"MarginL", "12.5", qint64(12)}, {"MarginR", "  -3", qint64(-3)},
        {"MarginV", "word", qint64(0)},  {"BorderStyle", 3, qint64(3)},
        {"BorderStyle", 3.9, qint64(3)}, {"Outline", "1.5", 1.5},
        {"Shadow", " +0.5px", 0.5},      {"Fontsize", "word", 0.0},
        {"Fontsize", 48, 48.0},          {"Name", QVariant(), QString()},
        {"Alignment", "8", "8"},         {"theState", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(style.setValueForKey(c.key, c.written)) << c.key;
        EXPECT_EQ(style.valueForKey(c.key), c.read) << c.key;
    }
    EXPECT_EQ(style.valueForKey("assStyleString").toString(), style.assStyleString());
    style.setValuesForKeysWithDictionary({{"Fontname", "Verdana"}, {"ScaleX", "90"}});
    EXPECT_EQ(style.dictionaryWithValuesForKeys({"Fontname", "ScaleX"}),
              (QVariantMap{{"Fontname", "Verdana"}, {"ScaleX", 90.0}}));
}

TEST(SCStyle, EveryAssignmentNotifies) {
    SCStyle style;
    int outline = 0;
    int name = 0;
    QObject::connect(&style, &SCStyle::OutlineChanged, [&] { ++outline; });
    QObject::connect(&style, &SCStyle::NameChanged, [&] { ++name; });
    style.setOutline(2);  // same value
    style.setValueForKey("Outline", "2");
    style.setValueForKey("Name", "x");
    EXPECT_EQ(outline, 2);
    EXPECT_EQ(name, 1);
}

TEST(SCStyle, ResetsRestoreTheirGroupsFromTheSnapshot) {
    SCStyle style;
    loadStyle(
        style, SCStyle::assStyleFormatString(),
        "Style: Sign,Verdana,24.5,&H80112233,&H0000FFFF,&H00000000,&H00000000,0,-1,0,0,100,100,"
        "0,0,1,1.5,0.5,8,10,10,10,1");
    style.setPrimaryColorNSColor(platform::RGBAColor::deviceRGB(1, 0, 0));
    EXPECT_EQ(style.assStyleString().split(',')[3], "&H800000ff");
    EXPECT_EQ(style.PrimaryColour(), "&H80112233");
    style.setOutline(4);
    style.setShadow(4);
    style.setBorderStyle(3);
    style.setFontname("Times");
    style.setFontsize(10);
    style.setBold("-1");
    style.setScaleX(50);

    style.resetStyleColorsToOriginal();
    EXPECT_EQ(style.primaryColorNSColor(),
              platform::RGBAColor::deviceRGB(0x33 / 255.0, 0x22 / 255.0, 0x11 / 255.0, 1));
    EXPECT_EQ(style.primaryColorSCSubtitleColor()->alphaFloat, 0x80 / 255.0);
    EXPECT_EQ(style.Outline(), 1.5);
    EXPECT_EQ(style.Shadow(), 0.5);
    EXPECT_EQ(style.BorderStyle(), 3);
    EXPECT_EQ(style.Fontname(), "Times");

    style.resetFontsToOriginal();
    EXPECT_EQ(style.Fontname(), "Verdana");
    EXPECT_EQ(style.Fontsize(), 24.5);
    EXPECT_EQ(style.Bold(), "0");
    EXPECT_EQ(style.Italic(), "-1");
    EXPECT_EQ(style.ScaleX(), 50);
    EXPECT_EQ(style.Name(), "Sign");

    SCStyle fresh;
    fresh.resetFontsToOriginal();
    fresh.resetStyleColorsToOriginal();
    EXPECT_EQ(fresh.assStyleString(), defaultLine);
}

TEST(SCStyle, ColourObjectsAndMirrorsWrittenByName) {
    SCStyle style;
    EXPECT_TRUE(style.setValueForKey("backColorNSColor",
                                     QVariant::fromValue(platform::RGBAColor::deviceRGB(0, 1, 0))));
    EXPECT_TRUE(style.setValueForKey("outlineColorNSColor", QColor(Qt::red)));
    EXPECT_FALSE(style.setValueForKey("outlineColorNSColor", "red"));
    EXPECT_EQ(style.assStyleString().split(',').mid(5, 2),
              (QStringList{"&H000000ff", "&H0000ff00"}));

    SCSubtitleColor source;
    source.initializeFromHexString("&H40112233");
    EXPECT_TRUE(style.setValueForKey("primaryColorSCSubtitleColor", QVariant::fromValue(&source)));
    auto* own = style.valueForKey("primaryColorSCSubtitleColor").value<SCSubtitleColor*>();
    EXPECT_EQ(own, style.primaryColorSCSubtitleColor());
    EXPECT_EQ(own->toHexString(), "&H40112233");
    EXPECT_FALSE(style.setValueForKey("primaryColorSCSubtitleColor", 3));
}
