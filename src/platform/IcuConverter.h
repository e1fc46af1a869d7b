#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// One strict conversion through an ICU converter opened for the call: any
// illegal, unassigned or truncated sequence stops the conversion and fails.
class IcuConverter {
  public:
    static std::optional<QString> decode(const QByteArray& bytes, const char* converterName);
    static std::optional<QByteArray> encode(const QString& text, const char* converterName);

    // A converter that maps each character to one byte and back with no
    // state carried between them: a text cut between two characters
    // converts piece by piece to the bytes of the whole.
    static bool isStatelessSingleByte(const char* converterName);
};

}  // namespace platform
