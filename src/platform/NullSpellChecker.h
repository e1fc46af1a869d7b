#pragma once

#include "platform/SpellChecker.h"

namespace platform {

// Used when no dictionary is installed: every word counts as correct.
class NullSpellChecker : public SpellChecker {
  public:
    std::optional<TextRange> checkSpellingOfString(const QString& text,
                                                   qsizetype startingAt = 0) const override;
};

}  // namespace platform
