#include "tools/ChildEnvironments.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>

#include "ToolsFixture.h"
#include "platform/AppPaths.h"
#include "platform/SystemLocale.h"
#include "tools/SCPreferences.h"
#include "tools/ToolLocation.h"

namespace {

using Environment = platform::EnvironmentDictionary;

const QString kLibraries =
    "/U/Support/tesseract304/lib:/U/Support/tesseract304/leptonica/lib:"
    "/U/Support/tesseract304/libpng/lib:/U/Support/tesseract304/jpeg/lib:"
    "/U/Support/tesseract304/libtiff/lib";

struct EnvironmentCase {
    const char* name;
    QString program;
    Environment start;
    Environment expected;
};

void PrintTo(const EnvironmentCase& c, std::ostream* out) {
    *out << c.name;
}

Environment fontRule(Environment base = {}) {
    base.insert("FONTCONFIG_PATH", "/R/fonts");
    base.insert("FONTCONFIG_FILE", "/R/fonts/fonts.conf");
    return base;
}
Environment mkvRule(Environment base = {}) {
    base.insert("LANG", platform::SystemLocale::utf8LocaleOrFallback("en_US.UTF-8"));
    base.insert("DYLD_LIBRARY_PATH", "/R/mkvtoolnix/lib");
    base.insert("LD_LIBRARY_PATH", "/R/mkvtoolnix/lib");
    return base;
}
Environment tesseractRule(Environment base = {}) {
    base.insert("DYLD_LIBRARY_PATH", kLibraries);
    base.insert("LD_LIBRARY_PATH", "/U/Support/tesseract304/lib");
    base.insert("TESSDATA_PREFIX", "/U/Support/tesseract304");
    return base;
}

const Environment kInherited = {{"PATH", "/usr/bin"},
                                {"LANG", "de_DE.UTF-8"},
                                {"FONTCONFIG_FILE", "/etc/old.conf"},
                                {"LD_LIBRARY_PATH", "/old"}};

class ChildEnvironments : public ToolsFixture,
                          public ::testing::WithParamInterface<EnvironmentCase> {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        appPaths.set({.resourcesFolder = QString("/R")});
        preferences->setBorvaneSupportFolderURL(QUrl::fromLocalFile("/U/Support"));
    }
};

TEST_P(ChildEnvironments, SetsTheProgramsEntries) {
    const EnvironmentCase& c = GetParam();
    EXPECT_EQ(updateTaskEnvironmentDictionaryForBinary(c.program, c.start), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChildEnvironments,
    ::testing::Values(EnvironmentCase{"Ffmpeg", "FFmpeg", {}, fontRule()},
                      EnvironmentCase{"Ffplay", "FFPLAY", kInherited, fontRule(kInherited)},
                      EnvironmentCase{"Ffprobe", "ffprobe", kInherited, kInherited},
                      EnvironmentCase{"Mkvmerge", "mkvmerge", kInherited, mkvRule(kInherited)},
                      EnvironmentCase{"AnyMkvName", "MKVinfo", {}, mkvRule()},
                      EnvironmentCase{"Tesseract", "tesseract", kInherited,
                                      tesseractRule(kInherited)},
                      EnvironmentCase{"TesseractSuffix", "Tesseract-5", {}, tesseractRule()},
                      EnvironmentCase{"MkvNotFirst", "xmkvmerge", {}, {}},
                      EnvironmentCase{"TesseractNotFirst", "atesseract", kInherited, kInherited},
                      EnvironmentCase{"Other", "unzip", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChildEnvironments, MkvmergeGetsAnInstalledLocale) {
    EXPECT_EQ(platform::SystemLocale::utf8LocaleOrFallback("xx_XX.UTF-8"), "C.UTF-8");
    EXPECT_TRUE(platform::SystemLocale::isAvailable("C.UTF-8"));
    const QString lang = updateTaskEnvironmentDictionaryForBinary("mkvmerge", {}).value("LANG");
    EXPECT_TRUE(platform::SystemLocale::isAvailable(lang)) << lang.toStdString();
}

TEST_F(ChildEnvironments, TesseractWaitsForTheSupportFolder) {
    preferences->setBorvaneSupportFolderURL(std::nullopt);
    EXPECT_EQ(updateTaskEnvironmentDictionaryForBinary("tesseract", kInherited), kInherited);
}

// The carried programs started with the environments made for them.
class RealToolEnvironments : public ToolsFixture {};

TEST_F(RealToolEnvironments, MkvmergeStarts) {
    const auto mkvmerge = urlOfApp("mkvmerge");
    ASSERT_TRUE(mkvmerge.has_value());
    const auto run =
        platform::ChildProcess::run(mkvmerge->toLocalFile(), {"--version"},
                                    {.environment = updateTaskEnvironmentDictionaryForBinary(
                                         "mkvmerge", platform::ChildProcess::currentEnvironment()),
                                     .timeLimit = std::chrono::minutes(5)});
    ASSERT_TRUE(run.succeeded()) << run.standardError.toStdString();
    EXPECT_TRUE(run.standardOutput.startsWith("mkvmerge v")) << run.standardOutput.toStdString();
}

TEST_F(RealToolEnvironments, WrappedTesseractReadsARenderedPicture) {
    appPaths.set({.userDataFolder = path("data")});
    preferences->initializeApplicationSupportFolder();

    QImage picture(720, 140, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        QFont font("DejaVu Sans");
        font.setPixelSize(64);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(picture.rect(), Qt::AlignCenter, "HELLO WORLD");
    }
    const QString png = path("line picture.png");
    ASSERT_TRUE(picture.save(png));

    const auto tesseract = urlOfApp("tesseract");
    ASSERT_TRUE(tesseract.has_value());
    const auto run =
        platform::ChildProcess::run(tesseract->toLocalFile(), {png, "stdout", "-l", "eng"},
                                    {.environment = updateTaskEnvironmentDictionaryForBinary(
                                         "tesseract", platform::ChildProcess::currentEnvironment()),
                                     .timeLimit = std::chrono::minutes(5)});
    ASSERT_TRUE(run.succeeded()) << run.standardError.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.standardOutput).trimmed(), "HELLO WORLD");
}

}  // namespace
