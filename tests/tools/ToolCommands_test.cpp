// The carried tools' argument builders and output readers, fed with recorded
// and hand-made outputs.
#include <QFile>
#include <QList>

#include "ToolsFixture.h"
#include "tools/FfmpegReport.h"
#include "tools/FfprobeReport.h"
#include "tools/MkvmergeCommand.h"
#include "tools/TesseractCommand.h"

namespace {

QByteArray recorded(const QString& name) {
    QFile file(QStringLiteral(QUILLMAR_FIXTURES "/tools/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

struct ReportCase {
    const char* name;
    QString report;
    std::optional<FfmpegPictureSize> size;
    double startTime;
};

TEST(FfmpegReport, Table) {
    const QString stream = "  Stream #0:0(eng): Subtitle: dvd_subtitle, 720x576 (default)\n";
    const QList<ReportCase> cases = {
        {"recorded VobSub", recorded("ffmpeg-report-vobsub.txt"), {{720, 576}}, 0},
        {"recorded PGS", recorded("ffmpeg-report-pgs.txt"), {{1920, 1080}}, 1.0},
        {"recorded h264: stream ids and codec tags are no sizes",
         recorded("ffmpeg-report-h264.txt"),
         {{64, 32}},
         0},
        {"log tags before the stream line",
         "[matroska,webm @ 0x55d0c8a4e2c0] Could not find codec parameters\n"
         "  Duration: 00:00:07.00, start: 2.500000, bitrate: 9 kb/s\n" +
             stream,
         {{720, 576}},
         2.5},
        {"a size outside the stream lines", "  Comment: made at 640x480\n", std::nullopt, 0},
        {"negative start", "  Duration: N/A, start: -1.500000\n" + stream, {{720, 576}}, -1.5},
        {"whole-number start", "start: 123\n", std::nullopt, 123},
        {"a start that does not read", "start: 12a34\n" + stream, {{720, 576}}, 0},
        {"no start", stream, {{720, 576}}, 0},
        {"an overlong size", "  Stream #0:0: Subtitle: x, 100000000000000000000000x576\n" + stream,
         std::nullopt, 0},
        {"nothing", "", std::nullopt, 0},
    };
    for (const ReportCase& c : cases) {
        const FfmpegFileInfo info = parseFfmpegFileInfo(c.report);
        EXPECT_EQ(info.size, c.size) << c.name;
        EXPECT_EQ(info.startTime, c.startTime) << c.name;
    }
    EXPECT_EQ(ffmpegFileInfoArguments("/a b/c.mkv"),
              QStringList({"-i", "/a b/c.mkv", "-hide_banner"}));
}

TEST(FfprobeReport, Streams) {
    const auto streams = parseFfprobeStreams(recorded("ffprobe-vobsub.json"));
    ASSERT_TRUE(streams.has_value());
    const QList<FfprobeStream> expected = {
        {0, "subtitle", "dvd_subtitle", 720, 576, "eng"},
        {1, "subtitle", "dvd_subtitle", 720, 576, "ger"},
    };
    EXPECT_EQ(*streams, expected);
    EXPECT_EQ(parseFfprobeStreams("m.mkv: No such file or directory\n"), std::nullopt);
    EXPECT_EQ(parseFfprobeStreams("{\"chapters\": []}"), std::nullopt);
    EXPECT_EQ(parseFfprobeStreams("{\"streams\": []}"), QList<FfprobeStream>());
}

TEST(MkvmergeCommand, ArgumentsAndOutcomes) {
    EXPECT_EQ(mkvmergeArguments("/t/o.mkv", "/s/a \"b\".idx"),
              QStringList({"-o", "/t/o.mkv", "/s/a \"b\".idx"}));
    using Outcome = platform::ChildProcess::Outcome;
    const auto run = [](Outcome outcome, int status) {
        ToolRunResult result;
        result.outcome = outcome;
        result.started = outcome != Outcome::FailedToStart;
        result.exitStatus = status;
        return result;
    };
    EXPECT_EQ(mkvmergeOutcome(run(Outcome::Exited, 0)), MkvmergeOutcome::Succeeded);
    EXPECT_EQ(mkvmergeOutcome(run(Outcome::Exited, 1)), MkvmergeOutcome::SucceededWithWarnings);
    EXPECT_EQ(mkvmergeOutcome(run(Outcome::Exited, 2)), MkvmergeOutcome::Failed);
    for (Outcome failed : {Outcome::Signalled, Outcome::TimedOut, Outcome::Cancelled,
                           Outcome::FailedToStart, Outcome::NotStarted})
        EXPECT_EQ(mkvmergeOutcome(run(failed, -1)), MkvmergeOutcome::Failed);
}

TEST(TesseractCommand, ArgumentsAndText) {
    EXPECT_EQ(tesseractArguments("/t/a b.png", "eng"),
              QStringList({"/t/a b.png", "/t/a b.png", "-l", "eng", "exclusions"}));
    EXPECT_EQ(tesseractArguments("/p.png", " Deu+fra"),
              QStringList({"/p.png", "/p.png", "-l", " Deu+fra", "exclusions"}));
    EXPECT_EQ(tesseractTextFilePath("/t/croppedPng.A1.png"), "/t/croppedPng.A1.png.txt");

    const QList<std::pair<QByteArray, QString>> texts = {
        {"Two\nrows\n\n", "Two\nrows"},
        {" word \n", " word "},
        {"\n\n\f\r\x0B", ""},
        {"", ""},
        {"\tTab\xE2\x80\xA8", "\tTab"},
        {"\xC2\x85\xC3\xA9t\xC3\xA9\n", "\u00E9t\u00E9"},
        {"caf\xE9\n", ""},  // neither UTF-8 nor ASCII
    };
    for (const auto& [bytes, text] : texts)
        EXPECT_EQ(tesseractText(bytes), text) << bytes.toStdString();
}

}  // namespace
