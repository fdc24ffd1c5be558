#include "testserver.h"

#include <memory>

#include <sys/socket.h>

TestServer::TestServer()
{
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            // Owned by the connection below: freed when it goes, with the socket or
            // with the server, whichever goes first.
            auto request = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
                *request += socket->readAll();
                const qsizetype end = request->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
                request->clear();
                answer(socket, words.value(0), words.value(1));
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

TestServer::~TestServer()
{
    for (const auto &socket : m_stalled) {
        if (socket)
            socket->abort();
    }
}

QString TestServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

void TestServer::answer(QTcpSocket *socket, const QByteArray &method, const QByteArray &path)
{
    requests.append(QString::fromLatin1(method + ' ' + path));
    CannedReply reply;
    const auto found = m_routes.constFind(method + ' ' + path);
    if (found != m_routes.constEnd()) {
        reply = *found;
    } else {
        reply.status = 404;
        reply.reason = "Not Found";
        reply.body = "no such route";
    }
    if (reply.end == CannedReply::End::Silent) {
        m_stalled.append(socket);
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason + "\r\n";
    head += "Connection: close\r\n";
    if (reply.announcedLength != -1) {
        const qint64 length = reply.announcedLength == -2 ? reply.body.size() : reply.announcedLength;
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    }
    if (!reply.lastModified.isEmpty())
        head += "Last-Modified: " + reply.lastModified + "\r\n";
    if (!reply.location.isEmpty())
        head += "Location: " + reply.location + "\r\n";
    head += "\r\n";
    socket->write(head);
    if (method == "GET")
        socket->write(reply.sendBytes < 0 ? reply.body : reply.body.left(reply.sendBytes));
    socket->flush();
    switch (reply.end) {
    case CannedReply::End::Close: socket->disconnectFromHost(); break;
    case CannedReply::End::Reset: {
        socket->waitForBytesWritten(1000);
        // Linger 0 turns the close into a reset.
        const linger hard{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        socket->abort();
        break;
    }
    case CannedReply::End::Stall:
    case CannedReply::End::Silent: m_stalled.append(socket); break;
    }
}
