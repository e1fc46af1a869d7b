#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>

#include "DocumentFixtures.h"
#include "common/TimeTexts.h"
#include "document/ASSFormat.h"
#include "document/ParallelTextPieces.h"
#include "document/SRTFormat.h"
#include "document/SubtitleFileText.h"
#include "formatting/SCStyle.h"
#include "platform/LogSink.h"
#include "platform/TemporaryFolder.h"
#include "support/PlatformOverrides.h"

using documenttest::fixture;
using documenttest::load;
using documenttest::loaded;

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const char* const kDefaultStyleLines =
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,Arial,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,"
    "1,2,1,2,20,20,20,0\n";

// Enough lines to be built on several threads. The lines at each piece's
// edges begin and end with non-ASCII text (a surrogate pair when `wide`);
// every seventh line is excluded, so the SRT numbers skip it.
std::shared_ptr<SCSubtitle> generated(bool wide) {
    const std::size_t count = ParallelTextPieces::kMinimumForThreads + 600;
    const QString edge = wide ? QString::fromUtf8("\U0001F600") : QString::fromUtf8("\u00E9");
    SCSubtitleLineList lines;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t inPiece = i % ParallelTextPieces::kLinesPerPiece;
        const bool atEdge = inPiece == 0 || inPiece + 1 == ParallelTextPieces::kLinesPerPiece;
        const QString text = QString::fromUtf8("Zo\u00EB says %1\nwell").arg(i);
        auto line = SCSubtitleLine::create();
        line->initializeFromSRTBlock({QString::number(i + 1),
                                      srtTimeStringFromDoubleTime(double(i)) + " --> " +
                                          srtTimeStringFromDoubleTime(i + 0.5),
                                      atEdge ? edge + text + edge : text});
        if (i % 7 == 3) line->setIsExcluded(true);
        lines.append(line);
    }
    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleLinesArray(lines);
    return subtitle;
}

// The document's text built line by line by the value writers.
QString serialText(const SCSubtitle& subtitle, subtitleTypes type) {
    if (type == subtitleTypes::srt) {
        std::vector<SrtCue> cues;
        for (const auto& line : subtitle.subtitleLinesArray())
            if (!line->isExcluded()) cues.push_back(line->srtCue());
        return SRTFormat::documentText(cues);
    }
    AssDocument document{subtitle.scriptInfoDictionary(), {}, {}, subtitle.keptSections()};
    for (const auto& style : subtitle.subtitleStylesArray())
        document.styleLines.append(style->assStyleString());
    for (const auto& line : subtitle.subtitleLinesArray())
        if (!line->isExcluded()) document.events.push_back(line->assEvent());
    return ASSFormat::documentText(document);
}

}  // namespace

class SCSubtitleWrite : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return scratch.path() + "/" + name; }
    QUrl url(const QString& name) const { return QUrl::fromLocalFile(path(name)); }
    QTemporaryDir scratch;
};

TEST_F(SCSubtitleWrite, WritesSRTAsTheFormatSays) {
    const auto subtitle = loaded("lf.srt", subtitleTypes::srt);
    ASSERT_EQ(subtitle->subtitleLinesArray().size(), 2);
    auto extra = SCSubtitleLine::create();
    extra->initializeFromSRTBlock({"x", "00:00:05,000 --> 00:00:06,000", "Third", " ", "line"});
    auto lines = subtitle->subtitleLinesArray();
    lines[0]->setIsExcluded(true);
    lines.append(extra);
    subtitle->setSubtitleLinesArray(lines);

    ASSERT_EQ(subtitle->writeSubToURL(url("out.srt"), "UTF8"), resultTypes::ok);
    EXPECT_EQ(contentsOf(path("out.srt")),
              "1\n00:00:03,000 --> 00:00:04,000\nSecond\n\n"
              "2\n00:00:05,000 --> 00:00:06,000\nThird\nline\n\n");
}

TEST_F(SCSubtitleWrite, WritesASSAsTheFormatSays) {
    const auto subtitle = loaded("lf.srt", subtitleTypes::srt);
    subtitle->setCurrentExportFileType(subtitleTypes::ass);
    ASSERT_EQ(subtitle->writeSubToURL(url("out.ass"), "UTF8"), resultTypes::ok);
    const QByteArray expected = QByteArray(
                                    "[Script Info]\n"
                                    "Collisions: Normal\nPlayResX: 720\nPlayResY: 640\n"
                                    "ScriptType: v4.00+\nTimer: 100.0000\n"
                                    "\n[V4+ Styles]\n") +
                                kDefaultStyleLines +
                                "\n[Events]\n"
                                "Format: Layer, Start, End, Style, Name, MarginL, MarginR, "
                                "MarginV, Effect, Text\n"
                                "Dialogue: 0,0:00:01.00,0:00:02.50,Default,Default,0,0,0,,"
                                "Hello\\N{\\i1}World{\\i0}\n"
                                "Dialogue: 0,0:00:03.00,0:00:04.00,Default,Default,0,0,0,,Second\n";
    EXPECT_EQ(contentsOf(path("out.ass")), expected);
}

// An ASS file whose events are all comments loads with no line and no
// style; its export still has both Format lines.
TEST_F(SCSubtitleWrite, WritesADocumentWithoutStylesOrLines) {
    const auto subtitle = loaded("comments-only.ass", subtitleTypes::ass);
    subtitle->setCurrentExportFileType(subtitleTypes::ass);
    ASSERT_EQ(subtitle->writeSubToURL(url("empty.ass"), "UTF8"), resultTypes::ok);
    const QByteArray written = contentsOf(path("empty.ass"));
    EXPECT_TRUE(
        written.endsWith("\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, "
                         "MarginR, MarginV, Effect, Text\n"));
    EXPECT_TRUE(written.contains("[V4+ Styles]\nFormat: Name, Fontname,"));

    const auto none = SCSubtitle::create();
    ASSERT_EQ(none->writeSubToURL(url("empty.srt"), "UTF8"), resultTypes::ok);
    EXPECT_EQ(contentsOf(path("empty.srt")), "");
}

TEST_F(SCSubtitleWrite, EncodesInTheNamedEncoding) {
    const auto subtitle = loaded("latin1.srt", subtitleTypes::srt, "ISOLatin1");
    ASSERT_EQ(subtitle->writeSubToURL(url("latin1.srt"), "ISOLatin1"), resultTypes::ok);
    EXPECT_EQ(contentsOf(path("latin1.srt")),
              contentsOf(fixture("latin1.srt").toLocalFile()) + "\n");
    ASSERT_EQ(subtitle->writeSubToURL(url("utf8.srt"), "utf8"), resultTypes::ok);
    EXPECT_TRUE(contentsOf(path("utf8.srt")).contains("Caf\xc3\xa9"));
}

// A text the encoding cannot hold fails before the file is touched.
TEST_F(SCSubtitleWrite, AFailedWriteLeavesTheOldFile) {
    {
        QFile old(path("keep.srt"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    QStringList logged;
    testsupport::ScopedOverride<platform::LogSink::Hook> capture(
        &platform::LogSink::setCaptureHook, [&](const QString& entry) { logged.append(entry); });
    const auto subtitle = SCSubtitle::create();
    auto line = SCSubtitleLine::create();
    line->setUnformattedTextSRT(QString::fromUtf8("Price: 5 €"));
    subtitle->setSubtitleLinesArray({line});
    EXPECT_EQ(subtitle->writeSubToURL(url("keep.srt"), "ISOLatin1"), resultTypes::error);
    EXPECT_EQ(subtitle->writeSubToURL(url("no/such/folder.srt"), "UTF8"), resultTypes::error);
    testsupport::drainMainQueue();
    capture.set({});
    EXPECT_EQ(contentsOf(path("keep.srt")), "old contents");
    ASSERT_EQ(logged.size(), 2);
    EXPECT_EQ(logged[0], "!!!! error writing to file: " + url("keep.srt").toString());
    EXPECT_FALSE(subtitle->exportTempSubtitleWithEncoding("ISOLatin1"));
}

TEST_F(SCSubtitleWrite, ExportsToANewPrivateTemporaryFile) {
    testsupport::ScopedTemporaryFolder folder(path("private"));
    const auto subtitle = loaded("lf.srt", subtitleTypes::srt);
    for (subtitleTypes type : {subtitleTypes::srt, subtitleTypes::ass}) {
        subtitle->setCurrentExportFileType(type);
        const auto exported = subtitle->exportTempSubtitleWithEncoding("UTF8");
        ASSERT_TRUE(exported);
        const QFileInfo info(exported->toLocalFile());
        EXPECT_EQ(info.absolutePath() + "/", platform::TemporaryFolder::path());
        const QRegularExpression form("^quillmarExport\\.([1-9][0-9]{0,5})\\." + type.rawValue() +
                                      "$");
        EXPECT_TRUE(form.match(info.fileName()).hasMatch()) << info.fileName().toStdString();
        EXPECT_EQ(info.permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
        subtitle->setCurrentExportFileType(type);
        EXPECT_FALSE(contentsOf(info.filePath()).isEmpty());
    }
    // Failed exports leave nothing behind.
    auto line = SCSubtitleLine::create();
    line->setUnformattedTextSRT(QString::fromUtf8("€"));
    subtitle->setSubtitleLinesArray({line});
    const auto before = QDir(path("private")).entryList(QDir::Files).size();
    EXPECT_FALSE(subtitle->exportTempSubtitleWithEncoding("ISOLatin1"));
    EXPECT_EQ(QDir(path("private")).entryList(QDir::Files).size(), before);
}

TEST_F(SCSubtitleWrite, SRTToASSToSRTKeepsEveryTimeAndText) {
    const auto first = loaded("odd-times.srt", subtitleTypes::srt);
    first->setCurrentExportFileType(subtitleTypes::ass);
    ASSERT_EQ(first->writeSubToURL(url("trip.ass"), "UTF8"), resultTypes::ok);

    auto second = SCSubtitle::create();
    ASSERT_EQ(load(second, url("trip.ass"), subtitleTypes::ass), resultTypes::ok);
    second->setCurrentExportFileType(subtitleTypes::srt);
    ASSERT_EQ(second->writeSubToURL(url("trip.srt"), "UTF8"), resultTypes::ok);

    auto third = SCSubtitle::create();
    ASSERT_EQ(load(third, url("trip.srt"), subtitleTypes::srt), resultTypes::ok);
    const auto& a = first->subtitleLinesArray();
    const auto& c = third->subtitleLinesArray();
    ASSERT_EQ(a.size(), c.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        EXPECT_EQ(c[i]->userStartTimeStringSRT(), a[i]->userStartTimeStringSRT());
        EXPECT_EQ(c[i]->userEndTimeStringSRT(), a[i]->userEndTimeStringSRT());
        EXPECT_EQ(c[i]->unformattedTextSRT(), a[i]->unformattedTextSRT());
    }
    first->setCurrentExportFileType(subtitleTypes::srt);
    ASSERT_EQ(first->writeSubToURL(url("direct.srt"), "UTF8"), resultTypes::ok);
    EXPECT_EQ(contentsOf(path("trip.srt")), contentsOf(path("direct.srt")));
}

// SSA is written back as ASS: V4+ header and fields, alignment renumbered,
// TertiaryColour as OutlineColour, decimal colours as "&H" texts, the file's
// own ScriptType kept.
TEST_F(SCSubtitleWrite, WritesAnSSAFileAsASS) {
    const auto subtitle = loaded("old.ssa", subtitleTypes::ass);
    subtitle->setCurrentExportFileType(subtitleTypes::ass);
    ASSERT_EQ(subtitle->writeSubToURL(url("old.ass"), "UTF8"), resultTypes::ok);
    const QByteArray expected =
        "[Script Info]\nScriptType: v4.00\nTitle: Old format\n"
        "\n[V4+ Styles]\n"
        "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
        "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
        "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
        "Style: Default,Arial,20,&H00ffffff,&H0000ffff,&H000000ff,&H00000000,-1,0,0,0,100,100,0,0,"
        "1,2,2,8,30,30,10,0\n"
        "\n[Events]\n"
        "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
        "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Old style line\n";
    EXPECT_EQ(contentsOf(path("old.ass")), expected);
}

// Section headers in lower case, as players read them: the styles section
// is the ASS one (its alignment 7 stays 7), and the file is written with
// the headers the writer always writes.
TEST_F(SCSubtitleWrite, ReadsLowerCaseSectionHeadersAndWritesTheUsualOnes) {
    const auto subtitle = loaded("lower-case-headers.ass", subtitleTypes::ass);
    ASSERT_TRUE(subtitle->subtitleIsValid());
    EXPECT_EQ(subtitle->styleHeader(), "[v4+ styles]");
    ASSERT_EQ(subtitle->subtitleLinesArray().size(), 2);
    EXPECT_EQ(subtitle->subtitleLinesArray()[1]->Text(), "Second\nline");
    ASSERT_EQ(subtitle->subtitleStylesArray().size(), 1);
    subtitle->setCurrentExportFileType(subtitleTypes::ass);
    ASSERT_EQ(subtitle->writeSubToURL(url("lower.ass"), "UTF8"), resultTypes::ok);
    const QByteArray expected =
        "[Script Info]\nScriptType: v4.00+\nTitle: Lower-case headers\n"
        "\n[V4+ Styles]\n"
        "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
        "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
        "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
        "Style: Top,Arial,30,&H00ffffff,&H0000ffff,&H00000000,&H00000000,0,0,0,0,100,100,0,0,"
        "1,2,1,7,20,20,20,0\n"
        "\n[Events]\n"
        "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
        "Dialogue: 0,0:00:01.00,0:00:02.50,Top,,0,0,0,,First line\n"
        "Dialogue: 0,0:00:03.00,0:00:04.00,Top,,0,0,0,,Second\\Nline\n";
    EXPECT_EQ(contentsOf(path("lower.ass")), expected);
}

// Each style's values are applied on the main queue ahead of the
// publication, so the published styles hold them.
TEST_F(SCSubtitleWrite, PublishedStylesHoldTheirValues) {
    const auto subtitle = loaded("two-styles.ass", subtitleTypes::ass);
    ASSERT_EQ(subtitle->subtitleStylesArray().size(), 2);
    EXPECT_EQ(subtitle->subtitleStylesArray()[1]->assStyleString(),
              "Style: Sign,DejaVu Sans,24,&H0000ffff,&H0000ffff,&H00000000,&H00000000,0,0,0,0,100,"
              "100,0,0,1,1,0,8,10,10,10,0");
}

// Small and large documents in encodings written piece by piece (Unicode
// forms with and without a mark, single-byte sets, the escaped ASCII) and
// one written whole: the file holds the bytes of the whole text encoded at
// once; a text that cannot be encoded fails as the whole text does, naming
// the same line, and leaves the old file and no other.
TEST_F(SCSubtitleWrite, WritesTheBytesOfTheWholeTextInEveryEncoding) {
    const std::pair<const char*, std::shared_ptr<SCSubtitle>> documents[] = {
        {"small", loaded("lf.srt", subtitleTypes::srt)},
        {"kept sections", loaded("../realfiles/fonts-block.ass", subtitleTypes::ass)},
        {"marks", loaded("../realfiles/hebrew-marks.srt", subtitleTypes::srt)},
        {"wide", generated(true)},
        {"narrow", generated(false)}};
    const char* const encodings[] = {"UTF8",          "Unicode",       "UTF16LE",   "UTF32",
                                     "NonLossyASCII", "WindowsLatin1", "ISOLatin1", "MacJapanese"};
    for (const auto& [name, subtitle] : documents) {
        ASSERT_FALSE(subtitle->subtitleLinesArray().isEmpty()) << name;
        for (subtitleTypes type : {subtitleTypes::srt, subtitleTypes::ass}) {
            subtitle->setCurrentExportFileType(type);
            const QString text = serialText(*subtitle, type);
            ASSERT_EQ(subtitle->documentText(), text) << name;
            for (const char* encoding : encodings) {
                SCOPED_TRACE(std::string(name) + " " + type.rawValue().toStdString() + " " +
                             encoding);
                DocumentFailure expected;
                const auto bytes = SubtitleFileText::encode(text, encoding, expected);
                const QString target = path(QString("out-%1.%2").arg(encoding, type.rawValue()));
                {
                    QFile old(target);
                    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                    old.write("old contents");
                }
                const auto result = subtitle->writeSubToURL(QUrl::fromLocalFile(target), encoding);
                if (bytes) {
                    ASSERT_EQ(result, resultTypes::ok);
                    EXPECT_EQ(contentsOf(target), *bytes);
                    continue;
                }
                ASSERT_EQ(result, resultTypes::error);
                EXPECT_EQ(contentsOf(target), "old contents");
                const DocumentFailure failure = subtitle->lastFailure();
                EXPECT_EQ(failure.kind, DocumentFailure::Kind::unencodable);
                EXPECT_EQ(failure.line, expected.line);
                EXPECT_EQ(failure.encoding, expected.encoding);
                EXPECT_EQ(failure.path, target);
            }
        }
    }
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files).size(), 2 * std::size(encodings));
}

// A field of an ASS record has no escape for a comma, and a section header
// is a line of its own: every record written reads back field for field.
// Commas are written as ";" (the log says so once per export); a line break
// in a script-information value becomes a blank.
TEST_F(SCSubtitleWrite, ASSFieldsReopenAsTheyWereWritten) {
    using Change = std::function<void(SCSubtitle&)>;
    const auto style = [](SCSubtitle& s, int i) { return s.subtitleStylesArray()[i]; };
    const auto line = [](SCSubtitle& s, int i) { return s.subtitleLinesArray()[i]; };
    struct Case {
        const char* name;
        const char* file;
        Change change;
        bool logged;
        QMap<QString, QString> info = {};  // entries the reopened file holds
        std::function<void(SCSubtitle&)> reads = {};
    } cases[] = {
        {"comma in a font",
         "two-styles.ass",
         [&](SCSubtitle& s) { style(s, 1)->setFontname("Arial, Bold"); },
         true,
         {},
         [&](SCSubtitle& s) {
             EXPECT_EQ(style(s, 1)->Fontname(), "Arial; Bold");
             EXPECT_EQ(style(s, 1)->Fontsize(), 24);
             EXPECT_EQ(style(s, 1)->Encoding(), "0");
         }},
        {"header in a font",
         "two-styles.ass",
         [&](SCSubtitle& s) { style(s, 0)->setFontname("[Events]"); },
         false,
         {},
         [&](SCSubtitle& s) { EXPECT_EQ(style(s, 0)->Fontname(), "[Events]"); }},
        {"comma in a style name and a line's style", "two-styles.ass",
         [&](SCSubtitle& s) {
             style(s, 1)->setName("Sign, top");
             line(s, 1)->setStyle("Sign, top");
         },
         true},
        {"commas in an event's name and effect", "two-styles.ass",
         [&](SCSubtitle& s) {
             line(s, 0)->setName("Alice, Bob");
             line(s, 2)->setEffect("Scroll up;10,20");
         },
         true},
        {"Name last in the events Format line",
         "name-last.ass",
         {},
         true,
         {},
         [&](SCSubtitle& s) {
             EXPECT_EQ(line(s, 0)->Name(), "Alice; Bob");
             EXPECT_EQ(line(s, 0)->Text(), "Both speak");
         }},
        {"headers after a break in a title",
         "two-styles.ass",
         [](SCSubtitle& s) {
             auto info = s.scriptInfoDictionary();
             info["Title"] = "One\n[Events]";
             info["Comment"] = "A\r\n[V4+ Styles]\u2028B";
             s.setScriptInfoDictionary(info);
         },
         false,
         {{"Title", "One [Events]"}, {"Comment", "A [V4+ Styles] B"}}},
        {"a header quoted on one line",
         "two-styles.ass",
         [](SCSubtitle& s) {
             auto info = s.scriptInfoDictionary();
             info["Title"] = "[Script Info] [V4+ Styles] [Events]";
             s.setScriptInfoDictionary(info);
         },
         false,
         {{"Title", "[Script Info] [V4+ Styles] [Events]"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto subtitle = SCSubtitle::create();
        ASSERT_EQ(load(subtitle, fixture(c.file), subtitleTypes::ass), resultTypes::ok);
        if (c.change) c.change(*subtitle);
        subtitle->setCurrentExportFileType(subtitleTypes::ass);
        QStringList logged;
        {
            testsupport::ScopedOverride<platform::LogSink::Hook> capture(
                &platform::LogSink::setCaptureHook,
                [&](const QString& entry) { logged.append(entry); });
            ASSERT_EQ(subtitle->writeSubToURL(url("fields.ass"), "UTF8"), resultTypes::ok);
            testsupport::drainMainQueue();
        }
        EXPECT_EQ(logged.size(), c.logged ? 1 : 0) << logged.join("\n").toStdString();

        const auto reopened = SCSubtitle::create();
        ASSERT_EQ(load(reopened, url("fields.ass"), subtitleTypes::ass), resultTypes::ok);
        QStringList written, read;
        for (const auto& s : subtitle->subtitleStylesArray()) written.append(s->assStyleString());
        for (const auto& s : reopened->subtitleStylesArray()) read.append(s->assStyleString());
        for (const auto& l : subtitle->subtitleLinesArray()) written.append(l->assDialogueString());
        for (const auto& l : reopened->subtitleLinesArray()) read.append(l->assDialogueString());
        EXPECT_EQ(read, written);
        for (auto it = c.info.cbegin(); it != c.info.cend(); ++it)
            EXPECT_EQ(reopened->scriptInfoDictionary().value(it.key()), it.value());
        if (c.reads) c.reads(*reopened);
    }
}
