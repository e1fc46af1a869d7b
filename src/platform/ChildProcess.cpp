#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcessEnvironment>
#include <cerrno>
#include <cstring>
#include <vector>

extern char** environ;

namespace platform {

namespace {

constexpr int kGracePeriodMs = 2000;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Reads everything the pipe holds now; closes it at end of file.
void readAvailable(int& fd, QByteArray& into) {
    char buffer[65536];
    while (fd >= 0) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            into.append(buffer, count);
        } else if (count == 0) {
            closeFd(fd);
        } else if (errno == EINTR) {
            continue;
        } else {
            if (errno != EAGAIN && errno != EWOULDBLOCK) closeFd(fd);
            return;
        }
    }
}

int openPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
        return static_cast<int>(fd);
    }
#else
    (void)pid;
#endif
    return -1;
}

// Owns the C strings handed to posix_spawn.
struct CStringList {
    std::vector<QByteArray> storage;
    std::vector<char*> pointers;
    void add(const QByteArray& text) { storage.push_back(text); }
    char** terminated() {
        pointers.clear();
        for (auto& item : storage) pointers.push_back(item.data());
        pointers.push_back(nullptr);
        return pointers.data();
    }
};

}  // namespace

ChildProcess::ChildProcess(QString program, QStringList arguments)
    : ChildProcess(std::move(program), std::move(arguments), Options()) {}

ChildProcess::ChildProcess(QString program, QStringList arguments, Options options)
    : program_(std::move(program)),
      arguments_(std::move(arguments)),
      options_(std::move(options)) {}

ChildProcess::~ChildProcess() {
    if (result_.outcome == Outcome::Running) stop();
    closePipes();
    closeFd(pidFd_);
}

bool ChildProcess::start() {
    if (result_.outcome != Outcome::NotStarted) return false;

    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    const bool captured = options_.output == Output::Captured;
    if (captured && (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)) {
        const int error = errno;
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            if (fd >= 0) ::close(fd);
        result_.outcome = Outcome::FailedToStart;
        result_.errorText =
            QStringLiteral("cannot make pipes: ") + QString::fromLocal8Bit(strerror(error));
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (captured) {
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    } else if (options_.output == Output::Discarded) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    const QByteArray directory = QFile::encodeName(options_.workingDirectory);
    if (!directory.isEmpty()) posix_spawn_file_actions_addchdir_np(&actions, directory.constData());

    // The child starts with default signal handling (ignored signals would
    // otherwise be inherited) and in a process group of its own.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t noSignals;
    sigemptyset(&noSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    sigset_t allSignals;
    sigfillset(&allSignals);
    posix_spawnattr_setsigdefault(&attributes, &allSignals);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    CStringList argv;
    argv.add(QFile::encodeName(program_));
    for (const QString& argument : arguments_) argv.add(QFile::encodeName(argument));
    CStringList envp;
    if (options_.environment) {
        for (auto it = options_.environment->cbegin(); it != options_.environment->cend(); ++it)
            envp.add(QFile::encodeName(it.key()) + '=' + QFile::encodeName(it.value()));
    }

    pid_t pid = -1;
    const int rc =
        program_.isEmpty()
            ? ENOENT
            : posix_spawn(&pid, argv.storage.front().constData(), &actions, &attributes,
                          argv.terminated(), options_.environment ? envp.terminated() : environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (captured) {
        ::close(outPipe[1]);
        ::close(errPipe[1]);
    }
    if (rc != 0) {
        if (captured) {
            ::close(outPipe[0]);
            ::close(errPipe[0]);
        }
        result_.outcome = Outcome::FailedToStart;
        result_.errorText = QStringLiteral("cannot start %1: %2")
                                .arg(program_, QString::fromLocal8Bit(strerror(rc)));
        return false;
    }

    pid_ = pid;
    startedAt_ = std::chrono::steady_clock::now();
    result_.outcome = Outcome::Running;
    if (captured) {
        outFd_ = outPipe[0];
        errFd_ = errPipe[0];
        ::fcntl(outFd_, F_SETFL, ::fcntl(outFd_, F_GETFL) | O_NONBLOCK);
        ::fcntl(errFd_, F_SETFL, ::fcntl(errFd_, F_GETFL) | O_NONBLOCK);
    }
    pidFd_ = openPidFd(pid_);
    return true;
}

void ChildProcess::pump(int timeoutMs) {
    pollfd fds[3];
    nfds_t count = 0;
    for (int fd : {outFd_, errFd_, pidFd_})
        if (fd >= 0) fds[count++] = pollfd{fd, POLLIN, 0};
    if (::poll(count ? fds : nullptr, count, timeoutMs) < 0 && errno != EINTR) return;
    readAvailable(outFd_, result_.standardOutput);
    readAvailable(errFd_, result_.standardError);
}

bool ChildProcess::reap(bool block) {
    if (result_.outcome != Outcome::Running) return true;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0) return false;
    if (done < 0) {
        // Someone else reaped it (SIGCHLD ignored): the status is unknown.
        result_.outcome = Outcome::Signalled;
        result_.errorText = QStringLiteral("exit status lost");
    } else if (WIFEXITED(status)) {
        result_.outcome = Outcome::Exited;
        result_.exitStatus = WEXITSTATUS(status);
    } else {
        result_.outcome = Outcome::Signalled;
        result_.errorText = QStringLiteral("ended by signal %1").arg(WTERMSIG(status));
    }
    closeFd(pidFd_);
    return true;
}

bool ChildProcess::isRunning() {
    if (result_.outcome != Outcome::Running) return false;
    pump(0);
    return !reap(false);
}

bool ChildProcess::deadlinePassed() const {
    return options_.timeLimit &&
           std::chrono::steady_clock::now() - startedAt_ >= *options_.timeLimit;
}

const ChildProcess::Result& ChildProcess::waitForFinished() {
    if (result_.outcome != Outcome::Running) return result_;
    // With a process descriptor the poll wakes as soon as the child ends; the
    // slice only bounds how late a cancellation is noticed.
    const int slice = pidFd_ >= 0 ? 100 : 10;
    while (!reap(false)) {
        if (options_.cancellation && options_.cancellation->load()) {
            stop();
            result_.outcome = Outcome::Cancelled;
            break;
        }
        if (deadlinePassed()) {
            stop();
            result_.outcome = Outcome::TimedOut;
            result_.errorText = QStringLiteral("time limit passed");
            break;
        }
        pump(slice);
    }
    // What the child wrote before it ended is still in the pipes; a
    // grandchild that keeps them open must not hold us here.
    readAvailable(outFd_, result_.standardOutput);
    readAvailable(errFd_, result_.standardError);
    closePipes();
    return result_;
}

void ChildProcess::stop() {
    if (result_.outcome != Outcome::Running) return;
    ::kill(-pid_, SIGTERM);
    ::kill(pid_, SIGTERM);
    const auto giveUp =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kGracePeriodMs);
    while (!reap(false) && std::chrono::steady_clock::now() < giveUp) pump(20);
    if (result_.outcome == Outcome::Running) {
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL);
        reap(true);
    }
    result_.outcome = Outcome::Cancelled;
    result_.exitStatus = -1;
    result_.errorText = QStringLiteral("stopped");
}

void ChildProcess::closePipes() {
    closeFd(outFd_);
    closeFd(errFd_);
}

ChildProcess::Result ChildProcess::run(const QString& program, const QStringList& arguments) {
    return run(program, arguments, Options());
}

ChildProcess::Result ChildProcess::run(const QString& program, const QStringList& arguments,
                                       Options options) {
    ChildProcess child(program, arguments, std::move(options));
    if (!child.start()) return child.result();
    return child.waitForFinished();
}

EnvironmentDictionary ChildProcess::currentEnvironment() {
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    EnvironmentDictionary dictionary;
    for (const QString& key : system.keys()) dictionary.insert(key, system.value(key));
    return dictionary;
}

}  // namespace platform
