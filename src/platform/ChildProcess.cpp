#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcessEnvironment>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/OperationQueue.h"

extern char** environ;

namespace platform {

namespace {

std::atomic<int> gracePeriodMs{2000};

// The process groups of the children running now, for a kill that must not
// wait (killAllNow, from a signal handler): lock-free slots, 0 when free. A
// group stays listed until its leader is about to be reaped: until then its
// number cannot be another's.
std::array<std::atomic<pid_t>, 256> runningGroups{};
static_assert(std::atomic<pid_t>::is_always_lock_free);

void listGroup(pid_t group) {
    for (auto& slot : runningGroups) {
        pid_t free = 0;
        if (slot.compare_exchange_strong(free, group)) return;
    }
    // All taken: the child still dies with the thread that started it.
}

void unlistGroup(pid_t group) {
    for (auto& slot : runningGroups) {
        pid_t listed = group;
        if (slot.compare_exchange_strong(listed, 0)) return;
    }
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Reads everything the pipe holds now, keeping at most the last `kept`
// bytes; closes it at end of file.
void readAvailable(int& fd, QByteArray& into, const std::optional<qsizetype>& kept) {
    char buffer[65536];
    while (fd >= 0) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            into.append(buffer, count);
            if (kept && into.size() > *kept) into.remove(0, into.size() - *kept);
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

// Owns the C strings handed to the child.
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

struct ChildSetup {
    char** argv;
    char** envp;
    const char* directory;  // none: the parent's
    ChildProcess::Output output;
    int out;
    int err;
    int exec;
    pid_t parent;
};

// In the forked child: system calls only, then the program or _exit.
[[noreturn]] void runChild(const ChildSetup& setup) {
    const auto fail = [&] {
        const int error = errno;
        ssize_t ignored = ::write(setup.exec, &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    };
    // Default handling of every signal (ignored ones would be inherited), in
    // a process group of its own, and ended with the thread that started it:
    // a program that dies leaves none of its tools running.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) ::sigaction(signal, &standard, nullptr);
    ::setpgid(0, 0);
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) fail();
    // The parent may have gone before the request was made.
    if (::getppid() != setup.parent) ::_exit(127);

    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (input < 0 || ::dup2(input, STDIN_FILENO) < 0) fail();
    if (setup.output == ChildProcess::Output::Captured) {
        if (::dup2(setup.out, STDOUT_FILENO) < 0 || ::dup2(setup.err, STDERR_FILENO) < 0) fail();
    } else if (setup.output == ChildProcess::Output::Discarded) {
        const int output = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (output < 0 || ::dup2(output, STDOUT_FILENO) < 0 || ::dup2(output, STDERR_FILENO) < 0)
            fail();
    }
    if (setup.directory && ::chdir(setup.directory) != 0) fail();
    sigset_t noSignals;
    sigemptyset(&noSignals);
    ::sigprocmask(SIG_SETMASK, &noSignals, nullptr);
    ::execve(setup.argv[0], setup.argv, setup.envp);
    fail();
    ::_exit(127);
}

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
    const auto failed = [this](const QString& text) {
        result_.outcome = Outcome::FailedToStart;
        result_.errorText = text;
        return false;
    };
    if (program_.isEmpty())
        return failed(QStringLiteral("cannot start: ") + QString::fromLocal8Bit(strerror(ENOENT)));

    // Everything the child needs is made here: between fork and exec it may
    // only make system calls.
    CStringList argv;
    argv.add(QFile::encodeName(program_));
    for (const QString& argument : arguments_) argv.add(QFile::encodeName(argument));
    CStringList envp;
    if (options_.environment) {
        for (auto it = options_.environment->cbegin(); it != options_.environment->cend(); ++it)
            envp.add(QFile::encodeName(it.key()) + '=' + QFile::encodeName(it.value()));
    }
    char** const childArgv = argv.terminated();
    char** const childEnvp = options_.environment ? envp.terminated() : environ;
    const QByteArray directory = QFile::encodeName(options_.workingDirectory);

    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    int execPipe[2] = {-1, -1};  // carries the exec's errno; closed by a good exec
    const bool captured = options_.output == Output::Captured;
    const auto closeAll = [&] {
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1], execPipe[0], execPipe[1]})
            if (fd >= 0) ::close(fd);
    };
    if ((captured && (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)) ||
        ::pipe2(execPipe, O_CLOEXEC) != 0) {
        const int error = errno;
        closeAll();
        return failed(QStringLiteral("cannot make pipes: ") +
                      QString::fromLocal8Bit(strerror(error)));
    }

    // No handler of ours may run in the child before its signals are reset.
    sigset_t allSignals;
    sigfillset(&allSignals);
    sigset_t previousMask;
    pthread_sigmask(SIG_SETMASK, &allSignals, &previousMask);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        runChild({childArgv, childEnvp, directory.isEmpty() ? nullptr : directory.constData(),
                  options_.output, outPipe[1], errPipe[1], execPipe[1], parent});
    }
    const int forkError = errno;
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    for (int* fd : {&outPipe[1], &errPipe[1], &execPipe[1]}) closeFd(*fd);
    if (pid < 0) {
        closeAll();
        return failed(QStringLiteral("cannot start %1: %2")
                          .arg(program_, QString::fromLocal8Bit(strerror(forkError))));
    }
    // Both sides set the group, so that a stop right after the start finds it.
    ::setpgid(pid, pid);
    listGroup(pid);

    int execError = 0;
    ssize_t count;
    do {
        count = ::read(execPipe[0], &execError, sizeof execError);
    } while (count < 0 && errno == EINTR);
    closeFd(execPipe[0]);
    if (count > 0) {
        unlistGroup(pid);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        closeAll();
        return failed(QStringLiteral("cannot start %1: %2")
                          .arg(program_, QString::fromLocal8Bit(strerror(execError))));
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
    readAvailable(outFd_, result_.standardOutput, options_.keptBytes);
    readAvailable(errFd_, result_.standardError, options_.keptBytes);
}

bool ChildProcess::reap(bool block) {
    if (result_.outcome != Outcome::Running) return true;
    // Looked at first without reaping it: the group leaves the list while
    // its number is still the child's.
    siginfo_t ended{};
    int looked;
    do {
        looked = ::waitid(P_PID, id_t(pid_), &ended, WEXITED | WNOWAIT | (block ? 0 : WNOHANG));
    } while (looked < 0 && errno == EINTR);
    if (looked == 0 && ended.si_pid == 0) return false;
    unlistGroup(pid_);
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(pid_, &status, 0);
    } while (done < 0 && errno == EINTR);
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
        // The end of the program stops every tool its work still waits on.
        if ((options_.cancellation && options_.cancellation->load()) ||
            OperationQueue::stopping()) {
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
    readAvailable(outFd_, result_.standardOutput, options_.keptBytes);
    readAvailable(errFd_, result_.standardError, options_.keptBytes);
    closePipes();
    return result_;
}

void ChildProcess::stop() {
    if (result_.outcome != Outcome::Running) return;
    ::kill(-pid_, SIGTERM);
    ::kill(pid_, SIGTERM);
    const auto giveUp =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(gracePeriodMs.load());
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

void ChildProcess::killAllNow() {
    for (auto& slot : runningGroups) {
        const pid_t group = slot.load();
        if (group <= 0) continue;
        ::kill(-group, SIGKILL);
        ::kill(group, SIGKILL);
    }
}

void ChildProcess::setGracePeriod(std::chrono::milliseconds period) {
    gracePeriodMs = int(period.count());
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
