#include "tools/SCMoviePlayer.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <future>
#include <limits>

#include "FakeResources.h"
#include "platform/AppPaths.h"
#include "platform/LogSink.h"
#include "support/FakeFfplay.h"

namespace {

using namespace std::chrono_literals;

using End = SCMoviePlayer::Playback::End;

// How a preview should end.
struct Expected {
    End end;
    QStringList said{};
    QString ending{};
};

void expectPlayback(const SCMoviePlayer::Playback& playback, const Expected& expected) {
    EXPECT_EQ(playback.end, expected.end);
    EXPECT_EQ(playback.said, expected.said);
    EXPECT_EQ(playback.ending, expected.ending);
}

class MoviePlayer : public FakeResources {
  protected:
    void SetUp() override {
        FakeResources::SetUp();
        ffplay.install(resources() + "/ffmpeg/ffplay");
    }
    // Plays on another thread, as the preview does.
    std::future<SCMoviePlayer::Playback> playInBackground(const QUrl& movie,
                                                          std::optional<QUrl> subtitle,
                                                          platform::CancellationFlag flag = {}) {
        return std::async(std::launch::async, [movie, subtitle, flag] {
            return SCMoviePlayer().playMovieUrl(movie, subtitle, 12.5, flag);
        });
    }

    testsupport::FakeFfplay ffplay{path("record")};
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
    ffplay.release();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.timeText.toStdString());
        std::optional<QUrl> subtitle;
        if (row.subtitle) subtitle = QUrl::fromLocalFile(subs + "/" + *row.subtitle);
        ASSERT_EQ(SCMoviePlayer().playMovieUrl(QUrl::fromLocalFile(movie), subtitle, row.time).end,
                  End::Ended);
        QStringList expected = head + QStringList{row.timeText} + tail;
        if (row.subtitle)
            expected << "-vf"
                     << "subtitles=" + subs + row.filter;
        EXPECT_EQ(ffplay.arguments(), expected);
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
    ffplay.release();
    const auto played = SCMoviePlayer().playMovieUrl(QUrl::fromLocalFile(path("m.mkv")), {}, 1);
    qunsetenv("FONTCONFIG_FILE");
    qunsetenv("FONTCONFIG_PATH");
    ASSERT_EQ(played.end, End::Ended);

    auto expected = platform::ChildProcess::currentEnvironment();
    expected.insert("FONTCONFIG_PATH", resources() + "/fonts");
    expected.insert("FONTCONFIG_FILE", resources() + "/fonts/fonts.conf");
    platform::EnvironmentDictionary seen = ffplay.environment();
    // The shell keeps its own working-folder variable.
    seen.remove("PWD");
    expected.remove("PWD");
    EXPECT_EQ(seen, expected);

    QString folder = platform::AppPaths::childWorkingDirectory();
    EXPECT_TRUE(folder.endsWith(u'/'));
    folder.chop(1);
    EXPECT_EQ(ffplay.workingFolder(), folder);
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
    ASSERT_TRUE(waitForFile(ffplay.recorded("started")));
    EXPECT_EQ(playing.wait_for(200ms), std::future_status::timeout);
    ffplay.release();
    ASSERT_EQ(playing.wait_for(20s), std::future_status::ready);
    EXPECT_TRUE(ffplay.ended());
    EXPECT_EQ(playing.get().end, End::Ended);
}

TEST_F(MoviePlayer, TheFlagStopsFfplay) {
    auto flag = std::make_shared<std::atomic<bool>>(false);
    auto playing = playInBackground(QUrl::fromLocalFile(path("m.mkv")), {}, flag);
    ASSERT_TRUE(waitForFile(ffplay.recorded("started")));
    *flag = true;
    ASSERT_EQ(playing.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(playing.get().end, End::Stopped);
    EXPECT_FALSE(ffplay.ended());
}

TEST_F(MoviePlayer, AnFfplayThatCannotStartSaysSoAndLeavesALogEntry) {
    std::optional<testsupport::ScopedLogCapture> capture(std::in_place);
    const QUrl movie = QUrl::fromLocalFile(path("m.mkv"));
    QFile::setPermissions(resources() + "/ffmpeg/ffplay", QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(SCMoviePlayer().playMovieUrl(movie, {}, 1).end, End::NotStarted);
    QFile::remove(resources() + "/ffmpeg/ffplay");
    EXPECT_EQ(SCMoviePlayer().playMovieUrl(movie, {}, 1).end, End::NotStarted);
    const QStringList logged = capture->entries();
    capture.reset();
    ASSERT_EQ(logged.size(), 2);
    for (const QString& entry : logged)
        EXPECT_TRUE(entry.startsWith("!!!! ")) << entry.toStdString();
}

TEST_F(MoviePlayer, AnFfplayThatFailsAtOnceIsAFailureInItsOwnWords) {
    const QString movie = path("Film.mkv");
    const QByteArray banner = testsupport::FakeFfplay::banner();
    const QByteArray status = testsupport::FakeFfplay::statusLine();
    struct Row {
        const char* what;
        testsupport::FakeFfplay::Behaviour behaviour;
        Expected expected;
    };
    const std::vector<Row> rows{
        {"no display",
         {banner + "Could not initialize SDL - No available video device\n"
                   "(Did you set the DISPLAY variable?)\n",
          1, false},
         {End::Failed,
          {"Could not initialize SDL - No available video device",
           "(Did you set the DISPLAY variable?)"},
          "exit status 1"}},
        // ffplay ends with status 0 when it cannot read the movie.
        {"not a movie",
         {banner + status + "[matroska,webm @ 0x55d0] EBML header parsing failed\n" +
              movie.toUtf8() + ": Invalid data found when processing input\n",
          0, false},
         {End::Failed,
          {"[matroska,webm] EBML header parsing failed",
           movie + ": Invalid data found when processing input"},
          "exit status 0"}},
        {"silent failure", {{}, 2, false}, {End::Failed, {}, "exit status 2"}},
        // Only the end of a long output is kept, and the words are there.
        {"long output",
         {banner + status.repeated(5000) + movie.toUtf8() + ": End of file\n", 0, false},
         {End::Failed, {movie + ": End of file"}, "exit status 0"}},
        // Closed by the user at once: nothing failed.
        {"closed",
         {banner + status + "Input #0, matroska,webm, from '" + movie.toUtf8() + "':\n", 0, false},
         {End::Ended}},
        {"closed without a word", {{}, 0, false}, {End::Ended}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ffplay.install(resources() + "/ffmpeg/ffplay", row.behaviour);
        expectPlayback(SCMoviePlayer().playMovieUrl(QUrl::fromLocalFile(movie), {}, 0),
                       row.expected);
    }
}

TEST(MoviePlayerJudge, OnlyAnEarlyEndCanBeAFailure) {
    using Outcome = platform::ChildProcess::Outcome;
    using namespace std::chrono;
    const QString movie = "/m/film.mp4";
    const QByteArray unreadable = "/m/film.mp4: Invalid data found when processing input\n";
    const QStringList said{"/m/film.mp4: Invalid data found when processing input"};
    const milliseconds window = SCMoviePlayer::kFailureWindow;
    const platform::ChildProcess::Result crash{
        Outcome::Signalled, -1, {}, {}, "ended by signal 11"};
    struct Row {
        const char* what;
        platform::ChildProcess::Result child;
        milliseconds ran;
        Expected expected;
    };
    const std::vector<Row> rows{
        {"unreadable at once",
         {Outcome::Exited, 0, {}, unreadable, {}},
         300ms,
         {End::Failed, said, "exit status 0"}},
        {"unreadable just in time",
         {Outcome::Exited, 0, {}, unreadable, {}},
         window - 1ms,
         {End::Failed, said, "exit status 0"}},
        {"a failure after a while", {Outcome::Exited, 1, {}, unreadable, {}}, window, {End::Ended}},
        {"a crash at once", crash, 1s, {End::Failed, {}, "ended by signal 11"}},
        {"a crash after an hour", crash, 1h, {End::Ended}},
        {"stopped", {Outcome::Cancelled, -1, {}, unreadable, "stopped"}, 1ms, {End::Stopped}},
        {"not started",
         {Outcome::FailedToStart, -1, {}, {}, "cannot start x: denied"},
         0ms,
         {End::NotStarted, {}, "cannot start x: denied"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        expectPlayback(SCMoviePlayer::judge(row.child, row.ran, movie), row.expected);
    }
}

}  // namespace
