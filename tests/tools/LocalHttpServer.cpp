#include "LocalHttpServer.h"

#include <QHostAddress>

LocalHttpServer::LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        }
    });
}

LocalHttpServer::~LocalHttpServer() = default;

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
    QByteArray& buffer = partial_[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) return;
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    partial_.remove(socket);
    const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    requested_.append(path);

    Route route{Answer::NotFound, "no such file", false};
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
    if (route.answer == Answer::Close) {
        socket->abort();
        return;
    }
    QByteArray head;
    qsizetype announced = route.body.size();
    switch (route.answer) {
        case Answer::Body:
            head = "HTTP/1.1 " + QByteArray::number(route.status) + " Whatever\r\n";
            break;
        case Answer::NotFound:
            head = "HTTP/1.1 404 Not Found\r\n";
            break;
        case Answer::CutShort:
        case Answer::Stall:
            head = "HTTP/1.1 200 OK\r\n";
            announced *= 2;
            break;
        case Answer::RedirectLoop:
            head = "HTTP/1.1 302 Found\r\nLocation: " + path.toLatin1() + "\r\n";
            break;
        case Answer::Close:
            break;
    }
    const QByteArray body = route.answer == Answer::RedirectLoop ? QByteArray() : route.body;
    if (route.answer == Answer::RedirectLoop) announced = 0;
    socket->write(head + "Content-Length: " + QByteArray::number(announced) +
                  "\r\nConnection: close\r\n\r\n" + body);
    if (route.answer != Answer::Stall) socket->disconnectFromHost();
}
