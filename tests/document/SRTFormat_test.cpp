#include "document/SRTFormat.h"

#include <gtest/gtest.h>

#include "common/TimeTexts.h"

namespace {

struct CutCase {
    const char* name;
    QString text;
    QStringList lines;
};

}  // namespace

TEST(SRTFormat, CutsAtEveryLineBreakAndDropsEmptyPieces) {
    const CutCase cases[] = {
        {"LF", "a\nb\n", {"a", "b"}},
        {"CRLF", "a\r\nb\r\n", {"a", "b"}},
        {"CR", "a\rb", {"a", "b"}},
        {"blank lines", "a\n\n\n b \n", {"a", " b "}},
        {"unicode separators",
         QString("a") + QChar(0x2028) + "b" + QChar(0x0085) + "c",
         {"a", "b", "c"}},
        {"only breaks", "\r\n\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SRTFormat::linesOfFileText(c.text), c.lines) << c.name;
}

TEST(SRTFormat, CuesRunFromTheLineBeforeTheirTimeLine) {
    const QStringList lines{"1", "00:00:01,000 --> 00:00:02,000", "A", "B",
                            "2", "00:00:03,000 --> 00:00:04,000", "C"};
    const auto cues = SRTFormat::findCues(lines);
    ASSERT_TRUE(cues);
    ASSERT_EQ(cues->size(), 2u);
    EXPECT_EQ((*cues)[0], (QStringList{"1", "00:00:01,000 --> 00:00:02,000", "A", "B"}));
    EXPECT_EQ((*cues)[1], (QStringList{"2", "00:00:03,000 --> 00:00:04,000", "C"}));
    EXPECT_FALSE(SRTFormat::findCues({"no", "time", "line"}));
}

// A time line first in the file, or two time lines in a row, give a cue that
// no parse can read, instead of a cue read from the wrong lines.
TEST(SRTFormat, CuesMissingTheirIndexOrTimeLineDoNotParse) {
    const QStringList lines{
        "00:00:01,000 --> 00:00:02,000", "A", "7", "00:00:03,000 --> 00:00:04,000",
        "00:00:05,000 --> 00:00:06,000", "B"};
    const auto cues = SRTFormat::findCues(lines);
    ASSERT_TRUE(cues);
    ASSERT_EQ(cues->size(), 3u);
    EXPECT_FALSE(SRTFormat::timeTextsOfBlock((*cues)[0]));
    EXPECT_FALSE(SRTFormat::timeTextsOfBlock((*cues)[1]));
    const auto third = SRTFormat::timeTextsOfBlock((*cues)[2]);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->first, "00:00:05,000");
    EXPECT_EQ(SRTFormat::textOfBlock((*cues)[2]), "B");
}

// A load finds the cues as places in the text and copies each cue's lines
// out later: the same cues as cutting every line first.
TEST(SRTFormat, CueSpansOfTheTextGiveTheCuesOfItsLines) {
    const QString texts[] = {
        "",
        "no time line\nat all",
        "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\nB\r\n\r\n2\r\n00:00:03,000 --> "
        "00:00:04,000\r\nC",
        "00:00:01,000 --> 00:00:02,000\nA\n7\n00:00:03,000 --> 00:00:04,000\n00:00:05,000 --> "
        "00:00:06,000\nB\n",
        "-->",
        "\n\n-->-->\n-->\n\nx-->y\n",
        "1\n00:00:01,000 --> 00:00:02,000\nan arrow --> in the text\n\n2\n0 --> 1\n",
        QString("1") + QChar(0x2028) + "0 --> 1" + QChar(0x0085) + "a" + QChar(0x2029) + "2\r" +
            "0 --> 2\x0b\x0c b \n-",
        "1\n0 --> 1\ntext without a final break",
    };
    for (const QString& text : texts) {
        const auto cues = SRTFormat::findCues(SRTFormat::linesOfFileText(text));
        const auto spans = SRTFormat::findCueSpans(text);
        ASSERT_EQ(bool(spans), bool(cues)) << text.toStdString();
        if (!cues) continue;
        ASSERT_EQ(spans->size(), cues->size()) << text.toStdString();
        for (std::size_t i = 0; i < cues->size(); ++i)
            EXPECT_EQ(SRTFormat::cueLines(text, (*spans)[i]), (*cues)[i])
                << text.toStdString() << " cue " << i;
    }
}

TEST(SRTFormat, TimeLinesAreSplitAtTheBlankedArrowAndFiltered) {
    struct Case {
        QString line;
        bool splits;
        QString start, end;
        bool readable;
    } cases[] = {
        {"00:00:01,000 --> 00:00:02,000", true, "00:00:01,000", "00:00:02,000", true},
        {"00:00:01,000  -->  00:00:02,000", true, "00:00:01,000", "00:00:02,000", true},
        {"00:00:01,000-->00:00:02,000", false, {}, {}, false},
        {"00:00:01,000\t--> 00:00:02,000", false, {}, {}, false},
        {"0 --> 1 --> 2", false, {}, {}, false},
        {"00:00:01,000 --> 00:00:02,000 X1:100 X2:200", true, "00:00:01,000", "00:00:02,000", true},
        {"00:00:01,000 --> 00:00:02,000 x1:100 y1:200", true, "00:00:01,000", "00:00:02,000", true},
        {"00:00: 01,000 --> 00 :00:02, 500", true, "00:00:01,000", "00:00:02,500", true},
        {"00:00:01,000 --> 00:00:02,000 ", true, "00:00:01,000", "00:00:02,000", true},
        {"00:00:01.500 --> 00:00:02.000", true, "00:00:01500", "00:00:02000", false},
        {"25:00:00,000 --> 26:00:00,500", true, "25:00:00,000", "26:00:00,500", true},
    };
    for (const auto& c : cases) {
        const auto times = SRTFormat::timeTextsOfBlock({"1", c.line});
        ASSERT_EQ(bool(times), c.splits) << c.line.toStdString();
        if (!times) continue;
        EXPECT_EQ(times->first, c.start);
        EXPECT_EQ(times->second, c.end);
        const bool readable =
            doubleTimeFromStringTime(times->first) && doubleTimeFromStringTime(times->second);
        EXPECT_EQ(readable, c.readable) << c.line.toStdString();
    }
}

TEST(SRTFormat, DialogueStringDropsBlankPiecesOfMultiLineTexts) {
    const std::pair<QString, QString> cases[] = {
        {"One line", "One line"},
        {" ", " "},
        {"", ""},
        {"A\n \nB", "A\nB"},
        {"A\n", "A"},
        {"\nA\n\n B \n", "A\n B "},
        {QString("A\n") + QChar(0x00A0) + "\nB", "A\nB"},
        {"A\r\nB", "A\r\nB"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SRTFormat::dialogueString(text), expected) << text.toStdString();
}
