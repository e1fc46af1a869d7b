#include "platform/TemporaryFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/PlatformOverrides.h"

using platform::TemporaryFolder;

TEST(TemporaryFolder, IsPrivateAndEndsInASlash) {
    const QString folder = TemporaryFolder::path();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(folder.endsWith('/'));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(TemporaryFolder, ClosesAnOpenFolderAndRefusesALink) {
    QTemporaryDir scratch;
    const QString open = scratch.path() + "/open";
    ASSERT_TRUE(QDir().mkdir(open));
    ::chmod(QFile::encodeName(open).constData(), 0777);
    testsupport::ScopedTemporaryFolder folder(open);
    EXPECT_EQ(TemporaryFolder::path(), open + "/");
    struct stat info {};
    ::stat(QFile::encodeName(open).constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const QString link = scratch.path() + "/link";
    ASSERT_TRUE(QFile::link(open, link));
    folder.set(link);
    EXPECT_EQ(TemporaryFolder::path(), "");
}
