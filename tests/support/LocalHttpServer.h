#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <optional>

namespace testsupport {

// A small HTTP/1.1 server on 127.0.0.1 with a port of the system's choice,
// living on the thread that makes it (the test's main thread, whose event
// loop the tests run). Each path answers as its route says, one answer per
// connection; paths without a route get the fallback, else a 404.
class LocalHttpServer : public QObject {
  public:
    enum class Answer {
        Body,          // the status with the body, its length announced, then closes
        CutShort,      // announces twice the body's length, sends the body, closes
        Stall,         // announces twice the body's length, sends the body, waits for ever
        Unmeasured,    // 200 with the body and no length; the close ends it
        Trickle,       // 200 with no length, then the body again every 20 ms for ever
        RedirectLoop,  // 302 back to the same path
        Close,         // closes the connection without a word
    };
    struct Route {
        Answer answer = Answer::Body;
        QByteArray body{};
        bool held = false;         // kept unanswered until releaseHeld(): never, for silence
        int status = 200;          // for Body
        QByteArray contentType{};  // none: no Content-Type header
    };

    LocalHttpServer();

    QUrl url(const QString& encodedPath = {}) const;
    // The path on a port where nothing listens.
    static QUrl refusingUrl(const QString& encodedPath = {});

    void route(const QString& encodedPath, const Route& route);
    void setFallback(const Route& route);

    // The request paths as they arrived on the wire, in order.
    const QStringList& requestedPaths() const { return requested_; }
    int requestCount() const { return requested_.size(); }
    int heldCount() const { return held_.size(); }

    // Answers the held requests, and from now on answers at once.
    void releaseHeld();

  private:
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& path, const Route& route);

    QTcpServer server_;
    QMap<QString, Route> routes_;
    std::optional<Route> fallback_;
    QStringList requested_;
    QList<QPair<QPointer<QTcpSocket>, QPair<QString, Route>>> held_;
    bool released_ = false;
};

}  // namespace testsupport
