#pragma once

#include <QStringList>
#include <memory>
#include <mutex>

#include "platform/SpellChecker.h"

class Hunspell;

namespace platform {

// A spell checker on a Hunspell dictionary. Hunspell itself is not
// thread-safe, so every look-up holds the checker's own lock.
class HunspellSpellChecker : public SpellChecker {
  public:
    // Null when either file cannot be read.
    static std::shared_ptr<HunspellSpellChecker> fromFiles(const QString& affixPath,
                                                           const QString& dictionaryPath);
    // The dictionary named after the locale ("de_DE"), else "en_US", looked
    // for in the folders given (by default the system's dictionary folders).
    static std::shared_ptr<HunspellSpellChecker> forLocale(const QString& localeName,
                                                           const QStringList& folders);
    static std::shared_ptr<HunspellSpellChecker> forUserLocale();
    static QStringList systemDictionaryFolders();

    ~HunspellSpellChecker() override;

    std::optional<TextRange> checkSpellingOfString(const QString& text,
                                                   qsizetype startingAt = 0) const override;

  private:
    explicit HunspellSpellChecker(std::unique_ptr<Hunspell> hunspell);
    bool isKnownWord(const QString& word) const;

    mutable std::mutex mutex_;
    std::unique_ptr<Hunspell> hunspell_;
    QString encoding_;
};

}  // namespace platform
