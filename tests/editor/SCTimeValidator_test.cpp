#include "editor/SCTimeValidator.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "editor/EditorFixture.h"
#include "editor/QtPrinters.h"

namespace {

struct Example {
    int number;
    QString oldText;
    QString newText;  // the field after the user's change
    int caret;        // the caret after the change
    bool ass;
    QString beforeNormalising;
    std::optional<int> placedCaret;
    int beeps;
    QString finalText;
};

void PrintTo(const Example& e, std::ostream* out) {
    *out << "example " << e.number;
}

const SCTimeValidator::Form& srt() {
    static const auto form = *SCTimeValidator::formFor(SCTimeValidator::srtForm);
    return form;
}
const SCTimeValidator::Form& ass() {
    static const auto form = *SCTimeValidator::formFor(SCTimeValidator::assForm);
    return form;
}

class WorkedExamples : public ::testing::TestWithParam<Example> {};

TEST_P(WorkedExamples, GiveTheTextsCaretBeepsAndOnePush) {
    const Example& e = GetParam();
    const auto outcome =
        SCTimeValidator::validate(e.oldText, e.newText, e.caret, e.ass ? ass() : srt());
    ASSERT_GE(outcome.writes.size(), 2);
    EXPECT_EQ(outcome.writes[outcome.writes.size() - 2], e.beforeNormalising);
    EXPECT_EQ(outcome.caret, e.placedCaret);
    EXPECT_EQ(outcome.beeps, e.beeps);
    EXPECT_EQ(outcome.fieldText, e.finalText);
    EXPECT_EQ(outcome.oldText, e.finalText);
    EXPECT_EQ(outcome.pushed, std::optional<QString>(e.finalText));
}

const QString t0 = "00:00:00,000";
const QString t1 = "12:34:56,789";

INSTANTIATE_TEST_SUITE_P(
    SCTimeValidator, WorkedExamples,
    ::testing::Values(
        Example{1, t0, "00:050:00,000", 5, false, "00:05:00,000", 6, 0, "00:05:00,000"},
        Example{2, t0, "005:00:00,000", 3, false, "00:50:00,000", 4, 0, "00:50:00,000"},
        Example{3, t0, "00:00:00,0005", 13, false, t0, std::nullopt, 0, t0},
        Example{4, t0, "00:a00:00,000", 4, false, t0, 3, 1, t0},
        Example{5, t0, "000:00:00,000", 1, false, t0, std::nullopt, 0, t0},
        Example{6, t0, "12:3400:00:00,000", 5, false, "12:34:00,000", 6, 0, "12:34:00,000"},
        Example{7, t0, "123400:00:00,000", 4, false, "12:34:00,000", 4, 0, "12:34:00,000"},
        Example{8, t0, "00:00:00,00550", 13, false, "00:00:00,005", std::nullopt, 1,
                "00:00:00,005"},
        Example{9, "00:05:00,000", "00:705:00,000", 4, false, "00:75:00,000", std::nullopt, 0,
                "01:15:00,000"},
        Example{10, t1, "12:3:56,789", 4, false, "12:30:56,789", 4, 0, "12:30:56,789"},
        Example{11, t1, "1234:56,789", 2, false, "12:04:56,789", 2, 0, "12:04:56,789"},
        Example{12, t1, "12:34:56,78", 11, false, "12:34:56,780", 11, 0, "12:34:56,780"},
        Example{13, t1, "12:5:56,789", 4, false, "12:50:56,789", 4, 0, "12:50:56,789"},
        Example{14, t1, "12:3556,789", 5, false, "12:35:06,789", 7, 0, "12:35:06,789"},
        Example{15, t1, "1564:56,789", 3, false, "15:04:56,789", 2, 0, "15:04:56,789"},
        Example{16, t1, "12:a:56,789", 4, false, "12:30:56,789", 4, 1, "12:30:56,789"},
        Example{17, t1, "", 0, false, t0, 0, 0, t0},
        Example{18, t1, "5", 1, false, "50:00:00,000", 1, 0, "02:00:00,000"},
        Example{19, "0:00:00.00", "0:500:00.00", 3, true, "0:50:00.00", std::nullopt, 0,
                "0:50:00.00"},
        Example{20, "0:00:00.00", "0:050:00.00", 4, true, "0:05:00.00", 5, 0, "0:05:00.00"}));

TEST(SCTimeValidator, LongAssTimesKeepTheirTenPositionTemplate) {
    // Typing over the eleventh character is dropped; the caret steps by the
    // form's separator positions.
    auto outcome = SCTimeValidator::validate("10:00:00.00", "10:00:00.050", 11, ass());
    EXPECT_EQ(outcome.fieldText, "10:00:00.00");
    EXPECT_EQ(outcome.beeps, 0);
    outcome = SCTimeValidator::validate("10:00:00.00", "210:00:00.00", 1, ass());
    EXPECT_EQ(outcome.fieldText, "20:00:00.00");
    EXPECT_EQ(outcome.caret, 2);
}

struct Refusal {
    const char* what;
    QString oldText;
    QString newText;
    int caret;
    QString fieldText;
    std::optional<QString> pushed;
};

TEST(SCTimeValidator, RefusesChangesThatReachOutsideTheTextOrBringForeignCharacters) {
    const Refusal cases[] = {
        {"empty field typed into", "", "5", 1, "", std::nullopt},
        {"short old text", "12:34", "12:345", 6, "12:34", std::nullopt},
        {"2345 pasted over 1-11", t1, "12345", 5, t1, t1},
        {"decomposed e pasted", t0, QString("e\u0301") + t0, 2, t0, t0},
        {"emoji pasted", t0, "00:" + QString::fromUtf8("\xF0\x9F\x98\x80") + "00:00,000", 5, t0,
         t0},
        {"caret past the end", t0, "00:00:00,0005", 40, t0, t0},
        {"1:2 pasted at 0, its \":\" where a digit belongs", t0, "1:200:00:00,000", 3, t0, t0},
    };
    for (const Refusal& c : cases) {
        const auto outcome = SCTimeValidator::validate(c.oldText, c.newText, c.caret, srt());
        EXPECT_EQ(outcome.fieldText, c.fieldText) << c.what;
        EXPECT_EQ(outcome.pushed, c.pushed) << c.what;
        const int caret = outcome.caret.value_or(0);
        EXPECT_GE(caret, 0) << c.what;
        EXPECT_LE(caret, outcome.fieldText.size()) << c.what;
    }
    // A disallowed character replacing a selection at the start: no caret
    // before position 0.
    const auto start = SCTimeValidator::validate(t1, "a:34:56,789", 1, srt());
    EXPECT_EQ(start.beeps, 1);
    EXPECT_EQ(start.fieldText, "10:34:56,789");
    EXPECT_GE(*start.caret, 0);
}

TEST(SCTimeValidator, FormTextsSelectAFormAndOthersKeepThePreviousOne) {
    EXPECT_FALSE(SCTimeValidator::formFor("HH:mm:ss,SSS").has_value());
    SCTimeValidator validator;
    EXPECT_EQ(validator.decimalSeparator(), ",");
    EXPECT_EQ(validator.timeStringLength(), 12);
    EXPECT_EQ(validator.specialCharacterIndexes(), QList<int>({2, 5, 8}));
    EXPECT_TRUE(validator.isDisallowedCharacter(u'.'));

    QLineEdit field;
    field.setText("0:00:00.00");
    validator.setOldText(field.text());
    validator.validateTimeTextOfForm(SCTimeValidator::assForm, field, {});
    validator.validateTimeTextOfForm("bogus", field, {});
    EXPECT_EQ(validator.decimalSeparator(), ".");
    EXPECT_EQ(validator.timeStringLength(), 10);
    EXPECT_EQ(validator.specialCharacterIndexes(), QList<int>({1, 4, 7}));
    EXPECT_FALSE(validator.isDisallowedCharacter(u'.'));
}

class TimeFieldAdapter : public editortest::EditorTest {};

TEST_F(TimeFieldAdapter, RewritesTheFieldOncePlacesTheCaretAndPushesOnce) {
    QLineEdit field;
    field.setText(t0);
    SCTimeValidator validator;
    validator.setOldText(t0);
    QStringList pushed;
    int edits = 0;
    QObject::connect(&field, &QLineEdit::textEdited, [&] {
        ++edits;
        validator.validateTimeTextOfForm(SCTimeValidator::srtForm, field,
                                         [&](const QString& text) { pushed.append(text); });
    });
    QSignalSpy changes(&field, &QLineEdit::textChanged);
    field.setCursorPosition(4);
    QTest::keyClick(&field, Qt::Key_5);
    EXPECT_EQ(field.text(), "00:05:00,000");
    EXPECT_EQ(field.cursorPosition(), 6);
    EXPECT_EQ(pushed, QStringList({"00:05:00,000"}));
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(changes.count(), 1);  // the keystroke's own; the rewrite is silent
    EXPECT_EQ(validator.oldText(), "00:05:00,000");

    QTest::keyClick(&field, Qt::Key_A);
    EXPECT_EQ(field.text(), "00:05:00,000");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(pushed.size(), 2);
}

}  // namespace
