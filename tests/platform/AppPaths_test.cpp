#include "platform/AppPaths.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/PlatformOverrides.h"

using platform::AppPaths;

namespace {

class AppPathsTest : public ::testing::Test {
  protected:
    // Each test changes the folders through this guard's setter; they are
    // the defaults again after it, however it ends.
    testsupport::ScopedAppPaths paths{{}};
};

TEST_F(AppPathsTest, DefaultsFollowTheExecutable) {
    EXPECT_EQ(AppPaths::bundleFolder(), QCoreApplication::applicationDirPath());
    QDir parent(QCoreApplication::applicationDirPath());
    parent.cdUp();
    EXPECT_EQ(AppPaths::childWorkingDirectory(), parent.canonicalPath() + u'/');
    EXPECT_TRUE(QFileInfo(AppPaths::resourcesFolder()).isDir());
}

TEST_F(AppPathsTest, TheWorkingDirectoryIsTheBundlesRealParent) {
    QTemporaryDir scratch;
    QDir().mkpath(scratch.filePath("real/Editor"));
    QDir().mkpath(scratch.filePath("MyEditor/Editor"));
    QFile::link(scratch.filePath("real"), scratch.filePath("alias"));
    const QString real = QDir(scratch.filePath("real")).canonicalPath() + u'/';
    const struct {
        QString bundle;
        QString expected;
    } cases[] = {
        {scratch.filePath("real/Editor"), real},
        {scratch.filePath("real/Editor/"), real},
        {scratch.filePath("alias/Editor"), real},
        // Cutting the path at the first "Editor" would name ".../My", which
        // does not exist.
        {scratch.filePath("MyEditor/Editor"),
         QDir(scratch.filePath("MyEditor")).canonicalPath() + u'/'},
        {scratch.filePath("missing/Editor"), "/"},
    };
    for (const auto& c : cases) {
        paths.set({.bundleFolder = c.bundle});
        EXPECT_EQ(AppPaths::childWorkingDirectory(), c.expected) << c.bundle.toStdString();
    }
}

TEST_F(AppPathsTest, OverridesReplaceEachFolder) {
    paths.set({.resourcesFolder = QString("/r/"), .userDataFolder = QString()});
    EXPECT_EQ(AppPaths::resourcesFolder(), "/r");
    EXPECT_EQ(AppPaths::userDataFolder(), "");
    paths.set({});
    EXPECT_FALSE(AppPaths::userDataFolder().isEmpty());
}

TEST_F(AppPathsTest, InstalledResourcesLieBesideTheExecutablesFolder) {
    QTemporaryDir scratch;
    QDir().mkpath(scratch.filePath("bin"));
    paths.set({.bundleFolder = scratch.filePath("bin")});
    const QString buildTree = AppPaths::resourcesFolder();
    EXPECT_NE(buildTree, scratch.filePath("share/quillmar"));
    QDir().mkpath(scratch.filePath("share/quillmar"));
    EXPECT_EQ(AppPaths::resourcesFolder(), scratch.filePath("share/quillmar"));
}

}  // namespace
