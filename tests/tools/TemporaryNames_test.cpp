#include "tools/TemporaryNames.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "ToolsFixture.h"

namespace {

class TemporaryNames : public ToolsFixture {
  protected:
    QString folder() const { return path("tmp") + u'/'; }
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

}  // namespace
