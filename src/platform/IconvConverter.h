#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// One strict conversion through glibc iconv, opened for the call without
// //TRANSLIT or //IGNORE: invalid, unencodable or cut-short input fails, and
// so does any conversion iconv itself counts as irreversible.
class IconvConverter {
  public:
    static std::optional<QString> decode(const QByteArray& bytes, const char* charset);
    static std::optional<QByteArray> encode(const QString& text, const char* charset);
};

}  // namespace platform
