#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "platform/TextRange.h"

namespace platform {

// Finds misspelt words. Implementations may be called from any thread.
class SpellChecker {
  public:
    virtual ~SpellChecker() = default;

    // The first misspelt word that starts at or after `startingAt`, or none.
    virtual std::optional<TextRange> checkSpellingOfString(const QString& text,
                                                           qsizetype startingAt = 0) const = 0;

    // The checker the whole program shares: on first use a Hunspell checker
    // for the user's locale (falling back to en_US), or one that accepts
    // everything when no dictionary is installed.
    static std::shared_ptr<SpellChecker> shared();
    // Replaces the shared checker (tests, or a change of language).
    static void setShared(std::shared_ptr<SpellChecker> checker);
};

}  // namespace platform
