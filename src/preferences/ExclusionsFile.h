#pragma once

#include <QString>

class SCPreferences;

// The OCR engine's configuration file of characters it must never produce:
// one line, "tessedit_char_blacklist " followed by the characters, UTF-8.
class ExclusionsFile {
  public:
    // <support folder>/<engine folder>/tessdata/configs/exclusions, worked
    // out afresh from the preferences at every call.
    static QString location(const SCPreferences& preferences);

    // The characters the file holds: empty when it is missing, unreadable,
    // not UTF-8 (logged), or does not hold the prefix exactly once.
    static QString read(const QString& path);

    // Writes the prefix and the characters in place, no folder made; logs and
    // returns false when that fails.
    static bool write(const QString& path, const QString& characters);

    static const QString& prefix();
};
