#include "platform/NullSpellChecker.h"

namespace platform {

std::optional<TextRange> NullSpellChecker::checkSpellingOfString(const QString&, qsizetype) const {
    return std::nullopt;
}

}  // namespace platform
