#pragma once

#include <QString>
#include <cstdint>
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

    // Gets ready, in the background, for `threads` threads checking at once
    // (a load about to check thousands of lines); returns at once.
    virtual void prepareForThreads(int threads) const { (void)threads; }

    // The checker the whole program shares: on first use a Hunspell checker
    // for the user's locale (falling back to en_US), or one that accepts
    // everything when no dictionary is installed.
    static std::shared_ptr<SpellChecker> shared();
    // Replaces the shared checker (tests, or a change of language).
    static void setShared(std::shared_ptr<SpellChecker> checker);
    // A number that changes whenever the shared checker is made or replaced:
    // a thread may keep using the checker it was given while the number
    // stays the same, without asking again (the loading threads check
    // thousands of lines each).
    static std::uint64_t sharedGeneration();
    // The shared checker and its generation, taken together.
    static std::shared_ptr<SpellChecker> shared(std::uint64_t& generation);
};

}  // namespace platform
