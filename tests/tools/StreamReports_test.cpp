#include "tools/StreamReports.h"

#include "ToolsFixture.h"
#include "platform/AppPaths.h"
#include "platform/ChildProcess.h"
#include "tools/SCPreferences.h"

namespace {

// Fake media tools that print their arguments, one per line, on the stream
// and with the status that the test asks for.
class StreamReports : public ToolsFixture {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        preferences->setToolsLocationURL(QUrl::fromLocalFile(path("tools")));
    }
    void fakeTool(const QString& name, const QByteArray& redirect, int status) {
        writeScript("tools/ffmpeg/" + name, "for a in \"$@\"; do printf '%s\\n' \"$a\"" + redirect +
                                                "; done; exit " + QByteArray::number(status));
    }
};

TEST_F(StreamReports, EachToolGetsItsArguments) {
    fakeTool("ffmpeg", " >&2", 1);
    fakeTool("ffprobe", "", 0);
    const QUrl media = QUrl::fromLocalFile(path("a \"b\" $c.mkv"));
    const QString file = media.toLocalFile();
    EXPECT_EQ(findFfmpegFileInfo(media), "-i\n" + file + "\n-hide_banner\n");
    EXPECT_EQ(findFfprobeJsonString(media),
              "-i\n" + file + "\n-show_streams\n-show_chapters\n-print_format\njson\n");
    EXPECT_EQ(findFfprobeJsonData(media),
              ("-i\n" + file + "\n-show_streams\n-print_format\njson\n").toUtf8());
}

TEST_F(StreamReports, TheStatusChoosesTheStream) {
    const QUrl media = QUrl::fromLocalFile(path("m.mkv"));
    fakeTool("ffprobe", " >&2", 0);
    EXPECT_EQ(findFfprobeJsonString(media), QString(""));
    EXPECT_EQ(findFfprobeJsonData(media), QByteArray(""));
    fakeTool("ffprobe", "", 2);
    EXPECT_EQ(findFfprobeJsonData(media), QByteArray(""));
    writeScript("tools/ffmpeg/ffprobe", "exit 0");
    EXPECT_EQ(findFfprobeJsonData(media), std::nullopt);
    writeScript("tools/ffmpeg/ffmpeg", "printf '\\377' >&2; exit 1");
    EXPECT_EQ(findFfmpegFileInfo(media), std::nullopt);
}

TEST_F(StreamReports, AMissingToolGivesNoReport) {
    const QUrl media = QUrl::fromLocalFile(path("m.mkv"));
    EXPECT_EQ(findFfmpegFileInfo(media), std::nullopt);
    EXPECT_EQ(findFfprobeJsonData(media), std::nullopt);
}

// The carried tools themselves, from the generated resources folder.
class RealStreamReports : public ToolsFixture {};

TEST_F(RealStreamReports, FfmpegReportsSizeAndStart) {
    const QString movie = path("small movie.mkv");
    const auto made = platform::ChildProcess::run(
        platform::AppPaths::resourcesFolder() + "/ffmpeg/ffmpeg",
        {"-v", "error", "-f", "lavfi", "-i", "color=c=black:s=64x32:d=0.2", "-c:v", "ffv1", movie},
        {.timeLimit = std::chrono::minutes(5)});
    ASSERT_TRUE(made.succeeded()) << made.standardError.toStdString();

    const auto report = findFfmpegFileInfo(QUrl::fromLocalFile(movie));
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(report->contains("64x32")) << report->toStdString();
    EXPECT_TRUE(report->contains("start:")) << report->toStdString();
    EXPECT_FALSE(report->contains("configuration:"));

    const auto json = findFfprobeJsonString(QUrl::fromLocalFile(movie));
    ASSERT_TRUE(json.has_value());
    EXPECT_TRUE(json->contains("\"width\": 64")) << json->toStdString();

    const auto missing = findFfprobeJsonString(QUrl::fromLocalFile(path("missing.mkv")));
    ASSERT_TRUE(missing.has_value());
    EXPECT_TRUE(missing->contains("No such file")) << missing->toStdString();
}

}  // namespace
