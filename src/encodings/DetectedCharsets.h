#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The catalogue name of a character set that the detector reports, and the
// detection itself for a file's bytes.
class DetectedCharsets {
  public:
    // The confidence (0 to 100) below which a guess is not used; a few
    // hundred bytes of Cyrillic in windows-1251 score about 40.
    static constexpr int kGoodConfidence = 25;

    // The catalogue's display name for a detector's charset name ("Shift_JIS"
    // gives "ShiftJIS"); none for a charset the catalogue lacks.
    static std::optional<QString> catalogueNameFor(const QString& charset);

    // The catalogue name the bytes are most likely in, when the detector is
    // confident enough and the catalogue has that encoding.
    static std::optional<QString> catalogueNameForBytes(const QByteArray& bytes);
};
