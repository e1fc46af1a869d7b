#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Strict conversion through one of the compiled-in single-byte tables (see
// MacByteTables.h), found by name. Where several bytes stand for the same
// character (the Arabic tables repeat ASCII punctuation for right-to-left
// use), encoding writes the lowest of them.
class ByteTableCodec {
  public:
    static std::optional<QString> decode(const QByteArray& bytes, const char* tableName);
    static std::optional<QByteArray> encode(const QString& text, const char* tableName);
};

}  // namespace platform
