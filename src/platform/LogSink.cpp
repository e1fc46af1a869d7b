#include "platform/LogSink.h"

#include <syslog.h>

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}
LogSink::Hook& hook() {
    static LogSink::Hook h;
    return h;
}
LogSink::Target& target() {
    static LogSink::Target t = LogSink::Target::StandardError;
    return t;
}

}  // namespace

void LogSink::write(const QString& entry) {
    std::lock_guard lock(sinkMutex());
    if (hook()) {
        hook()(entry);
        return;
    }
    const QByteArray bytes = entry.toUtf8();
    if (target() == Target::SystemLog) {
        syslog(LOG_NOTICE, "%s", bytes.constData());
    } else {
        std::fprintf(stderr, "%s\n", bytes.constData());
        std::fflush(stderr);
    }
}

void LogSink::setTarget(Target t) {
    std::lock_guard lock(sinkMutex());
    target() = t;
}

void LogSink::setCaptureHook(Hook h) {
    std::lock_guard lock(sinkMutex());
    hook() = std::move(h);
}

}  // namespace platform
