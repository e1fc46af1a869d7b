#include "preferences/BoundedTextFetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include "platform/IcuConverter.h"

QByteArray BoundedTextFetch::charsetOf(const QByteArray& contentType) {
    for (const QByteArray& parameter : contentType.split(';')) {
        const QByteArray trimmed = parameter.trimmed();
        if (!trimmed.toLower().startsWith("charset=")) continue;
        QByteArray value = trimmed.mid(8).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

std::optional<QString> BoundedTextFetch::get(const QUrl& url,
                                             const QList<QPair<QByteArray, QByteArray>>& headers,
                                             const Limits& limits) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);
    QNetworkReply* reply = manager.get(request);

    QByteArray body;
    bool refused = false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    const auto refuse = [&] {
        refused = true;
        reply->abort();
    };
    QObject::connect(&deadline, &QTimer::timeout, &loop, refuse);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits.bytes) refuse();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        body += reply->readAll();
        if (body.size() > limits.bytes) refuse();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(limits.time);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    if (!refused) body += reply->readAll();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray contentType = reply->rawHeader("Content-Type");
    const bool ok = !refused && reply->error() == QNetworkReply::NoError && status >= 200 &&
                    status < 300 && body.size() <= limits.bytes;
    reply->disconnect(&loop);
    delete reply;
    if (!ok) return std::nullopt;

    QByteArray charset = charsetOf(contentType);
    if (charset.isEmpty()) charset = "UTF-8";
    return platform::IcuConverter::decode(body, charset.constData());
}
