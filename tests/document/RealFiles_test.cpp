// Faults that real subtitle files and save-and-reopen runs exposed, one
// small fixture each.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "DocumentFixtures.h"
#include "formatting/SCStyle.h"

using namespace documenttest;

namespace {

QUrl realFile(const QString& name) {
    return QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/realfiles/") + name);
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList textsOf(const SCSubtitle& subtitle) {
    QStringList texts;
    for (const auto& line : subtitle.subtitleLinesArray()) texts.append(line->unformattedTextSRT());
    return texts;
}

const char* const kKeptSections =
    "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Only line\n"
    "\n[Aegisub Project Garbage]\nVideo File: movie.mkv\n"
    "\n[Fonts]\nfontname: demo_0.ttf\n"
    "M=5!(``````````!``P`@``0`$```````!```/`!``0`````$@``$`A`!```X`\n"
    "M`!@`\"``\"````P`!``$``@`#``0`!0`&``<`\"``)``H`\"P`,``T`#@`/`!``\n"
    ",1`!(`$P`4`!4`%@`7\n"
    "\n[Graphics]\nfilename: logo.png\n"
    "M05!.1PT*&@H````-24A$4@```!````!`(!@```!]/]0J````\"7!(67,```L3\n";

struct Case {
    const char* fault;
    const char* file;
    subtitleTypes type;
    resultTypes load = resultTypes::ok;
    DocumentFailure::Kind failure = DocumentFailure::Kind::none;
    qsizetype lines = -1;  // -1: not checked
    qsizetype styles = -1;
    QStringList texts = {};  // SRT form, when given
    std::optional<subtitleTypes> exportAs = std::nullopt;
    const char* encoding = "UTF8";
    resultTypes write = resultTypes::ok;
    QByteArray written = {};  // must stand in the written file
    bool reopens = false;     // the written file loads with the same texts
};

}  // namespace

TEST(RealFiles, FaultsOfRealFilesAreMended) {
    using K = DocumentFailure::Kind;
    const auto ass = subtitleTypes::ass;
    const auto srt = subtitleTypes::srt;
    const Case cases[] = {
        {.fault = "1, 2: fonts, pictures and junk lines in the styles block",
         .file = "fonts-block.ass",
         .type = ass,
         .lines = 1,
         .styles = 1,
         .exportAs = ass,
         .written = kKeptSections},
        {.fault = "1: the real style keeps its values",
         .file = "fonts-block.ass",
         .type = ass,
         .exportAs = ass,
         .written = "Style: Default,Verdana,48,"},
        {.fault = "3: [V4++ Styles] keeps ASS alignments",
         .file = "v4pp-styles.ass",
         .type = ass,
         .styles = 1,
         .exportAs = ass,
         .written = ",1,2,1,8,20,20,20,0\n"},
        {.fault = "4: a point before the milliseconds",
         .file = "point-times.srt",
         .type = srt,
         .texts = {"Point before the milliseconds", "And hundredths"},
         .exportAs = srt,
         .written = "00:00:38,500 --> 00:00:41,628\n"},
        {.fault = "4: a point before hundredths",
         .file = "point-times.srt",
         .type = srt,
         .exportAs = srt,
         .written = "00:00:42,000 --> 00:00:43,250\n"},
        {.fault = "4: a point past a day",
         .file = "point-past-a-day.srt",
         .type = srt,
         .exportAs = srt,
         .written = "01:00:00,500 --> 01:00:01,250\n"},
        {.fault = "literal {} at a text's ends through ASS",
         .file = "braces-at-edges.srt",
         .type = srt,
         .texts = {"{} braces first", "braces last {}", "{}{}", "{}{}twice{}{}", "{}"},
         .exportAs = ass,
         .written = ",{}{} braces first\n",
         .reopens = true},
        {.fault = "5: whole seconds",
         .file = "whole-seconds.srt",
         .type = srt,
         .lines = 2,
         .exportAs = srt,
         .written = "00:00:00,000 --> 00:00:05,000\n"},
        {.fault = "6: text without a readable cue",
         .file = "no-readable-line.srt",
         .type = srt,
         .load = resultTypes::error,
         .failure = K::noReadableLine,
         .lines = 0},
        {.fault = "6: an empty file stays no subtitle",
         .file = "empty.srt",
         .type = srt,
         .load = resultTypes::error,
         .failure = K::noReadableLine,
         .lines = 0},
        {.fault = "6: an events section without events",
         .file = "no-events.ass",
         .type = ass,
         .lines = 0,
         .styles = 1},
        {.fault = "7: seconds beyond any time",
         .file = "huge-time.srt",
         .type = srt,
         .texts = {"Kept"}},
        {.fault = "8: direction marks the encoding lacks",
         .file = "hebrew-marks.srt",
         .type = srt,
         .exportAs = srt,
         .encoding = "DOSHebrew",
         .write = resultTypes::error},
        {.fault = "9: backslash and tilde as yen and overline",
         .file = "backslash.ass",
         .type = ass,
         .exportAs = ass,
         .encoding = "MacJapanese",
         .write = resultTypes::error},
        {.fault = "9: the same through JIS X 0201",
         .file = "backslash.ass",
         .type = ass,
         .exportAs = ass,
         .encoding = "JIS_X0201_76",
         .write = resultTypes::error},
        {.fault = "9: the same through Shift_JIS X 0213",
         .file = "backslash.ass",
         .type = ass,
         .exportAs = ass,
         .encoding = "ShiftJIS_X0213",
         .write = resultTypes::error},
        {.fault = "10: an event quoting \"Dialogue: \"",
         .file = "dialogue-in-text.ass",
         .type = ass,
         .texts = {"He wrote Dialogue: hello, then left", "Plain"},
         .exportAs = ass,
         .reopens = true},
        {.fault = "10, 11: quoted prefix and blank texts through ASS",
         .file = "round-trip.srt",
         .type = srt,
         .texts = {"Script note. Dialogue: hello", "   ", "Last line of blanks\n  "},
         .exportAs = ass,
         .reopens = true},
        {.fault = "fuzzing: a cue of blank lines only through SRT",
         .file = "blank-lines.srt",
         .type = srt,
         .texts = {" \n  ", "Kept"},
         .exportAs = srt,
         .reopens = true},
        {.fault = "fuzzing: an entry on the script-information header line",
         .file = "header-with-entry.ass",
         .type = ass,
         .lines = 1,
         .exportAs = ass,
         .reopens = true},
        {.fault = "12: a private-use character mapped one way",
         .file = "one-way.srt",
         .type = srt,
         .exportAs = srt,
         .encoding = "ISO_2022_JP",
         .write = resultTypes::error},
        {.fault = "12: full-width signs mapped one way",
         .file = "one-way.srt",
         .type = srt,
         .exportAs = srt,
         .encoding = "MacJapanese",
         .write = resultTypes::error},
    };
    QTemporaryDir scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        auto subtitle = SCSubtitle::create();
        ASSERT_EQ(load(subtitle, realFile(c.file), c.type), c.load);
        EXPECT_EQ(subtitle->lastFailure().kind, c.failure);
        if (c.lines >= 0) {
            EXPECT_EQ(subtitle->subtitleLinesArray().size(), c.lines);
        }
        if (c.styles >= 0) {
            EXPECT_EQ(subtitle->subtitleStylesArray().size(), c.styles);
        }
        if (!c.texts.isEmpty()) {
            EXPECT_EQ(textsOf(*subtitle), c.texts);
        }
        if (!c.exportAs) continue;

        // A failed save leaves the file that was there.
        const QString target = scratch.filePath(QString("out.") + c.exportAs->rawValue());
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old contents");
        }
        subtitle->setCurrentExportFileType(*c.exportAs);
        EXPECT_EQ(subtitle->writeSubToURL(QUrl::fromLocalFile(target), c.encoding), c.write);
        const QByteArray written = contentsOf(target);
        if (c.write == resultTypes::error) {
            EXPECT_EQ(written, "old contents");
            EXPECT_EQ(subtitle->lastFailure().kind, K::unencodable);
            continue;
        }
        if (!c.written.isEmpty()) {
            EXPECT_TRUE(written.contains(c.written)) << written.toStdString();
        }
        if (c.reopens) {
            auto reopened = SCSubtitle::create();
            ASSERT_EQ(load(reopened, QUrl::fromLocalFile(target), *c.exportAs), resultTypes::ok);
            EXPECT_EQ(textsOf(*reopened), textsOf(*subtitle));
        }
    }
}
