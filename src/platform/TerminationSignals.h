#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Turns SIGTERM and SIGINT into a signal of the main thread: the handler
// only writes a byte to a pipe, which a socket notifier reads in the event
// loop. One per process; the handlers stay until it is destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  signals:
    // SIGTERM or SIGINT arrived; on the main thread, once per signal.
    void received(int signal);

  private:
    void readSignals();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
