#include "common/ResultTypes.h"

#include <array>

#include "common/RawValues.h"

namespace {
constexpr std::array<const char*, 2> kRaw{"error", "OK"};
}

std::optional<resultTypes> resultTypes::fromRawValue(const QString& raw) {
    if (auto i = common::indexOfRawValue(kRaw, raw)) return resultTypes(static_cast<Value>(*i));
    return std::nullopt;
}

QString resultTypes::rawValue() const {
    return QString::fromLatin1(kRaw[value_]);
}
