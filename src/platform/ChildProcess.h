#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

namespace platform {

// Variable name to value, as handed to a child process.
using EnvironmentDictionary = QMap<QString, QString>;

// Set from any thread to stop a waiting child (terminate, then kill).
using CancellationFlag = std::shared_ptr<std::atomic<bool>>;

// One child process: the program's path (never searched for along PATH),
// argument vector, working directory, environment,
// standard input from the null device, output captured (both streams read
// together, so neither pipe can fill up and stall the child), inherited or
// discarded. The child gets a process group of its own so that stopping it
// also stops what it started (a shell's pipeline), and it is killed when the
// thread that started it ends (so with the application, however that ends):
// the starting thread waits for it. Used from one thread; only the
// cancellation flag may be touched from others.
class ChildProcess {
  public:
    enum class Output { Captured, Inherited, Discarded };
    enum class Outcome {
        NotStarted,
        Running,
        Exited,
        Signalled,
        FailedToStart,
        TimedOut,
        Cancelled
    };

    struct Options {
        QString workingDirectory{};                          // empty: the application's own
        std::optional<EnvironmentDictionary> environment{};  // none: the application's own
        Output output = Output::Captured;
        std::optional<std::chrono::milliseconds> timeLimit{};  // from the start; none: no limit
        CancellationFlag cancellation{};
        // Per captured stream, only the last this many bytes are kept (a
        // child that talks for hours); none: all of it.
        std::optional<qsizetype> keptBytes{};
    };

    struct Result {
        Outcome outcome = Outcome::NotStarted;
        int exitStatus = -1;  // the exit status when outcome is Exited
        QByteArray standardOutput;
        QByteArray standardError;
        QString errorText;  // why it could not start, or what ended it
        bool exited() const { return outcome == Outcome::Exited; }
        bool succeeded() const { return exited() && exitStatus == 0; }
    };

    ChildProcess(QString program, QStringList arguments);
    ChildProcess(QString program, QStringList arguments, Options options);
    ~ChildProcess();  // a child still running is stopped

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when the child could not be started; result() tells why.
    bool start();

    // Reads what is ready and checks, without blocking, whether it still runs.
    bool isRunning();

    // Blocks until the child has ended, its time limit has passed or it has
    // been cancelled; in the last two cases it is stopped first.
    const Result& waitForFinished();

    // Terminates the child's process group, then kills it after a grace period.
    void stop();

    const Result& result() const { return result_; }
    pid_t processId() const { return pid_; }

    // Starts, waits and returns in one call.
    static Result run(const QString& program, const QStringList& arguments);
    static Result run(const QString& program, const QStringList& arguments, Options options);

    // The application's own environment, as a dictionary.
    static EnvironmentDictionary currentEnvironment();

    // Kills the process group of every child running now, without waiting;
    // safe in a signal handler.
    static void killAllNow();

    // How long stop() waits after SIGTERM before it kills (2 seconds).
    static void setGracePeriod(std::chrono::milliseconds period);

  private:
    void pump(int timeoutMs);
    bool reap(bool block);
    void closePipes();
    bool deadlinePassed() const;

    QString program_;
    QStringList arguments_;
    Options options_;
    Result result_;
    pid_t pid_ = -1;
    int pidFd_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::chrono::steady_clock::time_point startedAt_;
};

}  // namespace platform
