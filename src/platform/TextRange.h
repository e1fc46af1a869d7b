#pragma once

#include <QtGlobal>

namespace platform {

// A stretch of a text in UTF-16 code units, as QString counts them.
struct TextRange {
    qsizetype location = 0;
    qsizetype length = 0;

    qsizetype end() const { return location + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

}  // namespace platform
