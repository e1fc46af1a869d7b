#pragma once

#include <ostream>

#include "platform/TextRange.h"

namespace platform {
inline void PrintTo(const TextRange& range, std::ostream* os) {
    *os << "(" << range.location << ", " << range.length << ")";
}
}  // namespace platform
