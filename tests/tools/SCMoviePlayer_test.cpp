#include "tools/SCMoviePlayer.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <future>
#include <limits>

#include "FakeResources.h"
#include "platform/AppPaths.h"
#include "platform/LogSink.h"

namespace {

using namespace std::chrono_literals;

// Records its arguments, environment and working folder, then waits (at
// most 30 s) until the test releases it.
const QByteArray kFakeFfplay = R"(r="$RECORD"
for a in "$@"; do printf '%s\0' "$a"; done > "$r/args"
env -0 > "$r/env"
pwd -P > "$r/cwd"
: > "$r/started"
i=0
while [ ! -e "$r/release" ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done
: > "$r/ended")";

class MoviePlayer : public FakeResources {
  protected:
    void SetUp() override {
        FakeResources::SetUp();
        qputenv("RECORD", path("record").toUtf8());
        fakeTool("ffplay", kFakeFfplay);
    }
    void TearDown() override {
        qunsetenv("RECORD");
        FakeResources::TearDown();
    }
    QString record(const QString& name) const { return path("record/" + name); }
    void release() const { writeFile("record/release", ""); }

    // Plays on another thread, as the preview does.
    std::future<bool> playInBackground(const QUrl& movie, std::optional<QUrl> subtitle,
                                       platform::CancellationFlag flag = {}) {
        return std::async(std::launch::async, [movie, subtitle, flag] {
            return SCMoviePlayer().playMovieUrl(movie, subtitle, 12.5, flag);
        });
    }
};

TEST_F(MoviePlayer, ArgumentsForEachTimeAndSubtitle) {
    const QString movie = path("-my «film» 'x' \"y\" [1].mkv");
    const QString subs = path("subs");
    const QStringList head{"-i", movie, "-ss"};
    const QStringList tail{"-af", "aformat=channel_layouts=stereo", "-sst", "111"};
    struct Row {
        double time;
        std::optional<QString> subtitle;  // relative to the subtitle folder
        QString timeText;
        QString filter;  // after "subtitles=" and the folder
    };
    const std::vector<Row> rows{
        {0, std::nullopt, "0.0", {}},
        {9.5, "a.srt", "9.5", "/a.srt"},
        {60, "b.ass", "60.0", "/b.ass"},
        {83.417, std::nullopt, "83.417", {}},
        {1e-7, "c.srt", "0.0000001", "/c.srt"},
        {-3, std::nullopt, "0.0", {}},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt, "0.0", {}},
        {12.5, "it's [a], b; c=d:e\\f g.srt", "12.5",
         R"(/it\\\'s \[a\]\, b\; c\\=d\\:e\\\\f g.srt)"},
    };
    release();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.timeText.toStdString());
        std::optional<QUrl> subtitle;
        if (row.subtitle) subtitle = QUrl::fromLocalFile(subs + "/" + *row.subtitle);
        ASSERT_TRUE(SCMoviePlayer().playMovieUrl(QUrl::fromLocalFile(movie), subtitle, row.time));
        QStringList expected = head + QStringList{row.timeText} + tail;
        if (row.subtitle)
            expected << "-vf"
                     << "subtitles=" + subs + row.filter;
        EXPECT_EQ(splitRecord(readFile(record("args"))), expected);
        EXPECT_EQ(SCMoviePlayer::ffplayArguments(QUrl::fromLocalFile(movie), subtitle, row.time),
                  expected);
    }
}

TEST(MoviePlayerTime, ShortestPlainDecimal) {
    const std::vector<std::pair<double, QString>> rows{
        {0, "0.0"},
        {-0.0, "0.0"},
        {0.1, "0.1"},
        {0.30000000000000004, "0.30000000000000004"},
        {1e21, "1000000000000000000000.0"},
        {5e-324, "0." + QString(323, u'0') + "5"},
        {std::numeric_limits<double>::infinity(), "0.0"},
    };
    for (const auto& [seconds, text] : rows) EXPECT_EQ(SCMoviePlayer::timeArgument(seconds), text);
    EXPECT_EQ(SCMoviePlayer::timeArgument(std::numeric_limits<double>::max()).size(), 311);
}

TEST_F(MoviePlayer, EnvironmentDiffersOnlyInTheFontConfigurationInTheChildrensFolder) {
    qputenv("FONTCONFIG_FILE", "/inherited/fonts.conf");
    qputenv("FONTCONFIG_PATH", "/inherited");
    release();
    const bool played = SCMoviePlayer().playMovieUrl(QUrl::fromLocalFile(path("m.mkv")), {}, 1);
    qunsetenv("FONTCONFIG_FILE");
    qunsetenv("FONTCONFIG_PATH");
    ASSERT_TRUE(played);

    auto expected = platform::ChildProcess::currentEnvironment();
    expected.insert("FONTCONFIG_PATH", resources() + "/fonts");
    expected.insert("FONTCONFIG_FILE", resources() + "/fonts/fonts.conf");
    platform::EnvironmentDictionary seen;
    for (const QString& entry : splitRecord(readFile(record("env"))))
        seen.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    // The shell keeps its own working-folder variable.
    seen.remove("PWD");
    expected.remove("PWD");
    EXPECT_EQ(seen, expected);

    QString folder = platform::AppPaths::childWorkingDirectory();
    EXPECT_TRUE(folder.endsWith(u'/'));
    folder.chop(1);
    EXPECT_EQ(readFile(record("cwd")).trimmed(), folder.toUtf8());
    EXPECT_EQ(QFileInfo(folder).canonicalFilePath(), QFileInfo(path("app")).canonicalFilePath());
}

TEST_F(MoviePlayer, OnlyTheMediaPlayersGetTheFontConfiguration) {
    const platform::EnvironmentDictionary given{{"FONTCONFIG_FILE", "/old"}, {"HOME", "/h"}};
    for (const char* name : {"ffplay", "FFmpeg"}) {
        auto expected = given;
        expected.insert("FONTCONFIG_PATH", resources() + "/fonts");
        expected.insert("FONTCONFIG_FILE", resources() + "/fonts/fonts.conf");
        EXPECT_EQ(SCMoviePlayer::updateTaskEnvironmentDictionaryForBinary(name, given), expected)
            << name;
    }
    for (const char* name : {"mkvmerge", "tesseract", "ffprobe", ""})
        EXPECT_EQ(SCMoviePlayer::updateTaskEnvironmentDictionaryForBinary(name, given), given)
            << name;
}

TEST_F(MoviePlayer, ReturnsOnlyAfterFfplayHasEnded) {
    auto playing = playInBackground(QUrl::fromLocalFile(path("m.mkv")), {});
    ASSERT_TRUE(waitForFile(record("started")));
    EXPECT_EQ(playing.wait_for(200ms), std::future_status::timeout);
    release();
    ASSERT_EQ(playing.wait_for(20s), std::future_status::ready);
    EXPECT_TRUE(QFileInfo::exists(record("ended")));
    EXPECT_TRUE(playing.get());
}

TEST_F(MoviePlayer, TheFlagStopsFfplay) {
    auto flag = std::make_shared<std::atomic<bool>>(false);
    auto playing = playInBackground(QUrl::fromLocalFile(path("m.mkv")), {}, flag);
    ASSERT_TRUE(waitForFile(record("started")));
    *flag = true;
    ASSERT_EQ(playing.wait_for(10s), std::future_status::ready);
    EXPECT_TRUE(playing.get());
    EXPECT_FALSE(QFileInfo::exists(record("ended")));
}

TEST_F(MoviePlayer, AnFfplayThatCannotStartGivesFalseAndALogEntry) {
    std::optional<testsupport::ScopedLogCapture> capture(std::in_place);
    const QUrl movie = QUrl::fromLocalFile(path("m.mkv"));
    QFile::setPermissions(resources() + "/ffmpeg/ffplay", QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(SCMoviePlayer().playMovieUrl(movie, {}, 1));
    QFile::remove(resources() + "/ffmpeg/ffplay");
    EXPECT_FALSE(SCMoviePlayer().playMovieUrl(movie, {}, 1));
    const QStringList logged = capture->entries();
    capture.reset();
    ASSERT_EQ(logged.size(), 2);
    for (const QString& entry : logged)
        EXPECT_TRUE(entry.startsWith("!!!! ")) << entry.toStdString();
}

}  // namespace
