#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <optional>

// A small HTTP/1.1 server on 127.0.0.1 with a port of the system's choice,
// living on the thread that makes it (the test's main thread, whose event
// loop the tests run). Each path answers as its route says; every answer
// closes its connection.
class LocalHttpServer : public QObject {
    Q_OBJECT

  public:
    enum class Answer {
        Body,          // the status (200 unless said otherwise) with the body
        NotFound,      // 404 with the body as its error page
        CutShort,      // announces twice the body's length, sends the body, closes
        Stall,         // announces twice the body's length, sends the body, waits for ever
        RedirectLoop,  // 302 back to the same path
        Close,         // closes the connection without a word
    };
    struct Route {
        Answer answer = Answer::Body;
        QByteArray body;
        bool held = false;  // kept unanswered until releaseHeld()
        int status = 200;   // for Body
    };

    LocalHttpServer();
    ~LocalHttpServer() override;

    QUrl url(const QString& encodedPath) const;
    // The path on a port where nothing listens.
    static QUrl refusingUrl(const QString& encodedPath);
    void route(const QString& encodedPath, const Route& route);
    void setFallback(const Route& route);  // for paths without a route; else 404

    int requestCount() const { return requested_.size(); }
    const QStringList& requestedPaths() const { return requested_; }

    // Answers the held requests, and from now on answers at once.
    void releaseHeld();

  private:
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& path, const Route& route);

    QTcpServer server_;
    QMap<QString, Route> routes_;
    std::optional<Route> fallback_;
    QStringList requested_;
    QMap<QTcpSocket*, QByteArray> partial_;
    QList<QPair<QPointer<QTcpSocket>, QPair<QString, Route>>> held_;
    bool released_ = false;
};
