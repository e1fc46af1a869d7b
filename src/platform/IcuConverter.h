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
};

}  // namespace platform
