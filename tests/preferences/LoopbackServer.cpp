#include "LoopbackServer.h"

#include <QTimer>

LoopbackServer::LoopbackServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LoopbackServer::baseURL() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()));
}

QUrl LoopbackServer::closedPortURL() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
}

void LoopbackServer::setReply(const QByteArray& path, const Reply& reply) {
    replies_.insert(path, reply);
}

void LoopbackServer::serve(QTcpSocket* socket) {
    if (socket->property("served").toBool()) return;
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n")) return;
    socket->setProperty("served", true);
    const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
    requests_.append(path);
    Reply reply;
    reply.status = 404;
    reply.body = "<html>Not Found<br>nothing here</html>";
    reply = replies_.value(path, reply);
    switch (reply.kind) {
        case Reply::Kind::Hang:
            return;
        case Reply::Kind::Close:
            socket->abort();
            return;
        case Reply::Kind::Hold:
            held_.append({socket, reply});
            return;
        case Reply::Kind::Trickle: {
            // No length: the body runs until the connection closes.
            socket->write(
                "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n");
            auto* drip = new QTimer(socket);
            connect(drip, &QTimer::timeout, socket, [socket] { socket->write("a<br>"); });
            drip->start(20);
            return;
        }
        case Reply::Kind::Stream:
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" +
                          QByteArray(64 * 1024, 'a') + "<br>");
            socket->disconnectFromHost();
            return;
        case Reply::Kind::Answer:
            answer(socket, reply);
            return;
    }
}

void LoopbackServer::answer(QTcpSocket* socket, const Reply& reply) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " X\r\n";
    head += "Content-Type: " + reply.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head + reply.body);
    socket->disconnectFromHost();
}

void LoopbackServer::releaseHeld() {
    const auto held = held_;
    held_.clear();
    for (const auto& [socket, reply] : held)
        if (socket)
            answer(socket, Reply{Reply::Kind::Answer, reply.status, reply.body, reply.contentType});
}
