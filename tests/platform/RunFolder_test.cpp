#include "platform/RunFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "support/PlatformOverrides.h"

using platform::RunFolder;

namespace {

class RunFolderTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(scratch.isValid()); }
    void TearDown() override { RunFolder::removeWhatThisRunMade(); }

    QString tmp() const { return scratch.filePath("tmp") + u'/'; }
    QString makeRun(const QString& name) const {
        const QString folder = tmp() + name;
        QDir().mkpath(folder + "/inner");
        QFile file(folder + "/inner/tempVideoForSubURL.0123456789AB.mkv");
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return folder;
    }

    QTemporaryDir scratch;
    testsupport::ScopedTemporaryFolder folder{scratch.filePath("tmp")};
};

TEST_F(RunFolderTest, IsMadeOnceInsideThePrivateFolderAndGoesAtTheEnd) {
    const QString run = RunFolder::path();
    ASSERT_TRUE(run.startsWith(tmp())) << run.toStdString();
    const QString name = run.mid(tmp().size());
    EXPECT_TRUE(QRegularExpression("^run\\." + QString::number(::getpid()) + "\\.[A-Za-z0-9]{6}/$")
                    .match(name)
                    .hasMatch())
        << name.toStdString();
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(run).constData(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(RunFolder::path(), run);

    QFile file(run + "croppedPng.0123456789AB.png");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    RunFolder::removeWhatThisRunMade();
    EXPECT_FALSE(QFileInfo::exists(run));
    // A folder taken away is made anew.
    const QString next = RunFolder::path();
    EXPECT_NE(next, run);
    ASSERT_TRUE(QDir().rmdir(next));
    EXPECT_NE(RunFolder::path(), next);
    EXPECT_TRUE(QFileInfo(RunFolder::path()).isDir());
}

// A run holds its folder's lock while it lives; the number in the name is
// the reader's only.
TEST_F(RunFolderTest, AStartRemovesTheFoldersOfEndedRunsOnly) {
    const QString own = RunFolder::path();
    const QString ended = makeRun("run.1.abcdef");
    const QString endedWithALiveNumber = makeRun("run." + QString::number(::getpid()) + ".Zz0Zz9");
    const QString held = makeRun("run.2.Held01");
    const int lock = ::open(QFile::encodeName(held).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    const QStringList others = {makeRun("run.3.abc"), makeRun("someone-else"),
                                makeRun("run.4.abcdefg")};
    QFile plain(tmp() + "run.5.abcdef");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString target = makeRun("linked");
    ASSERT_TRUE(QFile::link(target, tmp() + "run.6.abcdef"));

    RunFolder::removeFoldersOfEndedRuns();
    EXPECT_FALSE(QFileInfo::exists(ended));
    EXPECT_FALSE(QFileInfo::exists(endedWithALiveNumber));
    EXPECT_TRUE(QFileInfo::exists(held + "/inner/tempVideoForSubURL.0123456789AB.mkv"));
    EXPECT_TRUE(QFileInfo(own).isDir());
    EXPECT_EQ(RunFolder::path(), own);
    for (const QString& other : others)
        EXPECT_TRUE(QFileInfo::exists(other + "/inner")) << other.toStdString();
    EXPECT_TRUE(QFileInfo(tmp() + "run.5.abcdef").isFile());
    EXPECT_TRUE(QFileInfo(tmp() + "run.6.abcdef").isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target + "/inner"));

    // Its run has ended.
    ::close(lock);
    RunFolder::removeFoldersOfEndedRuns();
    EXPECT_FALSE(QFileInfo::exists(held));
    EXPECT_TRUE(QFileInfo(own).isDir());
}

// Where its own folder cannot be made (a full disk) or locked (a temporary
// folder on NFS), a run works in the private folder: it tries once, says so
// once and leaves no folder behind, however often it asks.
TEST_F(RunFolderTest, WithoutItsOwnFolderARunWorksInThePrivateOne) {
    const struct {
        const char* name;
        int makeError;  // 0: the folder is made
        int lockError;  // 0: it is locked
        QString failed;
    } cases[] = {
        {"full disk", ENOSPC, 0, "made"},
        {"no locks", 0, ENOLCK, "locked"},
        {"no lock for writing", 0, EBADF, "locked"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int made = 0;
        RunFolder::Overrides calls;
        calls.mkdtemp = [&](char* pattern) -> char* {
            ++made;
            if (c.makeError == 0) return ::mkdtemp(pattern);
            errno = c.makeError;
            return nullptr;
        };
        if (c.lockError != 0)
            calls.flock = [&](int, int) {
                errno = c.lockError;
                return -1;
            };
        testsupport::ScopedRunFolderCalls seam(calls);
        testsupport::ScopedLogCapture log;

        QStringList answers;
        for (int call = 0; call < 50; ++call) answers.append(RunFolder::path());
        answers.removeDuplicates();
        EXPECT_EQ(answers.join(", ").toStdString(), tmp().toStdString());
        EXPECT_EQ(made, 1);
        EXPECT_TRUE(QDir(tmp()).isEmpty()) << QDir(tmp()).entryList().join(", ").toStdString();
        const QString reason =
            QString::fromLocal8Bit(std::strerror(c.makeError != 0 ? c.makeError : c.lockError));
        ASSERT_EQ(log.entries().size(), 1) << log.entries().join('\n').toStdString();
        EXPECT_EQ(log.entries()[0].toStdString(),
                  ("!!!! this run's folder cannot be " + c.failed + " in " + tmp() + " (" + reason +
                   "); its working files go to " + tmp())
                      .toStdString());
        // The next run tries again.
        RunFolder::removeWhatThisRunMade();
    }
}

// Another start's sweep may hold a folder just made, before its lock: the
// run makes another, and the first goes.
TEST_F(RunFolderTest, AFolderHeldByASweepIsMadeAgain) {
    int made = 0;
    int locks = 0;
    RunFolder::Overrides calls;
    calls.mkdtemp = [&](char* pattern) {
        ++made;
        return ::mkdtemp(pattern);
    };
    calls.flock = [&](int fd, int operation) {
        if (locks++ > 0) return ::flock(fd, operation);
        errno = EWOULDBLOCK;
        return -1;
    };
    testsupport::ScopedRunFolderCalls seam(calls);
    testsupport::ScopedLogCapture log;
    const QString run = RunFolder::path();
    EXPECT_TRUE(run.startsWith(tmp() + "run.")) << run.toStdString();
    EXPECT_EQ(RunFolder::path(), run);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(QDir(tmp()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    EXPECT_TRUE(log.entries().isEmpty()) << log.entries().join('\n').toStdString();
}

}  // namespace
