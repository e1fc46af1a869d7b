#include "encodings/TextMess.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

struct Case {
    const char* measure;
    qsizetype (*count)(QStringView);
    QString text;
    qsizetype expected;
};

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Each measure on what a right reading holds and on what wrong readings of
// legacy bytes make of them.
TEST(TextMess, EachMeasureCountsWhatTextInOneLanguageDoesNotHold) {
    const auto unprintables = &TextMess::unprintables;
    const auto symbols = &TextMess::symbolsNextToLetters;
    const auto mixed = &TextMess::mixedScriptWords;
    const auto capitals = &TextMess::capitalsInsideLowerCaseWords;
    const auto stray = &TextMess::strayScriptLetters;
    const auto alphabet = &TextMess::lettersOutsideOneAlphabet;
    const auto letters = &TextMess::letters;
    const Case cases[] = {
        {"unprintables", unprintables, u("Kız kardeşin üç kez aradı…"), 0},
        {"unprintables", unprintables, u("Ω ä \u00A0 \uFFFD 你 \t\r\n"), 0},
        // ISO-8859-9 reads windows-1254's ellipsis as a C1 control.
        {"unprintables", unprintables, u("aradı") + QChar(0x85), 1},
        {"unprintables", unprintables, QString("a") + QChar(0x80) + "b" + QChar(0x9F), 2},
        {"unprintables", unprintables, QString("a") + QChar(0) + "b", 1},
        {"unprintables", unprintables, QString("a") + QChar(0xE000) + QChar(0xF8FF), 2},
        {"unprintables", unprintables, QString::fromUcs4(U"a\U000F0000 \U0010FFFD"), 2},
        {"unprintables", unprintables, QString::fromUcs4(U"a\U0001F600"), 0},
        // ISO-2022's escapes and shifts read in a single-byte page; DEL.
        {"unprintables", unprintables, u("\x1B$B8l\x1B(B \x0E>n\x0F \x7F"), 5},
        {"unprintables", unprintables, u("a\tb\vc\fd\r\ne"), 0},

        // MacCyrillic's reading of windows-1251's "— Где ты был…".
        {"symbols next to letters", symbols, u("Ч √де ты былЕ"), 1},
        // windows-1252's reading of ISO-8859-2's "možná", "Pamatuješ".
        {"symbols next to letters", symbols, u("mo¾ná Pamatuje¹"), 1},
        {"symbols next to letters", symbols, u("║text║ ©Quillmar ±x"), 4},
        {"symbols next to letters", symbols, u("25 € or 3 ° √ 2 ½ — “so” ’tis"), 0},
        // Units and signs beside numbers and words are text.
        {"symbols next to letters", symbols,
         u("85 m², 3 m³, km² 20 °C 20°C 451°F Quillmar™ Acme® 9,99€ £900 ¥5 Fußnote¹ 5′ 3″"), 0},
        // Between two letters they are not; nor is the pilcrow beside one, or
        // the currency sign no text writes.
        {"symbols next to letters", symbols, u("m²s ¶λλα ¶σε 9,99 ¤"), 4},
        // windows-1250 reads Spanish "¡" as a caron standing alone.
        {"symbols next to letters", symbols, u("ˇDeja eso! ¡Deja eso!"), 1},
        // The symbols East Asian text sets beside its letters.
        {"symbols next to letters", symbols, u("사랑해♡ 정말로♥ ☆별☆ ⓓ답 영하 5˚야 ≠漢字 ⊇かな"),
         0},
        // ASCII reads the same in every candidate.
        {"symbols next to letters", symbols, u("x+y=z <i>a</i> ^b~"), 0},

        {"mixed-script words", mixed, u("Oω"), 1},
        {"mixed-script words", mixed, u("lиnкs and Где ты был, Hello мир"), 1},
        // East Asian text glues Latin words to its own ("Tシャツ", "PNG파일을");
        // a letter beyond ASCII is not such a word.
        {"mixed-script words", mixed, u("Tシャツ PNG파일을 CD化"), 0},
        {"mixed-script words", mixed, u("caféの"), 1},
        {"mixed-script words", mixed, u("漢字とカタカナ、한국어漢字、注音ㄅㄆ"), 0},
        {"mixed-script words", mixed, u("かな한"), 1},
        {"mixed-script words", mixed, u("naïve ağaç Ελλάδα שָׁלוֹם"), 0},
        // The East Asian sets hold the Greek and Cyrillic alphabets for text.
        {"mixed-script words", mixed, u("α버전 β중에 Ωメガ 漢字Ж"), 0},
        {"mixed-script words", mixed, u("Pokйmon"), 1},
        // Common letters (the prolonged-sound mark) go with any script.
        {"mixed-script words", mixed, u("ケーキ"), 0},

        // KOI8-R read as windows-1251 swaps the case of every letter.
        {"capitals inside lower-case words", capitals, u("гДЕ ТЫ БЫЛ"), 2},
        {"capitals inside lower-case words", capitals, u("Где ты был? ГДЕ? Ёлка"), 0},
        {"capitals inside lower-case words", capitals, u("buvaiẦ éA"), 2},
        // Every capital after the lower-case initial counts: KOI8-U read as
        // windows-1251 is capitals but for each sentence's first letter.
        {"capitals inside lower-case words", capitals, u("дЕ ФЙ ВХЧ ХЮПТБ тАКСИ"), 5},
        // Greek puts the tonos on a capital that begins a word only:
        // windows-1253 reads ISO-8859-7's apostrophe as "Ά".
        {"capitals inside lower-case words", capitals, u("ΜΆ αρέσει, σΆ αγαπώ. Άκου, Έλα"), 2},
        // Between ASCII letters it is the file's own ("iPhone", "McDonald").
        {"capitals inside lower-case words", capitals, u("iPhone McDonald"), 0},

        {"stray-script letters", stray, u("Где ты был, Vasya?"), 0},
        {"stray-script letters", stray, u("Где ты был ω é"), 2},
        {"stray-script letters", stray, u("日本語のテキストと한국어"), 0},
        {"stray-script letters", stray, u("Ελλάδα αβγδ ψ жз"), 2},
        {"stray-script letters", stray, u("이번 α버전과 β버전, Ω 日本語 ЖЗ"), 0},

        // windows-1252's reading of windows-1257's Estonian "šokolaadi või
        // želeed, õhtul": Icelandic letters beside Estonian ones.
        {"letters outside one alphabet", alphabet, u("ðokolaadi või þeleed, õhtul"), 2},
        {"letters outside one alphabet", alphabet, u("šokolaadi või želeed, õhtul"), 0},
        // Turkish, Icelandic, French and Vietnamese each in their own letters.
        {"letters outside one alphabet", alphabet, u("Kız kardeşin üç kez aradı İstanbul"), 0},
        {"letters outside one alphabet", alphabet, u("Það var ætlað þér, já"), 0},
        {"letters outside one alphabet", alphabet, u("Œuvre à côté, naïve façon"), 0},
        {"letters outside one alphabet", alphabet, u("Tiếng Việt có dấu"), 0},
        // ISO-8859-1's reading of windows-1250's Romanian "știu, rău" ("º"
        // is a letter, but no alphabet's), and windows-1252's of Hungarian
        // "hűtő".
        {"letters outside one alphabet", alphabet, u("ºtiu, rãu, mâine, îmi"), 1},
        {"letters outside one alphabet", alphabet, u("hûtõ és kész"), 1},
        // Only Latin letters beyond ASCII count.
        {"letters outside one alphabet", alphabet, u("Где ты был? plain ASCII Ｓ"), 0},

        {"letters", letters, u("a1 б! 日本 ケー"), 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.count(c.text), c.expected) << c.measure << ": " << c.text.toStdString();
}

// The score is the measures' sum and the letters, from one pass.
TEST(TextMess, ScoreSumsTheMeasures) {
    const QString text = u("Ч √де был гДЕ Oω ðõ ") + QChar(0x85);
    const TextMess::Score score = TextMess::score(text);
    EXPECT_EQ(score.mess,
              TextMess::unprintables(text) + TextMess::symbolsNextToLetters(text) +
                  TextMess::mixedScriptWords(text) + TextMess::capitalsInsideLowerCaseWords(text) +
                  TextMess::strayScriptLetters(text) + TextMess::lettersOutsideOneAlphabet(text));
    // "ω", "ð" and "õ" stray from the Cyrillic; "ð" and "õ" share no alphabet.
    // "гДЕ" has two capitals after its lower-case initial.
    EXPECT_EQ(score.mess, 1 + 1 + 1 + 2 + 3 + 1);
    EXPECT_EQ(score.letters, TextMess::letters(text));
    EXPECT_EQ(TextMess::score(QString()).mess, 0);
    EXPECT_EQ(TextMess::score(QString()).letters, 0);
}

}  // namespace
