#include "tools/TemporaryNames.h"

#include <stdlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>

#include "ToolsFixture.h"
#include "platform/RunFolder.h"
#include "support/FileListing.h"

namespace {

class TemporaryNames : public ToolsFixture {
  protected:
    QString folder() const { return path("tmp") + u'/'; }
    // The folders in the private one.
    QStringList foldersInIt() const {
        return QDir(folder()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void TearDown() override { platform::RunFolder::removeWhatThisRunMade(); }

    // The calls that make and lock the run's folder, the lock failing as it
    // does on NFS; `made` counts the folders made.
    platform::RunFolder::Overrides withoutLocks() {
        platform::RunFolder::Overrides calls;
        calls.mkdtemp = [this](char* pattern) {
            ++made;
            return ::mkdtemp(pattern);
        };
        calls.flock = [](int, int) {
            errno = ENOLCK;
            return -1;
        };
        return calls;
    }
    int made = 0;
};

TEST_F(TemporaryNames, UniqueNamesAreJoinedToTheRunsFolder) {
    // This run's own folder, inside the private one.
    const QString runs = uniqueNamesFolder();
    EXPECT_TRUE(runs.startsWith(folder()));
    EXPECT_TRUE(QRegularExpression("^run\\.[0-9]+\\.[A-Za-z0-9]{6}/$")
                    .match(runs.mid(folder().size()))
                    .hasMatch())
        << runs.toStdString();
    EXPECT_TRUE(QFileInfo(runs).isDir());
    const struct {
        QString extension;
        QString ending;
    } cases[] = {{"mkv", ".mkv"}, {".mkv", ".mkv"}, {"tar.gz", ".targz"},
                 {"PNG", ".PNG"}, {"", "."},        {"..", "."}};
    for (const auto& c : cases) {
        const QString made = makeUniqueNSTempFileURL("croppedPng", c.extension).toLocalFile();
        EXPECT_TRUE(made.startsWith(runs + "croppedPng.")) << made.toStdString();
        EXPECT_TRUE(made.endsWith(c.ending)) << made.toStdString();
        const QString field = made.mid(runs.size() + QStringLiteral("croppedPng.").size());
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{12}\\.").match(field).hasMatch())
            << made.toStdString();
        EXPECT_FALSE(QFileInfo::exists(made));
    }
    EXPECT_NE(makeUniqueNSTempFileURL("a", "mkv"), makeUniqueNSTempFileURL("a", "mkv"));
}

TEST_F(TemporaryNames, BlanksAreEscapedAndNothingElse) {
    EXPECT_EQ(makeFilePathUnixFriendly("/a b/c  d.png"), "/a\\ b/c\\ \\ d.png");
    EXPECT_EQ(makeFilePathUnixFriendly("/plain/$x\"y'.png"), "/plain/$x\"y'.png");
}

TEST_F(TemporaryNames, LinksAreHiddenInTheRunsFolder) {
    const QString movie = writeFile("My Movies/Film One.MKV", "x");
    const QString link = makeSymbolicLinkPath(QUrl::fromLocalFile(movie));
    EXPECT_TRUE(link.startsWith(uniqueNamesFolder() + u'.')) << link.toStdString();
    EXPECT_TRUE(link.endsWith(".SL.mkv")) << link.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), movie);

    const QString data = makeFolder("Application Support/tessdata");
    const QString folderLink = makeSymbolicLinkPath(QUrl::fromLocalFile(data + u'/'));
    EXPECT_TRUE(folderLink.endsWith(".SL.")) << folderLink.toStdString();
    EXPECT_TRUE(QFileInfo(folderLink).isDir());
    EXPECT_EQ(QFile::symLinkTarget(folderLink), data);
}

TEST_F(TemporaryNames, AMissingTargetGivesItsOwnPath) {
    const struct {
        QString url;
        QString expected;
    } cases[] = {
        {path("nowhere/file.srt"), path("nowhere/file.srt")},
        {path("nowhere/tessdata/"), path("nowhere/tessdata")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(makeSymbolicLinkPath(QUrl::fromLocalFile(c.url)), c.expected)
            << c.url.toStdString();
}

// A temporary folder on NFS: no folder of its own can be locked. Names and
// links go to the private folder; the run tries once and says so once.
TEST_F(TemporaryNames, WithoutItsOwnFolderARunNamesInThePrivateOne) {
    testsupport::ScopedRunFolderCalls seam(withoutLocks());
    testsupport::ScopedLogCapture log;
    const QString movie = writeFile("Film.mkv", "x");
    for (int call = 0; call < 100; ++call) {
        ASSERT_EQ(uniqueNamesFolder(), folder());
        const QString name = makeUniqueNSTempFileURL("croppedPng", "png").toLocalFile();
        ASSERT_TRUE(name.startsWith(folder() + "croppedPng.")) << name.toStdString();
    }
    const QString link = makeSymbolicLinkPath(QUrl::fromLocalFile(movie));
    EXPECT_TRUE(link.startsWith(folder() + ".")) << link.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), movie);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(foldersInIt(), QStringList());
    ASSERT_EQ(log.entries().size(), 1) << log.entries().join('\n').toStdString();
    EXPECT_TRUE(log.entries()[0].endsWith("go to " + folder())) << log.entries()[0].toStdString();
}

// As a run ends, one sweep removes its links wherever they lie (in its own
// folder, with that folder, or in the private one where it had none); what
// other runs put in the private folder stays.
TEST_F(TemporaryNames, TheEndOfARunRemovesItsLinksWhereverTheyLie) {
    const QString movie = writeFile("My Movies/Film One.MKV", "x");
    writeFile("tmp/quillmarExport.12.srt", "handed over");
    ASSERT_TRUE(QFile::link(writeFile("kept.txt", "x"), folder() + ".ABCDEF012345.SL.txt"));
    for (const bool ownFolder : {true, false}) {
        SCOPED_TRACE(ownFolder ? "own folder" : "no lock");
        testsupport::ScopedRunFolderCalls seam(ownFolder ? platform::RunFolder::Overrides()
                                                         : withoutLocks());
        testsupport::ScopedLogCapture log;
        const QString working = uniqueNamesFolder();
        ASSERT_EQ(working == folder(), !ownFolder) << working.toStdString();
        const QStringList links = {makeSymbolicLinkPath(QUrl::fromLocalFile(movie)),
                                   makeSymbolicLinkPath(QUrl::fromLocalFile(path("My Movies")))};
        for (const QString& link : links) ASSERT_TRUE(QFileInfo(link).isSymLink());

        platform::RunFolder::removeWhatThisRunMade();
        for (const QString& link : links)
            EXPECT_FALSE(QFileInfo(link).isSymLink()) << link.toStdString();
        EXPECT_EQ(foldersInIt(), QStringList());
        EXPECT_EQ(testsupport::filesBelow(folder()),
                  (QStringList{".ABCDEF012345.SL.txt", "quillmarExport.12.srt"}));
        EXPECT_TRUE(QFileInfo(movie).isFile());
    }
}

// Where the private folder cannot be made safe, nothing temporary is made:
// no name, no link, and nothing in the shared system folder or where the
// tools run.
TEST_F(TemporaryNames, WithoutAPrivateFolderNothingIsMade) {
    const QString movie = writeFile("Film.mkv", "x");
    writeFile("blocker", "a file where the private folder should be");
    temporaryFolder->set(path("blocker/tmp"));
    const QString shared = makeFolder("shared");
    testsupport::ScopedOverride<QByteArray> systemFolder(
        [](const QByteArray& value) {
            if (value.isNull())
                qunsetenv("TMPDIR");
            else
                qputenv("TMPDIR", value);
        },
        QFile::encodeName(shared),
        qEnvironmentVariableIsSet("TMPDIR") ? qgetenv("TMPDIR") : QByteArray());
    appPaths.set({.bundleFolder = makeFolder("where tools run/bin")});
    testsupport::ScopedLogCapture log;

    for (int call = 0; call < 10; ++call) {
        EXPECT_EQ(uniqueNamesFolder(), "");
        EXPECT_EQ(makeUniqueNSTempFileURL("croppedPng", "png"), QUrl());
        EXPECT_EQ(makeSymbolicLinkPath(QUrl::fromLocalFile(movie)), movie);
    }
    EXPECT_EQ(testsupport::filesBelow(shared), QStringList());
    EXPECT_EQ(testsupport::filesBelow(path("where tools run")), QStringList());
    EXPECT_EQ(log.entries(),
              QStringList{"!!!! the private temporary folder cannot be made safe; this run makes "
                          "no working files"});
}

}  // namespace
