#include <gtest/gtest.h>

#include <QThread>
#include <memory>

#include "StyleLoading.h"
#include "formatting/SCStyle.h"
#include "support/EventLoop.h"

namespace {

const QString ssaHeader = "[V4 Styles]";

}  // namespace

TEST(SCStyleLines, LinePairsReadByFieldName) {
    struct Case {
        const char* name;
        QString format;
        QString line;
        resultTypes result;
        QString written;  // the style line afterwards
    } cases[] = {
        {"subset of keys, surplus value", "Format: Name, Fontsize", "Style: Big,48,extra",
         resultTypes::ok,
         "Style: Big,Arial,48,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,"
         "1,2,1,2,20,20,20,0"},
        {"no blank after the colons", "Format:Name,Fontsize", "Style:Big,48", resultTypes::ok,
         "Style: Big,Arial,48,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,"
         "1,2,1,2,20,20,20,0"},
        {"blanks, tabs and carriage return trimmed", "Format:  Name ,\tFontsize\r",
         "Style: \tBig , 48\r", resultTypes::ok,
         "Style: Big,Arial,48,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,"
         "1,2,1,2,20,20,20,0"},
        {"Format twice", "Format: Format: Name", "Style: Big", resultTypes::error, ""},
        {"no-blank Format twice", "Format:Name,Format:Fontsize", "Style: Big,48",
         resultTypes::error, ""},
        {"prefix inside a value", "Format: Name, Fontname", "Style: Style:Top,Title: Bold",
         resultTypes::ok,
         "Style: Style:Top,Title: Bold,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,"
         "100,100,0,0,1,2,1,2,20,20,20,0"},
        {"prefix inside a value without blank", "Format:Name", "Style:Style:Top",
         resultTypes::error, ""},
        {"no Style prefix", "Format: Name", "Big", resultTypes::error, ""},
        {"empty style line", "Format: Name", "", resultTypes::error, ""},
        {"Style: and nothing", "Format: Name, Fontname, Fontsize", "Style: ", resultTypes::ok,
         "Style: ,Arial,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,1,2,"
         "1,2,20,20,20,0"},
        {"fewer values than keys", "Format: Name, Fontname, Fontsize", "Style: A,Verdana",
         resultTypes::ok,
         "Style: A,Verdana,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,"
         "1,2,1,2,20,20,20,0"},
        {"margins cut to whole numbers", "Format: MarginL, MarginR, MarginV", "Style: 12.5,word,-3",
         resultTypes::ok,
         "Style: Default,Arial,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,"
         "0,1,2,1,2,12,0,-3,0"},
        {"fractions kept", "Format: Fontsize, ScaleX, Spacing, Angle, Outline, Shadow",
         "Style: 20.5,99.5,0.25,-7.5,1.5,0.5", resultTypes::ok,
         "Style: Default,Arial,20.5,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,99.5,"
         "100,0.25,-7.5,1,1.5,0.5,2,20,20,20,0"},
        {"unknown keys ignored", "Format: Name, Wobble", "Style: A,B", resultTypes::ok,
         "Style: A,Arial,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,1,2,"
         "1,2,20,20,20,0"},
        {"later duplicate key wins", "Format: Name, Name", "Style: A,B", resultTypes::ok,
         "Style: B,Arial,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,1,2,"
         "1,2,20,20,20,0"},
    };
    for (const auto& c : cases) {
        SCStyle style;
        const QString before = style.assStyleString();
        EXPECT_EQ(loadStyle(style, c.format, c.line), c.result) << c.name;
        EXPECT_EQ(style.assStyleString(), c.result == resultTypes::ok ? c.written : before)
            << c.name;
    }
}

TEST(SCStyleLines, SsaAlignmentIsRenumbered) {
    struct Case {
        QString header;
        QString value;
        QString stored;
    } cases[] = {
        {ssaHeader, "1", "1"},      {ssaHeader, "2", "2"},       {ssaHeader, "3", "3"},
        {ssaHeader, "5", "7"},      {ssaHeader, "6", "8"},       {ssaHeader, "7", "9"},
        {ssaHeader, "9", "4"},      {ssaHeader, "10", "5"},      {ssaHeader, "11", "6"},
        {ssaHeader, "4", "6"},      {ssaHeader, "8", "10"},      {ssaHeader, "0", "0"},
        {ssaHeader, "-2", "-2"},    {ssaHeader, "+03", "3"},     {ssaHeader, "2.0", "2.0"},
        {v4PlusHeader, "7", "7"},   {"[v4+ styles]", "7", "7"},  {" [V4+ Styles]", "7", "9"},
        {"[v4+ Styles]", "7", "7"}, {"[V4++ styles]", "7", "7"}, {"[v4 styles]", "7", "9"},
        {"[V4 Styles]", "5", "7"},
    };
    for (const auto& c : cases) {
        SCStyle style;
        loadStyle(style, "Format: Name, Alignment", "Style: A," + c.value, c.header);
        EXPECT_EQ(style.Alignment(), c.stored)
            << c.header.toStdString() << " " << c.value.toStdString();
        EXPECT_EQ(style.assStyleDictionary().value("Alignment").toString(), c.stored);
    }
    SCStyle absent;
    loadStyle(absent, "Format: Name", "Style: A", ssaHeader);
    EXPECT_EQ(absent.Alignment(), "2");
}

TEST(SCStyleLines, SsaStyleWithDecimalColoursRoundTrips) {
    const QString format =
        "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, "
        "BackColour, Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
        "MarginV, AlphaLevel, Encoding";
    const QString line =
        "Style: Default,Tahoma,24,16777215,65535,4210752,-2147483640,-1,0,1,1.5,0.5,6,30,30,12,0,0";
    SCStyle style;
    ASSERT_EQ(loadStyle(style, format, line, ssaHeader), resultTypes::ok);
    EXPECT_EQ(style.OutlineColour(), "4210752");
    const QString written = style.assStyleString();
    EXPECT_EQ(written,
              "Style: Default,Tahoma,24,&H00ffffff,&H0000ffff,&H00404040,&H80000008,-1,0,0,0,100,"
              "100,0,0,1,1.5,0.5,8,30,30,12,0");

    SCStyle again;
    ASSERT_EQ(loadStyle(again, SCStyle::assStyleFormatString(), written), resultTypes::ok);
    EXPECT_EQ(again.assStyleString(), written);
    EXPECT_EQ(again.PrimaryColour(), "&H00ffffff");

    SCStyle both;
    loadStyle(both, "Format: Name, TertiaryColour, OutlineColour", "Style: A,&H00111111,&H00222222",
              ssaHeader);
    EXPECT_EQ(both.OutlineColour(), "&H00222222");
}

TEST(SCStyleLines, AssStyleRoundTripsWithoutLoss) {
    const QString line =
        "Style: Sign,DejaVu Sans,36.5,&H80ff00ff,&H0000ffff,&H00102030,&Ha0000000,0,-1,-1,0,"
        "95.5,100,1.25,-3,3,1.5,0.75,7,15,25,35,1";
    SCStyle first;
    ASSERT_EQ(loadStyle(first, SCStyle::assStyleFormatString(), line), resultTypes::ok);
    EXPECT_EQ(first.assStyleString(), line);
    SCStyle second;
    loadStyle(second, SCStyle::assStyleFormatString(), first.assStyleString());
    for (const QString& key : SCStyle::assOrderedStyleKeys())
        EXPECT_EQ(second.valueForKey(key), first.valueForKey(key)) << key.toStdString();

    SCStyle sixDigits;
    loadStyle(sixDigits, "Format: Name, PrimaryColour", "Style: A,&HFF8000");
    SCStyle reread;
    loadStyle(reread, SCStyle::assStyleFormatString(), sixDigits.assStyleString());
    EXPECT_EQ(reread.PrimaryColour(), "&H00ff8000");
}

TEST(SCStyleLines, ValuesArriveOnlyWhenTheMainQueueRuns) {
    SCStyle style;
    ASSERT_EQ(style.intitializeWithFormatString("Format: Name, Outline, PrimaryColour",
                                                "Style: Late,3,&H000000FF", v4PlusHeader),
              resultTypes::ok);
    EXPECT_EQ(style.Name(), "Default");
    EXPECT_EQ(style.Outline(), 2);
    EXPECT_EQ(style.assStyleDictionary().value("Name").toString(), "Late");
    EXPECT_EQ(style.assStyleDictionary().value("Fontsize").toDouble(), 30);
    EXPECT_TRUE(style.assStyleString().startsWith("Style: Default,Arial,30,&H00ffffff"));
    testsupport::drainMainQueue();
    EXPECT_EQ(style.Name(), "Late");
    EXPECT_EQ(style.Outline(), 3);
    EXPECT_EQ(style.primaryColorNSColor(), platform::RGBAColor::deviceRGB(1, 0, 0));
    EXPECT_TRUE(style.theState());
}

TEST(SCStyleLines, StyleDeletedBeforeTheQueueRunsIsLeftAlone) {
    auto* style = new SCStyle;
    style->intitializeWithFormatString("Format: Name", "Style: Gone", v4PlusHeader);
    delete style;
    testsupport::drainMainQueue();  // must not touch the deleted style
    SUCCEED();
}

TEST(SCStyleLines, StyleReadOnALoadingThreadIsAppliedOnTheMainThread) {
    std::unique_ptr<SCStyle> style;
    QThread* loader = QThread::create([&] {
        style = std::make_unique<SCStyle>();
        style->intitializeWithFormatString("Format: Name", "Style: Loaded", v4PlusHeader);
    });
    loader->start();
    loader->wait();
    delete loader;
    ASSERT_TRUE(testsupport::spinUntil([&] { return style->Name() == "Loaded"; }));
    EXPECT_EQ(style->thread(), QThread::currentThread());
}
