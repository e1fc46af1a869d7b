#include "tools/FfplayErrorOutput.h"

#include <gtest/gtest.h>

#include <QFile>

#include "ToolsFixture.h"

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(QUILLMAR_FIXTURES "/tools/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// What ffplay wrote on its error output for real files, with its banner
// and its status line between the messages.
TEST(FfplayErrorOutput, FindsWhatFailedInWhatFfplaySaid) {
    struct Row {
        QString fixture;
        QString movie;
        bool unreadable;
        QStringList lines;
    };
    const std::vector<Row> rows{
        {"ffplay-not-a-movie.txt",
         "/tmp/Movies/Not a film.mp4",
         true,
         {"[mov,mp4,m4a,3gp,3g2,mj2] Format mov,mp4,m4a,3gp,3g2,mj2 detected only with low "
          "score of 1, misdetection possible!",
          "[mov,mp4,m4a,3gp,3g2,mj2] moov atom not found",
          "/tmp/Movies/Not a film.mp4: Invalid data found when processing input"}},
        {"ffplay-cut-short.txt",
         "/tmp/Movies/Cut short.mp4",
         true,
         {"[mov,mp4,m4a,3gp,3g2,mj2] error reading header",
          "/tmp/Movies/Cut short.mp4: Invalid data found when processing input"}},
        {"ffplay-no-sound-or-picture.txt",
         "/tmp/Movies/Subtitles only.mp4",
         true,
         {"Failed to open file '/tmp/Movies/Subtitles only.mp4' or configure filtergraph"}},
        // A movie that opened: its description names it, and says nothing
        // failed; its last lines are all there is to show.
        {"ffplay-played-then-stopped.txt",
         "/tmp/Movies/Long.mp4",
         false,
         {"Metadata:", "handler_name    : VideoHandler", "vendor_id       : [0][0][0][0]",
          "encoder         : Lavc59.37.100 libx264"}},
        // The same words about another movie are not about this one.
        {"ffplay-not-a-movie.txt",
         "/tmp/Movies/Not a film",
         false,
         {"Failed to initialize a hardware accelerated renderer: Couldn't find matching render "
          "driver",
          "[mov,mp4,m4a,3gp,3g2,mj2] Format mov,mp4,m4a,3gp,3g2,mj2 detected only with low "
          "score of 1, misdetection possible!",
          "[mov,mp4,m4a,3gp,3g2,mj2] moov atom not found",
          "/tmp/Movies/Not a film.mp4: Invalid data found when processing input"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fixture.toStdString() + " " + row.movie.toStdString());
        const FfplayErrorOutput output(fixture(row.fixture), row.movie);
        EXPECT_EQ(output.saysMovieUnreadable(), row.unreadable);
        EXPECT_EQ(output.failureLines(), row.lines);
    }
}

TEST(FfplayErrorOutput, SaysLittleAndBriefly) {
    const QString movie = "/m/film.mkv";
    struct Row {
        const char* what;
        QByteArray output;
        QStringList lines;
    };
    const QString longWord(500, u'x');
    const QString emoji = QString(FfplayErrorOutput::kLongestLine - 2, u'y') + "\U0001F3AC!";
    const std::vector<Row> rows{
        {"nothing", "", {}},
        {"only the banner and the status",
         "ffplay version 7.0 Copyright (c) 2003-2024 the FFmpeg developers\n"
         "  built with clang\n  configuration: --enable-gpl\n"
         "  libavutil      59.  8.100 / 59.  8.100\n"
         "   1.02 M-V: -0.010 fd=   3 aq=    0KB vq=   12KB sq=    0B f=0/0   \r\n",
         {}},
        {"the last few lines",
         "one\ntwo\r\nthree\n\nfour\nfive\n",
         {"two", "three", "four", "five"}},
        {"long lines cut",
         (longWord + "\n").toUtf8(),
         {longWord.left(FfplayErrorOutput::kLongestLine - 1) + u'…'}},
        {"a character is not split",
         (emoji + "\n").toUtf8(),
         {emoji.left(FfplayErrorOutput::kLongestLine - 2) + u'…'}},
        {"library messages before the movie's line, not other lines",
         "Could not initialize SDL\n[a @ 0x1] one\n[b @ 0xfeed] two\n[c] three\n"
         "/m/film.mkv: Permission denied\nafter\n",
         {"[a] one", "[b] two", "[c] three", "/m/film.mkv: Permission denied"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(FfplayErrorOutput(row.output, movie).failureLines(), row.lines);
    }
}

}  // namespace
