#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Guesses the character set of text bytes with uchardet, which tells short
// single-byte texts apart by their language's letter pairs, where ICU's
// detector needs far more text.
class UchardetDetector {
  public:
    // uchardet's name for the bytes' charset, as it spells it ("WINDOWS-1251",
    // "SHIFT_JIS", "UTF-16" for UTF-16 behind a byte-order mark); none for
    // empty bytes or when it finds nothing.
    static std::optional<QString> detect(const QByteArray& bytes);

    // Every name detect can give: uchardet has no call that lists them, so
    // this is the list of the library version the program is built with.
    static QStringList detectableNames();
};

}  // namespace platform
