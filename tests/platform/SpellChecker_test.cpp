#include "platform/SpellChecker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <functional>
#include <vector>

#include "platform/HunspellSpellChecker.h"
#include "platform/NullSpellChecker.h"
#include "support/PlatformOverrides.h"

using platform::HunspellSpellChecker;
using platform::TextRange;
using platform::WordVerdictCache;

namespace {

// A dictionary of a handful of words, so results do not depend on what the
// machine has installed.
class TinyDictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        write("xx_XX", {"the", "cat", "sat", "don't", "café"});
    }

    void write(const QString& name, const QStringList& words, bool latin1 = false) {
        QFile aff(QDir(folder.path()).filePath(name + ".aff"));
        ASSERT_TRUE(aff.open(QIODevice::WriteOnly));
        aff.write(latin1 ? "SET ISO8859-1\nWORDCHARS '\n" : "SET UTF-8\nWORDCHARS '\n");
        QFile dic(QDir(folder.path()).filePath(name + ".dic"));
        ASSERT_TRUE(dic.open(QIODevice::WriteOnly));
        const QString list = words.join("\n");
        dic.write(QByteArray::number(words.size()) + "\n" +
                  (latin1 ? list.toLatin1() : list.toUtf8()) + "\n");
    }

    std::shared_ptr<HunspellSpellChecker> checker(const QString& name = "xx_XX") {
        return HunspellSpellChecker::forLocale(name, {folder.path()});
    }

    QTemporaryDir folder;
};

}  // namespace

TEST_F(TinyDictionary, FindsTheFirstMisspeltWord) {
    const auto spelling = checker();
    ASSERT_TRUE(spelling);
    struct Case {
        QString text;
        qsizetype from;
        std::optional<TextRange> expected;
    } cases[] = {
        {"the cat sat", 0, std::nullopt},
        {"", 0, std::nullopt},
        {"the dgo sat", 0, TextRange{4, 3}},
        {"the cat sat teh", 0, TextRange{12, 3}},
        {"dgo teh", 4, TextRange{4, 3}},
        {"don't café", 0, std::nullopt},
        {"<i>the</i> {\\an8}cat", 0, std::nullopt},  // markup is not prose
        {"the 42 cat", 0, std::nullopt},
        {"the\ncat, sat!", 0, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(spelling->checkSpellingOfString(c.text, c.from), c.expected)
            << c.text.toStdString();
}

TEST_F(TinyDictionary, LocaleFallsBackToEnUsThenToNothing) {
    EXPECT_FALSE(checker("zz_ZZ"));
    write("en_US", {"hello"});
    const auto fallback = checker("zz_ZZ");
    ASSERT_TRUE(fallback);
    EXPECT_FALSE(fallback->checkSpellingOfString("hello", 0));
    EXPECT_TRUE(fallback->checkSpellingOfString("the", 0));
    EXPECT_FALSE(
        HunspellSpellChecker::fromFiles(folder.path() + "/none.aff", folder.path() + "/none.dic"));
}

// More threads than dictionary copies: some wait for a copy to come back.
TEST_F(TinyDictionary, ConcurrentChecksGiveTheSameAnswers) {
    const auto spelling = checker();
    ASSERT_TRUE(spelling);
    std::atomic<int> wrong{0};
    std::vector<QThread*> threads;
    for (std::size_t t = 0; t < 2 * HunspellSpellChecker::kMaxDictionaries; ++t)
        threads.push_back(QThread::create([&] {
            for (int i = 0; i < 300; ++i) {
                if (spelling->checkSpellingOfString("the cat sat", 0)) ++wrong;
                if (spelling->checkSpellingOfString("the dgo", 0) != TextRange{4, 3}) ++wrong;
            }
        }));
    for (auto* t : threads) t->start();
    for (auto* t : threads) {
        t->wait();
        delete t;
    }
    EXPECT_EQ(wrong.load(), 0);
}

namespace {

// Runs `work(thread)` on `count` threads at once.
void onThreads(int count, const std::function<void(int)>& work) {
    std::vector<QThread*> threads;
    for (int t = 0; t < count; ++t) threads.push_back(QThread::create(work, t));
    for (auto* t : threads) t->start();
    for (auto* t : threads) {
        t->wait();
        delete t;
    }
}

}  // namespace

// Remembered verdicts answer exactly as Hunspell does, with several threads
// filling and reading the memory at once, in a UTF-8 and a Latin-1
// dictionary. The reference for each text is a checker that has seen
// nothing before it.
TEST_F(TinyDictionary, RememberedVerdictsMatchHunspellUnderConcurrentUse) {
    const QStringList words{"the", "cat", "don't", "café", "naïve", "Zoë", "NASA", "Paris"};
    write("u8_XX", words);
    write("l1_XX", words, true);
    const QStringList texts{
        "the cat",
        "The Cat",
        "THE CAT",
        "tHe cat",
        "café naïve",
        "Café",
        "CAFÉ",
        "cafe",
        "naive",
        "Zoë",
        "zoë",
        "ZOË",
        "NASA",
        "Nasa",
        "nasa",
        "Paris",
        "paris",
        "PARIS",
        "don't",
        "Don't",
        "dont",
        "",
        " ",
        "teh",
        "the dgo cat",
        "Straße",
        "日本語",
        "Ωμέγα",
        "<i>Zoë</i> tset",
        "{\\i1}café{\\i0}",
        "the\ncat!",
        "the the teh",
        "cat 42 cta",
        "the cat sat, teh",
        "Ça",
    };
    for (const QString name : {"u8_XX", "l1_XX"}) {
        SCOPED_TRACE(name.toStdString());
        std::vector<std::optional<TextRange>> expected;
        for (const QString& text : texts) {
            const auto fresh = checker(name);
            ASSERT_TRUE(fresh);
            expected.push_back(fresh->checkSpellingOfString(text, 0));
        }
        // The table has both kinds of text.
        ASSERT_TRUE(std::count(expected.begin(), expected.end(), std::nullopt) > 5);
        ASSERT_TRUE(std::count(expected.begin(), expected.end(), std::nullopt) < texts.size() - 5);

        const auto spelling = checker(name);
        std::atomic<int> wrong{0};
        onThreads(8, [&](int thread) {
            for (int round = 0; round < 100; ++round)
                for (qsizetype i = 0; i < texts.size(); ++i) {
                    // Each thread in its own order, so first lookups collide.
                    const qsizetype at = (i * (thread + 1) + round) % texts.size();
                    if (spelling->checkSpellingOfString(texts[at], 0) != expected[at]) ++wrong;
                }
        });
        EXPECT_EQ(wrong.load(), 0);
    }
}

// Each dictionary remembers its own verdicts: checkers of two languages
// used side by side, or swapped as the shared one, never answer with the
// other's.
TEST_F(TinyDictionary, ADifferentLanguageGivesItsOwnVerdicts) {
    write("yy_YY", {"teh", "dgo"});
    const auto first = checker();
    const auto second = checker("yy_YY");
    ASSERT_TRUE(first && second);
    std::atomic<int> wrong{0};
    onThreads(6, [&](int thread) {
        for (int round = 0; round < 200; ++round) {
            const bool useFirst = (round + thread) % 2 == 0;
            const auto& spelling = useFirst ? first : second;
            if (spelling->checkSpellingOfString("the cat", 0).has_value() == useFirst) ++wrong;
            if (spelling->checkSpellingOfString("teh dgo", 0).has_value() != useFirst) ++wrong;
        }
    });
    EXPECT_EQ(wrong.load(), 0);

    testsupport::ScopedSpellChecker shared(first);
    EXPECT_TRUE(platform::SpellChecker::shared()->checkSpellingOfString("teh", 0));
    shared.set(second);
    EXPECT_FALSE(platform::SpellChecker::shared()->checkSpellingOfString("teh", 0));
    shared.set(first);
    EXPECT_TRUE(platform::SpellChecker::shared()->checkSpellingOfString("teh", 0));
}

// Threads filling a small memory with far more words than it holds: it never
// holds more than its bound, and what it answers is what was recorded for
// that very word (case and accents included).
TEST(WordVerdictCache, StaysWithinItsBoundAndKeepsWordsApart) {
    WordVerdictCache cache(4);
    ASSERT_EQ(cache.capacity(), 4 * WordVerdictCache::kShards);
    const QStringList forms{"word", "Word", "WORD", "wörd", "", "wörd\u0301"};
    const auto verdict = [](qsizetype form, int i) { return (form + i) % 3 == 0; };
    std::atomic<int> wrong{0};
    std::atomic<std::size_t> largest{0};
    onThreads(8, [&](int thread) {
        for (int i = 0; i < 3000; ++i) {
            for (qsizetype f = 0; f < forms.size(); ++f) {
                const QString word = forms[f] + QString::number(i);
                const auto found = cache.find(word);
                if (found && *found != verdict(f, i)) ++wrong;
                if (!found) cache.insert(word, verdict(f, i));
            }
            if (i % 100 == thread) {
                const std::size_t now = cache.size();
                std::size_t seen = largest.load();
                while (now > seen && !largest.compare_exchange_weak(seen, now)) {
                }
            }
        }
    });
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_LE(largest.load(), cache.capacity());
    EXPECT_LE(cache.size(), cache.capacity());
    EXPECT_GT(cache.size(), 0u);

    WordVerdictCache empty;
    EXPECT_FALSE(empty.find(QString()));
    empty.insert(QString(), false);
    EXPECT_EQ(empty.find(QString()), false);
    EXPECT_FALSE(empty.find(QStringLiteral(" ")));
}

TEST_F(TinyDictionary, SharedCheckerCanBeReplaced) {
    testsupport::ScopedSpellChecker shared(checker());
    EXPECT_TRUE(platform::SpellChecker::shared()->checkSpellingOfString("dgo", 0));
    shared.set(std::make_shared<platform::NullSpellChecker>());
    EXPECT_FALSE(platform::SpellChecker::shared()->checkSpellingOfString("dgo", 0));
    shared.set(nullptr);
    EXPECT_TRUE(platform::SpellChecker::shared());  // made again on demand
}

// Copies opened ahead of a load serve checks on many threads.
TEST_F(TinyDictionary, CopiesOpenedAheadServeChecks) {
    const auto spelling = checker();
    ASSERT_TRUE(spelling);
    spelling->prepareForThreads(8);
    spelling->prepareForThreads(8);  // nothing more to open
    std::atomic<int> wrong{0};
    onThreads(8, [&](int) {
        for (int round = 0; round < 200; ++round) {
            if (spelling->checkSpellingOfString("the cat sat", 0)) ++wrong;
            if (spelling->checkSpellingOfString("the tac", 0) != TextRange{4, 3}) ++wrong;
        }
    });
    EXPECT_EQ(wrong.load(), 0);
    platform::NullSpellChecker().prepareForThreads(4);
}
