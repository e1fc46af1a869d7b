#pragma once

#include <QStringList>

#include "platform/SpellChecker.h"

// Counts as misspelt exactly the words of its list, so dialog tests do not
// depend on an installed dictionary.
class StubSpellChecker : public platform::SpellChecker {
  public:
    explicit StubSpellChecker(QStringList misspelt) : misspelt_(std::move(misspelt)) {}

    std::optional<platform::TextRange> checkSpellingOfString(const QString& text,
                                                             qsizetype startingAt) const override {
        std::optional<platform::TextRange> first;
        for (const QString& word : misspelt_) {
            const qsizetype at = text.indexOf(word, startingAt);
            if (at >= 0 && (!first || at < first->location))
                first = platform::TextRange{at, word.size()};
        }
        return first;
    }

  private:
    QStringList misspelt_;
};
