// The line converter's picture grab and OCR with fake tools in scratch tools
// and support folders.
#include <QElapsedTimer>
#include <QImage>
#include <QList>

#include "ImportFixture.h"
#include "document/LinePicture.h"
#include "imagesubs/LineGrabCommand.h"
#include "imagesubs/SCImageSubImporter.h"
#include "imagesubs/SCImageSubLineConverter.h"
#include "support/EventLoop.h"

namespace {

using namespace std::chrono_literals;

class LineConverterTest : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        importer = SCImageSubImporter::create();
        QImage picture(32, 8, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.save(scratch.filePath("picture.png"));
    }

    // A fake ffmpeg that counts its runs, keeps its arguments of the last
    // one, and on run `madeOn` (and after) copies `what` to its output.
    void fakeFfmpeg(int madeOn, const QString& what = "picture.png",
                    const QByteArray& before = {}) {
        const QByteArray dir = scratch.path().toUtf8();
        script("tools/ffmpeg/ffmpeg", before + "\nn=$(cat '" + dir +
                                          "/runs' 2>/dev/null || echo 0); n=$((n+1)); echo $n > '" +
                                          dir + "/runs'\nprintf '%s\\n' \"$@\" > '" + dir +
                                          "/args'\nfor a; do out=$a; done\nif [ $n -ge " +
                                          QByteArray::number(madeOn) + " ]; then cp '" + dir + "/" +
                                          what.toUtf8() + "' \"$out\"; fi");
    }

    // A fake engine that keeps its arguments and environment and writes the
    // content of "engine-text" (when there is one) as its text.
    void fakeEngine(const QByteArray& before = {}) {
        const QByteArray dir = scratch.path().toUtf8();
        script("support/tesseract304/tesseract",
               before + "\nprintf '%s\\n' \"$@\" > '" + dir + "/engine-args'\nprintf '%s|%s|%s' " +
                   "\"$TESSDATA_PREFIX\" \"$LD_LIBRARY_PATH\" \"$OMP_THREAD_LIMIT\" > '" + dir +
                   "/engine-env'\n[ -f '" + dir + "/engine-text' ] && cp '" + dir +
                   "/engine-text' \"$2.txt\"\nexit 0");
    }

    void setEngineText(const QByteArray& text) {
        QFile file(scratch.filePath("engine-text"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    std::shared_ptr<SCImageSubImporter> importer;
};

TEST(LineGrabCommand, SizesAndTimes) {
    EXPECT_EQ(grabSizeFor(1280, 1024), GrabSize({1280, 1024}));
    EXPECT_EQ(grabSizeFor(1281, 1024), GrabSize({1280, 720}));
    EXPECT_EQ(grabSizeFor(1920, 800), GrabSize({1280, 720}));
    EXPECT_EQ(grabSizeFor(0, 480), GrabSize({0, 480}));
    const QList<std::pair<double, QString>> times = {
        {12.7, "12.7"}, {1e-05, "0.00001"}, {-0.5, "-0.5"}, {0, "0"}, {3, "3"}, {-1e-9, "0"}};
    for (const auto& [seconds, text] : times) EXPECT_EQ(grabTimeText(seconds), text) << seconds;
}

TEST_F(LineConverterTest, GrabArgumentsWithoutAShell) {
    fakeFfmpeg(1);
    // A file named "o" where the children run would match a shell's "[out]".
    script("app/o", "");
    const QUrl movie = QUrl::fromLocalFile(scratch.filePath("a b \"c\" $d; [e].mkv"));
    SCImageSubLineConverter converter(importer);
    const auto png = converter.createCroppedPngForFile(movie, 10.2);
    ASSERT_TRUE(png.has_value());
    EXPECT_TRUE(png->toLocalFile().startsWith(uniqueNamesFolder() + "croppedPng."));
    EXPECT_TRUE(png->toLocalFile().endsWith(".png"));
    const QStringList expected = {
        "-ss",
        "10.2",
        "-noaccurate_seek",
        "-i",
        movie.toLocalFile(),
        "-filter_complex",
        "color=color=black:size=1280x720[base];[0:0]scale=1280:720[scaled];[base][scaled]"
        "overlay=(main_w-overlay_w)/2: main_h-overlay_h[over];[over]thumbnail=5[out]",
        "-loglevel",
        "error",
        "-map",
        "[out]",
        "-pix_fmt",
        "rgb24",
        "-vcodec",
        "png",
        "-vframes",
        "1",
        "-y",
        png->toLocalFile()};
    EXPECT_EQ(read("args"), expected.join('\n') + '\n');
}

TEST_F(LineConverterTest, GrabRuns) {
    struct Case {
        const char* name;
        int madeOn;
        bool made;
        int runs;
    };
    // Runs that end by themselves have a limit that only a hang reaches.
    importer->setTimeLimits({.grab = 30s});
    const QList<Case> cases = {
        {"a file on run 3", 3, true, 3},
        {"never a file", 100, false, 6},
    };
    for (const Case& c : cases) {
        QFile::remove(scratch.filePath("runs"));
        fakeFfmpeg(c.madeOn, "picture.png");
        SCImageSubLineConverter converter(importer);
        const auto png = converter.createCroppedPngForFile(QUrl::fromLocalFile("/x.mkv"), 1);
        EXPECT_EQ(png.has_value(), c.made) << c.name;
        EXPECT_EQ(read("runs").trimmed().toInt(), c.runs) << c.name;
    }
    // A hang is stopped at the limit and not tried again. Each start notes
    // itself; one stopped before it could counts none, never more.
    importer->setTimeLimits({.grab = 300ms});
    fakeFfmpeg(1, "picture.png", "echo x >> '" + scratch.path().toUtf8() + "/starts'; sleep 60");
    {
        SCImageSubLineConverter converter(importer);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(converter.createCroppedPngForFile(QUrl::fromLocalFile("/x.mkv"), 1),
                  std::nullopt);
        EXPECT_LE(read("starts").count('\n'), 1);
        EXPECT_LT(clock.elapsed(), testsupport::kHangMs);  // the fake alone takes a minute
        EXPECT_EQ(converter.grabFailure(), "ffmpeg did not finish within 0.3 seconds.");
    }
    // No program at all: nothing runs.
    QFile::remove(scratch.filePath("tools/ffmpeg/ffmpeg"));
    SCImageSubLineConverter converter(importer);
    EXPECT_EQ(converter.createCroppedPngForFile(QUrl::fromLocalFile("/x.mkv"), 1), std::nullopt);
}

// A grab that makes no picture is a failed line, with ffmpeg's own words
// where it gave any (from its last run).
TEST_F(LineConverterTest, GrabsThatMakeNoPictureAreFailedLines) {
    importer->setTimeLimits({.grab = 30s});
    const QString ffmpeg = scratch.filePath("tools/ffmpeg/ffmpeg");
    struct Case {
        const char* name;
        std::optional<QByteArray> ffmpeg;  // none: no ffmpeg at all
        std::optional<QString> failure;    // none: grabbed
    };
    const QList<Case> cases = {
        {"grabbed",
         "for a; do out=$a; done; cp '" + scratch.filePath("picture.png").toUtf8() + "' \"$out\"",
         std::nullopt},
        {"ffmpeg says why", "echo '/x.mkv: Invalid data found when processing input' >&2; exit 1",
         "/x.mkv: Invalid data found when processing input"},
        {"a silent failure", "exit 1", "ffmpeg ended with status 1."},
        {"killed", "kill -9 $$", "ffmpeg was ended by a signal."},
        {"no picture written", "exit 0", "ffmpeg ended without writing the picture."},
        {"not executable", "", "ffmpeg could not be started: " + ffmpeg},
        {"missing", std::nullopt, "ffmpeg is missing: " + ffmpeg},
    };
    for (const Case& c : cases) {
        QFile::remove(ffmpeg);
        if (c.ffmpeg) script("tools/ffmpeg/ffmpeg", *c.ffmpeg);
        if (c.ffmpeg && c.ffmpeg->isEmpty()) QFile::setPermissions(ffmpeg, QFile::ReadOwner);
        SCImageSubLineConverter converter(importer);
        const auto png = converter.createCroppedPngForFile(QUrl::fromLocalFile("/x.mkv"), 1);
        EXPECT_EQ(png.has_value(), !c.failure.has_value()) << c.name;
        EXPECT_EQ(converter.grabFailure(), c.failure) << c.name;
        if (png) QFile::remove(png->toLocalFile());
    }
    // A grab stopped because its import was cancelled is no failed line.
    script("tools/ffmpeg/ffmpeg", "sleep 60");
    importer->cancelImport();
    SCImageSubLineConverter converter(importer);
    EXPECT_EQ(converter.createCroppedPngForFile(QUrl::fromLocalFile("/x.mkv"), 1), std::nullopt);
    EXPECT_EQ(converter.grabFailure(), std::nullopt);
}

TEST_F(LineConverterTest, EngineArgumentsEnvironmentAndText) {
    fakeEngine();
    preferences->modifyPreferencePanelDictionary([](std::optional<QVariantMap>& panel) {
        panel = QVariantMap{{"userTesseractLanguage", "deu"}};
    });
    const QString picture = scratch.filePath("pictures/a b.png");
    QDir().mkpath(scratch.filePath("pictures"));
    struct Case {
        const char* name;
        std::optional<QByteArray> text;
        QString read;
    };
    const QList<Case> cases = {
        {"two rows", "Two\nrows\n\n", "Two\nrows"}, {"edge blanks kept", " word \n", " word "},
        {"only line ends", "\n\n\f", ""},           {"not UTF-8", "caf\xE9", ""},
        {"no text file", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        QFile::remove(scratch.filePath("engine-text"));
        QFile::remove(picture + ".txt");
        if (c.text) setEngineText(*c.text);
        SCImageSubLineConverter converter(importer);
        EXPECT_EQ(converter.ocrTextForPngURL(QUrl::fromLocalFile(picture)), c.read) << c.name;
        EXPECT_EQ(converter.ocrTextFileURL(), QUrl::fromLocalFile(picture + ".txt")) << c.name;
    }
    EXPECT_EQ(read("engine-args"),
              QStringList({picture, picture, "-l", "deu", "exclusions"}).join('\n') + '\n');
    const QString engine = scratch.filePath("support/tesseract304");
    EXPECT_EQ(read("engine-env"), engine + '|' + engine + "/lib|1");
}

// A run that reads nothing is a failed line, with the engine's own words
// where it gave any; a picture without words is a line read.
TEST_F(LineConverterTest, EngineRunsThatReadNothingAreFailedLines) {
    const QString picture = scratch.filePath("p.png");
    const QString engine = scratch.filePath("support/tesseract304/tesseract");
    struct Case {
        const char* name;
        std::optional<QByteArray> engine;  // none: no engine at all
        QString text;
        std::optional<QString> failure;  // none: read
    };
    const QList<Case> cases = {
        {"read", "printf 'Hello\\n' > \"$2.txt\"", "Hello", std::nullopt},
        {"no words", ": > \"$2.txt\"", "", std::nullopt},
        {"text despite its status", "printf 'Hello' > \"$2.txt\"; exit 1", "Hello", std::nullopt},
        {"no language data",
         "echo \"Failed loading language 'eng'\" >&2\n"
         "echo \"Tesseract couldn't load any languages!\" >&2\nexit 1",
         "", "Failed loading language 'eng'\nTesseract couldn't load any languages!"},
        {"a silent failure", "exit 3", "", "tesseract ended with status 3."},
        {"killed", "kill -9 $$", "", "tesseract was ended by a signal."},
        {"no text file", "exit 0", "", "tesseract ended without writing its text."},
        {"a text file that cannot be read", "mkdir \"$2.txt\"", "",
         "tesseract's text could not be read: file to open is a directory"},
        {"not executable", "", "", "tesseract could not be started: " + engine},
        {"missing", std::nullopt, "", "tesseract is missing: " + engine},
    };
    for (const Case& c : cases) {
        QFile::remove(engine);
        QDir(picture + ".txt").removeRecursively();
        QFile::remove(picture + ".txt");
        if (c.engine) script("support/tesseract304/tesseract", *c.engine);
        if (c.engine && c.engine->isEmpty()) QFile::setPermissions(engine, QFile::ReadOwner);
        SCImageSubLineConverter converter(importer);
        EXPECT_EQ(converter.ocrTextForPngURL(QUrl::fromLocalFile(picture)), c.text) << c.name;
        EXPECT_EQ(converter.ocrRead(), !c.failure.has_value()) << c.name;
        EXPECT_EQ(converter.ocrFailure(), c.failure) << c.name;
    }
}

TEST_F(LineConverterTest, AnEngineThatHangsIsStoppedAsAFailedLine) {
    importer->setTimeLimits({.ocr = 300ms});
    fakeEngine("sleep 60");
    SCImageSubLineConverter converter(importer);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(converter.ocrTextForPngURL(QUrl::fromLocalFile(scratch.filePath("p.png"))), "");
    EXPECT_LT(clock.elapsed(), testsupport::kHangMs);  // the fake alone takes a minute
    EXPECT_EQ(converter.ocrFailure(), "tesseract did not finish within 0.3 seconds.");
}

struct Posted {
    QList<QVariantMap> reports;
    platform::NotificationObserver observer{
        "imageSubLineImported",
        [this](const platform::Notification& n) { reports.append(n.userInfo); }};
};

TEST_F(LineConverterTest, OneLineIsPostedAndLeavesNoFiles) {
    struct Case {
        const char* name;
        int madeOn;
        QString picture;
        QVariant image;  // what "lineImage" holds
        QVariant dialog;
    };
    const QByteArray notPng = "not a picture";
    QFile bad(scratch.filePath("bad.png"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(notPng);
    bad.close();
    setEngineText("Hello\n");
    fakeEngine();
    const QList<Case> cases = {
        {"grabbed and read", 1, "picture.png", QSize(32, 8), "Hello"},
        {"no picture", 100, "picture.png", QSize(0, 0), "CROP ERROR"},
        {"a picture that does not decode", 1, "bad.png", QVariant(), "Hello"},
    };
    for (const Case& c : cases) {
        fakeFfmpeg(c.madeOn, c.picture);
        Posted posted;
        {
            SCImageSubLineConverter converter(importer);
            converter.importLineNumber(7, 10.0, 12.5, QUrl::fromLocalFile("/x.mkv"), true);
        }
        testsupport::drainMainQueue();
        ASSERT_EQ(posted.reports.size(), 1) << c.name;
        const QVariantMap& report = posted.reports[0];
        EXPECT_EQ(report.value("startTime").toDouble(), 10.0) << c.name;
        EXPECT_EQ(report.value("endTime").toDouble(), 12.5) << c.name;
        EXPECT_EQ(report.value("isLast"), true) << c.name;
        EXPECT_EQ(report.value("lineNumber").toLongLong(), 7) << c.name;
        EXPECT_EQ(report.value("theImporter").toLongLong(), importer->importNumber()) << c.name;
        EXPECT_EQ(report.value("lineDialog"), c.dialog) << c.name;
        if (c.image.isValid())
            EXPECT_EQ(report.value("lineImage").value<QImage>().size(), c.image.toSize()) << c.name;
        else
            EXPECT_FALSE(report.value("lineImage").isValid()) << c.name;
        // A grabbed picture travels as the PNG's bytes, not decoded.
        if (c.image.toSize() == QSize(32, 8)) {
            QFile png(scratch.filePath(c.picture));
            ASSERT_TRUE(png.open(QIODevice::ReadOnly));
            EXPECT_EQ(report.value("lineImage").metaType(), QMetaType::fromType<LinePicture>());
            EXPECT_EQ(report.value("lineImage").value<LinePicture>().encoded(), png.readAll());
        }
        EXPECT_TRUE(leftInTemporary("croppedPng").isEmpty()) << c.name;
    }
    // The grab time is 0.2 s into the line on the file's own clock.
    EXPECT_TRUE(read("args").startsWith("-ss\n10.2\n"));
}

TEST_F(LineConverterTest, ALineOfAnImporterThatIsGone) {
    fakeFfmpeg(100);
    std::weak_ptr<SCImageSubImporter> gone;
    {
        auto importer = SCImageSubImporter::create();
        gone = importer;
    }
    Posted posted;
    SCImageSubLineConverter converter(gone);
    converter.importLineNumber(0, 1, 2, QUrl::fromLocalFile("/x.mkv"), false);
    testsupport::drainMainQueue();
    ASSERT_EQ(posted.reports.size(), 1);
    EXPECT_FALSE(posted.reports[0].value("theImporter").isValid());
}

}  // namespace
