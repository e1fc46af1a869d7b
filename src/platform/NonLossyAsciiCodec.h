#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// 7-bit ASCII with backslash escapes for everything else; the exact rule is
// documented in TextCodec.h.
class NonLossyAsciiCodec {
  public:
    static std::optional<QString> decode(const QByteArray& bytes);
    static QByteArray encode(const QString& text);
};

}  // namespace platform
