#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A small HTTP server on 127.0.0.1 (any free port) for the index and file
// fetches, living on the main thread: it answers by path, or hangs, trickles
// a few bytes at a time, streams 64 KiB at once without a length, closes the
// connection, or holds the answer until released. Unknown paths get a 404.
class LoopbackServer : public QObject {
    Q_OBJECT

  public:
    struct Reply {
        enum class Kind { Answer, Hang, Trickle, Stream, Close, Hold };
        Kind kind = Kind::Answer;
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/html";

        static Reply answer(int status, const QByteArray& body,
                            const QByteArray& contentType = "text/html") {
            return {Kind::Answer, status, body, contentType};
        }
        static Reply of(Kind kind) { return {kind, 200, {}, "text/html"}; }
    };

    LoopbackServer();

    QUrl baseURL() const;
    // A URL on which nothing listens.
    static QUrl closedPortURL();

    void setReply(const QByteArray& path, const Reply& reply);
    // The request paths as they arrived on the wire, in order.
    QList<QByteArray> requests() const { return requests_; }
    int heldCount() const { return held_.size(); }
    // Answers every held request.
    void releaseHeld();

  private:
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Reply& reply);

    QTcpServer server_;
    QMap<QByteArray, Reply> replies_;
    QList<QByteArray> requests_;
    QList<QPair<QPointer<QTcpSocket>, Reply>> held_;
};
