// The whole import through the document, with fake mkvmerge, ffmpeg and
// tesseract in scratch folders.
#include <QElapsedTimer>
#include <QImage>
#include <future>

#include "ImportFixture.h"
#include "PgsFixture.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "imagesubs/SCImageSubImporter.h"
#include "support/EventLoop.h"

using namespace imagesubfixtures;

namespace {

class ImageSubImportTest : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        QImage picture(32, 8, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.save(scratch.filePath("picture.png"));
        fakeTools(1, "", "");
    }
    // The real importer for the fixture's whole life, put back however a
    // test ends.
    testsupport::ScopedOverride<ImageSubImporter::Factory> factory{
        &SCSubtitle::setImageSubImporterFactory, SCImageSubImporter::factory()};

    // mkvmerge writes its output and exits with `status`; ffmpeg reports a
    // 720×576 stream starting at 0.5 s, or grabs by copying the picture;
    // the engine reads "line text". `beforeReport` and `beforeGrab` run
    // first (a hang, for instance).
    void fakeTools(int status, const QByteArray& beforeReport, const QByteArray& beforeGrab) {
        const QByteArray dir = scratch.path().toUtf8();
        script("tools/mkvtoolnix/mkvmerge",
               "printf '%s\\n' \"$@\" > '" + dir + "/mkvmerge-args'\nprintf '%s' \"$LANG\" > '" +
                   dir + "/mkvmerge-lang'\n: > \"$2\"\nexit " + QByteArray::number(status));
        script("tools/ffmpeg/ffmpeg",
               "case \" $* \" in *' -hide_banner '*)\n  : > '" + dir + "/report-started'\n  " +
                   beforeReport +
                   "\n  printf '  Duration: 00:00:07.00, start: 0.500000\\n  Stream #0:0: "
                   "Subtitle: hdmv_pgs_subtitle, 720x576\\n' >&2\n  exit 1;;\nesac\necho \"$2\" "
                   ">> '" +
                   dir + "/grabs'\n" + beforeGrab + "\nfor a; do out=$a; done\ncp '" + dir +
                   "/picture.png' \"$out\"");
        script("support/tesseract304/tesseract", "printf 'line text\\n' > \"$2.txt\"");
    }

    QUrl source(const QString& name, const QList<PgsPicture>& pictures) {
        return write(name, makePgs(pictures));
    }

    // Opens the file as the editor does: on a loading thread, the main
    // thread running its queue, until the document's end step has run.
    resultTypes open(const std::shared_ptr<SCSubtitle>& document, const QUrl& url) {
        auto result = std::async(std::launch::async, [document, url] {
            return document->initializeFromImageSubURL(url);
        });
        EXPECT_TRUE(testsupport::spinUntil(
            [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            30000));
        EXPECT_TRUE(testsupport::spinUntil([&] { return !document->isInitializing(); }));
        return result.get();
    }

    const QList<PgsPicture> three = {{"A", 1.0, 2.0}, {"B", 3.0, 4.0}, {"C", 5.0, 6.0}};
};

TEST_F(ImageSubImportTest, LinesArriveInOrderAndNothingIsLeft) {
    fakeTools(1, "", "");  // warnings only
    const QUrl url = source("a b \"c\" $d; [e] \u00E9.sup", three);
    auto document = SCSubtitle::create();
    EXPECT_EQ(open(document, url), resultTypes::ok);

    const SCSubtitleLineList lines = document->subtitleLinesArray();
    ASSERT_EQ(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i]->userIndex(), i);
        EXPECT_DOUBLE_EQ(lines[i]->userStartTimeDouble(), 1.0 + 2 * i);
        EXPECT_DOUBLE_EQ(lines[i]->userEndTimeDouble(), 2.0 + 2 * i);
        EXPECT_EQ(lines[i]->masterText().originalText(), "line text");
        EXPECT_EQ(lines[i]->dialogImage().size(), QSize(32, 8));
    }
    const QStringList mkvmerge = read("mkvmerge-args").split('\n');
    ASSERT_EQ(mkvmerge.size(), 4);
    EXPECT_EQ(mkvmerge[0], "-o");
    EXPECT_TRUE(mkvmerge[1].startsWith(uniqueNamesFolder() + "tempVideoForSubURL."))
        << mkvmerge[1].toStdString();
    EXPECT_EQ(mkvmerge[2], url.toLocalFile());
    EXPECT_FALSE(read("mkvmerge-lang").isEmpty());
    // Grabbed 0.2 s into each line, less the reported start.
    QStringList grabs = read("grabs").split('\n', Qt::SkipEmptyParts);
    grabs.sort();
    EXPECT_EQ(grabs, QStringList({"0.7", "2.7", "4.7"}));
    EXPECT_EQ(leftInTemporary("tempVideoForSubURL"), QStringList());
    EXPECT_EQ(leftInTemporary("croppedPng"), QStringList());
}

// A line the engine cannot read comes without text, a line whose picture
// cannot be taken is dropped; when no line can be read, the import fails and
// says why in the failing tool's own words: the engine's when it ran (less
// its advice on TESSDATA_PREFIX, with where to act instead), else ffmpeg's.
TEST_F(ImageSubImportTest, AnImportThatReadsNoLineFailsWithTheToolsWords) {
    const QByteArray dir = scratch.path().toUtf8();
    // What the engine says when it cannot load its language data.
    const QByteArray refuse =
        "echo 'Error opening data file /d/tessdata/eng.traineddata' >&2\n"
        "echo 'Please make sure the TESSDATA_PREFIX environment variable is set to your "
        "\"tessdata\" directory.' >&2\n"
        "echo \"Failed loading language 'eng'\" >&2\n"
        "echo \"Tesseract couldn't load any languages!\" >&2\nexit 1";
    const QString refused =
        "The OCR engine could not read any line:\n\n"
        "Error opening data file /d/tessdata/eng.traineddata\n"
        "Failed loading language 'eng'\nTesseract couldn't load any languages!\n\n"
        "Add or reinstall the language under Quillmar \u203A Preferences\u2026 (Language).";
    // Whichever run comes first refuses.
    const QByteArray firstRefuses = "mkdir '" + dir + "/first' 2>/dev/null && { " +
                                    QByteArray(refuse).replace('\n', ';') +
                                    "; }\nprintf 'line text\\n' > \"$2.txt\"";
    const QByteArray noPicture =
        "echo 'tempVideoForSubURL.mkv: Invalid data found when processing input' >&2; exit 1";
    // The first line (grabbed at 0.7 s) has no picture.
    const QByteArray firstHasNoPicture = "[ \"$2\" = 0.7 ] && { " + noPicture + "; }";
    struct Case {
        const char* name;
        QByteArray engine;
        QByteArray grab;  // run before each grab
        resultTypes result;
        QStringList texts;  // sorted: the lines convert in any order
        QString failure;
    };
    const QList<Case> cases = {
        {"every line refused", refuse, "", resultTypes::error, {"", "", ""}, refused},
        {"one line refused", firstRefuses, "", resultTypes::ok, {"", "line text", "line text"}, {}},
        {"no picture taken",
         refuse,
         noPicture,
         resultTypes::error,
         {},
         "ffmpeg could not take the picture of any line:\n\n"
         "tempVideoForSubURL.mkv: Invalid data found when processing input"},
        {"one picture not taken",
         "printf 'line text\\n' > \"$2.txt\"",
         firstHasNoPicture,
         resultTypes::ok,
         {"line text", "line text"},
         {}},
        {"one picture not taken, the others refused",
         refuse,
         firstHasNoPicture,
         resultTypes::error,
         {"", ""},
         refused},
    };
    for (const Case& c : cases) {
        QDir(scratch.filePath("first")).removeRecursively();
        fakeTools(0, "", c.grab);
        script("support/tesseract304/tesseract", c.engine);
        auto document = SCSubtitle::create();
        EXPECT_EQ(open(document, source("s.sup", three)), c.result) << c.name;
        QStringList texts;
        for (const auto& line : document->subtitleLinesArray())
            texts.append(line->masterText().originalText());
        texts.sort();
        EXPECT_EQ(texts, c.texts) << c.name;
        const DocumentFailure failure = document->lastFailure();
        EXPECT_EQ(failure.kind, c.failure.isEmpty() ? DocumentFailure::Kind::none
                                                    : DocumentFailure::Kind::toolFailed)
            << c.name;
        EXPECT_EQ(failure.detail, c.failure) << c.name;
        EXPECT_EQ(leftInTemporary("croppedPng"), QStringList()) << c.name;
    }
}

TEST_F(ImageSubImportTest, AFailedMkvmergeLeavesNothing) {
    fakeTools(2, "", "");
    auto document = SCSubtitle::create();
    EXPECT_EQ(open(document, source("s.sup", three)), resultTypes::error);
    EXPECT_TRUE(document->subtitleLinesArray().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(scratch.filePath("grabs")));
    EXPECT_EQ(leftInTemporary("tempVideoForSubURL"), QStringList());
}

TEST_F(ImageSubImportTest, CancelStopsHangingLines) {
    fakeTools(0, "", "sleep 60");
    auto document = SCSubtitle::create();
    const QUrl url = source("s.sup", three);
    auto result = std::async(std::launch::async,
                             [document, url] { return document->initializeFromImageSubURL(url); });
    ASSERT_TRUE(testsupport::spinUntil([&] { return read("grabs").count('\n') == 3; }));
    QElapsedTimer clock;
    clock.start();
    document->imageSubImporter()->cancelImport();
    EXPECT_LT(clock.elapsed(), testsupport::kHangMs);  // the fakes alone take a minute
    EXPECT_EQ(result.get(), resultTypes::ok);
    ASSERT_TRUE(testsupport::spinUntil([&] { return !document->isInitializing(); }));
    // The stopped lines came as failed grabs, which the document drops.
    EXPECT_TRUE(document->subtitleLinesArray().isEmpty());
    EXPECT_EQ(leftInTemporary("tempVideoForSubURL"), QStringList());
    EXPECT_EQ(leftInTemporary("croppedPng"), QStringList());
}

TEST_F(ImageSubImportTest, CancelBeforeTheLinesAreQueued) {
    fakeTools(0, "sleep 60", "");
    auto document = SCSubtitle::create();
    const QUrl url = source("s.sup", three);
    QElapsedTimer clock;
    clock.start();
    auto result = std::async(std::launch::async,
                             [document, url] { return document->initializeFromImageSubURL(url); });
    ASSERT_TRUE(testsupport::spinUntil(
        [&] { return QFileInfo::exists(scratch.filePath("report-started")); }));
    document->imageSubImporter()->cancelImport();
    EXPECT_EQ(result.get(), resultTypes::ok);
    EXPECT_LT(clock.elapsed(), testsupport::kHangMs);  // the fake alone takes a minute
    ASSERT_TRUE(testsupport::spinUntil([&] { return !document->isInitializing(); }));
    EXPECT_FALSE(QFileInfo::exists(scratch.filePath("grabs")));
    EXPECT_TRUE(document->subtitleLinesArray().isEmpty());
    EXPECT_EQ(leftInTemporary("tempVideoForSubURL"), QStringList());
}

TEST_F(ImageSubImportTest, ReleasingTheDocumentMidImport) {
    fakeTools(0, "", "sleep 0.3");
    auto document = SCSubtitle::create();
    std::weak_ptr<SCSubtitle> weak = document;
    const QUrl url = source("s.sup", three);
    auto result = std::async(std::launch::async,
                             [document, url] { return document->initializeFromImageSubURL(url); });
    document.reset();
    ASSERT_TRUE(testsupport::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_EQ(result.get(), resultTypes::ok);
    EXPECT_TRUE(testsupport::spinUntil([&] { return weak.expired(); }));
    EXPECT_EQ(leftInTemporary("tempVideoForSubURL"), QStringList());
}

TEST_F(ImageSubImportTest, TwoDocumentsGetOnlyTheirOwnLines) {
    auto first = SCSubtitle::create();
    auto second = SCSubtitle::create();
    const QUrl one = source("one.sup", three);
    const QUrl two = source("two.sup", {{"X", 10.0, 11.0}, {"Y", 20.0, 21.0}});
    auto a = std::async(std::launch::async,
                        [first, one] { return first->initializeFromImageSubURL(one); });
    auto b = std::async(std::launch::async,
                        [second, two] { return second->initializeFromImageSubURL(two); });
    ASSERT_TRUE(testsupport::spinUntil(
        [&] {
            return a.wait_for(std::chrono::seconds(0)) == std::future_status::ready &&
                   b.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        },
        30000));
    ASSERT_TRUE(testsupport::spinUntil(
        [&] { return !first->isInitializing() && !second->isInitializing(); }));
    ASSERT_EQ(first->subtitleLinesArray().size(), 3);
    ASSERT_EQ(second->subtitleLinesArray().size(), 2);
    EXPECT_DOUBLE_EQ(second->subtitleLinesArray()[1]->userStartTimeDouble(), 20.0);
    EXPECT_DOUBLE_EQ(first->subtitleLinesArray()[2]->userStartTimeDouble(), 5.0);
}

}  // namespace
