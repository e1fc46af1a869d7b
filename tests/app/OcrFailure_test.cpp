// A picture subtitle whose OCR cannot read its language data, opened in a
// document window with the real tools and the support folder unpacked from
// the generated archive: the window says why, in the engine's own words.
#include <QDir>
#include <QFile>

#include "AppFixture.h"
#include "PgsFixture.h"
#include "imagesubs/SCImageSubImporter.h"
#include "support/FileListing.h"

namespace {

class OcrFailure : public AppFixture {
  protected:
    void adjustOptions(AppDelegate::Options& options) override {
        options.supportCommandRunner = {};  // the real unpacking
        options.importerFactory = SCImageSubImporter::factory();
    }
    void SetUp() override {
        AppFixture::SetUp();
        const QString resources = QStringLiteral(QUILLMAR_RESOURCES);
        appPaths->set({.bundleFolder = path("app/bin"),
                       .resourcesFolder = resources,
                       .userDataFolder = path("data")});
        delegate->appPreferences()->setToolsLocationURL(QUrl::fromLocalFile(resources));
        startDelegate();
    }
    QString languageData() const { return path("data/Borvane/tesseract304/tessdata"); }
};

TEST_F(OcrFailure, TheWindowSaysWhyNoLineCouldBeRead) {
    const QString english = languageData() + "/eng.traineddata";
    ASSERT_TRUE(QFileInfo::exists(english));
    const QString film = writeFile(
        "Film.sup", imagesubfixtures::makePgs({{"Hello World", 1.0, 3.0}, {"Again", 4.0, 5.0}}));
    const struct {
        const char* name;
        void (*damage)(const QString& data);
    } cases[] = {
        {"damaged",
         [](const QString& data) {
             QFile file(data + "/eng.traineddata");
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             ASSERT_TRUE(file.resize(1000));
         }},
        {"emptied",
         [](const QString& data) {
             for (const QString& name : QDir(data).entryList(QDir::Files))
                 ASSERT_TRUE(QFile::remove(data + "/" + name));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.damage(languageData());
        open(film);
        // The real tools take their time on a busy machine.
        const auto answered = answerBox("OK", 300000);
        ASSERT_TRUE(answered);
        EXPECT_EQ(answered->text, "Quillmar Can Not Open This File");
        EXPECT_TRUE(answered->informativeText.startsWith(
            "The OCR engine could not read any line:\n\nError opening data file " + english))
            << answered->informativeText.toStdString();
        EXPECT_TRUE(answered->informativeText.contains("Failed loading language 'eng'"))
            << answered->informativeText.toStdString();
        ASSERT_TRUE(
            testsupport::spinUntil([&] { return delegate->openWindowControllers().isEmpty(); }));
        collect();
        EXPECT_EQ(testsupport::filesBelow(path("tmp"), "^(croppedPng|tempVideoForSubURL)\\."),
                  QStringList());
    }
}

}  // namespace
