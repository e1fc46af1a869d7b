#include "common/TimeConflictTypes.h"

#include <array>

#include "common/RawValues.h"

namespace {
constexpr std::array<const char*, 5> kRaw{"Decreasing Time", "End Overlap", "Start Overlap",
                                          "Both Overlap", "Enclosed"};
}

std::optional<timeConflictTypes> timeConflictTypes::fromRawValue(const QString& raw) {
    if (auto i = common::indexOfRawValue(kRaw, raw))
        return timeConflictTypes(static_cast<Value>(*i));
    return std::nullopt;
}

QString timeConflictTypes::rawValue() const {
    return QString::fromLatin1(kRaw[value_]);
}
