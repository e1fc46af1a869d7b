#include "tools/FilterEscaping.h"

#include <QDir>
#include <QFile>

#include "ToolsFixture.h"
#include "tools/SCFontconfigTester.h"

namespace {

TEST(FilterEscaping, BothLevelsInTurn) {
    const std::vector<std::pair<QString, QString>> rows{
        {"/plain/path é.srt", "/plain/path é.srt"},
        {":", R"(\\:)"},
        {"=", R"(\\=)"},
        {"'", R"(\\\')"},
        {"\\", R"(\\\\)"},
        {"[]", R"(\[\])"},
        {",;", R"(\,\;)"},
        {"/a b/x.srt", "/a b/x.srt"},
        {"/x.srt ", R"(/x.srt\\\ )"},
        {" x\t", "\\\\ x\\\\\\\t"},
        {"/x  ", R"(/x\\ \\\ )"},
    };
    for (const auto& [text, escaped] : rows) EXPECT_EQ(escapedForFilterGraph(text), escaped);
}

// The carried ffmpeg reads the escaped path back: with the font-cache test's
// own arguments it draws the subtitle into the frame at 0.7 s, from a folder
// named after each special character.
class RealFilterEscaping : public ToolsFixture {};

TEST_F(RealFilterEscaping, FfmpegDrawsTheSubtitleFromEveryFolderName) {
    constexpr qsizetype frameSize = 160 * 120 * 3;
    auto tester = SCFontconfigTester::make();
    for (const QString special : {":", ",", "'", "\\", "[", "]", ";", "=", " "}) {
        SCOPED_TRACE(special.toStdString());
        const QString subtitle =
            writeFile("sub" + special + "dir/x.srt", SCFontconfigTester::testSubtitle());
        const QString frames = path("frames.rgb");
        const auto run =
            tester->runNoMonitorFfmpeg(SCFontconfigTester::testArguments(subtitle, frames), true);
        EXPECT_TRUE(run.succeeded()) << run.errorText.toStdString();
        QFile in(frames);
        const QByteArray video = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        QFile::remove(frames);
        if (video.size() != 50 * frameSize) {
            ADD_FAILURE() << "no video: " << video.size() << " bytes";
            continue;
        }
        const auto black = [&](int frame) {
            const QByteArray bytes = video.mid(frame * frameSize, frameSize);
            return bytes.count('\0') == bytes.size();
        };
        EXPECT_TRUE(black(0));
        EXPECT_FALSE(black(17));  // 0.68 s to 0.72 s
    }
}

}  // namespace
