#pragma once
// The updater tests' data without any window: the old and new data file contents,
// canned server replies and file helpers.

#include "testserver.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTest>

inline const QByteArray OldBody = "old list\r\ndescription\r\nhttp://x/\r\nkey\r\n";
inline const QByteArray LastModified = "Sun, 01 Mar 2026 15:01:00 GMT";

inline QByteArray newBody()
{
    QByteArray body;
    for (int i = 0; body.size() < 200000; ++i)
        body += "key line " + QByteArray::number(i) + "\r\n";
    return body;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

inline void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

inline CannedReply ok(const QByteArray &body)
{
    CannedReply reply;
    reply.body = body;
    reply.lastModified = LastModified;
    return reply;
}

inline CannedReply withStatus(int status, const QByteArray &reason)
{
    CannedReply reply;
    reply.status = status;
    reply.reason = reason;
    reply.body = "<html>" + reason + "</html>";
    reply.lastModified = LastModified;
    return reply;
}

inline bool runs(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}
