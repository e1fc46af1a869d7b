#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Guesses the character set of text bytes with ICU's detector.
class CharsetDetector {
  public:
    struct Guess {
        QString name;    // ICU's name for it ("windows-1252", "Shift_JIS", ...)
        int confidence;  // 0 to 100
    };

    // The best guess, or none for empty bytes or when ICU finds nothing.
    static std::optional<Guess> detect(const QByteArray& bytes);

    // Every guess ICU makes, the most confident first; none for empty bytes.
    static QList<Guess> detectAll(const QByteArray& bytes);

    // Every name detect can give, as ICU lists them.
    static QStringList detectableNames();
};

}  // namespace platform
