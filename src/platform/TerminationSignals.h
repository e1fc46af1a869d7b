#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Turns SIGTERM, SIGINT and SIGHUP into a signal of the main thread: the
// handler only writes a byte to a pipe, which a socket notifier reads in the
// event loop. A signal the process inherited as ignored (a background job
// of a script ignores SIGINT) stays ignored. One per process; the handlers
// stay until it is destroyed, which puts back what was there before.
class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // From now on a signal ends the program at once, in the handler: every
    // child's process group is killed and the status is 128 plus the
    // signal's number. For once the end is under way: a second signal must
    // not wait for what the end waits for.
    static void endAtOnceFromNowOn();

  signals:
    // A signal arrived; on the main thread, once per signal.
    void received(int signal);

  private:
    void readSignals();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
