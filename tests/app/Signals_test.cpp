// Ending the application with a signal, as quillmar runs it (the program
// under test calls the same function as main), with fake tools: SIGTERM and
// SIGINT end it cleanly whatever panel, menu or question is up, and stop
// every import, its children and its files, whatever state its window is
// in; SIGKILL leaves no child running, and the next start removes what the
// killed run left while a run still going keeps its files.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

#include "PgsFixture.h"
#include "app/AppFixture.h"
#include "common/TimeTexts.h"
#include "support/EventLoop.h"
#include "support/FileListing.h"
#include "support/ScratchFiles.h"

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
        script("resources/mkvtoolnix/mkvmerge", ": > \"$2\"");
        fakeFfmpeg("cp '" + dir() + "/picture.png' \"$out\"");
        // The engine starts its text file, notes itself, then works on until
        // it is stopped.
        fakeEngine("printf 'par' > \"$2.txt\"\necho $$ >> '" + dir() + "/engines'\nexec sleep 300");
        QList<imagesubfixtures::PgsPicture> pictures;
        for (int i = 0; i < 12; ++i)
            pictures.append({QString("Line %1").arg(i), 1.0 + i * 3, 3.0 + i * 3});
        QFile sup(scratch.filePath("Film.sup"));
        ASSERT_TRUE(sup.open(QIODevice::WriteOnly));
        sup.write(imagesubfixtures::makePgs(pictures));
        sup.close();
        QFile srt(scratch.filePath("Film.srt"));
        ASSERT_TRUE(srt.open(QIODevice::WriteOnly));
        srt.write(srtOfLines(3));
    }
    void TearDown() override {
        // Whatever a failed run left running goes with the test.
        for (const char* record : {"engines", "grabbers"})
            for (qint64 pid : pids(record)) ::kill(pid_t(pid), SIGKILL);
        for (const auto& run : runs) {
            run->kill();
            run->waitForFinished(testsupport::kHangMs);
        }
    }

    QByteArray dir() const { return scratch.path().toUtf8(); }

    void script(const QString& relative, const QByteArray& body) const {
        testsupport::ScratchFiles(scratch.path()).writeScript(relative, body);
    }
    // ffmpeg's report on the Matroska file, else a grab into the last
    // argument, "$out", as `grab` does it.
    void fakeFfmpeg(const QByteArray& grab) const {
        script("resources/ffmpeg/ffmpeg",
               "case \" $* \" in *' -hide_banner '*)\n"
               "  printf '  Duration: 00:01:00.00, start: 0.000000\\n  Stream #0:0: "
               "Subtitle: hdmv_pgs_subtitle, 720x576\\n' >&2\n  exit 1;;\nesac\n"
               "for a; do out=$a; done\n" +
                   grab);
    }
    void fakeEngine(const QByteArray& body) const {
        script("data/Borvane/tesseract304/tesseract", body);
    }

    QList<qint64> pids(const QString& record) const {
        QFile file(scratch.filePath(record));
        QList<qint64> pids;
        if (!file.open(QIODevice::ReadOnly)) return pids;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.trimmed().isEmpty()) pids.append(line.trimmed().toLongLong());
        return pids;
    }
    bool waitForPids(const QString& record, int count) const {
        return testsupport::spinUntil([&] { return pids(record).size() >= count; });
    }

    static bool running(qint64 pid) {
        // A process that has ended but is not reaped yet counts as ended.
        QFile stat(QString("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) return false;
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        return close < 0 || text.mid(close + 2, 1) != "Z";
    }

    // Everything in the private temporary folder, at any depth, as paths
    // below it.
    QStringList leftInTemporary() const {
        const QDir tmp(scratch.filePath("tmp"));
        QStringList entries;
        QDirIterator it(tmp.path(),
                        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) entries.append(tmp.relativeFilePath(it.next()));
        entries.sort();
        return entries;
    }
    // The files among them whose name matches.
    QStringList filesInTemporary(const QString& pattern = {}) const {
        return testsupport::filesBelow(scratch.filePath("tmp"), pattern);
    }

    // The application with what the user does first and the files it opens;
    // its error output is kept to be read when `keptErrors`, else passed on.
    QProcess& start(const QString& action, const QStringList& files, bool keptErrors = false,
                    const QProcessEnvironment& extra = {}) {
        auto& run = runs.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        // Without a folder for what Qt keeps at run time, it says so on the
        // error output.
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        environment.insert(extra);
        run->setProcessEnvironment(environment);
        run->setProcessChannelMode(keptErrors ? QProcess::SeparateChannels
                                              : QProcess::ForwardedErrorChannel);
        run->start(QUILLMAR_APP_SIGNAL_PROGRAM, QStringList{scratch.path(), action} + files);
        EXPECT_TRUE(run->waitForStarted(testsupport::kHangMs));
        return *run;
    }
    // A report of the user's steps, once it is there.
    QString report(const QString& name) const {
        const QString file = scratch.filePath(name);
        if (!testsupport::spinUntil([&] { return QFileInfo::exists(file); })) return {};
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
    }
    // What the user's step brought up, once it is up.
    QString up() const { return report("up"); }
    void forgetReports() const {
        for (const char* name : {"up", "returned"}) QFile::remove(scratch.filePath(name));
    }
    // Sends the signal; true when the program ended by itself with status 0.
    static bool endsCleanlyOn(QProcess& run, int signal) {
        ::kill(pid_t(run.processId()), signal);
        if (!run.waitForFinished(testsupport::kHangMs)) return false;
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0);
        return run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
    }

    QTemporaryDir scratch;
    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> runs;
};

TEST_F(Signals, AnImportEndedBySignalLeavesNoChildAndNoFile) {
    const struct {
        int signal;
        bool cleanEnd;  // the application ends by itself and removes its files
    } cases[] = {{SIGTERM, true}, {SIGINT, true}, {SIGKILL, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        QFile::remove(scratch.filePath("engines"));
        QDir(scratch.filePath("tmp")).removeRecursively();
        QDir().mkpath(scratch.filePath("tmp"));

        QProcess& application = start("none", {scratch.filePath("Film.sup")});
        // Four lines convert at once; each engine waits to be stopped.
        ASSERT_TRUE(waitForPids("engines", 4)) << pids("engines").size();
        EXPECT_EQ(filesInTemporary("^tempVideoForSubURL\\.").size(), 1)
            << leftInTemporary().join(", ").toStdString();
        EXPECT_EQ(filesInTemporary("^croppedPng\\..*\\.png$").size(), 4);

        if (c.cleanEnd) {
            EXPECT_TRUE(endsCleanlyOn(application, c.signal));
        } else {
            ::kill(pid_t(application.processId()), c.signal);
            ASSERT_TRUE(application.waitForFinished(testsupport::kHangMs));
        }
        for (qint64 pid : pids("engines"))
            EXPECT_TRUE(testsupport::spinUntil([&] { return !running(pid); })) << pid;
        if (c.cleanEnd) {
            EXPECT_EQ(leftInTemporary(), QStringList())
                << leftInTemporary().join(", ").toStdString();
        }
    }
}

// A panel or a menu may run a loop of its own inside a window's handler
// (File › Export… runs the save panel inside the menu's): the signal must
// not take the window away under it.
TEST_F(Signals, APanelOrMenuUpEndsCleanly) {
    const struct {
        const char* action;
        const char* up;
    } cases[] = {
        {"export-menu", "save panel"},
        {"export-button", "save panel"},
        {"file-menu", "menu"},
    };
    for (const auto& c : cases) {
        for (int signal : {SIGTERM, SIGINT}) {
            SCOPED_TRACE(std::string(c.action) + " " + std::to_string(signal));
            forgetReports();
            QProcess& application = start(c.action, {scratch.filePath("Film.srt")});
            ASSERT_EQ(up(), c.up);
            EXPECT_TRUE(endsCleanlyOn(application, signal));
            EXPECT_EQ(report("returned"), "window kept");
            EXPECT_EQ(leftInTemporary(), QStringList())
                << leftInTemporary().join(", ").toStdString();
        }
    }
}

// The window asks before it closes, as its document holds a line: the
// program's own close of that window is not heard while the question is up,
// yet its import ends, with its children and its files.
TEST_F(Signals, AnImportWhoseWindowAsksEndsWithItsChildrenAndFiles) {
    // The first two lines are read at once (a line is shown once the next
    // one is there); every later grab runs until it is stopped.
    fakeFfmpeg("case \" $* \" in *' -ss 1.2 '* | *' -ss 4.2 '*) cp '" + dir() +
               "/picture.png' \"$out\";;\n"
               "*) echo $$ >> '" +
               dir() + "/grabbers'\n   exec sleep 300;;\nesac");
    fakeEngine("printf 'Line zero' > \"$2.txt\"");
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        forgetReports();
        QFile::remove(scratch.filePath("grabbers"));
        QProcess& application = start("cancel", {scratch.filePath("Film.sup")});
        ASSERT_EQ(up(), "question: Are you sure that you want to close the window?");
        ASSERT_TRUE(waitForPids("grabbers", 4)) << pids("grabbers").size();
        EXPECT_EQ(filesInTemporary("^tempVideoForSubURL\\.").size(), 1)
            << leftInTemporary().join(", ").toStdString();

        EXPECT_TRUE(endsCleanlyOn(application, signal));
        EXPECT_EQ(report("returned"), "window kept");
        for (qint64 pid : pids("grabbers"))
            EXPECT_TRUE(testsupport::spinUntil([&] { return !running(pid); })) << pid;
        EXPECT_EQ(leftInTemporary(), QStringList()) << leftInTemporary().join(", ").toStdString();
    }
}

// A run killed during an import (SIGKILL, a crash, a power cut) cannot
// clean up; the next start does, and leaves the files of a copy still
// running alone.
TEST_F(Signals, AStartRemovesWhatAKilledRunLeftAndNothingOfARunningOne) {
    const QStringList film = {scratch.filePath("Film.sup")};
    QProcess& killed = start("none", film);
    ASSERT_TRUE(waitForPids("engines", 4));
    const QStringList killedFiles = filesInTemporary();
    QProcess& alive = start("none", film);
    ASSERT_TRUE(waitForPids("engines", 8));
    QStringList runningFiles = filesInTemporary();
    for (const QString& file : killedFiles) runningFiles.removeOne(file);
    ASSERT_EQ(filesInTemporary("^tempVideoForSubURL\\.").size(), 2);
    ASSERT_EQ(filesInTemporary("^croppedPng\\..*\\.png$").size(), 8);

    ::kill(pid_t(killed.processId()), SIGKILL);
    ASSERT_TRUE(killed.waitForFinished(testsupport::kHangMs));
    for (qint64 pid : pids("engines").mid(0, 4))
        EXPECT_TRUE(testsupport::spinUntil([&] { return !running(pid); })) << pid;
    QStringList both = killedFiles + runningFiles;
    both.sort();
    EXPECT_EQ(filesInTemporary(), both);

    // Once the next start imports, it has cleaned up.
    QProcess& next = start("none", film);
    ASSERT_TRUE(waitForPids("engines", 12));
    const QStringList after = filesInTemporary();
    for (const QString& file : killedFiles)
        EXPECT_FALSE(after.contains(file)) << file.toStdString();
    for (const QString& file : runningFiles)
        EXPECT_TRUE(after.contains(file)) << file.toStdString();

    EXPECT_TRUE(endsCleanlyOn(alive, SIGTERM));
    EXPECT_TRUE(endsCleanlyOn(next, SIGTERM));
    EXPECT_EQ(leftInTemporary(), QStringList()) << leftInTemporary().join(", ").toStdString();
}

// Real dialogue, many cues of it: a load that takes a while, in the
// parse, in the encoding cycle and in what follows it.
QString largeSrt(int cues) {
    static const char* const lines[] = {
        "Où étais-tu passé ? On t'a cherché partout.",
        "Je suis désolé, le train était en retard.",
        "- Tu as vu l'heure ?\n- Oui, je sais, je sais.",
        "Die Straße war gesperrt, wir mussten umkehren.",
        "¿Dónde está la estación? Necesito llegar antes de las ocho.",
    };
    QString text;
    for (int i = 0; i < cues; ++i) {
        const double start = 2.0 * i + 1.0;
        text += QString::number(i + 1) + "\n" + srtTimeStringFromDoubleTime(start) + " --> " +
                srtTimeStringFromDoubleTime(start + 1.5) + "\n" +
                QString::fromUtf8(lines[i % std::size(lines)]) + "\n\n";
    }
    return text;
}

// What the program's error output says beyond its own log (its lines start
// "!!!! " or "##### ") and the offscreen platform's notes on what it cannot
// do for a window.
QString unexpectedErrors(const QByteArray& output) {
    QStringList unexpected;
    for (const QString& line : QString::fromLocal8Bit(output).split('\n', Qt::SkipEmptyParts))
        if (!line.startsWith("!!!! ") && !line.startsWith("##### ") &&
            !line.startsWith("This plugin does not support "))
            unexpected.append(line);
    return unexpected.join('\n');
}

// Ending while a large file loads, at each stage of its load, by the Quit
// key and by SIGTERM: the work off the main thread stops and is waited for
// before the windows and the application object go, so the program ends
// with status 0, says nothing on its error output (a crash, a sanitizer's
// report, a warning of Qt's) and leaves no file. The UTF-16 file without a
// mark goes through the encoding cycle.
TEST_F(Signals, EndingAtAnyStageOfALargeLoadIsClean) {
    const QString text = largeSrt(20000);
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const struct {
        const char* file;
        QByteArray bytes;
        QStringList stages;
    } files[] = {
        {"Large.srt", text.toUtf8(), {"shown", "lines"}},
        {"Large16.srt", utf16, {"shown", "cycling", "lines"}},
    };
    for (const auto& f : files) {
        QFile out(scratch.filePath(f.file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(f.bytes);
        out.close();
        // Each point twice: what runs on at an end differs from end to end.
        for (const QString& stage : f.stages + f.stages)
            for (const bool byQuit : {true, false}) {
                SCOPED_TRACE(std::string(f.file) + " at " + stage.toStdString() +
                             (byQuit ? " by Quit" : " by SIGTERM"));
                for (const char* name : {"stage-shown", "stage-cycling", "stage-lines"})
                    QFile::remove(scratch.filePath(name));
                QProcess& application = start(byQuit ? "quit-at-" + stage : QString("note-stages"),
                                              {scratch.filePath(f.file)}, true);
                if (!byQuit) {
                    ASSERT_FALSE(report("stage-" + stage).isNull());
                    ::kill(pid_t(application.processId()), SIGTERM);
                }
                ASSERT_TRUE(application.waitForFinished(testsupport::kHangMs));
                EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
                EXPECT_EQ(application.exitCode(), 0);
                EXPECT_EQ(unexpectedErrors(application.readAllStandardError()).toStdString(), "");
                EXPECT_EQ(leftInTemporary(), QStringList())
                    << leftInTemporary().join(", ").toStdString();
            }
    }
}

// A background job of a script is started with SIGINT ignored (and a job
// under nohup with SIGHUP ignored): the program keeps them ignored, and
// still ends cleanly on SIGTERM.
TEST_F(Signals, SignalsStartedIgnoredStayIgnored) {
    auto& run = runs.emplace_back(std::make_unique<QProcess>());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    run->setProcessEnvironment(environment);
    run->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run->start("/bin/sh", {"-c", "trap '' INT HUP; exec \"$0\" \"$@\"", QUILLMAR_APP_SIGNAL_PROGRAM,
                           scratch.path(), "note-stages", scratch.filePath("Film.srt")});
    ASSERT_TRUE(run->waitForStarted(testsupport::kHangMs));
    ASSERT_FALSE(report("stage-lines").isNull());
    // The signals the process catches and ignores, as the system lists them.
    const auto mask = [&](const QByteArray& field) {
        QFile status(QString("/proc/%1/status").arg(run->processId()));
        if (!status.open(QIODevice::ReadOnly)) return 0ull;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(field + ":"))
                return line.mid(field.size() + 1).trimmed().toULongLong(nullptr, 16);
        return 0ull;
    };
    const auto bit = [](int signal) { return 1ull << (signal - 1); };
    EXPECT_TRUE(mask("SigIgn") & bit(SIGINT));
    EXPECT_TRUE(mask("SigIgn") & bit(SIGHUP));
    EXPECT_TRUE(mask("SigCgt") & bit(SIGTERM));
    ::kill(pid_t(run->processId()), SIGINT);
    ::kill(pid_t(run->processId()), SIGHUP);
    EXPECT_TRUE(endsCleanlyOn(*run, SIGTERM));
}

// A process manager sends SIGTERM, then another while the end waits for an
// import's tools to stop (they take their time here: they ignore SIGTERM,
// and the stop waits as long as a hang before it kills): the second ends
// the program at once, with the status of that signal, and no tool is left.
TEST_F(Signals, ASecondSignalWhileTheEndWaitsEndsAtOnceWithoutChildren) {
    fakeEngine("echo $$ >> '" + dir() +
               "/engines'\n"
               "trap 'echo $$ >> \"" +
               dir() +
               "/stopped\"' TERM\n"
               "(trap '' TERM; exec sleep 300) &\necho $! >> '" +
               dir() +
               "/engines'\n"
               "while :; do wait; done");
    QProcessEnvironment slowStop;
    slowStop.insert("QUILLMAR_TEST_STOP_WAITS", "1");
    for (const auto& [second, status] : {std::pair{SIGTERM, 143}, {SIGINT, 130}}) {
        SCOPED_TRACE(second);
        for (const char* record : {"engines", "stopped"}) QFile::remove(scratch.filePath(record));
        QProcess& application = start("none", {scratch.filePath("Film.sup")}, false, slowStop);
        ASSERT_TRUE(waitForPids("engines", 8)) << pids("engines").size();
        ::kill(pid_t(application.processId()), SIGTERM);
        // The end has stopped the tools and waits for them.
        ASSERT_TRUE(waitForPids("stopped", 1));
        ::kill(pid_t(application.processId()), second);
        ASSERT_TRUE(application.waitForFinished(testsupport::kHangMs));
        EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(application.exitCode(), status);
        for (qint64 pid : pids("engines"))
            EXPECT_TRUE(testsupport::spinUntil([&] { return !running(pid); })) << pid;
    }
}

}  // namespace
