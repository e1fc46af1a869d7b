#include "document/SCSubtitleLine.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/NotificationTypes.h"
#include "platform/AttributedText.h"
#include "platform/NotificationCenter.h"
#include "platform/TextMeasurer.h"
#include "support/ScopedOverride.h"

namespace {

const QString kFormat =
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text";

// Records every `dialogChanged` while alive.
struct DialogChangedRecorder {
    DialogChangedRecorder()
        : observer(notificationTypes(notificationTypes::dialogChanged).rawValue(),
                   [this](const platform::Notification& n) { seen.push_back(n); }) {}
    std::vector<platform::Notification> seen;
    platform::NotificationObserver observer;
};

// A row height asked for on a thread without font metrics, as a read on a
// view's queue thread asks for it: it waits for the main queue.
void askForARowHeightOnAWorker() {
    auto line = std::make_shared<SCSubtitleLine>();
    auto text = std::make_shared<platform::AttributedText>(QStringLiteral("Late"));
    std::thread([&] { line->calculateTableRowHeightForAtributedString(text, 200.0); }).join();
}

}  // namespace

TEST(SCSubtitleLine, NewLineHasItsDefaults) {
    const auto line = SCSubtitleLine::create();
    EXPECT_EQ(line->inputSubType(), subtitleTypes::none);
    EXPECT_EQ(line->originalIndex(), 9999);
    EXPECT_EQ(line->userIndex(), 9999);
    EXPECT_EQ(line->textTableRowHeight(), 16.0);
    EXPECT_EQ(line->userStartTimeStringSRT(), "00:00:00,000");
    EXPECT_EQ(line->userEndTimeStringASS(), "0:00:00.00");
    EXPECT_EQ(line->unformattedTextSRT(), "");
    EXPECT_EQ(line->unformattedTextASS(), "");
    EXPECT_EQ(line->spellCheckResultLabel(), "");
    EXPECT_EQ(line->Style(), "Default");
    EXPECT_EQ(line->Name(), "Default");
    EXPECT_TRUE(line->originalsDictionary().isEmpty());
    EXPECT_EQ(line->userTextSRT(), line->userTextASS());
}

TEST(SCSubtitleLine, TimeTextsAreViewsOfTheStoredSeconds) {
    const auto line = SCSubtitleLine::create();
    QSignalSpy ass(line.get(), &SCSubtitleLine::userEndTimeStringASSChanged);
    QSignalSpy srt(line.get(), &SCSubtitleLine::userEndTimeStringSRTChanged);
    EXPECT_TRUE(line->setUserEndTimeStringASS("0:00:02.50"));
    EXPECT_EQ(line->userEndTimeDouble(), 2.5);
    EXPECT_EQ(line->userEndTimeStringSRT(), "00:00:02,500");
    EXPECT_EQ(ass.count(), 1);
    EXPECT_EQ(srt.count(), 0);  // each setter announces only its own text
    EXPECT_TRUE(line->setEnd("00:00:03,250"));
    EXPECT_EQ(line->End(), "0:00:03.25");
    EXPECT_TRUE(line->setStart("1:00:00.00"));
    EXPECT_EQ(line->Start(), line->userStartTimeStringASS());
}

// An unreadable time never becomes a made-up time: the old one stays, the
// caller learns of it, and a bound field is told to show the kept value.
TEST(SCSubtitleLine, UnreadableTimeKeepsTheStoredTime) {
    const auto line = SCSubtitleLine::create();
    line->setUserStartTimeDouble(12.5);
    QSignalSpy spy(line.get(), &SCSubtitleLine::userStartTimeStringSRTChanged);
    for (const QString text : {"", "garbage", "00:00:01500"}) {
        EXPECT_FALSE(line->setUserStartTimeStringSRT(text)) << text.toStdString();
        EXPECT_FALSE(line->setStart(text));
        EXPECT_EQ(line->userStartTimeDouble(), 12.5);
    }
    EXPECT_EQ(spy.count(), 3);
}

TEST(SCSubtitleLine, ObservablePropertiesAnnounceEveryAssignment) {
    const auto line = SCSubtitleLine::create();
    QSignalSpy style(line.get(), &SCSubtitleLine::StyleChanged);
    QSignalSpy excluded(line.get(), &SCSubtitleLine::isExcludedChanged);
    line->setStyle("Default");
    line->setStyle("Default");
    line->setIsExcluded(false);
    EXPECT_EQ(style.count(), 2);
    EXPECT_EQ(excluded.count(), 1);
}

TEST(SCSubtitleLine, NewTextPostsOneDialogChangedWithTheLineAsObject) {
    const auto line = SCSubtitleLine::create();
    line->setUserIndex(4);
    DialogChangedRecorder recorder;
    QSignalSpy spy(line.get(), &SCSubtitleLine::unformattedTextSRTChanged);

    line->setUnformattedTextSRT("<i>Hello</i>");
    ASSERT_EQ(recorder.seen.size(), 1u);
    EXPECT_EQ(recorder.seen[0].object, line.get());
    EXPECT_EQ(recorder.seen[0].userInfo.value("rowIndex").toLongLong(), 4);
    EXPECT_EQ(line->unformattedTextASS(), "{\\i1}Hello{\\i0}");
    EXPECT_EQ(line->textTableRowHeight(), platform::TextMeasurer::cellHeight("Hello", 390.0) + 3.0);

    // The same text again, or a canonically equal one, changes nothing.
    line->setUnformattedTextSRT("<i>Hello</i>");
    line->setUnformattedTextSRT(QString::fromUtf8("e\xcc\x81"));
    line->setUnformattedTextSRT(QString::fromUtf8("\xc3\xa9"));
    EXPECT_EQ(recorder.seen.size(), 2u);
    EXPECT_EQ(spy.count(), 4);
}

TEST(SCSubtitleLine, ReadsAnSRTBlockAndSnapshotsIt) {
    const auto line = SCSubtitleLine::create();
    ASSERT_EQ(line->initializeFromSRTBlock(
                  {"1", "00:00:01,500 --> 00:00:04,250", "Hello", "<b>World</b>"}),
              resultTypes::ok);
    EXPECT_EQ(line->inputSubType(), subtitleTypes::srt);
    EXPECT_EQ(line->userStartTimeDouble(), 1.5);
    EXPECT_EQ(line->userEndTimeDouble(), 4.25);
    EXPECT_EQ(line->Text(), "Hello\n<b>World</b>");
    EXPECT_EQ(line->unformattedTextASS(), "Hello\n{\\b1}World{\\b0}");
    EXPECT_EQ(line->originalsDictionary().value("userEndTimeDouble").toDouble(), 4.25);
    EXPECT_EQ(line->originalsDictionary().value("Style").toString(), "Default");
    EXPECT_TRUE(line->isKeptAfterRead(resultTypes::ok));

    line->setUserStartTimeDouble(9.0);
    line->setStyle("Other");
    line->resetTimesToOriginal();
    line->resetStyleToOriginal();
    EXPECT_EQ(line->userStartTimeDouble(), 1.5);
    EXPECT_EQ(line->Style(), "Default");
}

TEST(SCSubtitleLine, SRTBlocksThatCannotBeReadChangeNoTimeAndAreDropped) {
    const QStringList blocks[] = {
        {"1", "00:00:01,000-->00:00:02,000", "No blanks"},
        {"1", " --> 00:00:02,000", "No start"},
        {"only an index line"},
        {},
    };
    for (const auto& block : blocks) {
        const auto line = SCSubtitleLine::create();
        line->setUserStartTimeDouble(7.0);
        const resultTypes result = line->initializeFromSRTBlock(block);
        EXPECT_EQ(result, resultTypes::error) << block.join('|').toStdString();
        EXPECT_EQ(line->userStartTimeDouble(), 7.0);
        EXPECT_EQ(line->inputSubType(), subtitleTypes::srt);
        EXPECT_FALSE(line->isKeptAfterRead(result));
        // The text-only read used by a re-read drops the very same cues.
        EXPECT_EQ(SCSubtitleLine::create()->initializeTextOnlyFromSRTBlock(block),
                  resultTypes::error);
    }
    const auto empty = SCSubtitleLine::create();
    EXPECT_EQ(empty->initializeFromSRTBlock({"1", "00:00:01,000 --> 00:00:02,000"}),
              resultTypes::ok);
    EXPECT_EQ(empty->textTableRowHeight(), 19.0);
    EXPECT_FALSE(empty->isKeptAfterRead(resultTypes::ok));
}

TEST(SCSubtitleLine, ReadsASSEvents) {
    struct Case {
        const char* name;
        QString format, event;
        resultTypes result;
        QString text;
        double start;
        qint64 layer, marginV;
        QString style, nameField;
    } cases[] = {
        {"plain", kFormat, "Dialogue: 2,0:00:01.50,0:00:04.25,Sign,Bob,1,2,3,,Hello",
         resultTypes::ok, "Hello", 1.5, 2, 3, "Sign", "Bob"},
        {"commas in text", kFormat, "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,, a, b ,c ",
         resultTypes::ok, "a, b ,c", 1.0, 0, 0, "Default", ""},
        {"line breaks", kFormat, "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,\\NA\\NB\\N",
         resultTypes::ok, "A\nB", 1.0, 0, 0, "Default", ""},
        {"fewer fields", kFormat, "Dialogue: 0,0:00:03.00,0:00:04.00,Other", resultTypes::ok, "",
         3.0, 0, 0, "Other", "Default"},
        {"text before prefix", kFormat, "junk Dialogue: 3.9,0:00:01.00,0:00:02.00,S,N,0,0,x7,,T",
         resultTypes::ok, "T", 1.0, 3, 0, "S", "N"},
        {"other case names", "Format: start, End, Text", "Dialogue: 0:00:05.00,0:00:06.00,T",
         resultTypes::ok, "T", 0.0, 0, 0, "Default", "Default"},
        {"blank guards", kFormat, "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{} a {}",
         resultTypes::ok, " a ", 1.0, 0, 0, "Default", ""},
        {"a literal {} after its guard", kFormat,
         "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{}{} a {}{}", resultTypes::ok,
         "{} a {}", 1.0, 0, 0, "Default", ""},
        {"a literal {} needs no guard", kFormat,
         "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{}a{}", resultTypes::ok, "{}a{}", 1.0,
         0, 0, "Default", ""},
        {"comment", kFormat, "Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,C",
         resultTypes::error, "", 0.0, 0, 0, "Default", "Default"},
        {"comma in time", kFormat, "Dialogue: 0,0:00:01,50,0:00:02.00,Default,,0,0,0,,T",
         resultTypes::error, "", 0.0, 0, 0, "Default", "Default"},
        {"empty time", kFormat, "Dialogue: 0,,0:00:02.00,Default,,0,0,0,,T", resultTypes::error, "",
         0.0, 0, 0, "Default", "Default"},
    };
    for (const auto& c : cases) {
        const auto line = SCSubtitleLine::create();
        EXPECT_EQ(line->intitializeWithFormatString(c.format, c.event), c.result) << c.name;
        EXPECT_EQ(line->inputSubType(), subtitleTypes::ass) << c.name;
        EXPECT_EQ(line->Text(), c.text) << c.name;
        EXPECT_EQ(line->unformattedTextASS(), c.text) << c.name;
        EXPECT_EQ(line->userStartTimeDouble(), c.start) << c.name;
        EXPECT_EQ(line->Layer(), c.layer) << c.name;
        EXPECT_EQ(line->MarginV(), c.marginV) << c.name;
        EXPECT_EQ(line->Style(), c.style) << c.name;
        EXPECT_EQ(line->Name(), c.nameField) << c.name;
        const qsizetype fields = c.result == resultTypes::ok ? 10 : 0;
        EXPECT_EQ(line->assDialogDictionary().size(), fields) << c.name;
    }
}

TEST(SCSubtitleLine, TextOnlyEventReadTakesOnlyAPairedText) {
    const auto line = SCSubtitleLine::create();
    line->setText("kept");
    EXPECT_EQ(line->intitializeTextOnlyWithFormatString(kFormat, "Dialogue: 0,0:00:01.00"),
              resultTypes::ok);
    EXPECT_EQ(line->Text(), "kept");
    EXPECT_EQ(line->intitializeTextOnlyWithFormatString("Format: Start, Text",
                                                        "Dialogue: 0:00:09.00, new, text "),
              resultTypes::ok);
    EXPECT_EQ(line->Text(), "new, text");
    EXPECT_EQ(line->userStartTimeDouble(), 0.0);
}

TEST(SCSubtitleLine, WritesItsDialogueLineWithEveryLineBreakEscaped) {
    const auto line = SCSubtitleLine::create();
    line->setUserStartTimeDouble(1.5);
    line->setUserEndTimeDouble(4.25);
    line->setUnformattedTextASS("Hello");
    EXPECT_EQ(line->assDialogueString(),
              "Dialogue: 0,0:00:01.50,0:00:04.25,Default,Default,0,0,0,,Hello");
    line->setName("Two\nlines");
    line->setEffect("a\r\nb");
    line->setUnformattedTextASS("x\ny");
    EXPECT_EQ(line->assDialogueString(),
              "Dialogue: 0,0:00:01.50,0:00:04.25,Default,Two\\Nlines,0,0,0,a\\Nb,x\\Ny");
    EXPECT_EQ(SCSubtitleLine::assDialogueFormatString(), kFormat);
}

TEST(SCSubtitleLine, ResetsAndFormattingRemovalPostNoDialogChanged) {
    const auto line = SCSubtitleLine::create();
    ASSERT_EQ(line->initializeFromSRTBlock({"1", "00:00:01,000 --> 00:00:02,000", "<i>Hi</i>"}),
              resultTypes::ok);
    line->setUnformattedTextSRT("Edited");
    DialogChangedRecorder recorder;
    line->resetDialogToOriginal();
    EXPECT_EQ(line->unformattedTextSRT(), "<i>Hi</i>");
    line->removeFormattingFromText();
    EXPECT_EQ(line->unformattedTextSRT(), "Hi");
    EXPECT_EQ(line->unformattedTextASS(), "Hi");
    EXPECT_TRUE(recorder.seen.empty());
}

TEST(SCSubtitleLine, CopyKeepsFieldsButNotTheDialog) {
    const auto line = SCSubtitleLine::create();
    ASSERT_EQ(line->intitializeWithFormatString(
                  kFormat, "Dialogue: 1,0:00:01.00,0:00:02.00,Sign,Bob,1,2,3,Fx,Text"),
              resultTypes::ok);
    line->setIsExcluded(true);
    const auto copy = line->copy();
    EXPECT_EQ(copy->userEndTimeDouble(), 2.0);
    EXPECT_EQ(copy->Style(), "Sign");
    EXPECT_EQ(copy->Effect(), "Fx");
    EXPECT_EQ(copy->Text(), "Text");
    EXPECT_TRUE(copy->isExcluded());
    EXPECT_EQ(copy->originalsDictionary(), line->originalsDictionary());
    EXPECT_EQ(copy->unformattedTextASS(), "");
}

TEST(SCSubtitleLine, ByNameAccessRefusesUnknownAndReadOnlyKeys) {
    const auto line = SCSubtitleLine::create();
    EXPECT_TRUE(line->setValueForKey("MarginL", 12));
    EXPECT_EQ(line->valueForKey("MarginL").toLongLong(), 12);
    EXPECT_TRUE(line->setValueForKey("Start", "0:00:03.00"));
    EXPECT_EQ(line->valueForKey("userStartTimeDouble").toDouble(), 3.0);
    EXPECT_FALSE(line->setValueForKey("Start", "nonsense"));
    EXPECT_FALSE(line->setValueForKey("srtDialogueString", "x"));
    EXPECT_FALSE(line->setValueForKey("noSuchKey", 1));
    EXPECT_FALSE(line->valueForKey("noSuchKey").isValid());
    EXPECT_EQ(line->valueForKey("assOrderedDialogKeys").toStringList().size(), 10);

    // The display text is readable by name too, as the one shared object.
    using Display = std::shared_ptr<platform::AttributedText>;
    for (const QString key : {"userTextSRT", "userTextASS"}) {
        EXPECT_EQ(line->valueForKey(key).value<Display>(), line->userTextSRT())
            << key.toStdString();
        EXPECT_FALSE(line->setValueForKey(key, QVariant())) << key.toStdString();
    }
}

// A read still running on a worker while the process ends may ask for a row
// height after static destruction has begun. A handler registered before the
// first request runs after the requests' storage would be destroyed, so it
// asks at that moment every time.
TEST(SCSubtitleLineDeathTest, RowHeightAskedForWhileTheProcessEndsIsHarmless) {
    // A fresh process: the requests' storage must not exist before the
    // handler is registered.
    testsupport::ScopedOverride<std::string> style(
        [](const std::string& value) { GTEST_FLAG_SET(death_test_style, value); }, "threadsafe",
        GTEST_FLAG_GET(death_test_style));
    EXPECT_EXIT(
        {
            std::atexit(askForARowHeightOnAWorker);
            askForARowHeightOnAWorker();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
