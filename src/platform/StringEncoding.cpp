#include "platform/StringEncoding.h"

#include <QHashFunctions>

namespace platform {

QString StringEncoding::backendName() const {
    switch (backend_) {
        case Backend::Icu:
            return QStringLiteral("ICU");
        case Backend::Iconv:
            return QStringLiteral("iconv");
        case Backend::ByteTable:
            return QStringLiteral("table");
        case Backend::NonLossyAscii:
            return QStringLiteral("built-in");
        case Backend::None:
            break;
    }
    return QStringLiteral("none");
}

size_t qHash(const StringEncoding& encoding, size_t seed) {
    return qHashMulti(seed, static_cast<int>(encoding.backend()), encoding.converterName(),
                      encoding.number());
}

}  // namespace platform
