#pragma once

#include <QVariant>
#include <optional>

namespace transformervalues {

// A Boolean or a number read as a Boolean; no value for anything else
// (strings included: "true" is text, not a flag).
inline std::optional<bool> booleanOf(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
            return value.toBool();
        default:
            return std::nullopt;
    }
}

inline bool isNumber(const QVariant& value) {
    return value.typeId() != QMetaType::Bool && booleanOf(value).has_value();
}

}  // namespace transformervalues
