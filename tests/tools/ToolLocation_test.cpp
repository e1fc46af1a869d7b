#include "tools/ToolLocation.h"

#include <QFile>

#include "ToolsFixture.h"
#include "platform/AppPaths.h"
#include "tools/SCPreferences.h"

namespace {

struct LocationCase {
    const char* name;
    QString asked;
    QString expected;  // relative to the scratch folder; empty: none
};

void PrintTo(const LocationCase& c, std::ostream* out) {
    *out << c.name;
}

class ToolLocation : public ToolsFixture, public ::testing::WithParamInterface<LocationCase> {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        makeFolder("resources");
        writeFile("resources/tesseract304.zip", "zip");
        writeFile("resources/bundledzip", "zip");
        appPaths.set({.resourcesFolder = path("resources")});
        preferences->setToolsLocationURL(QUrl::fromLocalFile(path("tools")));
        preferences->setBorvaneSupportFolderURL(QUrl::fromLocalFile(path("support")));
    }
};

TEST_P(ToolLocation, LeadsToTheDocumentedPlace) {
    const LocationCase& c = GetParam();
    const auto url = urlOfApp(c.asked);
    if (c.expected.isEmpty()) {
        EXPECT_FALSE(url.has_value());
        return;
    }
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(url->toLocalFile(), path(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolLocation,
    ::testing::Values(
        LocationCase{"Ffmpeg", "ffmpeg", "tools/ffmpeg/ffmpeg"},
        LocationCase{"FfmpegKeepsItsSpelling", "FFmpeg", "tools/ffmpeg/FFmpeg"},
        LocationCase{"Ffprobe", "ffprobe", "tools/ffmpeg/ffprobe"},
        LocationCase{"Ffplay", "ffplay", "tools/ffmpeg/ffplay"},
        LocationCase{"Mkvmerge", "mkvmerge", "tools/mkvtoolnix/mkvmerge"},
        LocationCase{"AnyMkvName", "MKVinfo", "tools/mkvtoolnix/MKVinfo"},
        LocationCase{"Mp4box", "mp4box", "tools/mp4box/mp4box"},
        LocationCase{"Mp4boxLonger", "mp4boxer", "tools/mp4boxer"},
        LocationCase{"Mplayer", "MPlayer", "tools/mplayer/MPlayer"},
        LocationCase{"Other", "ffmpegx", "tools/ffmpegx"}, LocationCase{"Empty", "", "tools/"},
        LocationCase{"Tesseract", "tesseract", "support/tesseract304/tesseract"},
        LocationCase{"TesseractSuffix", "Tesseract5", "support/tesseract304/Tesseract5"},
        LocationCase{"Archive", "tesseract304.zip", "resources/tesseract304.zip"},
        LocationCase{"ArchiveInCapitals", "TESSERACT304.ZIP", "resources/tesseract304.zip"},
        LocationCase{"ZipWithoutDot", "bundledzip", "resources/bundledzip"},
        LocationCase{"MissingArchive", "other.zip", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolLocation, TesseractNeedsTheSupportFolder) {
    preferences->setBorvaneSupportFolderURL(std::nullopt);
    EXPECT_FALSE(urlOfApp("tesseract").has_value());
    EXPECT_TRUE(urlOfApp("ffmpeg").has_value());
}

TEST_F(ToolLocation, FileExistsFollowsLinks) {
    const QString file = writeFile("here/file", "x");
    QFile::link(file, path("here/good-link"));
    QFile::link(path("here/nothing"), path("here/dangling-link"));
    EXPECT_TRUE(fileExists(QUrl::fromLocalFile(file)));
    EXPECT_TRUE(fileExists(QUrl::fromLocalFile(path("here"))));
    EXPECT_TRUE(fileExists(QUrl::fromLocalFile(path("here/good-link"))));
    EXPECT_FALSE(fileExists(QUrl::fromLocalFile(path("here/dangling-link"))));
    EXPECT_FALSE(fileExists(QUrl::fromLocalFile(path("here/nothing"))));
}

}  // namespace
