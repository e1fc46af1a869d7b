#pragma once

#include <QString>
#include <functional>

namespace platform {

// Where log entries end up: standard error by default, or the system log.
// Entries are written verbatim, never used as a format.
class LogSink {
  public:
    enum class Target { StandardError, SystemLog };

    static void write(const QString& entry);
    static void setTarget(Target target);

    // Tests see every entry through the hook; while a hook is set, nothing is
    // written to the target.
    using Hook = std::function<void(const QString&)>;
    static void setCaptureHook(Hook hook);
};

}  // namespace platform
