#include "platform/RecentVerdicts.h"

#include <gtest/gtest.h>

#include <QString>

using platform::RecentVerdicts;

namespace {

bool verdictOf(std::uint64_t checker, int i) {
    return (i + int(checker)) % 3 == 0;
}

}  // namespace

// Far more words than slots, from two checkers: a word is found with the
// verdict its own checker gave, or not at all; never another word's or
// another checker's.
TEST(RecentVerdicts, AnswersOnlyWhatWasRecordedForThatWordAndChecker) {
    auto recent = std::make_unique<RecentVerdicts>();
    const int words = int(RecentVerdicts::kSlots) * 3;
    int wrong = 0, found = 0;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < words; ++i)
            for (std::uint64_t checker : {1u, 2u}) {
                const QString word = QStringLiteral("w") + QString::number(i);
                if (const auto known = recent->find(checker, word)) {
                    ++found;
                    if (*known != verdictOf(checker, i)) ++wrong;
                } else {
                    recent->insert(checker, word, verdictOf(checker, i));
                    if (recent->find(checker, word) != verdictOf(checker, i)) ++wrong;
                    if (recent->find(checker + 2, word)) ++wrong;
                }
            }
    EXPECT_EQ(wrong, 0);
    // A word's slot serves one checker at a time: kept for the one that
    // asked last.
    EXPECT_EQ(found, 0);

    // A few hundred words fit, but for the odd two that share a slot.
    recent = std::make_unique<RecentVerdicts>();
    for (int i = 0; i < 300; ++i) recent->insert(3, QString::number(i), verdictOf(3, i));
    found = 0;
    for (int i = 0; i < 300; ++i)
        if (const auto known = recent->find(3, QString::number(i))) {
            ++found;
            EXPECT_EQ(*known, verdictOf(3, i));
        }
    EXPECT_GT(found, 280);

    const struct {
        QString word;
        bool kept;
    } cases[] = {
        {"", true},
        {"Café", true},
        {"Cafe\u0301", true},
        {QString(RecentVerdicts::kLongestWord, u'x'), true},
        {QString(RecentVerdicts::kLongestWord + 1, u'x'), false},
    };
    for (const auto& c : cases) {
        recent->insert(7, c.word, true);
        EXPECT_EQ(recent->find(7, c.word).has_value(), c.kept) << c.word.toStdString();
    }
    // Same letters, other case or composition: other words.
    recent->insert(8, QStringLiteral("Café"), true);
    EXPECT_FALSE(recent->find(8, QStringLiteral("café")).has_value());
    EXPECT_FALSE(recent->find(8, QStringLiteral("Cafe\u0301")).has_value());
}
