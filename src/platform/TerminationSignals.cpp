#include "platform/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

#include "platform/ChildProcess.h"

namespace platform {

namespace {

int pipeEnds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kSignalCount = int(std::size(kSignals));

// What stood for each signal before; installed[i] when ours replaced it.
struct sigaction previous[kSignalCount];
bool installed[kSignalCount] = {};

std::atomic<bool> atOnce{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onSignal(int signal) {
    if (atOnce.load()) {
        ChildProcess::killAllNow();
        ::_exit(128 + signal);
    }
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    // A full pipe already holds enough to wake the loop.
    ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
    (void)ignored;
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) {
        installed[i] = false;
        if (::sigaction(kSignals[i], nullptr, &previous[i]) != 0) continue;
        // Whoever started us asked for it not to end us.
        if (previous[i].sa_handler == SIG_IGN) continue;
        installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) return;
    for (int i = 0; i < kSignalCount; ++i)
        if (installed[i]) ::sigaction(kSignals[i], &previous[i], nullptr);
    atOnce = false;
    delete notifier_;
    for (int& fd : pipeEnds) {
        ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::endAtOnceFromNowOn() {
    atOnce = true;
}

void TerminationSignals::readSignals() {
    unsigned char bytes[16];
    ssize_t count;
    while ((count = ::read(pipeEnds[0], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < count; ++i) emit received(bytes[i]);
}

}  // namespace platform
