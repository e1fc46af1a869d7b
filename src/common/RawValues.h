#pragma once

#include <QString>
#include <array>
#include <optional>

namespace common {

// Lookup shared by the enumerations whose cases carry a text raw value:
// the index of the exact (case-sensitive) match, or none.
template <std::size_t N>
std::optional<int> indexOfRawValue(const std::array<const char*, N>& table, const QString& text) {
    for (std::size_t i = 0; i < N; ++i)
        if (text == QLatin1String(table[i])) return static_cast<int>(i);
    return std::nullopt;
}

}  // namespace common
