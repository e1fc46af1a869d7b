#include "platform/SpellChecker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <vector>

#include "platform/HunspellSpellChecker.h"
#include "platform/NullSpellChecker.h"
#include "support/PlatformOverrides.h"

using platform::HunspellSpellChecker;
using platform::TextRange;

namespace {

// A dictionary of a handful of words, so results do not depend on what the
// machine has installed.
class TinyDictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        write("xx_XX", {"the", "cat", "sat", "don't", "café"});
    }

    void write(const QString& name, const QStringList& words) {
        QFile aff(QDir(folder.path()).filePath(name + ".aff"));
        ASSERT_TRUE(aff.open(QIODevice::WriteOnly));
        aff.write("SET UTF-8\nWORDCHARS '\n");
        QFile dic(QDir(folder.path()).filePath(name + ".dic"));
        ASSERT_TRUE(dic.open(QIODevice::WriteOnly));
        dic.write(QByteArray::number(words.size()) + "\n" + words.join("\n").toUtf8() + "\n");
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

TEST_F(TinyDictionary, SharedCheckerCanBeReplaced) {
    testsupport::ScopedSpellChecker shared(checker());
    EXPECT_TRUE(platform::SpellChecker::shared()->checkSpellingOfString("dgo", 0));
    shared.set(std::make_shared<platform::NullSpellChecker>());
    EXPECT_FALSE(platform::SpellChecker::shared()->checkSpellingOfString("dgo", 0));
    shared.set(nullptr);
    EXPECT_TRUE(platform::SpellChecker::shared());  // made again on demand
}
