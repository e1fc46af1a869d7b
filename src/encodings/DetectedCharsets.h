#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The catalogue name of a character set that a detector reports, and the
// detection itself for a file's bytes.
class DetectedCharsets {
  public:
    // The confidence (0 to 100) below which ICU's guess is not used; a few
    // hundred bytes of Cyrillic in windows-1251 score about 40.
    static constexpr int kGoodConfidence = 25;

    // The catalogue's display name for a charset name that ICU's detector or
    // uchardet gives, in either's spelling ("Shift_JIS" or "SHIFT_JIS" give
    // "ShiftJIS"); none for a charset the catalogue lacks.
    static std::optional<QString> catalogueNameFor(const QString& charset);

    // The catalogue name the bytes are most likely in: uchardet's answer,
    // else ICU's when confident enough; an answer is passed over when the
    // catalogue lacks it or when the bytes read in it hold characters no
    // subtitle text has (C1 controls, NUL, private use).
    static std::optional<QString> catalogueNameForBytes(const QByteArray& bytes);

    // Whether a decoded text has none of those characters.
    static bool looksLikeText(const QString& text);
};
