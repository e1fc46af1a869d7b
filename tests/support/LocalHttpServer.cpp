#include "support/LocalHttpServer.h"

#include <QHostAddress>
#include <QTimer>
#include <utility>

namespace testsupport {

namespace {

QByteArray statusLine(int status) {
    const char* reason = status == 200   ? "OK"
                         : status == 302 ? "Found"
                         : status == 404 ? "Not Found"
                                         : "Other";
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LocalHttpServer::url(const QString& encodedPath) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()) + encodedPath);
}

QUrl LocalHttpServer::refusingUrl(const QString& encodedPath) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port) + encodedPath);
}

void LocalHttpServer::route(const QString& encodedPath, const Route& route) {
    routes_.insert(encodedPath, route);
}

void LocalHttpServer::setFallback(const Route& route) {
    fallback_ = route;
}

void LocalHttpServer::releaseHeld() {
    released_ = true;
    const auto held = std::exchange(held_, {});
    for (const auto& [socket, request] : held)
        if (socket) answer(socket, request.first, request.second);
}

void LocalHttpServer::readRequest(QTcpSocket* socket) {
    // One request per connection: what comes after it is not read.
    if (socket->property("answered").toBool()) return;
    const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n")) return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    requested_.append(path);

    Route route{Answer::Body, "no such file", false, 404};
    if (routes_.contains(path))
        route = routes_.value(path);
    else if (fallback_)
        route = *fallback_;
    if (route.held && !released_)
        held_.append({QPointer<QTcpSocket>(socket), {path, route}});
    else
        answer(socket, path, route);
}

void LocalHttpServer::answer(QTcpSocket* socket, const QString& path, const Route& route) {
    QByteArray head;
    switch (route.answer) {
        case Answer::Close:
            socket->abort();
            return;
        case Answer::Body:
            head = statusLine(route.status) +
                   "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
            break;
        case Answer::CutShort:
        case Answer::Stall:
            head = statusLine(200) +
                   "Content-Length: " + QByteArray::number(route.body.size() * 2) + "\r\n";
            break;
        case Answer::Unmeasured:
        case Answer::Trickle:
            head = statusLine(200);
            break;
        case Answer::RedirectLoop:
            head = statusLine(302) + "Location: " + path.toLatin1() + "\r\nContent-Length: 0\r\n";
            break;
    }
    if (!route.contentType.isEmpty()) head += "Content-Type: " + route.contentType + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(route.answer == Answer::RedirectLoop ? head : head + route.body);
    if (route.answer == Answer::Trickle) {
        auto* drip = new QTimer(socket);
        connect(drip, &QTimer::timeout, socket,
                [socket, body = route.body] { socket->write(body); });
        drip->start(20);
        return;
    }
    if (route.answer != Answer::Stall) socket->disconnectFromHost();
}

}  // namespace testsupport
