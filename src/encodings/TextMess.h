#pragma once

#include <QStringView>

// How little a decoded text looks like text in one language: each measure
// counts one kind of thing such a text does not hold. A file read in the
// wrong single-byte or multi-byte encoding shows them, the right reading
// does not. What text in its language holds is never counted: ASCII (it
// reads the same in every candidate), units and signs beside numbers and
// words, and the symbols East Asian text sets beside its letters.
class TextMess {
  public:
    // Counts NUL and the other C0 controls but tab, line feed, vertical tab,
    // form feed and carriage return (so the escapes and shifts of ISO-2022
    // read in a single-byte page count), DEL, the C1 controls and the
    // private-use characters. Not the replacement character, nor unassigned
    // code points.
    static qsizetype unprintables(QStringView text);

    // Counts non-ASCII symbols (currency, math, box drawing, modifier and
    // other signs, accents standing alone, fractions and superscripts, the
    // pilcrow) right before or
    // after a letter, and the currency sign "¤", which no text writes, where
    // it stands. Not: a sign that follows a word or number and ends it ("m²",
    // "km³", "Quillmar™", "20°", a footnote's "¹"), a degree sign before the
    // C, F or K of a unit ("20 °C"), a currency sign beside a number, nor any
    // symbol beside a Han, kana, Hangul or Bopomofo letter ("사랑해♡").
    static qsizetype symbolsNextToLetters(QStringView text);

    // Counts words (runs of letters and marks) with letters of two scripts.
    // Not: Han with kana, Hangul or Bopomofo, the two kana with each other,
    // nor Greek, Cyrillic or ASCII letters with East Asian ones (the East
    // Asian character sets hold both alphabets for text to use, "α버전", and
    // a Latin word takes the particles of the language, "PNG파일을").
    static qsizetype mixedScriptWords(QStringView text);

    // Counts each upper-case letter that follows a lower-case one in a word,
    // one of them not ASCII (KOI8 read as windows-1251 gives "дЕ ФЙ ВХЧ", a
    // lower-case initial before capitals), and a Greek capital with the
    // tonos anywhere but at the start of a word (windows-1253 reads
    // ISO-8859-7's apostrophe as "Ά": "ΜΆ αρέσει"). Not: capitals between
    // ASCII letters ("iPhone", "McDonald"), nor a word in capitals alone.
    static qsizetype capitalsInsideLowerCaseWords(QStringView text);

    // Counts the non-ASCII letters outside the script most of them are in.
    // Not: the scripts of Chinese, Japanese and Korean among each other, nor
    // Greek and Cyrillic letters in East Asian text.
    static qsizetype strayScriptLetters(QStringView text);

    // Counts the Latin letters beyond ASCII outside the alphabet of the one
    // language (of those the legacy Latin code pages are written in) that
    // holds most of them: Estonian read in windows-1252 has Icelandic's "ð"
    // and "þ" where its "š" and "ž" belong. Not: letters of other scripts,
    // nor a letter that one language's alphabet holds with the rest ("mł" in
    // English read in windows-1250 is Polish to this measure).
    static qsizetype lettersOutsideOneAlphabet(QStringView text);

    // The letters of the text.
    static qsizetype letters(QStringView text);

    // The sum of the measures and the letters, in one pass over the text,
    // with the unprintables and the symbols beside letters alone, the East
    // Asian letters (the Hangul ones and the others: Han, kana, Bopomofo)
    // and the ASCII letters, which read alike in every candidate.
    struct Score {
        qsizetype mess;
        qsizetype letters;
        qsizetype unprintables = 0;
        qsizetype hangul = 0;
        qsizetype otherEastAsian = 0;
        qsizetype symbols = 0;
        qsizetype asciiLetters = 0;
    };
    static Score score(QStringView text);
};
