#pragma once

#include <QString>

namespace platform {

// Which locales this system has installed.
class SystemLocale {
  public:
    static bool isAvailable(const QString& name);

    // The preferred UTF-8 locale when installed, otherwise "C.UTF-8", which
    // every glibc system has.
    static QString utf8LocaleOrFallback(const QString& preferred);
};

}  // namespace platform
