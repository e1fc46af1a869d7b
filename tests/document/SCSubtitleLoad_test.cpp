#include <gtest/gtest.h>

#include <QSignalSpy>

#include "DocumentFixtures.h"
#include "formatting/SCStyle.h"
#include "platform/LogSink.h"
#include "support/PlatformOverrides.h"

using documenttest::fixture;
using documenttest::load;
using documenttest::loaded;

namespace {

struct Cue {
    qint64 index;
    double start, end;
    QString text;
};

void expectLines(const SCSubtitle& subtitle, const std::vector<Cue>& cues, const char* name) {
    const auto& lines = subtitle.subtitleLinesArray();
    ASSERT_EQ(lines.size(), qsizetype(cues.size())) << name;
    for (std::size_t i = 0; i < cues.size(); ++i) {
        EXPECT_EQ(lines[i]->userIndex(), cues[i].index) << name << " line " << i;
        EXPECT_EQ(lines[i]->originalIndex(), cues[i].index) << name << " line " << i;
        EXPECT_DOUBLE_EQ(lines[i]->userStartTimeDouble(), cues[i].start) << name << " line " << i;
        EXPECT_DOUBLE_EQ(lines[i]->userEndTimeDouble(), cues[i].end) << name << " line " << i;
        EXPECT_EQ(lines[i]->Text(), cues[i].text) << name << " line " << i;
    }
}

}  // namespace

TEST(SCSubtitleLoad, SRTFilesReadTheSameWhateverTheirLineEnds) {
    const std::vector<Cue> expected{{0, 1.0, 2.5, "Hello\n<i>World</i>"}, {1, 3.0, 4.0, "Second"}};
    for (const char* name : {"lf.srt", "crlf.srt", "cr.srt", "bom.srt"}) {
        const auto subtitle = loaded(name, subtitleTypes::srt);
        expectLines(*subtitle, expected, name);
        EXPECT_TRUE(subtitle->subtitleIsValid()) << name;
        EXPECT_FALSE(subtitle->isInitializing()) << name;
        EXPECT_EQ(subtitle->subtitleStylesArray().size(), 1) << name;
        EXPECT_EQ(subtitle->scriptInfoDictionary(), SCSubtitle::srtScriptInfoDefaults()) << name;
    }
}

TEST(SCSubtitleLoad, SRTCueEdgeCases) {
    struct Case {
        const char* file;
        std::vector<Cue> cues;
    } cases[] = {
        {"blank-inside.srt", {{0, 1.0, 2.0, "First\n   \nstill first"}, {1, 3.0, 4.0, "Second"}}},
        // Without index lines the text line before a time line serves as the
        // next cue's index line; the first time line has none and is dropped.
        {"no-index.srt", {{1, 3.0, 4.0, "No index two"}, {2, 5.0, 6.0, "No index three"}}},
        // Cues 1 (no blanks round the arrow) and 3 (no blank after it)
        // cannot be read.
        {"odd-times.srt",
         {{0, 1.0, 2.0, "Two blanks each side"},
          {2, 5.0, 6.0, "Position suffix"},
          {4, 90000.0, 95400.25, "Past a day"}}},
    };
    for (const auto& c : cases) expectLines(*loaded(c.file, subtitleTypes::srt), c.cues, c.file);
}

TEST(SCSubtitleLoad, PublishesInOrderOnTheMainThread) {
    const auto subtitle = SCSubtitle::create();
    std::vector<QString> events;
    QObject::connect(subtitle.get(), &SCSubtitle::subtitleStylesArrayChanged,
                     [&] { events.push_back("styles"); });
    QObject::connect(subtitle.get(), &SCSubtitle::subtitleLinesArrayChanged,
                     [&] { events.push_back("lines"); });
    QObject::connect(subtitle.get(), &SCSubtitle::progressLabelChanged,
                     [&] { events.push_back("label:" + subtitle->progressLabel()); });
    QObject::connect(subtitle.get(), &SCSubtitle::isInitializingChanged,
                     [&] { events.push_back(subtitle->isInitializing() ? "busy" : "idle"); });
    ASSERT_EQ(load(subtitle, fixture("lf.srt"), subtitleTypes::srt), resultTypes::ok);
    const std::vector<QString> expected{
        "label:Initializing Subtitle", "busy", "styles", "lines", "label:", "idle"};
    EXPECT_EQ(events, expected);
}

TEST(SCSubtitleLoad, FailuresPublishNothing) {
    QStringList logged;
    testsupport::ScopedOverride<platform::LogSink::Hook> capture(
        &platform::LogSink::setCaptureHook, [&](const QString& entry) { logged.append(entry); });
    struct Case {
        const char* file;
        subtitleTypes type;
        QString encoding;
        bool busyAfter;  // a file that does not decode leaves the flag alone
    } cases[] = {
        {"latin1.srt", subtitleTypes::srt, "UTF8", false},
        {"missing.srt", subtitleTypes::srt, "UTF8", false},
        {"two-styles.ass", subtitleTypes::srt, "UTF8", false},
        {"out-of-order.ass", subtitleTypes::ass, "UTF8", false},
        {"lf.srt", subtitleTypes::vobsub, "UTF8", false},
    };
    for (const auto& c : cases) {
        const auto subtitle = SCSubtitle::create();
        EXPECT_EQ(load(subtitle, fixture(c.file), c.type, c.encoding), resultTypes::error)
            << c.file;
        EXPECT_TRUE(subtitle->subtitleLinesArray().isEmpty()) << c.file;
        EXPECT_TRUE(subtitle->subtitleStylesArray().isEmpty()) << c.file;
        EXPECT_FALSE(subtitle->subtitleIsValid()) << c.file;
        EXPECT_EQ(subtitle->progressLabel(), "Initializing Subtitle") << c.file;
        EXPECT_EQ(subtitle->isInitializing(), c.busyAfter) << c.file;
        EXPECT_EQ(subtitle->subtitleFileURL(), fixture(c.file)) << c.file;
    }
    // A read is often one attempt of several: its caller logs the failure.
    EXPECT_EQ(logged, QStringList());
}

TEST(SCSubtitleLoad, ReadsANonUTF8File) {
    const auto subtitle = loaded("latin1.srt", subtitleTypes::srt, "ISOLatin1");
    ASSERT_EQ(subtitle->subtitleLinesArray().size(), 1);
    EXPECT_EQ(subtitle->subtitleLinesArray()[0]->Text(), QString::fromUtf8("Café crème"));
    EXPECT_EQ(subtitle->currentImportEncoding(), "ISOLatin1");
}

TEST(SCSubtitleLoad, ReadsASSEventsStylesAndScriptInfo) {
    const auto subtitle = loaded("two-styles.ass", subtitleTypes::ass);
    expectLines(*subtitle,
                {{0, 1.0, 2.5, "Hello, world, with commas"},
                 {2, 3.0, 4.0, "First\nSecond"},
                 {6, 11.0, 12.0, "{\\i1}Last{\\i0}"}},
                "two-styles.ass");
    const auto& lines = subtitle->subtitleLinesArray();
    EXPECT_EQ(lines[1]->Style(), "Sign");
    EXPECT_EQ(lines[1]->Name(), "Narrator");
    EXPECT_EQ(lines[1]->Layer(), 1);
    EXPECT_EQ(lines[1]->MarginR(), 20);
    EXPECT_EQ(lines[2]->unformattedTextSRT(), "<i>Last</i>");
    EXPECT_EQ(subtitle->subtitleStylesArray().size(), 2);
    const QMap<QString, QString> info{
        {"Title", "Two styles"}, {"ScriptType", "v4.00+"}, {"PlayResX", "1280"}};
    EXPECT_EQ(subtitle->scriptInfoDictionary(), info);
    EXPECT_EQ(subtitle->styleHeader(), "[V4+ Styles]");
}

TEST(SCSubtitleLoad, ASSEdgeCases) {
    const auto missing = loaded("no-scripttype.ass", subtitleTypes::ass);
    EXPECT_EQ(missing->scriptInfoDictionary().value("ScriptType"), "v4.00+");
    expectLines(*missing, {{0, 1.0, 2.0, "Three fields only"}}, "no-scripttype.ass");

    const auto comments = loaded("comments-only.ass", subtitleTypes::ass);
    EXPECT_TRUE(comments->subtitleLinesArray().isEmpty());
    EXPECT_TRUE(comments->subtitleStylesArray().isEmpty());
    EXPECT_TRUE(comments->subtitleIsValid());

    const auto ssa = loaded("old.ssa", subtitleTypes::ass);
    EXPECT_EQ(ssa->styleHeader(), "[V4 Styles]");
    EXPECT_EQ(ssa->scriptInfoDictionary().value("ScriptType"), "v4.00");
    expectLines(*ssa, {{0, 1.0, 2.0, "Old style line"}}, "old.ssa");
    EXPECT_EQ(ssa->subtitleLinesArray()[0]->Layer(), 0);
}

// Queued work holds the document: dropping every other reference during a
// load does not end it before its publication has run.
TEST(SCSubtitleLoad, QueuedWorkKeepsTheDocumentAlive) {
    auto subtitle = SCSubtitle::create();
    std::weak_ptr<SCSubtitle> weak = subtitle;
    subtitle->setSubtitleFileType(subtitleTypes::srt);
    EXPECT_EQ(subtitle->initializeFromTextSubURL(fixture("lf.srt"), "UTF8"), resultTypes::ok);
    QSignalSpy published(subtitle.get(), &SCSubtitle::subtitleLinesArrayChanged);
    subtitle.reset();
    EXPECT_FALSE(weak.expired());
    testsupport::spinUntil([&] { return weak.expired(); });
    EXPECT_EQ(published.count(), 1);
    EXPECT_TRUE(weak.expired());
}
