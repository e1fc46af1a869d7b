#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <chrono>
#include <optional>

// One GET whose whole exchange is bounded in time and size, waited for in a
// local event loop that keeps windows painting but takes no user input.
class BoundedTextFetch {
  public:
    struct Limits {
        std::chrono::milliseconds time{15000};  // for the whole exchange
        qint64 bytes = 1024 * 1024;
    };

    // The body as text, decoded strictly by the declared charset, else as
    // UTF-8. None for a failed transfer, a status outside 2xx, a body over the
    // limit, a time-out or bytes that do not decode.
    static std::optional<QString> get(const QUrl& url,
                                      const QList<QPair<QByteArray, QByteArray>>& headers,
                                      const Limits& limits);

    // The charset parameter of a Content-Type value, without quotes; empty
    // when there is none.
    static QByteArray charsetOf(const QByteArray& contentType);
};
