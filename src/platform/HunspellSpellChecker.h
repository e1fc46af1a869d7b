#pragma once

#include <QByteArray>
#include <QStringList>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/SpellChecker.h"
#include "platform/WordVerdictCache.h"

class Hunspell;

namespace platform {

// A spell checker on a Hunspell dictionary. Each word's verdict is
// remembered, so a word meets Hunspell about once: nothing changes a
// dictionary once it is open (a change of language is a new checker), so a
// remembered verdict stays Hunspell's. A Hunspell object is not thread-safe,
// so a check that has words to look up borrows one for the rest of the text.
// Loads check thousands of lines on several threads at once: a few more
// copies of the dictionary are opened on demand, up to a small limit, instead
// of making every thread wait for one.
class HunspellSpellChecker : public SpellChecker,
                             public std::enable_shared_from_this<HunspellSpellChecker> {
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

    // Opens the copies that many threads would ask for, each on a thread of
    // its own, so that a load's checks need not wait for them.
    void prepareForThreads(int threads) const override;

    // Dictionary copies open at most, the first included.
    static constexpr std::size_t kMaxDictionaries = 4;

  private:
    HunspellSpellChecker(std::unique_ptr<Hunspell> hunspell, QByteArray affixPath,
                         QByteArray dictionaryPath);
    std::unique_ptr<Hunspell> borrow() const;
    void giveBack(std::unique_ptr<Hunspell> hunspell) const;
    bool isKnownWord(Hunspell& hunspell, const QString& word) const;

    QByteArray affixPath_;
    QByteArray dictionaryPath_;
    QString encoding_;
    // Tells this checker's remembered verdicts from another's.
    const std::uint64_t number_;
    mutable std::mutex mutex_;
    mutable std::condition_variable returned_;
    mutable std::vector<std::unique_ptr<Hunspell>> idle_;
    mutable std::size_t opened_ = 0;
    mutable WordVerdictCache verdicts_;
};

}  // namespace platform
