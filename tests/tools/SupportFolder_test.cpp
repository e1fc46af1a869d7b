#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ToolsFixture.h"
#include "platform/AppPaths.h"
#include "platform/LogSink.h"
#include "tools/CommandRunner.h"
#include "tools/SCPreferences.h"

namespace {

const QStringList kAllEntries = {"jpeg",    "leptonica", "lib",      "libpng",
                                 "libtiff", "tessdata",  "tesseract"};

// The support folder set-up with a fake archive and a runner that only
// records what it was asked to run.
class SupportFolderSetUp : public ToolsFixture {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        resources = makeFolder("resources");
        writeFile("resources/tesseract304.zip", "not really");
        dataHome = makeFolder("data");
        appPaths.set({.resourcesFolder = resources, .userDataFolder = dataHome});
        preferences->setCommandRunner([this](const QString& command, const QStringList& options) {
            runs.append(command + u' ' + options.join(u'|'));
            return std::optional<QString>();
        });
        capture.emplace(&platform::LogSink::setCaptureHook,
                        [this](const QString& entry) { logged.append(entry); });
    }

    QString expectedRun(const QString& pattern, const QString& into) const {
        return "unzip -uoq|" + resources + "/tesseract304.zip|" + pattern + "|-d|" + into;
    }
    QString engine() const { return dataHome + "/Borvane/tesseract304"; }

    QString resources;
    QString dataHome;
    QStringList runs;
    QStringList logged;
    std::optional<testsupport::ScopedOverride<platform::LogSink::Hook>> capture;
};

TEST_F(SupportFolderSetUp, FirstStartUnpacksEveryEntryInOrder) {
    preferences->initializeApplicationSupportFolder();

    EXPECT_TRUE(QFileInfo(engine()).isDir());
    EXPECT_EQ(preferences->borvaneSupportFolderURL(), QUrl::fromLocalFile(dataHome + "/Borvane"));
    QStringList expected;
    for (const char* pattern :
         {"tesseract304/jpeg/*", "tesseract304/leptonica/*", "tesseract304/lib/*",
          "tesseract304/libpng/*", "tesseract304/libtiff/*", "tesseract304/tessdata/*",
          "tesseract304/tesseract*"})
        expected.append(expectedRun(pattern, dataHome + "/Borvane"));
    EXPECT_EQ(runs, expected);
    EXPECT_TRUE(logged.isEmpty());
}

struct PresentCase {
    const char* name;
    QStringList folders;  // made as folders in the engine folder
    QStringList files;    // made as plain files
    QStringList expectedPatterns;
};

void PrintTo(const PresentCase& c, std::ostream* out) {
    *out << c.name;
}

class SupportFolderEntries : public SupportFolderSetUp,
                             public ::testing::WithParamInterface<PresentCase> {};

TEST_P(SupportFolderEntries, UnpacksOnlyWhatIsMissing) {
    const PresentCase& c = GetParam();
    for (const QString& folder : c.folders) makeFolder("data/Borvane/tesseract304/" + folder);
    for (const QString& file : c.files) writeFile("data/Borvane/tesseract304/" + file, "x");

    preferences->initializeApplicationSupportFolder();

    QStringList expected;
    for (const QString& pattern : c.expectedPatterns)
        expected.append(expectedRun(pattern, dataHome + "/Borvane"));
    EXPECT_EQ(runs, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SupportFolderEntries,
    ::testing::Values(
        PresentCase{"OnlyTessdataMissing",
                    {"jpeg", "leptonica", "lib", "libpng", "libtiff"},
                    {"tesseract"},
                    {"tesseract304/tessdata/*"}},
        PresentCase{"AllPresentWithExtras",
                    {"jpeg", "leptonica", "lib", "libpng", "libtiff", "tessdata", "more"},
                    {"tesseract", ".hidden", "notes.txt", "tessdata/eng.traineddata"},
                    {}},
        PresentCase{"PlainFileCountsAsPresent",
                    {"leptonica", "lib", "libpng", "libtiff", "tessdata"},
                    {"jpeg", "tesseract", "tessdata/fra.traineddata"},
                    {}},
        PresentCase{"ProgramMissing",
                    {"jpeg", "leptonica", "lib", "libpng", "libtiff", "tessdata"},
                    {"tesseract.old", "tessdata/eng.traineddata"},
                    {"tesseract304/tesseract*"}},
        // Emptied of language data: that alone comes back, in
        // the language folder's turn.
        PresentCase{"LanguageDataEmptied",
                    {"jpeg", "leptonica", "lib", "libpng", "libtiff", "tessdata/configs",
                     "tessdata/old.traineddata"},
                    {"tessdata/configs/exclusions", "tessdata/eng.traineddata.part"},
                    {"tesseract304/tessdata/*.traineddata", "tesseract304/tesseract*"}},
        PresentCase{"LanguageFolderIsAPlainFile",
                    {"jpeg", "leptonica", "lib", "libpng", "libtiff"},
                    {"tessdata", "tesseract"},
                    {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SupportFolderSetUp, WithoutAUserDataFolderTheResourcesTakeItsPlace) {
    writeFile("resources/tesseract304/tessdata/eng.traineddata", "x");
    appPaths.set({.resourcesFolder = resources, .userDataFolder = QString()});

    preferences->initializeApplicationSupportFolder();

    EXPECT_EQ(logged, QStringList{"!!!! NSApplicationSupportDirectory could not be found"});
    EXPECT_EQ(preferences->borvaneSupportFolderURL(), QUrl::fromLocalFile(resources));
    ASSERT_EQ(runs.size(), 6);
    EXPECT_EQ(runs.first(), expectedRun("tesseract304/jpeg/*", resources));
    EXPECT_FALSE(QFileInfo::exists(dataHome + "/Borvane"));
}

TEST_F(SupportFolderSetUp, AFileInTheWayOfTheEngineFolder) {
    const struct {
        const char* what;
        QString file;    // written in the way, relative to the scratch folder
        bool fallsBack;  // the resources take the maker folder's place
    } cases[] = {
        // The maker folder is a file: the engine folder cannot be made.
        {"maker folder", "data/Borvane", true},
        // Something exists at the engine folder's place, so nothing is made;
        // being a file, it cannot be listed.
        {"engine folder", "data/Borvane/tesseract304", false},
    };
    for (const auto& c : cases) {
        QDir(path("data")).removeRecursively();
        writeFile(c.file, "in the way");
        logged.clear();

        preferences->initializeApplicationSupportFolder();

        EXPECT_EQ(preferences->borvaneSupportFolderURL(),
                  QUrl::fromLocalFile(c.fallsBack ? resources : dataHome + "/Borvane"))
            << c.what;
        // The resources hold no engine folder either: nothing can be listed.
        EXPECT_EQ(logged, QStringList{"!!!! couldn't get contents of tesseractSupportFolderURL"})
            << c.what;
        EXPECT_TRUE(runs.isEmpty()) << c.what;
        EXPECT_TRUE(QFileInfo(path(c.file)).isFile()) << c.what;
    }
}

TEST_F(SupportFolderSetUp, AMissingArchiveIsReportedAndNothingRuns) {
    QFile::remove(resources + "/tesseract304.zip");
    preferences->initializeApplicationSupportFolder();
    EXPECT_EQ(logged, QStringList{"!!!! OCR support archive could not be found"});
    EXPECT_TRUE(runs.isEmpty());
}

// With the generated archive and the real unzip.
class SupportFolderFromArchive : public ToolsFixture {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        appPaths.set({.userDataFolder = path("data")});
    }
    QString engine() const { return path("data/Borvane/tesseract304"); }
};

TEST_F(SupportFolderFromArchive, FirstStartThenOneMissingEntry) {
    ASSERT_TRUE(QFileInfo::exists(platform::AppPaths::resourcesFolder() + "/tesseract304.zip"));
    preferences->initializeApplicationSupportFolder();
    for (const QString& entry : kAllEntries)
        EXPECT_TRUE(QFileInfo::exists(engine() + u'/' + entry)) << entry.toStdString();
    EXPECT_TRUE(QFileInfo::exists(engine() + "/tessdata/eng.traineddata"));
    EXPECT_TRUE(QFileInfo::exists(engine() + "/tessdata/configs"));
    EXPECT_TRUE(QFileInfo(engine() + "/tesseract").isExecutable());

    ASSERT_TRUE(QDir(engine() + "/tessdata").removeRecursively());
    const QDateTime programTime = QFileInfo(engine() + "/tesseract").lastModified();
    QStringList runs;
    preferences->setCommandRunner([&runs](const QString& command, const QStringList& options) {
        runs.append(options.value(2));
        return doUnixCommand(command, options);
    });
    preferences->initializeApplicationSupportFolder();
    EXPECT_EQ(runs, QStringList{"tesseract304/tessdata/*"});
    EXPECT_TRUE(QFileInfo::exists(engine() + "/tessdata/eng.traineddata"));
    EXPECT_EQ(QFileInfo(engine() + "/tesseract").lastModified(), programTime);
}

// Only the language data comes back: the rest of the folder stays as the
// user left it, even a bundled file changed long ago.
TEST_F(SupportFolderFromArchive, AnEmptiedLanguageFolderGetsTheBundledDataAgain) {
    preferences->initializeApplicationSupportFolder();
    const QString data = engine() + "/tessdata";
    const QStringList bundled = QDir(data).entryList({"*.traineddata"}, QDir::Files);
    ASSERT_TRUE(bundled.contains("eng.traineddata"));
    ASSERT_TRUE(QFileInfo::exists(data + "/configs/digits"));
    for (const QString& name : bundled) ASSERT_TRUE(QFile::remove(data + u'/' + name));
    const QString changed = writeFile("data/Borvane/tesseract304/tessdata/configs/digits", "mine");
    QFile file(changed);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::fromSecsSinceEpoch(0), QFileDevice::FileModificationTime));
    file.close();

    preferences->initializeApplicationSupportFolder();

    EXPECT_EQ(QDir(data).entryList({"*.traineddata"}, QDir::Files), bundled);
    QFile kept(changed);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "mine");
}

}  // namespace
