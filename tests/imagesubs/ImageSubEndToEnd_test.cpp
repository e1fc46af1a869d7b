// Generated VobSub and PGS files opened through the document with the real
// carried tools: mkvmerge, ffmpeg and the OCR engine unpacked from the
// generated support archive into a scratch data folder.
#include <QRegularExpression>
#include <functional>
#include <future>

#include "ImportFixture.h"
#include "PgsFixture.h"
#include "VobSubFixture.h"
#include "document/DocumentFailure.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "imagesubs/SCImageSubImporter.h"
#include "support/EventLoop.h"

using namespace imagesubfixtures;

namespace {

constexpr double kTick = 1024.0 / 90000.0;

struct Expected {
    QString text;
    double start;
    double end;
};

class ImageSubEndToEnd : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        const QString resources = QStringLiteral(QUILLMAR_RESOURCES);
        appPaths->set({.bundleFolder = scratch.filePath("app/bin"),
                       .resourcesFolder = resources,
                       .userDataFolder = scratch.filePath("data")});
        preferences->setToolsLocationURL(QUrl::fromLocalFile(resources));
        preferences->setBorvaneSupportFolderURL(std::nullopt);
        preferences->initializeApplicationSupportFolder();
        ASSERT_TRUE(preferences->borvaneSupportFolderURL().has_value());
        factory.emplace(&SCSubtitle::setImageSubImporterFactory, SCImageSubImporter::factory());
    }
    void TearDown() override {
        factory.reset();
        ImportFixture::TearDown();
    }
    std::optional<testsupport::ScopedOverride<ImageSubImporter::Factory>> factory;

    // The import on a loading thread as the editor runs it, the main thread
    // running its queue until it has returned; none when it hangs.
    static std::optional<resultTypes> import(const std::shared_ptr<SCSubtitle>& document,
                                             const QUrl& url) {
        auto result = std::async(std::launch::async, [document, url] {
            return document->initializeFromImageSubURL(url);
        });
        if (!testsupport::spinUntil(
                [&] {
                    return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
                },
                300000))
            return std::nullopt;
        return result.get();
    }

    void openAndCompare(const QUrl& url, const QList<Expected>& expected) {
        auto document = SCSubtitle::create();
        ASSERT_EQ(import(document, url), resultTypes::ok);
        ASSERT_TRUE(testsupport::spinUntil([&] { return !document->isInitializing(); }));

        const SCSubtitleLineList lines = document->subtitleLinesArray();
        ASSERT_EQ(lines.size(), expected.size());
        static const QRegularExpression blanks(QStringLiteral("\\s"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i]->userIndex(), i);
            EXPECT_EQ(QString(lines[i]->masterText().originalText()).remove(blanks),
                      QString(expected[i].text).remove(blanks))
                << i;
            EXPECT_NEAR(lines[i]->userStartTimeDouble(), expected[i].start, 0.001) << i;
            EXPECT_NEAR(lines[i]->userEndTimeDouble(), expected[i].end, kTick) << i;
        }
        document.reset();
        testsupport::drainMainQueue();
        EXPECT_EQ(leftInTemporary("tempVideoForSubURL"), QStringList());
        EXPECT_EQ(leftInTemporary("croppedPng"), QStringList());
        EXPECT_EQ(leftInTemporary("vobSubPair"), QStringList());
    }
};

TEST_F(ImageSubEndToEnd, VobSubWithADelayLineAndASecondStream) {
    // The last line ends 4.217 s after its start, which 371 ticks matches.
    const QList<VobSubPicture> pictures = {
        {"Hello World", 1000, 200},
        {"Zweite Spur", 1500, 150, 1},
        {"Second line here", 4000, 180, 0, 1500},
        {"The third one", 8000, 200},
        {"Number four", 11000, 160, 0, -500},
        {"Last line five", 14000, 371},
    };
    const VobSubFiles files = makeVobSub(pictures);
    write("movie subs.sub", files.sub);
    const QUrl idx = write("movie subs.idx", files.idx);
    openAndCompare(idx, {{"Hello World", 1.0, 1.0 + 200 * kTick},
                         {"Second line here", 5.5, 5.5 + 180 * kTick},
                         {"The third one", 9.5, 9.5 + 200 * kTick},
                         {"Number four", 12.0, 12.0 + 160 * kTick},
                         {"Last line five", 15.0, 15.0 + 371 * kTick}});
}

// The document window pairs an index with its SUB file whatever the case of
// the SUB's extension; mkvmerge looks for the index's name with ".sub".
TEST_F(ImageSubEndToEnd, VobSubWhosePictureFileHasItsExtensionInAnotherCase) {
    const VobSubFiles files =
        makeVobSub({{"Hello World", 1000, 200}, {"Last line five", 4000, 371}});
    const struct {
        QString index, sub;
    } pairs[] = {{"Film.idx", "Film.SUB"}, {"FILM.IDX", "FILM.SUB"}, {"Show.Idx", "Show.Sub"}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.index.toStdString());
        write(pair.sub, files.sub);
        openAndCompare(write(pair.index, files.idx), {{"Hello World", 1.0, 1.0 + 200 * kTick},
                                                      {"Last line five", 4.0, 4.0 + 371 * kTick}});
    }
}

TEST_F(ImageSubEndToEnd, Pgs) {
    const QList<PgsPicture> pictures = {
        {"Hello World", 1.0, 3.0},  {"Second line here", 4.0, {}},  {"The third one", 6.0, 8.5},
        {"Number four", 9.0, 10.0}, {"Last line five", 12.0, 14.0},
    };
    const QUrl sup = write("movie.sup", makePgs(pictures));
    openAndCompare(sup, {{"Hello World", 1.0, 3.0},
                         {"Second line here", 4.0, 5.9},
                         {"The third one", 6.0, 8.5},
                         {"Number four", 9.0, 10.0},
                         {"Last line five", 12.0, 14.0}});
}

TEST_F(ImageSubEndToEnd, RefusedFiles) {
    // An index without its SUB: mkvmerge refuses it at once.
    const VobSubFiles files = makeVobSub({{"Hello World", 1000, 200}});
    const QUrl idx = write("alone.idx", files.idx);
    auto document = SCSubtitle::create();
    EXPECT_EQ(document->initializeFromImageSubURL(idx), resultTypes::error);
    EXPECT_EQ(document->initializeFromImageSubURL(write("text.sup", "not a subtitle")),
              resultTypes::error);
    testsupport::drainMainQueue();
    EXPECT_EQ(leftInTemporary("tempVideoForSubURL"), QStringList());
}

// The engine cannot read its language data: every line fails, promptly, and
// the import fails with the engine's own words instead of bringing empty
// lines as if they had been read.
TEST_F(ImageSubEndToEnd, LanguageDataTheEngineCannotRead) {
    const QString data = preferences->borvaneSupportFolderURL()->toLocalFile() + "/" +
                         preferences->tesseractDataFolderName() + "/tessdata";
    const QString english = data + "/eng.traineddata";
    QFile original(english);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray englishData = original.readAll();
    original.close();
    const auto restore = [&] {
        QFile file(english);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(englishData);
    };
    const auto setLanguage = [&](const QString& language) {
        preferences->modifyPreferencePanelDictionary([language](std::optional<QVariantMap>& panel) {
            panel = QVariantMap{{"userTesseractLanguage", language}};
        });
    };
    struct Case {
        const char* name;
        std::function<void()> damage;
        QString language;
    };
    const QList<Case> cases = {
        {"a language without data", [&] { setLanguage("xyz"); }, "xyz"},
        {"damaged data",
         [&] {
             QFile file(english);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
             file.write(englishData.left(1000));
         },
         "eng"},
        {"an emptied folder",
         [&] {
             for (const QString& name : QDir(data).entryList({"*.traineddata"}, QDir::Files))
                 ASSERT_TRUE(QFile::remove(data + "/" + name));
         },
         "eng"},
    };
    const QUrl sup = write("two.sup", makePgs({{"Hello World", 1.0, 3.0}, {"Again", 4.0, 5.0}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restore();
        setLanguage("eng");
        c.damage();
        auto document = SCSubtitle::create();
        EXPECT_EQ(import(document, sup), resultTypes::error);
        const DocumentFailure failure = document->lastFailure();
        EXPECT_EQ(failure.kind, DocumentFailure::Kind::toolFailed);
        EXPECT_TRUE(failure.detail.startsWith("The OCR engine could not read any line:\n\n"))
            << failure.detail.toStdString();
        EXPECT_TRUE(failure.detail.contains("Failed loading language '" + c.language + "'"))
            << failure.detail.toStdString();
        document.reset();
        testsupport::drainMainQueue();
        EXPECT_EQ(leftInTemporary("croppedPng"), QStringList());
    }
}

}  // namespace
