#pragma once
// A small HTTP server on 127.0.0.1 that answers each "METHOD /path" with a reply
// that can be wrong in chosen ways: error status, missing or false Content-Length,
// short body, connection reset, stall, redirect.

#include <QHash>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

struct CannedReply {
    enum class End { Close, Reset, Stall, Silent };  // Silent: not even the headers
    int status = 200;
    QByteArray reason = "OK";
    QByteArray body;              // sent for GET only
    qint64 announcedLength = -2;  // -2: the body's length, -1: no header, else this
    QByteArray lastModified;      // no header when empty
    QByteArray location;          // Location header when set
    qint64 sendBytes = -1;        // body bytes sent before End; -1: all
    End end = End::Close;
};

class TestServer : public QTcpServer {
    Q_OBJECT
public:
    TestServer();
    ~TestServer() override;
    void route(const QByteArray &method, const QByteArray &path, const CannedReply &reply)
    {
        m_routes.insert(method + ' ' + path, reply);
    }
    QString url(const QString &path) const;
    QStringList requests;  // "GET /a", in arrival order

private:
    void answer(QTcpSocket *socket, const QByteArray &method, const QByteArray &path);
    QHash<QByteArray, CannedReply> m_routes;
    QList<QPointer<QTcpSocket>> m_stalled;
};
