#pragma once

#include <QStringView>

// How little a decoded text looks like text in one language: each measure
// counts one kind of thing such a text does not hold. A file read in the
// wrong single-byte or multi-byte encoding shows them, the right reading
// does not; ASCII reads the same in every candidate, so symbols and letters
// of ASCII alone are never counted.
class TextMess {
  public:
    // NUL, C1 controls and private-use characters.
    static qsizetype unprintables(QStringView text);
    // Non-ASCII symbols (currency, math, box drawing, modifier and other
    // signs, fractions and superscripts) with a letter right before or
    // after them.
    static qsizetype symbolsNextToLetters(QStringView text);
    // Words (runs of letters and marks) with letters of two scripts; Han
    // goes with kana, Hangul and Bopomofo, and the two kana with each other.
    static qsizetype mixedScriptWords(QStringView text);
    // Upper-case letters right after a lower-case one in a word, one of them
    // not ASCII.
    static qsizetype capitalsInsideLowerCaseWords(QStringView text);
    // Non-ASCII letters outside the script most non-ASCII letters are in
    // (the scripts of Chinese, Japanese and Korean count as one).
    static qsizetype strayScriptLetters(QStringView text);
    // Latin letters beyond ASCII outside the alphabet of the one language
    // (of those the legacy Latin code pages are written in) that holds most
    // of them: Estonian read in windows-1252 has Icelandic's "ð" and "þ"
    // where its "š" and "ž" belong.
    static qsizetype lettersOutsideOneAlphabet(QStringView text);

    // The letters of the text, to weigh the mess against.
    static qsizetype letters(QStringView text);

    // The sum of the measures and the letters, in one pass over the text.
    struct Score {
        qsizetype mess;
        qsizetype letters;
    };
    static Score score(QStringView text);
};
