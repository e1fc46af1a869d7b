#include "platform/SystemLocale.h"

#include <locale.h>

namespace platform {

bool SystemLocale::isAvailable(const QString& name) {
    if (name.isEmpty()) return false;
    const locale_t handle = ::newlocale(LC_ALL_MASK, name.toUtf8().constData(), locale_t(nullptr));
    if (handle == locale_t(nullptr)) return false;
    ::freelocale(handle);
    return true;
}

QString SystemLocale::utf8LocaleOrFallback(const QString& preferred) {
    return isAvailable(preferred) ? preferred : QStringLiteral("C.UTF-8");
}

}  // namespace platform
