// Ending the application with a signal while it imports a picture subtitle
// with fake tools: SIGTERM and SIGINT stop the import, its children and its
// files as a window close does; SIGKILL leaves no child running either.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PgsFixture.h"
#include "support/EventLoop.h"

namespace {

class Signals : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        for (const char* folder : {"app/bin", "resources/fonts", "data", "tmp"})
            QDir().mkpath(scratch.filePath(folder));
        QImage picture(64, 16, QImage::Format_RGB32);
        picture.fill(Qt::white);
        ASSERT_TRUE(picture.save(scratch.filePath("picture.png")));
        const QByteArray dir = scratch.path().toUtf8();
        script("resources/mkvtoolnix/mkvmerge", ": > \"$2\"");
        script("resources/ffmpeg/ffmpeg",
               "case \" $* \" in *' -hide_banner '*)\n"
               "  printf '  Duration: 00:01:00.00, start: 0.000000\\n  Stream #0:0: "
               "Subtitle: hdmv_pgs_subtitle, 720x576\\n' >&2\n  exit 1;;\nesac\n"
               "for a; do out=$a; done\ncp '" +
                   dir + "/picture.png' \"$out\"");
        // The engine starts its text file, then works on until it is stopped.
        script("data/Borvane/tesseract304/tesseract",
               "echo $$ >> '" + dir + "/engines'\nprintf 'par' > \"$2.txt\"\nexec sleep 300");
        QList<imagesubfixtures::PgsPicture> pictures;
        for (int i = 0; i < 12; ++i)
            pictures.append({QString("Line %1").arg(i), 1.0 + i * 3, 3.0 + i * 3});
        QFile sup(scratch.filePath("Film.sup"));
        ASSERT_TRUE(sup.open(QIODevice::WriteOnly));
        sup.write(imagesubfixtures::makePgs(pictures));
    }
    void TearDown() override {
        // Whatever a failed run left running goes with the test.
        for (qint64 pid : engines()) ::kill(pid_t(pid), SIGKILL);
    }

    void script(const QString& relative, const QByteArray& body) const {
        const QString file = scratch.filePath(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("#!/bin/sh\n" + body + "\n");
        out.close();
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QList<qint64> engines() const {
        QFile file(scratch.filePath("engines"));
        QList<qint64> pids;
        if (!file.open(QIODevice::ReadOnly)) return pids;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.trimmed().isEmpty()) pids.append(line.trimmed().toLongLong());
        return pids;
    }

    static bool running(qint64 pid) {
        // A process that has ended but is not reaped yet counts as ended.
        QFile stat(QString("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) return false;
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        return close < 0 || text.mid(close + 2, 1) != "Z";
    }

    QStringList leftInTemporary() const {
        return QDir(scratch.filePath("tmp"))
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir scratch;
};

TEST_F(Signals, AnImportEndedBySignalLeavesNoChildAndNoFile) {
    const struct {
        int signal;
        bool cleanEnd;  // the application ends by itself and removes its files
    } cases[] = {{SIGTERM, true}, {SIGINT, true}, {SIGKILL, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        QFile::remove(scratch.filePath("engines"));
        for (const QString& name : leftInTemporary())
            QFile::remove(scratch.filePath("tmp/" + name));

        QProcess application;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        application.setProcessEnvironment(environment);
        application.start(QUILLMAR_APP_SIGNAL_PROGRAM,
                          {scratch.path(), scratch.filePath("Film.sup")});
        ASSERT_TRUE(application.waitForStarted(30000));
        // Four lines convert at once; each engine waits to be stopped.
        ASSERT_TRUE(testsupport::spinUntil([&] { return engines().size() == 4; }, 30000))
            << engines().size();
        const QStringList during = leftInTemporary();
        EXPECT_TRUE(during.filter(QRegularExpression("^tempVideoForSubURL\\.")).size() == 1)
            << during.join(", ").toStdString();
        EXPECT_EQ(during.filter(QRegularExpression("^croppedPng\\..*\\.png$")).size(), 4);

        ::kill(pid_t(application.processId()), c.signal);
        ASSERT_TRUE(application.waitForFinished(30000));
        if (c.cleanEnd) {
            EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(application.exitCode(), 0);
        }
        for (qint64 pid : engines())
            EXPECT_TRUE(testsupport::spinUntil([&] { return !running(pid); }, 30000)) << pid;
        if (c.cleanEnd) {
            EXPECT_EQ(leftInTemporary(), QStringList())
                << leftInTemporary().join(", ").toStdString();
        }
    }
}

}  // namespace
